#include "dialogs/CalculatorPaint.h"

#include <cstring>
#include <initializer_list>

#include "controls/KitFaces.h"
#include "core/Dbcs.h"

void PaintCalculatorKey(HDC dc, const CDentakuButton& key, bool pressed)
{
    const RECT& r = key.rect;
    if (pressed) DrawKitButtonFacePressed(dc, r);
    else DrawKitButtonFace(dc, r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int fontHeight = height >= 27 ? 14 : height >= 14 ? 12 : height - 2;
    HFONT font = CreateKitFaceFont(fontHeight);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int average = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    int length = static_cast<int>(std::strlen(key.label));
    if (length > width / average) length = static_cast<int>(DbcsFitLength(key.label, length, width / average));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, r.left + (width - length * average) / 2 + 2, r.bottom - (height + metrics.tmHeight) / 2, key.label,
             length);
    SelectObject(dc, old);
    DeleteObject(font);
}

void PaintCalculator(HWND window, HDC dc, int pressedIndex)
{
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const CDentakuButton* keys = CalculatorKeys();
    for (int i = 0; i < kCalcKeyCount; ++i) PaintCalculatorKey(dc, keys[i], i == pressedIndex);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    Rectangle(dc, 1, 1, 161, 35);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

HWND CreateCalculatorDisplay(HWND window, HFONT* font)
{
    HWND display = CreateWindowExA(0, "STATIC", "0", WS_CHILD | WS_VISIBLE | SS_RIGHT, 3, 7, 156, 26, window,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCalcDisplayId)),
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE)), nullptr);
    *font = CreateFontA(23, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "ＭＳ ゴシック");
    if (display != nullptr && *font != nullptr) SendMessageA(display, WM_SETFONT, reinterpret_cast<WPARAM>(*font), 0);
    return display;
}

int KeyDownCommand(WPARAM key)
{
    if (key >= '0' && key <= '9') return kCalcKey0 + static_cast<int>(key - '0');
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return kCalcKey0 + static_cast<int>(key - VK_NUMPAD0);
    if (key == 'C') return kCalcKeyClear;
    return 0;
}

int CharCommand(WPARAM ch)
{
    switch (ch) {
    case '*': return kCalcKeyMultiply;
    case '+': return kCalcKeyAdd;
    case '-': return kCalcKeySubtract;
    case '.': return kCalcKeyPoint;
    case '/': return kCalcKeyDivide;
    case '=': return kCalcKeyEquals;
    default: return 0;
    }
}


void PaintCalculatorKeyNow(HWND window, int index, bool pressed)
{
    if (index < 0 || index >= kCalcKeyCount) return;
    HDC dc = GetDC(window);
    PaintCalculatorKey(dc, CalculatorKeys()[index], pressed);
    ReleaseDC(window, dc);
}

void ReleaseCalculatorBlock(HWND window)
{
    for (int i = 0; i < 16; ++i) PaintCalculatorKeyNow(window, i, false);
}

namespace {

void PaintKeyOfId(HWND window, int id, bool pressed) { PaintCalculatorKeyNow(window, CalculatorKeyIndexOf(id), pressed); }

void PostKey(HWND window, int id) { PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(id), 0); }

POINT PointOf(LPARAM lParam) { return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

}  // namespace

bool HandleCalculatorInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam, CalculatorState& state,
                           LRESULT* result)
{
    *result = 0;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        PaintCalculator(window, dc, state.pressedButton);
        EndPaint(window, &ps);
        return true;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        return true;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            PaintKeyOfId(window, kCalcKeyOk, true);
        } else if (wParam == VK_ESCAPE) {
            PaintKeyOfId(window, kCalcKeyCancel, true);
            PostKey(window, kCalcKeyCancel);
        } else if (int id = KeyDownCommand(wParam)) {
            PaintKeyOfId(window, id, true);
            PostKey(window, id);
        }
        return true;
    case WM_KEYUP:
        if (wParam == VK_RETURN) {
            PaintKeyOfId(window, kCalcKeyOk, false);
            PostKey(window, kCalcKeyOk);
        } else if (wParam == VK_ESCAPE) {
            PaintKeyOfId(window, kCalcKeyCancel, false);
        } else if (int id = KeyDownCommand(wParam)) {
            PaintKeyOfId(window, id, false);
        } else if (state.operatorKeyDown == 1) {
            for (int op : {kCalcKeyPoint, kCalcKeyEquals, kCalcKeyDivide, kCalcKeyMultiply, kCalcKeySubtract,
                           kCalcKeyAdd})
                PaintKeyOfId(window, op, false);
            state.operatorKeyDown = 0;
        }
        return true;
    case WM_CHAR:
        if (int id = CharCommand(wParam)) {
            if (state.operatorKeyDown != 1) {
                PaintKeyOfId(window, id, true);
                PostKey(window, id);
                state.operatorKeyDown = 1;
            }
        }
        return true;
    case WM_LBUTTONDOWN: {
        const int index = CalculatorKeyAt(PointOf(lParam));
        if (index >= 0) {
            SetCapture(window);
            PaintCalculatorKeyNow(window, index, true);
            state.pressedButton = index;
        }
        return true;
    }
    case WM_LBUTTONUP:
        if (state.pressedButton >= 0) {
            const int index = state.pressedButton;
            state.pressedButton = -1;
            ReleaseCapture();
            PaintCalculatorKeyNow(window, index, false);
            if (CalculatorKeyAt(PointOf(lParam)) == index) PostKey(window, CalculatorKeys()[index].id);
        }
        return true;
    default:
        return false;
    }
}
