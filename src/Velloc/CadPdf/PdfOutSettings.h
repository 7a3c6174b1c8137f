// The export settings: "PdfOut.ini" in the per-user "SETTEI" folder, the locked-layer colour of
// "CFG\STYLE.INI", the line-end sizes and the colour mappings of "PdfColor.ini". One record for
// the whole plug-in, reloaded at every export and whenever an option dialog opens.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QmCadDocument;

// Sizes of one line-end type (section "LINE_TERM", key = the type number).
struct LineTermSetting {
    int32_t enabled = 1;
    double angle = 0;      // degrees
    double size = 0;       // mm: arrow length, radius, side, diagonal, or line length by type
    double distance = 0;   // mm: type 10 only, the line's distance from the end point
    double spare1 = 0;
    double spare2 = 0;
    double spare3 = 0;
};

constexpr int kLineTermTypeCount = 14;  // types 0..13

// The built-in row of a line-end type (enabled, angle, size, distance); types outside 0..13
// give a disabled row.
LineTermSetting BuiltInLineTerm(int type);

// 0 when the text holds exactly seven comma-separated fields (the record is then filled), else
// -1 and the record is left as it was.
int ParseLineTermSetting(const char* text, LineTermSetting* out);
// "%d,%s,%s,%s,%s,%s,%s" with the reals in the shortest fixed notation.
std::string FormatLineTermSetting(const LineTermSetting& setting);

// The colour mappings of "PdfColor.ini": drawing colour number 0..256 -> target number.
struct PdfColorMapSettings {
    std::vector<int32_t> userMap;     // colour output (user file, section "PdfOut")
    std::vector<int32_t> defaultMap;  // program-folder file, section "PdfOut"
    std::vector<int32_t> rgbList;     // user file "PdfOut_RGB", else the drawing colours
    std::vector<int32_t> monoMap;     // user file "PdfOut_Mono", else sevens

    int Load();
    // Writes "PdfOut_Mono", then "PdfOut", 32 values per key, into the user file. 0 or -1.
    int Save();
};

// Where the colour mapping file lives: non-zero = the program folder's copy.
std::string GetPdfColorIniPath(int where);
// Reads a section's integer list (keys "0".."127", stopping at the first missing or empty one).
int ReadIniIntList(int where, const char* section, std::vector<int32_t>* out);
// Writes a list into the user file, `perKey` values under each key. 0, or -1 when a write failed.
int WriteIniIntList(const char* section, const std::vector<int32_t>& values, int perKey);
// The drawing colours (host first, then the engine's defaults) from `first` to 256; the count.
int GetDrawingColorList(int first, std::vector<int32_t>* out);

std::string GetPdfOutIniPath();

// The built-in colour of a number 0..256 (0x00BBGGRR), black outside.
int32_t BuiltInColor(int number);
// The built-in width of an index 0..15 in millimetres, 0 outside.
double BuiltInWidth(int index);

class PdfOutSettings {
public:
    int32_t lineColorType = 0;
    int32_t colorSettingsOn = 0;
    std::vector<int32_t> colors;
    int32_t lineWidthType = 0;
    std::vector<double> widths;
    int32_t outImage = 1;
    int32_t outRaster = 1;
    int32_t hideOffLayers = 1;
    int32_t lockLayerColor = 8;
    int32_t modeCompDoc = 0;
    int32_t modeVectorFont = 0;
    int32_t modeExport = 0;
    PdfColorMapSettings colorMap;
    int32_t colorMode = 0;
    int32_t monoColorNumber = 16;
    std::vector<LineTermSetting> lineTerms;
    QmCadDocument* document = nullptr;  // borrowed while an export runs

    // Sections "SYSTEM", "LineColor", "LineWidth" of "PdfOut.ini" and "LOCK_LAYER_COLOR". 0.
    int Load();
    // Section "LINE_TERM"; a missing or malformed key keeps its place with the built-in row. 0.
    int LoadLineTerms();
    int SaveLineTerms();
    int SaveLineColorType();
    // 0x00BBGGRR of a colour number (white read as black); 0 with the outputs untouched when the
    // number is not in the table.
    int32_t GetColor(int number, int* red, int* green, int* blue) const;
    // Stores the given lists, writes "PdfColor.ini" and the resolved colour set into
    // "PdfOut.ini". 0, or -1 when the lists are incomplete or a write failed.
    int SaveColorMapping(const std::vector<int32_t>* colourMap, const std::vector<int32_t>* monoMap,
                         const std::vector<int32_t>* rgbList);
    // The colour set of a mapping resolved against the drawing colours: one value per position.
    static std::vector<int32_t> ResolveColorMap(const std::vector<int32_t>& map, const std::vector<int32_t>& rgbList,
                                                const std::vector<int32_t>& drawingColors);
};

// The plug-in's one settings record.
PdfOutSettings& ThePdfOutSettings();
