#include "CadPdf/LineEndGeometry.h"

#include <cmath>

#include "EngineRecords.h"
#include "GeometryRoutines.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCos45 = 0.70710678118654752440;

MarkPoint Along(MarkPoint p, double length, double angle)
{
    return {p.x + length * std::cos(angle), p.y + length * std::sin(angle)};
}

double ToZeroTwoPi(double angle)
{
    double r = std::fmod(angle, 2 * kPi);
    if (r < 0) r += 2 * kPi;
    if (r >= 2 * kPi) r = 0;
    return r;
}

LineEndMarkPart Polyline(std::vector<MarkPoint> points, bool filled)
{
    LineEndMarkPart part;
    part.kind = LineEndMarkPart::Polyline;
    part.points = std::move(points);
    part.filled = filled;
    return part;
}

LineEndMarkPart Segment(MarkPoint from, MarkPoint to)
{
    LineEndMarkPart part;
    part.kind = LineEndMarkPart::Line;
    part.points = {from, to};
    return part;
}

LineEndMarkPart Circle(MarkPoint centre, double radius, bool filled)
{
    LineEndMarkPart part;
    part.kind = LineEndMarkPart::Circle;
    part.centre = centre;
    part.radius = radius;
    part.filled = filled;
    return part;
}

LineEndMarkPart ArcPart(MarkPoint centre, double radius, double start, double end)
{
    LineEndMarkPart part;
    part.kind = LineEndMarkPart::Arc;
    part.centre = centre;
    part.radius = radius;
    part.startAngle = ToZeroTwoPi(start);
    part.endAngle = ToZeroTwoPi(end);
    return part;
}

}  // namespace

LineEndShapeTable BuildLineEndShapeTable(const std::vector<LineTermSetting>& settings, double factor)
{
    LineEndShapeTable table;
    for (int type = 0; type < kLineTermTypeCount; ++type) {
        const LineTermSetting row =
            type < static_cast<int>(settings.size()) ? settings[type] : BuiltInLineTerm(type);
        table[type].enabled = row.enabled;
        table[type].angle = row.angle * kPi / 180.0;
        table[type].a = row.size * factor;
        table[type].b = row.distance * factor;
    }
    return table;
}

int EllipsePointAtAngle(double cx, double cy, double ax, double ay, double ratio, double angle, double* x,
                        double* y)
{
    *x = 0;
    *y = 0;
    if (!(std::hypot(ax - cx, ay - cy) > 1e-15)) return 0;
    EllipseRecord ellipse{};
    ellipse.cx = cx, ellipse.cy = cy, ellipse.ax = ax, ellipse.ay = ay, ellipse.ratio = ratio;
    const GeoVector point = GetEllipsePointAt(&ellipse, GeoVector(std::cos(angle), std::sin(angle)));
    if (!std::isfinite(point.x) || !std::isfinite(point.y) || std::fabs(point.x) >= 1e10) return 0;
    *x = point.x;
    *y = point.y;
    return 1;
}

double WrapAnglePlusMinusPi(double angle)
{
    if (!std::isfinite(angle)) return 0.0;
    double r = std::remainder(angle, 2 * kPi);
    if (r <= -kPi) r += 2 * kPi;
    return r;
}

int LineEndSideFlag(double phi, int end)
{
    if (std::fabs(phi - kPi / 2) < 1e-6) return end;
    if (std::fabs(phi + kPi / 2) < 1e-6) return 1 - end;
    if (end == 0) return (phi >= kPi / 2 || phi <= -kPi / 2) ? 1 : 0;
    return (phi > -kPi / 2 && phi < kPi / 2) ? 1 : 0;
}

