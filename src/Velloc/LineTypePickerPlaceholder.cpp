// Placeholder procedures of the line-type picker classes until the control kit's picker
// (one source for the program and the plug-in) is built: a plain window.
#include "LineTypePickerClasses.h"

LRESULT CALLBACK LineTypeFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK LineTypePopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}
