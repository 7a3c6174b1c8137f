// Drawings exported by "PDF保存" come back through the import: compared on paper, since the
// import takes its scale from the paper.
#include "GTest.h"

#include <cmath>
#include <cstring>
#include <iterator>
#include <string>
#include <utility>

#include "CadPdf/PdfImportConverter.h"
#include "CadPdf/PdfImportHost.h"
#include "EngineBinding.h"
#include "ExportFixture.h"
#include "MessageBoxAnswerer.h"
#include "PdfImportFakes.h"
#include "RecordingDocument.h"


namespace {

// Exports the drawing by "PDF保存" (batch) into the folder and imports the file's first page.
void ExportAndImport(ExportDrawing& drawing, const ExportOutputFolder& out, const char* name,
                     FakeImportServices& fake, RecordingDocument& imported)
{
    StartCmdExFn start = LoadVellocStartCmdEx();
    ASSERT_NE(start, nullptr);
    {
        MessageBoxAnswerer answerer;
        const std::string line = out.WindowsPath(name) + " /c:PDF保存";
        ASSERT_EQ(0, start(nullptr, line.c_str(), drawing.db())) << answerer.LastText();
    }
    PdfImportConverter converter(&imported, fake.services);
    ASSERT_EQ(0, converter.OpenPdf(out.WindowsPath(name)));
    converter.unitFactor = 1.0 / (imported.scale * 72 / 25.4);
    ASSERT_EQ(0, converter.ConvertPage(0));
}

}  // namespace

TEST(PdfRoundTrip, LinesAndCirclesComeBackOnTheirLayers)
{
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    const double exportScale = 0.01;  // 1/100 on A4 landscape
    drawing.SetPaper(297, 210);
    drawing.SetScale(exportScale);
    drawing.NameLayer(0, "壁");
    drawing.NameLayer(1, "電気");
    struct Line { double x1, y1, x2, y2; int layer; };
    const Line lines[] = {{-5000, -3000, 5000, 3000, 0}, {-12000, 8000, 3000, -7000, 1}, {100, 200, 300, 250, 1}};
    for (const Line& l : lines) drawing.Add(LineElement(l.x1, l.y1, l.x2, l.y2, static_cast<uint16_t>(l.layer)));
    drawing.Add(CircleElement(2000, 1000, 1500, 0));
    FakeImportServices fake;
    RecordingDocument imported;
    ExportAndImport(drawing, out, "round.pdf", fake, imported);
    if (HasFatalFailure()) return;

    // On paper: millimetres from the page centre.
    const auto got = imported.Of('L');
    ASSERT_EQ(3u, got.size());
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(lines[i].x1 * exportScale, got[i].x1 * imported.scale, 0.01) << i;
        EXPECT_NEAR(lines[i].y1 * exportScale, got[i].y1 * imported.scale, 0.01) << i;
        EXPECT_NEAR(lines[i].x2 * exportScale, got[i].x2 * imported.scale, 0.01) << i;
        EXPECT_NEAR(lines[i].y2 * exportScale, got[i].y2 * imported.scale, 0.01) << i;
        EXPECT_EQ(lines[i].layer == 0 ? "壁" : "電気", imported.layerNames[got[i].layer]) << i;
    }
    const auto circles = imported.Of('C');
    ASSERT_EQ(1u, circles.size());
    EXPECT_NEAR(20, circles[0].x1 * imported.scale, 0.01);
    EXPECT_NEAR(10, circles[0].y1 * imported.scale, 0.01);
    EXPECT_NEAR(15, circles[0].x2 * imported.scale, 0.01);
    EXPECT_EQ("壁", imported.layerNames[circles[0].layer]);
}

