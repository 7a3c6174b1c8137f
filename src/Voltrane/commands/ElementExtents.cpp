#include "commands/ElementExtents.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "commands/ElementServiceSite.h"
#include "MemoryProbe.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = kTwoPi / 2;

template <typename T>
T As(const ElementRecord& record)
{
    T typed;
    std::memcpy(&typed, &record, sizeof typed);
    return typed;
}

struct BoxBuilder {
    bool any = false;
    SearchBox box{};
    void Add(double x, double y)
    {
        if (!any) {
            box = SearchBox{x, y, x, y};
            any = true;
            return;
        }
        box.left = std::min(box.left, x);
        box.right = std::max(box.right, x);
        box.top = std::max(box.top, y);
        box.bottom = std::min(box.bottom, y);
    }
    void Add(const SearchBox& other)
    {
        Add(other.left, other.top);
        Add(other.right, other.bottom);
    }
};

bool Finite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// The angle brought into [0, 2π) in one step, whatever its size.
double Reduce(double angle)
{
    double r = std::fmod(angle, kTwoPi);
    if (r < 0) r += kTwoPi;
    return r;
}

bool Contains(double lo, double hi, double c) { return lo <= c && hi >= c; }

void Rotate(double& x, double& y, double s, double a, double ox, double oy, double px, double py)
{
    const double dx = x - ox, dy = y - oy;
    const double nx = s * (std::cos(a) * dx - std::sin(a) * dy) + px;
    const double ny = s * (std::sin(a) * dx + std::cos(a) * dy) + py;
    x = nx;
    y = ny;
}

double EllipseParameter(double theta, double rotation, double a, double b)
{
    const double u = 16 * std::cos(theta - rotation);
    const double v = 16 * std::sin(theta - rotation);
    if (std::fabs(u) < 0.0001) return v < 0 ? 4.71238898038469 : kPi / 2;
    if (std::fabs(v) < 0.0001) return u < 0 ? kPi : 0.0;
    return std::atan2(a * v, b * u);
}

}  // namespace

int GetArcExtent(const ElementRecord& record, SearchBox* box)
{
    const ArcRecord arc = As<ArcRecord>(record);
    if (!Finite({arc.cx, arc.cy, arc.radius, arc.startAngle, arc.endAngle})) return 0;
    // Both angles are first brought into one turn, so the sweep below is found in one step.
    double s = Reduce(arc.startAngle), e = Reduce(arc.endAngle);
    double lo, hi;
    if (arc.clockwise != 0) {
        if (e > s) s += kTwoPi;
        lo = e, hi = s;
    } else {
        if (s > e) e += kTwoPi;
        lo = s, hi = e;
    }
    while (lo >= kTwoPi) lo -= kTwoPi, hi -= kTwoPi;
    while (lo < 0) lo += kTwoPi, hi += kTwoPi;
    const double cx = arc.cx, cy = arc.cy, r = arc.radius;
    box->right = Contains(lo, hi, 0) || Contains(lo, hi, kTwoPi) ? cx + r : cx + r * std::max(std::cos(lo), std::cos(hi));
    box->top = Contains(lo, hi, kPi / 2) || Contains(lo, hi, 5 * kPi / 2) ? cy + r
                                                                           : cy + r * std::max(std::sin(lo), std::sin(hi));
    box->left = Contains(lo, hi, kPi) || Contains(lo, hi, 3 * kPi) ? cx - r : cx + r * std::min(std::cos(lo), std::cos(hi));
    box->bottom = Contains(lo, hi, 3 * kPi / 2) || Contains(lo, hi, 7 * kPi / 2)
                      ? cy - r
                      : cy + r * std::min(std::sin(lo), std::sin(hi));
    return 1;
}

int GetEllipseExtent(const ElementRecord& record, SearchBox* box)
{
    const EllipticArcRecord el = As<EllipticArcRecord>(record);
    const bool partial = record.type == kElementEllipticArc;
    if (!Finite({el.cx, el.cy, el.ax, el.ay, el.ratio}) || (partial && !Finite({el.startAngle, el.endAngle}))) return 0;
    const double a = std::hypot(el.ax - el.cx, el.ay - el.cy);
    const double rotation = std::atan2(el.ay - el.cy, el.ax - el.cx);
    const double b = a * el.ratio;
    double start = 0, end = kTwoPi;
    if (partial) {
        start = EllipseParameter(el.startAngle, rotation, a, b);
        end = EllipseParameter(el.endAngle, rotation, a, b);
        if (el.swapped == 1) std::swap(start, end);
        if (end < start) end += kTwoPi;
        if (start < 0) start += kTwoPi, end += kTwoPi;
        if (start > kTwoPi) start -= kTwoPi, end -= kTwoPi;
        if (end > start + kTwoPi) end -= kTwoPi;
    }
    BoxBuilder builder;
    auto sample = [&](double t) {
        builder.Add(el.cx + std::cos(rotation) * a * std::cos(t) - std::sin(rotation) * b * std::sin(t),
                    el.cy + std::sin(rotation) * a * std::cos(t) + std::cos(rotation) * b * std::sin(t));
    };
    // At most one turn (63 samples): the range was brought below 2π above.
    for (int i = 0; start + 0.1 * i < end && i < 64; ++i) sample(start + 0.1 * i);
    sample(end);
    *box = builder.box;
    return 1;
}

