// The line-attribute painters, checked by pixels in a memory device context.
#include "GTest.h"

#include <string>

#include "controls/LineAttrPainters.h"
#include "controls/PointMarkerPicker.h"

namespace {

class Canvas {
public:
    Canvas(int w, int h) : m_w(w), m_h(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT r = {0, 0, w, h};
        FillRect(m_dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        m_oldPen = SelectObject(m_dc, GetStockObject(BLACK_PEN));
        m_oldBrush = SelectObject(m_dc, GetStockObject(BLACK_BRUSH));
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_oldPen);
        SelectObject(m_dc, m_oldBrush);
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC dc() const { return m_dc; }
    bool Ink(int x, int y) const { return GetPixel(m_dc, x, y) == 0; }
    // The row's inked pixels as '#' and '.', from x0 to x1 exclusive.
    std::string Row(int y, int x0, int x1) const
    {
        std::string s;
        for (int x = x0; x < x1; ++x) s += Ink(x, y) ? '#' : '.';
        return s;
    }
    int InkedRows(int x) const
    {
        int n = 0;
        for (int y = 0; y < m_h; ++y) n += Ink(x, y) ? 1 : 0;
        return n;
    }

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old, m_oldPen, m_oldBrush;
};

TEST(DrawLineEndMarkTest, KindsAndSides)
{
    // Band 10..110 × 10..30: cy = 20. Probes: where the line starts or ends and a mark pixel.
    const struct {
        int kind, side;
        int lineFrom, lineTo;  // first and last inked x on row cy
        int markX, markY;      // a pixel of the mark
    } cases[] = {
        {0, 0, 10, 109, -1, -1},  {14, 1, 10, 109, -1, -1}, {99, 0, 10, 109, -1, -1},
        {2, 0, 10, 109, 14, 17},  {2, 1, 10, 109, 105, 23}, {3, 0, 10, 109, 10, 16},
        {3, 1, 10, 110, 110 - 8, 16}, {8, 0, 10, 109, 13, 18}, {8, 1, 10, 109, 106, 22},
        {5, 0, 10, 109, 26, 20},  {1, 0, 10, 109, 20, 22},  {1, 1, 10, 109, 100, 18},
    };
    for (const auto& c : cases) {
        Canvas canvas(130, 40);
        DrawLineEndMark(c.kind, c.side, canvas.dc(), 10, 10, 110, 30);
        EXPECT_TRUE(canvas.Ink(c.lineFrom, 20)) << c.kind << "/" << c.side;
        EXPECT_TRUE(canvas.Ink(c.lineTo, 20)) << c.kind << "/" << c.side;
        EXPECT_FALSE(canvas.Ink(c.lineTo + 2, 20)) << c.kind << "/" << c.side;
        if (c.markX >= 0) EXPECT_TRUE(canvas.Ink(c.markX, c.markY)) << c.kind << "/" << c.side;
        if (c.markX < 0) EXPECT_EQ(canvas.InkedRows(60), 1) << c.kind;  // only the line
    }
}

TEST(DrawLineEndMarkTest, FilledCircleOnTheEndSide)
{
    Canvas canvas(130, 40);
    DrawLineEndMark(2, 1, canvas.dc(), 0, 10, 100, 30);
    // Ellipse box (92, 16, 100, 24); the line runs to 96.
    EXPECT_TRUE(canvas.Ink(96, 20));
    EXPECT_TRUE(canvas.Ink(93, 20));
    EXPECT_FALSE(canvas.Ink(91, 12));
    EXPECT_FALSE(canvas.Ink(101, 20));
}

TEST(DashPatternTest, Walks)
{
    const struct {
        const char* name;
        int count;
        double dashes[4];
        const char* row;  // pixels 0..29
    } cases[] = {
        {"solid", 0, {}, "##############################"},
        {"negative count draws solid", -3, {6, 1.5}, "##############################"},
        {"dash 6 gap 1.5", 2, {6.0, 1.5}, "############...############..."},
        {"dots", 2, {0.25, 1.5}, "#...#...#...#...#...#...#...#."},
    };
    for (const auto& c : cases) {
        Canvas canvas(40, 10);
        LineTypeRow row;
        row.dashCount = c.count;
        for (int i = 0; i < 4; ++i) row.dashes[i] = c.dashes[i];
        DrawDashPattern(canvas.dc(), row, 0, 0, 30, 5);
        EXPECT_EQ(canvas.Row(5, 0, 30), c.row) << c.name;
    }
}

TEST(DashPatternTest, ZeroDashesEndAfterFiveHundredPasses)
{
    Canvas canvas(3000, 4);
    LineTypeRow row;
    row.dashCount = 2;  // both 0 mm: one pixel each
    DrawDashPattern(canvas.dc(), row, 0, 0, 2900, 2);
    EXPECT_TRUE(canvas.Ink(0, 2));
    EXPECT_FALSE(canvas.Ink(1, 2));
    EXPECT_TRUE(canvas.Ink(998, 2));
    EXPECT_FALSE(canvas.Ink(1000, 2));  // 500 passes of 2 pixels
}

TEST(ThickLineTest, RowsByWidth)
{
    const struct {
        double mm;
        int rows;
    } cases[] = {{0.13, 1}, {0.3, 2}, {1.0, 4}};
    for (const auto& c : cases) {
        Canvas canvas(20, 20);
        DrawThickLine(0, 10, WidthThickness(c.mm), canvas.dc(), 2, 15);
        EXPECT_EQ(canvas.InkedRows(5), c.rows) << c.mm;
    }
    EXPECT_EQ(DashPixels(6.0), 12);
    EXPECT_EQ(DashPixels(1.5), 3);
    EXPECT_EQ(DashPixels(-2.0), 1);
}

TEST(PointMarkerTest, NamesAndSymbols)
{
    const char* names[] = {"X", "asterisk", "circle", "dot", "plus", "square", "triangle"};
    for (int k = 0; k < 7; ++k) EXPECT_STREQ(PointMarkerName(k), names[k]);
    EXPECT_STREQ(PointMarkerName(9), "X");
    Canvas canvas(40, 40);
    DrawPointMarker(canvas.dc(), 4, 10, 10, 30, 30);  // plus at (20, 20)
    EXPECT_TRUE(canvas.Ink(16, 20));
    EXPECT_TRUE(canvas.Ink(20, 24));
    EXPECT_FALSE(canvas.Ink(25, 20));
}

}  // namespace
