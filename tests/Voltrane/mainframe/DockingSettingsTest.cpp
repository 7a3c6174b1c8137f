// The docking layer's colours and drag flags.
#include "GTest.h"

#include "mainframe/docking/DockingSettings.h"

using namespace dockwins;

TEST(DockingSettings, BarColourLightensTheButtonFace)
{
    const struct {
        COLORREF face, bar;
    } cases[] = {
        {RGB(0xF0, 0xF0, 0xF0), RGB(0xFF, 0xFF, 0xFF)},  // largest channel above 220 gains 255 - m
        {RGB(0xD4, 0xD0, 0xC8), RGB(0xF7, 0xF2, 0xE9)},  // 212: every channel gains c * 35 / 212, rounded
        {RGB(0, 0, 0), RGB(35, 35, 35)},
        {RGB(100, 0, 50), RGB(135, 0, 68)},
    };
    for (const auto& c : cases) EXPECT_EQ(LightenedBarColor(c.face), c.bar) << std::hex << c.face;
}

TEST(DockingSettings, LabelTextIsTwoThirdsTowardsTheGreyText)
{
    EXPECT_EQ(LabelTextColor(RGB(0, 0, 0), RGB(0x80, 0x80, 0x80)), RGB(0x54, 0x54, 0x54));
    // The division truncates towards zero for a darker grey text too.
    EXPECT_EQ(LabelTextColor(RGB(100, 100, 100), RGB(0, 50, 98)), RGB(34, 68, 100));
}

TEST(DockingSettings, DragFlagsForEachFullDragMode)
{
    const struct {
        DWORD current;
        int mode;
        bool system;
        DWORD expected;
    } cases[] = {
        {0, 0, true, kDragGhost},
        {0, 1, false, kDragFull},
        {0, 7, false, kDragFull},
        {0, -1, true, kDragFull},
        {0, -1, false, kDragGhost},
        {kDragFull, 0, false, kDragGhost},
        {kDragKeep | kDragFull, 0, false, kDragKeep | kDragFull},
        {kDragKeep, 1, true, kDragKeep},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DragFlagsFor(c.current, c.mode, c.system), c.expected) << c.current << " " << c.mode;
}
