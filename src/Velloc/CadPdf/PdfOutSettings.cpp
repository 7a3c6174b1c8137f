#include "CadPdf/PdfOutSettings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CadPdf/ExportHostCalls.h"
#include "EngineRecords.h"
#include "DravikDb.h"
#include "NumericFormat.h"
#include "QmCadDocument.h"
#include "core/CsvParser.h"

namespace {

constexpr char kSystemSection[] = "SYSTEM";
constexpr char kColorSection[] = "LineColor";
constexpr char kWidthSection[] = "LineWidth";
constexpr char kLineTermSection[] = "LINE_TERM";
constexpr char kStyleIni[] = "%EXE_DIR%CFG\\STYLE.INI";
constexpr DWORD kValueBufferSize = 2048;
constexpr DWORD kLineTermBufferSize = 260;
constexpr int kColorGroupCount = 17;   // 16 values each, the last one for colour 256 alone
constexpr int kColorsPerGroup = 16;

// Built-in colours of numbers 0..256, 0x00BBGGRR.
const int32_t kBuiltInColors[kColourCount] = {
    0xFFFFFF, 0xFF0000, 0x0000FF, 0xFF00FF, 0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF,
    0xC0C0C0, 0xB00000, 0x0000B0, 0xB000B0, 0x00B000, 0xB0B000, 0x00B0B0, 0x808080,
    0x000000, 0x8000C0, 0x4080C0, 0x0080FF, 0x80C080, 0xFF8000, 0xFF4080, 0xFFC0C0,
    0xFF40C0, 0xFF40B0, 0xFF40A0, 0xFF4080, 0xFF4060, 0xFF4040, 0xFF4020, 0xFF4000,
    0xFF8000, 0xFF8020, 0xFF8040, 0xFF8060, 0xFF8080, 0xFF80A0, 0xFF80B0, 0xFF80C0,
    0xFFC0C0, 0xFFC0B0, 0xFFC0A0, 0xFFC080, 0xFFC060, 0xFFC040, 0xFFC020, 0xFFC000,
    0xFFFF00, 0xFFFF20, 0xFFFF40, 0xFFFF60, 0xFFFF80, 0xFFFFA0, 0xFFFFB0, 0xFFFFC0,
    0xC0FFC0, 0xC0FFB0, 0xC0FFA0, 0xC0FF80, 0xC0FF60, 0xC0FF40, 0xC0FF20, 0xC0FF00,
    0x80FF00, 0x80FF20, 0x80FF40, 0x80FF60, 0x80FF80, 0x80FFA0, 0x80FFB0, 0x80FFC0,
    0x40FFC0, 0x40FFB0, 0x40FFA0, 0x40FF80, 0x40FF60, 0x40FF40, 0x40FF20, 0x40FF00,
    0x00FF00, 0x20FF20, 0x40FF40, 0x60FF60, 0x80FF80, 0xA0FFA0, 0xB0FFB0, 0xC0FFC0,
    0xC0FF40, 0xB0FF40, 0xA0FF40, 0x80FF40, 0x60FF40, 0x40FF40, 0x20FF40, 0x00FF40,
    0x00FF80, 0x20FF80, 0x40FF80, 0x60FF80, 0x80FF80, 0xA0FF80, 0xB0FF80, 0xC0FF80,
    0xC0FFC0, 0xB0FFC0, 0xA0FFC0, 0x80FFC0, 0x60FFC0, 0x40FFC0, 0x20FFC0, 0x00FFC0,
    0x00FFFF, 0x20FFFF, 0x40FFFF, 0x60FFFF, 0x80FFFF, 0xA0FFFF, 0xB0FFFF, 0xC0FFFF,
    0xC0C0FF, 0xB0C0FF, 0xA0C0FF, 0x80C0FF, 0x60C0FF, 0x40C0FF, 0x20C0FF, 0x00C0FF,
    0x0080FF, 0x2080FF, 0x4080FF, 0x6080FF, 0x8080FF, 0xA080FF, 0xB080FF, 0xC080FF,
    0xC040FF, 0xB040FF, 0xA040FF, 0x8040FF, 0x6040FF, 0x4040FF, 0x2040FF, 0x0040FF,
    0x0000FF, 0x2020FF, 0x4040FF, 0x6060FF, 0x8080FF, 0xA0A0FF, 0xB0B0FF, 0xC0C0FF,
    0x40C0FF, 0x40B0FF, 0x40A0FF, 0x4080FF, 0x4060FF, 0x4040FF, 0x4020FF, 0x4000FF,
    0x8000FF, 0x8020FF, 0x8040FF, 0x8060FF, 0x8080FF, 0x80A0FF, 0x80B0FF, 0x80C0FF,
    0xC0C0FF, 0xC0B0FF, 0xC0A0FF, 0xC080FF, 0xC060FF, 0xC040FF, 0xC020FF, 0xC000FF,
    0xFF00FF, 0xFF20FF, 0xFF40FF, 0xFF60FF, 0xFF80FF, 0xFFA0FF, 0xFFB0FF, 0xFFC0FF,
    0xFFC0C0, 0xFFB0C0, 0xFFA0C0, 0xFF80C0, 0xFF60C0, 0xFF40C0, 0xFF20C0, 0xFF00C0,
    0xFF0080, 0xFF2080, 0xFF4080, 0xFF6080, 0xFF8080, 0xFFA080, 0xFFB080, 0xFFC080,
    0xFFC040, 0xFFB040, 0xFFA040, 0xFF8040, 0xFF6040, 0xFF4040, 0xFF2040, 0xFF0040,
    0x000080, 0x202080, 0x404080, 0x606080, 0x707080, 0x800000, 0x802020, 0x804040,
    0x806060, 0x807070, 0x800080, 0x802080, 0x804080, 0x805080, 0x806080, 0x807080,
    0x008000, 0x208020, 0x408040, 0x608060, 0x708070, 0x008080, 0x208080, 0x408080,
    0x608080, 0x708080, 0x808000, 0x808020, 0x808040, 0x808050, 0x808060, 0x808070,
    0x050505, 0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070,
    0x808080, 0x909090, 0xA0A0A0, 0xB0B0B0, 0xC0C0C0, 0xD0D0D0, 0xE0E0E0, 0xF0F0F0,
    0xFFFFFF,
};

const double kBuiltInWidths[kLineWidthCount] = {0.13, 0.3, 0.6, 0.18, 0.25, 0.35, 0.5, 0.7,
                                               1.4,  0.05, 2.0, 3.0, 4.0,  1.5,  1.6, 1.7};

// Line-end rows by type: enabled, angle (degrees), size, distance (mm). Type 10's size is the
// length of its line and distance its offset from the end point.
const LineTermSetting kBuiltInLineTerms[kLineTermTypeCount] = {
    {1, 0, 0, 0},    {1, 10, 7.5, 0}, {1, 0, 1.25, 0}, {1, 0, 2.5, 0},   {1, 0, 5.0, 0},
    {1, 10, 7.5, 0}, {1, 0, 1.25, 0}, {1, 0, 1.25, 0}, {1, 0, 2.5, 0},   {1, 10, 7.5, 0},
    {1, 0, 7.5, 1.0}, {1, 10, 7.5, 0}, {1, 10, 7.5, 0}, {1, 0, 1.8, 0},
};

std::string ReadText(const char* section, const char* key, const char* defaultText, DWORD bufferSize,
                     const std::string& file)
{
    std::vector<char> buffer(bufferSize, '\0');
    HostLib::QmCadApi_GetPrivateProfileString(section, key, defaultText, buffer.data(), bufferSize, file.c_str());
    buffer.back() = '\0';
    return std::string(buffer.data());
}

int ReadInt(const char* section, const char* key, const char* defaultText, const std::string& file)
{
    return std::atoi(ReadText(section, key, defaultText, kValueBufferSize, file).c_str());
}

bool WriteText(const char* section, const char* key, const std::string& value, const std::string& file)
{
    return HostLib::QmCadApi_WritePrivateProfileString(section, key, value.c_str(), file.c_str()) != FALSE;
}

std::string ColorKey(int set, int group)
{
    char key[48];
    std::snprintf(key, sizeof key, "ColorType%d_%02d", set, group);
    return key;
}

// The drawing's information block through the attached document, or null.
const DbInfoBlock* AttachedDrawingInfo(const QmCadDocument* document)
{
    if (document == nullptr || document->database == nullptr) return nullptr;
    return static_cast<const DbInfoBlock*>(static_cast<const EngineDbRecord*>(document->database)->info);
}

int32_t PackColor(const ColourRecord& record)
{
    return (record.red & 0xFF) | ((record.green & 0xFF) << 8) | ((record.blue & 0xFF) << 16);
}

std::string JoinValues(const std::vector<int32_t>& values, size_t begin, size_t end)
{
    std::string text;
    for (size_t i = begin; i < end; ++i) {
        if (!text.empty()) text += ',';
        text += std::to_string(values[i]);
    }
    return text;
}

}  // namespace

