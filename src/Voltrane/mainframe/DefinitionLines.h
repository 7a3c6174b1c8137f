// Line reading shared by the menu and accelerator files: lines of at most 1024 bytes (a longer
// line comes in pieces, each piece a line), leading white space removed, and ";" or "//"
// starting a comment line.
#pragma once

#include <string>
#include <vector>

class CDefinitionLineReader {
public:
    static constexpr size_t kLineBytes = 1024;

    explicit CDefinitionLineReader(const std::string& content) : m_content(content) {}
    // The next line that is not empty and not a comment, without its leading white space and
    // its line end; false at the end of the text.
    bool Next(std::string& line);
    void Rewind() { m_pos = 0; }

private:
    const std::string& m_content;
    size_t m_pos = 0;
};

// Removes leading white space (blank, tab, line feed, vertical tab, form feed, return).
std::string TrimLeadingSpace(const std::string& text);
bool StartsWith(const std::string& text, const char* prefix);
// The fields of a definition line, split by the shared CSV parser.
std::vector<std::string> SplitDefinitionFields(const std::string& line);

// Reads a whole file (a Windows path in code page 932); false when it cannot be opened.
bool ReadDefinitionFile(const char* path, std::string& content);
// Writes a whole file through a temporary file that replaces it; false on any failure, and
// the old file is then left as it was.
bool WriteDefinitionFile(const char* path, const std::string& content);
// The program file's folder, ending in a backslash.
std::string ProgramFolder();
