#include "GTest.h"

#include "CadPdf/CMapData.h"
#include "CadPdf/CidToUnicodeTable.h"
#include "CadPdf/PdfCMapEncodingEx.h"
#include "PdfImportFakes.h"
#include "TempFolder.h"

namespace {

// A data folder of its own with the given CMap files and a small CID table (CID n -> U+0041 + n
// for n < 64, so the table holds 64 entries).
class CMapFolder
{
public:
    CMapFolder()
    {
        CreateDirectoryA((folder.Path() + "VellocData").c_str(), nullptr);
        CreateDirectoryA((folder.Path() + "VellocData\\Pdf").c_str(), nullptr);
        CreateDirectoryA((folder.Path() + "VellocData\\Pdf\\cMap").c_str(), nullptr);
        std::string table = "# a comment takes no CID\n";
        for (int n = 0; n < 64; ++n) {
            char line[16];
            snprintf(line, sizeof line, "%04x\n", 0x41 + n);
            table += line;
        }
        folder.Write("VellocData\\Pdf\\CidToUnicode.dat", table);
        CidToUnicodeTable::Instance().Clear();
    }
    ~CMapFolder() { CidToUnicodeTable::Instance().Clear(); }
    void AddCMap(const std::string& name, const std::string& text)
    {
        folder.Write("VellocData\\Pdf\\cMap\\" + name, text);
    }
    TempFolder folder;
};

std::string Section(const std::string& body)
{
    return "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n" + body +
           "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

}  // namespace

TEST(CidToUnicodeTable, CommentsTakeNoCidBlankLinesDoAndNothingIsCapped)
{
    CidToUnicodeTable table;
    EXPECT_EQ(0, table.LoadFromText("# header\n0000\n00a0\n\n0021\n2000b\n"));
    ASSERT_EQ(5u, table.Count());
    uint32_t u = 1;
    EXPECT_TRUE(table.Lookup(1, u));
    EXPECT_EQ(0xA0u, u);
    EXPECT_TRUE(table.Lookup(2, u));
    EXPECT_EQ(0u, u);
    EXPECT_TRUE(table.Lookup(4, u));
    EXPECT_EQ(0x2000Bu, u);  // a value beyond the 16-bit plane is kept
    EXPECT_FALSE(table.Lookup(5, u));
    EXPECT_EQ(1, table.LoadFromText("0041\n"));  // holds entries: nothing read
}

TEST(CidToUnicodeTable, TheInstalledTableHoldsEveryAdobeJapan1Cid)
{
    FakeImportServices fake;
    CidToUnicodeTable::Instance().Clear();
    ASSERT_EQ(0, LoadCidToUnicode(fake.files)) << "VellocData\\Pdf\\CidToUnicode.dat beside the tests";
    EXPECT_EQ(23058u, CidToUnicodeTable::Instance().Count());
    uint32_t u = 0;
    EXPECT_TRUE(CidToUnicodeTable::Instance().Lookup(23057, u));
    EXPECT_EQ(1, LoadCidToUnicode(fake.files));
    CidToUnicodeTable::Instance().Clear();
}

TEST(CidToUnicodeTable, AMissingFileLeavesTheTableEmpty)
{
    TempFolder empty;
    FakeImportServices fake(empty.Path());
    CidToUnicodeTable::Instance().Clear();
    EXPECT_EQ(-1, LoadCidToUnicode(fake.files));
    EXPECT_EQ(0u, CidToUnicodeTable::Instance().Count());
}

TEST(CMapData, ReadsCodespacesRangesCharsAndDecimalDestinations)
{
    const std::string text = Section(
        "2 begincodespacerange\n<00> <80>\n<8140> <9FFC>\nendcodespacerange\n"
        "2 begincidrange\n<8140> <817e> 633\n<20> <7e> 1\nendcidrange\n"
        "2 begincidchar\n<8145> 9000\n<8145> 9001\nendcidchar\n");
    CMapData map;
    map.Parse(text.data(), text.size());
    ASSERT_EQ(2u, map.Codespaces().size());
    uint32_t cid = 0;
    ASSERT_TRUE(map.LookupCid(0x8142, cid));
    EXPECT_EQ(635u, cid);
    ASSERT_TRUE(map.LookupCid(0x41, cid));
    EXPECT_EQ(0x41u - 0x20 + 1, cid);
    // The range comes first in the file and wins over the later single entries.
    ASSERT_TRUE(map.LookupCid(0x8145, cid));
    EXPECT_EQ(638u, cid);
    EXPECT_FALSE(map.LookupCid(0x9000, cid));
    const std::string shown = Bytes({0x41, 0x81, 0x40, 0x42});
    EXPECT_EQ(1, map.CodeLengthAt(shown, 0, 2));
    EXPECT_EQ(2, map.CodeLengthAt(shown, 1, 2));
    EXPECT_EQ(1, map.CodeLengthAt(shown, 3, 2));
}

TEST(CMapData, MalformedTextKeepsWhatWasRead)
{
    const std::string text = Section("1 begincidchar\n<0001> 5\nendcidchar\n1 begincidchar\n<0002> (((");
    CMapData map;
    map.Parse(text.data(), text.size());
    uint32_t cid = 0;
    EXPECT_TRUE(map.LookupCid(1, cid));
    EXPECT_EQ(5u, cid);
}

TEST(PdfCMapEncodingEx, IdentityReadsTwoByteCodesAsCids)
{
    CMapFolder data;
    FakeImportServices fake(data.folder.Path());
    PdfCMapEncodingEx encoding("Identity-H", fake.files);
    EXPECT_FALSE(encoding.IsLoaded());
    std::u16string text;
    ASSERT_TRUE(encoding.DecodeToUnicode(Bytes({0x00, 0x01, 0x00, 0x02}), text));
    EXPECT_EQ(u"BC", text);
    // A shown string of three bytes gives one character; a code beyond the table gives "?".
    ASSERT_TRUE(encoding.DecodeToUnicode(Bytes({0x00, 0x03, 0x00}), text));
    EXPECT_EQ(u"D", text);
    ASSERT_TRUE(encoding.DecodeToUnicode(Bytes({0x01, 0x00}), text));
    EXPECT_EQ(u"?", text);
    EXPECT_FALSE(encoding.DecodeToUnicode(Bytes({0x00}), text));
}

TEST(PdfCMapEncodingEx, CidRangesMapThroughTheTableWithTheirWidths)
{
    CMapFolder data;
    data.AddCMap("Test-H", Section("1 begincodespacerange\n<0000> <ffff>\nendcodespacerange\n"
                                   "1 begincidrange\n<8140> <817e> 5\nendcidrange\n"));
    FakeImportServices fake(data.folder.Path());
    PdfCMapEncodingEx encoding("Test-H", fake.files);
    ASSERT_TRUE(encoding.IsLoaded());
    EXPECT_FALSE(encoding.UnicodeDestinations());
    encoding.widths.defaultWidth = 1000;
    encoding.widths.AddCidWidth(7, 500);
    std::u16string text;
    ASSERT_TRUE(encoding.DecodeToUnicode(Bytes({0x81, 0x42}), text));
    EXPECT_EQ(u"H", text);  // CID 7 -> U+0041 + 7
    EXPECT_TRUE(encoding.lastWidthValid);
    EXPECT_DOUBLE_EQ(0.5, encoding.lastWidth);
}

TEST(PdfCMapEncodingEx, UnicodeSectionsWinOverCidSections)
{
    CMapFolder data;
    data.AddCMap("Both-H", Section("1 begincidrange\n<0000> <00ff> 0\nendcidrange\n"
                                   "1 beginbfchar\n<0001> <3042>\nendbfchar\n"));
    FakeImportServices fake(data.folder.Path());
    PdfCMapEncodingEx encoding("Both-H", fake.files);
    ASSERT_TRUE(encoding.IsLoaded());
    EXPECT_TRUE(encoding.UnicodeDestinations());
    std::u16string text;
    ASSERT_TRUE(encoding.DecodeToUnicode(Bytes({0x00, 0x01}), text));
    EXPECT_EQ(u"\u3042", text);
}

TEST(PdfCMapEncodingEx, AMissingFileOrAPathLeavesItUnloaded)
{
    CMapFolder data;
    FakeImportServices fake(data.folder.Path());
    EXPECT_FALSE(PdfCMapEncodingEx("NoSuch-H", fake.files).IsLoaded());
    EXPECT_FALSE(PdfCMapEncodingEx("..\\CidToUnicode.dat", fake.files).IsLoaded());
}

TEST(PdfCMapEncodingEx, UseCMapChainsEndAtACycle)
{
    CMapFolder data;
    data.AddCMap("A-V", Section("/B-H usecmap\n1 begincidchar\n<0001> 1\nendcidchar\n"));
    data.AddCMap("B-H", Section("/A-V usecmap\n1 begincidchar\n<0002> 2\nendcidchar\n"));
    FakeImportServices fake(data.folder.Path());
    PdfCMapEncodingEx encoding("A-V", fake.files);
    std::u16string text;
    ASSERT_TRUE(encoding.DecodeToUnicode(Bytes({0x00, 0x01, 0x00, 0x02}), text));
    EXPECT_EQ(u"BC", text);
}

TEST(PdfCMapEncodingEx, InstalledVerticalCMapsUseTheirHorizontalParents)
{
    FakeImportServices fake;
    CidToUnicodeTable::Instance().Clear();
    // JIS 0x2422 (hiragana a) is mapped only by "H"; "V" names "H" with usecmap.
    PdfCMapEncodingEx vertical("V", fake.files);
    ASSERT_TRUE(vertical.IsLoaded());
    std::u16string text;
    ASSERT_TRUE(vertical.DecodeToUnicode(Bytes({0x24, 0x22}), text));
    EXPECT_EQ(u"\u3042", text);
    // UniJIS CMaps take their codes as the characters themselves.
    PdfCMapEncodingEx unicode("UniJIS-UCS2-H", fake.files);
    ASSERT_TRUE(unicode.IsLoaded());
    ASSERT_TRUE(unicode.DecodeToUnicode(Bytes({0x30, 0x42, 0x00, 0x41}), text));
    EXPECT_EQ(u"\u3042A", text);
    CidToUnicodeTable::Instance().Clear();
}

TEST(CidWidthTable, WidthsRelativeToTheDefaultWidth)
{
    struct Case { int defaultWidth; uint32_t cid; bool found; double relWidth; };
    const Case cases[] = {{1000, 100, true, 0.5}, {0, 100, true, 0.5}, {2000, 100, true, 0.25},
                          {1000, 101, false, 1.0}};
    for (const Case& c : cases) {
        CidWidthTable table;
        table.defaultWidth = c.defaultWidth;
        table.AddCidWidth(100, 500);
        table.AddCidWidth(100, 900);  // the first pair for a CID wins
        double rel = 1.0;
        EXPECT_EQ(c.found, table.LookupCidWidth(c.cid, rel));
        EXPECT_DOUBLE_EQ(c.relWidth, rel);
    }
    CidWidthTable huge;
    huge.AddRange(0, 0xFFFFFFFEu, 700);  // one entry, not four billion
    EXPECT_EQ(1u, huge.Count());
}
