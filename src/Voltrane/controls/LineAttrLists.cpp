#include "controls/LineAttrLists.h"

#include "DravikDb.h"
#include "controls/PickerHost.h"
#include "core/CsvParser.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const char* const LineEndTypeTable[15] = {
    " 0,無し, 0", " 1,矢印, 1", " 2,黒丸, 2", " 3,四角, 3", " 4,斜め, 4", " 5,黒三角, 5", " 6,丸, 6", " 7,白丸, 7",
    " 8,黒四角, 8", " 9,片矢印, 9", "10,上付き線, 10", "11,三角, 11", "12,三角２, 12", "13,波線, 13", "14,無し, 0",
};

const COLORREF DefaultColorPalette[256] = {
    0xFF0000, 0x0000FF, 0xFF00FF, 0x00FF00, 0xFFFF00, 0x00FFFF, 0xFFFFFF, 0xC0C0C0, 0xB00000, 0x0000B0, 0xB000B0, 0x00B000, 0xB0B000, 0x00B0B0, 0x808080, 0x000000,
    0x8000C0, 0x4080C0, 0x0080FF, 0x80C080, 0xFF8000, 0xFF4080, 0xFFC0C0, 0xFF40C0, 0xFF40B0, 0xFF40A0, 0xFF4080, 0xFF4060, 0xFF4040, 0xFF4020, 0xFF4000, 0xFF8000,
    0xFF8020, 0xFF8040, 0xFF8060, 0xFF8080, 0xFF80A0, 0xFF80B0, 0xFF80C0, 0xFFC0C0, 0xFFC0B0, 0xFFC0A0, 0xFFC080, 0xFFC060, 0xFFC040, 0xFFC020, 0xFFC000, 0xFFFF00,
    0xFFFF20, 0xFFFF40, 0xFFFF60, 0xFFFF80, 0xFFFFA0, 0xFFFFB0, 0xFFFFC0, 0xC0FFC0, 0xC0FFB0, 0xC0FFA0, 0xC0FF80, 0xC0FF60, 0xC0FF40, 0xC0FF20, 0xC0FF00, 0x80FF00,
    0x80FF20, 0x80FF40, 0x80FF60, 0x80FF80, 0x80FFA0, 0x80FFB0, 0x80FFC0, 0x40FFC0, 0x40FFB0, 0x40FFA0, 0x40FF80, 0x40FF60, 0x40FF40, 0x40FF20, 0x40FF00, 0x00FF00,
    0x20FF20, 0x40FF40, 0x60FF60, 0x80FF80, 0xA0FFA0, 0xB0FFB0, 0xC0FFC0, 0xC0FF40, 0xB0FF40, 0xA0FF40, 0x80FF40, 0x60FF40, 0x40FF40, 0x20FF40, 0x00FF40, 0x00FF80,
    0x20FF80, 0x40FF80, 0x60FF80, 0x80FF80, 0xA0FF80, 0xB0FF80, 0xC0FF80, 0xC0FFC0, 0xB0FFC0, 0xA0FFC0, 0x80FFC0, 0x60FFC0, 0x40FFC0, 0x20FFC0, 0x00FFC0, 0x00FFFF,
    0x20FFFF, 0x40FFFF, 0x60FFFF, 0x80FFFF, 0xA0FFFF, 0xB0FFFF, 0xC0FFFF, 0xC0C0FF, 0xB0C0FF, 0xA0C0FF, 0x80C0FF, 0x60C0FF, 0x40C0FF, 0x20C0FF, 0x00C0FF, 0x0080FF,
    0x2080FF, 0x4080FF, 0x6080FF, 0x8080FF, 0xA080FF, 0xB080FF, 0xC080FF, 0xC040FF, 0xB040FF, 0xA040FF, 0x8040FF, 0x6040FF, 0x4040FF, 0x2040FF, 0x0040FF, 0x0000FF,
    0x2020FF, 0x4040FF, 0x6060FF, 0x8080FF, 0xA0A0FF, 0xB0B0FF, 0xC0C0FF, 0x40C0FF, 0x40B0FF, 0x40A0FF, 0x4080FF, 0x4060FF, 0x4040FF, 0x4020FF, 0x4000FF, 0x8000FF,
    0x8020FF, 0x8040FF, 0x8060FF, 0x8080FF, 0x80A0FF, 0x80B0FF, 0x80C0FF, 0xC0C0FF, 0xC0B0FF, 0xC0A0FF, 0xC080FF, 0xC060FF, 0xC040FF, 0xC020FF, 0xC000FF, 0xFF00FF,
    0xFF20FF, 0xFF40FF, 0xFF60FF, 0xFF80FF, 0xFFA0FF, 0xFFB0FF, 0xFFC0FF, 0xFFC0C0, 0xFFB0C0, 0xFFA0C0, 0xFF80C0, 0xFF60C0, 0xFF40C0, 0xFF20C0, 0xFF00C0, 0xFF0080,
    0xFF2080, 0xFF4080, 0xFF6080, 0xFF8080, 0xFFA080, 0xFFB080, 0xFFC080, 0xFFC040, 0xFFB040, 0xFFA040, 0xFF8040, 0xFF6040, 0xFF4040, 0xFF2040, 0xFF0040, 0x000080,
    0x202080, 0x404080, 0x606080, 0x707080, 0x800000, 0x802020, 0x804040, 0x806060, 0x807070, 0x800080, 0x802080, 0x804080, 0x805080, 0x806080, 0x807080, 0x008000,
    0x208020, 0x408040, 0x608060, 0x708070, 0x008080, 0x208080, 0x408080, 0x608080, 0x708080, 0x808000, 0x808020, 0x808040, 0x808050, 0x808060, 0x808070, 0x050505,
    0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060, 0x707070, 0x808080, 0x909090, 0xA0A0A0, 0xB0B0B0, 0xC0C0C0, 0xD0D0D0, 0xE0E0E0, 0xF0F0F0, 0xFFFFFF,
};

