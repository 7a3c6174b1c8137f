#include "GTest.h"

#include "EngineFixture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A text record: basis point `basis` at (x, y), width ratio 1, no spacing.
TextRecord MakeText(const char* text, const char* font, double height, int basis = 3, double x = 0, double y = 0)
{
    TextRecord t{};
    SetHeader(t.header, kElementText);
    t.header[13] = static_cast<uint8_t>(basis);
    t.height = height;
    t.widthRatio = 1.0;
    std::strncpy(t.font, font, sizeof t.font - 1);
    t.x = x;
    t.y = y;
    t.text = text;
    return t;
}

struct Box {
    int answer;
    double width, height;
};

Box Measure(const TextRecord& text)
{
    DicParamBlock block{};
    block.pointer334 = const_cast<TextRecord*>(&text);
    block.real294 = block.real302 = -7.0;
    int answer = ZUriDicFunction(kDicTextExtent, &block);
    return {answer, block.real294, block.real302};
}

struct Outline {
    int answer = 0;
    TextOutlineCorner corners[4] = {};
};

Outline OutlineOf(const TextRecord& text)
{
    Outline out;
    DicParamBlock request{};
    request.pointer334 = const_cast<TextRecord*>(&text);
    request.pointer338 = out.corners;
    out.answer = ZUriDicFunction(kDicTextOutline, &request);
    return out;
}

struct Segment {
    double x1, y1, x2, y2;
};

// Runs a whole stroke request; -1 when phase 0 refused the text.
int StrokeAll(const TextRecord& text, std::vector<Segment>& out)
{
    DicParamBlock block{};
    block.arg8 = kStrokePhaseStart;
    block.pointer334 = const_cast<TextRecord*>(&text);
    if (ZUriDicFunction(kDicTextStrokes, &block) != 1) return -1;
    block.arg8 = kStrokePhaseNext;
    while (ZUriDicFunction(kDicTextStrokes, &block) != 0) {
        out.push_back({block.real294, block.real302, block.real310, block.real318});
        ++block.arg12;
        if (block.arg12 > 100000) break;
    }
    block.arg8 = kStrokePhaseEnd;
    return ZUriDicFunction(kDicTextStrokes, &block);
}

// A point in the frame of an outline: distance along the bottom edge and up the left edge.
void InFrame(const Outline& o, double x, double y, double& u, double& v)
{
    const double ex = o.corners[1].x - o.corners[0].x, ey = o.corners[1].y - o.corners[0].y;
    const double fx = o.corners[3].x - o.corners[0].x, fy = o.corners[3].y - o.corners[0].y;
    const double el = std::hypot(ex, ey), fl = std::hypot(fx, fy);
    const double px = x - o.corners[0].x, py = y - o.corners[0].y;
    u = el > 0 ? (px * ex + py * ey) / el : px;
    v = fl > 0 ? (px * fx + py * fy) / fl : py;
}

double EdgeLength(const Outline& o, int a, int b)
{
    return std::hypot(o.corners[b].x - o.corners[a].x, o.corners[b].y - o.corners[a].y);
}

// A black 32-bit DIB of 300 x 300 pixels with the drawing's origin in its middle, one drawing
// unit a pixel.
struct Canvas {
    static constexpr int kSize = 300;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    uint32_t* pixels = nullptr;
    Canvas()
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSize;
        info.bmiHeader.biHeight = -kSize;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels = static_cast<uint32_t*>(bits);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        RECT all = {0, 0, kSize, kSize};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        GdiFlush();
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    DrawParamBlock Block() const
    {
        DrawParamBlock block;
        std::memset(&block, 0, sizeof block);
        block.size = sizeof block;
        block.outputKind = 2;
        block.dc = dc;
        block.centreX = block.centreY = kSize / 2;
        block.scale = 1.0;
        block.drawingScale = 1.0;
        block.worldLeft = -kSize / 2;
        block.worldTop = kSize / 2;
        block.worldRight = kSize / 2;
        block.worldBottom = -kSize / 2;
        return block;
    }
    // Drawing coordinates of the lit pixels' centres.
    std::vector<std::pair<double, double>> Lit()
    {
        GdiFlush();
        std::vector<std::pair<double, double>> lit;
        for (int py = 0; py < kSize; ++py) {
            for (int px = 0; px < kSize; ++px) {
                if ((pixels[py * kSize + px] & 0xFFFFFF) != 0) lit.emplace_back(px - kSize / 2, kSize / 2 - py);
            }
        }
        return lit;
    }
};

