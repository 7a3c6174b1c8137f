// Entries that the program looks up by name in a plug-in command library.
#pragma once

#include <windows.h>

// Runs the command named in the text; the command's result, -1 when it cannot be started.
typedef int(WINAPI* StartCmdProc)(HWND host, const char* commandText);
// Whether the library's commands change the drawing (1) so that a save is offered.
typedef int(WINAPI* CwCmdSaveFgProc)(void);
// The library's version number.
typedef int(WINAPI* CwCmdVerProc)(void);

// The file loaders of a reading library ("LoadingDB", and "Jwc_LoadingDB" for its second
// format): reads the file at the path into the target database.
typedef int(WINAPI* LoadingDbProc)(HWND host, const char* path, void* database);
// "LoadingDB_Info": the same with two information records handed through.
typedef int(WINAPI* LoadingDbInfoProc)(HWND host, const char* path, void* database, void* info1, void* info2);

// The names the program looks the entries up by.
constexpr char kStartCmdEntry[] = "StartCmd";
constexpr char kCwCmdSaveFgEntry[] = "CwCmdSaveFg";
constexpr char kCwCmdVerEntry[] = "CwCmdVer";
constexpr char kLoadingDbEntry[] = "LoadingDB";
constexpr char kJwcLoadingDbEntry[] = "Jwc_LoadingDB";
constexpr char kLoadingDbInfoEntry[] = "LoadingDB_Info";
