// Page layout: the drawing view covered by a 3 x 3 grid of "LAY_WND" cells. In layout mode 1
// each cell shows one page of the drawing, the vertical scroll bar choosing the group of nine;
// in layout mode 2 each cell shows one layer in use on the layout page. A right click switches
// between the two; a left click in mode 2 hands the cell's layer to the running command.
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"

constexpr int kLayoutCellCount = 9;

// Switches the view between the normal view and page layout; 1, 0 without a drawing block.
int TogglePageLayoutView(HWND view);
LRESULT CALLBACK LayoutCellWndProc(HWND cell, UINT message, WPARAM wParam, LPARAM lParam);
// Paints cell number n of the view's block into the cell window.
void CellPaint(HWND cell, PDBINFO* block, int n);
// Places the cells of a view of the given client size.
void PlaceLayoutCells(HWND view, int width, int height);

// The number of groups of nine that show the given number of pages or layers (at least 1).
int LayoutGroupCount(int items);
// The cell number of the cell with the index (0..8) in the layout group.
int LayoutCellNumber(int index, int group);

// The layer of the last left click in layer layout, and the page whose layers are shown.
int GetPickedLayoutLayer();
int GetPickedLayoutPage();

// Set when a plug-in switched page layout off: the input wait looks at its events again.
void RequestLayoutRecheck();
int IsLayoutRecheckRequested();
void ClearLayoutRecheckRequest();

// Message 2624: switches the view's page layout on (wanted 1) or off (wanted 0) through the
// toggle command of the main window; 0 without a drawing block.
LRESULT SetPageLayoutView(HWND view, int wanted);
