// Where the program finds its installed files and where each user's copies live: the program
// folder, the per-user settings and documents folders, path macros, the seeding of per-user
// settings files from the installed copies, and the paths derived from the settings.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

struct ConfigDataFile;
struct ConfigDataMenu;

std::string GetExePath();
std::string GetExeDir();  // no trailing separator
std::string GetExeDirAlt();
void GetExeDirBuf(char* out);  // 260-byte buffer

std::string GetSpecialFolder(int csidl, bool create);
const char* GetMakerFolderName();    // "Ostrel"
const char* GetProductFolderName();  // "VoltraneV8"
std::string GetUserSettingsDir(bool create);
std::string GetUserDocumentsDir(bool create);

// Creates the folder after its missing ancestors; 1 when the folder exists afterwards.
int CreateDirectoryTree(const std::string& folder);
// Drive and directory part; a trailing separator is ignored.
std::string GetParentPath(const std::string& path);
void SplitPath(const std::string& path, std::string* drive, std::string* dir, std::string* name,
               std::string* ext);
// Extension with its dot, or empty.
std::string GetPathExtension(const std::string& path);
// Joins a folder and a name with exactly one separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// Replaces the first of "%USER_MYDOCUMENTS%", "%USER_LOCAL_APPDATA%", "%EXECDIR%" found in
// the path; a path without a macro that is relative joins the per-user documents folder.
std::string ExpandPathMacros(const std::string& path, bool create);

// 1 with the last-write time as local time, 0 when the file cannot be read.
int GetFileLocalTime(const std::string& path, SYSTEMTIME* localTime);
// Copies source over destination when the source is newer by at least one second (or the
// destination is missing), keeping the old destination under its base name with the backup
// extension. Non-zero when copied.
int CopyIfNewer(const std::string& source, const std::string& destination, const char* backupExtension);

// Per-user settings files, seeded from the program folder.
std::string GetConfigDataXmlPath(bool create, bool seed);
std::string GetLocalSettingsXmlPath(bool create, bool seed);
std::string GetLocalSettingsIniPath(bool create, bool seed);
// The command panels' "CmdPanel.def": a new user would otherwise start with empty panels.
std::string GetCmdPanelDefPath(bool create, bool seed);
std::string GetUserIniPath();  // "Brisco.ini", not seeded

// Data folders under the program folder (kinds 0 to 13); 0, or -1 with an empty buffer.
int GetDataFolderPath(int kind, char* out, std::size_t outSize, const char* fileName,
                      bool withProgramFolder);
std::string GetDataFolderPath(int kind, const char* fileName, bool withProgramFolder);
// The host library's path of a data kind and file, joined to a base folder (260 bytes).
void GetDataPathFile(int kind, const char* baseFolder, char* out, const char* fileName);

// The process-wide paths derived from the file settings.
struct ResolvedFilePaths {
    char helpFile[257];
    char autoOpenPath[260];
    char backupDir[257];  // trailing separator
    char drawingDir[257];
    char soundFile[260];
    char logDir[257];  // trailing separator
    char openFilter0[512];
    char openFilter1[512];
    char openFilter2[512];
    char saveFilter0[260];
    int readOnly;
};
const ResolvedFilePaths& GetResolvedFilePaths();

// The live values of the menu settings.
struct MenuSettingsRuntime {
    RECT mainWindowRect;
    int tmenuLastPos;
    long layoutViewWidth;
    long layoutViewHeight;
    int fullDragMode;
};
MenuSettingsRuntime& GetMenuSettingsRuntime();

void ResolveFilePaths(ConfigDataFile& file);
void ApplyMenuSettings(ConfigDataMenu& menu);

// Points the program file and the special folders elsewhere (tests use temporary folders);
// empty texts restore the real ones.
void OverrideProgramFolders(const std::string& exePath, const std::string& localAppData,
                            const std::string& documents);
