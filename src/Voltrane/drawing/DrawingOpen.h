// Opening drawing files. The engine's own formats load into the database of a new drawing
// window; foreign formats go to the import command of their plug-in. A file that cannot be
// loaded cleanly opens nothing: its message is shown and no window, name or lock stays behind,
// so that no later save can write an empty or half-read drawing over it.
#pragma once

#include <windows.h>

#include <cstdint>

// Opens the file in a new window, or activates the window that already shows it. 1 when a
// window shows the file afterwards (or its import command ran), 0 when nothing was opened.
int OpenDrawingFile(HWND context, const char* path);

// The command that imports files of a foreign type, 0 for none.
int ImportCommandOfType(int type);

// The open-request word: set by the file dialog, the paste and host service 6; a foreign-format
// import reads it back to tell an open the user asked for from one a command made.
void SetOpenRequestFlag(int value);
int GetOpenRequestFlag();

// Whether a drawing's linked image is loaded with it: [TIFF] "LINKLOAD" of "dwgin.ini" in the
// data folder. 1 or 0.
int IsTiffLinkLoadOn();
// The image linked to a drawing (the drawing's path with the extension "tif"), loaded through
// the raster command's library (7800) when link loading is on and the image exists; unless
// noPrompt the user is asked first. 1, or 0 when the library could not run (the failure shown).
int LoadLinkedTiffImage(const char* drawingPath, int noPrompt);

// The papers a raster drawing is fitted to: A0 to A6 landscape (rows 0-6), then portrait (7-13).
struct RasterPaperRow {
    const char* name;
    uint16_t code;
    double height, width;  // millimetres
};
constexpr int kRasterPaperRows = 14;
const RasterPaperRow* GetRasterPaperTable();
// The row for a raster of that size: the landscape rows for one wider than high, else the
// portrait rows, from A0 down; the row before the first paper the raster exceeds in a side, so
// the smallest paper that holds it (A0 when it exceeds A0, A6 when it exceeds none).
int ChooseRasterPaperRow(double width, double height);
