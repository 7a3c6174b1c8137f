// The test plug-in's command that drives the program's DDE client through its host messages.
#pragma once

#include <windows.h>

// Runs "DdeClient SERVICE"; -2 when the name is not that command.
int RunDdeCommand(HWND host, const char* name);
