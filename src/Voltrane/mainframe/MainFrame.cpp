#include "mainframe/MainFrame.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "CommandIds.h"
#include "WinKit/AppModule.h"
#include "WinKit/Dialog.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "core/MessageCatalog.h"
#include "core/ProgramPaths.h"
#include "core/StartupSeams.h"
#include "core/SystemLog.h"
#include "mainframe/FrameServices.h"
#include "mainframe/ProgramEntry.h"
#include "mainframe/docking/LayoutPersistence.h"

namespace {

HWND g_mdiClientWnd = nullptr;

constexpr UINT kBlinkTimerId = 1;
constexpr UINT kToolbarBandId = 0xEB01;
constexpr UINT kCommandBarStyle = 0x5600184C;

// The About box: dialog 100 with the program icon, product name and version.
class CAboutDlg : public WinKit::CDialogImpl<CAboutDlg> {
public:
    enum { IDD = IDD_ABOUTBOX };

    WK_BEGIN_MSG_MAP(CAboutDlg)
        WK_COMMAND_ID_HANDLER(IDOK, OnClose)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    WK_END_MSG_MAP()

private:
    LRESULT OnClose(WORD, WORD id, HWND, BOOL&)
    {
        EndDialog(id);
        return 0;
    }
};


}  // namespace

HWND GetMdiClientWnd() { return g_mdiClientWnd; }

FrameFlags& GetFrameFlags()
{
    static FrameFlags flags;
    return flags;
}

CMainMenu& GetMainMenu()
{
    static CMainMenu menu;
    return menu;
}

int ShowErrorMessage(const char* text)
{
    WriteSystemLog(0, "Error Message", "%s", text ? text : "");
    return MessageBoxA(GetMainFrameWnd(), text ? text : "", "???", MB_OK);
}

void SetModelessDialogWnd(HWND window)
{
    SendMessageA(GetMainFrameWnd(), WM_CAD_SET_DIALOG_FILTER, 100, reinterpret_cast<LPARAM>(window));
}

void CMDICommandBarCtrlEx::OnBeforeDropDown(HMENU menu)
{
    HWND owner = Owner();
    HWND active = reinterpret_cast<HWND>(::SendMessageA(owner, WM_MDIGETACTIVE, 0, 0));
    if (active != nullptr) ::SendMessageA(active, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
}

BOOL CMDICommandBarCtrlEx::FollowMdiClient(HWND mdiClient)
{
    m_mdiClientHook.bar = this;
    return m_mdiClientHook.SubclassWindow(mdiClient);
}

LRESULT CMDICommandBarCtrlEx::CMdiClientHook::OnMdiSetMenu(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // The client keeps the window submenu and lists the drawing windows in it; the menu
    // itself belongs on the bar, not on the frame.
    LRESULT previous = DefWindowProc(msg, wParam, lParam);
    HWND frame = ::GetParent(m_hWnd);
    if (::GetMenu(frame) != nullptr) ::SetMenu(frame, nullptr);
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    if (menu != nullptr && bar != nullptr && menu != bar->GetMenu()) bar->AttachMenu(menu);
    return previous;
}

WinKit::CWndClassInfo& CMainFrame::GetWndClassInfo()
{
    // The class name is the one a second start of the program searches for.
    static WinKit::CWndClassInfo info = {
        {sizeof(WNDCLASSEXA), 0, WinKit::CWindowImplRoot::WindowProc, 0, 0, nullptr, nullptr,
         nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), MAKEINTRESOURCEA(IDR_MAINFRAME),
         kMainFrameClassName, nullptr},
        nullptr, 0, nullptr};
    if (info.wc.hIcon == nullptr) {
        HINSTANCE instance = GetModuleHandleA(nullptr);
        info.wc.hInstance = instance;
        info.wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
        info.wc.hIconSm = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME),
                                                        IMAGE_ICON, 16, 16, 0));
        info.wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    }
    return info;
}

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    if (m_resourceMenu != nullptr) DestroyMenu(m_resourceMenu);
}

CPanelDockWindow& CMainFrame::Pane(int index)
{
    switch (index) {
    case 0: return m_cmdPanel1;
    case 1: return m_drwPanel;
    case 2: return m_appPanel;
    default: return m_cmdPanel2;
    }
}

