#include "PdfCMapEncodingEx.h"

#include "CidToUnicodeTable.h"
#include "PdfImportServices.h"

#include <algorithm>
#include <cctype>

namespace {

bool EqualsNoCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == '\0';
}

// Predefined CMap files are small; anything far larger is not one.
const size_t kMaxCMapFileBytes = 4 * 1024 * 1024;

}  // namespace

void CidWidthTable::AddRange(uint32_t first, uint32_t last, int width)
{
    if (first > last || m_ranges.size() >= kMaxRanges) return;
    m_ranges.push_back(Range{first, last, width});
}

bool CidWidthTable::LookupCidWidth(uint32_t cid, double& relWidth) const
{
    for (const Range& r : m_ranges) {
        if (cid < r.first || cid > r.last) continue;
        relWidth = (defaultWidth > 0) ? static_cast<double>(r.width) / defaultWidth : r.width / 1000.0;
        return true;
    }
    return false;
}

std::string GetCMapFilePath(IPdfDataFiles& files, const std::string& name)
{
    return files.DataPath("VellocData\\Pdf\\cMap\\" + name);
}

PdfCMapEncodingEx::PdfCMapEncodingEx(const std::string& name, IPdfDataFiles& files) : m_name(name)
{
    LoadCidToUnicode(files);
    if (EqualsNoCase(name, "Identity-H") || EqualsNoCase(name, "Identity-V")) return;
    // A name is a file of the cMap folder, never a path.
    if (name.empty() || name.find_first_of("\\/:") != std::string::npos || name.find("..") != std::string::npos)
        return;
    if (!LoadCMapFile(name, files, m_map, 0)) return;
    if (!m_map.UnicodeEntries().empty()) {
        m_loaded = true;
        m_unicodeDestinations = true;
    } else if (!m_map.CidEntries().empty()) {
        m_loaded = true;
        m_unicodeDestinations = false;
        m_codesAreUnicode = (name.compare(0, 6, "UniJIS") == 0);
    }
}

bool PdfCMapEncodingEx::LoadCMapFile(const std::string& name, IPdfDataFiles& files, CMapData& into, int depth)
{
    std::string text;
    if (!files.ReadWholeFile(GetCMapFilePath(files, name), text, kMaxCMapFileBytes)) return false;
    into.Parse(text.data(), text.size());
    const std::string parent = into.UseCMap();
    if (!parent.empty() && parent != name && depth < kMaxUseCMapDepth &&
        parent.find_first_of("\\/:") == std::string::npos && parent.find("..") == std::string::npos) {
        CMapData parentMap;
        if (LoadCMapFile(parent, files, parentMap, depth + 1)) into.InheritFrom(parentMap);
    }
    return true;
}

void PdfCMapEncodingEx::AppendCodePoint(uint32_t codePoint, std::u16string& text) const
{
    if (codePoint == 0 || codePoint > 0x10FFFF) {
        text.push_back(u'?');
    } else if (codePoint > 0xFFFF) {
        codePoint -= 0x10000;
        text.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
        text.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
        text.push_back(static_cast<char16_t>(codePoint));
    }
}

// A code of a UniJIS CMap is the character itself: a UTF-16 unit or pair, a UTF-32 value, or
// the bytes of a UTF-8 sequence, as the CMap's name says.
void PdfCMapEncodingEx::AppendCodeAsUnicode(uint32_t code, int length, std::u16string& text) const
{
    if (m_name.find("UTF8") != std::string::npos && length > 1) {
        uint32_t cp = 0;
        const int lead = static_cast<int>((code >> (8 * (length - 1))) & 0xFF);
        cp = static_cast<uint32_t>(lead & (0x7F >> length));
        for (int i = length - 2; i >= 0; --i) cp = (cp << 6) | ((code >> (8 * i)) & 0x3F);
        AppendCodePoint(cp, text);
    } else if (m_name.find("UTF16") != std::string::npos && length == 4) {
        text.push_back(static_cast<char16_t>(code >> 16));
        text.push_back(static_cast<char16_t>(code & 0xFFFF));
    } else {
        AppendCodePoint(code, text);
    }
}

bool PdfCMapEncodingEx::DecodeToUnicode(const std::string& shown, std::u16string& text)
{
    text.clear();
    const CidToUnicodeTable& table = CidToUnicodeTable::Instance();
    size_t pos = 0;
    while (pos < shown.size()) {
        const int length = m_map.CodeLengthAt(shown, pos, 2);
        // Without code-space ranges codes have 2 bytes: a lone last byte is no code.
        if (m_map.Codespaces().empty() && shown.size() - pos < 2) break;
        const uint32_t code = CodeValue(shown.data() + pos, static_cast<size_t>(length));
        pos += static_cast<size_t>(length);
        if (m_loaded && m_codesAreUnicode) {
            AppendCodeAsUnicode(code, length, text);
            continue;
        }
        uint32_t cid = code;
        if (m_loaded && m_unicodeDestinations) {
            std::u16string mapped;
            if (m_map.LookupUnicode(code, mapped) && !mapped.empty()) {
                text += mapped;
                continue;
            }
        } else if (m_loaded) {
            m_map.LookupCid(code, cid);  // an unmapped code is read as a CID
        }
        uint32_t unicode = 0;
        if (table.Lookup(cid, unicode)) {
            AppendCodePoint(unicode, text);
            double rel = 1.0;
            widths.LookupCidWidth(cid, rel);
            lastWidth = rel;
            lastWidthValid = true;
        } else {
            text.push_back(u'?');
        }
    }
    return !text.empty();
}
