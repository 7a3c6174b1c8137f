// The line-width picker field "cmdlwidclass" with its drop-down "vylwidwndclass" of 16 widths.
#pragma once

#include <windows.h>

struct PickerPopupContext;
// Which field of this kind has its list open (none once that field is gone).
const PickerPopupContext& LineWidthPickerContext();

int RegisterLineWidthPickerClasses(HINSTANCE instance);
int UnregisterLineWidthPickerClass(HINSTANCE instance);
