#include "GTest.h"

#include <vector>

#include "panels/ToolPanelLayout.h"

namespace {

std::vector<int> Separators(const ToolPanelLayout& layout)
{
    std::vector<int> out;
    for (int y : layout.separators) {
        if (y == 0) break;
        out.push_back(y);
    }
    return out;
}

TEST(ToolPanelLayoutTest, SeparatorsAndFirstRowsFollowTheShownGroups)
{
    const struct {
        int groups;
        std::vector<int> separators;
        int firstButton;  // id of the first button of the lowest group shown, with its y
        int firstButtonY;
    } cases[] = {
        {0xF, {19, 75, 240, 327}, 3408, 336},
        {0x4, {}, 3405, 2},
        {0x8, {}, 3408, 2},
        {0xC, {80}, 3408, 89},
        {0x5, {19, 75}, 3405, 84},
        {0x3, {19, 75}, 3310, 84 + 92},
        {0x1F, {19, 75, 240, 327}, 3408, 336},  // bits above 0x8 are ignored
    };
    for (const auto& c : cases) {
        const ToolPanelLayout layout = LayOutToolPanel(c.groups, false);
        EXPECT_EQ(Separators(layout), c.separators) << c.groups;
        const ToolPanelControl* button = layout.Find(c.firstButton);
        ASSERT_NE(button, nullptr) << c.groups;
        EXPECT_EQ(button->y, c.firstButtonY) << c.groups;
    }
}

TEST(ToolPanelLayoutTest, NoGroupGivesAnEmptyPanel)
{
    const ToolPanelLayout layout = LayOutToolPanel(0, false);
    EXPECT_TRUE(layout.controls.empty());
    EXPECT_TRUE(Separators(layout).empty());
}

TEST(ToolPanelLayoutTest, LowResolutionNarrowsPickersAndButtons)
{
    const struct {
        int id;
        int x, width, height;
        int lowX, lowWidth, lowHeight;
    } cases[] = {
        {5001, 3, 161, 23, 3, 131, 20}, {5003, 83, 80, 20, 69, 65, 20}, {3314, 97, 94, 23, 87, 85, 20},
        {3410, 97, 94, 23, 87, 85, 20}, {3312, 3, 161, 40, 3, 161, 40}, {8000, 47, 200, 18, 47, 200, 18},
    };
    const ToolPanelLayout normal = LayOutToolPanel(0xF, false), low = LayOutToolPanel(0xF, true);
    for (const auto& c : cases) {
        const ToolPanelControl* n = normal.Find(c.id);
        const ToolPanelControl* l = low.Find(c.id);
        ASSERT_TRUE(n && l) << c.id;
        EXPECT_EQ(n->x, c.x) << c.id;
        EXPECT_EQ(n->width, c.width) << c.id;
        EXPECT_EQ(n->height, c.height) << c.id;
        EXPECT_EQ(l->x, c.lowX) << c.id;
        EXPECT_EQ(l->width, c.lowWidth) << c.id;
        EXPECT_EQ(l->height, c.lowHeight) << c.id;
        EXPECT_EQ(n->y, l->y) << c.id;
    }
}

TEST(ToolPanelLayoutTest, SnapButtonsSitInTheirGrid)
{
    const ToolPanelLayout layout = LayOutToolPanel(0x4, false);
    const struct {
        int id, x, y;
    } cases[] = {{3405, 3, 2}, {3410, 97, 2}, {3418, 3, 25}, {3411, 97, 25}, {3412, 3, 48}, {3404, 97, 48}};
    for (const auto& c : cases) {
        const ToolPanelControl* b = layout.Find(c.id);
        ASSERT_NE(b, nullptr) << c.id;
        EXPECT_EQ(b->x, c.x) << c.id;
        EXPECT_EQ(b->y, c.y) << c.id;
    }
}

}  // namespace
