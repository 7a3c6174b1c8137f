// The page dialogs' records: filling from the drawing, depths, sub-trees, writing back and
// making pages from them.
#include "GTest.h"

#include <cmath>
#include <cstring>
#include <memory>

#include "DravikDb.h"
#include "OwnWindows.h"
#include "PageTestSupport.h"
#include "core/SettingsMessage.h"
#include "drawing/PageDialogRecords.h"
#include "drawing/PageOperations.h"
#include "drawing/PaperTable.h"

namespace {

class PageDialogRecordsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitPaperTable();
        site.AddView(drawing);
        SetHostServiceSite(&site);
        SetCommandHost(&host);
        FreePageDialogRecords();
    }
    void TearDown() override
    {
        FreePageDialogRecords();
        SetHostServiceSite(nullptr);
        SetCommandHost(nullptr);
    }
    void* db() { return drawing.db(); }
    std::unique_ptr<EnginePageRecord> Page(int page) { return ReadTestPage(db(), page); }

    TestDrawing drawing;
    TestViewSite site;
    ScriptedCommandHost host;
};

TEST_F(PageDialogRecordsTest, PagesWithTheirDepthsAndFreeNumbers)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    ASSERT_EQ(AddPage(2, 1), 1);
    ASSERT_EQ(AddPage(3, 2), 1);
    ASSERT_EQ(FillPageDialogRecords(true), 4);
    EXPECT_EQ(GetPageDialogRecord(0).page, 0);
    EXPECT_EQ(GetPageDialogRecord(3).page, 3);
    EXPECT_EQ(GetPageDialogRecord(3).parent, 2);
    EXPECT_EQ(GetPageDialogRecord(3).depth, 3);
    EXPECT_EQ(GetPageDialogRecord(1).depth, 1);
    EXPECT_EQ(FindFreePageNumber(), 4);
    EXPECT_EQ(GetPageDialogRecord(1).flags & (kPageShown | kPageDetectable), kPageShown | kPageDetectable);
}

TEST_F(PageDialogRecordsTest, DeletingAPageWithTwoSubPagesKeepsTheFollowingSibling)
{
    // 1 with children 2 and 3, then sibling 4.
    ASSERT_EQ(AddPage(1, 0), 1);
    ASSERT_EQ(AddPage(2, 1), 1);
    ASSERT_EQ(AddPage(3, 1), 1);
    ASSERT_EQ(AddPage(4, 0), 1);
    ASSERT_EQ(FillPageDialogRecords(false), 4);
    EXPECT_EQ(RemovePageRecordWithSubtree(0), 3);
    ASSERT_EQ(PageDialogRecordCount(), 1);
    EXPECT_EQ(GetPageDialogRecord(0).page, 4);
    EXPECT_EQ(GetPageDialogRecord(0).key, 0);
    AppendTestElement(db(), kElementLine, 0, 2);
    ASSERT_EQ(ApplyPageManagerRecords(nullptr), 1);
    for (int page : {1, 2, 3}) EXPECT_EQ(ZUriChkPage(page, db()), 0) << page;
    EXPECT_EQ(ZUriChkPage(4, db()), 1);
    EXPECT_EQ(ZUriReadElement(nullptr, 0, nullptr, db()), nullptr) << "the sub-page's elements went too";
}

TEST_F(PageDialogRecordsTest, ComposedPlacementAddsAnglesAndMultipliesScales)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    ASSERT_EQ(AddPage(2, 1), 1);
    ASSERT_EQ(FillPageDialogRecords(true), 3);
    PageDialogRecord& parent = GetPageDialogRecord(1);
    parent.scaleX = 2, parent.angle = 0.5;
    parent.SetOrigin(10, 20);
    PageDialogRecord& child = GetPageDialogRecord(2);
    child.scaleX = child.scaleY = 3, child.angle = 0.25;
    child.SetOrigin(1, 2);
    ASSERT_EQ(WritePageDialogRecord(child), 1);
    auto record = Page(2);
    EXPECT_DOUBLE_EQ(record->placement.scaleX, 3);
    EXPECT_DOUBLE_EQ(record->composed.scaleX, 6);
    EXPECT_DOUBLE_EQ(record->composed.angle, 0.75);
    EXPECT_DOUBLE_EQ(record->composed.cosAngle, std::cos(0.75));
    EXPECT_DOUBLE_EQ(record->composed.originX, 11);
    EXPECT_DOUBLE_EQ(record->composed.originY, 22);
}

