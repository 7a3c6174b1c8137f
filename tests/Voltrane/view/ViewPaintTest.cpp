#include "GTest.h"

#include <cmath>
#include <cstring>

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
