// The line-type picker's window classes, which the plug-in registers itself when a
// stand-alone host (not the program) runs it.
#pragma once

#include <windows.h>

constexpr const char kLineTypeFieldClass[] = "cmdltypeclass";
constexpr const char kLineTypePopupClass[] = "vyltypewndclass";

// Registers both classes for the plug-in's module instance; non-zero when the second
// registration succeeds.
ATOM RegisterLineTypePickerClasses();

// The classes' window procedures: the control kit's line-type picker, one source for the program
// and the plug-in.
LRESULT CALLBACK LineTypeFieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LineTypePopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
