#include "core/SettingsTypes.h"

#include <cctype>
#include <cstdlib>

COLORREF ParseColorText(const std::string& text)
{
    if (text == "COLOR_3DFACE") return GetSysColor(COLOR_3DFACE);
    if (text.size() != 7 || text[0] != '#') return 0;
    for (size_t i = 1; i < 7; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return 0;
    }
    unsigned long rgb = std::strtoul(text.c_str() + 1, nullptr, 16);
    BYTE r = static_cast<BYTE>((rgb >> 16) & 0xFF);
    BYTE g = static_cast<BYTE>((rgb >> 8) & 0xFF);
    BYTE b = static_cast<BYTE>(rgb & 0xFF);
    return RGB(r, g, b);
}

ColorRefEx::ColorRefEx(const char* text) : Color(text ? text : "") { Recompute(); }

void ColorRefEx::Recompute() { value = ParseColorText(Color); }

ColorBtnAttrEx::ColorBtnAttrEx(const char* text, const char* bkgnd, const char* disabled)
    : Bkgnd(bkgnd), Text(text), Disabled(disabled)
{
    Recompute();
}

void ColorBtnAttrEx::Recompute()
{
    textColor = ParseColorText(Text);
    bkColor = ParseColorText(Bkgnd);
    disabledColor = ParseColorText(Disabled);
}
