#include "view/LayoutCells.h"

#include <cstring>

#include "DravikDb.h"
#include "HostMessages.h"
#include "InputCodes.h"
#include "commands/InputEvent.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "core/SystemLog.h"
#include "drawing/LayoutPageTable.h"
#include "drawing/PageOperations.h"
#include "view/RubberBand.h"
#include "view/ViewCoordinates.h"
#include "view/ViewPaint.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

int g_pickedLayer = 0;
int g_pickedPage = 0;
int g_recheck = 0;

constexpr COLORREF kInvalidCell = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kCaptionBack = RGB(0x60, 0x60, 0x60);

PDBINFO* ParentBlock(HWND cell)
{
    HWND view = ::GetParent(cell);
    return view ? GetViewBlock(view) : nullptr;
}

int CellIndex(HWND cell) { return static_cast<int>(::GetWindowLongPtrA(cell, 4)); }

void InvalidateCells(HWND view)
{
    for (HWND cell = GetFirstLayoutCell(view); cell; cell = GetNextLayoutCell(cell)) ::InvalidateRect(cell, nullptr, TRUE);
}

void SetGroupRange(HWND view, int items)
{
    ::SetScrollRange(view, SB_VERT, 1, LayoutGroupCount(items), FALSE);
    ::SetScrollPos(view, SB_VERT, 1, TRUE);
}

void SetStyleBits(HWND view, LONG_PTR add, LONG_PTR remove)
{
    LONG_PTR style = ::GetWindowLongPtrA(view, GWL_STYLE);
    ::SetWindowLongPtrA(view, GWL_STYLE, (style | add) & ~remove);
    ::SetWindowPos(view, nullptr, 0, 0, 0, 0, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
}

void NotifyToolPanel(WPARAM wParam)
{
    if (HWND panel = GetToolPanelWindow()) ::SendMessageA(panel, WM_COMMAND, wParam, 0);
}

void LeavePageLayout(HWND view, PDBINFO* block)
{
    block->pageLayout = 0;
    while (HWND cell = GetFirstLayoutCell(view)) {
        ::ShowWindow(cell, SW_HIDE);
        ::DestroyWindow(cell);
    }
    if (GetLocalSettingsLive().setup.bScTestBtn != 0) {
        SetStyleBits(view, 0, WS_HSCROLL | WS_VSCROLL);
    } else {
        SetStyleBits(view, WS_HSCROLL | WS_VSCROLL, 0);
        ::SetScrollRange(view, SB_HORZ, 0, 100, FALSE);
        ::SetScrollRange(view, SB_VERT, 0, 100, FALSE);
        ::SetScrollPos(view, SB_HORZ, 50, TRUE);
        ::SetScrollPos(view, SB_VERT, 50, TRUE);
    }
    NotifyToolPanel(100);
    ::InvalidateRect(view, nullptr, TRUE);
    ::UpdateWindow(view);
    if (GetInputEventRecord().acceptMask & kAcceptRubberBand) {
        UpdateRubberBand(view, 0, 0, 1);
        RaiseInputEvent(kEventPictureChanged);
    }
}

void EnterPageLayout(HWND view, PDBINFO* block)
{
    SetStyleBits(view, WS_VSCROLL, WS_HSCROLL);
    RECT client;
    ::GetClientRect(view, &client);
    auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrA(view, GWLP_HINSTANCE));
    for (int index = 0; index < kLayoutCellCount; ++index) {
        HWND cell = ::CreateWindowExA(0, "LAY_WND", "TEST", WS_CHILD, 0, 0, 0, 0, view, nullptr, instance, nullptr);
        if (cell == nullptr) continue;
        ::SetWindowLongPtrA(cell, 4, index);
    }
    PlaceLayoutCells(view, client.right, client.bottom);
    for (HWND cell = GetFirstLayoutCell(view); cell; cell = GetNextLayoutCell(cell)) ::ShowWindow(cell, SW_SHOW);
    block->pageLayout = 1;
    block->layoutGroup = 0;
    block->layoutPage = 0;
    // The cells may paint in any order: the table is ready before the first of them.
    BuildLayoutPageTable(block);
    SetGroupRange(view, CountDrawingPages(block->engineDb));
    NotifyToolPanel(MAKEWPARAM(100, 1));
}