int g_loadMessages = 0;
int CountLoadMessage(HWND, const char*, const char*, UINT)
{
    ++g_loadMessages;
    return IDOK;
}

TEST_F(PageDialogRecordsTest, ExternalReferenceWhoseFileFailsMakesNoPage)
{
    SettingsMessageHook previous = SetSettingsMessageHook(CountLoadMessage);
    g_loadMessages = 0;
    ASSERT_EQ(AddExternalReferencePage("Z:\\no\\such\\drawing.tcf"), 1);
    ASSERT_EQ(PageDialogRecordCount(), 1);
    const PageDialogRecord& r = GetPageDialogRecord(0);
    EXPECT_EQ(r.page, 1);
    EXPECT_EQ(r.flags, kPageExternal);
    EXPECT_EQ(r.state, 1);
    EXPECT_EQ(CreatePageFromRecord(nullptr, r), 0);
    EXPECT_EQ(ZUriChkPage(1, db()), 0);
    EXPECT_EQ(g_loadMessages, 1) << "the load's own message";
    SetSettingsMessageHook(previous);
}

TEST_F(PageDialogRecordsTest, NormalPageFollowsPageZeroLayers)
{
    ASSERT_EQ(ZUriSetLayerName(0, 5, "五", db()), 1);
    PageDialogRecord r;
    r.page = 7;
    std::strcpy(r.title, "新");
    r.drawingScale = 50;
    r.state = 1;
    ASSERT_EQ(CreatePageFromRecord(nullptr, r), 1);
    char name[260] = "";
    ZUriGetLayerName(7, 5, 1, name, db());
    EXPECT_STREQ(name, "五");
    DbInfoRecord info;
    ASSERT_EQ(GetPageDbInfo(7, &info), 1);
    EXPECT_STREQ(info.title, "新");
    EXPECT_EQ(info.scale, 50);
}

TEST_F(PageDialogRecordsTest, PoolRefusesMoreThan254Records)
{
    for (int i = 0; i < 255; ++i) ASSERT_EQ(AddExternalReferencePage("x.tcf"), 1) << i;
    EXPECT_EQ(AddExternalReferencePage("x.tcf"), 0);
    FreePageDialogRecords();
    EXPECT_EQ(PageDialogRecordCount(), 0);
}

}  // namespace

// ---- the page manager, driven as a user would ----
#include "drawing/PageManagerDialog.h"

namespace {

HWND FindPageManager() { return FindOwnWindow("#32770", "ページ管理（指定後 [OK] ｸﾘｯｸしてください。）"); }

int g_lines = -1;

void CALLBACK DeleteFirstLineAndApply(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = FindPageManager();
    if (dialog == nullptr) return;
    KillTimer(nullptr, id);
    HWND list = GetDlgItem(dialog, 1146);
    g_lines = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    // A click on the first line, then the delete button (the question answers OK), then OK.
    RECT item;
    SendMessageA(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(GetDlgItem(dialog, 15), BM_CLICK, 0, 0);
    g_lines = g_lines * 100 + static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    SendMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

TEST_F(PageDialogRecordsTest, PageManagerDeletesAPageWithItsTwoSubPages)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    ASSERT_EQ(AddPage(2, 1), 1);
    ASSERT_EQ(AddPage(3, 1), 1);
    ASSERT_EQ(AddPage(4, 0), 1);
    host.answer = IDOK;
    g_lines = -1;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, DeleteFirstLineAndApply);
    EXPECT_EQ(AppendPageCommand(nullptr), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_lines, 401) << "four lines, one after the delete";
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "ページを削除します。\nよろしいですか？");
    EXPECT_EQ(host.types[0] & 0xF, static_cast<UINT>(MB_OKCANCEL));
    for (int page : {1, 2, 3}) EXPECT_EQ(ZUriChkPage(page, db()), 0) << page;
    EXPECT_EQ(ZUriChkPage(4, db()), 1);
}

void CALLBACK CancelTheManager(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND dialog = FindPageManager();
    if (dialog == nullptr) return;
    KillTimer(nullptr, id);
    HWND list = GetDlgItem(dialog, 1146);
    SendMessageA(list, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, 0));
    SendMessageA(GetDlgItem(dialog, 15), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
}

TEST_F(PageDialogRecordsTest, PageManagerCancelKeepsEveryPage)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    host.answer = IDOK;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CancelTheManager);
    EXPECT_EQ(AppendPageCommand(nullptr), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(ZUriChkPage(1, db()), 1);
}

}  // namespace

