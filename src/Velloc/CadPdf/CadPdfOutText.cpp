// Text elements: Japanese CID-font text (horizontal "90ms-RKSJ-H", vertical "90ms-RKSJ-V"), or
// the strokes of the engine's vector fonts.
#include "CadPdf/CadPdfOut.h"

#include <cmath>
#include <cstring>

#include "CadPdf/FontExchangeTable.h"
#include "CadPdf/PdfOutSettings.h"
#include "CadPdf/TextPlacement.h"
#include "DravikDb.h"
#include "QmCadDocument.h"
#include "core/Dbcs.h"

namespace {

constexpr double kTiny = 1e-8;
constexpr double kPi = 3.14159265358979323846;
constexpr float kMaxFontSize = HPDF_MAX_FONTSIZE;
constexpr float kMinScaling = HPDF_MIN_HORIZONTALSCALING;
constexpr float kMaxScaling = HPDF_MAX_HORIZONTALSCALING;
constexpr float kMinCharSpace = HPDF_MIN_CHARSPACE;
constexpr float kMaxCharSpace = HPDF_MAX_CHARSPACE;

bool IsVectorFontName(const std::string& font)
{
    return font.empty() || font == "VectorFont" || font.rfind("VectorPF", 0) == 0 || font == "ベクトル" ||
           font == "ZO rezo" || font == "DA Dezeru";
}

struct StrokeSegment {
    double x1, y1, x2, y2;
};

}  // namespace

int CadPdfOut::ExportText(ExportElement, const ElementRecord* record)
{
    TextElement text(*record);
    const bool atFont = !text.font.empty() && text.font[0] == '@';
    if (atFont) text.font.erase(0, 1);

    if (!text.Vertical()) {
        if (atFont) {
            // A horizontal text in a vertical-writing face: written as a column turned by 90
            // degrees about the middle of its box.
            double w = 0, h = 0;
            if (MeasureText(text, &w, &h)) ChangeTextBasis(5, &text, w, h);
            text.SwapRatio();
            text.SetVertical(true);
            text.record.angle += kPi / 2;
        }
        return DrawTextElement(text);
    }
    if (atFont) {
        text.SwapRatio();
        return DrawTextElement(text);
    }
    if (!ContainsDashLikeCharacter(text.text)) return DrawTextElement(text);

    // A column with long-vowel marks or dashes is written character by character as horizontal
    // text stacked downwards, each anchored at its top centre.
    double w = 0, h = 0;
    if (!MeasureText(text, &w, &h)) return -1;
    ChangeTextBasis(4, &text, w, h);
    const double advance = text.record.height + text.record.spacing;
    const double stepX = advance * std::sin(text.record.angle);
    const double stepY = -advance * std::cos(text.record.angle);
    text.SetVertical(false);
    for (const std::string& character : SplitTextCharacters(text.text)) {
        TextElement one = text;
        one.text = character;
        DrawTextElement(one);
        text.record.x += stepX;
        text.record.y += stepY;
    }
    return 0;
}

int CadPdfOut::DrawTextElement(TextElement& text)
{
    ElementRecord header = text.Record();
    if (IsLayerHidden(&header) == -1) return 0;
    text.SetColour(header.colour);
    double boxW = 0, boxH = 0;
    if (!MeasureText(text, &boxW, &boxH) || boxW < kTiny || boxH < kTiny) return -1;

    if (m_settings.modeVectorFont == 1 && IsVectorFontName(text.font)) {
        const int stroked = DrawVectorText(text);
        if (stroked == 0) return 0;
    }

    const double s = m_scale;
    const double h = text.record.height * s;
    const double w = text.record.height * text.record.widthRatio * s;
    if (!(h >= kTiny) || !(w >= kTiny) || !std::isfinite(h) || !std::isfinite(w)) return -1;
    double c = text.record.spacing * s;
    const bool vertical = text.Vertical();
    if (vertical) c = -c;

    TextOffset offset = TextOriginOffset(text.Basis(), vertical, boxW * s, boxH * s, w, h);
    if (!vertical && ExportFontTable().MoveDescent()) offset.dy += DescentRatio(text.font) * boxH * s;
    const double angle = text.record.angle;
    const double x = text.record.x * s + offset.dx * std::cos(angle) - offset.dy * std::sin(angle);
    const double y = text.record.y * s + offset.dx * std::sin(angle) + offset.dy * std::cos(angle);

    SelectLayerGroup(header.layer);
    std::string pdfFont;
    if (ExportFontTable().MapToPdfFont(text.font.c_str(), pdfFont) != 0 || pdfFont.empty()) pdfFont = "MS-Gothic";
    // A name the document has no definition for falls back to the standard face rather than
    // failing the whole export.
    m_pdf.ThrowIfFailed();
    if (HPDF_Doc_FindFontDef(m_pdf.Document(), pdfFont.c_str()) == nullptr) pdfFont = "MS-Gothic";
    m_font = m_pdf.Call(HPDF_GetFont, m_pdf.Document(), pdfFont.c_str(), vertical ? "90ms-RKSJ-V" : "90ms-RKSJ-H");
    return DrawTextString(header.colour, text.text, x, y, h, w, angle * 180.0 / kPi, c);
}

