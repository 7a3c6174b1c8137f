#include "view/RiririFrame.h"

#include <cstdio>
#include <vector>

#include "DravikDb.h"
#include "commands/ElementServices.h"
#include "commands/PluginModules.h"
#include "commands/SystemCommandDispatcher.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/MessageCatalog.h"
#include "core/SystemLog.h"
#include "mainframe/MainAccelerator.h"
#include "mainframe/MainFrame.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"

namespace {

constexpr UINT_PTR kCloseRetryTimer = 0x52;
constexpr UINT kCloseRetryPeriod = 200;  // milliseconds between tries once the quick tries are used
int g_closeRetries = 0;

}  // namespace

int& DrawingCloseRetryCount() { return g_closeRetries; }

void FormatSaveQuestion(char* out, size_t size, const char* caption, const char* question)
{
    char text[1024];
    std::snprintf(text, sizeof text, "%s\n\n%s\n\n[はい]----保存する\n[いいえ]--保存しない\n[ｷｬﾝｾﾙ]--終了しない",
                  caption ? caption : "", question ? question : "");
    DbcsCopy(out, size, text);
}

WinKit::CWndClassInfo& CRiririFrame::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = {
        {sizeof(WNDCLASSEXA), CS_DBLCLKS, WinKit::CWindowImplRoot::WindowProc, 0, 0, nullptr, nullptr, nullptr,
         reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "RiririFrame", nullptr},
        nullptr, 0, nullptr};
    if (info.wc.hIcon == nullptr) info.wc.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(128));
    return info;
}

CRiririFrame::~CRiririFrame()
{
    if (m_accelerator != nullptr) DestroyAcceleratorTable(m_accelerator);
}

HWND CRiririFrame::CreateEx(HWND mdiClient, const RECT* rect, const char* title)
{
    BOOL maximized = FALSE;
    HWND active = reinterpret_cast<HWND>(::SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    if (active != nullptr) GetCadSystem().mdiMaximized = maximized ? 1 : 0;
    else maximized = GetCadSystem().mdiMaximized ? TRUE : FALSE;
    HWND frame = nullptr;
    if (maximized) {
        ::SendMessageA(mdiClient, WM_SETREDRAW, FALSE, 0);
        frame = CreateChild(mdiClient, rect, title ? title : "", 0, 0);
        if (frame != nullptr) ::SendMessageA(mdiClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame), 0);
        ::SendMessageA(mdiClient, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(mdiClient, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_ERASE);
    } else {
        frame = CreateChild(mdiClient, rect, title ? title : "", 0, 0);
    }
    if (frame == nullptr) return nullptr;
    CMainAccelerator reader;
    std::vector<ACCEL> entries;
    reader.ReadKeyFile("RovOdidov.key", entries, 0, 0);
    if (!entries.empty()) m_accelerator = CreateAcceleratorTableA(entries.data(), static_cast<int>(entries.size()));
    return frame;
}

int EdgeButtonThickness(int screenHeight) { return screenHeight > 1024 ? 26 : 20; }

void CRiririFrame::CreateEdgeButtons()
{
    const int scrollIds[4] = {1000, 1001, 1002, 1003};
    const CRiririScrollButton::Kind scrollKinds[4] = {CRiririScrollButton::kUp, CRiririScrollButton::kDown,
                                                      CRiririScrollButton::kLeft, CRiririScrollButton::kRight};
    const COLORREF text = GetSysColor(COLOR_WINDOWTEXT), face = GetSysColor(COLOR_BTNFACE);
    for (int pair = 0; pair < 4; ++pair) {
        for (int side = 0; side < 2; ++side) {
            m_scrollButtons[pair][side].CreateButton(m_hWnd, scrollIds[pair], scrollKinds[pair], nullptr,
                                                     CRiririScrollButton::kHover | CRiririScrollButton::kEdge3d |
                                                         CRiririScrollButton::kAutoRepeat,
                                                     text, face);
        }
    }
    const char* texts[3] = {"拡大", "基準", "縮小"};
    const int zoomIds[3] = {1004, 1006, 1005};
    for (int edge = 0; edge < 4; ++edge) {
        const auto kind = edge >= 2 ? CRiririScrollButton::kVerticalText : CRiririScrollButton::kText;
        for (int k = 0; k < 3; ++k) {
            m_zoomButtons[edge][k].CreateButton(m_hWnd, zoomIds[k], kind, texts[k],
                                                CRiririScrollButton::kHover | CRiririScrollButton::kEdge3d |
                                                    CRiririScrollButton::kKeepStyle,
                                                text, face);
        }
    }
}

LRESULT CRiririFrame::OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    CreateEdgeButtons();
    m_view.SetDatabase(&m_database);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    m_view.Create(m_hWnd, &client, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                  WS_EX_CLIENTEDGE);
    bHandled = FALSE;
    return 0;
}

