// Test plug-in commands that change the active drawing through the engine, as a drawing
// command would.
#pragma once

#include <windows.h>

// Runs the drawing command of that name; -2 when the name is none of them.
int RunDrawingCommand(HWND host, const char* name);
// OpenFile PATH  asks the host to open the drawing file (WM_CADDB_OPEN_FILE), as the command
//                line and other programs have it opened; the caption then reads "OpenFile R"
//                with the host's answer.
