// The view commands: zoom and centre of the active view (`CCadCmdDisp`, owned by the
// application object) and the dispatcher of the view command ids that act on the active view
// while another command may be waiting for input.
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"

class CCadCmdDisp {
public:
    virtual ~CCadCmdDisp() = default;
    // (move cursor, n): 1 when done, 0 without an active view or drawing block.
    int ZoomIn(int moveCursor, double n);
    int ZoomOut(int moveCursor, double n);
    int CenterAtCursor(int value);

    double ZoomStep() const { return m_zoomStep; }

private:
    int Zoom(int moveCursor, double n, bool zoomIn, bool centreOnly);
    double m_zoomStep = 2.0;
};
CCadCmdDisp& GetCadCmdDisp();

// The zoom factor of n: n x the step for 0 < n <= 9, else the step; 0 becomes 1.
double ZoomFactor(double step, double n);
// The new view setting of a zoom about the point (mx, my) (client) or the keyboard point.
ViewModeInfo ZoomedViewMode(const ViewModeInfo& mode, int centreX, int centreY, int mouseX, int mouseY, double factor,
                            bool zoomIn, double lowLimit, double highLimit, const double* keyPoint);

int ZoomActiveViewIn(int moveCursor, double n);
int ZoomActiveViewOut(int moveCursor, double n);
int CenterActiveViewAtCursor(int value);

// The view commands 3000 to 3054 (and the hand-on of system and service ids): 0 for 3054,
// else 1.
int ExecuteViewCommand(int modifiers, int id);
// One view command 3000-3054 with the given jump-mode switch (the view commands' own, or the
// interrupt commands'): 0 for 3054, else 1.
int RunViewCommand(int id, int* jumpMode);
// The view commands' jump mode.
int ViewJumpMode();
void SetViewJumpMode(int on);
// The view command ids this build carries out.
bool IsBuiltViewCommand(int id);

// The wrap rules of the attribute steps 3023-3033 and the ranges of 3045 and 3046.
int WrapColour(int colour);      // above 256: 1; 0 or below: 256
int WrapLineType(int type);      // 32 or above: 0; below 0: 31
int WrapLineWidth(int width);    // 16 or above: 0; below 0: 15
bool IsRealValue2InRange(double value);   // above 0, at most 10
bool IsLayerInRange(double value);        // 0 to 255 once truncated (255.9 is 255)
