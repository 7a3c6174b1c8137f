#include "GTest.h"

#include "PdfImportHarness.h"

#include <podofo/base/PdfArray.h>

#include <cmath>

using namespace PoDoFo;

namespace {

// A page of 595 x 842 points with the font F1 of that kind and the content.
struct TextRun : ImportRun
{
    PdfFixture pdf{595, 842};
    PdfObject* font = nullptr;

    TextRun& Simple(const char* subtype = "Type1", const char* baseFont = "Arial")
    {
        font = pdf.AddSimpleFont(subtype, baseFont);
        pdf.AddResource("Font", "F1", font);
        return *this;
    }
    TextRun& Type0(const char* encoding, const char* baseFont = "MS-Mincho")
    {
        font = pdf.AddType0Font(baseFont, encoding);
        pdf.AddResource("Font", "F1", font);
        return *this;
    }
    int Go(const std::string& content)
    {
        pdf.SetContent(content);
        if (Open(pdf.Bytes()) != 0) return openResult;
        return Convert();
    }
    std::vector<RecordedElement> Texts() const { return document.Of('T'); }
};

std::string Sjis(const char* text) { return text; }  // literals are Shift-JIS already

}  // namespace

TEST(TextOutput, ASimpleFontStringBecomesOneText)
{
    TextRun run;
    run.Simple();
    ASSERT_EQ(0, run.Go("BT /F1 12 Tf 100 700 Td (AB) Tj ET"));
    const auto texts = run.Texts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ("AB", texts[0].text);
    EXPECT_DOUBLE_EQ(100 - 297.5, texts[0].x1);
    EXPECT_DOUBLE_EQ(700 - 421, texts[0].y1);
    EXPECT_DOUBLE_EQ(12, texts[0].charHeight);
    EXPECT_DOUBLE_EQ(12, texts[0].charWidth);
    EXPECT_EQ("Arial", texts[0].font);
    EXPECT_EQ(3, texts[0].textMode);
    EXPECT_EQ(0, texts[0].vertical);
}

TEST(TextOutput, TjArraysByModeAddText)
{
    struct Case { const char* mode; const char* array; size_t texts; const char* first; double secondX; };
    // One character advances 12 (no measure: b = 1); -120 moves 1.44 more.
    const Case cases[] = {
        {"0", "[(A) -120 (B)]", 2, "A", 100 + 12 + 1.44},
        {"1", "[(A) -120 (B)]", 1, "AB", 0},
        {"2", "[(A) -120 (B)]", 1, "AB", 0},
        {"1", "[(A) -600 (B)]", 2, "A", 100 + 12 + 7.2},
        {"0", "[(A) (B)]", 1, "AB", 0},
    };
    for (const Case& c : cases) {
        TextRun run;
        run.fake.settings.values["modeAddText"] = c.mode;
        run.Simple();
        // Character and word spacing do not take part in a TJ number's move.
        ASSERT_EQ(0, run.Go(std::string("BT /F1 12 Tf 100 700 Td 0 Tc 3 Tw ") + c.array + " TJ ET"));
        const auto texts = run.Texts();
        ASSERT_EQ(c.texts, texts.size()) << c.mode << c.array;
        EXPECT_EQ(c.first, texts[0].text);
        if (c.texts == 2) EXPECT_NEAR(c.secondX - 297.5, texts[1].x1, 1e-9) << c.mode << c.array;
    }
}

TEST(TextOutput, TextParameters)
{
    struct Case { const char* content; size_t texts; double width; double height; double angle; };
    const Case cases[] = {
        {"BT /F1 10 Tf 3 Tr (A) Tj ET", 0, 0, 0, 0},                 // invisible text
        {"BT /F1 10 Tf 50 Tz (A) Tj ET", 1, 5, 10, 0},              // half-width characters
        {"BT /F1 10 Tf 0 1 -1 0 100 100 Tm (A) Tj ET", 1, 10, 10, 90},
        {"2 0 0 2 0 0 cm BT /F1 10 Tf (A) Tj ET", 1, 20, 20, 0},
        {"BT /F2 10 Tf (A) Tj ET", 0, 0, 0, 0},                     // an unknown font: no current font
        {"BT /F1 10 Tf q /F1 20 Tf 50 Tz Q (A) Tj ET", 1, 10, 10, 0},  // Q puts back the whole text state
    };
    for (const Case& c : cases) {
        TextRun run;
        run.Simple();
        ASSERT_EQ(0, run.Go(c.content));
        const auto texts = run.Texts();
        ASSERT_EQ(c.texts, texts.size()) << c.content;
        if (texts.empty()) continue;
        EXPECT_NEAR(c.width, texts[0].charWidth, 1e-9) << c.content;
        EXPECT_NEAR(c.height, texts[0].charHeight, 1e-9) << c.content;
        EXPECT_NEAR(c.angle, texts[0].angle, 1e-9) << c.content;
    }
}

