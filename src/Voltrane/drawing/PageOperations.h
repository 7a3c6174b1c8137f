// The pages of a drawing: page 0 is the drawing itself, pages 1..256 are the engine's page
// records, each with its own drawing information, layers and placement on its parent page.
//
// Unless a function takes a view, it works on the drawing of the active view (the host-service
// site's) and answers 0 when there is none. Page numbers outside 0..256 and layer numbers
// outside 0..1023 are refused with 0 and change nothing.
#pragma once

#include <windows.h>

#include <cstdint>

#include "EngineRecords.h"

constexpr int kPageNameSize = 257;  // the 256-byte title and the byte after it

inline bool IsPageNumber(int page) { return page >= 0 && page <= kMaxPage; }
inline bool IsLayerNumber(int layer) { return layer >= 0 && layer < kLayerCount; }
// Bit p of a page mask of the page state: word p / 32, bit p mod 32.
inline int PageMaskBit(const uint32_t* mask, int page) { return (mask[page / 32] >> (page % 32)) & 1u; }

// ---- page state and numbers ----
// 1 + the pages 1..256 that exist.
int CountDrawingPages(void* db);
int GetCurrentPage();
int SetCurrentPage(int page);
int GetPageState(PageStateInfo* out);
int SetPageState(const PageStateInfo* in);
int IsPageDisplayed(int page);
int IsPageDetectable(int page);
// on = 1 sets the bit, any other value clears it.
int SetPageDisplayed(int page, int on);
int SetPageDetectable(int page, int on);

// ---- page information, name and placement ----
int GetPageDbInfo(int page, DbInfoRecord* out);
int SetPageDbInfo(int page, const DbInfoRecord* in);
int GetPageName(int page, char* out /* kPageNameSize bytes */);
// The six words of the origin offset (x, y and a third double), the scale and the angle in
// radians. Page 0 without a placement in force answers zeros, scale 1 and angle 0.
int GetPagePlacement(int page, int32_t* words, double* scale, double* angle);
int SetPagePlacement(int page, const int32_t* words, const double* scale, const double* angle);
// Word 3 (kind) of the page record; 0 for page 0.
int GetPageRecordFlag(int page);

// ---- adding and deleting ----
// A new page under a parent page, with the parent's paper, scale, line types, colours and
// widths, and only layer 0 shown and detectable. 0 when the page exists or cannot be made.
int AddPage(int page, int parent);
// Deletes a page with its elements. ask 0 or 1 deletes without a question; any other value
// warns when the page's drawing file was changed, and Cancel keeps the page (answer 0).
int DeletePage(int page, int ask);
int DeletePageOf(HWND view, int page, int ask);
// Adds every element of the page to the mark; the number added.
int MarkPageElements(void* mark, int page);
// 1 when the element lies on the page; a group or composite by its first member that is no
// group.
int ElementBelongsToPage(void* db, int page, void* element);

// ---- spaces and viewports ----
int ShowPaperSpace();
int ShowModelSpace();
// Shows the model through a page frame (type 60) of the active drawing.
int EnterViewportView(void* element);
// Page frames on page 0; the first one found (null when none) through first.
int FindViewportElements(void** first);
// 1 for a drawing view with a data block (null: the active view); notes in the drawing whether
// a viewport view is in force.
int IsDrawingViewWindow(HWND window);

// ---- layers per page ----
int GetActiveLayerName(int page, int layer, char* out, char* outByte);
int SetActiveLayerName(int page, int layer, const char* name, const char* group);
// Sets in the 64-word mask the bit of every layer an element of the page uses (page -1: the
// current page). A view of null is the active view. Every walk fills the caller's mask, also
// when the same view was walked just before.
int CollectPageLayerUsage(HWND view, uint16_t* mask, int page);
// The same for all pages 0..256 at once into 257 masks.
int CollectAllPagesLayerUsage(HWND view, uint16_t (*masks)[kLayerMaskWords]);
// The same walk over a drawing's engine database.
int CollectDrawingLayerUsage(void* db, uint16_t (*masks)[kLayerMaskWords]);
// 1 when no layer of page 0 or of an existing page has a name.
int HasNoLayerNames(void* db);

// The page services of the page host message that the drawing side answers: the sub-code and
// the message's record as it came.
LRESULT RunPageService(int subCode, LPARAM lParam);
