// The settings dialogs in the real program: the version dialog of command 4008 and the settings
// sheet of service command 1229, whose Cancel leaves "LocalSettings.xml" as it was and whose OK
// changes it at exit.
#include "GTest.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "CatalogueSwap.h"
#include "DrawingWindowRecords.h"
#include "DrawingWindows.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "UserSettingsFiles.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

// The text between <tag> and </tag>; empty when missing.
std::string Field(const std::string& xml, const std::string& tag) { return XmlElementText(xml, tag); }

// No start dialog: each test sees only the windows it asked for.
const std::vector<std::pair<std::string, std::string>> kDialogSettings = {
    {"bToolHlp", "1"}, {"bBeepFind", "1"}, {"iStartOpenDlgFg", "1"}};

class SettingDialogsEndToEnd : public ::testing::Test {
protected:
    explicit SettingDialogsEndToEnd(const std::vector<std::pair<std::string, std::string>>& values = kDialogSettings)
        : settings("LocalSettings.xml", values)
    {
    }
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(settings.Ready());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(WaitUntilResponsive(frame, 30000));
    }

    CatalogueSwap catalogue{kCatalogue};
    SettingsFileSwap settings;
    ProgramProcess program;  // ends before the settings file is put back
    HWND frame = nullptr;
};

TEST_F(SettingDialogsEndToEnd, Command4008ShowsTheTitleAndTheVersion)
{
    const std::string config = ReadAll(ProgramFolder() + "\\ConfigData.xml");
    const std::string title = Field(config, "TT"), version = Field(config, "Version");
    ASSERT_FALSE(title.empty());
    PostMessageA(frame, WM_COMMAND, 4008, 0);
    HWND dialog = WaitForDialog(program, "バージョン情報", 20000);
    ASSERT_NE(dialog, nullptr);
    char text[256] = {};
    GetDlgItemTextA(dialog, 1600, text, sizeof text);
    EXPECT_EQ(std::string(text), title + " " + version);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntilGone(dialog, 10000));
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

// Unchecks "コマンドメニューのヘルプを表示する" on the first page and "ビープ音を出す" on the detection
// page, then closes the sheet with the button.
void ChangeTwoPagesAndClose(const ProgramProcess& program, HWND frame, int button)
{
    PostMessageA(frame, WM_COMMAND, 1229, 0);
    HWND sheet = WaitForDialog(program, "環境設定", 20000);
    ASSERT_NE(sheet, nullptr);
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(page, 1100), static_cast<UINT>(BST_CHECKED));
    CheckDlgButton(page, 1100, BST_UNCHECKED);
    SendMessageA(sheet, PSM_SETCURSEL, 4, 0);
    page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(page, nullptr);
    CheckDlgButton(page, 1100, BST_UNCHECKED);
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    PostMessageA(sheet, WM_COMMAND, button, 0);
    const bool gone = WaitUntilGone(sheet, 30000);
    EXPECT_TRUE(gone);
    if (!gone) {
        HWND other = program.WaitForWindow("#32770", 100);
        ADD_FAILURE() << "still shown: " << Caption(other) << " / " << StaticTexts(other);
    }
}

TEST_F(SettingDialogsEndToEnd, SheetCancelLeavesTheSettingsFileAsItWas)
{
    ChangeTwoPagesAndClose(program, frame, IDCANCEL);
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    const std::string xml = settings.Current();
    EXPECT_EQ(Field(xml, "bToolHlp"), "1");
    EXPECT_EQ(Field(xml, "bBeepFind"), "1");
}

TEST_F(SettingDialogsEndToEnd, SheetOkChangesTheSettingsFileAtExit)
{
    ChangeTwoPagesAndClose(program, frame, IDOK);
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    const std::string xml = settings.Current();
    EXPECT_EQ(Field(xml, "bToolHlp"), "0");
    EXPECT_EQ(Field(xml, "bBeepFind"), "0");
}

// The pitch as typed: every digit of the value, so that half the extent is exactly half of it.
std::string PitchText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindOwnedWindow(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(window, GW_OWNER) != search->owner || !IsWindowVisible(window)) return TRUE;
    search->found = window;
    return FALSE;
}

