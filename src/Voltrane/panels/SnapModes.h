// The snap-mode word (the setting LMsFg) and the buttons that show it: the tool panel's and the
// right-click popup's.
#pragma once

#include <windows.h>

// The buttons that show a snap bit, with their bit.
struct SnapButton {
    int id;
    int bit;
};
extern const SnapButton kSnapButtons[9];

// The bit a snap button stands for, or 0 for another id.
int SnapBitOfButton(int id);
// A click on the button of bit b: the last active mode cannot be switched off; a word that
// becomes 0 takes every mode (255).
int ToggleSnapWord(int word, int bit);
// Bit 0x01 (end points and intersections together) stands for 0x20 and 0x40.
int NormalizeSnapWord(int word);
// Sets the checked state of every snap button that exists under parent from the word, and
// repaints the ones that changed.
void ShowSnapWordOnButtons(HWND parent, int word);

// Toggles the bit of a snap button in LMsFg (and in the tool panel's copy), then shows it.
void ToggleSnapButton(int id);
// Applies LMsFg to every snap button of the program: the lock of 任意点検出 and bit 0x01 first.
void SyncSnapButtons();
