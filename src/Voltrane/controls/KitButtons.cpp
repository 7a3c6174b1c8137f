#include "controls/KitButtons.h"

#include "controls/KitFaces.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/Dbcs.h"
#include "Dravik.h"
#include "mainframe/FrameServices.h"

#include <commctrl.h>

#include <cstring>
#include <utility>

HIMAGELIST CmdMenuButtonImages = nullptr;

namespace {

// The single repeat timer of all "SCBTN" windows.
UINT_PTR g_scrollRepeatTimer = 0;

COLORREF ButtonBack(int entry) { return GetConfigDataRuntime().buttonBackColor[entry]; }

int CaptionOf(HWND window, char (&caption)[255])
{
    caption[0] = '\0';
    GetWindowTextA(window, caption, sizeof caption);
    return static_cast<int>(strlen(caption));
}

void Line(HDC dc, COLORREF colour, const POINT* points, int count)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    Polyline(dc, points, count);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// The one-pixel frame of the flat painters, its top-left edge starting at (x0, y0).
void FlatFrame(HDC dc, int x0, int y0, int w, int h, bool pressed)
{
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    if (pressed) std::swap(light, dark);
    POINT topLeft[] = {{x0, h - 1}, {x0, y0}, {w - 1, y0}};
    POINT bottomRight[] = {{x0, h - 1}, {w - 1, h - 1}, {w - 1, y0}};
    Line(dc, light, topLeft, 3);
    Line(dc, dark, bottomRight, 3);
}

void FillColour(HDC dc, const RECT& r, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

void Triangle(HDC dc, COLORREF colour, POINT a, POINT b, POINT c)
{
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    POINT p[] = {a, b, c};
    Polygon(dc, p, 3);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void PaintButton(HWND window, HDC dc, KitPainter painter)
{
    RECT rc;
    GetClientRect(window, &rc);
    const int w = rc.right, h = rc.bottom;
    const bool pressed = GetWindowLongA(window, kKitPressWord) != 0 || GetWindowLongA(window, kKitCheckedWord) != 0;
    const bool enabled = IsWindowEnabled(window) != FALSE;
    COLORREF textColour = enabled ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT);
    const COLORREF flatBack = pressed ? GetColorButtonBkColor(1) : ButtonBack(4);
    switch (painter) {
    case KitPainter::Gradient:
        if (pressed) DrawKitButtonFacePressed(dc, rc);
        else DrawKitButtonFace(dc, rc);
        textColour = 0x323232;
        break;
    case KitPainter::Flat: {
        FillColour(dc, rc, flatBack);
        FlatFrame(dc, 0, 0, w, h, pressed);
        break;
    }
    case KitPainter::TopTab: {
        RECT face = {0, 3, w, h};
        FillColour(dc, face, flatBack);
        for (int y = 0; y < 3; ++y) {
            POINT row[] = {{0, y}, {w, y}};
            Line(dc, 0, row, 2);
        }
        if (pressed) {
            POINT mark[] = {{1, 1}, {w - 2, 1}};
            Line(dc, ButtonBack(5), mark, 2);
        }
        FlatFrame(dc, 0, 3, w, h, pressed);
        break;
    }
    case KitPainter::LeftTab: {
        RECT face = {3, 0, w, h};
        FillColour(dc, face, flatBack);
        for (int x = 0; x <= 3; ++x) {
            POINT column[] = {{x, 0}, {x, h}};
            Line(dc, 0, column, 2);
        }
        if (pressed) {
            POINT mark[] = {{1, 1}, {1, h - 2}, {2, h - 2}, {2, 1}};
            Line(dc, ButtonBack(5), mark, 4);
        }
        FlatFrame(dc, 3, 0, w, h, pressed);
        const LONG corner = GetWindowLongA(window, kKitCornerWord);
        if (pressed && (corner == 1 || corner == 2))
            Triangle(dc, corner == 1 ? 0xFFFF00 : 0xFF0000, {w - 2, h - 2}, {w - 2, h - 10}, {w - 10, h - 2});
        break;
    }
    case KitPainter::Plain:
        FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        FlatFrame(dc, 0, 0, w, h, pressed);
        textColour = GetSysColor(COLOR_WINDOWTEXT);
        break;
    case KitPainter::Image:
        // Without an image list only the caption is drawn, over what the erase step left.
        if (CmdMenuButtonImages != nullptr) {
            ImageList_Draw(CmdMenuButtonImages, pressed ? 1 : 0, dc, 0, 0, ILD_NORMAL);
            if (w > 76) ImageList_Draw(CmdMenuButtonImages, pressed ? 3 : 2, dc, w - 76, 0, ILD_NORMAL);
        }
        break;
    }

    const int weight = painter == KitPainter::Gradient || painter == KitPainter::Image ? FW_BOLD : FW_DONTCARE;
    HFONT font = CreateKitFaceFont(KitCaptionFontHeight(painter, h), weight);
    HGDIOBJ oldFont = SelectObject(dc, font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    const int acw = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    const int th = tm.tmHeight;
    char caption[255];
    int len = CaptionOf(window, caption);
    int x = 0, y = h / 2 - th / 2;
    switch (painter) {
    case KitPainter::Gradient: x = (w - len * acw) / 2 + 2; break;
    case KitPainter::Flat: x = (w - len * acw) / 2; break;
    case KitPainter::TopTab: x = (w - len * acw) / 2 - acw / 2 + 1; y += 2; break;
    case KitPainter::LeftTab: x = (w - len * acw) / 2 - acw / 2 + 3; break;
    case KitPainter::Plain: x = (w - len * acw) / 2 - acw / 2 + 1; break;
    case KitPainter::Image: x = (w - len * acw) / 2 + 3; break;
    }
    // The caption keeps at most as many bytes as fit the width, cut on a character boundary.
    const size_t shown = DbcsFitLength(caption, static_cast<size_t>(len), static_cast<size_t>(w / acw));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour);
    TextOutA(dc, x, y, caption, static_cast<int>(shown));
    SelectObject(dc, oldFont);
    DeleteObject(font);

    if (GetFocus() == window) {
        POINT focus[] = {{5, 5}, {5, h - 5}, {w - 5, h - 5}, {w - 5, 5}, {5, 5}};
        Line(dc, 0x7F7F7F, focus, 5);
    }
}

void RepaintNow(HWND window)
{
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
}

HWND ParentOf(HWND window) { return reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_HWNDPARENT)); }

