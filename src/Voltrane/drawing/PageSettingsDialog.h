// The page settings (command 4038, "PAGE_EDIT"): every page of the active drawing as a tree with
// its display state, and the information and placement of the chosen page; OK writes every page
// back. "参照" asks the placement library (command 5960) for the chosen page's placement.
#pragma once

#include <windows.h>

#include "drawing/PageDialogRecords.h"

// Runs the dialog on the active drawing. 0.
int EditPagesCommand(HWND owner);

// Takes the fields of a page dialog ("PAGE_EDIT" or "NEWDB"; a field the dialog lacks reads
// empty) into the record; false after the message of a field that is not valid (7490 scale,
// 7491 paper size, captioned as the dialog), with report off without a message.
bool StorePageFields(HWND dialog, PageDialogRecord& record, bool report);
