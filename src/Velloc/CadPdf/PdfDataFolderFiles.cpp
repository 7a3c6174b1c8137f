#include "PdfDataFolderFiles.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#include <sys/stat.h>
#endif

namespace {
#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif
}  // namespace

PdfDataFolderFiles::PdfDataFolderFiles(const std::string& folder) : m_folder(folder)
{
    if (!m_folder.empty() && m_folder.back() != '\\' && m_folder.back() != '/') m_folder.push_back(kSeparator);
}

std::string PdfDataFolderFiles::DataPath(const std::string& relative)
{
    std::string path = m_folder + relative;
#ifndef _WIN32
    for (char& c : path)
        if (c == '\\') c = '/';
#endif
    return path;
}

#ifdef _WIN32

bool PdfDataFolderFiles::ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes)
{
    bytes.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size;
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart >= 0 && static_cast<unsigned long long>(size.QuadPart) <= maxBytes;
    if (ok) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        size_t done = 0;
        while (ok && done < bytes.size()) {
            DWORD read = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 24));
            ok = ReadFile(file, &bytes[done], want, &read, nullptr) && read > 0;
            done += read;
        }
    }
    CloseHandle(file);
    if (!ok) bytes.clear();
    return ok;
}

bool PdfDataFolderFiles::FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

#else

bool PdfDataFolderFiles::ReadWholeFile(const std::string& path, std::string& bytes, size_t maxBytes)
{
    bytes.clear();
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    char buffer[65536];
    size_t n;
    bool ok = true;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
        if (bytes.size() + n > maxBytes) {
            ok = false;
            break;
        }
        bytes.append(buffer, n);
    }
    ok = ok && !std::ferror(file);
    std::fclose(file);
    if (!ok) bytes.clear();
    return ok;
}

bool PdfDataFolderFiles::FileExists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

#endif