void OnRightClick(HWND cell, PDBINFO* block)
{
    HWND view = ::GetParent(cell);
    const int n = LayoutCellNumber(CellIndex(cell), block->layoutGroup);
    if (block->pageLayout == 2) {
        block->pageLayout = 1;
        block->layoutPage = 0;
        block->layoutGroup = 0;
        BuildLayoutPageTable(block);
        InvalidateCells(view);
        SetGroupRange(view, CountDrawingPages(block->engineDb));
    } else if (block->pageLayout == 1) {
        if (!IsLayoutCellValid(block, n)) {
            if (HWND panel = GetToolPanelWindow()) ::PostMessageA(panel, WM_COMMAND, 3314, 0);
            return;
        }
        g_pickedPage = 0;
        g_pickedPage = GetLayoutCellPage(block, n);
        block->layoutPage = g_pickedPage;
        block->pageLayout = 2;
        block->layoutGroup = 0;
        InvalidateCells(view);
        SetGroupRange(view, CountLayoutCellLayers(block, n));
    }
}

void DrawCaptionAndFrame(HDC dc, const RECT& client, const char* caption)
{
    HFONT font = ::CreateFontA(12, 6, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "System");
    HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
    ::SetTextColor(dc, RGB(255, 255, 255));
    ::SetBkColor(dc, kCaptionBack);
    ::SetBkMode(dc, OPAQUE);
    ::TextOutA(dc, 5, client.bottom - 20, caption, static_cast<int>(std::strlen(caption)));
    if (oldFont) ::SelectObject(dc, oldFont);
    if (font) ::DeleteObject(font);
    HBRUSH outer = ::CreateSolidBrush(kCaptionBack);
    HBRUSH inner = ::CreateSolidBrush(RGB(255, 255, 255));
    RECT r = client;
    ::FrameRect(dc, &r, outer);
    ::InflateRect(&r, -1, -1);
    ::FrameRect(dc, &r, inner);
    ::DeleteObject(outer);
    ::DeleteObject(inner);
}

}  // namespace

int LayoutGroupCount(int items) { return items < 1 ? 1 : (items - 1) / kLayoutCellCount + 1; }

int LayoutCellNumber(int index, int group) { return group < 2 ? index : index + kLayoutCellCount * (group - 1); }

int GetPickedLayoutLayer() { return g_pickedLayer; }
int GetPickedLayoutPage() { return g_pickedPage; }

void RequestLayoutRecheck() { g_recheck = 1; }
int IsLayoutRecheckRequested() { return g_recheck; }
void ClearLayoutRecheckRequest() { g_recheck = 0; }

void PlaceLayoutCells(HWND view, int width, int height)
{
    for (HWND cell = GetFirstLayoutCell(view); cell; cell = GetNextLayoutCell(cell)) {
        const int index = CellIndex(cell);
        ::MoveWindow(cell, index % 3 * width / 3, index / 3 * height / 3, width / 3 + 1, height / 3 + 1, TRUE);
    }
}

int TogglePageLayoutView(HWND view)
{
    PDBINFO* block = view ? GetViewBlock(view) : nullptr;
    if (block == nullptr) return 0;
    // The frame's edge buttons are enabled when page layout is left, disabled when entered.
    if (HWND frame = ::GetParent(view)) ::SendMessageA(frame, WM_COMMAND, MAKEWPARAM(1050, block->pageLayout), 0);
    if (block->pageLayout != 0) {
        LeavePageLayout(view, block);
    } else {
        EnterPageLayout(view, block);
    }
    return 1;
}

