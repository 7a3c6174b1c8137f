// How the pickers, lists and painters reach the drawing that is active and the few program
// services they need. The plug-in compiles the line-type picker and the lists too, so nothing
// here calls into the program: the program (or a test) installs its calls, and until it does
// every question answers "no drawing".
#pragma once

#include <windows.h>

#include "EngineRecords.h"

struct PickerHostCalls {
    // The engine database of the active drawing view; null when none is open.
    void* (*activeDb)() = nullptr;
    // The active drawing view; null when none is open.
    HWND (*activeView)() = nullptr;
    // The current colour number of a view's drawing attributes; -1 when the view has no data block.
    int (*viewColorNumber)(HWND view) = nullptr;
    // A colour kept visible against the drawing background.
    COLORREF (*visibleAgainstBackground)(COLORREF colour) = nullptr;
    // The keyboard focus back to the floating parameter panel or the active view.
    void (*restoreInputFocus)() = nullptr;
    // The main frame window, whose module instance the drop-down lists are made with.
    HWND (*mainFrame)() = nullptr;
    // Non-zero while clicks on layer fields are ignored.
    int (*layerPickMode)() = nullptr;
};

PickerHostCalls& GetPickerHostCalls();

void* PickerActiveDb();
HWND PickerActiveView();
// The information block of page 0 of the active drawing; null without a drawing (a null block
// counts as no drawing).
const DbInfoBlock* PickerActiveDrawingInfo();
COLORREF PickerVisibleAgainstBackground(COLORREF colour);
void PickerRestoreInputFocus();
HINSTANCE PickerModuleInstance();
