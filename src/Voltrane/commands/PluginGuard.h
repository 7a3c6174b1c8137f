// The exception guard around a call into a plug-in. g++ has no __try/__except; under Winelib the
// platform's own frame-based handling catches every exception code the same way. A Windows
// compiler would use __try/__except in this one place instead.
#pragma once

#include <windows.h>

#include "PluginEntry.h"

// Calls entry(host, text) inside the guard. 1: the call returned and *result holds its result;
// 0: an exception ended the call, *exceptionCode holds its code and *result is unchanged.
int CallStartCmdGuarded(StartCmdProc entry, HWND host, const char* text, int* result,
                        DWORD* exceptionCode);

// The same for a file loader entry (main window, path, target database) and for the loader
// with information records (two more pointers, passed when withInfo is 1).
int CallLoaderGuarded(FARPROC entry, int withInfo, HWND host, const char* path, void* database,
                      void* info1, void* info2, DWORD* exceptionCode);

// A list's row-drawing function of a plug-in, called with the draw-item record of one row.
typedef void(WINAPI* PboxRowDrawProc)(DRAWITEMSTRUCT* drawItem);
// Calls it inside the guard: 1 when it returned, 0 when an exception ended it (code set).
int CallRowDrawGuarded(PboxRowDrawProc draw, DRAWITEMSTRUCT* drawItem, DWORD* exceptionCode);
