#include "controls/KitFaces.h"

HFONT KitFont1 = nullptr;
HFONT KitFont2 = nullptr;
HFONT KitFont3 = nullptr;

HFONT CreateKitFaceFont(int height, int weight)
{
    return CreateFontA(height, 0, 0, 0, weight, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
}

int KitFontHeight(int index, int lowResolution)
{
    if (lowResolution != 0) return 12;
    switch (index) {
    case 1: return 16;
    case 2: return 14;
    default: return 12;
    }
}

void CreateKitFonts(int lowResolution)
{
    KitFont3 = CreateKitFaceFont(KitFontHeight(3, lowResolution));
    KitFont2 = CreateKitFaceFont(KitFontHeight(2, lowResolution));
    KitFont1 = CreateKitFaceFont(KitFontHeight(1, lowResolution));
}

void FillVerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom)
{
    TRIVERTEX v[2] = {};
    v[0].x = rect.left;
    v[0].y = rect.top;
    v[0].Red = static_cast<COLOR16>(GetRValue(top) << 8);
    v[0].Green = static_cast<COLOR16>(GetGValue(top) << 8);
    v[0].Blue = static_cast<COLOR16>(GetBValue(top) << 8);
    v[1].x = rect.right;
    v[1].y = rect.bottom;
    v[1].Red = static_cast<COLOR16>(GetRValue(bottom) << 8);
    v[1].Green = static_cast<COLOR16>(GetGValue(bottom) << 8);
    v[1].Blue = static_cast<COLOR16>(GetBValue(bottom) << 8);
    GRADIENT_RECT r = {0, 1};
    GradientFill(dc, v, 2, &r, 1, GRADIENT_FILL_RECT_V);
}

namespace {

void FramedRoundRect(HDC dc, const RECT& r, COLORREF colour)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, 6, 6);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

}  // namespace

void DrawPanelButtonFace(HDC dc, const RECT& rect, COLORREF colour1, COLORREF colour2, COLORREF colour3,
                      COLORREF colour4, COLORREF outerFrame, COLORREF innerFrame)
{
    RECT inner = {rect.left + 2, rect.top + 2, rect.right - 2, rect.bottom - 2};
    if (colour1 == colour2 && colour2 == colour3 && colour3 == colour4) {
        HBRUSH brush = CreateSolidBrush(colour1);
        FillRect(dc, &inner, brush);
        DeleteObject(brush);
    } else {
        int g = static_cast<int>((inner.bottom - inner.top) * 0.5);
        RECT upper = {inner.left, inner.top, inner.right, inner.top + g};
        RECT lower = {inner.left, inner.top + g, inner.right, inner.bottom};
        FillVerticalGradient(dc, upper, colour1, colour2);
        FillVerticalGradient(dc, lower, colour3, colour4);
    }
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    FramedRoundRect(dc, rect, outerFrame);
    RECT less = {rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
    FramedRoundRect(dc, less, innerFrame);
    SelectObject(dc, oldBrush);
}

void DrawKitButtonFace(HDC dc, const RECT& rect)
{
    DrawPanelButtonFace(dc, rect, 0xFFFFFF, 0xF5F1E9, 0xFFDCC8, 0xCFB8A6, GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
}

void DrawKitButtonFacePressed(HDC dc, const RECT& rect)
{
    DrawPanelButtonFace(dc, rect, 0x00DEFF, 0x00DEFF, 0x00DEFF, 0x00DEFF, GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
}

void DrawKitButtonFaceSelected(HDC dc, const RECT& rect)
{
    DrawPanelButtonFace(dc, rect, 0x00A8FF, 0x00A8FF, 0x00A8FF, 0x00A8FF, GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
}

void TrackPickerHover(HWND window, LPARAM mouseMoveLParam)
{
    LONG state = GetWindowLongA(window, 0);
    POINT pt = {static_cast<short>(LOWORD(mouseMoveLParam)), static_cast<short>(HIWORD(mouseMoveLParam))};
    ClientToScreen(window, &pt);
    HWND under = WindowFromPoint(pt);
    HWND parent = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_HWNDPARENT));
    WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(window));
    if (under == window) {
        if (state == 2) {
            SetWindowLongA(window, 0, 1);
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
        } else if (state == 0 && GetCapture() != window) {
            SetCapture(window);
            SendMessageA(parent, WM_KIT_HOVER, id, 0);
        }
    } else {
        if (state == 1) {
            SetWindowLongA(window, 0, 2);
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
        } else if (state == 0 && GetCapture() == window) {
            ReleaseCapture();
            SendMessageA(parent, WM_KIT_HOVER, id, 0 + 1);
        }
    }
}