void SendCommand(HWND window, int delta)
{
    SendMessageA(ParentOf(window), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(window) + delta), 0);
}

void SendHover(HWND window, LPARAM left)
{
    SendMessageA(ParentOf(window), WM_KIT_HOVER, static_cast<WPARAM>(GetDlgCtrlID(window)), left);
}

bool MainFrameDisabled()
{
    HWND frame = GetMainFrameWnd();
    return frame != nullptr && !IsWindowEnabled(frame);
}

// "PPush" takes a press while the frame is disabled only in the yes/no prompts: the first 19
// characters of its dialog's caption are those of the prompt caption setting, or the caption is
// "?". A longer setting, which the prompts show as their caption, still matches.
bool InYesNoPrompt(HWND window)
{
    constexpr size_t kComparedCaption = 19;
    char caption[256] = "";
    GetWindowTextA(ParentOf(window), caption, sizeof caption);
    const char* prompt = GetConfigDataRuntime().yesNoCaption;
    return (prompt[0] != '\0' && strncmp(caption, prompt, kComparedCaption) == 0) || strcmp(caption, "?") == 0;
}

LRESULT ReleaseSteps(HWND window, int commandDelta)
{
    ReleaseCapture();
    const LONG was = GetWindowLongA(window, kKitPressWord);
    SetWindowLongA(window, kKitPressWord, 0);
    RepaintNow(window);
    SendHover(window, 1);
    if (was == 1) SendCommand(window, commandDelta);
    return 0;
}

enum class ButtonClass { PPush, NPush, NPush2, NPush3, CmdMenu };

