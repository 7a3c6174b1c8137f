#include "core/ConfigIo.h"

#include <shlwapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/WholeFileRead.h"
#include "core/DefFile.h"
#include "core/ProgramPaths.h"
#include "core/ReplacingWrite.h"
#include "core/SettingsFiles.h"
#include "core/SettingsHostCalls.h"
#include "core/SettingsMessage.h"

namespace {

const char kUserMacro[] = "%USER_LOCAL_APPDATA%";
const char kExeMacro[] = "%EXE_DIR%";
const char kMemoryMacro[] = "%SYSTEM_MEMORY%";
const char kUserConfigData[] = "%USER_LOCAL_APPDATA%ConfigData.xml";
constexpr DWORD kValueSize = 257;

// Position of a file name in a file spec, compared without case; npos when absent.
std::size_t FindNoCase(const std::string& text, const char* name)
{
    const std::size_t length = std::strlen(name);
    for (std::size_t i = 0; i + length <= text.size(); ++i) {
        if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, text.c_str() + i, static_cast<int>(length), name,
                           static_cast<int>(length)) == CSTR_EQUAL)
            return i;
    }
    return std::string::npos;
}

int ClassifyFileSpec(const std::string& fileSpec)
{
    std::size_t at = FindNoCase(fileSpec, "ConfigData.xml");
    if (at != std::string::npos && at > 0) return 1;
    at = FindNoCase(fileSpec, "LocalSettings.xml");
    if (at != std::string::npos && at > 0) return 2;
    return 0;
}

