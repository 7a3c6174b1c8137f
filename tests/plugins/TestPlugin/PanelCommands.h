// The test plug-in's commands that fill and show a parameter panel through the panel messages.
#pragma once

#include <windows.h>

// Runs the panel command of that name; -2 when the name is none of them.
int RunPanelCommand(HWND host, const char* name);