void CMainFrame::SetHostServices(WinKit::CMessageMap* hostServices, const int* commandEnabled)
{
    m_hostServices = hostServices;
    m_commandEnabled = commandEnabled;
}

void CMainFrame::SetInterruptCommands(WinKit::CMessageMap* interruptCommands)
{
    m_interruptCommands = interruptCommands;
}

HWND CMainFrame::CreateEx(HWND parent, const RECT* rect, DWORD style, DWORD exStyle, void* createParam)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    char title[256] = {};
    LoadStringA(instance, IDR_MAINFRAME, title, sizeof title);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    HWND hWnd = Create(parent, rect, title, style ? style : kDefaultStyle,
                       exStyle ? exStyle : kDefaultExStyle, menu, createParam);
    if (hWnd == nullptr) {
        // The menu is the frame's once WM_CREATE has taken it over; otherwise it is ours.
        if (menu != nullptr && menu != m_resourceMenu && IsMenu(menu)) DestroyMenu(menu);
        return nullptr;
    }
    if (m_accelerator.Load("RovOdidov.key") < 0) FrameTrace("RovOdidov.key: no accelerators\n");
    m_dialogFilter = nullptr;
    return hWnd;
}

// ---- creation and the second start stage ----

void CMainFrame::DockPane(CPanelDockWindow& pane, const char* caption, int side, int bar, float ratio,
                          int width, int extent)
{
    if (pane.m_hWnd == nullptr && pane.CreatePane(m_hWnd, caption, width, extent) == nullptr) return;
    dockwins::DockPosition position = {};
    position.side = side;
    position.barIndex = bar;
    position.ratio = ratio;
    position.barWidth = width;
    position.extent = extent;
    pane.Docking().DockAt(position);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    m_showCommand = SW_SHOWNORMAL;
    FrameFlags& flags = GetFrameFlags();

    unsigned int period = GetCadSystem().config.TIMESTEP;
    if (period == 0) period = 170;
    SetTimer(m_hWnd, kBlinkTimerId, period, nullptr);
    flags.blinkPeriod = static_cast<double>(period);
    flags.startTime = GetMonotonicMilliseconds();

    // The command bar takes the frame's menu over; the menu of "RovOdidov.mnu" replaces it.
    m_commandBar.CreateBar(m_hWnd, m_hWnd, kCommandBarStyle);
    m_resourceMenu = ::GetMenu(m_hWnd);
    ::SetMenu(m_hWnd, nullptr);
    m_commandBar.AttachMenu(m_resourceMenu);

    m_toolBars.Create(m_hWnd, m_commandBar.m_hWnd);
    m_statusBar.CreateBar(m_hWnd);

    CMainMenu& menu = GetMainMenu();
    if (menu.Load("RovOdidov.mnu") >= 0 && menu.Menu() != nullptr) m_commandBar.AttachMenu(menu.Menu());

    CreateMDIClient();
    g_mdiClientWnd = m_hWndMDIClient;
    m_commandBar.FollowMdiClient(m_hWndMDIClient);

    for (int i = 0; i < ToolbarGroupCount(); ++i) UIAddToolBar(m_toolBars.GetToolbarWindow(i));
    UIAddStatusBar(m_statusBar.m_hWnd);
    for (UINT id : {kCmdToggleToolbar, kCmdToggleStatusBar, kCmdPaneDrawingOperations, kCmdPaneCommandMenu,
                    kCmdPaneCommandMenu2, UINT(4501)}) {
        UIAddElement(static_cast<WORD>(id), UPDUI_MENUPOPUP);
        UISetCheck(static_cast<WORD>(id), 1);
    }
    UIAddElement(kCmdPaneDrawingMenu, UPDUI_MENUPOPUP);

    if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    DragAcceptFiles(m_hWnd, TRUE);

    m_docking.Attach(m_hWnd, &m_hWndMDIClient, [this] { return IsPanelSlidingLocked() != 0; });
    m_docking.InitDockingLayout(0);

    // The pages the two command panels showed when the program last closed.
    m_cmdPanel1.CommandPanel().SetPanelType(GetCadSystem().setup.iCmdPanelCurrPage[0]);
    m_cmdPanel2.CommandPanel().SetPanelType(GetCadSystem().setup.iCmdPanelCurrPage[1]);

    // The panes (sides: 0 bottom, 1 right, 2 top, 3 left); the two right panes take the bar
    // widths of the stored layout from the start.
    DockPane(m_cmdPanel1, "コマンドメニュー", kDockBottom, 0, 0, 90, 60);
    int widths[sstate::kPaneCount];
    sstate::ReadEarlyBarWidths(
        sstate::GetConfigMainPath(GetLocalSettingsLive().setup.bWindowSz != 0).c_str(), widths);
    DockPane(m_appPanel, "作図メニュー", kDockRight, 0, 0, widths[1] > 0 ? widths[1] : 200, 60);
    DockPane(m_drwPanel, "基本操作", kDockRight, 0, 0, widths[2] > 0 ? widths[2] : 200, 280);
    m_cmdPanel2.SetCaptionBit(8);
    DockPane(m_cmdPanel2, "コマンドメニュー２", kDockTop, 0, 0, 90, 60);

    PostMessage(WM_CAD_FRAME_STARTUP);
    return 0;
}

