// Where line-end marks sit and which way they point, on plain numbers.
#include "GTest.h"

#include <cmath>

#include "CadPdf/LineEndGeometry.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
const double kRad10 = 10.0 * kPi / 180.0;

LineEndShapeTable Defaults(double factor = 1.0) { return BuildLineEndShapeTable({}, factor); }

std::vector<LineEndMarkPart> MarkAtLineEnd(int kind, double x1, double y1, double x2, double y2, int end,
                                           double factor = 1.0)
{
    MarkPoint p;
    double phi;
    LineEndOfSegment(x1, y1, x2, y2, end, &p, &phi);
    return MakeLineEndMark(kind, Defaults(factor), p, phi, end);
}

TEST(LineEndGeometry, ArrowAtTheEndOfAHorizontalLine)
{
    const auto parts = MarkAtLineEnd(1, 0, 0, 100, 0, 1);
    ASSERT_EQ(parts.size(), 1u);
    ASSERT_EQ(parts[0].points.size(), 3u);
    EXPECT_FALSE(parts[0].filled);
    EXPECT_NEAR(parts[0].points[0].x, 100 - 7.5 * std::cos(kRad10), 1e-9);
    EXPECT_NEAR(parts[0].points[0].y, 7.5 * std::sin(kRad10), 1e-9);
    EXPECT_NEAR(parts[0].points[1].x, 100, 1e-12);
    EXPECT_NEAR(parts[0].points[2].y, -7.5 * std::sin(kRad10), 1e-9);
}

TEST(LineEndGeometry, SizeFactorScalesTheMark)
{
    const auto parts = MarkAtLineEnd(1, 0, 0, 100, 0, 1, 2.0);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_NEAR(parts[0].points[0].x, 100 - 15 * std::cos(kRad10), 1e-9);
}

TEST(LineEndGeometry, HalfArrowBarbsLieOnSwappedSides)
{
    struct Case {
        double x2, y2;
        int end;
        double expectedSign;  // of the barb's offset across the line (y for horizontal, x for vertical)
        bool vertical;
    };
    const Case cases[] = {
        {100, 0, 0, +1, false},  // left to right: start barb above
        {100, 0, 1, -1, false},  //               end barb below
        {0, 100, 0, -1, true},   // upwards: start barb to the left
        {0, 100, 1, +1, true},   //          end barb to the right
    };
    for (const Case& c : cases) {
        const auto parts = MarkAtLineEnd(9, 0, 0, c.x2, c.y2, c.end);
        ASSERT_EQ(parts.size(), 1u);
        ASSERT_EQ(parts[0].kind, LineEndMarkPart::Line);
        const MarkPoint barb = parts[0].points[1];
        const double across = c.vertical ? barb.x : barb.y;
        EXPECT_GT(across * c.expectedSign, 0.1) << c.x2 << "," << c.y2 << " end " << c.end;
    }
}

TEST(LineEndGeometry, ObliqueTickIsAsLongAsItsSize)
{
    const auto parts = MarkAtLineEnd(4, 0, 0, 100, 0, 1);
    ASSERT_EQ(parts.size(), 1u);
    const MarkPoint a = parts[0].points[0], b = parts[0].points[1];
    EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), 5.0, 1e-9);
    EXPECT_NEAR((a.x + b.x) / 2, 100, 1e-9);
}

TEST(LineEndGeometry, UpperLineSizeIsItsLengthAndDistanceItsOffset)
{
    const auto parts = MarkAtLineEnd(10, 0, 0, 100, 0, 1);
    ASSERT_EQ(parts.size(), 1u);
    const MarkPoint a = parts[0].points[0], b = parts[0].points[1];
    EXPECT_NEAR(std::hypot(b.x - a.x, b.y - a.y), 7.5, 1e-9);
    EXPECT_NEAR(std::fabs(a.y), 1.0, 1e-9);
    EXPECT_NEAR(a.y, b.y, 1e-12);
}

TEST(LineEndGeometry, DotSquareAndTriangleFill)
{
    struct Case {
        int kind;
        LineEndMarkPart::Kind shape;
        bool filled;
    };
    const Case cases[] = {
        {2, LineEndMarkPart::Circle, true},    {6, LineEndMarkPart::Circle, false},
        {7, LineEndMarkPart::Circle, false},   {3, LineEndMarkPart::Polyline, false},
        {8, LineEndMarkPart::Polyline, true},  {5, LineEndMarkPart::Polyline, true},
        {11, LineEndMarkPart::Polyline, false}, {12, LineEndMarkPart::Polyline, false},
    };
    for (const Case& c : cases) {
        const auto parts = MarkAtLineEnd(c.kind, 0, 0, 100, 0, 1);
        ASSERT_EQ(parts.size(), 1u) << c.kind;
        EXPECT_EQ(parts[0].kind, c.shape) << c.kind;
        EXPECT_EQ(parts[0].filled, c.filled) << c.kind;
    }
    EXPECT_NEAR(MarkAtLineEnd(2, 0, 0, 100, 0, 1)[0].radius, 1.25, 1e-12);
}

