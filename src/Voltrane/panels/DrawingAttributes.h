// The five attributes that commands give new elements: every drawing window keeps its own in its
// view data block, and one default set stands for them while no drawing window exists.
#pragma once

#include <cstdint>

#include "DrawingWindowRecords.h"

struct DrawingAttributes {
    int32_t colour;     // 1 to 256
    int32_t lineType;
    int32_t lineWidth;  // 0 to 15
    int32_t startMark;
    int32_t endMark;
};

// The set used while no drawing window exists (colour 4 from start-up).
DrawingAttributes& DefaultDrawingAttributes();
// The set inside a view data block.
DrawingAttributes& AttributesOfBlock(PDBINFO& block);

// The picker ids of the tool panel.
constexpr int kPickerStartMark = 5000, kPickerColour = 5001, kPickerLineType = 5002, kPickerEndMark = 5003,
              kPickerWidth = 5004;

// Stores a picker's row into the attributes: the colour is row + 1, the others the row itself.
// false for an id that is no attribute picker.
bool StorePickerRow(DrawingAttributes& attributes, int pickerId, int row);
