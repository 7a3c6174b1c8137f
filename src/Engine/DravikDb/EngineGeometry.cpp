#include "EngineGeometry.h"
#include "TextLayout.h"

#include "FigureReferences.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace dravikdb {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCurveSamples = 64;
constexpr double kHuge = std::numeric_limits<double>::max();

template <typename T>
T Overlay(const Element& element)
{
    T value;
    std::memcpy(&value, &element.node.record, sizeof value);
    return value;
}

double NormaliseAngle(double a)
{
    double r = std::fmod(a, 2.0 * kPi);
    if (r < 0.0) r += 2.0 * kPi;
    return r;
}

// Whether angle a lies on the arc from start to end (counter-clockwise unless clockwise).
bool AngleOnArc(double a, double start, double end, bool clockwise)
{
    if (clockwise) std::swap(start, end);
    double s = NormaliseAngle(start);
    double sweep = NormaliseAngle(end - start);
    if (sweep == 0.0) sweep = 2.0 * kPi;
    return NormaliseAngle(a - s) <= sweep + 1e-12;
}

double SegmentDistance(double x, double y, double x1, double y1, double x2, double y2)
{
    double dx = x2 - x1, dy = y2 - y1;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0.0 ? ((x - x1) * dx + (y - y1) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    double px = x1 + t * dx - x, py = y1 + t * dy - y;
    return std::sqrt(px * px + py * py);
}

void Grow(SearchBox& box, bool& any, double x, double y)
{
    if (!any) {
        box = {x, y, x, y};
        any = true;
        return;
    }
    box.left = std::min(box.left, x);
    box.right = std::max(box.right, x);
    box.top = std::max(box.top, y);
    box.bottom = std::min(box.bottom, y);
}

// Points along an ellipse (or an arc of it) in world coordinates.
void EllipsePoints(double cx, double cy, double ax, double ay, double ratio, double start, double end,
                   bool whole, std::vector<Point2>& out)
{
    double major = std::hypot(ax - cx, ay - cy);
    double rotation = std::atan2(ay - cy, ax - cx);
    double minor = major * ratio;
    double sweep = whole ? 2.0 * kPi : NormaliseAngle(end - start);
    if (!whole && sweep == 0.0) sweep = 2.0 * kPi;
    for (int i = 0; i <= kCurveSamples; ++i) {
        double t = (whole ? 0.0 : start) + sweep * i / kCurveSamples;
        double ex = major * std::cos(t), ey = minor * std::sin(t);
        out.push_back({cx + ex * std::cos(rotation) - ey * std::sin(rotation),
                       cy + ex * std::sin(rotation) + ey * std::cos(rotation)});
    }
}

double PolylineDistance(const std::vector<Point2>& points, double x, double y)
{
    double best = kHuge;
    for (size_t i = 1; i < points.size(); ++i) {
        best = std::min(best, SegmentDistance(x, y, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y));
    }
    return best;
}

// Corners of a text's box, as the text is measured and painted; a text that cannot be laid out
// (no finite, positive height) is its basis point.
void TextCorners(const Element& element, Point2 corners[4])
{
    TextLayout layout;
    if (!LayOutText(element.node.record, element.text.data(), element.text.size(), layout)) {
        auto t = Overlay<TextRecord>(element);
        for (int i = 0; i < 4; ++i) corners[i] = {t.x, t.y};
        return;
    }
    TextPoint outline[4];
    TextOutline(layout, outline);
    for (int i = 0; i < 4; ++i) corners[i] = {outline[i].x, outline[i].y};
}

double BoxDistance(const SearchBox& box, double x, double y)
{
    double dx = std::max({box.left - x, 0.0, x - box.right});
    double dy = std::max({box.bottom - y, 0.0, y - box.top});
    return std::hypot(dx, dy);
}

}  // namespace

bool ElementExtents(const Element& element, SearchBox& box)
{
    ExtentCache cache;
    return ElementExtents(element, box, cache);
}

bool ElementExtents(const Element& element, SearchBox& box, ExtentCache& cache)
{
    return cache.Measure(element, box, 0);
}

bool HeaderExtents(const Element& header, SearchBox& box, ExtentCache& cache)
{
    return cache.MeasureHeader(header, box, 0);
}

bool ExtentCache::MeasureHeader(const Element& header, SearchBox& box, int depth)
{
    auto known = m_headers.find(&header);
    if (known == m_headers.end()) {
        // A header already being measured further up leads back to itself: it adds nothing.
        if (depth >= kMaxReferenceDepth || !m_open.insert(&header).second) return false;
        Box measured;
        for (const Element* member : header.members) {
            SearchBox b{};
            if (!Measure(*member, b, depth + 1)) continue;
            Grow(measured.box, measured.any, b.left, b.top);
            Grow(measured.box, measured.any, b.right, b.bottom);
        }
        m_open.erase(&header);
        known = m_headers.emplace(&header, measured).first;
    }
    box = known->second.box;
    return known->second.any;
}

