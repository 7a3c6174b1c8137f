// The margin and paper-frame settings: what the margin dialogs take over, dialog 215 and
// settings page 207.
#include "GTest.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "OwnWindows.h"
#include "core/LocalSettings.h"
#include "core/ReplacingWrite.h"
#include "core/SettingsMessage.h"
#include "core/WholeFileRead.h"
#include "drawing/MarginPresets.h"
#include "drawing/MarginSettings.h"
#include "drawing/MarginSettingsPage.h"
#include "mainframe/MainFrame.h"
#include "view/ViewTable.h"

namespace {

int& Boxes()
{
    static int boxes = 0;
    return boxes;
}
int CountBox(HWND, const char*, const char*, UINT)
{
    ++Boxes();
    return IDOK;
}

MarginFrameEntries ValidEntries()
{
    MarginFrameEntries e;
    const char* texts[kMarginEditCount] = {"10", "11", "12", "13", "20", "21", "22", "23.5"};
    for (int i = 0; i < kMarginEditCount; ++i) e.margins[i] = texts[i];
    return e;
}

// Two shown windows in the view table stand for drawing views; the dialogs' drivers check
// which of them got something to repaint when the entries were taken over.
struct TwoTableViews {
    TwoTableViews()
    {
        ClearViewTable();
        for (int i = 0; i < 2; ++i) {
            Views()[i] = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 20 * i, 10, 10, nullptr, nullptr, nullptr, nullptr);
            AddViewToTable(Views()[i]);
        }
    }
    ~TwoTableViews()
    {
        ClearViewTable();
        for (int i = 0; i < 2; ++i) DestroyWindow(Views()[i]), Views()[i] = nullptr;
    }
    static HWND* Views()
    {
        static HWND views[2] = {};
        return views;
    }
    // Clears what the views and the frame's timer have left to repaint.
    static void Settle()
    {
        for (int i = 0; i < 2; ++i) ValidateRect(Views()[i], nullptr);
        GetFrameFlags().auxViewRefresh = 0;
    }
    // How many views have something to repaint, 10 more when the layout views are asked to rebuild.
    static int Repaints()
    {
        int count = GetFrameFlags().auxViewRefresh ? 10 : 0;
        for (int i = 0; i < 2; ++i) count += Views()[i] != nullptr && GetUpdateRect(Views()[i], nullptr, FALSE);
        return count;
    }
};

PaperMarginEx SampleSettings()
{
    PaperMarginEx s;
    s.left = 1, s.right = 2, s.top = 3, s.bottom = 4;
    s.left2 = 5, s.right2 = 6, s.top2 = 7, s.bottom2 = 8;
    s.color = 5, s.papercolor = 9;
    return s;
}

struct TakeOverCase {
    const char* what;
    int shown, marginItem, paperItem, paperIsIndex;
    int color, papercolor;
};

class MarginTakeOver : public ::testing::TestWithParam<TakeOverCase> {};

TEST_P(MarginTakeOver, StoresTheColourIndexes)
{
    const TakeOverCase& c = GetParam();
    MarginFrameEntries e = ValidEntries();
    e.marginFrameShown = c.shown, e.marginFrameItem = c.marginItem;
    e.paperFrameItem = c.paperItem, e.paperItemIsIndex = c.paperIsIndex;
    PaperMarginEx s = SampleSettings();
    ASSERT_EQ(TakeOverMarginEntries(nullptr, e, s), 1);
    EXPECT_EQ(s.color, c.color) << c.what;
    EXPECT_EQ(s.papercolor, c.papercolor) << c.what;
    const double stored[kMarginEditCount] = {s.top, s.bottom, s.left, s.right, s.top2, s.bottom2, s.left2, s.right2};
    const double typed[kMarginEditCount] = {10, 11, 12, 13, 20, 21, 22, 23.5};
    for (int i = 0; i < kMarginEditCount; ++i) EXPECT_EQ(stored[i], typed[i]) << "edit " << 1305 + i;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MarginTakeOver,
    ::testing::Values(TakeOverCase{"unchecked stores 0 whatever the combo shows", 0, 7, 3, 1, 0, 3},
                      TakeOverCase{"dialog 215: paper item 0 switches the paper frame off", 1, 2, 0, 1, 3, 0},
                      TakeOverCase{"settings page: paper item 0 is colour 1", 1, 0, 0, 0, 1, 1},
                      TakeOverCase{"no selection counts as the first item", 1, -1, -1, 1, 1, 0}));

