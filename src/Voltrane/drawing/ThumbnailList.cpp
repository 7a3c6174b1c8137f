#include "drawing/ThumbnailList.h"

#include <cstring>
#include <string>

#include "DravikDb.h"
#include "core/CadSystem.h"
#include "core/MonitorHelpers.h"
#include "core/SettingsMessage.h"
#include "drawing/DrawingFileType.h"
#include "drawing/FileListCache.h"

namespace {

constexpr int kArea = 500;
constexpr UINT WM_FLIST_CLICK = WM_USER + 50;
constexpr UINT WM_FLIST_SCROLL = WM_USER + 51;
constexpr int kLoadedLimit = 64;
constexpr int kKeepDistance = 32;

struct ListState {
    const char* folder = "";
    int typeIndex = 0;
    const char* filters = nullptr;
    bool deleteMode = false, placeMode = false;
    ThumbnailGrid grid;
    int topRow = 0;
    int loaded = 0;
    WNDPROC areaProc = nullptr;
    HBITMAP marks[2] = {};  // bitmaps 239 (not ticked) and 240 (ticked)
};
ListState g_list;

// The pattern of the type: the filter list is pairs of texts, description then pattern.
std::string PatternOfType(const char* filters, int typeIndex)
{
    if (filters == nullptr) return "*.*";
    const char* p = filters;
    for (int pair = 0; *p != '\0'; ++pair) {
        const char* pattern = p + std::strlen(p) + 1;
        if (*pattern == '\0') break;
        if (pair == typeIndex) return pattern;
        p = pattern + std::strlen(pattern) + 1;
    }
    return "*.*";
}

void DrawMark(HDC dc, bool ticked, int x, int y)
{
    if (HBITMAP mark = g_list.marks[ticked ? 1 : 0]) {
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(memory, mark);
        BitBlt(dc, x, y, 13, 13, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        return;
    }
    // Without the bitmaps (a module that lacks them) the mark is drawn.
    RECT box = {x, y, x + 13, y + 13};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    if (!ticked) return;
    HGDIOBJ old = SelectObject(dc, GetStockObject(BLACK_PEN));
    MoveToEx(dc, x + 3, y + 6, nullptr);
    LineTo(dc, x + 5, y + 9);
    LineTo(dc, x + 10, y + 3);
    SelectObject(dc, old);
}

void LoadInformation(int index)
{
    EngineDbRecord* db = GetFileListEntryDb(index);
    if (db == nullptr || db->info != nullptr) return;
    const char* path = GetFileListEntryPath(index);
    const int type = GetDrawingFileType(path);
    uint32_t flags = kLoadFlagNewerVersion;
    int loaded = 0;
    if (type == kFileTypeOtcf) loaded = ZUriLoadInfoOfCWU(path, db, &flags);
    else if (type == kFileTypeTcf) loaded = ZUriLoadInfoOfCWX(path, db, &flags);
    if (loaded != 0) ++g_list.loaded;
}

void ReleaseFarEntries(int index)
{
    if (g_list.loaded <= kLoadedLimit) return;
    for (int i = 0; i < GetFileListCount(); ++i) {
        EngineDbRecord* db = GetFileListEntryDb(i);
        if (db == nullptr || db->info == nullptr) continue;
        if (i < index - kKeepDistance || i > index + kKeepDistance) {
            FreeFileListEntryPreview(i);
            --g_list.loaded;
        }
    }
}

void DrawCells(HWND area, HDC dc)
{
    RECT all;
    GetClientRect(area, &all);
    HBRUSH background = CreateSolidBrush(GetDialogBackColor());
    FillRect(dc, &all, background);
    HFONT font = CreateFontA(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const int count = GetFileListCount();
    for (int row = 0; row < g_list.grid.rows; ++row) {
        for (int column = 0; column < g_list.grid.columns; ++column) {
            const int index = (g_list.topRow + row) * g_list.grid.columns + column;
            if (index >= count) continue;
            const int left = column * kThumbnailCellWidth + 3, top = row * kThumbnailCellHeight + 3;
            RECT cell = {left, top, left + 183, top + 151};
            const bool ticked = IsFileListEntrySelected(index) != 0;
            HBRUSH fill = ticked ? CreateSolidBrush(GetColorButtonBkColor(4)) : nullptr;
            FillRect(dc, &cell, ticked ? fill : background);
            if (fill != nullptr) DeleteObject(fill);
            const std::string name = ShortenText(16, FileNamePart(GetFileListEntryPath(index)));
            SetTextColor(dc, ticked ? RGB(255, 255, 255) : RGB(0, 0, 0));
            SIZE size = {};
            GetTextExtentPoint32A(dc, name.c_str(), static_cast<int>(name.size()), &size);
            TextOutA(dc, column * kThumbnailCellWidth + 108 - size.cx / 2, row * kThumbnailCellHeight + 134, name.c_str(),
                     static_cast<int>(name.size()));
            ReleaseFarEntries(index);
            LoadInformation(index);
            EngineDbRecord* db = GetFileListEntryDb(index);
            RECT frame = {left + 4, top + 4, left + 180, top + 128};
            if (db != nullptr && db->info != nullptr && db->preview != nullptr) {
                HDC memory = CreateCompatibleDC(dc);
                HGDIOBJ old = SelectObject(memory, db->preview);
                BitBlt(dc, frame.left, frame.top, 176, 124, memory, 0, 0, SRCCOPY);
                SelectObject(memory, old);
                DeleteDC(memory);
            } else if (db != nullptr && db->info != nullptr) {
                SetTextColor(dc, RGB(0, 0, 0));
                TextOutA(dc, left + 30, top + 55, "プレビュー表示無し", 18);
            } else {
                FillRect(dc, &frame, GetSysColorBrush(COLOR_BTNFACE));
                SetTextColor(dc, RGB(0xA0, 0xA0, 0xA0));
                TextOutA(dc, left + 38, top + 55, "プレビュー表示無し", 18);
            }
            HPEN shadow = CreatePen(PS_SOLID, 1, RGB(0xA0, 0xA0, 0xA0));
            HGDIOBJ oldPen = SelectObject(dc, shadow);
            MoveToEx(dc, left + 180, top + 4, nullptr), LineTo(dc, left + 180, top + 128);
            MoveToEx(dc, left + 181, top + 5, nullptr), LineTo(dc, left + 181, top + 129);
            MoveToEx(dc, left + 4, top + 128, nullptr), LineTo(dc, left + 181, top + 128);
            MoveToEx(dc, left + 5, top + 129, nullptr), LineTo(dc, left + 182, top + 129);
            SelectObject(dc, oldPen);
            DeleteObject(shadow);
            DrawMark(dc, ticked, left + 4, top + 132);
        }
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    DeleteObject(background);
}

void InvalidateCell(HWND dialog, int index)
{
    const int row = index / g_list.grid.columns - g_list.topRow, column = index % g_list.grid.columns;
    HWND area = GetDlgItem(dialog, kArea);
    RECT cell = {column * kThumbnailCellWidth + 3, row * kThumbnailCellHeight + 3, column * kThumbnailCellWidth + 186,
                 row * kThumbnailCellHeight + 154};
    InvalidateRect(area, &cell, FALSE);
    UpdateWindow(area);
}

LRESULT CALLBACK AreaProc(HWND area, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN) {
        const int x = static_cast<short>(LOWORD(lParam)), y = static_cast<short>(HIWORD(lParam));
        SendMessageA(GetParent(area), WM_FLIST_CLICK, (x - 5 > 0 ? x - 5 : 0) / kThumbnailCellWidth, y / kThumbnailCellHeight);
        return 1;
    }
    if (message == WM_VSCROLL) {
        PostMessageA(GetParent(area), WM_FLIST_SCROLL, wParam, lParam);
        return 1;
    }
    return CallWindowProcA(g_list.areaProc, area, message, wParam, lParam);
}

void Initialise(HWND dialog)
{
    g_list.topRow = 0;
    g_list.loaded = 0;
    HWND area = GetDlgItem(dialog, kArea);
    g_list.areaProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(area, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AreaProc)));
    const int scroll = GetSystemMetrics(SM_CXVSCROLL), caption = GetSystemMetrics(SM_CYCAPTION);
    g_list.grid = ComputeThumbnailGrid(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), scroll, caption);
    const int width = scroll + g_list.grid.columns * kThumbnailCellWidth + 5;
    const int height = g_list.grid.rows * kThumbnailCellHeight;
    MoveWindow(area, 0, 0, width, height, FALSE);
    RECT rect;
    GetWindowRect(dialog, &rect);
    MoveWindow(dialog, rect.left, rect.top - 20, width + 20, caption + height + 58, TRUE);
    RECT client;
    GetClientRect(dialog, &client);
    MoveWindow(GetDlgItem(dialog, IDCANCEL), client.right - 170, client.bottom - 33, 80, 28, TRUE);
    MoveWindow(GetDlgItem(dialog, IDOK), client.right - 88, client.bottom - 33, 80, 28, TRUE);
    RECT work;
    if (GetWindowMonitorArea(dialog, &work)) {
        GetWindowRect(dialog, &rect);
        SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - (rect.right - rect.left)) / 2,
                     work.top + (work.bottom - work.top - (rect.bottom - rect.top)) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    SetWindowTextA(dialog, g_list.folder);
    std::string patterns = PatternOfType(g_list.filters, g_list.typeIndex);
    for (size_t start = 0; start <= patterns.size();) {
        const size_t end = patterns.find(';', start);
        const std::string one = patterns.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!one.empty()) BuildFileList(g_list.folder, one.c_str());
        if (end == std::string::npos) break;
        start = end + 1;
    }
    const int entries = GetFileListCount();
    if (entries / g_list.grid.columns > g_list.grid.rows)
        SetScrollRange(area, SB_VERT, 0, entries / g_list.grid.columns - g_list.grid.rows + 1, FALSE);
    if (GetCadSystem().config.LANGUAGE != 0) SetDlgItemTextA(dialog, IDCANCEL, "CANCEL");
    HWND ok = GetDlgItem(dialog, IDOK);
    if (g_list.deleteMode) SetWindowTextA(ok, "削除");
    SetWindowLongA(ok, GWL_STYLE, (GetWindowLongA(ok, GWL_STYLE) & ~BS_TYPEMASK) | BS_OWNERDRAW);
}

