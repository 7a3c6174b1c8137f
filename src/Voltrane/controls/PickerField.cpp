#include "controls/PickerField.h"

#include "controls/KitFaces.h"
#include "controls/PickerHost.h"

#include <commctrl.h>

#include <cstring>

void* PickerStateOf(HWND field) { return reinterpret_cast<void*>(GetWindowLongPtrA(field, 4)); }

void* AllocPickerState(HWND field, size_t size)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    void* state = memory != nullptr ? GlobalLock(memory) : nullptr;
    SetWindowLongPtrA(field, 4, reinterpret_cast<LONG_PTR>(state));
    return state;
}

void FreePickerState(HWND field)
{
    void* state = PickerStateOf(field);
    if (state == nullptr) return;
    SetWindowLongPtrA(field, 4, 0);
    HGLOBAL memory = GlobalHandle(state);
    GlobalUnlock(memory);
    GlobalFree(memory);
}

void ReleasePickerState(HWND field, PickerPopupContext& context)
{
    void* state = PickerStateOf(field);
    if (state != nullptr && context.state == state) {
        context.state = nullptr;
        context.openMark = 0;
    }
    FreePickerState(field);
}

namespace {

void Path(HDC dc, int colourIndex, POINT a, POINT b, POINT c)
{
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(colourIndex));
    HGDIOBJ old = SelectObject(dc, pen);
    POINT p[] = {a, b, c};
    Polyline(dc, p, 3);
    SelectObject(dc, old);
    DeleteObject(pen);
}

// The four paths of a frame: outer and inner top-left, outer and inner bottom-right.
void Frame(HDC dc, int l, int t, int r, int b, int outerTopLeft, int innerTopLeft, int outerBottomRight,
           int innerBottomRight)
{
    Path(dc, outerTopLeft, {l, b - 1}, {l, t}, {r - 1, t});
    Path(dc, innerTopLeft, {l + 1, b - 2}, {l + 1, t + 1}, {r - 2, t + 1});
    Path(dc, outerBottomRight, {r - 1, t}, {r - 1, b - 1}, {l, b - 1});
    Path(dc, innerBottomRight, {r - 2, t + 1}, {r - 2, b - 2}, {l + 1, b - 2});
}

}  // namespace

void DrawSunkenFrame(HDC dc, int left, int top, int right, int bottom)
{
    Frame(dc, left, top, right, bottom, COLOR_BTNSHADOW, COLOR_3DDKSHADOW, COLOR_WINDOW, COLOR_3DLIGHT);
}

void DrawRaisedButton(HDC dc, int left, int top, int right, int bottom)
{
    RECT r = {left, top, right, bottom};
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    Frame(dc, left, top, right, bottom, COLOR_3DLIGHT, COLOR_WINDOW, COLOR_3DDKSHADOW, COLOR_BTNSHADOW);
}

void BeginFieldPaint(HWND field, HDC dc, int flags, FieldPaint& paint)
{
    RECT rc;
    GetClientRect(field, &rc);
    paint.w = rc.right;
    paint.h = rc.bottom;
    paint.notifyMode = (flags & kPickerNotifyMode) != 0;
    paint.compact = (flags & kPickerCompact) != 0;
    paint.disabled = !IsWindowEnabled(field);
    paint.b = paint.compact ? paint.w - 8 : (paint.notifyMode ? paint.w : paint.w - 15);
    paint.fontHeight = paint.compact ? 12 : 14;
    FillRect(dc, &rc, GetSysColorBrush(paint.notifyMode || paint.disabled ? COLOR_BTNFACE : COLOR_WINDOW));
    paint.font = CreateFontA(paint.fontHeight, 0, 0, 0, FW_DONTCARE, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                             "ＭＳ ゴシック");
    paint.oldFont = SelectObject(dc, paint.font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(paint.disabled ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
}

void EndFieldPaint(HDC dc, FieldPaint& paint)
{
    DrawSunkenFrame(dc, 0, 0, paint.w, paint.h);
    if (!paint.notifyMode) DrawRaisedButton(dc, paint.b - 2, 2, paint.w - 2, paint.h - 2);
    SelectObject(dc, paint.oldFont);
    DeleteObject(paint.font);
    paint.font = nullptr;
}

LRESULT PickerFieldCommon(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ENABLE:
        InvalidateRect(field, nullptr, TRUE);
        return 0;
    case WM_MOUSEMOVE:
        TrackPickerHover(field, lParam);
        return 0;
    case WM_PICKER_NOTIFY:
        NotifyPickerParent(field);
        InvalidateRect(field, nullptr, TRUE);
        return 0;
    default:
        return DefWindowProcA(field, message, wParam, lParam);
    }
}

void NotifyPickerParent(HWND field)
{
    HWND parent = reinterpret_cast<HWND>(GetWindowLongPtrA(field, GWLP_HWNDPARENT));
    PostMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), kPickerClosedCode), reinterpret_cast<LPARAM>(field));
}

void OpenPickerList(HWND field, const PickerKind& kind, void* state)
{
    kind.context->state = state;
    kind.context->openMark = 1;
    RECT rc;
    GetClientRect(field, &rc);
    HWND popup = CreateWindowExA(0, kind.popupClass, "", WS_CHILD, 0, rc.bottom, rc.right, rc.bottom + 60, field,
                                 nullptr, PickerModuleInstance(), nullptr);
    if (popup == nullptr) return;
    ShowWindow(popup, SW_SHOW);
    SetWindowLongA(popup, 0, 1);
}

