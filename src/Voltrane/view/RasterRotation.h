// Turning raster pictures: the screen-sized work plane reserved at start-up, the renderer that
// draws a raster turned and scaled into a monochrome bitmap (operation 14 of message 2610), and
// the command that turns the picture attached to the active drawing by a right angle after
// asking in the dialog "ROTDIALOG".
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "DrawingWindowRecords.h"
#include "EngineRecords.h"

// The parameter record of the renderer (72 bytes, as plug-ins fill it).
#pragma pack(push, 1)
struct RasterRenderParams {
    int32_t x1, y1, x2, y2;       // 0: the destination rectangle
    int32_t offsetX, offsetY;     // 16: subtracted from the rectangle
    int32_t sourceWidth;          // 24: pixels
    int32_t sourceHeight;         // 28
    const uint8_t* sourceBits;    // 32: rows of ((width + 15) / 16) * 2 bytes
    double angle;                 // 36: radians
    double size;                  // 44: l
    uint8_t* callerBuffer;        // 52: null for a bitmap of the work plane
    double scaleX;                // 56: m
    double scaleY;                // 64: t
};
#pragma pack(pop)
static_assert(sizeof(RasterRenderParams) == 72 && offsetof(RasterRenderParams, sourceBits) == 32 &&
                  offsetof(RasterRenderParams, angle) == 36 && offsetof(RasterRenderParams, callerBuffer) == 52 &&
                  offsetof(RasterRenderParams, scaleY) == 64,
              "raster render record layout");

// Whether the renderer's picture has ink as cleared bits (a light drawing background) rather
// than set ones.
bool IsRasterInkClearedBits();

int AllocRasterBuffers();
int FreeRasterBuffers();

// A new monochrome bitmap of the turned raster, or 0 (also when a caller buffer took the
// picture, or the request is refused).
HBITMAP RenderRasterRotated(const RasterRenderParams* params);

// Turns the attachment's picture (1 right, 2 left, 3 by 180 degrees), exchanging its sizes and
// factors for a quarter turn; a bit block too small for the result is replaced. 1 done, 0 when
// there is no picture or memory runs out.
int ApplyRasterTurn(RasterAttachment* attachment, int turn);

// The rotation command: asks in "ROTDIALOG" and turns the active drawing's picture. 1 (also
// after a refusal or a cancel), 0 when memory runs out.
int RotateRasterAttachment(HWND owner);

// Draws the picture attached to the drawing into a view's picture where the view's setting in
// the draw block puts it (centred on the world origin, as the raster pixel conversions have
// it), in the colour that stands out from the background. 1 when some of it was drawn; 0
// without a picture, outside the target or without the work plane.
int DrawRasterAttachment(HDC dc, const DrawParamBlock& block, void* db);