struct PaintCase {
    const char* name;
    const char* font;
    const char* text;
    bool vertical;
    double angleDegrees;
    double ratio;
    double spacing;
};

class MeasuredBoxEnclosesPaint : public ::testing::TestWithParam<PaintCase> {};

TEST_P(MeasuredBoxEnclosesPaint, LitPixelsLieInTheOutlineAndFillIt)
{
    const PaintCase& c = GetParam();
    TestDb t;
    ASSERT_TRUE(t.created);
    TextRecord text = MakeText(c.text, c.font, 30.0, 5);
    text.angle = c.angleDegrees * kPi / 180.0;
    text.widthRatio = c.ratio;
    text.spacing = c.spacing;
    if (c.vertical) text.flags = kTextVertical;

    Box box = Measure(text);
    ASSERT_EQ(1, box.answer);
    Outline outline = OutlineOf(text);
    ASSERT_EQ(1, outline.answer);
    EXPECT_NEAR(box.width, EdgeLength(outline, 0, 1), 1e-6);
    EXPECT_NEAR(box.height, EdgeLength(outline, 0, 3), 1e-6);

    Canvas canvas;
    DrawParamBlock block = canvas.Block();
    ElementRecord record = AsRecord(text);
    block.drawKind = 3;
    block.drawArray = &record;
    block.drawCount = 1;
    ASSERT_EQ(1, ZUriDraw(t.db(), &block));
    auto lit = canvas.Lit();
    ASSERT_GT(lit.size(), 20u);

    const double tolerance = 1.5;  // pixel rounding of the glyphs' edges
    double uMin = 1e9, uMax = -1e9, vMin = 1e9, vMax = -1e9;
    int outside = 0;
    for (auto p : lit) {
        double u, v;
        InFrame(outline, p.first, p.second, u, v);
        if (u < -tolerance || u > box.width + tolerance || v < -tolerance || v > box.height + tolerance) ++outside;
        uMin = std::min(uMin, u), uMax = std::max(uMax, u), vMin = std::min(vMin, v), vMax = std::max(vMax, v);
    }
    EXPECT_EQ(0, outside) << "pixels outside a box of " << box.width << " x " << box.height;
    // The box is not much larger than the ink either: the text fills most of it.
    EXPECT_GT(uMax - uMin, 0.6 * box.width);
    EXPECT_GT(vMax - vMin, 0.5 * box.height);
}

INSTANTIATE_TEST_SUITE_P(
    Text, MeasuredBoxEnclosesPaint,
    ::testing::Values(PaintCase{"VectorHorizontal", "VectorFont", "AB12ｱアイ○", false, 0, 1, 0},
                      PaintCase{"VectorVertical", "VectorFont", "アイウ", true, 0, 1, 0},
                      PaintCase{"VectorRotated30", "VectorFont", "Vx-7カ", false, 30, 1, 0},
                      PaintCase{"VectorRatioHalf", "VectorFont", "ABCDEF", false, 0, 0.5, 0},
                      PaintCase{"VectorSpacing", "VectorFont", "WXYZ", false, 0, 1, 6},
                      PaintCase{"TrueTypeHorizontal", "IPAGothic", "Ag12アイ", false, 0, 1, 0},
                      PaintCase{"TrueTypeVertical", "IPAGothic", "アイウ", true, 0, 1, 0},
                      PaintCase{"TrueTypeRotated30", "IPAGothic", "Hello", false, 30, 1, 0},
                      PaintCase{"TrueTypeRatioHalf", "IPAGothic", "ABCDEF", false, 0, 0.5, 0},
                      PaintCase{"TrueTypeSpacing", "IPAGothic", "WXYZ", false, 0, 1, 6}),
    [](const ::testing::TestParamInfo<PaintCase>& info) { return std::string(info.param.name); });

