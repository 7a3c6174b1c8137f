// The one way the program writes a whole file: into a temporary file beside it, which then
// replaces it, so a failed write never leaves a half-written file and keeps the old one.
#pragma once

#include <windows.h>

#include <string>

// Writes the bytes to a temporary file beside path and renames it over path. 0 or the error.
DWORD WriteFileReplacing(const char* path, const std::string& bytes);
