// What the control kit's classes share: the kit fonts, the gradient button faces and the
// hover tracking that every picker field and attribute combo runs on each mouse move.
#pragma once

#include <windows.h>

// The hover notification sent to a kit window's parent: wParam the control id, lParam 0 when
// the pointer entered, 1 when it left.
constexpr UINT WM_KIT_HOVER = WM_USER + 39;

// The three kit fonts; slot 3 is shared with the panel font, which replaces it later at start.
extern HFONT KitFont1;
extern HFONT KitFont2;
extern HFONT KitFont3;
// Creates the three kit fonts (12 pixels each on a low-resolution panel).
void CreateKitFonts(int lowResolution);
// The height each kit font gets (index 1 to 3).
int KitFontHeight(int index, int lowResolution);

// One "ＭＳ ゴシック" Shift-JIS font of a height and weight; the caller deletes it.
HFONT CreateKitFaceFont(int height, int weight = FW_DONTCARE);

void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
void DrawPanelButtonFace(HDC dc, const RECT& rect, COLORREF colour1, COLORREF colour2, COLORREF colour3,
                      COLORREF colour4, COLORREF outerFrame, COLORREF innerFrame);
void DrawKitButtonFace(HDC dc, const RECT& rect);
void DrawKitButtonFacePressed(HDC dc, const RECT& rect);
void DrawKitButtonFaceSelected(HDC dc, const RECT& rect);

// The hover steps on the window's press word (extra word 0): 0 idle, 1 pressed, 2 pressed
// with the pointer outside.
void TrackPickerHover(HWND window, LPARAM mouseMoveLParam);
