// The test plug-in's commands that wait for input through the host's input wait.
#pragma once

#include <windows.h>

// Runs the waiting command of that name; -2 when the name is none of them.
int RunWaitCommand(HWND host, const char* name);