TEST(LineEndGeometry, WaveIsTwoQuarterArcsThroughTheEndPoint)
{
    const auto parts = MarkAtLineEnd(13, 0, 0, 100, 0, 1);
    ASSERT_EQ(parts.size(), 2u);
    for (const auto& part : parts) {
        EXPECT_EQ(part.kind, LineEndMarkPart::Arc);
        EXPECT_NEAR(part.radius, 1.8, 1e-12);
        // Each arc passes through the end point at one of its ends.
        const double d1 = std::hypot(part.centre.x + 1.8 * std::cos(part.startAngle) - 100,
                                     part.centre.y + 1.8 * std::sin(part.startAngle));
        const double d2 = std::hypot(part.centre.x + 1.8 * std::cos(part.endAngle) - 100,
                                     part.centre.y + 1.8 * std::sin(part.endAngle));
        EXPECT_LT(std::min(d1, d2), 1e-9);
    }
}

TEST(LineEndGeometry, ZeroLengthLinePointsAlongPlusX)
{
    MarkPoint p;
    double phi = 1;
    LineEndOfSegment(5, 5, 5, 5, 1, &p, &phi);
    EXPECT_EQ(phi, 0.0);
    LineEndOfSegment(5, 5, 5, 5, 0, &p, &phi);
    EXPECT_EQ(phi, 0.0);
}

TEST(LineEndGeometry, SettingsReplaceRowsByPositionAndDisabledRowsDrawNothing)
{
    std::vector<LineTermSetting> settings(2);
    settings[1].enabled = 0;
    const LineEndShapeTable table = BuildLineEndShapeTable(settings, 1.0);
    EXPECT_EQ(table[1].enabled, 0);
    EXPECT_NEAR(table[13].a, 1.8, 1e-12);  // beyond the file: built-in
    MarkPoint p{0, 0};
    EXPECT_TRUE(MakeLineEndMark(1, table, p, 0, 1).empty());
    EXPECT_TRUE(MakeLineEndMark(14, table, p, 0, 1).empty());
}

TEST(LineEndGeometry, ArcEndsPointOutwardInBothDirections)
{
    // A counter-clockwise quarter from 0 to 90 degrees leaves its start downwards (outward -y)
    // and its end towards -x; clockwise from 90 to 0 the same points face the other way.
    EXPECT_NEAR(ArcEndDirection(0, 0, false), -kPi / 2, 1e-12);
    EXPECT_NEAR(ArcEndDirection(kPi / 2, 1, false), kPi, 1e-12);
    EXPECT_NEAR(ArcEndDirection(kPi / 2, 0, true), kPi, 1e-12);
    EXPECT_NEAR(ArcEndDirection(0, 1, true), -kPi / 2, 1e-12);
}

TEST(LineEndGeometry, EllipticArcEndsPointOutwardInBothDirections)
{
    MarkPoint p;
    double phi;
    // Circle-like ellipse (ratio 1), counter-clockwise from 0 to 90 degrees: start faces -y.
    ASSERT_TRUE(LineEndOfEllipticArc(0, 0, 10, 0, 1.0, 0, kPi / 2, false, 0, &p, &phi));
    EXPECT_NEAR(p.x, 10, 1e-9);
    EXPECT_LT(std::fabs(phi + kPi / 2), 0.02);
    // Clockwise from 90 to 0: the start (top) faces -x.
    ASSERT_TRUE(LineEndOfEllipticArc(0, 0, 10, 0, 1.0, kPi / 2, 0, true, 0, &p, &phi));
    EXPECT_NEAR(p.y, 10, 1e-9);
    EXPECT_LT(std::fabs(std::fabs(phi) - kPi), 0.02);
    EXPECT_FALSE(LineEndOfEllipticArc(0, 0, 0, 0, 1.0, 0, 1, false, 0, &p, &phi));
}

TEST(LineEndGeometry, WrapAngleKeepsFiniteValuesInRange)
{
    EXPECT_EQ(WrapAnglePlusMinusPi(INFINITY), 0.0);
    EXPECT_EQ(WrapAnglePlusMinusPi(NAN), 0.0);
    EXPECT_NEAR(WrapAnglePlusMinusPi(-kPi), kPi, 1e-12);
    EXPECT_NEAR(WrapAnglePlusMinusPi(1e6), std::remainder(1e6, 2 * kPi), 1e-6);
}

}  // namespace