// The shown window the dialog owns (a message box over it); null when there is none.
HWND BoxOver(HWND dialog)
{
    OwnedSearch search = {dialog, nullptr};
    EnumWindows(FindOwnedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The same, within the time; null when none came.
HWND WaitForBoxOver(HWND dialog, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
        if (HWND box = BoxOver(dialog)) return box;
        if (!IsWindow(dialog)) return nullptr;
    }
    return nullptr;
}

// The grid dialog of the tool panel's "グリッド" button against the open drawing: a pitch of 0, of
// 1e-9 or of more than half the drawing's extent in its direction is refused with the message of
// that direction and the dialog stays; half the extent in both is taken, the button shows the
// grid on and the pitches are kept in "LocalSettings.xml" at exit.
BOOL CALLBACK FindGridButton(HWND window, LPARAM lParam)
{
    if (GetDlgCtrlID(window) != 3516) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

// The tool panel shows all four groups, the fourth holding the grid button.
class GridDialogEndToEnd : public SettingDialogsEndToEnd {
protected:
    GridDialogEndToEnd() : SettingDialogsEndToEnd({{"iStartOpenDlgFg", "1"}, {"ToolPanelDispMode", "15"}}) {}
};

TEST_F(GridDialogEndToEnd, PitchesAreCheckedAgainstTheOpenDrawingsExtent)
{
    ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr) << "no drawing window";
    HWND view = reinterpret_cast<HWND>(SendToProgram(frame, WM_CAD_ACTIVE_VIEW));
    ASSERT_NE(view, nullptr);
    PDBINFO block{};
    DbInfoRecord info{};
    ASSERT_TRUE(ReadViewBlock(program.ProcessId(), view, &block));
    ASSERT_TRUE(ReadDrawingInfo(program.ProcessId(), block, &info));
    const double width = info.drawingWidth, height = info.drawingHeight;
    ASSERT_GT(width, 1.0);
    ASSERT_GT(height, 1.0);

    HWND panel = reinterpret_cast<HWND>(SendToProgram(frame, WM_CAD_GET_PANEL_WINDOW, 1));
    ASSERT_NE(panel, nullptr);
    HWND gridButton = nullptr;
    EnumChildWindows(panel, FindGridButton, reinterpret_cast<LPARAM>(&gridButton));
    ASSERT_NE(gridButton, nullptr);
    EXPECT_EQ(GetWindowLongA(gridButton, 4), 0) << "the grid is on before the dialog";
    PostMessageA(gridButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(gridButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND dialog = WaitForDialog(program, "グリッドの設定 指定後 [OK] ｸﾘｯｸしてください。", 20000);
    ASSERT_NE(dialog, nullptr);

    const std::string halfX = PitchText(width / 2), halfY = PitchText(height / 2);
    const struct {
        std::string x, y;
        const char* refusal;  // the message text; null when OK is taken
    } cases[] = {
        {"0", halfY, "Ｘの値が不正です。"},
        {"1e-9", halfY, "Ｘの値が不正です。"},
        {PitchText(width / 2 + 0.5), halfY, "Ｘの値が不正です。"},
        {halfX, "0", "Ｙの値が不正です。"},
        {halfX, "1e-9", "Ｙの値が不正です。"},
        {halfX, PitchText(height / 2 + 0.5), "Ｙの値が不正です。"},
        {halfX, halfY, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x + " / " + c.y);
        ASSERT_TRUE(IsWindow(dialog));
        SetDlgItemTextA(dialog, 1300, c.x.c_str());
        SetDlgItemTextA(dialog, 1301, c.y.c_str());
        // A click on OK: the button takes the focus, so the X field does not pass Enter on to Y.
        PostMessageA(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        if (c.refusal == nullptr) {
            const bool gone = WaitUntilGone(dialog, 20000);
            EXPECT_TRUE(gone) << "half the extent was refused";
            if (!gone) {
                HWND box = BoxOver(dialog);
                ADD_FAILURE() << "shown: " << Caption(box) << " / " << StaticTexts(box);
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            continue;
        }
        HWND box = WaitForBoxOver(dialog, 20000);
        ASSERT_NE(box, nullptr) << "the pitch was taken";
        EXPECT_EQ(StaticTexts(box), c.refusal);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntilGone(box, 20000));
        EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog closed on a refused pitch";
    }

    bool on = false;
    for (DWORD start = GetTickCount(); !on && GetTickCount() - start < 20000; Sleep(50))
        on = GetWindowLongA(gridButton, 4) == 1;
    EXPECT_TRUE(on) << "the grid button does not show the grid on";
    EXPECT_EQ(Caption(gridButton).rfind("ｸﾞﾘ/", 0), 0u) << Caption(gridButton);

    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    const std::string xml = settings.Current();
    const size_t grid = xml.find("<grid ");
    ASSERT_NE(grid, std::string::npos);
    EXPECT_EQ(std::atof(XmlElementText(xml, "x", grid).c_str()), width / 2) << xml.substr(grid, 200);
    EXPECT_EQ(std::atof(XmlElementText(xml, "y", grid).c_str()), height / 2) << xml.substr(grid, 200);
}

// The program ini beside the program (named after its file), where the toolbar settings are
// kept: without them for a test, put back after it.
class ProgramIniSwap {
public:
    ProgramIniSwap() : m_path(ProgramFolder() + "\\Voltrane.exe.ini")
    {
        m_existed = GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (m_existed) m_saved = ReadAll(m_path);
        WritePrivateProfileStringA("TOOLBAR", nullptr, nullptr, m_path.c_str());  // the default toolbars
    }
    ~ProgramIniSwap()
    {
        if (m_existed) WriteAll(m_path, m_saved);
        else DeleteFileA(m_path.c_str());
    }
    ProgramIniSwap(const ProgramIniSwap&) = delete;
    ProgramIniSwap& operator=(const ProgramIniSwap&) = delete;

private:
    std::string m_path, m_saved;
    bool m_existed = false;
};

class ToolbarDialogEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(settings.Ready());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
    }

    CatalogueSwap catalogue{kCatalogue};
    SettingsFileSwap settings{"LocalSettings.xml", {{"iStartOpenDlgFg", "1"}}};
    ProgramIniSwap programIni;
    ProgramProcess program;  // ends before the ini file is put back
    HWND frame = nullptr;
};

TEST_F(ToolbarDialogEndToEnd, HidingARasterGroupFromTheSheetRemovesItsBand)
{
    HWND rebar = FindWindowExA(frame, nullptr, REBARCLASSNAMEA, nullptr);
    ASSERT_NE(rebar, nullptr);
    HWND raster = FindWindowExA(rebar, nullptr, TOOLBARCLASSNAMEA, "ラスター");
    ASSERT_NE(raster, nullptr);
    EXPECT_TRUE(IsWindowVisible(raster));

    PostMessageA(frame, WM_COMMAND, 1229, 0);
    HWND sheet = WaitForDialog(program, "環境設定", 20000);
    ASSERT_NE(sheet, nullptr);
    SendMessageA(sheet, PSM_SETCURSEL, 1, 0);
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    ASSERT_NE(page, nullptr);
    PostMessageA(page, WM_COMMAND, MAKEWPARAM(1805, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(page, 1805)));
    HWND dialog = WaitForDialog(program, "ツールバー設定", 20000);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dialog, 1810), static_cast<UINT>(BST_CHECKED));
    CheckDlgButton(dialog, 1810, BST_UNCHECKED);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntilGone(dialog, 30000));

    bool hidden = false;
    for (DWORD start = GetTickCount(); !hidden && GetTickCount() - start < 30000; Sleep(50)) {
        HWND bar = FindWindowExA(rebar, nullptr, TOOLBARCLASSNAMEA, "ラスター");
        hidden = bar == nullptr || !IsWindowVisible(bar);
    }
    EXPECT_TRUE(hidden) << "the rebuilt toolbars leave the group out";

    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    const bool gone = WaitUntilGone(sheet, 30000);
    EXPECT_TRUE(gone);
    if (!gone) {
        HWND other = program.WaitForWindow("#32770", 100);
        ADD_FAILURE() << "still shown: " << Caption(other) << " / " << StaticTexts(other);
    }
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

}  // namespace
