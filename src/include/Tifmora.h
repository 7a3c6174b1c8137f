// Calls of the TIFF reader library Tifmora: the header of a TIFF held in memory, and its
// picture as one-bit rows. Exported by name, stdcall; loaded by name at run time.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#define TIFMORA_API extern "C"

#pragma pack(push, 1)
// What GetHeadfromTIFF fills (32 bytes).
struct TiffHeadRecord {
    uint32_t width;              // pixels
    uint32_t height;             // pixels
    uint16_t bitsPerSample;
    uint16_t samplesPerPixel;
    uint16_t photometric;        // TIFF photometric interpretation
    uint32_t xResolutionNum;     // x resolution as numerator / denominator
    uint32_t xResolutionDen;
    uint32_t yResolutionNum;
    uint32_t yResolutionDen;
    uint16_t resolutionUnit;     // 1 none, 2 inch, 3 centimetre
};
#pragma pack(pop)

static_assert(sizeof(TiffHeadRecord) == 32, "TiffHeadRecord is 32 bytes");
static_assert(offsetof(TiffHeadRecord, width) == 0, "width at 0");
static_assert(offsetof(TiffHeadRecord, height) == 4, "height at 4");
static_assert(offsetof(TiffHeadRecord, xResolutionNum) == 14, "x resolution at 14");
static_assert(offsetof(TiffHeadRecord, xResolutionDen) == 18, "x denominator at 18");
static_assert(offsetof(TiffHeadRecord, yResolutionNum) == 22, "y resolution at 22");
static_assert(offsetof(TiffHeadRecord, yResolutionDen) == 26, "y denominator at 26");
static_assert(offsetof(TiffHeadRecord, resolutionUnit) == 30, "resolution unit at 30");

// Reads the first picture's header. 1 with header filled, 0 for a file that is not a
// readable TIFF (header then zeroed). A picture without resolution reports unit 1.
TIFMORA_API int WINAPI GetHeadfromTIFF(const void* bytes, DWORD length, TiffHeadRecord* header);

// Decodes the first picture into one-bit rows: row 0 first, each row ((width + 15) / 16) * 2
// bytes, leftmost pixel in the most significant bit, 1 = dark pixel. Colour and grey pictures
// are thresholded at half brightness. Returns a locked GlobalAlloc block (free it with
// GlobalUnlock and GlobalFree) and the size in pixels; null (sizes 0) on any failure.
TIFMORA_API void* WINAPI GetBMPfromTIFF(const void* bytes, DWORD length, DWORD* width,
                                        DWORD* height);
