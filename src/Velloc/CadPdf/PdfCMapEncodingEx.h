// Decoding of strings shown with a composite (Type0) font whose /Encoding names a predefined
// CMap: the CMap is read from the data folder ("VellocData\Pdf\cMap\" + name, with the parents
// it names by usecmap), its CIDs are turned into Unicode through the CID-to-Unicode table.
#pragma once

#include "CMapData.h"

#include <cstdint>
#include <string>
#include <vector>

class IPdfDataFiles;

// The glyph widths of a CID font (/DW and /W of the descendant font), kept as ranges so that
// a range of any size costs one entry. The first entry that holds a CID wins.
class CidWidthTable
{
public:
    int defaultWidth = 0;

    void AddRange(uint32_t first, uint32_t last, int width);
    void AddCidWidth(uint32_t cid, int width) { AddRange(cid, cid, width); }
    // The width relative to the default width (to 1000 when there is none); false when the
    // table has no entry for the CID (relWidth untouched).
    bool LookupCidWidth(uint32_t cid, double& relWidth) const;
    size_t Count() const { return m_ranges.size(); }

    static const size_t kMaxRanges = 100000;

private:
    struct Range { uint32_t first; uint32_t last; int width; };
    std::vector<Range> m_ranges;
};

class PdfCMapEncodingEx
{
public:
    // Reads the CMap of that name; an unknown name or "Identity-H"/"Identity-V" leaves the
    // encoding unloaded, which reads every 2-byte code as a CID. Never fails.
    PdfCMapEncodingEx(const std::string& name, IPdfDataFiles& files);

    const std::string& Name() const { return m_name; }
    bool IsLoaded() const { return m_loaded; }
    // True when the CMap maps codes to Unicode (bf sections) rather than to CIDs.
    bool UnicodeDestinations() const { return m_unicodeDestinations; }

    // Codes of the shown bytes to UTF-16. Unmapped codes give "?". False when nothing came out.
    bool DecodeToUnicode(const std::string& shown, std::u16string& text);

    CidWidthTable widths;
    double lastWidth = 1.0;    // relative width of the last character that went through the CID table
    bool lastWidthValid = false;

    // The parent chain of usecmap that is followed at most.
    static const int kMaxUseCMapDepth = 8;

private:
    bool LoadCMapFile(const std::string& name, IPdfDataFiles& files, CMapData& into, int depth);
    void AppendCodePoint(uint32_t codePoint, std::u16string& text) const;
    void AppendCodeAsUnicode(uint32_t code, int length, std::u16string& text) const;

    std::string m_name;
    CMapData m_map;
    bool m_loaded = false;
    bool m_unicodeDestinations = true;
    bool m_codesAreUnicode = false;  // a UniJIS CMap read for CIDs: its codes are Unicode already
};

// Path of the predefined CMap file of that name.
std::string GetCMapFilePath(IPdfDataFiles& files, const std::string& name);