void CellPaint(HWND cell, PDBINFO* block, int n)
{
    LARGE_INTEGER frequency = {}, start = {}, end = {};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(cell, &paint);
    if (dc == nullptr) return;
    RECT client;
    ::GetClientRect(cell, &client);
    void* db = block->engineDb;
    ViewPaintSettings settings = CurrentViewPaintSettings();
    settings.lastPointShown = 0;
    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, db);
    // The cell shows what the whole view would show, a third as large.
    PDBINFO third = *block;
    CurrentViewMode(third).scale /= 3;
    static DrawParamBlock drawBlock;
    FillDrawParamBlock(drawBlock, third, info, client, cell, dc, settings);
    ZUriDrawPre(db, &drawBlock);
    const bool valid = IsLayoutCellValid(block, n) != 0;
    HBRUSH fill = ::CreateSolidBrush(valid ? settings.background : kInvalidCell);
    ::FillRect(dc, &client, fill);
    ::DeleteObject(fill);
    if (valid) {
        if (block->pageLayout == 1) {
            drawBlock.filterPageLayer = 1;
            drawBlock.filterPage = GetLayoutCellPage(block, n);
        } else if (block->pageLayout == 2) {
            drawBlock.optionWord = 1;
            drawBlock.filterPageLayer = 1;
            drawBlock.filterPage = block->layoutPage;
            drawBlock.filterByLayer = 1;
            drawBlock.filterLayer = GetLayoutCellLayer(block, n);
        }
        ZUriDraw(db, &drawBlock);
    }
    char caption[300];
    GetLayoutCellCaption(block, n, caption, sizeof caption);
    DrawCaptionAndFrame(dc, client, caption);
    ::EndPaint(cell, &paint);
    ::QueryPerformanceCounter(&end);
    const double seconds = frequency.QuadPart > 0 ? static_cast<double>(end.QuadPart - start.QuadPart) /
                                                        static_cast<double>(frequency.QuadPart)
                                                  : 0.0;
    WriteSystemLog(3, "Drawing Time", "描画時間 %lf(sec)", seconds);
}

LRESULT CALLBACK LayoutCellWndProc(HWND cell, UINT message, WPARAM wParam, LPARAM lParam)
{
    PDBINFO* block = ParentBlock(cell);
    const bool inLayout = block != nullptr && block->pageLayout != 0;
    switch (message) {
    case WM_PAINT:
        if (!inLayout || block->engineDb == nullptr) break;
        ::SetWindowLongPtrA(cell, 0, reinterpret_cast<LONG_PTR>(block));
        if (CellIndex(cell) == 0) BuildLayoutPageTable(block);
        CellPaint(cell, block, LayoutCellNumber(CellIndex(cell), block->layoutGroup));
        return 0;
    case WM_MOUSEMOVE: {
        RECT r;
        ::GetClientRect(cell, &r);
        const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
        const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        SetLastViewMousePoint(3 * x - 2 * cx, 3 * y - 2 * cy);
        break;
    }
    case WM_LBUTTONDOWN:
        if (inLayout && block->pageLayout == 2) {
            const int layer = GetLayoutCellLayer(block, LayoutCellNumber(CellIndex(cell), block->layoutGroup));
            if (layer != -1) {
                g_pickedLayer = layer;
                RaiseInputEvent(kEventLayoutCell);
            }
        }
        break;
    case WM_RBUTTONDOWN:
        if (inLayout) OnRightClick(cell, block);
        break;
    default:
        break;
    }
    return ::DefWindowProcA(cell, message, wParam, lParam);
}

LRESULT SetPageLayoutView(HWND view, int wanted)
{
    PDBINFO* block = view ? GetViewBlock(view) : nullptr;
    if (block == nullptr) return 0;
    HWND main = GetMainFrameWnd();
    if (block->pageLayout != 0 && wanted == 0) {
        if (main) ::SendMessageA(main, WM_COMMAND, 1230, 0);
        RequestLayoutRecheck();
    } else if (block->pageLayout == 0 && wanted == 1) {
        if (main) ::SendMessageA(main, WM_COMMAND, 1230, 0);
    }
    return 1;
}