LRESULT CMainFrame::OnFrameStartup(UINT, WPARAM, LPARAM, BOOL&)
{
    CCadSystem& system = GetCadSystem();
    int showCommand = m_showCommand;
    system.AdjustShowCommand(&showCommand);
    if (showCommand == SW_SHOWNORMAL) {
        // Without a readable layout file the frame opens maximised with the panes as created.
        std::string path = sstate::GetConfigMainPath(GetLocalSettingsLive().setup.bWindowSz != 0);
        int stored = -1;
        if (!sstate::RestoreLayout(path.c_str(), m_hWnd, m_toolBars.Rebar(), LayoutPanes(), &system.mdiMaximized,
                                   &stored)) {
            ShowWindow(SW_SHOWMAXIMIZED);
        } else {
            ShowWindow(system.GetStartMode() != 0 || stored < 0 ? SW_SHOWMAXIMIZED : stored);
            SetForegroundWindow(m_hWnd);
        }
        UpdateLayout();
    }
    if (!IsWindowVisible()) ShowWindow(showCommand);

    system.appPanelWnd = m_appPanel.Panel();
    if (m_drwPanel.Panel() != nullptr) ::PostMessageA(m_drwPanel.Panel(), WM_USER, 0, 0);

    if (system.SubInitialize(m_hWnd, m_statusBar.m_hWnd, m_commandLine.c_str()) < 0) {
        SendMessage(WM_CLOSE);
        return 0;
    }
    UpdateLayout();
    system.SetCommandPanelButtonMode(static_cast<WORD>(system.setup.bToolHlp));
    return 0;
}

// ---- layout ----

void CMainFrame::UpdateLayout()
{
    if (m_hWnd == nullptr) return;
    RECT client;
    GetClientRect(&client);
    if (HWND rebar = m_toolBars.Rebar()) {
        ::SendMessageA(rebar, WM_SIZE, 0, 0);
        RECT rc;
        ::GetWindowRect(rebar, &rc);
        if (::IsWindowVisible(rebar)) client.top += rc.bottom - rc.top;
    }
    if (m_statusBar.m_hWnd != nullptr && m_statusBar.IsWindowVisible()) {
        m_statusBar.SendMessage(WM_SIZE, SIZE_RESTORED, 0);
        RECT rc;
        m_statusBar.GetWindowRect(&rc);
        client.bottom -= rc.bottom - rc.top;
    }
    if (client.bottom < client.top) client.bottom = client.top;
    m_docking.UpdateLayout(client);
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE);
}

LRESULT CMainFrame::OnSize(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (IsWindowVisible() && wParam == SIZE_RESTORED) {
        // Restoring or resizing the frame keeps the panes at their bar thickness.
        for (int i = 0; i < 4; ++i) {
            CPanelDockWindow& pane = Pane(i);
            if (pane.m_hWnd == nullptr || !pane.IsVisible()) continue;
            pane.SendMessage(WM_COMMAND, kPaneFreeze, 0);
            pane.PostMessage(WM_COMMAND, kPaneUnfreeze, 0);
        }
    }
    if (wParam != SIZE_MINIMIZED) UpdateLayout();
    return 0;
}

