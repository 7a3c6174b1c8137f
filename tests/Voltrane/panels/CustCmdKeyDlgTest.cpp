#include "GTest.h"

#include <map>
#include <string>
#include <vector>

#include "mainframe/MainAccelerator.h"
#include "panels/CustCmdKeyDlg.h"

namespace {

void AddType(CmdPanelContent& content, const std::string& name, const std::vector<std::string>& lines)
{
    content.typeNames.push_back(name);
    content.data.push_back(std::make_unique<CCmdPanelData>(name, nullptr));
    content.data.back()->itemLines = lines;
}

TEST(CustCmdKeyDlgTest, CategoriesAfterTheStopNameComeOnlyWithAPanelTypeOfTheirName)
{
    CmdPanelContent catalogue;
    AddType(catalogue, "ファイル", {});
    AddType(catalogue, "作図", {});
    AddType(catalogue, "建築図面", {});
    AddType(catalogue, "電気", {});
    EXPECT_EQ(KeyCategoryTypes(catalogue, nullptr), (std::vector<int>{0, 1}));
    CmdPanelContent panel;
    AddType(panel, "電気", {});
    AddType(panel, "作図", {});
    AddType(panel, "建築図面", {});
    EXPECT_EQ(KeyCategoryTypes(catalogue, &panel), (std::vector<int>{0, 1, 3, 1, 2}));
}

TEST(CustCmdKeyDlgTest, TheKeyListShowsTheKeysOfOneModifierCombinationWithTheirCaptions)
{
    CmdPanelContent catalogue;
    AddType(catalogue, "作図", {"線分,6000,線", "\\n", "  円  ,6020,円", "無効,0,t", "短い"});
    AddType(catalogue, "編集", {"新しい線分,6000,線"});
    std::map<int, std::string> captions = KeyCatalogueCaptions(catalogue);
    EXPECT_EQ(captions, (std::map<int, std::string>{{6000, "新しい線分"}, {6020, "円"}}));
    const std::vector<ACCEL> table = {
        {FVIRTKEY, 'A', 6000},
        {FVIRTKEY | FSHIFT, 'B', 6020},
        {FVIRTKEY | FSHIFT | FCONTROL | FNOINVERT, 'C', 6020},
        {FVIRTKEY | FNOINVERT, VK_F5, 4444},
        {FVIRTKEY | FCONTROL, 'D', 6000},
    };
    const struct {
        BYTE modifiers;
        std::vector<std::pair<std::string, int>> rows;
    } cases[] = {
        {FVIRTKEY,
         {{KeyRowText(CMainAccelerator::GetKeyName('A', 1), "新しい線分"), 0},
          {KeyRowText(CMainAccelerator::GetKeyName(VK_F5, 1), ""), 3}}},
        {FVIRTKEY | FSHIFT, {{KeyRowText("B", "円"), 1}}},
        {FVIRTKEY | FCONTROL, {{KeyRowText("D", "新しい線分"), 4}}},
        {FVIRTKEY | FSHIFT | FCONTROL, {{KeyRowText("C", "円"), 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.modifiers));
        EXPECT_EQ(KeyListRows(table, c.modifiers, captions), c.rows);
    }
    EXPECT_EQ(captions.count(4444), 1u) << "an unknown id is entered with an empty caption";
    EXPECT_EQ(KeyRowText("F5", "x"), "F5          x");
}

}  // namespace
