// The paper sizes a drawing can take: A0 to A6 and B0 to B6, landscape and portrait, and a
// last row "その他" for a free size. The names come from the message catalogue.
#pragma once

#include <cstdint>

#include "EngineRecords.h"  // kPaperPortrait

struct PaperTableRow {
    char name[30];
    uint16_t code;    // 0x10 + n for An, 0x20 + n for Bn, bit 15 for portrait; 0 for the last row
    double height;    // millimetres
    double width;
};

constexpr int kPaperTableRows = 29;
constexpr int kPaperSizeRows = 28;   // the rows with a size

// Sets the row names from the catalogue (at start-up).
void InitPaperTable();
const PaperTableRow* GetPaperTable();
// The first of the 28 sized rows with the code, null when none has it.
const PaperTableRow* FindPaperRow(uint16_t code);
