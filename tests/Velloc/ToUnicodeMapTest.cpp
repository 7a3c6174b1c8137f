#include "GTest.h"

#include "CadPdf/PdfUnicodeMapEncoding.h"
#include "PdfImportFakes.h"

namespace {

struct Decoded
{
    bool ok;
    bool isSjis;
    std::u16string utf16;
    std::string sjis;
};

Decoded Decode(const std::string& map, const std::string& shown)
{
    PdfUnicodeMapEncoding encoding(map.data(), map.size());
    Decoded d;
    d.ok = encoding.DecodeString(shown, d.utf16, d.sjis, d.isSjis);
    return d;
}

const char kUcsHeader[] = "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n";

}  // namespace

TEST(PdfUnicodeMapEncoding, RangesWithDestinationArraysBecomeSingleEntries)
{
    const std::string map = std::string(kUcsHeader) +
                            "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n"
                            "1 beginbfrange\n<0000> <0002> [<0041> <0042> <0043>]\n<0010> <0011> <0061>\nendbfrange\n"
                            "1 beginbfchar\n<0003> <0044>\nendbfchar\n";
    const Decoded d = Decode(map, Bytes({0, 0, 0, 1, 0, 2, 0, 3, 0, 0x11}));
    ASSERT_TRUE(d.ok);
    EXPECT_FALSE(d.isSjis);
    EXPECT_EQ(u"ABCDb", d.utf16);
}

TEST(PdfUnicodeMapEncoding, LongDestinationsAreKeptWhole)
{
    const std::string map = std::string(kUcsHeader) +
                            "1 beginbfchar\n<0001> <00660066>\nendbfchar\n"
                            "1 beginbfrange\n<0010> <0012> <D840DC0B>\nendbfrange\n";
    const Decoded d = Decode(map, Bytes({0, 1, 0, 0x11}));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(std::u16string(u"ff") + char16_t(0xD840) + char16_t(0xDC0C), d.utf16);
}

TEST(PdfUnicodeMapEncoding, ShiftJisDestinationsGiveShiftJisBytes)
{
    const std::string map = "2 beginbfchar\n<0001> <82a0>\n<0002> <0041>\nendbfchar\n";
    const Decoded d = Decode(map, Bytes({0, 1, 0, 2, 0, 3}));
    ASSERT_TRUE(d.ok);
    ASSERT_TRUE(d.isSjis);
    // An unmapped code gives one "?" and the text goes on.
    EXPECT_EQ(Bytes({0x82, 0xA0, 0x41, '?'}), d.sjis);
    // A destination of zeros cannot be decoded.
    EXPECT_FALSE(Decode("1 beginbfchar\n<0001> <0000>\nendbfchar\n", Bytes({0, 1})).ok);
}

TEST(PdfUnicodeMapEncoding, CodeLengthFollowsTheCodespaceOrTheLargestCode)
{
    struct Case { const char* map; std::string shown; std::u16string text; };
    const std::string ucs = kUcsHeader;
    const Case cases[] = {
        // 2-byte codes all below 0x100 without code space: read as 1-byte codes; 00 gives nothing.
        {"1 beginbfchar\n<0041> <0061>\nendbfchar\n", Bytes({0x00, 0x41}), u"a"},
        // With a code space the codes have its length.
        {"1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n1 beginbfchar\n<41> <0061>\nendbfchar\n",
         Bytes({0x00, 0x41}), u"a"},
        // An unmapped 1-byte code gives one question mark.
        {"1 beginbfchar\n<42> <0062>\nendbfchar\n", Bytes({0x41}), u"?"},
    };
    for (const Case& c : cases) {
        const Decoded d = Decode(ucs + c.map, c.shown);
        EXPECT_TRUE(d.ok) << c.map;
        EXPECT_EQ(c.text, d.utf16) << c.map;
    }
}

TEST(PdfUnicodeMapEncoding, RegistryKeysCountInEitherSyntax)
{
    const std::string map = "/CIDSystemInfo 3 dict dup begin /Registry (Adobe) def /Ordering (Japan1) def "
                            "/Supplement 6 def end def\n1 beginbfchar\n<0001> <82a0>\nendbfchar\n";
    PdfUnicodeMapEncoding encoding(map.data(), map.size());
    EXPECT_FALSE(encoding.ShiftJisDestinations());
    EXPECT_EQ("Adobe", encoding.Map().Registry());
    EXPECT_EQ(6, encoding.Map().Supplement());
}

TEST(PdfUnicodeMapEncoding, EmptyOrHostileStreamsGiveAnEmptyMap)
{
    const std::string cases[] = {"", "beginbfchar <", "[[[[[[[[", "1 beginbfrange <00> <ff> [<41> 12 (x)] endbfrange",
                                 std::string("\0\0\xff", 3)};
    for (const std::string& map : cases) {
        PdfUnicodeMapEncoding encoding(map.data(), map.size());
        std::u16string utf16;
        std::string sjis;
        bool isSjis;
        encoding.DecodeString(Bytes({0x41}), utf16, sjis, isSjis);
        SUCCEED();
    }
}
