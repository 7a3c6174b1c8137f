#include "core/WholeFileRead.h"

DWORD ReadWholeFile(const char* path, std::string* bytes, size_t limit)
{
    bytes->clear();
    if (path == nullptr || *path == '\0') return ERROR_INVALID_NAME;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD error = 0;
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
            error = GetLastError();
            break;
        }
        if (got == 0) break;
        if (bytes->size() + got > limit) {
            error = ERROR_FILE_TOO_LARGE;
            break;
        }
        bytes->append(buffer, got);
    }
    CloseHandle(file);
    if (error != 0) bytes->clear();
    return error;
}
