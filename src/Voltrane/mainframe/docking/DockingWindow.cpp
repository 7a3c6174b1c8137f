#include "mainframe/docking/DockingWindow.h"

#include <algorithm>
#include <cstring>

#include "core/LocalSettings.h"
#include "mainframe/PanelDockWindows.h"
#include "mainframe/docking/DockingSettings.h"
#include "mainframe/docking/MouseTracker.h"
#include "mainframe/docking/SplitterTracker.h"

namespace dockwins {

namespace {

constexpr COLORREF kCaptionBackground = 0xFFC46C;
constexpr COLORREF kCaptionText = 0xFFFFFF;

bool HasCaption(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }

int CharLength(const char* text, int at, int length)
{
    return at + 1 < length && IsDBCSLeadByteEx(932, static_cast<BYTE>(text[at])) ? 2 : 1;
}

void DrawFrameOutline(const RECT& r)
{
    // A 3-pixel border: the top and bottom bands across, the sides between them.
    DrawOutline({r.left, r.top, r.right, r.top + 3});
    DrawOutline({r.left, r.bottom - 3, r.right, r.bottom});
    DrawOutline({r.left, r.top + 3, r.left + 3, r.bottom - 3});
    DrawOutline({r.right - 3, r.top + 3, r.right, r.bottom - 3});
}

}  // namespace

// ---- caption ----

void CFlatCaption::UpdateMetrics()
{
    thickness = 23;
    HDC dc = GetDC(nullptr);
    if (dc == nullptr) return;
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics;
    if (GetTextMetricsA(dc, &metrics)) thickness = metrics.tmHeight + 8;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

void CFlatCaption::LayOut(const RECT& window)
{
    rect = {window.left, window.top, window.right, window.top + thickness};
    pin.LayOut(rect);
}

void CFlatCaption::CPinButton::LayOut(const RECT& caption)
{
    rect = {caption.left + 3, caption.top + 3, caption.right - 3, caption.bottom - 3};
    rect.left = rect.right - (rect.bottom - rect.top);
}

void CFlatCaption::CPinButton::Draw(HDC dc) const
{
    HBRUSH brush = CreateSolidBrush(kCaptionBackground);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HICON iconHandle = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                     MAKEINTRESOURCEA(icon ? kPinIconDocked : kPinIconPinned),
                                                     IMAGE_ICON, 16, 16, 0));
    if (iconHandle != nullptr) {
        DrawIconEx(dc, rect.left + std::max(0, (width - 11) / 2), rect.top + std::max(0, (height - 11) / 2),
                   iconHandle, 16, 16, 0, nullptr, DI_NORMAL);
        DestroyIcon(iconHandle);
    }
    RECT edge = rect;
    if (state & 2) DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
    else if (state & 1) DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
}

int CFlatCaption::HitTest(POINT point) const
{
    if (PtInRect(&pin.rect, point)) return kPinButtonHit;
    if (PtInRect(&rect, point)) return HTCAPTION;
    return HTCLIENT;
}

void CFlatCaption::Paint(HWND window, HDC dc) const
{
    COLORREF background = kCaptionBackground, text = kCaptionText;
    char title[256] = {};
    int length = GetWindowTextA(window, title, sizeof title);
    if (length > 0) {
        COLORREF b, t;
        if (GetPanelCaptionColors(0, 0, title, &b, &t)) {
            background = b;
            text = t;
        }
    }
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    if (length > 0) {
        SetTextColor(dc, text);
        SetBkMode(dc, TRANSPARENT);
        HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
        RECT area = {rect.left + 10, rect.top, pin.rect.left - 3, rect.bottom};
        DrawShortenedText(dc, title, length, area, true);
        SelectObject(dc, old);
    }
    pin.Draw(dc);
    RECT edge = rect;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
}

int ShortenedLength(const char* text, int length, int extent, const std::function<int(const std::string&)>& measure)
{
    if (measure(std::string(text, length)) <= extent) return length;
    int keep = CharLength(text, 0, length);
    for (int at = keep; at < length;) {
        int next = at + CharLength(text, at, length);
        if (measure(std::string(text, next) + "...") > extent) break;
        keep = at = next;
    }
    return std::min(keep, length);
}