// ---- command routing ----

LRESULT CMainFrame::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // Toolbar buttons carry their own ids: they run the command of their catalogue entry.
    UINT low = LOWORD(wParam);
    if (low >= kFirstToolbarButton && low <= kLastToolbarButton) {
        int button = 0;
        if (!m_toolBars.MapButtonToCommand(&wParam, &lParam, &bHandled, &button)) return 0;
    }
    // The sending control is no parameter of the command; a message's own data stays.
    if (lParam != 0 && ::IsWindow(reinterpret_cast<HWND>(lParam))) lParam = 0;

    UINT id = LOWORD(wParam);
    CommandRouteState state;
    state.frameExists = m_hWnd != nullptr;
    state.hasActiveView = FrameActiveView() != nullptr;
    state.commandEnabled = m_commandEnabled == nullptr || *m_commandEnabled != 0;
    state.closingCommand = m_closingCommand;
    CommandRoute route = RouteCommandId(id, state);
    if (route == CommandRoute::Drop) return 0;
    FrameRestartBackupTimer();

    switch (route) {
    case CommandRoute::RunCommand: {
        LRESULT result = SendMessage(WM_CAD_RUN_COMMAND, wParam, lParam);
        if (result == 1) return 0;
        if (!IsWindowVisible() || GetCadSystem().GetStartMode() != 0) {
            // A linked run ends when its command cannot run.
            PostMessage(WM_CLOSE);
            return 0;
        }
        return OnFrameCommand(wParam, lParam, bHandled);
    }
    case CommandRoute::Service:
        if (FrameExecuteServiceCommand(m_hWnd, wParam, lParam) == 1) return 0;
        return OnFrameCommand(wParam, lParam, bHandled);
    case CommandRoute::View:
        if (FrameExecuteViewCommand(m_hWnd, wParam, lParam) == 1) return 0;
        return OnFrameCommand(wParam, lParam, bHandled);
    default:
        if (HWND active = MDIGetActive()) ::SendMessageA(active, WM_COMMAND, wParam, lParam);
        return OnFrameCommand(wParam, lParam, bHandled);
    }
}

LRESULT CMainFrame::OnFrameCommand(WPARAM wParam, LPARAM, BOOL& bHandled)
{
    switch (LOWORD(wParam)) {
    case kCmdTypedKeyF10:
        // The F10 key (the system keeps it for the menu bar) for the typed-key matcher.
        FrameAppendTypedKeyName(m_hWnd, VK_F10);
        return 0;
    case kCmdExit:
        PostMessage(WM_CLOSE);
        return 0;
    case kCmdNewDrawingWindow:
        // When no window can be made the command goes on unhandled.
        if (FrameCreateDrawingWindow(m_hWnd) == nullptr) bHandled = FALSE;
        return 0;
    case kCmdCloseDrawingWindow:
        if (HWND active = MDIGetActive()) ::PostMessageA(active, WM_CLOSE, 0, 0);
        return 0;
    case kCmdToggleToolbar:
        ToggleToolbar();
        return 0;
    case kCmdToggleStatusBar:
        ToggleStatusBar();
        return 0;
    case kCmdAbout:
        ShowAboutBox();
        return 0;
    case kCmdCascade:
        ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, 0, 0);
        return 0;
    case kCmdTileHorizontal:
        ::SendMessageA(m_hWndMDIClient, WM_MDITILE, MDITILE_HORIZONTAL, 0);
        return 0;
    case kCmdArrangeIcons:
        ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0);
        return 0;
    case kCmdRedrawAll:
        SendToMdiDescendants(WM_COMMAND, kCmdRedrawAllViews, 0);
        return 0;
    case kCmdPaneCommandMenu:
    case kCmdPaneDrawingOperations:
    case kCmdPaneDrawingMenu:
    case kCmdPaneCommandMenu2: {
        CPanelDockWindow& pane = Pane(static_cast<int>(LOWORD(wParam) - kCmdPaneCommandMenu));
        pane.Toggle();
        UpdateLayout();
        bHandled = FALSE;
        return 0;
    }
    default:
        bHandled = FALSE;
        return 0;
    }
}

