#include "GTest.h"

#include "DravikDb.h"
#include "EngineRecords.h"
#include "commands/InputEvent.h"
#include "core/CadSystem.h"
#include "drawing/CadDatabase.h"
#include "mainframe/FrameServices.h"
#include "view/LoupeView.h"
#include "view/RiririView.h"
#include "view/ViewCoordinates.h"
#include "core/LocalSettings.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

// A drawing view in a popup of its own, with its database.
class ViewWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedEdgeButtons = GetLocalSettingsLive().setup.bScTestBtn;
        GetLocalSettingsLive().setup.bScTestBtn = 0;  // scroll bars instead of edge buttons
        view.SetDatabase(&database);
        RECT rect = {0, 0, 800, 400};
        window = view.Create(nullptr, &rect, nullptr, WS_POPUP | WS_VISIBLE, 0);
        ASSERT_NE(window, nullptr);
        ASSERT_NE(database.engineDb, nullptr);
        ClearViewTable();
        AddViewToTable(window);
    }
    void TearDown() override
    {
        ClearViewTable();
        if (window) DestroyWindow(window);
        GetLocalSettingsLive().setup.bScTestBtn = savedEdgeButtons;
    }
    int savedEdgeButtons = 1;

    void ResizeClient(int width, int height) { SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE); }

    CCadDatabase database;
    CRiririView view;
    HWND window = nullptr;
};

TEST_F(ViewWindow, BlockIsInWindowLongZero)
{
    EXPECT_EQ(reinterpret_cast<PDBINFO*>(GetWindowLongPtrA(window, 0)), static_cast<PDBINFO*>(&database));
    EXPECT_EQ(database.clientWidth, 800);
    EXPECT_EQ(database.clientHeight, 400);
}

TEST_F(ViewWindow, ResizingHalvesTheModelAndPaperScalesButNotTheViewportScale)
{
    database.mode0.scale = 2.0;
    database.mode1.scale = 4.0;
    database.mode2.scale = 8.0;
    ResizeClient(400, 400);
    EXPECT_DOUBLE_EQ(database.mode0.scale, 1.0);
    EXPECT_DOUBLE_EQ(database.mode1.scale, 2.0);
    EXPECT_DOUBLE_EQ(database.mode2.scale, 8.0);
    EXPECT_EQ(database.clientWidth, 400);
}

TEST_F(ViewWindow, AWidthOfZeroKeepsTheScales)
{
    database.mode0.scale = 2.0;
    ResizeClient(0, 400);
    EXPECT_DOUBLE_EQ(database.mode0.scale, 2.0);
    EXPECT_EQ(database.clientWidth, 800) << "the stored size waits for a real one";
    ResizeClient(400, 400);
    EXPECT_DOUBLE_EQ(database.mode0.scale, 1.0);
}

