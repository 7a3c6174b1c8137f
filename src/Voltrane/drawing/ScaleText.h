// Drawing scales as people write them: 0.01 is "1/100", 0.0125 "1/80", 2.5 stays "2.5".
#pragma once

#include <cstddef>

// The fraction num/den of x (0 < x <= 1) by continued fractions; 1 when it lies within
// 0.0001 of x. nested is 0 for the outermost call.
int FindScaleFraction(double x, long* num, long* den, int nested);
// "num/den" for a scale below 1 that has a close fraction, else "%g". Scales that are not
// positive or not finite are written "%g" as they are.
void FormatScaleText(double x, char* text, size_t size);
