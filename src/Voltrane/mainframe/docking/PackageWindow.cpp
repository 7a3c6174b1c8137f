#include "mainframe/docking/PackageWindow.h"

#include <algorithm>

#include "mainframe/docking/DockingSettings.h"
#include "mainframe/docking/SplitterTracker.h"

namespace dockwins {

SIZE WindowMinSize(HWND window)
{
    MINMAXINFO info = {};
    if (window != nullptr) ::SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return {info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

CPackageWindow* CPackageWindow::CreateBar(HWND frame, bool horizontal)
{
    CPackageWindow* bar = new CPackageWindow(horizontal);
    RECT empty = {0, 0, 0, 0};
    if (bar->Create(frame, &empty, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN) == nullptr) {
        delete bar;
        return nullptr;
    }
    return bar;
}

int CPackageWindow::MinAlong(HWND window) const
{
    SIZE size = WindowMinSize(window);
    return m_package.Horizontal() ? size.cx : size.cy;
}

void CPackageWindow::RefreshMinimums()
{
    for (int i = 0; i < m_package.Count(); ++i)
        m_package.Slot(i).minimum = MinAlong(reinterpret_cast<HWND>(m_package.Slot(i).frame));
}

SIZE CPackageWindow::MinSize() const
{
    int along = 0, across = 0;
    for (int i = 0; i < m_package.Count(); ++i) {
        SIZE size = WindowMinSize(reinterpret_cast<HWND>(m_package.Slot(i).frame));
        along += (m_package.Horizontal() ? size.cx : size.cy) + kSplitterWidth;
        across = std::max<int>(across, m_package.Horizontal() ? size.cy : size.cx);
    }
    if (along > 0) along -= kSplitterWidth;
    return m_package.Horizontal() ? SIZE{along, across} : SIZE{across, along};
}

void CPackageWindow::UpdateLayout()
{
    RECT rc;
    GetClientRect(&rc);
    RefreshMinimums();
    int start = m_package.Horizontal() ? rc.left : rc.top;
    int end = m_package.Horizontal() ? rc.right : rc.bottom;
    int lower = start - kSplitterWidth;
    if (end - lower < m_package.Reserved()) end = lower + m_package.Reserved();
    m_package.SetRange(lower, end);
    Arrange();
}

void CPackageWindow::Arrange()
{
    RECT rc;
    GetClientRect(&rc);
    int count = m_package.Count();
    if (count == 0) return;
    HDWP defer = BeginDeferWindowPos(count);
    for (int i = 0; i < count && defer != nullptr; ++i) {
        int from = m_package.Slot(i).position + kSplitterWidth;
        int to = i + 1 < count ? m_package.Slot(i + 1).position : (m_package.Horizontal() ? rc.right : rc.bottom);
        RECT r = m_package.Horizontal() ? RECT{from, rc.top, to, rc.bottom} : RECT{rc.left, from, rc.right, to};
        defer = DeferWindowPos(defer, reinterpret_cast<HWND>(m_package.Slot(i).frame), nullptr, r.left, r.top,
                               r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (defer != nullptr) EndDeferWindowPos(defer);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CPackageWindow::Join(HWND window)
{
    ::ShowWindow(window, SW_HIDE);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD);
    ::SetParent(window, m_hWnd);
    ::SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    ::SendMessageA(window, WM_USER, (static_cast<WPARAM>(m_package.Horizontal()) << 16) | 1,
                   reinterpret_cast<LPARAM>(m_hWnd));
}

void CPackageWindow::Leave(HWND window)
{
    ::ShowWindow(window, SW_HIDE);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, (style & ~WS_CHILD) | WS_POPUP);
    ::SetParent(window, nullptr);
    ::SendMessageA(window, WM_USER, 0, reinterpret_cast<LPARAM>(m_hWnd));
}

void CPackageWindow::ShowJoined(HWND window)
{
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

LRESULT CPackageWindow::OnDockRequest(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    auto* header = reinterpret_cast<DockRequestHeader*>(lParam);
    if (header == nullptr) return 0;
    HWND window = FieldHandle(header->window);
    INT_PTR key = reinterpret_cast<INT_PTR>(window);
    bool horizontal = m_package.Horizontal();
    switch (header->code) {
    case DOCKREQ_HITTEST: {
        auto* request = reinterpret_cast<DockTargetRequest*>(lParam);
        RECT client;
        GetClientRect(&client);
        RefreshMinimums();
        POINT point = {request->rect.left, request->rect.top};
        ::ScreenToClient(m_hWnd, &point);
        SIZE minimum = WindowMinSize(window);
        if (!BarAcceptsDrop(m_package, key, client, point, minimum.cx, minimum.cy)) {
            header->target = 0;
            return 0;
        }
        RECT screen = client;
        MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&screen), 2);
        if (horizontal) {
            request->rect.top = screen.top;
            request->rect.bottom = screen.bottom;
        } else {
            request->rect.left = screen.left;
            request->rect.right = screen.right;
        }
        header->target = HandleField(m_hWnd);
        return 1;
    }
    case DOCKREQ_DOCK: {
        auto* request = reinterpret_cast<DockTargetRequest*>(lParam);
        RECT r = request->rect;
        MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        Join(window);
        RefreshMinimums();
        int start = horizontal ? r.left : r.top;
        int length = horizontal ? r.right - r.left : r.bottom - r.top;
        m_package.AddAt(start, length, MinAlong(window), key);
        Arrange();
        ShowJoined(window);
        return 1;
    }
    case DOCKREQ_UNDOCK: {
        int slot = m_package.Find(key);
        if (slot < 0) return 0;
        m_package.Remove(slot);
        Arrange();
        Leave(window);
        if (m_package.Count() == 0) {
            DockRequestHeader remove = {HandleField(m_hWnd), HandleField(GetParent()), DOCKREQ_UNDOCK};
            SendDockRequest(GetParent(), &remove);
            ShowWindow(SW_HIDE);
            PostMessage(WM_CLOSE);
        }
        return 1;
    }
    case DOCKREQ_GETPOS: {
        auto* position = reinterpret_cast<DockPosition*>(lParam);
        BarPosition bar;
        if (!BarGetPosition(m_package, key, &bar)) return 0;
        position->ratio = bar.ratio;
        position->extent = bar.extent;
        if (bar.alone) position->side |= kSideOwnBar;
        return 1;
    }
    case DOCKREQ_SETPOS: {
        auto* position = reinterpret_cast<DockPosition*>(lParam);
        Join(window);
        RefreshMinimums();
        BarSetPosition(m_package, key, position->ratio, position->extent, MinAlong(window));
        Arrange();
        ShowJoined(window);
        return 1;
    }
    case DOCKREQ_MINEXTENT:
        return MinAlong(window);
    default:
        return 0;
    }
}

LRESULT CPackageWindow::OnSize(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam != SIZE_MINIMIZED) UpdateLayout();
    return 0;
}

LRESULT CPackageWindow::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT rc;
    GetClientRect(&rc);
    PaintSplitters(dc, m_package, rc);
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CPackageWindow::OnSetCursor(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    POINT pt;
    GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    if (reinterpret_cast<HWND>(wParam) != m_hWnd || LOWORD(lParam) != HTCLIENT ||
        SplitterAt(m_package, m_package.Horizontal() ? pt.x : pt.y) < 0) {
        bHandled = FALSE;
        return 0;
    }
    const DockingSettings& settings = GetDockingSettings();
    SetCursor(m_package.Horizontal() ? settings.cursorWE : settings.cursorNS);
    return 1;
}

LRESULT CPackageWindow::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info == nullptr) return 0;
    SIZE size = MinSize();
    info->ptMinTrackSize.x = size.cx;
    info->ptMinTrackSize.y = size.cy;
    return 0;
}

LRESULT CPackageWindow::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RefreshMinimums();
    int slot = SplitterAt(m_package, m_package.Horizontal() ? pt.x : pt.y);
    if (slot < 0) {
        bHandled = FALSE;
        return 0;
    }
    RECT rc;
    GetClientRect(&rc);
    TrackSplitter(m_hWnd, m_package, slot, pt, rc, (GetDockingSettings().dragFlags & kDragGhost) != 0,
                  [this] { Arrange(); });
    return 0;
}

}  // namespace dockwins
