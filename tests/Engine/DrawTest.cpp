#include "GTest.h"

#include "EngineFixture.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

// A 100 x 100 black bitmap in a memory device context.
struct Canvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    Canvas()
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 100;
        info.bmiHeader.biHeight = 100;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        ReleaseDC(nullptr, screen);
        old = SelectObject(dc, bitmap);
        Clear();
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    void Clear()
    {
        RECT all = {0, 0, 100, 100};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    COLORREF At(int x, int y) { return GetPixel(dc, x, y) & 0xFFFFFF; }
};

// One world unit per pixel, world origin in the middle of the canvas.
std::unique_ptr<DrawParamBlock> MakeBlock(HDC dc)
{
    auto block = std::make_unique<DrawParamBlock>();
    std::memset(block.get(), 0, sizeof *block);
    block->size = sizeof *block;
    block->outputKind = 2;
    block->dc = dc;
    block->centreX = 50;
    block->centreY = 50;
    block->scale = 1.0;
    block->drawingScale = 1.0;
    block->worldLeft = -50;
    block->worldTop = 50;
    block->worldRight = 50;
    block->worldBottom = -50;
    return block;
}

}  // namespace

TEST(Draw, DatabaseDrawsVisibleElementsOnly)
{
    TestDb t;
    Canvas canvas;
    ElementRecord line = MakeLine(-40, 0, 40, 0, 3);
    line.colour = 2;  // red in the default table
    ZUriAppendElement(&line, t.db());
    auto block = MakeBlock(canvas.dc);
    ASSERT_EQ(1, ZUriDrawPre(t.db(), block.get()));
    ASSERT_EQ(1, ZUriDrawAll(t.db(), block.get(), nullptr));
    EXPECT_EQ(RGB(255, 0, 0), canvas.At(50, 50));
    EXPECT_EQ(0u, canvas.At(50, 20));

    // A hidden layer is not drawn.
    canvas.Clear();
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, t.db()));
    info->layers.displayMask[0] &= ~(1u << 3);
    ZUriDrawAll(t.db(), block.get(), nullptr);
    EXPECT_EQ(0u, canvas.At(50, 50));
    info->layers.displayMask[0] |= 1u << 3;

    // A layer filter for another layer draws nothing either.
    block->filterByLayer = 1;
    block->filterLayer = 4;
    ZUriDrawAll(t.db(), block.get(), nullptr);
    EXPECT_EQ(0u, canvas.At(50, 50));
    block->filterByLayer = 0;

    // Colour override.
    block->colourOverride = 1;
    block->overrideColour = 4;  // blue
    ZUriDrawAll(t.db(), block.get(), nullptr);
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(50, 50));
}

TEST(Draw, XorTwiceErasesAndKindsDrawTheirSubject)
{
    TestDb t;
    Canvas canvas;
    ElementRecord a = MakeLine(-40, 10, 40, 10), b = MakeLine(-40, -10, 40, -10);
    a.colour = b.colour = 1;
    void* ea = ZUriAppendElement(&a, t.db());
    ZUriAppendElement(&b, t.db());
    auto block = MakeBlock(canvas.dc);
    block->xorDraw = 1;
    block->drawKind = 1;
    block->drawElement = ea;
    ASSERT_EQ(1, ZUriDraw(t.db(), block.get()));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(50, 40));
    EXPECT_EQ(0u, canvas.At(50, 60));
    ZUriDraw(t.db(), block.get());
    EXPECT_EQ(0u, canvas.At(50, 40));

    block->xorDraw = 0;
    void* mark = ZUriCreateMark(t.db());
    ZUriSetMark(ea, mark);
    block->drawKind = 2;
    block->drawMark = mark;
    ZUriDraw(t.db(), block.get());
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(50, 40));
    EXPECT_EQ(0u, canvas.At(50, 60));
    ZUriDestroyMark(mark);

    // Refusals: no target, a bad scale, an unknown database.
    block->outputKind = 0;
    EXPECT_EQ(0, ZUriDraw(t.db(), block.get()));
    block->outputKind = 2;
    block->scale = 0.0;
    EXPECT_EQ(0, ZUriDrawAll(t.db(), block.get(), nullptr));
    EngineDbRecord zeroed{};
    EXPECT_EQ(0, ZUriDrawAll(&zeroed, block.get(), nullptr));
}

TEST(Draw, ElementListInDrawingOrder)
{
    TestDb t;
    ElementRecord l = MakeLine(0, 0, 1, 1);
    void* e1 = ZUriAppendElement(&l, t.db());
    void* e2 = ZUriAppendElement(&l, t.db());
    void* handles[1] = {};
    DrawElementList list = {0, 1, handles};
    EXPECT_EQ(0, QmGetDrawElementsAll(t.db(), &list));
    EXPECT_EQ(2, list.count);
    void* room[4] = {};
    list = {0, 4, room};
    EXPECT_EQ(1, QmGetDrawElementsAll(t.db(), &list));
    EXPECT_EQ(e1, room[0]);
    EXPECT_EQ(e2, room[1]);
}

TEST(Draw, TextFontsAreTheSystemFamilies)
{
    int count = ZUriGetFontNum(0);
    ASSERT_GT(count, 0);
    char name[LF_FACESIZE];
    EXPECT_EQ(1, ZUriGetFontNm(0, 0, name));
    EXPECT_NE('\0', name[0]);
    EXPECT_EQ(1, ZUriGetFontNm(0, count - 1, name));
    EXPECT_EQ(0, ZUriGetFontNm(0, count, name));
    EXPECT_STREQ("", name);
    EXPECT_EQ(0, ZUriGetFontNm(0, -1, name));
    EXPECT_EQ(0, ZUriGetFontNum(3));
}

