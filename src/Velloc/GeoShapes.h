// Curves and shapes built on GeoVector: cubic Béziers and their 13-point sampling, elliptic
// arcs as polylines, and rotated rectangles.
#pragma once

#include <vector>

#include "GeoVector.h"

class GeoBezier {
public:
    GeoBezier() = default;
    GeoBezier(const GeoVector& p0, const GeoVector& p1, const GeoVector& p2, const GeoVector& p3);
    virtual ~GeoBezier() = default;

    GeoVector p0, p1, p2, p3;
};

// A Bézier with its samples at t = 0, 1/12, ..., 1 (13 points, z 0).
class GeoBezierCurve : public GeoBezier {
public:
    static constexpr int kSampleCount = 13;

    GeoBezierCurve(const GeoVector& p0, const GeoVector& p1, const GeoVector& p2, const GeoVector& p3);

    const std::vector<GeoVector>& Samples() const { return m_samples; }

private:
    std::vector<GeoVector> m_samples;
};

struct GeoEllipseArc {
    GeoVector centre;
    double radiusA = 0.0;         // along the first axis
    double radiusB = 0.0;         // along the second axis
    double rotationDegrees = 0.0; // of the first axis
    double startDegrees = 0.0;
    double endDegrees = 0.0;
    uint8_t clockwise = 0;

    // Appends the arc's points from start to end in steps of 0.01 radian, both ends included;
    // equal start and end make a full turn.
    void ToPolyline(std::vector<GeoVector>& points) const;
};

struct GeoRotatedRect {
    GeoRotatedRect() = default;
    // The rectangle of that size centred on the centre and turned by the angle.
    GeoRotatedRect(const GeoVector& centre, const GeoVector& size, double angleDegrees);

    // Corner 0 (and 4) is the stored corner, then counter-clockwise; other numbers (0, 0, 0).
    GeoVector Corner(int number) const;
    // The smallest and largest x and y of the four corners.
    GeoVectorPair GetBounds() const;

    GeoVector corner;
    GeoVector size;  // x width, y height
    double angleDegrees = 0.0;
};
