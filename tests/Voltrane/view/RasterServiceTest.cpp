#include "GTest.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "drawing/CadDatabase.h"
#include "core/LocalSettings.h"
#include "view/RasterGeometry.h"
#include "view/RasterRotation.h"
#include "view/RasterService.h"
#include "TestTiff.h"
#include "../core/SettingsSandbox.h"
#include "core/SystemLog.h"

namespace {

class RasterDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        database.Create(0, nullptr, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(database.engineDb, nullptr);
    }
    void TearDown() override
    {
        auto* record = static_cast<EngineDbRecord*>(database.engineDb);
        auto* attachment = static_cast<RasterAttachment*>(record->rasterAttachment);
        record->rasterAttachment = nullptr;
        CCadDbRaster::FreeAttachment(attachment);
        database.Free();
    }
    RasterAttachment* Attachment()
    {
        return static_cast<RasterAttachment*>(static_cast<EngineDbRecord*>(database.engineDb)->rasterAttachment);
    }
    CCadDatabase database;
};

TEST_F(RasterDrawing, ATiffWrittenNowAttachesWithItsSizeAndBits)
{
    const std::vector<unsigned char> tiff = MakeTiff(1654, 3, 200, 1, 2);
    ASSERT_EQ(CCadDbRaster::LoadTiffAttachment(database.engineDb, tiff.data(), tiff.size(), 420, 297), 1);
    RasterAttachment* a = Attachment();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->bitmapWidth, 1654u);
    EXPECT_EQ(a->bitmapHeight, 3u);
    EXPECT_NEAR(a->widthMm, 210.058, 0.0005);
    EXPECT_DOUBLE_EQ(a->left, -a->widthMm / 2);
    EXPECT_DOUBLE_EQ(a->top, a->heightMm / 2);
    EXPECT_EQ(a->tiffLength, static_cast<int32_t>(tiff.size()));
    ASSERT_NE(a->bits, nullptr);
    const auto* bits = static_cast<const uint8_t*>(a->bits);
    EXPECT_EQ(RasterPixel(bits, 1654, 3, 0, 0), 1) << "the dark first row";
    EXPECT_EQ(RasterPixel(bits, 1654, 3, 1653, 0), 1);
    EXPECT_EQ(RasterPixel(bits, 1654, 3, 5, 1), 0);

    // A second picture replaces the first; a centimetre picture fills the paper.
    const std::vector<unsigned char> cm = MakeTiff(500, 250, 100, 2, 3);
    ASSERT_EQ(CCadDbRaster::LoadTiffAttachment(database.engineDb, cm.data(), cm.size(), 420, 297), 1);
    a = Attachment();
    EXPECT_DOUBLE_EQ(a->widthMm, 100);
    EXPECT_DOUBLE_EQ(a->factorX, 4.2);
    EXPECT_DOUBLE_EQ(a->factorY, 297.0 / 50);
}

TEST_F(RasterDrawing, UnreadablePicturesAttachNothingAndZeroResolutionsDivideByNothing)
{
    const std::vector<unsigned char> good = MakeTiff(16, 2, 200, 1, 2);
    ASSERT_EQ(CCadDbRaster::LoadTiffAttachment(database.engineDb, good.data(), good.size(), 420, 297), 1);
    RasterAttachment* before = Attachment();
    const unsigned char junk[] = "not a picture at all";
    EXPECT_EQ(CCadDbRaster::LoadTiffAttachment(database.engineDb, junk, sizeof junk, 420, 297), 0);
    EXPECT_EQ(CCadDbRaster::LoadTiffAttachment(database.engineDb, nullptr, 10, 420, 297), 0);
    EXPECT_EQ(CCadDbRaster::LoadTiffAttachment(database.engineDb, good.data(), 0, 420, 297), 0);
    EXPECT_EQ(Attachment(), before) << "the earlier picture stays";

    // The reader reports a zero resolution as none: a pixel per millimetre, finite sizes.
    for (const auto& zero : {MakeTiff(16, 2, 0, 1, 2), MakeTiff(16, 2, 200, 0, 3)}) {
        if (CCadDbRaster::LoadTiffAttachment(database.engineDb, zero.data(), zero.size(), 420, 297)) {
            EXPECT_TRUE(std::isfinite(Attachment()->widthMm));
            EXPECT_GT(Attachment()->widthMm, 0);
            EXPECT_TRUE(std::isfinite(Attachment()->factorX));
        }
    }
}

