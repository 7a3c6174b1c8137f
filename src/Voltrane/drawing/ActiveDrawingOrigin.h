// The paper origin of the active drawing: 1 = at the lower left of the paper, 0 = at its centre.
#pragma once

// Stores the mode in the active drawing's information, marks the drawing modified, refreshes
// the tool panel's paper and scale and fits the view to the paper. 0; -1 without an active
// drawing (nothing changes).
int SetActiveDrawingOriginMode(int mode);
// The active drawing's mode into *mode: 0, or -1 without an active drawing.
int GetActiveDrawingOriginMode(int* mode);
