// Drawing into views outside their paint: one filler of the engine's draw block for a view
// window, the walks over the views that show the same drawing, the redraw of an element or a
// mark, the last-point and keyboard-cursor markers (drawn with XOR, erased by drawing again),
// and the world-to-client conversion for plug-ins.
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"
#include "HostRecords.h"

// Draw kinds of the engine's draw block.
enum DrawKind { kDrawDatabase = 0, kDrawElement = 1, kDrawMark = 2, kDrawRecords = 3, kDrawRecords2 = 4 };

// The colour argument of the draws: below 0 the elements' own colours.
constexpr int kOwnColours = -1;

// One draw into a view window: kind with its data (and count for the record arrays), a
// colour override unless colour is kOwnColours, XOR when xorDraw is set, the option word when
// option is set. Nothing without a database or its information.
void DrawInView(HWND view, PDBINFO* block, void* db, int kind, void* data, int count, int colour,
                int xorDraw, int option);
// A whole rubber-band database drawn into a view with the rubber colour and XOR.
void DrawScratchDbInView(HWND view, PDBINFO* block, void* scratchDb);

// The views of the drawing of start (of its drawing id, and with sameMode of its view mode),
// start first; only start when its drawing has one view. Calls draw(view, block) for each.
template <typename Draw>
void ForEachSiblingView(HWND start, PDBINFO* startBlock, bool sameMode, Draw draw);

// The element drawn in the view and in every other view of its drawing in the same view mode.
int RedrawElementInViews(HWND view, int colour, void* element);
// The mark drawn in every view of its database's drawing, whatever their view mode.
int RedrawMarkInViews(HWND ignored, int colour, void* mark);
// The mark drawn in the view and the views of its drawing in the same mode, with the option word.
int DrawMarkInView(HWND view, int colour, void* mark);

// The blinking elements of the view's drawing drawn in colour 0 (phase 0) or their own colours;
// the drawing's blink word is cleared when none is left. 0 without database or blink word.
int BlinkFlaggedElements(HWND view, int phase);

// The active drawing fitted into the rectangle of a device context, with its frames (the
// page-layout view). 1, 0 without drawing or for an empty rectangle.
int DrawActivePageFitted(HDC dc, int left, int top, int right, int bottom);
// The active drawing's world rectangle (x1, y1)-(x2, y2) filling the window's client area (the
// loupe). 1, 0 without window or drawing or for an empty rectangle.
int DrawLoupeView(HWND window, HDC dc, double x1, double y1, double x2, double y2);
// Messages 2640 and 2641: a mark (kDrawMark), one element record in the colour at +0
// (kDrawElement) or every raster element (-1) of the view's drawing, the world rectangle at +40
// fitted into the pixel rectangle at +44 of the device context at +4. 1, 0 without drawing.
int DrawToDevice(CmdParamRecord* param, int what);

// The database a mark belongs to (its first word); null for a null mark.
void* GetMarkDb(void* mark);

// The last input point of the input loops and whether one is known.
void SetLastInputPoint(double x, double y, double z);
int GetLastInputPoint(double* x, double* y, double* z);
// Where the last-point marker stands in the view (1), so that a repaint draws it again; 0 when
// it is not shown there.
int GetShownLastPointMarker(HWND view, double* x, double* y, double* z);

// Message 2642: the world rectangle at +40 converted into the RECT at +44 with the view's
// current view setting. 1, 0 without drawing block.
int WorldRectToClientRect(CmdParamRecord* param);

// ---- implementation of the template ----
#include "view/ViewTable.h"

template <typename Draw>
void ForEachSiblingView(HWND start, PDBINFO* startBlock, bool sameMode, Draw draw)
{
    if (!startBlock) return;
    if (!startBlock->severalViews) {
        draw(start, startBlock);
        return;
    }
    for (HWND view = WalkStart(); view; view = GetNextView(view)) {
        PDBINFO* block = GetViewBlock(view);
        if (!block) break;
        if (block->drawingId != startBlock->drawingId) continue;
        if (sameMode && block->viewMode != startBlock->viewMode) continue;
        draw(view, block);
    }
}
