#include "view/PlaneTransform.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "EngineRecords.h"
#include "core/LocalSettings.h"

namespace {

double ReadDouble(const unsigned char* record, int offset)
{
    double v;
    std::memcpy(&v, record + offset, sizeof v);
    return v;
}

void WriteDouble(unsigned char* record, int offset, double v)
{
    std::memcpy(record + offset, &v, sizeof v);
}

void TransformPointAt(unsigned char* record, int offset, const Transform2D& t)
{
    double x = ReadDouble(record, offset);
    double y = ReadDouble(record, offset + 8);
    TransformPoint2D(&x, &y, t);
    WriteDouble(record, offset, x);
    WriteDouble(record, offset + 8, y);
}

void ScaleAt(unsigned char* record, int offset, double factor)
{
    WriteDouble(record, offset, ReadDouble(record, offset) * factor);
}

void TurnAt(unsigned char* record, int offset, double angle)
{
    WriteDouble(record, offset, ReadDouble(record, offset) + angle);
}

bool InRange(double v, double a, double b)
{
    return v >= std::fmin(a, b) && v <= std::fmax(a, b);
}

}  // namespace

// The settings derive both from their digit counts; the tolerance service may change them.
double GetLengthTolerance() { return GetLocalSettingsLive().setup.lengthTolerance; }
double GetAngleTolerance() { return GetLocalSettingsLive().setup.angleTolerance; }
void SetLengthTolerance(double eps) { GetLocalSettingsLive().setup.lengthTolerance = eps; }
void SetAngleTolerance(double eps) { GetLocalSettingsLive().setup.angleTolerance = eps; }

void TransformPoint2D(double* x, double* y, const Transform2D& t)
{
    const double dx = *x - t.ox;
    const double dy = *y - t.oy;
    *x = t.s * (t.m00 * dx + t.m01 * dy) + t.tx;
    *y = t.s * (t.m10 * dx + t.m11 * dy) + t.ty;
}

void RotateVector2D(double* x, double* y, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double nx = *x * c - *y * s;
    const double ny = *x * s + *y * c;
    *x = nx;
    *y = ny;
}

void ScaleLength(double* value, double factor) { *value *= factor; }

double TransformAngle(const Transform2D& t) { return SafeAtan2(t.m10, t.m00); }

void TransformElementRecord(unsigned char* record, const Transform2D& t)
{
    uint16_t type;
    std::memcpy(&type, record, sizeof type);
    const double theta = TransformAngle(t);
    switch (type) {
    case kElementLine:
    case kElementEllipse:
        TransformPointAt(record, 33, t);
        TransformPointAt(record, 57, t);
        break;
    case kElementPoint:
        TransformPointAt(record, 33, t);
        break;
    case kElementCircle:
        TransformPointAt(record, 33, t);
        ScaleAt(record, 57, t.s);
        break;
    case kElementArc:
        TransformPointAt(record, 33, t);
        ScaleAt(record, 57, t.s);
        TurnAt(record, 65, theta);
        TurnAt(record, 73, theta);
        break;
    case kElementText:
        TransformPointAt(record, 112, t);
        TurnAt(record, 30, theta);
        ScaleAt(record, 14, t.s);
        ScaleAt(record, 22, t.s);
        ScaleAt(record, 46, t.s);
        ScaleAt(record, 62, t.s);
        break;
    case kElementEllipticArc:
        TransformPointAt(record, 33, t);
        TransformPointAt(record, 57, t);
        TurnAt(record, 89, theta);
        TurnAt(record, 97, theta);
        break;
    default:
        break;
    }
}

double AngleOfVector(double dy, double dx)
{
    const double eps = GetLengthTolerance();
    if (dy == 0.0 && dx == 0.0)
        return 0.0;
    if (std::fabs(dx) < eps)
        return dy >= 0.0 ? M_PI / 2 : -M_PI / 2;
    if (std::fabs(dy) < eps)
        return dx < 0.0 ? M_PI : 0.0;
    const double a = std::atan2(dy, dx);
    return std::isfinite(a) ? a : 0.0;
}

