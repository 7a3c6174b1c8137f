#include "GTest.h"

#include "PdfImportHarness.h"
#include "TempFolder.h"

#include <podofo/base/PdfArray.h>

#include <cmath>

using namespace PoDoFo;

namespace {

PdfArray Numbers(std::initializer_list<double> values)
{
    PdfArray array;
    for (double v : values) array.push_back(PdfObject(v));
    return array;
}

}  // namespace

TEST(ImportPages, PageTableSizesAnglesAndPaper)
{
    struct Case { double w, h; int rotate; double tableW, tableH, angle; int rotated; double scale; };
    const Case cases[] = {
        {595.2756, 841.8898, 0, 210, 297, 0, 0, 0.02},    // A4 portrait
        {595.2756, 841.8898, 90, 297, 210, -90, 1, 0.02},
        {595.2756, 841.8898, 180, 210, 297, -180, 1, 0.02},
        {1683.78, 1190.55, 0, 594, 420, 0, 0, 0.01},      // A2
        {2834.65, 1984.25, 0, 1000, 700, 0, 0, 0.01},     // no standard size, above A2
        {283.46, 283.46, 0, 100, 100, 0, 0, 0.02},        // no standard size, small
    };
    for (const Case& c : cases) {
        PdfFixture pdf(c.w, c.h);
        if (c.rotate) pdf.SetPageKey("Rotate", PdfObject(static_cast<pdf_int64>(c.rotate)));
        ImportRun run;
        ASSERT_EQ(0, run.Open(pdf.Bytes()));
        ASSERT_EQ(1u, run.converter->PageTable().size());
        const PdfPageInfo& info = run.converter->PageTable()[0];
        EXPECT_NEAR(c.tableW, info.width, 0.01);
        EXPECT_NEAR(c.tableH, info.height, 0.01);
        EXPECT_DOUBLE_EQ(c.angle, info.angle);
        EXPECT_EQ(c.rotated, info.rotated);
        EXPECT_DOUBLE_EQ(c.scale, run.document.scale) << c.w << " x " << c.h;
    }
}

TEST(ImportPages, TheMediaBoxCentreIsTheOriginAndRotationTurnsTheDrawing)
{
    struct Case { double left, bottom; int rotate; double x, y; };
    // A line from the box centre to 10 points right of it.
    const Case cases[] = {{0, 0, 0, 10, 0}, {100, 50, 0, 10, 0}, {100, 50, 90, 0, -10}, {0, 0, 270, 0, 10}};
    for (const Case& c : cases) {
        PdfFixture pdf(200, 100, c.left, c.bottom);
        if (c.rotate) pdf.SetPageKey("Rotate", PdfObject(static_cast<pdf_int64>(c.rotate)));
        char content[128];
        std::snprintf(content, sizeof content, "%g %g m %g %g l S", c.left + 100, c.bottom + 50, c.left + 110,
                      c.bottom + 50);
        pdf.SetContent(content);
        ImportRun run;
        ASSERT_EQ(0, run.Open(pdf.Bytes()));
        ASSERT_EQ(0, run.Convert());
        const auto lines = run.document.Of('L');
        ASSERT_EQ(1u, lines.size());
        EXPECT_NEAR(0, lines[0].x1, 1e-9);
        EXPECT_NEAR(0, lines[0].y1, 1e-9);
        EXPECT_NEAR(c.x, lines[0].x2, 1e-9) << c.left << " " << c.rotate;
        EXPECT_NEAR(c.y, lines[0].y2, 1e-9) << c.left << " " << c.rotate;
    }
}

TEST(ImportPages, RoundingAndUnitFactor)
{
    PdfFixture pdf(200, 100);
    pdf.SetContent("100 50 m 110.004 46.004 l S");
    ImportRun run;
    run.fake.settings.values["posRoundDigits"] = "2";
    ASSERT_EQ(0, run.Open(pdf.Bytes()));
    ASSERT_EQ(0, run.Convert());
    ASSERT_EQ(1u, run.document.Of('L').size());
    EXPECT_DOUBLE_EQ(10.0, run.document.Of('L')[0].x2);
    EXPECT_DOUBLE_EQ(-4.0, run.document.Of('L')[0].y2);

    ImportRun scaled;
    ASSERT_EQ(0, scaled.Open(pdf.Bytes()));
    ASSERT_EQ(0, scaled.Convert(0, 1 / (0.02 * 72 / 25.4)));
    EXPECT_NEAR(10.004 * 25.4 / 72 / 0.02, scaled.document.Of('L')[0].x2, 1e-9);
}

TEST(ImportPages, PagesAreChosenByIndex)
{
    PdfFixture pdf(200, 100);
    pdf.AddPage(300, 300);
    pdf.SetContent("0 0 m 1 0 l S", 0);
    pdf.SetContent("0 0 m 1 0 l 1 1 l S", 1);
    ImportRun run;
    ASSERT_EQ(0, run.Open(pdf.Bytes()));
    EXPECT_EQ(2, run.converter->PageCount());
    EXPECT_EQ(-1, run.converter->SelectPage(2));
    EXPECT_EQ(-1, run.converter->ConvertPage(2));
    ASSERT_EQ(0, run.Convert(1));
    EXPECT_EQ(2u, run.document.Of('L').size());
}

