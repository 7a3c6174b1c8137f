#include "panels/CustCmdPanelList.h"

#include <string>

#include "panels/CmdPnlButton.h"
#include "panels/CustCmdPanelModel.h"

namespace {

const char kClassName[] = "CustCmdPanelList";
constexpr COLORREF kNameColour = 0x323232;
// Window longs of the grid's own: the scroll bar and the first position shown.
constexpr int kScrollBarLong = 16;
constexpr int kScrollLong = 20;

CustCmdPanelModel* ModelOf(HWND grid)
{
    return reinterpret_cast<CustCmdPanelModel*>(GetWindowLongPtrA(grid, kCustListModelLong));
}

int ScrollOf(HWND grid) { return static_cast<int>(GetWindowLongA(grid, kScrollLong)); }

RECT CellRect(int column, int row)
{
    return {column * kCustListCellWidth, row * kCustListCellHeight, column * kCustListCellWidth + kCustListCellWidth,
            row * kCustListCellHeight + kCustListCellHeight};
}

void Frame3D(HDC dc, const RECT& rc)
{
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHIGHLIGHT));
    HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
    HGDIOBJ old = SelectObject(dc, light);
    MoveToEx(dc, rc.left, rc.bottom - 1, nullptr);
    LineTo(dc, rc.left, rc.top);
    LineTo(dc, rc.right - 1, rc.top);
    SelectObject(dc, dark);
    LineTo(dc, rc.right - 1, rc.bottom - 1);
    LineTo(dc, rc.left, rc.bottom - 1);
    SelectObject(dc, old);
    DeleteObject(light);
    DeleteObject(dark);
}

