// The PBox controls: plain window classes that plug-ins create in windows of their own to show
// items of the parameter panel table. A control finds its item through its window words (word 1
// the panel, word 2 the slot, both taken from the build in progress when it is created), reads
// it on every paint and click, reports through the input event record and notifies its parent.
#pragma once

#include <windows.h>

#include "panels/ParameterPanelModel.h"

// What a PBox control sends its parent after it was used.
constexpr UINT kPboxControlNotify = 1074;

// Window word 0 of the buttons: released, pressed, pressed with the pointer outside.
constexpr int kPboxReleased = 0;
constexpr int kPboxPressed = 1;
constexpr int kPboxPressedOutside = 2;

// Registers the nine PBox classes; the button classes paint flat or with the kit's faces as the
// button style says. 1, or 0 at the first class that could not be registered (the rest are
// then left unregistered).
int RegisterPboxControlClasses(HINSTANCE instance);
void UnregisterPboxControlClasses(HINSTANCE instance);

// The item a control shows (its words 1 and 2), null when they name no slot of the table.
PboxItem* PboxControlItem(HWND control, int* panel = nullptr, int* slot = nullptr);

// The window procedures of the button classes, by style (1 flat, any other the kit's faces).
LRESULT CALLBACK PboxPushProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PboxCheckProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PboxRadioProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PboxTextProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PboxListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PboxEditProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PboxComboProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK WexlEditProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