TEST(TextMeasure, VectorBoxesFollowHeightRatioSpacingAndDirection)
{
    struct Case {
        const char* text;
        double ratio, spacing;
        bool vertical;
        double width, height;
    } cases[] = {
        {"AB", 1, 0, false, 10, 10},      // two half-width characters
        {"AB", 0.5, 0, false, 5, 10},
        {"アイ", 1, 3, false, 23, 10},    // full-width, spacing between them only
        {"アイ", 0.8, 2, true, 8, 22},    // a column: one character height each
        {"", 1, 0, false, 0, 10},
    };
    for (const Case& c : cases) {
        TextRecord text = MakeText(c.text, "VectorFont", 10.0);
        text.widthRatio = c.ratio;
        text.spacing = c.spacing;
        if (c.vertical) text.flags = kTextVertical;
        Box box = Measure(text);
        EXPECT_EQ(1, box.answer) << c.text;
        EXPECT_NEAR(c.width, box.width, 1e-9) << c.text;
        EXPECT_NEAR(c.height, box.height, 1e-9) << c.text;
    }
}

TEST(TextMeasure, TrueTypeWidthsComeFromTheFaceAndScaleWithRatio)
{
    TextRecord text = MakeText("Hello", "IPAGothic", 10.0);
    Box full = Measure(text);
    ASSERT_EQ(1, full.answer);
    EXPECT_GT(full.width, 10.0);
    EXPECT_NEAR(10.0, full.height, 1e-9);
    text.widthRatio = 0.5;
    EXPECT_NEAR(full.width / 2, Measure(text).width, 1e-9);
    std::strcpy(text.font, "@IPAGothic");  // the vertical face measures as its family
    text.widthRatio = 1.0;
    EXPECT_NEAR(full.width, Measure(text).width, 1e-9);
}

TEST(TextMeasure, ATextLeftOfItsBasisPointIsDrawnWhenItsBoxIsInTheWindow)
{
    // Anchored at its lower right corner just beyond the window's right edge: the box reaches
    // back into the window, so the text must not be culled by a box drawn from the wrong corner.
    TestDb t;
    ASSERT_TRUE(t.created);
    TextRecord text = MakeText("ABCDEFGH", "VectorFont", 20.0, 9, Canvas::kSize / 2 + 30, 0);
    ElementRecord record = AsRecord(text);
    ASSERT_NE(nullptr, ZUriAppendElement(&record, t.db()));
    Canvas canvas;
    DrawParamBlock block = canvas.Block();
    ASSERT_EQ(1, ZUriDrawAll(t.db(), &block, nullptr));
    EXPECT_FALSE(canvas.Lit().empty());
}

