// Test plug-in commands that show a selection where it would land (the host's transform
// preview), as a move or copy command does while the user drags.
#pragma once

#include <windows.h>

// Runs the preview command of that name; -2 when the name is none of them.
int RunPreviewCommand(HWND host, const char* name);
