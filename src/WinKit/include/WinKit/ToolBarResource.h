// Toolbars made from a toolbar resource (RT_TOOLBAR: version, image width and height, button
// count, then the button ids, 0 for a separator) and the bitmap resource of the same id.
#pragma once

#include <windows.h>

#include <vector>

namespace WinKit {

struct ToolBarResourceData {
    int imageWidth = 0;
    int imageHeight = 0;
    std::vector<WORD> items;  // button ids in order, 0 for a separator
};

// Reads the toolbar resource; false when it is missing or malformed.
bool LoadToolBarResource(HINSTANCE instance, UINT resourceId, ToolBarResourceData& data);

// Creates a toolbar window with the resource's buttons (separators 8 pixels wide), images
// from the bitmap of the same id (an image list when the bitmap has more than 4 bits per
// pixel, with no mask colour for 32-bit bitmaps) and buttons 7 pixels larger than the images.
// Null when the resource or the bitmap is missing.
HWND CreateSimpleToolBarCtrl(HWND parent, UINT resourceId, DWORD style, UINT controlId,
                             HINSTANCE instance = nullptr);

// The image list a toolbar made by CreateSimpleToolBarCtrl owns (destroyed with DestroyToolBarCtrl).
void DestroyToolBarCtrl(HWND toolBar);

}  // namespace WinKit