LRESULT ButtonProc(ButtonClass cls, KitPainter painter, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool plain = cls == ButtonClass::PPush;
    switch (message) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        if (GetDlgCtrlID(window) >= 8000) FrameRestoreInputFocus();
        else RepaintNow(window);
        break;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        PaintButton(window, dc, painter);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return Dader_OnEraseBkgnd(window, reinterpret_cast<HDC>(wParam));
    case WM_DRAWITEM:
        Dader_OnDrawItem(window, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(Dader_OnCtlColor(window, reinterpret_cast<HDC>(wParam),
                                                          reinterpret_cast<HWND>(lParam),
                                                          message == WM_CTLCOLORBTN ? 3 : 6));
    case WM_NCMOUSEMOVE:
        if (!plain) SendHover(window, 1);
        break;
    case WM_MOUSEMOVE:
        TrackPickerHover(window, lParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (plain) {
            if (MainFrameDisabled() && !InYesNoPrompt(window)) break;
            SetFocus(window);
            SetCapture(window);
            SetWindowLongA(window, kKitPressWord, 1);
            RepaintNow(window);
            break;
        }
        if (MainFrameDisabled()) break;
        // A click that closes the custom right-click popup does only that.
        if ((cls == ButtonClass::NPush || cls == ButtonClass::CmdMenu) && FrameCloseRightMenu() != 0) break;
        if (message == WM_LBUTTONDOWN) {
            SetCapture(window);
            SetWindowLongA(window, kKitPressWord, 1);
            RepaintNow(window);
        } else {
            SendMessageA(ParentOf(window), WM_RBUTTONDOWN, wParam, lParam);
        }
        break;
    case WM_LBUTTONUP:
        ReleaseSteps(window, 0);
        break;
    case WM_RBUTTONUP:
        if (plain) ReleaseSteps(window, 1);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            SetWindowLongA(window, kKitPressWord, 1);
            RepaintNow(window);
            return 0;
        }
        break;
    case WM_KEYUP:
        if (GetWindowLongA(window, kKitPressWord) == 1) {
            SetWindowLongA(window, kKitPressWord, 0);
            RepaintNow(window);
            SendCommand(window, 0);
        }
        break;
    case WM_INITDIALOG:
        SetWindowLongA(window, kKitPressWord, 0);
        SetWindowLongA(window, kKitCheckedWord, 0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK PPushProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ButtonProc(ButtonClass::PPush, KitPainter::Plain, w, m, wp, lp); }
LRESULT CALLBACK NPushGradientProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ButtonProc(ButtonClass::NPush, KitPainter::Gradient, w, m, wp, lp); }
LRESULT CALLBACK NPushFlatProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ButtonProc(ButtonClass::NPush, KitPainter::Flat, w, m, wp, lp); }
LRESULT CALLBACK NPush2GradientProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ButtonProc(ButtonClass::NPush2, KitPainter::Gradient, w, m, wp, lp); }
LRESULT CALLBACK NPush2TabProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ButtonProc(ButtonClass::NPush2, KitPainter::TopTab, w, m, wp, lp); }
LRESULT CALLBACK NPush3Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ButtonProc(ButtonClass::NPush3, KitPainter::LeftTab, w, m, wp, lp); }
LRESULT CALLBACK CmdMenuProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ButtonProc(ButtonClass::CmdMenu, KitPainter::Image, w, m, wp, lp); }

void DrawScrollFrame(HWND window, HDC dc, bool sunken)
{
    RECT rc;
    GetClientRect(window, &rc);
    const int w = rc.right, h = rc.bottom;
    COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_3DDKSHADOW);
    if (sunken) std::swap(light, dark);
    POINT topLeft[] = {{0, h - 1}, {0, 0}, {w - 1, 0}};
    POINT bottomRight[] = {{w - 1, 0}, {w - 1, h - 1}, {1, h - 1}};
    Line(dc, light, topLeft, 3);
    Line(dc, dark, bottomRight, 3);
}

void DrawScrollFrameNow(HWND window, bool sunken)
{
    HDC dc = GetWindowDC(window);
    DrawScrollFrame(window, dc, sunken);
    ReleaseDC(window, dc);
}

