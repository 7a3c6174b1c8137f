// Captions of panel buttons cut to their room with "...".
#pragma once

#include <windows.h>

// Draws the Shift-JIS text centred on the rectangle, clipped to it; when it is wider (higher, in
// vertical mode: horizontal 0, drawn with a vertical font) than the rectangle, the longest prefix
// that fits with "..." after it, cut on a character boundary and at least one character long.
void DrawTextEllipsis(HDC dc, const char* text, int length, const RECT& rect, int horizontal);
// The byte count of that prefix for an extent, the text's own length when it fits whole.
int FitTextWithEllipsis(HDC dc, const char* text, int length, int extent, bool* cut);
