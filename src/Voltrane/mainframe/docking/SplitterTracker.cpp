#include "mainframe/docking/SplitterTracker.h"

#include <algorithm>

#include "mainframe/docking/MouseTracker.h"

namespace dockwins {

void DrawOutline(const RECT& r)
{
    static const WORD rows[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(bitmap);
    HWND desktop = GetDesktopWindow();
    HDC dc = GetWindowDC(desktop);
    HGDIOBJ old = SelectObject(dc, brush);
    PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATINVERT);
    SelectObject(dc, old);
    ReleaseDC(desktop, dc);
    DeleteObject(brush);
    DeleteObject(bitmap);
}

void PaintSplitters(HDC dc, const CWndFramesPackageBase& package, const RECT& rect)
{
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    for (int i = 1; i < package.Count(); ++i) {
        int p = package.Slot(i).position;
        RECT strip = package.Horizontal() ? RECT{p, rect.top, p + kSplitterWidth, rect.bottom}
                                          : RECT{rect.left, p, rect.right, p + kSplitterWidth};
        FillRect(dc, &strip, face);
    }
}

int SplitterAt(const CWndFramesPackageBase& package, int coordinate)
{
    if (package.Count() < 2) return -1;
    int slot = package.SlotAt(coordinate);
    int p = package.Slot(slot).position;
    if (slot == 0 || coordinate < p || coordinate >= p + kSplitterWidth) return -1;
    return slot;
}

bool TrackSplitter(HWND owner, CWndFramesPackageBase& package, int slot, POINT grab, const RECT& rect,
                   bool outline, const std::function<void()>& arrange)
{
    bool horizontal = package.Horizontal();
    int offset = (horizontal ? grab.x : grab.y) - package.Slot(slot).position;
    int lowest = 0, highest = 0;
    package.SplitterLimits(slot, &lowest, &highest);
    int position = package.Slot(slot).position;
    auto bar = [&](int p) {
        RECT r = horizontal ? RECT{p, rect.top, p + kSplitterWidth, rect.bottom}
                            : RECT{rect.left, p, rect.right, p + kSplitterWidth};
        MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    if (outline) DrawOutline(bar(position));
    MouseTrack track;
    track.moved = [&](POINT pt) {
        ScreenToClient(owner, &pt);
        int wanted = std::max(lowest, std::min(highest, static_cast<int>(horizontal ? pt.x : pt.y) - offset));
        if (wanted == position) return;
        if (outline) {
            DrawOutline(bar(position));
            DrawOutline(bar(wanted));
        } else {
            package.MoveSplitter(slot, wanted);
            arrange();
            RedrawWindow(owner, &rect, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        position = wanted;
    };
    bool completed = TrackMouse(owner, track).completed;
    if (outline) {
        DrawOutline(bar(position));
        if (completed && position != package.Slot(slot).position) {
            package.MoveSplitter(slot, position);
            arrange();
        }
    }
    return completed;
}

}  // namespace dockwins
