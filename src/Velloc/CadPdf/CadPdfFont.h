// One font resource of a page or Form as the import reads it: its names, its decoders (a
// predefined CMap and a ToUnicode map), its simple-font widths and its FontMatrix. Glyph shapes
// are never used: text of any font becomes drawing text in a drawing font.
#pragma once

#include "PdfCMapEncodingEx.h"
#include "PdfUnicodeMapEncoding.h"

#include <memory>
#include <string>
#include <vector>

namespace PoDoFo {
class PdfObject;
class PdfVariant;
class PdfVecObjects;
}
class PdfTextState;
struct PdfImportServices;

struct CadPdfFont
{
    std::string resourceName;            // key in the /Font resources (e.g. F1)
    std::string baseFont;                // /BaseFont; "MS Gothic" when the dictionary has none
    std::shared_ptr<PdfCMapEncodingEx> cmapEncoding;
    std::shared_ptr<PdfUnicodeMapEncoding> toUnicode;
    std::vector<double> widths;          // /Widths
    int firstChar = 0;
    int lastChar = 0;
    std::string encodingName;            // CMap in use; a last "V" marks vertical writing
    double fontMatrix[6] = {0.001, 0, 0, 0.001, 0, 0};
    std::string subtype;                 // "Type0", "Type1", "TrueType", "Type3", ...

    bool IsVertical() const { return !encodingName.empty() && encodingName.back() == 'V'; }
};

// Reads a font dictionary into the text state's font list: 0 after the font was added, -1 when
// fontObject is no dictionary.
int LoadFont(const std::string& resourceName, const PoDoFo::PdfObject* fontObject,
             const PoDoFo::PdfVecObjects* objects, PdfTextState& textState, PdfImportServices& services);

// Creates the font's CMap encoding unless it has one: 0 when it has or gets one.
int AttachCMap(CadPdfFont& font, const std::string& name, PdfImportServices& services);

// The drawing font for a PDF font name: the subset tag (up to and including the first "+") is
// dropped and the import exchange table asked; "ＭＳ ゴシック" when it knows none.
void ToCadFontName(std::string& name, PdfImportServices& services);

// The largest /Widths entry among the bytes of the shown string; false when the widths are not
// consistent with /FirstChar and /LastChar (width untouched).
bool MaxGlyphWidth(const CadPdfFont& font, const std::string& shown, double& width);

// Decodes a shown string into the drawing's Shift-JIS text (ending at a zero byte): 0 with text
// set, or -1. Sets the text state's glyph width figures.
int DecodeShownString(PdfTextState& textState, const CadPdfFont* font, std::string& text,
                      const PoDoFo::PdfVariant& shown, PdfImportServices& services);
