#include "drawing/PaperTable.h"

#include "core/Dbcs.h"
#include "core/MessageCatalog.h"

namespace {

constexpr int kFirstNameMessage = 2000;

// Long and short side of A0..A6 and B0..B6 in millimetres.
const double kASides[7][2] = {{1189, 841}, {841, 594}, {594, 420}, {420, 297}, {297, 210}, {210, 148}, {148, 105}};
const double kBSides[7][2] = {{1456, 1030}, {1030, 728}, {728, 515}, {515, 364}, {364, 257}, {257, 182}, {182, 128}};

PaperTableRow* Table()
{
    static PaperTableRow rows[kPaperTableRows];
    static bool made = false;
    if (!made) {
        made = true;
        int row = 0;
        for (int series = 0; series < 2; ++series) {
            const double(*sides)[2] = series == 0 ? kASides : kBSides;
            const uint16_t base = series == 0 ? 0x10 : 0x20;
            for (int portrait = 0; portrait < 2; ++portrait) {
                for (int n = 0; n < 7; ++n, ++row) {
                    PaperTableRow& r = rows[row];
                    r.code = static_cast<uint16_t>(base + n + (portrait ? kPaperPortrait : 0));
                    r.height = portrait ? sides[n][0] : sides[n][1];
                    r.width = portrait ? sides[n][1] : sides[n][0];
                    DbcsCopy(r.name, sizeof r.name, GetMessageText(kFirstNameMessage + row));
                }
            }
        }
        DbcsCopy(rows[row].name, sizeof rows[row].name, GetMessageText(kFirstNameMessage + row));
    }
    return rows;
}

}  // namespace

void InitPaperTable()
{
    PaperTableRow* rows = Table();
    for (int i = 0; i < kPaperTableRows; ++i) DbcsCopy(rows[i].name, sizeof rows[i].name, GetMessageText(kFirstNameMessage + i));
}

const PaperTableRow* GetPaperTable() { return Table(); }

const PaperTableRow* FindPaperRow(uint16_t code)
{
    const PaperTableRow* rows = Table();
    for (int i = 0; i < kPaperSizeRows; ++i)
        if (rows[i].code == code) return &rows[i];
    return nullptr;
}
