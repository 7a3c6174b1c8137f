// Plane and space vectors of the plug-in: points, directions, segments, boxes and 2 x 2
// rotation matrices. Units are the caller's (drawing millimetres); angles are radians unless
// a name says degrees.
#pragma once

#include <cstdint>

constexpr double kGeoPi = 3.141592653589793;

class GeoVector {
public:
    GeoVector() = default;
    GeoVector(double x, double y, double z = 0.0) : x(x), y(y), z(z), valid(1) {}
    virtual ~GeoVector() = default;
    GeoVector(const GeoVector&) = default;
    GeoVector& operator=(const GeoVector&) = default;

    // Direction in the x-y plane in [0, 2 pi); 0 for an invalid or a too short vector.
    double Angle() const;
    // Rotates this vector about the origin in the x-y plane (z unchanged) and returns a copy.
    GeoVector Rotate(double radians);
    GeoVector RotateDegrees(double degrees);
    // Rotates this point about a centre and returns a copy.
    GeoVector RotateAbout(const GeoVector& centre, double radians);
    // Length in the x-y plane.
    double PlaneLength() const;

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    uint8_t valid = 1;
};

GeoVector operator+(const GeoVector& a, const GeoVector& b);
GeoVector operator-(const GeoVector& a, const GeoVector& b);
GeoVector operator*(const GeoVector& a, double k);
GeoVector operator/(const GeoVector& a, double k);

// Two vectors: a segment (start, end), a box (minimum, maximum), or a rotation matrix whose
// first vector is the first column (cos, sin) and second the second column (-sin, cos).
struct GeoVectorPair {
    GeoVectorPair() = default;
    GeoVectorPair(const GeoVector& first, const GeoVector& second) : first(first), second(second) {}

    // second minus first.
    GeoVector Difference() const;
    // The rotation matrix of an angle in degrees.
    static GeoVectorPair RotationDegrees(double degrees);
    // Matrix times vector (z of the result 0).
    GeoVector Apply(const GeoVector& v) const;

    GeoVector first;
    GeoVector second;
};

// Constants every unit of the geometry shares.
extern const GeoVector kGeoOrigin;
extern const GeoVector kGeoUnitX;
extern const GeoVector kGeoUnitY;
extern const GeoVector kGeoMinusUnitX;
extern const GeoVector kGeoMinusUnitY;
