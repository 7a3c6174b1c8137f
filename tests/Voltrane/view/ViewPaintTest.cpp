#include "GTest.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "drawing/CadDatabase.h"
#include "view/ViewCoordinates.h"
#include "view/ViewPaint.h"

namespace {

// A black 32-bit bitmap of the given size in a memory device context.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    RECT rect;
    Canvas(int width, int height) : rect{0, 0, width, height}
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    bool HasNear(POINT p, COLORREF colour) const
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((GetPixel(dc, p.x + dx, p.y + dy) & 0xFFFFFF) == colour) return true;
        return false;
    }
};

void AppendLine(void* db, double x1, double y1, double x2, double y2, int colour)
{
    LineRecord line;
    std::memset(&line, 0, sizeof line);
    auto* header = reinterpret_cast<ElementRecord*>(&line);
    header->type = kElementLine;
    header->colour = static_cast<uint16_t>(colour);
    line.x1 = x1, line.y1 = y1, line.x2 = x2, line.y2 = y2;
    ASSERT_NE(ZUriAppendElement(&line, db), nullptr);
}

TEST(ViewPaint, EngineDrawsTheBlocksWorldWindowIntoTheDeviceContext)
{
    CCadDatabase database;
    database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(database.engineDb, nullptr);
    AppendLine(database.engineDb, -100, 0, 100, 0, 2);
    database.mode0 = ViewModeInfo{0, 0, 1.5};
    Canvas canvas(400, 300);
    DbInfoRecord info;
    ASSERT_EQ(ZUriGetDBInfo(&info, database.engineDb), 1);
    ViewPaintSettings settings;
    static DrawParamBlock block;
    FillDrawParamBlock(block, database, info, canvas.rect, nullptr, canvas.dc, settings);
    EXPECT_EQ(ZUriDrawPre(database.engineDb, &block), 1);
    EXPECT_EQ(ZUriDrawAll(database.engineDb, &block, nullptr), 1);
    POINT p = WorldToClient(database.mode0, 200, 150, -80, 0);
    EXPECT_TRUE(canvas.HasNear(p, RGB(255, 0, 0)));
    EXPECT_FALSE(canvas.HasNear(WorldToClient(database.mode0, 200, 150, -80, 20), RGB(255, 0, 0)));
}

}  // namespace

#include "view/RiririView.h"

namespace {

TEST(ViewPaint, ViewWindowPaintsItsDrawingAtTheConvertedPixels)
{
    CCadDatabase database;
    CRiririView view;
    view.SetDatabase(&database);
    RECT rect = {0, 0, 500, 400};
    HWND window = view.Create(nullptr, &rect, nullptr, WS_POPUP | WS_VISIBLE, WS_EX_CLIENTEDGE);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(database.engineDb, nullptr);
    AppendLine(database.engineDb, -100, 0, 100, 0, 2);
    database.mode0 = ViewModeInfo{0, 0, 1.5};
    InvalidateRect(window, nullptr, TRUE);
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    POINT p = WorldToClient(database.mode0, client.right / 2, client.bottom / 2, -80, 0);
    HDC dc = GetDC(window);
    bool found = false;
    int foundY = -1;
    for (int y = p.y - 8; y <= p.y + 8; ++y) {
        if ((GetPixel(dc, p.x, y) & 0xFFFFFF) == RGB(255, 0, 0)) {
            found = true;
            foundY = y;
            break;
        }
    }
    ReleaseDC(window, dc);
    EXPECT_TRUE(found);
    EXPECT_NEAR(foundY, p.y, 1) << "client " << client.right << "x" << client.bottom;
    DestroyWindow(window);
}

}  // namespace

namespace {

TEST(ViewGrid, PitchIsDoubledUntilLinesAreTenPixelsApart)
{
    // A pitch of 1 world unit at 2 pixels per unit is drawn with pitch 8 in colour 6 on black.
    double x = 0, y = 0;
    bool doubled = false;
    ASSERT_TRUE(ComputeGridPitch(1, 1, ViewModeInfo{0, 0, 2.0}, 400, 300, 420, 297, &x, &y, &doubled));
    EXPECT_DOUBLE_EQ(x, 8);
    EXPECT_DOUBLE_EQ(y, 8);
    EXPECT_TRUE(doubled);
    ViewPaintSettings settings;
    settings.backgroundMode = 0;
    EXPECT_EQ(ChooseGridColours(settings, doubled).normal, 6);
    settings.backgroundMode = 1;
    EXPECT_EQ(ChooseGridColours(settings, doubled).normal, 13);
}

TEST(ViewGrid, WidePitchIsKept)
{
    double x = 0, y = 0;
    bool doubled = true;
    ASSERT_TRUE(ComputeGridPitch(10, 20, ViewModeInfo{0, 0, 2.0}, 400, 300, 420, 297, &x, &y, &doubled));
    EXPECT_DOUBLE_EQ(x, 10);
    EXPECT_DOUBLE_EQ(y, 20);
    EXPECT_FALSE(doubled);
}

TEST(ViewGrid, NoGridForAPitchOrScaleThatCannotBeDrawn)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double x = 0, y = 0;
    EXPECT_FALSE(ComputeGridPitch(0, 1, ViewModeInfo{0, 0, 2.0}, 400, 300, 420, 297, &x, &y, nullptr));
    EXPECT_FALSE(ComputeGridPitch(1, -1, ViewModeInfo{0, 0, 2.0}, 400, 300, 420, 297, &x, &y, nullptr));
    EXPECT_FALSE(ComputeGridPitch(1, 1, ViewModeInfo{0, 0, 0.0}, 400, 300, 420, 297, &x, &y, nullptr));
    EXPECT_FALSE(ComputeGridPitch(1, 1, ViewModeInfo{0, 0, nan}, 400, 300, 420, 297, &x, &y, nullptr));
    // A scale so small that every line truncates onto one pixel ends too.
    bool doubled = false;
    const bool drawn = ComputeGridPitch(1, 1, ViewModeInfo{0, 0, 1e-300}, 400, 300, 420, 297, &x, &y, &doubled);
    if (drawn) EXPECT_TRUE(doubled);
}