TEST(TextOutput, LinesMoveByTheLeading)
{
    TextRun run;
    run.Simple();
    ASSERT_EQ(0, run.Go("BT /F1 10 Tf 14 TL 100 700 Td (A) Tj T* (B) Tj (C) ' 0 -20 TD (D) Tj ET"));
    const auto texts = run.Texts();
    ASSERT_EQ(4u, texts.size());
    EXPECT_DOUBLE_EQ(686 - 421, texts[1].y1);
    EXPECT_DOUBLE_EQ(672 - 421, texts[2].y1);
    EXPECT_DOUBLE_EQ(652 - 421, texts[3].y1);
}

TEST(TextOutput, ShiftJisCMapsKeepTheirBytesAndVerticalOnesStandUp)
{
    struct Case { const char* encoding; int textMode; int vertical; double spacing; };
    const Case cases[] = {{"90ms-RKSJ-H", 3, 0, -2}, {"90ms-RKSJ-V", 4, 1, 2}};
    for (const Case& c : cases) {
        TextRun run;
        run.Type0(c.encoding);
        ASSERT_EQ(0, run.Go(std::string("BT /F1 12 Tf -2 Tc (") + Sjis("あい") + ") Tj ET"));
        const auto texts = run.Texts();
        ASSERT_EQ(1u, texts.size()) << c.encoding;
        EXPECT_EQ(Sjis("あい"), texts[0].text);
        EXPECT_EQ("ＭＳ 明朝", texts[0].font);
        EXPECT_EQ(c.textMode, texts[0].textMode);
        EXPECT_EQ(c.vertical, texts[0].vertical);
        EXPECT_DOUBLE_EQ(c.spacing, texts[0].spacing);
    }
}

TEST(TextOutput, IdentityHWithToUnicodeDecodesThroughTheMap)
{
    TextRun run;
    run.Type0("Identity-H", "ABCDEF+MS-Gothic");
    PdfObject* map = run.pdf.AddStream(
        "/CIDInit /ProcSet findresource begin 12 dict begin begincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "1 begincodespacerange <0000> <FFFF> endcodespacerange\n"
        "2 beginbfchar <0003> <3042> <0004> <0041> endbfchar\nendcmap end end\n");
    run.font->GetDictionary().AddKey(PdfName("ToUnicode"), map->Reference());
    // A literal string is the same codes as a hex string.
    ASSERT_EQ(0, run.Go("BT /F1 12 Tf <00030004> Tj (\\000\\004\\000\\003) Tj <0005> Tj ET"));
    const auto texts = run.Texts();
    ASSERT_EQ(3u, texts.size());
    EXPECT_EQ(Sjis("あA"), texts[0].text);
    EXPECT_EQ(Sjis("Aあ"), texts[1].text);
    EXPECT_EQ("?", texts[2].text);
    EXPECT_EQ("ＭＳ ゴシック", texts[0].font);  // subset tag dropped before the table is asked
}

TEST(TextOutput, CidCMapsDecodeThroughTheCidTable)
{
    TextRun run;
    run.Type0("UniJIS-UCS2-H");
    ASSERT_EQ(0, run.Go("BT /F1 12 Tf <30423044> Tj ET"));
    const auto texts = run.Texts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ(Sjis("あい"), texts[0].text);

    TextRun identity;
    identity.Type0("Identity-H");
    // Adobe-Japan1 CID 843 is hiragana a; 34 is "A".
    ASSERT_EQ(0, identity.Go("BT /F1 12 Tf <034b0022> Tj ET"));
    ASSERT_EQ(1u, identity.Texts().size());
    EXPECT_EQ(Sjis("あA"), identity.Texts()[0].text);
}

