// The main frame's routing, its close and the end of a session, with the drawing windows and
// the dispatchers played by small stand-ins.
#include "GTest.h"

#include <string>
#include <vector>

#include "CommandIds.h"
#include "HostMessages.h"
#include "commands/SystemCommandDispatcher.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "core/ProgramPaths.h"
#include "core/StartupSeams.h"
#include "core/SystemLog.h"
#include "mainframe/FrameServices.h"
#include "mainframe/MainFrame.h"

namespace {

struct Received {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    std::string text;
};

// Records what reaches the host-service chain and answers WM_CAD_RUN_COMMAND with 1.
class RecordingHost : public WinKit::CMessageMap {
public:
    BOOL ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD) override
    {
        if (uMsg != WM_CAD_RUN_COMMAND) return FALSE;
        Received r = {uMsg, wParam, lParam, {}};
        if (LOWORD(wParam) == 7001 && lParam != 0) r.text = reinterpret_cast<const char*>(lParam);
        received.push_back(r);
        lResult = 1;
        return TRUE;
    }
    std::vector<Received> received;
};

std::vector<Received> g_services;
HWND g_activeView = nullptr;
LONG g_refuseClose = 0;
const char* g_optionText = "";

int RecordService(HWND, WPARAM wParam, LPARAM lParam)
{
    g_services.push_back({WM_COMMAND, wParam, lParam, {}});
    return 1;
}
HWND ActiveView() { return g_activeView; }
const char* OptionKey() { return "/NUM"; }
const char* OptionText() { return g_optionText; }
int ReadConfig(const char* section, const char* key, char* out, int size)
{
    if (std::string(section) == "DESTROY" && std::string(key) == "/NUM") lstrcpynA(out, "7001", size);
    return 0;
}

LRESULT CALLBACK DrawingWindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CLOSE && wParam == 100 && lParam != 0) {
        if (g_refuseClose) {
            *reinterpret_cast<LONG*>(lParam) = 1;
            return 0;
        }
        SendMessageA(GetParent(hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hWnd), 0);
        return 0;
    }
    return DefMDIChildProcA(hWnd, msg, wParam, lParam);
}

HWND CreateDrawingWindow(HWND mdiClient)
{
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DrawingWindowProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VtTestDrawingWindow";
        atom = RegisterClassA(&wc);
    }
    MDICREATESTRUCTA create = {"VtTestDrawingWindow", "図面", GetModuleHandleA(nullptr), 0, 0, 300, 200, 0, 0};
    return reinterpret_cast<HWND>(SendMessageA(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
}

class MainFrameUnit : public testing::Test {
protected:
    void SetUp() override
    {
        g_services.clear();
        g_activeView = nullptr;
        g_refuseClose = 0;
        g_optionText = "";
        FrameServices& services = GetFrameServices();
        m_saved = services;
        services.executeServiceCommand = RecordService;
        services.executeViewCommand = RecordService;
        services.getActiveView = ActiveView;
        services.bootOptionKey = OptionKey;
        services.bootOptionText = OptionText;
        services.readConfigText = ReadConfig;
        m_frame.SetHostServices(&m_host, &m_enabled);
        ASSERT_NE(m_frame.CreateEx(), nullptr);
    }
    void TearDown() override
    {
        if (m_frame.m_hWnd != nullptr) DestroyWindow(m_frame.m_hWnd);
        // The frame ends the loop when it goes; this test has no loop to end.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        GetFrameServices() = m_saved;
    }

    FrameServices m_saved;
    RecordingHost m_host;
    int m_enabled = 1;
    CMainFrame m_frame;
};

}  // namespace