void PaintScrollButton(HWND window, HDC dc)
{
    RECT rc;
    GetClientRect(window, &rc);
    const int w = rc.right, h = rc.bottom;
    const int id = GetDlgCtrlID(window);
    switch (id) {
    case 1000: case 1020: FillColour(dc, rc, ButtonBack(8)); break;
    case 1001: case 1021: FillColour(dc, rc, ButtonBack(6)); break;
    case 1002: case 1003: case 1022: case 1023: FillColour(dc, rc, ButtonBack(7)); break;
    default: FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE)); break;
    }
    DrawScrollFrame(window, dc, false);
    switch (id) {
    case 1000: case 1020: Triangle(dc, 0, {w / 2, 3}, {w / 2 + 9, 12}, {w / 2 - 9, 12}); break;
    case 1001: case 1021: Triangle(dc, 0, {w / 2, h - 3}, {w / 2 + 9, h - 12}, {w / 2 - 9, h - 12}); break;
    case 1002: case 1022: Triangle(dc, 0, {2, h / 2}, {11, h / 2 + 9}, {11, h / 2 - 9}); break;
    case 1003: case 1023: Triangle(dc, 0, {w - 3, h / 2}, {w - 12, h / 2 + 9}, {w - 12, h / 2 - 9}); break;
    default: break;
    }
    if (id < 1004 || id > 1015) return;
    const int label = id >= 1010 ? id - 6 : id;
    const bool english = GetCadSystem().config.LANGUAGE != 0;
    struct Piece { const char* text; int x; int y; };
    Piece pieces[2] = {};
    switch (label) {
    case 1004: pieces[0] = {english ? "In" : "拡大", 5, 2}; break;
    case 1005: pieces[0] = {english ? "Out" : "縮小", 5, 2}; break;
    case 1006: pieces[0] = {english ? "std" : "基準", 5, 2}; break;
    case 1007:
        if (english) pieces[0] = {"In", 5, h / 2 - 6};
        else pieces[0] = {"拡", 5, 4}, pieces[1] = {"大", 5, h / 2 + 2};
        break;
    case 1008:
        if (english) pieces[0] = {"O", 7, 5}, pieces[1] = {"ut", 5, h / 2};
        else pieces[0] = {"縮", 5, 4}, pieces[1] = {"小", 5, h / 2 + 2};
        break;
    default:
        if (english) pieces[0] = {"S", 7, 5}, pieces[1] = {"td", 5, h / 2};
        else pieces[0] = {"基", 5, 4}, pieces[1] = {"準", 5, h / 2 + 2};
        break;
    }
    HGDIOBJ oldFont = SelectObject(dc, KitFont3 != nullptr ? KitFont3 : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (const Piece& p : pieces)
        if (p.text != nullptr) TextOutA(dc, p.x, p.y, p.text, static_cast<int>(strlen(p.text)));
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK ScrollButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        PaintScrollButton(window, dc);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
        SetWindowLongA(window, kKitPressWord, 1);
        SendCommand(window, 0);
        // A second button pressed while one repeats takes the one timer over.
        g_scrollRepeatTimer = SetTimer(window, kScrollRepeatTimerId, kScrollRepeatMs, nullptr);
        DrawScrollFrameNow(window, true);
        return 0;
    case WM_TIMER:
        if (g_scrollRepeatTimer != 0 && wParam == g_scrollRepeatTimer) {
            KillTimer(window, g_scrollRepeatTimer);
            g_scrollRepeatTimer = 0;
            POINT pt;
            GetCursorPos(&pt);
            if (WindowFromPoint(pt) == window) {
                SetWindowLongA(window, kKitPressWord, 2);
                PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            }
            DrawScrollFrameNow(window, false);
            return 0;
        }
        break;
    case WM_LBUTTONUP:
        if (g_scrollRepeatTimer != 0) {
            KillTimer(window, g_scrollRepeatTimer);
            g_scrollRepeatTimer = 0;
        }
        SetWindowLongA(window, kKitPressWord, 0);
        DrawScrollFrameNow(window, false);
        return 0;
    case WM_SETFOCUS:
        FrameRestoreInputFocus();
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct ButtonClassEntry {
    const char* name;
    int extraBytes;
    WNDPROC gradient;
    WNDPROC flat;
};

const ButtonClassEntry kButtonClasses[] = {
    {"PPush", 8, PPushProc, PPushProc},
    {"NPush", 8, NPushGradientProc, NPushFlatProc},
    {"NPush2", 12, NPush2GradientProc, NPush2TabProc},
    {"NPush3", 12, NPush3Proc, NPush3Proc},
    {"SCBTN", 8, ScrollButtonProc, ScrollButtonProc},
    {"NPushCmdMenu", 8, CmdMenuProc, CmdMenuProc},
};

}  // namespace

int KitCaptionFontHeight(KitPainter painter, int h)
{
    switch (painter) {
    case KitPainter::Gradient: return h < 14 ? h - 2 : (h <= 18 ? 12 : 14);
    case KitPainter::TopTab: return h - 3 < 18 ? h - 5 : 16;
    case KitPainter::Image: return h <= 17 ? h - 2 : 14;
    default: return h < 18 ? h - 2 : 16;
    }
}

WNDPROC KitButtonProcedure(const char* className, int buttonStyle)
{
    for (const ButtonClassEntry& entry : kButtonClasses)
        if (lstrcmpiA(entry.name, className) == 0) return buttonStyle == 1 ? entry.flat : entry.gradient;
    return nullptr;
}

int RegisterKitButtonClasses(HINSTANCE instance)
{
    CreateKitFonts(GetCadSystem().lowResPanel);
    const int style = GetConfigDataRuntime().panelButtonType;
    for (const ButtonClassEntry& entry : kButtonClasses) {
        WNDCLASSA wc = {};
        // Global: plug-in templates place the buttons from their own module instance.
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS;
        wc.lpfnWndProc = style == 1 ? entry.flat : entry.gradient;
        wc.cbWndExtra = entry.extraBytes;
        wc.hInstance = instance;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        wc.lpszClassName = entry.name;
        if (RegisterClassA(&wc) == 0) return 0;
    }
    return 1;
}

void UnregisterKitButtonClasses(HINSTANCE instance)
{
    for (const ButtonClassEntry& entry : kButtonClasses) UnregisterClassA(entry.name, instance);
}