bool RemoveMacro(std::string& text, const char* macro)
{
    bool found = false;
    std::size_t at = 0;
    const std::size_t length = std::strlen(macro);
    while ((at = text.find(macro)) != std::string::npos) {
        text.erase(at, length);
        found = true;
    }
    return found;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool SamePath(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

bool ReadBytes(const std::string& path, std::string* bytes) { return ReadWholeFile(path.c_str(), bytes) == 0; }

bool WriteBytesAtomically(const std::string& path, const std::string& bytes)
{
    return WriteFileReplacing(path.c_str(), bytes) == 0;
}

// Writes an edited settings document back. Empty elements keep their start and end tags:
// the settings archive reader does not accept the empty-element form.
bool SaveSettingsDocument(const CDefFile& file, const std::string& path)
{
    struct Writer : pugi::xml_writer {
        std::string text;
        void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
    } writer;
    file.document->save(writer, "\t",
                        pugi::format_indent | pugi::format_no_empty_element_tags | pugi::format_no_declaration,
                        pugi::encoding_utf8);
    return WriteBytesAtomically(path, writer.text);
}

// The file still parses as a whole settings archive of its kind.
bool ArchiveStillReadable(const std::string& path, int kind)
{
    std::string failure;
    if (kind == 1) {
        ConfigData probe = GetCadSystem().config;
        return LoadConfigDataFile(path, probe, &failure) == 0;
    }
    CCadSystem& system = GetCadSystem();
    LocalSettingsRecords probe{system.setup, system.localWindow, GetCadFileBackupSettings(), system.stackCmd};
    return LoadLocalSettingsFile(path, probe, &failure) == 0;
}

// Writes one value into a settings XML file in place. The per-user file first receives the
// values in memory, and is read back afterwards so that the new value is in force; a file
// whose edit could not be verified is put back as it was.
int WriteXmlSetting(const char* section, const char* key, const char* value, const std::string& path, int kind)
{
    const std::string userPath = kind == 1 ? GetConfigDataXmlPath(false, false) : GetLocalSettingsXmlPath(false, false);
    const bool isUserCopy = SamePath(path, userPath);
    if (isUserCopy) {
        int written = kind == 1 ? WriteConfigDataXml(path.c_str()) : WriteLocalSettingsXml(path.c_str());
        if (written != 0) return 0;
    }
    std::string original;
    if (!ReadBytes(path, &original)) return 0;

    {
        CDefFile file(path.c_str());
        if (!file.document) return 0;
        if (file.SetString(section, key, value, 0) != 0) return 0;
        if (!SaveSettingsDocument(file, path)) return 0;
    }
    // The edit counts only when the file holds the value and still reads as a whole.
    std::string stored;
    bool ok = false;
    {
        CDefFile check(path.c_str());
        ok = check.document && check.GetString(section, key, nullptr, stored) == 0 && stored == value &&
             ArchiveStillReadable(path, kind);
    }
    if (!ok) {
        WriteBytesAtomically(path, original);
        return 0;
    }
    if (isUserCopy) {
        int reread = kind == 1 ? ReadConfigDataXml(true, path.c_str()) : ReadLocalSettingsXml(true, path.c_str());
        if (reread != 0) return 0;
    }
    return 1;
}

void CopyOut(char* out, std::size_t outSize, const char* text)
{
    if (out != nullptr && outSize > 0) DbcsCopy(out, outSize, text ? text : "");
}

}  // namespace

std::string GetProgramIniPath()
{
    std::string exe = GetExePath();
    std::string drive, dir, name;
    SplitPath(exe, &drive, &dir, &name, nullptr);
    return drive + dir + name + ".ini";
}

int ResolveVirtualProfilePath(const char* fileSpec, std::string* outPath)
{
    std::string text = fileSpec ? fileSpec : "";
    const int kind = ClassifyFileSpec(text);
    std::string path;
    if (text.find(kUserMacro) != std::string::npos) {
        std::string rest = text;
        RemoveMacro(rest, kUserMacro);
        char buffer[MAX_PATH * 2] = {};
        GetUserDataFilePath(buffer, sizeof buffer, rest.c_str(), -1);
        path = buffer;
    } else if (text.find(kExeMacro) != std::string::npos) {
        std::string rest = text;
        RemoveMacro(rest, kExeMacro);
        path = JoinPath(GetExeDir(), rest);
    } else if (text.find(kMemoryMacro) != std::string::npos) {
        if (outPath) *outPath = text;
        return kind + 10;
    } else {
        path = text;
    }
    if (outPath) *outPath = path;
    return FileExists(path) ? kind : -1;
}

int VirtualGetPrivateProfileString(const char* section, const char* key, const char* defaultText, char* out,
                                   DWORD outSize, const char* fileSpec)
{
    std::string path;
    int kind = ResolveVirtualProfilePath(fileSpec, &path);
    if (kind == -1) return 0;
    if (kind == 0) return static_cast<int>(GetPrivateProfileStringA(section, key, defaultText, out, outSize, path.c_str()));
    if (kind == 1 || kind == 2) {
        CDefFile file(path.c_str());
        std::string value;
        if (!file.document || file.GetString(section, key, defaultText, value) < 0) {
            // A settings file that cannot be read answers the default and no success.
            CopyOut(out, outSize, defaultText);
            return 0;
        }
        CopyOut(out, outSize, value.c_str());
        return 1;
    }
    // Values answered from memory.
    if (kind == 11 && key != nullptr && std::strcmp(key, "Menu/AppPanelType") == 0) {
        char number[32];
        std::snprintf(number, sizeof number, "%d", GetCadSystem().config.menu.AppPanelType);
        CopyOut(out, outSize, number);
    } else {
        CopyOut(out, outSize, defaultText);
    }
    return 1;
}

int VirtualWritePrivateProfileString(const char* section, const char* key, const char* value,
                                     const char* fileSpec)
{
    std::string path;
    int kind = ResolveVirtualProfilePath(fileSpec, &path);
    if (kind == -1) return 0;
    if (kind == 0) return WritePrivateProfileStringA(section, key, value, path.c_str()) ? 1 : 0;
    if (kind == 1 || kind == 2) {
        if (section == nullptr || key == nullptr || value == nullptr) return 0;
        return WriteXmlSetting(section, key, value, path, kind);
    }
    // Nothing in memory can be written.
    return 0;
}

void StripConfigComment(char* text)
{
    if (text == nullptr) return;
    for (std::size_t i = 0; text[i] != '\0'; ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0') {
            ++i;
            continue;
        }
        if (text[i] == '/' && text[i + 1] == '/') {
            std::size_t end = i;
            while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
            text[end] = '\0';
            return;
        }
    }
}