bool BeginPickerRow(const DRAWITEMSTRUCT& item)
{
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    return selected;
}

PenAndBrush::PenAndBrush(HDC dc_, COLORREF colour)
    : dc(dc_), pen(CreatePen(PS_SOLID, 1, colour)), brush(CreateSolidBrush(colour))
{
    oldPen = SelectObject(dc, pen);
    oldBrush = SelectObject(dc, brush);
}

PenAndBrush::~PenAndBrush()
{
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

namespace {

void CreatePopupCombo(const PickerKind& kind, HWND popup)
{
    RECT rc;
    GetClientRect(popup, &rc);
    int w = rc.right;
    if (kind.exactWidth || w < kind.minWidth) w = kind.exactWidth ? kind.minWidth : (w > kind.minWidth ? w : kind.minWidth);
    HWND combo = CreateWindowExA(0, "combobox", "", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED, 0, 0,
                                 w, kind.listHeight, popup, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPickerComboId)),
                                 PickerModuleInstance(), nullptr);
    if (combo == nullptr) return;
    if (kind.minVisible16) SendMessageA(combo, CB_SETMINVISIBLE, 16, 0);
    RECT r;
    GetWindowRect(combo, &r);
    MONITORINFO mi = {sizeof mi};
    GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi);
    const int dx = r.right > mi.rcWork.right ? r.right - mi.rcWork.right + 5 : 0;
    const int dy = r.bottom > mi.rcWork.bottom ? r.bottom - mi.rcWork.bottom + 5 : 0;
    SetWindowPos(combo, nullptr, -dx, r.top - r.bottom - dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    kind.fill(combo, kind.context->state);
    PostMessageA(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(w - 4, 4));
    PostMessageA(combo, WM_LBUTTONUP, 0, MAKELPARAM(w - 4, 4));
}

}  // namespace

LRESULT PickerPopupProc(const PickerKind& kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (kind.context->openMark == 1 && kind.context->state != nullptr) CreatePopupCombo(kind, window);
        return 0;
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(kind.rowHeight);
        return 1;
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID == static_cast<UINT>(kPickerComboId) && kind.context->state != nullptr)
            kind.paintRow(*item, kind.context->state);
        return 1;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == CBN_CLOSEUP) {
            HWND field = GetParent(window);
            if (GetWindowLongA(window, 0) == 1 && kind.context->state != nullptr) {
                const int selection = static_cast<int>(SendMessageA(reinterpret_cast<HWND>(lParam), CB_GETCURSEL, 0, 0));
                kind.store(kind.context->state, selection);
                PostMessageA(field, WM_PICKER_NOTIFY, 0, 0);
            }
            kind.context->openMark = 0;
            // Destroyed once the combo box has finished its notification.
            SetWindowLongA(window, 0, 0);
            PostMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void FillNumberedRows(HWND combo, int count, int current)
{
    for (int r = 0; r < count; ++r) {
        char text[16];
        wsprintfA(text, "%d", r);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(combo, CB_SETCURSEL, current >= 0 && current < count ? current : -1, 0);
}

LRESULT ValueFieldProc(const PickerKind& kind, void (*paint)(HWND, HDC, const PickerFieldState*), bool notifies,
                       HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* s = static_cast<PickerFieldState*>(PickerStateOf(field));
    switch (message) {
    case WM_CREATE:
        SetWindowLongA(field, 0, 0);
        AllocPickerState(field, sizeof(PickerFieldState));
        return 0;
    case WM_DESTROY:
        ReleasePickerState(field, *kind.context);
        return 0;
    case WM_PICKER_SET_VALUE:
        if (s == nullptr) return 0;
        s->value = static_cast<int>(lParam);
        InvalidateRect(field, nullptr, TRUE);
        return 1;
    case WM_PICKER_GET_VALUE:
        return s != nullptr ? s->value : -1;
    case WM_PICKER_SET_FLAGS:
        if (s == nullptr) return -1;
        s->flags = static_cast<int>(lParam);
        InvalidateRect(field, nullptr, TRUE);
        return 0;
    case WM_PICKER_RELOAD:
    case WM_PICKER_REMOVE_TYPE:
        return 0;
    case WM_LBUTTONDOWN:
        if (s == nullptr) return 0;
        if ((s->flags & kPickerNotifyMode) == 0) OpenPickerList(field, kind, s);
        else if (notifies) NotifyPickerParent(field);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(field, &ps);
        paint(field, dc, s);
        EndPaint(field, &ps);
        return 0;
    }
    default:
        return PickerFieldCommon(field, message, wParam, lParam);
    }
}

int RegisterPickerFieldClass(HINSTANCE instance, const char* className, WNDPROC procedure, bool global)
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | (global ? CS_GLOBALCLASS : 0);
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = 8;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = className;
    return RegisterClassA(&wc) != 0 ? 1 : 0;
}

int RegisterPickerClassPair(HINSTANCE instance, const char* fieldClass, WNDPROC fieldProc, const char* popupClass,
                            WNDPROC popupProc)
{
    RegisterPickerFieldClass(instance, fieldClass, fieldProc, true);
    return RegisterPickerFieldClass(instance, popupClass, popupProc, false);
}
