#include "mainframe/docking/AutoHideManager.h"

#include <algorithm>

#include "mainframe/PanelDockWindows.h"
#include "mainframe/docking/DockingSettings.h"
#include "mainframe/docking/MouseTracker.h"
#include "mainframe/docking/SplitterTracker.h"

namespace dockwins {

namespace {

constexpr UINT_PTR kAutoHideTimer = 1;
constexpr int kSlideSteps = 10;

HFONT BarFont(bool vertical)
{
    const DockingSettings& settings = GetDockingSettings();
    HFONT font = vertical ? settings.rotatedFont : settings.guiFont;
    return font != nullptr ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

int TextHeight(HDC dc, HFONT font)
{
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    return metrics.tmHeight;
}

// The label span of a bar: where labels start and end along it, after the bar's margins.
void LabelSpan(const CAutoHideBar& bar, int* start, int* end)
{
    *start = (bar.Vertical() ? bar.rect.top : bar.rect.left) + kLabelMargin;
    *end = (bar.Vertical() ? bar.rect.bottom : bar.rect.right) - kLabelMargin;
}

}  // namespace

// ---- labels and bars ----

CSinglePinnedLabel::CSinglePinnedLabel(HWND window, int paneWidth)
{
    entry.paneWidth = paneWidth;
    entry.window = window;
    entry.icon = reinterpret_cast<HICON>(::SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (entry.icon == nullptr) entry.icon = reinterpret_cast<HICON>(GetClassLongPtrA(window, GCLP_HICONSM));
    char title[256] = {};
    int length = GetWindowTextA(window, title, sizeof title);
    entry.title.assign(title, std::max(0, length));
}

int CSinglePinnedLabel::DesiredWidth(HDC dc) const
{
    SIZE size = {0, 0};
    if (!entry.title.empty())
        GetTextExtentPoint32A(dc, entry.title.c_str(), static_cast<int>(entry.title.size()), &size);
    return DesiredLabelWidth(size.cx, static_cast<int>(entry.title.size()), entry.icon != nullptr,
                             GetSystemMetrics(SM_CXSMICON));
}

void CSinglePinnedLabel::Draw(HDC dc, const RECT& rect, int side) const
{
    Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
    RECT inner = {rect.left + 3, rect.top + 3, rect.right - 3, rect.bottom - 3};
    bool horizontal = (side & 1) == 0;
    int iconX = GetSystemMetrics(SM_CXSMICON), iconY = GetSystemMetrics(SM_CYSMICON);
    RECT text = inner;
    if (entry.icon != nullptr) {
        if (horizontal && rect.right - rect.left > iconX + 6) {
            DrawIconEx(dc, inner.left, inner.top + (inner.bottom - inner.top - iconY) / 2, entry.icon, iconX, iconY, 0,
                       nullptr, DI_NORMAL);
            text.left = inner.left + iconX + 3;
        } else if (!horizontal && rect.bottom - rect.top > iconY + 6) {
            DrawIconEx(dc, inner.left + (inner.right - inner.left - iconX) / 2, inner.top, entry.icon, iconX, iconY, 0,
                       nullptr, DI_NORMAL);
            text.top = inner.top + iconY + 3;
        }
    }
    std::string shown = "  " + entry.title;
    COLORREF background, foreground;
    if (GetPanelCaptionColors(1, side, entry.title.c_str(), &background, &foreground)) {
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(dc, &text, brush);
        DeleteObject(brush);
        COLORREF old = SetTextColor(dc, foreground);
        DrawShortenedText(dc, shown.c_str(), static_cast<int>(shown.size()), text, horizontal);
        SetTextColor(dc, old);
    } else {
        DrawShortenedText(dc, shown.c_str(), static_cast<int>(shown.size()), text, horizontal);
    }
}

int CAutoHideBar::Find(HWND window) const
{
    for (size_t i = 0; i < labels.size(); ++i)
        if (labels[i]->entry.window == window) return static_cast<int>(i);
    return -1;
}

int CAutoHideBar::LabelAt(POINT point) const
{
    if (labels.empty() || !PtInRect(&rect, point)) return -1;
    std::vector<int> widths;
    for (const auto& label : labels) widths.push_back(label->width);
    int start, end;
    LabelSpan(*this, &start, &end);
    return AutoHideLabelAt(widths, start, Vertical() ? point.y : point.x);
}

void CAutoHideBar::SizeLabels(HDC dc)
{
    HGDIOBJ old = SelectObject(dc, BarFont(Vertical()));
    std::vector<int> desired;
    for (const auto& label : labels) desired.push_back(labels.size() == 1 ? 0 : label->DesiredWidth(dc));
    SelectObject(dc, old);
    int length = Vertical() ? rect.bottom - rect.top : rect.right - rect.left;
    std::vector<int> widths = AutoHideLabelWidths(length, desired);
    for (size_t i = 0; i < labels.size(); ++i) labels[i]->width = widths[i];
}

void CAutoHideBar::DrawBackground(HDC dc, int thickness, bool leftBar, bool rightBar) const
{
    RECT r = rect;
    if (!Vertical()) {
        if (leftBar) r.left -= thickness;
        if (rightBar) r.right += thickness;
    }
    HBRUSH brush = CreateSolidBrush(GetDockingSettings().barColor);
    HGDIOBJ old = SelectObject(dc, brush);
    PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATCOPY);
    SelectObject(dc, old);
    DeleteObject(brush);
}

void CAutoHideBar::Draw(HDC dc) const
{
    if (labels.empty()) return;
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW));
    HPEN facePen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, BarFont(Vertical()));
    COLORREF oldText = SetTextColor(dc, GetDockingSettings().labelTextColor);
    int oldMode = SetBkMode(dc, TRANSPARENT);

    RECT r = rect;
    switch (side & 3) {
    case 0: r.top += 2; break;
    case 1: r.left += 2; break;
    case 2: r.bottom -= 2; break;
    default: r.right -= 2; break;
    }
    int start, end;
    LabelSpan(*this, &start, &end);
    int n = static_cast<int>(labels.size());
    if (n * kLabelGap - kLabelGap < end - start) {
        int at = start;
        for (const auto& label : labels) {
            RECT span = Vertical() ? RECT{r.left, at, r.right, at + label->width}
                                   : RECT{at, r.top, at + label->width, r.bottom};
            label->Draw(dc, span, side);
            // The side at the frame border stays open.
            SelectObject(dc, facePen);
            switch (side & 3) {
            case 0: MoveToEx(dc, span.left, span.bottom - 1, nullptr); LineTo(dc, span.right, span.bottom - 1); break;
            case 1: MoveToEx(dc, span.right - 1, span.top, nullptr); LineTo(dc, span.right - 1, span.bottom); break;
            case 2: MoveToEx(dc, span.left, span.top, nullptr); LineTo(dc, span.right, span.top); break;
            default: MoveToEx(dc, span.left, span.top, nullptr); LineTo(dc, span.left, span.bottom); break;
            }
            SelectObject(dc, pen);
            at += label->width + kLabelGap;
        }
    }
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(facePen);
    DeleteObject(pen);
}

