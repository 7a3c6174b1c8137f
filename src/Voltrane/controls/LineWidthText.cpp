// The width list's texts, kept apart from the other list routines: they format with the
// program's number formatting, which the plug-in (compiling the lists too) has its own of.
#include "controls/LineAttrLists.h"
#include "core/NumericInput.h"

std::string GetLineWidthText(const LineWidthList& list, int row)
{
    if (row < 0 || row >= kLineWidthCount) return std::string();
    char text[400];
    return FormatDouble(text, sizeof text, GetLineWidthValue(list, row), 15, 1);
}
