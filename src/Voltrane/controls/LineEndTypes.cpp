#include "controls/LineEndTypes.h"

int LineEndTypeEnableMask[kLineEndTypeCount] = {};

int LineEndTypeToListRow(int type) { return LineEndTypeToMaskRow(LineEndTypeEnableMask, type); }

int ListRowToLineEndType(int row) { return MaskRowToLineEndType(row, LineEndTypeEnableMask); }

int MaskRowToLineEndType(int row, const int* mask)
{
    if (row < 0) return 0;
    int seen = 0;
    for (int i = 0; i < kLineEndTypeCount; ++i) {
        if (mask[i] == 0) continue;
        if (seen == row) return i;
        ++seen;
    }
    return 0;
}

int LineEndTypeToMaskRow(const int* mask, int type)
{
    if (type < 0 || type >= kLineEndTypeCount) return 0;
    int below = 0;
    for (int i = 0; i < type; ++i)
        if (mask[i] != 0) ++below;
    return mask[type] != 0 ? below : below - 1;
}
