#include "core/HandOffFiles.h"

#include <windows.h>

#include <cstdlib>

#include "Dravik.h"
#include "core/ProgramPaths.h"

int LinkModeOfNumber(int number)
{
    switch (number) {
    case 1: return 99;
    case 2: return 0;
    case 3: return 1;
    case 4: return 2;
    case 5: return 3;
    case 6: return 4;
    case 7: return 5;
    case 10: return 10;
    default: return -1;
    }
}

int CreateEmptyFile(const char* path)
{
    if (path == nullptr || *path == '\0') return 0;
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    CloseHandle(file);
    return 1;
}

int ReadLinkModeFrom(const char* toCadPath, const char* exchangeCsvPath)
{
    if (toCadPath == nullptr || *toCadPath == '\0') return -1;
    HANDLE file = CreateFileA(toCadPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    // Only the first line counts, and only its first 255 characters.
    char line[256] = {};
    DWORD got = 0;
    ReadFile(file, line, sizeof line - 1, &got, nullptr);
    CloseHandle(file);
    line[got] = '\0';
    for (DWORD i = 0; i < got; ++i) {
        if (line[i] == '\n' || line[i] == '\r') {
            line[i] = '\0';
            break;
        }
    }
    int number = std::atoi(line);
    int linkMode = LinkModeOfNumber(number);
    if (number == 1 || number == 2) CreateEmptyFile(exchangeCsvPath);  // a failure is not fatal
    return linkMode;
}

std::string GetHandOffFilePath(const char* name)
{
    char path[MAX_PATH] = {};
    GetDataPathFile(kDataPathSettei, GetExeDir().c_str(), path, name);
    return path;
}

std::string GetExchangeFilePath(const char* name)
{
    char path[MAX_PATH] = {};
    GetDataPathFile(kDataPathDenkiD, GetExeDir().c_str(), path, name);
    return path;
}

int ReadLinkMode(int /*kind*/)
{
    return ReadLinkModeFrom(GetHandOffFilePath("to_cad.atr").c_str(),
                            GetExchangeFilePath("hiroisyuukei.csv").c_str());
}

int CreateFromCadAtrFile() { return CreateEmptyFile(GetHandOffFilePath("from_cad.atr").c_str()); }