TEST(TextOutput, CidWidthsSizeASingleCharacter)
{
    struct Case { const char* shown; double ratio; };
    // W gives CID 843 (full-width) and CID 34 (half-width) 500 of DW 1000.
    const Case cases[] = {{"<034b>", 0.5}, {"<0022>", 1.0}};
    for (const Case& c : cases) {
        TextRun run;
        run.Type0("Identity-H");
        PdfObject* cid = run.pdf.document.GetObjects().GetObject(
            run.font->GetDictionary().GetKey(PdfName("DescendantFonts"))->GetArray()[0].GetReference());
        cid->GetDictionary().AddKey(PdfName("DW"), PdfObject(static_cast<pdf_int64>(1000)));
        PdfArray w, widths;
        widths.push_back(PdfObject(static_cast<pdf_int64>(500)));
        w.push_back(PdfObject(static_cast<pdf_int64>(843)));
        w.push_back(widths);
        w.push_back(PdfObject(static_cast<pdf_int64>(34)));
        w.push_back(PdfObject(static_cast<pdf_int64>(34)));
        w.push_back(PdfObject(static_cast<pdf_int64>(500)));
        cid->GetDictionary().AddKey(PdfName("W"), w);
        ASSERT_EQ(0, run.Go(std::string("BT /F1 10 Tf ") + c.shown + " Tj ET"));
        ASSERT_EQ(1u, run.Texts().size());
        EXPECT_NEAR(10 * c.ratio, run.Texts()[0].charWidth, 1e-9) << c.shown;
    }
}

TEST(TextOutput, Type3FontsAreSizedByTheirWidths)
{
    TextRun run;
    run.Simple("Type3", "");
    PdfDictionary& d = run.font->GetDictionary();
    PdfArray widths, matrix;
    widths.push_back(PdfObject(static_cast<pdf_int64>(500)));
    widths.push_back(PdfObject(static_cast<pdf_int64>(250)));
    d.AddKey(PdfName("Widths"), widths);
    d.AddKey(PdfName("FirstChar"), PdfObject(static_cast<pdf_int64>(65)));
    d.AddKey(PdfName("LastChar"), PdfObject(static_cast<pdf_int64>(66)));
    for (double v : {0.001, 0.0, 0.0, 0.001, 0.0, 0.0}) matrix.push_back(PdfObject(v));
    d.AddKey(PdfName("FontMatrix"), matrix);
    PdfObject* proc = run.pdf.AddStream("0 0 m 1 1 l S");
    PdfObject* procs = run.pdf.AddObject();
    procs->GetDictionary().AddKey(PdfName("a"), proc->Reference());
    d.AddKey(PdfName("CharProcs"), procs->Reference());
    ASSERT_EQ(0, run.Go("BT /F1 10 Tf (AB) Tj ET"));
    const auto texts = run.Texts();
    ASSERT_EQ(1u, texts.size());
    EXPECT_EQ("ＭＳ ゴシック", texts[0].font);  // "MS Gothic" stands in for a missing /BaseFont
    EXPECT_NEAR(5, texts[0].charWidth, 1e-9);   // 10 x 0.001 x 500
    EXPECT_NEAR(5, texts[0].charHeight, 1e-9);  // width mode 2: w / Tz
    EXPECT_TRUE(run.document.Of('L').empty());  // glyph procedures are not drawn
}

TEST(TextOutput, ATextStringWithItsMarkIsUnicodeAlready)
{
    TextRun run;
    run.Simple();
    ASSERT_EQ(0, run.Go("BT /F1 12 Tf <FEFF30423044> Tj ET"));
    ASSERT_EQ(1u, run.Texts().size());
    EXPECT_EQ(Sjis("あい"), run.Texts()[0].text);
}

TEST(TextOutput, AZeroByteEndsTheText)
{
    TextRun run;
    run.Simple();
    ASSERT_EQ(0, run.Go("BT /F1 12 Tf (AB\\000C) Tj ET"));
    ASSERT_EQ(1u, run.Texts().size());
    EXPECT_EQ("AB", run.Texts()[0].text);
}
