// Small value types of the settings records.
#pragma once

#include <windows.h>

#include <string>

// One colour: kept as text ("#RRGGBB" or "COLOR_3DFACE") in the settings file and as a
// COLORREF in memory, recomputed from the text after every load and save.
struct ColorRefEx {
    COLORREF value = 0;
    std::string Color;

    ColorRefEx() = default;
    explicit ColorRefEx(const char* text);
    void Recompute();
};

// Colours of one kind of coloured push button. Memory order: text, background, disabled.
struct ColorBtnAttrEx {
    COLORREF textColor = 0;
    COLORREF bkColor = 0;
    COLORREF disabledColor = 0;
    std::string Bkgnd;
    std::string Text;
    std::string Disabled;

    ColorBtnAttrEx() = default;
    ColorBtnAttrEx(const char* text, const char* bkgnd, const char* disabled);
    void Recompute();
};

// "#RRGGBB" → COLORREF (red in the low byte); "COLOR_3DFACE" → the system face colour;
// anything else → 0.
COLORREF ParseColorText(const std::string& text);
