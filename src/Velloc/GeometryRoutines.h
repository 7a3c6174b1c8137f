// The plug-in's geometry routines. The first group shares a tolerance area that VyCAL_INIT
// sets up; each routine answers 1, or 0 after recording its error (routine name, code and
// message) in the last-error record. The second group are guarded plane functions without
// shared state.
#pragma once

#include <string>

#include "GeoVector.h"

// ---- Routines with tolerances ----------------------------------------------------------------

struct GeometryError {
    char routine[10];   // the routine's name, cut to 9 characters
    int code;
    char message[62];   // cut to at most 61 bytes on a character boundary
};

// tolerances[0]: length tolerance, tolerances[1]: angle tolerance, each in 0 to 0.1.
int VyCAL_INIT(const double* tolerances);
void RecordGeometryError(const char* routine, int code, const char* message);
// The last recorded error; "初期化成功" / "初期化失敗" / empty: the initialisation marker.
const GeometryError& LastGeometryError();
const char* GeometryInitMarker();

// Start and end point of an arc (angles in radians, 0 to 2 pi within the angle tolerance).
int VyCAL2PAR(double cx, double cy, double cz, double radius, double start, double end,
              double* startPoint, double* endPoint);
// Rotates the point about the centre by the angle and scales it by the factor, in place.
int VyPointRotScl(double* point, double cx, double cy, double cz, double angle, double factor);
// Plane distance of two points into distance.
int VyCAL2DPP(double x1, double y1, double z1, double x2, double y2, double z2, double* distance);
// Moves the points of an engine element record (174 bytes).
int VyElemOffset(void* record, double dx, double dy);
// Rotates and scales an engine element record about the centre.
int VyElemRotScl(void* record, double cx, double cy, double cz, double angle, double factor);

// ---- Plane functions -------------------------------------------------------------------------

// The angle in [0, 2 pi).
double NormalizeAngle(double angle);
double SafeAtan2(double y, double x);
double Atan2Exact(double x, double y);
double DirectionAngle(const GeoVector& p1, const GeoVector& p2);
double Distance2D(const GeoVector& p1, const GeoVector& p2);
bool IsNotFinite(double value);
double EllipseParamAngle(double a, double b, double base, double angle);
// Major and minor radius and the major axis direction (cos, sin) of an ellipse record
// (centre at 33, 41, axis end point at 57, 65, ratio at 81).
void EllipseAxesFromRecord(const void* record, double* major, double* minor, GeoVector* direction);
// The point of the ellipse in the direction of v seen from its centre; (1e10, 1e10) when the
// record's values do not allow one.
GeoVector GetEllipsePointAt(const void* record, const GeoVector& direction);
