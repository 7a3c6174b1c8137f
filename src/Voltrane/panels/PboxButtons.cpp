// The PBox push, check and radio buttons and the registration of every PBox class.
#include "panels/PboxControls.h"

#include <string>
#include <vector>

#include "HostMessages.h"
#include "commands/InputEvent.h"
#include "controls/KitFaces.h"
#include "core/CadSystem.h"
#include "core/CsvParser.h"
#include "core/Dbcs.h"
#include "dialogs/Calculator.h"
#include "panels/AppPanelItems.h"
#include "panels/PanelFonts.h"
#include "panels/PanelSettings.h"
#include "panels/ParameterPanelItems.h"

namespace {

int State(HWND window) { return static_cast<int>(::GetWindowLongA(window, 0)); }
void SetState(HWND window, int state)
{
    ::SetWindowLongA(window, 0, state);
    ::InvalidateRect(window, nullptr, FALSE);
}

bool ItemEnabled(const PboxItem* item) { return item != nullptr && item->enabled != 0; }

void FocusInput()
{
    if (HWND frame = GetMainFrameWnd()) ::PostMessageA(frame, WM_CAD_FOCUS_INPUT, 0, 0);
}

void NotifyParent(HWND window) { ::SendMessageA(::GetParent(window), kPboxControlNotify, 0, 0); }

bool FlatStyle() { return PboxButtonStyle() == 1; }

COLORREF TextColour(const PboxItem* item, bool enabled, COLORREF enabledDefault)
{
    if (!enabled) return GetSysColor(COLOR_GRAYTEXT);
    return PanelItemTextColor(item != nullptr ? item->textColor : -1, enabledDefault);
}

// The dots a disabled flat button with a colour of its own is covered with.
void DrawCheckered(HDC dc, const RECT& rc)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (int y = rc.top; y < rc.bottom; ++y)
        for (int x = rc.left + ((y - rc.top) & 1); x < rc.right; x += 2) SetPixel(dc, x, y, face);
}

void FillColour(HDC dc, const RECT& rc, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
}

// A one-pixel frame: raised (light top and left) or sunken (the colours swapped).
void DrawFrame(HDC dc, const RECT& rc, bool sunken)
{
    const COLORREF light = GetSysColor(COLOR_3DHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    const COLORREF topLeft = sunken ? dark : light;
    const COLORREF bottomRight = sunken ? light : dark;
    FillColour(dc, RECT{rc.left, rc.top, rc.right, rc.top + 1}, topLeft);
    FillColour(dc, RECT{rc.left, rc.top, rc.left + 1, rc.bottom}, topLeft);
    FillColour(dc, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom}, bottomRight);
    FillColour(dc, RECT{rc.right - 1, rc.top, rc.right, rc.bottom}, bottomRight);
}

void DrawCaption(HDC dc, const RECT& rc, const std::string& text, HFONT font, COLORREF colour, int yOffset)
{
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT area = rc;
    OffsetRect(&area, 0, yOffset);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (old != nullptr) SelectObject(dc, old);
}

std::string WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    ::GetWindowTextA(window, &text[0], static_cast<int>(text.size()));
    text.resize(std::char_traits<char>::length(text.c_str()));
    return text;
}

// One flat face of a check button or radio segment: the strip across the top shows the mark.
void PaintFlatMarkFace(HDC dc, const RECT& face, const PboxItem* item, bool marked, const std::string& caption)
{
    const bool enabled = ItemEnabled(item);
    FillColour(dc, face, PanelButtonBackColor());
    const bool ownColour = item != nullptr && item->backColor != -1;
    if (ownColour) FillColour(dc, RECT{face.left + 1, face.top + 3, face.right - 1, face.bottom - 1}, PanelItemTextColor(item->backColor, 0));
    if (!enabled && ownColour) DrawCheckered(dc, face);
    const RECT strip = {face.left, face.top, face.right, face.top + 6};
    FillColour(dc, strip, RGB(0, 0, 0));
    HBRUSH outline = CreateSolidBrush(0x7F7F7F);
    FrameRect(dc, &strip, outline);
    DeleteObject(outline);
    if (marked) FillColour(dc, RECT{strip.left + 1, strip.top + 1, strip.right - 1, strip.top + 5}, PanelCheckMarkColor());
    DrawFrame(dc, RECT{face.left, strip.bottom, face.right, face.bottom}, marked);
    DrawCaption(dc, face, caption, PanelItemFont(), TextColour(item, enabled, GetSysColor(COLOR_BTNTEXT)), 3);
}

