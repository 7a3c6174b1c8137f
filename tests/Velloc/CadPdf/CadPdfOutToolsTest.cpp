// Drawings built through the engine, exported, and checked by the PDF tools a user would trust.
#include "GTest.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "CadPdf/CadPdfOut.h"
#include "CadPdf/PdfOutSettings.h"
#include "ExportFixture.h"
#include "GeometryRoutines.h"
#include "QmCadDocument.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The page's content stream, uncompressed, through qpdf.
std::string PageContent(const ExportOutputFolder& out, const std::string& name)
{
    const std::string qdf = out.UnixPath(name + ".qdf");
    RunTool("qpdf --qdf --object-streams=disable '" + out.UnixPath(name) + "' '" + qdf + "'");
    return ReadUnixFile(qdf);
}

// The value of one "Key: value" line of pdfinfo.
std::string InfoValue(const std::string& output, const std::string& key)
{
    const size_t at = output.find(key + ":");
    if (at == std::string::npos) return std::string();
    size_t begin = output.find_first_not_of(' ', at + key.size() + 1);
    size_t end = output.find('\n', begin);
    return output.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
}

struct ExportRun {
    int result = -2;
    RecordedMessages messages;
};

ExportRun Export(ExportDrawing* drawing, const std::string& windowsPath)
{
    QmCadDocument document(nullptr);
    document.database = drawing != nullptr ? drawing->db() : nullptr;
    ExportRun run;
    CadPdfOut writer(&document, &run.messages);
    run.result = writer.Export(windowsPath.c_str());
    return run;
}

TEST(CadPdfOutTools, FixtureDrawingIsAValidLayeredPdf)
{
    const double tolerances[2] = {1e-6, 1e-6};
    VyCAL_INIT(tolerances);  // as the command does before it exports (arc ends need it)
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    BuildLayeredFixture(drawing);
    const ExportRun run = Export(&drawing, out.WindowsPath("fixture.pdf"));
    ASSERT_EQ(run.result, 0) << (run.messages.texts.empty() ? "" : run.messages.texts[0]);
    EXPECT_TRUE(run.messages.texts.empty());
    const std::string pdf = out.UnixPath("fixture.pdf");

    const ToolResult check = RunTool("qpdf --check '" + pdf + "'");
    EXPECT_EQ(check.exitCode, 0) << check.output;

    const ToolResult info = RunTool("pdfinfo '" + pdf + "'");
    EXPECT_EQ(InfoValue(info.output, "PDF version"), "1.5") << info.output;
    EXPECT_EQ(InfoValue(info.output, "Producer"), "Brisco");
    EXPECT_EQ(InfoValue(info.output, "Page size").rfind("1190.55 x 841.89 pts", 0), 0u);

    const ToolResult json = RunTool("qpdf --json=2 --json-key=qpdf '" + pdf + "'");
    EXPECT_NE(json.output.find("\"/PageMode\": \"/UseOC\""), std::string::npos);
    EXPECT_NE(json.output.find("\"/BaseState\": \"/ON\""), std::string::npos);
    // Groups in layer order: 壁 (0), 隠し (2), ロック (3), "6" (5); the unnamed layer has none.
    const size_t wall = json.output.find(u8"\"/Name\": \"u:壁\"");
    const size_t hidden = json.output.find(u8"\"/Name\": \"u:隠し\"");
    const size_t locked = json.output.find(u8"\"/Name\": \"u:ロック\"");
    const size_t blank = json.output.find(u8"\"/Name\": \"u:6\"");
    ASSERT_NE(wall, std::string::npos) << json.output.substr(0, 4000);
    EXPECT_LT(wall, hidden);
    EXPECT_LT(hidden, locked);
    EXPECT_LT(locked, blank);
    EXPECT_NE(blank, std::string::npos);

    // The viewer's layer list: every group on, in layer order.
    const ToolResult layers = RunTool("mutool draw -Y -o /dev/null '" + pdf + "'");
    EXPECT_NE(layers.output.find(u8"layer 1 (on): 壁\nlayer 2 (on): 隠し\nlayer 3 (on): ロック\nlayer 4 (on): 6\n"),
              std::string::npos)
        << layers.output;

    const std::string content = PageContent(out, "fixture.pdf");
    EXPECT_EQ(CountOccurrences(content, " BDC"), CountOccurrences(content, "EMC"));
    EXPECT_GT(CountOccurrences(content, "/OC /oc0 BDC"), 10u);
    EXPECT_EQ(CountOccurrences(content, "/OC /oc1 BDC"), 0u);  // the hidden layer's line is left out
    EXPECT_EQ(CountOccurrences(content, "/OC /oc2 BDC"), 1u);  // locked
    EXPECT_EQ(CountOccurrences(content, "/OC /oc3 BDC"), 1u);  // blank name
    // Sixteen dash lengths of 2 mm (6 points) written whole.
    EXPECT_NE(content.find("[6 6 6 6 6 6 6 6 6 6 6 6 6 6 6 6] 0 d"), std::string::npos);
    EXPECT_NE(content.find("[9 3 ] 0 d"), std::string::npos);
    // The locked layer's line is in colour 2 (red); colour 1 is blue.
    EXPECT_NE(content.find("1 0 0 RG"), std::string::npos);
    EXPECT_NE(content.find("0 0 1 RG"), std::string::npos);

    const ToolResult trace = RunTool("mutool trace '" + pdf + "'");
    EXPECT_EQ(trace.exitCode, 0) << trace.output.substr(0, 2000);
    EXPECT_NE(trace.output.find("<stroke_path"), std::string::npos);
    // Layers as the viewer sees them: the hidden layer's line is not drawn, the locked one is red.
    EXPECT_GT(CountOccurrences(trace.output, u8"<layer name=\"壁\"/>"), 10u);
    EXPECT_EQ(CountOccurrences(trace.output, u8"<layer name=\"隠し\"/>"), 0u);
    EXPECT_EQ(CountOccurrences(trace.output, u8"<layer name=\"ロック\"/>"), 1u);
    EXPECT_NE(trace.output.find(u8"<layer name=\"ロック\"/>\n<stroke_path linewidth=\".3685\""), std::string::npos);
    // Colours as the viewer sees them: the locked layer's line red, the wall layer's lines blue.
    const auto layerPart = [&](const std::string& name) {
        const size_t begin = trace.output.find("<layer name=\"" + name + "\"/>");
        return begin == std::string::npos ? std::string() : trace.output.substr(begin, trace.output.find("<end_layer/>", begin) - begin);
    };
    EXPECT_NE(layerPart(u8"ロック").find("color=\"1 0 0\""), std::string::npos) << layerPart(u8"ロック");
    EXPECT_NE(layerPart(u8"壁").find("color=\"0 0 1\""), std::string::npos) << layerPart(u8"壁");
    EXPECT_NE(trace.output.find("dash=\"6 6 6 6 6 6 6 6 6 6 6 6 6 6 6 6\""), std::string::npos);
    EXPECT_NE(trace.output.find("<fill_path"), std::string::npos);  // black dot and triangle
}

