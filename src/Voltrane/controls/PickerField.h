// What every picker field shares: the host messages, the state block in window word 4, the
// field frame and drop button, the notification, and the drop-down window that opens an
// owner-drawn combo box whose list drops open under the field.
#pragma once

#include <windows.h>

// Messages a host sends to a field (and to the attribute combos).
constexpr UINT WM_PICKER_NOTIFY = WM_USER;          // post the parent the notification
constexpr UINT WM_PICKER_RELOAD = WM_USER + 1;
constexpr UINT WM_PICKER_SET_VALUE = WM_USER + 2;
constexpr UINT WM_PICKER_GET_VALUE = WM_USER + 3;
constexpr UINT WM_PICKER_SET_FLAGS = WM_USER + 4;
constexpr UINT WM_PICKER_REMOVE_TYPE = WM_USER + 5;  // mark fields only

// Display flags.
constexpr int kPickerNotifyMode = 1;
constexpr int kPickerCompact = 2;

// The code of the notification's WM_COMMAND.
constexpr WORD kPickerClosedCode = 1;
// The control id of the combo box inside a drop-down window.
constexpr int kPickerComboId = 1;

// State block of the line-type, line-width and point-marker fields.
struct PickerFieldState {
    int value;
    int flags;
};

// The field whose list is being opened, per picker kind.
struct PickerPopupContext {
    void* state;
    int openMark;
};

// One picker kind's drop-down: its class, sizes and the three steps that differ.
struct PickerKind {
    const char* popupClass;
    int minWidth;
    bool exactWidth;   // the list is minWidth wide whatever the field's width
    int listHeight;
    int rowHeight;
    bool minVisible16;
    PickerPopupContext* context;
    // Adds the items and selects the current row.
    void (*fill)(HWND combo, void* state);
    void (*paintRow)(const DRAWITEMSTRUCT& item, void* state);
    // Stores the chosen item into the state.
    void (*store)(void* state, int selection);
};

struct PickerPopupContext;
// The state block (window word 4) and its allocation, zero-filled.
void* PickerStateOf(HWND field);
void* AllocPickerState(HWND field, size_t size);
void FreePickerState(HWND field);
// Frees a field's state block at its end. The kind's context forgets the block when it names it:
// a list that closes while its field is being destroyed then stores nothing into freed memory.
void ReleasePickerState(HWND field, PickerPopupContext& context);

// Paint set-up of a field: b is the drop button's left x.
struct FieldPaint {
    int w = 0, h = 0, b = 0;
    bool notifyMode = false, compact = false, disabled = false;
    int fontHeight = 14;
    HFONT font = nullptr;
    HGDIOBJ oldFont = nullptr;
};
// Fills the background, selects the field font and text colour.
void BeginFieldPaint(HWND field, HDC dc, int flags, FieldPaint& paint);
// The frame, the drop button unless in notify mode, and the font restored.
void EndFieldPaint(HDC dc, FieldPaint& paint);
// The field frame on a w × h rectangle at (x, y); raised for the drop button.
void DrawSunkenFrame(HDC dc, int left, int top, int right, int bottom);
void DrawRaisedButton(HDC dc, int left, int top, int right, int bottom);

// WM_ENABLE, WM_MOUSEMOVE and WM_USER (notify), as every field handles them; others go to
// the default procedure.
LRESULT PickerFieldCommon(HWND field, UINT message, WPARAM wParam, LPARAM lParam);
// Posts the parent WM_COMMAND (MAKEWPARAM(id, 1), field).
void NotifyPickerParent(HWND field);
// Opens the kind's drop-down under the field.
void OpenPickerList(HWND field, const PickerKind& kind, void* state);
// The drop-down window's procedure for a kind.
LRESULT PickerPopupProc(const PickerKind& kind, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Fills a row's background and sets its text colour; true when selected.
bool BeginPickerRow(const DRAWITEMSTRUCT& item);
// A one-pixel pen and a brush of a colour selected into a DC, deleted again by End.
struct PenAndBrush {
    HDC dc;
    HPEN pen;
    HBRUSH brush;
    HGDIOBJ oldPen, oldBrush;
    PenAndBrush(HDC dc, COLORREF colour);
    ~PenAndBrush();
};

// Registers one class of the kit's picker shape: grey background, 8 extra bytes, global for
// the fields; 1 when registered.
// Adds the items "0" to count - 1 and selects the current one (none when outside).
void FillNumberedRows(HWND combo, int count, int current);
// The procedure of a field whose state is a PickerFieldState (value and flags): the line-type,
// width and point-marker fields. notifies: a click in notify mode posts the notice.
LRESULT ValueFieldProc(const PickerKind& kind, void (*paint)(HWND, HDC, const PickerFieldState*), bool notifies,
                       HWND field, UINT message, WPARAM wParam, LPARAM lParam);

int RegisterPickerFieldClass(HINSTANCE instance, const char* className, WNDPROC procedure, bool global);
// Registers a field class (global, grey background, 8 extra bytes) and its drop-down class;
// 1 when the drop-down class was registered.
int RegisterPickerClassPair(HINSTANCE instance, const char* fieldClass, WNDPROC fieldProc,
                            const char* popupClass, WNDPROC popupProc);
