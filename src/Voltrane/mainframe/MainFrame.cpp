#include "mainframe/MainFrame.h"

#include "WinKit/AppModule.h"
#include "mainframe/ProgramEntry.h"

namespace {
HWND g_mdiClientWnd = nullptr;
}  // namespace

HWND GetMdiClientWnd() { return g_mdiClientWnd; }

WinKit::CWndClassInfo& CMainFrame::GetWndClassInfo()
{
    // The class name is the one a second start of the program searches for.
    static WinKit::CWndClassInfo info = {
        {sizeof(WNDCLASSEXA), 0, WinKit::CWindowImplRoot::WindowProc, 0, 0, nullptr, nullptr,
         nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, kMainFrameClassName, nullptr},
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

HWND CMainFrame::CreateEx(HWND parent, const RECT* rect, DWORD style, DWORD exStyle,
                          void* createParam)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    char title[256] = {};
    LoadStringA(instance, IDR_MAINFRAME, title, sizeof title);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
    HWND hWnd = Create(parent, rect, title, style ? style : kDefaultStyle,
                       exStyle ? exStyle : kDefaultExStyle, menu, createParam);
    if (hWnd == nullptr && menu != nullptr) DestroyMenu(menu);
    return hWnd;
}

LRESULT CMainFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    m_showCommand = SW_SHOWNORMAL;
    CreateMDIClient();
    g_mdiClientWnd = m_hWndMDIClient;

    UIAddElement(ID_VIEW_TOOLBAR, UPDUI_MENUPOPUP);
    UIAddElement(ID_VIEW_STATUS_BAR, UPDUI_MENUPOPUP);
    UIAddMenuBar(m_hWnd);

    if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
    }
    DragAcceptFiles(m_hWnd, TRUE);
    PostMessage(WM_CAD_FRAME_STARTUP);
    return 0;
}

LRESULT CMainFrame::OnFrameStartup(UINT, WPARAM, LPARAM, BOOL&)
{
    CCadSystem& system = GetCadSystem();
    int showCommand = m_showCommand;
    system.AdjustShowCommand(&showCommand);
    // Without a stored layout the frame opens maximised.
    if (showCommand == SW_SHOWNORMAL) showCommand = SW_SHOWMAXIMIZED;
    if (!IsWindowVisible()) ShowWindow(showCommand);

    if (system.SubInitialize(m_hWnd, nullptr, m_commandLine.c_str()) < 0) {
        PostMessage(WM_CLOSE);
    }
    return 0;
}

LRESULT CMainFrame::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (wParam != SIZE_MINIMIZED && m_hWndMDIClient != nullptr) {
        RECT rc;
        GetClientRect(&rc);
        ::MoveWindow(m_hWndMDIClient, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, TRUE);
        return 0;
    }
    bHandled = FALSE;
    return 0;
}

LRESULT CMainFrame::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    g_mdiClientWnd = nullptr;
    // A normal run ends with exit code 1.
    PostQuitMessage(1);
    return 0;
}

LRESULT CMainFrame::OnFileExit(WORD, WORD, HWND, BOOL&)
{
    PostMessage(WM_CLOSE);
    return 0;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWndMDIClient != nullptr && TranslateMDISysAccel(m_hWndMDIClient, pMsg)) return TRUE;
    return FALSE;
}

BOOL CMainFrame::OnIdle()
{
    UIUpdateMenuBar();
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
