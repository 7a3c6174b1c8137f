#include "controls/LineAttrPainters.h"

#include <cmath>

namespace {

void Stroke(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void Circle(HDC dc, int cx, int cy, float startAngle)
{
    const double radians = startAngle * 3.14159265358979 / 180.0;
    MoveToEx(dc, cx + static_cast<int>(4 * cos(radians)), cy, nullptr);
    AngleArc(dc, cx, cy, 4, startAngle, 360.0f);
}

void TriangleShape(HDC dc, POINT a, POINT b, POINT c)
{
    POINT p[] = {a, b, c};
    Polygon(dc, p, 3);
}

}  // namespace

int DashPixels(double mm)
{
    const int n = static_cast<int>(2.0 * (mm + 0.4));
    return n < 1 ? 1 : n;
}

int WidthThickness(double mm) { return static_cast<int>(mm / 0.3); }

void DrawLineEndMark(int kind, int side, HDC dc, int left, int top, int right, int bottom)
{
    const int cy = top + (bottom - top) / 2;
    const int x0 = left, x1 = right;
    const bool start = side == 0;
    // s: the mark's end; d: the direction into the line.
    const int s = start ? x0 : x1;
    const int d = start ? 1 : -1;
    auto line = [&](int shortenBy) {
        if (start) Stroke(dc, x0 + shortenBy, cy, x1, cy);
        else Stroke(dc, x0, cy, x1 - shortenBy, cy);
    };
    switch (kind) {
    case 1:
        line(0);
        Stroke(dc, s, cy, s + d * 18, cy + 3 * d);
        Stroke(dc, s, cy, s + d * 18, cy - 3 * d);
        break;
    case 2:
        line(4);
        if (start) Ellipse(dc, x0, cy - 4, x0 + 8, cy + 4);
        else Ellipse(dc, x1 - 8, cy - 4, x1, cy + 4);
        break;
    case 3: {
        line(8);
        const int a = start ? x0 : x1 - 8, b = start ? x0 + 8 : x1;
        POINT p[] = {{a, cy - 4}, {b, cy - 4}, {b, cy + 4}, {a, cy + 4}, {a, cy - 4}};
        Polyline(dc, p, 5);
        break;
    }
    case 4:
        line(4);
        if (start) Stroke(dc, x0, cy + 4, x0 + 8, cy - 4);
        else Stroke(dc, x1, cy - 4, x1 - 8, cy + 4);
        break;
    case 5:
        line(9);
        TriangleShape(dc, {s, cy}, {s + d * 18, cy - 3}, {s + d * 18, cy + 3});
        break;
    case 6:
        line(8);
        Circle(dc, start ? x0 + 4 : x1 - 4, cy, start ? 0.0f : 180.0f);
        break;
    case 7:
        line(4);
        Circle(dc, start ? x0 + 4 : x1 - 4, cy, start ? 0.0f : 180.0f);
        break;
    case 8: {
        line(4);
        const int a = start ? x0 : x1 - 8;
        RECT r = {a, cy - 4, a + 8, cy + 4};
        HBRUSH brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
        FillRect(dc, &r, brush);
        break;
    }
    case 9:
        line(0);
        Stroke(dc, s, cy, s + d * 18, cy - 3 * d);
        break;
    case 10:
        line(0);
        Stroke(dc, s, cy - 3 * d, s + d * 18, cy - 3 * d);
        break;
    case 11:
        line(0);
        Stroke(dc, s, cy, s + d * 18, cy + 3 * d);
        Stroke(dc, s, cy, s + d * 18, cy - 3 * d);
        Stroke(dc, s + d * 18, cy - 3, s + d * 18, cy + 3);
        break;
    case 12: {
        line(18);
        POINT p[] = {{s, cy}, {s + d * 18, cy - 3}, {s + d * 18, cy + 3}, {s, cy}};
        Polyline(dc, p, 4);
        break;
    }
    case 13: {
        line(4);
        const int L = start ? x0 : x1 - 8;
        POINT p[] = {{L, cy + 4}, {L + 3, cy + 3}, {L + 3, cy + 2}, {L + 3, cy + 2}, {L + 4, cy + 1},
                     {L + 4, cy - 1}, {L + 5, cy - 2}, {L + 5, cy - 3}, {L + 8, cy - 4}, {L + 9, cy - 4}};
        Polyline(dc, p, 10);
        break;
    }
    default:
        line(0);
        break;
    }
}

void DrawDashWalk(HDC dc, int dashCount, const double* dashes, int left, int right, int y)
{
    // A negative count is taken as solid, like 0.
    if (dashCount <= 0 || dashes == nullptr) {
        Stroke(dc, left, y, right, y);
        return;
    }
    const int n = dashCount > kMaxDashes ? kMaxDashes : dashCount;
    int x = left;
    for (int pass = 0; pass < 500 && x < right; ++pass) {
        for (int i = 0; i < n; ++i) {
            const int len = DashPixels(dashes[i]);
            if (i % 2 == 0) {
                MoveToEx(dc, x, y, nullptr);
                x += len;
                LineTo(dc, x < right ? x : right, y);
            } else {
                x += len;
                if (x > right) return;
            }
        }
    }
}

void DrawDashPattern(HDC dc, const LineTypeRow& row, COLORREF colour, int left, int right, int y)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    DrawDashWalk(dc, row.dashCount, row.dashes, left, right, y);
    SelectObject(dc, old);
    DeleteObject(pen);
}

