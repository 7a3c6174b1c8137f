// The line-type picker field "cmdltypeclass" with its drop-down "vyltypewndclass" of the 32
// line types. The plug-in compiles this picker too, so it calls nothing of the program.
#pragma once

#include <windows.h>

LRESULT CALLBACK LineTypeFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LineTypePopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct PickerPopupContext;
// Which field of this kind has its list open (none once that field is gone).
const PickerPopupContext& LineTypePickerContext();

int RegisterLineTypePickerClasses(HINSTANCE instance);
int UnregisterLineTypePickerClass(HINSTANCE instance);
