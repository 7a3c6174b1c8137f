// The right-click menu the views open: the program's own popup of entries, pick list and panel.
#pragma once

#include <windows.h>

// Opens the menu for a click in the view (position in client coordinates, packed as a message
// lParam); forced is 1 when the right button was dragged.
void ShowRightMenu(HWND view, LPARAM position, int forced);
// 1 while the custom popup (and its copy of the parameter panel) is shown.
int RightMenuPopupShown();