TEST(TextMeasure, UnsoundRecordsAnswerZeroAndWriteNothing)
{
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* name;
        double height, ratio, angle, spacing;
    } cases[] = {
        {"zero height", 0, 1, 0, 0},     {"negative height", -5, 1, 0, 0}, {"infinite height", inf, 1, 0, 0},
        {"zero ratio", 10, 0, 0, 0},     {"nan ratio", 10, nan, 0, 0},     {"nan angle", 10, 1, nan, 0},
        {"infinite angle", 10, 1, inf, 0}, {"nan spacing", 10, 1, 0, nan},
    };
    for (const Case& c : cases) {
        TextRecord text = MakeText("AB", "VectorFont", c.height);
        text.widthRatio = c.ratio;
        text.angle = c.angle;
        text.spacing = c.spacing;
        Box box = Measure(text);
        EXPECT_EQ(0, box.answer) << c.name;
        EXPECT_EQ(-7.0, box.width) << c.name;
        EXPECT_EQ(0, OutlineOf(text).answer) << c.name;
        std::vector<Segment> segments;
        EXPECT_EQ(-1, StrokeAll(text, segments)) << c.name;
        EXPECT_TRUE(segments.empty()) << c.name;
    }
    // A face name that fills all 32 bytes has no terminator: refused, never cut to a shorter face.
    TextRecord text = MakeText("AB", "VectorFont", 10.0);
    std::memset(text.font, 'A', sizeof text.font);
    EXPECT_EQ(0, Measure(text).answer);
    ElementRecord line = MakeLine(0, 0, 1, 1);
    DicParamBlock block{};
    block.pointer334 = &line;
    EXPECT_EQ(0, ZUriDicFunction(kDicTextExtent, &block));
    EXPECT_EQ(0, ZUriDicFunction(kDicTextExtent, nullptr));
}

TEST(TextMeasure, AnUnterminatedTextIsReadOnlyAsFarAsItIsReadable)
{
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    const DWORD page = info.dwPageSize;
    auto* base = static_cast<char*>(VirtualAlloc(nullptr, 2 * page, MEM_RESERVE, PAGE_NOACCESS));
    ASSERT_NE(nullptr, base);
    ASSERT_NE(nullptr, VirtualAlloc(base, page, MEM_COMMIT, PAGE_READWRITE));
    char* tail = base + page - 4;
    std::memcpy(tail, "ABCD", 4);  // no terminator before the unreadable page
    TextRecord text = MakeText(nullptr, "VectorFont", 10.0);
    text.text = tail;
    Box box = Measure(text);
    EXPECT_EQ(1, box.answer);
    EXPECT_NEAR(20.0, box.width, 1e-9);
    VirtualFree(base, 0, MEM_RELEASE);
}

TEST(TextOutline, CornersOfRotatedAndVerticalTexts)
{
    struct Case {
        const char* name;
        const char* text;
        int basis;
        double angleDegrees;
        bool vertical;
        double ratio, spacing;
        double corners[4][2];  // lower left, lower right, upper right, upper left
    } cases[] = {
        {"top left, 0 degrees", "AB", 1, 0, false, 1, 0, {{100, 40}, {110, 40}, {110, 50}, {100, 50}}},
        {"top left, 90 degrees", "AB", 1, 90, false, 1, 0, {{110, 50}, {110, 60}, {100, 60}, {100, 50}}},
        {"centre, 180 degrees", "AB", 5, 180, false, 1, 0, {{105, 55}, {95, 55}, {95, 45}, {105, 45}}},
        {"vertical, top centre", "アイ", 4, 0, true, 0.8, 2, {{96, -72}, {104, -72}, {104, -50}, {96, -50}}},
    };
    for (const Case& c : cases) {
        TextRecord text = MakeText(c.text, "VectorFont", 10.0, c.basis, 100, c.vertical ? -50 : 50);
        text.angle = c.angleDegrees * kPi / 180.0;
        text.widthRatio = c.ratio;
        text.spacing = c.spacing;
        if (c.vertical) text.flags = kTextVertical;
        Outline o = OutlineOf(text);
        ASSERT_EQ(1, o.answer) << c.name;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(c.corners[i][0], o.corners[i].x, 1e-9) << c.name << " corner " << i;
            EXPECT_NEAR(c.corners[i][1], o.corners[i].y, 1e-9) << c.name << " corner " << i;
        }
    }
    // A 30-degree text: the box turns about its basis point and keeps its size.
    TextRecord text = MakeText("ABCD", "VectorFont", 10.0, 3, 5, 7);
    text.angle = kPi / 6;
    Outline o = OutlineOf(text);
    EXPECT_NEAR(5, o.corners[0].x, 1e-9);
    EXPECT_NEAR(7, o.corners[0].y, 1e-9);
    EXPECT_NEAR(5 + 20 * std::cos(kPi / 6), o.corners[1].x, 1e-9);
    EXPECT_NEAR(7 + 20 * std::sin(kPi / 6), o.corners[1].y, 1e-9);
    EXPECT_NEAR(5 - 10 * std::sin(kPi / 6), o.corners[3].x, 1e-9);
}

