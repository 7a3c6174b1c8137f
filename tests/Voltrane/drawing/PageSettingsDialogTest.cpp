// The page settings dialog driven as a user drives it: choosing pages in its tree, typing their
// fields, clicking their state icons, and its refusals.
#include "GTest.h"

#include <commctrl.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include "DravikDb.h"
#include "PageTestSupport.h"
#include "core/MessageCatalog.h"
#include "drawing/PageDialogRecords.h"
#include "drawing/PageOperations.h"
#include "drawing/PageSettingsDialog.h"
#include "drawing/PaperTable.h"

namespace {

void RunEditPages(std::function<void(HWND)> script)
{
    EXPECT_TRUE(RunDialogScript("ページ情報設定", std::move(script), [] { EXPECT_EQ(EditPagesCommand(nullptr), 0); }))
        << "the dialog never showed";
}

std::string Field(HWND dialog, int id)
{
    char text[300] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// The tree item of the page (its record's key in the item).
HTREEITEM ItemOfPage(HWND tree, int page)
{
    for (int key = 0; key < PageDialogRecordCount(); ++key)
        if (GetPageDialogRecord(key).page == page) return GetPageDialogRecord(key).item;
    return nullptr;
}

void ChooseItem(HWND tree, HTREEITEM item)
{
    TreeView_SelectItem(tree, item);
    DrainMessages();
}

void ClickIcon(HWND tree, HTREEITEM item, bool right)
{
    RECT label = {};
    std::memcpy(&label, &item, sizeof item);
    SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
    const LPARAM at = MAKELPARAM(label.left - 13, (label.top + label.bottom) / 2);
    PostMessageA(tree, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON, at);
    PostMessageA(tree, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
    DrainMessages();
}

void Press(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    DrainMessages();
}

class PageSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitPaperTable();
        site.AddView(drawing);
        SetHostServiceSite(&site);
        SetCommandHost(&host);
    }
    void TearDown() override
    {
        SetHostServiceSite(nullptr);
        SetCommandHost(nullptr);
    }
    void* db() { return drawing.db(); }
    void Title(int page, const char* title)
    {
        DbInfoRecord info;
        ASSERT_EQ(GetPageDbInfo(page, &info), 1);
        std::strcpy(info.title, title);
        ASSERT_EQ(SetPageDbInfo(page, &info), 1);
    }
    std::string TitleOf(int page)
    {
        DbInfoRecord info;
        GetPageDbInfo(page, &info);
        return info.title;
    }

    TestDrawing drawing;
    TestViewSite site;
    ScriptedCommandHost host;
};

TEST_F(PageSettingsTest, FieldsOfTheChosenPageAreWrittenBackOnOk)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    ASSERT_EQ(AddPage(2, 1), 1);
    Title(1, "一階");
    Title(2, "詳細");
    std::string shownTitle;
    bool placedPage0 = true, placedPage1 = false, placedPage2 = true;
    RunEditPages([&](HWND dialog) {
        HWND tree = GetDlgItem(dialog, 1131);
        EXPECT_EQ(SendMessageA(tree, TVM_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(TreeView_GetParent(tree, ItemOfPage(tree, 2)), ItemOfPage(tree, 1)) << "a page under its parent";
        placedPage0 = IsWindowEnabled(GetDlgItem(dialog, 402));
        ChooseItem(tree, ItemOfPage(tree, 1));
        shownTitle = Field(dialog, 101);
        placedPage1 = IsWindowEnabled(GetDlgItem(dialog, 402));
        SetDlgItemTextA(dialog, 101, "新題");
        // A scale of 0 is refused and the dialog stays.
        SetDlgItemTextA(dialog, 401, "0");
        Press(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back(), GetMessageText(7490));
        SetDlgItemTextA(dialog, 401, "50");
        SetDlgItemTextA(dialog, 804, "10");
        SetDlgItemTextA(dialog, 805, "20");
        SetDlgItemTextA(dialog, 806, "90");
        // Left on the icon hides the page; right then shows it only.
        ClickIcon(tree, ItemOfPage(tree, 2), false);
        ClickIcon(tree, ItemOfPage(tree, 2), true);
        ChooseItem(tree, ItemOfPage(tree, 2));
        placedPage2 = IsWindowEnabled(GetDlgItem(dialog, 402));
        Press(dialog, IDOK);
    });
    EXPECT_EQ(shownTitle, "一階");
    EXPECT_FALSE(placedPage0);
    EXPECT_TRUE(placedPage1);
    EXPECT_FALSE(placedPage2) << "only pages right under the drawing are placed";
    EXPECT_EQ(TitleOf(1), "新題");
    DbInfoRecord info;
    ASSERT_EQ(GetPageDbInfo(1, &info), 1);
    EXPECT_EQ(info.scale, 50);
    int32_t words[6];
    double scale = 0, angle = 0;
    ASSERT_EQ(GetPagePlacement(1, words, &scale, &angle), 1);
    double x = 0, y = 0;
    std::memcpy(&x, words, sizeof x);
    std::memcpy(&y, words + 2, sizeof y);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    EXPECT_NEAR(angle, 3.14159265358979 / 2, 1e-9);
    // Page 2 started shown and detectable: left hid it, right made it shown only.
    EXPECT_EQ(IsPageDisplayed(2), 1);
    EXPECT_EQ(IsPageDetectable(2), 0);
    EXPECT_EQ(PageDialogRecordCount(), 0) << "the records are freed";
}

TEST_F(PageSettingsTest, CustomPaperShowsItsSizeFieldsEnabled)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    DbInfoRecord info;
    ASSERT_EQ(GetPageDbInfo(1, &info), 1);
    info.paperCode = 0;
    info.paperWidthMm = 300;
    info.paperHeightMm = 200;
    ASSERT_EQ(SetPageDbInfo(1, &info), 1);
    std::string width;
    bool enabled = false;
    RunEditPages([&](HWND dialog) {
        HWND tree = GetDlgItem(dialog, 1131);
        ChooseItem(tree, ItemOfPage(tree, 1));
        width = Field(dialog, 800);
        enabled = IsWindowEnabled(GetDlgItem(dialog, 800));
        // An empty size is refused with its own message and comes back as 0.
        SetDlgItemTextA(dialog, 801, "");
        Press(dialog, IDOK);
        EXPECT_EQ(host.messages.back(), GetMessageText(7491));
        EXPECT_EQ(Field(dialog, 801), "0");
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(width, "300");
    EXPECT_TRUE(enabled);
    ASSERT_EQ(GetPageDbInfo(1, &info), 1);
    EXPECT_EQ(info.paperHeightMm, 200) << "Cancel writes nothing";
}

TEST_F(PageSettingsTest, PlacementLibraryMissingEndsWithItsMessageAndWritesNothing)
{
    ASSERT_EQ(AddPage(1, 0), 1);
    Title(1, "元");
    RunEditPages([&](HWND dialog) {
        HWND tree = GetDlgItem(dialog, 1131);
        ChooseItem(tree, ItemOfPage(tree, 1));
        SetDlgItemTextA(dialog, 101, "変更");
        Press(dialog, 13);
    });
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back(), "コマンドが登録されていません");
    EXPECT_EQ(TitleOf(1), "元");
}

}  // namespace
