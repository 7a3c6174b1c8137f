// Docking windows in a small docking frame: docking at the sides by requests, hiding and
// showing back in place, closing, floating and docking by double click, caption hit tests,
// splitter moves and the size freeze of the panes.
#include "GTest.h"

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "CommandIds.h"
#include "WinKit/Window.h"
#include "core/LocalSettings.h"
#include "mainframe/PanelDockWindows.h"
#include "mainframe/docking/DockingFrame.h"
#include "mainframe/docking/DockingWindow.h"
#include "mainframe/docking/LayoutPersistence.h"
#include "PointerInput.h"
#include "TempFolder.h"

using namespace dockwins;

namespace {

// A frame with a client window in the middle and the docking layer chained, as the main frame.
class TestDockFrame : public WinKit::CWindowImpl<TestDockFrame> {
public:
    WK_DECLARE_WND_CLASS_EX("VtTestDockFrame", 0, COLOR_WINDOW)

    HWND client = nullptr;
    CDockingFrameImplBase docking;

    void LayOut()
    {
        RECT rc;
        GetClientRect(&rc);
        docking.UpdateLayout(rc);
    }

    WK_BEGIN_MSG_MAP(TestDockFrame)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_CHAIN_MSG_MAP_MEMBER(docking)
    WK_END_MSG_MAP()

private:
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&)
    {
        LayOut();
        return 0;
    }
};

RECT ScreenRect(HWND window)
{
    RECT rc;
    GetWindowRect(window, &rc);
    return rc;
}

RECT ClientOnScreen(HWND window)
{
    RECT rc;
    GetClientRect(window, &rc);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

class DockingWindows : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedBits = PanelCaptionSetting();
        PanelCaptionSetting() = 3;
        RECT rc = {0, 0, 800, 600};
        ASSERT_NE(m_frame.Create(nullptr, &rc, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN), nullptr);
        m_frame.client = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, m_frame.m_hWnd,
                                         nullptr, nullptr, nullptr);
        m_frame.docking.Attach(m_frame.m_hWnd, &m_frame.client, [] { return false; });
        m_frame.docking.InitDockingLayout(0);
        m_frame.LayOut();
    }
    void TearDown() override
    {
        for (CPanelDockWindow* pane : {static_cast<CPanelDockWindow*>(&m_tool), static_cast<CPanelDockWindow*>(&m_app)})
            if (pane->m_hWnd != nullptr) pane->DestroyWindow();
        m_frame.DestroyWindow();
        PanelCaptionSetting() = m_savedBits;
    }

    bool DockPane(CPanelDockWindow& pane, const char* title, int side, int width, int extent)
    {
        if (pane.m_hWnd == nullptr && pane.CreatePane(m_frame.m_hWnd, title, width, extent) == nullptr) return false;
        DockPosition position = {};
        position.side = side;
        position.barWidth = width;
        position.extent = extent;
        return pane.Docking().DockAt(position);
    }

    TestDockFrame m_frame;
    CDrwPanelDockWin m_tool;
    CAppPanelDockWin m_app;
    int m_savedBits = 3;
};

}  // namespace

TEST_F(DockingWindows, PanesDockAtTheSidesAroundTheClient)
{
    ASSERT_TRUE(DockPane(m_app, "作図メニュー", kDockRight, 200, 60));
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockRight, 200, 280));
    RECT frame = ClientOnScreen(m_frame.m_hWnd);
    RECT tool = ScreenRect(m_tool.m_hWnd);
    RECT app = ScreenRect(m_app.m_hWnd);
    RECT client = ScreenRect(m_frame.client);

    EXPECT_TRUE(m_tool.Docking().IsDocked());
    EXPECT_EQ(GetWindowLongA(m_tool.m_hWnd, GWL_STYLE) & (WS_CHILD | WS_POPUP), WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(m_tool.m_hWnd));
    // Both share one right bar: the tool panel in front with its extent, the other below.
    EXPECT_EQ(tool.right, frame.right);
    EXPECT_EQ(Width(tool), 200);
    EXPECT_EQ(tool.top, frame.top);
    EXPECT_EQ(Height(tool), 280);
    EXPECT_EQ(app.left, tool.left);
    EXPECT_EQ(app.top, tool.bottom + 5);
    EXPECT_EQ(app.bottom, frame.bottom);
    EXPECT_EQ(client.left, frame.left);
    EXPECT_EQ(client.right, tool.left - 5) << "the client ends at the bar's splitter";

    // The frame reports the position back as it was given.
    DockingWindowPlacement placement;
    ASSERT_TRUE(m_tool.Docking().ReadPlacement(&placement));
    EXPECT_EQ(placement.docked, 1);
    EXPECT_EQ(placement.position.side & kSideMask, kSideRight);
    EXPECT_EQ(placement.position.barIndex, 0);
    EXPECT_EQ(placement.position.barWidth, 200);
    EXPECT_EQ(placement.position.extent, 280);
    EXPECT_FLOAT_EQ(placement.position.ratio, 0.0f);

    // A top pane takes the whole width above the inner package.
    CCmdPanelDockWin top;
    ASSERT_NE(top.CreatePane(m_frame.m_hWnd, "コマンドメニュー２", 90, 60), nullptr);
    DockPosition position = {};
    position.side = kSideTop;
    position.barWidth = 90;
    position.extent = 60;
    ASSERT_TRUE(top.Docking().DockAt(position));
    RECT topRect = ScreenRect(top.m_hWnd);
    EXPECT_EQ(topRect.top, frame.top);
    EXPECT_EQ(Height(topRect), 90);
    EXPECT_EQ(Width(topRect), Width(frame));
    EXPECT_EQ(ScreenRect(m_tool.m_hWnd).top, topRect.bottom + 5);
    top.DestroyWindow();
}