std::string GetPdfOutIniPath() { return "%USER_LOCAL_APPDATA%SETTEI\\PdfOut.ini"; }

int32_t BuiltInColor(int number)
{
    return number >= 0 && number < kColourCount ? kBuiltInColors[number] : 0;
}

double BuiltInWidth(int index) { return index >= 0 && index < kLineWidthCount ? kBuiltInWidths[index] : 0.0; }

LineTermSetting BuiltInLineTerm(int type)
{
    if (type < 0 || type >= kLineTermTypeCount) {
        LineTermSetting none;
        none.enabled = 0;
        return none;
    }
    return kBuiltInLineTerms[type];
}

int ParseLineTermSetting(const char* text, LineTermSetting* out)
{
    if (text == nullptr || out == nullptr) return -1;
    CCsvParser fields(text);
    if (fields.GetSize() != 7) return -1;
    out->enabled = std::atoi(fields.GetAt(0));
    out->angle = std::atof(fields.GetAt(1));
    out->size = std::atof(fields.GetAt(2));
    out->distance = std::atof(fields.GetAt(3));
    out->spare1 = std::atof(fields.GetAt(4));
    out->spare2 = std::atof(fields.GetAt(5));
    out->spare3 = std::atof(fields.GetAt(6));
    return 0;
}

