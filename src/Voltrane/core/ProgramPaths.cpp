#include "core/ProgramPaths.h"

#include <oleauto.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "core/ConfigData.h"
#include "core/Dbcs.h"
#include "core/ReplacingWrite.h"
#include "core/SettingsHostCalls.h"
#include "core/SettingsMessage.h"
#include "core/SettingsTypes.h"
#include "core/WholeFileRead.h"

namespace {

std::string g_exePathOverride;
std::string g_localAppDataOverride;
std::string g_documentsOverride;
bool g_overridden = false;

ResolvedFilePaths g_resolved = {};
MenuSettingsRuntime g_menuRuntime = {};

const char kMaker[] = "Ostrel";
const char kProduct[] = "VoltraneV8";

std::string StripTrailingSeparators(std::string path)
{
    // A folder name may end in a double-byte character whose second byte is 0x5C.
    path.resize(DbcsTrimSeparators(path.data(), path.size()));
    return path;
}

bool FileExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Copies through the program's replacing write, so a failed copy never leaves a half-written
// destination. The copy keeps the source's time, which CopyIfNewer compares.
bool CopyFileSafely(const std::string& source, const std::string& destination, bool overwrite)
{
    if (!overwrite && FileExists(destination)) return false;
    std::string bytes;
    if (ReadWholeFile(source.c_str(), &bytes) != 0 || WriteFileReplacing(destination.c_str(), bytes) != 0)
        return false;
    FILETIME written = {};
    HANDLE from = CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (from == INVALID_HANDLE_VALUE) return true;
    const bool timed = GetFileTime(from, nullptr, nullptr, &written) != 0;
    CloseHandle(from);
    HANDLE to = CreateFileA(destination.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
    if (to == INVALID_HANDLE_VALUE) return true;
    if (timed) SetFileTime(to, nullptr, nullptr, &written);
    CloseHandle(to);
    return true;
}

std::string SeededUserPath(const char* fileName, bool create, bool seed)
{
    std::string userPath = JoinPath(GetUserSettingsDir(create), fileName);
    if (seed || !FileExists(userPath)) {
        std::string installed = JoinPath(GetExeDir(), fileName);
        if (FileExists(installed)) {
            CopyIfNewer(installed, userPath, ".bak");
        } else {
            char text[1024];
            std::snprintf(text, sizeof text,
                          "設定ファイル %s がありません。正しくインストールされているか確認してください。",
                          installed.c_str());
            ShowSettingsMessage(nullptr, text, "エラー", MB_ICONERROR);
        }
    }
    return userPath;
}

}  // namespace

void OverrideProgramFolders(const std::string& exePath, const std::string& localAppData,
                            const std::string& documents)
{
    g_exePathOverride = exePath;
    g_localAppDataOverride = localAppData;
    g_documentsOverride = documents;
    g_overridden = !exePath.empty() || !localAppData.empty() || !documents.empty();
}

std::string GetExePath()
{
    if (!g_exePathOverride.empty()) return g_exePathOverride;
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return std::string();
    return path;
}

std::string GetExeDir()
{
    std::string path = GetExePath();
    std::size_t slash = DbcsFindLastSeparator(path.data(), path.size());
    if (slash == static_cast<std::size_t>(-1)) return std::string();
    return path.substr(0, slash);
}

std::string GetExeDirAlt() { return GetExeDir(); }

void GetExeDirBuf(char* out)
{
    if (out != nullptr) CopySettingsText(out, MAX_PATH, GetExeDir().c_str());
}

std::string GetSpecialFolder(int csidl, bool create)
{
    if (csidl == CSIDL_LOCAL_APPDATA && !g_localAppDataOverride.empty()) return g_localAppDataOverride;
    if (csidl == CSIDL_PERSONAL && !g_documentsOverride.empty()) return g_documentsOverride;
    char path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathA(nullptr, path, csidl, create ? TRUE : FALSE)) return std::string();
    return path;
}

const char* GetMakerFolderName() { return kMaker; }
const char* GetProductFolderName() { return kProduct; }

std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty()) return name;
    if (name.empty()) return folder;
    std::string left = StripTrailingSeparators(folder);
    std::size_t start = 0;
    while (start < name.size() && (name[start] == '\\' || name[start] == '/')) ++start;
    return left + "\\" + name.substr(start);
}

namespace {

std::string ProductFolderUnder(int csidl, bool create)
{
    std::string base = GetSpecialFolder(csidl, create);
    std::string folder = JoinPath(JoinPath(base, kMaker), kProduct);
    if (base.empty()) folder = JoinPath(kMaker, kProduct);
    if (create) CreateDirectoryTree(folder);
    return folder;
}

}  // namespace

