// One pending operation of a content stream: its operands in content order and its operator.
#pragma once

#include "PdfLibrary.h"

#include <string>
#include <vector>

struct PdfOperandStack
{
    std::vector<PoDoFo::PdfVariant> operands;
    std::string keyword;

    // The point of operands 2i and 2i + 1 when both exist and are numbers, else (0, 0).
    void GetPoint(size_t i, double& x, double& y) const;
    // Operand i as a number; false when it is missing or no number.
    bool Number(size_t i, double& value) const;
    // The first operand's text: a string's own bytes, a name as "/" and the name, any other
    // value its PDF written form.
    std::string FirstOperandText() const;
};
