// The MDI main frame: the program's main window and the hub of its messages. Its message map
// is the program's internal message bus: the frame's own handlers come first, then, in this
// order, the host-service object, the interrupt-command object, the UI update state and the
// MDI frame handling. Every WM_COMMAND id is routed here by its range.
#pragma once

#include <windows.h>

#include <string>

#include "HostMessages.h"
#include "WinKit/CommandBar.h"
#include "WinKit/Mdi.h"
#include "WinKit/MessageLoop.h"
#include "WinKit/UpdateUI.h"
#include "core/CadSystem.h"
#include "core/SecondStart.h"
#include "mainframe/CadStatusBar.h"
#include "mainframe/CommandRouter.h"
#include "mainframe/FrameMessages.h"
#include "mainframe/MainAccelerator.h"
#include "mainframe/MainMenu.h"
#include "mainframe/MainToolBars.h"
#include "mainframe/PanelDockWindows.h"
#include "mainframe/docking/DockingFrame.h"
#include "mainframe/docking/LayoutPersistence.h"
#include "resources/resource.h"

// The menu bar: the framework's command bar, which also hands WM_INITMENU on to the active
// drawing window before a menu opens.
class CMDICommandBarCtrlEx : public WinKit::CCommandBarCtrl {
public:
    // Follows the MDI client: a menu that the drawing windows hand to it (WM_MDISETMENU)
    // is shown on the bar instead of becoming the frame's own menu bar.
    BOOL FollowMdiClient(HWND mdiClient);

protected:
    void OnBeforeDropDown(HMENU menu) override;

private:
    class CMdiClientHook : public WinKit::CWindowImpl<CMdiClientHook> {
    public:
        CMDICommandBarCtrlEx* bar = nullptr;
        WK_BEGIN_MSG_MAP(CMdiClientHook)
            WK_MESSAGE_HANDLER(WM_MDISETMENU, OnMdiSetMenu)
        WK_END_MSG_MAP()

    private:
        LRESULT OnMdiSetMenu(UINT, WPARAM, LPARAM, BOOL&);
    };
    CMdiClientHook m_mdiClientHook;
};

// Process-wide state of the main window, read and written on the GUI thread only.
struct FrameFlags {
    int frameClosing = 0;          // the frame closes its drawing windows
    int closingAll = 0;            // CloseAllDrawingWindows runs
    int drawingWindowClosing = 0;  // a drawing window closes (set by the window)
    int auxViewRefresh = 1;        // the layout view and the loupe rebuild their picture
    int repaintWithErase = 0;      // the layout view and the loupe are erased and repainted
    int shutdownPending = 0;       // the session ends: the timer's work waits for the answer
    // The cancel word CloseAllDrawingWindows hands each drawing window (WM_CLOSE 100); a window
    // writes only through this registered address.
    LONG* closeAllCancel = nullptr;
    double blinkPeriod = 170.0;    // milliseconds
    double lastBlinkChange = 0.0;  // milliseconds of the monotonic clock
    int blinkPhase = 0;
    double startTime = 0.0;        // milliseconds of the monotonic clock when the frame was created
};
FrameFlags& GetFrameFlags();

