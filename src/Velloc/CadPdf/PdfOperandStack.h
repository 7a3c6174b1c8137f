// One pending operation of a content stream: its operands in content order and its operator.
#pragma once

#include "PdfLibrary.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The operators the interpreter treats itself; every other keyword is `Other` and goes by name.
enum class PdfOperator : uint8_t {
    Other,
    MoveTo, LineTo, ClosePath, Rectangle, CurveTo, CurveToV, CurveToY,
    Stroke, CloseStroke, Fill, FillEvenOdd, FillNoClose, FillNoCloseEvenOdd,
    FillStroke, FillStrokeEvenOdd, CloseFillStroke, CloseFillStrokeEvenOdd, EndPath,
    FillRgb, FillColour, FillColourN, FillGray, FillCmyk,
    StrokeRgb, StrokeColour, StrokeColourN, StrokeGray, StrokeCmyk,
    Dash, OldDash, Width, Save, Restore, Matrix, BeginText, MoveTextSetLeading,
    BeginMarkedProps, BeginMarked, EndMarked, PaintXObject, MarkPoint,
};

// The operator a keyword names, read from its bytes.
PdfOperator PdfOperatorOf(const char* keyword, size_t length);

struct PdfOperandStack
{
    std::vector<PoDoFo::PdfVariant> operands;
    std::string keyword;
    PdfOperator code = PdfOperator::Other;

    // The keyword and its operator.
    void SetKeyword(const char* text, size_t length);
    // The point of operands 2i and 2i + 1 when both exist and are numbers, else (0, 0).
    void GetPoint(size_t i, double& x, double& y) const;
    // Operand i as a number; false when it is missing or no number.
    bool Number(size_t i, double& value) const;
    // The first operand's text: a string's own bytes, a name as "/" and the name, any other
    // value its PDF written form.
    std::string FirstOperandText() const;
};