TEST_F(DockingWindows, HideAndShowComeBackInPlace)
{
    ASSERT_TRUE(DockPane(m_app, "作図メニュー", kDockRight, 200, 60));
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockLeft, 180, 280));
    RECT before = ScreenRect(m_tool.m_hWnd);
    RECT frame = ClientOnScreen(m_frame.m_hWnd);
    EXPECT_EQ(before.left, frame.left);
    EXPECT_EQ(Width(before), 180);

    m_tool.Toggle();
    EXPECT_FALSE(m_tool.IsVisible());
    EXPECT_FALSE(m_tool.Docking().IsDocked());
    EXPECT_EQ(ScreenRect(m_frame.client).left, frame.left) << "the empty bar gives its room back";
    EXPECT_EQ(SendMessageA(m_tool.m_hWnd, WM_COMMAND, kPaneQueryState, 0), -1);

    m_tool.Toggle();
    EXPECT_TRUE(m_tool.IsVisible());
    RECT after = ScreenRect(m_tool.m_hWnd);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(Width(after), Width(before));
    EXPECT_EQ(Height(after), Height(before));

    // Closing only hides: the window stays and comes back where it was.
    EXPECT_EQ(SendMessageA(m_tool.m_hWnd, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(m_tool.m_hWnd));
    EXPECT_FALSE(m_tool.IsVisible());
    EXPECT_TRUE(m_tool.Docking().Show());
    EXPECT_EQ(ScreenRect(m_tool.m_hWnd).left, before.left);
    EXPECT_EQ(Width(ScreenRect(m_tool.m_hWnd)), 180);
}

TEST_F(DockingWindows, DoubleClickFloatsAndDocksAgain)
{
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockRight, 200, 280));
    RECT docked = ScreenRect(m_tool.m_hWnd);
    // Without a floating rectangle a double click changes nothing.
    SendMessageA(m_tool.m_hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_TRUE(m_tool.Docking().IsDocked());

    DockingWindowPlacement placement;
    ASSERT_TRUE(m_tool.Docking().ReadPlacement(&placement));
    placement.docked = 0;
    placement.visible = 1;
    placement.floatRect = {120, 130, 320, 430};
    ASSERT_TRUE(m_tool.Docking().ApplyPlacement(placement));
    EXPECT_FALSE(m_tool.Docking().IsDocked());
    EXPECT_EQ(GetWindowLongA(m_tool.m_hWnd, GWL_STYLE) & (WS_CHILD | WS_POPUP), WS_POPUP);
    RECT floating = ScreenRect(m_tool.m_hWnd);
    EXPECT_EQ(floating.left, 120);
    EXPECT_EQ(floating.top, 130);
    EXPECT_EQ(Width(floating), 200);
    EXPECT_EQ(ScreenRect(m_frame.client).right, ClientOnScreen(m_frame.m_hWnd).right);

    SendMessageA(m_tool.m_hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_TRUE(m_tool.Docking().IsDocked());
    EXPECT_EQ(ScreenRect(m_tool.m_hWnd).left, docked.left);
    EXPECT_EQ(Width(ScreenRect(m_tool.m_hWnd)), 200);

    SendMessageA(m_tool.m_hWnd, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
    EXPECT_FALSE(m_tool.Docking().IsDocked());
    EXPECT_EQ(ScreenRect(m_tool.m_hWnd).left, 120);
    EXPECT_TRUE(IsWindowVisible(m_tool.m_hWnd));
}

TEST_F(DockingWindows, CaptionHitTests)
{
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockRight, 200, 280));
    RECT window = ScreenRect(m_tool.m_hWnd);
    const CFlatCaption& caption = m_tool.Docking().Caption();
    ASSERT_GT(caption.thickness, 8);
    EXPECT_EQ(ClientOnScreen(m_tool.m_hWnd).top, window.top + caption.thickness);
    const RECT& pin = caption.pin.rect;
    EXPECT_EQ(pin.right, Width(window) - 3);
    EXPECT_EQ(pin.right - pin.left, pin.bottom - pin.top) << "the pin button is square";
    const struct {
        int x, y;
        LRESULT hit;
    } cases[] = {
        {20, 5, HTCAPTION},
        {(pin.left + pin.right) / 2, (pin.top + pin.bottom) / 2, kPinButtonHit},
        {20, caption.thickness + 10, HTCLIENT},
        {Width(window) - 2, 1, HTCAPTION},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SendMessageA(m_tool.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + c.x, window.top + c.y)), c.hit)
            << c.x << "," << c.y;
    // A pane without a caption is all client.
    SendMessageA(m_tool.m_hWnd, WM_COMMAND, kPaneToggleCaption, 0);
    EXPECT_EQ(SendMessageA(m_tool.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + 20, window.top + 5)), HTCLIENT);
    EXPECT_EQ(ClientOnScreen(m_tool.m_hWnd).top, window.top);
}

TEST_F(DockingWindows, SplitterMoveResizesTheBar)
{
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockRight, 200, 280));
    RECT frame = ClientOnScreen(m_frame.m_hWnd);
    RECT tool = ScreenRect(m_tool.m_hWnd);
    // The splitter in front of the bar: grab it and drop it 60 pixels further left.
    POINT grab = {tool.left - 3 - frame.left, 100};
    PostMessageA(m_frame.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x - 60, grab.y));
    PostMessageA(m_frame.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(grab.x - 60, grab.y));
    SendMessageA(m_frame.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    RECT moved = ScreenRect(m_tool.m_hWnd);
    EXPECT_EQ(moved.left, tool.left - 60);
    EXPECT_EQ(moved.right, frame.right);
    EXPECT_EQ(ScreenRect(m_frame.client).right, moved.left - 5);

    DockingWindowPlacement placement;
    ASSERT_TRUE(m_tool.Docking().ReadPlacement(&placement));
    EXPECT_EQ(placement.position.barWidth, 260);
}