bool ExtentCache::Measure(const Element& element, SearchBox& box, int depth)
{
    bool any = false;
    if (depth > kMaxMeasureDepth) return false;
    switch (element.type()) {
    case kElementLine:
    case kElementImage: {
        auto r = Overlay<LineRecord>(element);
        Grow(box, any, r.x1, r.y1);
        Grow(box, any, r.x2, r.y2);
        break;
    }
    case kElementViewport: {
        auto r = Overlay<ViewportRecord>(element);
        Grow(box, any, r.x1, r.y1);
        Grow(box, any, r.x2, r.y2);
        break;
    }
    case kElementPoint: {
        auto r = Overlay<PointRecord>(element);
        Grow(box, any, r.x, r.y);
        break;
    }
    case kElementCircle:
    case kElementArc: {
        auto r = Overlay<CircleRecord>(element);
        Grow(box, any, r.cx - r.radius, r.cy - r.radius);
        Grow(box, any, r.cx + r.radius, r.cy + r.radius);
        break;
    }
    case kElementEllipse:
    case kElementEllipticArc: {
        auto r = Overlay<EllipseRecord>(element);
        double major = std::hypot(r.ax - r.cx, r.ay - r.cy);
        Grow(box, any, r.cx - major, r.cy - major);
        Grow(box, any, r.cx + major, r.cy + major);
        break;
    }
    case kElementText: {
        Point2 corners[4];
        TextCorners(element, corners);
        for (const Point2& p : corners) Grow(box, any, p.x, p.y);
        break;
    }
    case kElementRaster: {
        auto r = Overlay<RasterRecord>(element);
        double half = std::hypot(r.width, r.height) / 2.0;
        Grow(box, any, r.cx - half, r.cy - half);
        Grow(box, any, r.cx + half, r.cy + half);
        break;
    }
    case kElementFigureReference: {
        const Element* header = ReferencedHeader(element);
        SearchBox inner{};
        if (header == nullptr || !MeasureHeader(*header, inner, depth)) break;
        auto r = Overlay<FigureReferenceRecord>(element);
        auto h = Overlay<FigureHeaderRecord>(*header);
        double sx = r.scaleX != 0.0 ? r.scaleX : 1.0;
        double sy = r.scaleY != 0.0 ? r.scaleY : sx;
        double c = std::cos(r.angle), s = std::sin(r.angle);
        const double xs[2] = {inner.left, inner.right}, ys[2] = {inner.bottom, inner.top};
        for (double px : xs) {
            for (double py : ys) {
                double lx = (px - h.originX) * sx, ly = (py - h.originY) * sy;
                Grow(box, any, r.x + lx * c - ly * s, r.y + lx * s + ly * c);
            }
        }
        break;
    }
    default:
        break;
    }
    if (!element.members.empty()) {
        for (const Element* member : element.members) {
            SearchBox b{};
            if (!Measure(*member, b, depth + 1)) continue;
            Grow(box, any, b.left, b.top);
            Grow(box, any, b.right, b.bottom);
        }
    }
    return any;
}

double DistanceTo(const Element& element, double x, double y)
{
    switch (element.type()) {
    case kElementLine: {
        auto r = Overlay<LineRecord>(element);
        return SegmentDistance(x, y, r.x1, r.y1, r.x2, r.y2);
    }
    case kElementPoint: {
        auto r = Overlay<PointRecord>(element);
        return std::hypot(x - r.x, y - r.y);
    }
    case kElementCircle: {
        auto r = Overlay<CircleRecord>(element);
        return std::fabs(std::hypot(x - r.cx, y - r.cy) - r.radius);
    }
    case kElementArc: {
        auto r = Overlay<ArcRecord>(element);
        double a = std::atan2(y - r.cy, x - r.cx);
        if (AngleOnArc(a, r.startAngle, r.endAngle, r.clockwise != 0)) {
            return std::fabs(std::hypot(x - r.cx, y - r.cy) - r.radius);
        }
        double d1 = std::hypot(x - (r.cx + r.radius * std::cos(r.startAngle)), y - (r.cy + r.radius * std::sin(r.startAngle)));
        double d2 = std::hypot(x - (r.cx + r.radius * std::cos(r.endAngle)), y - (r.cy + r.radius * std::sin(r.endAngle)));
        return std::min(d1, d2);
    }
    case kElementEllipse: {
        auto r = Overlay<EllipseRecord>(element);
        std::vector<Point2> points;
        EllipsePoints(r.cx, r.cy, r.ax, r.ay, r.ratio, 0.0, 0.0, true, points);
        return PolylineDistance(points, x, y);
    }
    case kElementEllipticArc: {
        auto r = Overlay<EllipticArcRecord>(element);
        double start = r.swapped == 1 ? r.endAngle : r.startAngle;
        double end = r.swapped == 1 ? r.startAngle : r.endAngle;
        std::vector<Point2> points;
        EllipsePoints(r.cx, r.cy, r.ax, r.ay, r.ratio, start, end, false, points);
        return PolylineDistance(points, x, y);
    }
    default:
        break;
    }
    if (!element.members.empty()) {
        double best = kHuge;
        for (const Element* member : element.members) best = std::min(best, DistanceTo(*member, x, y));
        return best;
    }
    SearchBox box{};
    if (!ElementExtents(element, box)) return kHuge;
    return BoxDistance(box, x, y);
}