TEST(MarginTakeOver, InvalidMarginTakesNothingOver)
{
    SettingsMessageHook previous = SetSettingsMessageHook(CountBox);
    for (const char* bad : {"100", "-1", "abc", ""}) {
        MarginFrameEntries e = ValidEntries();
        e.marginFrameShown = 0, e.paperFrameItem = 0;
        e.margins[5] = bad;
        PaperMarginEx s = SampleSettings();
        Boxes() = 0;
        EXPECT_EQ(TakeOverMarginEntries(nullptr, e, s), 0) << bad;
        EXPECT_EQ(Boxes(), 1) << bad;
        EXPECT_EQ(s.color, 5) << bad;
        EXPECT_EQ(s.papercolor, 9) << bad;
        EXPECT_EQ(s.top, 3) << bad;
        EXPECT_EQ(s.bottom2, 8) << bad;
    }
    SetSettingsMessageHook(previous);
}

// Drives dialog 215 once it shows.
struct MarginDialogDriver {
    static std::string& Margin()
    {
        static std::string text;
        return text;
    }
    static int& SeenMarginComboEnabled()
    {
        static int enabled = -1;
        return enabled;
    }
    static int& SeenCheck()
    {
        static int check = -1;
        return check;
    }
    static int& SeenMarginItem()
    {
        static int item = -1;
        return item;
    }
    static int& StayedOpen()
    {
        static int stayed = 0;
        return stayed;
    }
    static int& Repaints()
    {
        static int repaints = -1;
        return repaints;
    }
    static void CALLBACK Fill(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND dialog = FindOwnWindow("#32770", "マージンの設定（指定後 [OK] ｸﾘｯｸしてください。）");
        if (dialog == nullptr) return;
        KillTimer(nullptr, id);
        SeenMarginComboEnabled() = IsWindowEnabled(GetDlgItem(dialog, 1402)) ? 1 : 0;
        SeenCheck() = IsDlgButtonChecked(dialog, 1104);
        SeenMarginItem() = static_cast<int>(SendDlgItemMessageA(dialog, 1402, CB_GETCURSEL, 0, 0));
        CheckDlgButton(dialog, 1104, BST_CHECKED);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1104, BN_CLICKED), 0);
        SendDlgItemMessageA(dialog, 1402, CB_SETCURSEL, 3, 0);
        SendDlgItemMessageA(dialog, 1400, CB_SETCURSEL, 0, 0);
        SetDlgItemTextA(dialog, 1305, "15");
        SetDlgItemTextA(dialog, 1312, Margin().c_str());
        const int boxes = Boxes();
        TwoTableViews::Settle();
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        Repaints() = TwoTableViews::Repaints();
        StayedOpen() = Boxes() != boxes && IsWindow(dialog);
        if (Boxes() != boxes) SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
};

TEST(SetMarginDialog, TakesTheEntriesOverOrStaysOpenOnAnInvalidMargin)
{
    SettingsMessageHook previous = SetSettingsMessageHook(CountBox);
    PaperMarginEx& live = GetLocalSettingsLive().setup.paper_margin;
    const PaperMarginEx saved = live;
    live = SampleSettings();
    live.color = 0;
    TwoTableViews views;

    MarginDialogDriver::Margin() = "abc";
    Boxes() = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, MarginDialogDriver::Fill);
    EXPECT_EQ(ShowSetMarginDlg(), -1);
    KillTimer(nullptr, timer);
    EXPECT_EQ(MarginDialogDriver::StayedOpen(), 1) << "an invalid margin keeps the dialog open";
    EXPECT_EQ(MarginDialogDriver::SeenMarginComboEnabled(), 0) << "index 0 shows the combo disabled";
    EXPECT_EQ(MarginDialogDriver::SeenCheck(), BST_UNCHECKED);
    EXPECT_EQ(MarginDialogDriver::SeenMarginItem(), 0);
    EXPECT_EQ(live.color, 0) << "nothing is taken over";
    EXPECT_EQ(live.papercolor, 9);
    EXPECT_EQ(live.top, 3);
    EXPECT_EQ(MarginDialogDriver::Repaints(), 0) << "nothing changed, nothing repaints";

    MarginDialogDriver::Margin() = "7.25";
    timer = SetTimer(nullptr, 0, 50, MarginDialogDriver::Fill);
    EXPECT_EQ(ShowSetMarginDlg(), 0);
    KillTimer(nullptr, timer);
    EXPECT_EQ(live.color, 4);
    EXPECT_EQ(live.papercolor, 0);
    EXPECT_EQ(live.top, 15);
    EXPECT_EQ(live.right2, 7.25);
    EXPECT_EQ(live.left, 1) << "edits left as shown keep their values";
    EXPECT_EQ(MarginDialogDriver::Repaints(), 12) << "every view and the layout views show the new frames";

    live = saved;
    SetSettingsMessageHook(previous);
}

// Settings page 207 in a sheet of its own: what it takes over when it is left.
const char kSheetCaption[] = "マージン設定テスト";