// Without the reader library in the program folder the picture cannot be read: the request
// answers 0, the log says which library is missing, and the picture attached before stays whole.
TEST_F(RasterDrawing, WithoutTheReaderLibraryNothingIsAttachedAndTheLogSaysWhy)
{
    const std::vector<unsigned char> first = MakeTiff(16, 2, 200, 1, 2);
    ASSERT_EQ(CCadDbRaster::LoadTiffAttachment(database.engineDb, first.data(), first.size(), 420, 297), 1);
    RasterAttachment* before = Attachment();
    const RasterAttachment kept = *before;
    const std::vector<unsigned char> keptBits(static_cast<const unsigned char*>(before->bits),
                                              static_cast<const unsigned char*>(before->bits) + 4);

    SettingsSandbox sandbox;
    ResetSystemLog();
    ConfigData& config = GetCadSystem().config;
    config.LOG = 1;
    config.file.LOGDIR = sandbox.Folder().File("logs");
    ResolveFilePaths(config.file);
    GetLocalSettingsLive().nLogKeepDays = -1;
    ASSERT_EQ(OpenSystemLog(), 1);

    const std::vector<unsigned char> second = MakeTiff(500, 250, 100, 2, 3);
    EXPECT_EQ(CCadDbRaster::LoadTiffAttachment(database.engineDb, second.data(), second.size(), 420, 297,
                                               "NoSuchReader.dll"),
              0);
    const std::string log = SettingsSandbox::ReadFile(GetSystemLogPath());
    ResetSystemLog();
    const std::size_t line = log.find(",\"NoSuchReader.dll が読み込めません\"");
    ASSERT_NE(line, std::string::npos) << log;
    EXPECT_NE(log.rfind("Error", line), std::string::npos) << log;

    ASSERT_EQ(Attachment(), before) << "the earlier picture stays attached";
    EXPECT_EQ(before->bitmapWidth, kept.bitmapWidth);
    EXPECT_EQ(before->bitmapHeight, kept.bitmapHeight);
    EXPECT_EQ(before->bits, kept.bits);
    EXPECT_EQ(before->tiffCopy, kept.tiffCopy);
    EXPECT_DOUBLE_EQ(before->widthMm, kept.widthMm);
    EXPECT_EQ(std::vector<unsigned char>(static_cast<const unsigned char*>(before->bits),
                                         static_cast<const unsigned char*>(before->bits) + 4),
              keptBits);
}

TEST_F(RasterDrawing, RequestsWithoutViewAnswerZeroAndUnknownOperationsToo)
{
    RasterRequest request;
    std::memset(&request, 0, sizeof request);
    for (int op : {2, 3, 4, 5, 7, 12, 13, 99}) {
        request.operation = op;
        EXPECT_EQ(HandleRasterRequest(&request), 0) << op;
    }
    request.operation = 8;
    EXPECT_EQ(HandleRasterRequest(&request), 1);
    EXPECT_EQ(HandleRasterRequest(nullptr), 0);
}

