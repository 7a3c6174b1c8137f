#include "mainframe/docking/DockingFrame.h"

#include <algorithm>

#include "mainframe/docking/DockingSettings.h"
#include "mainframe/docking/PackageWindow.h"
#include "mainframe/docking/SplitterTracker.h"

namespace dockwins {

namespace {

int Along(const CWndFramesPackageBase& p, const RECT& r, bool end)
{
    return p.Horizontal() ? (end ? r.right : r.left) : (end ? r.bottom : r.top);
}

}  // namespace

CDockingFrameImplBase::CDockingFrameImplBase() : m_outer(false), m_inner(true) {}

void CDockingFrameImplBase::Attach(HWND frame, const HWND* clientWnd, std::function<bool()> slidingLocked)
{
    m_frame = frame;
    m_clientWnd = clientWnd;
    m_slidingLocked = std::move(slidingLocked);
}

BOOL CDockingFrameImplBase::InitDockingLayout(DWORD dragFlags)
{
    GetDockingSettings().dragFlags = dragFlags;
    RefreshDockingSettings();
    bool autoHide = m_frame != nullptr && m_autoHide.Initialize(m_frame, m_slidingLocked);
    RECT rc = {0, 0, 0, 0};
    if (m_frame != nullptr) GetClientRect(m_frame, &rc);
    m_outer.rect = rc;
    m_inner.rect = rc;
    if (m_outer.base.Count() == 0) {
        m_outer.base.SetRange(rc.top - kSplitterWidth, rc.bottom);
        m_outer.base.Insert(0, rc.top - kSplitterWidth, rc.bottom - rc.top + kSplitterWidth, 0, kInnerFrame);
        m_outer.base.SetCentral(0);
        m_inner.base.SetRange(rc.left - kSplitterWidth, rc.right);
        m_inner.base.Insert(0, rc.left - kSplitterWidth, rc.right - rc.left + kSplitterWidth, 0, kClientFrame);
        m_inner.base.SetCentral(0);
    }
    return autoHide ? TRUE : FALSE;
}

SIZE CDockingFrameImplBase::FrameMinSize(INT_PTR frame)
{
    if (frame == kClientFrame) {
        HWND client = m_clientWnd != nullptr ? *m_clientWnd : nullptr;
        return client != nullptr ? WindowMinSize(client) : SIZE{0, 0};
    }
    if (frame == kInnerFrame) {
        int along = 0, across = 0;
        for (int i = 0; i < m_inner.base.Count(); ++i) {
            SIZE size = FrameMinSize(m_inner.base.Slot(i).frame);
            along += size.cx + kSplitterWidth;
            across = std::max<int>(across, size.cy);
        }
        if (along > 0) along -= kSplitterWidth;
        return {along, across};
    }
    return WindowMinSize(reinterpret_cast<HWND>(frame));
}

void CDockingFrameImplBase::RefreshMinimums(SubPackage& package)
{
    for (int i = 0; i < package.base.Count(); ++i) {
        SIZE size = FrameMinSize(package.base.Slot(i).frame);
        package.base.Slot(i).minimum = package.base.Horizontal() ? size.cx : size.cy;
    }
}

void CDockingFrameImplBase::LayOutPackage(SubPackage& package, const RECT& rect)
{
    if (EqualRect(&rect, &package.rect) && package.base.Upper() != package.base.Lower()) {
        Arrange(package);
        return;
    }
    package.rect = rect;
    RefreshMinimums(package);
    int lower = Along(package.base, rect, false) - kSplitterWidth;
    int upper = Along(package.base, rect, true);
    if (upper - lower < package.base.Reserved()) upper = lower + package.base.Reserved();
    package.base.SetRange(lower, upper);
    Arrange(package);
}

void CDockingFrameImplBase::UpdateLayout(const RECT& area)
{
    if (m_outer.base.Count() == 0) return;
    m_area = area;
    RECT docking = area;
    if (m_autoHide.m_hWnd != nullptr) {
        HDC dc = GetDC(m_frame);
        docking = m_autoHide.LayOut(dc, area);
        ReleaseDC(m_frame, dc);
    }
    LayOutPackage(m_outer, docking);
}

void CDockingFrameImplBase::Arrange(SubPackage& package)
{
    const CWndFramesPackageBase& p = package.base;
    const RECT& rc = package.rect;
    HDWP defer = BeginDeferWindowPos(p.Count());
    RECT innerRect = {0, 0, 0, 0};
    bool inner = false;
    for (int i = 0; i < p.Count() && defer != nullptr; ++i) {
        int from = p.Slot(i).position + kSplitterWidth;
        int to = i + 1 < p.Count() ? p.Slot(i + 1).position : Along(p, rc, true);
        RECT r = p.Horizontal() ? RECT{from, rc.top, to, rc.bottom} : RECT{rc.left, from, rc.right, to};
        INT_PTR frame = p.Slot(i).frame;
        if (frame == kInnerFrame) {
            innerRect = r;
            inner = true;
            continue;
        }
        HWND window = frame == kClientFrame ? (m_clientWnd != nullptr ? *m_clientWnd : nullptr)
                                            : reinterpret_cast<HWND>(frame);
        if (window == nullptr) continue;
        defer = DeferWindowPos(defer, window, nullptr, r.left, r.top, std::max<LONG>(0, r.right - r.left),
                               std::max<LONG>(0, r.bottom - r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (defer != nullptr) EndDeferWindowPos(defer);
    if (inner) LayOutPackage(m_inner, innerRect);
}

SIZE CDockingFrameImplBase::MinSize()
{
    RefreshMinimums(m_outer);
    int along = 0, across = 0;
    for (int i = 0; i < m_outer.base.Count(); ++i) {
        SIZE size = FrameMinSize(m_outer.base.Slot(i).frame);
        along += size.cy + kSplitterWidth;
        across = std::max<int>(across, size.cx);
    }
    if (along > 0) along -= kSplitterWidth;
    // One bar thickness for every edge whose auto-hide bar holds labels.
    for (int side = 0; side < kAutoHideBars; ++side) {
        if (m_autoHide.Bar(side).labels.empty()) continue;
        if (side & kSideVertical) across += m_autoHide.BarThickness();
        else along += m_autoHide.BarThickness();
    }
    return {across, along};
}

void CDockingFrameImplBase::Redraw()
{
    if (m_frame == nullptr) return;
    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN;
    if (m_clientWnd == nullptr || *m_clientWnd == nullptr) flags |= RDW_ERASE;
    RedrawWindow(m_frame, nullptr, nullptr, flags);
}

HWND CDockingFrameImplBase::NewBar(SubPackage& package, int place, int start, int extent)
{
    CPackageWindow* bar = CPackageWindow::CreateBar(m_frame, !package.base.Horizontal());
    if (bar == nullptr) return nullptr;
    RefreshMinimums(package);
    package.base.InsertBesideCentral(place, start, extent, 0, reinterpret_cast<INT_PTR>(bar->m_hWnd));
    Arrange(package);
    return bar->m_hWnd;
}

bool CDockingFrameImplBase::HitTest(SubPackage& package, DockTargetRequest* request, POINT point, SIZE dragMin)
{
    CWndFramesPackageBase& p = package.base;
    RefreshMinimums(package);
    const RECT& rc = package.rect;
    bool horizontal = p.Horizontal();
    int a = horizontal ? point.x : point.y;
    int b = horizontal ? point.y : point.x;
    int dragged = horizontal ? request->rect.right - request->rect.left : request->rect.bottom - request->rect.top;
    FrameDrop drop = FrameDropTest(p, Along(p, rc, false), Along(p, rc, true), horizontal ? rc.top : rc.left,
                                   horizontal ? rc.bottom : rc.right, a, b, horizontal ? dragMin.cx : dragMin.cy,
                                   horizontal ? dragMin.cy : dragMin.cx, dragged);
    if (drop.kind == FrameDrop::Refused) return false;
    if (drop.kind == FrameDrop::OverBar) {
        HWND bar = reinterpret_cast<HWND>(p.Slot(drop.place).frame);
        RECT screen = request->rect;
        MapWindowPoints(m_frame, nullptr, reinterpret_cast<POINT*>(&screen), 2);
        request->rect = screen;
        request->hdr.target = HandleField(bar);
        bool accepted = SendDockRequest(bar, request) != 0;
        screen = request->rect;
        MapWindowPoints(nullptr, m_frame, reinterpret_cast<POINT*>(&screen), 2);
        request->rect = screen;
        if (!accepted) request->hdr.target = HandleField(m_frame);
        return accepted;
    }
    if (drop.afterCentral) request->flags |= 1u;
    if (horizontal) request->rect = {drop.start, rc.top, drop.end, rc.bottom};
    else request->rect = {rc.left, drop.start, rc.right, drop.end};
    return true;
}

LRESULT CDockingFrameImplBase::Dock(DockTargetRequest* request)
{
    bool innerPackage = (request->flags & 0x80000000u) != 0;
    request->flags &= ~0x80000000u;
    SubPackage& package = innerPackage ? m_inner : m_outer;
    CWndFramesPackageBase& p = package.base;
    bool horizontal = p.Horizontal();
    int c = horizontal ? request->rect.left : request->rect.top;
    int b = horizontal ? request->rect.right : request->rect.bottom;
    int at = (request->flags & 1u) ? b : c;
    int place = at >= p.Upper() ? p.Count() : p.SlotAt(at);
    HWND bar = NewBar(package, place, c, b - c);
    if (bar == nullptr) return 0;
    request->hdr.target = HandleField(bar);
    RECT screen;
    GetWindowRect(bar, &screen);
    request->rect = screen;
    LRESULT answer = SendDockRequest(bar, request);
    Redraw();
    return answer;
}

bool CDockingFrameImplBase::GetPosition(SubPackage& package, DockPosition* position)
{
    FrameBarIndex index;
    if (!FrameGetBarIndex(package.base, static_cast<INT_PTR>(position->hdr.target), &index)) return false;
    position->barWidth = index.barWidth;
    position->barIndex = index.barIndex;
    if (index.beforeCentral) position->side |= kSideBefore;
    return SendDockRequest(FieldHandle(position->hdr.target), position) != 0;
}

LRESULT CDockingFrameImplBase::SetPosition(DockPosition* position)
{
    SubPackage& package = (position->side & kSideVertical) ? m_inner : m_outer;
    CWndFramesPackageBase& p = package.base;
    SIZE minimum = WindowMinSize(FieldHandle(position->hdr.window));
    int along = p.Horizontal() ? minimum.cx : minimum.cy;
    if (position->barWidth < along) position->barWidth = along;
    RefreshMinimums(package);
    FrameSetTarget target = FrameSetPositionTarget(p, (position->side & kSideBefore) != 0,
                                                   (position->side & kSideOwnBar) != 0, position->barIndex,
                                                   position->barWidth);
    HWND bar;
    if (target.joinSlot >= 0) {
        bar = reinterpret_cast<HWND>(p.Slot(target.joinSlot).frame);
    } else {
        bar = NewBar(package, target.newPlace, target.newStart, position->barWidth + kSplitterWidth);
        if (bar == nullptr) return 0;
    }
    position->hdr.target = HandleField(bar);
    LRESULT answer = SendDockRequest(bar, position);
    Redraw();
    return answer;
}

LRESULT CDockingFrameImplBase::OnDockRequest(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    auto* header = reinterpret_cast<DockRequestHeader*>(lParam);
    if (header == nullptr) return 0;
    switch (header->code) {
    case DOCKREQ_HITTEST: {
        auto* request = reinterpret_cast<DockTargetRequest*>(lParam);
        MapWindowPoints(nullptr, m_frame, reinterpret_cast<POINT*>(&request->rect), 2);
        POINT point = {request->rect.left, request->rect.top};
        SIZE dragMin = WindowMinSize(FieldHandle(header->window));
        header->target = HandleField(m_frame);
        request->flags = 0;
        bool found = HitTest(m_inner, request, point, dragMin);
        if (found) {
            request->flags |= 0x80000000u;
        } else {
            header->target = HandleField(m_frame);
            request->flags = 0;
            found = HitTest(m_outer, request, point, dragMin);
        }
        if (!found) header->target = 0;
        MapWindowPoints(m_frame, nullptr, reinterpret_cast<POINT*>(&request->rect), 2);
        return found ? 1 : 0;
    }
    case DOCKREQ_DOCK: {
        auto* request = reinterpret_cast<DockTargetRequest*>(lParam);
        MapWindowPoints(nullptr, m_frame, reinterpret_cast<POINT*>(&request->rect), 2);
        LRESULT answer = Dock(request);
        if (answer == 0) MapWindowPoints(m_frame, nullptr, reinterpret_cast<POINT*>(&request->rect), 2);
        return answer;
    }
    case DOCKREQ_UNDOCK:
        for (SubPackage* package : {&m_outer, &m_inner}) {
            int slot = package->base.Find(static_cast<INT_PTR>(header->window));
            if (slot < 0 || slot == package->base.Central()) continue;
            package->base.Remove(slot);
            Arrange(*package);
            Redraw();
            return 1;
        }
        return 0;
    case DOCKREQ_GETPOS: {
        auto* position = reinterpret_cast<DockPosition*>(lParam);
        if (m_autoHide.GetPosition(position)) return 1;
        position->side = kSideBottom;
        if (GetPosition(m_outer, position)) return 1;
        position->side = kSideRight;
        return GetPosition(m_inner, position) ? 1 : 0;
    }
    case DOCKREQ_SETPOS:
        return SetPosition(reinterpret_cast<DockPosition*>(lParam));
    case DOCKREQ_LIMITRECT: {
        auto* request = reinterpret_cast<DockTargetRequest*>(lParam);
        RECT client;
        GetClientRect(m_frame, &client);
        RECT& r = request->rect;
        int width = std::max<int>(std::min<int>(r.right - r.left, client.right / 3), GetSystemMetrics(SM_CXMIN));
        int height = std::max<int>(std::min<int>(r.bottom - r.top, client.bottom / 3), GetSystemMetrics(SM_CYMIN));
        r.right = r.left + width;
        r.bottom = r.top + height;
        return 1;
    }
    case DOCKREQ_QUERYPINNED:
        return m_autoHide.m_hWnd != nullptr && FieldHandle(header->target) == m_autoHide.m_hWnd ? 1 : 0;
    case DOCKREQ_PIN: {
        bool barWasEmpty = false;
        if (!m_autoHide.Pin(reinterpret_cast<PinRequest*>(lParam), &barWasEmpty)) return 0;
        if (barWasEmpty) {
            UpdateLayout(m_area);
            Redraw();
        }
        return 1;
    }
    default:
        return 0;
    }
}

LRESULT CDockingFrameImplBase::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_frame, &ps);
    PaintSplitters(dc, m_outer.base, m_outer.rect);
    PaintSplitters(dc, m_inner.base, m_inner.rect);
    m_autoHide.DrawBars(dc);
    EndPaint(m_frame, &ps);
    return 0;
}

LRESULT CDockingFrameImplBase::OnSetCursor(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    bHandled = FALSE;
    if (reinterpret_cast<HWND>(wParam) != m_frame || LOWORD(lParam) != HTCLIENT) return 0;
    if (m_slidingLocked && m_slidingLocked()) return 0;
    DWORD pos = GetMessagePos();
    POINT pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
    ScreenToClient(m_frame, &pt);
    const DockingSettings& settings = GetDockingSettings();
    if (PtInRect(&m_inner.rect, pt) && SplitterAt(m_inner.base, pt.x) >= 0) {
        SetCursor(settings.cursorWE);
    } else if (PtInRect(&m_outer.rect, pt) && SplitterAt(m_outer.base, pt.y) >= 0) {
        SetCursor(settings.cursorNS);
    } else {
        return 0;
    }
    bHandled = TRUE;
    return 1;
}

LRESULT CDockingFrameImplBase::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if ((m_slidingLocked && m_slidingLocked()) || !PtInRect(&m_outer.rect, pt)) return 0;
    SubPackage& package = PtInRect(&m_inner.rect, pt) ? m_inner : m_outer;
    RefreshMinimums(package);
    int slot = SplitterAt(package.base, package.base.Horizontal() ? pt.x : pt.y);
    if (slot < 0) {
        bHandled = FALSE;
        return 0;
    }
    if (TrackSplitter(m_frame, package.base, slot, pt, package.rect,
                      (GetDockingSettings().dragFlags & kDragGhost) != 0, [this, &package] { Arrange(package); }))
        Redraw();
    return 0;
}

LRESULT CDockingFrameImplBase::OnMouseMove(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    bHandled = FALSE;
    if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0 || GetActiveWindow() == nullptr) return 0;
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    bHandled = m_autoHide.OnMouseMove(pt);
    return 0;
}

LRESULT CDockingFrameImplBase::OnMouseHover(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if ((wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0) return 0;
    m_autoHide.OnMouseHover({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    return 0;
}

LRESULT CDockingFrameImplBase::OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    ::DefFrameProcA(m_frame, m_clientWnd != nullptr ? *m_clientWnd : nullptr, msg, wParam, lParam);
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info == nullptr || IsRectEmpty(&m_outer.rect)) return 0;
    // The docked layout's minimum plus everything around it (borders, caption, bars): the
    // difference of two sizes, so the screen and client coordinate spaces never mix.
    RECT window;
    GetWindowRect(m_frame, &window);
    SIZE minimum = MinSize();
    info->ptMinTrackSize.x = minimum.cx + (window.right - window.left) - (m_area.right - m_area.left);
    info->ptMinTrackSize.y = minimum.cy + (window.bottom - window.top) - (m_area.bottom - m_area.top);
    return 0;
}

LRESULT CDockingFrameImplBase::OnSettingChange(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    RefreshDockingSettings();
    if (m_autoHide.m_hWnd != nullptr) m_autoHide.UpdateThickness();
    bHandled = FALSE;
    return 0;
}

}  // namespace dockwins
