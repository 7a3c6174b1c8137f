// The settings sheet and its pages: what each page shows and writes, that Cancel changes
// nothing after visiting pages, that OK applies every visited page, and the page checks.
#include "GTest.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <climits>
#include <functional>
#include <string>

#include "../core/SettingsSandbox.h"
#include "DialogDriver.h"
#include "SettingsFilesSeed.h"
#include "HostMessages.h"
#include "dialogs/SetConfigDlg.h"

namespace {

const char kSheetCaption[] = "環境設定";

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

// Shows page `index` (the current page is left first) and returns its window.
HWND GoTo(HWND sheet, int index)
{
    SendMessageA(sheet, PSM_SETCURSEL, index, 0);
    return CurrentPage(sheet);
}

// Runs the sheet as the service command does; the script acts on the sheet and closes it.
void RunSheet(const std::function<void(HWND)>& script)
{
    DialogDriver::Run(kSheetCaption, script, [] {
        RunSettingsSheet();
        return 0;
    });
    EXPECT_TRUE(DialogDriver::Acted()) << "the sheet was shown";
}

bool Checked(HWND page, int id) { return IsDlgButtonChecked(page, id) == BST_CHECKED; }
void Check(HWND page, int id, bool on) { CheckDlgButton(page, id, on ? BST_CHECKED : BST_UNCHECKED); }
int Selected(HWND page, int id) { return static_cast<int>(SendDlgItemMessageA(page, id, CB_GETCURSEL, 0, 0)); }

// The swatch colour a colour list draws for an item.
COLORREF SwatchOf(HWND page, int comboId, int item)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 80, 20);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_COMBOBOX;
    draw.CtlID = comboId;
    draw.itemID = item;
    draw.hwndItem = GetDlgItem(page, comboId);
    draw.hDC = dc;
    draw.rcItem = {0, 0, 80, 20};
    draw.itemData = item + 1;
    SendMessageA(page, WM_DRAWITEM, comboId, reinterpret_cast<LPARAM>(&draw));
    const COLORREF colour = GetPixel(dc, 10, 10);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return colour;
}

class SettingsSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        userConfig = SeedUserConfigData();
        configTime = LastWrite(userConfig);
        previousFrame = GetMainFrameWnd();
        SetMainFrameWnd(nullptr);
        LocalSettingsSetup& s = live();
        s.bToolHlp = 1, s.bWindowSz = 1, s.bDspNumDlgFg = 0, s.bColorMode = 1;
        s.iUndoCount = 10, s.grid.x = 910, s.grid.y = 455;
        s.bElmHit = 0, s.bBeepFind = 1, s.iSnapShowMode = 2;
        s.iDigit = 3, s.bZero = 1, s.iDigit_dEps = 5, s.iDigit_dEpsAngle = 3;
        GetCadSystem().setup.iDigit_dEps = 5;
        GetCadSystem().setup.iDigit_dEpsAngle = 3;
        s.bCurModeChk = 1, s.bLastPosViewFg = 0;
        s.bTermDrawFg = 1, s.bPointSize = 0, s.bLineWidthSize = 2;
        s.SysZumenDir = "C:\\drawings";
        s.iStartOpenDlgFg = 1;
        SetDrawingBackgroundMode(0);
        GetConfigDataRuntime().rubberBandColor = 3;
        GetLocalSettingsLive().iHighlightColor = 2;
        GetLocalSettingsLive().mouseMode = 0;
        GetCadSystem().config.CURSOR02TYPE = 1;
        GetCadSystem().localWindow.ToolPanelDispMode = 0x5;
        CadFileBackupSettings& b = GetCadFileBackupSettings();
        b.nBackupCountSpan = 3, b.bCountBakup = 0, b.bTimeBackup = 1, b.nBackupTimeSpanSec = 600;
        saved = GetLocalSettingsLive();
    }
    void TearDown() override { SetMainFrameWnd(previousFrame); }
    static LocalSettingsSetup& live() { return GetLocalSettingsLive().setup; }

    SettingsSandbox sandbox;
    std::string userConfig;
    FILETIME configTime = {};
    LocalSettingsLive saved;
    HWND previousFrame = nullptr;
};

