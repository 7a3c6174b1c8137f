#include "HostFolders.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>

#include "Dravik.h"
#include "HostState.h"
#include "HostText.h"

namespace HostFolders {

namespace {

const char kUserAppDataMacro[] = "%USER_LOCAL_APPDATA%";
const char kExeDirMacro[] = "%EXE_DIR%";

// The length of a folder without its closing separators; a 0x5C that ends a double-byte
// character belongs to that character.
size_t LengthWithoutSeparators(const std::string& folder)
{
    size_t kept = 0;
    for (size_t i = 0; i < folder.size(); ++i) {
        if (HostText::IsLeadByte(static_cast<unsigned char>(folder[i])) && i + 1 < folder.size()) {
            kept = ++i + 1;
            continue;
        }
        if (folder[i] != '\\' && folder[i] != '/') kept = i + 1;
    }
    return kept;
}

bool CopyWithSeparator(char* out, size_t outSize, std::string folder)
{
    folder.resize(LengthWithoutSeparators(folder));
    folder += '\\';
    if (!HostText::CopyBounded(out, outSize, folder.c_str())) {
        if (out != nullptr && outSize > 0) out[0] = '\0';
        return false;
    }
    return true;
}

void ReplaceAll(std::string& text, const char* macro, const std::string& replacement)
{
    size_t length = std::strlen(macro);
    for (size_t at = text.find(macro); at != std::string::npos;
         at = text.find(macro, at + replacement.size())) {
        text.replace(at, length, replacement);
    }
}

}  // namespace

bool ProgramFolder(char* out, size_t outSize)
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) {
        if (out != nullptr && outSize > 0) out[0] = '\0';
        return false;
    }
    char* slash = std::strrchr(path, '\\');
    if (slash != nullptr) *slash = '\0';
    return CopyWithSeparator(out, outSize, path);
}

bool UserSettingsFolder(char* out, size_t outSize)
{
    char base[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, base, CSIDL_LOCAL_APPDATA, FALSE) || base[0] == '\0') {
        if (out != nullptr && outSize > 0) out[0] = '\0';
        return false;
    }
    std::string folder = base;
    folder.resize(LengthWithoutSeparators(folder));
    folder += "\\Ostrel\\";
    folder += HostState::Instance().ProductName();
    return CopyWithSeparator(out, outSize, folder);
}

const char* DataFolderOfKind(int kind)
{
    static const char* const kFolders[] = {
        "",        "CFG",      "SETTEI\\OptionMenu", "HANYOUC", "KENTIKUC", "DENKIC", "KIKAIC",
        "SETTEI", "KENTIKUD", "KENTIKUD\\HATCH",    "DENKID",  "KIKAID",   "PRINT",  "TEMP",
    };
    if (kind < 0 || kind >= static_cast<int>(sizeof kFolders / sizeof kFolders[0])) return nullptr;
    return kFolders[kind];
}

bool ExpandMacros(const char* pathText, char* out, size_t outSize)
{
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (pathText == nullptr) return false;
    std::string text = pathText;
    if (text.find(kUserAppDataMacro) != std::string::npos) {
        char folder[MAX_PATH];
        if (!UserSettingsFolder(folder, sizeof folder)) return false;
        ReplaceAll(text, kUserAppDataMacro, folder);
    }
    if (text.find(kExeDirMacro) != std::string::npos) {
        char folder[MAX_PATH];
        if (!ProgramFolder(folder, sizeof folder)) return false;
        ReplaceAll(text, kExeDirMacro, folder);
    }
    if (!HostText::CopyBounded(out, outSize, text.c_str())) {
        out[0] = '\0';
        return false;
    }
    return true;
}

void CreateFolderOfFile(const char* filePath)
{
    if (filePath == nullptr) return;
    std::string path = filePath;
    size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return;
    path.resize(slash);
    // Each ancestor in turn; existing ones are simply passed.
    for (size_t at = 0; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '\\' || path[at] == '/') {
            std::string part = path.substr(0, at);
            if (part.empty() || (part.size() == 2 && part[1] == ':')) continue;
            CreateDirectoryA(part.c_str(), nullptr);
        }
        // Step over the trail byte of a double-byte character, which may be 0x5C.
        if (at < path.size() && HostText::IsLeadByte(static_cast<unsigned char>(path[at]))) ++at;
    }
}

}  // namespace HostFolders

DRAVIK_API int WINAPI Dader_GetDataPath(int kind, char* out, const char* fileName,
                                        int withProgramFolder)
{
    if (out == nullptr) return -1;
    out[0] = '\0';
    const char* folder = HostFolders::DataFolderOfKind(kind);
    if (folder == nullptr) return -1;
    std::string path;
    if (withProgramFolder != 0) {
        char programFolder[MAX_PATH];
        if (!HostFolders::ProgramFolder(programFolder, sizeof programFolder)) return -1;
        path = programFolder;
    }
    if (folder[0] != '\0') {
        path += folder;
        path += '\\';
    }
    if (fileName != nullptr) path += fileName;
    if (!HostText::CopyBounded(out, MAX_PATH, path.c_str())) {
        out[0] = '\0';
        return -1;
    }
    return 0;
}