void EndPoints(const Element& element, std::vector<Point2>& out)
{
    switch (element.type()) {
    case kElementLine: {
        auto r = Overlay<LineRecord>(element);
        out.push_back({r.x1, r.y1});
        out.push_back({r.x2, r.y2});
        break;
    }
    case kElementPoint: {
        auto r = Overlay<PointRecord>(element);
        out.push_back({r.x, r.y});
        break;
    }
    case kElementArc: {
        auto r = Overlay<ArcRecord>(element);
        out.push_back({r.cx + r.radius * std::cos(r.startAngle), r.cy + r.radius * std::sin(r.startAngle)});
        out.push_back({r.cx + r.radius * std::cos(r.endAngle), r.cy + r.radius * std::sin(r.endAngle)});
        break;
    }
    case kElementEllipticArc: {
        auto r = Overlay<EllipticArcRecord>(element);
        std::vector<Point2> points;
        EllipsePoints(r.cx, r.cy, r.ax, r.ay, r.ratio, r.startAngle, r.endAngle, false, points);
        if (!points.empty()) {
            out.push_back(points.front());
            out.push_back(points.back());
        }
        break;
    }
    case kElementText: {
        auto r = Overlay<TextRecord>(element);
        out.push_back({r.x, r.y});
        break;
    }
    case kElementImage:
    case kElementViewport: {
        auto r = Overlay<LineRecord>(element);
        out.push_back({r.x1, r.y1});
        out.push_back({r.x2, r.y1});
        out.push_back({r.x2, r.y2});
        out.push_back({r.x1, r.y2});
        break;
    }
    case kElementFigureReference: {
        auto r = Overlay<FigureReferenceRecord>(element);
        out.push_back({r.x, r.y});
        break;
    }
    default:
        break;
    }
}

void DivisionPoints(const Element& element, int parts, std::vector<Point2>& out)
{
    if (parts < 2) parts = 2;
    if (parts > 100) parts = 100;
    if (element.type() == kElementLine) {
        auto r = Overlay<LineRecord>(element);
        for (int k = 1; k < parts; ++k) {
            double t = static_cast<double>(k) / parts;
            out.push_back({r.x1 + (r.x2 - r.x1) * t, r.y1 + (r.y2 - r.y1) * t});
        }
    } else if (element.type() == kElementArc) {
        auto r = Overlay<ArcRecord>(element);
        double start = r.clockwise ? r.endAngle : r.startAngle;
        double end = r.clockwise ? r.startAngle : r.endAngle;
        double sweep = NormaliseAngle(end - start);
        if (sweep == 0.0) sweep = 2.0 * kPi;
        for (int k = 1; k < parts; ++k) {
            double a = start + sweep * k / parts;
            out.push_back({r.cx + r.radius * std::cos(a), r.cy + r.radius * std::sin(a)});
        }
    }
}

void Centres(const Element& element, std::vector<Point2>& out)
{
    switch (element.type()) {
    case kElementCircle:
    case kElementArc:
    case kElementEllipse:
    case kElementEllipticArc: {
        auto r = Overlay<CircleRecord>(element);
        out.push_back({r.cx, r.cy});
        break;
    }
    default:
        break;
    }
}

bool NearestOnElement(const Element& element, double x, double y, Point2& out)
{
    switch (element.type()) {
    case kElementLine: {
        auto r = Overlay<LineRecord>(element);
        double dx = r.x2 - r.x1, dy = r.y2 - r.y1;
        double len2 = dx * dx + dy * dy;
        double t = len2 > 0.0 ? std::clamp(((x - r.x1) * dx + (y - r.y1) * dy) / len2, 0.0, 1.0) : 0.0;
        out = {r.x1 + t * dx, r.y1 + t * dy};
        return true;
    }
    case kElementCircle:
    case kElementArc: {
        auto r = Overlay<ArcRecord>(element);
        double a = std::atan2(y - r.cy, x - r.cx);
        if (element.type() == kElementArc && !AngleOnArc(a, r.startAngle, r.endAngle, r.clockwise != 0)) return false;
        out = {r.cx + r.radius * std::cos(a), r.cy + r.radius * std::sin(a)};
        return true;
    }
    default:
        return false;
    }
}

