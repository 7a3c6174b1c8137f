// The settings the parameter panels paint with, as the last apply of the settings left them:
// the text items' background, the flat buttons' face and check mark, and the button style.
#pragma once

#include <windows.h>

#include "core/ConfigData.h"

// The background of text items ("PBox_Text" too): the panel colour of the colour settings.
inline COLORREF PanelTextBackColor() { return GetConfigDataRuntime().panelBackColor; }
// The face of the flat buttons: the background of the plain kit button kind.
inline COLORREF PanelButtonBackColor() { return GetConfigDataRuntime().buttonBackColor[4]; }
// The mark bar of the flat check and radio buttons: the background of the kit's check mark kind.
inline COLORREF PanelCheckMarkColor() { return GetConfigDataRuntime().buttonBackColor[5]; }
// 1: the PBox buttons paint flat; any other value: with the kit's gradient faces.
inline int PboxButtonStyle() { return GetConfigDataRuntime().panelButtonType; }
