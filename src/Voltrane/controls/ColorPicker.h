// The colour picker fields "cmdcolorclass" (colours kept visible against the drawing
// background) and "cmdcolorclass2" (colours as stored), with the drop-down "vycolorwndclass".
#pragma once

#include <windows.h>

constexpr int kColorPickerRows = 257;

// The state block of a colour field, also what a host hands WM_USER+1 (2068 bytes).
struct ColorPickerList {
    int currentRow;
    int colours[kColorPickerRows];   // COLORREF of row r
    int numbers[kColorPickerRows];   // number shown for row r
    int count;
    int flags;
};
static_assert(sizeof(ColorPickerList) == 2068, "colour picker list is 2068 bytes");
static_assert(offsetof(ColorPickerList, numbers) == 258 * 4, "numbers at index 258");
static_assert(offsetof(ColorPickerList, count) == 515 * 4, "count at index 515");

// The rows of a list that may be painted or selected: its count kept to 0..257.
int ColorPickerRowCount(const ColorPickerList& list);

struct PickerPopupContext;
// Which field of this kind has its list open (none once that field is gone).
const PickerPopupContext& ColorPickerContext();

int RegisterColorPickerClasses(HINSTANCE instance);
int UnregisterColorPickerClasses(HINSTANCE instance);
