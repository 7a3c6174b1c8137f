// The temporary-point dialog in coordinate mode, for the tool panel's coordinate button.
#pragma once

// Asks for the coordinates of the next point; 1 when the dialog ran, 0 without an active view.
int InputTemporaryPoint();
