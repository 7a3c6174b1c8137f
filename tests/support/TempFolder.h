// A fresh folder under the system temporary folder, removed with its files at the end of the
// test.
#pragma once

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Windows path with a trailing backslash.
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + name; }

    // Writes bytes to a file in the folder; true on success.
    bool Write(const std::string& name, const std::string& bytes) const;
    // Reads a whole file; empty when it cannot be read.
    std::string Read(const std::string& name) const;

private:
    std::string m_path;
};
