// The paper of the drawing a view shows.
#pragma once

#include <windows.h>

// The paper width and height in mm of the view's drawing; 1 when they could be read (a view
// with a drawing and a paper of some size), else 0 and the outputs untouched.
int GetViewPaperSize(HWND view, double* width, double* height);
