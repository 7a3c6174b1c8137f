// The point-marker picker "cmdpointclass": seven marker kinds by number, name and symbol.
#pragma once

#include <windows.h>

// The symbol of a marker kind centred in the box, with the pen (and, for the dot, the brush)
// now selected; kinds outside 1 to 6 draw the "X".
void DrawPointMarker(HDC dc, int kind, int left, int top, int right, int bottom);
// The name shown for a kind ("X" for 0 and any other value).
const char* PointMarkerName(int kind);

struct PickerPopupContext;
// Which field of this kind has its list open (none once that field is gone).
const PickerPopupContext& PointMarkerPickerContext();

int RegisterPointMarkPickerClasses(HINSTANCE instance);
int UnregisterPointMarkPickerClass(HINSTANCE instance);