void DrawShortenedText(HDC dc, const char* text, int length, const RECT& rect, bool horizontal)
{
    if (text == nullptr || length <= 0) return;
    int extent = horizontal ? rect.right - rect.left : rect.bottom - rect.top;
    int keep = ShortenedLength(text, length, extent, [dc](const std::string& s) {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    });
    std::string shown(text, keep);
    if (keep < length) shown += "...";
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int x, y;
    if (horizontal) {
        x = rect.left;
        y = rect.top + (rect.bottom - rect.top - metrics.tmHeight) / 2;
    } else {
        x = rect.right - (rect.right - rect.left - metrics.tmHeight) / 2;
        y = rect.top;
    }
    ExtTextOutA(dc, x, y, ETO_CLIPPED, &rect, shown.c_str(), static_cast<UINT>(shown.size()), nullptr);
}

LRESULT CaptionSafeDefault(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Without its caption bits the system paints no caption of its own over ours.
    LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, style & ~WS_CAPTION);
    LRESULT result = ::DefWindowProcA(window, msg, wParam, lParam);
    SetWindowLongA(window, GWL_STYLE, style);
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return result;
}

RECT KeepFloatingOnScreen(const RECT& rect, int screenWidth, int screenHeight)
{
    RECT r = rect;
    int dx = 0, dy = 0;
    if (r.right > screenWidth) dx = screenWidth - r.right;
    if (r.bottom > screenHeight) dy = screenHeight - r.bottom;
    if (r.left + dx < 0) dx = -r.left;
    if (r.top + dy < 0) dy = -r.top;
    OffsetRect(&r, dx, dy);
    return r;
}

// ---- operations ----

void CDockingWindow::Attach(HWND window)
{
    m_hWnd = window;
    m_caption.UpdateMetrics();
}

bool CDockingWindow::TakePosition()
{
    DockPosition position = {};
    position.hdr = {HandleField(m_hWnd), HandleField(m_container), DOCKREQ_GETPOS};
    if (!SendDockRequest(m_frame, &position)) return false;
    if (position.hdr.target == 0) position.hdr.target = HandleField(m_frame);
    m_stored = position;
    return true;
}

bool CDockingWindow::Undock()
{
    if (m_container == nullptr) {
        m_stored = {};
        return false;
    }
    TakePosition();
    HWND container = m_container;
    DockRequestHeader request = {HandleField(m_hWnd), HandleField(container), DOCKREQ_UNDOCK};
    return SendDockRequest(container, &request) != 0;
}

bool CDockingWindow::Dock(DockTargetRequest& request)
{
    request.hdr.code = DOCKREQ_DOCK;
    return SendDockRequest(FieldHandle(request.hdr.target), &request) != 0;
}

void CDockingWindow::PlaceFloating(const RECT& r, UINT flags)
{
    ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags | SWP_NOACTIVATE);
}

bool CDockingWindow::Hide()
{
    if (m_container != nullptr) {
        if (!TakePosition()) return false;
        DockPosition kept = m_stored;
        Undock();
        m_stored = kept;
        PlaceFloating(m_floatRect, SWP_HIDEWINDOW | SWP_NOZORDER);
    } else {
        m_stored = {};
    }
    ::ShowWindow(m_hWnd, SW_HIDE);
    return true;
}

bool CDockingWindow::Show()
{
    if (m_stored.hdr.target == 0) {
        ::ShowWindow(m_hWnd, SW_SHOW);
        return true;
    }
    if (m_container != nullptr) Undock();
    DockPosition position = m_stored;
    position.hdr = {HandleField(m_hWnd), HandleField(m_frame), DOCKREQ_SETPOS};
    return SendDockRequest(m_frame, &position) != 0;
}

bool CDockingWindow::DockAt(const DockPosition& at)
{
    if (m_container != nullptr) Undock();
    DockPosition position = at;
    position.hdr = {HandleField(m_hWnd), HandleField(m_frame), DOCKREQ_SETPOS};
    return SendDockRequest(m_frame, &position) != 0;
}

