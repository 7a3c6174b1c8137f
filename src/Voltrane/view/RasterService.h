// Raster pictures of a drawing (host message 2610): the TIFF picture attached to a drawing as a
// whole, the monochrome raster elements (type 55), the conversions between world and picture
// pixels, and the engine's raster compression. One CCadDbRaster serves one request.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "DrawingWindowRecords.h"

// The request record plug-ins fill (lParam of 2610).
struct RasterRequest {
    int32_t operation;          // 0
    uint8_t reserved4[260];     // 4
    int32_t dataLength;         // 264
    uint8_t reserved268[4];     // 268
    void* data;                 // 272
    uint8_t reserved276[72];    // 276
    double* point1;             // 348
    void* point2;               // 352: the second point, an output record or an engine field
    HWND view;                  // 356
};
static_assert(offsetof(RasterRequest, dataLength) == 264 && offsetof(RasterRequest, data) == 272 &&
                  offsetof(RasterRequest, point1) == 348 && offsetof(RasterRequest, point2) == 352 &&
                  offsetof(RasterRequest, view) == 356,
              "raster request layout");

// The locked global memory blocks the attachment keeps (the database release frees them the
// same way): a zeroed new block, or null; and the release of one, which clears the pointer.
void* NewLockedBlock(size_t size);
void FreeLockedBlock(void*& pointer);

// The pixel geometry of an attached picture in a drawing of the given scale.
struct RasterPixelGeometry {
    double pixelsW, pixelsH;   // W, H
    double widthMm, heightMm;  // w, h
    double factorX, factorY;   // fx, fy
    double drawingScale;       // s
};
// World to pixel, rounded down (a negative exact value stays as it is); and back from the
// integer parts. 0 when the geometry has a zero size, factor or scale (nothing written).
int WorldToRasterPixel(const RasterPixelGeometry& g, double* x, double* y);
int RasterPixelToWorld(const RasterPixelGeometry& g, double* x, double* y);

class CCadDbRaster {
public:
    virtual ~CCadDbRaster() = default;
    // The answer of message 2610; unknown operations answer 0.
    LRESULT Handle(RasterRequest* request);

    // Attaches the TIFF bytes to the database: 1, or 0 (nothing attached, the earlier picture
    // kept) when the reader library or one of its entries is missing, the picture cannot be
    // read or its resolution is zero. The reader library is the file of that name in the
    // program folder; a missing one is written to the operation log.
    static int LoadTiffAttachment(void* db, const void* bytes, size_t length, double paperWidthMm,
                                  double paperHeightMm, const char* readerLibrary = "Tifmora.dll");
    static int DeleteRasterElements(HWND view, void* element);
    static long CountRasterElements(HWND view);
    // Releases the attachment of a database record (its copies, bits, bitmap and itself).
    static void FreeAttachment(RasterAttachment* attachment);
};

// The raster snap: a characteristic point (end, corner, junction) of a raster element under the
// cursor near the point (x, y) into out (x, y). 1 when one was found.
int DetectRasterPoint(const double* point, double* out);

// Message 2610.
LRESULT HandleRasterRequest(RasterRequest* request);
