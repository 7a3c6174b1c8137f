// A font's /ToUnicode CMap: turns the codes of a shown string into Unicode text, or, for maps
// without a collection whose destinations are all Shift-JIS characters, into Shift-JIS bytes.
#pragma once

#include "CMapData.h"

#include <string>

class PdfUnicodeMapEncoding
{
public:
    // text: the decoded stream. A stream without usable entries leaves an empty map.
    PdfUnicodeMapEncoding(const char* text, size_t length);

    // Decodes the shown bytes. In Shift-JIS mode the result is in sjis (isSjis true), else in
    // utf16. Unmapped codes give one "?" (a zero code gives nothing). False when the string
    // cannot be decoded (nothing came out, or a Shift-JIS destination of zero).
    bool DecodeString(const std::string& shown, std::u16string& utf16, std::string& sjis, bool& isSjis) const;

    int CodeLength() const { return m_codeLength; }
    bool ShiftJisDestinations() const { return m_shiftJisDestinations; }
    const CMapData& Map() const { return m_map; }

private:
    void ComputeCodeLength();
    bool DetectShiftJisDestinations() const;

    CMapData m_map;
    int m_codeLength = 2;
    bool m_shiftJisDestinations = false;
};
