// The floating panel's dialog: made from its template as a bare child, and the limits a drag
// keeps inside the main frame.
#include "GTest.h"

#include <cstring>

#include "HostRecords.h"
#include "PanelEventSource.h"
#include "InputCodes.h"
#include "commands/InputEvent.h"
#include "commands/InputWaitLoop.h"
#include "core/CadSystem.h"
#include "panels/AppPanelDlg.h"
#include "panels/AppPanelInputs.h"
#include "panels/ParameterPanelDisplay.h"
#include "panels/ParameterPanelModel.h"

namespace {

TEST(AppPanelDlg, ADragStaysInsideTheFrameWithFivePixelsToSpareSideways)
{
    const RECT frame = {100, 100, 900, 700};
    const struct {
        const char* name;
        RECT moved;
        int allowed;
    } cases[] = {
        {"inside", {200, 200, 413, 307}, 1},
        {"3 past the right edge", {690, 200, 903, 307}, 1},
        {"5 past the right edge", {692, 200, 905, 307}, 1},
        {"6 past the right edge", {693, 200, 906, 307}, 0},
        {"5 before the left edge", {95, 200, 308, 307}, 1},
        {"6 before the left edge", {94, 200, 307, 307}, 0},
        {"on the top edge", {200, 100, 413, 207}, 1},
        {"above the top", {200, 99, 413, 206}, 0},
        {"on the bottom edge", {200, 593, 413, 700}, 1},
        {"below the bottom", {200, 594, 413, 701}, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CAppPanelDlg::DragRectAllowed(c.moved, frame), c.allowed) << c.name;
}

TEST(AppPanelDlg, TheTemplateMakesABareChildThatEnterAndEscDoNotClose)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    CAppPanelDlg dialog;
    HWND window = dialog.Create(parent);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), parent);
    EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr) << "the items are added by the show";
    for (WPARAM command : {static_cast<WPARAM>(IDOK), static_cast<WPARAM>(IDCANCEL)}) {
        SendMessageA(window, WM_COMMAND, command, 0);
        EXPECT_TRUE(IsWindow(window)) << command;
    }
    DestroyWindow(window);
    DestroyWindow(parent);
}

