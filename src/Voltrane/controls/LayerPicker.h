// The layer picker "cmdlayerclass": the group and name of a layer of the active drawing on two
// lines, and a dropped list of the drawing's pages, groups and layers as a tree. Its state is
// the drawings' layer page tree: the page and layer shown are the tree's current page and
// layer, the list's selected row the tree's current item id.
#pragma once

#include <windows.h>

#include "drawing/LayerPageTree.h"

// The kind of a row of the flattened tree and where its record lies; kind kLayerItemNone when
// no record has the item id.
struct LayerTreeRow {
    int kind = kLayerItemNone;
    int page = -1, group = -1, layer = -1;  // indexes into the tree's vectors
};
// The record whose item id is the row; the tree's counts and ids are checked, nothing else is
// trusted.
LayerTreeRow FindLayerTreeRow(const LayerTreeInfo& tree, int row);
// The number of rows of the flattened tree: every page, group and layer.
int LayerTreeRowCount(const LayerTreeInfo& tree);
// The group name and layer text a field shows for the page and layer numbers of the tree; the
// layer text is "レイヤ n" (n = layer + 1) and red is set when neither has a name and the
// layer number is 0 or more.
void LayerFieldTexts(const LayerTreeInfo& tree, char* group /* kGroupNameSize */,
                     char* layer /* kLayerNameSize */, bool* red);

// The field's tree; null when the field has none (allocation failed).
LayerTreeInfo* LayerPickerTree(HWND field);

struct PickerPopupContext;
// Which field of this kind has its list open (none once that field is gone).
const PickerPopupContext& LayerPickerContext();

int RegisterLayerPickerClasses(HINSTANCE instance);
int UnregisterLayerPickerClasses(HINSTANCE instance);