class CMainFrame : public WinKit::CMDIFrameWindowImpl<CMainFrame>,
                   public WinKit::CUpdateUI<CMainFrame>,
                   public WinKit::CMessageFilter,
                   public WinKit::CIdleHandler {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();

    // Default styles of a normal start; the hand-off modes pass their own.
    static constexpr DWORD kDefaultStyle = 0x06CF0000;    // overlapped window, clip children and siblings
    static constexpr DWORD kDefaultExStyle = 0x00040100;  // app window, window edge

    CMainFrame();
    ~CMainFrame() override;

    // Loads the title and menu resource 128, creates the frame window and loads the
    // accelerators from "RovOdidov.key".
    HWND CreateEx(HWND parent = nullptr, const RECT* rect = nullptr, DWORD style = 0,
                  DWORD exStyle = 0, void* createParam = nullptr);

    void SetCommandLine(const char* commandLine) { m_commandLine = commandLine ? commandLine : ""; }
    void SetShowCommand(int showCommand) { m_showCommand = showCommand; }
    int GetShowCommand() const { return m_showCommand; }

    // The host-service object (which answers the host messages, the system-command
    // dispatcher's WM_CAD_RUN_COMMAND among them) and the interrupt-command object are
    // chained into the map here, in this order. commandEnabled is the host state flag of
    // message 2647 (null: always enabled).
    void SetHostServices(WinKit::CMessageMap* hostServices, const int* commandEnabled = nullptr);
    void SetInterruptCommands(WinKit::CMessageMap* interruptCommands);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnIdle() override;

    // Asks every drawing window to close; 1 when all closed, 0 when one refused.
    int CloseAllDrawingWindows();
    // The close steps that end WM_CLOSE; bHandled tells the caller whether the frame stays.
    void FinishFrameClose(WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    int IsPanelSlidingLocked();

    CCadStatusBar& StatusBar() { return m_statusBar; }
    CMainToolBars& ToolBars() { return m_toolBars; }
    CMainAccelerator& Accelerator() { return m_accelerator; }
    CMDICommandBarCtrlEx& CommandBar() { return m_commandBar; }
    CPanelDockWindow& Pane(int index);
    // Places the bars, the docked panes and the MDI client in the client area.
    void UpdateLayout();
    dockwins::CDockingFrameImplBase& Docking() { return m_docking; }

    WK_BEGIN_MSG_MAP(CMainFrame)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        WK_MESSAGE_HANDLER(WM_MDIGETACTIVE, OnMdiGetActive)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_CAD_FRAME_STARTUP, OnFrameStartup)
        WK_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_TIMER, OnTimer)
        WK_MESSAGE_HANDLER(WM_INITMENU, OnInitMenu)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_QUERYENDSESSION, OnQueryEndSession)
        WK_MESSAGE_HANDLER(WM_CAD_CMD_NOTIFY, OnCommandNotify)
        WK_MESSAGE_HANDLER(WM_DROPFILES, OnDropFiles)
        WK_MESSAGE_HANDLER(WM_CAD_BROADCAST, OnBroadcast)
        WK_MESSAGE_HANDLER(WM_CAD_GET_PANEL_WINDOW, OnGetPanelWindow)
        WK_MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnNonClientButtonDown)
        WK_MESSAGE_HANDLER(WM_NCRBUTTONDOWN, OnNonClientButtonDown)
        WK_MESSAGE_HANDLER(WM_CAD_GET_ACCELERATOR, OnGetAccelerator)
        WK_MESSAGE_HANDLER(WM_CAD_SET_DIALOG_FILTER, OnSetDialogFilter)
        WK_MESSAGE_HANDLER(WM_SYSCOMMAND, OnSysCommand)
        WK_CHAIN_MSG_MAP_MEMBER(m_docking)
        WK_CHAIN_MSG_MAP_MEMBER(m_secondStart)
        WK_CHAIN_MSG_MAP_PTR(m_hostServices)
        WK_CHAIN_MSG_MAP_PTR(m_interruptCommands)
        WK_CHAIN_MSG_MAP(WinKit::CUpdateUIBase)
    WK_END_MSG_MAP()

private:
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    // The frame's own command entries, tried when the router left a command unhandled.
    LRESULT OnFrameCommand(WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMdiGetActive(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFrameStartup(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnInitMenu(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommandNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDropFiles(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnBroadcast(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetPanelWindow(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNonClientButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetAccelerator(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetDialogFilter(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSysCommand(UINT, WPARAM, LPARAM, BOOL&);

    void ToggleToolbar();
    // The panes in the layout file's order; the layout saved at close (when bWindowSz is on).
    sstate::LayoutPanes LayoutPanes();
    void SaveDockingLayout();
    void ToggleStatusBar();
    void ShowAboutBox();
    void SendToMdiDescendants(UINT msg, WPARAM wParam, LPARAM lParam);
    void DockPane(CPanelDockWindow& pane, const char* caption, int side, int bar, float ratio,
                  int width, int extent);
    int BlinkViewsTick();

    // Members in construction order.
    CMDICommandBarCtrlEx m_commandBar;
    CCadStatusBar m_statusBar;
    CMainToolBars m_toolBars;
    CMainAccelerator m_accelerator;
    std::string m_commandLine;
    CCmdPanelDockWin m_cmdPanel1;
    CCmdPanelDockWin m_cmdPanel2;
    CDrwPanelDockWin m_drwPanel;
    CAppPanelDockWin m_appPanel;
    dockwins::CDockingFrameImplBase m_docking;
    // A second start of the program hands its command line over here (1227, 1228, WM_COPYDATA).
    CSecondStartReceiver m_secondStart;
    WinKit::CMessageMap* m_hostServices = nullptr;
    WinKit::CMessageMap* m_interruptCommands = nullptr;
    const int* m_commandEnabled = nullptr;
    HWND m_dialogFilter = nullptr;

    int m_showCommand = SW_SHOWNORMAL;
    int m_toolbarShown = 1;
    bool m_closingCommand = false;  // the [DESTROY] command of the start options runs
    HMENU m_resourceMenu = nullptr;
};

// The MDI client window of the main frame.
HWND GetMdiClientWnd();
// Shows an error text owned by the main window after writing it to the operation log.
int ShowErrorMessage(const char* text);
// Sends WM_CAD_SET_DIALOG_FILTER (100, window) to the main window.
void SetModelessDialogWnd(HWND window);
// The menu model of the command bar (the application object's menu).
CMainMenu& GetMainMenu();
