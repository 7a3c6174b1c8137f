#include "controls/PointMarkerPicker.h"

#include "controls/PickerField.h"
#include "controls/PickerHost.h"

#include <cstdio>
#include <cstring>

namespace {

PickerPopupContext g_pointContext = {};

void Stroke(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void FillPointRows(HWND combo, void* state)
{
    FillNumberedRows(combo, 7, static_cast<PickerFieldState*>(state)->value);
}

void PaintPointRow(const DRAWITEMSTRUCT& item, void*)
{
    const bool selected = BeginPickerRow(item);
    const int k = static_cast<int>(item.itemID);
    if (k < 0 || k >= 7) return;
    const RECT& rc = item.rcItem;
    char text[16];
    snprintf(text, sizeof text, "%d", k);
    TextOutA(item.hDC, rc.left + 2, rc.top, text, static_cast<int>(strlen(text)));
    TextOutA(item.hDC, rc.right - 60, rc.top, PointMarkerName(k), static_cast<int>(strlen(PointMarkerName(k))));
    PenAndBrush tools(item.hDC, selected ? GetSysColor(COLOR_WINDOW) : 0);
    DrawPointMarker(item.hDC, k, rc.left + 20, rc.top + 2, rc.right - 70, rc.bottom - 2);
}

void StorePoint(void* state, int selection) { static_cast<PickerFieldState*>(state)->value = selection; }

const PickerKind kPointKind = {"vypointwndclass", 150, false, 300, 16, false, &g_pointContext,
                               FillPointRows, PaintPointRow, StorePoint};

void PaintPointField(HWND field, HDC dc, const PickerFieldState* s)
{
    FieldPaint p;
    BeginFieldPaint(field, dc, s != nullptr ? s->flags : 0, p);
    if (s != nullptr) {
        const int k = s->value >= 0 && s->value <= 6 ? s->value : 0;
        char text[16];
        snprintf(text, sizeof text, "%d", k);
        const int y = (p.h - p.fontHeight) / 2;
        TextOutA(dc, 5, y, text, static_cast<int>(strlen(text)));
        TextOutA(dc, p.w - 65, y, PointMarkerName(k), static_cast<int>(strlen(PointMarkerName(k))));
        PenAndBrush tools(dc, 0);
        DrawPointMarker(dc, k, 20, 2, p.w - 70, p.h - 2);
    }
    EndFieldPaint(dc, p);
}

LRESULT CALLBACK PointFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ValueFieldProc(kPointKind, PaintPointField, true, field, message, wParam, lParam);
}

LRESULT CALLBACK PointPopupProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return PickerPopupProc(kPointKind, w, m, wp, lp); }

}  // namespace

const PickerPopupContext& PointMarkerPickerContext() { return g_pointContext; }

const char* PointMarkerName(int kind)
{
    switch (kind) {
    case 1: return "asterisk";
    case 2: return "circle";
    case 3: return "dot";
    case 4: return "plus";
    case 5: return "square";
    case 6: return "triangle";
    default: return "X";
    }
}

void DrawPointMarker(HDC dc, int kind, int left, int top, int right, int bottom)
{
    const int cx = (left + right) / 2, cy = (top + bottom) / 2;
    switch (kind) {
    case 1:
        Stroke(dc, cx, cy - 4, cx, cy + 5);
        Stroke(dc, cx - 3, cy - 2, cx + 4, cy + 3);
        Stroke(dc, cx + 3, cy - 2, cx - 4, cy + 3);
        break;
    case 2:
        MoveToEx(dc, cx + 4, cy, nullptr);
        AngleArc(dc, cx, cy, 4, 0.0f, 360.0f);
        break;
    case 3:
        Ellipse(dc, cx - 2, cy - 2, cx + 2, cy + 2);
        break;
    case 4:
        Stroke(dc, cx - 4, cy, cx + 5, cy);
        Stroke(dc, cx, cy - 4, cx, cy + 5);
        break;
    case 5: {
        POINT p[] = {{cx - 4, cy - 4}, {cx - 4, cy + 4}, {cx + 4, cy + 4}, {cx + 4, cy - 4}, {cx - 4, cy - 4}};
        Polyline(dc, p, 5);
        break;
    }
    case 6: {
        POINT p[] = {{cx - 4, cy + 4}, {cx, cy - 3}, {cx + 4, cy + 4}, {cx - 4, cy + 4}};
        Polyline(dc, p, 4);
        break;
    }
    default:
        Stroke(dc, cx - 4, cy - 4, cx + 5, cy + 5);
        Stroke(dc, cx + 4, cy - 4, cx - 5, cy + 5);
        break;
    }
}

int RegisterPointMarkPickerClasses(HINSTANCE instance)
{
    return RegisterPickerClassPair(instance, "cmdpointclass", PointFieldProc, "vypointwndclass", PointPopupProc);
}

int UnregisterPointMarkPickerClass(HINSTANCE instance)
{
    // Class names compare without regard to case.
    UnregisterClassA("cmdPointclass", instance);
    return 1;
}
