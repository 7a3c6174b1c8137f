#include "panels/CoordinateTexts.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void FormatValue(char* out, double value, int width, int digits)
{
    std::snprintf(out, kCoordinateTextBytes, "%*.*f", width, digits, value);
    if (std::strlen(out) > kCoordinateFieldChars) std::snprintf(out, kCoordinateTextBytes, "%*.*e", width, digits, value);
}

void RightAlign(char* text, size_t width)
{
    char copy[kCoordinateTextBytes];
    std::snprintf(copy, sizeof copy, "%s", text);
    std::snprintf(text, kCoordinateTextBytes, "%*s", static_cast<int>(width), copy);
}

}  // namespace

int CoordinateDigits(int degit) { return degit >= 0 && degit <= 10 ? degit : 3; }

CoordinateTexts FormatCoordinateTexts(double x, double y, int degit, bool relative, double lastX, double lastY)
{
    CoordinateTexts texts;
    const int digits = CoordinateDigits(degit);
    const int width = digits > 3 ? 12 : 10;
    if (relative) {
        x -= lastX;
        y -= lastY;
        FormatValue(texts.distance, std::sqrt(x * x + y * y), width, digits);
    }
    FormatValue(texts.x, x, width, digits);
    FormatValue(texts.y, y, width, digits);
    const size_t lx = std::strlen(texts.x), ly = std::strlen(texts.y);
    if (lx > static_cast<size_t>(width) || ly > static_cast<size_t>(width)) {
        const size_t longer = lx > ly ? lx : ly;
        RightAlign(texts.x, longer);
        RightAlign(texts.y, longer);
    }
    return texts;
}
