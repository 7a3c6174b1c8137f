// The owner-drawn right-click menu, as the command history sees it: whether it is shown or being
// built, and its item adder. Until the right-click menu is part of the program it is never shown
// and adds nothing, so the history goes into plain pop-up menus.
#pragma once

#include <windows.h>

// 1 while the custom right-click menu is shown or being built.
int IsCustomRightMenuShown();
// Appends an item of the kind (0: a command) with the id and text; 1 added, 0 not.
int AppendCustomMenuItem(HMENU menu, int kind, int id, const char* text);
