// Copying, moving, rotating, scaling and mirroring marked elements: a plug-in sets the
// placement transform and hands over a mark; every marked element is copied or changed with the
// transform applied by the geometry rules of its type, groups and composites carried along, and
// a mark of the results is handed back (the caller destroys it).
#pragma once

#include <windows.h>

#include "EngineRecords.h"
#include "HostRecords.h"

// Switch 1 copies all 88 bytes; any other the first 72, with sx and sy set to s. Returns 1.
int SetPlacementTransform(int fullRecord, const PlacementTransformRecord* record);
const PlacementTransformRecord& CurrentPlacement();
bool IsIdentityPlacement(const PlacementTransformRecord& t);

// Places one record by the rules of its type (images and rasters only when withImages).
void PlaceRecord(ElementRecord& record, const PlacementTransformRecord& t, bool withImages, bool pointScale);
void PlaceMemberRecord(ElementRecord& record, double angle, double scaleX, double scaleY, double dx, double dy,
                       double ox, double oy);
// flags bit 0: the transform is not the identity; bit 1: an override applies or the copy goes
// into another drawing.
void ClearElementExtraData(void* element, int flags);

void* AppendMarkPlaced(void* mark, int layer);
void* ChangeMarkPlaced(int mode, void* mark, int layer);
void* AppendElementsToPage(int mode, void* mark, int layer, int page, int value);
void* ChangeElementsOnPage(int mode, void* mark, int layer, int page, int value);
int TransformMarkedElements(void* database, void* mark, int layer);
// The mark at P+48 of the view's database becomes the members of a new composite of the type.
void* MakeCompositeFromMark(CmdParamRecord* param, int type, int flags);
