// The input scale: coordinates and lengths a command reads or writes may be given at a scale
// other than the drawing's own. While the "#inputscaledisp#" window is open for a drawing (and
// the feature is enabled) points and element records of that drawing are converted between
// input units and drawing units by the ratio of the two scales. Plug-ins reach it through host
// message 2667.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "HostMessages.h"

constexpr int kInputScaleDrawingCombo = 1000;
constexpr int kInputScaleInputCombo = 1001;

// ---- pure rules ----
// The input scale a typed text gives: its value when finite and above 1e-21, else 1 ("1/0",
// "0", "" and "abc" all give 1).
double InputScaleFromText(const char* text);
// 1 when every character is one of "0123456789./" (the empty text too).
int IsPlainScaleText(const char* text);
// The scale list of the settings with the drawing scale's text put in its place (before the
// first larger-denominator entry, i.e. the first with a smaller value), entries equal to it
// left out, an empty text ending the list; *selected receives the drawing scale's index.
std::vector<std::string> MergeScaleList(const std::vector<std::string>& settingsList,
                                        double drawingScale, const std::string& drawingScaleText,
                                        int* selected);
// Scales one element record (types 1 to 7, 31, 32) by the factor in place; a factor of 1 or
// below 1e-21 in size leaves it unchanged.
void ScaleElementRecordBy(unsigned char* record, double factor);

// ---- the process state ----
double GetInputScale();
int IsInputScaleEnabled();
void SetInputScaleEnabled(int enabled);
int IsInputScaleRefused();
void SetInputScaleRefused(int refused);
// Feature enabled and window open.
int IsInputScaleActive();
// Binds the drawing and sets the input scale without a window; for the window and the tests.
void BindInputScale(HWND view, void* db, double inputScale);
void* GetInputScaleDb();

// Factors of a drawing: 1 unless the scale is active and db is the bound drawing.
double GetDbInputToDrawingFactor(void* db);
double GetDbDrawingToInputFactor(void* db);
double GetInputToDrawingFactor();  // of the active drawing
double GetDrawingToInputFactor();
double GetViewDrawingToInputFactor(HWND view);

// Points are three doubles; x and y are converted, z is not. Each returns 1.
int ScalePointInputToDrawing(double* point);
int ScalePointDrawingToInput(double* point);
int ScaleViewPointInputToDrawing(HWND view, double* point);
int ScaleViewPointDrawingToInput(HWND view, double* point);
int ScaleElementInputToDrawing(unsigned char* record);
int ScaleElementDrawingToInput(unsigned char* record);
int ScaleViewElementInputToDrawing(HWND view, unsigned char* record);
int ScaleViewElementDrawingToInput(HWND view, unsigned char* record);

// ---- the window ----
int RegisterInputScaleWindowClass(HINSTANCE instance, HWND mainFrame);
void DestroyInputScaleWindow();
// Opens the window for the active view's drawing (with the refuse flag: a warning only).
int ShowInputScaleWindow();
void CloseInputScaleWindow();
int ShowInputScaleWindowForView(HWND view);
int EnableInputScaleCombo(int enable);
HWND GetInputScaleWindow();

// Message 2667.
LRESULT HandleInputScaleMessage(WPARAM code, LPARAM lParam);
