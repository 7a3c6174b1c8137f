// Which line-end types the end-mark pickers offer, and the mapping between a type and its row
// in their lists (only enabled types take a row).
#pragma once

constexpr int kLineEndTypeCount = 16;

// One flag per line-end type; the settings record enables types 0 to 14 when it is built.
extern int LineEndTypeEnableMask[kLineEndTypeCount];

// Row of a type in the pickers, counting enabled types only; a type that is not enabled maps to
// the row before it (-1 when no enabled type lies below it), a type outside 0 to 15 to row 0.
int LineEndTypeToListRow(int type);
// The type of the row-th enabled type; 0 when the row lies past the last enabled type.
int ListRowToLineEndType(int row);

// The same mappings over a given mask (a mark field's own copy): row → type gives 0 past the
// last enabled type or for a negative row; type → row gives the number of enabled types below
// it, less one when the type itself is not enabled (-1 when none lies below), and 0 for a
// type outside 0 to 15.
int MaskRowToLineEndType(int row, const int* mask);
int LineEndTypeToMaskRow(const int* mask, int type);
