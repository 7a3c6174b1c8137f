#include "panels/CustomRightMenu.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "InputCodes.h"
#include "commands/InputEvent.h"
#include "commands/RecentCommands.h"
#include "commands/SystemCommandDispatcher.h"
#include "controls/KitButtons.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "core/MonitorHelpers.h"
#include "core/StartupSeams.h"
#include "dialogs/Calculator.h"
#include "mainframe/FrameServices.h"
#include "panels/ParameterPanelItems.h"
#include "panels/RightMenu.h"
#include "panels/RightMenuFile.h"
#include "panels/RightMenuPickList.h"
#include "panels/SnapModes.h"
#include "view/RubberBand.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

const char kContainerClass[] = "MyRPitem";
const char kColumnSeparatorClass[] = "MyRTPitem";
const char kEntryClass[] = "RPMENU";

constexpr int kEntryHeight = 14;
constexpr int kSeparatorHeight = 7;
constexpr int kSeparatorPitch = 8;
constexpr int kCharWidth = 8;
constexpr int kColumnGap = 5;
constexpr int kPopupWidth = 132;
constexpr int kPopupHeight = 155;
constexpr int kLowestSeparatorHeight = 215;
// The popups sit above every ordinary window, as menus do. Above their owner alone is not enough:
// under wine a pointer report for the frame that the program takes in after a popup has opened
// over the pointer puts the frame back over the popup, which then vanishes, and the click meant
// for an entry reaches the drawing view.
constexpr DWORD kPopupExStyle = WS_EX_TOPMOST;

HWND g_container = nullptr;
HINSTANCE g_instance = nullptr;
bool g_registeredEntryClass = false;
HWND g_openSubPopup = nullptr;

// The layout of the popup being built; a sub-popup is built with a layout of its own while the
// container's waits in g_saved.
struct LayoutState {
    CustomMenuLayout layout;
    std::vector<HWND> columnEntries;
};
LayoutState g_layout;
LayoutState g_saved;
bool g_buildingSubPopup = false;
std::vector<HWND> g_columnSeparators;

COLORREF PanelColor() { return GetCadSystem().config.color.COLOR_PANEL.value; }

HFONT EntryFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

LONG EntryCommand(HWND entry) { return GetWindowLongA(entry, kEntryCommand); }

void PaintEntry(HWND entry, HDC dc, bool highlighted)
{
    RECT rc;
    GetClientRect(entry, &rc);
    const COLORREF back = highlighted ? GetSysColor(COLOR_HIGHLIGHT) : PanelColor();
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    const LONG id = EntryCommand(entry);
    if (id == kEntrySeparatorId) {
        const int y = rc.bottom / 2;
        HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
        HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT));
        HGDIOBJ old = SelectObject(dc, dark);
        MoveToEx(dc, rc.left, y, nullptr);
        LineTo(dc, rc.right, y);
        SelectObject(dc, light);
        MoveToEx(dc, rc.left, y + 1, nullptr);
        LineTo(dc, rc.right, y + 1);
        SelectObject(dc, old);
        DeleteObject(dark);
        DeleteObject(light);
        return;
    }
    char caption[256] = {};
    GetWindowTextA(entry, caption, sizeof caption);
    HGDIOBJ oldFont = SelectObject(dc, EntryFont());
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    const int average = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 1;
    const int length = static_cast<int>(std::strlen(caption));
    const int fit = static_cast<int>(DbcsFitLength(caption, length, static_cast<size_t>(rc.right / average)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    TextOutA(dc, rc.right / 2 - (length / 2) * average, rc.bottom / 2 - tm.tmHeight / 2, caption, fit);
    SelectObject(dc, oldFont);
    if (id == kEntrySubmenuId) {
        const int h = rc.bottom / 2;
        const POINT triangle[3] = {{rc.right - 3, h - 1}, {rc.right - 8, h - 5}, {rc.right - 8, h + 3}};
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(BLACK_BRUSH));
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
        Polygon(dc, triangle, 3);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
    }
}

void RepaintEntry(HWND entry, bool highlighted)
{
    HDC dc = GetDC(entry);
    PaintEntry(entry, dc, highlighted);
    ReleaseDC(entry, dc);
}