TEST(CadPdfOutTools, OriginModeAndScalePlaceTheDrawing)
{
    struct Case {
        int originMode;
        double scale;
        double x1, x2;
        double expectedStartX, expectedLength;  // points
    };
    const double mm = 72.0 / 25.4;
    const Case cases[] = {
        {0, 1.0, 0, 10, 210 * mm, 10 * mm},          // origin at the page centre
        {1, 1.0, 0, 10, 0, 10 * mm},                 // origin at the lower left corner
        {1, 1.0 / 50, 0, 1000, 0, 20 * mm},          // 1/50: 1000 units are 20 mm
    };
    for (const Case& c : cases) {
        ExportSettingsFolder settings;
        settings.Write("PdfOut.ini", "SYSTEM", "modeCompDoc", "1");
        ExportOutputFolder out;
        ExportDrawing drawing;
        drawing.SetOriginMode(c.originMode);
        drawing.SetScale(c.scale);
        drawing.Add(LineElement(c.x1, 0, c.x2, 0));
        ASSERT_EQ(Export(&drawing, out.WindowsPath("o.pdf")).result, 0);
        const std::string content = ReadUnixFile(out.UnixPath("o.pdf"));
        float mx = 0, my = 0, lx = 0, ly = 0;
        const size_t m = content.find(" m\n");
        ASSERT_NE(m, std::string::npos);
        const size_t lineStart = content.rfind('\n', m) + 1;
        ASSERT_EQ(std::sscanf(content.c_str() + lineStart, "%f %f m %f %f l", &mx, &my, &lx, &ly), 4)
            << content.substr(lineStart, 80);
        EXPECT_NEAR(mx, c.expectedStartX, 0.01) << c.originMode << " " << c.scale;
        EXPECT_NEAR(lx - mx, c.expectedLength, 0.01) << c.originMode << " " << c.scale;
    }
}

