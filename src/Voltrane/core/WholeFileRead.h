// The one way the program reads a whole file: through the platform, so that Windows paths are
// used as they are, with a size limit so that a huge or endless file cannot exhaust memory.
#pragma once

#include <windows.h>

#include <string>

// The largest file read whole; settings, definition and hand-off files are far smaller.
constexpr size_t kWholeFileReadLimit = 64u * 1024u * 1024u;

// Reads the file into bytes. 0, or the platform's error (ERROR_FILE_TOO_LARGE over the limit);
// bytes is then empty.
DWORD ReadWholeFile(const char* path, std::string* bytes, size_t limit = kWholeFileReadLimit);
