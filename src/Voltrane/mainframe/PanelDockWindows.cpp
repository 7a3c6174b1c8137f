#include "mainframe/PanelDockWindows.h"

#include <cstring>

#include "CommandIds.h"

#include "core/CadSystem.h"
#include "core/LocalSettings.h"

int& PanelCaptionSetting() { return GetLocalSettingsLive().iPanelCaption; }

LRESULT CPanelSeat::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    RECT rc;
    GetClientRect(&rc);
    HBRUSH brush = CreateSolidBrush(GetCadSystem().config.color.COLOR_PANEL.value);
    FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
    DeleteObject(brush);
    return 1;
}

HWND CPanelDockWindow::CreateInner(HWND pane, HMENU id)
{
    return m_panel.Create(pane, nullptr, nullptr, WS_CHILD | WS_VISIBLE, 0, id);
}

HWND CPanelDockWindow::CreatePane(HWND frame, const char* caption, int width, int extent)
{
    m_dock.SetFrame(frame);
    RECT rc = {0, 0, width, extent};
    return Create(frame, &rc, caption, kStyle, WS_EX_TOOLWINDOW);
}

LRESULT CPanelDockWindow::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    m_dock.Attach(m_hWnd);
    m_inner = CreateInner(m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_panelId)));
    ApplyCaptionBit();
    return 0;
}

HWND CCmdPanelDockWin::CreateInner(HWND pane, HMENU id)
{
    RECT rc = {0, 0, 0, 0};
    return m_cmdPanel.Create(pane, &rc, nullptr, CCmdPanel::GetWndStyle(0), 0, id);
}

void CPanelDockWindow::ApplyCaptionBit()
{
    LONG style = GetWindowLongA(m_hWnd, GWL_STYLE);
    LONG wanted = (PanelCaptionSetting() & m_captionBit) ? (style | WS_CAPTION) : (style & ~WS_CAPTION);
    if (wanted != style) {
        SetWindowLongA(m_hWnd, GWL_STYLE, wanted);
        SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

LRESULT CPanelDockWindow::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (wParam != SIZE_MINIMIZED && m_inner != nullptr) {
        RECT rc;
        GetClientRect(&rc);
        ::SetWindowPos(m_inner, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOACTIVATE | SWP_NOZORDER);
    }
    bHandled = FALSE;
    return 0;
}

LRESULT CPanelDockWindow::OnPaint(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    if (!m_commandPanel) {
        bHandled = FALSE;
        return 0;
    }
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT rc;
    GetClientRect(&rc);
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 184));
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CPanelDockWindow::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info != nullptr) {
        if (m_freezeFlags & 1) info->ptMinTrackSize.x = m_minWidth;
        if (m_freezeFlags & 2) info->ptMinTrackSize.y = m_minHeight;
    }
    return 0;
}

int CPanelDockWindow::QueryState() const
{
    if (!IsVisible()) return -1;
    if (m_dock.IsDocked() && m_dock.IsPinned()) return 0;
    return (GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION ? 1 : 2;
}

void CPanelDockWindow::Freeze()
{
    m_freezeFlags = 0;
    m_minWidth = 0;
    m_minHeight = 0;
    dockwins::DockingWindowPlacement placement;
    m_dock.ReadPlacement(&placement);
    bool visible = m_dock.IsVisible();
    if (!placement.docked || !visible) placement.position = m_dock.StoredPosition();
    if (!visible || !placement.docked) return;
    int sideValue = placement.position.side & dockwins::kSideMask;
    if (sideValue == kDockRight || sideValue == kDockLeft) {
        m_freezeFlags |= 1;
        m_minWidth = placement.position.barWidth;
    } else {
        m_freezeFlags |= 2;
        m_minHeight = placement.position.barWidth;
    }
}

LRESULT CPanelDockWindow::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    switch (LOWORD(wParam)) {
    case kPaneToggleCaption: {
        // While pinned only the frame hears of it; otherwise the caption and its bit flip.
        UINT code = 1000;
        if (!(m_dock.IsDocked() && m_dock.IsPinned())) {
            PanelCaptionSetting() ^= m_captionBit;
            ApplyCaptionBit();
            SendMessage(WM_SETTINGCHANGE, 0, 0);
            code = (PanelCaptionSetting() & m_captionBit) ? 1002 : 1001;
        }
        NMHDR notice = {m_hWnd, static_cast<UINT_PTR>(::GetDlgCtrlID(m_hWnd)), code};
        if (m_dock.Frame() != nullptr)
            ::SendMessageA(m_dock.Frame(), WM_NOTIFY, notice.idFrom, reinterpret_cast<LPARAM>(&notice));
        return 1;
    }
    case kPaneQueryState:
        return QueryState();
    case kPaneUnfreeze:
        m_freezeFlags = 0;
        m_minWidth = 0;
        m_minHeight = 0;
        return 1;
    case kPaneFreeze:
        Freeze();
        return 1;
    default:
        return 0;
    }
}

int GetPanelCaptionColors(int mode, int flags, const char* title, COLORREF* background, COLORREF* text)
{
    if (title == nullptr) return 0;
    static const char kCommandMenu[] = "コマンドメニュー";
    COLORREF back;
    if (strcmp(title, "基本操作") == 0) {
        back = 0x808000;
    } else if (strcmp(title, "作図メニュー") == 0) {
        back = 0xFF8000;
    } else if (strncmp(title, kCommandMenu, sizeof kCommandMenu - 1) == 0) {
        if (mode == 1 && ((flags & 3) == 0 || (flags & 3) == 2)) return 0;
        back = strcmp(title, kCommandMenu) == 0 ? 0x00C8FF : 0x0080FF;
    } else {
        return 0;
    }
    if (background != nullptr) *background = back;
    if (text != nullptr) *text = 0xFFFFFF;
    return 1;
}
