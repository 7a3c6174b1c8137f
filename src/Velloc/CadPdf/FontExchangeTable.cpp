#include "CadPdf/FontExchangeTable.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "HostFontList.h"
#include "HostLibrary.h"
#include "core/CsvParser.h"
#include "core/Dbcs.h"

namespace {

constexpr int kMaxUserPairs = 1024;
constexpr DWORD kValueSize = 260;

// "@" (vertical) or "$" in front of a PDF font name.
bool IsFontPrefix(char c) { return c == '@' || c == '$'; }

// Whether the part occurs in the text starting on a character boundary (double-byte aware).
bool ContainsText(const char* text, const char* part)
{
    for (const char* hit = std::strstr(text, part); hit != nullptr; hit = std::strstr(hit + 1, part)) {
        if (!DbcsIsTrailByte(text, static_cast<size_t>(hit - text))) return true;
    }
    return false;
}

}  // namespace

int LookupFontFaceName(const char* localName, FontFaceName* row)
{
    if (localName == nullptr) return -1;
    size_t count = 0;
    const FontFaceName* rows = FontFaceNameTable(&count);
    for (size_t i = 0; i < count; ++i) {
        if (std::strcmp(rows[i].localName, localName) == 0) {
            if (row) *row = rows[i];
            return 0;
        }
    }
    return -1;
}

FontExchangeTable::FontExchangeTable(const char* settingsFileName, Direction direction)
    : m_settingsFileName(settingsFileName), m_direction(direction)
{
}

std::string FontExchangeTable::GetIniPath() const
{
    return std::string("%USER_LOCAL_APPDATA%SETTEI\\") + m_settingsFileName;
}

std::vector<FontExchangePair> FontExchangeTable::ReadUserPairs() const
{
    std::vector<FontExchangePair> pairs;
    const std::string path = GetIniPath();
    for (int n = 0; n < kMaxUserPairs; ++n) {
        char key[16];
        std::snprintf(key, sizeof key, "%d", n);
        char value[kValueSize + 1] = {};
        HostLib::QmCadApi_GetPrivateProfileString("EXCHANGE_FONT", key, "", value, kValueSize, path.c_str());
        if (value[0] == '\0') break;
        CCsvParser fields(value);
        if (fields.GetSize() != 2) continue;
        FontExchangePair pair;
        pair.pdfName = fields.GetAt(0);
        pair.cadName = fields.GetAt(1);
        pairs.push_back(pair);
    }
    return pairs;
}

bool FontExchangeTable::ReadMoveDescent() const
{
    char value[32] = {};
    HostLib::QmCadApi_GetPrivateProfileString("Font", "MoveDescent", "1", value, sizeof value - 1,
                                              GetIniPath().c_str());
    return std::atoi(value) != 0;
}

void FontExchangeTable::LoadImport()
{
    m_pairs = ReadUserPairs();
    size_t count = 0;
    const FontFaceName* rows = FontFaceNameTable(&count);
    for (size_t i = 0; i < count; ++i) {
        FontExchangePair pair;
        pair.pdfName = rows[i].name;
        pair.cadName = rows[i].localName;
        pair.flags = rows[i].proportional;
        m_pairs.push_back(pair);
    }
    m_moveDescent = ReadMoveDescent();
    m_loaded = true;
}

void FontExchangeTable::LoadExport()
{
    std::vector<FontExchangePair> userPairs = ReadUserPairs();
    std::vector<FontExchangePair> hostPairs;
    for (const std::string& hostName : BuildHostFontList()) {
        bool named = false;
        for (const FontExchangePair& user : userPairs) {
            if (user.cadName == hostName) {
                named = true;
                break;
            }
        }
        if (named) continue;
        FontExchangePair pair;
        FontFaceName row;
        if (LookupFontFaceName(hostName.c_str(), &row) == 0) {
            pair.pdfName = row.name;
            pair.cadName = row.localName;
            pair.flags = row.proportional;
        } else {
            pair.pdfName = "MS-Gothic";
            pair.cadName = hostName;
        }
        hostPairs.push_back(pair);
    }
    m_pairs = std::move(userPairs);
    m_pairs.insert(m_pairs.end(), hostPairs.begin(), hostPairs.end());
    m_moveDescent = ReadMoveDescent();
    m_loaded = true;
}

int FontExchangeTable::MapToCadFont(const char* pdfName, std::string& cadName)
{
    if (!m_loaded) LoadImport();
    if (pdfName == nullptr) return -1;
    std::string prefix;
    const char* rest = pdfName;
    if (IsFontPrefix(rest[0])) {
        prefix.assign(rest, 1);
        ++rest;
    }
    for (const FontExchangePair& pair : m_pairs) {
        if (pair.pdfName == rest) {
            cadName = prefix + pair.cadName;
            return 0;
        }
    }
    for (const FontExchangePair& pair : m_pairs) {
        if (!pair.pdfName.empty() && ContainsText(rest, pair.pdfName.c_str())) {
            cadName = pair.cadName;
            return 0;
        }
    }
    return -1;
}

int FontExchangeTable::MapToPdfFont(const char* cadName, std::string& pdfName)
{
    if (!m_loaded) LoadExport();
    if (cadName != nullptr) {
        for (const FontExchangePair& pair : m_pairs) {
            if (pair.cadName == cadName) {
                pdfName = pair.pdfName;
                return 0;
            }
        }
    }
    pdfName.clear();
    return -1;
}

FontExchangeTable& ImportFontTable()
{
    static FontExchangeTable table("PdfIn.ini", FontExchangeTable::kImport);
    return table;
}

FontExchangeTable& ExportFontTable()
{
    static FontExchangeTable table("PdfOut.ini", FontExchangeTable::kExport);
    return table;
}
