#include "view/RasterGeometry.h"

#include <cstring>

int ComputeRasterPictureSize(const RasterHeader& h, double paperWidthMm, double paperHeightMm,
                             RasterPictureSize* size)
{
    if (h.width == 0 || h.height == 0)
        return 0;
    RasterPictureSize s = {static_cast<double>(h.width), static_cast<double>(h.height), 1.0, 1.0};
    if (h.unit == 2 || h.unit == 3) {
        // A zero resolution would give an infinite picture.
        if (h.xNumerator == 0 || h.xDenominator == 0 || h.yNumerator == 0 || h.yDenominator == 0)
            return 0;
        const double perUnit = h.unit == 2 ? 25.4 : 10.0;
        s.widthMm = h.width * perUnit / h.xNumerator * h.xDenominator;
        s.heightMm = h.height * perUnit / h.yNumerator * h.yDenominator;
        if (h.unit == 3) {
            s.xFactor = paperWidthMm / s.widthMm;
            s.yFactor = paperHeightMm / s.heightMm;
        }
    }
    *size = s;
    return 1;
}

int RasterPixel(const uint8_t* bits, uint32_t width, uint32_t height, long x, long y)
{
    if (x < 0 || y < 0 || x >= static_cast<long>(width) || y >= static_cast<long>(height))
        return 0;
    const uint8_t byte = bits[static_cast<size_t>(y) * RasterRowBytes(width) + x / 8];
    return (byte >> (7 - x % 8)) & 1;
}

namespace {

void SetPixel(std::vector<uint8_t>& bits, uint32_t rowBytes, uint32_t x, uint32_t y)
{
    bits[static_cast<size_t>(y) * rowBytes + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
}

}  // namespace

int RotateRasterBits(const uint8_t* bits, size_t bitsSize, uint32_t width, uint32_t height,
                     int turn, std::vector<uint8_t>* out, uint32_t* outWidth, uint32_t* outHeight)
{
    if (turn != kRasterTurnRight && turn != kRasterTurnLeft && turn != kRasterTurnHalf)
        return 0;
    if (!bits || static_cast<uint64_t>(RasterRowBytes(width)) * height > bitsSize)
        return 0;
    const bool quarter = turn != kRasterTurnHalf;
    const uint32_t newWidth = quarter ? height : width;
    const uint32_t newHeight = quarter ? width : height;
    const uint32_t newRow = RasterRowBytes(newWidth);
    std::vector<uint8_t> result(static_cast<size_t>(newRow) * newHeight, 0);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            if (!RasterPixel(bits, width, height, x, y))
                continue;
            if (turn == kRasterTurnRight)
                SetPixel(result, newRow, height - 1 - y, x);
            else if (turn == kRasterTurnLeft)
                SetPixel(result, newRow, y, width - 1 - x);
            else
                SetPixel(result, newRow, width - 1 - x, height - 1 - y);
        }
    }
    out->swap(result);
    *outWidth = newWidth;
    *outHeight = newHeight;
    return 1;
}

int IsCharacteristicPattern(const int cells[9])
{
    if (!cells[4])
        return 0;
    int count = 0;
    for (int i = 0; i < 9; ++i)
        if (i != 4 && cells[i])
            ++count;
    if (count <= 1)
        return 1;
    if (count == 2) {
        // An L corner: the centre and both cells inside one of the four 2 x 2 squares around it.
        static const int squares[4][3] = {{0, 1, 3}, {1, 2, 5}, {3, 6, 7}, {5, 7, 8}};
        for (const auto& sq : squares) {
            int inside = 0;
            for (int c : sq)
                inside += cells[c] ? 1 : 0;
            if (inside == 2)
                return 1;
        }
        return 0;
    }
    const int edges = (cells[1] ? 1 : 0) + (cells[3] ? 1 : 0) + (cells[5] ? 1 : 0) + (cells[7] ? 1 : 0);
    if (count == 3 && edges == 3)
        return 1;  // a T
    if (count == 4 && edges == 4)
        return 1;  // a cross
    return 0;
}

namespace {

// The 3 x 3 cells of blocks of size n around the pixel; a block counts when at least threshold
// of its pixels are set.
bool AcceptedAtScale(const uint8_t* bits, uint32_t width, uint32_t height, long x, long y, int n, int threshold)
{
    // The centre block: the pixel and the next for 2, centred for 3, one before to two after for 4.
    const long start = n == 2 ? 0 : n == 3 ? -1 : n == 4 ? -1 : 0;
    int cells[9];
    for (int cy = 0; cy < 3; ++cy) {
        for (int cx = 0; cx < 3; ++cx) {
            const long bx = x + start + (cx - 1) * n, by = y + start + (cy - 1) * n;
            int count = 0;
            for (long j = 0; j < n; ++j)
                for (long i = 0; i < n; ++i) count += RasterPixel(bits, width, height, bx + i, by + j);
            cells[cy * 3 + cx] = count >= threshold ? 1 : 0;
        }
    }
    return IsCharacteristicPattern(cells) != 0;
}

}  // namespace

int FindCharacteristicPixel(const uint8_t* bits, uint32_t width, uint32_t height, long column, long row,
                            long* foundX, long* foundY)
{
    if (!bits) return 0;
    static const int kScales[4][2] = {{1, 1}, {2, 2}, {3, 6}, {4, 11}};
    for (int a = 0; a <= 14; ++a) {
        const long dx = a == 0 ? 0 : (a % 2 ? -(a + 1) / 2 : a / 2);
        for (int b = 0; b <= 14; ++b) {
            const long dy = b == 0 ? 0 : (b % 2 ? -(b + 1) / 2 : b / 2);
            const long x = column + dx, y = row + dy;
            if (!RasterPixel(bits, width, height, x, y)) continue;
            for (const auto& scale : kScales) {
                if (AcceptedAtScale(bits, width, height, x, y, scale[0], scale[1])) {
                    *foundX = x;
                    *foundY = y;
                    return 1;
                }
            }
        }
    }
    return 0;
}