TEST_F(DockingWindows, SizeFreezeHoldsTheBarThickness)
{
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockLeft, 180, 280));
    EXPECT_EQ(SendMessageA(m_tool.m_hWnd, WM_COMMAND, 1011, 0), 1);
    EXPECT_EQ(m_tool.FreezeFlags(), 1u);
    EXPECT_EQ(m_tool.MinTrackWidth(), 180);
    MINMAXINFO info = {};
    SendMessageA(m_tool.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 180);
    EXPECT_EQ(SendMessageA(m_tool.m_hWnd, WM_COMMAND, 1010, 0), 1);
    EXPECT_EQ(m_tool.FreezeFlags(), 0u);

    CCmdPanelDockWin bottom;
    ASSERT_NE(bottom.CreatePane(m_frame.m_hWnd, "コマンドメニュー", 90, 60), nullptr);
    DockPosition position = {};
    position.side = kSideBottom;
    position.barWidth = 90;
    position.extent = 60;
    ASSERT_TRUE(bottom.Docking().DockAt(position));
    SendMessageA(bottom.m_hWnd, WM_COMMAND, 1011, 0);
    EXPECT_EQ(bottom.FreezeFlags(), 2u);
    EXPECT_EQ(bottom.MinTrackHeight(), 90);
    EXPECT_EQ(SendMessageA(bottom.m_hWnd, WM_COMMAND, kPaneQueryState, 0), 2) << "command panels show no caption";

    bottom.Toggle();
    SendMessageA(bottom.m_hWnd, WM_COMMAND, 1011, 0);
    EXPECT_EQ(bottom.FreezeFlags(), 0u) << "a hidden pane stays released";
    bottom.DestroyWindow();
}

namespace {

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// Runs the thread's messages until the condition holds or five seconds pass.
template <class Condition>
bool PumpUntil(Condition condition)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > 5000) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return true;
}

// Puts the real pointer on a docked pane's pin button and tells the pane of the move, as the
// system does; false when the pointer did not get there.
bool PointAtPin(HWND pane, const CFlatCaption::CPinButton& pin, POINT* onPin)
{
    RECT window = ScreenRect(pane);
    *onPin = {window.left + (pin.rect.left + pin.rect.right) / 2, window.top + (pin.rect.top + pin.rect.bottom) / 2};
    if (!MovePointer(*onPin)) return false;
    SendMessageA(pane, WM_NCMOUSEMOVE, kPinButtonHit, MAKELPARAM(onPin->x, onPin->y));
    return true;
}

}  // namespace

TEST_F(DockingWindows, ThePinButtonLightsUnderThePointerAndGoesOutWhenItLeaves)
{
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockRight, 200, 280));
    RECT window = ScreenRect(m_tool.m_hWnd);
    const CFlatCaption::CPinButton& pin = m_tool.Docking().Caption().pin;
    POINT onPin;
    ASSERT_TRUE(PointAtPin(m_tool.m_hWnd, pin, &onPin));
    EXPECT_EQ(pin.state, 1) << "hot over the button";
    SendMessageA(m_tool.m_hWnd, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(window.left + 20, window.top + 5));
    EXPECT_EQ(pin.state, 0) << "the rest of the caption puts it out";

    // Leaving the window sends no move at all: the timer notices the pointer has gone.
    SendMessageA(m_tool.m_hWnd, WM_NCMOUSEMOVE, kPinButtonHit, MAKELPARAM(onPin.x, onPin.y));
    ASSERT_EQ(pin.state, 1);
    ASSERT_TRUE(MovePointer({window.left - 100, window.top + 200}));
    EXPECT_TRUE(PumpUntil([&] { return pin.state == 0; }));

    // A floating pane has no caption of ours and no button to light.
    DockingWindowPlacement placement;
    ASSERT_TRUE(m_tool.Docking().ReadPlacement(&placement));
    placement.docked = 0;
    placement.visible = 1;
    placement.floatRect = {120, 130, 320, 430};
    ASSERT_TRUE(m_tool.Docking().ApplyPlacement(placement));
    SendMessageA(m_tool.m_hWnd, WM_NCMOUSEMOVE, kPinButtonHit, MAKELPARAM(onPin.x, onPin.y));
    EXPECT_EQ(pin.state, 0) << "a floating pane lights nothing";
}

// Pinned while lit: the caption goes with its button, and the timer that puts the light out
// later has nothing to draw (it once drew the button's icon into the pane's corner).
TEST_F(DockingWindows, PinningALitPaneLeavesNoButtonToDraw)
{
    ASSERT_TRUE(DockPane(m_app, "作図メニュー", kDockRight, 200, 280));
    RECT window = ScreenRect(m_app.m_hWnd);
    const CFlatCaption::CPinButton& pin = m_app.Docking().Caption().pin;
    POINT onPin;
    ASSERT_TRUE(PointAtPin(m_app.m_hWnd, pin, &onPin));
    ASSERT_EQ(pin.state, 1);
    ASSERT_TRUE(m_app.Docking().PinToSide());
    EXPECT_EQ(pin.state, 0);
    EXPECT_TRUE(IsRectEmpty(&pin.rect));
    ASSERT_TRUE(MovePointer({window.left - 100, window.top + 200}));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(pin.state, 0);
}

namespace {

// The second half of a title drag, given once the pane's drag loop holds the pointer: the
// system's drag detection needs real input, and its own loop takes only mouse messages.
struct TitleDrag {
    HWND pane = nullptr;
    POINT to = {0, 0};
    bool ctrl = false;
    bool injected = false;
};
TitleDrag g_drag;

INPUT KeyInput(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void CALLBACK FinishTitleDrag(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_drag.injected || GetCapture() != g_drag.pane) return;
    g_drag.injected = true;
    std::vector<INPUT> rest;
    if (g_drag.ctrl) rest.push_back(KeyInput(VK_CONTROL, false));
    rest.push_back(PointerMoveTo(g_drag.to));
    rest.push_back(PointerButton(MOUSEEVENTF_LEFTUP));
    SendInput(static_cast<UINT>(rest.size()), rest.data(), sizeof(INPUT));
}

// Presses on the pane's caption with the real pointer, moves it out of the drag rectangle, and
// lets the drag loop take the pointer to the target and release it there.
bool DragTitle(HWND pane, POINT grab, POINT to, bool ctrl)
{
    g_drag = {};
    g_drag.pane = pane;
    g_drag.to = to;
    g_drag.ctrl = ctrl;
    if (!MovePointer(grab)) return false;
    SetForegroundWindow(GetAncestor(pane, GA_ROOT));
    std::vector<INPUT> start;
    start.push_back(PointerButton(MOUSEEVENTF_LEFTDOWN));
    start.push_back(PointerMoveTo({grab.x + 20, grab.y + 10}));
    UINT_PTR timer = SetTimer(nullptr, 0, 50, FinishTitleDrag);
    bool sent = SendInput(static_cast<UINT>(start.size()), start.data(), sizeof(INPUT)) == start.size();
    bool done = sent && PumpUntil([] { return g_drag.injected && GetCapture() != g_drag.pane; });
    KillTimer(nullptr, timer);
    if (ctrl) {
        INPUT release = KeyInput(VK_CONTROL, true);
        SendInput(1, &release, sizeof(INPUT));
        PumpUntil([] { return GetAsyncKeyState(VK_CONTROL) >= 0; });
    }
    return done;
}

}  // namespace

