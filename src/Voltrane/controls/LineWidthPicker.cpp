#include "controls/LineWidthPicker.h"

#include "controls/LineAttrLists.h"
#include "controls/LineAttrPainters.h"
#include "controls/PickerField.h"

#include <cstdio>
#include <cstring>

namespace {

PickerPopupContext g_widthContext = {};

double WidthOf(int number)
{
    double widths[kLineWidthCount];
    ReadLineWidths(widths);
    return widths[number >= 0 && number < kLineWidthCount ? number : 0];
}

void FillWidthRows(HWND combo, void* state)
{
    FillNumberedRows(combo, kLineWidthCount, static_cast<PickerFieldState*>(state)->value);
}

void PaintWidthRow(const DRAWITEMSTRUCT& item, void*)
{
    const bool selected = BeginPickerRow(item);
    const int r = static_cast<int>(item.itemID);
    if (r < 0 || r >= kLineWidthCount) return;
    const RECT& rc = item.rcItem;
    const double width = WidthOf(r);
    char text[64];
    snprintf(text, sizeof text, "線幅%d", r);
    TextOutA(item.hDC, rc.left + 4, rc.top + 4, text, static_cast<int>(strlen(text)));
    snprintf(text, sizeof text, "%.2lf mm", width);
    TextOutA(item.hDC, rc.right - 65, rc.top + 4, text, static_cast<int>(strlen(text)));
    int n = WidthThickness(width);
    if (n > rc.bottom - rc.top - 8) n = rc.bottom - rc.top - 8;
    if (n < 0) return;
    // Every thickness, 0 included, runs n + 1 rows from just above the middle.
    PenAndBrush tools(item.hDC, selected ? GetSysColor(COLOR_WINDOW) : 0);
    const int first = (rc.top + rc.bottom) / 2 - n / 2 - 1;
    for (int y = first; y <= first + n; ++y) {
        MoveToEx(item.hDC, rc.left + 62, y, nullptr);
        LineTo(item.hDC, rc.right - 70, y);
    }
}

void StoreWidth(void* state, int selection) { static_cast<PickerFieldState*>(state)->value = selection; }

const PickerKind kWidthKind = {"vylwidwndclass", 250, false, 460, 26, false, &g_widthContext,
                               FillWidthRows, PaintWidthRow, StoreWidth};

void PaintWidthField(HWND field, HDC dc, const PickerFieldState* s)
{
    FieldPaint p;
    BeginFieldPaint(field, dc, s != nullptr ? s->flags : 0, p);
    if (s != nullptr) {
        char text[64];
        snprintf(text, sizeof text, "%d", s->value);
        const int y = (p.h - p.fontHeight) / 2;
        TextOutA(dc, 5, y, text, static_cast<int>(strlen(text)));
        const double width = WidthOf(s->value);
        int barEnd = p.b - 4;
        if (p.w >= 60) {
            snprintf(text, sizeof text, "%.2lfmm", width);
            TextOutA(dc, p.b - 45, y, text, static_cast<int>(strlen(text)));
            barEnd = p.b - 48;
        }
        int n = WidthThickness(width);
        if (n > p.h - 6) n = p.h - 6;
        PenAndBrush tools(dc, 0);
        DrawThickRows(dc, p.h / 2, n, p.compact ? 18 : 20, barEnd);
    }
    EndFieldPaint(dc, p);
}

LRESULT CALLBACK WidthFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    // In notify mode a click on a width field does nothing.
    return ValueFieldProc(kWidthKind, PaintWidthField, false, field, message, wParam, lParam);
}

LRESULT CALLBACK WidthPopupProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return PickerPopupProc(kWidthKind, w, m, wp, lp); }

}  // namespace

const PickerPopupContext& LineWidthPickerContext() { return g_widthContext; }

int RegisterLineWidthPickerClasses(HINSTANCE instance)
{
    return RegisterPickerClassPair(instance, "cmdlwidclass", WidthFieldProc, "vylwidwndclass", WidthPopupProc);
}

int UnregisterLineWidthPickerClass(HINSTANCE instance)
{
    UnregisterClassA("cmdlwidclass", instance);
    return 1;
}
