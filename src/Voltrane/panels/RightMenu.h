// The right-click menu the views open: the program's own popup of entries, pick list and panel.
#pragma once

#include <windows.h>

// Opens the menu for a click in the view (position in client coordinates, packed as a message
// lParam); forced is 1 when the right button was dragged.
void ShowRightMenu(HWND view, LPARAM position, int forced);
// 1 while the custom popup (and its copy of the parameter panel) is shown.
int RightMenuPopupShown();
// Closes an open layer-list pop-up and the right-click popup; 1 when the popup was shown. The
// popup's entries go when its posted close request is handled.
int CloseRightMenu();
// The slot in which the layer dialogs' layer list keeps its open pop-up (null for none).
void SetLayerListPopupWindow(HWND popup);
HWND GetLayerListPopupWindow();
// Appends the entries of the menu file to the popup being built.
void AppendRightMenuFileEntries();
