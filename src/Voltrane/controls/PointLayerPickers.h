// The point-marker picker "cmdpointclass" (seven marker kinds) and the layer picker
// "cmdlayerclass" (the group and name of a layer of the active drawing).
#pragma once

#include <windows.h>

// The symbol of a marker kind centred in the box, with the pen (and, for the dot, the brush)
// now selected; kinds outside 1 to 6 draw the "X".
void DrawPointMarker(HDC dc, int kind, int left, int top, int right, int bottom);
// The name shown for a kind ("X" for 0 and any other value).
const char* PointMarkerName(int kind);

// The layer field's state: the page and layer it shows and the selected row of its list. The
// tree of pages, groups and layers belongs to the drawings' layer dialogs; until they exist the
// field keeps no tree (pointer null) and its list offers nothing.
struct LayerTreeInfo {
    int page;
    int layer;
    int selectedItem;
    int pageCount;
    int unused;
    void* pages;
};


int RegisterPointMarkPickerClasses(HINSTANCE instance);
int UnregisterPointMarkPickerClass(HINSTANCE instance);
int RegisterLayerPickerClasses(HINSTANCE instance);
int UnregisterLayerPickerClasses(HINSTANCE instance);