void PaintFrame(HWND window, HDC dc)
{
    RECT rc;
    GetClientRect(window, &rc);
    HBRUSH brush = CreateSolidBrush(PanelColor());
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT));
    HGDIOBJ old = SelectObject(dc, dark);
    MoveToEx(dc, rc.right - 2, rc.top, nullptr);
    LineTo(dc, rc.right - 2, rc.bottom - 1);
    LineTo(dc, rc.left, rc.bottom - 1);
    SelectObject(dc, light);
    MoveToEx(dc, rc.left, rc.bottom - 2, nullptr);
    LineTo(dc, rc.left, rc.top);
    LineTo(dc, rc.right - 2, rc.top);
    SelectObject(dc, old);
    DeleteObject(dark);
    DeleteObject(light);
}

LRESULT PaintFrameMessage(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PaintFrame(window, dc);
    EndPaint(window, &ps);
    return 0;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

void CloseContainer(HWND container)
{
    ShowWindow(container, SW_HIDE);
    GetRightMenuState().popupShown = 0;
    std::vector<HWND> children;
    EnumChildWindows(container, CollectChild, reinterpret_cast<LPARAM>(&children));
    // Only the direct children: grandchildren go with their parents.
    for (HWND child : children)
        if (GetParent(child) == container && IsWindow(child)) DestroyWindow(child);
    g_layout = LayoutState();
    g_columnSeparators.clear();
    g_openSubPopup = nullptr;
    if (HWND main = GetMainFrameWnd()) UpdateWindow(main);
}

LRESULT CALLBACK ContainerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    RightMenuState& state = GetRightMenuState();
    switch (message) {
    case WM_PAINT:
        return PaintFrameMessage(window);
    case WM_MOUSEACTIVATE:
        if (IsCalculatorOpen()) return MA_NOACTIVATEANDEAT;
        break;
    case WM_ACTIVATE:
        if (state.activation == 1) state.activation = 2;
        break;
    case WM_DESTROY:
        state.activation = 0;
        break;
    case WM_LBUTTONDOWN:
        if (!IsCalculatorOpen()) {
            POINT p;
            GetCursorPos(&p);
            RECT rc;
            GetWindowRect(window, &rc);
            if (!PtInRect(&rc, p)) PostMessageA(window, kRightMenuCloseMessage, 0, 0);
        }
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            HWND edit = seam::GetParameterPanelHandles().editField;
            if (edit != nullptr && GetFocus() == edit) PostMessageA(edit, WM_COMMAND, id == IDOK ? 13 : 27, 0);
            return 0;
        }
        if (SnapBitOfButton(id) != 0) {
            ToggleSnapButton(id);
            FrameRestoreInputFocus();
            SyncSnapButtons();
        }
        return 0;
    }
    default:
        if (message == kRightMenuCloseMessage) {
            if (window == g_container) CloseContainer(window);
            return 0;
        }
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK ColumnSeparatorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        return PaintFrameMessage(window);
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        return 1;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void ShowSubPopupOf(HWND entry)
{
    HWND sub = reinterpret_cast<HWND>(GetWindowLongA(entry, kEntrySubPopup));
    if (sub == nullptr) return;
    RECT rc;
    GetWindowRect(entry, &rc);
    int right = 0;
    GetMonitorSizeAt(rc.right, rc.top, &right, nullptr);
    const POINT at = PlaceRightMenuSubPopup(rc, right);
    SetWindowPos(sub, HWND_TOP, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    g_openSubPopup = sub;
}

void EntryMouseMove(HWND entry)
{
    if (IsCalculatorOpen() || EntryCommand(entry) == kEntrySeparatorId) return;
    if (GetCapture() != entry) {
        SetCapture(entry);
        RepaintEntry(entry, true);
        if (g_openSubPopup == nullptr && EntryCommand(entry) == kEntrySubmenuId) {
            ShowSubPopupOf(entry);
        } else if (g_openSubPopup != nullptr && EntryCommand(entry) != kEntrySubmenuId &&
                   GetWindowLongA(entry, kEntryInSubPopup) != -1) {
            ShowWindow(g_openSubPopup, SW_HIDE);
            g_openSubPopup = nullptr;
        }
        return;
    }
    POINT p;
    GetCursorPos(&p);
    RECT rc;
    GetWindowRect(entry, &rc);
    if (!PtInRect(&rc, p)) {
        ReleaseCapture();
        RepaintEntry(entry, false);
    }
}

void EntryClick(HWND entry)
{
    if (IsCalculatorOpen()) return;
    g_openSubPopup = nullptr;
    const LONG id = EntryCommand(entry);
    if (id == kEntrySubmenuId || id == kEntrySeparatorId || id == kRightMenuInertId) return;
    if (GetCapture() == entry) ReleaseCapture();
    CloseRightMenu();
    if (HWND main = GetMainFrameWnd()) PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void AddSnapButtons()
{
    AppendCustomMenuItem(g_container, kCustomMenuSeparator, 0, "");
    const struct {
        int id;
        const char* caption;
        int column;
        int row;
    } buttons[] = {{3410, "端点", 0, 0}, {3411, "交点", 1, 0}, {3404, "中点", 2, 0},
                   {3405, "任意", 0, 1}, {3418, "円心", 1, 1}, {3412, "線上", 2, 1}};
    CustomMenuLayout& layout = g_layout.layout;
    for (const auto& b : buttons) {
        CreateWindowExA(0, "NPush2", b.caption, WS_CHILD | WS_VISIBLE, layout.columnX + 41 * b.column,
                        layout.nextY + 20 * b.row, 41, 19, g_container,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), g_instance, nullptr);
    }
    layout.nextY += 40;
    layout.lowestY = std::max(layout.lowestY, layout.nextY);
    layout.columnWidth = std::max(layout.columnWidth, 3 * 41);
    ShowSnapWordOnButtons(g_container, static_cast<int>(GetLocalSettingsLive().setup.LMsFg));
    InvalidateRect(g_container, nullptr, TRUE);
}

// The history sub-popup: built with a layout of its own from (2, 2), then sized to it.
void AddHistorySubPopup(HWND view, UINT pending)
{
    if (g_layout.layout.columnX == 192) g_layout.layout.columnX = 197;
    HWND sub = CreateWindowExA(kPopupExStyle, kContainerClass, "", WS_POPUP, 0, 0, kPopupWidth, kPopupHeight, view,
                               nullptr, g_instance, nullptr);
    const char* caption = GetCadSystem().config.LANGUAGE ? "Stack Command" : "コマンド履歴";
    AppendCustomMenuItem(g_container, pending | kCustomMenuPopup, reinterpret_cast<INT_PTR>(sub), caption);
    if (sub == nullptr) return;
    g_saved = g_layout;
    g_layout = LayoutState();
    ResetCustomMenuLayout(2, 2);
    g_buildingSubPopup = true;
    AppendRecentCommandsToMenu(reinterpret_cast<HMENU>(sub));
    const CustomMenuLayout& built = g_layout.layout;
    const int width = built.columnX + built.columnWidth + (built.columnWidth != 0 ? kColumnGap : 0);
    SetWindowPos(sub, nullptr, 0, 0, width, built.lowestY + 4, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    g_buildingSubPopup = false;
    g_layout = g_saved;
    AppendCustomMenuItem(g_container, kCustomMenuSeparator, 0, "");
}

// The running command's parameter panel copied into the popup; false when it made no items.
bool AddParameterPanelItems()
{
    int largestY = 0;
    std::vector<HWND> before;
    EnumChildWindows(g_container, CollectChild, reinterpret_cast<LPARAM>(&before));
    if (PboxBuildItemWindows(g_container, &largestY, 1) != 1) return false;
    std::vector<HWND> all;
    EnumChildWindows(g_container, CollectChild, reinterpret_cast<LPARAM>(&all));
    std::vector<std::pair<HWND, RECT>> copies;
    int topmost = INT_MAX;
    for (HWND item : all) {
        if (GetParent(item) != g_container || std::find(before.begin(), before.end(), item) != before.end()) continue;
        RECT rc;
        GetWindowRect(item, &rc);
        MapWindowPoints(nullptr, g_container, reinterpret_cast<POINT*>(&rc), 2);
        copies.emplace_back(item, rc);
        topmost = std::min(topmost, static_cast<int>(rc.top));
    }
    // The copies move up together by 15 pixels, but never past the popup's top edge: an item the
    // panel places near its top (a command's "OK") would otherwise be cut and out of reach.
    const int lift = copies.empty() ? 0 : std::max(0, std::min(15, topmost - 2));
    int rightmost = 0;
    for (const auto& [item, rc] : copies) {
        SetWindowPos(item, nullptr, rc.left, rc.top - lift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(item, SW_SHOWNA);
        rightmost = std::max(rightmost, static_cast<int>(rc.right));
    }
    g_layout.layout.lowestY = std::max(215, largestY + 32);
    g_layout.layout.columnX = std::max(197, rightmost + 3);
    return true;
}

}  // namespace

int IsCustomRightMenuShown() { return GetRightMenuState().popupShown; }

CustomMenuLayout& CurrentCustomMenuLayout() { return g_layout.layout; }

void ResetCustomMenuLayout(int columnX, int y)
{
    g_layout.layout.columnX = columnX;
    g_layout.layout.nextY = y;
    g_layout.layout.lowestY = y;
    g_layout.layout.columnWidth = 0;
    g_layout.columnEntries.clear();
    if (!g_buildingSubPopup) g_columnSeparators.clear();
}

int AppendCustomMenuItem(HWND parent, UINT flags, INT_PTR value, const char* caption)
{
    HWND host = g_buildingSubPopup ? parent : g_container;
    if (host == nullptr) return 0;
    if (caption == nullptr) caption = "";
    CustomMenuLayout& layout = g_layout.layout;
    if (flags & kCustomMenuColumnBreak) {
        HWND separator = CreateWindowExA(0, kColumnSeparatorClass, "", WS_CHILD, layout.columnX + layout.columnWidth,
                                         2, kColumnGap, layout.nextY + 2, g_container, nullptr, g_instance, nullptr);
        if (separator != nullptr) {
            ShowWindow(separator, SW_SHOWNA);
            g_columnSeparators.push_back(separator);
        }
        layout.columnX += layout.columnWidth + kColumnGap;
        layout.columnWidth = 0;
        g_layout.columnEntries.clear();
        layout.nextY = 5;
        layout.lowestY = std::max(layout.lowestY, 5);
    }
    const bool separator = (flags & kCustomMenuSeparator) != 0;
    const bool submenu = !separator && (flags & kCustomMenuPopup) != 0;
    if (!separator) {
        const int width = kCharWidth * static_cast<int>(std::strlen(caption));
        if (width > layout.columnWidth) {
            layout.columnWidth = width;
            for (HWND entry : g_layout.columnEntries) {
                RECT rc;
                GetClientRect(entry, &rc);
                SetWindowPos(entry, nullptr, 0, 0, width, rc.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    const int height = separator ? kSeparatorHeight : kEntryHeight;
    HWND owner = submenu ? g_container : host;
    HWND entry = CreateWindowExA(0, kEntryClass, caption, WS_CHILD | WS_CLIPSIBLINGS, layout.columnX, layout.nextY,
                                 layout.columnWidth, height, owner, nullptr, g_instance, nullptr);
    if (entry == nullptr) return 0;
    if (submenu) {
        SetWindowLongA(entry, kEntryInSubPopup, 0);
        SetWindowLongA(entry, kEntrySubPopup, static_cast<LONG>(value));
        SetWindowLongA(entry, kEntryCommand, kEntrySubmenuId);
    } else {
        SetWindowLongA(entry, kEntryInSubPopup, g_buildingSubPopup ? -1 : 0);
        SetWindowLongA(entry, kEntryCommand, separator ? kEntrySeparatorId : static_cast<LONG>(value));
    }
    ShowWindow(entry, SW_SHOWNA);
    layout.nextY += separator ? kSeparatorPitch : kEntryHeight;
    layout.lowestY = std::max(layout.lowestY, layout.nextY);
    g_layout.columnEntries.push_back(entry);
    return 1;
}

POINT PlaceRightMenuPopup(POINT cursor, SIZE size, const RECT& monitor)
{
    POINT at;
    at.x = cursor.x - size.cx / 2;
    if (cursor.x + size.cx / 2 > monitor.right) at.x = monitor.right - size.cx;
    if (at.x < monitor.left) at.x = monitor.left;
    at.y = cursor.y - 2;
    if (at.y + size.cy > monitor.bottom) at.y = monitor.bottom - size.cy - 2;
    return at;
}

POINT PlaceRightMenuSubPopup(const RECT& entry, int monitorRight)
{
    POINT at;
    at.x = entry.right + 137 >= monitorRight ? entry.left - 117 : entry.right + 5;
    at.y = entry.top - 2;
    return at;
}

void ShowCustomRightMenu(HWND view)
{
    if (g_container == nullptr) return;
    if (GetInputEventRecord().acceptMask & kAcceptRubberBand) UpdateRubberBand(GetActiveView(), 0, 0, 1);
    RightMenuState& state = GetRightMenuState();
    ResetCustomMenuLayout(192, 5);
    state.popupShown = 1;
    state.activation = 0;
    CustomMenuLayout& layout = g_layout.layout;
    if (!(state.pickSwitch && AddParameterPanelItems())) {
        layout.lowestY = 0;
        layout.columnX = 2;
    }
    const bool running = IsCommandRunning() != 0;
    const UINT pending = running && state.pickSwitch == 1 && RightMenuPickListHasItems() ? kCustomMenuColumnBreak : 0;
    const bool english = GetCadSystem().config.LANGUAGE != 0;
    if (!(state.hideMask & kHideHistory)) AddHistorySubPopup(view, pending);
    if (running) {
        if (layout.columnX == 192) layout.columnX = 197;
        if (!(state.hideMask & kHideFinish))
            AppendCustomMenuItem(g_container, 0, 1219, english ? "OK - [ ENTER ]" : "完了 - [ ENTER ]");
        if (!(state.hideMask & kHideCancel))
            AppendCustomMenuItem(g_container, 0, 1211, english ? "Cancel - [  ESC  ]" : "取消 - [  ESC  ]");
        AppendCustomMenuItem(g_container, 0, 1305, english ? "End of COMMAND" : "コマンド終了");
        AppendCustomMenuItem(g_container, kCustomMenuSeparator, 0, "");
    }
    if (!(state.hideMask & kHideFileEntries)) {
        if (layout.columnX == 192) layout.columnX = 197;
        AppendRightMenuFileEntries();
    }
    if (GetCadSystem().config.RMENU_SNAP == 1) AddSnapButtons();

    SIZE size;
    size.cx = layout.columnX + layout.columnWidth + (layout.columnWidth != 0 ? kColumnGap : 0);
    size.cy = layout.lowestY + 4;
    POINT cursor;
    GetCursorPos(&cursor);
    RECT monitor = {};
    GetMonitorAreaAt(cursor.x, cursor.y, &monitor, 0);
    const POINT at = PlaceRightMenuPopup(cursor, size, monitor);
    for (HWND separator : g_columnSeparators) {
        RECT rc;
        GetClientRect(separator, &rc);
        SetWindowPos(separator, nullptr, 0, 0, rc.right, std::max(layout.lowestY, kLowestSeparatorHeight),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowPos(g_container, HWND_TOP, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    if (HWND main = GetMainFrameWnd()) SetActiveWindow(main);
    state.activation = 1;
}

LRESULT CALLBACK RightMenuEntryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        g_openSubPopup = nullptr;
        return 0;
    case WM_DESTROY:
        g_openSubPopup = nullptr;
        if (EntryCommand(window) == kEntrySubmenuId) {
            HWND sub = reinterpret_cast<HWND>(GetWindowLongA(window, kEntrySubPopup));
            if (sub != nullptr && IsWindow(sub)) DestroyWindow(sub);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        PaintEntry(window, dc, false);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_MOUSEMOVE:
        EntryMouseMove(window);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        EntryClick(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int RegisterRightMenuPopupClasses(HINSTANCE instance)
{
    g_instance = instance;
    int registered = 1;
    const struct {
        const char* name;
        WNDPROC proc;
    } classes[] = {{kContainerClass, ContainerProc}, {kColumnSeparatorClass, ColumnSeparatorProc}};
    for (const auto& c : classes) {
        WNDCLASSA wc = {};
        wc.style = CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = c.proc;
        wc.cbWndExtra = 8;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = c.name;
        if (RegisterClassA(&wc) == 0) registered = 0;
    }
    // The entries' class belongs with the panel classes; it is registered here when they
    // have not registered it, so that the popup works whichever starts first.
    WNDCLASSA existing = {};
    if (!GetClassInfoA(instance, kEntryClass, &existing)) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RightMenuEntryProc;
        wc.cbWndExtra = 16;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        wc.lpszClassName = kEntryClass;
        g_registeredEntryClass = RegisterClassA(&wc) != 0;
    }
    return registered;
}

int UnregisterRightMenuPopupClasses(HINSTANCE instance)
{
    UnregisterClassA(kContainerClass, instance);
    UnregisterClassA(kColumnSeparatorClass, instance);
    if (g_registeredEntryClass) UnregisterClassA(kEntryClass, instance);
    g_registeredEntryClass = false;
    return 1;
}

int CreateRightMenuPopup(HWND owner, HINSTANCE instance)
{
    // A container whose owner has gone went with it.
    if (g_container != nullptr && IsWindow(g_container)) return 1;
    if (instance != nullptr) g_instance = instance;
    if (g_instance == nullptr) g_instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing = {};
    if (!GetClassInfoA(g_instance, kContainerClass, &existing)) RegisterRightMenuPopupClasses(g_instance);
    g_container = CreateWindowExA(kPopupExStyle, kContainerClass, "", WS_POPUP, 0, 0, kPopupWidth, kPopupHeight,
                                  owner, nullptr, g_instance, nullptr);
    return g_container != nullptr ? 1 : 0;
}

void DestroyRightMenuPopup()
{
    if (g_container != nullptr && IsWindow(g_container)) DestroyWindow(g_container);
    g_container = nullptr;
    GetRightMenuState().popupShown = 0;
}

HWND GetRightMenuContainer() { return g_container; }
