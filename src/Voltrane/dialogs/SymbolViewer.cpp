#include "dialogs/SymbolViewer.h"

#include <cstring>

#include "EngineRecords.h"
#include "core/MonitorHelpers.h"
#include "dialogs/InputHelperHost.h"
#include "dialogs/SymbolFile.h"
#include "dialogs/SymbolPainter.h"

namespace {

// Where the preview's origin lies in its cell, and the extent a symbol is scaled to around it.
constexpr int kPreviewOriginX = 48;
constexpr int kPreviewOriginY = 43;
constexpr double kPreviewWidth = 96;
constexpr double kPreviewHeight = 86;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 8;
// The colour a symbol without its own colour is drawn in, on the cells' black background.
constexpr int kDefaultSymbolColour = 7;
const COLORREF kCellBackground = RGB(0, 0, 0);
const COLORREF kSelectedBackground = RGB(0, 0, 128);

struct SymbolCell {
    bool drawable = false;
    std::string name;
    std::vector<unsigned char> records;
    std::vector<std::string> texts;
};

SymbolViewerInputs g_inputs;
SymbolViewerView g_view;
std::vector<SymbolCell> g_cells;
HFONT g_nameFont = nullptr;
WNDPROC g_cellAreaProc = nullptr;
SymbolPreviewInputs g_preview;

void LoadCell(HWND dialog, const std::string& path, SymbolCell* cell)
{
    SymbolFile symbol;
    if (!ReadSymbolFile(path.c_str(), &symbol)) {
        MessageBoxA(dialog, "Read Error", "Err", MB_OK | MB_ICONWARNING);
        return;
    }
    cell->name = SymbolCellName(symbol.name);
    if (!SymbolToRecords(symbol, 1, kDefaultSymbolColour, kPreviewWidth, kPreviewHeight, &cell->records,
                         &cell->texts)) {
        cell->records.clear();
        MessageBoxA(dialog, "Transfar Error", "Err", MB_OK | MB_ICONWARNING);
        return;
    }
    cell->drawable = true;
}

void PaintCells(HWND area, HDC dc)
{
    RECT client;
    GetClientRect(area, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    HGDIOBJ oldFont = SelectObject(dc, g_nameFont != nullptr ? g_nameFont : GetStockObject(DEFAULT_GUI_FONT));
    const int count = static_cast<int>(g_cells.size());
    for (int row = 0; row < g_view.rows; ++row) {
        for (int column = 0; column < g_view.columns; ++column) {
            const int index = (g_view.scroll + row) * g_view.columns + column;
            if (index >= count) continue;
            const RECT cell = {5 + column * kSymbolCellWidth, row * kSymbolCellHeight,
                               5 + (column + 1) * kSymbolCellWidth - 1, (row + 1) * kSymbolCellHeight - 1};
            const COLORREF back = index == g_inputs.selection ? kSelectedBackground : kCellBackground;
            HBRUSH brush = CreateSolidBrush(back);
            FillRect(dc, &cell, brush);
            DeleteObject(brush);
            const SymbolCell& symbol = g_cells[index];
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
            if (symbol.drawable) {
                PaintSymbolRecords(dc, symbol.records.data(), symbol.records.size() / kElementRecordSize,
                                   POINT{cell.left + kPreviewOriginX, cell.top + kPreviewOriginY}, -1);
            }
            RECT name = {cell.left, cell.top + 92, cell.right, cell.bottom};
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(255, 255, 255));
            DrawTextA(dc, symbol.name.c_str(), static_cast<int>(symbol.name.size()), &name,
                      DT_CENTER | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
            RestoreDC(dc, saved);
        }
    }
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK CellAreaProc(HWND area, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        const int x = static_cast<short>(LOWORD(lParam));
        const int y = static_cast<short>(HIWORD(lParam));
        SendMessageA(GetParent(area), message == WM_LBUTTONDOWN ? kSymbolCellClick : kSymbolCellDoubleClick,
                     static_cast<WPARAM>(SymbolCellColumn(x)), static_cast<LPARAM>(SymbolCellRow(y)));
        return 0;
    }
    case WM_VSCROLL:
        PostMessageA(GetParent(area), kSymbolCellScroll, wParam, lParam);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(area, &ps);
        PaintCells(area, dc);
        EndPaint(area, &ps);
        return 0;
    }
    default:
        break;
    }
    return CallWindowProcA(g_cellAreaProc, area, message, wParam, lParam);
}

