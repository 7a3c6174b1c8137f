// The key filter: arrow keys in keyboard cursor mode, the typed-number line of a real status
// bar, the "NUM" shortcuts and the parameter-panel windows.
#include "GTest.h"

#include <string>
#include <vector>

#include "TempFolder.h"
#include "core/CadSystem.h"
#include "core/KeyPreTranslation.h"
#include "core/StartupSeams.h"
#include "mainframe/CadStatusBar.h"
#include "mainframe/MainAccelerator.h"

namespace {

std::vector<WPARAM>& Commands()
{
    static std::vector<WPARAM> commands;
    return commands;
}

LRESULT CALLBACK MainProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        Commands().push_back(wParam);
        return 0;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

class KeyFilter : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = MainProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "KeyFilterTestMain";
        RegisterClassA(&wc);
        m_main = CreateWindowExA(0, "KeyFilterTestMain", "main", WS_OVERLAPPEDWINDOW, 0, 0, 600, 200, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(m_bar.CreateBar(m_main), nullptr);
        m_edit = CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 0, 50, 20, m_main, nullptr, nullptr, nullptr);
        m_list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD, 0, 0, 50, 50, m_main, nullptr, nullptr, nullptr);
        seam::GetParameterPanelHandles() = {m_list, nullptr, m_edit};

        ASSERT_TRUE(m_folder.Write("keys.key", "[CustomKey]\r\nBEGIN\r\n    \"VK_RETURN\",3020,VIRTKEY,NUM\r\n"
                                               "    \"A\",3040,VIRTKEY\r\nEND\r\n"));
        std::vector<ACCEL> list;
        m_accelerator.ReadKeyFileAt(m_folder.File("keys.key").c_str(), list, 0);
        ASSERT_EQ(m_accelerator.TypedNumberEntries().size(), 1u);
        Commands().clear();
        m_savedKeyCursorMode = GetCadSystem().keyCursorMode;
    }
    void TearDown() override
    {
        seam::GetParameterPanelHandles() = {};
        seam::SetInterruptJumpModeArmed(0);
        GetCadSystem().keyCursorMode = m_savedKeyCursorMode;
        DestroyWindow(m_main);
    }

    int Filter(UINT message, WPARAM wParam, HWND target = nullptr)
    {
        MSG msg = {};
        msg.hwnd = target != nullptr ? target : m_main;
        msg.message = message;
        msg.wParam = wParam;
        return PreTranslateKeyFor(m_main, m_bar.m_hWnd, &msg, &m_accelerator);
    }
    std::string Line() const { return m_bar.Field(kStatusInputField).text; }

    TempFolder m_folder;
    HWND m_main = nullptr;
    HWND m_edit = nullptr;
    HWND m_list = nullptr;
    CCadStatusBar m_bar;
    CMainAccelerator m_accelerator;
    int m_savedKeyCursorMode = 0;
};

}  // namespace

TEST_F(KeyFilter, ArrowKeysScrollOnlyInKeyboardCursorOrInterruptJumpMode)
{
    const struct {
        int keyCursor;
        int jumpArmed;
        WPARAM key;
        int result;
        WPARAM command;
    } cases[] = {
        {1, 0, VK_UP, 1, 3001},   {1, 0, VK_DOWN, 1, 3002}, {1, 0, VK_LEFT, 1, 3003},
        {1, 0, VK_RIGHT, 1, 3004}, {0, 1, VK_UP, 1, 3001},  {0, 0, VK_UP, 0, 0},
        {0, 0, VK_RIGHT, 0, 0},    {1, 0, VK_HOME, 0, 0},   {1, 0, 'A', 0, 0},
    };
    for (const auto& c : cases) {
        GetCadSystem().keyCursorMode = c.keyCursor;
        seam::SetInterruptJumpModeArmed(c.jumpArmed);
        Commands().clear();
        EXPECT_EQ(Filter(WM_KEYDOWN, c.key), c.result) << c.key;
        EXPECT_EQ(Commands(), c.command ? std::vector<WPARAM>{c.command} : std::vector<WPARAM>{}) << c.key;
    }
}

TEST_F(KeyFilter, TypedNumberCharactersGoToTheStatusBar)
{
    // A decimal point alone is not taken; after a digit it is.
    EXPECT_EQ(Filter(WM_CHAR, '.'), 0);
    EXPECT_EQ(Line(), "");
    EXPECT_EQ(Filter(WM_KEYDOWN, VK_DECIMAL), 0);
    EXPECT_EQ(Filter(WM_CHAR, '0'), 1);
    EXPECT_EQ(Filter(WM_CHAR, '.'), 1);
    EXPECT_EQ(Filter(WM_CHAR, '5'), 1);
    EXPECT_EQ(Line(), "0.5");
    // The pad's decimal key is taken on its key-down while the line holds text.
    EXPECT_EQ(Filter(WM_KEYDOWN, VK_OEM_PERIOD), 1);
    EXPECT_EQ(Filter(WM_CHAR, 'x'), 0);
    EXPECT_EQ(Filter(WM_CHAR, '-'), 1);
    EXPECT_EQ(Filter(WM_CHAR, '7'), 1);
    EXPECT_EQ(Line(), "-7");
    EXPECT_EQ(Filter(WM_KEYUP, '7'), 0);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(KeyFilter, NumShortcutActsOnTheTypedNumberAndClearsTheLine)
{
    // Without a typed number the shortcut is left to the accelerators.
    EXPECT_EQ(Filter(WM_KEYDOWN, VK_RETURN), 0);
    EXPECT_TRUE(Commands().empty());

    // The command runs while the text is still there.
    Filter(WM_CHAR, '4');
    Filter(WM_CHAR, '2');
    EXPECT_EQ(Filter(WM_KEYDOWN, VK_RETURN), 1);
    EXPECT_EQ(Commands(), std::vector<WPARAM>{3020});
    EXPECT_EQ(Line(), "");
    // A shortcut without NUM is not dispatched here.
    Filter(WM_CHAR, '1');
    Commands().clear();
    EXPECT_EQ(Filter(WM_KEYDOWN, 'A'), 0);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(KeyFilter, ParameterPanelWindowsKeepTheirKeys)
{
    EXPECT_EQ(Filter(WM_CHAR, '5', m_list), -1);
    EXPECT_EQ(Filter(WM_KEYDOWN, VK_DOWN, m_list), -1);
    EXPECT_EQ(Filter(WM_CHAR, '5', m_edit), 0);
    EXPECT_EQ(Line(), "");
    seam::GetParameterPanelHandles().droppedComboBox = m_edit;
    EXPECT_EQ(Filter(WM_CHAR, '5', m_edit), -1);

    // The accelerators skip the edit field.
    seam::GetParameterPanelHandles() = {m_list, nullptr, m_edit};
    ACCEL entry = {FVIRTKEY, 'A', 3040};
    HACCEL table = CreateAcceleratorTableA(&entry, 1);
    MSG msg = {m_edit, WM_KEYDOWN, 'A', 0};
    EXPECT_EQ(GetCadSystem().TranslateAccel(m_main, table, &msg), 0);
    msg.hwnd = m_main;
    Commands().clear();
    EXPECT_NE(GetCadSystem().TranslateAccel(m_main, table, &msg), 0);
    EXPECT_EQ(Commands().size(), 1u);
    DestroyAcceleratorTable(table);
}