std::string GetUserSettingsDir(bool create) { return ProductFolderUnder(CSIDL_LOCAL_APPDATA, create); }

std::string GetUserDocumentsDir(bool create) { return ProductFolderUnder(CSIDL_PERSONAL, create); }

int CreateDirectoryTree(const std::string& folder)
{
    std::string path = StripTrailingSeparators(folder);
    if (path.empty()) return 0;
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 1 : 0;
    std::string parent = StripTrailingSeparators(GetParentPath(path));
    // The walk ends at a root ("C:") or when the parent cannot shrink any further.
    if (!parent.empty() && parent != path && !(parent.size() == 2 && parent[1] == ':')) {
        if (!CreateDirectoryTree(parent)) return 0;
    }
    if (!CreateDirectoryA(path.c_str(), nullptr)) {
        attributes = GetFileAttributesA(path.c_str());
        return (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) ? 1 : 0;
    }
    return 1;
}

std::string GetParentPath(const std::string& path)
{
    std::string trimmed = StripTrailingSeparators(path);
    std::string drive, dir;
    SplitPath(trimmed, &drive, &dir, nullptr, nullptr);
    return drive + dir;
}

void SplitPath(const std::string& path, std::string* drive, std::string* dir, std::string* name,
               std::string* ext)
{
    std::size_t pos = 0;
    std::string d;
    if (path.size() >= 2 && path[1] == ':') {
        d = path.substr(0, 2);
        pos = 2;
    }
    // The last separator, scanning double-byte characters as units.
    std::size_t lastSep = std::string::npos;
    for (std::size_t i = pos; i < path.size(); ++i) {
        unsigned char ch = static_cast<unsigned char>(path[i]);
        if (IsSjisLeadByte(ch)) {
            ++i;
            continue;
        }
        if (ch == '\\' || ch == '/') lastSep = i;
    }
    std::string directory = lastSep == std::string::npos ? std::string() : path.substr(pos, lastSep + 1 - pos);
    std::string file = path.substr(lastSep == std::string::npos ? pos : lastSep + 1);
    std::size_t dot = file.find_last_of('.');
    std::string base = dot == std::string::npos ? file : file.substr(0, dot);
    std::string extension = dot == std::string::npos ? std::string() : file.substr(dot);
    if (drive) *drive = d;
    if (dir) *dir = directory;
    if (name) *name = base;
    if (ext) *ext = extension;
}

std::string GetPathExtension(const std::string& path)
{
    std::string ext;
    SplitPath(path, nullptr, nullptr, nullptr, &ext);
    return ext;
}

std::string ExpandPathMacros(const std::string& path, bool create)
{
    struct Macro {
        const char* name;
        int which;
    };
    static const Macro kMacros[] = {{"%USER_MYDOCUMENTS%", 0}, {"%USER_LOCAL_APPDATA%", 1}, {"%EXECDIR%", 2}};
    std::string result = path;
    bool replaced = false;
    for (const Macro& macro : kMacros) {
        if (result.find(macro.name) == std::string::npos) continue;
        std::string replacement = macro.which == 0   ? GetUserDocumentsDir(false)
                                  : macro.which == 1 ? GetUserSettingsDir(false)
                                                     : GetExeDir();
        if (!replacement.empty()) {
            replacement = StripTrailingSeparators(replacement) + "\\";
            std::size_t at = 0;
            const std::size_t nameLength = std::strlen(macro.name);
            while ((at = result.find(macro.name, at)) != std::string::npos) {
                result.replace(at, nameLength, replacement);
                at += replacement.size();
            }
            replaced = true;
        }
        break;  // only the first macro of the list that occurs is handled
    }
    if (!replaced && PathIsRelativeA(result.c_str())) result = JoinPath(GetUserDocumentsDir(false), result);
    if (create) CreateDirectoryTree(result);
    return result;
}

int GetFileLocalTime(const std::string& path, SYSTEMTIME* localTime)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    FILETIME written = {}, local = {};
    SYSTEMTIME st = {};
    bool ok = GetFileTime(file, nullptr, nullptr, &written) && FileTimeToLocalFileTime(&written, &local) &&
              FileTimeToSystemTime(&local, &st);
    CloseHandle(file);
    if (!ok) return 0;
    if (localTime) *localTime = st;
    return 1;
}

