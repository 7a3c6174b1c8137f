#include "GeometryRoutines.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/Dbcs.h"

namespace {

constexpr double kTwoPi = 2.0 * kGeoPi;
const char kInitSucceeded[] = "初期化成功";
const char kInitFailed[] = "初期化失敗";
const char kNotInitialised[] = "図形演算共通エリアが初期化されていない！";
const char kUnsupportedElement[] = "未対応要素！";
const char kZeroFactor[] = "指定された倍率が０である！";

struct ToleranceArea {
    double length = 0.0;
    double angle = 0.0;
    double third = 0.0;
    char marker[12] = {};
    GeometryError error = {};
};

ToleranceArea g_area;

bool Initialised() { return std::strcmp(g_area.marker, kInitSucceeded) == 0; }

// Fails a routine when the area is not initialised (code 100).
bool RequireInitialised(const char* routine)
{
    if (Initialised()) return true;
    RecordGeometryError(routine, 100, kNotInitialised);
    return false;
}

double ReadDouble(const void* record, int offset)
{
    double value;
    std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
    return value;
}

void WriteDouble(void* record, int offset, double value)
{
    std::memcpy(static_cast<uint8_t*>(record) + offset, &value, sizeof value);
}

uint16_t RecordType(const void* record)
{
    uint16_t type;
    std::memcpy(&type, record, sizeof type);
    return type;
}

void MovePoint(void* record, int offset, double dx, double dy)
{
    WriteDouble(record, offset, ReadDouble(record, offset) + dx);
    WriteDouble(record, offset + 8, ReadDouble(record, offset + 8) + dy);
}

void RotScalePoint(void* record, int offset, double cx, double cy, double cz, double angle, double factor)
{
    double point[2] = {ReadDouble(record, offset), ReadDouble(record, offset + 8)};
    VyPointRotScl(point, cx, cy, cz, angle, factor);
    WriteDouble(record, offset, point[0]);
    WriteDouble(record, offset + 8, point[1]);
}

void ScaleDouble(void* record, int offset, double factor)
{
    WriteDouble(record, offset, ReadDouble(record, offset) * factor);
}

// Adds the angle; a result of 2 pi or more loses 2 pi once.
void TurnAngle(void* record, int offset, double angle)
{
    double value = ReadDouble(record, offset) + angle;
    if (value >= kTwoPi) value -= kTwoPi;
    WriteDouble(record, offset, value);
}

}  // namespace

void RecordGeometryError(const char* routine, int code, const char* message)
{
    std::memset(&g_area.error, 0, sizeof g_area.error);
    DbcsCopy(g_area.error.routine, sizeof g_area.error.routine, routine);
    g_area.error.code = code;
    DbcsCopy(g_area.error.message, sizeof g_area.error.message, message);
}

const GeometryError& LastGeometryError() { return g_area.error; }

const char* GeometryInitMarker() { return g_area.marker; }

int VyCAL_INIT(const double* tolerances)
{
    RecordGeometryError("", 1, "");
    g_area.marker[0] = '\0';
    if (tolerances == nullptr) {
        RecordGeometryError("VyCAL_INIT", 101, "寸法許容誤差が範囲外！");
        DbcsCopy(g_area.marker, sizeof g_area.marker, kInitFailed);
        return 0;
    }
    if (!(tolerances[0] >= 0.0 && tolerances[0] <= 0.1)) {
        RecordGeometryError("VyCAL_INIT", 101, "寸法許容誤差が範囲外！");
        DbcsCopy(g_area.marker, sizeof g_area.marker, kInitFailed);
        return 0;
    }
    g_area.length = tolerances[0];
    if (!(tolerances[1] >= 0.0 && tolerances[1] <= 0.1)) {
        RecordGeometryError("VyCAL_INIT", 102, "角度許容誤差が範囲外！");
        DbcsCopy(g_area.marker, sizeof g_area.marker, kInitFailed);
        return 0;
    }
    g_area.angle = tolerances[1];
    g_area.third = 0.0;
    DbcsCopy(g_area.marker, sizeof g_area.marker, kInitSucceeded);
    return 1;
}

