// Entries that the program looks up by name in a plug-in command library.
#pragma once

#include <windows.h>

// Runs the command named in the text; the command's result, -1 when it cannot be started.
typedef int(WINAPI* StartCmdProc)(HWND host, const char* commandText);
// Whether the library's commands change the drawing (1) so that a save is offered.
typedef int(WINAPI* CwCmdSaveFgProc)(void);
// The library's version number.
typedef int(WINAPI* CwCmdVerProc)(void);
