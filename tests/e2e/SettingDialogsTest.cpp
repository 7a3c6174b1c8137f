// The settings dialogs in the real program: the version dialog of command 4008 and the settings
// sheet of service command 1229, whose Cancel leaves "LocalSettings.xml" as it was and whose OK
// changes it at exit.
#include "GTest.h"

#include <windows.h>

#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
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

class SettingDialogsEndToEnd : public ::testing::Test {
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
    // No start dialog: each test sees only the windows it asked for.
    SettingsFileSwap settings{"LocalSettings.xml", {{"bToolHlp", "1"}, {"bBeepFind", "1"}, {"iStartOpenDlgFg", "1"}}};
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
