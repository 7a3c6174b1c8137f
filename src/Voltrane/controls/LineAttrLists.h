// The four line-attribute lists behind the pickers, list boxes and attribute dialogs, and the
// built-in end-mark table and default colour palette.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "EngineRecords.h"

constexpr int kMaxDashes = 16;

struct LineEndTypeRow {
    int number = 0;
    std::string name;
    int kind = 0;     // drawing kind of DrawLineEndMark, 0 to 13
    int enabled = 1;
};

struct LineTypeRow {
    int number = 0;
    std::string name;
    int dashCount = 0;  // 0 solid; as stored, painters use at most 16
    double dashes[kMaxDashes] = {};
};

struct LineColorRow {
    int number = 0;       // colour number 1 to 256
    COLORREF colour = 0;
};

struct LineColorList {
    int currentRow = 0;
    int flags = 2;
    std::vector<LineColorRow> rows;
    const ColourRecord* drawingColours = nullptr;  // the active drawing's block, or none
};

struct LineEndTypeList {
    int currentRow = 0;
    int flags = 2;
    std::vector<LineEndTypeRow> rows;
};

struct LineTypeList {
    int currentRow = 0;
    int flags = 2;
    std::vector<LineTypeRow> rows;
};

struct LineWidthList {
    int currentRow = 0;
    int flags = 2;
};

// The 15 built-in end-mark lines and the 256 default colours (numbers 1 to 256).
extern const char* const LineEndTypeTable[15];
extern const COLORREF DefaultColorPalette[256];

void FillLineColorRows(LineColorList& list);
void BindDrawingColorTable(LineColorList& list);
int GetLineColorCount(const LineColorList& list);
// Bound: the drawing's colour kept visible against the background (black outside 0 to 255).
// Unbound: the row's colour; black for a row outside the list.
COLORREF GetLineColor(const LineColorList& list, int row);

// Appends rows from CSV lines (count of them), or from the built-in table when lines is null.
void ParseLineEndTypeRows(LineEndTypeList& list, const char* const* lines, int count);
// With lines: appends one row per usable line. Without: rebuilds the 32 rows from the active
// drawing or the engine's defaults.
void ParseLineTypeRows(LineTypeList& list, const char* const* lines, int count);

double GetLineWidthValue(const LineWidthList& list, int row);
std::string GetLineWidthText(const LineWidthList& list, int row);

void FreeLineEndTypeRows(LineEndTypeList& list);
void FreeLineTypeRows(LineTypeList& list);
void FreeLineColorRows(LineColorList& list);

// The line-type records of the active drawing, or the engine's defaults (32 records).
void ReadLineTypeRecords(LineTypeRecord (&records)[kLineTypeCount]);
// The 16 widths in mm of the active drawing, or the engine's defaults.
void ReadLineWidths(double (&widths)[kLineWidthCount]);
// The colour of a record: the low bytes of its three ints.
COLORREF ColourOfRecord(const ColourRecord& record);
// A row from an engine line-type record; the name is read from at most 256 bytes.
LineTypeRow LineTypeRowFromRecord(int number, const LineTypeRecord& record);
