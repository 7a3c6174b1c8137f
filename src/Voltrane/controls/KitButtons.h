// The kit's owner-painted push buttons "PPush", "NPush", "NPush2", "NPush3", "NPushCmdMenu"
// and the auto-repeating scroll and zoom button "SCBTN", with their class registration.
#pragma once

#include <windows.h>
#include <commctrl.h>

// Window words of every kit button.
constexpr int kKitPressWord = 0;    // 0 released, 1 pressed over the button, 2 pressed outside
constexpr int kKitCheckedWord = 4;  // non-zero draws the button pressed (set by the host)
constexpr int kKitCornerWord = 8;   // "NPush3": 1 cyan, 2 blue corner mark while pressed

// The painter sets of the buttons.
enum class KitPainter { Gradient, Flat, TopTab, LeftTab, Plain, Image };

// The caption font height a painter uses on a button h pixels high.
int KitCaptionFontHeight(KitPainter painter, int h);

// The image list "NPushCmdMenu" draws its face from; none is loaded by the program itself.
extern HIMAGELIST CmdMenuButtonImages;

// Creates the kit fonts and registers the six button classes with the painter set of the
// button style (1 flat, other values gradient). 1 when all six were registered; 0 at the first
// failing class, leaving the classes after it unregistered.
int RegisterKitButtonClasses(HINSTANCE instance);
void UnregisterKitButtonClasses(HINSTANCE instance);

// The window procedure of a kit button class by name (for tests); null for another name.
WNDPROC KitButtonProcedure(const char* className, int buttonStyle);

// The interval of "SCBTN"'s repeat timer and its id.
constexpr UINT kScrollRepeatMs = 150;
constexpr UINT_PTR kScrollRepeatTimerId = 30;