TEST_F(MainFrameUnit, CommandsReachTheirDispatchersByRange)
{
    HWND frame = m_frame.m_hWnd;
    HWND button = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 1, 1, frame, nullptr, nullptr, nullptr);

    SendMessageA(frame, WM_COMMAND, 6000, 0);  // no drawing: dropped
    EXPECT_TRUE(m_host.received.empty());
    SendMessageA(frame, WM_COMMAND, 4001, reinterpret_cast<LPARAM>(button));
    ASSERT_EQ(m_host.received.size(), 1u);
    EXPECT_EQ(m_host.received[0].wParam, 4001u);
    EXPECT_EQ(m_host.received[0].lParam, 0) << "the sending control is no parameter";

    g_activeView = button;  // any window stands for the active drawing view
    SendMessageA(frame, WM_COMMAND, 6000, 0x1234);
    ASSERT_EQ(m_host.received.size(), 2u);
    EXPECT_EQ(m_host.received[1].lParam, 0x1234) << "a message's own data stays";

    m_enabled = 0;
    SendMessageA(frame, WM_COMMAND, 6000, 0);
    SendMessageA(frame, WM_COMMAND, 1229, 0);
    EXPECT_EQ(m_host.received.size(), 2u);
    EXPECT_TRUE(g_services.empty());
    m_enabled = 1;

    SendMessageA(frame, WM_COMMAND, 1227, 0xC001);
    SendMessageA(frame, WM_COMMAND, 3005, 0);
    ASSERT_EQ(g_services.size(), 2u);
    EXPECT_EQ(g_services[0].wParam, 1227u);
    EXPECT_EQ(g_services[0].lParam, 0xC001);
    EXPECT_EQ(g_services[1].wParam, 3005u);
    DestroyWindow(button);
}

TEST_F(MainFrameUnit, PanelWindowsAndAccelerator)
{
    HWND frame = m_frame.m_hWnd;
    for (int index = 0; index < 4; ++index) {
        HWND panel = reinterpret_cast<HWND>(SendMessageA(frame, WM_CAD_GET_PANEL_WINDOW, index, 0));
        ASSERT_NE(panel, nullptr) << index;
        EXPECT_EQ(GetParent(panel), m_frame.Pane(index).m_hWnd) << index;
    }
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(frame, WM_CAD_GET_PANEL_WINDOW, 100, 0)), m_frame.StatusBar().m_hWnd);
    EXPECT_EQ(SendMessageA(frame, WM_CAD_GET_PANEL_WINDOW, 99, 0), 0);
    EXPECT_EQ(reinterpret_cast<CMainAccelerator*>(SendMessageA(frame, WM_CAD_GET_ACCELERATOR, 0, 0)), &m_frame.Accelerator());
}