std::string FormatLineTermSetting(const LineTermSetting& s)
{
    std::string text = std::to_string(s.enabled);
    for (double value : {s.angle, s.size, s.distance, s.spare1, s.spare2, s.spare3}) {
        text += ',';
        text += FormatReal(value, 15);
    }
    return text;
}

PdfOutSettings& ThePdfOutSettings()
{
    static PdfOutSettings settings;
    return settings;
}

int PdfOutSettings::Load()
{
    const std::string file = GetPdfOutIniPath();
    modeCompDoc = ReadInt(kSystemSection, "modeCompDoc", "0", file);
    modeVectorFont = ReadInt(kSystemSection, "modeVectorFont", "0", file);
    modeExport = ReadInt(kSystemSection, "modeExport", "0", file);

    lineColorType = ReadInt(kColorSection, "Type", "1", file);
    if (lineColorType < 1) lineColorType = 1;
    colorSettingsOn = ReadInt(kColorSection, "TypeFlg", "0", file);
    colorMode = ReadInt(kColorSection, "ColorMode", "0", file);
    monoColorNumber = ReadInt(kColorSection, "IniMonoColorId", "0", file);
    if (monoColorNumber < 1 || monoColorNumber > 256) monoColorNumber = 16;

    const DbInfoBlock* drawing = AttachedDrawingInfo(document);
    colors.clear();
    if (colorSettingsOn != 0) {
        for (int group = 0; group < kColorGroupCount; ++group) {
            const std::string text =
                ReadText(kColorSection, ColorKey(lineColorType, group).c_str(), "", kValueBufferSize, file);
            if (text.empty()) break;
            // Each key holds the colours of its own sixteen numbers: a short key is completed
            // from the built-in table and extra values are dropped, so later colours keep their
            // numbers.
            CCsvParser fields(text);
            const int first = group * kColorsPerGroup;
            const int count = group == kColorGroupCount - 1 ? 1 : kColorsPerGroup;
            for (int i = 0; i < count; ++i)
                colors.push_back(i < fields.GetSize() ? static_cast<int32_t>(std::atol(fields.GetAt(i)))
                                                      : BuiltInColor(first + i));
        }
    } else if (drawing != nullptr) {
        for (int i = 0; i < kColourCount; ++i) colors.push_back(PackColor(drawing->colours[i]));
    }
    if (colors.empty()) colors.assign(kBuiltInColors, kBuiltInColors + kColourCount);

    lineWidthType = ReadInt(kWidthSection, "Type", "0", file);
    widths.clear();
    if (lineWidthType >= 1) {
        char key[32];
        std::snprintf(key, sizeof key, "WidthType%d", lineWidthType);
        const std::string text = ReadText(kWidthSection, key, "", kValueBufferSize, file);
        if (!text.empty()) {
            CCsvParser fields(text);
            for (int i = 0; i < fields.GetSize(); ++i) widths.push_back(std::atof(fields.GetAt(i)));
        }
    } else if (drawing != nullptr) {
        widths.assign(drawing->lineWidthsMm, drawing->lineWidthsMm + kLineWidthCount);
    }
    if (widths.empty()) widths.assign(kBuiltInWidths, kBuiltInWidths + kLineWidthCount);
    if (lineWidthType == -1) widths[0] = 0.0;

    outImage = ReadInt(kSystemSection, "OutImage", "0", file);
    outRaster = ReadInt(kSystemSection, "OutRaster", "0", file);
    hideOffLayers = ReadInt(kSystemSection, "HideOffLay", "1", file);
    lockLayerColor = ReadInt("DRAW", "LOCK_LAYER_COLOR", "2", kStyleIni);
    return 0;
}

