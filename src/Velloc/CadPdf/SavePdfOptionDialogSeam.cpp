// Stand-in until the export settings dialog is built: without template 120 the host library
// cannot show the dialog; should one be shown, it closes as cancelled.
#include "CadPdf/SavePdfOption.h"

INT_PTR CALLBACK SavePdfOptionDlgProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
