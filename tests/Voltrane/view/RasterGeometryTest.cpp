#include "GTest.h"

#include <cstring>

#include "view/RasterGeometry.h"

namespace {

struct SizeCase {
    const char* name;
    RasterHeader header;
    int result;
    double widthMm, heightMm, xFactor, yFactor;
};

TEST(ComputeRasterPictureSize, ByResolutionUnit)
{
    const double paperW = 420.0, paperH = 297.0;
    const SizeCase cases[] = {
        {"inch, 200 dpi", {1654, 2339, 200, 1, 200, 1, 2}, 1, 1654 * 25.4 / 200, 2339 * 25.4 / 200, 1, 1},
        {"inch with a denominator", {1654, 800, 400, 2, 100, 1, 2}, 1, 1654 * 25.4 / 200, 800 * 25.4 / 100, 1, 1},
        // 100 pixels per 2 cm = 50 px/cm: 500 px is 100 mm.
        {"centimetre with a denominator", {500, 250, 100, 2, 50, 1, 3}, 1, 100, 50, paperW / 100, paperH / 50},
        {"no unit: a pixel per millimetre", {30, 40, 0, 0, 0, 0, 1}, 1, 30, 40, 1, 1},
        {"zero numerator", {30, 40, 0, 1, 200, 1, 2}, 0, 0, 0, 0, 0},
        {"zero denominator", {30, 40, 200, 1, 200, 0, 3}, 0, 0, 0, 0, 0},
        {"zero width", {0, 40, 200, 1, 200, 1, 2}, 0, 0, 0, 0, 0},
    };
    for (const SizeCase& c : cases) {
        RasterPictureSize size = {-1, -1, -1, -1};
        ASSERT_EQ(ComputeRasterPictureSize(c.header, paperW, paperH, &size), c.result) << c.name;
        if (!c.result) {
            EXPECT_EQ(size.widthMm, -1) << c.name << ": nothing written";
            continue;
        }
        EXPECT_NEAR(size.widthMm, c.widthMm, 1e-9) << c.name;
        EXPECT_NEAR(size.heightMm, c.heightMm, 1e-9) << c.name;
        EXPECT_NEAR(size.xFactor, c.xFactor, 1e-9) << c.name;
        EXPECT_NEAR(size.yFactor, c.yFactor, 1e-9) << c.name;
    }
    RasterPictureSize size;
    ASSERT_EQ(ComputeRasterPictureSize({1654, 10, 200, 1, 200, 1, 2}, 0, 0, &size), 1);
    EXPECT_NEAR(size.widthMm, 210.058, 0.0005);
}

// A picture with a distinct pixel pattern: no turn maps it onto itself.
std::vector<uint8_t> Fixture(uint32_t w, uint32_t h)
{
    std::vector<uint8_t> bits(RasterRowBytes(w) * h, 0);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x)
            if ((x * 7 + y * 3 + x * y) % 5 == 0 || (x == 0 && y == 0))
                bits[y * RasterRowBytes(w) + x / 8] |= 0x80 >> (x % 8);
    return bits;
}

std::vector<uint8_t> Turn(const std::vector<uint8_t>& bits, uint32_t* w, uint32_t* h, int turn)
{
    std::vector<uint8_t> out;
    uint32_t nw = 0, nh = 0;
    EXPECT_EQ(RotateRasterBits(bits.data(), bits.size(), *w, *h, turn, &out, &nw, &nh), 1);
    *w = nw;
    *h = nh;
    return out;
}

TEST(RotateRasterBits, RightThenLeftRestoresAndTwoRightsAreAHalfTurn)
{
    const uint32_t w0 = 21, h0 = 9;
    const std::vector<uint8_t> original = Fixture(w0, h0);

    uint32_t w = w0, h = h0;
    const std::vector<uint8_t> right = Turn(original, &w, &h, kRasterTurnRight);
    EXPECT_EQ(w, h0);
    EXPECT_EQ(h, w0);
    // The top-left pixel goes to the top-right corner.
    EXPECT_EQ(RasterPixel(right.data(), w, h, w - 1, 0), 1);
    const std::vector<uint8_t> back = Turn(right, &w, &h, kRasterTurnLeft);
    EXPECT_EQ(w, w0);
    EXPECT_EQ(h, h0);
    EXPECT_EQ(back, original);

    uint32_t w2 = w0, h2 = h0;
    const std::vector<uint8_t> twice = Turn(Turn(original, &w2, &h2, kRasterTurnRight), &w2, &h2, kRasterTurnRight);
    uint32_t w3 = w0, h3 = h0;
    const std::vector<uint8_t> half = Turn(original, &w3, &h3, kRasterTurnHalf);
    EXPECT_EQ(w2, w3);
    EXPECT_EQ(h2, h3);
    EXPECT_EQ(twice, half);
    EXPECT_NE(half, original);
}

