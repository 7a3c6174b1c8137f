#include "commands/VisibleAgainstBackground.h"

#include "core/CadSystem.h"
#include "core/ConfigData.h"

COLORREF VisibleAgainstBackgroundIn(COLORREF colour, COLORREF background, int mode)
{
    colour &= 0xFFFFFF;
    if (colour != (background & 0xFFFFFF) || mode == 0) return colour;
    if (mode == 2) return ~colour & 0xFFFFFF;
    auto move = [](int channel) { return channel > 230 ? channel - 16 : channel + 16; };
    return RGB(move(GetRValue(colour)), move(GetGValue(colour)), move(GetBValue(colour)));
}

COLORREF VisibleAgainstBackground(COLORREF colour)
{
    return VisibleAgainstBackgroundIn(colour, GetDrawingBackColor(), GetCadSystem().setup.bColorMode);
}
