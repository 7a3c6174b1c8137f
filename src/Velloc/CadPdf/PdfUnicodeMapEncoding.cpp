#include "PdfUnicodeMapEncoding.h"

#include "core/Dbcs.h"

namespace {

bool IsSjisTrailByte(unsigned b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

}  // namespace

PdfUnicodeMapEncoding::PdfUnicodeMapEncoding(const char* text, size_t length)
{
    m_map.Parse(text, length);
    ComputeCodeLength();
    if (m_map.Registry().empty() && m_map.Ordering().empty())
        m_shiftJisDestinations = DetectShiftJisDestinations();
}

// Without code-space ranges the length follows the largest code value, not the digits written:
// a map of 2-byte codes that all lie below 0x100 reads 1-byte codes.
void PdfUnicodeMapEncoding::ComputeCodeLength()
{
    const uint32_t largest = m_map.LargestUnicodeCode();
    if (largest == 0) m_codeLength = 2;
    else if (largest <= 0xFF) m_codeLength = 1;
    else if (largest <= 0xFFFF) m_codeLength = 2;
    else if (largest <= 0xFFFFFF) m_codeLength = 3;
    else m_codeLength = 4;
}

bool PdfUnicodeMapEncoding::DetectShiftJisDestinations() const
{
    for (const CMapEntry& e : m_map.UnicodeEntries()) {
        if (e.unicode.size() != 1) return false;
        const unsigned value = e.unicode[0];
        if (value <= 0xFF) continue;
        if (!IsSjisLeadByte(static_cast<int>(value >> 8)) || !IsSjisTrailByte(value & 0xFF)) return false;
    }
    return true;
}

bool PdfUnicodeMapEncoding::DecodeString(const std::string& shown, std::u16string& utf16, std::string& sjis,
                                         bool& isSjis) const
{
    utf16.clear();
    sjis.clear();
    isSjis = m_shiftJisDestinations;
    size_t pos = 0;
    while (pos < shown.size()) {
        const int length = m_map.CodeLengthAt(shown, pos, m_codeLength);
        if (m_map.Codespaces().empty() && shown.size() - pos < static_cast<size_t>(m_codeLength)) break;
        const uint32_t code = CodeValue(shown.data() + pos, static_cast<size_t>(length));
        pos += static_cast<size_t>(length);
        std::u16string mapped;
        if (m_map.LookupUnicode(code, mapped) && !mapped.empty()) {
            if (m_shiftJisDestinations) {
                const unsigned value = mapped[0];
                if (value == 0) return false;
                if (value > 0xFF) sjis.push_back(static_cast<char>(value >> 8));
                sjis.push_back(static_cast<char>(value & 0xFF));
            } else {
                utf16 += mapped;
            }
        } else if (code != 0) {
            if (m_shiftJisDestinations) sjis.push_back('?');
            else utf16.push_back(u'?');
        }
    }
    return m_shiftJisDestinations ? true : !utf16.empty();
}
