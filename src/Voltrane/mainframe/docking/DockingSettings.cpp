#include "mainframe/docking/DockingSettings.h"

#include <cstring>

#include "core/CadSystem.h"

namespace dockwins {

DockingSettings& GetDockingSettings()
{
    static DockingSettings settings;
    return settings;
}

COLORREF LightenedBarColor(COLORREF face)
{
    int channels[3] = {GetRValue(face), GetGValue(face), GetBValue(face)};
    int largest = 0;
    for (int c : channels) largest = c > largest ? c : largest;
    for (int& c : channels) {
        if (largest == 0) {
            c += 35;
        } else {
            int added = largest > 220 ? 255 - largest : 35;
            c = static_cast<int>(c + static_cast<double>(c) * added / largest + 0.5);
        }
        if (c > 255) c = 255;
    }
    return RGB(channels[0], channels[1], channels[2]);
}

COLORREF LabelTextColor(COLORREF text, COLORREF gray)
{
    auto mix = [](int t, int g) { return t + 2 * ((g - t) / 3); };
    return RGB(mix(GetRValue(text), GetRValue(gray)), mix(GetGValue(text), GetGValue(gray)),
               mix(GetBValue(text), GetBValue(gray)));
}

DWORD DragFlagsFor(DWORD current, int fullDragMode, bool systemFull)
{
    if (current & kDragKeep) return current;
    current &= ~static_cast<DWORD>(kDragGhost | kDragFull);
    bool full = fullDragMode == -1 ? systemFull : fullDragMode != 0;
    return current | (full ? kDragFull : kDragGhost);
}

void RefreshDockingSettings()
{
    DockingSettings& s = GetDockingSettings();
    BOOL systemFull = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &systemFull, 0);
    s.dragFlags = DragFlagsFor(s.dragFlags, GetCadSystem().config.menu.FullDragMode, systemFull != FALSE);

    HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (stock != s.guiFont) {
        s.guiFont = stock;
        LOGFONTA font = {};
        GetObjectA(stock, sizeof font, &font);
        font.lfEscapement = font.lfOrientation = 2700;
        font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
        lstrcpynA(font.lfFaceName, "@MS UI Gothic", LF_FACESIZE);
        HFONT rotated = CreateFontIndirectA(&font);
        if (rotated != nullptr) {
            if (s.rotatedFont != nullptr) DeleteObject(s.rotatedFont);
            s.rotatedFont = rotated;
        }
    }
    s.cursorNS = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZENS));
    s.cursorWE = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_SIZEWE));
    s.barColor = LightenedBarColor(GetSysColor(COLOR_BTNFACE));
    s.labelTextColor = LabelTextColor(GetSysColor(COLOR_BTNTEXT), GetSysColor(COLOR_GRAYTEXT));
}

}  // namespace dockwins