TEST_F(ViewWindow, ScrollBarsMoveTheViewByPercentsOfItsWorldSize)
{
    database.mode0 = ViewModeInfo{0, 0, 2.0};
    RECT client;
    GetClientRect(window, &client);
    const double worldWidth = client.right / 2.0, worldHeight = client.bottom / 2.0;
    SetScrollPos(window, SB_VERT, 50, FALSE);
    SendMessageA(window, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(GetScrollPos(window, SB_VERT), 53);
    EXPECT_NEAR(database.mode0.offsetY, worldHeight * 0.03, 1e-9);
    EXPECT_DOUBLE_EQ(database.mode0Backup.offsetY, 0.0) << "the setting before the move is kept";
    // At position 0 scrolling up still moves the view, by 5 percent of its height.
    SetScrollPos(window, SB_VERT, 0, FALSE);
    const double before = database.mode0.offsetY;
    SendMessageA(window, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_NEAR(database.mode0.offsetY, before - worldHeight * 0.05, 1e-9);
    SetScrollPos(window, SB_HORZ, 50, FALSE);
    SendMessageA(window, WM_HSCROLL, SB_PAGERIGHT, 0);
    EXPECT_EQ(GetScrollPos(window, SB_HORZ), 60);
    EXPECT_NEAR(database.mode0.offsetX, -worldWidth * 0.10, 1e-9);
    SendMessageA(window, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 40), 0);
    EXPECT_NEAR(database.mode0.offsetX, -worldWidth * 0.10 + worldWidth * 0.20, 1e-9);
}

struct FitCase {
    int originMode;
    double drawingScale;
    double paperWidth, paperHeight;
    double expectedScale, expectedOffsetX, expectedOffsetY;
};

TEST_F(ViewWindow, FitToPaper)
{
    // The view is 800 x 400 with scroll bars (20 pixels margin).
    const FitCase cases[] = {
        {0, 1.0, 420, 297, 380.0 / 297.0, 0, 0},
        {1, 1.0, 420, 297, 380.0 / 297.0, -210, -148.5},   // the paper spans (0, 0) to (W, H)
        {0, 0.0, 420, 297, 380.0 / 297.0, 0, 0},           // a stored scale of 0 counts as 1
        {0, 1.0, 0, 297, 380.0, 0, 0},                     // a paper of width 0 is fitted as 1 x 1
    };
    RECT client;
    GetClientRect(window, &client);
    ASSERT_EQ(client.bottom, 400);
    for (const FitCase& c : cases) {
        DbInfoRecord info;
        ASSERT_EQ(ZUriGetDBInfo(&info, database.engineDb), 1);
        info.originMode = c.originMode;
        info.scale = c.drawingScale;
        info.drawingWidth = c.paperWidth;
        info.drawingHeight = c.paperHeight;
        ASSERT_EQ(ZUriSetDBInfo(&info, database.engineDb), 1);
        database.mode0 = ViewModeInfo{5, 6, 7};
        EXPECT_EQ(FitViewToPaperOf(window), 1);
        EXPECT_DOUBLE_EQ(database.mode0.scale, c.expectedScale) << c.originMode << " " << c.drawingScale;
        EXPECT_DOUBLE_EQ(database.mode0.offsetX, c.expectedOffsetX);
        EXPECT_DOUBLE_EQ(database.mode0.offsetY, c.expectedOffsetY);
        EXPECT_DOUBLE_EQ(database.mode0Backup.scale, 7) << "the setting before the fit is kept";
    }
    EXPECT_EQ(FitViewToPaperOf(nullptr), 0);
}

// The loupe's point stands for the cursor only while the cursor is over the loupe: a move in the
// view ends that, so that a click in the view is not answered with the loupe's last point.
TEST_F(ViewWindow, AMoveInTheViewEndsTheCursorBeingOverTheLoupe)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LoupeViewWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LoupeOfViewTest";
    RegisterClassA(&wc);
    HWND loupe = CreateWindowExA(0, "LoupeOfViewTest", "", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(loupe, nullptr);
    ConsumeInputEvent();  // the loupe takes no move while an event is unread
    SendMessageA(loupe, WM_MOUSEMOVE, 0, MAKELPARAM(50, 25));
    EXPECT_EQ(IsCursorOverLoupe(), 1);
    ConsumeInputEvent();
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(300, 200));
    EXPECT_EQ(IsCursorOverLoupe(), 0);
    DestroyWindow(loupe);
    UnregisterClassA("LoupeOfViewTest", GetModuleHandleA(nullptr));
}

TEST_F(ViewWindow, SwallowsCloseAndSystemKeys)
{
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
}

namespace {
int g_menuCloses = 0;
int CountMenuClose()
{
    ++g_menuCloses;
    return 1;
}
}  // namespace

// A press on the view's frame or scroll bars, or the pointer only crossing them, closes an open
// right-click menu or list pop-up.
TEST_F(ViewWindow, PressesAndMovesOverTheFrameCloseAnOpenPopup)
{
    FrameServices saved = GetFrameServices();
    GetFrameServices().closeRightMenu = CountMenuClose;
    RECT rect;
    GetWindowRect(window, &rect);
    const LPARAM onFrame = MAKELPARAM(rect.right - 2, rect.top + 40);
    const struct {
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        {WM_NCMOUSEMOVE, HTVSCROLL, onFrame},
        {WM_NCLBUTTONDOWN, HTBORDER, onFrame},
        {WM_NCRBUTTONDOWN, HTBORDER, onFrame},
    };
    for (const auto& c : cases) {
        g_menuCloses = 0;
        SendMessageA(window, c.msg, c.wParam, c.lParam);
        EXPECT_EQ(g_menuCloses, 1) << std::hex << c.msg;
    }
    GetFrameServices() = saved;
}

TEST_F(ViewWindow, CommandGridFromTheRunningCommand)
{
    const double origin[3] = {100, 0, 0}, pitch[3] = {10, 10, 0};
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(8001, 20), reinterpret_cast<LPARAM>(pitch));
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(8001, 11), reinterpret_cast<LPARAM>(origin));
    EXPECT_EQ(GetViewGridSnap().active, 1);
    EXPECT_DOUBLE_EQ(GetViewGridSnap().originX, 100);
    EXPECT_DOUBLE_EQ(GetViewGridSnap().pitchY, 10);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(8001, 11), 0x10);  // no point: nothing changes
    EXPECT_DOUBLE_EQ(GetViewGridSnap().originX, 100);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(8001, 10), 0);
    EXPECT_EQ(GetViewGridSnap().active, 0);
    EXPECT_DOUBLE_EQ(GetViewGridSnap().originX, 0);
}