int IsInDirection(const char* direction, Point3d from, Point3d candidate)
{
    if (!direction)
        return 0;
    if (std::strcmp(direction, "UP") == 0)
        return candidate.y > from.y ? 1 : 0;
    if (std::strcmp(direction, "DOWN") == 0)
        return candidate.y < from.y ? 1 : 0;
    if (std::strcmp(direction, "LEFT") == 0)
        return candidate.x < from.x ? 1 : 0;
    if (std::strcmp(direction, "RIGHT") == 0)
        return candidate.x > from.x ? 1 : 0;
    return 0;
}

int IntersectLines(Point3d* out, Point3d a, Point3d b, Point3d u, Point3d v)
{
    const double eps = GetLengthTolerance();
    const bool abVertical = std::fabs(b.x - a.x) <= eps;
    const bool abHorizontal = !abVertical && std::fabs(b.y - a.y) <= eps;
    const bool uvVertical = std::fabs(v.x - u.x) <= eps;
    const bool uvHorizontal = !uvVertical && std::fabs(v.y - u.y) <= eps;
    // Slopes and intercepts only of the oblique lines, where they are finite.
    const double kAB = abVertical ? 0.0 : (b.y - a.y) / (b.x - a.x);
    const double mAB = a.y - kAB * a.x;
    const double kUV = uvVertical ? 0.0 : (v.y - u.y) / (v.x - u.x);
    const double mUV = u.y - kUV * u.x;

    if (abVertical) {
        if (uvVertical)
            return 0;
        out->x = a.x;
        out->y = uvHorizontal ? u.y : mUV + kUV * a.x;
        return 1;
    }
    if (abHorizontal) {
        if (uvHorizontal)
            return 0;
        out->x = uvVertical ? u.x : (a.y - mUV) / kUV;
        out->y = a.y;
        return 1;
    }
    if (uvVertical) {
        out->x = u.x;
        out->y = mAB + kAB * u.x;
        return 1;
    }
    if (uvHorizontal) {
        out->x = (u.y - mAB) / kAB;
        out->y = u.y;
        return 1;
    }
    if (std::fabs(kAB - kUV) < eps)
        return 0;
    out->x = (mUV - mAB) / (kAB - kUV);
    out->y = mAB + kAB * out->x;
    return 1;
}

