// The fonts the parameter panels draw their texts with, made once at start-up after the control
// kit's fonts, and the registration of the panels' window classes.
#pragma once

#include <windows.h>

// "ＭＳ ゴシック" 12 pixels (it also becomes the kit's third font) and its bold twin. 1 made, 0 not.
int CreatePanelFonts();
void DeletePanelFont();
HFONT PanelItemFont();
HFONT PanelItemBoldFont();

// Clears the panel table for the run and registers the panels' own window classes. 1, or 0 when
// a class could not be registered.
int RegisterPanelWindowClasses(HINSTANCE instance);
void UnregisterPanelWindowClasses(HINSTANCE instance);
