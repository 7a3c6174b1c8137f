#include "controls/LayerPicker.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "controls/PickerField.h"
#include "controls/PickerHost.h"
#include "core/Dbcs.h"

namespace {

PickerPopupContext g_layerContext = {};

const LayerTreePageInfo* PageOfNumber(const LayerTreeInfo& tree, int number)
{
    for (const LayerTreePageInfo& page : tree.pages)
        if (page.page == number) return &page;
    return nullptr;
}

// The layer of that number on the page record of that page number, and its group.
const LayerTreeLayerInfo* LayerOfNumbers(const LayerTreeInfo& tree, int pageNumber, int layerNumber,
                                         const LayerTreeGroupInfo** group)
{
    const LayerTreePageInfo* page = PageOfNumber(tree, pageNumber);
    if (page == nullptr) return nullptr;
    for (const LayerTreeGroupInfo& g : page->groups)
        for (const LayerTreeLayerInfo& l : g.layers)
            if (l.number == layerNumber) {
                if (group != nullptr) *group = &g;
                return &l;
            }
    return nullptr;
}

bool DrawingActive() { return PickerActiveDb() != nullptr; }

HFONT LayerFont(int height)
{
    return CreateFontA(height, 0, 0, 0, FW_DONTCARE, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
}

void Text(HDC dc, int x, int y, const char* text) { TextOutA(dc, x, y, text, static_cast<int>(strlen(text))); }

// ---- the list ----

void FillLayerRows(HWND combo, void* state)
{
    auto* tree = static_cast<LayerTreeInfo*>(state);
    EnsureLayerPageTree(*tree);
    const int count = LayerTreeRowCount(*tree);
    for (int r = 0; r < count; ++r) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", r);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
    const int selected = tree->currentItemId;
    SendMessageA(combo, CB_SETCURSEL, selected >= 0 && selected < count ? selected : -1, 0);
}

void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void Square(HDC dc, int left, int top, int right, int bottom)
{
    POINT p[] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    Polyline(dc, p, 5);
}

void PaintLayerRow(const DRAWITEMSTRUCT& item, void* state)
{
    const bool selected = BeginPickerRow(item);
    const auto* tree = static_cast<const LayerTreeInfo*>(state);
    const LayerTreeRow row = FindLayerTreeRow(*tree, static_cast<int>(item.itemID));
    if (row.kind == kLayerItemNone) return;
    const RECT& rc = item.rcItem;
    const int s = (rc.bottom - rc.top) / 2, c = s / 2, middle = (rc.top + rc.bottom) / 2;
    HDC dc = item.hDC;
    HFONT font = LayerFont(12);
    HGDIOBJ oldFont = SelectObject(dc, font);
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    const LayerTreePageInfo& page = tree->pages[row.page];
    const bool lastGroup = row.group == static_cast<int>(page.groups.size()) - 1;
    switch (row.kind) {
    case kLayerItemPage:
        Square(dc, 5, rc.top + c, 5 + s, rc.bottom - c);
        Line(dc, c + 5, rc.bottom - c, c + 5, rc.bottom);
        Text(dc, rc.left + s + 10, rc.top + 2, page.name);
        break;
    case kLayerItemGroup:
        Line(dc, c + 5, rc.top, c + 5, lastGroup ? middle : rc.bottom);
        Line(dc, c + 5, middle, c + 20, middle);
        Square(dc, c + 20, rc.top + c, c + 20 + s, rc.bottom - c);
        Line(dc, 2 * c + 20, rc.bottom - c, 2 * c + 20, rc.bottom);
        Text(dc, rc.left + s + s / 2 + 25, rc.top + 2, page.groups[row.group].name);
        break;
    default: {
        const LayerTreeGroupInfo& group = page.groups[row.group];
        const bool lastLayer = row.layer == static_cast<int>(group.layers.size()) - 1;
        if (!lastGroup) Line(dc, c + 5, rc.top, c + 5, rc.bottom);
        Line(dc, 2 * c + 20, rc.top, 2 * c + 20, lastLayer ? middle : rc.bottom);
        Line(dc, 2 * c + 20, middle, 2 * c + 35, middle);
        Text(dc, rc.left + 2 * (s / 2) + 40, rc.top + 2, group.layers[row.layer].name);
        break;
    }
    }
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// A page row takes the first layer of its first group, a group row its first layer, a layer
// row itself. A row without a layer under it keeps the field's layer; the field is told all the
// same, as after any closing of the list.
void StoreLayerRow(void* state, int selection)
{
    auto* tree = static_cast<LayerTreeInfo*>(state);
    EnsureLayerPageTree(*tree);
    const LayerTreeRow row = FindLayerTreeRow(*tree, selection);
    if (row.kind == kLayerItemNone) return;
    const LayerTreePageInfo& page = tree->pages[row.page];
    const LayerTreeGroupInfo* group = nullptr;
    if (row.kind == kLayerItemPage) group = page.groups.empty() ? nullptr : &page.groups.front();
    else group = &page.groups[row.group];
    if (group == nullptr || group->layers.empty()) return;
    const LayerTreeLayerInfo& layer = row.kind == kLayerItemLayer ? group->layers[row.layer] : group->layers.front();
    tree->currentPage = page.page;
    tree->currentLayer = layer.number;
    tree->currentItemId = layer.itemId;
}

const PickerKind kLayerKind = {"vylayerwndclass", 250, false, 300, 16, false, &g_layerContext,
                               FillLayerRows, PaintLayerRow, StoreLayerRow};

// ---- the field ----

void PaintLayerField(HWND field, HDC dc, LayerTreeInfo* tree)
{
    RECT rc;
    GetClientRect(field, &rc);
    const int w = rc.right, h = rc.bottom;
    const bool disabled = !IsWindowEnabled(field);
    FillRect(dc, &rc, GetSysColorBrush(disabled ? COLOR_BTNFACE : COLOR_WINDOW));
    if (tree != nullptr && DrawingActive()) {
        HFONT font = LayerFont(h < 18 ? h - 2 : 12);
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetBkMode(dc, TRANSPARENT);
        // The tree may be rebuilt here, which moves the field to the drawing's current layer.
        EnsureLayerPageTree(*tree);
        char group[kGroupNameSize], layer[kLayerNameSize];
        bool red = false;
        LayerFieldTexts(*tree, group, layer, &red);
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        const int x = tm.tmAveCharWidth / 2;
        SetTextColor(dc, GetSysColor(disabled ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
        Text(dc, x, h / 4 - tm.tmHeight / 2 + 1, group);
        if (red) SetTextColor(dc, RGB(255, 0, 0));
        Text(dc, x, 3 * (h / 4) - tm.tmHeight / 2, layer);
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }
    DrawSunkenFrame(dc, 0, 0, w, h);
    const int b = w - 14;
    DrawRaisedButton(dc, b - 2, 2, w - 2, h - 2);
}

void FreeLayerState(HWND field)
{
    LayerTreeInfo* tree = LayerPickerTree(field);
    SetWindowLongPtrA(field, 4, 0);
    if (tree == nullptr) return;
    // A list closing while its field is destroyed must find no tree to store into.
    if (g_layerContext.state == tree) {
        g_layerContext.state = nullptr;
        g_layerContext.openMark = 0;
    }
    FreeLayerPageTree(*tree);
    delete tree;
}

LRESULT CALLBACK LayerFieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam)
{
    LayerTreeInfo* tree = LayerPickerTree(field);
    switch (message) {
    case WM_CREATE:
        SetWindowLongPtrA(field, 0, 0);
        SetWindowLongPtrA(field, 4, reinterpret_cast<LONG_PTR>(new (std::nothrow) LayerTreeInfo()));
        SendMessageA(field, WM_PICKER_RELOAD, 0, 0);
        return 0;
    case WM_DESTROY:
        FreeLayerState(field);
        return 0;
    case WM_PICKER_RELOAD:
        if (tree == nullptr) return 0;
        if (lParam != 0) BuildLayerPageTreeFromTable(*tree, *reinterpret_cast<const LayerInfoBlock*>(lParam));
        else if (DrawingActive()) BuildLayerPageTree(*tree);
        else FreeLayerPageTree(*tree);
        InvalidateRect(field, nullptr, TRUE);
        return 1;
    case WM_PICKER_SET_VALUE: {
        if (tree == nullptr) return 0;
        tree->currentPage = static_cast<int>(wParam);
        tree->currentLayer = static_cast<int>(lParam);
        if (const LayerTreeLayerInfo* layer = LayerOfNumbers(*tree, tree->currentPage, tree->currentLayer, nullptr))
            tree->currentItemId = layer->itemId;
        InvalidateRect(field, nullptr, TRUE);
        return 1;
    }
    case WM_PICKER_GET_VALUE:
        return tree != nullptr ? tree->currentLayer : -1;
    case WM_PICKER_SET_FLAGS:
        // The layer field has no display flags: this asks for the page.
        return tree != nullptr ? tree->currentPage : -1;
    case WM_LBUTTONDOWN: {
        const auto pickMode = GetPickerHostCalls().layerPickMode;
        if (tree == nullptr || (pickMode != nullptr && pickMode() != 0) || !DrawingActive()) return 0;
        OpenPickerList(field, kLayerKind, tree);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(field, &ps);
        PaintLayerField(field, dc, tree);
        EndPaint(field, &ps);
        return 0;
    }
    default:
        return PickerFieldCommon(field, message, wParam, lParam);
    }
}

LRESULT CALLBACK LayerPopupProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = PickerPopupProc(kLayerKind, window, message, wParam, lParam);
    // The list has closed: the keyboard goes back to where the user was typing.
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_CLOSEUP) PickerRestoreInputFocus();
    return result;
}

}  // namespace

const PickerPopupContext& LayerPickerContext() { return g_layerContext; }

LayerTreeInfo* LayerPickerTree(HWND field) { return static_cast<LayerTreeInfo*>(PickerStateOf(field)); }

LayerTreeRow FindLayerTreeRow(const LayerTreeInfo& tree, int row)
{
    LayerTreeRow found;
    if (row < 0) return found;
    for (int p = 0; p < tree.PageCount(); ++p) {
        const LayerTreePageInfo& page = tree.pages[p];
        if (page.itemId == row) {
            found.kind = kLayerItemPage, found.page = p;
            return found;
        }
        for (int g = 0; g < static_cast<int>(page.groups.size()); ++g) {
            const LayerTreeGroupInfo& group = page.groups[g];
            if (group.itemId == row) {
                found.kind = kLayerItemGroup, found.page = p, found.group = g;
                return found;
            }
            for (int l = 0; l < static_cast<int>(group.layers.size()); ++l) {
                if (group.layers[l].itemId != row) continue;
                found.kind = kLayerItemLayer, found.page = p, found.group = g, found.layer = l;
                return found;
            }
        }
    }
    return found;
}

int LayerTreeRowCount(const LayerTreeInfo& tree)
{
    int count = 0;
    for (const LayerTreePageInfo& page : tree.pages) {
        ++count;
        for (const LayerTreeGroupInfo& group : page.groups) count += 1 + static_cast<int>(group.layers.size());
    }
    return count;
}

void LayerFieldTexts(const LayerTreeInfo& tree, char* group, char* layer, bool* red)
{
    group[0] = layer[0] = '\0';
    *red = false;
    const LayerTreeGroupInfo* g = nullptr;
    if (const LayerTreeLayerInfo* l = LayerOfNumbers(tree, tree.currentPage, tree.currentLayer, &g)) {
        DbcsCopy(group, kGroupNameSize, g->name);
        DbcsCopy(layer, kLayerNameSize, l->name);
    }
    if (group[0] == '\0' && layer[0] == '\0' && tree.currentLayer >= 0) {
        std::snprintf(layer, kLayerNameSize, "レイヤ %d", tree.currentLayer + 1);
        *red = true;
    }
}

int RegisterLayerPickerClasses(HINSTANCE instance)
{
    return RegisterPickerClassPair(instance, "cmdlayerclass", LayerFieldProc, "vylayerwndclass", LayerPopupProc);
}

int UnregisterLayerPickerClasses(HINSTANCE instance)
{
    UnregisterClassA("cmdlayerclass", instance);
    UnregisterClassA("vylayerwndclass", instance);
    return 1;
}