// ---- the manager ----

bool CAutoHideManager::Initialize(HWND frame, std::function<bool()> slidingLocked)
{
    m_frame = frame;
    m_slidingLocked = std::move(slidingLocked);
    for (int i = 0; i < kAutoHideBars; ++i) m_bars[i].side = i;
    UpdateThickness();
    m_caption.pin.icon = 0;
    m_caption.UpdateMetrics();
    if (m_hWnd == nullptr) {
        RECT empty = {0, 0, 0, 0};
        Create(frame, &empty, nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION, WS_EX_TOOLWINDOW);
    }
    return m_hWnd != nullptr;
}

void CAutoHideManager::UpdateThickness()
{
    HDC dc = GetDC(m_frame);
    int height = std::max(TextHeight(dc, BarFont(true)), TextHeight(dc, BarFont(false)));
    ReleaseDC(m_frame, dc);
    m_thickness = std::max(height, GetSystemMetrics(SM_CXSMICON)) + 8;
}

RECT CAutoHideManager::LayOut(HDC dc, const RECT& area)
{
    bool hasLabels[kAutoHideBars];
    for (int i = 0; i < kAutoHideBars; ++i) hasLabels[i] = !m_bars[i].labels.empty();
    AutoHideBarLayout layout = LayOutAutoHideBars(area, m_thickness, hasLabels);
    for (int i = 0; i < kAutoHideBars; ++i) {
        m_bars[i].rect = layout.bars[i];
        if (hasLabels[i]) m_bars[i].SizeLabels(dc);
    }
    m_docking = layout.docking;
    if (PinnedWindowEntry* shown = ShownEntry()) {
        RECT r = PaneRect(shown->paneWidth);
        ::SetWindowPos(m_hWnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    }
    return m_docking;
}

void CAutoHideManager::DrawBars(HDC dc)
{
    bool left = !m_bars[3].labels.empty(), right = !m_bars[1].labels.empty();
    for (const CAutoHideBar& bar : m_bars)
        if (!bar.labels.empty()) bar.DrawBackground(dc, m_thickness, left, right);
    for (const CAutoHideBar& bar : m_bars) bar.Draw(dc);
}

void CAutoHideManager::RedrawBar(int side, bool erase)
{
    HDC dc = GetDC(m_frame);
    if (erase) m_bars[side].DrawBackground(dc, m_thickness, !m_bars[3].labels.empty(), !m_bars[1].labels.empty());
    m_bars[side].Draw(dc);
    ReleaseDC(m_frame, dc);
}

bool CAutoHideManager::Find(HWND window, int* bar, int* label) const
{
    for (int i = 0; i < kAutoHideBars; ++i) {
        int at = m_bars[i].Find(window);
        if (at < 0) continue;
        *bar = i;
        *label = at;
        return true;
    }
    return false;
}

PinnedWindowEntry* CAutoHideManager::ShownEntry()
{
    int bar, label;
    if (m_shown == nullptr || !Find(m_shown, &bar, &label)) return nullptr;
    return &m_bars[bar].labels[label]->entry;
}

void CAutoHideManager::Join(HWND window, bool horizontal)
{
    ::ShowWindow(window, SW_HIDE);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, (style & ~(WS_POPUP | WS_CHILD | WS_CAPTION)) | WS_CHILD);
    ::SetParent(window, m_hWnd);
    ::SendMessageA(window, WM_NCACTIVATE, TRUE, 0);
    ::SendMessageA(window, WM_USER, (static_cast<WPARAM>(horizontal) << 16) | 1, reinterpret_cast<LPARAM>(m_hWnd));
}

