// Font exchange tables read from "PdfIn.ini" and "PdfOut.ini" in the per-user settings folder
// of a product of each test's own, written through the host library.
#include "GTest.h"

#include <shlobj.h>

#include <string>

#include "CadPdf/FontExchangeTable.h"
#include "Dravik.h"
#include "TestOwnerWindow.h"
#include "VellocModule.h"

namespace {

std::string UserSettingsFolder(const std::string& product)
{
    char base[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, base, CSIDL_LOCAL_APPDATA, FALSE);
    return std::string(base) + "\\Ostrel\\" + product + "\\";
}

class FontExchangeTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        product = std::string("VellocFontTest_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        QmCadApi_SetAppProductName(product.c_str());
        SetOwnerWindow(owner.Window());
    }
    void TearDown() override
    {
        const std::string folder = UserSettingsFolder(product);
        DeleteFileA((folder + "SETTEI\\PdfIn.ini").c_str());
        DeleteFileA((folder + "SETTEI\\PdfOut.ini").c_str());
        RemoveDirectoryA((folder + "SETTEI").c_str());
        RemoveDirectoryA(folder.c_str());
        QmCadApi_SetAppProductName("VoltraneV8");
        SetOwnerWindow(nullptr);
    }

    void Write(const char* file, const char* section, const char* key, const char* value)
    {
        const std::string path = std::string("%USER_LOCAL_APPDATA%SETTEI\\") + file;
        ASSERT_TRUE(QmCadApi_WritePrivateProfileString(section, key, value, path.c_str()));
    }

    std::string product;
    TestOwnerWindow owner;
    FontExchangeTable import{"PdfIn.ini", FontExchangeTable::kImport};
    FontExchangeTable exportTable{"PdfOut.ini", FontExchangeTable::kExport};
};

TEST_F(FontExchangeTableTest, BuiltInTableWithoutASettingsFile)
{
    size_t count = 0;
    const FontFaceName* rows = FontFaceNameTable(&count);
    ASSERT_EQ(count, 286u);
    EXPECT_STREQ(rows[283].name, "MS-Mincho");
    EXPECT_STREQ(rows[283].localName, "ＭＳ 明朝");
    int same = 0;
    for (size_t i = 0; i < count; ++i) same += std::string(rows[i].name) == rows[i].localName;
    EXPECT_EQ(same, 239);

    struct Case {
        const char* pdf;
        const char* cad;
    };
    const Case cases[] = {
        {"MS-Mincho", "ＭＳ 明朝"},
        {"Arial", "Arial"},
        {"@MS-Gothic", "@ＭＳ ゴシック"},
        {"ABCDEF+MS-PGothic", "ＭＳ Ｐゴシック"},
        {"@ABCDEF+MS-PGothic", "ＭＳ Ｐゴシック"},
        {"$Meiryo", "$メイリオ"},
    };
    for (const Case& c : cases) {
        std::string out = "unchanged";
        EXPECT_EQ(import.MapToCadFont(c.pdf, out), 0) << c.pdf;
        EXPECT_EQ(out, c.cad) << c.pdf;
    }
    std::string out = "unchanged";
    EXPECT_EQ(import.MapToCadFont("NoSuchFace", out), -1);
    EXPECT_EQ(out, "unchanged");
    EXPECT_TRUE(import.Loaded());
    EXPECT_TRUE(import.MoveDescent());
    EXPECT_EQ(import.GetIniPath(), "%USER_LOCAL_APPDATA%SETTEI\\PdfIn.ini");
}