void LayOut(HWND dialog)
{
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    const SymbolGrid grid = SymbolGridFor(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), scrollBar,
                                          GetSystemMetrics(SM_CYCAPTION), g_inputs.twoRows);
    g_view.columns = grid.columns;
    g_view.rows = grid.rows;
    const int areaWidth = grid.columns * kSymbolCellWidth + scrollBar + 5;
    const int areaHeight = grid.rows * kSymbolCellHeight;
    HWND area = GetDlgItem(dialog, kSymbolCellArea);
    SetWindowPos(area, nullptr, 0, 0, areaWidth, areaHeight, SWP_NOZORDER);
    const int buttonsTop = areaHeight + kButtonGap;
    const int middle = areaWidth / 2;
    SetWindowPos(GetDlgItem(dialog, IDOK), nullptr, middle - kButtonGap / 2 - kButtonWidth, buttonsTop, kButtonWidth,
                 kButtonHeight, SWP_NOZORDER);
    SetWindowPos(GetDlgItem(dialog, IDCANCEL), nullptr, middle + kButtonGap / 2, buttonsTop, kButtonWidth,
                 kButtonHeight, SWP_NOZORDER);
    RECT frame = {0, 0, areaWidth, buttonsTop + kButtonHeight + kButtonGap};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work;
    GetWindowMonitorArea(dialog, &work);
    GetMonitorAreaAt((work.left + work.right) / 2, (work.top + work.bottom) / 2, &work, 1);
    SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER);

    const int count = static_cast<int>(g_inputs.files.size());
    g_view.scroll = 0;
    const bool overflows = (count + grid.columns - 1) / grid.columns > grid.rows;
    g_view.scrollMax = overflows ? SymbolScrollMax(count, grid.columns, grid.rows) : 0;
    SetScrollRange(area, SB_VERT, 0, g_view.scrollMax, FALSE);
    SetScrollPos(area, SB_VERT, 0, TRUE);
}

void Redraw(HWND dialog) { InvalidateRect(GetDlgItem(dialog, kSymbolCellArea), nullptr, TRUE); }

int CellIndex(WPARAM column, LPARAM row)
{
    return (g_view.scroll + static_cast<int>(row)) * g_view.columns + static_cast<int>(column);
}

void EndViewer(HWND dialog, INT_PTR code)
{
    HWND area = GetDlgItem(dialog, kSymbolCellArea);
    if (area != nullptr && g_cellAreaProc != nullptr) {
        SetWindowLongPtrA(area, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_cellAreaProc));
    }
    g_cellAreaProc = nullptr;
    EndDialog(dialog, code);
}

}  // namespace

SymbolViewerInputs& GetSymbolViewerInputs() { return g_inputs; }

const SymbolViewerView& GetSymbolViewerView() { return g_view; }

SymbolPreviewInputs& GetSymbolPreviewInputs() { return g_preview; }

int SymbolSelectionAfterClick(int selection, int index, int count)
{
    if (index < 0 || index >= count || index == selection) return -1;
    return index;
}

int SymbolScrollAfter(int position, int request, int thumb, int rows, int scrollMax)
{
    int next = position;
    switch (request) {
    case SB_LINEUP: next = position - 1; break;
    case SB_LINEDOWN: next = position + 1; break;
    case SB_PAGEUP: next = position - rows; break;
    case SB_PAGEDOWN: next = position + rows; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: next = thumb; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = scrollMax; break;
    default: break;
    }
    if (next > scrollMax) next = scrollMax;
    if (next < 0) next = 0;
    return next;
}