COLORREF ColourOfRecord(const ColourRecord& record)
{
    return RGB(record.red & 0xFF, record.green & 0xFF, record.blue & 0xFF);
}

void FillLineColorRows(LineColorList& list)
{
    for (int n = 1; n <= 256; ++n) list.rows.push_back({n, DefaultColorPalette[n - 1]});
}

void BindDrawingColorTable(LineColorList& list)
{
    const DbInfoBlock* info = PickerActiveDrawingInfo();
    list.drawingColours = info != nullptr ? info->colours : nullptr;
}

int GetLineColorCount(const LineColorList& list)
{
    return list.drawingColours != nullptr ? 256 : static_cast<int>(list.rows.size());
}

COLORREF GetLineColor(const LineColorList& list, int row)
{
    if (list.drawingColours != nullptr) {
        if (row < 0 || row > 255) return 0;
        return PickerVisibleAgainstBackground(ColourOfRecord(list.drawingColours[row + 1]));
    }
    if (row < 0 || row >= static_cast<int>(list.rows.size())) return 0;
    return list.rows[static_cast<size_t>(row)].colour;
}

void ParseLineEndTypeRows(LineEndTypeList& list, const char* const* lines, int count)
{
    if (lines == nullptr) {
        lines = LineEndTypeTable;
        count = 15;
    }
    for (int i = 0; i < count; ++i) {
        if (lines[i] == nullptr) continue;
        CCsvParser csv(lines[i]);
        if (csv.GetSize() < 3) continue;
        LineEndTypeRow row;
        row.number = atoi(csv.GetAt(0));
        row.name = csv.GetAt(1);
        row.kind = atoi(csv.GetAt(2));
        row.enabled = 1;
        list.rows.push_back(row);
    }
}

void ReadLineTypeRecords(LineTypeRecord (&records)[kLineTypeCount])
{
    const DbInfoBlock* info = PickerActiveDrawingInfo();
    if (info != nullptr) {
        memcpy(records, info->lineTypes, sizeof records);
        return;
    }
    memset(records, 0, sizeof records);
    ZuriStyleGet(nullptr, records, nullptr);
}

void ReadLineWidths(double (&widths)[kLineWidthCount])
{
    const DbInfoBlock* info = PickerActiveDrawingInfo();
    if (info != nullptr) {
        memcpy(widths, info->lineWidthsMm, sizeof widths);
        return;
    }
    memset(widths, 0, sizeof widths);
    ZuriStyleGet(nullptr, nullptr, widths);
}

LineTypeRow LineTypeRowFromRecord(int number, const LineTypeRecord& record)
{
    LineTypeRow row;
    row.number = number;
    // The engine's name field is 257 bytes: a name without its NUL is read up to 256 of them.
    row.name.assign(record.name, strnlen(record.name, sizeof record.name - 1));
    row.dashCount = record.dashCount;
    const int used = record.dashCount < 0 ? 0 : (record.dashCount > kMaxDashes ? kMaxDashes : record.dashCount);
    for (int i = 0; i < used; ++i) row.dashes[i] = record.dashMm[i];
    return row;
}

void ParseLineTypeRows(LineTypeList& list, const char* const* lines, int count)
{
    if (lines == nullptr) {
        list.rows.clear();
        static LineTypeRecord records[kLineTypeCount];
        ReadLineTypeRecords(records);
        for (int i = 0; i < kLineTypeCount; ++i) list.rows.push_back(LineTypeRowFromRecord(i, records[i]));
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (lines[i] == nullptr) continue;
        CCsvParser csv(lines[i]);
        if (csv.GetSize() < 3) continue;
        LineTypeRow row;
        row.number = atoi(csv.GetAt(0));
        row.name = csv.GetAt(1);
        row.dashCount = atoi(csv.GetAt(2));
        for (int f = 3; f < csv.GetSize() && f - 3 < kMaxDashes; ++f) row.dashes[f - 3] = atof(csv.GetAt(f));
        list.rows.push_back(row);
    }
}

double GetLineWidthValue(const LineWidthList&, int row)
{
    double widths[kLineWidthCount];
    ReadLineWidths(widths);
    if (row < 0 || row >= kLineWidthCount) row = 0;
    return widths[row];
}

void FreeLineEndTypeRows(LineEndTypeList& list) { std::vector<LineEndTypeRow>().swap(list.rows); }
void FreeLineTypeRows(LineTypeList& list) { std::vector<LineTypeRow>().swap(list.rows); }
void FreeLineColorRows(LineColorList& list) { std::vector<LineColorRow>().swap(list.rows); }