struct PageDriver {
    static std::string& Margin()
    {
        static std::string text;
        return text;
    }
    static int& StayedOpen()
    {
        static int stayed = 0;
        return stayed;
    }
    static int& PaperItems()
    {
        static int items = 0;
        return items;
    }
    static int& ComboEnabled()
    {
        static int enabled = -1;
        return enabled;
    }
    static int& Repaints()
    {
        static int repaints = -1;
        return repaints;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND sheet = FindOwnWindow(nullptr, kSheetCaption);
        if (sheet == nullptr) return;
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        if (page == nullptr) return;
        KillTimer(nullptr, id);
        PaperItems() = static_cast<int>(SendDlgItemMessageA(page, 1400, CB_GETCOUNT, 0, 0));
        ComboEnabled() = IsWindowEnabled(GetDlgItem(page, 1402)) ? 1 : 0;
        CheckDlgButton(page, 1104, BST_UNCHECKED);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(1104, BN_CLICKED), 0);
        SendDlgItemMessageA(page, 1402, CB_SETCURSEL, 6, 0);
        SendDlgItemMessageA(page, 1400, CB_SETCURSEL, 0, 0);
        CheckRadioButton(page, 1204, 1205, 1205);
        SetDlgItemTextA(page, 1306, "12.5");
        SetDlgItemTextA(page, 1309, Margin().c_str());
        const int boxes = Boxes();
        TwoTableViews::Settle();
        SendMessageA(sheet, WM_COMMAND, IDOK, 0);
        Repaints() = TwoTableViews::Repaints();
        StayedOpen() = Boxes() != boxes && IsWindow(sheet) && IsWindow(page);
        if (StayedOpen()) SendMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    }
};

// Runs a sheet of the pages; -1 when a page's handle cannot be made.
INT_PTR RunSheetOf(std::initializer_list<CSetConfig06Dlg*> pageObjects)
{
    std::vector<HPROPSHEETPAGE> pages;
    for (CSetConfig06Dlg* page : pageObjects) {
        pages.push_back(page->CreatePage());
        if (pages.back() == nullptr) return -1;
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = kSheetCaption;
    header.nPages = static_cast<UINT>(pages.size());
    header.phpage = pages.data();
    return PropertySheetA(&header);
}

INT_PTR RunOnePageSheet(CSetConfig06Dlg& page) { return RunSheetOf({&page}); }

// Shows the page in a sheet of its own and lets the driver fill it with that margin.
void RunPageWithMargin(const char* margin)
{
    CSetConfig06Dlg page;
    PageDriver::Margin() = margin;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, PageDriver::Tick);
    RunOnePageSheet(page);
    KillTimer(nullptr, timer);
}

TEST(MarginSettingsPage, TakesOverWhenLeftAndStaysOnAnInvalidMargin)
{
    SettingsMessageHook previous = SetSettingsMessageHook(CountBox);
    LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    const PaperMarginEx savedMargins = setup.paper_margin;
    const int savedOrigin = setup.bPaperOrg;
    setup.paper_margin = PaperMarginEx();
    setup.paper_margin.color = 3;
    setup.paper_margin.papercolor = 5;
    setup.paper_margin.top2 = 9;
    setup.bPaperOrg = 1;
    TwoTableViews views;

    RunPageWithMargin("100");
    EXPECT_EQ(PageDriver::PaperItems(), 256) << "the page offers no paper colour 0";
    EXPECT_EQ(PageDriver::ComboEnabled(), 1);
    EXPECT_EQ(PageDriver::StayedOpen(), 1) << "an invalid margin keeps the page";
    EXPECT_EQ(setup.paper_margin.color, 3) << "and takes nothing over";
    EXPECT_EQ(setup.paper_margin.papercolor, 5);
    EXPECT_EQ(setup.paper_margin.bottom, 0);
    EXPECT_EQ(setup.bPaperOrg, 1);
    EXPECT_EQ(PageDriver::Repaints(), 0);

    RunPageWithMargin("4");
    EXPECT_EQ(PageDriver::StayedOpen(), 0);
    EXPECT_EQ(setup.paper_margin.color, 0) << "unchecked: no margin frame";
    EXPECT_EQ(setup.paper_margin.papercolor, 1) << "the page's first paper item is colour 1";
    EXPECT_EQ(setup.paper_margin.bottom, 12.5);
    EXPECT_EQ(setup.paper_margin.top2, 4);
    EXPECT_EQ(setup.bPaperOrg, 0) << "中央";
    EXPECT_EQ(PageDriver::Repaints(), 12) << "every view and the layout views show the new frames";

    RunPageWithMargin("4");
    EXPECT_EQ(PageDriver::ComboEnabled(), 0) << "index 0 stored shows the margin combo disabled";

    setup.paper_margin = savedMargins;
    setup.bPaperOrg = savedOrigin;
    SetSettingsMessageHook(previous);
}

