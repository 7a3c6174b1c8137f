// The "一覧" view of the file dialog: every drawing of one folder and file type as a grid of
// thumbnails with names, in which the user ticks files (one in place mode). It fills the
// drawing-file list and leaves the ticks there for the file dialog's action. Information is
// loaded only for cells that are drawn, and released again far from them.
#pragma once

#include <windows.h>

struct ThumbnailGrid {
    int columns = 1, rows = 1;
};
constexpr int kThumbnailCellWidth = 184;
constexpr int kThumbnailCellHeight = 152;

// The grid that fits the screen: at least one column and one row.
ThumbnailGrid ComputeThumbnailGrid(int screenWidth, int screenHeight, int scrollBarWidth, int captionHeight);
// The top row after a scroll request, kept within what the entries need.
int ClampThumbnailTopRow(int requested, int entries, const ThumbnailGrid& grid);

// Runs the list over the folder (ending in "\") for the zero-based type of the filter list;
// 1 when confirmed with at least one tick, 0 otherwise.
int RunThumbnailList(HWND owner, const char* folder, int typeIndex, const char* filters, bool deleteMode,
                     bool placeMode);
