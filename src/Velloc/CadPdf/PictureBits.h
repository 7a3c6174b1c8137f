// Pictures of the export as bits: packed DIBs of image elements, the rotated one-bit rasters of
// raster elements, and their JPEG encoding through LumbraImage's QmCadImage.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "EngineRecords.h"

// Settings of the raster export shared by the process.
struct RasterExportDefaults {
    int sampleRows = 5;          // the sampling divisor v: at most v + 1 rows tested per pixel
    void* database = nullptr;    // the drawing being exported (set before each raster)
};
RasterExportDefaults& TheRasterExportDefaults();

// A temporary JPEG file of a unique name in the system's temporary folder, deleted when the
// object goes; the picture itself is handed on as bytes.
class TempJpegImage {
public:
    TempJpegImage();
    ~TempJpegImage();
    TempJpegImage(const TempJpegImage&) = delete;
    TempJpegImage& operator=(const TempJpegImage&) = delete;

    // Encodes the bitmap into the file and reads the file back. 0, or -1.
    int Encode(HBITMAP bitmap, std::string* jpeg);
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Bytes of the colour table of a packed DIB whose block holds `blockSize` bytes: -1 when the
// header or its table does not fit in the block. BI_BITFIELDS masks count as table.
long long DibColorTableSize(const BITMAPINFOHEADER* header, size_t blockSize);
// A screen-compatible bitmap of a packed DIB in global memory, or null (also for a block whose
// header, table or bits do not fit).
HBITMAP DibToBitmap(HGLOBAL block);
// 0 with the JPEG bytes, -1 without a block or when no bitmap or file could be made.
int SaveDibAsJpeg(HGLOBAL block, std::string* jpeg);
int SaveBitmapAsJpeg(HBITMAP bitmap, std::string* jpeg);

// The rotated raster of a raster record as a bitmap: 0 with a bitmap, -1 without.
int MakeRasterBitmap(HBITMAP* out, double magnification, const ElementRecord* record);
// One-bit rows (top-down, 32-bit padded) of W x H destination pixels sampled from the source
// raster; null when the buffer cannot be made. Free with VirtualFree.
uint8_t* RotateRasterBits(int width, int height, int halfWidth, int halfHeight, uint32_t srcW, uint32_t srcH,
                          const uint8_t* src, double angle, double magnification, double fx, double fy);
