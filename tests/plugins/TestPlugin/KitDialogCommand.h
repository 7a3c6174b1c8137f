// The test plug-in's dialog with the program's kit controls placed by class name.
#pragma once

#include <windows.h>

// Runs "KitDialog"; -2 when the name is another command.
int RunKitDialogCommand(HWND host, const char* name);
