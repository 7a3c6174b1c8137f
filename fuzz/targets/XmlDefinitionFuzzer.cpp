// An XML definition file: loaded (either declared encoding), read by section and key, its
// lists and child names, changed, pruned, saved in Shift_JIS and loaded again.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Win32Shim.h"
#include "core/DefFile.h"

namespace {

int WINAPI QuietBox(HWND, LPCSTR, LPCSTR, UINT) { return IDOK; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char kPath[] = "C:\\fuzz\\definition.xml";
    const char kSaved[] = "C:\\fuzz\\saved.xml";
    shim::ClearFiles();
    shim::PutFile(kPath, data, size);
    CXMLFile::errorBox = QuietBox;
    CDefFile file(kPath);
    if (!file.document) return 0;
    std::string text;
    char shortBuffer[8];
    file.GetString("ReadOnlyCmd", "id", "none", text);
    file.GetString("CmdGroup/System", "dir", nullptr, shortBuffer, sizeof shortBuffer);
    file.GetString("*", "*", "", text);
    std::vector<std::string> list, names;
    file.GetStringList("CmdGroup/*/data", "item", list);
    file.GetChildNames("CmdGroup", names);
    file.GetChildNames("*", names);
    file.SetString("Fuzz", "added/value", "\x94\x7a\x93\x64", 1);
    file.SetStringAt("CmdGroup/System", "data/item", "changed", 0);
    file.SetString("ReadOnlyCmd", "id", "1,2,3", 0);
    file.RemoveEmptyElements();
    if (file.Save(kSaved) != 1) return 0;
    // What the program saved it loads again.
    CDefFile again(kSaved);
    if (!again.document) {
        std::string written;
        shim::GetFile(kSaved, written);
        std::fprintf(stderr, "the saved file does not load again: %s\n%s\n", again.lastError.c_str(), written.c_str());
        __builtin_trap();
    }
    return 0;
}
