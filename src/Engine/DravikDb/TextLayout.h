// Where the characters of a text element sit: one layout serves the measuring (the box of the
// dictionary function), the outline, the strokes of vector fonts and the view's paint, so that a
// measured box always encloses the painted text.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "EngineRecords.h"

namespace dravikdb {

struct TextPoint {
    double x, y;
};

struct TextSegment {
    double x1, y1, x2, y2;
};

// One character's cell in the box's own frame (lower left corner of the box at 0, 0; x along
// the writing of a horizontal text, y up).
struct TextCell {
    uint32_t offset;    // into TextLayout::text
    uint8_t bytes;      // 1 or 2
    uint16_t code;      // the byte, or lead byte * 256 + trail byte
    double left, bottom, width, height;
};

struct TextLayout {
    bool vectorFont = false;
    bool vertical = false;
    double height = 0;       // character height (drawing units)
    double charWidth = 0;    // height x width ratio: the width of a double-byte character
    double ratio = 1;
    double spacing = 0;
    double angle = 0;        // radians, counter-clockwise
    double cosAngle = 1, sinAngle = 0;  // of the angle, taken once for all the points of the text
    double x = 0, y = 0;     // the basis point in the drawing
    double width = 0;        // the box
    double boxHeight = 0;
    double basisX = 0, basisY = 0;  // the basis point in the box's frame
    char face[LF_FACESIZE] = {};    // TrueType face without the vertical "@"
    std::string text;
    std::vector<TextCell> cells;

    // A point of the box's frame in drawing coordinates.
    TextPoint ToWorld(double localX, double localY) const;
};

// Lays out a text record (type 5) with its text. False, with nothing laid out, when the record
// cannot be measured: another type, a height or width ratio that is not finite and positive, an
// angle, spacing or position that is not finite, or a font name without its terminator within
// its 32 bytes (a face name is never cut to another face's name).
bool LayOutText(const ElementRecord& record, const char* text, size_t length, TextLayout& out);

// The same for a caller's record: its text pointer is read with a bound.
bool LayOutCallerText(const ElementRecord& record, TextLayout& out);

// The corners of the box: lower left, lower right, upper right, upper left of the box's frame.
void TextOutline(const TextLayout& layout, TextPoint corners[4]);

// The strokes of a vector-font text, in drawing coordinates, character by character.
void VectorTextStrokes(const TextLayout& layout, std::vector<TextSegment>& out);

// What the texts of one paint leave selected in its device context (font, colour, alignment),
// so that the next text selects only what differs; Restore gives the context its own back.
struct TextDcState {
    HFONT font = nullptr;
    COLORREF colour = CLR_INVALID;
    bool aligned = false;
    bool saved = false;
    HGDIOBJ ownFont = nullptr;
    COLORREF ownColour = 0;
    UINT ownAlign = 0;
    void Restore(HDC dc);
};

// Paints a laid-out text: strokes for vector fonts, the TrueType face through GDI otherwise.
// `toPixel` maps drawing coordinates to the device; `pixelsPerUnit` is the scale. With a state,
// the font, colour and alignment are left selected for the next text of the same paint.
template <typename ToPixel>
void PaintText(HDC dc, const TextLayout& layout, double pixelsPerUnit, COLORREF colour, ToPixel toPixel,
               TextDcState* state = nullptr);

// ---- internal to the layout and paint ----

// Advance of a TrueType character as a fraction of the font's cell height.
double TrueTypeAdvance(const char* face, uint16_t code, bool doubleByte);
void PaintTrueTypeText(HDC dc, const TextLayout& layout, double pixelsPerUnit, COLORREF colour,
                       const std::vector<POINT>& cellCorners, TextDcState* state = nullptr);

template <typename ToPixel>
void PaintText(HDC dc, const TextLayout& layout, double pixelsPerUnit, COLORREF colour, ToPixel toPixel,
               TextDcState* state)
{
    // Texts less than a pixel high show nothing readable: they are left out, as a zoomed-out
    // drawing holds many of them.
    const double cellPixels = layout.height * pixelsPerUnit;
    if (!(cellPixels >= 1.0)) return;
    if (layout.vectorFont) {
        std::vector<TextSegment> segments;
        VectorTextStrokes(layout, segments);
        HPEN pen = CreatePen(PS_SOLID, 1, colour);
        HGDIOBJ old = SelectObject(dc, pen);
        for (const TextSegment& s : segments) {
            POINT a = toPixel(s.x1, s.y1), b = toPixel(s.x2, s.y2);
            MoveToEx(dc, a.x, a.y, nullptr);
            LineTo(dc, b.x, b.y);
        }
        SelectObject(dc, old);
        DeleteObject(pen);
        return;
    }
    std::vector<POINT> corners;  // the upper left corner of every cell
    corners.reserve(layout.cells.size());
    for (const TextCell& cell : layout.cells) {
        TextPoint p = layout.ToWorld(cell.left, cell.bottom + cell.height);
        corners.push_back(toPixel(p.x, p.y));
    }
    PaintTrueTypeText(dc, layout, pixelsPerUnit, colour, corners, state);
}

}  // namespace dravikdb
