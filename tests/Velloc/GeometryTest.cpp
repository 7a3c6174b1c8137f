// Geometry value classes of the plug-in: vectors, Bézier sampling, elliptic arcs and rotated
// rectangles.
#include "GTest.h"

#include <cmath>

#include "GeoShapes.h"
#include "GeoVector.h"

namespace {

TEST(GeoVectorTest, AngleCases)
{
    struct Case {
        GeoVector v;
        double expected;
    };
    GeoVector invalid(1.0, 1.0, 0.0);
    invalid.valid = 0;
    const Case cases[] = {
        {GeoVector(0.0, -1e-7, 0.0), 0.0},
        {GeoVector(0.0, -1.0, 0.0), 3.0 * kGeoPi / 2.0},
        {GeoVector(-1.0, 0.0, 0.0), kGeoPi},
        {GeoVector(1.0, 1.0, 0.0), kGeoPi / 4.0},
        {invalid, 0.0},
        // A z component must not change the plane direction.
        {GeoVector(1.0, 1.0, 50.0), kGeoPi / 4.0},
        {GeoVector(0.0, 0.0, 5.0), 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(c.v.Angle(), c.expected, 1e-12) << c.v.x << "," << c.v.y << "," << c.v.z;
    }
}

TEST(GeoVectorTest, RotateUsesThePlaneLengthAndKeepsZ)
{
    GeoVector v(1.0, 0.0, 5.0);
    GeoVector copy = v.Rotate(kGeoPi / 2.0);
    EXPECT_NEAR(v.x, 0.0, 1e-12);
    EXPECT_NEAR(v.y, 1.0, 1e-12);
    EXPECT_EQ(v.z, 5.0);
    EXPECT_EQ(copy.y, v.y);
    GeoVector d(2.0, 0.0, 0.0);
    d.RotateDegrees(180.0);
    EXPECT_NEAR(d.x, -2.0, 1e-12);
}

TEST(GeoVectorTest, RotateAboutACentreAndMatrix)
{
    GeoVector p(2.0, 1.0, 0.0);
    p.RotateAbout(GeoVector(1.0, 1.0, 0.0), kGeoPi / 2.0);
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_NEAR(p.y, 2.0, 1e-12);
    GeoVector r = GeoVectorPair::RotationDegrees(90.0).Apply(GeoVector(1.0, 0.0, 7.0));
    EXPECT_NEAR(r.x, 0.0, 1e-12);
    EXPECT_NEAR(r.y, 1.0, 1e-12);
    EXPECT_EQ(r.z, 0.0);
    GeoVector diff = GeoVectorPair(GeoVector(1, 2, 3), GeoVector(4, 6, 8)).Difference();
    EXPECT_EQ(diff.x, 3.0);
    EXPECT_EQ(diff.y, 4.0);
    EXPECT_EQ(diff.z, 5.0);
}

TEST(GeoBezierCurveTest, ThirteenSamples)
{
    GeoVector p(3.0, 4.0, 9.0);
    GeoBezierCurve same(p, p, p, p);
    ASSERT_EQ(same.Samples().size(), 13u);
    for (const GeoVector& s : same.Samples()) {
        EXPECT_NEAR(s.x, 3.0, 1e-12);
        EXPECT_NEAR(s.y, 4.0, 1e-12);
        EXPECT_EQ(s.z, 0.0);
    }
    GeoBezierCurve line(GeoVector(0, 0, 0), GeoVector(1, 0, 0), GeoVector(2, 0, 0), GeoVector(3, 0, 0));
    EXPECT_NEAR(line.Samples().front().x, 0.0, 1e-12);
    EXPECT_NEAR(line.Samples().back().x, 3.0, 1e-9);
}

TEST(GeoEllipseArcTest, EqualStartAndEndMakeAFullTurnOf630Points)
{
    GeoEllipseArc arc;
    arc.centre = GeoVector(10.0, 20.0, 0.0);
    arc.radiusA = 5.0;
    arc.radiusB = 3.0;
    std::vector<GeoVector> points;
    arc.ToPolyline(points);
    ASSERT_EQ(points.size(), 630u);
    EXPECT_NEAR(points.front().x, 15.0, 1e-12);
    EXPECT_NEAR(points.back().x, points.front().x, 1e-9);
    EXPECT_NEAR(points.back().y, points.front().y, 1e-9);
}

TEST(GeoEllipseArcTest, ClockwiseRunsDownward)
{
    GeoEllipseArc arc;
    arc.radiusA = arc.radiusB = 1.0;
    arc.startDegrees = 90.0;
    arc.endDegrees = 0.0;
    arc.clockwise = 1;
    std::vector<GeoVector> points;
    arc.ToPolyline(points);
    EXPECT_NEAR(points.front().y, 1.0, 1e-12);
    EXPECT_NEAR(points.back().x, 1.0, 1e-12);
    EXPECT_LT(points.size(), 200u);  // a quarter turn, not three quarters
}

TEST(GeoRotatedRectTest, BoundsOfATurnedRectangle)
{
    GeoRotatedRect rect(GeoVector(0.0, 0.0, 0.0), GeoVector(10.0, 4.0, 0.0), 90.0);
    GeoVectorPair bounds = rect.GetBounds();
    EXPECT_NEAR(bounds.first.x, -2.0, 1e-9);
    EXPECT_NEAR(bounds.first.y, -5.0, 1e-9);
    EXPECT_NEAR(bounds.second.x, 2.0, 1e-9);
    EXPECT_NEAR(bounds.second.y, 5.0, 1e-9);
    EXPECT_EQ(rect.Corner(4).x, rect.Corner(0).x);
    EXPECT_EQ(rect.Corner(7).x, 0.0);
}

}  // namespace
