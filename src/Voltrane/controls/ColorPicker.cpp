#include "controls/ColorPicker.h"

#include "DravikDb.h"
#include "controls/LineAttrLists.h"
#include "controls/PickerField.h"
#include "controls/PickerHost.h"
#include "core/ConfigData.h"

#include <cstdio>
#include <cstring>

namespace {

PickerPopupContext g_colorContext = {};
// The list every reload from the drawing rebuilds.
ColorPickerList g_sharedColorList = {};

bool RowInside(const ColorPickerList& list, int row) { return row >= 0 && row < ColorPickerRowCount(list); }

void FillColorRows(HWND combo, void* state)
{
    const auto* list = static_cast<const ColorPickerList*>(state);
    const int count = ColorPickerRowCount(*list);
    for (int r = 0; r < count; ++r) {
        char text[16];
        snprintf(text, sizeof text, "%d", list->numbers[r]);
        const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        SendMessageA(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), list->colours[r]);
    }
    SendMessageA(combo, CB_SETCURSEL, RowInside(*list, list->currentRow) ? list->currentRow : -1, 0);
}

void PaintColorRow(const DRAWITEMSTRUCT& item, void* state)
{
    const auto* list = static_cast<const ColorPickerList*>(state);
    const int row = static_cast<int>(item.itemID);
    BeginPickerRow(item);
    if (!RowInside(*list, row)) return;
    const RECT& r = item.rcItem;
    if (list->numbers[row] >= 0) {
        char text[32];
        snprintf(text, sizeof text, "色%d", list->numbers[row]);
        TextOutA(item.hDC, r.left + 2, r.top + 2, text, static_cast<int>(strlen(text)));
    }
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(item.itemData));
    HGDIOBJ old = SelectObject(item.hDC, brush);
    HGDIOBJ oldPen = SelectObject(item.hDC, GetStockObject(BLACK_PEN));
    Rectangle(item.hDC, r.left + 45, r.top + 2, r.right - 10, r.bottom - 3);
    SelectObject(item.hDC, oldPen);
    SelectObject(item.hDC, old);
    DeleteObject(brush);
}

void StoreColorRow(void* state, int selection) { static_cast<ColorPickerList*>(state)->currentRow = selection; }

const PickerKind kColorKind = {"vycolorwndclass", 180, false, 460, 26, true, &g_colorContext,
                               FillColorRows, PaintColorRow, StoreColorRow};

// Reloads the field from the active drawing (list 0) or from the caller's list.
int Reload(ColorPickerList* state, const ColorPickerList* callerList, bool adjusted)
{
    HWND view = PickerActiveView();
    auto viewColor = GetPickerHostCalls().viewColorNumber;
    const int viewColorNumber = view != nullptr && viewColor != nullptr ? viewColor(view) : -1;
    // Nothing loads, not even a caller's list, without a drawing view that has its attributes.
    if (state == nullptr || view == nullptr || viewColorNumber < 0) return 0;
    if (callerList != nullptr) {
        const int flags = state->flags;
        memcpy(state, callerList, sizeof *state);
        state->currentRow = 0;
        state->flags = flags;
        return 1;
    }

    static ColourRecord defaults[kColourCount];
    const ColourRecord* records = nullptr;
    if (const DbInfoBlock* info = PickerActiveDrawingInfo()) {
        records = info->colours;
    } else {
        memset(defaults, 0, sizeof defaults);
        ZuriStyleGet(defaults, nullptr, nullptr);
        records = defaults;
    }
    const int flags = state->flags;
    {
        COLORREF* table = GetConfigDataRuntime().palette;
        table[0] = ColourOfRecord(records[0]);
        for (int n = 1; n <= 256; ++n) {
            const COLORREF colour = ColourOfRecord(records[n]);
            table[n] = colour;
            g_sharedColorList.numbers[n - 1] = n;
            g_sharedColorList.colours[n - 1] = static_cast<int>(adjusted ? PickerVisibleAgainstBackground(colour) : colour);
        }
        g_sharedColorList.count = 256;
        memcpy(state, &g_sharedColorList, sizeof *state);
        state->currentRow = viewColorNumber - 1;
    }
    state->flags = flags;
    return 1;
}

