// Where a line-end mark sits, which way it points and its shape, on plain numbers. The writer
// turns the parts into PDF paths (CadPdfOut::DrawLineEnd).
//
// All lengths here are drawing units: the mark sizes of the settings (paper millimetres) are
// divided by the drawing scale before the shape is made, so a mark keeps its paper size at any
// scale.
#pragma once

#include <array>
#include <vector>

#include "CadPdf/PdfOutSettings.h"

// One row of the mark shape table: enabled, arrow angle (radians), size a, distance b.
struct LineEndShape {
    int enabled = 0;
    double angle = 0;
    double a = 0;
    double b = 0;
};

using LineEndShapeTable = std::array<LineEndShape, kLineTermTypeCount>;

// The built-in rows, replaced position by position by the loaded settings; then every a and b
// multiplied by `factor` (size factor / drawing scale).
LineEndShapeTable BuildLineEndShapeTable(const std::vector<LineTermSetting>& settings, double factor);

// The point where the ray from the centre in direction `angle` meets the ellipse with the first
// semi-axis from the centre to (ax, ay) and the second = first x ratio. 0 (point (0, 0)) when
// the first semi-axis is not longer than 1e-15, else 1.
int EllipsePointAtAngle(double cx, double cy, double ax, double ay, double ratio, double angle, double* x,
                        double* y);

// An angle brought into (-pi, pi]; non-finite angles give 0.
double WrapAnglePlusMinusPi(double angle);

struct MarkPoint {
    double x;
    double y;
};

// One drawn part of a mark.
struct LineEndMarkPart {
    enum Kind { Polyline, Circle, Line, Arc } kind = Polyline;
    std::vector<MarkPoint> points;  // Polyline: the points; Line: the two ends
    MarkPoint centre{0, 0};         // Circle, Arc
    double radius = 0;              // Circle, Arc
    double startAngle = 0;          // Arc: radians in [0, 2pi), counter-clockwise
    double endAngle = 0;
    bool filled = false;            // closed marks drawn filled (black triangle, dot, square)
};

// 1 for the half-arrow and upper-line side flag of an end (0 start, 1 end) with outward
// direction phi in (-pi, pi].
int LineEndSideFlag(double phi, int end);

// The parts of mark `kind` (1..13) at end point p with outward direction phi (radians in
// (-pi, pi]); nothing for other kinds or a disabled row.
std::vector<LineEndMarkPart> MakeLineEndMark(int kind, const LineEndShapeTable& table, MarkPoint p, double phi,
                                             int end);

// End point and outward direction of a line's end (0 start, 1 end).
void LineEndOfSegment(double x1, double y1, double x2, double y2, int end, MarkPoint* p, double* phi);

// Outward direction at an end of an arc whose end point is on the circle at `angle`; a
// clockwise arc turns the other way, so its outward directions are mirrored.
double ArcEndDirection(double angle, int end, bool clockwise);

// End point and outward direction of an elliptic arc's end; false when the axis is degenerate.
bool LineEndOfEllipticArc(double cx, double cy, double ax, double ay, double ratio, double startAngle,
                          double endAngle, bool clockwise, int end, MarkPoint* p, double* phi);
