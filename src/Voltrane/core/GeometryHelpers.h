// Plane geometry on the program's point records.
#pragma once

// A point of the drawing: x, y, z in drawing units (the routines here use x and y).
struct Point3d {
    double x;
    double y;
    double z;
};

// The tolerance of IsPointOnSegment, in drawing units.
extern const double kPointOnSegmentTolerance;

// The distance in the plane (z is not used).
double PointDistance(Point3d a, Point3d b);

// 1 when p lies on the segment s-e within the tolerance, else 0.
int IsPointOnSegment(Point3d p, Point3d s, Point3d e);

// atan2(y, x), but 0 for (0, 0) and for a result that is not finite.
double SafeAtan2(double y, double x);