void CRiririFrame::Layout()
{
    if (m_view.m_hWnd == nullptr) return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    const int W = client.right, H = client.bottom;
    ::MoveWindow(m_view.m_hWnd, 0, 0, W, H, TRUE);
    bool allMade = true;
    for (auto& edge : m_zoomButtons)
        for (auto& button : edge) allMade = allMade && button.m_hWnd != nullptr;
    for (auto& pair : m_scrollButtons)
        for (auto& button : pair) allMade = allMade && button.m_hWnd != nullptr;
    if (allMade) {
        const int T = EdgeButtonThickness(GetSystemMetrics(SM_CYSCREEN));
        const int halfW = (W - 144) / 2, halfH = (H - 144) / 2;
        auto place = [](CRiririScrollButton& b, int x, int y, int w, int h) {
            ::SetWindowPos(b.m_hWnd, HWND_TOP, x, y, w > 0 ? w : 0, h > 0 ? h : 0, SWP_NOACTIVATE);
        };
        // Top and bottom: a scroll button on each side of the three zoom buttons.
        for (int edge = 0; edge < 2; ++edge) {
            const int y = edge == 0 ? 0 : H - T;
            place(m_scrollButtons[edge][0], 0, y, halfW, T);
            place(m_scrollButtons[edge][1], halfW + 144, y, halfW, T);
            for (int k = 0; k < 3; ++k) place(m_zoomButtons[edge][k], halfW + 48 * k, y, 48, T);
        }
        // Left and right, the same standing up.
        for (int edge = 2; edge < 4; ++edge) {
            const int x = edge == 2 ? 0 : W - T;
            place(m_scrollButtons[edge][0], x, 0, T, halfH);
            place(m_scrollButtons[edge][1], x, halfH + 144, T, halfH);
            for (int k = 0; k < 3; ++k) place(m_zoomButtons[edge][k], x, halfH + 48 * k, T, 48);
        }
    }
    for (int edge = 0; edge < 4; ++edge) {
        const bool shown = allMade && m_stripEnabled == 1 && (m_edgeMask & (1 << edge)) != 0;
        const int command = shown ? SW_SHOWNA : SW_HIDE;
        for (auto& button : m_zoomButtons[edge])
            if (button.m_hWnd) ::ShowWindow(button.m_hWnd, command);
        for (auto& button : m_scrollButtons[edge])
            if (button.m_hWnd) ::ShowWindow(button.m_hWnd, command);
    }
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CRiririFrame::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    Layout();
    bHandled = FALSE;
    return 0;
}

LRESULT CRiririFrame::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&)
{
    if (m_view.m_hWnd != nullptr) ::SetFocus(m_view.m_hWnd);
    return 0;
}

