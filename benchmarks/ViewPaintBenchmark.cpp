// The view paint of a large drawing: 100,000 mixed elements (lines, arcs, circles, texts) in a
// 1920 x 1080 view, painted through the program's paint routine (draw block, engine draw,
// double buffer), beside a plain GDI loop that draws the same primitives with the same pens and
// font into the same kind of memory device context and copies it the same way (the limit).
//   scripts/run-test-exe <build folder> ViewPaintBenchmark [element count] [repaints] [kinds]
// kinds: a mask of the element kinds drawn (1 lines, 2 arcs, 4 circles, 8 texts; default 15).
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "BenchmarkSupport.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "drawing/CadDatabase.h"
#include "view/ViewCoordinates.h"
#include "view/ViewPaint.h"

using benchmark::Seconds;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr double kPi = 3.14159265358979323846;
constexpr int kCurveSegments = 72;  // the engine's segments per full curve
const char kText[] = "ABC123";

// One element as both painters see it.
struct Shape {
    int kind;  // 0 line, 1 arc, 2 circle, 3 text
    int colour;
    double x, y, size, start, end;
};

Shape MakeShape(int i, int kinds)
{
    Shape s;
    s.kind = i % 4;
    // Kinds left out of the mask become lines, so the element count stays.
    if ((kinds & (1 << s.kind)) == 0) s.kind = 0;
    s.colour = 1 + (i / 4) % 16;
    s.x = -200.0 + (i % 400);
    s.y = -140.0 + ((i / 400) % 280);
    s.size = 1.0 + (i % 7);
    s.start = (i % 12) * kPi / 6;
    s.end = s.start + kPi / 2;
    return s;
}

void Append(void* db, const Shape& s)
{
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.colour = static_cast<uint16_t>(s.colour);
    switch (s.kind) {
    case 0: {
        r.type = kElementLine;
        auto& l = reinterpret_cast<LineRecord&>(r);
        l.x1 = s.x, l.y1 = s.y, l.x2 = s.x + s.size * 3, l.y2 = s.y + s.size;
        break;
    }
    case 1: {
        r.type = kElementArc;
        auto& a = reinterpret_cast<ArcRecord&>(r);
        a.cx = s.x, a.cy = s.y, a.radius = s.size, a.startAngle = s.start, a.endAngle = s.end;
        break;
    }
    case 2: {
        r.type = kElementCircle;
        auto& c = reinterpret_cast<CircleRecord&>(r);
        c.cx = s.x, c.cy = s.y, c.radius = s.size, c.nz = 1;
        break;
    }
    default: {
        r.type = kElementText;
        auto& t = reinterpret_cast<TextRecord&>(r);
        t.x = s.x, t.y = s.y, t.height = 2.0, t.widthRatio = 1.0, t.text = kText, t.nz = 1;
        std::strcpy(t.font, "ＭＳ ゴシック");
        break;
    }
    }
    ZUriAppendElement(&r, db);
}

POINT Pixel(const ViewModeInfo& m, double x, double y)
{
    return {static_cast<LONG>(std::lround(kWidth / 2 + m.scale * (x + m.offsetX))),
            static_cast<LONG>(std::lround(kHeight / 2 - m.scale * (y + m.offsetY)))};
}

// The GDI calls of one shape, in pixels.
struct Primitive {
    int kind, colour;
    std::vector<POINT> points;
};

std::vector<Primitive> Primitives(const std::vector<Shape>& shapes, const ViewModeInfo& m)
{
    std::vector<Primitive> out;
    out.reserve(shapes.size());
    for (const Shape& s : shapes) {
        Primitive p{s.kind, s.colour, {}};
        if (s.kind == 0) {
            p.points = {Pixel(m, s.x, s.y), Pixel(m, s.x + s.size * 3, s.y + s.size)};
        } else if (s.kind == 1 || s.kind == 2) {
            const double start = s.kind == 1 ? s.start : 0.0, sweep = s.kind == 1 ? s.end - s.start : 2 * kPi;
            for (int k = 0; k <= kCurveSegments; ++k) {
                const double t = start + sweep * k / kCurveSegments;
                p.points.push_back(Pixel(m, s.x + s.size * std::cos(t), s.y + s.size * std::sin(t)));
            }
        } else {
            p.points = {Pixel(m, s.x, s.y)};
        }
        out.push_back(std::move(p));
    }
    return out;
}