TEST_F(FontExchangeTableTest, UserPairsComeFirstAndStopAtAMissingKey)
{
    Write("PdfIn.ini", "EXCHANGE_FONT", "0", "MS Gothic,Arial");
    Write("PdfIn.ini", "EXCHANGE_FONT", "1", "three,fields,here");
    Write("PdfIn.ini", "EXCHANGE_FONT", "3", "Arial,ＭＳ 明朝");
    Write("PdfIn.ini", "Font", "MoveDescent", "0");
    std::string out;
    EXPECT_EQ(import.MapToCadFont("MS Gothic", out), 0);
    EXPECT_EQ(out, "Arial");
    // Key 2 is missing: key 3 is never read.
    EXPECT_EQ(import.MapToCadFont("Arial", out), 0);
    EXPECT_EQ(out, "Arial");
    EXPECT_FALSE(import.MoveDescent());
    EXPECT_EQ(import.Pairs().size(), 1u + 286u);

    // Loaded once: later changes of the file are not seen.
    Write("PdfIn.ini", "EXCHANGE_FONT", "0", "MS Gothic,Century");
    EXPECT_EQ(import.MapToCadFont("MS Gothic", out), 0);
    EXPECT_EQ(out, "Arial");
}

TEST_F(FontExchangeTableTest, ExportTableFromTheHostFontsAndTheUserPairs)
{
    owner.textFonts = {"ＭＳ ゴシック", "Unknown Face", "Century"};
    Write("PdfOut.ini", "EXCHANGE_FONT", "0", "GothicBBB,Century");
    std::string out = "x";
    EXPECT_EQ(exportTable.MapToPdfFont("ＭＳ ゴシック", out), 0);
    EXPECT_EQ(out, "MS Gothic");
    EXPECT_EQ(exportTable.MapToPdfFont("Unknown Face", out), 0);
    EXPECT_EQ(out, "MS-Gothic");
    EXPECT_EQ(exportTable.MapToPdfFont("VectorFont", out), 0);
    EXPECT_EQ(out, "MS-Gothic");
    EXPECT_EQ(exportTable.MapToPdfFont("Century", out), 0);
    EXPECT_EQ(out, "GothicBBB");
    EXPECT_EQ(exportTable.MapToPdfFont("Not A Host Font", out), -1);
    EXPECT_EQ(out, "");
    // The user pair, then one pair per host font not named by a user pair.
    ASSERT_EQ(exportTable.Pairs().size(), 4u);
    EXPECT_EQ(exportTable.Pairs()[0].cadName, "Century");
    EXPECT_EQ(exportTable.Pairs()[3].cadName, "VectorFont");
    EXPECT_TRUE(exportTable.MoveDescent());

    // A user pair can name the vector font; LoadExport reloads.
    Write("PdfOut.ini", "EXCHANGE_FONT", "1", "HeiseiMin-W3,VectorFont");
    exportTable.LoadExport();
    EXPECT_EQ(exportTable.MapToPdfFont("VectorFont", out), 0);
    EXPECT_EQ(out, "HeiseiMin-W3");
}

TEST_F(FontExchangeTableTest, LookupFontFaceNameFindsTheFirstRow)
{
    FontFaceName row = {};
    EXPECT_EQ(LookupFontFaceName("ＭＳ 明朝", &row), 0);
    EXPECT_STREQ(row.name, "MS Mincho");
    EXPECT_EQ(LookupFontFaceName("ＭＳ Ｐゴシック", &row), 0);
    EXPECT_EQ(row.proportional, 1);
    EXPECT_EQ(LookupFontFaceName("nothing", &row), -1);
}

TEST(TextMeasureTest, MeasuresTheGivenFaceAndRefusesLongNames)
{
    SIZE size = {-1, -1};
    ASSERT_EQ(MeasureTextExtent("ＭＳ ゴシック", &size, "AB"), 0);
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 500);
    SIZE untouched = {-7, -7};
    const std::string longFace(32, 'x');
    EXPECT_EQ(MeasureTextExtent(longFace.c_str(), &untouched, "AB"), -1);
    EXPECT_EQ(untouched.cx, -7);
    EXPECT_EQ(MeasureTextExtent(nullptr, &untouched, "AB"), -1);

    double ratio = -1.0;
    EXPECT_EQ(GetFontDescentRatio("ＭＳ ゴシック", &ratio), 1);
    EXPECT_GT(ratio, 0.0);
    EXPECT_LT(ratio, 0.5);
    ratio = -1.0;
    EXPECT_EQ(GetFontDescentRatio(longFace.c_str(), &ratio), 1);
    EXPECT_EQ(ratio, 0.0);
}

}  // namespace
