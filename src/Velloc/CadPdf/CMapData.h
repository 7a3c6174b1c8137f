// The mappings of one CMap text, as read from a predefined CMap file of the data folder or from
// a font's /ToUnicode stream: code-space ranges, CID mappings (begincidchar/begincidrange),
// Unicode mappings (beginbfchar/beginbfrange), the parent named by usecmap and the collection
// (/Registry, /Ordering, /Supplement).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One code-space range: codes of `length` bytes whose every byte lies between the bytes of
// low and high at the same place.
struct CMapCodespace
{
    int length;
    uint32_t low;
    uint32_t high;
};

// One mapping entry: a single code (isRange false) or a range of codes. A CID entry maps to
// cid (the first CID of a range); a Unicode entry to the UTF-16 text `unicode` (for a range, the
// text of its first code; later codes add to the last unit).
struct CMapEntry
{
    bool isRange = false;
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t cid = 0;
    std::u16string unicode;
};

class CMapData
{
public:
    // Reads the CMap syntax of text. What the text holds after a malformed part is read on from
    // the next token; nothing is thrown. Keeps at most a bounded number of entries.
    void Parse(const char* text, size_t length);

    // Appends the entries and (when this map has none) the code-space ranges of a parent
    // (usecmap): the child's own entries come first and so win.
    void InheritFrom(const CMapData& parent);

    // The byte count of the code that starts at bytes[pos] by the code-space ranges;
    // defaultLength when the map has none; at least 1 and at most the bytes left.
    int CodeLengthAt(const std::string& bytes, size_t pos, int defaultLength) const;

    // The first CID entry that holds the code: its CID; false when none does.
    bool LookupCid(uint32_t code, uint32_t& cid) const;
    // The first Unicode entry that holds the code: its UTF-16 text; false when none does.
    bool LookupUnicode(uint32_t code, std::u16string& text) const;

    // The largest code that a Unicode entry names (ranges by their high code).
    uint32_t LargestUnicodeCode() const;

    const std::vector<CMapEntry>& CidEntries() const { return m_cidEntries; }
    const std::vector<CMapEntry>& UnicodeEntries() const { return m_unicodeEntries; }
    const std::vector<CMapCodespace>& Codespaces() const { return m_codespaces; }
    const std::string& UseCMap() const { return m_useCMap; }
    const std::string& Registry() const { return m_registry; }
    const std::string& Ordering() const { return m_ordering; }
    int Supplement() const { return m_supplement; }

    // Upper bound of the entries one map keeps (a hostile stream cannot exhaust memory).
    static const size_t kMaxEntries = 200000;

private:
    std::vector<CMapCodespace> m_codespaces;
    std::vector<CMapEntry> m_cidEntries;
    std::vector<CMapEntry> m_unicodeEntries;
    std::string m_useCMap;
    std::string m_registry;
    std::string m_ordering;
    int m_supplement = 0;
};

// Big-endian value of up to four bytes (longer codes keep their last four bytes).
uint32_t CodeValue(const char* bytes, size_t length);
