#include "mainframe/DefinitionLines.h"

#include <windows.h>

#include <cstring>

#include "core/CsvParser.h"
#include "core/Dbcs.h"
#include "core/ProgramPaths.h"
#include "core/WholeFileRead.h"
#include "core/ReplacingWrite.h"

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::string TrimLeadingSpace(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) ++i;
    return text.substr(i);
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.compare(0, strlen(prefix), prefix) == 0;
}

bool CDefinitionLineReader::Next(std::string& line)
{
    while (m_pos < m_content.size()) {
        // One piece: up to and with the line feed, at most 1023 bytes (the buffer keeps room
        // for its terminating zero).
        size_t end = m_content.find('\n', m_pos);
        size_t length = (end == std::string::npos ? m_content.size() : end + 1) - m_pos;
        // The cut never falls between the two bytes of a double-byte character.
        if (length > kLineBytes - 1) length = DbcsFitLength(m_content.data() + m_pos, length, kLineBytes - 1);
        std::string piece = m_content.substr(m_pos, length);
        m_pos += length;
        size_t zero = piece.find('\0');
        if (zero != std::string::npos) piece.erase(zero);
        std::string text = TrimLeadingSpace(piece);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        if (text.empty() || text[0] == ';' || StartsWith(text, "//")) continue;
        line = text;
        return true;
    }
    return false;
}

std::vector<std::string> SplitDefinitionFields(const std::string& line)
{
    CCsvParser parser(line);
    return parser.fields;
}

bool ReadDefinitionFile(const char* path, std::string& content) { return ReadWholeFile(path, &content) == 0; }

bool WriteDefinitionFile(const char* path, const std::string& content)
{
    return WriteFileReplacing(path, content) == 0;
}

std::string ProgramFolder()
{
    std::string folder = GetExeDir();
    return folder.empty() ? folder : folder + "\\";
}