TEST_F(DockingWindows, ATitleDragDocksAtTheEdgeAndCtrlKeepsItFloating)
{
    ASSERT_TRUE(DockPane(m_app, "作図メニュー", kDockRight, 200, 60));
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockRight, 200, 280));
    RECT frame = ClientOnScreen(m_frame.m_hWnd);
    RECT tool = ScreenRect(m_tool.m_hWnd);
    POINT grab = {tool.left + 30, tool.top + 8};
    POINT leftEdge = {frame.left + 8, (frame.top + frame.bottom) / 2};

    ASSERT_TRUE(DragTitle(m_tool.m_hWnd, grab, leftEdge, false));
    EXPECT_TRUE(m_tool.Docking().IsDocked());
    DockingWindowPlacement placement;
    ASSERT_TRUE(m_tool.Docking().ReadPlacement(&placement));
    EXPECT_EQ(placement.position.side & kSideMask, kDockLeft);
    RECT docked = ScreenRect(m_tool.m_hWnd);
    EXPECT_EQ(docked.left, frame.left);
    EXPECT_EQ(Height(docked), Height(frame)) << "alone in its bar";
    EXPECT_EQ(ScreenRect(m_frame.client).left, docked.right + 5);
    EXPECT_EQ(Height(ScreenRect(m_app.m_hWnd)), Height(frame)) << "the application panel has the right bar alone";

    // The same drag with Ctrl held drops the pane floating where the pointer let go.
    grab = {docked.left + 30, docked.top + 8};
    POINT middle = {(frame.left + frame.right) / 2, frame.top + 8};
    ASSERT_TRUE(DragTitle(m_tool.m_hWnd, grab, {frame.left + 8, middle.y + 200}, true));
    EXPECT_FALSE(m_tool.Docking().IsDocked()) << "Ctrl keeps it floating at the edge";
    EXPECT_TRUE(IsWindowVisible(m_tool.m_hWnd));
    EXPECT_EQ(GetWindowLongA(m_tool.m_hWnd, GWL_STYLE) & (WS_CHILD | WS_POPUP), WS_POPUP);
    RECT floating = ScreenRect(m_tool.m_hWnd);
    POINT dropped = {frame.left + 8, middle.y + 200};
    EXPECT_TRUE(PtInRect(&floating, dropped)) << "the window stays under the pointer";
    EXPECT_EQ(ScreenRect(m_frame.client).left, frame.left) << "the left bar is gone";
}

TEST(FloatingMode, RectanglesAreKeptOnTheScreen)
{
    struct Case {
        RECT in, out;
    } cases[] = {
        {{100, 100, 300, 400}, {100, 100, 300, 400}},
        {{-40, -10, 160, 290}, {0, 0, 200, 300}},        // a negative left or top becomes 0
        {{900, 700, 1100, 900}, {824, 568, 1024, 768}},   // moved back from the right and bottom
        {{-10, 100, 1100, 200}, {0, 100, 1110, 200}},     // wider than the screen: its left stays on it
    };
    for (const Case& c : cases) {
        RECT r = KeepFloatingOnScreen(c.in, 1024, 768);
        EXPECT_TRUE(EqualRect(&r, &c.out)) << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}

TEST_F(DockingWindows, PinningMovesThePaneToAnAutoHideBar)
{
    ASSERT_TRUE(DockPane(m_app, "作図メニュー", kDockRight, 200, 60));
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockRight, 200, 280));
    SIZE minimumBefore = m_frame.docking.MinSize();
    const CAutoHideManager& autoHide = m_frame.docking.AutoHide();
    ASSERT_NE(autoHide.m_hWnd, nullptr);

    ASSERT_TRUE(m_app.Docking().PinToSide());
    EXPECT_TRUE(m_app.Docking().IsPinned());
    EXPECT_TRUE(m_app.IsVisible());
    EXPECT_EQ(SendMessageA(m_app.m_hWnd, WM_COMMAND, kPaneQueryState, 0), 0) << "a pinned pane reports 0";
    EXPECT_EQ(GetParent(m_app.m_hWnd), autoHide.m_hWnd);
    EXPECT_EQ(GetWindowLongA(m_app.m_hWnd, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_CHILD), WS_CHILD);

    // A label on the right bar, which takes its strip from the frame's right edge.
    const CAutoHideBar& bar = autoHide.Bar(kSideRight);
    ASSERT_EQ(bar.labels.size(), 1u);
    RECT frame = ClientOnScreen(m_frame.m_hWnd);
    RECT barRect = bar.rect;
    MapWindowPoints(m_frame.m_hWnd, nullptr, reinterpret_cast<POINT*>(&barRect), 2);
    EXPECT_EQ(barRect.right, frame.right);
    EXPECT_EQ(Width(barRect), autoHide.BarThickness());
    EXPECT_EQ(Height(barRect), Height(frame));
    EXPECT_EQ(bar.labels[0]->width, Height(barRect) - 6);
    EXPECT_EQ(bar.labels[0]->entry.title, "作図メニュー");
    EXPECT_EQ(ScreenRect(m_tool.m_hWnd).right, barRect.left) << "the docked bar moves in by the auto-hide bar";
    SIZE minimumAfter = m_frame.docking.MinSize();
    EXPECT_EQ(minimumAfter.cx, minimumBefore.cx + autoHide.BarThickness());

    // Pinned with its pane out at once: the pane lies along the bar, as wide as the bar was.
    EXPECT_EQ(autoHide.ShownWindow(), m_app.m_hWnd);
    RECT pane = ScreenRect(autoHide.m_hWnd);
    EXPECT_TRUE(IsWindowVisible(autoHide.m_hWnd));
    EXPECT_EQ(pane.right, barRect.left);
    EXPECT_EQ(Width(pane), 200 + 5);
    EXPECT_EQ(Width(ScreenRect(m_app.m_hWnd)), 200);
    char title[64] = {};
    GetWindowTextA(autoHide.m_hWnd, title, sizeof title);
    EXPECT_STREQ(title, "作図メニュー");

    // Its position reads as pinned: right side | 0x24, its label's index, the pane width.
    DockingWindowPlacement placement;
    ASSERT_TRUE(m_app.Docking().ReadPlacement(&placement));
    EXPECT_EQ(placement.docked, 1);
    EXPECT_EQ(placement.position.side, kSideRight | kSidePinned | kSideOwnBar);
    EXPECT_EQ(placement.position.barIndex, 0);
    EXPECT_EQ(placement.position.barWidth, 200);
    EXPECT_EQ(placement.position.extent, 1);
    EXPECT_FLOAT_EQ(placement.position.ratio, 0.0f);

    // A second pin of the same window is refused.
    PinRequest again = {};
    again.hdr = {HandleField(m_app.m_hWnd), 0, DOCKREQ_PIN};
    again.side = kSideRight;
    again.paneWidth = 100;
    EXPECT_EQ(SendDockRequest(m_frame.m_hWnd, &again), 0);
    EXPECT_EQ(bar.labels.size(), 1u);
}