TEST(CadPdfOutTools, FailuresShowTheirMessageAndWriteNothing)
{
    struct Case {
        const char* name;
        double paperWidthMm;
        bool withElement;
        bool withDatabase;
        const char* expectedStart;
    };
    const Case cases[] = {
        {"paper too wide", 14400.0001 * 25.4 / 72.0, true, true, "現在の用紙サイズ 横:"},
        {"paper 3 points accepted", 1.0583333, true, true, nullptr},
        {"empty drawing", 420, false, true, "PDFを保存するデータがありません。"},
        {"no database", 420, false, false, "PDFを保存するデータがありません。"},
    };
    for (const Case& c : cases) {
        ExportSettingsFolder settings;
        ExportOutputFolder out;
        ExportDrawing drawing;
        drawing.SetPaper(c.paperWidthMm, 297);
        if (c.withElement) drawing.Add(LineElement(0, 0, 1, 1));
        const ExportRun run = Export(c.withDatabase ? &drawing : nullptr, out.WindowsPath("f.pdf"));
        const bool written = GetFileAttributesA(out.WindowsPath("f.pdf").c_str()) != INVALID_FILE_ATTRIBUTES;
        if (c.expectedStart == nullptr) {
            EXPECT_EQ(run.result, 0) << c.name;
            EXPECT_TRUE(written) << c.name;
            continue;
        }
        EXPECT_EQ(run.result, -1) << c.name;
        EXPECT_FALSE(written) << c.name;
        ASSERT_EQ(run.messages.texts.size(), 1u) << c.name;
        EXPECT_EQ(run.messages.texts[0].rfind(c.expectedStart, 0), 0u) << c.name << ": " << run.messages.texts[0];
    }
}

TEST(CadPdfOutTools, PaperSizeMessageNamesTheSizeAndTheLimits)
{
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.SetPaper(6000, 297);
    drawing.Add(LineElement(0, 0, 1, 1));
    const ExportRun run = Export(&drawing, out.WindowsPath("f.pdf"));
    ASSERT_EQ(run.messages.texts.size(), 1u);
    EXPECT_NE(run.messages.texts[0].find("横:6000×縦:297 では"), std::string::npos) << run.messages.texts[0];
    EXPECT_NE(run.messages.texts[0].find("縦横共に 1 以上 5080 以下"), std::string::npos);
    EXPECT_EQ(run.messages.captions[0], "PDF保存");
}

TEST(CadPdfOutTools, UnwritablePathKeepsTheOldFile)
{
    ExportSettingsFolder settings;
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.Add(LineElement(0, 0, 10, 10));
    // A folder in the way of the file: the rename cannot replace it.
    const std::string blocked = out.WindowsPath("blocked.pdf");
    CreateDirectoryA(blocked.c_str(), nullptr);
    ExportRun run = Export(&drawing, blocked);
    EXPECT_EQ(run.result, -1);
    ASSERT_EQ(run.messages.texts.size(), 1u);
    EXPECT_EQ(run.messages.texts[0].rfind("PDF変換中にエラーが発生しました。作業を中止します。\n(エラーコード=", 0), 0u);
    EXPECT_EQ(run.messages.captions[0], "エラー");

    // A failed export leaves an existing file as it was.
    const std::string old = out.WindowsPath("old.pdf");
    {
        std::ofstream keep(out.UnixPath("old.pdf"), std::ios::binary);
        keep << "old contents";
    }
    drawing.SetPaper(6000, 297);
    run = Export(&drawing, old);
    EXPECT_EQ(run.result, -1);
    EXPECT_EQ(ReadUnixFile(out.UnixPath("old.pdf")), "old contents");
    drawing.SetPaper(420, 297);
    EXPECT_EQ(Export(&drawing, out.WindowsPath("missing-folder\\x.pdf")).result, -1);
    // No temporary file is left beside the target.
    const ToolResult left = RunTool("ls '" + out.UnixPath("") + "'");
    EXPECT_EQ(left.output.find(".tmp"), std::string::npos) << left.output;
}

TEST(CadPdfOutTools, HiddenLayersAreWrittenWhenTheSettingSaysSo)
{
    ExportSettingsFolder settings;
    settings.Write("PdfOut.ini", "SYSTEM", "HideOffLay", "0");
    settings.Write("PdfOut.ini", "SYSTEM", "modeCompDoc", "1");
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.NameLayer(0, "A");
    drawing.SetLayerShown(0, false);
    drawing.Add(LineElement(0, 0, 10, 10));
    ASSERT_EQ(Export(&drawing, out.WindowsPath("h.pdf")).result, 0);
    EXPECT_EQ(CountOccurrences(ReadUnixFile(out.UnixPath("h.pdf")), "/OC /oc0 BDC"), 1u);
}

