// The new-drawing dialog: name, author, remarks, paper, scale and origin of a drawing, written
// into the caller's information record; in information mode the same dialog edits the header
// of the active drawing. The commands that create or change the drawing from the record.
#pragma once

#include <windows.h>

#include "EngineRecords.h"

// What the user chose: a paper row (28 = free size) and the scale, with the free paper size.
struct NewDrawingChoice {
    int paperRow = 0;
    double scale = 1;
    double freeWidth = 0, freeHeight = 0;
};
// Writes paper code, paper size and drawing size of the choice into the record. 0 when taken;
// 7490 (no usable scale) or 7491 (no usable free paper size) when refused.
int ComputeNewDrawingRecord(const NewDrawingChoice& choice, DbInfoRecord& record);

// 0 when the dialog ended with OK, -1 otherwise.
int ShowCreateZumenDlg(DbInfoRecord* record);
int ShowCreateZumenInfoDlg(DbInfoRecord* record);

// Command 4000: the dialog, then a new drawing window made from the record. 1.
int RunNewDrawingCommand(HWND context);
// Command 4021: the dialog on the active drawing's header, applied on OK. 1.
int RunDrawingInfoCommand(HWND context);
// Command 4050: a new drawing from the remembered defaults and the start dialog over it: OK
// applies the dialog, Cancel closes the drawing (and the program when the high word of the
// command is 1), "開　く" runs the open command instead. 1.
int RunStartDrawingCommand(HWND context, WPARAM wParam);
// A new drawing window whose information is the record's; its view, or null.
HWND CreateDrawingFromRecord(HWND context, const DbInfoRecord& record);
