// Settings page 207 in a sheet of its own: what it takes over when it is left.
#include "GTest.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "core/LocalSettings.h"
#include "core/SettingsMessage.h"
#include "drawing/MarginSettingsPage.h"

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
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        HWND sheet = FindWindowA(nullptr, kSheetCaption);
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
        SendMessageA(sheet, WM_COMMAND, IDOK, 0);
        StayedOpen() = Boxes() != boxes && IsWindow(sheet) && IsWindow(page);
        if (StayedOpen()) SendMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    }
};

INT_PTR RunOnePageSheet(CSetConfig06Dlg& page)
{
    HPROPSHEETPAGE pages[1] = {page.CreatePage()};
    if (pages[0] == nullptr) return -1;
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOAPPLYNOW;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = kSheetCaption;
    header.nPages = 1;
    header.phpage = pages;
    return PropertySheetA(&header);
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

    {
        CSetConfig06Dlg page;
        PageDriver::Margin() = "100";
        UINT_PTR timer = SetTimer(nullptr, 0, 50, PageDriver::Tick);
        RunOnePageSheet(page);
        KillTimer(nullptr, timer);
    }
    EXPECT_EQ(PageDriver::PaperItems(), 256) << "the page offers no paper colour 0";
    EXPECT_EQ(PageDriver::ComboEnabled(), 1);
    EXPECT_EQ(PageDriver::StayedOpen(), 1) << "an invalid margin keeps the page";
    EXPECT_EQ(setup.paper_margin.color, 3) << "and takes nothing over";
    EXPECT_EQ(setup.paper_margin.papercolor, 5);
    EXPECT_EQ(setup.paper_margin.bottom, 0);
    EXPECT_EQ(setup.bPaperOrg, 1);

    {
        CSetConfig06Dlg page;
        PageDriver::Margin() = "4";
        UINT_PTR timer = SetTimer(nullptr, 0, 50, PageDriver::Tick);
        RunOnePageSheet(page);
        KillTimer(nullptr, timer);
    }
    EXPECT_EQ(PageDriver::StayedOpen(), 0);
    EXPECT_EQ(setup.paper_margin.color, 0) << "unchecked: no margin frame";
    EXPECT_EQ(setup.paper_margin.papercolor, 1) << "the page's first paper item is colour 1";
    EXPECT_EQ(setup.paper_margin.bottom, 12.5);
    EXPECT_EQ(setup.paper_margin.top2, 4);
    EXPECT_EQ(setup.bPaperOrg, 0) << "中央";

    {
        CSetConfig06Dlg page;
        PageDriver::Margin() = "4";
        UINT_PTR timer = SetTimer(nullptr, 0, 50, PageDriver::Tick);
        RunOnePageSheet(page);
        KillTimer(nullptr, timer);
    }
    EXPECT_EQ(PageDriver::ComboEnabled(), 0) << "index 0 stored shows the margin combo disabled";

    setup.paper_margin = savedMargins;
    setup.bPaperOrg = savedOrigin;
    SetSettingsMessageHook(previous);
}

}  // namespace
