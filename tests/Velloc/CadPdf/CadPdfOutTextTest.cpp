// Texts exported as Japanese CID-font text, checked with pdftotext, pdffonts and the content.
#include "GTest.h"

#include <cstring>
#include <fstream>
#include <sstream>

#include "CadPdf/CadPdfOut.h"
#include "CadPdf/TextPlacement.h"
#include "ExportFixture.h"
#include "QmCadDocument.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

ElementRecord TextElementRecord(const char* text, const char* font, double height, int basis, double x, double y,
                                bool vertical = false, double angle = 0, double ratio = 1.0, double spacing = 0)
{
    TextRecord t{};
    SetHeader(t.header, kElementText);
    t.header[13] = static_cast<uint8_t>(basis);
    t.height = height;
    t.widthRatio = ratio;
    t.spacing = spacing;
    t.angle = angle;
    std::strncpy(t.font, font, sizeof t.font - 1);
    t.flags = vertical ? kTextVertical : 0;
    t.x = x;
    t.y = y;
    t.text = text;
    return AsRecord(t);
}

int ExportTo(ExportDrawing& drawing, const std::string& path, RecordedMessages* messages)
{
    QmCadDocument document(nullptr);
    document.database = drawing.db();
    CadPdfOut writer(&document, messages);
    return writer.Export(path.c_str());
}

TEST(CadPdfOutText, JapaneseTextsReachThePdf)
{
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.NameLayer(0, "文字");
    drawing.Add(TextElementRecord("図面ABC", "ＭＳ ゴシック", 10, 3, -150, 100));
    drawing.Add(TextElementRecord("縦書き", "ＭＳ ゴシック", 10, 1, 150, 100, true));
    drawing.Add(TextElementRecord("横回転", "@ＭＳ ゴシック", 10, 5, 0, 0));
    drawing.Add(TextElementRecord("ラーメン", "ＭＳ ゴシック", 10, 1, 100, 0, true));
    drawing.Add(TextElementRecord("上向き", "ＭＳ ゴシック", 10, 5, -100, -50, false, kPi / 2));
    RecordedMessages messages;
    ASSERT_EQ(ExportTo(drawing, out.WindowsPath("t.pdf"), &messages), 0)
        << (messages.texts.empty() ? "" : messages.texts[0]);
    const std::string pdf = out.UnixPath("t.pdf");

    EXPECT_EQ(RunTool("qpdf --check '" + pdf + "'").exitCode, 0);
    const ToolResult text = RunTool("pdftotext -enc UTF-8 '" + pdf + "' -");
    EXPECT_NE(text.output.find(u8"図面ABC"), std::string::npos) << text.output;
    EXPECT_NE(text.output.find(u8"上向き"), std::string::npos) << text.output;
    for (const char* character : {u8"ラ", u8"ー", u8"メ", u8"ン", u8"縦", u8"横"})
        EXPECT_NE(text.output.find(character), std::string::npos) << character;

    const ToolResult fonts = RunTool("pdffonts '" + pdf + "'");
    EXPECT_NE(fonts.output.find("90ms-RKSJ-H"), std::string::npos) << fonts.output;
    EXPECT_NE(fonts.output.find("90ms-RKSJ-V"), std::string::npos) << fonts.output;
    EXPECT_NE(fonts.output.find("MS-Gothic"), std::string::npos) << fonts.output;

    // "ラーメン" down a column is four horizontal texts; each text is bracketed in its layer.
    RunTool("qpdf --qdf --object-streams=disable '" + pdf + "' '" + pdf + ".qdf'");
    const std::string content = ReadUnixFile(pdf + ".qdf");
    EXPECT_EQ(CountOccurrences(content, "BT\n"), 1u + 1u + 1u + 4u + 1u);
    EXPECT_EQ(CountOccurrences(content, "/OC /oc0 BDC"), CountOccurrences(content, "BT\n"));
}

