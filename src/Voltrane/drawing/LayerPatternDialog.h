// The pattern list (227) of the layer manager: loads a layer pattern into the manager's tree,
// saves the page the manager works on as a pattern, deletes patterns, and copies the whole
// layer pattern file to or from a ".PTN" file.
#pragma once

#include <windows.h>

#include "drawing/LayerPageTree.h"

// Runs the list owned by the window over the manager's tree: 1 after a pattern was loaded into
// the tree (or Enter), 2 otherwise.
INT_PTR RunLayerPatternDialog(HWND owner, CLayerPageList& list);