LRESULT CRiririFrame::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (wParam != kCloseRetryTimer) {
        bHandled = FALSE;
        return 0;
    }
    ::KillTimer(m_hWnd, kCloseRetryTimer);
    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CRiririFrame::OnClose(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    // The cancel word of the close-all loop is written only for the address that loop
    // registered; any other lParam is no address of ours.
    LONG* cancel = nullptr;
    if (wParam == 100 && lParam != 0 && reinterpret_cast<LONG*>(lParam) == GetFrameFlags().closeAllCancel) {
        cancel = reinterpret_cast<LONG*>(lParam);
        *cancel = 0;
    }
    ShowCursorCoordinates(nullptr);
    CloseInputScaleWindow();
    DrawLastPointCursor(0, 0, 0);

    if (!IsKeepCommandOnClose()) {
        if (HWND main = GetMainFrameWnd()) ::SendMessageA(main, WM_CAD_CANCEL_COMMAND, 0, 0);
        if (IsPluginCommandRunning()) {
            // The window and its database stay while a plug-in command runs: it may be using
            // them. The close is tried again once the command has had its chance to end.
            TakeCloseNowFlag();
            if (g_closeRetries < 10) {
                ++g_closeRetries;
                if (msg == WM_QUERYENDSESSION) {
                    if (HWND main = GetMainFrameWnd()) ::PostMessageA(main, WM_CLOSE, 0, 0);
                } else {
                    ::PostMessageA(m_hWnd, WM_CLOSE, 0, 0);
                }
            } else {
                if (g_closeRetries == 10) {
                    WriteSystemLog(0, "Warning", "終了時にコマンドがメモリに残っています EndCount=%ld",
                                   static_cast<long>(g_closeRetries));
                    ++g_closeRetries;
                }
                ::SetTimer(m_hWnd, kCloseRetryTimer, kCloseRetryPeriod, nullptr);
            }
            return 0;
        }
        TakeCloseNowFlag();
    }
    g_closeRetries = 0;
    NotifyToolPanelDrawingChanged();
    if (msg == WM_QUERYENDSESSION) GetFrameFlags().shutdownPending = 1;

    HWND view = m_view.m_hWnd;
    // A close that arrives while this window's save question or save dialog is open (their
    // message loops pass it on) would destroy the drawing under them: it is dropped.
    static HWND s_asking = nullptr;
    if (s_asking == m_hWnd) return 0;
    if (IsSavePromptNeeded(view, GetFrameFlags().closingAll)) {
        s_asking = m_hWnd;
        char caption[600] = {};
        ::GetWindowTextA(m_hWnd, caption, sizeof caption);
        char text[1024];
        FormatSaveQuestion(text, sizeof text, caption, GetMessageText(5001));
        char title[128];
        std::snprintf(title, sizeof title, "%-50s", GetCadSystem().config.TT.c_str());
        const int answer = ::MessageBoxA(m_hWnd, text, title, MB_YESNOCANCEL | MB_ICONQUESTION);
        bool keep = answer == IDCANCEL;
        if (answer == IDYES && SaveDrawing(view, 1) == 0) keep = true;
        s_asking = nullptr;
        if (keep) {
            ClearSavePromptList();
            GetFrameFlags().shutdownPending = 0;
            if (cancel != nullptr) *cancel = 1;
            return 0;
        }
    }
    ReleaseDrawingView(view);
    char handle[24];
    std::snprintf(handle, sizeof handle, "%ld", static_cast<long>(reinterpret_cast<LONG_PTR>(m_hWnd)));
    RunEventCommandQuietly(4041, handle);
    ZUriClearDustMemory();
    if (msg == WM_CLOSE) {
        RefreshToolPanelDrawingInfo();
        RefreshToolPanelPaperAndScale();
    }
    WriteSystemLogText(2, "Cad Window", "CAD画面を閉じる");
    GetFrameFlags().auxViewRefresh = 1;
    if (CountTableViews() == 0) {
        if (HWND panel = GetToolPanelWindow()) ::PostMessageA(panel, WM_COMMAND, MAKEWPARAM(3311, 2), 0);
        // A host service asked for the closing event command once the last drawing has gone.
        if (GetElementServiceState().eventSwitch == 1) RunDrawingEventCommand(nullptr, 3);
    }
    if (HWND main = GetMainFrameWnd()) ::PostMessageA(main, WM_CAD_FOCUS_INPUT, 0, 0);
    if (HWND client = GetMdiClientWnd()) {
        BOOL maximized = FALSE;
        if (::SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)) != 0) {
            GetCadSystem().mdiMaximized = maximized ? 1 : 0;
        }
    }
    bHandled = FALSE;  // the MDI child's default handling destroys the window
    return 0;
}

LRESULT CRiririFrame::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    HWND view = m_view.m_hWnd;
    switch (LOWORD(wParam)) {
    case 1000: ::PostMessageA(view, WM_VSCROLL, SB_LINEUP, 0); return 0;
    case 1001: ::PostMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0); return 0;
    case 1002: ::PostMessageA(view, WM_HSCROLL, SB_LINELEFT, 0); return 0;
    case 1003: ::PostMessageA(view, WM_HSCROLL, SB_LINERIGHT, 0); return 0;
    case 1004: case 1005: case 1006: ::PostMessageA(view, WM_COMMAND, LOWORD(wParam), 0); return 0;
    case 1050:
        m_stripEnabled = HIWORD(wParam) != 0 ? 1 : 0;
        Layout();
        return 0;
    case 1051:
        m_edgeMask = HIWORD(wParam);
        Layout();
        return 0;
    default:
        bHandled = FALSE;
        return 0;
    }
}

LRESULT CRiririFrame::OnMdiActivate(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    bHandled = FALSE;
    if (m_view.m_hWnd == nullptr) return 0;
    HWND deactivated = reinterpret_cast<HWND>(wParam), activated = reinterpret_cast<HWND>(lParam);
    if (m_view.OnMdiActivate(deactivated, activated) == -1 && deactivated != nullptr) {
        ::SetWindowPos(deactivated, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
    return 0;
}

LRESULT CRiririFrame::OnForwardMsg(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    MSG* msg = reinterpret_cast<MSG*>(lParam);
    if (msg == nullptr || m_accelerator == nullptr) return FALSE;
    // The commands of the drawing window's keys go the way of every command: to the main frame.
    HWND main = GetMainFrameWnd();
    return main != nullptr && TranslateAcceleratorA(main, m_accelerator, msg) ? TRUE : FALSE;
}
