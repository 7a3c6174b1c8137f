// Reading and writing the two XML settings files: "ConfigData.xml" (root "SYSTEM") and
// "LocalSettings.xml" (roots "Setup", "Window", "CadFileBackup", "StackCmd"). Both are
// wide-character XML archives in UTF-8. A file is read into a temporary record, which
// replaces the program's record only when the whole file was read; a file is written to a
// temporary file that is then renamed over it.
#pragma once

#include <string>

#include "core/ConfigData.h"
#include "core/LocalSettings.h"

// The four records of "LocalSettings.xml".
struct LocalSettingsRecords {
    LocalSettingsSetup setup;
    LocalSettingsWindow window;
    CadFileBackupSettings backup;
    LocalSettingsStackCmd stackCmd;
};

// One archive file to or from records; 0 done, -1 failed with the failure's text in error.
int LoadConfigDataFile(const std::string& path, ConfigData& record, std::string* error);
int SaveConfigDataFile(const std::string& path, ConfigData& record, std::string* error);
int LoadLocalSettingsFile(const std::string& path, LocalSettingsRecords& records, std::string* error);
int SaveLocalSettingsFile(const std::string& path, LocalSettingsRecords& records, std::string* error);

// The program's records (those of the application object). path null: the per-user file.
// A file that cannot be read is set aside under the name of DamagedSettingsPath and read
// again from the installed copy; the second failure is shown. 0 loaded, -1 not.
int ReadConfigDataXml(bool apply, const char* path = nullptr);
int WriteConfigDataXml(const char* path = nullptr);
int ReadLocalSettingsXml(bool apply, const char* path = nullptr);
int WriteLocalSettingsXml(const char* path = nullptr);

// Where a damaged settings file is set aside: its base name with ".damaged.bak", apart from
// the ".bak" that keeps the user's copy replaced by a newer installed one.
std::string DamagedSettingsPath(const std::string& path);
// The "LocalSettings.ini" that belongs to a settings path (the extension replaced by ".ini"
// unless it already is, compared without case); the per-user one for null.
std::string LocalSettingsIniPathFor(const char* path);
