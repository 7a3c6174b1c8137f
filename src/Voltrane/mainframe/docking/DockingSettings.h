// The colours, drag mode, fonts and cursors shared by the whole docking layer.
#pragma once

#include <windows.h>

namespace dockwins {

enum DragFlags : DWORD {
    kDragKeep = 1,     // a refresh leaves the two drag bits alone
    kDragGhost = 2,    // splitters and pane edges drag as an outline
    kDragFull = 4,     // live dragging; also slides the auto-hide pane
};

struct DockingSettings {
    COLORREF barColor = 0;
    COLORREF labelTextColor = 0;
    DWORD dragFlags = 0;
    HFONT rotatedFont = nullptr;
    HFONT guiFont = nullptr;
    HCURSOR cursorNS = nullptr;
    HCURSOR cursorWE = nullptr;
};

DockingSettings& GetDockingSettings();
// Rebuilds the drag mode from FullDragMode, the fonts (when the stock font changed), the
// cursors and the colours.
void RefreshDockingSettings();

// The auto-hide bar background: the button face lightened.
COLORREF LightenedBarColor(COLORREF buttonFace);
// Two thirds of the way from the button text to the grey text, per channel.
COLORREF LabelTextColor(COLORREF buttonText, COLORREF grayText);
// The drag flags after a refresh for a FullDragMode value; systemFull is the desktop's own
// full-drag switch, read for -1.
DWORD DragFlagsFor(DWORD current, int fullDragMode, bool systemFull);

}  // namespace dockwins