TEST(AppPanelDlg, TabMovesBetweenTheFloatingPanelsItemsWhileACommandWaits)
{
    HWND source = CreatePanelEventSource();
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(source, nullptr);
    ASSERT_NE(frame, nullptr);
    const HWND savedFrame = GetMainFrameWnd();
    SetMainFrameWnd(frame);
    const InputEventRecord savedEvents = GetInputEventRecord();

    PboxCloseAllPanels();
    const int panel = PboxCreatePanel("浮動");
    ASSERT_GT(panel, 0);
    const struct {
        int (*add)(const PboxAddRequest*);
        int id, x;
        const char* text;
    } items[] = {{PboxAddPushButton, 501, 4, "A"}, {PboxAddPushButton, 502, 64, "B"}, {PboxAddEdit, 503, 124, "1"}};
    for (const auto& item : items) {
        PboxAddRequest add = {};
        add.panel = panel;
        add.id = item.id;
        add.text = reinterpret_cast<INT_PTR>(item.text);
        add.x = item.x;
        add.y = 30;
        add.width = 56;
        add.height = 20;
        ASSERT_EQ(item.add(&add), 1) << item.id;
    }
    PboxAddRequest show = {};
    show.panel = panel;
    show.id = 200;
    show.text = 120;
    ASSERT_EQ(PboxShowPanel(&show), 1);
    HWND dialog = PboxFloatingDialogInUse();
    ASSERT_NE(dialog, nullptr);
    HWND first = GetDlgItem(dialog, 501), second = GetDlgItem(dialog, 502), edit = GetDlgItem(dialog, 503);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    ASSERT_NE(edit, nullptr);

    // Sends a key to the focused window through a command's wait, which returns at the panel event
    // raised after it.
    InputWaitRecord record = {};
    auto keyThroughWait = [&](WPARAM key) {
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageA(source, kRaisePanelEvent, 7, 0);
        GetInputEventRecord().acceptMask = kAcceptPanelItem;
        return WaitUserInput(nullptr, &record);
    };

    SetFocus(first);
    ASSERT_EQ(GetFocus(), first);
    ASSERT_EQ(keyThroughWait(VK_TAB), kWaitPanelItem);
    EXPECT_EQ(GetFocus(), second) << "Tab goes to the next item";
    // Shift+Tab goes back: the dialog manager reads the Shift key from the thread's key state.
    BYTE keys[256] = {}, shifted[256] = {};
    GetKeyboardState(keys);
    std::memcpy(shifted, keys, sizeof keys);
    shifted[VK_SHIFT] = 0x80;
    SetKeyboardState(shifted);
    const int backWait = keyThroughWait(VK_TAB);
    SetKeyboardState(keys);
    ASSERT_EQ(backWait, kWaitPanelItem);
    EXPECT_EQ(GetFocus(), first) << "Shift+Tab goes to the item before";
    ASSERT_EQ(keyThroughWait(VK_TAB), kWaitPanelItem);
    ASSERT_EQ(GetFocus(), second);
    ASSERT_EQ(keyThroughWait(VK_RETURN), kWaitPanelItem);
    EXPECT_TRUE(IsWindowVisible(dialog)) << "Enter does not close the panel";
    EXPECT_EQ(GetFocus(), second);

    // In the typing field of an edit item Enter still commits.
    SendMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    SendMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(10, 5));
    HWND typing = GetDlgItem(edit, kPanelEditControlId);
    ASSERT_NE(typing, nullptr);
    ASSERT_EQ(GetFocus(), typing);
    SetWindowTextA(typing, "45");
    ASSERT_EQ(keyThroughWait(VK_RETURN), kWaitPanelItem);
    // The commit reaches the item by a posted notice after the key.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(GetInputEventRecord().code, kEventPanelItem);
    EXPECT_EQ(GetInputEventRecord().kind, kItemEdit);
    EXPECT_EQ(GetInputEventRecord().item, 503);
    char text[16] = {};
    PboxItemRequest get = {};
    get.panel = panel;
    get.id = 503;
    get.text = text;
    ASSERT_EQ(PboxGetItemText(&get), 1);
    EXPECT_STREQ(text, "45");
    EXPECT_TRUE(IsWindowVisible(dialog));

    PboxCloseAllPanels();
    for (int p = 1; p < kPboxPanelCount; ++p) PboxDestroyPanel(p, 0);
    GetInputEventRecord() = savedEvents;
    SetMainFrameWnd(savedFrame);
    DestroyWindow(frame);
    DestroyWindow(source);
}

// The floating dialog's caption covers the top of its client area: the items stand 15 pixels
// higher there. The stored y stays the command's, so a panel shown floating again does not
// creep upwards under the caption.
TEST(AppPanelDlg, AFloatingPanelShownTwiceKeepsItsItemsWhereTheyWere)
{
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    const HWND savedFrame = GetMainFrameWnd();
    SetMainFrameWnd(frame);
    PboxCloseAllPanels();
    const int panel = PboxCreatePanel("浮動");
    ASSERT_GT(panel, 0);
    PboxAddRequest add = {};
    add.panel = panel;
    add.id = 601;
    add.text = reinterpret_cast<INT_PTR>("実行");
    add.x = 4;
    add.y = 40;
    add.width = 56;
    add.height = 20;
    ASSERT_EQ(PboxAddPushButton(&add), 1);
    PboxAddRequest show = {};
    show.panel = panel;
    show.id = 200;
    show.text = 120;
    for (int run = 0; run < 2; ++run) {
        ASSERT_EQ(PboxShowPanel(&show), 1) << run;
        HWND dialog = PboxFloatingDialogInUse();
        ASSERT_NE(dialog, nullptr);
        HWND item = GetDlgItem(dialog, 601);
        ASSERT_NE(item, nullptr);
        RECT r;
        GetWindowRect(item, &r);
        POINT topLeft = {r.left, r.top};
        ScreenToClient(dialog, &topLeft);
        EXPECT_EQ(topLeft.y, 25) << run;
        EXPECT_EQ(PboxFindItem(panel, 601)->y, 40) << run;
    }
    PboxCloseAllPanels();
    for (int p = 1; p < kPboxPanelCount; ++p) PboxDestroyPanel(p, 0);
    SetMainFrameWnd(savedFrame);
    DestroyWindow(frame);
}

}  // namespace