// Fills page 207 with valid entries, switches to the sheet's second page and cancels.
struct LeaveThenCancelDriver {
    static int& Left()
    {
        static int left = 0;
        return left;
    }
    static double& TopWhileOpen()
    {
        static double top = -1;
        return top;
    }
    static int& Repaints()
    {
        static int repaints = -1;
        return repaints;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND sheet = FindOwnWindow(nullptr, kSheetCaption);
        HWND page = sheet ? reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
        if (page == nullptr) return;
        KillTimer(nullptr, id);
        CheckRadioButton(page, 1204, 1205, 1205);
        SetDlgItemTextA(page, 1305, "41");
        SendDlgItemMessageA(page, 1402, CB_SETCURSEL, 6, 0);
        TwoTableViews::Settle();
        SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
        Left() = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) != page;
        TopWhileOpen() = GetLocalSettingsLive().setup.paper_margin.top;
        SendMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        Repaints() = TwoTableViews::Repaints();
    }
};

TEST(MarginSettingsPage, CancelAfterTheValidPageWasLeftTakesNothingOver)
{
    LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    const PaperMarginEx savedMargins = setup.paper_margin;
    const int savedOrigin = setup.bPaperOrg;
    setup.paper_margin = PaperMarginEx();
    setup.paper_margin.color = 3;
    setup.paper_margin.top = 9;
    setup.bPaperOrg = 1;
    TwoTableViews views;
    {
        CSetConfig06Dlg first, second;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, LeaveThenCancelDriver::Tick);
        const INT_PTR result = RunSheetOf({&first, &second});
        KillTimer(nullptr, timer);
        ASSERT_NE(result, -1);
    }
    EXPECT_EQ(LeaveThenCancelDriver::Left(), 1) << "valid entries let the page be left";
    EXPECT_EQ(LeaveThenCancelDriver::TopWhileOpen(), 9) << "leaving the page takes nothing over";
    EXPECT_EQ(setup.paper_margin.top, 9);
    EXPECT_EQ(setup.paper_margin.color, 3);
    EXPECT_EQ(setup.bPaperOrg, 1);
    EXPECT_EQ(LeaveThenCancelDriver::Repaints(), 0) << "nothing changed, nothing repaints";
    setup.paper_margin = savedMargins;
    setup.bPaperOrg = savedOrigin;
}

// Takes preset "P" from the list of page 207 and cancels the sheet.
struct ListPickDriver {
    static int& Step()
    {
        static int step = 0;
        return step;
    }
    static std::string& Shown()
    {
        static std::string shown;
        return shown;
    }
    static double& TopWhileOpen()
    {
        static double top = -1;
        return top;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        if (HWND list = FindOwnWindow("#32770", "マージン枠パターン選択")) {
            SendDlgItemMessageA(list, 1500, LB_SETCURSEL, 0, 0);
            SendMessageA(list, WM_COMMAND, IDOK, 0);
            return;
        }
        HWND sheet = FindOwnWindow(nullptr, kSheetCaption);
        HWND page = sheet ? reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)) : nullptr;
        if (page == nullptr) return;
        if (Step() == 0) {
            Step() = 1;
            PostMessageA(page, WM_COMMAND, 1001, 0);
            return;
        }
        KillTimer(nullptr, id);
        char text[32] = {};
        GetDlgItemTextA(page, 1305, text, sizeof text);
        Shown() = text;
        TopWhileOpen() = GetLocalSettingsLive().setup.paper_margin.top;
        SendMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    }
};

TEST(MarginSettingsPage, PresetFromTheListFillsTheEditsOnly)
{
    CMargin store;
    std::string savedFile;
    const bool hadFile = ReadWholeFile(store.path.c_str(), &savedFile) == 0;
    CMarginData preset;
    const double values[CMarginData::kMarginCount] = {1.5, 2, 3, 4, 5, 6, 7, 8};
    preset.Set("P", values);
    store.presets.push_back(preset);
    ASSERT_EQ(store.Save(), 0);

    PaperMarginEx& live = GetLocalSettingsLive().setup.paper_margin;
    const PaperMarginEx saved = live;
    live.top = 33;
    ListPickDriver::Step() = 0;
    {
        CSetConfig06Dlg page;
        UINT_PTR timer = SetTimer(nullptr, 0, 50, ListPickDriver::Tick);
        RunOnePageSheet(page);
        KillTimer(nullptr, timer);
    }
    EXPECT_EQ(ListPickDriver::Shown(), "1.5");
    EXPECT_EQ(ListPickDriver::TopWhileOpen(), 33) << "nothing is taken over before the page is left";
    EXPECT_EQ(live.top, 33) << "a cancelled sheet takes nothing over";
    live = saved;

    if (hadFile) WriteFileReplacing(store.path.c_str(), savedFile);
    else DeleteFileA(store.path.c_str());
}

}  // namespace
