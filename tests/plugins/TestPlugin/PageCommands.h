// Test plug-in commands on the pages of the active drawing, through the host's page message.
#pragma once

#include <windows.h>

// Runs the page command of that name; -2 when the name is none of them.
int RunPageCommand(HWND host, const char* name);
