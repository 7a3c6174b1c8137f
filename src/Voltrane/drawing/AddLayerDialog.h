// The tool panel's add-layer dialog (226): one named layer added to the active drawing and
// written into the engine at once.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

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

// ---- the layer manager's add and edit dialog ----
// Runs the dialog on the caret item of the manager's tree control in the mode (0 add, 1 edit a
// layer, 2 edit a group; a group's item turns 1 into 2) and applies what was typed to the tree.
// 1 after OK, else 0.
int RunAddEditLayerDialog(HWND treeWindow, int mode, CLayerPageList& list);
// Moves the selected layers into one group typed by the user. 1 when something was applied.
int EditSelectedLayers(HWND treeWindow, const std::vector<HTREEITEM>& selected, CLayerPageList& list);
