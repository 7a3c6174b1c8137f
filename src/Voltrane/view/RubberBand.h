// The rubber band: the temporary elements a running command shows while the user moves the
// mouse. Two engine databases live for the whole run: the new elements a command appends
// (message 2383) and a copy of those on screen, so that they can be erased by drawing them
// again with XOR.
#pragma once

#include <windows.h>

#include "HostRecords.h"

// Makes both databases; 1, 0 when the engine refuses one.
int CreateRubberBandDbs();
// Deletes both; 1.
int DeleteRubberBandDbs();
// Appends a copy of the element record to the new elements; 1, 0 when the engine refuses it.
int AppendRubberBandElement(const void* record);
// The rubber-band step of a view: mode 0 shows the new elements (and remembers them as shown),
// 1 erases what is shown, 2 drops both sets without drawing, others draw the shown set again.
// 0 when the view has no drawing block (mode 2 needs none).
int UpdateRubberBand(HWND view, int code, int mode, int sw);
// The number of elements in the new and the shown set.
long CountRubberBandElements(int shown);

// Whether the shown set is drawn in the view.
bool IsRubberBandShownIn(HWND view);
// Draws the shown set in the view again, over a picture just painted without it.
void RedrawShownRubberBand(HWND view);

// Message 2383: the record's element (+52) appended when its view (+36) is set; 1.
LRESULT HandleAddTempElement(const CmdParamRecord* param);
// Message 2384: the view's new elements shown; 1.
LRESULT HandleDrawTemp(const CmdParamRecord* param);
