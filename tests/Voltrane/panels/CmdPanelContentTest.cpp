#include "GTest.h"

#include <string>
#include <vector>

#include "CmdPanelSandbox.h"
#include "panels/CmdPanelContent.h"
#include "panels/CmdPanelItemLine.h"

namespace {

using Types = std::vector<std::pair<std::string, std::vector<std::string>>>;

Types ModelTypes(const CmdPanelContent& content)
{
    Types types;
    for (size_t i = 0; i < content.data.size(); ++i) {
        EXPECT_EQ(content.typeNames[i], content.data[i]->name);
        types.push_back({content.data[i]->name, content.data[i]->itemLines});
    }
    return types;
}

Types LoadUserFile()
{
    CmdPanelContent content;
    EXPECT_EQ(content.Load(), 0);
    return ModelTypes(content);
}

TEST(CmdPanelContentTest, LoadReadsTypesInFileOrderWithEveryItemLineAsWritten)
{
    CmdPanelSandbox sandbox;
    const Types types = {{"作図", {"線分,6000,線を描く,1", "\\n", "円,6020,円を描く", "", "短い,5"}},
                         {"編集", {"複写,7000,複写"}},
                         {"空", {}}};
    ASSERT_TRUE(sandbox.WriteUserPanelFile(PanelXml(types)));
    const Types loaded = LoadUserFile();
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[0], types[0]);
    EXPECT_EQ(loaded[1], types[1]);
    EXPECT_EQ(loaded[2].first, "空");
    EXPECT_TRUE(loaded[2].second.empty());
    EXPECT_TRUE(CmdPanelSandbox::Boxes().empty());
}

TEST(CmdPanelContentTest, ARootWithoutChildrenGivesNoTypesAndLoadsAllTheSame)
{
    CmdPanelSandbox sandbox;
    ASSERT_TRUE(sandbox.WriteUserPanelFile("<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><PanelInfo/>"));
    CmdPanelContent content;
    EXPECT_EQ(content.Load(), 0);
    EXPECT_TRUE(content.data.empty());
    EXPECT_TRUE(content.typeNames.empty());
}

TEST(CmdPanelContentTest, AMissingOrDamagedFileShowsTheErrorBoxAndLeavesTheModelAlone)
{
    CmdPanelSandbox sandbox;
    const std::string damaged = PanelXml({{"作図", {"線分,6000,線"}}}).substr(0, 60);
    for (const char* name : {"missing.def", "damaged.def"}) {
        SCOPED_TRACE(name);
        if (std::string(name) == "damaged.def") {
            ASSERT_TRUE(sandbox.folder.Write(name, damaged));
        }
        CmdPanelContent content;
        content.typeNames = {"前"};
        CmdPanelSandbox::Boxes().clear();
        EXPECT_EQ(content.Load(sandbox.folder.File(name).c_str(), "KeyInfo"), -1);
        EXPECT_EQ(content.typeNames, std::vector<std::string>{"前"});
        ASSERT_EQ(CmdPanelSandbox::Boxes().size(), 1u);
        EXPECT_EQ(CmdPanelSandbox::Boxes()[0].caption, "エラー");
        EXPECT_FALSE(CmdPanelSandbox::Boxes()[0].text.empty());
        EXPECT_EQ(CmdPanelSandbox::Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
    }
}

TEST(CmdPanelContentTest, SavingADamagedUserFileFailsWithTheBoxAndKeepsItsBytes)
{
    CmdPanelSandbox sandbox;
    const std::string damaged = "<?xml version=\"1.0\"?><PanelInfo><作図><data><item>線";
    ASSERT_TRUE(sandbox.WriteUserPanelFile(damaged));
    CmdPanelContent content;
    content.typeNames = {"作図"};
    content.data.push_back(std::make_unique<CCmdPanelData>("作図", nullptr));
    content.data[0]->itemLines = {"線分,6000,線"};
    EXPECT_EQ(content.Save(), -1);
    EXPECT_EQ(CmdPanelSandbox::Boxes().size(), 1u);
    EXPECT_EQ(sandbox.ReadUserPanelFile(), damaged);
}

TEST(CmdPanelContentTest, SaveWritesEveryLineBackAndKeepsTheTypeOrderOverThreeSaves)
{
    CmdPanelSandbox sandbox;
    const Types types = {{"作図", {"線分,6000,線を描く,1", "\\n", "円,6020,円を描く", "短い,5"}},
                         {"編集", {"複写,7000,複写", "移動,7010,移動"}},
                         {"計測", {"距離,7600,距離"}}};
    ASSERT_TRUE(sandbox.WriteUserPanelFile(PanelXml(types)));
    for (int save = 1; save <= 3; ++save) {
        SCOPED_TRACE(save);
        CmdPanelContent content;
        ASSERT_EQ(content.Load(), 0);
        ASSERT_EQ(content.Save(), 0);
        EXPECT_EQ(LoadUserFile(), types);
    }
    EXPECT_NE(sandbox.ReadUserPanelFile().find("encoding=\"Shift_JIS\""), std::string::npos);
}

TEST(CmdPanelContentTest, EmptyItemLinesAreWrittenBackInPlaceAtEverySave)
{
    CmdPanelSandbox sandbox;
    const std::vector<std::string> lines = {"線分,6000,線", "", "円,6020,円"};
    ASSERT_TRUE(sandbox.WriteUserPanelFile(PanelXml({{"作図", lines}})));
    for (int save = 1; save <= 2; ++save) {
        SCOPED_TRACE(save);
        CmdPanelContent content;
        ASSERT_EQ(content.Load(), 0);
        ASSERT_EQ(content.Save(), 0);
        const Types saved = LoadUserFile();
        ASSERT_EQ(saved.size(), 1u);
        EXPECT_EQ(saved[0].second, lines);
    }
}

TEST(CmdPanelContentTest, ATypeOf1200ItemsIsWrittenOnceWithNothingLeftAhead)
{
    CmdPanelSandbox sandbox;
    std::vector<std::string> lines;
    for (int i = 0; i < 1200; ++i) lines.push_back("b" + std::to_string(i) + "," + std::to_string(5000 + i) + ",t");
    ASSERT_TRUE(sandbox.WriteUserPanelFile(PanelXml({{"長い", lines}})));
    CmdPanelContent content;
    ASSERT_EQ(content.Load(), 0);
    content.data[0]->itemLines.push_back("最後,9999,t");
    ASSERT_EQ(content.Save(), 0);
    const Types saved = LoadUserFile();
    ASSERT_EQ(saved.size(), 1u);
    ASSERT_EQ(saved[0].second.size(), 1201u);
    EXPECT_EQ(saved[0].second.front(), "b0,5000,t");
    EXPECT_EQ(saved[0].second.back(), "最後,9999,t");
}

TEST(CmdPanelContentTest, TypesInTheFileButNotInTheModelKeepTheirItems)
{
    CmdPanelSandbox sandbox;
    ASSERT_TRUE(sandbox.WriteUserPanelFile(
        PanelXml({{"作図", {"線分,6000,線"}}, {"他人", {"残る,1,t", "\\n"}}, {"編集", {"複写,7000,複写"}}})));
    CmdPanelContent content;
    ASSERT_EQ(content.Load(), 0);
    content.data.erase(content.data.begin() + 1);
    content.typeNames.erase(content.typeNames.begin() + 1);
    content.data[1]->itemLines = {"移動,7010,移動"};
    ASSERT_EQ(content.Save(), 0);
    const Types saved = LoadUserFile();
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[0], (Types::value_type{"他人", {"残る,1,t", "\\n"}}));
    EXPECT_EQ(saved[1], (Types::value_type{"作図", {"線分,6000,線"}}));
    EXPECT_EQ(saved[2], (Types::value_type{"編集", {"移動,7010,移動"}}));
}