bool CDockingWindow::Toggle()
{
    bool wasVisible = IsVisible();
    if (wasVisible) {
        Hide();
        if (m_frame != nullptr) ::SetFocus(m_frame);
    } else {
        Show();
    }
    return wasVisible;
}

bool CDockingWindow::IsPinned() const
{
    if (m_container == nullptr) return false;
    DockRequestHeader request = {HandleField(m_hWnd), HandleField(m_container), DOCKREQ_QUERYPINNED};
    return SendDockRequest(m_frame, &request) != 0;
}

bool CDockingWindow::IsVisible() const
{
    if (m_hWnd == nullptr) return false;
    if (IsPinned()) return true;
    return (GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool CDockingWindow::PinToSide()
{
    if (m_container == nullptr) return false;  // a floating window cannot be pinned
    if (!TakePosition()) return false;
    DockPosition position = m_stored;
    if (!Undock()) return false;
    m_stored = position;
    PinRequest pin = {};
    pin.hdr = {HandleField(m_hWnd), 0, DOCKREQ_PIN};
    pin.side = position.side & kSideMask;
    pin.paneWidth = position.barWidth;
    pin.show = 1;
    if (SendDockRequest(m_frame, &pin)) return true;
    // A frame that cannot pin it takes it back where it was rather than leave it hidden.
    Show();
    return false;
}

bool CDockingWindow::ReadPlacement(DockingWindowPlacement* placement)
{
    if (placement == nullptr) return false;
    *placement = {};
    placement->docked = m_container != nullptr;
    if (placement->docked) {
        placement->floatRect = m_floatRect;
        placement->position.hdr = {HandleField(m_hWnd), HandleField(m_container), DOCKREQ_GETPOS};
        return SendDockRequest(m_frame, &placement->position) != 0;
    }
    if (IsVisible()) ::GetWindowRect(m_hWnd, &placement->floatRect);
    else placement->floatRect = m_floatRect;
    placement->position = m_stored;
    return true;
}

bool CDockingWindow::ApplyPlacement(const DockingWindowPlacement& placement)
{
    DockPosition position = placement.position;
    position.hdr.window = HandleField(m_hWnd);
    if (placement.docked && position.hdr.target == 0) position.hdr.target = HandleField(m_frame);
    if (m_container != nullptr) Undock();
    // The placement's position is the one kept from here on, also for a hidden window.
    m_stored = position;
    if (placement.visible) {
        if (placement.docked) {
            position.hdr = {HandleField(m_hWnd), HandleField(m_frame), DOCKREQ_SETPOS};
            bool answer = SendDockRequest(m_frame, &position) != 0;
            m_floatRect = placement.floatRect;
            return answer;
        }
        m_floatRect = placement.floatRect;
        PlaceFloating(placement.floatRect, SWP_SHOWWINDOW);
        return true;
    }
    m_floatRect = placement.floatRect;
    PlaceFloating(placement.floatRect, SWP_HIDEWINDOW | SWP_NOZORDER);
    return true;
}

// ---- messages ----

LRESULT CDockingWindow::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
    Hide();
    return 0;
}

LRESULT CDockingWindow::OnNcDoubleClick(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam != HTCAPTION) return 0;
    if (m_container != nullptr) {
        if (IsRectEmpty(&m_floatRect)) return 0;
        Undock();
        PlaceFloating(m_floatRect, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    } else if (m_stored.hdr.target != 0) {
        DockAt(m_stored);
    }
    return 0;
}

LRESULT CDockingWindow::OnContainer(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    m_container = LOWORD(wParam) != 0 ? reinterpret_cast<HWND>(lParam) : nullptr;
    return 1;
}

LRESULT CDockingWindow::OnNcCalcSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    if (m_container == nullptr) {
        bHandled = FALSE;
        return 0;
    }
    RECT* proposed = reinterpret_cast<RECT*>(lParam);
    POINT origin = {proposed->left, proposed->top};
    OffsetRect(proposed, -origin.x, -origin.y);
    if (HasCaption(m_hWnd)) {
        m_caption.LayOut(*proposed);
        proposed->top += m_caption.thickness;
        if (proposed->top > proposed->bottom) proposed->top = proposed->bottom;
    } else {
        m_caption.Clear();
    }
    OffsetRect(proposed, origin.x, origin.y);
    return 0;
}