void CAutoHideManager::Leave(HWND window)
{
    ::ShowWindow(window, SW_HIDE);
    LONG style = GetWindowLongA(window, GWL_STYLE);
    SetWindowLongA(window, GWL_STYLE, (style & ~WS_CHILD) | WS_POPUP | WS_CAPTION);
    ::SetParent(window, nullptr);
    ::SendMessageA(window, WM_USER, 0, reinterpret_cast<LPARAM>(m_hWnd));
}

bool CAutoHideManager::Pin(PinRequest* request, bool* barWasEmpty)
{
    HWND window = FieldHandle(request->hdr.window);
    int bar, label;
    if (m_hWnd == nullptr || !::IsWindow(window) || Find(window, &bar, &label)) return false;
    request->hdr.target = HandleField(m_hWnd);
    CAutoHideBar& target = m_bars[request->side & 3];
    *barWasEmpty = target.labels.empty();
    target.labels.push_back(std::make_unique<CSinglePinnedLabel>(window, request->paneWidth));
    Join(window, !target.Vertical());
    if (!*barWasEmpty) {
        HDC dc = GetDC(m_frame);
        target.SizeLabels(dc);
        ReleaseDC(m_frame, dc);
        RedrawBar(target.side, true);
    }
    if (request->show & 1) ShowPane(target.side, static_cast<int>(target.labels.size()) - 1, false);
    return true;
}

bool CAutoHideManager::GetPosition(DockPosition* position) const
{
    int bar, label;
    if (!Find(FieldHandle(position->hdr.window), &bar, &label)) return false;
    position->side = m_bars[bar].side | kSidePinned | kSideOwnBar;
    position->barIndex = label;
    position->ratio = 0.0f;
    position->barWidth = m_bars[bar].labels[label]->entry.paneWidth;
    position->extent = 1;
    position->groupIndex = 0;
    return true;
}