TEST(RotateRasterBits, SeventeenByOneBecomesOneBySeventeenWithTwoByteRows)
{
    std::vector<uint8_t> bits = {0xFF, 0xFF, 0x80, 0x00};  // 17 set pixels, a 4-byte row
    std::vector<uint8_t> out;
    uint32_t w = 0, h = 0;
    ASSERT_EQ(RotateRasterBits(bits.data(), bits.size(), 17, 1, kRasterTurnRight, &out, &w, &h), 1);
    EXPECT_EQ(w, 1u);
    EXPECT_EQ(h, 17u);
    ASSERT_EQ(out.size(), 17u * 2);
    for (uint32_t y = 0; y < 17; ++y) {
        EXPECT_EQ(out[y * 2], 0x80) << "row " << y;
        EXPECT_EQ(out[y * 2 + 1], 0x00) << "row " << y;
    }
}

TEST(RotateRasterBits, RefusesShortBitsAndUnknownTurns)
{
    std::vector<uint8_t> bits(3, 0xFF);
    std::vector<uint8_t> out;
    uint32_t w = 7, h = 7;
    EXPECT_EQ(RotateRasterBits(bits.data(), bits.size(), 17, 1, kRasterTurnRight, &out, &w, &h), 0);
    EXPECT_EQ(RotateRasterBits(bits.data(), bits.size(), 8, 1, kRasterTurnNone, &out, &w, &h), 0);
    EXPECT_EQ(RotateRasterBits(bits.data(), bits.size(), 8, 1, 4, &out, &w, &h), 0);
    EXPECT_EQ(w, 7u);
    EXPECT_TRUE(out.empty());
}

struct PatternCase {
    const char* name;
    int cells[9];
    int accepted;
};

TEST(IsCharacteristicPattern, AcceptsEndsCornersTeesAndCrosses)
{
    const PatternCase cases[] = {
        {"lone pixel", {0, 0, 0, 0, 1, 0, 0, 0, 0}, 1},
        {"end of a vertical line", {0, 1, 0, 0, 1, 0, 0, 0, 0}, 1},
        {"end of a diagonal", {0, 0, 0, 0, 1, 0, 0, 0, 1}, 1},
        {"L corner", {0, 1, 0, 0, 1, 1, 0, 0, 0}, 1},
        {"L corner with its diagonal", {1, 1, 0, 0, 1, 0, 0, 0, 0}, 1},
        {"three in a row", {0, 1, 0, 0, 1, 0, 0, 1, 0}, 0},
        {"diagonal through", {1, 0, 0, 0, 1, 0, 0, 0, 1}, 0},
        {"T", {0, 1, 0, 1, 1, 1, 0, 0, 0}, 1},
        {"cross", {0, 1, 0, 1, 1, 1, 0, 1, 0}, 1},
        {"three with a diagonal", {1, 1, 0, 1, 1, 0, 0, 0, 0}, 0},
        {"full block", {1, 1, 1, 1, 1, 1, 1, 1, 1}, 0},
        {"centre not set", {0, 1, 0, 0, 0, 0, 0, 0, 0}, 0},
    };
    for (const PatternCase& c : cases)
        EXPECT_EQ(IsCharacteristicPattern(c.cells), c.accepted) << c.name;
}

// A picture with one vertical line one pixel wide, rows 2 to 12.
TEST(FindCharacteristicPixel, AVerticalLineGivesItsEndNotItsMiddle)
{
    const uint32_t w = 16, h = 16;
    std::vector<uint8_t> bits(RasterRowBytes(w) * h, 0);
    for (uint32_t y = 2; y <= 12; ++y) bits[y * RasterRowBytes(w) + 0] |= 0x80 >> 5;
    long x = -1, y = -1;
    // From the middle of the line the nearest end within reach is found (7 rows away at most).
    ASSERT_EQ(FindCharacteristicPixel(bits.data(), w, h, 5, 7, &x, &y), 1);
    EXPECT_EQ(x, 5);
    // Near an end (a coarser scale takes a pixel up to two from the end for it), not the middle.
    EXPECT_TRUE(y <= 4 || y >= 10) << y;
    ASSERT_EQ(FindCharacteristicPixel(bits.data(), w, h, 5, 2, &x, &y), 1);
    EXPECT_EQ(y, 2) << "the end pixel itself";
    // Far from the line: nothing.
    EXPECT_EQ(FindCharacteristicPixel(bits.data(), w, h, 15, 15, &x, &y), 0);
    EXPECT_EQ(FindCharacteristicPixel(nullptr, w, h, 5, 3, &x, &y), 0);
}

}  // namespace
