// A plug-in command builds a parameter panel in the application panel of the real program and
// waits; the test uses its items as a user would (clicks, typing, a pick from the list) and the
// command reports every event it is handed, until "OK" ends it.
#include "GTest.h"

#include <string>

#include "CatalogueSwap.h"
#include "HostMessages.h"
#include "PointerInput.h"
#include "ProgramProcess.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>PanelDocked;パネル,5990,TestPlugin.dll /C:PanelDocked</item>\n"
    "<item>PanelFloating;浮動パネル,5991,TestPlugin.dll /C:PanelFloating</item>\n"
    "<item>PanelNumeric;数値パネル,5992,TestPlugin.dll /C:PanelNumeric</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

struct ItemSearch {
    const char* className;
    int id;
    HWND found;
};

BOOL CALLBACK FindChild(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<ItemSearch*>(lParam);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == search->className && GetDlgCtrlID(window) == search->id) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindInTopLevel(HWND window, LPARAM lParam)
{
    EnumChildWindows(window, FindChild, lParam);
    return reinterpret_cast<ItemSearch*>(lParam)->found == nullptr;
}

// The item window of a class and id among all windows of the program's GUI thread.
HWND FindItem(HWND frame, const char* className, int id)
{
    ItemSearch search{className, id, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(frame, nullptr), FindInTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND window, int x, int y)
{
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

class ParameterPanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        DWORD_PTR probe = 0;
        SendMessageTimeoutA(frame, WM_CAD_CLEAR_EVENT_MASK, 0, 0, SMTO_BLOCK, 10000, &probe);
        ASSERT_EQ(probe, 1u) << "the main frame does not chain the host-service object";
    }

    void TearDown() override
    {
        if (frame == nullptr) return;
        PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(30000, &exitCode));
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
};

