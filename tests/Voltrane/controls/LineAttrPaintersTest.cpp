// The line-attribute painters, checked by pixels in a memory device context.
#include "GTest.h"

#include <string>

#include "PixelCanvas.h"
#include "controls/LineAttrPainters.h"
#include "controls/PointMarkerPicker.h"

namespace {

// White, with a black pen and brush selected.
class Canvas : public PixelCanvas {
public:
    Canvas(int w, int h) : PixelCanvas(w, h)
    {
        RECT r = {0, 0, w, h};
        FillRect(dc(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        m_oldPen = SelectObject(dc(), GetStockObject(BLACK_PEN));
        m_oldBrush = SelectObject(dc(), GetStockObject(BLACK_BRUSH));
    }
    ~Canvas()
    {
        SelectObject(dc(), m_oldPen);
        SelectObject(dc(), m_oldBrush);
    }
    bool Ink(int x, int y) const { return At(x, y) == 0; }
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
        for (int y = 0; y < height(); ++y) n += Ink(x, y) ? 1 : 0;
        return n;
    }

private:
    HGDIOBJ m_oldPen, m_oldBrush;
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

TEST(DrawLineEndMarkTest, TheOtherKindsOnBothSides)
{
    // The same band: x0 = 10, x1 = 110, cy = 20. On row cy, lineFrom and lineTo are inked and
    // lineTo + 2 is not; the mark has an inked pixel and, where another kind would differ, a
    // blank one.
    const struct {
        int kind, side;
        int lineFrom, lineTo;
        POINT mark, blank;
    } cases[] = {
        {4, 0, 14, 109, {11, 23}, {11, 17}},    // slash (10, 24)-(18, 16), line from 14
        {4, 1, 10, 106, {109, 17}, {109, 23}},  // slash (110, 16)-(102, 24), line to 105
        {6, 0, 18, 109, {14, 16}, {15, 20}},    // open circle around (14, 20), line from 18
        {6, 1, 10, 102, {106, 16}, {105, 20}},  // open circle around (106, 20), line to 101
        {7, 0, 14, 109, {14, 16}, {12, 20}},    // line from the circle's centre
        {7, 1, 10, 105, {106, 16}, {108, 20}},  // line to the circle's centre
        {9, 0, 10, 109, {22, 18}, {22, 22}},    // one stroke up to (28, 17)
        {9, 1, 10, 109, {98, 22}, {98, 18}},    // one stroke down to (92, 23)
        {10, 0, 10, 109, {20, 17}, {28, 17}},   // second line (10, 17)-(28, 17)
        {10, 1, 10, 109, {100, 23}, {100, 17}}, // second line (110, 23)-(92, 23)
        {11, 0, 10, 109, {28, 21}, {30, 22}},   // open triangle, base at 28, line through
        {11, 1, 10, 109, {92, 21}, {90, 22}},
        {12, 0, 28, 109, {28, 22}, {20, 20}},   // line stops at the base
        {12, 1, 10, 92, {92, 22}, {100, 20}},
        {13, 0, 14, 109, {10, 24}, {12, 18}},   // wave from L = 10, line from 14
        {13, 1, 10, 105, {102, 24}, {107, 20}}, // wave from L = 102, line to 105
    };
    for (const auto& c : cases) {
        Canvas canvas(130, 40);
        DrawLineEndMark(c.kind, c.side, canvas.dc(), 10, 10, 110, 30);
        const std::string at = std::to_string(c.kind) + "/" + std::to_string(c.side);
        EXPECT_TRUE(canvas.Ink(c.lineFrom, 20)) << at;
        EXPECT_TRUE(canvas.Ink(c.lineTo, 20)) << at;
        EXPECT_FALSE(canvas.Ink(c.lineTo + 2, 20)) << at;
        EXPECT_TRUE(canvas.Ink(c.mark.x, c.mark.y)) << at << " mark";
        EXPECT_FALSE(canvas.Ink(c.blank.x, c.blank.y)) << at << " blank";
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

// The attribute dialog's sample fields, painted into an item of 120 × 24 at (0, 0) on a
// dialog background; the canvas keeps a black pen selected, which outlines the swatch.
DRAWITEMSTRUCT SampleItem(HDC dc, bool selected)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_STATIC;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = selected ? ODS_SELECTED : 0;
    item.hDC = dc;
    item.rcItem = {0, 0, 120, 24};
    return item;
}

constexpr COLORREF kDialogBack = RGB(200, 210, 220);

TEST(AttrSampleTest, ColourSample)
{
    LineColorList list;
    FillLineColorRows(list);
    const struct {
        int number;
        bool numberShown;
        COLORREF swatch;
    } cases[] = {
        {2, true, DefaultColorPalette[1]},
        {256, true, DefaultColorPalette[255]},
        {0, true, RGB(0, 0, 0)},     // row -1: black
        {257, true, RGB(0, 0, 0)},   // beyond the list: black
        {-1, false, RGB(0, 0, 0)},
    };
    for (const auto& c : cases) {
        Canvas canvas(130, 30);
        DRAWITEMSTRUCT item = SampleItem(canvas.dc(), false);
        DrawColorSample(item, c.number, kDialogBack, list);
        EXPECT_EQ(canvas.At(0, 0), kDialogBack) << c.number;
        EXPECT_EQ(canvas.At(119, 23), kDialogBack) << c.number;
        EXPECT_EQ(canvas.At(125, 10), RGB(255, 255, 255)) << c.number << ": nothing outside the item";
        // The number left of the swatch, the outline, the fill.
        EXPECT_EQ(!canvas.All(0, 0, 30, 24, kDialogBack), c.numberShown) << c.number;
        EXPECT_TRUE(canvas.Ink(30, 2)) << c.number;
        EXPECT_TRUE(canvas.Ink(109, 20)) << c.number;
        EXPECT_EQ(canvas.At(29, 10), kDialogBack) << c.number;
        EXPECT_EQ(canvas.At(110, 10), kDialogBack) << c.number;
        EXPECT_TRUE(canvas.All(31, 3, 109, 20, c.swatch)) << c.number;
    }
}

TEST(AttrSampleTest, LineTypeSample)
{
    LineTypeList list;
    const char* lines[] = {"0,実線,0", "1,破線,2, 6.0, 1.5"};
    ParseLineTypeRows(list, lines, 2);
    ASSERT_EQ(list.rows.size(), 2u);
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const struct {
        int number;
        bool selected;
        bool drawn;
        const char* pattern;  // row 12 from x = 32, 'x' the line colour, '.' the background
        COLORREF line;
    } cases[] = {
        {0, false, true, "xxxxxxxxxxxxxxxxxxxx", RGB(0, 0, 0)},
        {1, false, true, "xxxxxxxxxxxx...xxxxx", RGB(0, 0, 0)},
        {1, true, true, "xxxxxxxxxxxx...xxxxx", window},
        {2, false, false, "", 0},   // the row count: nothing, not even the background
        {-1, false, false, "", 0},
    };
    for (const auto& c : cases) {
        Canvas canvas(130, 30);
        DRAWITEMSTRUCT item = SampleItem(canvas.dc(), c.selected);
        DrawLineTypeSample(item, c.number, kDialogBack, list);
        if (!c.drawn) {
            EXPECT_TRUE(canvas.All(0, 0, 130, 30, RGB(255, 255, 255))) << c.number;
            continue;
        }
        EXPECT_EQ(canvas.At(0, 23), kDialogBack) << c.number;
        EXPECT_FALSE(canvas.All(0, 0, 30, 24, kDialogBack)) << c.number << ": the number";
        std::string row;
        for (int x = 32; x < 52; ++x) row += canvas.At(x, 12) == c.line ? 'x' : canvas.At(x, 12) == kDialogBack ? '.' : '?';
        EXPECT_EQ(row, c.pattern) << c.number << (c.selected ? " selected" : "");
        EXPECT_EQ(canvas.At(31, 12), kDialogBack) << c.number;
        EXPECT_EQ(canvas.At(112, 12), kDialogBack) << c.number << ": the line ends 8 pixels inside";
        EXPECT_EQ(canvas.At(50, 5), kDialogBack) << c.number << ": one row only";
    }
}

}  // namespace
