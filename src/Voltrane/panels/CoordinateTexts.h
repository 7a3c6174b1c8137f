// The tool panel's cursor coordinate texts.
#pragma once

#include <cstddef>

constexpr size_t kCoordinateTextBytes = 48;
// Longer texts than this do not fit the field and are shown in exponent form.
constexpr size_t kCoordinateFieldChars = 24;

struct CoordinateTexts {
    char x[kCoordinateTextBytes] = {};
    char y[kCoordinateTextBytes] = {};
    char distance[kCoordinateTextBytes] = {};  // empty outside relative mode
};

// The decimal digits of the display: DEGIT when it lies in 0 to 10, else 3.
int CoordinateDigits(int degit);

// X and Y right-aligned in 10 characters (12 with more than 3 digits), both widened to the
// longer one when either is longer; in relative mode the offsets from the last input point and
// their distance.
CoordinateTexts FormatCoordinateTexts(double x, double y, int degit, bool relative, double lastX, double lastY);
