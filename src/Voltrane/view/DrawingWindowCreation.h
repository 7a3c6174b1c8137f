// Making drawing windows: an empty drawing window in the main frame's MDI client, the empty
// drawing window of message 2424, and a further view of the active drawing (command 4025).
#pragma once

#include <windows.h>

// The untitled-drawing counter (the number behind "無題" in the titles of untitled drawings).
int& UntitledDrawingCounter();
// 1 while CreateRovOdidov runs.
int IsCreatingDrawingWindow();

// A new drawing window; its view window, or null when the view table is full or the window
// could not be made. noTitle 1 leaves the frame's caption alone; the window takes rectB, else
// rectA, else the MDI client's client area.
HWND CreateRovOdidov(HWND window, int noTitle, const RECT* rectA, const RECT* rectB);
// Message 2424: an empty drawing window fitted to its paper; 1.
int OpenEmptyDrawingWindow(HWND mainWindow);
// Command 4025: a further view of the active drawing beside the active one; 1 when made.
int OpenFurtherDrawingView(HWND mainWindow);
// Service commands 1203 (variant 'A': the new view's page layout off) and 1213 ('B'): the same
// further view without a minimum frame size and without rearranging the frames; 1 when made.
int OpenFurtherDrawingViewVariant(HWND mainWindow, char variant);
