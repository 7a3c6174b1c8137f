#include "panels/DrawingAttributes.h"

#include <cstddef>

// The block keeps the five values in the same order, one after the other.
static_assert(offsetof(PDBINFO, lineType) == offsetof(PDBINFO, colour) + 4 &&
                  offsetof(PDBINFO, lineWidth) == offsetof(PDBINFO, colour) + 8 &&
                  offsetof(PDBINFO, startMark) == offsetof(PDBINFO, colour) + 12 &&
                  offsetof(PDBINFO, endMark) == offsetof(PDBINFO, colour) + 16,
              "attributes of a view data block");
static_assert(sizeof(DrawingAttributes) == 20, "five attributes");

DrawingAttributes& DefaultDrawingAttributes()
{
    static DrawingAttributes attributes = {4, 0, 0, 0, 0};
    return attributes;
}

DrawingAttributes& AttributesOfBlock(PDBINFO& block) { return *reinterpret_cast<DrawingAttributes*>(&block.colour); }

bool StorePickerRow(DrawingAttributes& a, int pickerId, int row)
{
    switch (pickerId) {
    case kPickerColour: a.colour = row + 1; return true;
    case kPickerLineType: a.lineType = row; return true;
    case kPickerWidth: a.lineWidth = row; return true;
    case kPickerStartMark: a.startMark = row; return true;
    case kPickerEndMark: a.endMark = row; return true;
    default: return false;
    }
}
