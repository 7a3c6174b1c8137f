#include "core/ConfigData.h"

ConfigDataColor::ConfigDataColor()
{
    // Entries 9 to 19 stay empty (colour values 0).
    static const char* const kDefaults[9][3] = {
        // Text, Bkgnd, Disabled
        {"#FFFFFF", "#6464FF", "#808080"},
        {"#FFFFFF", "#F46358", "#808080"},
        {"#000000", "#FFFF00", "#808080"},
        {"#000000", "COLOR_3DFACE", "#808080"},
        {"#000000", "COLOR_3DFACE", "#000000"},
        {"#000000", "#FF0000", "#000000"},
        {"#000000", "#F2F7B7", "#000000"},
        {"#000000", "#FFD877", "#000000"},
        {"#000000", "#F2F7B7", "#000000"},
    };
    for (int i = 0; i < 9; ++i)
        COLOR_BTN_ATTR[i] = ColorBtnAttrEx(kDefaults[i][0], kDefaults[i][1], kDefaults[i][2]);
}
