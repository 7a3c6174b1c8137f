// Calls of the drawing engine DravikDb, as the program and the plug-ins use them.
// Every call is exported by name (see src/Engine/DravikDb/DravikDb.spec) with the
// stdcall convention; records are those of EngineRecords.h.
#pragma once

#include <windows.h>

#define DRAVIKDB_API extern "C"

#include "EngineRecords.h"

// Handles: a database is the address of the caller's 397-byte EngineDbRecord; an element is the
// address of its EngineNode; a mark is an engine pointer whose first word is its database.
// Every call refuses (0 or null) a handle it does not know, a page outside 0..511 and a layer
// of 1024 or more.

// ---- Start and end --------------------------------------------------------------------------
// Maximum coordinate: with a non-zero flag, elements beyond the value are refused.
DRAVIKDB_API void WINAPI ZUriSetMaxCoord(int flag, double value);
DRAVIKDB_API void WINAPI ZUriAllFreeEBuffer(void);
// Fills the engine's default colours (257 ColourRecord), line types (32 LineTypeRecord) and
// widths (16 doubles, mm); each output may be null. Returns 1.
DRAVIKDB_API int WINAPI ZuriStyleGet(void* colours, void* lineTypes, void* widths);
// Highlight colour number 1..256; returns the previous one.
DRAVIKDB_API int WINAPI QmSetHighlightColor(int colour);
// 0: records are stored unchecked apart from page and layer; other: coordinates must also be
// finite and within the maximum coordinate. Returns the previous mode.
DRAVIKDB_API int WINAPI ZUriSetElementCheckMode(int mode);
// A named integer setting (for example "iVectFontWidth"); 1 when stored.
DRAVIKDB_API int WINAPI ZUriSetSettingsDataInt(const char* name, int value);
DRAVIKDB_API int WINAPI QmCreateMemPools(void* db);
DRAVIKDB_API void WINAPI ZUriSetEps(double length, double angle);
DRAVIKDB_API void WINAPI ZUriFastAccessOn(void);
DRAVIKDB_API void WINAPI ZUriFastAccessOff(void);
// Transfer flag of the copy services; returns the previous value.
DRAVIKDB_API int WINAPI ZUriSetTransFg(int flag);

// ---- Databases ------------------------------------------------------------------------------
// Makes an empty database of a zeroed record: 1, or 0 on failure.
DRAVIKDB_API int WINAPI ZUriCreateDB(void* db);
// Frees all the engine holds for the database; 1, or 0 for an unknown record.
DRAVIKDB_API int WINAPI ZUriDeleteDB(void* db);
// Copies the 4223-byte DbInfoRecord of page 0 out / in.
DRAVIKDB_API int WINAPI ZUriGetDBInfo(void* out, void* db);
DRAVIKDB_API int WINAPI ZUriSetDBInfo(const void* in, void* db);
// The live DbInfoBlock of a page (0 or an existing page), or null.
DRAVIKDB_API void* WINAPI ZUriGetDbInfoPtr(int page, void* db);
// Number of elements of the element chain (-1 for an unknown database).
DRAVIKDB_API int WINAPI ZUriGetElmNum(void* db);
// Undo depth (0: changes are not recorded).
DRAVIKDB_API int WINAPI ZUriUndoFgSet(void* db, int depth);
DRAVIKDB_API int WINAPI ZUriClearUndoElement(void* db);
DRAVIKDB_API int WINAPI ZUriClearDustMemory(void);

