// Length and angle tolerances the library gives to plug-ins for their geometry.
#include "Dravik.h"

namespace {
// The program's defaults (five decimal digits of length, three of angle).
const double kLengthTolerance = 0.000001;
const double kAngleTolerance = 0.0001;
}  // namespace

DRAVIK_API int WINAPI VyGetEPS(double* out)
{
    if (out == nullptr) return 0;
    *out = kLengthTolerance;
    return 1;
}

DRAVIK_API int WINAPI VyGetEPSANGLE(double* out)
{
    if (out == nullptr) return 0;
    *out = kAngleTolerance;
    return 1;
}
