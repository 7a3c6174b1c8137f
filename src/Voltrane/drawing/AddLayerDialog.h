// The tool panel's add-layer dialog (226): one named layer added to the active drawing and
// written into the engine at once.
#pragma once

#include <windows.h>

#include "drawing/LayerPageTree.h"

// Adds the layer (0..1023) to the current page of the active drawing, or, when that page
// follows page 0, to page 0 and every page that follows it. 0 with the refusal's message id
// through refusal (1 range, 2 present, 3 no name) or without a drawing; 1 added.
int AddLayerToActiveDrawing(int layer, const char* name, const char* group, int* refusal);
// The refusal's message text.
const char* AddLayerRefusalText(int refusal);

// Runs the dialog owned by the window; the tree (may be null) is the one it builds and frees.
// 1 after a layer was added, 2 otherwise.
INT_PTR ShowAddLayerDialog(HWND owner, LayerTreeInfo* tree);