TEST(TextOutline, ARequestWithoutItsPointersAnswersZeroAndLeavesTheCornersAlone)
{
    TextRecord text = MakeText("AB", "VectorFont", 10.0);
    TextOutlineCorner corners[4];
    std::memset(corners, 0x5A, sizeof corners);
    DicParamBlock noText{};
    noText.pointer338 = corners;
    EXPECT_EQ(0, ZUriDicFunction(kDicTextOutline, &noText));
    DicParamBlock noCorners{};
    noCorners.pointer334 = &text;
    EXPECT_EQ(0, ZUriDicFunction(kDicTextOutline, &noCorners));
    for (const TextOutlineCorner& c : corners) EXPECT_EQ(0x5A, c.engine16[0]);
    // The host's parameter block, as the font service hands it on, writes x and y only.
    DicParamBlock request{};
    request.pointer334 = &text;
    request.pointer338 = corners;
    EXPECT_EQ(1, ZUriDicFunction(kDicTextOutline, &request));
    EXPECT_EQ(0.0, corners[0].x);
    EXPECT_EQ(0x5A, corners[0].engine16[7]);
}

TEST(TextStrokes, ASequenceGivesEverySegmentOnceThenZeroAndPhaseTenFrees)
{
    TextRecord text = MakeText("-A", "VectorFont", 10.0);
    DicParamBlock block{};
    block.arg8 = kStrokePhaseStart;
    block.arg12 = 99;
    block.pointer334 = &text;
    ASSERT_EQ(1, ZUriDicFunction(kDicTextStrokes, &block));
    EXPECT_NE(nullptr, block.pointer338);
    EXPECT_EQ(0, block.arg12);
    block.arg8 = kStrokePhaseNext;
    std::vector<Segment> segments;
    while (ZUriDicFunction(kDicTextStrokes, &block) == 1) {
        segments.push_back({block.real294, block.real302, block.real310, block.real318});
        ++block.arg12;
    }
    // "-": one segment; "A": two legs and the bar.
    ASSERT_EQ(4u, segments.size());
    EXPECT_NEAR(1.25, segments.front().x1, 1e-6);
    EXPECT_NEAR(5.5, segments.front().y1, 1e-6);
    EXPECT_NEAR(3.75, segments.front().x2, 1e-6);
    EXPECT_NEAR(5.5, segments.front().y2, 1e-6);
    EXPECT_NEAR(6.25, segments.back().x1, 1e-6);
    EXPECT_NEAR(4.5, segments.back().y1, 1e-6);
    EXPECT_NEAR(8.75, segments.back().x2, 1e-6);
    block.arg12 = -1;
    EXPECT_EQ(0, ZUriDicFunction(kDicTextStrokes, &block));

    void* handle = block.pointer338;
    block.arg8 = kStrokePhaseEnd;
    EXPECT_EQ(1, ZUriDicFunction(kDicTextStrokes, &block));
    EXPECT_EQ(nullptr, block.pointer338);
    // The freed handle is not the engine's any more.
    block.pointer338 = handle;
    EXPECT_EQ(0, ZUriDicFunction(kDicTextStrokes, &block));
    block.arg8 = kStrokePhaseNext;
    block.arg12 = 0;
    EXPECT_EQ(0, ZUriDicFunction(kDicTextStrokes, &block));
    block.pointer338 = &block;  // a pointer the engine never gave
    EXPECT_EQ(0, ZUriDicFunction(kDicTextStrokes, &block));
}