// ---- Elements -------------------------------------------------------------------------------
// Mode 0 with no element: the first; mode 0 with an element: that element; mode 1: the one
// after it. With a buffer the 174-byte record is copied into it; the result is the element.
DRAVIKDB_API void* WINAPI ZUriReadElement(void* element, int mode, void* out, void* db);
// Appends a copy of a 174-byte record; the element, or null when refused.
DRAVIKDB_API void* WINAPI ZUriAppendElement(const void* record, void* db);
// Replaces an element's record with the first 174 bytes of a 238-byte image (the links stay
// the engine's); null when refused. ZUriMemChangeElement is the same change as the transform
// services use it (members of composites included); both are recorded for undo.
DRAVIKDB_API void* WINAPI ZUriChangeElement(void* element, const void* image, void* db);
DRAVIKDB_API void* WINAPI ZUriMemChangeElement(void* element, const void* image, void* db);
DRAVIKDB_API int WINAPI ZUriDeleteElement(void* element, void* db);
// Deletes every element and figure header (the undo list goes with them).
DRAVIKDB_API int WINAPI ZUriAllDeleteElement(void* db);
// Copies tags, tag string, user data, extra data and FF tag from one element to another.
DRAVIKDB_API int WINAPI ZUriElementParamCopy(void* source, void* target);
// Tags: numbered 32-bit values (0 when unset; tag 210 = the element has a link text).
DRAVIKDB_API int WINAPI ZUriGetTag(void* element, int tag);
DRAVIKDB_API int WINAPI ZUriSetTag(void* element, int tag, int value);
// Tag string: Get copies it (buffer of at least 604 bytes) and answers its length + 1, or 0
// when there is none; with a null buffer only the length + 1. Set with null removes it; a text
// longer than 603 bytes is refused.
DRAVIKDB_API int WINAPI ZUriGetTagString(void* element, char* buffer);
DRAVIKDB_API int WINAPI ZUriSetTagString(void* element, const char* text);
// 256 bytes of user data; Get answers 0 (and zeroes the buffer) when there are none.
DRAVIKDB_API int WINAPI ZUriGet256UserData(void* element, void* buffer);
DRAVIKDB_API int WINAPI ZUriSet256UserData(void* element, const void* buffer);
// FF tag: the data pointer is kept with the element (not read); null removes it.
DRAVIKDB_API int WINAPI ZUriFFTagElement(void* element, void* data, void* db);
DRAVIKDB_API int WINAPI ZUriFFTagFasHeader(void* header, void* data, void* db);
// Extra data slots 0..255: Set writes size bytes at offset (null data clears the slot);
// Get copies up to size bytes from offset (the rest zeroed) and answers the slot's length.
DRAVIKDB_API int WINAPI ZUriSetExtrData(void* element, int slot, int offset, int size, const void* data);
DRAVIKDB_API int WINAPI ZUriGetExtrData(void* element, int slot, int offset, int size, void* out);

// ---- Composites and figure groups -----------------------------------------------------------
DRAVIKDB_API void* WINAPI ZUriCreateFgroupHead(const void* record, void* db);
DRAVIKDB_API void* WINAPI ZUriAppendFgroup(void* header, const void* record, void* db);
DRAVIKDB_API void* WINAPI ZUriAppendMemberElement(const void* record, void* head, void* db);
DRAVIKDB_API void* WINAPI ZUriAppendMemberElementExt(const void* record, void* head, void* db, void* previous);
// Given a head (composite, figure header or figure instance): its first member; given a member:
// the next one of the chain (members of nested composites included). Null after the last.
DRAVIKDB_API void* WINAPI ZUriReadFirstMember(void* element, void* out, void* db);
DRAVIKDB_API void* WINAPI ZUriReadNextMember(void* member, void* out, void* db);
// The direct members of a head one by one (previous null: the first).
DRAVIKDB_API void* WINAPI ZUriReadNextMember2(void* element, void* previous);
// The figure-group header of an instance or member, or null.
DRAVIKDB_API void* WINAPI ZUriGetFgroupHeaderIdx(void* element, void* db);
DRAVIKDB_API void* WINAPI ZUriReadFgroupElement(void* header, void* out, void* db);
// Number of direct members of a head.
DRAVIKDB_API int WINAPI ZUriGetMemberNum(void* head, void* db);
// Makes a group (type 21) of copies of the given elements, which are deleted; the group or null.
DRAVIKDB_API void* WINAPI ZUriMakeGroupExtrIdx(int count, void** handles, void* db);

// ---- Pages and layers -----------------------------------------------------------------------
DRAVIKDB_API int WINAPI ZUriChkPage(int page, void* db);
// Copies the 106349-byte page record of page 1..256; 0 for page 0 or a missing page.
DRAVIKDB_API int WINAPI ZUriGetPage(int page, void* out, void* db);
DRAVIKDB_API int WINAPI ZUriChgPage(int page, const void* record, void* db);
DRAVIKDB_API int WINAPI ZUriAddPage(int page, const void* record, void* db);
DRAVIKDB_API int WINAPI ZUriDelPage(int page, void* db);
// The next existing page after `page` (walk from 0), its record copied when out is given;
// 0 after the last.
DRAVIKDB_API int WINAPI ZUriGetNextPage(int page, void* out, void* db);
// The next page of a depth-first walk of the page tree (from 0), or 0 after the last.
DRAVIKDB_API int WINAPI ZUriGetDownNextPage(int page, void* out, void* db);
DRAVIKDB_API void* WINAPI ZUriGetPtPage(int page, void* db);
// Pages besides page 0 (-1 for an unknown database).
DRAVIKDB_API int WINAPI ZUriGetPageCount(void* db);
// Depth of a page in the page tree (page 0: 0; -1 for a missing page).
DRAVIKDB_API int WINAPI ZUriGetPageLv(int page, void* db);
// Flag 0: non-zero only for a named layer; other flags: for every layer 0..1023 (the name may
// be empty). out takes 258 bytes.
DRAVIKDB_API int WINAPI ZUriGetLayerName(int page, int layer, int flag, char* out, void* db);
DRAVIKDB_API int WINAPI ZUriSetLayerName(int page, int layer, const char* name, void* db);
DRAVIKDB_API int WINAPI ZUriGetLayerInfo(int page, void* block, void* db);
DRAVIKDB_API int WINAPI ZUriSetLayerInfo(int page, const void* block, void* db);