TEST(CadPdfOutTools, PageByPageWalkVisitsEveryPageOnce)
{
    ExportSettingsFolder settings;
    settings.Write("PdfOut.ini", "SYSTEM", "modeExport", "1");
    settings.Write("PdfOut.ini", "SYSTEM", "modeCompDoc", "1");
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.NameLayer(0, "A");
    drawing.Add(LineElement(0, 0, 10, 10));
    ASSERT_EQ(Export(&drawing, out.WindowsPath("p.pdf")).result, 0);
    EXPECT_EQ(CountOccurrences(ReadUnixFile(out.UnixPath("p.pdf")), "/OC /oc0 BDC"), 1u);
}

}  // namespace

namespace {

TEST(CadPdfOutTools, CompositeLinesAndFigureGroupMembers)
{
    ExportSettingsFolder settings;
    settings.Write("PdfOut.ini", "SYSTEM", "modeCompDoc", "1");
    ExportOutputFolder out;
    ExportDrawing drawing;
    // Composite kind 900: its line members are drawn, other members are not.
    ElementRecord composite = MakeComposite(kElementGroup);
    composite.subKind = 900;
    void* head = drawing.Add(composite);
    ASSERT_NE(head, nullptr);
    ElementRecord l1 = LineElement(0, 0, 10, 0), l2 = LineElement(0, 5, 10, 5), c = CircleElement(0, 0, 3);
    ZUriAppendMemberElement(&l1, head, drawing.db());
    ZUriAppendMemberElement(&l2, head, drawing.db());
    ZUriAppendMemberElement(&c, head, drawing.db());
    // A figure group: members of types 1 to 7 are drawn.
    FigureHeaderRecord h{};
    ElementRecord headerRecord = AsRecord(h);
    headerRecord.type = kElementFigureHeader;
    void* header = ZUriCreateFgroupHead(&headerRecord, drawing.db());
    ASSERT_NE(header, nullptr);
    ElementRecord m1 = LineElement(20, 20, 30, 30), m2 = CircleElement(25, 25, 4);
    ZUriAppendMemberElement(&m1, header, drawing.db());
    ZUriAppendMemberElement(&m2, header, drawing.db());
    FigureReferenceRecord ref{};
    SetHeader(ref.header, kElementFigureReference);
    ref.scaleX = ref.scaleY = 1.0;
    ASSERT_NE(ZUriAppendFgroup(header, &ref, drawing.db()), nullptr);

    ASSERT_EQ(Export(&drawing, out.WindowsPath("c.pdf")).result, 0);
    const std::string content = ReadUnixFile(out.UnixPath("c.pdf"));
    EXPECT_EQ(CountOccurrences(content, "\nS\n"), 4u) << content.substr(content.find("stream"), 600);
    EXPECT_EQ(RunTool("qpdf --check '" + out.UnixPath("c.pdf") + "'").exitCode, 0);
}

TEST(CadPdfOutTools, ElementsOfTheOtherSpaceAreNothingPageByPage)
{
    for (const char* mode : {"0", "1"}) {
        ExportSettingsFolder settings;
        settings.Write("PdfOut.ini", "SYSTEM", "modeExport", mode);
        ExportOutputFolder out;
        ExportDrawing drawing;
        ElementRecord paper = LineElement(0, 0, 10, 10);
        paper.space = 1;
        drawing.Add(paper);
        const ExportRun run = Export(&drawing, out.WindowsPath("s.pdf"));
        if (mode[0] == '0') {
            EXPECT_EQ(run.result, 0);  // the whole drawing is written
        } else {
            EXPECT_EQ(run.result, -1);
            ASSERT_EQ(run.messages.texts.size(), 1u);
            EXPECT_EQ(run.messages.texts[0], "PDFを保存するデータがありません。");
        }
    }
}

}  // namespace

