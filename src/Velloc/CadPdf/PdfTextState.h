// The text part of the import converter: follows the PDF text operators and turns every shown
// string into text elements of the drawing (a drawing font, character width and height, angle,
// spacing and the text in Shift-JIS).
#pragma once

#include "CadPdfFont.h"
#include "PdfMatrix.h"

#include <deque>
#include <string>
#include <vector>

namespace PoDoFo {
class PdfVariant;
}
class QmCadDocument;
class PdfImportConverter;
struct PdfImportServices;

// What q saves of the text state and Q puts back.
struct SavedTextState
{
    double charSpacing;
    double wordSpacing;
    double horizontalScale;
    double leading;
    std::string fontResourceName;
    double fontSize;
    int renderMode;
    double rise;
    std::string drawingFontName;
    int currentFont;
};

// One element of a TJ array.
struct TextShowItem
{
    enum Kind { Other = -1, Text = 0, Number = 1, IgnoredNumber = 1000, JoinedText = 1001 };
    int kind = Other;
    std::string text;
    double width = 1.0;   // relative width of the CMap encoding right after the element was decoded
    double number = 0;
};

class PdfTextState
{
public:
    PdfTextState(QmCadDocument* document, PdfImportConverter* converter, const PdfMatrix* ctm,
                 PdfImportServices& services);

    // Runs a text operator (Tc Tw Tz TL Tl Tr Ts Tf Td Tm T* Tj TJ ' " ET): 0 when done, -1
    // when its operands do not fit (then nothing changes), -2 for a keyword that is no text operator.
    int Execute(const std::string& keyword, const std::vector<PoDoFo::PdfVariant>& operands);

    void PushTextState();
    int PopTextState();
    void ResetTextState();

    int ShowText(const std::vector<PoDoFo::PdfVariant>& operands);
    int WriteTextElement(const std::string& text);
    void AdvanceAfterText(const std::string& text, double ratio);
    void AdvanceByNumber(double n);
    void MoveTextLine(double tx, double ty);

    const CadPdfFont* CurrentFont() const;
    // The first font of the list whose resource name is that name: its /BaseFont, and it becomes
    // current; "" (current font unchanged) when none is.
    std::string FindFont(const std::string& resourceName);

    double charSpacing = 0;
    double wordSpacing = 0;
    double horizontalScale = 1.0;
    double leading = 0;
    std::string fontResourceName;
    double fontSize = 0;
    int renderMode = 0;
    double rise = 0;
    PdfMatrix textMatrix;
    PdfMatrix lineMatrix;
    bool inTextObject = false;
    std::string drawingFontName;
    std::vector<CadPdfFont> fonts;
    int currentFont = -1;
    int modeAddText = 0;
    double glyphWidth = 0;
    int widthMode = 0;

    // Deepest q nesting kept (a hostile stream cannot exhaust memory).
    static const size_t kMaxSavedStates = 4096;

private:
    double CurrentLastWidth() const;
    void SetCurrentLastWidth(double width);

    QmCadDocument* m_document;
    PdfImportConverter* m_converter;
    const PdfMatrix* m_ctm;
    PdfImportServices& m_services;
    std::deque<SavedTextState> m_savedStates;
};

// Characters of a Shift-JIS text (a lead byte and its follower count as one) within its first
// 256 bytes.
int CountMbcsChars(const std::string& text);
