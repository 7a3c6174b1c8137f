// The geometry of monochrome raster pictures: their size from a TIFF header, the turns by right
// angles, and the pixel patterns the raster snap accepts. Bits are stored row by row, top row
// first, each row padded to 16 bits, the leftmost pixel in the most significant bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Bytes of one row of a picture that is width pixels wide.
inline uint32_t RasterRowBytes(uint32_t width) { return ((width + 15) / 16) * 2; }

// The resolution part of a TIFF header: pixel size, the resolutions as fractions and the unit
// (2 inch, 3 centimetre, anything else: one pixel per millimetre).
struct RasterHeader {
    uint32_t width;
    uint32_t height;
    uint32_t xNumerator, xDenominator;
    uint32_t yNumerator, yDenominator;
    uint16_t unit;
};

// The picture's size in millimetres and its factors (world units per millimetre).
struct RasterPictureSize {
    double widthMm, heightMm;
    double xFactor, yFactor;
};

// The size of a picture from its header; a centimetre picture is scaled to fill the paper.
// 0 (nothing written) for a zero resolution numerator or denominator, or a zero pixel size.
int ComputeRasterPictureSize(const RasterHeader& header, double paperWidthMm,
                             double paperHeightMm, RasterPictureSize* size);

// The turns of the rotation dialog: 1 right by 90 degrees, 2 left by 90 degrees, 3 by 180.
enum RasterTurn { kRasterTurnNone = 0, kRasterTurnRight = 1, kRasterTurnLeft = 2, kRasterTurnHalf = 3 };

// Turns the width x height picture in bits; the result, its width and height go to the out
// arguments. 0 for an unknown turn or bits shorter than the picture.
int RotateRasterBits(const uint8_t* bits, size_t bitsSize, uint32_t width, uint32_t height,
                     int turn, std::vector<uint8_t>* out, uint32_t* outWidth, uint32_t* outHeight);

// 1 when the pixel (x, y) of the picture is set; 0 outside it.
int RasterPixel(const uint8_t* bits, uint32_t width, uint32_t height, long x, long y);

// The raster snap's test of a 3 x 3 neighbourhood (row by row, the centre at 4, set): an end
// (at most one other cell), an L corner, a T or a cross. Three in a row and anything else: 0.
int IsCharacteristicPattern(const int cells[9]);

// The raster snap's search around pixel (column, row): pixels at offsets 0, -1, +1, ... -7, +7
// in each direction; a set pixel is accepted when its neighbourhood is a characteristic pattern
// at one of four scales (single pixels, then blocks of 2, 3 and 4 pixels). 1 with the pixel in
// *foundX, *foundY; 0 when none qualifies.
int FindCharacteristicPixel(const uint8_t* bits, uint32_t width, uint32_t height, long column, long row,
                            long* foundX, long* foundY);
