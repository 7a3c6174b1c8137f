// Rounding with a guard against binary fractions, number-to-text conversions for dialog
// fields and names, printf-style formatting of any length, and hexadecimal digit pairs.
#pragma once

#include <string>

// value rounded to the nearest multiple of step.
double RoundToMultiple(double value, double step);
// value rounded to the fine step, then to the coarse step; the sign kept (0 gives -0).
double RoundToStep(double value, double coarse, double fine);
// RoundToStep with the coarse step 10 to the power minus digits.
double RoundToDecimals(double value, double fine, int digits);

// "%.*f" with trailing zeros and a trailing point cut; a minus zero loses its minus.
std::string FormatReal(double value, int precision);
std::string FormatRealText(double value);

// A fraction num/den close to x (below 1): 1 when found, else 0. The depth grows by one per
// level of the search; a level deeper than 10 stops at 1/b.
int FindFraction(long* numerator, long* denominator, int depth, double x);
// The text of a scale field: a decimal, "%ld/%ld", or empty when no close fraction exists.
std::string FormatFraction(double value);

// printf-style formatting into a string of any length.
std::string FormatStdString(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// The byte two hexadecimal digits spell ("0"-"9", "A"-"F", "a"-"f"; others are not checked).
int HexPairToByte(char high, char low);