void CMainFrame::ToggleToolbar()
{
    m_toolbarShown = !m_toolbarShown;
    HWND rebar = m_toolBars.Rebar();
    if (rebar != nullptr) {
        int index = static_cast<int>(::SendMessageA(rebar, RB_IDTOINDEX, kToolbarBandId, 0));
        if (index >= 0) ::SendMessageA(rebar, RB_SHOWBAND, index, m_toolbarShown);
    }
    UISetCheck(kCmdToggleToolbar, m_toolbarShown);
    UpdateLayout();
}

void CMainFrame::ToggleStatusBar()
{
    bool visible = m_statusBar.IsWindowVisible() != 0;
    m_statusBar.ShowWindow(visible ? SW_HIDE : SW_SHOWNOACTIVATE);
    UISetCheck(kCmdToggleStatusBar, !visible);
    UpdateLayout();
}

void CMainFrame::ShowAboutBox()
{
    CAboutDlg dialog;
    dialog.DoModal(::GetActiveWindow());
}

void CMainFrame::SendToMdiDescendants(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Depth first: each child, then its own descendants, then the next sibling.
    struct Walker {
        static void Walk(HWND parent, UINT m, WPARAM w, LPARAM l)
        {
            for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr;
                 child = ::GetWindow(child, GW_HWNDNEXT)) {
                ::SendMessageA(child, m, w, l);
                if (::IsWindow(child)) Walk(child, m, w, l);
            }
        }
    };
    if (m_hWndMDIClient != nullptr) Walker::Walk(m_hWndMDIClient, msg, wParam, lParam);
}

LRESULT CMainFrame::OnNotify(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    bHandled = FALSE;
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header == nullptr || header->hwndFrom != m_hWnd) return 0;
    switch (header->code) {
    case kNoticeCommandStart: m_toolBars.CheckCommandButton(static_cast<int>(header->idFrom), 1); break;
    case kNoticeCommandEnd: m_toolBars.CheckCommandButton(static_cast<int>(header->idFrom), 0); break;
    case kNoticeToolbarsChanged:
        m_toolBars.Rebuild(m_hWnd);
        for (int i = 0; i < ToolbarGroupCount(); ++i) UIAddToolBar(m_toolBars.GetToolbarWindow(i));
        UpdateLayout();
        break;
    default: break;
    }
    (void)wParam;
    return 0;
}

LRESULT CMainFrame::OnMdiGetActive(UINT, WPARAM, LPARAM, BOOL&)
{
    return m_hWndMDIClient ? ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0) : 0;
}

// ---- closing ----

LRESULT CMainFrame::OnClose(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    GetCadSystem().setup.iCmdPanelCurrPage[0] = m_cmdPanel1.CommandPanel().GetPanelType();
    GetCadSystem().setup.iCmdPanelCurrPage[1] = m_cmdPanel2.CommandPanel().GetPanelType();
    SaveDockingLayout();
    FinishFrameClose(wParam, lParam, bHandled);
    return 0;
}

sstate::LayoutPanes CMainFrame::LayoutPanes()
{
    sstate::LayoutPanes panes;
    panes.panes[0] = &m_cmdPanel1.Docking();
    panes.panes[1] = &m_appPanel.Docking();
    panes.panes[2] = &m_drwPanel.Docking();
    panes.panes[3] = &m_cmdPanel2.Docking();
    return panes;
}

void CMainFrame::SaveDockingLayout()
{
    if (GetLocalSettingsLive().setup.bWindowSz == 0 || !IsWindowVisible()) return;
    CCadSystem& system = GetCadSystem();
    int maximized = system.mdiMaximized;
    if (m_hWndMDIClient != nullptr) {
        BOOL isMaximized = FALSE;
        HWND active = reinterpret_cast<HWND>(
            ::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&isMaximized)));
        if (active != nullptr) maximized = isMaximized ? 1 : 0;
    }
    std::string path = sstate::GetConfigMainPath(true);
    // A failed save keeps the previous file and says nothing.
    switch (system.GetStartMode()) {
    case 0:
        sstate::SaveLayout(path.c_str(), m_hWnd, m_toolBars.Rebar(), LayoutPanes(), maximized);
        break;
    case 1:
    case 3:
        sstate::SaveDockPositionsOnly(path.c_str(), LayoutPanes(), maximized);
        break;
    default:
        break;
    }
}