void PaintKitFace(HDC dc, const RECT& face, const PboxItem* item, int look, const std::string& caption)
{
    if (look == 1) DrawKitButtonFacePressed(dc, face);
    else if (look == 2) DrawKitButtonFaceSelected(dc, face);
    else DrawKitButtonFace(dc, face);
    DrawCaption(dc, face, caption, PanelItemBoldFont(), TextColour(item, ItemEnabled(item), 0x323232), 0);
}

void PaintPush(HWND window, HDC dc)
{
    RECT rc;
    ::GetClientRect(window, &rc);
    const PboxItem* item = PboxControlItem(window);
    const bool pressed = State(window) == kPboxPressed;
    const std::string caption = WindowText(window);
    if (!FlatStyle()) {
        PaintKitFace(dc, rc, item, pressed ? 1 : 0, caption);
        return;
    }
    const bool enabled = ItemEnabled(item);
    FillColour(dc, rc, PanelButtonBackColor());
    const bool ownColour = item != nullptr && item->backColor != -1;
    if (ownColour) FillColour(dc, RECT{rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1}, PanelItemTextColor(item->backColor, 0));
    if (!enabled && ownColour) DrawCheckered(dc, rc);
    DrawFrame(dc, pressed ? RECT{rc.left, rc.top - 1, rc.right, rc.bottom} : rc, pressed);
    DrawCaption(dc, rc, caption, PanelItemFont(), TextColour(item, enabled, GetSysColor(COLOR_BTNTEXT)), 0);
}

void PaintCheck(HWND window, HDC dc)
{
    RECT rc;
    ::GetClientRect(window, &rc);
    const PboxItem* item = PboxControlItem(window);
    const bool checked = item != nullptr && item->value2 == 1;
    if (FlatStyle()) PaintFlatMarkFace(dc, rc, item, checked, WindowText(window));
    else PaintKitFace(dc, rc, item, checked ? 1 : 0, WindowText(window));
}

int SegmentCount(const PboxItem* item) { return item != nullptr && item->value2 >= 2 ? item->value2 : 1; }

void PaintRadio(HWND window, HDC dc)
{
    RECT rc;
    ::GetClientRect(window, &rc);
    const PboxItem* item = PboxControlItem(window);
    const std::string text = WindowText(window);
    const std::vector<std::string> captions = text.empty() ? std::vector<std::string>() : CCsvParser(text).fields;
    const int n = SegmentCount(item);
    FillColour(dc, rc, FlatStyle() ? PanelButtonBackColor() : GetSysColor(COLOR_BTNFACE));
    for (int i = 0; i < n; ++i) {
        const RECT face = CAppPanelRadioButton::SegmentRect(i, n, rc.right, rc.bottom);
        const std::string caption = i < static_cast<int>(captions.size()) ? captions[static_cast<size_t>(i)] : std::string();
        const bool selected = item != nullptr && item->value == i;
        if (FlatStyle()) PaintFlatMarkFace(dc, face, item, selected, caption);
        else PaintKitFace(dc, face, item, selected ? 2 : 0, caption);
    }
}

LRESULT Paint(HWND window, void (*painter)(HWND, HDC))
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    painter(window, dc);
    ::EndPaint(window, &ps);
    return 0;
}

// What the three buttons share: their words at creation, painting and the pointer leaving and
// coming back while pressed. 1 when the message was taken.
bool CommonButtonMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, void (*painter)(HWND, HDC),
                         LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_CREATE:
        ::SetWindowLongA(window, 0, kPboxReleased);
        ::SetWindowLongA(window, 4, PboxBuildingPanel());
        ::SetWindowLongA(window, 8, PboxBuildingSlot());
        return true;
    case WM_PAINT:
        *result = Paint(window, painter);
        return true;
    case WM_PRINTCLIENT:
        painter(window, reinterpret_cast<HDC>(wParam));
        return true;
    case WM_MOUSEMOVE: {
        RECT rc;
        ::GetClientRect(window, &rc);
        const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        const bool inside = PtInRect(&rc, at) != 0;
        if (State(window) == kPboxPressed && !inside) SetState(window, kPboxPressedOutside);
        else if (State(window) == kPboxPressedOutside && inside) SetState(window, kPboxPressed);
        return true;
    }
    default:
        return false;
    }
}

