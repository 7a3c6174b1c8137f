// Font exchange tables: PDF font names ("MS-Gothic") to the Windows face names drawings use
// ("ＭＳ ゴシック") for the import, and back for the export. User pairs from the [EXCHANGE_FONT]
// section of the table's settings file come first, the built-in face-name table after them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct FontFaceName {
    const char* name;       // PDF or English face name
    const char* localName;  // Windows face name used by drawings
    int proportional;       // 1 for proportional faces
};

// The 286 rows of the built-in table.
const FontFaceName* FontFaceNameTable(size_t* count);
// The first row whose local name equals the name exactly: 0 with the row, or -1.
int LookupFontFaceName(const char* localName, FontFaceName* row);

struct FontExchangePair {
    std::string pdfName;
    std::string cadName;
    int flags = 0;  // bit 0: proportional metrics
};

class FontExchangeTable {
public:
    enum Direction { kImport = 0, kExport = 1 };

    FontExchangeTable(const char* settingsFileName, Direction direction);

    // "%USER_LOCAL_APPDATA%SETTEI\" and the settings file name.
    std::string GetIniPath() const;
    void LoadImport();
    // User pairs, then a pair for every font of the host font list (text fonts, "VectorFont"
    // and the vector-font pairs) that no user pair names.
    void LoadExport();

    // PDF font name to drawing font name: 0 when found, -1 when not (out left unchanged).
    // A leading "@" or "$" is kept in front of an exact match and dropped for a match by
    // containment (subset names such as "ABCDEF+MS-PGothic"). Loads the import table once.
    int MapToCadFont(const char* pdfName, std::string& cadName);
    // Drawing font name to PDF font name: 0 when found, -1 with out emptied. Loads the export
    // table once.
    int MapToPdfFont(const char* cadName, std::string& pdfName);

    bool Loaded() const { return m_loaded; }
    bool MoveDescent() const { return m_moveDescent; }
    const std::vector<FontExchangePair>& Pairs() const { return m_pairs; }
    const std::string& SettingsFileName() const { return m_settingsFileName; }

private:
    std::vector<FontExchangePair> ReadUserPairs() const;
    bool ReadMoveDescent() const;

    bool m_loaded = false;
    std::vector<FontExchangePair> m_pairs;
    bool m_moveDescent = true;
    std::string m_settingsFileName;
    Direction m_direction;
};

// The module's two tables: "PdfIn.ini" (import) and "PdfOut.ini" (export).
FontExchangeTable& ImportFontTable();
FontExchangeTable& ExportFontTable();

// Width and height of the text in a font of that face (height 1000, width 500, Shift-JIS),
// measured on the active drawing window: 0, or -1 when the font cannot be made, the face name
// is longer than 31 bytes or there is no device context (size untouched then).
int MeasureTextExtent(const char* faceName, SIZE* size, const char* text);
// (descent + external leading / 2) / (ascent + descent + external leading) of a font of that
// face made as MeasureTextExtent makes it. The ratio is 0 first; 0 when the height or the
// numerator is below 1e-8, else 1 (also when the metrics cannot be read, ratio 0).
int GetFontDescentRatio(const char* faceName, double* ratio);
