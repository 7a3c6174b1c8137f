#include "EngineFiles.h"

#include <cstdio>
#include <cstring>

namespace EngineSupport {

DWORD ReadWholeFile(const char* path, std::vector<uint8_t>& bytes, size_t limit)
{
    bytes.clear();
    if (path == nullptr || path[0] == '\0') return ERROR_INVALID_NAME;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError();
    DWORD high = 0;
    const DWORD size = GetFileSize(file, &high);
    DWORD error = 0;
    if (size == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) {
        error = GetLastError();
    } else if (high != 0 || size > limit) {
        error = ERROR_FILE_TOO_LARGE;
    } else {
        bytes.resize(size);
        DWORD got = 0;
        if (size != 0 && (!ReadFile(file, bytes.data(), size, &got, nullptr) || got != size))
            error = GetLastError() != 0 ? GetLastError() : ERROR_READ_FAULT;
    }
    CloseHandle(file);
    if (error != 0) bytes.clear();
    return error;
}

DWORD WriteFileReplacing(const char* path, const void* bytes, size_t size)
{
    if (path == nullptr || path[0] == '\0' || std::strlen(path) > MAX_PATH - 24) return ERROR_INVALID_NAME;
    char temp[MAX_PATH + 32];
    std::snprintf(temp, sizeof temp, "%s.%lu.tmp", path, static_cast<unsigned long>(GetCurrentProcessId()));
    HANDLE file = CreateFileA(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() != 0 ? GetLastError() : ERROR_ACCESS_DENIED;
    DWORD error = 0;
    const char* data = static_cast<const char*>(bytes);
    size_t done = 0;
    while (done < size) {
        const DWORD chunk = static_cast<DWORD>(size - done < (1u << 24) ? size - done : (1u << 24));
        DWORD written = 0;
        if (!WriteFile(file, data + done, chunk, &written, nullptr) || written != chunk) {
            error = GetLastError() != 0 ? GetLastError() : ERROR_DISK_FULL;
            break;
        }
        done += written;
    }
    if (error == 0 && !FlushFileBuffers(file)) error = GetLastError();
    if (!CloseHandle(file) && error == 0) error = GetLastError();
    if (error == 0 && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError() != 0 ? GetLastError() : ERROR_ACCESS_DENIED;
    if (error != 0) DeleteFileA(temp);
    return error;
}

}  // namespace EngineSupport