TEST(TextStrokes, StrokesStayInsideTheBoxAndOnlyVectorFontsAreStroked)
{
    TextRecord text = MakeText("Vx7アがぱャ○→Ω漢ﾃﾞ", "VectorPF(STD :STD )", 12.0, 5, 3, 4);
    text.angle = kPi / 6;
    text.spacing = 1.5;
    std::vector<Segment> segments;
    ASSERT_EQ(1, StrokeAll(text, segments));
    EXPECT_GT(segments.size(), 30u);
    Outline o = OutlineOf(text);
    Box box = Measure(text);
    for (const Segment& s : segments) {
        double u, v;
        InFrame(o, s.x1, s.y1, u, v);
        EXPECT_TRUE(u >= -1e-9 && u <= box.width + 1e-9 && v >= -1e-9 && v <= box.height + 1e-9);
        InFrame(o, s.x2, s.y2, u, v);
        EXPECT_TRUE(u >= -1e-9 && u <= box.width + 1e-9 && v >= -1e-9 && v <= box.height + 1e-9);
    }
    for (const char* font : {"", "ベクトル", "ZO rezo", "DA Dezeru", "@VectorFont"}) {
        TextRecord other = MakeText("A", font, 10.0);
        std::vector<Segment> s;
        EXPECT_EQ(1, StrokeAll(other, s)) << font;
        EXPECT_EQ(2u + 1u, s.size()) << font;
    }
    TextRecord trueType = MakeText("A", "IPAGothic", 10.0);
    EXPECT_EQ(-1, StrokeAll(trueType, segments));
    // The long vowel mark runs along a column.
    TextRecord column = MakeText("ー", "VectorFont", 10.0);
    column.flags = kTextVertical;
    std::vector<Segment> mark;
    ASSERT_EQ(1, StrokeAll(column, mark));
    ASSERT_EQ(1u, mark.size());
    EXPECT_NEAR(mark[0].x1, mark[0].x2, 1e-9);
    EXPECT_GT(std::fabs(mark[0].y1 - mark[0].y2), 8.0);
}

TEST(TextFonts, VectorFontListsAndNames)
{
    EXPECT_EQ(1, ZUriGetFontNum(kFontKindVectorSingle));
    EXPECT_EQ(1, ZUriGetFontNum(kFontKindVectorDouble));
    char name[LF_FACESIZE];
    EXPECT_EQ(1, ZUriGetFontNm(kFontKindVectorSingle, 0, name));
    EXPECT_STREQ("STD", name);
    EXPECT_EQ(0, ZUriGetFontNm(kFontKindVectorDouble, 1, name));

    char buffer[kDicFontNameSize];
    for (int kind : {3, 4}) {
        std::memset(buffer, 'x', sizeof buffer);
        DicParamBlock block{};
        block.arg8 = kind;
        block.pointer334 = buffer;
        EXPECT_EQ(1, ZUriDicFunction(kDicFontName, &block));
        EXPECT_STREQ("STD", buffer);
        std::memset(buffer, 'x', sizeof buffer);
        block.arg12 = 1;
        EXPECT_EQ(0, ZUriDicFunction(kDicFontName, &block));
        EXPECT_EQ('x', buffer[0]);
    }
    DicParamBlock block{};
    block.arg8 = 5;
    block.pointer334 = buffer;
    EXPECT_EQ(0, ZUriDicFunction(kDicFontName, &block));
}

TEST(TextFonts, CodesWithoutAMeaningAnswerZeroAndWriteNothing)
{
    TextRecord text = MakeText("AB", "VectorFont", 10.0);
    for (int code : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 19, 20, 22, 23, 24, 26, 100, -1}) {
        DicParamBlock block;
        std::memset(&block, 0x33, sizeof block);
        block.pointer334 = &text;
        DicParamBlock before = block;
        EXPECT_EQ(0, ZUriDicFunction(code, &block)) << code;
        EXPECT_EQ(0, std::memcmp(&before, &block, sizeof block)) << code;
    }
}

// ---- Raster compression ----