int VyCAL2PAR(double cx, double cy, double, double radius, double start, double end,
              double* startPoint, double* endPoint)
{
    if (startPoint) startPoint[0] = startPoint[1] = 0.0;
    if (endPoint) endPoint[0] = endPoint[1] = 0.0;
    if (!RequireInitialised("VyCAL2PAR")) return 0;
    if (!(radius > g_area.length)) {
        RecordGeometryError("VyCAL2PAR", 101, "円弧の半径がＥＰＳ以下である！");
        return 0;
    }
    const double e = g_area.angle;
    if (!(start >= -e && end >= -e && start <= kTwoPi + e && end <= kTwoPi + e)) {
        RecordGeometryError("VyCAL2PAR", 102, "円弧の始終角が範囲(0<=RAD<=2PAI)外である！");
        return 0;
    }
    const double sweep = end >= start ? end - start : end - start + kTwoPi;
    if (!(sweep > e)) {
        RecordGeometryError("VyCAL2PAR", 103, "円弧の始角と終角のなす角がＥＰＳ以下である！");
        return 0;
    }
    if (startPoint) {
        startPoint[0] = cx + radius * std::cos(start);
        startPoint[1] = cy + radius * std::sin(start);
    }
    if (endPoint) {
        endPoint[0] = cx + radius * std::cos(end);
        endPoint[1] = cy + radius * std::sin(end);
    }
    return 1;
}

int VyPointRotScl(double* point, double cx, double cy, double, double angle, double factor)
{
    if (!RequireInitialised("VyPointRotScl")) return 0;
    if (!(factor > g_area.length)) {
        RecordGeometryError("VyPointRotScl", 101, kZeroFactor);
        return 0;
    }
    const double dx = point[0] - cx;
    const double dy = point[1] - cy;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    point[0] = cx + factor * (c * dx - s * dy);
    point[1] = cy + factor * (s * dx + c * dy);
    return 1;
}

int VyCAL2DPP(double x1, double y1, double, double x2, double y2, double, double* distance)
{
    if (distance) *distance = 0.0;
    if (!RequireInitialised("VyCAL2DPP")) return 0;
    const double d = std::hypot(x2 - x1, y2 - y1);
    if (!(d > g_area.length)) {
        RecordGeometryError("VyCAL2DPP", 101, "指定された２点が同一である！");
        return 0;
    }
    if (distance) *distance = d;
    return 1;
}

int VyElemOffset(void* record, double dx, double dy)
{
    if (!RequireInitialised("VyElemOffset")) return 0;
    switch (RecordType(record)) {
    case 1:
    case 6:
    case 7:
        MovePoint(record, 33, dx, dy);
        MovePoint(record, 57, dx, dy);
        return 1;
    case 32:
        MovePoint(record, 57, dx, dy);
        return 1;
    case 2:
    case 3:
    case 4:
        MovePoint(record, 33, dx, dy);
        return 1;
    case 5:
        MovePoint(record, 112, dx, dy);
        return 1;
    default:
        RecordGeometryError("VyElemOffset", 101, kUnsupportedElement);
        return 0;
    }
}

int VyElemRotScl(void* record, double cx, double cy, double cz, double angle, double factor)
{
    if (!RequireInitialised("VyElemRotScl")) return 0;
    if (!(factor > g_area.length)) {
        RecordGeometryError("VyElemRotScl", 101, kZeroFactor);
        return 0;
    }
    switch (RecordType(record)) {
    case 1:
    case 6:
        RotScalePoint(record, 33, cx, cy, cz, angle, factor);
        RotScalePoint(record, 57, cx, cy, cz, angle, factor);
        return 1;
    case 2:
        RotScalePoint(record, 33, cx, cy, cz, angle, factor);
        return 1;
    case 3:
        RotScalePoint(record, 33, cx, cy, cz, angle, factor);
        ScaleDouble(record, 57, factor);
        return 1;
    case 4:
        RotScalePoint(record, 33, cx, cy, cz, angle, factor);
        ScaleDouble(record, 57, factor);
        TurnAngle(record, 65, angle);
        TurnAngle(record, 73, angle);
        return 1;
    case 5:
        RotScalePoint(record, 112, cx, cy, cz, angle, factor);
        TurnAngle(record, 30, angle);
        ScaleDouble(record, 14, factor);
        ScaleDouble(record, 22, factor);
        ScaleDouble(record, 46, factor);
        ScaleDouble(record, 62, factor);
        return 1;
    case 7:
        RotScalePoint(record, 33, cx, cy, cz, angle, factor);
        RotScalePoint(record, 57, cx, cy, cz, angle, factor);
        TurnAngle(record, 89, angle);
        TurnAngle(record, 97, angle);
        return 1;
    case 32:
        RotScalePoint(record, 57, cx, cy, cz, angle, factor);
        ScaleDouble(record, 33, factor);
        ScaleDouble(record, 41, factor);
        TurnAngle(record, 49, angle);
        return 1;
    default:
        RecordGeometryError("VyElemRotScl", 101, kUnsupportedElement);
        return 0;
    }
}

