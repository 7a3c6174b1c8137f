#include "LineTypePickerClasses.h"

#include "VellocModule.h"

ATOM RegisterLineTypePickerClasses()
{
    WNDCLASSA field = {};
    field.style = CS_VREDRAW | CS_HREDRAW | CS_GLOBALCLASS;
    field.lpfnWndProc = LineTypeFieldProc;
    field.cbWndExtra = 8;
    field.hInstance = VellocInstance();
    field.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    field.lpszClassName = kLineTypeFieldClass;
    RegisterClassA(&field);

    WNDCLASSA popup = {};
    popup.style = CS_VREDRAW | CS_HREDRAW;
    popup.lpfnWndProc = LineTypePopupProc;
    popup.cbWndExtra = 8;
    popup.hInstance = VellocInstance();
    popup.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    popup.lpszClassName = kLineTypePopupClass;
    return RegisterClassA(&popup);
}
