#include "PdfOperandStack.h"

using namespace PoDoFo;

PdfOperator PdfOperatorOf(const char* k, size_t length)
{
    using Op = PdfOperator;
    switch (length) {
    case 1:
        switch (k[0]) {
        case 'm': return Op::MoveTo;
        case 'l': return Op::LineTo;
        case 'h': return Op::ClosePath;
        case 'c': return Op::CurveTo;
        case 'v': return Op::CurveToV;
        case 'y': return Op::CurveToY;
        case 'S': return Op::Stroke;
        case 's': return Op::CloseStroke;
        case 'f': return Op::Fill;
        case 'F': return Op::FillNoClose;
        case 'B': return Op::FillStroke;
        case 'b': return Op::CloseFillStroke;
        case 'n': return Op::EndPath;
        case 'g': return Op::FillGray;
        case 'k': return Op::FillCmyk;
        case 'G': return Op::StrokeGray;
        case 'K': return Op::StrokeCmyk;
        case 'd': return Op::Dash;
        case 'D': return Op::OldDash;
        case 'w': return Op::Width;
        case 'q': return Op::Save;
        case 'Q': return Op::Restore;
        default: return Op::Other;
        }
    case 2:
        if (k[1] == '*') {
            switch (k[0]) {
            case 'f': return Op::FillEvenOdd;
            case 'F': return Op::FillNoCloseEvenOdd;
            case 'B': return Op::FillStrokeEvenOdd;
            case 'b': return Op::CloseFillStrokeEvenOdd;
            default: return Op::Other;
            }
        }
        if (k[0] == 'r' && k[1] == 'e') return Op::Rectangle;
        if (k[0] == 'r' && k[1] == 'g') return Op::FillRgb;
        if (k[0] == 'R' && k[1] == 'G') return Op::StrokeRgb;
        if (k[0] == 's' && k[1] == 'c') return Op::FillColour;
        if (k[0] == 'S' && k[1] == 'C') return Op::StrokeColour;
        if (k[0] == 'c' && k[1] == 'm') return Op::Matrix;
        if (k[0] == 'B' && k[1] == 'T') return Op::BeginText;
        if (k[0] == 'T' && k[1] == 'D') return Op::MoveTextSetLeading;
        if (k[0] == 'D' && k[1] == 'o') return Op::PaintXObject;
        if (k[0] == 'M' && k[1] == 'P') return Op::MarkPoint;
        return Op::Other;
    case 3:
        if (k[0] == 's' && k[1] == 'c' && k[2] == 'n') return Op::FillColourN;
        if (k[0] == 'S' && k[1] == 'C' && k[2] == 'N') return Op::StrokeColourN;
        if (k[0] == 'B' && k[1] == 'D' && k[2] == 'C') return Op::BeginMarkedProps;
        if (k[0] == 'B' && k[1] == 'M' && k[2] == 'C') return Op::BeginMarked;
        if (k[0] == 'E' && k[1] == 'M' && k[2] == 'C') return Op::EndMarked;
        return Op::Other;
    default:
        return Op::Other;
    }
}

void PdfOperandStack::SetKeyword(const char* text, size_t length)
{
    keyword.assign(text, length);
    code = PdfOperatorOf(text, length);
}

bool PdfOperandStack::Number(size_t i, double& value) const
{
    return i < operands.size() && PdfNumberOf(operands[i], value);
}

void PdfOperandStack::GetPoint(size_t i, double& x, double& y) const
{
    double px, py;
    if (Number(2 * i, px) && Number(2 * i + 1, py)) {
        x = px;
        y = py;
    } else {
        x = 0;
        y = 0;
    }
}

std::string PdfOperandStack::FirstOperandText() const
{
    if (operands.empty()) return std::string();
    const PdfObject& first = operands[0];
    if (first.IsString() || first.IsHexString()) return PdfStringBytes(first.GetString());
    if (first.IsName()) return "/" + first.GetName().GetName();
    std::string written;
    first.ToString(written);
    return written;
}