struct RasterCase {
    const char* name;
    int width, height;
    bool random;
};

class RasterRoundTrip : public ::testing::TestWithParam<RasterCase> {};

RasterRecord MakeRaster(int width, int height, void* bits, uint32_t size)
{
    RasterRecord r{};
    SetHeader(r.header, kElementRaster);
    r.pixelsX = width;
    r.pixelsY = height;
    r.bits = bits;
    r.bitsSize = size;
    r.expanded = 1;
    return r;
}

TEST_P(RasterRoundTrip, ExpandedRowsEqualTheCompressedOnes)
{
    const RasterCase& c = GetParam();
    TestDb t;
    ASSERT_TRUE(t.created);
    const uint32_t size = static_cast<uint32_t>((c.width + 15) / 16 * 2 * c.height);
    std::vector<uint8_t> rows(size, 0);
    uint32_t seed = 12345;
    if (c.random) {
        for (auto& b : rows) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    }
    RasterRecord raster = MakeRaster(c.width, c.height, rows.data(), size);
    uint32_t written = 0;
    ASSERT_EQ(1, ZUriCompRstrData(t.db(), &raster, 0, &written));
    ASSERT_NE(nullptr, raster.compressed);
    EXPECT_EQ(written, raster.compressedSize);
    if (!c.random) {
        EXPECT_LT(raster.compressedSize, size / 4 + 64);
    }

    RasterRecord copy = raster;
    copy.bits = nullptr;
    copy.bitsSize = 0;
    copy.expanded = 0;
    ASSERT_EQ(1, ZUriExpandRstrData(t.db(), &copy, 1));
    ASSERT_NE(nullptr, copy.bits);
    EXPECT_EQ(size, copy.bitsSize);
    EXPECT_EQ(1, copy.expanded);
    EXPECT_EQ(0, std::memcmp(rows.data(), copy.bits, size));
    VirtualFree(copy.bits, 0, MEM_RELEASE);
    VirtualFree(raster.compressed, 0, MEM_RELEASE);
}

INSTANTIATE_TEST_SUITE_P(Raster, RasterRoundTrip,
                         ::testing::Values(RasterCase{"Random", 640, 480, true}, RasterCase{"AllZero", 2000, 1000, false},
                                           RasterCase{"Width13", 13, 7, true}, RasterCase{"OnePixel", 1, 1, true}),
                         [](const ::testing::TestParamInfo<RasterCase>& info) { return std::string(info.param.name); });

TEST(RasterCompression, RecordsWhoseSizesDoNotMatchTheirBitsAreRefused)
{
    TestDb t;
    ASSERT_TRUE(t.created);
    std::vector<uint8_t> rows(4 * 10, 0x5A);  // 32 pixels wide, 10 rows
    RasterRecord raster = MakeRaster(32, 10, rows.data(), 39);
    EXPECT_EQ(0, ZUriCompRstrData(t.db(), &raster, 0, nullptr));
    EXPECT_EQ(nullptr, raster.compressed);
    raster.bitsSize = 40;
    raster.pixelsX = 0;
    EXPECT_EQ(0, ZUriCompRstrData(t.db(), &raster, 0, nullptr));
    raster.pixelsX = 32;
    ASSERT_EQ(1, ZUriCompRstrData(t.db(), &raster, 0, nullptr));
    EXPECT_EQ(0, ZUriCompRstrData(nullptr, &raster, 0, nullptr));

    auto expandWith = [&](auto change) {
        RasterRecord copy = raster;
        copy.bits = nullptr;
        copy.bitsSize = 0;
        change(copy);
        int answer = ZUriExpandRstrData(t.db(), &copy, 1);
        if (answer == 1 && copy.bits != rows.data()) VirtualFree(copy.bits, 0, MEM_RELEASE);
        return answer;
    };
    EXPECT_EQ(0, expandWith([](RasterRecord& r) { r.pixelsX = 48; }));   // other pixel counts
    EXPECT_EQ(0, expandWith([](RasterRecord& r) { r.pixelsY = 9; }));
    EXPECT_EQ(0, expandWith([](RasterRecord& r) { r.compressedSize = 10; }));
    std::vector<uint8_t> damaged(static_cast<uint8_t*>(raster.compressed),
                                 static_cast<uint8_t*>(raster.compressed) + raster.compressedSize);
    damaged[damaged.size() - 3] ^= 0xFF;
    EXPECT_EQ(0, expandWith([&](RasterRecord& r) { r.compressed = damaged.data(); }));
    EXPECT_EQ(1, expandWith([](RasterRecord&) {}));
    VirtualFree(raster.compressed, 0, MEM_RELEASE);
}

