// Marks (the engine's selections of elements of one database), the search settings that decide
// what the engine's box searches find, the pick aperture, the searches around the cursor and
// the interactive pick that asks the user which of several elements under the cursor is meant.
#pragma once

#include <windows.h>

#include "EngineRecords.h"

// The mark operations take the mark first; the engine takes the element first.
void* CadCreateMark(void* database);
int CadDestroyMark(void* mark);
int CadSetMark(void* mark, void* element);
int CadRemoveFromMark(void* mark, void* element);
void* CadGetNextMark(void* mark, void* previous);
void* CadGetNextMarkMember(void* mark, void* previous);
void* CadGetPrevMark(void* mark, void* previous);
int CadCheckMark(void* mark, void* element);
int CadGetMarkCount(void* mark);

// Highlights (set nonzero) or clears every element of the mark, members included.
int SetMarkHighlight(int set, void* mark);

// Operation 0: a 60-byte search block; 100: lock-layer search mode; 101: two integers, the
// second receives the engine's option answer for the first.
int SetSearchSettings(int operation, INT_PTR value);
// A search block as the program builds its own: mode 3, the element mask, words 2 to 6 set
// (word 4 = word4), the rest 0.
SearchBlock MakeProgramSearchBlock(uint32_t typeMask, uint32_t word4);
int GetSearchSettings(int operation, void* out);
const SearchBlock& CurrentSearchBlock();

int GetPickAperture();
// 1 to 998 pixels: the previous value; otherwise 0 and no change.
int SetPickAperture(int pixels);
double GetPickApertureInDrawingUnits();

// Bit 0: the service commands' pick filter (points with attribute word 0 are not pickable).
void SetPickFilterFlags(int flags);

void* FindFrameElement(const SearchBox* condition);
int SetSearchBoxAtCursor(void** mark);
// The box search at the cursor with a search block of every kind and layer (the click's snap
// candidates); the engine's own block is put back. A mark, or null without a view or a find.
void* SearchAllKindsAtCursor();
int FindFrameElementsAtCursor(void** mark);
// groupMode nonzero: group members are candidates (the accepted-event mask's group bit).
int PickElementAtPoint(void** element, double x, double y, int groupMode);
