// Layer pattern files: conversion of the older format, reading and writing entries, applying a
// pattern to a new drawing and to the layer manager's tree, import and export.
#include "GTest.h"

#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "PageTestSupport.h"
#include "TempFolder.h"
#include "drawing/LayerPageTree.h"
#include "drawing/LayerPatternFile.h"
#include "drawing/PageOperations.h"

namespace {

class LayerPatternFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = folder.File("LayerPtn.ini");
        SetLayerPatternFilePath(path);
        site.AddView(drawing);
        SetHostServiceSite(&site);
        SetCommandHost(&host);
    }
    void TearDown() override
    {
        SetLayerPatternFilePath("");
        SetHostServiceSite(nullptr);
        SetCommandHost(nullptr);
    }
    std::string Value(const char* section, const char* key)
    {
        char text[600] = "";
        GetPrivateProfileStringA(section, key, "<none>", text, sizeof text, path.c_str());
        return text;
    }
    void* db() { return drawing.db(); }
    DbInfoBlock* Info(int page) { return static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(page, db())); }
    std::string EngineName(int page, int layer)
    {
        char name[260] = "";
        ZUriGetLayerName(page, layer, 1, name, db());
        return name;
    }

    TempFolder folder;
    std::string path;
    TestDrawing drawing;
    TestViewSite site;
    ScriptedCommandHost host;
};

TEST_F(LayerPatternFileTest, OlderFileIsConvertedOnce)
{
    ASSERT_TRUE(folder.Write("LayerPtn.ini",
                             "[PLISTNAME]\r\n0=Old\r\n"
                             "[Old]\r\n"
                             "0=000311GRP1      -幹線\r\n"      // group field and '-' at 16
                             "1=000510照明とコンセント\r\n"       // no '-': the rest is the name
                             "2=102411too big\r\n"               // outside 0..1023: skipped
                             "3=000011\r\n"                      // empty name ends the pattern
                             "4=000711never read\r\n"));
    CLayerPatternFile file;
    file.ConvertOlderFormat();
    EXPECT_EQ(Value("VER", "VER"), "3.0");
    EXPECT_EQ(Value("Old", "0"), "000311幹線");
    EXPECT_EQ(Value("Old", "0Grp"), "GRP1");
    EXPECT_EQ(Value("Old", "1"), "000510照明とコンセント");
    EXPECT_EQ(Value("Old", "1Grp"), "");
    EXPECT_EQ(Value("Old", "3"), "");
    const std::vector<LayerPatternEntry> entries = file.ReadPattern("Old");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].number, 3);
    EXPECT_STREQ(entries[0].group, "GRP1");
    EXPECT_EQ(entries[1].display, '1');
    EXPECT_EQ(entries[1].detect, '0');

    // A second run leaves a converted file alone.
    WritePrivateProfileStringA("Old", "0", "000311GRP2      -x", path.c_str());
    file.ConvertOlderFormat();
    EXPECT_EQ(Value("Old", "0"), "000311GRP2      -x");
}

TEST_F(LayerPatternFileTest, EntriesAreQuotedAndReadBack)
{
    CLayerPatternFile file;
    LayerPatternEntry a, b;
    a.number = 0, std::strcpy(a.name, "\"引用\""), std::strcpy(a.group, "G");
    b.number = 1023, b.display = '0', std::strcpy(b.name, "");
    ASSERT_EQ(file.WritePattern("P", {a, b}), 1);
    std::vector<LayerPatternEntry> read = file.ReadPattern("P");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].number, 0) << "layer 0 is kept";
    EXPECT_STREQ(read[0].group, "G");
    EXPECT_EQ(read[1].number, 1023);
    EXPECT_STREQ(read[1].name, " ") << "an empty name reads as one blank";
    EXPECT_EQ(read[1].display, '0');

    // Entries with numbers outside 0..1023 are skipped, not taken.
    WritePrivateProfileStringA("P", "1", "\"102411x\"", path.c_str());
    WritePrivateProfileStringA("P", "2", "\"000511y\"", path.c_str());
    WritePrivateProfileStringA("P", "3", "", path.c_str());
    read = file.ReadPattern("P");
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[1].number, 5);
}

TEST_F(LayerPatternFileTest, ThreeHundredNamesAndNoMore)
{
    CLayerPatternFile file;
    for (int i = 0; i < kMaxLayerPatterns; ++i) {
        char key[8], name[16];
        std::snprintf(key, sizeof key, "%d", i);
        std::snprintf(name, sizeof name, "p%d", i);
        WritePrivateProfileStringA("PLISTNAME", key, name, path.c_str());
    }
    WritePrivateProfileStringA("VER", "VER", "3.0", path.c_str());
    char names[kMaxLayerPatterns][kPatternNameSize];
    EXPECT_EQ(ListLayerPatterns(names), 300);
    EXPECT_STREQ(names[299], "p299");
    EXPECT_EQ(file.WritePattern("new", {}), 0);

    // The dialog's save refuses a 301st name and an empty one with a message.
    LayerTreeInfo tree;
    BuildLayerPageTree(tree);
    CLayerPageList list(&tree);
    EXPECT_EQ(SaveLayerPattern(nullptr, list, "new"), 0);
    EXPECT_EQ(host.messages.back(), "これ以上パターンは登録できません。");
    EXPECT_EQ(SaveLayerPattern(nullptr, list, ""), 0);
    EXPECT_EQ(host.messages.back(), "パターン名を入力してください。");
    EXPECT_EQ(Value("PLISTNAME", "300"), "<none>");
}