void PaintWithGdi(HDC target, const std::vector<Primitive>& primitives, const COLORREF* colours, double textHeight)
{
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, kWidth, kHeight);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT all = {0, 0, kWidth, kHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HPEN pens[17];
    for (int i = 1; i <= 16; ++i) pens[i] = CreatePen(PS_SOLID, 1, colours[i]);
    LOGFONTA lf = {};
    lf.lfHeight = -static_cast<LONG>(std::lround(textHeight));
    lf.lfCharSet = SHIFTJIS_CHARSET;
    std::strcpy(lf.lfFaceName, "ＭＳ ゴシック");
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ oldPen = SelectObject(dc, pens[1]);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    for (const Primitive& p : primitives) {
        if (p.kind == 3) {
            SetTextColor(dc, colours[p.colour]);
            TextOutA(dc, p.points[0].x, p.points[0].y, kText, sizeof kText - 1);
        } else {
            SelectObject(dc, pens[p.colour]);
            Polyline(dc, p.points.data(), static_cast<int>(p.points.size()));
        }
    }
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    DeleteObject(font);
    for (int i = 1; i <= 16; ++i) DeleteObject(pens[i]);
    BitBlt(target, 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace

int main(int argc, char** argv)
{
    if (!benchmark::BindEngine()) return 1;
    const int count = benchmark::CountArgument(argc, argv, 100000);
    const int repaints = argc > 2 && std::atoi(argv[2]) > 0 ? std::atoi(argv[2]) : 10;
    const int kinds = argc > 3 && std::atoi(argv[3]) > 0 ? std::atoi(argv[3]) : 15;

    CCadDatabase database;
    database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    std::vector<Shape> shapes;
    shapes.reserve(count);
    for (int i = 0; i < count; ++i) {
        shapes.push_back(MakeShape(i, kinds));
        Append(database.engineDb, shapes.back());
    }
    database.mode0 = ViewModeInfo{0, 0, FitPaperScale(420, 297, kWidth - 60, kHeight - 60)};

    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP targetBitmap = CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ old = SelectObject(target, targetBitmap);
    const RECT client = {0, 0, kWidth, kHeight};

    RenderView(target, client, nullptr, &database, nullptr);  // warm-up
    double start = Seconds();
    for (int i = 0; i < repaints; ++i) RenderView(target, client, nullptr, &database, nullptr);
    const double viewSeconds = (Seconds() - start) / repaints;

    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, database.engineDb));
    COLORREF colours[17];
    for (int i = 0; i <= 16; ++i) colours[i] = RGB(info->colours[i].red, info->colours[i].green, info->colours[i].blue);
    const std::vector<Primitive> primitives = Primitives(shapes, database.mode0);
    const double textHeight = 2.0 * database.mode0.scale;
    PaintWithGdi(target, primitives, colours, textHeight);
    start = Seconds();
    for (int i = 0; i < repaints; ++i) PaintWithGdi(target, primitives, colours, textHeight);
    const double gdiSeconds = (Seconds() - start) / repaints;

    std::printf("view paint of %d elements in %d x %d: %.1f ms per repaint, %.1f repaints/s\n", count, kWidth, kHeight,
                viewSeconds * 1000, 1.0 / viewSeconds);
    std::printf("plain GDI loop (the limit):           %.1f ms per repaint, %.1f repaints/s\n", gdiSeconds * 1000,
                1.0 / gdiSeconds);
    std::printf("ratio view / GDI: %.2f (goal <= 1.3, >= 30 repaints/s)\n", viewSeconds / gdiSeconds);

    SelectObject(target, old);
    DeleteObject(targetBitmap);
    DeleteDC(target);
    ReleaseDC(nullptr, screen);
    return 0;
}