std::vector<LineEndMarkPart> MakeLineEndMark(int kind, const LineEndShapeTable& table, MarkPoint p, double phi,
                                             int end)
{
    std::vector<LineEndMarkPart> parts;
    if (kind < 1 || kind >= kLineTermTypeCount) return parts;
    const LineEndShape& shape = table[kind];
    if (shape.enabled == 0) return parts;
    const double a = shape.a;
    const double b = shape.b;
    const double theta = shape.angle;
    const MarkPoint u{std::cos(phi), std::sin(phi)};
    const MarkPoint v{std::cos(phi + kPi / 2), std::sin(phi + kPi / 2)};
    auto offset = [&](double su, double sv, double k) {
        return MarkPoint{p.x + k * (su * u.x + sv * v.x), p.y + k * (su * u.y + sv * v.y)};
    };

    switch (kind) {
    case 1:
        parts.push_back(Polyline({Along(p, -a, phi - theta), p, Along(p, -a, phi + theta)}, false));
        break;
    case 5:
    case 11:
    case 12: {
        const MarkPoint first = Along(p, -a, phi - theta);
        parts.push_back(Polyline({first, p, Along(p, -a, phi + theta), first}, kind == 5));
        break;
    }
    case 2:
    case 6:
    case 7:
        parts.push_back(Circle(p, a, kind == 2));
        break;
    case 3:
    case 8: {
        const MarkPoint first = offset(1, 1, a / 2);
        parts.push_back(
            Polyline({first, offset(-1, 1, a / 2), offset(-1, -1, a / 2), offset(1, -1, a / 2), first}, kind == 8));
        break;
    }
    case 4: {
        // A tick at 45 degrees whose length is the size: the half-diagonal (u + v) is sqrt 2 long.
        const double half = a * kCos45 / 2;
        parts.push_back(Segment(offset(1, 1, half), offset(-1, -1, half)));
        break;
    }
    case 9: {
        const int side = LineEndSideFlag(phi, end);
        parts.push_back(Segment(p, Along(p, -a, side == 0 ? phi - theta : phi + theta)));
        break;
    }
    case 10: {
        // The size is the line's length and the distance its offset from the end point, as the
        // line-end dialog labels and writes them.
        const int side = LineEndSideFlag(phi, end);
        const MarkPoint q1 = Along(p, -b, side == 0 ? phi - kPi / 2 : phi + kPi / 2);
        parts.push_back(Segment(q1, {q1.x - a * u.x, q1.y - a * u.y}));
        break;
    }
    case 13:
        parts.push_back(ArcPart(offset(1, 0, a), a, phi + kPi / 2, phi + kPi));
        parts.push_back(ArcPart(offset(-1, 0, a), a, phi + 3 * kPi / 2, phi + 2 * kPi));
        break;
    default:
        break;
    }
    return parts;
}

void LineEndOfSegment(double x1, double y1, double x2, double y2, int end, MarkPoint* p, double* phi)
{
    if (end == 0) {
        *p = {x1, y1};
        *phi = WrapAnglePlusMinusPi(SafeAtan2(y1 - y2, x1 - x2));
    } else {
        *p = {x2, y2};
        *phi = WrapAnglePlusMinusPi(SafeAtan2(y2 - y1, x2 - x1));
    }
}

double ArcEndDirection(double angle, int end, bool clockwise)
{
    // Counter-clockwise the arc leaves its start towards angle + pi/2, so outward is angle - pi/2;
    // clockwise it is the other way round.
    const double turn = (end == 0) == clockwise ? kPi / 2 : -kPi / 2;
    return WrapAnglePlusMinusPi(angle + turn);
}

bool LineEndOfEllipticArc(double cx, double cy, double ax, double ay, double ratio, double startAngle,
                          double endAngle, bool clockwise, int end, MarkPoint* p, double* phi)
{
    const double angle = ToZeroTwoPi(end == 0 ? startAngle : endAngle);
    // A point just outside the arc beyond this end: before the start, after the end, in the
    // arc's own direction.
    const double outward = (end == 0) != clockwise ? -0.01 : 0.01;
    MarkPoint q;
    if (!EllipsePointAtAngle(cx, cy, ax, ay, ratio, angle, &p->x, &p->y)) return false;
    EllipsePointAtAngle(cx, cy, ax, ay, ratio, angle + outward, &q.x, &q.y);
    *phi = WrapAnglePlusMinusPi(SafeAtan2(q.y - p->y, q.x - p->x));
    return true;
}
