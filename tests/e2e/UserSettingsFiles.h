// The program's per-user settings files in this wine prefix, as the end-to-end tests read,
// change and restore them.
#pragma once

#include <string>
#include <utility>
#include <vector>

// The whole file; empty when it cannot be read.
std::string ReadAll(const std::string& path);
// Replaces the file by the bytes; true when all were written.
bool WriteAll(const std::string& path, const std::string& bytes);
// The text between <tag> and </tag> at or after position from of a settings file's XML; empty
// when either is missing.
std::string XmlElementText(const std::string& xml, const std::string& tag, size_t from = 0);
// The per-user settings folder (created when missing), with a trailing backslash.
std::string UserSettingsFolder();

// Sets values (tag, text) of a per-user settings file (seeded from the program folder's copy
// when missing) for one test and puts the file back after.
class SettingsFileSwap {
public:
    SettingsFileSwap(const std::string& fileName, const std::vector<std::pair<std::string, std::string>>& values);
    ~SettingsFileSwap();
    SettingsFileSwap(const SettingsFileSwap&) = delete;
    SettingsFileSwap& operator=(const SettingsFileSwap&) = delete;

    // Whether every tag was found and the file written.
    bool Ready() const { return m_ready; }
    std::string Current() const { return ReadAll(m_path); }

private:
    std::string m_path, m_saved;
    bool m_existed = false, m_ready = false;
};

// Sets a per-user file aside for one test (it is not there while the test runs) and puts it back
// after, or removes what the test left when there was none.
class UserFileAside {
public:
    explicit UserFileAside(const std::string& fileName);
    ~UserFileAside();
    UserFileAside(const UserFileAside&) = delete;
    UserFileAside& operator=(const UserFileAside&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path, m_saved;
    bool m_existed = false;
};
