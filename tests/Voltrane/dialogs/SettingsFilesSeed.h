// The per-user settings folder and its "ConfigData.xml" as the program has them after its start,
// in a settings sandbox; the file aged so that a later write shows in its time.
#pragma once

#include <string>

#include "../core/SettingsSandbox.h"

// A copy of the installed file beside the test program.
inline std::string SeedUserConfigData()
{
    GetUserSettingsDir(true);
    const std::string path = GetConfigDataXmlPath(true, false);
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string installed = exe;
    installed = installed.substr(0, installed.find_last_of('\\') + 1) + "ConfigData.xml";
    CopyFileA(installed.c_str(), path.c_str(), FALSE);
    SettingsSandbox::SetFileAge(path, -100);
    return path;
}

inline FILETIME LastWrite(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

inline bool SameTime(const FILETIME& a, const FILETIME& b)
{
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

// The text of <tag> in an XML file; empty when missing.
inline std::string XmlField(const std::string& path, const std::string& tag)
{
    const std::string xml = SettingsSandbox::ReadFile(path);
    const size_t start = xml.find("<" + tag + ">");
    const size_t end = xml.find("</" + tag + ">");
    if (start == std::string::npos || end == std::string::npos || end < start) return std::string();
    return xml.substr(start + tag.size() + 2, end - start - tag.size() - 2);
}
