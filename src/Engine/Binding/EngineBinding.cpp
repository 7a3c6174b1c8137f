#include "EngineBinding.h"

#include <cstdio>
#include <cstring>

namespace {

void CopyBounded(char* out, size_t outSize, const char* text)
{
    if (out == nullptr || outSize == 0) return;
    size_t n = std::strlen(text);
    if (n >= outSize) n = outSize - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
}

}  // namespace

void GetProgramFolder(char* out, size_t outSize)
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        CopyBounded(out, outSize, ".\\");
        return;
    }
    char* slash = std::strrchr(path, '\\');
    if (slash != nullptr) slash[1] = '\0';
    CopyBounded(out, outSize, path);
}

int BindEngineLibraries(char* failedName, size_t failedNameSize)
{
    // LumbraImage is bound here too: the PDF plug-in links it and calls it on export.
    static const char* const kLibraries[] = {"DravikDb.dll", "Dravik.dll", "LumbraImage.dll"};
    char folder[MAX_PATH];
    GetProgramFolder(folder, sizeof folder);
    for (const char* name : kLibraries) {
        char path[MAX_PATH * 2];
        // A PE build of the library is taken first, as on Windows; our Winelib builds carry ".so".
        std::snprintf(path, sizeof path, "%s%s", folder, name);
        HMODULE module = LoadLibraryA(path);
        if (module == nullptr) {
            std::snprintf(path, sizeof path, "%s%s.so", folder, name);
            module = LoadLibraryA(path);
        }
        if (module == nullptr) {
            CopyBounded(failedName, failedNameSize, name);
            return 0;
        }
    }
    return 1;
}