// A 32 x 16 pixel picture of 32 x 16 mm, its left half dark, drawn into a 100 x 60 pixel picture
// of a view at 2 pixels per millimetre: it covers 64 x 32 pixels about the world origin.
TEST_F(RasterDrawing, TheAttachedPictureIsDrawnWhereTheViewPutsIt)
{
    ASSERT_EQ(AllocRasterBuffers(), 1);
    const int savedBackground = GetLocalSettingsLive().setup.bBkColor;
    std::vector<uint8_t> bits;
    for (int row = 0; row < 16; ++row) bits.insert(bits.end(), {0xFF, 0xFF, 0x00, 0x00});
    auto* a = static_cast<RasterAttachment*>(NewLockedBlock(sizeof(RasterAttachment)));
    ASSERT_NE(a, nullptr);
    a->bits = NewLockedBlock(bits.size());
    std::memcpy(a->bits, bits.data(), bits.size());
    a->bitmapWidth = 32, a->bitmapHeight = 16;
    a->widthMm = 32, a->heightMm = 16, a->factorX = 1, a->factorY = 1;
    static_cast<EngineDbRecord*>(database.engineDb)->rasterAttachment = a;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 100, info.bmiHeader.biHeight = -60;
    info.bmiHeader.biPlanes = 1, info.bmiHeader.biBitCount = 32;
    void* pixels = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, target);
    auto pixel = [&](int x, int y) {
        GdiFlush();
        return static_cast<const DWORD*>(pixels)[y * 100 + x] & 0xFFFFFF;
    };
    DrawParamBlock block;
    std::memset(&block, 0, sizeof block);
    block.targetRect[2] = 100, block.targetRect[3] = 60;
    block.centreX = 50, block.centreY = 30, block.scale = 2;
    struct Case {
        int background;       // the user's background setting
        COLORREF fill;        // the view's background
        double offsetX;       // the view's offset in millimetres
        DWORD ink, paper;     // as read back from the picture
    } cases[] = {
        {0, RGB(0, 0, 0), 0, 0xFFFFFF, 0x000000},
        {1, RGB(255, 255, 255), 0, 0x000000, 0xFFFFFF},
        {0, RGB(0, 0, 0), 10, 0xFFFFFF, 0x000000},
    };
    for (const Case& c : cases) {
        GetLocalSettingsLive().setup.bBkColor = c.background;
        block.backgroundRgb = static_cast<int32_t>(c.fill);
        block.offsetX = c.offsetX;
        RECT all = {0, 0, 100, 60};
        HBRUSH brush = CreateSolidBrush(c.fill);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        ASSERT_EQ(DrawRasterAttachment(dc, block, database.engineDb), 1);
        const int shift = static_cast<int>(c.offsetX * 2);
        EXPECT_EQ(pixel(30 + shift, 30), c.ink) << "the dark half, background " << c.background;
        EXPECT_EQ(pixel(22 + shift, 16), c.ink) << "near its top left corner";
        EXPECT_EQ(pixel(70 + shift, 30), c.paper) << "the light half";
        EXPECT_EQ(pixel(14 + shift, 30), c.paper) << "left of the picture";
        EXPECT_EQ(pixel(30 + shift, 10), c.paper) << "above the picture";
        EXPECT_EQ(pixel(30 + shift, 50), c.paper) << "below the picture";
    }
    block.offsetX = 100;
    EXPECT_EQ(DrawRasterAttachment(dc, block, database.engineDb), 0) << "outside the view";
    block.offsetX = 0;
    EXPECT_EQ(DrawRasterAttachment(dc, block, nullptr), 0) << "no drawing";
    FreeLockedBlock(a->bits);
    EXPECT_EQ(DrawRasterAttachment(dc, block, database.engineDb), 0) << "no picture bits";

    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    GetLocalSettingsLive().setup.bBkColor = savedBackground;
    FreeRasterBuffers();
}

TEST(RasterPixelGeometry, RoundsDownAndBack)
{
    // 100 x 50 pixels of 200 x 100 mm, factors 1, scale 1: 2 mm per pixel, centred.
    const RasterPixelGeometry g = {100, 50, 200, 100, 1, 1, 1};
    struct Case {
        double x, y, px, py;
    } cases[] = {
        {0, 0, 50, 25},
        {-100, 50, 0, 0},
        {-101, 0, -1, 25},    // a pixel left of the picture: floor, not truncation
        {-102, 0, -1, 25},    // an exact negative value stays
        {-103, 0, -2, 25},
        {1, -1, 50, 25},
    };
    for (const Case& c : cases) {
        double x = c.x, y = c.y;
        ASSERT_EQ(WorldToRasterPixel(g, &x, &y), 1);
        EXPECT_EQ(x, c.px) << c.x;
        EXPECT_EQ(y, c.py) << c.y;
    }
    double x = 50, y = 25;
    ASSERT_EQ(RasterPixelToWorld(g, &x, &y), 1);
    EXPECT_DOUBLE_EQ(x, 0);
    EXPECT_DOUBLE_EQ(y, 0);
    const RasterPixelGeometry empty = {0, 50, 200, 100, 1, 1, 1};
    x = 3;
    EXPECT_EQ(WorldToRasterPixel(empty, &x, &y), 0);
    EXPECT_EQ(x, 3);
}

}  // namespace