// The view is alone on the screen where the test points the mouse.
class ViewMouseWindow : public ViewWindow {
protected:
    void SetUp() override
    {
        ViewWindow::SetUp();
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        savedMainFrame = GetMainFrameWnd();
        GetViewMouseState().lastLeftView = nullptr;
    }
    void TearDown() override
    {
        if (GetCapture() == window) ReleaseCapture();
        SetMainFrameWnd(savedMainFrame);
        GetViewMouseState().lastLeftView = nullptr;
        ViewWindow::TearDown();
    }
    POINT Centre() const
    {
        RECT r;
        GetWindowRect(window, &r);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    // A point of the window outside its inner area: on the scroll-bar side.
    POINT OnTheRightEdge() const
    {
        RECT r;
        GetWindowRect(window, &r);
        return {r.right - 3, (r.top + r.bottom) / 2};
    }
    // The view's window becomes the active main frame and the mouse moves to its centre, where
    // the view takes it as after a move; false when the window could not be made active.
    bool ActiveWithTheMouseAtTheCentre()
    {
        SetMainFrameWnd(window);
        SetForegroundWindow(window);
        SetActiveWindow(window);
        if (GetActiveWindow() != window) return false;
        SetCursorPos(Centre().x, Centre().y);
        TrackInnerAreaCapture(window, Centre());
        return true;
    }
    LRESULT MouseActivateAt(POINT screen)
    {
        SetCursorPos(screen.x, screen.y);
        return SendMessageA(window, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(window),
                            MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
    }
    HWND savedMainFrame = nullptr;
};

TEST_F(ViewMouseWindow, InnerAreaLeavesOutTheBordersScrollBarsAndCaptionHeight)
{
    RECT outer;
    GetWindowRect(window, &outer);
    const RECT inner = ViewInnerArea(window);
    const int side = GetSystemMetrics(SM_CXBORDER) + GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(inner.left, outer.left + side);
    EXPECT_EQ(inner.right, outer.right - side);
    EXPECT_EQ(inner.top, outer.top + GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION));
    EXPECT_EQ(inner.bottom, outer.bottom - GetSystemMetrics(SM_CYBORDER) - GetSystemMetrics(SM_CYHSCROLL));
    ASSERT_EQ(WindowFromPoint(Centre()), window) << "another window covers the view";
    EXPECT_TRUE(IsOverViewInnerArea(window, Centre()));
    EXPECT_FALSE(IsOverViewInnerArea(window, OnTheRightEdge()));
    EXPECT_FALSE(IsOverViewInnerArea(window, POINT{outer.right + 20, outer.bottom + 20}));
    EXPECT_FALSE(IsOverViewInnerArea(nullptr, Centre()));
}

TEST_F(ViewMouseWindow, AClickComingInFromElsewhereOnlyActivatesTheView)
{
    ASSERT_EQ(WindowFromPoint(Centre()), window) << "another window covers the view";
    EXPECT_EQ(MouseActivateAt(Centre()), MA_ACTIVATEANDEAT);

    // Back in the view the mouse just left: the default activation, and the click is delivered.
    GetViewMouseState().lastLeftView = window;
    EXPECT_EQ(MouseActivateAt(Centre()), MA_ACTIVATE);
    EXPECT_EQ(GetViewMouseState().lastLeftView, nullptr) << "the view it left is forgotten";
    EXPECT_EQ(MouseActivateAt(Centre()), MA_ACTIVATEANDEAT);

    // On the scroll bars or the border the answer is 0, and the view it left is kept.
    GetViewMouseState().lastLeftView = window;
    EXPECT_EQ(MouseActivateAt(OnTheRightEdge()), 0);
    EXPECT_EQ(GetViewMouseState().lastLeftView, window);
}

TEST_F(ViewMouseWindow, InnerAreaHoldsTheMouseOnlyWhileTheMainFrameIsActive)
{
    ASSERT_EQ(WindowFromPoint(Centre()), window) << "another window covers the view";
    ASSERT_TRUE(ActiveWithTheMouseAtTheCentre());
    EXPECT_EQ(GetCapture(), window);
    TrackInnerAreaCapture(window, Centre());
    EXPECT_EQ(GetCapture(), window) << "a second move keeps it";

    // The first move out of the inner area lets go, so the next click lands where the mouse is.
    SetCursorPos(OnTheRightEdge().x, OnTheRightEdge().y);
    TrackInnerAreaCapture(window, OnTheRightEdge());
    EXPECT_EQ(GetCapture(), nullptr);

    // Another main frame is active: the view does not take the mouse.
    HWND other = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetMainFrameWnd(other);
    SetCursorPos(Centre().x, Centre().y);
    TrackInnerAreaCapture(window, Centre());
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(other);
}

// A small window of ours that records the mouse presses it is given.
struct PressRecord {
    UINT message = 0;
    WPARAM wParam = 0;
    POINT point = {-1, -1};
};
PressRecord g_press;

LRESULT CALLBACK RecordPresses(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
        g_press = {message, wParam, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}};
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

// Messages are taken until the window of ours got a press, for at most ten seconds.
bool WaitForPress()
{
    const DWORD start = GetTickCount();
    while (g_press.message == 0 && GetTickCount() - start < 10000) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (g_press.message == 0) MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    return g_press.message != 0;
}

// The view holds the mouse over its inner area, and a window of ours opens over the view where
// the mouse rests (as the loupe or a pop-up menu does).
class ViewUnderAWindowOfOurs : public ViewMouseWindow {
protected:
    void SetUp() override
    {
        ViewMouseWindow::SetUp();
        ASSERT_TRUE(ActiveWithTheMouseAtTheCentre());
        ASSERT_EQ(GetCapture(), window);

        WNDCLASSA cls = {};
        cls.lpfnWndProc = RecordPresses;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.lpszClassName = "PressRecorder";
        RegisterClassA(&cls);
        over = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "PressRecorder", "", WS_POPUP | WS_BORDER | WS_VISIBLE,
                               Centre().x - 40, Centre().y - 30, 120, 80, window, nullptr, cls.hInstance, nullptr);
        ASSERT_NE(over, nullptr);
        ASSERT_EQ(WindowFromPoint(Centre()), over);
        g_press = {};
    }
    void TearDown() override
    {
        if (over) DestroyWindow(over);
        ViewMouseWindow::TearDown();
    }
    // The press as the view gets it while it holds the mouse: in its own client points.
    void PressInTheView(UINT message, WPARAM keys, POINT screen)
    {
        POINT client = screen;
        ScreenToClient(window, &client);
        SendMessageA(window, message, keys, MAKELPARAM(client.x, client.y));
    }
    HWND over = nullptr;
};

