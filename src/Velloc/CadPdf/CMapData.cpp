#include "CMapData.h"

#include "PdfLibrary.h"

#include <cstring>

using namespace PoDoFo;

uint32_t CodeValue(const char* bytes, size_t length)
{
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

namespace {

enum ParseState {
    kOutside = 0,
    kCharCode = 1,
    kCharDestination = 2,
    kRangeLow = 11,
    kRangeHigh = 12,
    kRangeDestination = 13,
    kSpaceLow = 21,
    kSpaceHigh = 22,
};

// A code or destination operand: the bytes of a (hex or literal) string, or an integer written
// in decimal, which counts as a 2-byte code.
bool OperandBytes(const PdfVariant& operand, std::string& bytes)
{
    if (operand.IsHexString() || operand.IsString()) {
        const PdfString& s = operand.GetString();
        bytes = PdfStringBytes(s);
        return true;
    }
    if (operand.IsNumber()) {
        const uint32_t v = static_cast<uint32_t>(operand.GetNumber()) & 0xFFFFu;
        bytes.assign(1, static_cast<char>(v >> 8));
        bytes.push_back(static_cast<char>(v & 0xFF));
        return true;
    }
    return false;
}

// UTF-16BE units of a destination's bytes; a lone last byte counts as a unit of its own.
std::u16string Utf16Units(const std::string& bytes)
{
    std::u16string units;
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2)
        units.push_back(static_cast<char16_t>((static_cast<unsigned char>(bytes[i]) << 8) |
                                              static_cast<unsigned char>(bytes[i + 1])));
    if (i < bytes.size()) units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i])));
    return units;
}

void ReadCollectionKey(const std::string& key, const PdfVariant& value, std::string& registry,
                       std::string& ordering, int& supplement)
{
    if (key == "Registry" && value.IsString()) registry = PdfStringBytes(value.GetString());
    else if (key == "Ordering" && value.IsString()) ordering = PdfStringBytes(value.GetString());
    else if (key == "Supplement" && value.IsNumber()) supplement = static_cast<int>(value.GetNumber());
}

}  // namespace

void CMapData::Parse(const char* text, size_t length)
{
    if (text == nullptr || length == 0) return;
    int state = kOutside;
    bool unicodeSection = false;
    CMapEntry entry;
    std::string codeBytes;
    CMapCodespace space = {0, 0, 0};
    std::string pendingKey;  // a collection key name whose value is the next token
    std::string lastName;
    auto append = [&](const CMapEntry& e) {
        std::vector<CMapEntry>& list = unicodeSection ? m_unicodeEntries : m_cidEntries;
        if (m_unicodeEntries.size() + m_cidEntries.size() < kMaxEntries) list.push_back(e);
    };
    try {
        PdfContentsTokenizer tokenizer(text, static_cast<long>(length));
        EPdfContentsType type;
        const char* keyword = nullptr;
        PdfVariant operand;
        while (tokenizer.ReadNext(type, keyword, operand)) {
            if (type == ePdfContentsType_Keyword) {
                pendingKey.clear();
                const std::string k = keyword;
                if (k == "begincodespacerange") state = kSpaceLow;
                else if (k == "begincidchar" || k == "beginbfchar") {
                    unicodeSection = (k == "beginbfchar");
                    state = kCharCode;
                } else if (k == "begincidrange" || k == "beginbfrange") {
                    unicodeSection = (k == "beginbfrange");
                    state = kRangeLow;
                } else if (k == "usecmap") {
                    m_useCMap = lastName;
                } else if (k.compare(0, 3, "end") == 0 || k.compare(0, 5, "begin") == 0) {
                    state = kOutside;  // end of a section, or a section not read (notdef ...)
                }
                continue;
            }
            if (type != ePdfContentsType_Variant) continue;
            if (!pendingKey.empty()) {
                ReadCollectionKey(pendingKey, operand, m_registry, m_ordering, m_supplement);
                pendingKey.clear();
                continue;
            }
            if (operand.IsName()) {
                lastName = operand.GetName().GetName();
                if (lastName == "Registry" || lastName == "Ordering" || lastName == "Supplement")
                    pendingKey = lastName;
                continue;
            }
            if (operand.IsDictionary()) {
                for (const auto& item : operand.GetDictionary().GetKeys())
                    ReadCollectionKey(item.first.GetName(), *item.second, m_registry, m_ordering,
                                      m_supplement);
                continue;
            }
            switch (state) {
            case kSpaceLow:
                if (OperandBytes(operand, codeBytes) && !codeBytes.empty() && codeBytes.size() <= 4) {
                    space.length = static_cast<int>(codeBytes.size());
                    space.low = CodeValue(codeBytes.data(), codeBytes.size());
                    state = kSpaceHigh;
                }
                break;
            case kSpaceHigh:
                if (OperandBytes(operand, codeBytes) && static_cast<int>(codeBytes.size()) == space.length) {
                    space.high = CodeValue(codeBytes.data(), codeBytes.size());
                    if (m_codespaces.size() < 64) m_codespaces.push_back(space);
                }
                state = kSpaceLow;
                break;
            case kCharCode:
            case kRangeLow:
                if (!OperandBytes(operand, codeBytes)) { state = kOutside; break; }
                entry = CMapEntry();
                entry.isRange = (state == kRangeLow);
                entry.low = CodeValue(codeBytes.data(), codeBytes.size());
                entry.high = entry.low;
                state = (state == kCharCode) ? kCharDestination : kRangeHigh;
                break;
            case kRangeHigh:
                if (!OperandBytes(operand, codeBytes)) { state = kOutside; break; }
                entry.high = CodeValue(codeBytes.data(), codeBytes.size());
                state = kRangeDestination;
                break;
            case kCharDestination:
            case kRangeDestination: {
                const int next = (state == kCharDestination) ? kCharCode : kRangeLow;
                if (operand.IsArray() && state == kRangeDestination && unicodeSection) {
                    // A range written with one destination per code.
                    uint32_t code = entry.low;
                    for (const PdfObject& element : operand.GetArray()) {
                        if (!element.IsHexString() && !element.IsString()) continue;
                        CMapEntry single;
                        single.low = single.high = code++;
                        single.unicode = Utf16Units(PdfStringBytes(element.GetString()));
                        append(single);
                    }
                    state = next;
                    break;
                }
                if (!unicodeSection && operand.IsNumber()) {
                    entry.cid = static_cast<uint32_t>(operand.GetNumber());
                } else if (OperandBytes(operand, codeBytes)) {
                    if (unicodeSection) entry.unicode = Utf16Units(codeBytes);
                    else entry.cid = CodeValue(codeBytes.data(), codeBytes.size());
                } else {
                    state = kOutside;
                    break;
                }
                if (entry.high >= entry.low) append(entry);
                state = next;
                break;
            }
            default:
                break;
            }
        }
    } catch (const PdfError&) {
        // What was read before the malformed part stays.
    }
}

