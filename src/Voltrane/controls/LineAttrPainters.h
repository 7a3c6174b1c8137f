// The GDI painters of line attributes: a line with an end mark, a dash pattern, a thick line.
// They keep nothing and restore what was selected.
#pragma once

#include <windows.h>

#include "controls/LineAttrLists.h"

// A line across the band at its middle height with the mark of the kind at its start (side 0)
// or end (side 1), in the pen and brush now selected.
void DrawLineEndMark(int kind, int side, HDC dc, int left, int top, int right, int bottom);
// The pixel length of a dash of d millimetres: trunc(2 × (d + 0.4)), at least 1.
int DashPixels(double mm);
// The thickness of a width of w millimetres: trunc(w / 0.3).
int WidthThickness(double mm);
// The dash walk with the pen now selected: count 0 or below draws solid; at most 16 dashes.
void DrawDashWalk(HDC dc, int dashCount, const double* dashes, int left, int right, int y);
void DrawDashPattern(HDC dc, const LineTypeRow& row, COLORREF colour, int left, int right, int y);
void DrawThickLine(COLORREF colour, int y, int thickness, HDC dc, int left, int right);
// The bar rows of a thickness with the pen now selected (nothing for a negative thickness).
void DrawThickRows(HDC dc, int y, int thickness, int left, int right);

// The attribute dialog's two owner-drawn sample fields, painted into the item's rectangle.
// The colour sample of colour number n: the dialog's background, "%3ld" of n when it is 0 or
// more, and a swatch outlined with the pen now selected, filled with the colour of row n - 1.
void DrawColorSample(const DRAWITEMSTRUCT& item, int number, COLORREF background, const LineColorList& list);
// The line-type sample of number n: the dialog's background, "%3ld" of n and the row's dash
// pattern, black or, on a selected item, in the window colour. A number outside the rows draws
// nothing at all.
void DrawLineTypeSample(const DRAWITEMSTRUCT& item, int number, COLORREF background, const LineTypeList& list);