// The control's item takes a value, and so does the item of the same slot in the panel shown
// docked, whose windows then show it.
void StoreMirrored(HWND window, int PboxItem::*field, int value)
{
    int panel = 0, slot = 0;
    PboxItem* item = PboxControlItem(window, &panel, &slot);
    if (item == nullptr) return;
    item->*field = value;
    ::InvalidateRect(window, nullptr, FALSE);
    if (PboxItem* shown = PboxShownPanelItem(slot)) {
        shown->*field = value;
        PboxRepaintItemAndMirror(PboxShownPanel(), slot);
    }
}

}  // namespace

PboxItem* PboxControlItem(HWND control, int* panel, int* slot)
{
    if (control == nullptr) return nullptr;
    const int p = static_cast<int>(::GetWindowLongA(control, 4));
    const int s = static_cast<int>(::GetWindowLongA(control, 8));
    PboxPanel* table = PboxGetPanel(p);
    if (table == nullptr || s < 0 || s >= kPboxItemCount) return nullptr;
    if (panel != nullptr) *panel = p;
    if (slot != nullptr) *slot = s;
    return &table->items[s];
}

LRESULT CALLBACK PboxPushProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (CommonButtonMessage(window, msg, wParam, lParam, PaintPush, &result)) return result;
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        if (IsCalculatorOpen()) return 0;
        FocusInput();
        if (!ItemEnabled(PboxControlItem(window))) return 0;
        ::SetCapture(window);
        SetState(window, kPboxPressed);
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        if (IsCalculatorOpen()) return 0;
        const PboxItem* item = PboxControlItem(window);
        if (!ItemEnabled(item)) return 0;
        if (::GetCapture() == window) ::ReleaseCapture();
        const int previous = State(window);
        SetState(window, kPboxReleased);
        // Released outside the button: the press is dropped.
        if (previous != kPboxPressed) return 0;
        RaisePanelEvent(kItemPushButton, item->id, 0);
        NotifyParent(window);
        const int id = ::GetDlgCtrlID(window) + (msg == WM_RBUTTONUP ? 1 : 0);
        ::SendMessageA(::GetParent(window), WM_COMMAND, static_cast<WPARAM>(id), 0);
        return 0;
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) SetState(window, kPboxPressed);
        return 0;
    case WM_KEYUP:
        if (State(window) == kPboxPressed) {
            SetState(window, kPboxReleased);
            ::SendMessageA(::GetParent(window), WM_COMMAND, static_cast<WPARAM>(::GetDlgCtrlID(window)), 0);
        }
        return 0;
    default:
        return DefWindowProcA(window, msg, wParam, lParam);
    }
}

LRESULT CALLBACK PboxCheckProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (CommonButtonMessage(window, msg, wParam, lParam, PaintCheck, &result)) return result;
    if (msg != WM_LBUTTONDOWN && msg != WM_RBUTTONDOWN) return DefWindowProcA(window, msg, wParam, lParam);
    if (IsCalculatorOpen()) return 0;
    FocusInput();
    const PboxItem* item = PboxControlItem(window);
    if (!ItemEnabled(item)) return 0;
    const int checked = item->value2 != 1 ? 1 : 0;
    StoreMirrored(window, &PboxItem::value2, checked);
    RaisePanelEvent(kItemCheckBox, item->id, checked);
    NotifyParent(window);
    return 0;
}

LRESULT CALLBACK PboxRadioProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (CommonButtonMessage(window, msg, wParam, lParam, PaintRadio, &result)) return result;
    if (msg != WM_LBUTTONDOWN && msg != WM_RBUTTONDOWN) return DefWindowProcA(window, msg, wParam, lParam);
    if (IsCalculatorOpen()) return 0;
    FocusInput();
    const PboxItem* item = PboxControlItem(window);
    if (!ItemEnabled(item)) return 0;
    RECT rc;
    ::GetClientRect(window, &rc);
    // The segment painted under the pointer, never past the last one.
    const int choice = CAppPanelRadioButton::ChoiceAt(static_cast<short>(LOWORD(lParam)), rc.right, SegmentCount(item));
    StoreMirrored(window, &PboxItem::value, choice);
    RaisePanelEvent(kItemRadioButton, item->id, choice);
    NotifyParent(window);
    return 0;
}

