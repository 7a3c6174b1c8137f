#include "CidToUnicodeTable.h"

#include "PdfImportServices.h"

#include <cctype>

CidToUnicodeTable& CidToUnicodeTable::Instance()
{
    static CidToUnicodeTable table;
    return table;
}

namespace {

// The value of the leading hexadecimal digits of text (at most 8 are read).
uint32_t HexValueOf(const char* text, size_t length)
{
    uint32_t value = 0;
    for (size_t i = 0; i < length && i < 8; ++i) {
        const int c = static_cast<unsigned char>(text[i]);
        if (!std::isxdigit(c)) break;
        value = value * 16 + static_cast<uint32_t>(std::isdigit(c) ? c - '0' : (std::tolower(c) - 'a' + 10));
    }
    return value;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

}  // namespace

int CidToUnicodeTable::LoadFromText(const std::string& text)
{
    if (!m_values.empty()) return 1;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        size_t first = pos;
        size_t last = end;
        while (first < last && IsBlank(text[first])) ++first;
        while (last > first && IsBlank(text[last - 1])) --last;
        if (first == last || text[first] != '#') m_values.push_back(HexValueOf(text.data() + first, last - first));
        pos = end + 1;
    }
    return 0;
}

bool CidToUnicodeTable::Lookup(uint32_t cid, uint32_t& unicode) const
{
    if (cid >= m_values.size()) return false;
    unicode = m_values[cid];
    return true;
}

int LoadCidToUnicode(IPdfDataFiles& files)
{
    CidToUnicodeTable& table = CidToUnicodeTable::Instance();
    if (table.Count() > 0) return 1;
    std::string text;
    if (!files.ReadWholeFile(files.DataPath("VellocData\\Pdf\\CidToUnicode.dat"), text, 16u * 1024u * 1024u))
        return -1;
    return table.LoadFromText(text);
}
