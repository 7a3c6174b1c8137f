#include "core/ReplacingWrite.h"

#include <algorithm>

#include "core/Dbcs.h"

DWORD WriteFileReplacing(const char* path, const std::string& bytes)
{
    if (!path || !*path)
        return ERROR_INVALID_NAME;
    std::string folder(path);
    const size_t slash = DbcsFindLastSeparator(folder.data(), folder.size());
    folder = slash == static_cast<size_t>(-1) ? std::string(".") : folder.substr(0, slash + 1);
    char temp[MAX_PATH + 16];
    if (!GetTempFileNameA(folder.c_str(), "vtx", 0, temp))
        return GetLastError();
    HANDLE h = CreateFileA(temp, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        DeleteFileA(temp);
        return error;
    }
    DWORD error = 0;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(h, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
            error = GetLastError();
            if (!error)
                error = ERROR_WRITE_FAULT;
            break;
        }
        done += wrote;
    }
    if (!error && !FlushFileBuffers(h))
        error = GetLastError();
    if (!CloseHandle(h) && !error)
        error = GetLastError();
    if (!error && !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error)
        DeleteFileA(temp);
    return error;
}
