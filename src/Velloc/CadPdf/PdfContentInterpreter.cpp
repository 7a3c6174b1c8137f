// The content-stream interpreter of the import converter: operations are queued and the whole
// queue is executed in content order when a path-painting operator arrives and at the end of
// the stream; PDF colours, widths and dash patterns become the drawing's numbers.
#include "PdfImportConverter.h"

#include "PdfContentLexer.h"
#include "PdfLibrary.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

using namespace PoDoFo;

namespace {

// Deepest array or dictionary nesting the content tokenizer is given (it reads nesting by
// recursion); a stream nested deeper is refused before the call.
const int kMaxTokenNesting = 256;

bool EqualsNoCase(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsPathConstruction(PdfOperator code)
{
    switch (code) {
    case PdfOperator::MoveTo:
    case PdfOperator::LineTo:
    case PdfOperator::ClosePath:
    case PdfOperator::Rectangle:
    case PdfOperator::CurveTo:
    case PdfOperator::CurveToV:
    case PdfOperator::CurveToY:
        return true;
    default:
        return false;
    }
}

int ClampComponent(double component)
{
    double v = std::floor(component * 255 + 0.5 + 1e-8);
    if (!(v >= 0)) v = 0;  // NaN too
    if (v > 255) v = 255;
    return static_cast<int>(v);
}

}  // namespace

// The deepest nesting of arrays and dictionaries in a content stream, strings and comments
// skipped.
int ContentNestingDepth(const char* data, size_t length)
{
    int depth = 0, deepest = 0;
    for (size_t i = 0; i < length; ++i) {
        const char c = data[i];
        if (c == '%') {
            while (i < length && data[i] != '\n' && data[i] != '\r') ++i;
        } else if (c == '(') {
            int parens = 1;
            for (++i; i < length && parens > 0; ++i) {
                if (data[i] == '\\') ++i;
                else if (data[i] == '(') ++parens;
                else if (data[i] == ')') --parens;
            }
            --i;
        } else if (c == '[' || (c == '<' && i + 1 < length && data[i + 1] == '<')) {
            if (c == '<') ++i;
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || (c == '>' && i + 1 < length && data[i + 1] == '>')) {
            if (c == '>') ++i;
            if (depth > 0) --depth;
        }
    }
    return deepest;
}

void PdfImportConverter::RunContentStream(const char* data, size_t length)
{
    if (data == nullptr || length == 0) {
        ExecutePendingOperations();
        return;
    }
    if (ContentNestingDepth(data, length) > kMaxTokenNesting)
        PODOFO_RAISE_ERROR_INFO(ePdfError_InvalidDataType, "content nested too deeply");
    PdfContentLexer lexer(data, length);
    EPdfContentsType type;
    const char* keyword = nullptr;
    size_t keywordLength = 0;
    // Room for the operands of every path and colour operator, taken once per operation
    // instead of growing one operand at a time. Values are read straight into a last, spare
    // operand, which a keyword drops: no value is copied.
    const size_t kUsualOperands = 6;
    PdfOperandStack op;
    op.operands.reserve(kUsualOperands);
    op.operands.emplace_back();
    while (lexer.ReadNext(type, keyword, keywordLength, op.operands.back())) {
        if (type == ePdfContentsType_Variant) {
            op.operands.emplace_back();
            continue;
        }
        if (type == ePdfContentsType_ImageData) continue;  // the spare operand is read into again
        if (type != ePdfContentsType_Keyword) PODOFO_RAISE_ERROR(ePdfError_InternalLogic);
        op.operands.pop_back();
        op.SetKeyword(keyword, keywordLength);
        switch (op.code) {
        case PdfOperator::CloseStroke:
            if (m_pending.size() >= 2) ClosePendingSubpath();
            ExecutePendingOperations();
            break;
        case PdfOperator::Stroke:
            ExecutePendingOperations();
            break;
        case PdfOperator::Fill:
        case PdfOperator::FillEvenOdd:
        case PdfOperator::CloseFillStroke:
        case PdfOperator::CloseFillStrokeEvenOdd:
            if (m_pending.size() >= 2) ClosePendingSubpath();
            // fall through
        case PdfOperator::FillNoClose:
        case PdfOperator::FillNoCloseEvenOdd:
        case PdfOperator::FillStroke:
        case PdfOperator::FillStrokeEvenOdd:
            if (modeFillDraw == 0) ExecutePendingOperations();
            else FillPendingPath(op.keyword[0] == 'B' || op.keyword[0] == 'b');
            break;
        case PdfOperator::EndPath:
            m_pending.erase(std::remove_if(m_pending.begin(), m_pending.end(),
                                           [](const PdfOperandStack& p) { return IsPathConstruction(p.code); }),
                            m_pending.end());
            break;
        default:
            m_pending.push_back(std::move(op));
            if (m_pending.size() >= kMaxPendingOperations) ExecutePendingOperations();
            break;
        }
        // Moved into the queue or spent: empty again, with its room when it kept any.
        op.operands.clear();
        op.keyword.clear();
        if (op.operands.capacity() < kUsualOperands) op.operands.reserve(kUsualOperands);
        op.operands.emplace_back();
    }
    // What is left at the end runs, a lone operation included.
    ExecutePendingOperations(true);
}

void PdfImportConverter::ClosePendingSubpath()
{
    for (size_t i = m_pending.size(); i-- > 0;) {
        const PdfOperandStack& p = m_pending[i];
        if (p.code == PdfOperator::Rectangle) return;
        if (p.code == PdfOperator::MoveTo) {
            PdfOperandStack line;
            line.operands = p.operands;
            line.SetKeyword("l", 1);
            m_pending.push_back(line);
            return;
        }
    }
}

void PdfImportConverter::ExecutePendingOperations(bool atEnd)
{
    if (modeGrStateClear >= 0 && m_stateStack.size() > static_cast<size_t>(modeGrStateClear)) {
        int popped = PopGraphicsState();
        while (m_stateStack.size() != 1 && popped) popped = PopGraphicsState();
    }
    if (m_pending.size() < 2 && !atEnd) return;
    std::vector<PdfOperandStack> operations;
    operations.swap(m_pending);
    for (size_t i = 0; i < operations.size(); ++i) {
        const PdfOperandStack& op = operations[i];
        if ((op.code == PdfOperator::BeginMarkedProps || op.code == PdfOperator::BeginMarked) && !op.operands.empty()) {
            const std::string first = op.FirstOperandText();
            if (first == "/P" || EqualsNoCase(first, "/Part"))
                while (PopGraphicsState()) {
                }
        }
        ExecuteOperation(operations, i);
    }
    // The queue keeps its room for the next path (a Form run above may have queued its own).
    operations.clear();
    if (m_pending.empty()) m_pending.swap(operations);
    if (m_sawTouchUp) {
        AddMessageOnce("PDFの注釈等で編集されている図形・文字は、正しく変換できません。");
        m_sawTouchUp = false;
    }
}

void PdfImportConverter::AddMessageOnce(const std::string& text)
{
    if (m_messageText.find(text) == std::string::npos) m_messageText += text;
}

void PdfImportConverter::ExecuteOperation(const std::vector<PdfOperandStack>& operations, size_t& index)
{
    const PdfOperandStack& op = operations[index];
    const std::string& k = op.keyword;
    const size_t n = op.operands.size();
    switch (op.code) {
    case PdfOperator::MoveTo: OpMoveTo(op); break;
    case PdfOperator::LineTo: OpLineTo(op); break;
    case PdfOperator::ClosePath: OpClosePath(); break;
    case PdfOperator::Rectangle: OpRectangle(op); break;
    case PdfOperator::CurveTo:
        if (bezierToCircle == 0 || !TryCircle(operations, index)) OpCurveTo(op);
        break;
    case PdfOperator::CurveToV: OpCurveToV(op); break;
    case PdfOperator::CurveToY: OpCurveToY(op); break;
    case PdfOperator::FillRgb:
    case PdfOperator::FillColourN:
    case PdfOperator::FillColour:
    case PdfOperator::FillGray:
    case PdfOperator::FillCmyk: ApplyColourOperation(op, false); break;
    case PdfOperator::StrokeRgb:
    case PdfOperator::StrokeColourN:
    case PdfOperator::StrokeColour:
    case PdfOperator::StrokeGray:
    case PdfOperator::StrokeCmyk: ApplyColourOperation(op, true); break;
    case PdfOperator::Dash:
    case PdfOperator::OldDash: ApplyDash(op); break;
    case PdfOperator::Width: ApplyWidth(op); break;
    case PdfOperator::Save:
        PushGraphicsState();
        m_textState->PushTextState();
        break;
    case PdfOperator::Restore:
        PopGraphicsState();
        m_textState->PopTextState();
        break;
    case PdfOperator::Matrix: {
        double m[6];
        if (n != 6) return;
        for (size_t i = 0; i < 6; ++i)
            if (!op.Number(i, m[i])) return;
        const PdfMatrix product = PdfMatrix{m[0], m[1], m[2], m[3], m[4], m[5]} * currentMatrix;
        if (product.IsFinite()) currentMatrix = product;
        break;
    }
    case PdfOperator::BeginText: m_textState->inTextObject = true; break;
    case PdfOperator::MoveTextSetLeading: {
        double ty;
        if (m_textState->Execute("Td", op.operands) == 0 && op.Number(1, ty)) m_textState->leading = -ty;
        break;
    }
    case PdfOperator::BeginMarkedProps: OpBeginMarkedContentProps(op); break;
    case PdfOperator::BeginMarked: OpBeginMarkedContent(op); break;
    case PdfOperator::EndMarked: OpEndMarkedContent(); break;
    case PdfOperator::PaintXObject: OpPaintXObject(op); break;
    case PdfOperator::MarkPoint:
        if (n >= 1 && op.operands[0].IsName() && op.operands[0].GetName().GetName() == "TouchUp_TextEdit")
            m_sawTouchUp = true;
        break;
    default:
        // Text operators; every other keyword (W, J, j, M, i, ri, sh, gs, CS, cs ...) does nothing.
        m_textState->Execute(k, op.operands);
        break;
    }
}

void PdfImportConverter::ApplyColourOperation(const PdfOperandStack& op, bool stroking)
{
    const size_t n = op.operands.size();
    if (n < 1 || n > 4 || n == 2) return;
    if ((op.code == PdfOperator::FillRgb || op.code == PdfOperator::StrokeRgb) && n != 3) return;
    double v[4] = {0, 0, 0, 0};
    for (size_t i = 0; i < n; ++i)
        if (!op.Number(i, v[i])) return;  // a pattern name leaves the colour unchanged
    int red, green, blue;
    if (n == 1) {
        red = green = blue = ClampComponent(v[0]);
    } else if (n == 3) {
        red = ClampComponent(v[0]);
        green = ClampComponent(v[1]);
        blue = ClampComponent(v[2]);
    } else {
        CmykToRgb(v[0], v[1], v[2], v[3], red, green, blue);
    }
    const int number = MatchColour(red + 256 * green + 65536 * blue);
    if (stroking) m_strokingColour = number;
    else DocumentSetColour(number);
}

void PdfImportConverter::CmykToRgb(double c, double m, double y, double k, int& red, int& green, int& blue)
{
    auto component = [k](double value) {
        double f = k + (1 - k) * value;
        if (f > 1) f = 1;
        double result = (1 - f) * 255;
        if (!(result >= 0)) result = 0;
        if (result > 255) result = 255;
        return static_cast<int>(result);
    };
    red = component(c);
    green = component(m);
    blue = component(y);
}

int PdfImportConverter::MatchColour(int packed)
{
    const int n = static_cast<int>(m_colours.size());
    if (n < 1) return 7;
    for (int i = 1; i < n; ++i)
        if (m_colours[static_cast<size_t>(i)] == packed) return i;
    int& next = *m_nextNewColour;
    if (next >= 0 && next < n && next < 257 &&
        DocumentWriteColourRecord(next, packed & 0xFF, (packed >> 8) & 0xFF, (packed >> 16) & 0xFF)) {
        m_colours[static_cast<size_t>(next)] = packed;
        return next++;
    }
    // The nearest colour by the distance in red, green and blue.
    int best = 7;
    long bestDistance = -1;
    for (int i = 1; i < n; ++i) {
        const int c = m_colours[static_cast<size_t>(i)];
        const long dr = (c & 0xFF) - (packed & 0xFF);
        const long dg = ((c >> 8) & 0xFF) - ((packed >> 8) & 0xFF);
        const long db = ((c >> 16) & 0xFF) - ((packed >> 16) & 0xFF);
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

int PdfImportConverter::MatchLineWidth(double widthMm) const
{
    if (m_widthCount < 1) return 0;
    for (int i = 0; i < m_widthCount; ++i)
        if (std::fabs(m_widths[i] - widthMm) < 0.0001) return i;
    int best = 0;
    for (int i = 1; i < m_widthCount; ++i)
        if (std::fabs(m_widths[i] - widthMm) < std::fabs(m_widths[best] - widthMm)) best = i;
    return best;
}

int PdfImportConverter::MatchLineType(const int* dashes, int count) const
{
    for (size_t t = 0; t < m_lineTypes.size(); ++t) {
        const LineTypeRecord& r = m_lineTypes[t];
        if (r.count != count) continue;
        if (count <= 0 || std::equal(dashes, dashes + count, r.dashes)) return static_cast<int>(t);
    }
    int best = 0;
    double bestSum = -1;
    for (size_t t = 0; t < m_lineTypes.size(); ++t) {
        const LineTypeRecord& r = m_lineTypes[t];
        if (r.count != count) continue;
        double sum = 0;
        for (int i = 0; i < count && i < 16; ++i) sum += double(r.dashes[i] - dashes[i]) * (r.dashes[i] - dashes[i]);
        if (bestSum < 0 || sum < bestSum) {
            bestSum = sum;
            best = static_cast<int>(t);
        }
    }
    return best;
}

void PdfImportConverter::ApplyWidth(const PdfOperandStack& op)
{
    double width;
    if (op.operands.empty() || !op.Number(0, width)) return;
    double mm = width / pointsPerMm;
    // The width follows the matrix's scale in every direction (a rotated matrix included).
    if (mm > 1e-8) mm *= std::sqrt(std::fabs(currentMatrix.Determinant()));
    if (!std::isfinite(mm)) return;
    DocumentSetLineWidth(MatchLineWidth(mm));
}

void PdfImportConverter::ApplyDash(const PdfOperandStack& op)
{
    if (op.operands.size() < 2 || !op.operands[0].IsArray()) return;
    const PdfArray& array = op.operands[0].GetArray();
    if (array.empty()) {
        DocumentSetLineType(0);
        return;
    }
    const int count = static_cast<int>(std::min<size_t>(array.size(), 16));
    int dashes[16] = {};
    for (int i = 0; i < count; ++i) {
        double v;
        if (!PdfNumberOf(array[static_cast<size_t>(i)], v) || !std::isfinite(v)) continue;
        // Lengths in whole points; reals are rounded, not dropped.
        v = std::floor(v + 0.5 + 1e-8);
        dashes[i] = static_cast<int>(std::max(-1e9, std::min(1e9, v)));
    }
    DocumentSetLineType(MatchLineType(dashes, count));
}

void PdfImportConverter::PushGraphicsState()
{
    savedLineType = DocumentLineType();
    savedColour = DocumentColour();
    savedLineWidth = DocumentLineWidth();
    savedStrokingColour = m_strokingColour;
    if (m_stateStack.size() >= kMaxGraphicsDepth) m_stateStack.pop_front();
    m_stateStack.push_back(PdfSavedState{currentMatrix, savedLineType, savedColour, savedStrokingColour, savedLineWidth});
}

int PdfImportConverter::PopGraphicsState()
{
    if (m_stateStack.empty()) return 0;
    const PdfSavedState s = m_stateStack.back();
    m_stateStack.pop_back();
    currentMatrix = s.matrix;
    savedLineType = s.lineType;
    savedColour = s.colour;
    savedStrokingColour = s.strokingColour;
    savedLineWidth = s.lineWidth;
    if (s.lineType >= 0) DocumentSetLineType(s.lineType);
    if (s.colour >= 0) DocumentSetColour(s.colour);
    if (s.lineWidth >= 0) DocumentSetLineWidth(s.lineWidth);
    if (s.strokingColour >= 0) m_strokingColour = s.strokingColour;
    return 1;
}
