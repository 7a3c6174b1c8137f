// Splitter drags: a tracker loop on the capturing window that moves one splitter of a package,
// live or as an outline on the screen.
#pragma once

#include <windows.h>

#include <functional>

#include "mainframe/docking/FramesPackage.h"

namespace dockwins {

// Paints the rectangle (screen coordinates) with the checkerboard brush and PATINVERT on the
// desktop's DC: drawing it twice erases it.
void DrawOutline(const RECT& screenRect);
// Fills the 5-pixel strip of every slot but the first across the package rectangle.
void PaintSplitters(HDC dc, const CWndFramesPackageBase& package, const RECT& rect);
// The slot whose splitter lies under the coordinate along the axis, or -1 (never the first).
int SplitterAt(const CWndFramesPackageBase& package, int coordinate);

// Drags the splitter of the slot grabbed at the client point of owner. arrange places the
// frames after a live move. Returns whether the drag completed.
bool TrackSplitter(HWND owner, CWndFramesPackageBase& package, int slot, POINT grab, const RECT& packageRect,
                   bool outline, const std::function<void()>& arrange);

}  // namespace dockwins
