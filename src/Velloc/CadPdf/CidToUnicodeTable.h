// The process-wide table from Adobe-Japan1 CIDs to Unicode ("VellocData\Pdf\CidToUnicode.dat"):
// the n-th line that is not a comment holds the Unicode value of CID n in hexadecimal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CidToUnicodeTable
{
public:
    // The one table of the process.
    static CidToUnicodeTable& Instance();

    // Reads the table from the file's text: 1 when it already holds entries (nothing read),
    // 0 after reading. Every line counts (no cap); a blank line gives 0, "#" starts a comment.
    int LoadFromText(const std::string& text);
    // The Unicode value (a code point, possibly above U+FFFF) of a CID; false beyond the table.
    bool Lookup(uint32_t cid, uint32_t& unicode) const;
    size_t Count() const { return m_values.size(); }
    void Clear() { m_values.clear(); }

private:
    std::vector<uint32_t> m_values;
};

class IPdfDataFiles;

// Loads the process-wide table from the data folder ("VellocData\Pdf\CidToUnicode.dat"): 1 when
// it already holds entries, -1 when the file cannot be read, 0 after reading. Called at attach
// (LoadCidToUnicode without arguments, the plug-in's own folder) and before each CMap load, so
// a table that failed at attach is tried again.
int LoadCidToUnicode(IPdfDataFiles& files);
int LoadCidToUnicode();