namespace {

// Reads the raw text of a setting into out (outSize bytes) over the default already there.
void ReadRawSetting(const char* section, const char* key, const char* defaultText, char* out, DWORD outSize)
{
    if (section != nullptr && std::strcmp(section, "SYSTEM") == 0) {
        VirtualGetPrivateProfileString(section, key, defaultText, out, outSize, kUserConfigData);
    } else {
        GetPrivateProfileStringA(section, key, defaultText, out, outSize, GetProgramIniPath().c_str());
    }
}

}  // namespace

int ReadConfigValue(void* out, int type, int size, const char* section, const char* key, const char* defaultText)
{
    if (type < 1 || type > 5 || out == nullptr) return -1;
    const char* def = defaultText ? defaultText : "";
    switch (type) {
    case 1: *static_cast<int*>(out) = std::atoi(def); break;
    case 2:
    case 3: *static_cast<long*>(out) = std::atol(def); break;
    case 4: *static_cast<double*>(out) = std::atof(def); break;
    case 5: CopyOut(static_cast<char*>(out), size > 0 ? static_cast<std::size_t>(size) : 0, def); break;
    }
    if (type == 5) {
        if (size <= 0) return 0;
        char* text = static_cast<char*>(out);
        ReadRawSetting(section, key, def, text, static_cast<DWORD>(size));
        StripConfigComment(text);
        return 0;
    }
    char buffer[kValueSize];
    CopyOut(buffer, sizeof buffer, def);
    ReadRawSetting(section, key, def, buffer, kValueSize);
    StripConfigComment(buffer);
    switch (type) {
    case 1: *static_cast<int*>(out) = std::atoi(buffer); break;
    case 2:
    case 3: *static_cast<long*>(out) = std::atol(buffer); break;
    case 4: *static_cast<double*>(out) = std::atof(buffer); break;
    }
    return 0;
}

int ReadConfigString(const char* section, const char* key, const char* defaultText, char* out)
{
    if (out == nullptr) return 1;
    if (section != nullptr && key != nullptr && std::strcmp(section, "SYSTEM") == 0 && std::strcmp(key, "SYSTEMDIR") == 0) {
        std::string folder = GetExeDir();
        if (folder.empty() || folder.back() != '\\') folder += "\\";
        CopyOut(out, kValueSize, folder.c_str());
        return 1;
    }
    CopyOut(out, kValueSize, defaultText);
    ReadRawSetting(section, key, defaultText ? defaultText : "", out, kValueSize);
    StripConfigComment(out);
    return 1;
}

int WriteConfigString(const char* section, const char* key, const char* value)
{
    if (section != nullptr && std::strcmp(section, "SYSTEM") == 0)
        return VirtualWritePrivateProfileString(section, key, value, kUserConfigData) ? 1 : 0;
    return WritePrivateProfileStringA(section, key, value, GetProgramIniPath().c_str()) ? 1 : 0;
}

namespace {

// Steps 2 and 3 shared by the two configured-path lookups; returns the name read.
std::string ReadConfiguredName(const char* section, const char* key, const char* defaultName)
{
    char name[kValueSize] = {};
    ReadConfigString(section, key, defaultName, name);
    return name;
}

}  // namespace

int GetConfiguredFilePath(char* out, std::size_t outSize, const char* section, const char* key,
                          const char* defaultName)
{
    CopyOut(out, outSize, "");
    if (key != nullptr && key[0] == ';') {
        const char* rest = key;
        while (*rest == ';') ++rest;
        CopyOut(out, outSize, ExpandPathMacros(rest, false).c_str());
        return 1;
    }
    std::string name = ReadConfiguredName(section, key, defaultName);
    if (name.empty()) return 1;
    if (lstrcmpiA(GetPathExtension(name).c_str(), ".ini") == 0) {
        GetUserDataFilePath(out, outSize, name.c_str(), -1);
    } else {
        CopyOut(out, outSize, JoinPath(GetExeDir(), name).c_str());
    }
    return 1;
}

