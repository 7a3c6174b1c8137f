// The item windows of a parameter panel.
#pragma once

#include <windows.h>

// Makes one window for every item in use of the panel being built (mode 1: the right-click
// menu's copy, panel 4) inside parent; largestY, when given, receives the lowest item's y.
// 1 when at least one item window was made, else 0.
int PboxBuildItemWindows(HWND parent, int* largestY, int mode);