TEST(ImportPages, TheDrawingIsNamedBesideThePdf)
{
    TempFolder folder;
    folder.Write("a.tcf", "x");
    folder.Write("a_1.tcf", "x");
    FakeImportServices fake(folder.Path());
    RecordingDocument document;
    PdfImportConverter converter(&document, fake.services);
    PdfFixture pdf;
    ASSERT_EQ(0, converter.OpenPdfFromMemory(pdf.Bytes(), folder.File("a.pdf")));
    EXPECT_EQ(folder.File("a_2.tcf"), document.fileName);
    EXPECT_EQ(folder.File("a_2.tcf"), document.title);
}

TEST(ImportPages, BrokenFilesGiveAnErrorAndNoPage)
{
    PdfFixture good;
    good.SetContent("0 0 m 1 0 l S");
    const std::string bytes = good.Bytes();
    const std::string cases[] = {"", "not a pdf at all", bytes.substr(0, bytes.size() / 2), "%PDF-1.4\n%%EOF\n",
                                 std::string("%PDF-1.4\n") + std::string(5000, '[')};
    for (const std::string& file : cases) {
        ImportRun run;
        EXPECT_NE(0, run.Open(file)) << file.size();
        EXPECT_EQ(0, run.converter->PageCount());
        EXPECT_EQ(-1, run.converter->ConvertPage(0));
    }
}

TEST(ImportPages, EncryptedFilesAreNotRead)
{
    PdfFixture pdf;
    pdf.SetContent("0 0 m 1 0 l S");
    std::string bytes = pdf.Bytes();
    // The standard security handler named in the trailer, with an empty user password.
    const size_t trailer = bytes.rfind("trailer");
    ASSERT_NE(std::string::npos, trailer);
    const size_t open = bytes.find("<<", trailer);
    bytes.insert(open + 2, "/Encrypt << /Filter /Standard /V 1 /R 2 /P -4 /O <" + std::string(64, '0') +
                               "> /U <" + std::string(64, '0') + "> >> ");
    ImportRun run;
    EXPECT_NE(0, run.Open(bytes));
    EXPECT_EQ(0, run.converter->PageCount());
    ASSERT_FALSE(run.fake.messages.shown.empty());
    EXPECT_EQ("エラー", run.fake.messages.shown[0].caption);
}

TEST(ImportResources, InheritedResourcesAreUsed)
{
    PdfFixture pdf;
    PdfObject* font = pdf.AddSimpleFont("Type1", "Arial");
    // The font stands in the page tree node, not in the page.
    PdfObject* page = pdf.document.GetPage(0)->GetObject();
    page->GetDictionary().RemoveKey(PdfName("Resources"));
    PdfObject* parent = pdf.document.GetObjects().GetObject(page->GetDictionary().GetKey(PdfName("Parent"))->GetReference());
    PdfDictionary fonts;
    fonts.AddKey(PdfName("F1"), font->Reference());
    PdfDictionary resources;
    resources.AddKey(PdfName("Font"), fonts);
    parent->GetDictionary().AddKey(PdfName("Resources"), resources);
    pdf.SetContent("BT /F1 12 Tf (A) Tj ET");
    ImportRun run;
    ASSERT_EQ(0, run.Open(pdf.Bytes()));
    ASSERT_EQ(0, run.Convert());
    EXPECT_EQ(1u, run.document.Of('T').size());
}

TEST(ImportForms, FormsDrawWithTheirMatrix)
{
    PdfFixture pdf(200, 100);
    PdfObject* form = pdf.AddForm("0 0 m 10 0 l S");
    form->GetDictionary().AddKey(PdfName("Matrix"), Numbers({1, 0, 0, 1, 100, 0}));
    pdf.AddResource("XObject", "X1", form);
    pdf.SetContent("1 0 0 1 0 50 cm /X1 Do");
    ImportRun run;
    ASSERT_EQ(0, run.Open(pdf.Bytes()));
    ASSERT_EQ(0, run.Convert());
    const auto lines = run.document.Of('L');
    ASSERT_EQ(1u, lines.size());  // a lone Do at the end of the stream runs
    EXPECT_NEAR(0, lines[0].x1, 1e-9);
    EXPECT_NEAR(0, lines[0].y1, 1e-9);
    EXPECT_NEAR(10, lines[0].x2, 1e-9);
}

