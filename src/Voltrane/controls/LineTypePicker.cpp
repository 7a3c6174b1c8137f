#include "controls/LineTypePicker.h"

#include "controls/LineAttrLists.h"
#include "controls/LineAttrPainters.h"
#include "controls/PickerField.h"

#include <cstdio>
#include <cstring>

namespace {

PickerPopupContext g_lineTypeContext = {};

// The line-type records the painters read anew at every paint.
const LineTypeRecord& RecordOf(int number)
{
    static LineTypeRecord records[kLineTypeCount];
    ReadLineTypeRecords(records);
    return records[number >= 0 && number < kLineTypeCount ? number : 0];
}

void FillLineTypeRows(HWND combo, void* state)
{
    FillNumberedRows(combo, kLineTypeCount, static_cast<PickerFieldState*>(state)->value);
}

void PaintLineTypeRow(const DRAWITEMSTRUCT& item, void*)
{
    const bool selected = BeginPickerRow(item);
    const int r = static_cast<int>(item.itemID);
    if (r < 0 || r >= kLineTypeCount) return;
    char text[32];
    snprintf(text, sizeof text, "線種%d", r);
    const RECT& rc = item.rcItem;
    TextOutA(item.hDC, rc.left + 2, rc.top + 2, text, static_cast<int>(strlen(text)));
    const LineTypeRecord& record = RecordOf(r);
    PenAndBrush tools(item.hDC, selected ? GetSysColor(COLOR_WINDOW) : 0);
    DrawDashWalk(item.hDC, record.dashCount, record.dashMm, rc.left + 62, rc.right - 8, (rc.top + rc.bottom) / 2);
}

void StoreLineType(void* state, int selection) { static_cast<PickerFieldState*>(state)->value = selection; }

const PickerKind kLineTypeKind = {"vyltypewndclass", 180, false, 460, 26, true, &g_lineTypeContext,
                                  FillLineTypeRows, PaintLineTypeRow, StoreLineType};

void PaintLineTypeField(HWND field, HDC dc, const PickerFieldState* s)
{
    FieldPaint p;
    BeginFieldPaint(field, dc, s != nullptr ? s->flags : 0, p);
    if (s != nullptr) {
        char text[16];
        snprintf(text, sizeof text, "%d", s->value);
        TextOutA(dc, 5, (p.h - p.fontHeight) / 2, text, static_cast<int>(strlen(text)));
        const LineTypeRecord& record = RecordOf(s->value);
        PenAndBrush tools(dc, 0);
        DrawDashWalk(dc, record.dashCount, record.dashMm, p.compact ? 18 : 20, p.b - 4, p.h / 2);
    }
    EndFieldPaint(dc, p);
}

}  // namespace

const PickerPopupContext& LineTypePickerContext() { return g_lineTypeContext; }

LRESULT CALLBACK LineTypeFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ValueFieldProc(kLineTypeKind, PaintLineTypeField, true, field, message, wParam, lParam);
}

LRESULT CALLBACK LineTypePopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return PickerPopupProc(kLineTypeKind, window, message, wParam, lParam);
}

int RegisterLineTypePickerClasses(HINSTANCE instance)
{
    return RegisterPickerClassPair(instance, "cmdltypeclass", LineTypeFieldProc, "vyltypewndclass", LineTypePopupProc);
}

int UnregisterLineTypePickerClass(HINSTANCE instance)
{
    UnregisterClassA("cmdltypeclass", instance);
    return 1;
}