void PaintName(HDC dc, const RECT& rc, const std::string& name)
{
    const int h = rc.bottom - rc.top;
    const int height = h < 14 ? h - 2 : (h <= 18 ? 12 : 14);
    HFONT font = CreateFontA(height, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kNameColour);
    RECT text = rc;
    DrawTextA(dc, name.c_str(), static_cast<int>(name.size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(font);
}

void Paint(HWND grid, HDC dc)
{
    const CustCmdPanelModel* model = ModelOf(grid);
    const int columns = GetWindowLongA(grid, kCustListColumnsLong);
    const int rows = GetWindowLongA(grid, kCustListRowsLong);
    const int scroll = ScrollOf(grid);
    for (int c = 0; c < columns; ++c) {
        for (int r = 0; r < rows; ++r) {
            const RECT rc = CellRect(c, r);
            FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
            Frame3D(dc, rc);
            if (model == nullptr) continue;
            std::string caption;
            int set = 0;
            const int kind = model->GetCell(c, r + scroll, &caption, &set);
            if (kind == CustCmdPanelModel::kNameCell) {
                PaintName(dc, rc, caption);
            } else if (kind == CustCmdPanelModel::kEntry || kind == CustCmdPanelModel::kInsertion) {
                // The panel's own button painter, on a button without a window.
                CCmdPnlButton face;
                face.SetInfo(caption, 0, std::string(), set);
                face.selected = c == model->selectedColumn && r + scroll == model->selectedPosition ? 1 : 0;
                RECT inner = {rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
                face.Paint(dc, &inner, caption.c_str());
            }
        }
    }
}

void ScrollTo(HWND grid, int position)
{
    const CustCmdPanelModel* model = ModelOf(grid);
    const int limit = model != nullptr ? model->PositionCount() : 0;
    if (position > limit) position = limit;
    if (position < 0) position = 0;
    if (position == ScrollOf(grid)) return;
    SetWindowLongA(grid, kScrollLong, position);
    HWND bar = reinterpret_cast<HWND>(GetWindowLongPtrA(grid, kScrollBarLong));
    if (bar != nullptr) SetScrollPos(bar, SB_CTL, position, TRUE);
    InvalidateRect(grid, nullptr, TRUE);
}

LRESULT Edit(HWND grid, WORD command, LPARAM lParam)
{
    CustCmdPanelModel* model = ModelOf(grid);
    if (model == nullptr) return -1;
    const char* line = reinterpret_cast<const char*>(lParam);
    int result = -1;
    switch (command) {
    case kCustListMoveUp: result = model->MoveUp(); break;
    case kCustListMoveDown: result = model->MoveDown(); break;
    case kCustListDelete: result = model->Delete(); break;
    case kCustListChange: result = line != nullptr ? model->Change(line) : -1; break;
    case kCustListInsert: result = line != nullptr ? model->Insert(line) : -1; break;
    default: return -1;
    }
    if (result == 0) {
        SendMessageA(grid, WM_CUSTLIST_REFRESH, 0, 0);
        InvalidateRect(grid, nullptr, TRUE);
    }
    return result;
}

LRESULT CALLBACK GridProc(HWND grid, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE: {
        RECT rc = {};
        GetClientRect(grid, &rc);
        const int columns = rc.right / kCustListCellWidth, rows = rc.bottom / kCustListCellHeight;
        SetWindowLongA(grid, kCustListColumnsLong, columns);
        SetWindowLongA(grid, kCustListRowsLong, rows);
        const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
        HWND bar = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT,
                                   columns * kCustListCellWidth, 0, barWidth, rows * kCustListCellHeight, grid,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowLongPtrA(grid, kScrollBarLong, reinterpret_cast<LONG_PTR>(bar));
        SetWindowPos(grid, nullptr, 0, 0, columns * kCustListCellWidth + barWidth, rows * kCustListCellHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(grid, &ps);
        Paint(grid, dc);
        EndPaint(grid, &ps);
        return 0;
    }
    case WM_CUSTLIST_REFRESH: {
        const CustCmdPanelModel* model = ModelOf(grid);
        HWND bar = reinterpret_cast<HWND>(GetWindowLongPtrA(grid, kScrollBarLong));
        if (model != nullptr && bar != nullptr) SetScrollRange(bar, SB_CTL, 0, model->PositionCount(), TRUE);
        if (wParam == 1) InvalidateRect(grid, nullptr, TRUE);
        return 1;
    }
    case WM_COMMAND:
        return Edit(grid, LOWORD(wParam), lParam);
    case WM_VSCROLL: {
        const int now = ScrollOf(grid);
        switch (LOWORD(wParam)) {
        case SB_LINEUP:
        case SB_PAGEUP: ScrollTo(grid, now - 1); break;
        case SB_LINEDOWN:
        case SB_PAGEDOWN: ScrollTo(grid, now + 1); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: ScrollTo(grid, static_cast<short>(HIWORD(wParam))); break;
        default: break;
        }
        return 0;
    }
    case WM_MOUSEWHEEL:
        ScrollTo(grid, ScrollOf(grid) + (static_cast<short>(HIWORD(wParam)) > 0 ? -1 : 1));
        return 0;
    case WM_LBUTTONDOWN: {
        CustCmdPanelModel* model = ModelOf(grid);
        if (model == nullptr) return 0;
        const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        if (x < 0 || y < 0) return 0;
        const int column = x / kCustListCellWidth, position = y / kCustListCellHeight + ScrollOf(grid);
        if (column >= GetWindowLongA(grid, kCustListColumnsLong)) return 0;
        const int kind = model->GetCell(column, position, nullptr, nullptr);
        if (kind != CustCmdPanelModel::kEntry && kind != CustCmdPanelModel::kInsertion) return 0;
        model->selectedColumn = column;
        model->selectedPosition = position;
        InvalidateRect(grid, nullptr, TRUE);
        PostMessageA(GetParent(grid), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(grid), kCustListSelected),
                     reinterpret_cast<LPARAM>(grid));
        return 0;
    }
    default:
        return DefWindowProcA(grid, msg, wParam, lParam);
    }
}

}  // namespace

int RegisterCustCmdPanelListClass(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    if (GetClassInfoA(instance, kClassName, &wc)) return 1;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = GridProc;
    wc.cbWndExtra = 32;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0 ? 1 : 0;
}

void UnregisterCustCmdPanelListClass(HINSTANCE instance) { UnregisterClassA(kClassName, instance); }
