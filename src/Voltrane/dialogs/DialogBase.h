// The program's dialog base: the dialog colour of the settings, button 1000 as the second
// colour button, and WM_DRAWITEM left to the default processing after the buttons are drawn.
#pragma once

#include <windows.h>

#include "WinKit/DialogBase.h"
#include "core/CadSystem.h"

struct VoltraneDialogLook {
    static COLORREF BackColor() { return GetDialogBackColor(); }
    static constexpr int kSecondButton = 1000;
    static void DrawOkButton(const DRAWITEMSTRUCT* item) { DrawColorButton(item); }
    static void DrawSecondButton(const DRAWITEMSTRUCT* item) { DrawColorButtonOfKind(item, 0); }
    static constexpr bool kDrawItemHandled = false;
};

template <class T>
using CDialogBase = WinKit::CDialogBaseT<T, VoltraneDialogLook>;
