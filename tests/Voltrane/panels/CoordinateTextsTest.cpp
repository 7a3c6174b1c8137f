#include "GTest.h"

#include <string>

#include "panels/CoordinateTexts.h"

namespace {

TEST(CoordinateTextsTest, DigitsWidthRelativeModeAndHugeValues)
{
    const struct {
        double x, y;
        int degit;
        bool relative;
        double lastX, lastY;
        std::string tx, ty, td;
    } cases[] = {
        {12.5, -3, 3, false, 0, 0, "    12.500", "    -3.000", ""},
        {12.5, -3, 4, false, 0, 0, "     12.5000", "     -3.0000", ""},
        {12.5, -3, 11, false, 0, 0, "    12.500", "    -3.000", ""},   // out of range: 3
        {12.5, -3, -1, false, 0, 0, "    12.500", "    -3.000", ""},
        {1.25, 2, 0, false, 0, 0, "         1", "         2", ""},
        {7, 8, 3, true, 7, 8, "     0.000", "     0.000", "     0.000"},
        {4, 5, 3, true, 1, 1, "     3.000", "     4.000", "     5.000"},
        // Longer than the width: both right-aligned to the longer text.
        {123456789.5, -3, 3, false, 0, 0, "123456789.500", "       -3.000", ""},
        // Too long for the field: exponent form.
        {1e30, 1, 3, false, 0, 0, " 1.000e+30", "     1.000", ""},
    };
    for (const auto& c : cases) {
        const CoordinateTexts t = FormatCoordinateTexts(c.x, c.y, c.degit, c.relative, c.lastX, c.lastY);
        EXPECT_EQ(std::string(t.x), c.tx) << c.x << " " << c.degit;
        EXPECT_EQ(std::string(t.y), c.ty) << c.y << " " << c.degit;
        EXPECT_EQ(std::string(t.distance), c.td) << c.x << " " << c.degit;
    }
}

}  // namespace
