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

HWND CPanelDockWindow::CreatePane(HWND frame, const char* caption, int width, int extentValue)
{
    RECT rc = {0, 0, width, extentValue};
    return Create(frame, &rc, caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER);
}

LRESULT CPanelDockWindow::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    m_panel.Create(m_hWnd, nullptr, nullptr, WS_CHILD | WS_VISIBLE, 0,
                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(m_panelId)));
    ApplyCaptionBit();
    return 0;
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

void CPanelDockWindow::Toggle()
{
    ShowWindow(IsVisible() ? SW_HIDE : SW_SHOWNA);
    ::SendMessageA(GetParent(), WM_SIZE, SIZE_RESTORED, 0);
}

LRESULT CPanelDockWindow::OnSize(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (wParam != SIZE_MINIMIZED && m_panel.m_hWnd != nullptr) {
        RECT rc;
        GetClientRect(&rc);
        ::SetWindowPos(m_panel.m_hWnd, nullptr, 0, 0, rc.right, rc.bottom, SWP_NOACTIVATE | SWP_NOZORDER);
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
    // A plain frame is never pinned to an auto-hide bar.
    return (GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION ? 1 : 2;
}

void CPanelDockWindow::Freeze()
{
    m_freezeFlags = 0;
    m_minWidth = 0;
    m_minHeight = 0;
    if (!IsVisible()) return;
    if (side == kDockRight || side == kDockLeft) {
        m_freezeFlags |= 1;
        m_minWidth = barWidth;
    } else {
        m_freezeFlags |= 2;
        m_minHeight = barWidth;
    }
}

LRESULT CPanelDockWindow::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    switch (LOWORD(wParam)) {
    case kPaneToggleCaption:
        PanelCaptionSetting() ^= m_captionBit;
        ApplyCaptionBit();
        ::SendMessageA(GetParent(), WM_SIZE, SIZE_RESTORED, 0);
        return 1;
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

void CPaneDockHost::DockPane(CPanelDockWindow* pane, int side, int /*bar*/, int /*ratio*/, int width, int extent)
{
    if (pane == nullptr) return;
    pane->side = side & 3;
    pane->barWidth = width;
    pane->extent = extent;
    for (int i = 0; i < m_count; ++i) {
        if (m_panes[i] == pane) return;
    }
    if (m_count < kMaxPanes) m_panes[m_count++] = pane;
}

RECT CPaneDockHost::LayOut(const RECT& area)
{
    RECT rest = area;
    // Top and bottom bars span the width; the side bars share the height between them.
    for (int i = 0; i < m_count; ++i) {
        CPanelDockWindow* pane = m_panes[i];
        if (!pane->IsVisible() || (pane->side != kDockTop && pane->side != kDockBottom)) continue;
        int height = pane->extent;
        if (height > (rest.bottom - rest.top) / 2) height = (rest.bottom - rest.top) / 2;
        if (pane->side == kDockTop) {
            ::MoveWindow(pane->m_hWnd, rest.left, rest.top, rest.right - rest.left, height, TRUE);
            rest.top += height;
        } else {
            ::MoveWindow(pane->m_hWnd, rest.left, rest.bottom - height, rest.right - rest.left, height, TRUE);
            rest.bottom -= height;
        }
    }
    for (int sideIndex : {kDockRight, kDockLeft}) {
        CPanelDockWindow* column[kMaxPanes];
        int count = 0;
        int width = 0;
        for (int i = 0; i < m_count; ++i) {
            CPanelDockWindow* pane = m_panes[i];
            if (pane->IsVisible() && pane->side == sideIndex) {
                column[count++] = pane;
                if (pane->barWidth > width) width = pane->barWidth;
            }
        }
        if (count == 0) continue;
        if (width > (rest.right - rest.left) / 2) width = (rest.right - rest.left) / 2;
        int x = sideIndex == kDockRight ? rest.right - width : rest.left;
        // The first pane of a column keeps its extent; the last one takes what is left.
        int y = rest.top;
        for (int i = 0; i < count; ++i) {
            int height = i + 1 == count ? rest.bottom - y : column[i]->extent;
            if (y + height > rest.bottom) height = rest.bottom - y;
            ::MoveWindow(column[i]->m_hWnd, x, y, width, height, TRUE);
            y += height;
        }
        if (sideIndex == kDockRight) rest.right -= width;
        else rest.left += width;
    }
    return rest;
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