TEST(ImportForms, SelfPaintingFormsStopAndColoursStayShared)
{
    PdfFixture pdf(200, 100);
    PdfObject* form = pdf.AddForm("0.5 0.2 0.1 RG 0 0 m 10 0 l S 0.3 0.3 0.6 RG 0 0 m 10 0 l S /X1 Do");
    PdfDictionary xobjects;
    xobjects.AddKey(PdfName("X1"), form->Reference());
    PdfDictionary resources;
    resources.AddKey(PdfName("XObject"), xobjects);
    form->GetDictionary().AddKey(PdfName("Resources"), resources);
    pdf.AddResource("XObject", "X1", form);
    pdf.SetContent("0.9 0.1 0.1 RG 0 0 m 5 0 l S /X1 Do 0 0 m 5 0 l S");
    ImportRun run;
    ASSERT_EQ(0, run.Open(pdf.Bytes()));
    ASSERT_EQ(0, run.Convert());
    const auto lines = run.document.Of('L');
    ASSERT_EQ(2u + 2u * PdfImportConverter::kMaxFormDepth, lines.size());
    EXPECT_EQ(200, lines[0].colour);
    EXPECT_EQ(201, lines[1].colour);  // the Form's first new colour follows the page's
    EXPECT_EQ(202, lines[2].colour);
    EXPECT_EQ(201, lines[3].colour);  // the same colour again inside the nested Form
    EXPECT_EQ(200, lines.back().colour);  // the page's colour after the Form
}

TEST(ImportForms, ImagesWarnOnce)
{
    PdfFixture pdf(200, 100);
    PdfObject* image = pdf.AddStream(std::string(3, '\0'));
    image->GetDictionary().AddKey(PdfName("Subtype"), PdfName("Image"));
    pdf.AddResource("XObject", "Im1", image);
    pdf.AddResource("XObject", "Im2", image);
    pdf.SetContent("q /Im1 Do Q q /Im2 Do Q 0 0 m 1 0 l S");
    ImportRun run;
    ASSERT_EQ(0, run.Open(pdf.Bytes()));
    ASSERT_EQ(0, run.Convert());
    ASSERT_EQ(1u, run.fake.messages.shown.size());
    EXPECT_EQ("確認", run.fake.messages.shown[0].caption);
    EXPECT_EQ(IPdfMessages::Warning, run.fake.messages.shown[0].kind);
    ImportRun again;
    again.Open(pdf.Bytes());
    PdfImportConverter::imageWarningShown = true;  // the plug-in stays loaded
    again.Convert();
    EXPECT_TRUE(again.fake.messages.shown.empty());
}

TEST(ImportLayers, OptionalContentGroupsNameLayersInNameOrder)
{
    PdfFixture pdf(200, 100);
    pdf.AddResource("Properties", "oc1", pdf.AddOcg("B"));
    pdf.AddResource("Properties", "oc2", pdf.AddOcg("A"));
    // A Japanese name as a UTF-16 text string with the language escape.
    const std::u16string japanese = std::u16string(u"\x1b") + u"ja" + u"\x1b" + u"電気";
    pdf.AddResource("Properties", "oc3", pdf.AddOcg(Utf16TextString(japanese)));
    pdf.SetContent("/OC /oc1 BDC 0 0 m 1 0 l S EMC 0 0 m 2 0 l S /OC /oc3 BDC 0 0 m 3 0 l S "
                   "/OC /oc2 BDC 0 0 m 4 0 l S EMC 0 0 m 5 0 l S EMC /OC /zz BDC 0 0 m 6 0 l S EMC");
    ImportRun run;
    ASSERT_EQ(0, run.Open(pdf.Bytes()));
    EXPECT_EQ("A", run.document.layerNames[0]);
    EXPECT_EQ("B", run.document.layerNames[1]);
    EXPECT_EQ("電気", run.document.layerNames[2]);
    EXPECT_EQ(0, run.document.currentLayer);
    ASSERT_EQ(0, run.Convert());
    const auto lines = run.document.Of('L');
    ASSERT_EQ(6u, lines.size());
    const int layers[] = {1, 0, 2, 0, 2, 0};  // EMC goes back to the layer before its BDC
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(layers[i], lines[i].layer) << i;
}

TEST(ImportLayers, EmcDiscardsAnUnbalancedQ)
{
    PdfFixture pdf(200, 100);
    pdf.SetContent("/Span BMC q 2 0 0 2 0 0 cm EMC 0 0 m 10 0 l S");
    ImportRun run;
    ASSERT_EQ(0, run.Open(pdf.Bytes()));
    ASSERT_EQ(0, run.Convert());
    ASSERT_EQ(1u, run.document.Of('L').size());
    EXPECT_NEAR(10, run.document.Of('L')[0].x2 - run.document.Of('L')[0].x1, 1e-9);
}

TEST(ImportForms, FormsPaintingEachOtherTwiceStopAtTheirBudget)
{
    PdfFixture pdf(200, 100);
    // Without resources of its own the Form sees the page's: it paints itself twice, so depth
    // alone would let it run 2^32 times.
    PdfObject* form = pdf.AddForm("0 0 m 1 0 l S /X1 Do /X1 Do");
    pdf.AddResource("XObject", "X1", form);
    pdf.SetContent("/X1 Do");
    ImportRun run;
    ASSERT_EQ(0, run.Open(pdf.Bytes()));
    ASSERT_EQ(0, run.Convert());
    EXPECT_EQ(static_cast<size_t>(PdfImportConverter::kMaxFormPaints), run.document.Of('L').size());
}
