#include "PdfTextState.h"

#include "core/Dbcs.h"
#include "PdfDocumentOutput.h"
#include "PdfImportConverter.h"
#include "PdfImportServices.h"
#include "PdfLibrary.h"

#include <cmath>

using namespace PoDoFo;

namespace {

const double kPi = 3.141592653589793;

bool NumberAt(const std::vector<PdfVariant>& operands, size_t i, double& v)
{
    return i < operands.size() && PdfNumberOf(operands[i], v);
}

// Direction angle in degrees from 0 up to 360; 0 for a direction too short to have one.
double DirectionDegrees(double x, double y)
{
    const double length = std::sqrt(x * x + y * y);
    if (!(length > 1e-6)) return 0;
    double c = x / length;
    double angle = (c >= 1) ? 0 : (c < -1) ? kPi : std::acos(c);
    if (y < -1e-6) angle = 2 * kPi - angle;
    return angle * 180.0 / kPi;
}

bool IsSingleDoubleByteCharacter(const std::string& text)
{
    return text.size() == 2 && IsSjisLeadByte(static_cast<unsigned char>(text[0]));
}

}  // namespace

int CountMbcsChars(const std::string& text)
{
    const size_t limit = text.size() < 256 ? text.size() : 256;
    int n = 0;
    for (size_t i = 0; i < limit; ++i, ++n)
        if (IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < limit) ++i;
    return n;
}

PdfTextState::PdfTextState(QmCadDocument* document, PdfImportConverter* converter, const PdfMatrix* ctm,
                           PdfImportServices& services)
    : m_document(document), m_converter(converter), m_ctm(ctm), m_services(services)
{
}

const CadPdfFont* PdfTextState::CurrentFont() const
{
    if (currentFont < 0 || currentFont >= static_cast<int>(fonts.size())) return nullptr;
    return &fonts[static_cast<size_t>(currentFont)];
}

std::string PdfTextState::FindFont(const std::string& resourceName)
{
    for (size_t i = 0; i < fonts.size(); ++i) {
        if (fonts[i].resourceName != resourceName) continue;
        currentFont = static_cast<int>(i);
        return fonts[i].baseFont;
    }
    return std::string();
}

double PdfTextState::CurrentLastWidth() const
{
    const CadPdfFont* font = CurrentFont();
    return (font && font->cmapEncoding) ? font->cmapEncoding->lastWidth : 1.0;
}

void PdfTextState::SetCurrentLastWidth(double width)
{
    const CadPdfFont* font = CurrentFont();
    if (font && font->cmapEncoding) font->cmapEncoding->lastWidth = width;
}

void PdfTextState::MoveTextLine(double tx, double ty)
{
    textMatrix = PdfMatrix::Translation(tx, ty) * lineMatrix;
    lineMatrix = textMatrix;
}

