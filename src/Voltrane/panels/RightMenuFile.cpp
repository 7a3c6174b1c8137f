#include "panels/RightMenuFile.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "core/Dbcs.h"
#include "core/WholeFileRead.h"

namespace {

const char kPopup[] = "[POPUP]";
const char kEnd[] = "[END]";
const char kSeparator[] = "SEPARATOR";

char* g_buffer = nullptr;

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// The caption runs to the first comma or control character; a double-byte character is taken
// whole, so its second byte never ends it.
std::string ReadCaption(const char* text, const char** rest)
{
    size_t i = 0;
    while (text[i] != '\0') {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (IsSjisLeadByte(c) && text[i + 1] != '\0') {
            i += 2;
            continue;
        }
        if (c == ',' || c < 0x20) break;
        ++i;
    }
    if (rest != nullptr) *rest = text + i;
    return std::string(text, i);
}

long ReadId(const char* rest)
{
    if (*rest != ',') return 0;
    ++rest;
    while (*rest == ' ' || *rest == '\t') ++rest;
    return std::strtol(rest, nullptr, 10);
}

// Writes into the caller's buffer, keeping room for the "[END]" of every open group and the
// closing empty string, so that a file that does not fit still leaves a complete form.
class FormWriter {
public:
    FormWriter(char* buffer, size_t size) : m_buffer(buffer), m_size(size) {}

    // Writes the strings as one item; false (and nothing written) when they do not fit.
    bool Put(std::initializer_list<std::string> strings, int depthAfter)
    {
        size_t need = 0;
        for (const std::string& s : strings) need += s.size() + 1;
        const size_t reserve = static_cast<size_t>(depthAfter) * (sizeof kEnd) + 1;
        if (m_used + need + reserve > m_size) return false;
        for (const std::string& s : strings) {
            std::memcpy(m_buffer + m_used, s.c_str(), s.size() + 1);
            m_used += s.size() + 1;
        }
        return true;
    }
    void Finish(int openGroups)
    {
        for (int i = 0; i < openGroups; ++i) Put({kEnd}, 0);
        if (m_used < m_size) m_buffer[m_used++] = '\0';
    }

private:
    char* m_buffer;
    size_t m_size;
    size_t m_used = 0;
};

// The file's lines as the menu reads them: text-mode line ends, at most kRightMenuLineBytes
// bytes each (the rest of a longer line is dropped rather than read as a line of its own),
// the line feed kept so that the short-line rule counts it.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        const bool hasFeed = end != std::string::npos;
        if (!hasFeed) end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (hasFeed) line += '\n';
        if (line.size() > kRightMenuLineBytes) line.resize(DbcsFitLength(line.c_str(), line.size(), kRightMenuLineBytes));
        lines.push_back(line);
        pos = hasFeed ? end + 1 : end;
    }
    return lines;
}

}  // namespace

int ParseRightMenuText(const std::string& text, char* buffer, size_t size)
{
    if (buffer == nullptr || size == 0) return 0;
    FormWriter writer(buffer, size);
    int depth = 0;
    bool fits = true;
    for (const std::string& raw : SplitLines(text)) {
        const char* line = raw.c_str();
        while (*line == ' ' || *line == '\t') ++line;
        if (*line == ';') continue;
        if (std::strlen(line) < 3) continue;
        if (StartsWith(line, kPopup)) {
            const char* caption = line + std::strlen(kPopup);
            while (*caption == ' ' || *caption == '\t') ++caption;
            fits = writer.Put({kPopup, ReadCaption(caption, nullptr)}, depth + 1);
            if (fits) ++depth;
        } else if (depth > 0 && StartsWith(line, kEnd)) {
            fits = writer.Put({kEnd}, depth - 1);
            if (fits) --depth;
        } else if (StartsWith(line, kSeparator)) {
            fits = writer.Put({kSeparator}, depth);
        } else {
            const char* rest = nullptr;
            const std::string caption = ReadCaption(line, &rest);
            char id[24];
            std::snprintf(id, sizeof id, "%ld", ReadId(rest));
            fits = writer.Put({id, caption}, depth);
        }
        if (!fits) break;
    }
    writer.Finish(depth);
    return fits ? 1 : 0;
}

int AllocRightMenuBuffer()
{
    if (g_buffer == nullptr) g_buffer = new (std::nothrow) char[kRightMenuBufferSize];
    if (g_buffer == nullptr) return 0;
    g_buffer[0] = '\0';
    return 1;
}

void FreeRightMenuBuffer()
{
    delete[] g_buffer;
    g_buffer = nullptr;
}

int LoadRightMenuFile(const char* path)
{
    if (g_buffer == nullptr) return 0;
    g_buffer[0] = '\0';
    std::string text;
    if (path == nullptr || ReadWholeFile(path, &text) != 0) return 0;
    return ParseRightMenuText(text, g_buffer, kRightMenuBufferSize);
}

const char* RightMenuParsedForm() { return g_buffer; }

void WalkRightMenuForm(const char* form, size_t size, RightMenuFileVisitor& visitor)
{
    if (form == nullptr) return;
    size_t pos = 0;
    // Each string is bounded by the buffer, so a form without its closing empty string ends
    // at the buffer's end.
    auto next = [&](const char** out) {
        if (pos >= size) return false;
        const void* zero = std::memchr(form + pos, '\0', size - pos);
        if (zero == nullptr) return false;
        *out = form + pos;
        pos = static_cast<const char*>(zero) - form + 1;
        return true;
    };
    const char* item = nullptr;
    while (next(&item) && item[0] != '\0') {
        if (std::strcmp(item, kSeparator) == 0) {
            visitor.Separator();
        } else if (std::strcmp(item, kPopup) == 0) {
            const char* caption = nullptr;
            if (!next(&caption)) return;
            visitor.GroupBegin(caption);
        } else if (std::strcmp(item, kEnd) == 0) {
            visitor.GroupEnd();
        } else {
            const char* caption = nullptr;
            if (!next(&caption)) return;
            visitor.Entry(std::strtol(item, nullptr, 10), caption);
        }
    }
}
