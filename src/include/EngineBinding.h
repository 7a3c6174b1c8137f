// Binding of the outside libraries at process start.
//
// Wine loads our ELF (Winelib) libraries as dependencies of the program, but their Win32
// imports are only resolved and their DllMain only runs once they are loaded through
// LoadLibraryA by their ".so" name. Every process (the program, each test) calls
// BindEngineLibraries before its first call into the engine.
#pragma once

#include <windows.h>

// Loads DravikDb, Dravik and LumbraImage from the folder of the running program.
// Returns 1 when both are bound, 0 otherwise (the name of the first missing library is
// copied into failedName when given, bounded by failedNameSize).
int BindEngineLibraries(char* failedName = nullptr, size_t failedNameSize = 0);

// Folder of the running program file, with a trailing backslash.
void GetProgramFolder(char* out, size_t outSize);