TEST_F(DockingWindows, UnpinningDocksInANewOuterBar)
{
    ASSERT_TRUE(DockPane(m_app, "作図メニュー", kDockRight, 200, 60));
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockRight, 200, 280));
    ASSERT_TRUE(m_app.Docking().PinToSide());
    CAutoHideManager& autoHide = m_frame.docking.AutoHide();
    RECT pane = ScreenRect(autoHide.m_hWnd);

    // The pane's own pin button: press and release over it.
    RECT window = ScreenRect(autoHide.m_hWnd);
    ASSERT_EQ(SendMessageA(autoHide.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(window.left + 2, window.top + 40)), HTLEFT)
        << "the splitter strip of a right pane lies at its left edge";
    POINT pin = {window.right - 12, window.top + 4};
    for (int i = 0; i < 30; ++i, --pin.x)
        if (SendMessageA(autoHide.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(pin.x, pin.y + 4)) == kPinButtonHit) break;
    ASSERT_EQ(SendMessageA(autoHide.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(pin.x, pin.y + 4)), kPinButtonHit);
    POINT release = {pin.x, pin.y + 4};
    ScreenToClient(autoHide.m_hWnd, &release);
    PostMessageA(autoHide.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
    SendMessageA(autoHide.m_hWnd, WM_NCLBUTTONDOWN, kPinButtonHit, MAKELPARAM(pin.x, pin.y + 4));

    EXPECT_FALSE(m_app.Docking().IsPinned());
    EXPECT_TRUE(m_app.Docking().IsDocked());
    EXPECT_TRUE(autoHide.Bar(kSideRight).labels.empty());
    EXPECT_TRUE(IsRectEmpty(&autoHide.Bar(kSideRight).rect));
    EXPECT_FALSE(IsWindowVisible(autoHide.m_hWnd));
    EXPECT_EQ(GetWindowLongA(m_app.m_hWnd, GWL_STYLE) & WS_CAPTION, WS_CAPTION);

    // A bar of its own at the outer edge, as thick as its pane was; the tool panel's bar inside it.
    RECT frame = ClientOnScreen(m_frame.m_hWnd);
    RECT app = ScreenRect(m_app.m_hWnd);
    RECT tool = ScreenRect(m_tool.m_hWnd);
    EXPECT_EQ(app.right, frame.right);
    EXPECT_EQ(Width(app), Width(pane) - 5);
    EXPECT_EQ(app.top, frame.top);
    EXPECT_EQ(app.bottom, frame.bottom);
    EXPECT_EQ(tool.right, app.left - 5);
    EXPECT_EQ(Width(tool), 200) << "the bar it shared keeps its width";
    DockingWindowPlacement placement;
    ASSERT_TRUE(m_app.Docking().ReadPlacement(&placement));
    EXPECT_EQ(placement.position.side & kSidePinned, 0);
    EXPECT_EQ(placement.position.barIndex, 0);
}

TEST_F(DockingWindows, HoveringALabelSlidesThePaneOutAndLeavingHidesIt)
{
    ASSERT_TRUE(DockPane(m_app, "作図メニュー", kDockLeft, 160, 60));
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockLeft, 180, 280));
    ASSERT_TRUE(m_app.Docking().PinToSide());
    ASSERT_TRUE(m_tool.Docking().PinToSide());
    CAutoHideManager& autoHide = m_frame.docking.AutoHide();
    const CAutoHideBar& bar = autoHide.Bar(kSideLeft);
    ASSERT_EQ(bar.labels.size(), 2u);
    EXPECT_EQ(autoHide.ShownWindow(), m_tool.m_hWnd) << "the last pinned pane is out, the other went in";
    EXPECT_FALSE(IsWindowVisible(m_app.m_hWnd));
    EXPECT_TRUE(m_app.IsVisible()) << "a pinned pane counts as visible";

    // The labels lie one after the other down the bar, with 5 pixels between them.
    int first = bar.labels[0]->width, second = bar.labels[1]->width;
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    POINT onFirst = {(bar.rect.left + bar.rect.right) / 2, bar.rect.top + 3 + first / 2};
    POINT onSecond = {onFirst.x, bar.rect.top + 3 + first + 5 + second / 2};
    POINT inGap = {onFirst.x, bar.rect.top + 3 + first + 2};
    EXPECT_EQ(bar.LabelAt(onFirst), 0);
    EXPECT_EQ(bar.LabelAt(onSecond), 1);
    EXPECT_EQ(bar.LabelAt(inGap), -1);

    // Over the shown pane's own label nothing is tracked; over the other one a hover shows it.
    EXPECT_FALSE(autoHide.OnMouseMove(onSecond));
    SendMessageA(m_frame.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(onFirst.x, onFirst.y));
    SendMessageA(m_frame.m_hWnd, WM_MOUSEHOVER, 0, MAKELPARAM(onFirst.x, onFirst.y));
    EXPECT_EQ(autoHide.ShownWindow(), m_app.m_hWnd);
    EXPECT_TRUE(IsWindowVisible(m_app.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(m_tool.m_hWnd));
    RECT frame = ClientOnScreen(m_frame.m_hWnd);
    RECT pane = ScreenRect(autoHide.m_hWnd);
    EXPECT_EQ(pane.left, frame.left + autoHide.BarThickness());
    EXPECT_EQ(Width(pane), 165);

    // A hover that did not follow a move over that label changes nothing.
    SendMessageA(m_frame.m_hWnd, WM_MOUSEHOVER, 0, MAKELPARAM(onSecond.x, onSecond.y));
    EXPECT_EQ(autoHide.ShownWindow(), m_app.m_hWnd);

    // The mouse and the focus elsewhere: the pane goes within about a second.
    SetCursorPos(frame.right - 50, frame.bottom - 50);
    SetFocus(m_frame.m_hWnd);
    EXPECT_TRUE(PumpUntil([&] { return autoHide.ShownWindow() == nullptr; }));
    EXPECT_FALSE(IsWindowVisible(autoHide.m_hWnd));
    EXPECT_FALSE(IsWindowVisible(m_app.m_hWnd));
    EXPECT_TRUE(m_app.Docking().IsPinned());
}

