#include "core/GeometryHelpers.h"

#include <cmath>

const double kPointOnSegmentTolerance = 1e-8;

double PointDistance(Point3d a, Point3d b)
{
    const double dx = a.x - b.x;
    const double dy = a.y - b.y;
    return std::sqrt(dx * dx + dy * dy);
}

int IsPointOnSegment(Point3d p, Point3d s, Point3d e)
{
    const double excess = PointDistance(s, p) + PointDistance(e, p) - PointDistance(s, e);
    // A difference that is not a number compares false and so gives 0.
    return std::fabs(excess) <= kPointOnSegmentTolerance ? 1 : 0;
}

double SafeAtan2(double y, double x)
{
    if (y == 0.0 && x == 0.0)
        return 0.0;
    const double a = std::atan2(y, x);
    return std::isfinite(a) ? a : 0.0;
}