void PaintColorField(HWND field, HDC dc, const ColorPickerList* list)
{
    FieldPaint p;
    BeginFieldPaint(field, dc, list != nullptr ? list->flags : 0, p);
    if (list != nullptr) {
        const int row = list->currentRow;
        const bool inside = RowInside(*list, row);
        if (inside && list->numbers[row] >= 0) {
            char text[16];
            snprintf(text, sizeof text, "%d", list->numbers[row]);
            TextOutA(dc, 5, (p.h - p.fontHeight) / 2, text, static_cast<int>(strlen(text)));
        }
        // A row outside the list shows an empty swatch.
        HBRUSH brush = inside ? CreateSolidBrush(static_cast<COLORREF>(list->colours[row])) : nullptr;
        HGDIOBJ oldBrush = SelectObject(dc, brush != nullptr ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        Rectangle(dc, p.compact ? 24 : 27, 3, p.b - 3, p.h - 3);
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        if (brush != nullptr) DeleteObject(brush);
        if (p.disabled) {
            const COLORREF face = GetSysColor(COLOR_BTNFACE);
            for (int y = 4; y <= p.h - 6; ++y)
                for (int x = 27 + (y % 2); x < p.w; x += 2) SetPixel(dc, x, y, face);
        }
    }
    EndFieldPaint(dc, p);
}

LRESULT ColorFieldProc(bool adjusted, HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* list = static_cast<ColorPickerList*>(PickerStateOf(field));
    switch (message) {
    case WM_CREATE:
        SetWindowLongA(field, 0, 0);
        AllocPickerState(field, sizeof(ColorPickerList));
        SendMessageA(field, WM_PICKER_RELOAD, 0, 0);
        return 0;
    case WM_DESTROY:
        ReleasePickerState(field, g_colorContext);
        return 0;
    case WM_PICKER_RELOAD: {
        const int loaded = Reload(list, reinterpret_cast<const ColorPickerList*>(lParam), adjusted);
        if (loaded != 0) InvalidateRect(field, nullptr, TRUE);
        return loaded;
    }
    case WM_PICKER_SET_VALUE:
        if (list == nullptr) return 0;
        list->currentRow = static_cast<int>(lParam);
        InvalidateRect(field, nullptr, TRUE);
        return 1;
    case WM_PICKER_GET_VALUE:
        return list != nullptr ? list->currentRow : -1;
    case WM_PICKER_SET_FLAGS:
        if (list == nullptr) return -1;
        list->flags = static_cast<int>(lParam);
        InvalidateRect(field, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
        if (list == nullptr) return 0;
        if (list->flags & kPickerNotifyMode) NotifyPickerParent(field);
        else OpenPickerList(field, kColorKind, list);
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(field, &ps);
        PaintColorField(field, dc, list);
        EndPaint(field, &ps);
        return 0;
    }
    default:
        return PickerFieldCommon(field, message, wParam, lParam);
    }
}

LRESULT CALLBACK AdjustedColorFieldProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ColorFieldProc(true, w, m, wp, lp); }
LRESULT CALLBACK StoredColorFieldProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return ColorFieldProc(false, w, m, wp, lp); }
LRESULT CALLBACK ColorPopupProc(HWND w, UINT m, WPARAM wp, LPARAM lp) { return PickerPopupProc(kColorKind, w, m, wp, lp); }

}  // namespace

const PickerPopupContext& ColorPickerContext() { return g_colorContext; }

int ColorPickerRowCount(const ColorPickerList& list)
{
    if (list.count < 0) return 0;
    return list.count > kColorPickerRows ? kColorPickerRows : list.count;
}

int RegisterColorPickerClasses(HINSTANCE instance)
{
    RegisterPickerFieldClass(instance, "cmdcolorclass", AdjustedColorFieldProc, true);
    RegisterPickerFieldClass(instance, "cmdcolorclass2", StoredColorFieldProc, true);
    return RegisterPickerFieldClass(instance, "vycolorwndclass", ColorPopupProc, false);
}

int UnregisterColorPickerClasses(HINSTANCE instance)
{
    UnregisterClassA("cmdcolorclass", instance);
    UnregisterClassA("cmdcolorclass2", instance);
    return 1;
}
