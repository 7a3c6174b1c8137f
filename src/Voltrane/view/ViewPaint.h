// The paint of a drawing view: a draw parameter block that tells the engine where and how to
// draw, the engine's draw calls, and what the engine does not draw (the background and the
// grid), double-buffered through a memory bitmap.
#pragma once

#include <windows.h>

#include <string>

#include "DrawingWindowRecords.h"
#include "EngineRecords.h"

// The settings one paint reads, copied from the live settings at the start of the paint so
// that the paint never rewrites them.
struct ViewPaintSettings {
    int backgroundMode = 0;          // bBkColor: 0 black, 1 white, 2 the configured colour
    COLORREF background = 0;
    int colourMode = 0;              // bColorMode
    int termDraw = 0;                // bTermDrawFg
    int pointSize = 0;               // bPointSize
    int lineWidthSize = 0;           // bLineWidthSize
    int doubleBuffer = 1;            // bit 0 of iDispDrawMode
    int paperFramesOff = 0;          // PAPERLINEDSPOFF
    int paperFrameColour = 0;        // paper_margin.papercolor
    int marginFrameColour = 0;       // paper_margin.color
    double marginLeft = 0, marginRight = 0, marginTop = 0, marginBottom = 0;       // landscape
    double marginLeft2 = 0, marginRight2 = 0, marginTop2 = 0, marginBottom2 = 0;   // portrait
    std::string errorFont;           // ERRFONT
    double gridPitchX = 0, gridPitchY = 0;
    int gridExtraMode = 0;           // bGridDspModeExtr
    int gridColourW = 1, gridColourW5 = 9, gridColourB = 7, gridColourB5 = 1;
    int gridOn = 0;
    double gridOriginX = 0, gridOriginY = 0;
    int lastPointShown = 0;          // bLastPosViewFg and a last point to show
    double lastPointX = 0, lastPointY = 0, lastPointZ = 0;
};
ViewPaintSettings CurrentViewPaintSettings();

// Fills the draw block of one paint (zeroed first) for the view's block, drawing information,
// client rectangle, window and target device context.
void FillDrawParamBlock(DrawParamBlock& out, const PDBINFO& block, const DbInfoRecord& info, const RECT& client,
                        HWND window, HDC dc, const ViewPaintSettings& settings);

// The grid pitch the paint draws: the configured pitch doubled until neighbouring grid lines
// are at least 10 pixels apart. False when there is no grid to draw (a pitch that is not above
// 0, or a view scale that is 0 or not finite).
bool ComputeGridPitch(double pitchX, double pitchY, const ViewModeInfo& mode, int centreX, int centreY,
                      double paperWidth, double paperHeight, double* drawnX, double* drawnY, bool* doubled);

struct GridColours {
    int normal = 0, fifth = 0;
};
// The grid colour numbers for the background and whether the pitch was doubled.
GridColours ChooseGridColours(const ViewPaintSettings& settings, bool doubled);

// Draws the grid into the block's device context.
void DrawViewGrid(HDC dc, const DrawParamBlock& block, const ViewPaintSettings& settings, void* db,
                  double paperWidth, double paperHeight);

// Renders the view's drawing into the target device context (through a memory bitmap when
// double-buffered); the seconds it took.
double RenderView(HDC target, const RECT& client, HWND view, PDBINFO* block, CDrawSurface* surface);

// The WM_PAINT of a view: never draws without a block or database, and always ends the paint.
void PaintView(HWND view, PDBINFO* block, CDrawSurface* surface);