TEST_F(LayerPatternFileTest, AppliedToANewDrawing)
{
    CLayerPatternFile file;
    LayerPatternEntry a, b;
    a.number = 4, a.display = '0', std::strcpy(a.name, "四"), std::strcpy(a.group, "G");
    b.number = 0, b.detect = '0', std::strcpy(b.name, "零");
    ASSERT_EQ(file.WritePattern("New", {a, b}), 1);
    LayerInfoBlock& layers = Info(0)->layers;
    std::memset(layers.displayMask, 0xFF, sizeof layers.displayMask);
    std::memset(layers.detectMask, 0xFF, sizeof layers.detectMask);
    drawing.record.pageState.currentPage = 3;
    ASSERT_EQ(ApplyLayerPattern(nullptr, "New", db()), 1);
    EXPECT_EQ(EngineName(0, 4), "四");
    EXPECT_EQ(EngineName(0, 0), "零");
    EXPECT_STREQ(layers.groupNames[4], "G");
    EXPECT_EQ(layers.displayMask[0], 0xFFEF);
    EXPECT_EQ(layers.detectMask[0], 0xFFFE);
    EXPECT_EQ(layers.currentLayer, 0);
    EXPECT_EQ(drawing.record.pageState.currentPage, 0);

    EXPECT_EQ(ApplyLayerPattern(nullptr, "Missing", db()), 0);
    EXPECT_EQ(host.messages.back(), "Missingは存在しません。");
    EXPECT_EQ(host.captions.back(), "Loading");
}

TEST_F(LayerPatternFileTest, SavedGroupsComeBackInOrderAndUsedLayersSurvive)
{
    for (auto [layer, name, group] : {std::make_tuple(3, "a", "X"), std::make_tuple(9, "b", "Y"),
                                      std::make_tuple(5, "c", "X")}) {
        ZUriSetLayerName(0, layer, name, db());
        std::strcpy(Info(0)->layers.groupNames[layer], group);
    }
    LayerTreeInfo tree;
    BuildLayerPageTree(tree);
    CLayerPageList list(&tree);
    ASSERT_EQ(SaveLayerPattern(nullptr, list, "Saved"), 1);
    EXPECT_EQ(Value("Saved", "0"), "000311a");
    EXPECT_EQ(Value("Saved", "3"), "");

    // Saving again under the name asks; No keeps the file.
    host.answer = IDNO;
    EXPECT_EQ(SaveLayerPattern(nullptr, list, "Saved"), 0);
    EXPECT_EQ(host.messages.back(), "Savedは既に存在します。\n上書きしますか？");

    // A drawing with a used, unnamed layer 7 loads the pattern: 7 stays.
    AppendTestElement(db(), kElementLine, 7, 0);
    LayerTreeInfo other;
    for (int layer : {3, 9, 5}) ZUriSetLayerName(0, layer, "", db());
    BuildLayerPageTree(other);
    CLayerPageList otherList(&other);
    ASSERT_EQ(ApplyPatternToTree(nullptr, otherList, "Saved"), 1);
    std::string layout;
    for (const LayerTreeGroupInfo& g : other.pages[0].groups) {
        layout += std::string(g.name) + ":";
        for (const LayerTreeLayerInfo& l : g.layers) layout += " " + std::to_string(l.number);
        layout += ";";
    }
    EXPECT_EQ(layout, "X: 3 5;Y: 9;: 7;");
    EXPECT_EQ(other.pages[0].groups[2].layers[0].used, 1);
}

TEST_F(LayerPatternFileTest, DeleteAsksAndRewritesTheList)
{
    CLayerPatternFile file;
    for (const char* name : {"A", "B", "C"}) ASSERT_EQ(file.WritePattern(name, {LayerPatternEntry()}), 1);
    host.answer = IDYES;
    ASSERT_EQ(DeleteLayerPattern(nullptr, "B"), 1);
    EXPECT_EQ(file.ListNames(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(Value("B", "0"), "<none>");
    EXPECT_EQ(DeleteLayerPattern(nullptr, "B"), 0);
    EXPECT_EQ(host.messages.back(), "Bは存在しません。");
}

TEST_F(LayerPatternFileTest, ImportChecksTheFileAndCopyFailuresAreReported)
{
    CLayerPatternFile file;
    ASSERT_EQ(file.WritePattern("Mine", {LayerPatternEntry()}), 1);
    ASSERT_TRUE(folder.Write("other.PTN", "[Something]\r\nx=1\r\n"));
    EXPECT_EQ(CopyLayerPatternFile(nullptr, folder.File("other.PTN").c_str(), false, file), 0);
    EXPECT_EQ(host.messages.back(), "指定のファイルはレイヤパターンではありません。");
    EXPECT_EQ(file.ListNames(), (std::vector<std::string>{"Mine"}));

    ASSERT_EQ(CopyLayerPatternFile(nullptr, folder.File("out.PTN").c_str(), true, file), 1);
    EXPECT_EQ(CopyLayerPatternFile(nullptr, folder.File("no\\such\\dir\\out.PTN").c_str(), true, file), 0);
    EXPECT_EQ(host.messages.back(), "ファイルを書き出せませんでした。");

    ASSERT_TRUE(folder.Write("good.PTN", "[PLISTNAME]\r\n0=Theirs\r\n[VER]\r\nVER=3.0\r\n"));
    ASSERT_EQ(CopyLayerPatternFile(nullptr, folder.File("good.PTN").c_str(), false, file), 1);
    EXPECT_EQ(file.ListNames(), (std::vector<std::string>{"Theirs"}));
}

TEST_F(LayerPatternFileTest, PreviewLines)
{
    CLayerPatternFile file;
    LayerPatternEntry a;
    a.number = 4, std::strcpy(a.name, "とても長いレイヤの名前ですよね");
    ASSERT_EQ(file.WritePattern("P", {a}), 1);
    EXPECT_EQ(PatternPreviewText(file, "P"), "   5 とても長いレイヤの名\n");
}

}  // namespace