void OnClick(HWND dialog, int column, int row)
{
    const int count = GetFileListCount();
    if (g_list.placeMode) {
        for (int i = 0; i < count; ++i) {
            if (IsFileListEntrySelected(i)) {
                ToggleFileListEntry(i);
                InvalidateCell(dialog, i);
                break;
            }
        }
    }
    if (column >= g_list.grid.columns) return;
    const int index = (g_list.topRow + row) * g_list.grid.columns + column;
    if (index < 0 || index >= count) return;
    ToggleFileListEntry(index);
    InvalidateCell(dialog, index);
}

void OnScroll(HWND dialog, WPARAM wParam)
{
    int requested = g_list.topRow;
    switch (LOWORD(wParam)) {
    case SB_LINEUP: --requested; break;
    case SB_LINEDOWN: ++requested; break;
    case SB_PAGEUP: requested -= g_list.grid.rows; break;
    case SB_PAGEDOWN: requested += g_list.grid.rows; break;
    case SB_THUMBPOSITION: requested = static_cast<short>(HIWORD(wParam)); break;
    default: return;
    }
    const int top = ClampThumbnailTopRow(requested, GetFileListCount(), g_list.grid);
    if (top == g_list.topRow) return;
    g_list.topRow = top;
    HWND area = GetDlgItem(dialog, kArea);
    SetScrollPos(area, SB_VERT, top, TRUE);
    InvalidateRect(area, nullptr, FALSE);
    UpdateWindow(area);
}