// ---- the new-page dialog's shared field set-up ----
#include <winnetwk.h>

#include <string>

#include "core/CadSystem.h"
#include "drawing/PageSettingsDialog.h"
#include "drawing/ScaleText.h"

namespace {

const char kManagerCaption[] = "ページ管理（指定後 [OK] ｸﾘｯｸしてください。）";

std::string FieldText(HWND dialog, int id)
{
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// What the second new page offers comes from what the first one took; the author is the user.
TEST_F(PageDialogRecordsTest, NewPageOffersTheUsersNameAndThePaperAndScaleTakenLast)
{
    GetRememberedPageFields() = RememberedPageFields{};
    char user[256] = "";
    DWORD size = sizeof user;
    ASSERT_EQ(WNetGetUserA(nullptr, user, &size), static_cast<DWORD>(NO_ERROR));
    std::string firstName, firstScale, secondScale, secondWidth;
    int secondRow = -1;
    bool secondWidthEnabled = true;
    EXPECT_TRUE(RunDialogScript(kManagerCaption, [&](HWND manager) {
        EXPECT_TRUE(RunDialogScript("ページ追加", [&](HWND page) {
            firstName = FieldText(page, 201);
            firstScale = FieldText(page, 401);
            RECT r;
            GetWindowRect(page, &r);
            MONITORINFO monitor = {sizeof monitor};
            GetMonitorInfoA(MonitorFromWindow(page, MONITOR_DEFAULTTONEAREST), &monitor);
            EXPECT_NEAR((r.left + r.right) / 2, (monitor.rcWork.left + monitor.rcWork.right) / 2, 1) << "centred on the work area";
            EXPECT_NEAR((r.top + r.bottom) / 2, (monitor.rcWork.top + monitor.rcWork.bottom) / 2, 1);
            SetDlgItemTextA(page, 101, "二階");
            SetDlgItemTextA(page, 401, "30");
            SendDlgItemMessageA(page, 501, CB_SETCURSEL, 2, 0);
            SendMessageA(page, WM_COMMAND, MAKEWPARAM(501, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(page, 501)));
            Click(page, IDOK);
        }, [&] { Click(manager, 14); }));
        EXPECT_TRUE(RunDialogScript("ページ追加", [&](HWND page) {
            secondScale = FieldText(page, 401);
            secondRow = static_cast<int>(SendDlgItemMessageA(page, 501, CB_GETCURSEL, 0, 0));
            secondWidth = FieldText(page, 800);
            secondWidthEnabled = IsWindowEnabled(GetDlgItem(page, 800)) != FALSE;
        }, [&] { Click(manager, 14); }));
    }, [] { EXPECT_EQ(AppendPageCommand(nullptr), 0); }));
    EXPECT_EQ(firstName, user);
    char one[64];
    FormatScaleText(1.0, one, sizeof one);
    EXPECT_EQ(firstScale, one) << "a new program offers scale 1";
    char thirty[64];
    FormatScaleText(30.0, thirty, sizeof thirty);
    EXPECT_EQ(secondScale, thirty);
    EXPECT_EQ(secondRow, 2);
    char width[32];
    std::snprintf(width, sizeof width, "%g", GetPaperTable()[2].width);
    EXPECT_EQ(secondWidth, width);
    EXPECT_FALSE(secondWidthEnabled) << "a row of the table locks the size";
    EXPECT_EQ(GetRememberedPageFields().title, "二階");
    EXPECT_EQ(ZUriChkPage(1, db()), 0) << "the manager was cancelled";
}

// With the English language setting the page dialogs speak English.
TEST_F(PageDialogRecordsTest, NewPageLabelsFollowTheLanguageSetting)
{
    auto& language = GetCadSystem().config.LANGUAGE;
    const auto saved = language;
    language = 1;
    std::string paperX, cancel;
    EXPECT_TRUE(RunDialogScript("Page Manager (click [OK] when done.)", [&](HWND manager) {
        EXPECT_TRUE(RunDialogScript("Add Page", [&](HWND page) {
            paperX = FieldText(page, 1601);
            cancel = FieldText(page, IDCANCEL);
        }, [&] { Click(manager, 14); }));
    }, [] { EXPECT_EQ(AppendPageCommand(nullptr), 0); }));
    language = saved;
    EXPECT_EQ(paperX, "Paper X");
    EXPECT_EQ(cancel, "Cancel");
}

}  // namespace
