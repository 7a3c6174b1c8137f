// Profile reads and writes of plug-ins, on files named with the library's path macros.
#include <windows.h>

#include "Dravik.h"
#include "HostFolders.h"
#include "HostText.h"

DRAVIK_API DWORD WINAPI QmCadApi_GetPrivateProfileString(const char* section, const char* key,
                                                         const char* defaultText, char* out,
                                                         DWORD outSize, const char* fileName)
{
    if (out == nullptr || outSize == 0) return 0;
    char path[MAX_PATH];
    if (!HostFolders::ExpandMacros(fileName, path, sizeof path) || path[0] == '\0') {
        // A file that cannot be named reads like a missing file: the default.
        HostText::CopyBounded(out, outSize, defaultText != nullptr ? defaultText : "");
        return static_cast<DWORD>(lstrlenA(out));
    }
    return GetPrivateProfileStringA(section, key, defaultText != nullptr ? defaultText : "", out,
                                    outSize, path);
}

DRAVIK_API BOOL WINAPI QmCadApi_WritePrivateProfileString(const char* section, const char* key,
                                                          const char* value, const char* fileName)
{
    char path[MAX_PATH];
    if (!HostFolders::ExpandMacros(fileName, path, sizeof path) || path[0] == '\0') return FALSE;
    HostFolders::CreateFolderOfFile(path);
    return WritePrivateProfileStringA(section, key, value, path);
}
