#include "GTest.h"

#include <cstring>
#include <vector>

#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "view/RasterGeometry.h"
#include "view/RasterRotation.h"

namespace {

void* LockedCopy(const std::vector<uint8_t>& bits)
{
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bits.size());
    void* p = GlobalLock(handle);
    std::memcpy(p, bits.data(), bits.size());
    return p;
}

void FreeLocked(void* p)
{
    HGLOBAL handle = GlobalHandle(p);
    GlobalUnlock(handle);
    GlobalFree(handle);
}

TEST(ApplyRasterTurn, AWidePictureTurnsAboutItsCentreInALargerBlock)
{
    // 17 x 1: a 4-byte block; turned it needs 17 rows of 2 bytes.
    RasterAttachment a;
    std::memset(&a, 0, sizeof a);
    a.bits = LockedCopy({0xFF, 0xFF, 0x80, 0x00});
    a.bitmapWidth = 17, a.bitmapHeight = 1;
    a.widthMm = 17, a.heightMm = 1, a.factorX = 2, a.factorY = 3;
    a.left = -8.5, a.top = 0.5;
    ASSERT_EQ(ApplyRasterTurn(&a, kRasterTurnRight), 1);
    EXPECT_EQ(a.bitmapWidth, 1u);
    EXPECT_EQ(a.bitmapHeight, 17u);
    EXPECT_GE(GlobalSize(GlobalHandle(a.bits)), 34u) << "the block was replaced by one large enough";
    for (long y = 0; y < 17; ++y) EXPECT_EQ(RasterPixel(static_cast<uint8_t*>(a.bits), 1, 17, 0, y), 1);
    EXPECT_EQ(a.widthMm, 1);
    EXPECT_EQ(a.heightMm, 17);
    EXPECT_EQ(a.factorX, 3);
    EXPECT_EQ(a.factorY, 2);
    EXPECT_DOUBLE_EQ(a.left + a.widthMm / 2, 0) << "the centre stays";
    EXPECT_DOUBLE_EQ(a.top - a.heightMm / 2, 0);
    ASSERT_EQ(ApplyRasterTurn(&a, kRasterTurnLeft), 1);
    EXPECT_EQ(a.bitmapWidth, 17u);
    EXPECT_EQ(static_cast<uint8_t*>(a.bits)[0], 0xFF);
    EXPECT_EQ(static_cast<uint8_t*>(a.bits)[2], 0x80);
    EXPECT_EQ(ApplyRasterTurn(&a, 0), 1) << "a cancel changes nothing";
    EXPECT_EQ(a.bitmapWidth, 17u);
    FreeLocked(a.bits);
    RasterAttachment none;
    std::memset(&none, 0, sizeof none);
    EXPECT_EQ(ApplyRasterTurn(&none, kRasterTurnRight), 0);
}

class RenderRaster : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(AllocRasterBuffers(), 1);
        saved = GetLocalSettingsLive().setup.bBkColor;
    }
    void TearDown() override
    {
        FreeRasterBuffers();
        GetLocalSettingsLive().setup.bBkColor = saved;
    }
    int saved = 0;
};

TEST_F(RenderRaster, AnEmptySourceOnWhiteIsAllOnesAndInkClearsBits)
{
    std::vector<uint8_t> source(2 * 16, 0);  // 16 x 16, blank
    RasterRenderParams p;
    std::memset(&p, 0, sizeof p);
    p.x1 = -8, p.y1 = -8, p.x2 = 8, p.y2 = 8;
    p.sourceWidth = 16, p.sourceHeight = 16;
    p.sourceBits = source.data();
    p.size = 1, p.scaleX = 1, p.scaleY = 1;
    GetLocalSettingsLive().setup.bBkColor = 1;
    HBITMAP blank = RenderRasterRotated(&p);
    ASSERT_NE(blank, nullptr);
    uint8_t bits[32] = {};
    ASSERT_EQ(GetBitmapBits(blank, sizeof bits, bits), 32);
    for (uint8_t b : bits) EXPECT_EQ(b, 0xFF);
    DeleteObject(blank);

    source[0] = 0x80;  // the top-left source pixel
    HBITMAP ink = RenderRasterRotated(&p);
    ASSERT_NE(ink, nullptr);
    ASSERT_EQ(GetBitmapBits(ink, sizeof bits, bits), 32);
    int cleared = 0;
    for (uint8_t b : bits)
        for (int i = 0; i < 8; ++i) cleared += (b >> i) & 1 ? 0 : 1;
    EXPECT_GE(cleared, 1);
    DeleteObject(ink);
}

// The source's pixel counts come from a plug-in: a block shorter than they say is refused
// instead of read past its end. The split setting is read, never written back.
TEST_F(RenderRaster, ASourceShorterThanItsCountsIsRefusedAndTheSplitSettingStays)
{
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    auto* pages = static_cast<uint8_t*>(VirtualAlloc(nullptr, 2 * page, MEM_COMMIT, PAGE_READWRITE));
    ASSERT_NE(pages, nullptr);
    DWORD oldProtection = 0;
    ASSERT_TRUE(VirtualProtect(pages + page, page, PAGE_NOACCESS, &oldProtection));
    std::memset(pages, 0xFF, page);
    RasterRenderParams p;
    std::memset(&p, 0, sizeof p);
    p.x1 = -8, p.y1 = -8, p.x2 = 8, p.y2 = 8;
    p.sourceWidth = 16;  // rows of 2 bytes: the readable page holds page / 2 of them
    p.sourceBits = pages;
    p.size = 1, p.scaleX = 1, p.scaleY = 1;
    int& split = GetCadSystem().config.RASTRSPLIT;
    const int savedSplit = split;
    split = 0;
    GetLocalSettingsLive().setup.bBkColor = 0;
    p.sourceHeight = static_cast<int32_t>(page / 2 + 1);
    EXPECT_EQ(RenderRasterRotated(&p), nullptr) << "one row more than the block holds";
    p.sourceHeight = static_cast<int32_t>(page / 2);
    HBITMAP whole = RenderRasterRotated(&p);
    EXPECT_NE(whole, nullptr);
    if (whole) DeleteObject(whole);
    EXPECT_EQ(split, 0) << "the setting as the user left it";
    split = savedSplit;
    VirtualFree(pages, 0, MEM_RELEASE);
}

TEST_F(RenderRaster, OversizedRequestsAreRefusedBeforeTheCallersBufferIsTouched)
{
    RasterRenderParams p;
    std::memset(&p, 0, sizeof p);
    p.x2 = GetSystemMetrics(SM_CXSCREEN) + 100, p.y2 = 10;
    EXPECT_EQ(RenderRasterRotated(&p), nullptr) << "wider than the work plane";
    EXPECT_EQ(RenderRasterRotated(nullptr), nullptr);
}

}  // namespace
