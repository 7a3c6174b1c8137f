// The line-width picker field "cmdlwidclass" with its drop-down "vylwidwndclass" of 16 widths.
#pragma once

#include <windows.h>

int RegisterLineWidthPickerClasses(HINSTANCE instance);
int UnregisterLineWidthPickerClass(HINSTANCE instance);
