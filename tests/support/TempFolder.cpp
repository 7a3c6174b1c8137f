#include "TempFolder.h"

#include <windows.h>

#include <cstdio>

namespace {

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + "\\");
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}

}  // namespace

TempFolder::TempFolder()
{
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    static unsigned counter = 0;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%svt%lu_%u\\", base, GetCurrentProcessId(), counter++);
        if (CreateDirectoryA(name, nullptr)) {
            m_path = name;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            m_path = base;  // the tests will fail on their own files
            break;
        }
    }
}

TempFolder::~TempFolder()
{
    if (!m_path.empty()) RemoveTree(m_path);
}

bool TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    HANDLE file = CreateFileA(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string TempFolder::Read(const std::string& name) const
{
    HANDLE file = CreateFileA(File(name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}
