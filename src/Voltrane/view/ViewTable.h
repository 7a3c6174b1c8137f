// The table of open drawing views (256 slots, the active view kept in slot 0), the lookups by
// which the whole program finds a view, its drawing block and its database, the captions, the
// modified and file-name propagation across the views of one drawing, the view lock, the save
// question's bookkeeping and the release of a closing view.
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"

constexpr int kViewTableSize = 256;
// Asked of the active MDI child: every drawing frame answers its view window, others 0.
constexpr UINT WM_CAD_FRAME_VIEW = 3524;

// ---- the table itself ----
void ClearViewTable();
// Puts the view into the first free slot; 0 when the table is full.
int AddViewToTable(HWND view);
int IsViewTableFull();
int FindViewSlot(HWND view);        // -1 when the view is in no slot
HWND GetViewInSlot(int slot);
int CountTableViews();

// The drawing block of a view: window long 0 of a window that stands in the table; null for a
// handle that is no view of the table and for a closing view (window long 0 = 0).
PDBINFO* GetViewBlock(HWND view);
// The same without the table test, for the view's own window procedure.
PDBINFO* GetOwnViewBlock(HWND view);

// The slot the active-view lookup picks: the answered view when it stands in a slot, else the
// first used slot; -1 when the table is empty.
int ChooseActiveViewSlot(const HWND* slots, int count, HWND answered);

HWND GetActiveView();
HWND GetNextView(HWND view);
// The first view of a walk: the active view, else the view in slot 0.
HWND WalkStart();
void* GetViewDb(HWND view);
void* GetActiveDb();
HWND ActivateView(HWND view);
HWND FindViewByDb(void* db);
int CountDrawingViews(HWND view);
HWND FindViewByFileName(const char* fileName, HWND view);
void InvalidateDrawingViews(HWND view);
// Every view of the table repaints (settings all views draw, such as the paper frames).
void InvalidateAllViews();
int SetDrawingModified(HWND view);
int ClearDrawingModified();
int SetDrawingFileName(HWND view, const char* fileName);
long GetViewElementCount(HWND view);
void RefreshDrawingViews(HWND view);
void CloseUntouchedViews();
void CenterViewScrollBars(HWND view);
int HasAttachedDb(HWND view, void* db);
// Reads an element of the database attached to the view's drawing (ZUriReadElement with the
// three arguments, then the attached database); null without one.
void* ReadAttachedDbElement(HWND view, void* element, int mode, void* out);
HWND GetFirstLayoutCell(HWND view);
HWND GetNextLayoutCell(HWND cell);

// ---- captions ----
// The caption of a drawing: "%s : %d -[%s]", "%s -[%s]", "%s : %d" or "%s", then " (参照)".
void FormatViewCaption(char* out, size_t size, const char* title, int number, const char* fileName,
                       int referenceMode);
void UpdateViewTitle(HWND view, void* db, int number);

// ---- the view lock ----
void LockActiveView();
void UnlockView();
int IsViewLocked();
int IsLockedView(HWND view);
HWND GetLockedView();

// ---- the drawing-id counter (raised by the window creation before each window) ----
int NextDrawingId();
int CurrentDrawingId();

// ---- closing ----
// Whether closing the window of the view must ask to save; closingAll is the main frame's
// close-all flag.
int IsSavePromptNeeded(HWND view, int closingAll);
// The decision on a block alone: views counts the views of its drawing.
int DecideSavePrompt(const PDBINFO* block, int views, int closingAll);
void ClearSavePromptList();
// Detaches a closing view: captions and numbers of the other views, the file lock, window
// long 0, the tool panel and the table slot.
void ReleaseDrawingView(HWND view);
