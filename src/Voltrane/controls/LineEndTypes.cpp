#include "controls/LineEndTypes.h"

int LineEndTypeEnableMask[kLineEndTypeCount] = {};

int LineEndTypeToListRow(int type)
{
    if (type < 0) return 0;
    if (type >= kLineEndTypeCount) type = kLineEndTypeCount - 1;
    // Count the enabled types before this one; a disabled type lands on the row before it.
    int row = -1;
    for (int i = 0; i <= type; ++i) {
        if (LineEndTypeEnableMask[i] != 0) ++row;
    }
    if (LineEndTypeEnableMask[type] == 0) return row < 0 ? 0 : row;
    return row;
}

int ListRowToLineEndType(int row)
{
    if (row < 0) return 0;
    int seen = 0;
    for (int i = 0; i < kLineEndTypeCount; ++i) {
        if (LineEndTypeEnableMask[i] == 0) continue;
        if (seen == row) return i;
        ++seen;
    }
    return 0;
}

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
