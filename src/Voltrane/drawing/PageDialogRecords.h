// The records the page dialogs work on: one per page, filled from the active drawing before a
// dialog and written back after OK. The pool is program-wide; its records are addressed by key
// (their place in the pool).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

struct PageDialogRecord {
    int page = 0;
    int parent = 0;
    double scaleX = 1.0;
    double scaleY = 1.0;
    double angle = 0.0;  // radians
    int word4 = 0;
    int32_t origin[6] = {};  // origin x, y and a third double, as the placement keeps them
    char fileName[260] = "";
    char fileType[32] = "";
    char title[257] = "";
    char name[257] = "";
    char comment[257] = "";
    double extentX = 0, extentY = 0;
    double paperWidth = 0, paperHeight = 0;
    double drawingScale = 1.0;
    uint16_t paperCode = 0;
    uint8_t flags = 0;  // kPageShown, kPageDetectable, kPageExternal
    int state = 0;      // 1 new or to be made again, -1 to be deleted, 0 unchanged
    int depth = 0;      // parent steps to page 0
    int key = 0;
    HTREEITEM item = nullptr;

    double OriginX() const;
    double OriginY() const;
    void SetOrigin(double x, double y);
};

constexpr uint8_t kPageShown = 1;
constexpr uint8_t kPageDetectable = 2;
constexpr uint8_t kPageExternal = 4;
// More records than this refuse new pages.
constexpr int kMaxPageDialogRecords = 254;

// The record of the key, appending empty records up to it.
PageDialogRecord& GetPageDialogRecord(int key);
int PageDialogRecordCount();
void FreePageDialogRecords();
// Removes the record of the key; the following keys move down by one.
void RemovePageDialogRecord(int key);
// The smallest page number 1..256 that no record uses; 0 when all are used.
int FindFreePageNumber();
// Tree depths of every record; written into the records when store is set. The deepest depth.
int ComputeRecordDepths(bool store);

// Fills the pool from the active drawing: with page 0 first for the settings dialog, without it
// for the page manager (which shows external references by their file name). The number of
// records.
int FillPageDialogRecords(bool withPageZero);
// Writes a record back into its page (page 0: the drawing's information). 1, or 0.
int WritePageDialogRecord(const PageDialogRecord& record);
// Makes the page of a record; an external reference loads its file first and stops with the
// load's message when it cannot. 1, or 0 with nothing made.
int CreatePageFromRecord(HWND owner, const PageDialogRecord& record);
// A new external-reference record for the file at the end of the pool; 0 when the pool is full.
int AddExternalReferencePage(const char* path);
// Marks the record and the records below it in the tree (following records of greater depth)
// and removes them from the pool. The number removed.
int RemovePageRecordWithSubtree(int key);
// The page manager's OK: deletes the pages without a record, makes the new ones. 1.
int ApplyPageManagerRecords(HWND owner);
