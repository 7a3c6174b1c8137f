// The test plug-in's commands that wait for input through the host's input wait.
#pragma once

#include <windows.h>

// Runs the waiting command of that name; -2 when the name is none of them.
int RunWaitCommand(HWND host, const char* name);

// Waits for points until escape (1), an end (0) or the application quits (0), with the events
// of mask accepted and the prompt in the status bar. The caption traces "LABEL waiting", then
// "LABEL point 0xCODE X,Y" for every point, "LABEL ESC" or "LABEL end R".
int WaitForPoints(HWND host, const char* label, LPARAM mask, const char* prompt);
