// The plug-in's one access to the active drawing view's per-window block (the block whose
// address the view keeps in window long 0): the copy of the current layer that plug-ins write
// after they change the current layer.
#pragma once

#include <windows.h>

// Byte offset of the current layer (int16) in the view's block.
constexpr int kViewBlockCurrentLayerOffset = 108;

// The active view as the owner window answers WM_CAD_ACTIVE_VIEW (2429); null when none.
HWND QueryActiveView(HWND owner);
// Writes the layer into the active view's block; false when there is no view or no block.
bool WriteActiveViewCurrentLayer(HWND owner, int layer);
