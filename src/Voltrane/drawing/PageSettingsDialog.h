// The page settings (command 4038, "PAGE_EDIT"): every page of the active drawing as a tree with
// its display state, and the information and placement of the chosen page; OK writes every page
// back. "参照" asks the placement library (command 5960) for the chosen page's placement.
#pragma once

#include <windows.h>

#include <string>

#include "drawing/PageDialogRecords.h"

// Runs the dialog on the active drawing. 0.
int EditPagesCommand(HWND owner);

// Takes the fields of a page dialog ("PAGE_EDIT" or "NEWDB"; a field the dialog lacks reads
// empty) into the record; false after the message of a field that is not valid (7490 scale,
// 7491 paper size, captioned as the dialog), with report off without a message.
bool StorePageFields(HWND dialog, PageDialogRecord& record, bool report);

// What the page dialogs remember between runs, for the whole program: the last paper row and
// size, drawing scale and page scale, and the last title, name and comment.
struct RememberedPageFields {
    int paperRow = 0;
    double paperWidth = 0, paperHeight = 0;
    double drawingScale = 1.0;
    double pageScale = 1.0;
    std::string title, name, comment;
};
RememberedPageFields& GetRememberedPageFields();

// The set-up both page dialogs share: centred on the work area of their monitor, labels in the
// program's language, the paper rows and scale lists, the author field preset with the user's
// name, and paper, size and scales preset with the remembered values.
void SetUpPageFields(HWND dialog);
// Shows a paper row: a row of the table fills and locks the size fields, the free row after
// them unlocks them; the drawing size follows.
void ShowPaperRowFields(HWND dialog, int row);
