// The start-mark and end-mark picker fields "cmdltermsclass" and "cmdltermeclass". Hosts
// exchange line-end types with them; the field keeps a row of its own narrowed list.
#pragma once

#include <windows.h>

#include "controls/LineEndTypes.h"

struct LineEndPickerState {
    int row;
    int flags;
    int enabled[kLineEndTypeCount];  // the field's own copy of the enable mask
};

struct PickerPopupContext;
// Which field of this kind has its list open (none once that field is gone).
const PickerPopupContext& LineEndPickerContext();

int RegisterLineStartMarkPickerClasses(HINSTANCE instance);
int RegisterLineEndMarkPickerClasses(HINSTANCE instance);
int UnregisterLineStartMarkPickerClass(HINSTANCE instance);
int UnregisterLineEndMarkPickerClass(HINSTANCE instance);