namespace {

// Every point of every path in mutool's trace, in PDF user space.
std::vector<std::pair<double, double>> TracedPoints(const std::string& trace)
{
    std::vector<std::pair<double, double>> points;
    for (size_t at = trace.find("to x=\""); at != std::string::npos; at = trace.find("to x=\"", at + 1)) {
        double x = 0, y = 0;
        if (std::sscanf(trace.c_str() + at, "to x=\"%lf\" y=\"%lf\"", &x, &y) == 2)
            points.push_back({x, y});
    }
    return points;
}

bool HasPointNear(const std::vector<std::pair<double, double>>& points, double x, double y)
{
    for (const auto& p : points)
        if (std::fabs(p.first - x) < 0.05 && std::fabs(p.second - y) < 0.05) return true;
    return false;
}

TEST(CadPdfOutTools, ArrowsAtArcEndsPointAlongTheArcInBothDirections)
{
    const double tolerances[2] = {1e-6, 1e-6};
    ASSERT_EQ(VyCAL_INIT(tolerances), 1);
    const double mm = 72.0 / 25.4;
    const double c10 = 7.5 * std::cos(10 * kPi / 180), s10 = 7.5 * std::sin(10 * kPi / 180);
    struct Case {
        bool clockwise;
        double start, end;
        double barbX, barbY;  // one barb of the end arrow, mm from the centre
    };
    const Case cases[] = {
        // Counter-clockwise from 0 to 90 degrees: ends at (0, 50) heading -x; barbs behind at +x.
        {false, 0, kPi / 2, c10, 50 + s10},
        // Clockwise from 90 to 0 degrees: ends at (50, 0) heading -y; barbs behind, above.
        {true, kPi / 2, 0, 50 + s10, c10},
    };
    for (const Case& c : cases) {
        ExportSettingsFolder settings;
        ExportOutputFolder out;
        ExportDrawing drawing;
        drawing.SetOriginMode(1);
        ElementRecord arc = ArcElement(100, 100, 50, c.start, c.end, c.clockwise);
        arc.lineEndEnd = 1;
        drawing.Add(arc);
        ASSERT_EQ(Export(&drawing, out.WindowsPath("a.pdf")).result, 0);
        const ToolResult trace = RunTool("mutool trace '" + out.UnixPath("a.pdf") + "'");
        const auto points = TracedPoints(trace.output);
        EXPECT_TRUE(HasPointNear(points, (100 + c.barbX) * mm, (100 + c.barbY) * mm))
            << (c.clockwise ? "clockwise" : "counter-clockwise") << "\n" << trace.output.substr(0, 3000);
    }
}

}  // namespace

namespace {

TEST(CadPdfOutTools, PageByPageWalkDrawsInDrawOrder)
{
    ExportSettingsFolder settings;
    settings.Write("PdfOut.ini", "SYSTEM", "modeExport", "1");
    settings.Write("PdfOut.ini", "SYSTEM", "modeCompDoc", "1");
    ExportOutputFolder out;
    ExportDrawing drawing;
    drawing.SetColour(1, 255, 0, 0);
    drawing.SetColour(2, 0, 255, 0);
    drawing.SetColour(3, 0, 0, 255);
    // Stored high, low, middle: drawn low, middle, high (equal keys keep the stored order).
    LineRecord high = Typed<LineRecord>(LineElement(0, 0, 10, 0, 0, 1));
    high.z1 = 5;
    LineRecord low = Typed<LineRecord>(LineElement(0, 1, 10, 1, 0, 2));
    low.z1 = -3;
    LineRecord middle = Typed<LineRecord>(LineElement(0, 2, 10, 2, 0, 3));
    middle.z1 = 1;
    drawing.Add(AsRecord(high));
    drawing.Add(AsRecord(low));
    drawing.Add(AsRecord(middle));
    ASSERT_EQ(Export(&drawing, out.WindowsPath("order.pdf")).result, 0);
    const std::string content = ReadUnixFile(out.UnixPath("order.pdf"));
    const size_t green = content.find("0 1 0 RG"), blue = content.find("0 0 1 RG"), red = content.find("1 0 0 RG");
    ASSERT_NE(green, std::string::npos);
    ASSERT_NE(blue, std::string::npos);
    ASSERT_NE(red, std::string::npos);
    EXPECT_LT(green, blue);
    EXPECT_LT(blue, red);
}

TEST(CadPdfOutTools, PageIdsAreVisitedOnce)
{
    ExportDrawing drawing;
    std::vector<uint8_t> page(kPageBufferSize, 0);
    ASSERT_NE(ZUriAddPage(1, page.data(), drawing.db()), 0);
    ASSERT_NE(ZUriAddPage(2, page.data(), drawing.db()), 0);
    // A count larger than the chain: the walk ends with the chain and never comes back to 0.
    const std::vector<int> pages = CollectPageIds(drawing.db(), ZUriGetPageCount(drawing.db()) + 3);
    EXPECT_EQ(pages, (std::vector<int>{0, 1, 2}));
}

}  // namespace
