// Plane geometry helpers: distance, the point-on-segment tolerance and the guarded arc tangent.
#include "GTest.h"

#include <cmath>
#include <limits>

#include "core/GeometryHelpers.h"

TEST(GeometryHelpers, PointDistanceIgnoresZ)
{
    EXPECT_DOUBLE_EQ(5.0, PointDistance({0, 0, 5}, {3, 4, -7}));
    EXPECT_DOUBLE_EQ(0.0, PointDistance({1, 2, 3}, {1, 2, 9}));
}

TEST(GeometryHelpers, IsPointOnSegmentWithinTolerance)
{
    const Point3d s{0, 0, 0};
    const Point3d e{10, 0, 0};
    const struct {
        Point3d p;
        int on;
    } cases[] = {
        {{5, 0, 0}, 1},        {{5, 0.0001, 0}, 1},     {{5, 0.001, 0}, 0},
        {{11, 0, 0}, 0},       {{10, 0, 0}, 1},         {{10.000000001, 0, 0}, 1},
        {{10.00000002, 0, 0}, 0}, {{0, 0, 0}, 1},       {{-0.1, 0, 0}, 0},
        {{5, 0, 100}, 1},      {{std::nan(""), 0, 0}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.on, IsPointOnSegment(c.p, s, e)) << c.p.x << "," << c.p.y;

    const Point3d z{3, 3, 0};
    EXPECT_EQ(1, IsPointOnSegment({3, 3, 0}, z, z));
    EXPECT_EQ(1, IsPointOnSegment({3.000000004, 3, 0}, z, z));
    EXPECT_EQ(0, IsPointOnSegment({3.00000001, 3, 0}, z, z));
}

TEST(GeometryHelpers, SafeAtan2)
{
    const double pi = std::acos(-1.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(0.0, SafeAtan2(0, 0));
    EXPECT_DOUBLE_EQ(pi, SafeAtan2(0, -1));
    EXPECT_DOUBLE_EQ(pi / 2, SafeAtan2(1, 0));
    EXPECT_DOUBLE_EQ(-pi / 4, SafeAtan2(-1, 1));
    EXPECT_EQ(0.0, SafeAtan2(nan, 1));
    EXPECT_EQ(0.0, SafeAtan2(1, nan));
}
