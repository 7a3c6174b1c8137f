// The plug-in's exported entries.
#pragma once

#include <windows.h>

extern "C" {
int WINAPI StartCmd(HWND host, const char* commandLine);
int WINAPI StartCmdEx(HWND host, const char* commandLine, void* context);
int WINAPI StartProduct(const char* productName);
int WINAPI EndProduct(void);
int WINAPI CwCmdSaveFg(void);
}