int PdfTextState::Execute(const std::string& k, const std::vector<PdfVariant>& operands)
{
    const size_t n = operands.size();
    double v = 0, v2 = 0;
    if (k == "Tc" || k == "Tw" || k == "Tz" || k == "TL" || k == "Tl" || k == "Ts") {
        if (n != 1 || !NumberAt(operands, 0, v)) return -1;
        if (k == "Tc") {
            const CadPdfFont* font = CurrentFont();
            charSpacing = (font && font->IsVertical() && v < -1e-8) ? -v : v;
        } else if (k == "Tw") {
            wordSpacing = v;
        } else if (k == "Tz") {
            horizontalScale = v / 100.0;
        } else if (k == "Ts") {
            rise = v;
        } else {
            leading = v;
        }
        return 0;
    }
    if (k == "Tr") {
        if (n != 1 || !NumberAt(operands, 0, v)) return -1;
        renderMode = static_cast<int>(v);
        return 0;
    }
    if (k == "Tf") {
        if (n != 2 || !operands[0].IsName() || !NumberAt(operands, 1, v)) return -1;
        fontResourceName = operands[0].GetName().GetName();
        drawingFontName = FindFont(fontResourceName);
        ToCadFontName(drawingFontName, m_services);
        fontSize = v;
        return 0;
    }
    if (k == "Td") {
        if (n != 2 || !NumberAt(operands, 0, v) || !NumberAt(operands, 1, v2)) return -1;
        MoveTextLine(v, v2);
        return 0;
    }
    if (k == "Tm") {
        double m[6];
        if (n != 6) return -1;
        for (size_t i = 0; i < 6; ++i)
            if (!NumberAt(operands, i, m[i])) return -1;
        textMatrix = PdfMatrix{m[0], m[1], m[2], m[3], m[4], m[5]};
        lineMatrix = textMatrix;
        return 0;
    }
    if (k == "T*") {
        if (n != 0) return -1;
        MoveTextLine(0, -leading);
        return 0;
    }
    if (k == "Tj" || k == "TJ") return ShowText(operands);
    if (k == "'") {
        MoveTextLine(0, -leading);
        return (n == 1) ? ShowText(operands) : -1;
    }
    if (k == "\"") {
        if (n != 3 || !NumberAt(operands, 0, v) || !NumberAt(operands, 1, v2)) return -1;
        wordSpacing = v;
        charSpacing = v2;
        MoveTextLine(0, -leading);
        return ShowText(std::vector<PdfVariant>(1, operands[2]));
    }
    if (k == "ET") {
        if (n != 0) return -1;
        inTextObject = false;
        textMatrix = PdfMatrix();
        lineMatrix = PdfMatrix();
        renderMode = 0;
        return 0;
    }
    return -2;
}

int PdfTextState::ShowText(const std::vector<PdfVariant>& operands)
{
    const CadPdfFont* font = CurrentFont();
    if (operands.size() != 1 || font == nullptr) return -1;
    const PdfVariant& shown = operands[0];
    if (shown.IsString() || shown.IsHexString()) {
        std::string text;
        if (DecodeShownString(*this, font, text, shown, m_services) == 0 && !text.empty()) WriteTextElement(text);
        return 0;
    }
    if (!shown.IsArray()) return -1;
    const PdfArray& array = shown.GetArray();
    if (array.empty()) return -1;
    const double rememberedWidth = CurrentLastWidth();
    std::vector<TextShowItem> items;
    bool hasNumbers = false;
    for (const PdfObject& element : array) {
        TextShowItem item;
        if (element.IsString() || element.IsHexString()) {
            item.kind = TextShowItem::Text;
            if (DecodeShownString(*this, font, item.text, element, m_services) != 0) item.text.clear();
            item.width = CurrentLastWidth();
        } else if (PdfNumberOf(element, item.number)) {
            item.kind = TextShowItem::Number;
            hasNumbers = true;
        }
        items.push_back(item);
    }
    if (hasNumbers && (modeAddText == 0 || modeAddText == 1)) {
        if (modeAddText == 1) {
            // Small kerning numbers do not split the text; the texts between them join.
            for (TextShowItem& item : items)
                if (item.kind == TextShowItem::Number && std::fabs(item.number) < 500.00000001)
                    item.kind = TextShowItem::IgnoredNumber;
            for (size_t i = 0; i < items.size(); ++i) {
                if (items[i].kind != TextShowItem::Text) continue;
                for (size_t j = i + 1; j < items.size() && items[j].kind != TextShowItem::Number; ++j) {
                    if (items[j].kind != TextShowItem::Text) continue;
                    items[i].text += items[j].text;
                    items[j].kind = TextShowItem::JoinedText;
                }
            }
        }
        for (const TextShowItem& item : items) {
            if (item.kind == TextShowItem::Text && !item.text.empty()) {
                SetCurrentLastWidth(item.width);
                WriteTextElement(item.text);
            } else if (item.kind == TextShowItem::Number) {
                AdvanceByNumber(item.number);
            }
        }
    } else {
        std::string joined;
        for (const TextShowItem& item : items)
            if (item.kind == TextShowItem::Text) joined += item.text;
        if (!joined.empty()) WriteTextElement(joined);
    }
    SetCurrentLastWidth(rememberedWidth);
    return 0;
}