LRESULT CDockingWindow::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    if (m_container == nullptr) {
        bHandled = FALSE;
        return 0;
    }
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    POINT pt = {static_cast<short>(LOWORD(lParam)) - window.left, static_cast<short>(HIWORD(lParam)) - window.top};
    return m_caption.HitTest(pt);
}

LRESULT CDockingWindow::OnNcPaint(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    if (m_container == nullptr) {
        bHandled = FALSE;
        return 0;
    }
    if (HasCaption(m_hWnd)) {
        HDC dc = GetWindowDC(m_hWnd);
        m_caption.Paint(m_hWnd, dc);
        ReleaseDC(m_hWnd, dc);
    }
    return 0;
}

LRESULT CDockingWindow::OnNcActivate(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    if (m_container == nullptr || !::IsWindowEnabled(m_hWnd)) {
        bHandled = FALSE;
        return 0;
    }
    return TRUE;
}

LRESULT CDockingWindow::OnWindowPosChanging(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = m_container != nullptr;
    return 0;
}

LRESULT CDockingWindow::OnSetText(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (m_container == nullptr) {
        bHandled = FALSE;
        return 0;
    }
    return CaptionSafeDefault(m_hWnd, msg, wParam, lParam);
}

LRESULT CDockingWindow::OnNcLButtonDown(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    if (m_container != nullptr && wParam == kPinButtonHit) {
        if (m_caption.PressPin(m_hWnd)) PinToSide();
        return 0;
    }
    if (wParam == HTCAPTION) {
        Drag({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    }
    bHandled = FALSE;
    return 0;
}

LRESULT CDockingWindow::OnNcMouseMove(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    if (m_container != nullptr) m_caption.TrackHot(m_hWnd, static_cast<int>(wParam));
    return 0;
}

LRESULT CDockingWindow::OnSettingChange(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (m_container == nullptr) {
        RefreshDockingSettings();
        for (HWND child = GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            ::SendMessageA(child, msg, wParam, lParam);
    }
    m_caption.UpdateMetrics();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return 0;
}

LRESULT CDockingWindow::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info != nullptr) {
        info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, m_caption.thickness);
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, m_caption.thickness);
    }
    return 0;
}

LRESULT CDockingWindow::OnWindowPosChanged(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    bHandled = FALSE;
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (pos == nullptr || m_container != nullptr) return 0;
    bool changed = (pos->flags & SWP_SHOWWINDOW) || !(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE);
    if (changed && IsVisible()) ::GetWindowRect(m_hWnd, &m_floatRect);
    return 0;
}

namespace {

constexpr UINT kHotTrackingPeriod = 300;

void RedrawPin(HWND window, const CFlatCaption::CPinButton& pin)
{
    // A caption taken away meanwhile (the pane pinned or floating) has no button to draw.
    if (IsRectEmpty(&pin.rect)) return;
    HDC dc = GetWindowDC(window);
    if (dc == nullptr) return;
    pin.Draw(dc);
    ReleaseDC(window, dc);
}

void CALLBACK EndHotTracking(HWND window, UINT, UINT_PTR id, DWORD)
{
    auto* pin = reinterpret_cast<CFlatCaption::CPinButton*>(id);
    POINT cursor;
    RECT frame;
    if (!GetCursorPos(&cursor) || !::GetWindowRect(window, &frame)) return;
    POINT local = {cursor.x - frame.left, cursor.y - frame.top};
    if (PtInRect(&pin->rect, local)) return;
    ::KillTimer(window, id);
    if (!(pin->state & 1)) return;
    pin->state &= ~1;
    RedrawPin(window, *pin);
}

}  // namespace