int GetConfiguredDataFilePath(char* out, std::size_t outSize, const char* section, const char* key,
                              const char* defaultName)
{
    CopyOut(out, outSize, "");
    std::string name = ReadConfiguredName(section, key, defaultName);
    if (name.empty()) return 1;
    if (lstrcmpiA(GetPathExtension(name).c_str(), ".ini") == 0) {
        GetUserDataFilePath(out, outSize, name.c_str(), 7);
    } else {
        char relative[MAX_PATH] = {};
        HostGetDataPath(7, relative, sizeof relative, name.c_str());
        CopyOut(out, outSize, JoinPath(GetExeDir(), relative).c_str());
    }
    return 1;
}

int GetUserDataFilePath(char* out, std::size_t outSize, const char* fileName, int dataKind)
{
    std::string userFolder = GetUserSettingsDir(true);
    std::string sourceFolder = GetExeDir();
    if (dataKind >= 0) {
        char sub[MAX_PATH] = {};
        HostGetDataPath(dataKind, sub, sizeof sub, nullptr);
        userFolder = JoinPath(userFolder, sub);
        sourceFolder = JoinPath(sourceFolder, sub);
    }
    CreateDirectoryTree(userFolder);
    const std::string name = fileName ? fileName : "";
    std::string userPath = JoinPath(userFolder, name);
    std::string sourcePath = JoinPath(sourceFolder, name);
    if (FileExists(sourcePath)) {
        CopyIfNewer(sourcePath, userPath, ".bak");
    } else {
        std::vector<char> text(sourcePath.size() + 256);
        std::snprintf(text.data(), text.size(),
                      "設定ファイル %s がありません。正しくインストールされているか確認してください。",
                      sourcePath.c_str());
        ShowSettingsMessage(GetMainFrameWnd(), text.data(), "エラー", MB_ICONERROR);
    }
    CopyOut(out, outSize, userPath.c_str());
    return 0;
}

namespace {

enum class AuxFile { Sonota, InputHistory, ButtonColor };

std::string AuxFilePath(AuxFile which)
{
    char path[MAX_PATH * 2] = {};
    const char* defaultName = "sonota.ini";
    switch (which) {
    case AuxFile::Sonota:
        GetConfiguredFilePath(path, sizeof path, "CONFIG", "CMDINI", defaultName);
        break;
    case AuxFile::InputHistory:
        defaultName = "rirekimoji.ini";
        GetConfiguredDataFilePath(path, sizeof path, "CONFIG", "DATSTR", defaultName);
        break;
    case AuxFile::ButtonColor:
        defaultName = "bottoncolor.ini";
        GetConfiguredDataFilePath(path, sizeof path, "CONFIG", "PBOXCOL", defaultName);
        break;
    }
    if (path[0] == '\0') GetUserDataFilePath(path, sizeof path, defaultName, 7);
    return path;
}

int ReadAux(AuxFile which, const char* section, const char* key, const char* defaultText, char* out)
{
    if (out == nullptr) return 1;
    GetPrivateProfileStringA(section, key, defaultText, out, kValueSize, AuxFilePath(which).c_str());
    return 1;
}

int WriteAux(AuxFile which, const char* section, const char* key, const char* value)
{
    return WritePrivateProfileStringA(section, key, value, AuxFilePath(which).c_str()) ? 1 : 0;
}

}  // namespace

int ReadSonotaString(const char* section, const char* key, const char* defaultText, char* out)
{
    return ReadAux(AuxFile::Sonota, section, key, defaultText, out);
}

int ReadInputHistoryString(const char* section, const char* key, const char* defaultText, char* out)
{
    return ReadAux(AuxFile::InputHistory, section, key, defaultText, out);
}

int ReadButtonColorString(const char* section, const char* key, const char* defaultText, char* out)
{
    return ReadAux(AuxFile::ButtonColor, section, key, defaultText, out);
}

int WriteSonotaString(const char* section, const char* key, const char* value)
{
    return WriteAux(AuxFile::Sonota, section, key, value);
}

int WriteInputHistoryString(const char* section, const char* key, const char* value)
{
    return WriteAux(AuxFile::InputHistory, section, key, value);
}

void GetScaleList(std::vector<std::string>& out)
{
    for (const std::string& scale : GetCadSystem().config.SCALE) out.push_back(scale);
}
