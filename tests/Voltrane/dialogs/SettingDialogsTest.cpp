// The grid, cursor, coordinate-display and version dialogs: what they show, what OK keeps,
// what Cancel drops and the pitches the grid dialog refuses.
#include "GTest.h"

#include <windows.h>

#include <string>

#include "../core/SettingsSandbox.h"
#include "DialogDriver.h"
#include "SettingsFilesSeed.h"
#include "HostMessages.h"
#include "core/MessageCatalog.h"
#include "dialogs/SettingDialogs.h"

namespace {

const char kGridCaption[] = "グリッドの設定 指定後 [OK] ｸﾘｯｸしてください。";
const char kCursorCaption[] = "カーソル形状の設定（指定後 [OK] ｸﾘｯｸしてください。）";
const char kCoordCaption[] = "座標表示モード（指定後 [OK] ｸﾘｯｸしてください。）";
const char kVersionCaption[] = "バージョン情報";

struct PitchCase {
    double pitch;
    bool drawingOpen;
    double extent;
    bool accepted;
};

TEST(GridPitch, IsCheckedAgainstHalfTheExtent)
{
    const PitchCase cases[] = {
        {0, true, 1000, false},      {1e-9, true, 1000, false}, {-5, true, 1000, false},
        {500, true, 1000, true},     {500.001, true, 1000, false}, {0.5, true, 1000, true},
        {1e9, false, 0, true},       {0, false, 0, false},      {-1, false, 0, false},
    };
    for (const PitchCase& c : cases)
        EXPECT_EQ(IsGridPitchAccepted(c.pitch, c.drawingOpen, c.extent), c.accepted)
            << c.pitch << " open " << c.drawingOpen << " extent " << c.extent;
}

class GridDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        setup().grid.x = 910;
        setup().grid.y = 455.5;
        setup().iGridCutFg = 3;
        setup().iGridNoDetFlg = 1;
        GridCenterRequest = 0;
    }
    static LocalSettingsSetup& setup() { return GetLocalSettingsLive().setup; }
    SettingsSandbox sandbox;
};

