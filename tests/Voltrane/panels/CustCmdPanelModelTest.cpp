#include "GTest.h"

#include <string>
#include <vector>

#include "panels/CmdPanelContent.h"
#include "panels/CustCmdPanelModel.h"

namespace {

using Lines = std::vector<std::string>;

struct Built {
    CCmdPanelData data{"作図", nullptr};
    CustCmdPanelModel model;
    explicit Built(const Lines& lines)
    {
        data.itemLines = lines;
        EXPECT_EQ(model.Build("作図", &data), 0);
    }
    Lines Saved()
    {
        model.SaveTo(&data);
        return data.itemLines;
    }
    int Kind(int column, int position, std::string* caption = nullptr, int* set = nullptr)
    {
        return model.GetCell(column, position, caption, set);
    }
    void Select(int column, int position)
    {
        model.selectedColumn = column;
        model.selectedPosition = position;
    }
};

const Lines kTwoRows = {"線分,6000,線", "円,6020,円,2", "\\n", "複写,7000,複写", "短い,5"};

TEST(CustCmdPanelModelTest, BuildPutsTheNameFirstAndEveryRowInAColumn)
{
    CustCmdPanelModel none;
    EXPECT_EQ(none.Build("x", nullptr), -1);
    Built b(kTwoRows);
    const struct {
        int column, position, kind;
        const char* caption;
        int set;
    } cells[] = {
        {0, 0, CustCmdPanelModel::kNameCell, "作図", 0}, {0, 1, CustCmdPanelModel::kEntry, "線分", 0},
        {0, 2, CustCmdPanelModel::kEntry, "円", 2},      {0, 3, CustCmdPanelModel::kInsertion, "", 0},
        {0, 4, CustCmdPanelModel::kEmpty, "", 0},        {1, 0, CustCmdPanelModel::kEntry, "複写", 0},
        {1, 1, CustCmdPanelModel::kEntry, "短い", 0},    {1, 2, CustCmdPanelModel::kInsertion, "", 0},
        {2, 0, CustCmdPanelModel::kInsertion, "", 0},    {2, 1, CustCmdPanelModel::kEmpty, "", 0},
    };
    for (const auto& c : cells) {
        SCOPED_TRACE(c.column * 100 + c.position);
        std::string caption;
        int set = -1;
        EXPECT_EQ(b.Kind(c.column, c.position, &caption, &set), c.kind);
        EXPECT_EQ(caption, c.caption);
        EXPECT_EQ(set, c.set);
    }
    EXPECT_EQ(b.Saved(), kTwoRows);
}

TEST(CustCmdPanelModelTest, EditingOperationsAndTheirRefusals)
{
    Built b(kTwoRows);
    b.Select(0, 1);
    EXPECT_EQ(b.model.MoveUp(), -1) << "the name cell is above the first button";
    b.Select(0, 0);
    EXPECT_EQ(b.model.MoveDown(), -1);
    EXPECT_EQ(b.model.Delete(), -1);
    EXPECT_EQ(b.model.Change("x,1,x"), -1);
    EXPECT_EQ(b.model.Insert("x,1,x"), -1);
    b.Select(0, 3);
    EXPECT_EQ(b.model.Change("x,1,x"), -1) << "no entry to change";
    EXPECT_EQ(b.model.Delete(), -1);
    EXPECT_EQ(b.model.MoveUp(), -1);
    b.Select(0, 2);
    EXPECT_EQ(b.model.MoveDown(), -1) << "nothing below";

    b.Select(0, 1);
    EXPECT_EQ(b.model.MoveDown(), 0);
    EXPECT_EQ(b.model.selectedPosition, 2);
    EXPECT_EQ(b.Saved(), (Lines{"円,6020,円,2", "線分,6000,線", "\\n", "複写,7000,複写", "短い,5"}));
    EXPECT_EQ(b.model.MoveUp(), 0);
    EXPECT_EQ(b.model.selectedPosition, 1);

    // Insert on the insertion cell appends; on an occupied cell it pushes the rest down.
    b.Select(1, 2);
    EXPECT_EQ(b.model.Insert("末尾,1,t"), 0);
    b.Select(1, 0);
    EXPECT_EQ(b.model.Insert("先頭,2,t"), 0);
    EXPECT_EQ(b.Saved(), (Lines{"線分,6000,線", "円,6020,円,2", "\\n", "先頭,2,t", "複写,7000,複写", "短い,5", "末尾,1,t"}));
    b.Select(1, 1);
    EXPECT_EQ(b.model.Change("変更,3,t"), 0);
    EXPECT_EQ(b.model.Delete(), 0);
    EXPECT_EQ(b.Saved(), (Lines{"線分,6000,線", "円,6020,円,2", "\\n", "先頭,2,t", "短い,5", "末尾,1,t"}));
    EXPECT_EQ(b.Kind(1, 3), CustCmdPanelModel::kInsertion);
    // A new column starts at the insertion cell of the next column.
    b.Select(2, 0);
    EXPECT_EQ(b.model.Insert("新行,4,t"), 0);
    EXPECT_EQ(b.Saved().back(), "新行,4,t");
}

TEST(CustCmdPanelModelTest, SaveToKeepsEveryRowOfATypeWithThreeRows)
{
    const Lines three = {"a,1,t", "\\n", "b,2,t", "\\n", "c,3,t", "d,4,t"};
    Built b(three);
    EXPECT_EQ(b.Saved(), three);
    b.Select(2, 1);
    EXPECT_EQ(b.model.Delete(), 0);
    EXPECT_EQ(b.Saved(), (Lines{"a,1,t", "\\n", "b,2,t", "\\n", "c,3,t"}));
}

TEST(CustCmdPanelModelTest, ALongRowIsKeptWholeAndTheLastPositionTakesNoMore)
{
    Lines longRow;
    for (int i = 0; i < 150; ++i) longRow.push_back("b" + std::to_string(i) + "," + std::to_string(i) + ",t");
    Built b(longRow);
    EXPECT_EQ(b.Saved(), longRow);
    const int last = b.model.PositionCount() - 1;
    EXPECT_EQ(last, 151);
    b.Select(0, last);
    EXPECT_EQ(b.model.Insert("x,1,t"), -1);
    EXPECT_EQ(b.model.MoveDown(), -1);
    Built shortRow({"a,1,t"});
    shortRow.Select(0, 99);
    EXPECT_EQ(shortRow.model.Insert("x,1,t"), -1);
    shortRow.Select(0, 98);
    EXPECT_EQ(shortRow.model.Insert("x,1,t"), 0);
}

}  // namespace