namespace {

// A packed DIB whose header claims width x height at 24 bits but that carries `pixelBytes`
// bytes of white pixels.
HGLOBAL MakeWhiteDib(LONG width, LONG height, size_t pixelBytes, DWORD coloursUsed = 0)
{
    const size_t size = sizeof(BITMAPINFOHEADER) + pixelBytes;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    std::memset(bytes, 0xFF, size);
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(bytes);
    std::memset(header, 0, sizeof *header);
    header->biSize = sizeof(BITMAPINFOHEADER);
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = 24;
    header->biClrUsed = coloursUsed;
    GlobalUnlock(block);
    return block;
}

COLORREF DrawImageAtCentre(HGLOBAL dib)
{
    TestDb t;
    Canvas canvas;
    ImageRecord image{};
    SetHeader(image.header, kElementImage);
    image.x1 = -10, image.y1 = -10, image.x2 = 10, image.y2 = 10;
    image.dib = dib;
    ElementRecord record = AsRecord(image);
    void* element = ZUriAppendElement(&record, t.db());
    GlobalFree(dib);
    if (element == nullptr) return CLR_INVALID;
    auto block = MakeBlock(canvas.dc);
    ZUriDrawAll(t.db(), block.get(), nullptr);
    return canvas.At(50, 50);
}

}  // namespace

TEST(Draw, ImagesAreDrawnOnlyWhenTheirBytesHoldWhatTheHeaderClaims)
{
    // A sound 2 x 2 picture (rows of 8 bytes) is drawn.
    EXPECT_EQ(RGB(255, 255, 255), DrawImageAtCentre(MakeWhiteDib(2, 2, 16)));
    // Headers that promise more than the block holds are not drawn (nothing is read past it).
    EXPECT_EQ(0u, DrawImageAtCentre(MakeWhiteDib(4000, 4000, 16)));
    EXPECT_EQ(0u, DrawImageAtCentre(MakeWhiteDib(2, -4000, 16)));
    EXPECT_EQ(0u, DrawImageAtCentre(MakeWhiteDib(2, 2, 16, 0x40000000)));  // table size wraps in 32 bits
}

namespace {

// Every pixel of two canvases the same.
bool SamePixels(Canvas& a, Canvas& b)
{
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            if (a.At(x, y) != b.At(x, y)) return false;
        }
    }
    return true;
}

}  // namespace

// A paint keeps pens selected from one element to the next and takes short ways for untransformed
// and unturned curves: whatever it draws must be what each element draws on its own.
TEST(Draw, AWholePaintDrawsWhatEachElementDrawsOnItsOwn)
{
    TestDb t;
    std::vector<void*> elements;
    auto append = [&](ElementRecord record, uint16_t colour, uint8_t lineType = 0) {
        record.colour = colour;
        record.lineType = lineType;
        elements.push_back(ZUriAppendElement(&record, t.db()));
    };
    append(MakeLine(-45, -40, 45, 35), 2);
    append(MakeLine(-45, 30, 40, 30), 2, 2);  // same colour, another line type
    append(MakeCircle(-10, 5, 20), 3);
    append(MakeCircle(20, -20, 12.5), 3);
    ArcRecord arc{};
    SetHeader(arc.header, kElementArc);
    arc.cx = 5, arc.cy = 5, arc.radius = 30, arc.startAngle = 0.3, arc.endAngle = 2.9, arc.nz = 1;
    append(AsRecord(arc), 4);
    arc.clockwise = 1;
    append(AsRecord(arc), 5);
    EllipseRecord ellipse{};
    SetHeader(ellipse.header, kElementEllipse);
    ellipse.cx = -5, ellipse.cy = -5, ellipse.ax = 25, ellipse.ay = 10, ellipse.ratio = 0.4, ellipse.nz = 1;
    append(AsRecord(ellipse), 6);
    append(MakePoint(30, 40), 6);
    const char text[] = "ABC漢字";
    TextRecord label{};
    SetHeader(label.header, kElementText);
    label.x = -40, label.y = -30, label.height = 9, label.widthRatio = 1, label.angle = 0.5, label.nz = 1;
    label.text = text;
    std::strcpy(label.font, "ＭＳ ゴシック");
    append(AsRecord(label), 7);
    label.angle = 0, label.x = -45, label.y = 35;
    append(AsRecord(label), 3);  // the same face in another colour
    label.y = 20, label.height = 14;
    append(AsRecord(label), 3);  // a larger font in that colour
    append(MakeLine(-45, 45, 45, -45), 2);
    for (void* e : elements) ASSERT_NE(e, nullptr);

    Canvas whole, single;
    HGDIOBJ ownPen = GetCurrentObject(whole.dc, OBJ_PEN);
    HGDIOBJ ownFont = GetCurrentObject(whole.dc, OBJ_FONT);
    const COLORREF ownColour = GetTextColor(whole.dc);
    auto block = MakeBlock(whole.dc);
    ASSERT_EQ(1, ZUriDrawAll(t.db(), block.get(), nullptr));
    EXPECT_EQ(ownPen, GetCurrentObject(whole.dc, OBJ_PEN)) << "the paint left a pen of its own selected";
    EXPECT_EQ(ownFont, GetCurrentObject(whole.dc, OBJ_FONT)) << "the paint left a font of its own selected";
    EXPECT_EQ(ownColour, GetTextColor(whole.dc));

    block = MakeBlock(single.dc);
    block->drawKind = 1;
    for (void* e : elements) {
        block->drawElement = e;
        ASSERT_EQ(1, ZUriDraw(t.db(), block.get()));
    }
    int lit = 0;
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) lit += whole.At(x, y) != 0;
    }
    EXPECT_GT(lit, 500) << "the elements drew next to nothing";
    EXPECT_TRUE(SamePixels(whole, single));
}