TEST_F(ParameterPanelTest, DockedPanelReportsEveryItemAndOkEndsTheCommand)
{
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    ASSERT_TRUE(WaitForCaption(frame, "PanelDocked waiting", 10000)) << Caption(frame);

    HWND ok = FindItem(frame, "AppPanelButton", 1);
    HWND check = FindItem(frame, "AppPanelButton", 2);
    HWND radio = FindItem(frame, "AppPanelButton", 3);
    HWND edit = FindItem(frame, "AppPanelEditBox", 4);
    HWND list = FindItem(frame, "AppPanelComboList", 5);
    ASSERT_TRUE(ok && check && radio && edit && list) << "the panel's item windows were not made";
    char parentClass[64] = {};
    GetClassNameA(GetParent(ok), parentClass, sizeof parentClass);
    EXPECT_STREQ(parentClass, "AppPanel");
    EXPECT_EQ(GetDlgCtrlID(GetParent(ok)), 200);

    // Check: kind 0x10 with the new state, twice.
    Click(check, 5, 5);
    EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x2000 10 2 1 ", 10000)) << Caption(frame);
    Click(check, 5, 5);
    EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x2000 10 2 0 ", 10000)) << Caption(frame);

    // Radio "A,B,C" 93 pixels wide: x = 65 lies on the third choice.
    Click(radio, 65, 5);
    EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x2000 100 3 2 ", 10000)) << Caption(frame);

    // Edit: a click opens the typing field; Enter commits what was typed.
    Click(edit, 5, 5);
    HWND typing = nullptr;
    for (DWORD start = GetTickCount(); typing == nullptr && GetTickCount() - start < 10000; Sleep(20))
        typing = FindItem(frame, "Edit", 5000);
    ASSERT_NE(typing, nullptr) << "no typing field over the edit item";
    PostMessageA(typing, WM_CHAR, '4', 1);
    PostMessageA(typing, WM_CHAR, '5', 1);
    PostMessageA(typing, WM_KEYDOWN, VK_END, 1);
    PostMessageA(typing, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x2000 10000 4 0 45", 10000)) << Caption(frame);

    // Edit again, then Esc: the text stays and the command hears of the cancel. The first
    // typing field closes itself after the commit: the second is a new one.
    for (DWORD start = GetTickCount(); IsWindow(typing) && GetTickCount() - start < 10000;) Sleep(20);
    ASSERT_FALSE(IsWindow(typing)) << "the typing field stayed after Enter";
    Click(edit, 5, 5);
    typing = nullptr;
    for (DWORD start = GetTickCount(); typing == nullptr && GetTickCount() - start < 10000; Sleep(20))
        typing = FindItem(frame, "Edit", 5000);
    ASSERT_NE(typing, nullptr);
    PostMessageA(typing, WM_CHAR, '9', 1);
    PostMessageA(typing, WM_KEYDOWN, VK_ESCAPE, 1);
    // The cancel names the edit item and its kind.
    EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x400000 10000 4 0 45", 10000)) << Caption(frame);
    EXPECT_EQ(Caption(edit), "45");

    // List: the third row picked in the drop-down.
    HWND combo = GetDlgItem(list, 1111);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 3);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x2000 1000 5 2 ", 10000)) << Caption(frame);

    // Combo: its button opens the drop-down of its choices; Enter on a row commits it.
    HWND comboField = FindItem(frame, "AppPanelComboBox", 6);
    ASSERT_NE(comboField, nullptr);
    Click(comboField, 95, 5);
    HWND choices = nullptr;
    for (DWORD start = GetTickCount(); choices == nullptr && GetTickCount() - start < 10000; Sleep(20))
        choices = FindItem(frame, "ListBox", 5001);
    ASSERT_NE(choices, nullptr) << "no drop-down under the combo field";
    EXPECT_EQ(SendMessageA(choices, LB_GETCOUNT, 0, 0), 3);
    SendMessageA(choices, LB_SETCURSEL, 1, 0);
    PostMessageA(choices, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x2000 100000 6 0 乙", 10000)) << Caption(frame);
    EXPECT_EQ(Caption(comboField), "乙");

    // A list added with a row-drawing function of the plug-in has its rows drawn by it.
    HWND drawnList = FindItem(frame, "AppPanelComboList", 7);
    ASSERT_NE(drawnList, nullptr);
    EXPECT_NE(GetWindowLongA(GetDlgItem(drawnList, 1111), GWL_STYLE) & CBS_OWNERDRAWFIXED, 0);

    Click(ok, 5, 5);
    EXPECT_TRUE(WaitForCaption(frame, "PanelDocked done 1", 10000)) << Caption(frame);
    EXPECT_FALSE(IsWindow(ok)) << "the destroyed panel's items are gone";
}

// A tall panel floats in a dialog of its own over the drawing area; its items sit 15 pixels
// higher than the command asked (the dialog has no caption of its own to clear), a second
// command shows it again at the same place, and the context menu's "コマンド終了" ends the command.
TEST_F(ParameterPanelTest, FloatingPanelReportsItsItemsAndItsMenuEndsTheCommand)
{
    for (int run = 0; run < 2; ++run) {
        PostMessageA(frame, WM_CAD_RUN_COMMAND, 5991, 0);
        ASSERT_TRUE(WaitForCaption(frame, "PanelFloating waiting", 10000)) << Caption(frame);
        HWND ok = FindItem(frame, "AppPanelButton", 1);
        HWND check = FindItem(frame, "AppPanelButton", 2);
        ASSERT_TRUE(ok && check) << "the floating panel's items were not made";
        HWND dialog = GetParent(ok);
        char dialogClass[64] = {};
        GetClassNameA(dialog, dialogClass, sizeof dialogClass);
        EXPECT_STREQ(dialogClass, "#32770");
        EXPECT_EQ(GetParent(dialog), frame);
        EXPECT_TRUE(IsWindowVisible(dialog));
        RECT dialogRect = {}, okRect = {};
        GetWindowRect(dialog, &dialogRect);
        GetWindowRect(ok, &okRect);
        EXPECT_EQ(dialogRect.right - dialogRect.left, 200 + 13);
        EXPECT_EQ(dialogRect.bottom - dialogRect.top, 120 - 13);
        POINT okTopLeft = {okRect.left, okRect.top};
        ScreenToClient(dialog, &okTopLeft);
        EXPECT_EQ(okTopLeft.y, 40 - 15) << "run " << run;

        Click(check, 5, 5);
        EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x2000 10 2 1 ", 10000)) << Caption(frame);
        if (run == 0) {
            // The context menu's entry, as the menu sends it.
            PostMessageA(dialog, WM_COMMAND, 1000, 0);
        } else {
            // A real right click on the panel's background opens the menu; its one entry is
            // chosen with the keys, as a user may.
            const POINT background = {dialogRect.left + 150, dialogRect.top + 8};
            ASSERT_TRUE(ClickWindowAt(dialog, background, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP));
            HWND menu = program.WaitForWindow("#32768", 10000);
            ASSERT_NE(menu, nullptr) << "no context menu";
            PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        }
        EXPECT_TRUE(WaitForCaption(frame, "PanelFloating end 0", 10000)) << Caption(frame);
        ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
        EXPECT_FALSE(IsWindowVisible(dialog)) << "the ended command's panel is put away";
    }
}

// A numeric field opens the calculator instead of a typing field; 5 + 3 = and OK put "8" into
// the field and the command hears of it as of a typed value.
TEST_F(ParameterPanelTest, NumericFieldTakesTheCalculatorsResult)
{
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5992, 0);
    ASSERT_TRUE(WaitForCaption(frame, "PanelNumeric waiting", 10000)) << Caption(frame);
    HWND edit = FindItem(frame, "AppPanelEditBox", 4);
    HWND ok = FindItem(frame, "AppPanelButton", 1);
    ASSERT_TRUE(edit && ok);

    Click(edit, 5, 5);
    HWND calculator = program.WaitForWindow("DENTAKU", 10000);
    ASSERT_NE(calculator, nullptr) << "the numeric field opened no calculator";
    EXPECT_EQ(Caption(calculator), "数値の入力");
    // Digits as key presses, operators as characters, each followed by a key release.
    auto key = [&](WPARAM vk) {
        PostMessageA(calculator, WM_KEYDOWN, vk, 1);
        PostMessageA(calculator, WM_KEYUP, vk, 0xC0000001);
    };
    auto character = [&](char c) {
        PostMessageA(calculator, WM_CHAR, static_cast<WPARAM>(c), 1);
        PostMessageA(calculator, WM_KEYUP, VK_SHIFT, 0xC0000001);
    };
    key('5');
    character('+');
    key('3');
    character('=');
    HWND display = GetDlgItem(calculator, 1000);
    ASSERT_TRUE(WaitForCaption(display, "8", 10000)) << Caption(display);
    key(VK_RETURN);
    EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x2000 10000 4 0 8", 10000)) << Caption(frame);
    EXPECT_TRUE(WaitUntilGone(calculator, 10000));
    EXPECT_EQ(Caption(edit), "8");

    Click(ok, 5, 5);
    EXPECT_TRUE(WaitForCaption(frame, "PanelNumeric done 1", 10000)) << Caption(frame);
}

}  // namespace