void CMapData::InheritFrom(const CMapData& parent)
{
    if (m_codespaces.empty()) m_codespaces = parent.m_codespaces;
    for (const CMapEntry& e : parent.m_cidEntries) {
        if (m_cidEntries.size() + m_unicodeEntries.size() >= kMaxEntries) break;
        m_cidEntries.push_back(e);
    }
    for (const CMapEntry& e : parent.m_unicodeEntries) {
        if (m_cidEntries.size() + m_unicodeEntries.size() >= kMaxEntries) break;
        m_unicodeEntries.push_back(e);
    }
}

int CMapData::CodeLengthAt(const std::string& bytes, size_t pos, int defaultLength) const
{
    const size_t left = bytes.size() - pos;
    if (left == 0) return 0;
    if (!m_codespaces.empty()) {
        int shortest = 4;
        for (int n = 1; n <= 4 && static_cast<size_t>(n) <= left; ++n) {
            for (const CMapCodespace& space : m_codespaces) {
                if (space.length != n) continue;
                if (n < shortest) shortest = n;
                bool inside = true;
                for (int i = 0; i < n && inside; ++i) {
                    const int shift = 8 * (n - 1 - i);
                    const unsigned b = static_cast<unsigned char>(bytes[pos + i]);
                    inside = b >= ((space.low >> shift) & 0xFFu) && b <= ((space.high >> shift) & 0xFFu);
                }
                if (inside) return n;
            }
        }
        // A code outside every range takes the length of the shortest range.
        for (const CMapCodespace& space : m_codespaces)
            if (space.length < shortest) shortest = space.length;
        return static_cast<int>(std::min<size_t>(static_cast<size_t>(shortest), left));
    }
    if (defaultLength < 1) defaultLength = 1;
    return static_cast<int>(std::min<size_t>(static_cast<size_t>(defaultLength), left));
}

bool CMapData::LookupCid(uint32_t code, uint32_t& cid) const
{
    for (const CMapEntry& e : m_cidEntries) {
        if (code < e.low || code > e.high) continue;
        cid = e.cid + (code - e.low);
        return true;
    }
    return false;
}

bool CMapData::LookupUnicode(uint32_t code, std::u16string& text) const
{
    for (const CMapEntry& e : m_unicodeEntries) {
        if (code < e.low || code > e.high) continue;
        text = e.unicode;
        if (e.isRange && !text.empty()) text.back() = static_cast<char16_t>(text.back() + (code - e.low));
        return true;
    }
    return false;
}

uint32_t CMapData::LargestUnicodeCode() const
{
    uint32_t largest = 0;
    for (const CMapEntry& e : m_unicodeEntries)
        if (e.high > largest) largest = e.high;
    return largest;
}