int PdfTextState::WriteTextElement(const std::string& text)
{
    if (text.empty() || renderMode == 3) return -1;
    const CadPdfFont* font = CurrentFont();
    const PdfMatrix m = textMatrix * *m_ctm * m_converter->PageMatrix();
    double uxX, uxY, uyX, uyY;
    m.ApplyToDirection(1, 0, uxX, uxY);
    m.ApplyToDirection(0, 1, uyX, uyY);
    const double angle = DirectionDegrees(uxX, uxY);
    const double lenX = std::sqrt(uxX * uxX + uxY * uxY);
    const double lenY = std::sqrt(uyX * uyX + uyY * uyY);

    double r = horizontalScale;
    if (modeAddText == 0 && font && font->cmapEncoding && font->cmapEncoding->lastWidthValid && text.size() <= 2) {
        r = font->cmapEncoding->lastWidth;
        if (!IsSingleDoubleByteCharacter(text)) r *= 2;
    }
    double w = fontSize * r, h = fontSize;
    if (widthMode == 1) {
        w = fontSize * glyphWidth;
    } else if (widthMode == 2) {
        w = fontSize * glyphWidth;
        h = (std::fabs(r) > 1e-8) ? w / r : fontSize;
    }

    PdfTextAttributes attributes;
    attributes.characterWidth = w * lenX;
    attributes.characterHeight = h * lenY;
    attributes.angleDegrees = angle;
    attributes.characterSpacing = charSpacing * lenX;
    attributes.fontName = drawingFontName;
    attributes.vertical = font && font->IsVertical();

    double x = m.e, y = m.f;
    double ratio = 0;
    if (!attributes.vertical && m_services.textMeasure->MoveDescent() && m_services.textMeasure->FontDescentRatio(drawingFontName, ratio)) {
        const double drop = -attributes.characterHeight * ratio;
        const double t = angle * kPi / 180.0;
        x += -std::sin(t) * drop;  // (0, drop) turned by the text angle
        y += std::cos(t) * drop;
    }
    if (!m.IsFinite() || !std::isfinite(attributes.characterWidth) || !std::isfinite(attributes.characterHeight))
        return -1;
    if (m_converter->WriteText(attributes, x, y, text) == nullptr) return -1;
    AdvanceAfterText(text, r);
    return 0;
}

void PdfTextState::AdvanceAfterText(const std::string& text, double ratio)
{
    const int n = CountMbcsChars(text);
    const int gaps = n - 1;
    const double len = static_cast<double>(text.size());
    double b = 1.0;
    double width = 0, height = 0;
    if (len > 0 && m_services.textMeasure->MeasureTextExtent(drawingFontName, text, width, height) && width > 0)
        b = width / (len * 1000.0);
    const double tx = len * fontSize * ratio * b + gaps * charSpacing;
    textMatrix = PdfMatrix::Translation(tx, 0) * textMatrix;
}

void PdfTextState::AdvanceByNumber(double n)
{
    // A TJ number moves by its thousandths of the font size, scaled horizontally; character and
    // word spacing belong to glyphs and blanks, not to the number.
    const double tx = (0 - n / 1000.0 * fontSize) * horizontalScale;
    textMatrix = PdfMatrix::Translation(tx, 0) * textMatrix;
}

void PdfTextState::PushTextState()
{
    if (m_savedStates.size() >= kMaxSavedStates) m_savedStates.pop_front();
    m_savedStates.push_back(SavedTextState{charSpacing, wordSpacing, horizontalScale, leading, fontResourceName,
                                           fontSize, renderMode, rise, drawingFontName, currentFont});
}

int PdfTextState::PopTextState()
{
    if (m_savedStates.empty()) return 0;
    const SavedTextState& s = m_savedStates.back();
    charSpacing = s.charSpacing;
    wordSpacing = s.wordSpacing;
    horizontalScale = s.horizontalScale;
    leading = s.leading;
    fontResourceName = s.fontResourceName;
    fontSize = s.fontSize;
    renderMode = s.renderMode;
    rise = s.rise;
    drawingFontName = s.drawingFontName;
    currentFont = s.currentFont;
    m_savedStates.pop_back();
    return 1;
}

void PdfTextState::ResetTextState()
{
    fonts.clear();
    currentFont = -1;
    m_savedStates.clear();
}
