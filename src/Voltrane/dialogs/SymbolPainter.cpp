#include "dialogs/SymbolPainter.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "EngineRecords.h"
#include "controls/LineAttrLists.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double GetDouble(const unsigned char* record, int offset)
{
    double value;
    std::memcpy(&value, record + offset, 8);
    return value;
}

// A drawing coordinate in device units; records hold no more than the cell they were scaled
// to, but a damaged one must not overflow GDI's int range.
int Device(double value)
{
    if (!(value > -1e6)) return -1000000;
    if (value > 1e6) return 1000000;
    return static_cast<int>(std::lround(value));
}

class Placer {
public:
    Placer(POINT origin, int ySign) : m_origin(origin), m_ySign(ySign) {}
    int X(double x) const { return Device(m_origin.x + x); }
    int Y(double y) const { return Device(m_origin.y + m_ySign * y); }
    int YSign() const { return m_ySign; }

private:
    POINT m_origin;
    int m_ySign;
};

void DrawEllipse(HDC dc, const unsigned char* r, const Placer& at)
{
    const double cx = GetDouble(r, 33), cy = GetDouble(r, 41);
    const double ax = GetDouble(r, 57), ay = GetDouble(r, 65);
    const double ratio = GetDouble(r, 81);
    const double major = std::hypot(ax, ay);
    if (!(major > 0) || !std::isfinite(ratio)) return;
    const double c = ax / major, s = ay / major;
    const double minor = major * ratio;
    POINT points[65];
    for (int i = 0; i <= 64; ++i) {
        const double t = 2 * kPi * i / 64;
        const double u = major * std::cos(t), v = minor * std::sin(t);
        points[i].x = at.X(cx + u * c - v * s);
        points[i].y = at.Y(cy + u * s + v * c);
    }
    Polyline(dc, points, 65);
}

void DrawTextRecord(HDC dc, const unsigned char* r, const Placer& at)
{
    uint32_t pointer = 0;
    std::memcpy(&pointer, r + 136, 4);
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(pointer));
    if (text == nullptr || text[0] == '\0') return;
    const double height = GetDouble(r, 46);
    const double ratio = GetDouble(r, 54);
    int pixels = Device(std::fabs(height));
    if (pixels < 1) pixels = 1;
    if (pixels > 500) pixels = 500;
    int width = ratio > 0 && ratio < 10 ? Device(pixels * ratio / 2) : 0;
    HFONT font = CreateFontA(-pixels, width, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック");
    HGDIOBJ old = SelectObject(dc, font);
    // The position is the text's lower left corner; with y left to the mapping, "lower" is the
    // mapping's.
    const UINT align = SetTextAlign(dc, at.YSign() < 0 ? (TA_LEFT | TA_BOTTOM) : (TA_LEFT | TA_TOP));
    const int mode = SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, at.X(GetDouble(r, 112)), at.Y(GetDouble(r, 120)) + (at.YSign() < 0 ? 0 : pixels), text,
             static_cast<int>(std::strlen(text)));
    SetBkMode(dc, mode);
    SetTextAlign(dc, align);
    SelectObject(dc, old);
    DeleteObject(font);
}

void DrawRecord(HDC dc, const unsigned char* r, const Placer& at)
{
    uint16_t type = 0;
    std::memcpy(&type, r, 2);
    switch (type) {
    case 1:
        MoveToEx(dc, at.X(GetDouble(r, 33)), at.Y(GetDouble(r, 41)), nullptr);
        LineTo(dc, at.X(GetDouble(r, 57)), at.Y(GetDouble(r, 65)));
        break;
    case 2: {
        const int x = at.X(GetDouble(r, 33)), y = at.Y(GetDouble(r, 41));
        MoveToEx(dc, x - 2, y, nullptr);
        LineTo(dc, x + 3, y);
        MoveToEx(dc, x, y - 2, nullptr);
        LineTo(dc, x, y + 3);
        break;
    }
    case 3: {
        const double cx = GetDouble(r, 33), cy = GetDouble(r, 41), radius = std::fabs(GetDouble(r, 57));
        Arc(dc, at.X(cx - radius), at.Y(cy + radius), at.X(cx + radius), at.Y(cy - radius), at.X(cx + radius),
            at.Y(cy), at.X(cx + radius), at.Y(cy));
        break;
    }
    case 4: {
        const double cx = GetDouble(r, 33), cy = GetDouble(r, 41), radius = std::fabs(GetDouble(r, 57));
        const double start = GetDouble(r, 65), end = GetDouble(r, 73);
        // Angles run counter-clockwise from the start point to the end point.
        const int dir = SetArcDirection(dc, AD_COUNTERCLOCKWISE);
        Arc(dc, at.X(cx - radius), at.Y(cy + radius), at.X(cx + radius), at.Y(cy - radius),
            at.X(cx + radius * std::cos(start)), at.Y(cy + radius * std::sin(start)),
            at.X(cx + radius * std::cos(end)), at.Y(cy + radius * std::sin(end)));
        SetArcDirection(dc, dir);
        break;
    }
    case 5: DrawTextRecord(dc, r, at); break;
    case 6: DrawEllipse(dc, r, at); break;
    default: break;
    }
}

}  // namespace

SymbolPen SymbolPenFor(int lineType, int lineWidth)
{
    int style = PS_SOLID;
    switch (lineType) {
    case 1: style = PS_DOT; break;
    case 2: case 3: case 4: case 9: style = PS_DASH; break;
    case 5: case 6: case 11: case 12: style = PS_DASHDOT; break;
    case 7: case 8: case 10: case 13: case 14: case 15: style = PS_DASHDOTDOT; break;
    default: break;
    }
    int width = 1;
    if (lineWidth == 1 || lineWidth == 8) width = 2;
    if (lineWidth == 2) width = 4;
    // GDI draws styled lines only one pixel wide.
    if (style != PS_SOLID) width = 1;
    return {style, width};
}

COLORREF SymbolColour(int number)
{
    if (number < 1 || number > 256) return RGB(0, 0, 0);
    return DefaultColorPalette[number - 1];
}

void PaintSymbolRecords(HDC dc, const unsigned char* records, size_t count, POINT origin, int ySign)
{
    if (dc == nullptr || records == nullptr) return;
    const Placer at(origin, ySign < 0 ? -1 : 1);
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* r = records + i * kElementRecordSize;
        uint16_t colour = 0;
        std::memcpy(&colour, r + 11, 2);
        uint16_t type = 0;
        std::memcpy(&type, r, 2);
        // A text record's byte 13 is its basis point.
        const SymbolPen look = SymbolPenFor(type == 5 ? 0 : r[13], r[14]);
        HPEN pen = CreatePen(look.style, look.width, SymbolColour(colour));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        const COLORREF oldText = SetTextColor(dc, SymbolColour(colour));
        DrawRecord(dc, r, at);
        SetTextColor(dc, oldText);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }
}
