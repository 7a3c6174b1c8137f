// The one layer of libharu calls: the first error ends everything after it, thrown from our frame.
#include "GTest.h"

#include "CadPdf/PdfDocumentParts.h"
#include "CadPdf/PdfLibraryCalls.h"

namespace {

TEST(PdfLibraryCalls, FirstErrorIsThrownAndNoFurtherCallIsMade)
{
    PdfLibraryCalls pdf;
    ASSERT_TRUE(pdf.CreateDocument());
    HPDF_Page page = pdf.Call(HPDF_AddPage, pdf.Document());
    // libharu refuses a page wider than 14400 points.
    try {
        pdf.Call(HPDF_Page_SetWidth, page, 20000.0f);
        FAIL() << "no error thrown";
    } catch (const PdfLibraryError& error) {
        EXPECT_EQ(error.errorNumber, static_cast<HPDF_STATUS>(HPDF_PAGE_INVALID_SIZE));
    }
    int calls = 0;
    auto counted = [&calls](HPDF_Page) {
        ++calls;
        return HPDF_OK;
    };
    EXPECT_THROW(pdf.Call(counted, page), PdfLibraryError);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(pdf.Failed());
}

TEST(PdfLibraryCalls, RawWritesNeedThePageDescriptionState)
{
    PdfLibraryCalls pdf;
    ASSERT_TRUE(pdf.CreateDocument());
    HPDF_Page page = pdf.Call(HPDF_AddPage, pdf.Document());
    pdf.WriteRaw(page, "EMC\n");
    pdf.Call(HPDF_Page_MoveTo, page, 1.0f, 1.0f);
    EXPECT_THROW(pdf.WriteRaw(page, "EMC\n"), PdfLibraryError);
}

TEST(PdfLibraryCalls, SavedDocumentCarriesTheFrame)
{
    PdfLibraryCalls pdf;
    ASSERT_TRUE(pdf.CreateDocument());
    pdf.Call(HPDF_SetCompressionMode, pdf.Document(), static_cast<HPDF_UINT>(HPDF_COMP_NONE));
    pdf.Call(HPDF_UseJPEncodings, pdf.Document());
    HPDF_Page page = pdf.Call(HPDF_AddPage, pdf.Document());
    WriteViewerSettings(pdf);
    std::vector<PdfLayerGroup> groups(1);
    groups[0].layer = 3;
    groups[0].name = "壁";
    groups[0].resourceName = "oc0";
    groups[0].dictionary = CreateLayerGroupDictionary(pdf, groups[0].name);
    WriteOptionalContentProperties(pdf, page, groups);
    DeclarePdfVersion15(pdf);
    const std::string bytes = pdf.SaveToMemory();
    EXPECT_EQ(bytes.compare(0, 8, "%PDF-1.5"), 0) << bytes.substr(0, 12);
    EXPECT_NE(bytes.find("/PageMode /UseOC"), std::string::npos);
    EXPECT_NE(bytes.find("(Brisco)"), std::string::npos);
    EXPECT_NE(bytes.find("/BaseState /ON"), std::string::npos);
    EXPECT_NE(bytes.find("/oc0"), std::string::npos);
    EXPECT_FALSE(pdf.Failed());
}

TEST(PdfLibraryCalls, CidFontClonesTakeTheBaseMetrics)
{
    PdfLibraryCalls pdf;
    ASSERT_TRUE(pdf.CreateDocument());
    pdf.Call(HPDF_UseJPFonts, pdf.Document());
    pdf.Call(HPDF_UseJPEncodings, pdf.Document());
    EXPECT_TRUE(RegisterCidFontClone(pdf, "MS-Mincyo", JapaneseFontMetrics::Mincho));
    EXPECT_FALSE(RegisterCidFontClone(pdf, "MS-Mincyo", JapaneseFontMetrics::Mincho));
    EXPECT_FALSE(RegisterCidFontClone(pdf, "MS-Gothic", JapaneseFontMetrics::Gothic));
    HPDF_Font font = pdf.Call(HPDF_GetFont, pdf.Document(), "MS-Mincyo", "90ms-RKSJ-V");
    EXPECT_NE(font, nullptr);
    EXPECT_EQ(MetricsOfFontFlags(0x10001), JapaneseFontMetrics::ProportionalMincho);
    EXPECT_EQ(MetricsOfFontFlags(1), JapaneseFontMetrics::ProportionalGothic);
}

}  // namespace
