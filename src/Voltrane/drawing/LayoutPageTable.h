// The page table of the page-layout cells: every page of the drawing with the layers its
// elements use and the layers it names. The cells of a view read it by their cell number: in
// layout mode 1 a cell shows the page of that entry, in layout mode 2 a cell shows one used
// layer of the view's layout page.
#pragma once

#include <cstddef>
#include <cstdint>

#include "DrawingWindowRecords.h"
#include "EngineRecords.h"

struct LayoutPageEntry {
    int32_t page;
    char pageText[11];    // the page number in decimal
    char title[259];      // the page's title
    uint16_t usedLayers[kLayerMaskWords];
};

struct LayoutPageTable {
    LayoutPageEntry entries[kMaxPage + 1];
    int count;
};

// The program's table, as the last build left it.
const LayoutPageTable& GetLayoutPageTable();

// Rebuilds the table for the drawing of the block; the number of entries (0 without a drawing).
int BuildLayoutPageTable(const PDBINFO* block);
// The number of used layers of the entry in layout mode 2; 0 in any other mode.
int CountLayoutCellLayers(const PDBINFO* block, int entry);
// Layout mode 2: the n-th used layer (from 0) of the view's layout page; -1 otherwise.
int GetLayoutCellLayer(const PDBINFO* block, int n);
// Whether cell n has something to show; modes other than 1 and 2 always have.
int IsLayoutCellValid(const PDBINFO* block, int n);
// Cell n's caption: the page title in mode 1, the layer name (or its number) in mode 2.
void GetLayoutCellCaption(const PDBINFO* block, int n, char* out, size_t size);
// The page of entry n; 0 when there is no such entry.
int GetLayoutCellPage(const PDBINFO* block, int n);