int CMainFrame::CloseAllDrawingWindows()
{
    FrameFlags& flags = GetFrameFlags();
    flags.closingAll = 1;
    std::vector<HWND> children;
    if (m_hWndMDIClient != nullptr) {
        for (HWND child = ::GetWindow(m_hWndMDIClient, GW_CHILD); child != nullptr;
             child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (::GetWindow(child, GW_OWNER) == nullptr) children.push_back(child);
        }
    }
    for (HWND child : children) {
        if (!::IsWindow(child)) continue;
        LONG cancel = 0;
        flags.closeAllCancel = &cancel;
        ::SendMessageA(child, WM_CLOSE, 100, reinterpret_cast<LPARAM>(&cancel));
        flags.closeAllCancel = nullptr;
        if (cancel != 0) {
            flags.closingAll = 0;
            return 0;
        }
    }
    flags.closingAll = 0;
    return 1;
}

void CMainFrame::FinishFrameClose(WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    for (int i = 0; i < 4; ++i) {
        CPanelDockWindow& pane = Pane(i);
        // A pane in the auto-hide pane has lost its caption bits to the pane's own caption: its
        // setting stays as it is.
        if (pane.m_hWnd == nullptr || pane.Docking().IsPinned()) continue;
        bool caption = (GetWindowLongA(pane.m_hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
        if (caption) PanelCaptionSetting() |= pane.CaptionBit();
        else PanelCaptionSetting() &= ~pane.CaptionBit();
    }
    if (FrameIsPluginCommandRunning()) {
        // Retried once the running command has ended.
        SendMessage(WM_CAD_CANCEL_COMMAND);
        PostMessage(WM_CLOSE, wParam, lParam);
        bHandled = TRUE;
        return;
    }
    bHandled = FALSE;
    FrameFlags& flags = GetFrameFlags();
    flags.frameClosing = 1;
    // Kept with the menu settings, which "LocalSettings.xml" takes it from at the end of the run.
    if (!::IsIconic(m_hWnd)) GetWindowRect(&GetMenuSettingsRuntime().mainWindowRect);
    if (!CloseAllDrawingWindows()) {
        bHandled = TRUE;
        flags.frameClosing = 0;
        return;
    }

    const char* optionText = FrameBootOptionText();
    if (optionText[0] != '\0') {
        char value[81] = {};
        FrameReadConfigText("DESTROY", FrameBootOptionKey(), value, sizeof value);
        long command = atol(value);
        if (command > 0) {
            std::string text = std::string(optionText) + (FrameDrawingWasSaved() ? "/Save1" : "/Save0");
            // The drawing windows are gone by now: the command must still pass the router.
            m_closingCommand = true;
            SendMessage(WM_COMMAND, static_cast<WPARAM>(command), reinterpret_cast<LPARAM>(text.c_str()));
            m_closingCommand = false;
        }
    }
}

LRESULT CMainFrame::OnQueryEndSession(UINT, WPARAM, LPARAM, BOOL&)
{
    // The session may end only after the normal close, with its save questions, has run.
    HWND self = m_hWnd;
    ::SendMessageA(self, WM_CLOSE, 0, 0);
    return ::IsWindow(self) ? FALSE : TRUE;
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    m_commandBar.DetachMenu();
    if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    KillTimer(m_hWnd, kBlinkTimerId);
    g_mdiClientWnd = nullptr;
    // A normal run ends with exit code 1.
    PostQuitMessage(1);
    bHandled = FALSE;
    return 0;
}

// ---- timer ----

LRESULT CMainFrame::OnTimer(UINT, WPARAM, LPARAM, BOOL&)
{
    FrameFlags& flags = GetFrameFlags();
    if (flags.shutdownPending) return 0;
    // This program's own popups: a search by class would find another instance's as well.
    HWND layoutView = seam::GetLayoutViewWindow();
    HWND loupe = seam::GetLoupeViewWindow();
    if (flags.repaintWithErase) {
        flags.repaintWithErase = 0;
        for (HWND window : {layoutView, loupe}) {
            if (window != nullptr && ::IsWindowVisible(window)) {
                ::InvalidateRect(window, nullptr, TRUE);
                ::UpdateWindow(window);
            }
        }
    }
    if (GetFrameServices().blinkKeyCursor) GetFrameServices().blinkKeyCursor();
    if (flags.drawingWindowClosing == 1) return 0;
    if (flags.auxViewRefresh) {
        if (layoutView != nullptr && ::IsWindowVisible(layoutView)) {
            ::InvalidateRect(layoutView, nullptr, FALSE);
            ::UpdateWindow(layoutView);
        }
        flags.auxViewRefresh = 1;
        if (loupe != nullptr && ::IsWindowVisible(loupe)) {
            ::InvalidateRect(loupe, nullptr, FALSE);
            ::UpdateWindow(loupe);
        }
        flags.auxViewRefresh = 0;
    }
    BlinkViewsTick();
    FrameCheckTimedBackup();
    return 0;
}

int CMainFrame::BlinkViewsTick()
{
    FrameFlags& flags = GetFrameFlags();
    // A clock that never goes back: the month's clock would stop the blink for a month when
    // a month begins.
    double now = GetMonotonicMilliseconds();
    double limit = flags.blinkPhase ? flags.blinkPeriod * 2 : flags.blinkPeriod;
    if (now - limit <= flags.lastBlinkChange) return 1;
    flags.lastBlinkChange = now;
    flags.blinkPhase = !flags.blinkPhase;
    if (GetFrameServices().blinkFlaggedElements) GetFrameServices().blinkFlaggedElements(flags.blinkPhase);
    return 1;
}

// ---- private messages ----

LRESULT CMainFrame::OnCommandNotify(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    for (CPanelDockWindow* pane : {static_cast<CPanelDockWindow*>(&m_cmdPanel1), static_cast<CPanelDockWindow*>(&m_cmdPanel2)}) {
        if (pane->Panel() != nullptr) ::SendMessageA(pane->Panel(), WM_CAD_CMD_NOTIFY, wParam, lParam);
    }
    return 0;
}

LRESULT CMainFrame::OnDropFiles(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    HDROP drop = reinterpret_cast<HDROP>(wParam);
    HWND view = FrameActiveView();
    if (view != nullptr && FrameIsLockedView(view)) {
        SetActiveWindow(m_hWnd);
        MessageBoxA(m_hWnd, GetMessageText(7473), "Loading...", MB_OK);
        DragFinish(drop);
        return 0;
    }
    PostMessage(WM_CAD_CANCEL_COMMAND);
    if (::IsIconic(m_hWnd)) ShowWindow(SW_RESTORE);
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        char path[MAX_PATH + 1] = {};
        if (DragQueryFileA(drop, i, path, sizeof path) == 0) continue;
        SendMessage(WM_CADDB_OPEN_FILE, 0, reinterpret_cast<LPARAM>(path));
    }
    DragFinish(drop);
    return 0;
}

LRESULT CMainFrame::OnBroadcast(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    SendToMdiDescendants(msg, wParam, lParam);
    return 0;
}

LRESULT CMainFrame::OnGetPanelWindow(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    switch (wParam) {
    case 0: return reinterpret_cast<LRESULT>(m_cmdPanel1.Panel());
    case 1: return reinterpret_cast<LRESULT>(m_drwPanel.Panel());
    case 2: return reinterpret_cast<LRESULT>(m_appPanel.Panel());
    // One window per pane: index 3 is the second command panel.
    case 3: return reinterpret_cast<LRESULT>(m_cmdPanel2.Panel());
    case 100: return reinterpret_cast<LRESULT>(m_statusBar.m_hWnd);
    default: return 0;
    }
}

LRESULT CMainFrame::OnNonClientButtonDown(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    FrameCloseRightMenu();
    bHandled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnGetAccelerator(UINT, WPARAM, LPARAM, BOOL&)
{
    return reinterpret_cast<LRESULT>(&m_accelerator);
}

LRESULT CMainFrame::OnSetDialogFilter(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (wParam != 100) return 0;
    HWND previous = m_dialogFilter;
    m_dialogFilter = reinterpret_cast<HWND>(lParam);
    return reinterpret_cast<LRESULT>(previous);
}

LRESULT CMainFrame::OnSysCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    UINT command = static_cast<UINT>(wParam) & 0xFFF0;
    if (GetCadSystem().GetStartMode() != 0 &&
        (command == SC_MOVE || command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE))
        return 0;
    if (command == SC_KEYMENU && lParam != 0) {
        // Alt and a letter open the command bar's menu with that mnemonic.
        int position = m_commandBar.FindMnemonic(static_cast<char>(lParam));
        if (position >= 0) {
            m_commandBar.DropDown(position);
            return 0;
        }
    }
    bHandled = FALSE;
    return 0;
}

int CMainFrame::IsPanelSlidingLocked()
{
    // The [System] setting iLockPanelSliding: 2 never, 1 always, otherwise while no pane
    // shows its caption.
    int setting = GetLocalSettingsLive().iLockPanelSliding;
    if (setting == 2) return 0;
    if (setting == 1) return 1;
    for (int i = 0; i < 4; ++i) {
        HWND panel = reinterpret_cast<HWND>(SendMessage(WM_CAD_GET_PANEL_WINDOW, i, 0));
        if (panel != nullptr && ::SendMessageA(::GetParent(panel), WM_COMMAND, kPaneQueryState, 0) == 1) return 0;
    }
    return 1;
}

// ---- message loop ----

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_dialogFilter != nullptr && ::IsWindow(m_dialogFilter) && ::IsDialogMessageA(m_dialogFilter, pMsg))
        return TRUE;
    if (FramePreTranslateKey(m_hWnd, pMsg, &m_accelerator)) return TRUE;
    if (m_hWndMDIClient == nullptr) return FALSE;
    // The application object keeps the accelerators away from a parameter panel's edit field.
    if (m_accelerator.Table() != nullptr && GetCadSystem().TranslateAccel(m_hWnd, m_accelerator.Table(), pMsg))
        return TRUE;
    if (::TranslateMDISysAccel(m_hWndMDIClient, pMsg)) return TRUE;
    HWND active = MDIGetActive();
    if (active != nullptr) return static_cast<BOOL>(::SendMessageA(active, 0x037F /* WM_FORWARDMSG */, 0, reinterpret_cast<LPARAM>(pMsg)));
    return FALSE;
}

