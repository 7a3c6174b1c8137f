// The bounding box of an element, computed from its record by element type: the engine has no
// such call for every type. The box is left, top, right, bottom (top > bottom).
#pragma once

#include <windows.h>

#include "EngineRecords.h"

// 1 for the types it knows, 0 otherwise (the box stays zero). The view (or, without one, the
// database) serves to find the group header of a figure reference.
int GetElementExtent(HWND view, void* database, void* element, SearchBox* box);
int GetArcExtent(const ElementRecord& record, SearchBox* box);
int GetEllipseExtent(const ElementRecord& record, SearchBox* box);
int GetTextExtent(const ElementRecord& record, SearchBox* box);
// The four corners of a text's outline after placing a copy of the record.
int GetPlacedTextOutline(TextOutlineCorner* corners, const ElementRecord& text, double dx, double dy, double angle,
                         double scale, double originX, double originY);
