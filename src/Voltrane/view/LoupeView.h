// The loupe ("#ROUPEVIEW#"): a small floating window showing an enlarged piece of the active
// drawing around the cursor. Moving and clicking in it give the input loops its world point.
#pragma once

#include <windows.h>

LRESULT CALLBACK LoupeViewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// 0 hides; 2 shows; 3 shows centred on the cursor; others toggle.
void SetLoupeState(int state);
// The loupe point of the last move or click in the loupe, while it is valid.
int IsCursorOverLoupe();
void ClearOverLoupe();
void GetLoupePoint(double* x, double* y);
// The pick tolerance of the loupe (world units): eight of its pixels.
double GetLoupeTolerance();
// The loupe's world window (left, top, right, bottom).
void GetLoupeWorldWindow(double* out);