void CFlatCaption::TrackHot(HWND window, int hitCode)
{
    if (pin.state & 2) return;
    bool hot = hitCode == kPinButtonHit;
    if (hot == ((pin.state & 1) != 0)) return;
    if (hot) {
        pin.state |= 1;
        ::SetTimer(window, reinterpret_cast<UINT_PTR>(&pin), kHotTrackingPeriod, EndHotTracking);
    } else {
        pin.state &= ~1;
    }
    RedrawPin(window, pin);
}

bool CFlatCaption::PressPin(HWND window)
{
    HDC dc = GetWindowDC(window);
    pin.state |= 2;
    pin.Draw(dc);
    MouseTrackResult result = TrackMouse(window, {});
    pin.state &= ~2;
    pin.Draw(dc);
    ReleaseDC(window, dc);
    if (!result.completed) return false;
    RECT frame;
    ::GetWindowRect(window, &frame);
    POINT local = {result.releasedAt.x - frame.left, result.releasedAt.y - frame.top};
    return HitTest(local) == kPinButtonHit;
}

void CDockingWindow::Drag(POINT screenPoint)
{
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!DragDetect(m_hWnd, screenPoint)) return;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    if (IsRectEmpty(&m_floatRect)) {
        DockTargetRequest limit = {};
        limit.hdr = {HandleField(m_hWnd), HandleField(m_frame), DOCKREQ_LIMITRECT};
        limit.rect = window;
        SendDockRequest(m_frame, &limit);
        m_floatRect = limit.rect;
    }
    int floatWidth = m_floatRect.right - m_floatRect.left;
    int floatHeight = m_floatRect.bottom - m_floatRect.top;
    int windowWidth = std::max<int>(1, window.right - window.left);
    int windowHeight = std::max<int>(1, window.bottom - window.top);
    int left = screenPoint.x - MulDiv(floatWidth, screenPoint.x - window.left, windowWidth);
    int top = screenPoint.y - MulDiv(floatHeight, screenPoint.y - window.top, windowHeight);
    POINT offset = {left - screenPoint.x, top - screenPoint.y};

    DockTargetRequest request = {};
    request.hdr.window = HandleField(m_hWnd);
    RECT outline = {left, top, left + floatWidth, top + floatHeight};
    DrawFrameOutline(outline);
    auto recompute = [&](POINT cursor) {
        DrawFrameOutline(outline);
        request = {};
        request.hdr = {HandleField(m_hWnd), HandleField(m_frame), DOCKREQ_LIMITRECT};
        request.rect = {cursor.x, cursor.y, cursor.x + floatWidth, cursor.y + floatHeight};
        SendDockRequest(m_frame, &request);
        bool ctrl = GetKeyState(VK_CONTROL) < 0;
        bool found = false;
        if (!ctrl) {
            request.hdr.code = DOCKREQ_HITTEST;
            found = SendDockRequest(m_frame, &request) != 0 && request.hdr.target != 0;
        }
        if (!found) {
            request.hdr.target = 0;
            request.rect = {cursor.x + offset.x, cursor.y + offset.y, cursor.x + offset.x + floatWidth,
                            cursor.y + offset.y + floatHeight};
            if (GetLocalSettingsLive().iCmdPanelFloatingMode != 0)
                request.rect = KeepFloatingOnScreen(request.rect, GetSystemMetrics(SM_CXSCREEN),
                                                    GetSystemMetrics(SM_CYSCREEN));
        }
        outline = request.rect;
        DrawFrameOutline(outline);
    };
    POINT last = screenPoint;
    MouseTrack track;
    track.moved = [&](POINT cursor) {
        last = cursor;
        recompute(last);
    };
    track.key = [&](WPARAM key) {
        if (key != VK_CONTROL) return;
        DWORD pos = GetMessagePos();
        last = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
        recompute(last);
    };
    bool completed = TrackMouse(m_hWnd, track).completed;
    DrawFrameOutline(outline);
    if (!completed) return;
    bool moved = last.x != screenPoint.x || last.y != screenPoint.y;
    if (request.hdr.target == 0 && !moved) return;
    if (m_container != nullptr) Undock();
    if (request.hdr.target != 0) {
        Dock(request);
    } else {
        PlaceFloating(request.rect, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    }
}

}  // namespace dockwins
