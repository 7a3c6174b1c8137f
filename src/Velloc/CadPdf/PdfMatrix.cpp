#include "PdfMatrix.h"

#include <cmath>

PdfMatrix PdfMatrix::Rotation(double degrees)
{
    const double r = degrees * 3.141592653589793 / 180.0;
    const double cs = std::cos(r);
    const double sn = std::sin(r);
    return PdfMatrix{cs, sn, -sn, cs, 0, 0};
}

PdfMatrix PdfMatrix::operator*(const PdfMatrix& o) const
{
    return PdfMatrix{a * o.a + b * o.c,         a * o.b + b * o.d,
                     c * o.a + d * o.c,         c * o.b + d * o.d,
                     e * o.a + f * o.c + o.e,   e * o.b + f * o.d + o.f};
}

bool PdfMatrix::IsFinite() const
{
    return std::isfinite(a) && std::isfinite(b) && std::isfinite(c) && std::isfinite(d) &&
           std::isfinite(e) && std::isfinite(f);
}