INT_PTR CALLBACK SymbolViewerDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        if (g_inputs.selection >= static_cast<int>(g_inputs.files.size())) g_inputs.selection = -1;
        g_cells.assign(g_inputs.files.size(), SymbolCell());
        if (g_nameFont == nullptr) {
            g_nameFont = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "ＭＳ Ｐゴシック");
        }
        HWND area = GetDlgItem(dialog, kSymbolCellArea);
        g_cellAreaProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(area, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CellAreaProc)));
        LayOut(dialog);
        if (!g_inputs.caption.empty()) SetWindowTextA(dialog, g_inputs.caption.c_str());
        InputHelperOwnerDrawButton(dialog, IDOK);
        for (size_t i = 0; i < g_inputs.files.size(); ++i) LoadCell(dialog, g_inputs.files[i], &g_cells[i]);
        return TRUE;
    }
    case kSymbolCellClick:
        g_inputs.selection = SymbolSelectionAfterClick(g_inputs.selection, CellIndex(wParam, lParam),
                                                       static_cast<int>(g_cells.size()));
        Redraw(dialog);
        return TRUE;
    case kSymbolCellDoubleClick: {
        const int index = CellIndex(wParam, lParam);
        if (index >= 0 && index < static_cast<int>(g_cells.size())) {
            g_inputs.selection = index;
            EndViewer(dialog, 1);
        }
        return TRUE;
    }
    case kSymbolCellScroll: {
        const int next = SymbolScrollAfter(g_view.scroll, LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                                           g_view.rows, g_view.scrollMax);
        if (next != g_view.scroll) {
            g_view.scroll = next;
            SetScrollPos(GetDlgItem(dialog, kSymbolCellArea), SB_VERT, next, TRUE);
            Redraw(dialog);
        }
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (g_inputs.selection >= 0) EndViewer(dialog, 1);
            return TRUE;
        case IDCANCEL:
            g_inputs.selection = -1;
            EndViewer(dialog, 0);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_DRAWITEM:
        if (wParam == IDOK) {
            InputHelperDrawOkButton(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        }
        return FALSE;
    case WM_DESTROY:
        g_cells.clear();
        if (g_nameFont != nullptr) {
            DeleteObject(g_nameFont);
            g_nameFont = nullptr;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR ShowSymbolViewer(HINSTANCE module, HWND owner)
{
    return DialogBoxParamA(module, "SYMBOLVIEW", owner, SymbolViewerDlgProc, 0);
}

LRESULT CALLBACK SymbolPreviewWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item == nullptr) break;
        HDC dc = item->hDC;
        HBRUSH brush = CreateSolidBrush(g_preview.background);
        FillRect(dc, &item->rcItem, brush);
        DeleteObject(brush);
        const int saved = SaveDC(dc);
        const int width = item->rcItem.right - item->rcItem.left;
        const int height = item->rcItem.bottom - item->rcItem.top;
        SetMapMode(dc, MM_ISOTROPIC);
        SetWindowExtEx(dc, static_cast<int>(g_preview.width), static_cast<int>(g_preview.height), nullptr);
        SetViewportExtEx(dc, width, -height, nullptr);
        SetViewportOrgEx(dc, item->rcItem.left + width / 2, item->rcItem.top + height / 2, nullptr);
        PaintSymbolRecords(dc, g_preview.records.data(), g_preview.records.size() / kElementRecordSize, POINT{0, 0},
                           1);
        RestoreDC(dc, saved);
        return TRUE;
    }
    case WM_CLOSE:
        ShowWindow(window, SW_HIDE);
        return 0;
    case WM_ERASEBKGND:
        return InputHelperEraseBackground(window, reinterpret_cast<HDC>(wParam));
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(InputHelperControlColour(
            window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), message == WM_CTLCOLORBTN ? 3 : 6));
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
