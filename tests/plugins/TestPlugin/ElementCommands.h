// Test plug-in commands that drive the element, mark, placement and undo services.
#pragma once

#include <windows.h>

// Runs the command of that name and returns its result, or -2 when the name is not one of these.
int RunElementCommand(HWND host, const char* name);