INT_PTR CALLBACK ThumbnailListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        for (int i = 0; i < 2; ++i)
            g_list.marks[i] = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(239 + i));
        Initialise(dialog);
        return TRUE;
    case WM_DESTROY:
        for (HBITMAP& mark : g_list.marks) {
            if (mark != nullptr) DeleteObject(mark);
            mark = nullptr;
        }
        return FALSE;
    case WM_FLIST_CLICK:
        OnClick(dialog, static_cast<int>(wParam), static_cast<int>(lParam));
        return TRUE;
    case WM_FLIST_SCROLL:
        OnScroll(dialog, wParam);
        return TRUE;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam == kArea) DrawCells(item->hwndItem, item->hDC);
        else if (wParam == IDOK && g_list.deleteMode) DrawColorButtonOfKind(item, 0);
        else if (wParam == IDOK) DrawColorButton(item);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (g_list.deleteMode &&
                ShowSettingsMessage(dialog, "選択されている図面を削除します。\n一度削除すると元に戻せません。よろしいですか？",
                                    "削除確認", MB_YESNO | MB_ICONWARNING) != IDYES)
                return TRUE;
            for (int i = 0; i < GetFileListCount(); ++i) {
                if (IsFileListEntrySelected(i)) {
                    EndDialog(dialog, 1);
                    break;
                }
            }
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

ThumbnailGrid ComputeThumbnailGrid(int screenWidth, int screenHeight, int scrollBarWidth, int captionHeight)
{
    ThumbnailGrid grid;
    grid.columns = (screenWidth - scrollBarWidth - 20) / kThumbnailCellWidth;
    grid.rows = (screenHeight - captionHeight - 96) / kThumbnailCellHeight;
    if (grid.columns < 1) grid.columns = 1;
    if (grid.rows < 1) grid.rows = 1;
    return grid;
}

int ClampThumbnailTopRow(int requested, int entries, const ThumbnailGrid& grid)
{
    const int columns = grid.columns > 0 ? grid.columns : 1;
    // Entries that fit the rows set no scroll range: the list does not move.
    if (entries / columns <= grid.rows) return 0;
    const int last = entries / columns - grid.rows + 1;
    int top = requested;
    if (top > last) top = entries / columns + 1 > grid.rows ? last : 0;
    if (top < 0) top = 0;
    return top;
}

int RunThumbnailList(HWND owner, const char* folder, int typeIndex, const char* filters, bool deleteMode, bool placeMode)
{
    g_list = ListState{};
    g_list.folder = folder != nullptr ? folder : "";
    g_list.typeIndex = typeIndex;
    g_list.filters = filters;
    g_list.deleteMode = deleteMode;
    g_list.placeMode = placeMode;
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), "FLISTDLG", owner, ThumbnailListProc, 0);
    return result == 1 ? 1 : 0;
}