TEST_F(SettingsSheet, HasOkRightOfCancelNoApplyAndTenPagesButTheMarginsWhenAllCanBeMade)
{
    int pages = 0;
    RECT ok = {}, cancel = {};
    bool apply = true;
    std::string firstTab;
    RunSheet([&](HWND sheet) {
        HWND tab = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETTABCONTROL, 0, 0));
        pages = static_cast<int>(SendMessageA(tab, TCM_GETITEMCOUNT, 0, 0));
        char text[64] = {};
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tab, TCM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        firstTab = text;
        GetWindowRect(GetDlgItem(sheet, IDOK), &ok);
        GetWindowRect(GetDlgItem(sheet, IDCANCEL), &cancel);
        HWND applyButton = GetDlgItem(sheet, 0x3021);
        apply = applyButton != nullptr && IsWindowVisible(applyButton);
        SendMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(pages, 10);
    EXPECT_EQ(firstTab, "システム環境Ａ");
    EXPECT_GT(ok.left, cancel.left) << "OK stands right of Cancel";
    EXPECT_FALSE(apply);
}

TEST_F(SettingsSheet, CancelAfterVisitingThreePagesChangesNothing)
{
    RunSheet([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Check(page, 1100, false);
        Check(page, 1102, true);
        page = GoTo(sheet, 2);
        Check(page, 1100, false);
        SetDlgItemTextA(page, 1302, "7");
        page = GoTo(sheet, 7);
        CheckRadioButton(page, 1200, 1202, 1202);
        Check(page, 1101, false);
        GoTo(sheet, 3);
        SendMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(live().bToolHlp, 1);
    EXPECT_EQ(live().bDspNumDlgFg, 0);
    EXPECT_EQ(live().iUndoCount, 10);
    EXPECT_EQ(GetCadFileBackupSettings().nBackupTimeSpanSec, 600);
    EXPECT_EQ(GetLocalSettingsLive().mouseMode, 0);
    EXPECT_EQ(GetCadSystem().config.CURSOR02TYPE, 1);
    EXPECT_FALSE(SettingsSandbox::Exists(sandbox.UserFile("LocalSettings.ini"))) << "page 1 wrote nothing";
    EXPECT_TRUE(SameTime(LastWrite(userConfig), configTime)) << "page 8 wrote nothing";
}

TEST_F(SettingsSheet, OkAppliesEveryVisitedPageAndOnlyThose)
{
    RunSheet([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        Check(page, 1100, false);
        page = GoTo(sheet, 3);
        SetDlgItemTextA(page, 1300, "0");
        SetDlgItemTextA(page, 1301, "500");
        page = GoTo(sheet, 7);
        Check(page, 1101, false);
        GoTo(sheet, 8);  // shown and left unchanged
        SendMessageA(sheet, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(live().bToolHlp, 0);
    EXPECT_EQ(live().grid.x, 910) << "X 0 keeps the pitch";
    EXPECT_EQ(live().grid.y, 500);
    EXPECT_EQ(GetCadSystem().config.CURSOR02TYPE, 0);
    EXPECT_EQ(live().bCurModeChk, 1);
    EXPECT_EQ(live().iUndoCount, 10) << "page 3 was never opened";
    const std::string ini = SettingsSandbox::ReadFile(sandbox.UserFile("LocalSettings.ini"));
    EXPECT_NE(ini.find("iHighlightColor=2"), std::string::npos) << ini;
    EXPECT_EQ(XmlField(userConfig, "CURSOR02TYPE"), "0");
}

TEST_F(SettingsSheet, OkWithoutSwitchingAppliesTheCurrentPage)
{
    RunSheet([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        CheckRadioButton(page, 1204, 1206, 1206);
        Check(page, 1101, false);
        SendMessageA(sheet, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(live().bColorMode, 2);
    EXPECT_EQ(live().bWindowSz, 1);
}

// What each page shows and what OK writes from the controls the user changed.
struct PageCase {
    const char* name;
    int index;
    std::function<void(HWND)> checkShown;
    std::function<void(HWND)> change;
    std::function<void()> checkApplied;
};

TEST_F(SettingsSheet, EachPageShowsAndWritesItsSettings)
{
    const PageCase cases[] = {
        {"system A", 0,
         [](HWND p) {
             EXPECT_TRUE(Checked(p, 1100));
             EXPECT_FALSE(Checked(p, 1101)) << "bWindowSz 1";
             EXPECT_FALSE(Checked(p, 1102));
             EXPECT_TRUE(Checked(p, 1205));
             EXPECT_EQ(Selected(p, 1401), 0);
             EXPECT_EQ(Selected(p, 1402), 2);
             EXPECT_EQ(Selected(p, 1403), 1);
         },
         [](HWND p) {
             Check(p, 1101, true);
             Check(p, 1102, true);
             SendDlgItemMessageA(p, 1401, CB_SETCURSEL, 1, 0);
             SendDlgItemMessageA(p, 1402, CB_SETCURSEL, 6, 0);
             SendDlgItemMessageA(p, 1403, CB_SETCURSEL, 99, 0);
         },
         [] {
             EXPECT_EQ(live().bWindowSz, 0);
             EXPECT_EQ(live().bDspNumDlgFg, 1);
             EXPECT_EQ(GetDrawingBackgroundMode(), 1);
             EXPECT_EQ(GetConfigDataRuntime().rubberBandColor, 7);
             EXPECT_EQ(GetLocalSettingsLive().iHighlightColor, 100);
         }},
        {"system B", 1,
         [](HWND p) {
             EXPECT_EQ(ItemText(p, 1300), "C:\\drawings");
             EXPECT_FALSE(Checked(p, 1103));
             EXPECT_TRUE(Checked(p, 1104));
             EXPECT_FALSE(Checked(p, 1105));
             EXPECT_TRUE(Checked(p, 1106));
         },
         [](HWND p) {
             SetDlgItemTextA(p, 1300, "D:\\other");
             Check(p, 1103, true);
             Check(p, 1107, true);
         },
         [] {
             EXPECT_EQ(live().SysZumenDir, "D:\\other");
             EXPECT_EQ(live().iStartOpenDlgFg, 0);
             EXPECT_EQ(GetCadSystem().localWindow.ToolPanelDispMode, 0xD);
         }},
        {"recovery", 2,
         [](HWND p) {
             EXPECT_EQ(ItemText(p, 1300), "10");
             EXPECT_TRUE(Checked(p, 1100));
             EXPECT_EQ(ItemText(p, 1301), "3");
             EXPECT_FALSE(Checked(p, 1101));
             EXPECT_EQ(ItemText(p, 1302), "10");
             EXPECT_TRUE(Checked(p, 1102));
         },
         [](HWND p) {
             SetDlgItemTextA(p, 1300, "-4");
             SetDlgItemTextA(p, 1301, "-2");
             SetDlgItemTextA(p, 1302, "99999999999999");
             Check(p, 1101, true);
         },
         [] {
             EXPECT_EQ(live().iUndoCount, 0) << "a negative count is no undo";
             EXPECT_EQ(GetCadFileBackupSettings().nBackupCountSpan, 0);
             EXPECT_EQ(GetCadFileBackupSettings().bCountBakup, 1);
             EXPECT_EQ(GetCadFileBackupSettings().nBackupTimeSpanSec, (INT_MAX / 60) * 60);
         }},
        {"grid", 3,
         [](HWND p) {
             EXPECT_EQ(ItemText(p, 1300), "910");
             EXPECT_EQ(ItemText(p, 1301), "455");
         },
         [](HWND p) {
             SetDlgItemTextA(p, 1300, "abc");
             SetDlgItemTextA(p, 1301, "12.5");
         },
         [] {
             EXPECT_EQ(live().grid.x, 910);
             EXPECT_EQ(live().grid.y, 12.5);
         }},
        {"detection", 4,
         [](HWND p) {
             EXPECT_TRUE(Checked(p, 1201));
             EXPECT_TRUE(Checked(p, 1100));
             EXPECT_TRUE(Checked(p, 1206));
         },
         [](HWND p) {
             CheckRadioButton(p, 1200, 1201, 1200);
             Check(p, 1100, false);
             CheckRadioButton(p, 1204, 1206, 1204);
         },
         [] {
             EXPECT_EQ(live().bElmHit, 1);
             EXPECT_EQ(live().bBeepFind, 0);
             EXPECT_EQ(live().iSnapShowMode, 0);
         }},
        {"numbers", 6,
         [](HWND p) {
             EXPECT_EQ(Selected(p, 1400), 3);
             EXPECT_TRUE(Checked(p, 1100));
             EXPECT_EQ(SendDlgItemMessageA(p, 1401, CB_GETCOUNT, 0, 0), 4);
             char text[32] = {};
             SendDlgItemMessageA(p, 1401, CB_GETLBTEXT, Selected(p, 1401), reinterpret_cast<LPARAM>(text));
             EXPECT_STREQ(text, "0.000001");
             SendDlgItemMessageA(p, 1403, CB_GETLBTEXT, Selected(p, 1403), reinterpret_cast<LPARAM>(text));
             EXPECT_STREQ(text, "0.0001");
         },
         [](HWND p) {
             SendDlgItemMessageA(p, 1400, CB_SETCURSEL, 7, 0);
             Check(p, 1100, false);
             SendDlgItemMessageA(p, 1401, CB_SETCURSEL, 0, 0);
             SendDlgItemMessageA(p, 1403, CB_SETCURSEL, 3, 0);
         },
         [] {
             EXPECT_EQ(live().iDigit, 7);
             EXPECT_EQ(live().bZero, 0);
             EXPECT_EQ(live().iDigit_dEps, 2);
             EXPECT_DOUBLE_EQ(live().lengthTolerance, 0.001);
             EXPECT_EQ(live().iDigit_dEpsAngle, 5);
             EXPECT_DOUBLE_EQ(live().angleTolerance, 0.000001);
             EXPECT_EQ(GetCadSystem().setup.iDigit_dEps, 2);
         }},
        {"cursor", 7,
         [](HWND p) {
             EXPECT_TRUE(Checked(p, 1200));
             EXPECT_TRUE(Checked(p, 1100)) << "bCurSorAreaDsp defaults to 1";
             EXPECT_TRUE(Checked(p, 1101));
         },
         [](HWND p) {
             CheckRadioButton(p, 1200, 1202, 1201);
             Check(p, 1100, false);
         },
         [] {
             EXPECT_EQ(GetLocalSettingsLive().mouseMode, 1);
             EXPECT_EQ(live().bCurSorAreaDsp, 0);
             EXPECT_EQ(GetCadSystem().config.CURSOR02TYPE, 1);
         }},
        {"extended", 8,
         [](HWND p) {
             EXPECT_TRUE(Checked(p, 1100));
             EXPECT_FALSE(Checked(p, 1103));
         },
         [](HWND p) {
             Check(p, 1100, false);
             Check(p, 1103, true);
         },
         [] {
             EXPECT_EQ(live().bCurModeChk, 0);
             EXPECT_EQ(live().bLastPosViewFg, 1);
         }},
        {"display", 9,
         [](HWND p) {
             EXPECT_TRUE(Checked(p, 1200));
             EXPECT_TRUE(Checked(p, 1205));
             EXPECT_TRUE(Checked(p, 1208));
         },
         [](HWND p) {
             CheckRadioButton(p, 1200, 1201, 1201);
             CheckRadioButton(p, 1204, 1205, 1204);
             Check(p, 1208, false);
             Check(p, 1203, true);
         },
         [] {
             EXPECT_EQ(live().bTermDrawFg, 0);
             EXPECT_EQ(live().bPointSize, 1);
             EXPECT_EQ(live().bLineWidthSize, 0);
         }},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        GetLocalSettingsLive() = saved;
        RunSheet([&](HWND sheet) {
            HWND page = GoTo(sheet, c.index);
            c.checkShown(page);
            c.change(page);
            SendMessageA(sheet, WM_COMMAND, IDOK, 0);
        });
        c.checkApplied();
    }
}

TEST_F(SettingsSheet, RecoveryPageReadsCountsWithinRange)
{
    EXPECT_EQ(CSetConfig03Dlg::ReadCount("12"), 12);
    EXPECT_EQ(CSetConfig03Dlg::ReadCount("abc"), 0);
    EXPECT_EQ(CSetConfig03Dlg::ReadCount("-7"), -7);
    EXPECT_EQ(CSetConfig03Dlg::ReadCount("99999999999999"), INT_MAX);
    EXPECT_EQ(CSetConfig03Dlg::ReadCount("-99999999999999"), INT_MIN);
    EXPECT_EQ(CSetConfig03Dlg::ReadCount("123456789012345678"), INT_MAX) << "only 14 characters are read";
    EXPECT_EQ(CSetConfig03Dlg::MinutesToSeconds(0), 0);
    EXPECT_EQ(CSetConfig03Dlg::MinutesToSeconds(-3), 0);
    EXPECT_EQ(CSetConfig03Dlg::MinutesToSeconds(5), 300);
    EXPECT_EQ(CSetConfig03Dlg::MinutesToSeconds(INT_MAX), (INT_MAX / 60) * 60);
}

TEST_F(SettingsSheet, NumbersPageReportsAMissingToleranceAndKeepsTheOldValues)
{
    RunSheet([&](HWND sheet) {
        HWND page = GoTo(sheet, 6);
        SendDlgItemMessageA(page, 1401, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        SendDlgItemMessageA(page, 1400, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        GoTo(sheet, 7);
        SendMessageA(sheet, WM_COMMAND, IDOK, 0);
    });
    // The sandbox's missing installed files are reported too; only the page's boxes count here.
    int length = 0, angle = 0;
    for (const RecordedMessage& m : SettingsSandbox::Messages()) {
        if (m.text == "数値誤差の値が異常です。無視します。") {
            ++length;
            EXPECT_EQ(m.caption, "確認");
        }
        if (m.text == "角度誤差の値が異常です。無視します。") ++angle;
    }
    EXPECT_EQ(length, 1) << "reported once, when the page was left";
    EXPECT_EQ(angle, 0);
    EXPECT_EQ(live().iDigit_dEps, 5);
    EXPECT_EQ(live().iDigit, 3) << "no selection keeps the decimals";
}

TEST_F(SettingsSheet, NumbersPageResetSelectsTheDefaultsOnlyOnOk)
{
    live().iDigit_dEps = GetCadSystem().setup.iDigit_dEps = 9;  // outside the range: the first item
    std::string first, afterCancel, afterOk, angleAfterOk;
    auto text = [](HWND p, int id) {
        char buffer[32] = {};
        SendDlgItemMessageA(p, id, CB_GETLBTEXT, Selected(p, id), reinterpret_cast<LPARAM>(buffer));
        return std::string(buffer);
    };
    RunSheet([&](HWND sheet) {
        HWND page = GoTo(sheet, 6);
        first = text(page, 1401);
        SendDlgItemMessageA(page, 1403, CB_SETCURSEL, 0, 0);
        SettingsSandbox::Answer(IDCANCEL);
        Click(page, 1003);
        afterCancel = text(page, 1401);
        SettingsSandbox::Answer(IDOK);
        Click(page, 1003);
        afterOk = text(page, 1401);
        angleAfterOk = text(page, 1403);
        SendMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(first, "0.001");
    EXPECT_EQ(afterCancel, "0.001");
    EXPECT_EQ(afterOk, "0.000001");
    EXPECT_EQ(angleAfterOk, "0.0001");
    EXPECT_EQ(live().iDigit_dEps, 9) << "Cancel: nothing applied";
}

TEST_F(SettingsSheet, SystemAPageColourListsWithAndWithoutADrawing)
{
    COLORREF* palette = GetConfigDataRuntime().palette;
    for (int i = 0; i < 257; ++i) palette[i] = RGB(i % 256, 3, 5);
    palette[7] = RGB(255, 255, 255);
    COLORREF withoutDrawing = 0, rubberOnBlack = 0, rubberOnWhite = 0;
    RunSheet([&](HWND sheet) {
        HWND page = CurrentPage(sheet);
        withoutDrawing = SwatchOf(page, 1403, 9);
        rubberOnBlack = SwatchOf(page, 1402, 6);
        SendDlgItemMessageA(page, 1401, CB_SETCURSEL, 1, 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(1401, CBN_SELCHANGE), reinterpret_cast<LPARAM>(GetDlgItem(page, 1401)));
        rubberOnWhite = SwatchOf(page, 1402, 6);
        SendMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(withoutDrawing, RGB(10, 3, 5)) << "entry 10 of the program's colour table";
    EXPECT_EQ(rubberOnBlack, RGB(255, 255, 255));
    EXPECT_EQ(rubberOnWhite, RGB(0, 0, 0)) << "white shows black on a white background";
    EXPECT_EQ(GetDrawingBackgroundMode(), 0) << "the selection alone changes no setting";
}

}  // namespace