int CadPdfOut::DrawTextString(int colour, const std::string& text, double x, double y, double h, double w,
                              double angleDegrees, double c)
{
    // libharu refuses sizes over 600 points and scalings outside 10 to 300 percent: the excess
    // goes into the text matrix instead.
    float size = MmToPoint(h);
    float fold = 1.0f;
    if (size > kMaxFontSize) {
        fold = size / kMaxFontSize;
        size = kMaxFontSize;
    }
    float scaling = (w > kTiny && h > kTiny) ? static_cast<float>(w / h * 100.0) : 100.0f;
    float foldX = 1.0f;
    if (scaling < kMinScaling || scaling > kMaxScaling) {
        foldX = scaling / 100.0f;
        scaling = 100.0f;
    }

    BeginMarkedContent();
    m_pdf.Call(HPDF_Page_SetFontAndSize, m_page, m_font, size);
    m_pdf.Call(HPDF_Page_BeginText, m_page);
    SetColor(colour, true);
    m_pdf.Call(HPDF_Page_SetHorizontalScalling, m_page, scaling);
    float spacing = static_cast<float>(c * 72.0 / 25.4) / fold;
    if (std::fabs(spacing - m_charSpace) > kTiny) {
        spacing = std::fmin(std::fmax(spacing, kMinCharSpace), kMaxCharSpace);
        if (std::fabs(spacing - m_charSpace) > kTiny) {
            m_pdf.Call(HPDF_Page_SetCharSpace, m_page, spacing);
            m_charSpace = spacing;
        }
    }
    const float px = PageX(x), py = PageY(y);
    if (std::fabs(angleDegrees) < kTiny && fold == 1.0f && foldX == 1.0f) {
        m_pdf.Call(HPDF_Page_MoveTextPos, m_page, px, py);
    } else {
        const double a = angleDegrees * kPi / 180.0;
        const float ca = static_cast<float>(std::cos(a)), sa = static_cast<float>(std::sin(a));
        m_pdf.Call(HPDF_Page_SetTextMatrix, m_page, ca * fold * foldX, sa * fold * foldX, -sa * fold, ca * fold, px,
                   py);
    }
    m_pdf.Call(HPDF_Page_ShowText, m_page, text.c_str());
    m_pdf.Call(HPDF_Page_EndText, m_page);
    EndMarkedContent();
    return 0;
}

double CadPdfOut::DescentRatio(const std::string& face)
{
    // A face's metrics do not change during an export: asked once per face.
    auto known = m_descentRatios.find(face);
    if (known != m_descentRatios.end()) return known->second;
    double ratio = 0;
    if (GetFontDescentRatio(face.c_str(), &ratio) != 1) ratio = 0;
    m_descentRatios.emplace(face, ratio);
    return ratio;
}

bool CadPdfOut::MeasureText(const TextElement& text, double* width, double* height) const
{
    ElementRecord record = text.Record();
    DicParamBlock block;
    std::memset(&block, 0, sizeof block);
    block.pointer334 = &record;
    if (ZUriDicFunction(kDicTextExtent, &block) != 1) return false;
    *width = block.real294;
    *height = block.real302;
    return std::isfinite(*width) && std::isfinite(*height);
}

int CadPdfOut::DrawVectorText(const TextElement& text)
{
    ElementRecord record = text.Record();
    DicParamBlock block;
    std::memset(&block, 0, sizeof block);
    block.arg8 = kStrokePhaseStart;
    block.pointer334 = &record;
    if (ZUriDicFunction(kDicTextStrokes, &block) != 1) return -1;

    // The strokes take the text's colour and layer as a solid line of width number 0 (the basis
    // point that sits in the line-type place is no line type).
    ElementRecord line;
    std::memset(&line, 0, sizeof line);
    line.type = kElementLine;
    std::memcpy(reinterpret_cast<uint8_t*>(&line) + 11, reinterpret_cast<const uint8_t*>(&record) + 11, 22);
    line.layer = record.layer;
    line.lineType = 0;
    line.lineWidth = 0;
    line.lineEndStart = line.lineEndEnd = 0;
    line.lineEndSizeStart = line.lineEndSizeEnd = 0;

    int result = 0;
    if (SetElementStyle(&line) == -1) {
        result = 0;
    } else {
        std::vector<StrokeSegment> segments;
        block.arg8 = kStrokePhaseNext;
        block.arg12 = 0;
        const double s = m_scale;
        while (ZUriDicFunction(kDicTextStrokes, &block) != 0 && block.arg12 < 10000000) {
            segments.push_back({block.real294 * s, block.real302 * s, block.real310 * s, block.real318 * s});
            ++block.arg12;
        }
        BeginMarkedContent();
        const HPDF_LineCap cap = HPDF_Page_GetLineCap(m_page);
        m_pdf.Call(HPDF_Page_SetLineCap, m_page, HPDF_ROUND_END);
        bool any = false;
        for (const StrokeSegment& seg : segments) {
            if (std::fabs(seg.x2 - seg.x1) < kTiny && std::fabs(seg.y2 - seg.y1) < kTiny) continue;
            m_pdf.Call(HPDF_Page_MoveTo, m_page, PageX(seg.x1), PageY(seg.y1));
            m_pdf.Call(HPDF_Page_LineTo, m_page, PageX(seg.x2), PageY(seg.y2));
            any = true;
        }
        if (any) m_pdf.Call(m_fillState.fill ? HPDF_Page_FillStroke : HPDF_Page_Stroke, m_page);
        m_pdf.Call(HPDF_Page_SetLineCap, m_page, cap);
        EndMarkedContent();
    }
    block.arg8 = kStrokePhaseEnd;
    ZUriDicFunction(kDicTextStrokes, &block);
    return result;
}
