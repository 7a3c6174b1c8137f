// The plug-in's exported entries.
#pragma once

#include <windows.h>

#include <type_traits>

#include "PluginEntry.h"

extern "C" {
int WINAPI StartCmd(HWND host, const char* commandLine);
int WINAPI StartCmdEx(HWND host, const char* commandLine, void* context);
int WINAPI StartProduct(const char* productName);
int WINAPI EndProduct(void);
int WINAPI CwCmdSaveFg(void);
}

// The program calls these through the entry types it shares with every command library.
static_assert(std::is_same<decltype(&StartCmd), StartCmdProc>::value, "StartCmd matches StartCmdProc");
static_assert(std::is_same<decltype(&CwCmdSaveFg), CwCmdSaveFgProc>::value, "CwCmdSaveFg matches CwCmdSaveFgProc");