TEST(ViewGrid, ColourFixUpsWorkOnCopies)
{
    ViewPaintSettings settings;
    settings.backgroundMode = 1;
    settings.gridColourW = 7;
    settings.gridColourW5 = 7;
    GridColours colours = ChooseGridColours(settings, false);
    EXPECT_EQ(colours.normal, 16);
    EXPECT_EQ(colours.fifth, 16);
    EXPECT_EQ(settings.gridColourW, 7);
    settings.backgroundMode = 0;
    settings.gridColourB = 16;
    settings.gridColourB5 = 16;
    colours = ChooseGridColours(settings, false);
    EXPECT_EQ(colours.normal, 7);
    EXPECT_EQ(colours.fifth, 7);
}

TEST(ViewPaintBlock, FieldsOfTheDrawBlock)
{
    PDBINFO block = {};
    block.viewMode = 1;
    block.mode1 = ViewModeInfo{10, -20, 2.0};
    DbInfoRecord info = {};
    info.drawingWidth = 420;
    info.drawingHeight = 297;
    info.scale = 0.0;  // a stored drawing scale of 0 counts as 1
    ViewPaintSettings settings;
    settings.background = RGB(1, 2, 3);
    settings.paperFrameColour = 5;
    settings.marginFrameColour = 6;
    settings.marginLeft = 10, settings.marginRight = 20, settings.marginTop = 30, settings.marginBottom = 40;
    settings.errorFont = "ＭＳ ゴシック";
    settings.colourMode = 2;
    const RECT client = {0, 0, 801, 601};
    static DrawParamBlock out;
    FillDrawParamBlock(out, block, info, client, nullptr, nullptr, settings);
    EXPECT_EQ(out.size, 2372);
    EXPECT_EQ(out.paperSpace, 1);
    EXPECT_EQ(out.colourMode, 2);
    EXPECT_EQ(out.outputKind, 2);
    EXPECT_EQ(out.centreX, 400);
    EXPECT_EQ(out.centreY, 300);
    EXPECT_DOUBLE_EQ(out.scale, 2.0);
    EXPECT_DOUBLE_EQ(out.drawingScale, 1.0);
    EXPECT_DOUBLE_EQ(out.offsetX, 10);
    EXPECT_DOUBLE_EQ(out.worldLeft, -400 / 2.0 - 10);
    EXPECT_DOUBLE_EQ(out.worldTop, 20 + 300 / 2.0);
    EXPECT_DOUBLE_EQ(out.world3Right, out.worldRight);
    EXPECT_EQ(out.backgroundRgb, static_cast<int32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(out.paperFrame, 1);
    EXPECT_EQ(out.paperFrameColour, 5);
    EXPECT_DOUBLE_EQ(out.paperLeft, -210);
    EXPECT_DOUBLE_EQ(out.paperTop, 148.5);
    EXPECT_EQ(out.marginFrame, 1);
    EXPECT_DOUBLE_EQ(out.marginLeft, -200);   // landscape margins
    EXPECT_DOUBLE_EQ(out.marginTop, 118.5);
    EXPECT_STREQ(out.faceName, "ＭＳ ゴシック");

    // The origin mode puts the paper at (0, 0) - (W, H); PAPERLINEDSPOFF leaves the frames out.
    info.originMode = 1;
    settings.paperFramesOff = 1;
    FillDrawParamBlock(out, block, info, client, nullptr, nullptr, settings);
    EXPECT_DOUBLE_EQ(out.paperLeft, 0);
    EXPECT_DOUBLE_EQ(out.paperTop, 297);
    EXPECT_EQ(out.paperFrame, 0);
    EXPECT_EQ(out.marginFrame, 0);
}

}  // namespace