TEST(RasterCompression, CompressingAgainReplacesTheEnginesEarlierBlock)
{
    TestDb t;
    ASSERT_TRUE(t.created);
    std::vector<uint8_t> rows(2 * 8, 0x0F);
    RasterRecord raster = MakeRaster(16, 8, rows.data(), 16);
    ASSERT_EQ(1, ZUriCompRstrData(t.db(), &raster, 0, nullptr));
    void* first = raster.compressed;
    ASSERT_EQ(1, ZUriCompRstrData(t.db(), &raster, 0, nullptr));
    EXPECT_NE(first, raster.compressed);
    MEMORY_BASIC_INFORMATION region{};
    ASSERT_EQ(sizeof region, VirtualQuery(first, &region, sizeof region));
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), region.State);
    // A block the engine did not make is left to its owner.
    std::vector<uint8_t> foreign(64, 0);
    raster.compressed = foreign.data();
    ASSERT_EQ(1, ZUriCompRstrData(t.db(), &raster, 0, nullptr));
    EXPECT_EQ(0, foreign[0]);
    VirtualFree(raster.compressed, 0, MEM_RELEASE);
}

TEST(RasterCompression, EngineElementsKeepTheirBitsExpanded)
{
    TestDb t;
    ASSERT_TRUE(t.created);
    std::vector<uint8_t> rows(2 * 4, 0xF0);
    RasterRecord raster = MakeRaster(16, 4, rows.data(), 8);
    raster.width = raster.height = 10;
    ElementRecord record = AsRecord(raster);
    void* element = ZUriAppendElement(&record, t.db());
    ASSERT_NE(nullptr, element);
    EXPECT_EQ(0, ZUriCompRstrData(t.db(), element, 0, nullptr));
    EXPECT_EQ(1, ZUriExpandRstrData(t.db(), element, 1));
}

// ---- Drawing surface ----

TEST(DrawSurface, DrawAllUsesTheSurfacesTargetAndClip)
{
    TestDb t;
    ASSERT_TRUE(t.created);
    ElementRecord line = MakeLine(-140, 0, 140, 0);
    ASSERT_NE(nullptr, ZUriAppendElement(&line, t.db()));
    Canvas canvas;
    DrawParamBlock block = canvas.Block();
    block.outputKind = 0;  // no target of its own
    block.dc = nullptr;
    DrawSurfaceRecord surface{};
    surface.drawDc = canvas.dc;
    surface.client = {0, 0, Canvas::kSize / 2, Canvas::kSize};
    ASSERT_EQ(1, ZUriDrawAll(t.db(), &block, &surface));
    GdiFlush();
    const int row = Canvas::kSize / 2;
    EXPECT_NE(0u, canvas.pixels[row * Canvas::kSize + 20] & 0xFFFFFF);
    EXPECT_EQ(0u, canvas.pixels[row * Canvas::kSize + Canvas::kSize - 20] & 0xFFFFFF);

    surface.mode = kSurfaceDirect2D;
    EXPECT_EQ(0, ZUriDrawAll(t.db(), &block, &surface));
    EXPECT_EQ(0, ZUriDrawAll(t.db(), &block, nullptr));  // neither the block nor a surface names a target
}

}  // namespace