// ---- Marks ----------------------------------------------------------------------------------
DRAVIKDB_API void* WINAPI ZUriCreateMark(void* db);
DRAVIKDB_API int WINAPI ZUriDestroyMark(void* mark);
DRAVIKDB_API int WINAPI ZUriSetMark(void* element, void* mark);
DRAVIKDB_API int WINAPI ZUriDelMark(void* element, void* mark);
DRAVIKDB_API void* WINAPI ZUriGetNextMark(void* previous, void* mark);
DRAVIKDB_API void* WINAPI ZUriGetExtNextMark(void* previous, void* mark);
DRAVIKDB_API void* WINAPI ZUriGetBackMark(void* previous, void* mark);
DRAVIKDB_API int WINAPI ZUriChkMark(void* element, void* mark);
DRAVIKDB_API int WINAPI ZUriGetMarkNum(void* mark);

// ---- Search ---------------------------------------------------------------------------------
DRAVIKDB_API int WINAPI ZUriDbSetSerch(const void* block);
DRAVIKDB_API int WINAPI ZUriDbGetSerch(void* out);
DRAVIKDB_API int WINAPI ZUriDbSetSerchOption(int option);
DRAVIKDB_API int WINAPI ZUriSerchSetGrpFind(int on);
DRAVIKDB_API int WINAPI ZUriGetPageDetFlag(void);
DRAVIKDB_API int WINAPI ZUriSetPageDetFlag(int flag);
DRAVIKDB_API int WINAPI QmGetLockLaySearchMode(void);
DRAVIKDB_API int WINAPI QmSetLockLaySearchMode(int mode);
// 1 when the element (or, with a null element, the record) lies on a locked layer; the
// element's record is copied into `record` when both are given.
DRAVIKDB_API int WINAPI QmIsLockLayer(void* element, void* db, void* record);
// A new mark of the elements that meet the box (SearchBox; null: every element the search
// block lets through); the caller destroys it. view is the view's drawing block (may be null).
DRAVIKDB_API void* WINAPI ZUriGetWakuElement(const void* box, void* db, void* view);
// As ZUriGetWakuElement, gathering at most `limit` elements (0 or less: no limit).
DRAVIKDB_API void* WINAPI ZUriGetWakuElementEx(const void* box, void* db, void* view, int limit);
DRAVIKDB_API void* WINAPI ZUriGetElementMarkByPointWithMark(double x, double y, double z, double aperture,
                                                           int* count, void* db, void* view, void* mark);
// Point searches: nonzero when a point was found within the aperture; out gets the point, the
// element (value1) and the kind (value2, SearchPointKind). A candidate mark limits the search.
DRAVIKDB_API int WINAPI ZUriSerchPoint(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                       void* db, void* tempDb, void* view, void* mark);
DRAVIKDB_API int WINAPI ZUriSerchPoint2(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                        void* view, int option, void* mark);
DRAVIKDB_API int WINAPI ZUriSerchPoint2_2(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                          void* view, void* mark);
DRAVIKDB_API int WINAPI ZUriSerchPoint3(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                        void* view, void* mark);
DRAVIKDB_API int WINAPI ZUriSerchPoint4(SearchPointRecord point, SearchPointRecord* out, double aperture,
                                        void* view, void* mark);

