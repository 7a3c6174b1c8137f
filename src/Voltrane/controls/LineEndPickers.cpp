#include "controls/LineEndPickers.h"

#include "controls/LineAttrPainters.h"
#include "controls/PickerField.h"

#include <cstdio>
#include <cstring>

namespace {

// The two mark kinds share one context: it names the mark field created or clicked last.
PickerPopupContext g_markContext = {};

void FillMarkRows(HWND combo, void* state)
{
    const auto* s = static_cast<const LineEndPickerState*>(state);
    for (int t = 0; t < kLineEndTypeCount; ++t) {
        if (s->enabled[t] == 0) continue;
        char text[16];
        snprintf(text, sizeof text, "%d", t);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(s->row), 0);
}

void PaintMarkRow(const DRAWITEMSTRUCT& item, void* state, int side)
{
    const auto* s = static_cast<const LineEndPickerState*>(state);
    const bool selected = BeginPickerRow(item);
    if (static_cast<int>(item.itemID) < 0) return;
    const int t = MaskRowToLineEndType(static_cast<int>(item.itemID), s->enabled);
    char text[32];
    snprintf(text, sizeof text, side == 0 ? "始端%d" : "終端%d", t);
    const RECT& r = item.rcItem;
    TextOutA(item.hDC, r.left + 2, r.top + 2, text, static_cast<int>(strlen(text)));
    PenAndBrush tools(item.hDC, selected ? GetSysColor(COLOR_WINDOW) : 0);
    DrawLineEndMark(t, side, item.hDC, r.left + 58, r.top, r.right - 10, r.bottom);
}

void PaintStartRow(const DRAWITEMSTRUCT& item, void* state) { PaintMarkRow(item, state, 0); }
void PaintEndRow(const DRAWITEMSTRUCT& item, void* state) { PaintMarkRow(item, state, 1); }
void StoreMarkRow(void* state, int selection) { static_cast<LineEndPickerState*>(state)->row = selection; }

const PickerKind kStartKind = {"vyltermswndclass", 150, false, 440, 26, false, &g_markContext,
                               FillMarkRows, PaintStartRow, StoreMarkRow};
const PickerKind kEndKind = {"vyltermewndclass", 150, true, 440, 26, false, &g_markContext,
                             FillMarkRows, PaintEndRow, StoreMarkRow};

void PaintMarkField(HWND field, HDC dc, const LineEndPickerState* s, int side)
{
    FieldPaint p;
    BeginFieldPaint(field, dc, s != nullptr ? s->flags : 0, p);
    if (s != nullptr) {
        const int t = MaskRowToLineEndType(s->row, s->enabled);
        if (p.w >= 60) {
            char text[16];
            snprintf(text, sizeof text, "%d", t);
            TextOutA(dc, 5, (p.h - p.fontHeight) / 2, text, static_cast<int>(strlen(text)));
        }
        PenAndBrush tools(dc, 0);
        DrawLineEndMark(t, side, dc, p.w < 60 ? 4 : 20, 0, p.b - 5, p.h);
    }
    EndFieldPaint(dc, p);
}

LRESULT MarkFieldProc(const PickerKind& kind, int side, HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* s = static_cast<LineEndPickerState*>(PickerStateOf(field));
    switch (message) {
    case WM_CREATE: {
        SetWindowLongA(field, 0, 0);
        auto* state = static_cast<LineEndPickerState*>(AllocPickerState(field, sizeof(LineEndPickerState)));
        if (state != nullptr) memcpy(state->enabled, LineEndTypeEnableMask, sizeof state->enabled);
        g_markContext.state = state;
        return 0;
    }
    case WM_DESTROY:
        ReleasePickerState(field, g_markContext);
        return 0;
    case WM_PICKER_SET_VALUE:
        if (s == nullptr) return 0;
        s->row = LineEndTypeToMaskRow(s->enabled, static_cast<int>(lParam));
        InvalidateRect(field, nullptr, TRUE);
        return 1;
    case WM_PICKER_GET_VALUE:
        return s != nullptr ? MaskRowToLineEndType(s->row, s->enabled) : -1;
    case WM_PICKER_SET_FLAGS:
        if (s == nullptr) return -1;
        s->flags = static_cast<int>(lParam);
        InvalidateRect(field, nullptr, TRUE);
        return 0;
    case WM_PICKER_REMOVE_TYPE:
        // The row stays: hosts narrow the list first and set the type after, as they rely on.
        if (s != nullptr && lParam >= 0 && lParam < kLineEndTypeCount) {
            s->enabled[lParam] = 0;
            InvalidateRect(field, nullptr, TRUE);
        }
        return 0;
    case WM_LBUTTONDOWN:
        if (s == nullptr) return 0;
        if (s->flags & kPickerNotifyMode) NotifyPickerParent(field);
        else OpenPickerList(field, kind, s);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(field, &ps);
        PaintMarkField(field, dc, s, side);
        EndPaint(field, &ps);
        return 0;
    }
    default:
        return PickerFieldCommon(field, message, wParam, lParam);
    }
}

LRESULT CALLBACK StartFieldProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return MarkFieldProc(kStartKind, 0, w, m, wp, lp); }
LRESULT CALLBACK EndFieldProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return MarkFieldProc(kEndKind, 1, w, m, wp, lp); }
LRESULT CALLBACK StartPopupProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return PickerPopupProc(kStartKind, w, m, wp, lp); }
LRESULT CALLBACK EndPopupProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return PickerPopupProc(kEndKind, w, m, wp, lp); }

}  // namespace

const PickerPopupContext& LineEndPickerContext() { return g_markContext; }

int RegisterLineStartMarkPickerClasses(HINSTANCE instance)
{
    return RegisterPickerClassPair(instance, "cmdltermsclass", StartFieldProc, "vyltermswndclass", StartPopupProc);
}

int RegisterLineEndMarkPickerClasses(HINSTANCE instance)
{
    return RegisterPickerClassPair(instance, "cmdltermeclass", EndFieldProc, "vyltermewndclass", EndPopupProc);
}

int UnregisterLineStartMarkPickerClass(HINSTANCE instance)
{
    UnregisterClassA("cmdltermsclass", instance);
    return 1;
}

int UnregisterLineEndMarkPickerClass(HINSTANCE instance)
{
    UnregisterClassA("cmdltermeclass", instance);
    return 1;
}