TEST_F(GridDialog, ShowsTheSettingsAndOkKeepsTheEdits)
{
    std::string shownX, shownY;
    LRESULT division = -1;
    UINT detection = 0;
    const int result = DialogDriver::Run(kGridCaption, [&](HWND dialog) {
        shownX = ItemText(dialog, 1300), shownY = ItemText(dialog, 1301);
        division = SendDlgItemMessageA(dialog, 1401, CB_GETCURSEL, 0, 0);
        detection = IsDlgButtonChecked(dialog, 1208);
        SetDlgItemTextA(dialog, 1300, "250");
        SetDlgItemTextA(dialog, 1301, "125.25");
        SendDlgItemMessageA(dialog, 1401, CB_SETCURSEL, 4, 0);
        CheckRadioButton(dialog, 1207, 1208, 1207);
        CheckDlgButton(dialog, 1103, BST_CHECKED);
        SetFocus(GetDlgItem(dialog, 1103));
        Click(dialog, IDOK);
    }, [] { return ShowSetGridDlg(); });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(shownX, "910");
    EXPECT_EQ(shownY, "455.5");
    EXPECT_EQ(division, 2) << "1/3";
    EXPECT_EQ(detection, static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(setup().grid.x, 250);
    EXPECT_EQ(setup().grid.y, 125.25);
    EXPECT_EQ(setup().iGridCutFg, 5);
    EXPECT_EQ(setup().iGridNoDetFlg, 0);
    EXPECT_EQ(GridCenterRequest, 1);
}

TEST_F(GridDialog, CancelDropsTheEditsAndTheCentreRequest)
{
    GridCenterRequest = 1;
    const int result = DialogDriver::Run(kGridCaption, [](HWND dialog) {
        SetDlgItemTextA(dialog, 1300, "250");
        Click(dialog, IDCANCEL);
    }, [] { return ShowSetGridDlg(); });
    EXPECT_EQ(result, -1);
    EXPECT_EQ(setup().grid.x, 910);
    EXPECT_EQ(GridCenterRequest, 0);
}

TEST_F(GridDialog, BadPitchesAreRefusedAndTheDialogStaysOpen)
{
    struct Case {
        const char* x;
        const char* y;
        const char* message;
    };
    const Case cases[] = {{"0", "10", "Ｘの値が不正です。"}, {"1e-9", "10", "Ｘの値が不正です。"},
                          {"abc", "10", "Ｘの値が不正です。"}, {"-3", "10", "Ｘの値が不正です。"},
                          {"10", "0", "Ｙの値が不正です。"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x + std::string(" ") + c.y);
        SettingsSandbox::Messages().clear();
        bool stayed = false;
        HWND focus = nullptr, offending = nullptr;
        const int result = DialogDriver::Run(kGridCaption, [&](HWND dialog) {
            SetDlgItemTextA(dialog, 1300, c.x);
            SetDlgItemTextA(dialog, 1301, c.y);
            SetFocus(GetDlgItem(dialog, 1103));
            Click(dialog, IDOK);
            stayed = IsWindow(dialog) && IsWindowVisible(dialog);
            focus = GetFocus();
            offending = GetDlgItem(dialog, std::string(c.message).rfind("Ｘ", 0) == 0 ? 1300 : 1301);
            Click(dialog, IDCANCEL);
        }, [] { return ShowSetGridDlg(); });
        EXPECT_EQ(result, -1);
        EXPECT_TRUE(stayed);
        EXPECT_EQ(focus, offending);
        ASSERT_EQ(SettingsSandbox::Messages().size(), 1u);
        EXPECT_EQ(SettingsSandbox::Messages()[0].text, c.message);
        EXPECT_EQ(SettingsSandbox::Messages()[0].caption, GetMessageText(7207)) << "グリッドの設定";
        EXPECT_EQ(setup().grid.x, 910);
        EXPECT_EQ(setup().grid.y, 455.5);
    }
}

TEST_F(GridDialog, EnterInTheXFieldMovesToTheYFieldWithItsTextSelected)
{
    bool stayed = false;
    HWND focus = nullptr, editY = nullptr;
    DWORD selection = 0;
    DialogDriver::Run(kGridCaption, [&](HWND dialog) {
        editY = GetDlgItem(dialog, 1301);
        SetFocus(GetDlgItem(dialog, 1300));
        Click(dialog, IDOK);
        stayed = IsWindow(dialog);
        focus = GetFocus();
        selection = static_cast<DWORD>(SendMessageA(editY, EM_GETSEL, 0, 0));
        Click(dialog, IDCANCEL);
    }, [] { return ShowSetGridDlg(); });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(focus, editY);
    EXPECT_EQ(LOWORD(selection), 0);
    EXPECT_EQ(HIWORD(selection), 5) << "the whole of \"455.5\"";
}

TEST_F(GridDialog, WithoutDivisionTheControlsAreHiddenAndKept)
{
    setup().iGridCutFg = 0;
    setup().iGridNoDetFlg = 1;
    bool anyShown = true;
    const int result = DialogDriver::Run(kGridCaption, [&](HWND dialog) {
        anyShown = false;
        for (int id : {1401, 1207, 1208, 1601, 1602}) anyShown = anyShown || IsWindowVisible(GetDlgItem(dialog, id));
        SetFocus(GetDlgItem(dialog, 1103));
        Click(dialog, IDOK);
    }, [] { return ShowSetGridDlg(); });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(anyShown);
    EXPECT_EQ(setup().iGridCutFg, 0);
    EXPECT_EQ(setup().iGridNoDetFlg, 1);
}

// A window standing in for the main frame, counting the broadcasts it gets.
struct BroadcastCounter {
    BroadcastCounter()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &BroadcastCounter::Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "SettingDialogsTestFrame";
        RegisterClassA(&wc);
        window = CreateWindowA(wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        previous = GetMainFrameWnd();
        SetMainFrameWnd(window);
        Count() = 0;
    }
    ~BroadcastCounter()
    {
        SetMainFrameWnd(previous);
        DestroyWindow(window);
    }
    static int& Count()
    {
        static int count = 0;
        return count;
    }
    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        if (msg == WM_CAD_BROADCAST) ++Count();
        return DefWindowProcA(hWnd, msg, wParam, lParam);
    }
    HWND window = nullptr;
    HWND previous = nullptr;
};

struct CursorCase {
    int mouse, hand;           // before
    int checkRadio, checkHand;  // what the user leaves checked
    bool ok;
    int mouseAfter, handAfter;
    bool written;
};