TEST_F(ViewUnderAWindowOfOurs, AMoveWhereTheMouseRestsLetsGo)
{
    TrackInnerAreaCapture(window, Centre());
    EXPECT_EQ(GetCapture(), nullptr);
}

// A move the view gets only through its hold, over another window and with no button down, is
// not the view's: a command waiting for moves would get a point beyond the view.
TEST_F(ViewUnderAWindowOfOurs, AMoveTheViewGotThroughItsHoldEndsTheHoldAndIsNotTheViews)
{
    // A move the view takes clears the "mouse over the loupe" mark: that is what shows here.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LoupeViewWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "HoldTestLoupe";
    RegisterClassA(&wc);
    HWND loupe = CreateWindowExA(0, "HoldTestLoupe", "", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(loupe, nullptr);
    SendMessageA(loupe, WM_MOUSEMOVE, 0, MAKELPARAM(50, 25));
    ASSERT_EQ(IsCursorOverLoupe(), 1);

    POINT client = Centre();
    ScreenToClient(window, &client);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(GetCapture(), nullptr) << "the view lets go";
    EXPECT_EQ(IsCursorOverLoupe(), 1) << "the view took a move that was not its own";

    // Where the view itself is under the mouse, the move is the view's.
    DestroyWindow(over);
    over = nullptr;
    SetCapture(window);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(client.x + 1, client.y));
    EXPECT_EQ(IsCursorOverLoupe(), 0);
    DestroyWindow(loupe);
}

TEST_F(ViewUnderAWindowOfOurs, APressTheViewGotThroughItsHoldGoesToTheWindowUnderTheMouse)
{
    struct Case {
        UINT message;
        WPARAM keys;
    };
    const Case cases[] = {{WM_LBUTTONDOWN, MK_LBUTTON}, {WM_RBUTTONDOWN, MK_RBUTTON}, {WM_MBUTTONDOWN, MK_MBUTTON}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        SetCapture(window);
        g_press = {};
        GetViewMouseState().leftPressFlag = 0;
        GetViewMouseState().rightPressView = nullptr;
        PressInTheView(c.message, c.keys, Centre());
        EXPECT_EQ(GetCapture(), nullptr) << "the view lets go";
        ASSERT_TRUE(WaitForPress()) << "the window over the view got no press";
        EXPECT_EQ(g_press.message, c.message);
        EXPECT_EQ(g_press.wParam, c.keys);
        POINT client = Centre();
        ScreenToClient(over, &client);
        EXPECT_EQ(g_press.point.x, client.x);
        EXPECT_EQ(g_press.point.y, client.y);
        EXPECT_EQ(GetViewMouseState().leftPressFlag, 0) << "the view took a press that was not its own";
        EXPECT_EQ(GetViewMouseState().rightPressView, nullptr) << "the view took a press that was not its own";
    }
}

