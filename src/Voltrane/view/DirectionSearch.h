// The keyboard cursor's jump to the nearest element crossing in one of four directions: a ray
// from the cursor as long as the paper, the elements in a thin box along it, and the nearest
// crossing strictly in the direction.
#pragma once

#include <vector>

#include "core/GeometryHelpers.h"

// The crossings of the ray from to end with one element record (lines on their segment,
// circles and arcs as whole circles, ellipses and elliptic arcs as whole ellipses); other
// types give none. The record is kElementRecordSize bytes.
void AddElementCrossings(const unsigned char* record, Point3d from, Point3d end, std::vector<Point3d>* out);

// The candidate nearest to from that lies strictly in the direction; on equal distances the
// first stays. 1 with *out set, 0 (out unchanged) when none qualifies.
int ChooseNearestInDirection(const char* direction, Point3d from, const std::vector<Point3d>& candidates,
                             Point3d* out);

// The nearest element crossing from the cursor of the active view in the direction ("UP",
// "DOWN", "LEFT", "RIGHT"); (x, y) is the cursor point when nothing is found. 1 when found.
int FindPointInDirection(const char* direction, double* x, double* y);