int PdfOutSettings::LoadLineTerms()
{
    const std::string file = GetPdfOutIniPath();
    lineTerms.clear();
    // A missing or malformed key keeps its type's place with the built-in row, so the types
    // after it keep their numbers; missing keys at the end are simply not there.
    size_t validCount = 0;
    for (int type = 0; type < kLineTermTypeCount; ++type) {
        const std::string text =
            ReadText(kLineTermSection, std::to_string(type).c_str(), "", kLineTermBufferSize, file);
        LineTermSetting setting;
        if (ParseLineTermSetting(text.c_str(), &setting) == 0) {
            lineTerms.push_back(setting);
            validCount = lineTerms.size();
        } else {
            lineTerms.push_back(BuiltInLineTerm(type));
        }
    }
    lineTerms.resize(validCount);
    return 0;
}

int PdfOutSettings::SaveLineTerms()
{
    const std::string file = GetPdfOutIniPath();
    for (size_t i = 0; i < lineTerms.size(); ++i)
        WriteText(kLineTermSection, std::to_string(i).c_str(), FormatLineTermSetting(lineTerms[i]), file);
    return 0;
}

int PdfOutSettings::SaveLineColorType()
{
    const std::string file = GetPdfOutIniPath();
    WriteText(kColorSection, "Type", std::to_string(lineColorType), file);
    WriteText(kColorSection, "TypeFlg", std::to_string(colorSettingsOn), file);
    return 0;
}

int32_t PdfOutSettings::GetColor(int number, int* red, int* green, int* blue) const
{
    if (colors.empty() || number < 0 || number >= static_cast<int>(colors.size())) return 0;
    int32_t value = colors[number];
    if (value == 0xFFFFFF) value = 0;
    if (red != nullptr) *red = value & 0xFF;
    if (green != nullptr) *green = (value >> 8) & 0xFF;
    if (blue != nullptr) *blue = (value >> 16) & 0xFF;
    return value;
}

// ---- Colour mapping ("PdfColor.ini") ----------------------------------------------------------

std::string GetPdfColorIniPath(int where)
{
    return where != 0 ? "%EXE_DIR%SETTEI\\PdfColor.ini" : "%USER_LOCAL_APPDATA%SETTEI\\PdfColor.ini";
}

int ReadIniIntList(int where, const char* section, std::vector<int32_t>* out)
{
    if (out == nullptr) return 0;
    out->clear();
    const std::string file = GetPdfColorIniPath(where);
    for (int key = 0; key < 128; ++key) {
        const std::string text = ReadText(section, std::to_string(key).c_str(), "", 260, file);
        if (text.empty()) break;
        CCsvParser fields(text);
        for (int i = 0; i < fields.GetSize(); ++i) out->push_back(std::atoi(fields.GetAt(i)));
    }
    return 0;
}

