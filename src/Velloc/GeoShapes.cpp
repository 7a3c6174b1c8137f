#include "GeoShapes.h"

#include <algorithm>
#include <cmath>

GeoBezier::GeoBezier(const GeoVector& p0, const GeoVector& p1, const GeoVector& p2, const GeoVector& p3)
    : p0(p0), p1(p1), p2(p2), p3(p3)
{
}

GeoBezierCurve::GeoBezierCurve(const GeoVector& p0, const GeoVector& p1, const GeoVector& p2,
                               const GeoVector& p3)
    : GeoBezier(p0, p1, p2, p3)
{
    m_samples.reserve(kSampleCount);
    double t = 0.0;
    for (int i = 0; i < kSampleCount; ++i) {
        const double u = 1.0 - t;
        const double b0 = u * u * u;
        const double b1 = 3.0 * t * u * u;
        const double b2 = 3.0 * t * t * u;
        const double b3 = t * t * t;
        m_samples.emplace_back(b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x,
                               b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y, 0.0);
        t += 0.08333333333333333;
    }
}

void GeoEllipseArc::ToPolyline(std::vector<GeoVector>& points) const
{
    const double rotation = rotationDegrees * kGeoPi / 180.0;
    const double start = startDegrees * kGeoPi / 180.0;
    double end = endDegrees * kGeoPi / 180.0;
    auto pointAt = [&](double u) {
        GeoVector p(centre.x + radiusA * std::cos(u), centre.y + radiusB * std::sin(u), 0.0);
        return p.RotateAbout(centre, rotation);
    };
    points.push_back(pointAt(start));
    if (!clockwise) {
        if (start > end - 1e-8) end += 2.0 * kGeoPi;
        for (double u = start + 0.01; u <= end; u += 0.01) points.push_back(pointAt(u));
    } else {
        if (start < end + 1e-8) end -= 2.0 * kGeoPi;
        for (double u = start - 0.01; u >= end; u -= 0.01) points.push_back(pointAt(u));
    }
    points.push_back(pointAt(end));
}

GeoRotatedRect::GeoRotatedRect(const GeoVector& centre, const GeoVector& size, double angleDegrees)
    : size(size), angleDegrees(angleDegrees)
{
    GeoVector half = size * 0.5;
    half.RotateDegrees(angleDegrees);
    corner = centre - half;
}

GeoVector GeoRotatedRect::Corner(int number) const
{
    const double t = angleDegrees * kGeoPi / 180.0;
    const double w = size.x;
    const double h = size.y;
    switch (number) {
    case 0:
    case 4:
        return corner;
    case 1:
        return corner + GeoVector(w * std::cos(t), w * std::sin(t), 0.0);
    case 2: {
        GeoVector turned = size;
        turned.RotateDegrees(angleDegrees);
        return corner + turned;
    }
    case 3:
        return corner + GeoVector(h * std::cos(t + kGeoPi / 2.0), h * std::sin(t + kGeoPi / 2.0), 0.0);
    default:
        return GeoVector(0.0, 0.0, 0.0);
    }
}

GeoVectorPair GeoRotatedRect::GetBounds() const
{
    GeoVector low = Corner(0);
    GeoVector high = low;
    for (int i = 1; i < 4; ++i) {
        const GeoVector c = Corner(i);
        low.x = std::min(low.x, c.x);
        low.y = std::min(low.y, c.y);
        high.x = std::max(high.x, c.x);
        high.y = std::max(high.y, c.y);
    }
    return GeoVectorPair(low, high);
}