double NormalizeAngle(double angle)
{
    if (angle < -20.0 * kGeoPi || angle > 20.0 * kGeoPi) angle = std::atan2(std::sin(angle), std::cos(angle));
    while (angle < 0.0) angle += kTwoPi;
    while (angle >= kTwoPi) angle -= kTwoPi;
    return angle;
}

double SafeAtan2(double y, double x)
{
    const double ax = std::fabs(x);
    const double ay = std::fabs(y);
    if ((ax < 1e-15 && ay < 1e-15) || (ax > 1e100 && ay > 1e100)) return 0.0;
    if (ax < 1e-15) return y < 0.0 ? -kGeoPi / 2.0 : kGeoPi / 2.0;
    if (ay < 1e-15) return x < 0.0 ? kGeoPi : 0.0;
    return std::atan2(y, x);
}

double Atan2Exact(double x, double y)
{
    if (x == 0.0 && y == 0.0) return 0.0;
    if (x == 0.0 && y == 1.0) return kGeoPi / 2.0;
    if (x == -1.0 && y == 0.0) return kGeoPi;
    if (x == 0.0 && y == -1.0) return -kGeoPi / 2.0;
    return std::atan2(y, x);
}

double DirectionAngle(const GeoVector& p1, const GeoVector& p2)
{
    if (p1.x == p2.x && p1.y == p2.y) return 0.0;
    return SafeAtan2(p2.y - p1.y, p2.x - p1.x);
}

double Distance2D(const GeoVector& p1, const GeoVector& p2)
{
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    const double q = dx * dx + dy * dy;
    if (q < 1e-15) return 0.0;
    if (q > 1e100) return 1e50;
    return std::sqrt(q);
}

bool IsNotFinite(double value)
{
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return ((bits >> 52) & 0x7FF) == 0x7FF;
}

double EllipseParamAngle(double a, double b, double base, double angle)
{
    if (!(a > 0.0)) return 0.0;
    const double u = angle - base;
    if (std::cos(u) == 0.0) return base + u;
    return base + std::atan2(a * std::sin(u), b * std::cos(u));
}

void EllipseAxesFromRecord(const void* record, double* major, double* minor, GeoVector* direction)
{
    const GeoVector centre(ReadDouble(record, 33), ReadDouble(record, 41), 0.0);
    const GeoVector axisEnd(ReadDouble(record, 57), ReadDouble(record, 65), 0.0);
    const double ratio = ReadDouble(record, 81);
    double d = Distance2D(centre, axisEnd);
    if (d < 1e-9) d = 1e-9;
    double angle = DirectionAngle(centre, axisEnd);
    double majorRadius = d;
    double minorRadius = ratio * d;
    if (ratio > 1.0) {
        majorRadius = ratio * d;
        minorRadius = d;
        angle += kGeoPi / 2.0;
    }
    if (major) *major = majorRadius;
    if (minor) *minor = minorRadius;
    if (direction) *direction = GeoVector(std::cos(angle), std::sin(angle), 0.0);
}

GeoVector GetEllipsePointAt(const void* record, const GeoVector& v)
{
    const GeoVector unreachable(1e10, 1e10, 0.0);
    double major = 0.0;
    double minor = 0.0;
    GeoVector axis;
    EllipseAxesFromRecord(record, &major, &minor, &axis);
    const double t = Atan2Exact(axis.x, axis.y);
    const double p = EllipseParamAngle(major, minor, t, Atan2Exact(v.x, v.y)) - t;
    const double localX = major * std::cos(p);
    const double localY = minor * std::sin(p);

    // The frame: move the centre to the origin, then turn the axis onto the x axis.
    double c = axis.x;
    double s = axis.y;
    if (c == 0.0 && s == 0.0) c = 1.0;
    const double cx = ReadDouble(record, 33);
    const double cy = ReadDouble(record, 41);
    const double m[6] = {c, s, -s, c, -(c * cx + s * cy), -(-s * cx + c * cy)};
    for (double value : m) {
        if (IsNotFinite(value)) return unreachable;
    }
    if (IsNotFinite(localX) || IsNotFinite(localY)) return unreachable;
    // Solve m * (x, y) + (m[4], m[5]) = local.
    const double det = m[0] * m[3] - m[1] * m[2];
    if (det == 0.0) return unreachable;
    const double rx = localX - m[4];
    const double ry = localY - m[5];
    const double x = (rx * m[3] - m[1] * ry) / det;
    const double y = (m[0] * ry - rx * m[2]) / det;
    return GeoVector(x, y, 0.0);
}