void DrawThickRows(HDC dc, int y, int thickness, int left, int right)
{
    if (thickness < 0) return;
    if (thickness == 0) {
        Stroke(dc, left, y, right, y);
        return;
    }
    const int first = y - thickness / 2 - 1;
    for (int row = first; row <= first + thickness; ++row) Stroke(dc, left, row, right, row);
}

void DrawThickLine(COLORREF colour, int y, int thickness, HDC dc, int left, int right)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    DrawThickRows(dc, y, thickness, left, right);
    SelectObject(dc, old);
    DeleteObject(pen);
}

namespace {

void FillBackground(const DRAWITEMSTRUCT& item, COLORREF background)
{
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(item.hDC, &item.rcItem, brush);
    DeleteObject(brush);
}

void SampleNumber(HDC dc, int x, int y, int number)
{
    char text[16];
    const int length = wsprintfA(text, "%3ld", static_cast<long>(number));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    TextOutA(dc, x, y, text, length);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

}  // namespace

void DrawColorSample(const DRAWITEMSTRUCT& item, int number, COLORREF background, const LineColorList& list)
{
    const RECT& rc = item.rcItem;
    FillBackground(item, background);
    if (number >= 0) SampleNumber(item.hDC, rc.left + 2, rc.top + 4, number);
    HBRUSH brush = CreateSolidBrush(GetLineColor(list, number - 1));
    HGDIOBJ old = SelectObject(item.hDC, brush);
    Rectangle(item.hDC, rc.left + 30, rc.top + 2, rc.right - 10, rc.bottom - 3);
    SelectObject(item.hDC, old);
    DeleteObject(brush);
}

void DrawLineTypeSample(const DRAWITEMSTRUCT& item, int number, COLORREF background, const LineTypeList& list)
{
    // A negative number is outside the rows as much as one past the last.
    if (number < 0 || number >= static_cast<int>(list.rows.size())) return;
    const RECT& rc = item.rcItem;
    FillBackground(item, background);
    SampleNumber(item.hDC, rc.left + 2, rc.top + 2, number);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    DrawDashPattern(item.hDC, list.rows[static_cast<size_t>(number)], selected ? GetSysColor(COLOR_WINDOW) : RGB(0, 0, 0),
                    rc.left + 32, rc.right - 8, (rc.top + rc.bottom) / 2);
}