int CopyIfNewer(const std::string& source, const std::string& destination, const char* backupExtension)
{
    SYSTEMTIME sourceTime = {}, destinationTime = {};
    if (!GetFileLocalTime(source, &sourceTime)) return 0;
    if (!GetFileLocalTime(destination, &destinationTime)) {
        // No destination yet: copy without overwriting anything.
        return CopyFileSafely(source, destination, false) ? 1 : 0;
    }
    sourceTime.wMilliseconds = 0;
    destinationTime.wMilliseconds = 0;
    double sourceDate = 0.0, destinationDate = 0.0;
    if (!SystemTimeToVariantTime(&sourceTime, &sourceDate) ||
        !SystemTimeToVariantTime(&destinationTime, &destinationDate))
        return 0;
    if (!(sourceDate > destinationDate && sourceDate - destinationDate >= 1e-8)) return 0;
    if (backupExtension != nullptr) {
        char base[MAX_PATH * 2] = {};
        CopySettingsText(base, sizeof base, destination.c_str());
        PathRemoveExtensionA(base);
        std::string backup = std::string(base) + backupExtension;
        CopyFileSafely(destination, backup, true);
    }
    return CopyFileSafely(source, destination, true) ? 1 : 0;
}

std::string GetConfigDataXmlPath(bool create, bool seed) { return SeededUserPath("ConfigData.xml", create, seed); }

std::string GetLocalSettingsXmlPath(bool create, bool seed)
{
    return SeededUserPath("LocalSettings.xml", create, seed);
}

std::string GetLocalSettingsIniPath(bool create, bool seed)
{
    return SeededUserPath("LocalSettings.ini", create, seed);
}

std::string GetCmdPanelDefPath(bool create, bool seed) { return SeededUserPath("CmdPanel.def", create, seed); }

std::string GetUserIniPath() { return JoinPath(GetUserSettingsDir(true), "Brisco.ini"); }

int GetDataFolderPath(int kind, char* out, std::size_t outSize, const char* fileName, bool withProgramFolder)
{
    static const char* const kFolders[] = {"",       "CFG",      "SETTEI\\OptionMenu", "HANYOUC",
                                           "KENTIKUC", "DENKIC", "KIKAIC",             "SETTEI",
                                           "KENTIKUD", "KENTIKUD\\HATCH", "DENKID",    "KIKAID",
                                           "PRINT",  "TEMP"};
    if (out == nullptr || outSize == 0) return -1;
    out[0] = '\0';
    if (kind < 0 || kind > 13) return -1;
    std::string path;
    if (withProgramFolder) path = StripTrailingSeparators(GetExeDir()) + "\\";
    path += kFolders[kind];
    if (!path.empty() && path.back() != '\\') path += "\\";
    if (fileName != nullptr) path += fileName;
    if (!CopySettingsText(out, outSize, path.c_str())) {
        out[0] = '\0';
        return -1;
    }
    return 0;
}

std::string GetDataFolderPath(int kind, const char* fileName, bool withProgramFolder)
{
    char buffer[MAX_PATH * 4];
    if (GetDataFolderPath(kind, buffer, sizeof buffer, fileName, withProgramFolder) != 0) return std::string();
    return buffer;
}

void GetDataPathFile(int kind, const char* baseFolder, char* out, const char* fileName)
{
    if (out == nullptr) return;
    char relative[MAX_PATH] = {};
    HostGetDataPath(kind, relative, sizeof relative, fileName);
    std::string path = JoinPath(baseFolder ? baseFolder : "", relative);
    CopySettingsText(out, MAX_PATH, path.c_str());
}

const ResolvedFilePaths& GetResolvedFilePaths() { return g_resolved; }
MenuSettingsRuntime& GetMenuSettingsRuntime() { return g_menuRuntime; }

