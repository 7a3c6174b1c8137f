// The engine's own stroke font: every vector-font name draws with it. A glyph is a list of
// polylines inside its character cell, so a text's box always encloses its strokes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace dravikdb {

// A point of a glyph as a fraction of its cell: x from the cell's left edge (0) to its right
// edge (1), y from the cell's bottom (0) to its top (1).
struct GlyphPoint {
    float x, y;
};

struct Glyph {
    std::vector<std::vector<GlyphPoint>> strokes;
};

// The glyph of a character: `code` is the byte of a single-byte character or lead byte * 256 +
// trail byte of a double-byte one (Shift-JIS). Characters the font does not hold get the
// fallback box of their width. Never null.
const Glyph* FindGlyph(uint16_t code, bool doubleByte);

// The vector-font names the engine lists (kind 1: single-byte fonts, kind 2: double-byte
// fonts); the one stroke font answers to all of them.
int VectorFontCount(int kind);
const char* VectorFontName(int kind, int index);

// True when texts in a font of this name are drawn with the stroke font: the vector-font names
// of the drawings ("VectorFont", "VectorPF(...)" and the older names) and the empty name. Reads
// at most the 32 bytes of a text record's font field.
constexpr size_t kFontFieldSize = 32;
bool IsVectorFontName(const char* field);

}  // namespace dravikdb
