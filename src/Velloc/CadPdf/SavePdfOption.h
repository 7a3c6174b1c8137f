// The command "SavePdfOption": the PDF export settings dialog (template 120).
#pragma once

#include <windows.h>

#include "CmdBase.h"

constexpr int kSavePdfOptionDialogId = 120;

class CSavePdfOption : public CCmdBaseEx {
public:
    // Runs the dialog; its answer is not looked at: 0.
    int Run();
};

// The procedure of dialog template 120.
// OK writes the colour switch; Cancel puts back what it was when the dialog opened.
INT_PTR CALLBACK SavePdfOptionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Puts the colour switch saved when the dialog opened back into the settings.
void RestoreLineColorType();