TEST_F(DockingWindows, HidingAndTogglingAPinnedPane)
{
    ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockRight, 200, 280));
    ASSERT_TRUE(m_tool.Docking().PinToSide());
    CAutoHideManager& autoHide = m_frame.docking.AutoHide();

    // Toggling a pinned pane hides it: its label goes and the bar with it.
    EXPECT_TRUE(m_tool.Docking().Toggle()) << "a pinned pane was visible";
    EXPECT_FALSE(m_tool.IsVisible());
    EXPECT_FALSE(m_tool.Docking().IsDocked());
    EXPECT_TRUE(autoHide.Bar(kSideRight).labels.empty());
    EXPECT_EQ(ScreenRect(m_frame.client).right, ClientOnScreen(m_frame.m_hWnd).right);
    EXPECT_EQ(m_tool.Docking().StoredPosition().side, kSideRight | kSidePinned | kSideOwnBar);

    // Showing it again docks it in a bar of its own on that side, as wide as its pane.
    EXPECT_FALSE(m_tool.Docking().Toggle());
    EXPECT_TRUE(m_tool.Docking().IsDocked());
    EXPECT_FALSE(m_tool.Docking().IsPinned());
    RECT tool = ScreenRect(m_tool.m_hWnd);
    EXPECT_EQ(tool.right, ClientOnScreen(m_frame.m_hWnd).right);
    EXPECT_EQ(Width(tool), 200);

    // A floating pane cannot be pinned.
    DockingWindowPlacement placement;
    ASSERT_TRUE(m_tool.Docking().ReadPlacement(&placement));
    placement.docked = 0;
    placement.visible = 1;
    placement.floatRect = {100, 100, 300, 400};
    ASSERT_TRUE(m_tool.Docking().ApplyPlacement(placement));
    EXPECT_FALSE(m_tool.Docking().PinToSide());
    EXPECT_TRUE(autoHide.Bar(kSideRight).labels.empty());
}

namespace {

// Three panes docked left, right and bottom, with the layout file in a temporary folder.
class LayoutRoundTrip : public DockingWindows {
protected:
    void SetUp() override
    {
        DockingWindows::SetUp();
        ASSERT_TRUE(DockPane(m_app, "作図メニュー", kDockRight, 200, 60));
        ASSERT_TRUE(DockPane(m_tool, "基本操作", kDockLeft, 180, 280));
        ASSERT_NE(m_bottom.CreatePane(m_frame.m_hWnd, "コマンドメニュー", 90, 60), nullptr);
        DockPosition position = {};
        position.side = kSideBottom;
        position.barWidth = 90;
        position.extent = 60;
        ASSERT_TRUE(m_bottom.Docking().DockAt(position));
        m_panes.panes[0] = &m_bottom.Docking();
        m_panes.panes[1] = &m_app.Docking();
        m_panes.panes[2] = &m_tool.Docking();
        m_panes.panes[3] = &m_second.Docking();
        ASSERT_NE(m_second.CreatePane(m_frame.m_hWnd, "コマンドメニュー２", 90, 60), nullptr);
        position.side = kSideTop;
        ASSERT_TRUE(m_second.Docking().DockAt(position));
        m_path = m_folder.File("configMain.xml");
    }
    void TearDown() override
    {
        m_bottom.DestroyWindow();
        m_second.DestroyWindow();
        DockingWindows::TearDown();
    }

    std::vector<RECT> Rects()
    {
        std::vector<RECT> rects;
        for (HWND w : {m_bottom.m_hWnd, m_app.m_hWnd, m_tool.m_hWnd, m_second.m_hWnd, m_frame.client})
            rects.push_back(ScreenRect(w));
        return rects;
    }
    bool Restore(int* showCommand = nullptr)
    {
        int maximized = -7, show = 0;
        bool restored = sstate::RestoreLayout(m_path.c_str(), m_frame.m_hWnd, nullptr, m_panes, &maximized, &show);
        if (restored) m_frame.LayOut();
        if (showCommand != nullptr) *showCommand = show;
        return restored;
    }

    CCmdPanelDockWin m_bottom;
    CCmdPanelDockWin m_second;
    sstate::LayoutPanes m_panes;
    TempFolder m_folder;
    std::string m_path;
};

void ExpectWithinAPixel(const std::vector<RECT>& a, const std::vector<RECT>& b, const char* what)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_LE(std::abs(a[i].left - b[i].left), 1) << what << " window " << i;
        EXPECT_LE(std::abs(a[i].top - b[i].top), 1) << what << " window " << i;
        EXPECT_LE(std::abs(a[i].right - b[i].right), 1) << what << " window " << i;
        EXPECT_LE(std::abs(a[i].bottom - b[i].bottom), 1) << what << " window " << i;
    }
}

}  // namespace