TEST(CmdPanelContentTest, SaveNeverTouchesTheCataloguesItReadFrom)
{
    CmdPanelSandbox sandbox;
    const std::string catalogue = PanelXml({{"作図", {"線分,6000,線"}}}, "KeyInfo");
    ASSERT_TRUE(sandbox.folder.Write("CmdKeyBase.def", catalogue));
    ASSERT_TRUE(sandbox.WriteUserPanelFile(PanelXml({{"編集", {"複写,7000,複写"}}})));
    CmdPanelContent content;
    ASSERT_EQ(content.Load(sandbox.folder.File("CmdKeyBase.def").c_str(), "KeyInfo"), 0);
    ASSERT_EQ(content.data.size(), 1u);
    ASSERT_EQ(content.Save(), 0);
    EXPECT_EQ(sandbox.folder.Read("CmdKeyBase.def"), catalogue);
    const Types saved = LoadUserFile();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[1], (Types::value_type{"作図", {"線分,6000,線"}}));
}

TEST(CmdPanelItemLineTest, FieldsAndNumbersAreReadAsTheDefinitionSays)
{
    const struct {
        const char* line;
        bool rowBreak, button;
        const char* caption;
        int id;
        const char* tooltip;
        int imageSet;
    } cases[] = {
        {"\\n", true, false, "", 0, "", 0},
        {"線分,6000,線を描く", false, true, "線分", 6000, "線を描く", 0},
        {"線分,6000,線を描く,2", false, true, "線分", 6000, "線を描く", 2},
        {"線分,6000,線を描く,2,9", false, true, "線分", 6000, "線を描く", 0},
        {"線分,  -12x,t,  +3", false, true, "線分", -12, "t", 3},
        {"線分, 5 123,t", false, true, "線分", 5, "t", 0},
        {"線分,abc,t", false, true, "線分", 0, "t", 0},
        {"線分,99999999999,t", false, true, "線分", 2147483647, "t", 0},
        {"線分,6000", false, false, "", 0, "", 0},
        {"", false, false, "", 0, "", 0},
        {"a\nb,1,t", false, true, "a\nb", 1, "t", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const CmdPanelItemLine item = ParseCmdPanelItemLine(c.line);
        EXPECT_EQ(item.rowBreak, c.rowBreak);
        EXPECT_EQ(item.button, c.button);
        EXPECT_EQ(item.caption, c.caption);
        EXPECT_EQ(item.commandId, c.id);
        EXPECT_EQ(item.tooltip, c.tooltip);
        EXPECT_EQ(item.imageSet, c.imageSet);
    }
}

}  // namespace