namespace {

struct Shape {
    bool isLine = false;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;   // line
    double cx = 0, cy = 0, r = 0;            // circle / arc
    bool isArc = false;
    double start = 0, end = 0;
    bool clockwise = false;
};

bool ShapeOf(const Element& element, Shape& shape)
{
    switch (element.type()) {
    case kElementLine: {
        auto r = Overlay<LineRecord>(element);
        shape.isLine = true;
        shape.x1 = r.x1, shape.y1 = r.y1, shape.x2 = r.x2, shape.y2 = r.y2;
        return true;
    }
    case kElementCircle:
    case kElementArc: {
        auto r = Overlay<ArcRecord>(element);
        shape.cx = r.cx, shape.cy = r.cy, shape.r = r.radius;
        if (element.type() == kElementArc) {
            shape.isArc = true;
            shape.start = r.startAngle, shape.end = r.endAngle, shape.clockwise = r.clockwise != 0;
        }
        return true;
    }
    default:
        return false;
    }
}

bool OnShape(const Shape& s, double x, double y)
{
    const double eps = 1e-9;
    if (s.isLine) {
        double minX = std::min(s.x1, s.x2) - eps, maxX = std::max(s.x1, s.x2) + eps;
        double minY = std::min(s.y1, s.y2) - eps, maxY = std::max(s.y1, s.y2) + eps;
        return x >= minX && x <= maxX && y >= minY && y <= maxY;
    }
    if (!s.isArc) return true;
    return AngleOnArc(std::atan2(y - s.cy, x - s.cx), s.start, s.end, s.clockwise);
}

void LineCircle(const Shape& line, const Shape& circle, std::vector<Point2>& candidates)
{
    double dx = line.x2 - line.x1, dy = line.y2 - line.y1;
    double fx = line.x1 - circle.cx, fy = line.y1 - circle.cy;
    double a = dx * dx + dy * dy;
    if (a == 0.0) return;
    double b = 2.0 * (fx * dx + fy * dy);
    double c = fx * fx + fy * fy - circle.r * circle.r;
    double disc = b * b - 4 * a * c;
    if (disc < 0.0) return;
    double root = std::sqrt(disc);
    for (double t : {(-b - root) / (2 * a), (-b + root) / (2 * a)}) {
        candidates.push_back({line.x1 + t * dx, line.y1 + t * dy});
    }
}

}  // namespace

void Intersections(const Element& a, const Element& b, std::vector<Point2>& out)
{
    Shape sa, sb;
    if (!ShapeOf(a, sa) || !ShapeOf(b, sb)) return;
    std::vector<Point2> candidates;
    if (sa.isLine && sb.isLine) {
        double d = (sa.x2 - sa.x1) * (sb.y2 - sb.y1) - (sa.y2 - sa.y1) * (sb.x2 - sb.x1);
        if (std::fabs(d) < 1e-15) return;
        double t = ((sb.x1 - sa.x1) * (sb.y2 - sb.y1) - (sb.y1 - sa.y1) * (sb.x2 - sb.x1)) / d;
        candidates.push_back({sa.x1 + t * (sa.x2 - sa.x1), sa.y1 + t * (sa.y2 - sa.y1)});
    } else if (sa.isLine) {
        LineCircle(sa, sb, candidates);
    } else if (sb.isLine) {
        LineCircle(sb, sa, candidates);
    } else {
        double dx = sb.cx - sa.cx, dy = sb.cy - sa.cy;
        double d = std::hypot(dx, dy);
        if (d == 0.0 || d > sa.r + sb.r || d < std::fabs(sa.r - sb.r)) return;
        double along = (sa.r * sa.r - sb.r * sb.r + d * d) / (2 * d);
        double h = std::sqrt(std::max(0.0, sa.r * sa.r - along * along));
        double mx = sa.cx + along * dx / d, my = sa.cy + along * dy / d;
        candidates.push_back({mx + h * dy / d, my - h * dx / d});
        candidates.push_back({mx - h * dy / d, my + h * dx / d});
    }
    for (const Point2& p : candidates) {
        if (OnShape(sa, p.x, p.y) && OnShape(sb, p.x, p.y)) out.push_back(p);
    }
}

void GeometryLeaves(Element* element, std::vector<Element*>& out)
{
    if (element->members.empty()) {
        out.push_back(element);
        return;
    }
    for (Element* member : element->members) GeometryLeaves(member, out);
}

}  // namespace dravikdb
