// The picture a drawing file keeps of itself: the view's current picture scaled into the
// 176 x 126 preview.
#pragma once

#include <windows.h>

// Draws the view's drawing into the device context of a 176 x 126 bitmap; 1, 0 without a
// drawing block.
int RenderSavePreview(HWND view, HDC dc);