TEST(CursorDialog, OkKeepsBroadcastsAndWritesTheHandOnlyOnChange)
{
    const CursorCase cases[] = {
        {0, 1, 1200, 1, true, 0, 1, false},   // nothing changed
        {0, 1, 1202, 0, true, 2, 0, true},    // arrow, hand off
        {2, 0, 1201, 0, true, 1, 0, false},   // shape only
        {1, 0, 1200, 1, false, 1, 0, false},  // cancelled
    };
    for (const CursorCase& c : cases) {
        SCOPED_TRACE(c.checkRadio);
        SettingsSandbox sandbox;
        BroadcastCounter frame;
        GetLocalSettingsLive().mouseMode = c.mouse;
        GetCadSystem().config.CURSOR02TYPE = c.hand;
        const std::string config = SeedUserConfigData();
        const FILETIME before = LastWrite(config);
        int shownRadio = 0;
        UINT shownHand = 0;
        const int result = DialogDriver::Run(kCursorCaption, [&](HWND dialog) {
            for (int id = 1200; id <= 1202; ++id)
                if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) shownRadio = id;
            shownHand = IsDlgButtonChecked(dialog, 1101);
            CheckRadioButton(dialog, 1200, 1202, c.checkRadio);
            CheckDlgButton(dialog, 1101, c.checkHand ? BST_CHECKED : BST_UNCHECKED);
            Click(dialog, c.ok ? IDOK : IDCANCEL);
        }, [] { return ShowSetCursorDlg(); });
        EXPECT_EQ(result, c.ok ? 0 : -1);
        EXPECT_EQ(shownRadio, 1200 + c.mouse);
        EXPECT_EQ(shownHand, static_cast<UINT>(c.hand ? BST_CHECKED : BST_UNCHECKED));
        EXPECT_EQ(GetLocalSettingsLive().mouseMode, c.mouseAfter);
        EXPECT_EQ(GetCadSystem().config.CURSOR02TYPE, c.handAfter);
        EXPECT_EQ(BroadcastCounter::Count(), c.ok ? 1 : 0);
        EXPECT_EQ(!SameTime(LastWrite(config), before), c.written);
        if (c.written) EXPECT_EQ(XmlField(config, "CURSOR02TYPE"), std::to_string(c.handAfter));
    }
}

TEST(CoordDispDialog, ShowsAndKeepsTheModeOnOkOnly)
{
    SettingsSandbox sandbox;
    int& mode = GetLocalSettingsLive().setup.bDispLastPosFg;
    struct Case {
        int before, radio;
        bool ok;
        int after;
    } cases[] = {{0, 1201, true, 1}, {1, 1200, true, 0}, {0, 1201, false, 0}, {1, 1201, true, 1}};
    for (const Case& c : cases) {
        mode = c.before;
        UINT shown = 0;
        const int result = DialogDriver::Run(kCoordCaption, [&](HWND dialog) {
            shown = IsDlgButtonChecked(dialog, c.before == 0 ? 1200 : 1201);
            CheckRadioButton(dialog, 1200, 1201, c.radio);
            Click(dialog, c.ok ? IDOK : IDCANCEL);
        }, [] { return ShowSetCoordDispDlg(); });
        EXPECT_EQ(result, c.ok ? 0 : -1);
        EXPECT_EQ(shown, static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(mode, c.after);
    }
}

TEST(VersionDialog, TitleLineTakesTheFirstWordOrTheWholeVersion)
{
    EXPECT_EQ(CVersionInfoDlg::TitleLine("CAD", "8.0.1 build 2026"), "CAD 8.0.1");
    EXPECT_EQ(CVersionInfoDlg::TitleLine("CAD", "  8.0.1  "), "CAD 8.0.1");
    EXPECT_EQ(CVersionInfoDlg::TitleLine("CAD", "8.0.1"), "CAD 8.0.1") << "no blank: the whole text";
    EXPECT_EQ(CVersionInfoDlg::TitleLine("CAD", ""), "CAD ");
}

TEST(VersionDialog, ShowsTitleVersionAndHiddenUserAndCompany)
{
    SettingsSandbox sandbox;
    ConfigDataRuntime& runtime = GetConfigDataRuntime();
    lstrcpynA(runtime.title, "電設CAD", sizeof runtime.title);
    lstrcpynA(runtime.fullVersion, "8.02 (build 77)", sizeof runtime.fullVersion);
    lstrcpynA(runtime.userName, "山田", sizeof runtime.userName);
    lstrcpynA(runtime.company, "会社", sizeof runtime.company);
    std::string title, user, company;
    bool hidden = false;
    const int result = DialogDriver::Run(kVersionCaption, [&](HWND dialog) {
        title = ItemText(dialog, 1600), user = ItemText(dialog, 1602), company = ItemText(dialog, 1800);
        hidden = !IsWindowVisible(GetDlgItem(dialog, 1602)) && !IsWindowVisible(GetDlgItem(dialog, 1800));
        Click(dialog, IDOK);
    }, [] { return ShowVersionInfoDlg(); });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(title, "電設CAD 8.02");
    EXPECT_EQ(user, "山田");
    EXPECT_EQ(company, "会社");
    EXPECT_TRUE(hidden);
    EXPECT_EQ(DialogDriver::Run(kVersionCaption, [](HWND dialog) { Click(dialog, IDCANCEL); },
                                [] { return ShowVersionInfoDlg(); }),
              0);
}

}  // namespace