namespace {

// The text control's class keeps one word, left to its creator, so the item it stands for (the
// one being built when it was made, as for the other PBox controls) is kept in two properties,
// each one more than the index so that a missing property reads as no item.
constexpr char kTextPanelProperty[] = "PboxTextPanel";
constexpr char kTextSlotProperty[] = "PboxTextSlot";

void BindText(HWND window)
{
    const int panel = PboxBuildingPanel();
    const int slot = PboxBuildingSlot();
    if (PboxGetPanel(panel) == nullptr || slot < 0 || slot >= kPboxItemCount) return;
    ::SetPropA(window, kTextPanelProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(panel + 1)));
    ::SetPropA(window, kTextSlotProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(slot + 1)));
}

void UnbindText(HWND window)
{
    ::RemovePropA(window, kTextPanelProperty);
    ::RemovePropA(window, kTextSlotProperty);
}

// The item a text control stands for, null when it was made outside a build or its slot is free.
const PboxItem* TextItem(HWND window)
{
    const int panel = static_cast<int>(reinterpret_cast<INT_PTR>(::GetPropA(window, kTextPanelProperty))) - 1;
    const int slot = static_cast<int>(reinterpret_cast<INT_PTR>(::GetPropA(window, kTextSlotProperty))) - 1;
    PboxPanel* table = PboxGetPanel(panel);
    if (table == nullptr || slot < 0 || slot >= kPboxItemCount) return nullptr;
    const PboxItem& item = table->items[slot];
    return item.type != kPboxFree ? &item : nullptr;
}

void PaintText(HWND window, HDC dc)
{
    RECT rc;
    ::GetClientRect(window, &rc);
    FillColour(dc, rc, PanelTextBackColor());
    const PboxItem* item = TextItem(window);
    SetTextColor(dc, PanelItemTextColor(item != nullptr ? item->textColor : -1, GetSysColor(COLOR_BTNTEXT)));
    HGDIOBJ old = PanelItemFont() != nullptr ? SelectObject(dc, PanelItemFont()) : nullptr;
    const std::string text = WindowText(window);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int average = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    size_t length = text.size();
    const size_t fit = static_cast<size_t>(rc.right > 0 ? rc.right / average : 0);
    if (length > fit) length = DbcsFitLength(text.c_str(), length, fit);
    const int x = rc.right / 2 - average * (static_cast<int>(length) / 2) - average / 2;
    const int y = rc.bottom / 2 - metrics.tmHeight / 2;
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(length));
    if (old != nullptr) SelectObject(dc, old);
}

}  // namespace

LRESULT CALLBACK PboxTextProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE) {
        BindText(window);
        return 0;
    }
    if (msg == WM_NCDESTROY) UnbindText(window);
    if (msg == WM_PAINT) return Paint(window, PaintText);
    if (msg == WM_PRINTCLIENT) {
        PaintText(window, reinterpret_cast<HDC>(wParam));
        return 0;
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

namespace {

// A procedure that answers 0 to everything: a placeholder class plug-ins subclass.
LRESULT CALLBACK ListOwnSubclassProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

struct PboxClass {
    const char* name;
    WNDPROC procedure;
    int extraBytes;
    bool emptyCursor;
};

const PboxClass kPboxClasses[] = {
    {"PBox_Push", PboxPushProc, 12, true},   {"PBox_Radio", PboxRadioProc, 12, true},
    {"PBox_Check", PboxCheckProc, 12, true}, {"PBox_List", PboxListProc, 12, true},
    {"PBox_Edit", PboxEditProc, 12, true},   {"PBox_Combo", PboxComboProc, 12, true},
    {"Wexl_Edit", WexlEditProc, 4, false},   {"PBox_Text", PboxTextProc, 4, false},
    {"LISTOWNSUBCLASS", ListOwnSubclassProc, 16, false},
};

}  // namespace

int RegisterPboxControlClasses(HINSTANCE instance)
{
    for (const PboxClass& c : kPboxClasses) {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = c.procedure;
        wc.cbWndExtra = c.extraBytes;
        wc.hInstance = instance;
        wc.hCursor = c.emptyCursor ? LoadCursorA(instance, "CURNUL") : nullptr;
        if (wc.hCursor == nullptr) wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = nullptr;
        wc.lpszClassName = c.name;
        WNDCLASSEXA existing = {};
        existing.cbSize = sizeof existing;
        if (GetClassInfoExA(instance, c.name, &existing)) continue;
        if (RegisterClassExA(&wc) == 0) return 0;
    }
    return 1;
}

void UnregisterPboxControlClasses(HINSTANCE instance)
{
    for (const PboxClass& c : kPboxClasses) UnregisterClassA(c.name, instance);
}
