// The symbol-file viewer: a modal picker showing a grid of symbol previews, one per symbol
// definition file, and its companion window drawing one symbol. Nothing in the program or the
// plug-in opens them; an opener fills the inputs and runs the dialog "SYMBOLVIEW".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

constexpr int kSymbolCellArea = 500;
// The cell area's input, sent on to the dialog: wParam column, lParam row.
constexpr UINT kSymbolCellClick = 1074;
constexpr UINT kSymbolCellScroll = 1075;
constexpr UINT kSymbolCellDoubleClick = 1076;

constexpr int kSymbolCellWidth = 111;
constexpr int kSymbolCellHeight = 116;

// What an opener sets before showing the dialog; selection is its result.
struct SymbolViewerInputs {
    std::vector<std::string> files;  // one symbol definition file per cell
    std::string caption;             // empty: the template's caption
    int twoRows = 0;                 // 1: exactly two rows
    int selection = -1;              // the chosen cell, -1 for none
};
SymbolViewerInputs& GetSymbolViewerInputs();

INT_PTR CALLBACK SymbolViewerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Runs the dialog from the template of module; 1 when a cell was chosen, 0 when cancelled,
// -1 when the dialog could not be shown.
INT_PTR ShowSymbolViewer(HINSTANCE module, HWND owner);

// The viewer's state while it runs, for what the user sees: the scroll position (first row
// shown) and the grid.
struct SymbolViewerView {
    int columns = 1;
    int rows = 1;
    int scroll = 0;
    int scrollMax = 0;
};
const SymbolViewerView& GetSymbolViewerView();

// The selection after a click on a cell (index in the whole list): the cell, or none when it is
// the selected one or beyond the last file.
int SymbolSelectionAfterClick(int selection, int index, int count);
// The scroll position after a WM_VSCROLL request, kept in 0 .. scrollMax.
int SymbolScrollAfter(int position, int request, int thumb, int rows, int scrollMax);

// The companion window: draws the preview records into its owner-drawn controls with the
// symbol's origin at the control's centre, on the background colour; hides itself on WM_CLOSE.
struct SymbolPreviewInputs {
    std::vector<unsigned char> records;
    std::vector<std::string> texts;  // what text records point into
    double width = 100;              // the extent the records were scaled to
    double height = 100;
    COLORREF background = RGB(0, 0, 0);
};
SymbolPreviewInputs& GetSymbolPreviewInputs();
LRESULT CALLBACK SymbolPreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