TEST_F(LayoutRoundTrip, TenSavesAndRestoresKeepEveryPane)
{
    // A changed layout: the right bar wider by a splitter drag.
    RECT frame = ClientOnScreen(m_frame.m_hWnd);
    RECT app = ScreenRect(m_app.m_hWnd);
    POINT grab = {app.left - 3 - frame.left, 200};
    PostMessageA(m_frame.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x - 40, grab.y));
    PostMessageA(m_frame.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(grab.x - 40, grab.y));
    SendMessageA(m_frame.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    std::vector<RECT> before = Rects();
    EXPECT_EQ(Width(before[1]), 240);

    for (int round = 0; round < 10; ++round) {
        ASSERT_TRUE(sstate::SaveLayout(m_path.c_str(), m_frame.m_hWnd, nullptr, m_panes, 1)) << round;
        ASSERT_TRUE(Restore()) << round;
    }
    ExpectWithinAPixel(before, Rects(), "after ten rounds");
    EXPECT_TRUE(m_tool.Docking().IsDocked());

    std::string text = m_folder.Read("configMain.xml");
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\"?>", 0), 0u) << text.substr(0, 40);
    for (const char* name : {"DfdockPos0=", "DfdockPos3=", "MDIWinMaximized=\"01 00 00 00 \"", "<General",
                             "SM_CXSCREEN=", "<MainWindow", "placement=", "<Wnd-0xfffffffe",
                             "Wnd-0xfffffffc=", "Wnd-0xffffffff"})
        EXPECT_NE(text.find(name), std::string::npos) << name;
}

TEST_F(LayoutRoundTrip, AHiddenPaneStaysHiddenAndComesBackToItsBar)
{
    m_tool.Toggle();
    ASSERT_FALSE(m_tool.IsVisible());
    ASSERT_TRUE(sstate::SaveLayout(m_path.c_str(), m_frame.m_hWnd, nullptr, m_panes, 0));
    m_tool.Toggle();
    ASSERT_TRUE(Restore());
    EXPECT_FALSE(m_tool.IsVisible());
    m_tool.Toggle();
    EXPECT_TRUE(m_tool.Docking().IsDocked());
    EXPECT_EQ(ScreenRect(m_tool.m_hWnd).left, ClientOnScreen(m_frame.m_hWnd).left) << "back at the left";
    EXPECT_EQ(Width(ScreenRect(m_tool.m_hWnd)), 180);
}

