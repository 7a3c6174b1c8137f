// The point searches behind the snap modes: end points (with the program's own snap to the
// drawing frame first), intersections, mid points, centres and points on a line. The engine
// does the searching; these prepare its arguments for the active view and confirm a find with
// a sound when the setting asks for it.
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"
#include "EngineRecords.h"
#include "HostRecords.h"

// The search box around a point.
SearchBox SearchBoxAround(double x, double y, double aperture);
// 1 when the point lies strictly inside the box.
int IsPointInSearchBox(const SearchBox& box, double x, double y);

// What the frame-corner snap looks at, gathered once per search.
struct FrameCornerInputs {
    double width = 0, height = 0;   // drawing extents (DbInfoRecord 3920, 3928)
    double scale = 1;               // drawing scale (DbInfoRecord 3952)
    int lastPointShown = 0;         // bLastPosViewFg
    int hasLastPoint = 0;
    SearchPointRecord lastPoint{};
    int paperFramesOff = 0;         // PAPERLINEDSPOFF
    int marginColour = 0;           // 0 or less: no margin frame
    double landscape[4] = {};       // margins in mm: left, right, top, bottom
    double portrait[4] = {};
};
// The first frame candidate strictly inside the box: origin, last input point, paper corners,
// margin-frame corners. 1 with out set, else 0.
int FindFrameCornerIn(const FrameCornerInputs& inputs, const SearchBox& box, SearchPointRecord* out);
FrameCornerInputs GatherFrameCornerInputs(void* database);
int FindFrameCorner(void* database, const SearchBox& box, SearchPointRecord* out);

// The five searches on the active view: nonzero when found (out holds the point). mark limits
// the candidates (null: all elements). Without an active view nothing is found.
int SearchPoint(const SearchPointRecord& point, SearchPointRecord* out, void* mark);
int SearchPoint2(const SearchPointRecord& point, SearchPointRecord* out, void* mark);
int SearchPoint2Ex(const SearchPointRecord& point, SearchPointRecord* out, void* mark);
int SearchPoint3(const SearchPointRecord& point, SearchPointRecord* out, void* mark);
int SearchPoint4(const SearchPointRecord& point, SearchPointRecord* out, void* mark);
// The end-point search of SearchPoint on a given drawing block with the aperture in drawing
// units and the temporary database (may be null): frame corners first.
int SearchEndPointIn(PDBINFO* block, double aperture, void* tempDb, const SearchPointRecord& point,
                     SearchPointRecord* out, void* mark);

// The last input point of the input waits, which the frame-corner snap offers.
void SetSearchLastInputPoint(const HostPoint& point);
void ClearSearchLastInputPoint();