TEST_F(ViewUnderAWindowOfOurs, APressOnTheFrameOfTheWindowIsAFramePress)
{
    RECT r;
    GetWindowRect(over, &r);
    const POINT border = {r.left, (r.top + r.bottom) / 2};
    ASSERT_EQ(WindowFromPoint(border), over);
    PressInTheView(WM_RBUTTONDOWN, MK_RBUTTON, border);
    ASSERT_TRUE(WaitForPress());
    EXPECT_EQ(g_press.message, static_cast<UINT>(WM_NCRBUTTONDOWN));
    EXPECT_EQ(g_press.wParam, static_cast<WPARAM>(HTBORDER));
    EXPECT_EQ(g_press.point.x, border.x);
    EXPECT_EQ(g_press.point.y, border.y);
}

TEST_F(ViewUnderAWindowOfOurs, ThePressStaysTheViewsWhereTheViewIsUnderTheMouseOrWhilePanning)
{
    DestroyWindow(over);
    over = nullptr;
    ASSERT_EQ(WindowFromPoint(Centre()), window);
    GetViewMouseState().leftPressFlag = 0;
    PressInTheView(WM_LBUTTONDOWN, MK_LBUTTON, Centre());
    EXPECT_EQ(GetCapture(), window);
    EXPECT_EQ(GetViewMouseState().leftPressFlag, 1) << "a press over the inner area is the view's";

    // The middle-button drag holds the mouse for itself, wherever it goes.
    GetViewMouseState().middleDown = 1;
    EXPECT_FALSE(HandCapturedPressOn(window, WM_LBUTTONDOWN, MK_LBUTTON, OnTheRightEdge()));
    EXPECT_EQ(GetCapture(), window);
    GetViewMouseState().middleDown = 0;
    GetViewMouseState().leftPressFlag = 0;
    GetViewMouseState().buttonBits = 0;
}

struct GestureCase {
    POINT press, cursor;
    int direction;
};

TEST(ViewGesture, DirectionOnTheScreen)
{
    const GestureCase cases[] = {
        {{100, 100}, {105, 100}, -1},  // within 10 pixels: no gesture yet
        {{100, 100}, {110, 110}, -1},
        {{100, 100}, {111, 89}, 0},    // right and up
        {{100, 100}, {111, 111}, 1},   // right and down
        {{100, 100}, {89, 111}, 2},    // left and down
        {{100, 100}, {89, 89}, 3},     // left and up
    };
    for (const GestureCase& c : cases) EXPECT_EQ(GestureDirection(c.press, c.cursor), c.direction);
}

TEST(ViewEdgeZone, ZonesNearTheEdges)
{
    const RECT client = {0, 0, 800, 600};
    EXPECT_EQ(CRiririView::EdgeZone(client, {790, 10}), 8) << "right is tested first";
    EXPECT_EQ(CRiririView::EdgeZone(client, {10, 300}), 4);
    EXPECT_EQ(CRiririView::EdgeZone(client, {400, 10}), 1);
    EXPECT_EQ(CRiririView::EdgeZone(client, {400, 590}), 2);
    EXPECT_EQ(CRiririView::EdgeZone(client, {400, 300}), 0);
}

TEST(KeyCursor, MoveUpByTheStep)
{
    SetKeyCursorStep(50.0);
    double x0, y0, z0;
    GetKeyCursorPoint(&x0, &y0, &z0);
    EXPECT_EQ(MoveKeyCursor(3, 0), 1);
    double x, y, z;
    GetKeyCursorPoint(&x, &y, &z);
    EXPECT_DOUBLE_EQ(y, y0 + 50.0);
    EXPECT_DOUBLE_EQ(x, x0);
    EXPECT_EQ(MoveKeyCursor(9, 5), 1) << "another direction moves nothing";
    GetKeyCursorPoint(&x, &y, &z);
    EXPECT_DOUBLE_EQ(y, y0 + 50.0);
    EXPECT_EQ(IsKeyCursorMode(), 1);
    ToggleCursorMode();  // no active view: nothing to toggle
    GetCadSystem().keyCursorMode = 0;
}

}  // namespace