int WriteIniIntList(const char* section, const std::vector<int32_t>& values, int perKey)
{
    if (perKey < 1) perKey = 1;
    const std::string file = GetPdfColorIniPath(0);
    for (size_t begin = 0, key = 0; begin < values.size(); begin += perKey, ++key) {
        const size_t end = std::min(values.size(), begin + static_cast<size_t>(perKey));
        if (!WriteText(section, std::to_string(key).c_str(), JoinValues(values, begin, end), file)) return -1;
    }
    return 0;
}

int GetDrawingColorList(int first, std::vector<int32_t>* out)
{
    if (out == nullptr) return 0;
    out->clear();
    std::vector<int32_t> all(kColourCount, 0);
    if (ExportHost::VyGetDrawColor(all.data()) == 0) {
        std::vector<ColourRecord> records(kColourCount);
        ZuriStyleGet(records.data(), nullptr, nullptr);
        for (int i = 0; i < kColourCount; ++i) all[i] = PackColor(records[i]);
    }
    if (first < 0) first = 0;
    for (int i = first; i < kColourCount; ++i) out->push_back(all[i]);
    return static_cast<int>(out->size());
}

int PdfColorMapSettings::Load()
{
    ReadIniIntList(0, "PdfOut", &userMap);
    ReadIniIntList(0, "PdfOut_RGB", &rgbList);
    if (rgbList.empty()) GetDrawingColorList(0, &rgbList);
    ReadIniIntList(1, "PdfOut", &defaultMap);
    ReadIniIntList(0, "PdfOut_Mono", &monoMap);
    if (monoMap.empty()) monoMap.assign(userMap.size(), 7);
    return 0;
}

int PdfColorMapSettings::Save()
{
    if (WriteIniIntList("PdfOut_Mono", monoMap, 32) != 0) return -1;
    if (WriteIniIntList("PdfOut", userMap, 32) != 0) return -1;
    return 0;
}

std::vector<int32_t> PdfOutSettings::ResolveColorMap(const std::vector<int32_t>& map,
                                                     const std::vector<int32_t>& rgbList,
                                                     const std::vector<int32_t>& drawingColors)
{
    std::vector<int32_t> resolved;
    resolved.reserve(map.size());
    for (size_t i = 0; i < map.size(); ++i) {
        const int32_t v = map[i];
        // A value that names no drawing colour takes the RGB entry of its own position, so the
        // colours after it keep their numbers.
        if (v >= 0 && v < static_cast<int32_t>(drawingColors.size())) resolved.push_back(drawingColors[v]);
        else resolved.push_back(i < rgbList.size() ? rgbList[i] : 0);
    }
    return resolved;
}

int PdfOutSettings::SaveColorMapping(const std::vector<int32_t>* colourMap, const std::vector<int32_t>* mono,
                                     const std::vector<int32_t>* rgb)
{
    if (mono != nullptr) colorMap.monoMap = *mono;
    if (colourMap != nullptr) colorMap.userMap = *colourMap;
    if (rgb != nullptr) colorMap.rgbList = *rgb;
    // A first confirmation has no monochrome map yet; it starts as all sevens, as a later load
    // would make it, so the colour set is written now and not only the next time.
    if (colorMap.monoMap.empty()) colorMap.monoMap.assign(colorMap.userMap.size(), 7);
    colorMap.Save();

    std::vector<int32_t> drawing;
    GetDrawingColorList(0, &drawing);
    const size_t n = kColourCount;
    if (colorMap.userMap.size() != n || colorMap.monoMap.size() != n || colorMap.rgbList.size() != n ||
        drawing.size() != n)
        return -1;

    colors = ResolveColorMap(colorMode == 0 ? colorMap.userMap : colorMap.monoMap, colorMap.rgbList, drawing);
    const std::string file = GetPdfOutIniPath();
    WriteText(kColorSection, "ColorMode", std::to_string(colorMode), file);
    for (int group = 0; group * kColorsPerGroup < static_cast<int>(colors.size()); ++group) {
        const size_t begin = static_cast<size_t>(group) * kColorsPerGroup;
        const size_t end = std::min(colors.size(), begin + kColorsPerGroup);
        if (!WriteText(kColorSection, ColorKey(lineColorType, group).c_str(), JoinValues(colors, begin, end), file))
            return -1;
    }
    return 0;
}