BOOL CMainFrame::OnIdle()
{
    UIUpdateToolBar();
    UIUpdateStatusBar();
    HWND rebar = m_toolBars.Rebar();
    int toolbarVisible = 0;
    if (rebar != nullptr) {
        int index = static_cast<int>(::SendMessageA(rebar, RB_IDTOINDEX, kToolbarBandId, 0));
        if (index >= 0) {
            REBARBANDINFOA band = {};
            band.cbSize = sizeof band;
            band.fMask = RBBIM_STYLE;
            if (::SendMessageA(rebar, RB_GETBANDINFOA, index, reinterpret_cast<LPARAM>(&band)))
                toolbarVisible = !(band.fStyle & RBBS_HIDDEN);
        }
    }
    UISetCheck(kCmdToggleToolbar, toolbarVisible);
    UISetCheck(kCmdToggleStatusBar, m_statusBar.m_hWnd != nullptr && m_statusBar.IsWindowVisible());
    UISetCheck(kCmdPaneCommandMenu, m_cmdPanel1.IsVisible());
    UISetCheck(kCmdPaneDrawingOperations, m_drwPanel.IsVisible());
    UISetCheck(kCmdPaneDrawingMenu, m_appPanel.IsVisible());
    UISetCheck(kCmdPaneCommandMenu2, m_cmdPanel2.IsVisible());
    return FALSE;
}

StartWindowStyles ChooseStartWindowStyles(int startMode)
{
    StartWindowStyles styles = {CMainFrame::kDefaultStyle, CMainFrame::kDefaultExStyle};
    if (startMode >= 1 && startMode <= 3) {
        styles.style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;  // 0x06000000
        if (startMode == 2) styles.exStyle = WS_EX_TOPMOST;
    }
    return styles;
}
