#include "drawing/ScaleText.h"

#include <cmath>
#include <cstdio>

namespace {

int g_fractionSteps = 0;

}  // namespace

int FindScaleFraction(double x, long* num, long* den, int nested)
{
    if (nested == 0) g_fractionSteps = 0;
    else ++g_fractionSteps;
    if (!std::isfinite(x) || x <= 0 || x > 1) return 0;
    if (x == 1) {
        *num = *den = 1;
        return 1;
    }
    const double q = 1 / x;
    if (!(q < 2e9)) return 0;
    const long n = static_cast<long>(std::trunc(q + 0.5));
    const int sign = n <= q ? 1 : -1;
    const double r = std::fabs(q - n);
    double residual;
    if (r < 0.001 || g_fractionSteps > 10) {
        *num = 1;
        *den = n;
        residual = x - 1.0 / n;
    } else {
        long num2 = 0, den2 = 0;
        if (!FindScaleFraction(r, &num2, &den2, 1)) return 0;
        *num = den2;
        *den = n * den2 + sign * num2;
        if (*den == 0) return 0;
        residual = x - static_cast<double>(*num) / *den;
    }
    return std::fabs(residual) <= 0.0001 ? 1 : 0;
}

void FormatScaleText(double x, char* text, size_t size)
{
    long num = 0, den = 0;
    if (std::isfinite(x) && x > 0 && x < 1 && FindScaleFraction(x, &num, &den, 0) && den != 0 &&
        std::fabs(static_cast<double>(num) / den - x) < 0.001) {
        std::snprintf(text, size, "%ld/%ld", num, den);
        return;
    }
    std::snprintf(text, size, "%g", x);
}
