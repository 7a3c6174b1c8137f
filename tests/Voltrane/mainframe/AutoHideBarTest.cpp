// The auto-hide bars' arithmetic: where the bars lie, label widths with the fair-share cap,
// desired label widths and the label under a point.
#include "GTest.h"

#include <vector>

#include "mainframe/docking/AutoHideBar.h"

using namespace dockwins;

namespace {

bool RectIs(const RECT& r, LONG left, LONG top, LONG right, LONG bottom)
{
    return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

}  // namespace

TEST(AutoHideBar, BarsAreCutFromTheEdgesHoldingLabels)
{
    const RECT area = {0, 10, 800, 600};
    struct Case {
        bool labels[4];  // bottom, right, top, left
        RECT bars[4];
        RECT docking;
    } cases[] = {
        {{false, false, false, false}, {}, {0, 10, 800, 600}},
        // Top and bottom bars are shortened where a side bar lies; the side bars take the rest.
        {{true, true, true, true},
         {{20, 580, 780, 600}, {780, 30, 800, 580}, {20, 10, 780, 30}, {0, 30, 20, 580}},
         {20, 30, 780, 580}},
        {{false, false, true, true}, {{}, {}, {20, 10, 800, 30}, {0, 30, 20, 600}}, {20, 30, 800, 600}},
        {{false, true, false, false}, {{}, {780, 10, 800, 600}, {}, {}}, {0, 10, 780, 600}},
        {{true, false, false, false}, {{0, 580, 800, 600}, {}, {}, {}}, {0, 10, 800, 580}},
    };
    for (const Case& c : cases) {
        AutoHideBarLayout layout = LayOutAutoHideBars(area, 20, c.labels);
        for (int i = 0; i < kAutoHideBars; ++i)
            EXPECT_TRUE(RectIs(layout.bars[i], c.bars[i].left, c.bars[i].top, c.bars[i].right, c.bars[i].bottom))
                << "bar " << i << ": " << layout.bars[i].left << "," << layout.bars[i].top << ","
                << layout.bars[i].right << "," << layout.bars[i].bottom;
        EXPECT_TRUE(RectIs(layout.docking, c.docking.left, c.docking.top, c.docking.right, c.docking.bottom));
    }
    // An area smaller than the bars leaves an empty docking rectangle, never a reversed one.
    const bool all[4] = {true, true, true, true};
    AutoHideBarLayout tiny = LayOutAutoHideBars({0, 0, 30, 30}, 20, all);
    EXPECT_GE(tiny.docking.right, tiny.docking.left);
    EXPECT_GE(tiny.docking.bottom, tiny.docking.top);
}

TEST(AutoHideBar, LabelWidthsWithTheFairShareCap)
{
    struct Case {
        int length;
        std::vector<int> desired;
        std::vector<int> widths;
    } cases[] = {
        {100, {}, {}},
        // A single label takes the bar but for 6 pixels, whatever its title.
        {100, {0}, {94}},
        {100, {500}, {94}},
        // Labels that fit keep their desired widths.
        {200, {40, 50}, {40, 50}},
        // Too long: the short label keeps its width, the long ones share the rest equally.
        {101, {10, 80, 90}, {10, 37, 37}},
        {101, {45, 50}, {45, 45}},
        // A cap below 5 pixels makes every long label 0 wide.
        {21, {30, 30, 30, 30}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AutoHideLabelWidths(c.length, c.desired), c.widths) << "length " << c.length;
    }
}

TEST(AutoHideBar, DesiredWidths)
{
    struct Case {
        int textWidth, bytes;
        bool icon;
        int width;
    } cases[] = {
        {60, 6, false, 60 + 40 + 6},
        {48, 8, false, 48 + 24 + 6},  // four double-byte characters
        {60, 6, true, 60 + 40 + 6 + 16 + 3},
        {0, 0, false, 6},  // an empty title
        {0, 0, true, 6 + 19},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DesiredLabelWidth(c.textWidth, c.bytes, c.icon, 16), c.width) << c.textWidth << "/" << c.bytes;
}

TEST(AutoHideBar, HitTestsAlongTheBar)
{
    const std::vector<int> widths = {30, 40};
    struct Case {
        int coordinate, label;
    } cases[] = {
        {9, -1}, {10, 0}, {39, 0},   // the first label covers [10, 40)
        {40, -1}, {44, -1},          // then a 5-pixel gap
        {45, 1}, {84, 1}, {85, -1},  // the second label, and past it
        {1000, -1},
    };
    for (const Case& c : cases) EXPECT_EQ(AutoHideLabelAt(widths, 10, c.coordinate), c.label) << c.coordinate;
    EXPECT_EQ(AutoHideLabelAt({}, 10, 10), -1);
}
