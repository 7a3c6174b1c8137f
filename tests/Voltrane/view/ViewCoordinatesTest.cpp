#include "GTest.h"

#include <cmath>
#include <limits>

#include "view/ViewCoordinates.h"

namespace {

TEST(ViewCoordinates, ClientCentreOfAnOddWidthIsTruncated)
{
    // A client area 801 pixels wide has its centre at 400.
    const int width = 801, height = 601;
    const ViewModeInfo mode{0, 0, 1};
    POINT p = WorldToClient(mode, width / 2, height / 2, 0, 0);
    EXPECT_EQ(p.x, 400);
    EXPECT_EQ(p.y, 300);
}

struct ConversionCase {
    ViewModeInfo mode;
    double x, y;
    LONG px, py;
};

TEST(ViewCoordinates, WorldToClientTruncatesEachProductTowardsZero)
{
    const ConversionCase cases[] = {
        {{0, 0, 1.0}, 10, 20, 410, 280},
        {{0, 0, 1.5}, 1.8, -1.8, 402, 302},    // 2.7 -> 2, -2.7 -> -2
        {{0, 0, 1.5}, -1.8, 1.8, 398, 298},
        {{5, -5, 2.0}, 0, 0, 410, 310},         // the offset is added before the scale
        {{-10, 0, 0.5}, 10, 0, 400, 300},
    };
    for (const ConversionCase& c : cases) {
        POINT p = WorldToClient(c.mode, 400, 300, c.x, c.y);
        EXPECT_EQ(p.x, c.px) << c.x << "," << c.y;
        EXPECT_EQ(p.y, c.py) << c.x << "," << c.y;
    }
}

TEST(ViewCoordinates, ClientToWorldIsTheInverseAtPixelCentres)
{
    const ViewModeInfo mode{12.5, -3.0, 2.0};
    double x = 0, y = 0;
    ClientToWorld(mode, 400, 300, 420, 260, &x, &y);
    EXPECT_DOUBLE_EQ(x, 10.0 - 12.5);
    EXPECT_DOUBLE_EQ(y, 3.0 + 20.0);
    POINT back = WorldToClient(mode, 400, 300, x, y);
    EXPECT_EQ(back.x, 420);
    EXPECT_EQ(back.y, 260);
}

TEST(ViewCoordinates, ClientToWorldOfAZeroScaleDividesByOne)
{
    double x = 0, y = 0;
    ClientToWorld(ViewModeInfo{0, 0, 0.0}, 400, 300, 410, 290, &x, &y);
    EXPECT_DOUBLE_EQ(x, 10.0);
    EXPECT_DOUBLE_EQ(y, 10.0);
}

TEST(ViewCoordinates, NonFiniteWorldPointsStayOnTheScreenRange)
{
    POINT p = WorldToClient(ViewModeInfo{0, 0, 1e300}, 400, 300, 1e300, std::numeric_limits<double>::quiet_NaN());
    EXPECT_LE(std::abs(static_cast<double>(p.x)), 1.1e9);
    EXPECT_EQ(p.y, 300);
}

struct SnapCase {
    double value, pitch, shift, expected;
};

TEST(ViewCoordinates, SnapToGrid)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const SnapCase cases[] = {
        {-0.4, 1, 0, 0},    // truncate(-0.9) = 0
        {0.5, 1, 0, 1},
        {-0.5, 1, 0, -1},
        {2.4, 1, 0, 2},
        {7, 5, 1, 6},       // shifted grid 1, 6, 11
        {9, 5, 1, 11},
        {3.3, 0, 0, 3.3},   // a pitch of 0 is no grid
        {3.3, -2, 0, 3.3},
        {3.3, nan, 0, 3.3},
    };
    for (const SnapCase& c : cases) {
        EXPECT_DOUBLE_EQ(SnapToGrid(c.value, c.pitch, c.shift), c.expected)
            << c.value << " pitch " << c.pitch << " shift " << c.shift;
    }
}

struct FitCase {
    double width, height;
    int availableWidth, availableHeight;
    double expected;
};

TEST(ViewCoordinates, TheCommandGridIsReadBackWithItsActiveFlag)
{
    const ViewGridSnap saved = GetViewGridSnap();
    const double pitch[3] = {5, 6, 7}, origin[3] = {1, -2, 3};
    SetViewGridSnapOrigin(nullptr);
    SetViewGridSnapPitch(pitch);
    double out[3] = {-1, -1, -1};
    EXPECT_EQ(GetViewGridSnapPitch(out), 0) << "a pitch alone does not switch the grid on";
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[1], 6);
    EXPECT_EQ(out[2], 7);
    EXPECT_EQ(GetViewGridSnapOrigin(out), 0);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[2], 0);

    EXPECT_EQ(SetViewGridSnapOrigin(origin), 0);
    EXPECT_EQ(GetViewGridSnapOrigin(out), 1);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], -2);
    EXPECT_EQ(out[2], 3);
    EXPECT_EQ(GetViewGridSnapPitch(nullptr), 1) << "no point: only the flag";
    EXPECT_EQ(GetViewGridSnapOrigin(nullptr), 1);
    EXPECT_EQ(SetViewGridSnapOrigin(nullptr), 1);
    EXPECT_EQ(GetViewGridSnapOrigin(out), 0);
    EXPECT_EQ(out[1], 0) << "switching off zeroes the origin";
    GetViewGridSnap() = saved;
}

TEST(ViewCoordinates, FitPaperScale)
{
    const FitCase cases[] = {
        {420, 297, 820, 600, 820.0 / 420.0},  // wider than tall: 297 x 1.952 = 580 fits into 600
        {297, 420, 820, 600, 600.0 / 420.0},  // taller than wide
        {420, 297, 500, 200, 200.0 / 297.0},  // the height does not fit at the width's scale
        {0, 297, 820, 600, 600.0},            // a paper of width 0 is fitted as 1 x 1
        {420, 0, 820, 600, 600.0},
        {std::numeric_limits<double>::quiet_NaN(), 1, 820, 600, 600.0},
    };
    for (const FitCase& c : cases) {
        EXPECT_DOUBLE_EQ(FitPaperScale(c.width, c.height, c.availableWidth, c.availableHeight), c.expected)
            << c.width << " x " << c.height;
    }
}

TEST(ViewCoordinates, KeyCursorStepMovesByTheStep)
{
    SetKeyCursorStep(50.0);
    EXPECT_DOUBLE_EQ(GetKeyCursorStep(), 50.0);
}

}  // namespace