TEST(CadPdfOutText, SizesBeyondTheLibraryLimitsGoIntoTheTextMatrix)
{
    ExportSettingsFolder settings;
    settings.Write("PdfOut.ini", "SYSTEM", "modeCompDoc", "1");
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.SetPaper(1189, 841);
    const double height700pt = 700.0 * 25.4 / 72.0;
    drawing.Add(TextElementRecord("大", "ＭＳ ゴシック", height700pt, 3, 0, 0));
    drawing.Add(TextElementRecord("細", "ＭＳ ゴシック", 10, 3, 0, -100, false, 0, 0.05));
    // Spacing of 400 points is limited to 300; the same spacing again writes no second "Tc".
    drawing.Add(TextElementRecord("間", "ＭＳ ゴシック", 10, 3, 0, -200, false, 0, 1.0, 400 * 25.4 / 72));
    drawing.Add(TextElementRecord("隔", "ＭＳ ゴシック", 10, 3, 0, -250, false, 0, 1.0, 400 * 25.4 / 72));
    RecordedMessages messages;
    ASSERT_EQ(ExportTo(drawing, out.WindowsPath("big.pdf"), &messages), 0)
        << (messages.texts.empty() ? "" : messages.texts[0]);
    EXPECT_EQ(RunTool("qpdf --check '" + out.UnixPath("big.pdf") + "'").exitCode, 0);
    const std::string content = ReadUnixFile(out.UnixPath("big.pdf"));
    EXPECT_NE(content.find(" 600 Tf"), std::string::npos);
    EXPECT_EQ(content.find(" 700 Tf"), std::string::npos);
    EXPECT_NE(content.find("1.16667 0 0 1.16667 "), std::string::npos) << content.substr(content.find("BT"), 300);
    EXPECT_NE(content.find("0.05 0 0 1 "), std::string::npos);
    EXPECT_EQ(CountOccurrences(content, "300 Tc"), 1u);

    // The viewer draws the big character 700 points high: its box in pdftotext's bounding boxes.
    const ToolResult boxes = RunTool("pdftotext -bbox '" + out.UnixPath("big.pdf") + "' -");
    EXPECT_NE(boxes.output.find("<word"), std::string::npos);
}

TEST(TextPlacement, BasisOffsetsAndCharacterSplit)
{
    const TextOffset centre = TextOriginOffset(5, false, 40, 10, 10, 10);
    EXPECT_DOUBLE_EQ(centre.dx, -20);
    EXPECT_DOUBLE_EQ(centre.dy, -5);
    const TextOffset column = TextOriginOffset(9, true, 10, 40, 10, 10);
    EXPECT_DOUBLE_EQ(column.dx, -5);
    EXPECT_DOUBLE_EQ(column.dy, 40);
    const auto characters = SplitTextCharacters("aラー\x81");
    ASSERT_EQ(characters.size(), 4u);
    EXPECT_EQ(characters[1], "ラ");
    EXPECT_EQ(characters[3], "\x81");
    EXPECT_TRUE(ContainsDashLikeCharacter("ラーメン"));
    EXPECT_FALSE(ContainsDashLikeCharacter("縦書き"));
}

TEST(TextPlacement, UnterminatedFontNameIsReadBounded)
{
    TextRecord t{};
    SetHeader(t.header, kElementText);
    std::memset(t.font, 'A', sizeof t.font);
    t.text = "x";
    TextElement text(AsRecord(t));
    EXPECT_EQ(text.font.size(), 32u);
    EXPECT_EQ(text.text, "x");
}

}  // namespace

namespace {

TEST(CadPdfOutText, VectorFontTextsAreStrokesWhenTheSettingSaysSo)
{
    for (const char* mode : {"1", "0"}) {
        ExportSettingsFolder settings;
        settings.Write("PdfOut.ini", "SYSTEM", "modeCompDoc", "1");
        settings.Write("PdfOut.ini", "SYSTEM", "modeVectorFont", mode);
        ExportOutputFolder out;
        ExportDrawing drawing;
        drawing.Add(TextElementRecord("AB", "VectorFont", 10, 3, 0, 0));
        RecordedMessages messages;
        ASSERT_EQ(ExportTo(drawing, out.WindowsPath("v.pdf"), &messages), 0);
        const std::string content = ReadUnixFile(out.UnixPath("v.pdf"));
        if (mode[0] == '1') {
            EXPECT_EQ(content.find("BT\n"), std::string::npos);
            EXPECT_NE(content.find("1 J\n"), std::string::npos);  // round caps for the strokes
            EXPECT_GT(CountOccurrences(content, " l\n"), 3u);
        } else {
            EXPECT_NE(content.find("BT\n"), std::string::npos);
        }
    }
}

}  // namespace
