#include "GTest.h"

#include "view/ViewCommands.h"

namespace {

TEST(ViewCommands, ZoomFactorOfN)
{
    EXPECT_DOUBLE_EQ(ZoomFactor(2.0, 0.7), 1.4);  // the mouse wheel
    EXPECT_DOUBLE_EQ(ZoomFactor(2.0, 0), 2.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(2.0, 10), 2.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(2.0, -3), 2.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(2.0, 9), 18.0);
    EXPECT_DOUBLE_EQ(ZoomFactor(0.0, 0), 1.0);
}

TEST(ViewCommands, ZoomBringsThePointUnderTheMouseToTheCentre)
{
    const ViewModeInfo mode{0, 0, 2.0};
    ViewModeInfo next = ZoomedViewMode(mode, 400, 300, 440, 280, 1.4, true, 1e-5, 1e3, nullptr);
    EXPECT_DOUBLE_EQ(next.scale, 2.8);
    EXPECT_DOUBLE_EQ(next.offsetX, -20.0);
    EXPECT_DOUBLE_EQ(next.offsetY, -10.0);
    next = ZoomedViewMode(mode, 400, 300, 400, 300, 2.0, false, 1e-5, 1e3, nullptr);
    EXPECT_DOUBLE_EQ(next.scale, 1.0);
}

TEST(ViewCommands, ZoomStopsAtTheLimitsAndStillCentres)
{
    const ViewModeInfo mode{0, 0, 800.0};
    ViewModeInfo next = ZoomedViewMode(mode, 400, 300, 480, 300, 2.0, true, 1e-5, 1000.0, nullptr);
    EXPECT_DOUBLE_EQ(next.scale, 1000.0);
    EXPECT_DOUBLE_EQ(next.offsetX, -0.1);
    next = ZoomedViewMode(ViewModeInfo{0, 0, 1e-5}, 400, 300, 400, 300, 2.0, false, 1e-5, 1000.0, nullptr);
    EXPECT_DOUBLE_EQ(next.scale, 1e-5);
}

TEST(ViewCommands, KeyboardCursorIsTheCentreInKeyboardMode)
{
    const double key[2] = {12.0, -7.0};
    ViewModeInfo next = ZoomedViewMode(ViewModeInfo{3, 4, 1.0}, 400, 300, 10, 10, 2.0, true, 1e-5, 1e3, key);
    EXPECT_DOUBLE_EQ(next.offsetX, -12.0);
    EXPECT_DOUBLE_EQ(next.offsetY, 7.0);
}

TEST(ViewCommands, WithoutAnActiveViewNothingIsDone)
{
    EXPECT_EQ(ZoomActiveViewIn(0, 0.7), 0);
    EXPECT_EQ(ZoomActiveViewOut(0, 0.7), 0);
    EXPECT_EQ(CenterActiveViewAtCursor(0), 0);
    EXPECT_EQ(ExecuteViewCommand(0, 3054), 0);
    EXPECT_EQ(ExecuteViewCommand(0, 3041), 1);
}

}  // namespace
