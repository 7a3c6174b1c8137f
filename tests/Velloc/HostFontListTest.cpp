// The host font list, asked of a test window that answers WM_CAD_FONT_SERVICE (2671).
#include "GTest.h"

#include <string>
#include <vector>

#include "HostFontList.h"
#include "TestOwnerWindow.h"
#include "VellocModule.h"

namespace {

class HostFontListTest : public ::testing::Test {
protected:
    void SetUp() override { SetOwnerWindow(owner.Window()); }
    void TearDown() override { SetOwnerWindow(nullptr); }

    TestOwnerWindow owner;
};

TEST_F(HostFontListTest, NoFontsGiveVectorFontAlone)
{
    EXPECT_EQ(BuildHostFontList(), std::vector<std::string>{"VectorFont"});
    EXPECT_EQ(owner.fontQuestions, 3);
}

TEST_F(HostFontListTest, TextFontsThenVectorFontThenThePairs)
{
    owner.textFonts = {"ＭＳ ゴシック", "Arial"};
    owner.vectorListA = {"A", "LongNameA"};
    owner.vectorListB = {"B", ""};
    const std::vector<std::string> expected = {
        "ＭＳ ゴシック", "Arial", "VectorFont", "VectorPF(A   :B   )", "VectorPF(LongNameA:B   )",
    };
    EXPECT_EQ(BuildHostFontList(), expected);
    EXPECT_EQ(GetHostTextFontCount(), 2);
    EXPECT_EQ(GetHostFontListACount(), 2);
    EXPECT_EQ(GetHostFontListBCount(), 2);
    std::string name;
    EXPECT_EQ(GetHostFontListBEntry(1, name), 0);
    EXPECT_EQ(GetHostFontListAEntry(1, name), 1);
    EXPECT_EQ(name, "LongNameA");
}

TEST_F(HostFontListTest, LongNamesAreKeptWhole)
{
    const std::string longFace(40, 'F');
    owner.textFonts = {longFace};
    owner.vectorListA = {std::string(30, 'a')};
    owner.vectorListB = {std::string(30, 'b')};
    std::vector<std::string> list = BuildHostFontList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], longFace);
    EXPECT_EQ(list[2], "VectorPF(" + std::string(30, 'a') + ":" + std::string(30, 'b') + ")");
}

TEST_F(HostFontListTest, AStrayCountIsBounded)
{
    owner.textFonts.assign(5000, "F");
    EXPECT_EQ(BuildHostFontList().size(), 4096u + 1u);
}

TEST(HostFontListWithoutHost, NoOwnerWindowGivesVectorFontAlone)
{
    SetOwnerWindow(nullptr);
    EXPECT_EQ(BuildHostFontList(), std::vector<std::string>{"VectorFont"});
}

}  // namespace
