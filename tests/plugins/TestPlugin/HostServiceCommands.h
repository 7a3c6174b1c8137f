// Test plug-in commands that use the host's services for settings, fonts and drawings the way
// a plug-in does: through host messages and the host library.
#pragma once

#include <windows.h>

// Runs the host-service command of that name; -2 when the name is none of them.
int RunHostServiceCommand(HWND host, const char* name);
