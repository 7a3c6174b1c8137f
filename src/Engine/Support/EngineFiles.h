// Whole files as the engine libraries read and write them: through the platform, so that
// Windows paths are used as they are.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace EngineSupport {

// Reads the whole file. 0, or the platform's error (ERROR_FILE_TOO_LARGE above the limit);
// bytes is then empty.
DWORD ReadWholeFile(const char* path, std::vector<uint8_t>& bytes, size_t limit);

// Writes the bytes into a temporary file beside path and renames it over path, so that a
// failed write never leaves a half-written file and keeps the old one. 0, or the error.
DWORD WriteFileReplacing(const char* path, const void* bytes, size_t size);

// True for the errors of a full disk.
inline bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

}  // namespace EngineSupport
