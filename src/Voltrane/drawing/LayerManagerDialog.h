// The layer manager (225): the layers of the active drawing page by page, as a tree of pages,
// groups and layers with state icons. Display, detect and lock are written into the engine at
// once, so the view shows them while the dialog is open; OK (or the close box) writes the whole
// tree; Cancel puts back the layer blocks and page bits of the opening.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "drawing/LayerPageTree.h"

// What is open of the manager; one at a time. The tool panel's add-layer dialog uses its tree.
struct LayerManagerSlot {
    LayerTreeInfo tree;
    HWND dialog = nullptr;
    int addEditMode = 0;  // 0 add, 1 edit layer, 2 edit group
    int shownRow = 0;     // row of the page the tree control shows
    WNDPROC oldTreeProc = nullptr;
    HTREEITEM lastClicked = nullptr;
    HWND editor = nullptr;
    struct EditRecord {
        HTREEITEM item = nullptr;
        int layer = 0;
        int row = 0;
        int group = 0;
        int index = -1;  // -1: the group's name is edited
        char text[257] = "";
    } edit;
};
LayerManagerSlot& GetLayerManagerSlot();

// The state pictures: 0-2 pages (hidden, shown only, shown and detectable), 4-21 layers, 22-29
// groups. usage: 0 unused, 1 holds elements, 2 the input layer.
int LayerIconIndex(int display, int detect, int usage, int lock);
int GroupIconIndex(const LayerTreeGroupInfo& group);
int PageIconIndex(int display, int detect);

// Where a click lands on a row of the tree.
enum LayerTreeHitCode {
    kLayerHitGap = 0,
    kLayerHitIndent = 1,
    kLayerHitState = 2,  // display and detect
    kLayerHitInput = 3,
    kLayerHitNumber = 4,
    kLayerHitName = 5,
    kLayerHitLock = 6,
};
// The code of x on a row of the level (0 page, 1 group, 2 layer), from where the row's state
// picture starts and its label starts, and the width of a layer's number in the label.
int LayerTreeHitCodeAt(int level, int x, int imageLeft, int labelLeft, int numberWidth);

// The display/detect toggle of a click: left, shown and detectable → hidden, else shown and
// detectable; right, shown only → hidden, else shown only.
void ToggleDisplayDetect(int* display, int* detect, int button);

// The pictures "folder\<format with n>" for n = 0..count-1, 18 pixels high, white transparent; a
// picture that cannot be read is icon 216 in its place, so every index stays.
HIMAGELIST LoadLayerPictures(const std::string& folder, int width, int count, const char* format);

// Runs the manager owned by the window on the active drawing: 1 applied (OK or close box),
// 2 cancelled or without a drawing.
INT_PTR ShowLayerManagerDialog(HWND owner);
