#include "PdfOperandStack.h"

using namespace PoDoFo;

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