TEST_F(LayoutRoundTrip, DamagedFilesChangeNothing)
{
    std::vector<RECT> before = Rects();
    const struct {
        const char* name;
        const char* text;  // null: no file
    } cases[] = {
        {"missing", nullptr},
        {"not XML", "<config DfdockPos0=\"00"},
        {"without the root", "<?xml version=\"1.0\"?><other/>"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        DeleteFileA(m_path.c_str());
        if (c.text != nullptr) ASSERT_TRUE(m_folder.Write("configMain.xml", c.text));
        EXPECT_FALSE(Restore()) << c.name;
        ExpectWithinAPixel(before, Rects(), c.name);
    }
}

TEST_F(LayoutRoundTrip, TheInstalledRootAloneKeepsTheDefaultLayout)
{
    std::vector<RECT> before = Rects();
    ASSERT_TRUE(m_folder.Write("configMain.xml", "<?xml version=\"1.0\"?>\r\n<config/>\r\n"));
    int show = 0;
    EXPECT_TRUE(Restore(&show));
    EXPECT_EQ(show, -1) << "no stored placement";
    ExpectWithinAPixel(before, Rects(), "root alone");
    for (CPanelDockWindow* pane : {static_cast<CPanelDockWindow*>(&m_tool), static_cast<CPanelDockWindow*>(&m_app)})
        EXPECT_TRUE(pane->Docking().IsDocked());
}

TEST_F(LayoutRoundTrip, AShortOrUnsoundValueResetsOnlyItsPane)
{
    std::vector<RECT> before = Rects();
    ASSERT_TRUE(sstate::SaveLayout(m_path.c_str(), m_frame.m_hWnd, nullptr, m_panes, 0));
    // Move the application panel elsewhere, then spoil its records and the screen size.
    std::string text = m_folder.Read("configMain.xml");
    auto spoil = [&text](const std::string& name, const std::string& value) {
        size_t at = text.find(name + "=\"");
        ASSERT_NE(at, std::string::npos) << name;
        size_t start = at + name.size() + 2, end = text.find('"', start);
        text.replace(start, end - start, value);
    };
    spoil("DfdockPos1", "00 01 ");
    spoil("Wnd-0xfffffffd", "zz");
    spoil("SM_CXSCREEN", "00 00 00 00 ");
    ASSERT_TRUE(m_folder.Write("configMain.xml", text));
    ASSERT_TRUE(Restore());
    ExpectWithinAPixel(before, Rects(), "short values");
    EXPECT_TRUE(m_app.Docking().IsDocked());
}

TEST_F(LayoutRoundTrip, MinimisedMainWindowsAreStoredNormalOrMaximised)
{
    auto storedShow = [this] {
        std::string text = m_folder.Read("configMain.xml");
        size_t at = text.find("placement=\"");
        std::vector<uint8_t> bytes;
        if (at == std::string::npos) return -1;
        size_t start = at + 11;
        if (!sstate::ParseBytes(text.substr(start, text.find('"', start) - start).c_str(), &bytes) || bytes.size() != 44)
            return -1;
        WINDOWPLACEMENT wp;
        memcpy(&wp, bytes.data(), 44);
        return static_cast<int>(wp.showCmd);
    };
    m_frame.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(sstate::SaveLayout(m_path.c_str(), m_frame.m_hWnd, nullptr, m_panes, 0));
    EXPECT_EQ(storedShow(), SW_SHOWNORMAL);
    m_frame.ShowWindow(SW_RESTORE);
    m_frame.ShowWindow(SW_MAXIMIZE);
    m_frame.ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(sstate::SaveLayout(m_path.c_str(), m_frame.m_hWnd, nullptr, m_panes, 0));
    EXPECT_EQ(storedShow(), SW_SHOWMAXIMIZED);
    int show = 0;
    ASSERT_TRUE(Restore(&show));
    EXPECT_EQ(show, SW_SHOWMAXIMIZED);
}

TEST(ShortenedText, CutsOnCharacterBoundaries)
{
    // Every byte is 10 pixels wide: "..." takes 30.
    auto measure = [](const std::string& s) { return static_cast<int>(s.size()) * 10; };
    const std::string title = "基本操作パネル";  // seven double-byte characters
    const struct {
        int extent;
        int kept;
    } cases[] = {
        {140, 14},  // fits whole
        {139, 10},  // five characters and the dots: 100 + 30
        {70, 4},
        {20, 2},    // at least one character, never half of one
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShortenedLength(title.c_str(), static_cast<int>(title.size()), c.extent, measure), c.kept) << c.extent;
    EXPECT_EQ(ShortenedLength("abcdef", 6, 55, measure), 2);
}

TEST_F(LayoutRoundTrip, APinnedPaneComesBackPinned)
{
    ASSERT_TRUE(m_app.Docking().PinToSide());
    ASSERT_TRUE(sstate::SaveLayout(m_path.c_str(), m_frame.m_hWnd, nullptr, m_panes, 0));
    // Unpinned and moved in between: the restore pins it again on the same side.
    ASSERT_TRUE(m_frame.docking.AutoHide().RemoveWindow(m_app.m_hWnd, true));
    ASSERT_FALSE(m_app.Docking().IsPinned());
    ASSERT_TRUE(Restore());
    EXPECT_TRUE(m_app.Docking().IsPinned());
    const CAutoHideBar& bar = m_frame.docking.AutoHide().Bar(kSideRight);
    ASSERT_EQ(bar.labels.size(), 1u);
    EXPECT_EQ(bar.labels[0]->entry.window, m_app.m_hWnd);
    EXPECT_EQ(bar.labels[0]->entry.paneWidth, 200);
    EXPECT_TRUE(m_tool.Docking().IsDocked());
    EXPECT_FALSE(m_tool.Docking().IsPinned());

    // Saved again and restored again: still one label, nothing piles up.
    ASSERT_TRUE(sstate::SaveLayout(m_path.c_str(), m_frame.m_hWnd, nullptr, m_panes, 0));
    ASSERT_TRUE(Restore());
    EXPECT_TRUE(m_app.Docking().IsPinned());
    EXPECT_EQ(m_frame.docking.AutoHide().Bar(kSideRight).labels.size(), 1u);
}

TEST_F(LayoutRoundTrip, AHiddenPinnedPaneComesBackHiddenAndUnpinned)
{
    ASSERT_TRUE(m_app.Docking().PinToSide());
    ASSERT_TRUE(m_app.Docking().Hide());
    ASSERT_TRUE(sstate::SaveLayout(m_path.c_str(), m_frame.m_hWnd, nullptr, m_panes, 0));
    ASSERT_TRUE(Restore());
    EXPECT_FALSE(m_app.IsVisible());
    EXPECT_FALSE(m_app.Docking().IsPinned());
    EXPECT_TRUE(m_frame.docking.AutoHide().Bar(kSideRight).labels.empty());
    EXPECT_EQ(m_app.Docking().StoredPosition().side & kSidePinned, 0) << "a hidden pane's pinned bit is not kept";
    // Shown, it docks in a bar of its own on its side.
    EXPECT_TRUE(m_app.Docking().Show());
    EXPECT_TRUE(m_app.Docking().IsDocked());
    EXPECT_EQ(ScreenRect(m_app.m_hWnd).right, ClientOnScreen(m_frame.m_hWnd).right);
}

TEST_F(LayoutRoundTrip, RebarBandsComeBackInTheirOrderAndWidths)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    HWND rebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                     RBS_BANDBORDERS | CCS_NODIVIDER,
                                 0, 0, 600, 30, m_frame.m_hWnd, nullptr, nullptr, nullptr);
    ASSERT_NE(rebar, nullptr);
    const UINT ids[] = {0xEB00, 0xEB01, 0xEB02};
    for (UINT id : ids) {
        HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 80, 20, rebar, nullptr, nullptr,
                                     nullptr);
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_ID | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_STYLE;
        band.fStyle = RBBS_CHILDEDGE;
        band.wID = id;
        band.hwndChild = child;
        band.cxMinChild = 40;
        band.cyMinChild = 20;
        band.cx = 100 + static_cast<int>(id - 0xEB00) * 50;
        ASSERT_NE(SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)), 0);
    }
    auto bands = [&] {
        std::vector<std::pair<UINT, bool>> result;
        int count = static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            REBARBANDINFOA band = {};
            band.cbSize = sizeof band;
            band.fMask = RBBIM_ID | RBBIM_STYLE;
            SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
            result.emplace_back(band.wID, (band.fStyle & RBBS_HIDDEN) != 0);
        }
        return result;
    };
    SendMessageA(rebar, RB_MOVEBAND, 2, 0);
    SendMessageA(rebar, RB_SHOWBAND, 2, FALSE);
    auto saved = bands();
    ASSERT_EQ(saved[0].first, 0xEB02u);
    ASSERT_TRUE(sstate::SaveLayout(m_path.c_str(), m_frame.m_hWnd, rebar, m_panes, 0));
    std::string text = m_folder.Read("configMain.xml");
    for (const char* name : {"band0=", "band1=", "band2="}) EXPECT_NE(text.find(name), std::string::npos) << name;

    // Shuffled and shown again: the restore puts every band back where it was, hidden or not.
    SendMessageA(rebar, RB_MOVEBAND, 0, 2);
    SendMessageA(rebar, RB_SHOWBAND, 0, TRUE);
    SendMessageA(rebar, RB_SHOWBAND, 1, TRUE);
    SendMessageA(rebar, RB_SHOWBAND, 2, TRUE);
    ASSERT_NE(bands(), saved);
    int maximized = 0, show = 0;
    ASSERT_TRUE(sstate::RestoreLayout(m_path.c_str(), m_frame.m_hWnd, rebar, m_panes, &maximized, &show));
    EXPECT_EQ(bands(), saved);
    DestroyWindow(rebar);
}