// ---- Undo -----------------------------------------------------------------------------------
DRAVIKDB_API int WINAPI ZUriMakUndoPass(void* db);
DRAVIKDB_API int WINAPI ZUriCheckUndo(int steps, int reserved, void* db);
DRAVIKDB_API int WINAPI ZUriIsUndo(void* db);
DRAVIKDB_API int WINAPI ZUriIsRedo(void* db);
DRAVIKDB_API int WINAPI ZUriUndoDelElement(void* element, void* db);
DRAVIKDB_API int WINAPI ZUriUndoAddElement(void* element, void* db, int flag, int value);
DRAVIKDB_API int WINAPI ZUriUndoChgElement(void* element, void* savedState, void* db, int reserved);
DRAVIKDB_API int WINAPI ZUriUndoDelMemberElement(void* element, void* head, void* db, int reserved, int value);
DRAVIKDB_API int WINAPI ZUriUndoAddMemberElement(void* element, void* head, void* db, int reserved, int value);
// A mark that takes undo records (ZUriSetMark with a record adds the record's element).
DRAVIKDB_API void* WINAPI ZUriCreateLinkMark(void* db);
// 1 when elements of that page and layer are shown.
DRAVIKDB_API int WINAPI ZUriChkDspElement(int page, int layer, int space, int viewMode, void* db);
DRAVIKDB_API int WINAPI ZUriCompRstrData(void* db, void* element, int mode, void* out);
DRAVIKDB_API int WINAPI ZUriExpandRstrData(void* db, void* record, int mode);

// ---- Drawing and fonts ----------------------------------------------------------------------
DRAVIKDB_API int WINAPI ZUriDrawPre(void* db, void* block);
DRAVIKDB_API int WINAPI ZUriDrawAll(void* db, void* block, void* surface);
DRAVIKDB_API int WINAPI ZUriDraw(void* db, void* block);
// Fills a DrawElementList with every drawable element in drawing order; 1 when all fitted.
DRAVIKDB_API int WINAPI QmGetDrawElementsAll(void* db, void* list);
// The dictionary function answers 0 (not available) for every code.
DRAVIKDB_API int WINAPI ZUriDicFunction(int code, void* block);
// Kind 0: the number of text fonts (the system's font families); other kinds (the vector-font
// dictionaries): 0, none available.
DRAVIKDB_API int WINAPI ZUriGetFontNum(int kind);
// Name of text font `index` (kind 0) into out (at most 32 bytes with the terminator); 1 when found.
DRAVIKDB_API int WINAPI ZUriGetFontNm(int kind, int index, char* out);

// ---- Drawing files --------------------------------------------------------------------------
// The engine's own drawing files: ".tcf" (CWX) and ".otcf" (CWU). flags in: 0, or 1 to read a
// file of a newer format version; out: 0x80 drawing information bad, 0x200 out of memory,
// 0x100 figure-group information bad, 0x02 element information bad, 0x400 unknown
// compression, 0x800 unknown format (or the other kind of file), 0x10 not a drawing file;
// exactly 1 after a failed load: the file has a newer format version. Non-zero when loaded
// (the bits then report what was left out). A record that holds no database yet gets one.
DRAVIKDB_API int WINAPI ZUriLoadFileOfCWX(const char* path, void* db, uint32_t* flags);
DRAVIKDB_API int WINAPI ZUriLoadFileOfCWU(const char* path, void* db, uint32_t* flags);
// Header only: the drawing information (+92, element count at +4223 as stored) and the
// 176 x 124 thumbnail at +28 (0 when the file has no preview). 1 when read; on failure a
// record that held no database before holds none after.
DRAVIKDB_API int WINAPI ZUriLoadInfoOfCWX(const char* path, void* db, uint32_t* flags);
DRAVIKDB_API int WINAPI ZUriLoadInfoOfCWU(const char* path, void* db, uint32_t* flags);
// Writes the database with the preview bitmap at +28 to a temporary file beside the target and
// renames it over the target, so a failed save keeps the old file whole. 1 saved; 0 with flags
// 0x10 disk full, 0x20 write failed, 0x40 no database, 0x80 groups nested too deep to be
// read back, 0x200 out of memory.
DRAVIKDB_API int WINAPI ZUriSaveFileOfCWX(const char* path, void* db, uint32_t* flags);
DRAVIKDB_API int WINAPI ZUriSaveFileOfCWU(const char* path, void* db, uint32_t* flags);
// Formats this engine does not read or write: 0 with flags 0x800.
DRAVIKDB_API int WINAPI ZUriLoadFileOfCW2(const char* path, void* db, uint32_t* flags);
DRAVIKDB_API int WINAPI ZUriLoadFileOfFDA(const char* path, void* db, uint32_t* flags);
DRAVIKDB_API int WINAPI ZUriLoadFileOfCAD(const char* path, void* db, uint32_t* flags);
DRAVIKDB_API int WINAPI ZUriSaveFileOfCW2(const char* path, void* db, uint32_t* flags);
DRAVIKDB_API int WINAPI ZUriSaveFileOfEDS(const char* path, void* db, uint32_t* flags);
DRAVIKDB_API int WINAPI ZUriSaveFileOfFDA(const char* path, void* db, uint32_t* flags);