void ResolveFilePaths(ConfigDataFile& file)
{
    ResolvedFilePaths& rp = g_resolved;
    std::string exeDir = GetExeDir();

    std::string backup = StripTrailingSeparators(ExpandPathMacros(file.BACKUPDIR, true)) + "\\";
    std::string logDir =
        StripTrailingSeparators(ExpandPathMacros(file.LOGDIR.empty() ? std::string("LOG") : file.LOGDIR, true)) +
        "\\";
    std::string help = file.HELPFILE.empty() ? std::string() : JoinPath(exeDir, file.HELPFILE);
    std::string autoOpen;
    if (!file.AUTOZ.empty()) {
        bool absolute = file.AUTOZ[0] == '\\' || (file.AUTOZ.size() > 1 && file.AUTOZ[1] == ':');
        autoOpen = absolute ? file.AUTOZ : JoinPath(file.ZUMENDIR, file.AUTOZ);
    }
    std::string sound = file.WAV.empty() ? std::string() : JoinPath(exeDir, file.WAV);
    file.helpFilePath = help;
    file.autoOpenPath = autoOpen;
    file.backupFolderPath = backup;

    if (file.RDONLY == 0) CreateDirectoryA(backup.c_str(), nullptr);

    std::string probe = backup + "tmp$bootchk.tmp";
    HANDLE handle = CreateFileA(probe.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        ShowSettingsMessage(nullptr,
                            "テンポラリファイルが書き込みできない場所にインストールされています。\n"
                            "本システムはインストール先のフォルダおよびAppDataフォルダ内にバックアップファイル／設定ファイルの情報等を書き込み為、\n"
                            "インストール先およびAppDataフォルダ内に書き込み権限が必要になります。",
                            "テンポラリチェックエラー", MB_OK);
    } else {
        CloseHandle(handle);
        if (!DeleteFileA(probe.c_str())) {
            ShowSettingsMessage(nullptr,
                                "テンポラリファイルが書き込みできない場所にインストールされています(2)。\n"
                                "本システムはインストール先のフォルダおよびAppDataフォルダ内にバックアップファイル／設定ファイルの情報等を書き込む為、\n"
                                "インストール先およびAppDataフォルダ内に書き込み権限が必要になります。",
                                "テンポラリチェックエラー", MB_OK);
        }
    }

    CopySettingsText(rp.helpFile, sizeof rp.helpFile, help.c_str());
    CopySettingsText(rp.autoOpenPath, sizeof rp.autoOpenPath, autoOpen.c_str());
    CopySettingsText(rp.backupDir, sizeof rp.backupDir, backup.c_str());
    CopySettingsText(rp.drawingDir, sizeof rp.drawingDir, file.ZUMENDIR.c_str());
    CopySettingsText(rp.soundFile, sizeof rp.soundFile, sound.c_str());
    CopySettingsText(rp.logDir, sizeof rp.logDir, logDir.c_str());

    file.commandPath = GetDataFolderPath(7, file.COMMAND.c_str(), true);
    file.menuPath = GetDataFolderPath(7, file.MENU.c_str(), true);
    file.rmenuPath = GetDataFolderPath(7, file.RMENU.c_str(), true);
    file.keyPath = GetDataFolderPath(7, file.KEY.c_str(), true);
    file.regPath = GetDataFolderPath(7, file.REG.c_str(), true);
    file.toolBmpPath = GetDataFolderPath(7, file.TOOLBMP.c_str(), true);
    file.titleBmpPath = GetDataFolderPath(7, file.TITLEBMP.c_str(), true);

    ConfigDataFile::BuildFilterString(rp.openFilter0, sizeof rp.openFilter0, file.OPEN_EXT0_N, file.OPEN_EXT0_E);
    ConfigDataFile::BuildFilterString(rp.openFilter1, sizeof rp.openFilter1, file.OPEN_EXT1_N, file.OPEN_EXT1_E);
    ConfigDataFile::BuildFilterString(rp.openFilter2, sizeof rp.openFilter2, file.OPEN_EXT2_N, file.OPEN_EXT2_E);
    ConfigDataFile::BuildFilterString(rp.saveFilter0, sizeof rp.saveFilter0, file.SAVE_EXT0_N, file.SAVE_EXT0_E);
    rp.readOnly = file.RDONLY;
}

void ApplyMenuSettings(ConfigDataMenu& menu)
{
    const long width = GetSystemMetrics(SM_CXSCREEN);
    const long height = GetSystemMetrics(SM_CYSCREEN);
    RectEx defaults;
    defaults.right = width - 2;
    defaults.bottom = height - 2;
    if (menu.WIMDOW_RECT.right == width && menu.WIMDOW_RECT.bottom == height) {
        RectEx r = menu.WINDOW_RECT_SIZE;
        if (r.top > height - 10) r.top = 0;
        if (r.left > width - 10) r.left = 0;
        if (r.top < -5) r.bottom = 0;
        if (r.top < 1) r.top = 0;
        if (r.left < 1) r.left = 0;
        if (r.bottom < 100) r.bottom = 100;
        if (r.right < 100) r = defaults;
        menu.WIMDOW_RECT = r;
    } else {
        menu.WIMDOW_RECT = defaults;
    }
    MenuSettingsRuntime& rt = g_menuRuntime;
    rt.mainWindowRect = {menu.WIMDOW_RECT.left, menu.WIMDOW_RECT.top, menu.WIMDOW_RECT.right,
                         menu.WIMDOW_RECT.bottom};
    rt.tmenuLastPos = menu.TMENU_TMENULASTPOS;
    rt.layoutViewWidth = menu.WINDOW_LAYOUTVIEW_WIDTH;
    rt.layoutViewHeight = menu.WINDOW_LAYOUTVIEW_HEIGHT;
    rt.fullDragMode = menu.FullDragMode;
}
