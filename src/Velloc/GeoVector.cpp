#include "GeoVector.h"

#include <cmath>

const GeoVector kGeoOrigin(0.0, 0.0, 0.0);
const GeoVector kGeoUnitX(1.0, 0.0, 0.0);
const GeoVector kGeoUnitY(0.0, 1.0, 0.0);
const GeoVector kGeoMinusUnitX(-1.0, 0.0, 0.0);
const GeoVector kGeoMinusUnitY(0.0, -1.0, 0.0);

double GeoVector::PlaneLength() const { return std::sqrt(x * x + y * y); }

double GeoVector::Angle() const
{
    // The plane length: a z component must not shorten the direction's cosine.
    const double length = PlaneLength();
    if (!valid || !(length > 1e-6)) return 0.0;
    const double c = x / length;
    double angle;
    if (c >= 1.0) {
        angle = 0.0;
    } else if (c < -1.0) {
        angle = kGeoPi;
    } else {
        angle = std::acos(c);
    }
    if (y < -1e-6) angle = 2.0 * kGeoPi - angle;
    return angle;
}

GeoVector GeoVector::Rotate(double radians)
{
    const double length = valid ? PlaneLength() : 0.0;
    const double direction = Angle();
    x = length * std::cos(direction + radians);
    y = length * std::sin(direction + radians);
    return *this;
}

GeoVector GeoVector::RotateDegrees(double degrees) { return Rotate(degrees * kGeoPi / 180.0); }

GeoVector GeoVector::RotateAbout(const GeoVector& centre, double radians)
{
    GeoVector offset = *this - centre;
    offset.Rotate(radians);
    *this = centre + offset;
    return *this;
}

GeoVector operator+(const GeoVector& a, const GeoVector& b) { return GeoVector(a.x + b.x, a.y + b.y, a.z + b.z); }
GeoVector operator-(const GeoVector& a, const GeoVector& b) { return GeoVector(a.x - b.x, a.y - b.y, a.z - b.z); }
GeoVector operator*(const GeoVector& a, double k) { return GeoVector(a.x * k, a.y * k, a.z * k); }
GeoVector operator/(const GeoVector& a, double k) { return GeoVector(a.x / k, a.y / k, a.z / k); }

GeoVector GeoVectorPair::Difference() const { return second - first; }

GeoVectorPair GeoVectorPair::RotationDegrees(double degrees)
{
    const double r = degrees * kGeoPi / 180.0;
    return GeoVectorPair(GeoVector(std::cos(r), std::sin(r), 0.0), GeoVector(-std::sin(r), std::cos(r), 0.0));
}

GeoVector GeoVectorPair::Apply(const GeoVector& v) const
{
    return GeoVector(first.x * v.x + second.x * v.y, first.y * v.x + second.y * v.y, 0.0);
}