TEST(PdfRoundTrip, TextsKeepStringSizeRatioSpacingAngleAndPlace)
{
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    const double exportScale = 0.01;
    drawing.SetPaper(297, 210);
    drawing.SetScale(exportScale);
    struct Text { const char* text; double x, y, height, angleDegrees, widthRatio, spacing; };
    const Text texts[] = {
        {"電気ABC", -3000, 2000, 500, 0, 1.0, 0},
        {"盤", 1000, -1500, 300, 90, 1.0, 0},
        {"分電盤", -8000, -4000, 400, 30, 0.6, 100},   // narrow characters, 1 mm apart on paper
        {"幹線W", 6000, 5000, 250, 0, 1.5, 40},
    };
    for (const Text& t : texts) {
        TextRecord record{};
        SetHeader(record.header, kElementText);
        record.header[13] = 3;  // horizontal text
        record.angle = t.angleDegrees * 3.141592653589793 / 180;
        record.height = t.height;
        record.widthRatio = t.widthRatio;
        record.spacing = t.spacing;
        std::strcpy(record.font, "ＭＳ ゴシック");
        record.x = t.x;
        record.y = t.y;
        record.text = t.text;
        drawing.Add(AsRecord(record));
    }
    FakeImportServices fake;
    PdfImportHost host;  // the real font measures: the export lowered the texts by their descent
    fake.services.textMeasure = &host;
    RecordingDocument imported;
    ExportAndImport(drawing, out, "texts.pdf", fake, imported);
    if (HasFatalFailure()) return;
    const auto got = imported.Of('T');
    ASSERT_EQ(std::size(texts), got.size());
    for (size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(texts[i].text, got[i].text) << i;
        EXPECT_NEAR(texts[i].height * exportScale, got[i].charHeight * imported.scale, 0.01) << i;
        EXPECT_NEAR(texts[i].height * texts[i].widthRatio * exportScale, got[i].charWidth * imported.scale, 0.01) << i;
        EXPECT_NEAR(texts[i].spacing * exportScale, got[i].spacing * imported.scale, 0.01) << i;
        EXPECT_NEAR(texts[i].angleDegrees, got[i].angle, 0.01) << i;
        EXPECT_NEAR(texts[i].x * exportScale, got[i].x1 * imported.scale, 0.01) << i;
        EXPECT_NEAR(texts[i].y * exportScale, got[i].y1 * imported.scale, 0.01) << i;
    }
}

TEST(PdfRoundTrip, ArcsAndEllipsesComeBackAsLinesOnTheirCurves)
{
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    const double exportScale = 0.01;
    const double pi = std::acos(-1.0);
    drawing.SetPaper(297, 210);
    drawing.SetScale(exportScale);
    drawing.Add(ArcElement(-5000, 0, 2000, 0, pi / 2, false));  // on paper: centre (-50, 0), radius 20
    drawing.Add(EllipseElement(5000, 3000, 8000, 3000, 0.5));   // centre (50, 30), major axis to (80, 30): 30 by 15
    FakeImportServices fake;
    RecordingDocument imported;
    ExportAndImport(drawing, out, "curves.pdf", fake, imported);
    if (HasFatalFailure()) return;

    EXPECT_TRUE(imported.Of('C').empty()) << "curves are not read back as circles";
    const auto lines = imported.Of('L');
    ASSERT_GT(lines.size(), 8u) << "each curve comes back as several lines";
    // Each vertex lies on its curve within 0.01 mm plus the PDF library's 0.03 % of the radius.
    const auto onArc = [](double x, double y) {
        const double tolerance = 0.01 + 0.0003 * 20;
        return std::fabs(std::hypot(x + 50, y) - 20) <= tolerance && x >= -50 - tolerance && y >= -tolerance;
    };
    const auto onEllipse = [](double x, double y) {
        const double tolerance = 0.01 + 0.0003 * 30;
        const double u = (x - 50) / 30, v = (y - 30) / 15;
        return std::fabs(std::hypot(u, v) - 1) * 15 <= tolerance;
    };
    int arcVertices = 0, ellipseVertices = 0;
    bool arcStart = false, arcEnd = false;
    for (const auto& line : lines) {
        for (const auto& p : {std::make_pair(line.x1, line.y1), std::make_pair(line.x2, line.y2)}) {
            const double x = p.first * imported.scale, y = p.second * imported.scale;
            if (onArc(x, y)) {
                ++arcVertices;
                arcStart = arcStart || std::hypot(x + 30, y) < 0.02;
                arcEnd = arcEnd || std::hypot(x + 50, y - 20) < 0.02;
            } else if (onEllipse(x, y)) {
                ++ellipseVertices;
            } else {
                ADD_FAILURE() << "a vertex on neither curve: " << x << ", " << y;
            }
        }
    }
    EXPECT_GT(arcVertices, 2);
    EXPECT_GT(ellipseVertices, 4);
    EXPECT_TRUE(arcStart && arcEnd) << "the arc's lines run from its start to its end point";
}
