// The overview ("#LAYOUTVIEW#"): a small floating window showing the whole paper of the active
// drawing with the active view's visible area as a red rectangle. Dragging a rectangle in it,
// or clicking, makes the active view show that area.
#pragma once

#include <windows.h>

LRESULT CALLBACK LayoutViewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Places a floating view window (the overview or the loupe) at its start position and size.
void PlaceFloatingViewWindow(HWND window);

// Messages 2584 (toggle), 2588 (show) and 2589 (hide); each answers 1.
LRESULT ToggleLayoutViewWindow();
LRESULT ShowLayoutViewWindow();
LRESULT HideLayoutViewWindow();