int GetPlacedTextOutline(TextOutlineCorner* corners, const ElementRecord& text, double dx, double dy, double angle,
                         double scale, double originX, double originY)
{
    TextRecord placed = As<TextRecord>(text);
    Rotate(placed.x, placed.y, scale, angle, originX, originY, dx, dy);
    placed.angle += angle;
    placed.length1 *= scale;
    placed.length2 *= scale;
    placed.height *= scale;
    placed.spacing *= scale;
    DicParamBlock request{};
    request.pointer334 = &placed;
    request.pointer338 = corners;
    return ZUriDicFunction(kDicTextOutline, &request);
}

int GetTextExtent(const ElementRecord& record, SearchBox* box)
{
    TextOutlineCorner corners[4] = {};
    if (!GetPlacedTextOutline(corners, record, 0, 0, 0, 1, 0, 0)) return 0;
    BoxBuilder builder;
    for (const TextOutlineCorner& c : corners) builder.Add(c.x, c.y);
    *box = builder.box;
    return 1;
}

int GetElementExtent(HWND view, void* database, void* element, SearchBox* box)
{
    if (box == nullptr || IsBadWriteMemory(box, sizeof *box)) return 0;
    *box = SearchBox{};
    if (view != nullptr) database = GetElementServiceSite().ViewDatabase(view);
    ElementRecord record;
    if (element == nullptr || database == nullptr || ZUriReadElement(element, 0, &record, database) != element)
        return 0;
    switch (record.type) {
    case kElementLine:
    case kElementImage:
    case kElementViewport: {
        const LineRecord line = As<LineRecord>(record);
        if (!Finite({line.x1, line.y1, line.x2, line.y2})) return 0;
        BoxBuilder b;
        b.Add(line.x1, line.y1);
        b.Add(line.x2, line.y2);
        *box = b.box;
        return 1;
    }
    case kElementPoint: {
        const PointRecord p = As<PointRecord>(record);
        if (!Finite({p.x, p.y})) return 0;
        *box = SearchBox{p.x, p.y, p.x, p.y};
        return 1;
    }
    case kElementCircle: {
        const CircleRecord c = As<CircleRecord>(record);
        if (!Finite({c.cx, c.cy, c.radius})) return 0;
        *box = SearchBox{c.cx - c.radius, c.cy + c.radius, c.cx + c.radius, c.cy - c.radius};
        return 1;
    }
    case kElementArc: return GetArcExtent(record, box);
    case kElementText: return GetTextExtent(record, box);
    case kElementEllipse:
    case kElementEllipticArc: return GetEllipseExtent(record, box);
    case kElementGroup:
    case kElementComposite: {
        BoxBuilder b;
        const int count = ZUriGetMemberNum(element, database);
        int remaining = count;
        for (void* m = ZUriReadFirstMember(element, nullptr, database); m != nullptr && remaining > 0;
             m = ZUriReadNextMember(m, nullptr, database)) {
            const auto* node = static_cast<const EngineNode*>(m);
            if (IsCompositeType(node->record.type)) {
                remaining += node->memberCount;
            } else {
                SearchBox part{};
                if (GetElementExtent(nullptr, database, m, &part)) b.Add(part);
            }
            --remaining;
        }
        *box = b.box;
        return 1;
    }
    case kElementFigureReference: {
        const FigureReferenceRecord ref = As<FigureReferenceRecord>(record);
        void* header = ZUriGetFgroupHeaderIdx(element, database);
        ElementRecord headerRecord;
        // A missing header gives no box rather than one read from nowhere.
        if (header == nullptr || ZUriReadFgroupElement(header, &headerRecord, database) == nullptr) return 0;
        const FigureHeaderRecord h = As<FigureHeaderRecord>(headerRecord);
        if (!Finite({ref.scaleX, ref.angle, ref.x, ref.y, h.left, h.top, h.right, h.bottom})) return 0;
        BoxBuilder b;
        const double corners[4][2] = {{h.left, h.top}, {h.left, h.bottom}, {h.right, h.bottom}, {h.right, h.top}};
        for (const auto& c : corners) {
            double x = c[0], y = c[1];
            Rotate(x, y, ref.scaleX, ref.angle, h.originX, h.originY, ref.x, ref.y);
            b.Add(x, y);
        }
        *box = b.box;
        return 1;
    }
    default: return 0;
    }
}