int IntersectSegmentCircle(Point3d* p, Point3d* q, Point3d a, Point3d b, Point3d m, double r)
{
    const double eps = GetLengthTolerance();
    // Which coordinate range decides whether a candidate lies on the segment.
    bool useXRange = false;
    if (std::fabs(a.x - b.x) <= eps) {
        if (a.x < m.x - r || a.x > m.x + r)
            return 0;
        if (std::fabs(m.x - r - a.x) <= eps || std::fabs(m.x + r - a.x) <= eps) {
            *p = *q = Point3d{a.x, m.y, 0.0};
            return InRange(m.y, a.y, b.y) ? 1 : 0;
        }
        const double dy = std::sqrt(r * r - (a.x - m.x) * (a.x - m.x));
        *p = Point3d{a.x, m.y + dy, 0.0};
        *q = Point3d{a.x, m.y - dy, 0.0};
    } else if (std::fabs(a.y - b.y) <= eps) {
        if (a.y < m.y - r || a.y > m.y + r)
            return 0;
        if (std::fabs(m.y - r - a.y) <= eps || std::fabs(m.y + r - a.y) <= eps) {
            *p = *q = Point3d{m.x, a.y, 0.0};
            return InRange(m.x, a.x, b.x) ? 1 : 0;
        }
        const double dx = std::sqrt(r * r - (a.y - m.y) * (a.y - m.y));
        *p = Point3d{m.x + dx, a.y, 0.0};
        *q = Point3d{m.x - dx, a.y, 0.0};
        useXRange = true;
    } else {
        const double k = (b.y - a.y) / (b.x - a.x);
        const double mm = a.y - k * a.x;
        const double qa = 1.0 + k * k;
        const double qb = 2.0 * (k * (mm - m.y) - m.x);
        const double qc = m.x * m.x + (mm - m.y) * (mm - m.y) - r * r;
        const double d = qb * qb - 4.0 * qa * qc;
        if (!(d >= 0.0))
            return 0;
        if (d <= eps) {
            const double x = -qb / (2.0 * qa);
            *p = *q = Point3d{x, mm + k * x, 0.0};
            return InRange(p->y, a.y, b.y) ? 1 : 0;
        }
        const double root = std::sqrt(d);
        const double px = (root - qb) / (2.0 * qa);
        const double qx = (-root - qb) / (2.0 * qa);
        *p = Point3d{px, mm + k * px, 0.0};
        *q = Point3d{qx, mm + k * qx, 0.0};
    }
    const bool pIn = useXRange ? InRange(p->x, a.x, b.x) : InRange(p->y, a.y, b.y);
    const bool qIn = useXRange ? InRange(q->x, a.x, b.x) : InRange(q->y, a.y, b.y);
    if (pIn && qIn)
        return 2;
    if (pIn)
        return 1;
    if (qIn) {
        *p = *q;
        return 1;
    }
    return 0;
}

int IntersectSegmentEllipse(Point3d* p, Point3d* q, Point3d a, Point3d b, Point3d m,
                            Point3d axisPoint, double ratio)
{
    const double eps = GetLengthTolerance();
    const double bigR = PointDistance(axisPoint, m);
    const double phi = AngleOfVector(axisPoint.y - m.y, axisPoint.x - m.x);
    const double smallR = bigR * ratio;
    if (!(bigR > eps) || !(std::fabs(smallR) > eps))
        return 0;
    // In the ellipse's own frame: centre at the origin, major axis along x.
    a.x -= m.x;
    a.y -= m.y;
    b.x -= m.x;
    b.y -= m.y;
    RotateVector2D(&a.x, &a.y, -phi);
    RotateVector2D(&b.x, &b.y, -phi);

    Point3d candidates[2];
    int count = 0;
    if (std::fabs(a.x - b.x) <= eps) {
        if (a.x < -bigR - eps || a.x > bigR + eps)
            return 0;
        // A segment just outside within the tolerance touches the end of the axis.
        const double h = smallR * std::sqrt(std::fmax(0.0, 1.0 - a.x * a.x / (bigR * bigR)));
        candidates[0] = Point3d{a.x, h, 0.0};
        candidates[1] = Point3d{a.x, -h, 0.0};
        count = 2;
    } else {
        const double k = (b.y - a.y) / (b.x - a.x);
        const double mm = a.y - k * a.x;
        const double b2 = smallR * smallR;
        const double qa = k * k / b2 + 1.0 / (bigR * bigR);
        const double qb = 2.0 * k * mm / b2;
        const double qc = mm * mm / b2 - 1.0;
        const double d = qb * qb - 4.0 * qa * qc;
        if (!(d >= 0.0))
            return 0;
        const double root = std::sqrt(d);
        const double px = (root - qb) / (2.0 * qa);
        const double qx = (-root - qb) / (2.0 * qa);
        candidates[0] = Point3d{px, k * px + mm, 0.0};
        candidates[1] = Point3d{qx, k * qx + mm, 0.0};
        count = 2;
    }
    Point3d* outs[2] = {p, q};
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        if (!IsPointOnSegment(candidates[i], a, b))
            continue;
        Point3d c = candidates[i];
        RotateVector2D(&c.x, &c.y, phi);
        c.x += m.x;
        c.y += m.y;
        *outs[kept++] = c;
    }
    return kept;
}