TEST_F(MainFrameUnit, ADrawingThatRefusesToCloseKeepsTheFrameAndTheSession)
{
    HWND mdiClient = GetMdiClientWnd();
    ASSERT_NE(mdiClient, nullptr);
    HWND first = CreateDrawingWindow(mdiClient);
    ASSERT_NE(first, nullptr);
    g_refuseClose = 1;

    HWND frame = m_frame.m_hWnd;
    EXPECT_EQ(SendMessageA(frame, WM_QUERYENDSESSION, 0, 0), FALSE);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_TRUE(IsWindow(first));
    EXPECT_EQ(GetFrameFlags().frameClosing, 0);
    EXPECT_EQ(GetFrameFlags().closingAll, 0);

    g_refuseClose = 0;
    EXPECT_EQ(SendMessageA(frame, WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(first));
}

TEST_F(MainFrameUnit, TheClosingCommandOfTheStartOptionsRunsWithoutDrawings)
{
    g_optionText = "/NUM";
    HWND mdiClient = GetMdiClientWnd();
    ASSERT_NE(CreateDrawingWindow(mdiClient), nullptr);
    SendMessageA(m_frame.m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(m_frame.m_hWnd));
    ASSERT_EQ(m_host.received.size(), 1u);
    EXPECT_EQ(LOWORD(m_host.received[0].wParam), 7001);
    EXPECT_EQ(m_host.received[0].text, "/NUM/Save0");
}

// The window's place at close is what the next start restores: it reaches the window record of
// "LocalSettings.xml"; a minimised frame leaves the last one.
TEST_F(MainFrameUnit, TheWindowRectangleAtCloseReachesTheSavedSettings)
{
    RECT& kept = GetMenuSettingsRuntime().mainWindowRect;
    const RECT savedKept = kept;
    kept = {1, 2, 3, 4};
    ShowWindow(m_frame.m_hWnd, SW_SHOWNORMAL);
    ASSERT_TRUE(MoveWindow(m_frame.m_hWnd, 40, 30, 640, 480, TRUE));
    RECT placed;
    GetWindowRect(m_frame.m_hWnd, &placed);
    SendMessageA(m_frame.m_hWnd, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindow(m_frame.m_hWnd));

    LocalSettingsWindow record;
    record.Gather();
    EXPECT_EQ(record.Screen.left, placed.left);
    EXPECT_EQ(record.Screen.top, placed.top);
    EXPECT_EQ(record.Screen.right, placed.right);
    EXPECT_EQ(record.Screen.bottom, placed.bottom);
    kept = savedKept;
}

TEST_F(MainFrameUnit, AMinimisedFrameKeepsTheLastWindowRectangle)
{
    RECT& kept = GetMenuSettingsRuntime().mainWindowRect;
    const RECT savedKept = kept;
    kept = {10, 20, 300, 400};
    ShowWindow(m_frame.m_hWnd, SW_MINIMIZE);
    SendMessageA(m_frame.m_hWnd, WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindow(m_frame.m_hWnd));
    EXPECT_EQ(kept.left, 10);
    EXPECT_EQ(kept.bottom, 400);
    kept = savedKept;
}

namespace {

int g_paints = 0;

LRESULT CALLBACK CountingPaintProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_PAINT) {
        ++g_paints;
        PAINTSTRUCT paint;
        BeginPaint(hWnd, &paint);
        EndPaint(hWnd, &paint);
        return 0;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

}  // namespace

// The timer repaints the layout view and the loupe this program holds, never a window of the
// same class that another instance made.
TEST_F(MainFrameUnit, TheTimerRepaintsOnlyTheViewPopupsThisProgramHolds)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CountingPaintProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "#LAYOUTVIEW#";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND foreign = CreateWindowExA(0, "#LAYOUTVIEW#", "", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(foreign, nullptr);
    UpdateWindow(foreign);
    g_paints = 0;
    seam::SetLayoutViewWindows(nullptr, nullptr);
    GetFrameFlags().repaintWithErase = 1;
    SendMessageA(m_frame.m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(g_paints, 0) << "a window the program does not hold was repainted";

    seam::SetLayoutViewWindows(foreign, nullptr);
    GetFrameFlags().repaintWithErase = 1;
    SendMessageA(m_frame.m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(g_paints, 1);
    EXPECT_EQ(GetFrameFlags().repaintWithErase, 0);

    seam::SetLayoutViewWindows(nullptr, nullptr);
    DestroyWindow(foreign);
    UnregisterClassA("#LAYOUTVIEW#", GetModuleHandleA(nullptr));
}

// The blink phase changes by a clock that never goes back (the month's clock stops the blink
// for a month when a month begins).
TEST_F(MainFrameUnit, TheBlinkRunsByTheMonotonicClock)
{
    FrameFlags& flags = GetFrameFlags();
    flags.lastBlinkChange = 0.0;
    flags.blinkPhase = 0;
    flags.drawingWindowClosing = 0;
    const double before = GetMonotonicMilliseconds();
    SendMessageA(m_frame.m_hWnd, WM_TIMER, 1, 0);
    const double after = GetMonotonicMilliseconds();
    EXPECT_EQ(flags.blinkPhase, 1);
    EXPECT_GE(flags.lastBlinkChange, before);
    EXPECT_LE(flags.lastBlinkChange, after);
    // Within the period the phase holds.
    SendMessageA(m_frame.m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(flags.blinkPhase, 1);
}

// While the session ends and a drawing window asks whether to save, the timer does nothing.
TEST_F(MainFrameUnit, TheTimerWaitsWhileTheSessionEnds)
{
    FrameFlags& flags = GetFrameFlags();
    flags.lastBlinkChange = 0.0;
    flags.blinkPhase = 0;
    flags.drawingWindowClosing = 0;
    flags.shutdownPending = 1;
    SendMessageA(m_frame.m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(flags.blinkPhase, 0);
    flags.shutdownPending = 0;
    SendMessageA(m_frame.m_hWnd, WM_TIMER, 1, 0);
    EXPECT_EQ(flags.blinkPhase, 1);
}

TEST_F(MainFrameUnit, AMenuHandedToTheMdiClientShowsOnTheCommandBar)
{
    CMainMenu menu;
    ASSERT_EQ(menu.LoadFromText("POPUP \"ファイル(&F)\"\r\nBEGIN\r\nEND\r\n"
                                "POPUP \"ｳｨﾝﾄﾞｳ(&W)\"\r\nBEGIN\r\nMENUITEM \"重ねて表示\",1200,-1\r\nEND\r\n"
                                "POPUP \"ヘルプ(&H)\"\r\nBEGIN\r\nEND\r\n"),
              0);
    SetMdiFrameMenu(GetMdiClientWnd(), menu.Menu(), menu.WindowMenuPosition(), menu.WindowMenuCaption().c_str());
    EXPECT_EQ(GetMenu(m_frame.m_hWnd), nullptr) << "the frame keeps no menu bar of its own";
    EXPECT_EQ(m_frame.CommandBar().GetMenu(), menu.Menu());

    // A drawing window is listed in the window menu.
    ASSERT_NE(CreateDrawingWindow(GetMdiClientWnd()), nullptr);
    SendMessageA(GetMdiClientWnd(), WM_MDIREFRESHMENU, 0, 0);
    HMENU windowMenu = GetSubMenu(menu.Menu(), 1);
    EXPECT_GT(GetMenuItemCount(windowMenu), 1);
    m_frame.CommandBar().DetachMenu();
    g_refuseClose = 0;
    DestroyWindow(m_frame.m_hWnd);
}

TEST_F(MainFrameUnit, ToolbarButtonsRunTheirCommands)
{
    HWND frame = m_frame.m_hWnd;
    g_activeView = frame;
    SendMessageA(frame, WM_COMMAND, 45500, 0x77);
    SendMessageA(frame, WM_COMMAND, 45999, 0);  // not in the catalogue
    SendMessageA(frame, WM_COMMAND, 45400, 0);  // the settings button: service command 1229
    ASSERT_EQ(m_host.received.size(), 1u);
    EXPECT_EQ(m_host.received[0].wParam, 6000u) << "the command id replaces the whole word parameter";
    EXPECT_EQ(m_host.received[0].lParam, 0);
    ASSERT_EQ(g_services.size(), 1u);
    EXPECT_EQ(g_services[0].wParam, 1229u);
}

namespace {

struct Notice {
    HWND from;
    UINT_PTR id;
    UINT code;
};
std::vector<Notice> g_notices;
HWND g_noticeTarget = nullptr;

LRESULT CALLBACK RecordNotices(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_NOTIFY && call->hwnd == g_noticeTarget && call->lParam != 0) {
        const auto* header = reinterpret_cast<const NMHDR*>(call->lParam);
        g_notices.push_back({header->hwndFrom, header->idFrom, header->code});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT SendNotice(HWND frame, HWND from, UINT_PTR id, UINT code)
{
    NMHDR header = {from, id, code};
    return SendMessageA(frame, WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

}  // namespace

// The caption switch of a pane tells the frame with the pane as sender, its control id and the
// code 1001 (caption removed) or 1002 (caption added). The frame acts only on notices it sent
// itself (toolbar buttons and rebuilds share these codes): it leaves the pane's unhandled.
TEST_F(MainFrameUnit, APanesCaptionSwitchNotifiesTheFrame)
{
    HWND frame = m_frame.m_hWnd;
    CPanelDockWindow& tool = m_frame.Pane(1);  // the tool panel
    const int savedBits = PanelCaptionSetting();
    g_notices.clear();
    g_noticeTarget = frame;
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordNotices, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    const bool hadCaption = SendMessageA(tool.m_hWnd, WM_COMMAND, kPaneQueryState, 0) == 1;
    EXPECT_EQ(SendMessageA(tool.m_hWnd, WM_COMMAND, kPaneToggleCaption, 0), 1);
    EXPECT_EQ(SendMessageA(tool.m_hWnd, WM_COMMAND, kPaneQueryState, 0), hadCaption ? 2 : 1);
    EXPECT_EQ(SendMessageA(tool.m_hWnd, WM_COMMAND, kPaneToggleCaption, 0), 1);
    EXPECT_EQ(SendMessageA(tool.m_hWnd, WM_COMMAND, kPaneQueryState, 0), hadCaption ? 1 : 2);
    UnhookWindowsHookEx(hook);
    g_noticeTarget = nullptr;
    PanelCaptionSetting() = savedBits;

    ASSERT_EQ(g_notices.size(), 2u);
    const UINT removed = 1001, added = 1002;
    EXPECT_EQ(g_notices[0].code, hadCaption ? removed : added);
    EXPECT_EQ(g_notices[1].code, hadCaption ? added : removed);
    for (const Notice& notice : g_notices) {
        EXPECT_EQ(notice.from, tool.m_hWnd);
        EXPECT_EQ(notice.id, static_cast<UINT_PTR>(GetDlgCtrlID(tool.m_hWnd)));
    }
    for (UINT code : {removed, added})
        EXPECT_EQ(SendNotice(frame, tool.m_hWnd, GetDlgCtrlID(tool.m_hWnd), code), 0) << code;
    EXPECT_EQ(SendNotice(frame, frame, 0, kNoticeToolbarsChanged), 0) << "no toolbars to rebuild here";
    EXPECT_TRUE(IsWindow(frame));
}

// Restoring or resizing the frame holds every visible docked pane at its bar thickness until the
// frame's posted release arrives; a hidden pane is not held.
TEST_F(MainFrameUnit, ResizingTheFrameHoldsThePanesUntilTheLayoutSettles)
{
    HWND frame = m_frame.m_hWnd;
    // The start stage the frame posts to itself shows it maximised: let it run first.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ShowWindow(frame, SW_RESTORE);
    SetWindowPos(frame, nullptr, 0, 0, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    ASSERT_TRUE(IsWindowVisible(frame));
    ASSERT_FALSE(IsZoomed(frame));
    CPanelDockWindow& tool = m_frame.Pane(1);  // the tool panel
    CPanelDockWindow& bottom = m_frame.Pane(0);
    ASSERT_TRUE(tool.IsVisible());
    ASSERT_EQ(tool.FreezeFlags(), 0u);
    SendMessageA(frame, WM_COMMAND, kCmdPaneCommandMenu, 0);
    ASSERT_FALSE(bottom.IsVisible());
    RECT before;
    GetWindowRect(tool.m_hWnd, &before);
    dockwins::DockingWindowPlacement placement;
    ASSERT_TRUE(tool.Docking().ReadPlacement(&placement));

    SetWindowPos(frame, nullptr, 0, 0, 760, 640, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(tool.FreezeFlags(), 1u) << "a pane on the right is held in width";
    EXPECT_EQ(tool.MinTrackWidth(), placement.position.barWidth);
    MINMAXINFO info = {};
    SendMessageA(tool.m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, placement.position.barWidth);
    RECT after;
    GetWindowRect(tool.m_hWnd, &after);
    EXPECT_EQ(after.right - after.left, before.right - before.left) << "the pane keeps its width";
    EXPECT_EQ(bottom.FreezeFlags(), 0u) << "a hidden pane is not held";

    for (DWORD start = GetTickCount(); tool.FreezeFlags() != 0 && GetTickCount() - start < 5000;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
    EXPECT_EQ(tool.FreezeFlags(), 0u) << "released once the posted command arrives";
    EXPECT_EQ(tool.MinTrackWidth(), 0);
}

// A program started by a hand-off (start mode 1) whose start action is a built-in command not
// built yet: the command is answered as handled, so the frame does not close right after the start.
TEST(MainFrameHandOffStart, AnUnbuiltBuiltInCommandKeepsTheProgram)
{
    const int savedLinkMode = GetLinkMode();
    SetLinkMode(0);
    ASSERT_EQ(GetCadSystem().GetStartMode(), 1);
    CSystemCommandDispatcher dispatcher;
    CMainFrame frame;
    frame.SetHostServices(&dispatcher, nullptr);
    ASSERT_NE(frame.CreateEx(), nullptr);
    frame.ShowWindow(SW_SHOWNORMAL);

    const WPARAM kAppendPageCommand = 4037;  // still unbuilt
    SendMessageA(frame.m_hWnd, WM_COMMAND, kAppendPageCommand, 0);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, frame.m_hWnd, WM_CLOSE, WM_CLOSE, PM_REMOVE)) << "the frame is closing";

    DestroyWindow(frame.m_hWnd);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    SetLinkMode(savedLinkMode);
}
