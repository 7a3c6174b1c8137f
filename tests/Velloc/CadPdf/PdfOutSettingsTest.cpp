// "PdfOut.ini", "STYLE.INI" and "PdfColor.ini" as the export reads and writes them.
#include "GTest.h"

#include <string>
#include <vector>

#include "CadPdf/PdfOutSettings.h"
#include "Dravik.h"
#include "ExportFixture.h"
#include "QmCadDocument.h"

namespace {

std::string ReadUserValue(const char* file, const char* section, const char* key)
{
    char buffer[2048] = {};
    const std::string path = std::string("%USER_LOCAL_APPDATA%SETTEI\\") + file;
    QmCadApi_GetPrivateProfileString(section, key, "<missing>", buffer, sizeof buffer, path.c_str());
    return buffer;
}

TEST(LineTermSettingText, ParsesExactlySevenFields)
{
    struct Case {
        const char* text;
        int result;
    };
    const Case cases[] = {{"1,10,7.5,0,0,0,0", 0}, {"1,10,7.5,0,0,0", -1}, {"1,10,7.5,0,0,0,0,0", -1}, {"", -1}};
    for (const Case& c : cases) {
        LineTermSetting s;
        s.size = 99;
        EXPECT_EQ(ParseLineTermSetting(c.text, &s), c.result) << c.text;
        if (c.result == 0) EXPECT_DOUBLE_EQ(s.size, 7.5);
        else EXPECT_DOUBLE_EQ(s.size, 99);
    }
}

TEST(LineTermSettingText, FormatsShortestFixedNotation)
{
    LineTermSetting s;
    s.enabled = 1, s.angle = 10, s.size = 7.5, s.distance = 0.125;
    EXPECT_EQ(FormatLineTermSetting(s), "1,10,7.5,0.125,0,0,0");
}

TEST(PdfOutSettingsLoad, MissingFileGivesTheDefaults)
{
    ExportSettingsFolder folder;
    PdfOutSettings settings;
    ASSERT_EQ(settings.Load(), 0);
    EXPECT_EQ(settings.lineColorType, 1);
    EXPECT_EQ(settings.colorSettingsOn, 0);
    ASSERT_EQ(settings.colors.size(), 257u);
    EXPECT_EQ(settings.colors[1], 0xFF0000);
    ASSERT_EQ(settings.widths.size(), 16u);
    EXPECT_DOUBLE_EQ(settings.widths[8], 1.4);
    EXPECT_EQ(settings.outImage, 0);
    EXPECT_EQ(settings.outRaster, 0);
    EXPECT_EQ(settings.hideOffLayers, 1);
    EXPECT_EQ(settings.monoColorNumber, 16);
}

TEST(PdfOutSettingsLoad, NumbersOutOfRangeAreBroughtBack)
{
    struct Case {
        const char* type;
        const char* mono;
        int expectedType;
        int expectedMono;
    };
    const Case cases[] = {{"0", "0", 1, 16}, {"-3", "257", 1, 16}, {"2", "256", 2, 256}};
    for (const Case& c : cases) {
        ExportSettingsFolder folder;
        folder.Write("PdfOut.ini", "LineColor", "Type", c.type);
        folder.Write("PdfOut.ini", "LineColor", "IniMonoColorId", c.mono);
        PdfOutSettings settings;
        settings.Load();
        EXPECT_EQ(settings.lineColorType, c.expectedType) << c.type;
        EXPECT_EQ(settings.monoColorNumber, c.expectedMono) << c.mono;
    }
}

TEST(PdfOutSettingsLoad, ColourKeysKeepTheirNumbers)
{
    ExportSettingsFolder folder;
    folder.Write("PdfOut.ini", "LineColor", "TypeFlg", "1");
    // Group 0 holds only three values, group 1 its sixteen, group 2 is missing.
    folder.Write("PdfOut.ini", "LineColor", "ColorType1_00", "1,2,3");
    folder.Write("PdfOut.ini", "LineColor", "ColorType1_01", "16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31");
    folder.Write("PdfOut.ini", "LineColor", "ColorType1_03", "5");
    PdfOutSettings settings;
    settings.Load();
    ASSERT_EQ(settings.colors.size(), 32u);
    EXPECT_EQ(settings.colors[2], 3);
    EXPECT_EQ(settings.colors[3], BuiltInColor(3));
    EXPECT_EQ(settings.colors[16], 16);
    EXPECT_EQ(settings.colors[31], 31);
}

TEST(PdfOutSettingsLoad, WithoutColourKeysTheBuiltInTableIsUsed)
{
    ExportSettingsFolder folder;
    folder.Write("PdfOut.ini", "LineColor", "TypeFlg", "1");
    ExportDrawing drawing;
    drawing.SetColour(1, 1, 2, 3);
    QmCadDocument document(nullptr);
    document.database = drawing.db();
    PdfOutSettings settings;
    settings.document = &document;
    settings.Load();
    ASSERT_EQ(settings.colors.size(), 257u);
    EXPECT_EQ(settings.colors[1], BuiltInColor(1));
    // Switched off, the drawing's colours are taken.
    folder.Write("PdfOut.ini", "LineColor", "TypeFlg", "0");
    settings.Load();
    EXPECT_EQ(settings.colors[1], 0x030201);
}

TEST(PdfOutSettingsLoad, WidthSets)
{
    ExportSettingsFolder folder;
    ExportDrawing drawing;
    drawing.Info()->lineWidthsMm[0] = 0.4;
    drawing.Info()->lineWidthsMm[1] = 0.9;
    QmCadDocument document(nullptr);
    document.database = drawing.db();
    PdfOutSettings settings;
    settings.document = &document;

    folder.Write("PdfOut.ini", "LineWidth", "Type", "-1");
    settings.Load();
    ASSERT_EQ(settings.widths.size(), 16u);
    EXPECT_DOUBLE_EQ(settings.widths[0], 0.0);
    EXPECT_DOUBLE_EQ(settings.widths[1], 0.9);

    folder.Write("PdfOut.ini", "LineWidth", "Type", "2");
    settings.Load();
    EXPECT_DOUBLE_EQ(settings.widths[1], 0.3);  // no key WidthType2: built-in

    folder.Write("PdfOut.ini", "LineWidth", "WidthType2", "0.1, 0.2");
    settings.Load();
    ASSERT_EQ(settings.widths.size(), 2u);
    EXPECT_DOUBLE_EQ(settings.widths[1], 0.2);
}

TEST(PdfOutSettingsLineTerms, AGapKeepsLaterTypesInPlace)
{
    ExportSettingsFolder folder;
    folder.Write("PdfOut.ini", "LINE_TERM", "0", "1,0,0,0,0,0,0");
    folder.Write("PdfOut.ini", "LINE_TERM", "1", "1,20,9,0,0,0,0");
    folder.Write("PdfOut.ini", "LINE_TERM", "2", "1,0,1.25,0,0,0");  // six fields: skipped
    folder.Write("PdfOut.ini", "LINE_TERM", "4", "1,0,6,0,0,0,0");
    folder.Write("PdfOut.ini", "LINE_TERM", "14", "1,0,6,0,0,0,0");
    PdfOutSettings settings;
    settings.LoadLineTerms();
    ASSERT_EQ(settings.lineTerms.size(), 5u);
    EXPECT_DOUBLE_EQ(settings.lineTerms[1].angle, 20);
    EXPECT_DOUBLE_EQ(settings.lineTerms[2].size, 1.25);  // built-in row in its place
    EXPECT_DOUBLE_EQ(settings.lineTerms[3].size, 2.5);
    EXPECT_DOUBLE_EQ(settings.lineTerms[4].size, 6);

    settings.lineTerms[4].size = 3.25;
    settings.SaveLineTerms();
    EXPECT_EQ(ReadUserValue("PdfOut.ini", "LINE_TERM", "4"), "1,0,3.25,0,0,0,0");
}

TEST(PdfOutSettingsGetColor, WhiteIsBlackAndOutsideLeavesOutputs)
{
    PdfOutSettings settings;
    settings.colors.assign(257, 0x123456);
    settings.colors[7] = 0xFFFFFF;
    int r = -1, g = -1, b = -1;
    EXPECT_EQ(settings.GetColor(7, &r, &g, &b), 0);
    EXPECT_EQ(r + g + b, 0);
    r = g = b = -1;
    EXPECT_EQ(settings.GetColor(300, &r, &g, &b), 0);
    EXPECT_EQ(r, -1);
    EXPECT_EQ(settings.GetColor(3, &r, nullptr, nullptr), 0x123456);
    EXPECT_EQ(r, 0x56);
}

TEST(PdfColorMapping, ResolutionKeepsEveryColourInItsPlace)
{
    std::vector<int32_t> map(257, 0), rgb(257, 0), drawing(257, 0);
    for (int i = 0; i < 257; ++i) {
        map[i] = i;
        rgb[i] = 1000 + i;
        drawing[i] = 2000 + i;
    }
    map[20] = -1;
    map[21] = 300;
    map[22] = 5;
    const auto resolved = PdfOutSettings::ResolveColorMap(map, rgb, drawing);
    ASSERT_EQ(resolved.size(), 257u);
    EXPECT_EQ(resolved[20], 1020);
    EXPECT_EQ(resolved[21], 1021);
    EXPECT_EQ(resolved[22], 2005);
    EXPECT_EQ(resolved[23], 2023);
}

TEST(PdfColorMapping, LoadWithoutUserFile)
{
    ExportSettingsFolder folder;
    PdfColorMapSettings map;
    map.Load();
    EXPECT_TRUE(map.userMap.empty());
    EXPECT_TRUE(map.monoMap.empty());
    EXPECT_EQ(map.rgbList.size(), 257u);
}

TEST(PdfColorMapping, ReadingStopsAtTheFirstMissingKey)
{
    ExportSettingsFolder folder;
    for (const char* key : {"0", "1", "2", "3", "5"}) folder.Write("PdfColor.ini", "PdfOut", key, "1,2");
    std::vector<int32_t> list;
    ReadIniIntList(0, "PdfOut", &list);
    EXPECT_EQ(list.size(), 8u);
}

TEST(PdfColorMapping, FirstConfirmationWritesTheColourSet)
{
    ExportSettingsFolder folder;
    PdfOutSettings settings;
    settings.Load();
    settings.colorMode = 0;
    std::vector<int32_t> map(257);
    for (int i = 0; i < 257; ++i) map[i] = i;
    map[1] = 2;
    std::vector<int32_t> rgb;
    GetDrawingColorList(0, &rgb);
    // No monochrome map yet: it starts as sevens and the colour set is written at once.
    EXPECT_EQ(settings.SaveColorMapping(&map, nullptr, &rgb), 0);
    ASSERT_EQ(settings.colorMap.monoMap.size(), 257u);
    EXPECT_EQ(settings.colorMap.monoMap[0], 7);
    EXPECT_EQ(ReadUserValue("PdfOut.ini", "LineColor", "ColorMode"), "0");
    const std::string group0 = ReadUserValue("PdfOut.ini", "LineColor", "ColorType1_00");
    EXPECT_EQ(group0.substr(0, group0.find(',', group0.find(',') + 1)),
              std::to_string(rgb[0]) + "," + std::to_string(rgb[2]));
    EXPECT_EQ(ReadUserValue("PdfOut.ini", "LineColor", "ColorType1_16"), std::to_string(rgb[256]));
    // 257 values make keys "0" to "8" of 32 values each, the last with one.
    EXPECT_NE(ReadUserValue("PdfColor.ini", "PdfOut", "8"), "<missing>");
    EXPECT_EQ(ReadUserValue("PdfColor.ini", "PdfOut", "9"), "<missing>");
    EXPECT_EQ(ReadUserValue("PdfColor.ini", "PdfOut", "8"), "256");
}

TEST(PdfColorMapping, IncompleteListsWriteNoColourSet)
{
    ExportSettingsFolder folder;
    PdfOutSettings settings;
    std::vector<int32_t> shortMap(10, 1);
    EXPECT_EQ(settings.SaveColorMapping(&shortMap, nullptr, nullptr), -1);
    EXPECT_EQ(ReadUserValue("PdfOut.ini", "LineColor", "ColorMode"), "<missing>");
}

}  // namespace
