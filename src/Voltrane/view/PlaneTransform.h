// Small plane geometry of the drawing view: the transform that moves, turns and scales one
// element record, and the crossings of a search ray with lines, circles and ellipses that let the
// keyboard cursor jump to the next element in a direction.
#pragma once

#include "core/GeometryHelpers.h"

// x' = s * (m00 (x - ox) + m01 (y - oy)) + tx, y' = s * (m10 (x - ox) + m11 (y - oy)) + ty.
// A turn by a uses (cos a, -sin a, sin a, cos a); a pure scale (1, 0, 0, 1) with origin and
// offset 0.
struct Transform2D {
    double s;
    double m00, m01, m10, m11;
    double ox, oy;
    double tx, ty;
};

// The length and angle tolerances the geometry compares with (those of the settings).
double GetLengthTolerance();
double GetAngleTolerance();
void SetLengthTolerance(double eps);
void SetAngleTolerance(double eps);

void TransformPoint2D(double* x, double* y, const Transform2D& t);
void RotateVector2D(double* x, double* y, double angle);
void ScaleLength(double* value, double factor);
// The turn of a transform: SafeAtan2(m10, m00).
double TransformAngle(const Transform2D& t);

// Moves, turns and scales the geometry of one element record (kElementRecordSize bytes) in place by its type (at offset
// 0): lines, points, circles, arcs, texts, ellipses and elliptic arcs; other types are kept.
void TransformElementRecord(unsigned char* record, const Transform2D& t);

// The direction of (dx, dy) in radians, snapped to the axes within the length tolerance; 0 for
// the zero vector and for a result that is not finite.
double AngleOfVector(double dy, double dx);

// 1 when the candidate lies strictly "UP", "DOWN", "LEFT" or "RIGHT" of the point (exact words).
int IsInDirection(const char* direction, Point3d from, Point3d candidate);

// The crossing of the line through a and b with the line through u and v; 0 for parallel lines.
int IntersectLines(Point3d* out, Point3d a, Point3d b, Point3d u, Point3d v);
// The crossings of the segment a-b with the whole circle: 0, 1 (in p) or 2 (p and q).
int IntersectSegmentCircle(Point3d* p, Point3d* q, Point3d a, Point3d b, Point3d centre, double radius);
// The crossings of the segment a-b with the whole ellipse of centre, major-axis end point and
// minor/major ratio: 0, 1 (in p) or 2 (p and q); 0 for a degenerate ellipse.
int IntersectSegmentEllipse(Point3d* p, Point3d* q, Point3d a, Point3d b, Point3d centre,
                            Point3d axisPoint, double ratio);