bool CAutoHideManager::RemoveWindow(HWND window, bool unpin)
{
    int barIndex, labelIndex;
    if (window == nullptr || !Find(window, &barIndex, &labelIndex)) return false;
    if (m_shown == window) HidePane();
    CAutoHideBar& bar = m_bars[barIndex];
    std::unique_ptr<CSinglePinnedLabel> label = std::move(bar.labels[labelIndex]);
    bar.labels.erase(bar.labels.begin() + labelIndex);
    if (m_hovered == window) m_hovered = nullptr;
    Leave(window);
    if (unpin) {
        DockPosition position = {};
        position.hdr = {HandleField(window), HandleField(m_frame), DOCKREQ_SETPOS};
        position.side = bar.side | kSidePinned | kSideOwnBar;
        position.barWidth = label->entry.paneWidth;
        position.extent = 1;
        SendDockRequest(m_frame, &position);
    }
    if (!bar.labels.empty()) {
        HDC dc = GetDC(m_frame);
        bar.SizeLabels(dc);
        ReleaseDC(m_frame, dc);
        RedrawBar(bar.side, true);
    } else {
        bar.rect = {0, 0, 0, 0};
        ::SendMessageA(m_frame, WM_SIZE, 0, 0);
        RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return true;
}

bool CAutoHideManager::OnMouseMove(POINT point)
{
    for (const CAutoHideBar& bar : m_bars) {
        int label = bar.LabelAt(point);
        if (label < 0 || bar.labels[label]->entry.window == m_shown) continue;
        m_hovered = bar.labels[label]->entry.window;
        TRACKMOUSEEVENT track = {sizeof track, TME_HOVER, m_frame, 50};
        TrackMouseEvent(&track);
        return true;
    }
    return false;
}

void CAutoHideManager::OnMouseHover(POINT point)
{
    for (const CAutoHideBar& bar : m_bars) {
        int label = bar.LabelAt(point);
        if (label < 0) continue;
        HWND window = bar.labels[label]->entry.window;
        if (window != m_hovered || window == m_shown) return;
        RedrawBar(bar.side, true);
        ShowPane(bar.side, label, true);
        return;
    }
}

RECT CAutoHideManager::PaneRect(int paneWidth) const
{
    const RECT& d = m_docking;
    bool across = (m_side & 1) == 0;  // a top or bottom pane grows downwards or upwards
    int extent = across ? d.bottom - d.top : d.right - d.left;
    int limit = extent - kSplitterWidth;
    if (limit <= 4) limit = kSplitterWidth;
    int thickness = std::min(paneWidth + kSplitterWidth, limit);
    switch (m_side & 3) {
    case 0: return {d.left, d.bottom - thickness, d.right, d.bottom};
    case 1: return {d.right - thickness, d.top, d.right, d.bottom};
    case 2: return {d.left, d.top, d.right, d.top + thickness};
    default: return {d.left, d.top, d.left + thickness, d.bottom};
    }
}

bool CAutoHideManager::ShowPane(int barIndex, int labelIndex, bool slide)
{
    if (barIndex < 0 || barIndex >= kAutoHideBars || labelIndex < 0 ||
        labelIndex >= static_cast<int>(m_bars[barIndex].labels.size()))
        return false;
    if (m_shown != nullptr) HidePane();
    const PinnedWindowEntry& entry = m_bars[barIndex].labels[labelIndex]->entry;
    m_side = m_bars[barIndex].side;
    m_shown = entry.window;
    if (!::SetWindowPos(entry.window, nullptr, 0, 0, 0, 0,
                        SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        return false;
    RECT r = PaneRect(entry.paneWidth);
    ::SetWindowPos(m_hWnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
    ::SetWindowTextA(m_hWnd, entry.title.c_str());
    if (slide && (GetDockingSettings().dragFlags & kDragFull)) {
        SlideOut(r);
    } else {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FitShownWindow();
    return SetTimer(m_hWnd, kAutoHideTimer, 1000, nullptr) != 0;
}

void CAutoHideManager::SlideOut(const RECT& rect)
{
    bool across = (m_side & 1) == 0;
    int extent = across ? rect.bottom - rect.top : rect.right - rect.left;
    int step = extent / kSlideSteps;
    RedrawWindow(m_frame, &rect, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT r = rect;
    // The edge that moves: the one away from the bar.
    LONG* edge = nullptr;
    int direction = 1;
    switch (m_side & 3) {
    case 0: edge = &r.top; direction = -1; break;
    case 1: edge = &r.left; direction = -1; break;
    case 2: edge = &r.bottom; break;
    default: edge = &r.right; break;
    }
    *edge -= direction * step * kSlideSteps;
    ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < kSlideSteps; ++i) {
        *edge += direction * step;
        ::SetWindowPos(m_hWnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Sleep(10);
    }
}

void CAutoHideManager::HidePane()
{
    if (m_hWnd != nullptr) KillTimer(m_hWnd, kAutoHideTimer);
    if (m_shown != nullptr) ::ShowWindow(m_shown, SW_HIDE);
    m_shown = nullptr;
    if (m_hWnd != nullptr) ShowWindow(SW_HIDE);
}

void CAutoHideManager::FitShownWindow()
{
    RECT client;
    GetClientRect(&client);
    if (m_shown != nullptr)
        ::SetWindowPos(m_shown, nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    PinnedWindowEntry* entry = ShownEntry();
    if (entry == nullptr) return;
    RECT window;
    GetWindowRect(&window);
    int across = (m_side & 1) == 0 ? window.bottom - window.top : window.right - window.left;
    if (across - kSplitterWidth > m_caption.thickness) entry->paneWidth = across - kSplitterWidth;
}

void CAutoHideManager::Resize()
{
    RECT pane;
    GetWindowRect(&pane);
    MapWindowPoints(nullptr, m_frame, reinterpret_cast<POINT*>(&pane), 2);
    bool across = (m_side & 1) == 0;
    LONG* edge = nullptr;
    switch (m_side & 3) {
    case 0: edge = &pane.top; break;
    case 1: edge = &pane.left; break;
    case 2: edge = &pane.bottom; break;
    default: edge = &pane.right; break;
    }
    int lowest = (across ? m_docking.top : m_docking.left) + kSplitterWidth;
    int highest = (across ? m_docking.bottom : m_docking.right) - kSplitterWidth;
    POINT cursor;
    GetCursorPos(&cursor);
    ScreenToClient(m_frame, &cursor);
    int offset = (across ? cursor.y : cursor.x) - *edge;
    bool outline = (GetDockingSettings().dragFlags & kDragGhost) != 0;
    auto strip = [&](int at) {
        RECT r = across ? RECT{pane.left, at, pane.right, at + kSplitterWidth}
                        : RECT{at, pane.top, at + kSplitterWidth, pane.bottom};
        // A top or left pane's moving edge is its far side: the strip lies just inside it.
        if (m_side & kSideBefore) OffsetRect(&r, across ? 0 : -kSplitterWidth, across ? -kSplitterWidth : 0);
        MapWindowPoints(m_frame, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    if (outline) DrawOutline(strip(*edge));
    MouseTrack track;
    track.swallowTimers = true;
    track.moved = [&](POINT pt) {
        ScreenToClient(m_frame, &pt);
        int wanted = std::max(lowest, std::min(highest, static_cast<int>(across ? pt.y : pt.x) - offset));
        if (wanted == *edge) return;
        if (outline) DrawOutline(strip(*edge));
        *edge = wanted;
        if (outline) DrawOutline(strip(*edge));
        else ::SetWindowPos(m_hWnd, nullptr, pane.left, pane.top, pane.right - pane.left, pane.bottom - pane.top,
                          SWP_NOZORDER | SWP_NOACTIVATE);
    };
    bool completed = TrackMouse(m_frame, track).completed;
    if (outline) {
        DrawOutline(strip(*edge));
        if (completed)
            ::SetWindowPos(m_hWnd, nullptr, pane.left, pane.top, pane.right - pane.left, pane.bottom - pane.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// ---- pane messages ----

LRESULT CAutoHideManager::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    HidePane();
    bHandled = FALSE;
    return 0;
}

LRESULT CAutoHideManager::OnSize(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam != SIZE_MINIMIZED) FitShownWindow();
    return 0;
}

LRESULT CAutoHideManager::OnTimer(UINT, WPARAM, LPARAM, BOOL&)
{
    POINT cursor;
    GetCursorPos(&cursor);
    RECT window;
    GetWindowRect(&window);
    if (PtInRect(&window, cursor)) return 0;
    POINT local = cursor;
    ScreenToClient(m_frame, &local);
    for (const CAutoHideBar& bar : m_bars) {
        int label = bar.LabelAt(local);
        if (label >= 0 && bar.labels[label]->entry.window == m_shown) return 0;
    }
    HWND focus = GetFocus();
    if (focus != nullptr && (focus == m_hWnd || IsChild(m_hWnd, focus))) return 0;
    HidePane();
    return 0;
}

LRESULT CAutoHideManager::OnDockRequest(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    auto* header = reinterpret_cast<DockRequestHeader*>(lParam);
    if (header == nullptr || header->code != DOCKREQ_UNDOCK) return 0;
    return RemoveWindow(FieldHandle(header->window), false) ? 1 : 0;
}

LRESULT CAutoHideManager::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
    if (m_shown != nullptr) ::PostMessageA(m_shown, WM_CLOSE, 0, 0);
    return 0;
}

LRESULT CAutoHideManager::OnSetText(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    return CaptionSafeDefault(m_hWnd, msg, wParam, lParam);
}

LRESULT CAutoHideManager::OnSettingChange(UINT, WPARAM, LPARAM, BOOL&)
{
    m_caption.UpdateMetrics();
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    return 0;
}

LRESULT CAutoHideManager::OnSetCursor(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    UINT hit = LOWORD(lParam);
    bool edge = hit == HTLEFT || hit == HTRIGHT || hit == HTTOP || hit == HTBOTTOM;
    bHandled = Locked() && edge && reinterpret_cast<HWND>(wParam) == m_hWnd;
    return bHandled ? 1 : 0;
}

LRESULT CAutoHideManager::OnGetMinMaxInfo(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
    if (auto* info = reinterpret_cast<MINMAXINFO*>(lParam)) info->ptMinTrackSize = {0, 0};
    return 0;
}

LRESULT CAutoHideManager::OnNcCalcSize(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    RECT* proposed = reinterpret_cast<RECT*>(lParam);
    POINT origin = {proposed->left, proposed->top};
    OffsetRect(proposed, -origin.x, -origin.y);
    RECT& r = *proposed;
    switch (m_side & 3) {
    case 0: m_splitter = {r.left, r.top, r.right, r.top + kSplitterWidth}; r.top = m_splitter.bottom; break;
    case 1: m_splitter = {r.left, r.top, r.left + kSplitterWidth, r.bottom}; r.left = m_splitter.right; break;
    case 2: m_splitter = {r.left, r.bottom - kSplitterWidth, r.right, r.bottom}; r.bottom = m_splitter.top; break;
    default: m_splitter = {r.right - kSplitterWidth, r.top, r.right, r.bottom}; r.right = m_splitter.left; break;
    }
    if ((GetWindowLongA(m_hWnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        m_caption.LayOut(r);
        r.top = std::min(r.top + m_caption.thickness, r.bottom);
    } else {
        m_caption.Clear();
    }
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    OffsetRect(proposed, origin.x, origin.y);
    return 0;
}

LRESULT CAutoHideManager::OnNcHitTest(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    RECT window;
    GetWindowRect(&window);
    POINT pt = {static_cast<short>(LOWORD(lParam)) - window.left, static_cast<short>(HIWORD(lParam)) - window.top};
    if (PtInRect(&m_splitter, pt)) return (m_side & 1) ? HTLEFT : HTTOP;
    return m_caption.HitTest(pt) == kPinButtonHit ? kPinButtonHit : HTCLIENT;
}

LRESULT CAutoHideManager::OnNcPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    HDC dc = GetWindowDC(m_hWnd);
    if (!IsRectEmpty(&m_caption.rect)) m_caption.Paint(m_hWnd, dc);
    RECT strip = m_splitter;
    FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &strip, BDR_RAISEDINNER, (m_side & 1) ? (BF_LEFT | BF_RIGHT) : (BF_TOP | BF_BOTTOM));
    ReleaseDC(m_hWnd, dc);
    return 0;
}

LRESULT CAutoHideManager::OnNcActivate(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = ::IsWindowEnabled(m_hWnd);
    return TRUE;
}

LRESULT CAutoHideManager::OnNcLButtonDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (wParam == HTLEFT || wParam == HTTOP) {
        if (!Locked()) Resize();
        return 0;
    }
    if (wParam == kPinButtonHit) {
        if (m_caption.PressPin(m_hWnd)) RemoveWindow(m_shown, true);
        return 0;
    }
    bHandled = FALSE;
    return 0;
}

LRESULT CAutoHideManager::OnNcMouseMove(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    if (!IsRectEmpty(&m_caption.rect)) m_caption.TrackHot(m_hWnd, static_cast<int>(wParam));
    return 0;
}

}  // namespace dockwins
