// Draws a symbol's element records (as the symbol-file reader makes them) with GDI: into a cell
// of the viewer's grid, or into a preview control under an isotropic mapping.
#pragma once

#include <windows.h>

#include <cstddef>

// The pen of a record: style from the line-type code, width from the line-width code.
struct SymbolPen {
    int style;  // PS_SOLID, PS_DOT, PS_DASH, PS_DASHDOT, PS_DASHDOTDOT
    int width;  // pixels
};
SymbolPen SymbolPenFor(int lineType, int lineWidth);

// The colour of a colour number in the colour table (black outside 1 to 256).
COLORREF SymbolColour(int number);

// Draws count records with the symbol's origin at origin; ySign -1 turns y upwards on a
// device whose y grows downwards, 1 leaves y to the mapping mode.
void PaintSymbolRecords(HDC dc, const unsigned char* records, size_t count, POINT origin, int ySign);
