#include "PaperSizeTable.h"

#include <cmath>

namespace {

constexpr double kTolerance = 2.0;

struct Rows {
    PaperSizeRow rows[kPaperSizeRows];

    Rows()
    {
        static const double a[7][2] = {{1189, 841}, {841, 594}, {594, 420}, {420, 297},
                                       {297, 210},  {210, 148}, {148, 105}};
        static const double b[7][2] = {{1456, 1030}, {1030, 728}, {728, 515}, {515, 364},
                                       {364, 257},   {257, 182},  {182, 128}};
        int n = 0;
        for (int series = 0; series < 2; ++series) {
            const double(*sizes)[2] = series == 0 ? a : b;
            const uint16_t base = series == 0 ? 0x10 : 0x20;
            for (int portrait = 0; portrait < 2; ++portrait) {
                for (int size = 0; size < 7; ++size) {
                    PaperSizeRow& row = rows[n++];
                    row.series = static_cast<uint16_t>(series);
                    row.size = static_cast<uint16_t>(size);
                    row.orientation = static_cast<uint16_t>(portrait);
                    row.code = static_cast<uint16_t>((base + size) | (portrait ? 0x8000 : 0));
                    row.widthMm = portrait ? sizes[size][1] : sizes[size][0];
                    row.heightMm = portrait ? sizes[size][0] : sizes[size][1];
                }
            }
        }
        rows[n] = PaperSizeRow{kPaperSeriesOther, 255, 0, kPaperCodeOther, 0.0, 0.0};
    }
};

const Rows& Table()
{
    static const Rows table;
    return table;
}

}  // namespace

const PaperSizeRow* PaperSizeTable() { return Table().rows; }

const PaperSizeRow* FindPaperBySize(double widthMm, double heightMm)
{
    for (const PaperSizeRow& row : Table().rows) {
        // The "other" row names no size: a tiny paper must not become 0 x 0.
        if (row.code == kPaperCodeOther) continue;
        if (std::fabs(row.widthMm - widthMm) <= kTolerance && std::fabs(row.heightMm - heightMm) <= kTolerance) {
            return &row;
        }
    }
    return nullptr;
}

const PaperSizeRow* FindPaperByCode(uint16_t code)
{
    for (const PaperSizeRow& row : Table().rows) {
        if (row.code == code) return &row;
    }
    return nullptr;
}
