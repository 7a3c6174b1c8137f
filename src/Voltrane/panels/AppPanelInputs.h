// The item windows of a parameter panel that take typed or picked input: the edit field, the
// combo field (a text with a drop-down button at its right edge) and the list. Typing happens
// in a temporary edit control laid over the item; numeric fields open the calculator instead.
#pragma once

#include <windows.h>

#include <string>

#include "panels/AppPanelItems.h"

// What the temporary edit control tells its item.
constexpr UINT kPanelEditCommit = WM_USER;
constexpr UINT kPanelEditCancel = WM_USER + 1;
constexpr int kPanelEditControlId = 5000;
constexpr int kPanelListControlId = 1111;
// The width of the combo field's drop-down button at its right edge.
constexpr int kPanelComboButtonWidth = 19;

// Enter and Esc as a message to the open temporary edit: WM_COMMAND or this one, carrying 13
// or 27 (the right-click popup's OK and Cancel forward them so).
constexpr UINT kPanelEditKeyMessage = WM_USER + 5;
// The user value of an edit or combo item whose typing switches the input method on.
constexpr int kPanelImeOnUserValue = 7;

// The text the open temporary edit of an edit field hands its item (258 bytes: 256 characters
// and room to spare).
char* PanelEditBuffer();
constexpr size_t kPanelEditBufferSize = 258;
// The combo fields' own buffer: the text of the last commit or drop-down pick of any of them.
char* PanelComboBuffer();
constexpr size_t kPanelComboBufferSize = 256;

// How a temporary edit behaves beyond taking a text.
struct PanelEditOptions {
    char* buffer = nullptr;        // the text comes from here and a commit goes back here
    size_t bufferSize = 0;
    size_t limit = 256;            // characters the control takes
    int imeMode = -1;              // kPanelImeOnUserValue: the input method is on while typing
    const char* historyKey = "";   // a right click cancels and shows the history of this key
    // A combo field's edit: it holds the mouse while it has the focus, so that a click outside
    // hands the focus back; Esc and the loss of the focus close it without telling the item.
    bool holdsMouse = false;
};

// Lays the temporary edit control (id 5000) over item at rc with the text (copied into the
// options' buffer first); Enter sends item kPanelEditCommit, Esc kPanelEditCancel (a combo's
// edit only closes). Any other open one closes first. Null on failure.
HWND OpenPanelInPlaceEdit(HWND item, const RECT& rc, DWORD style, const PanelEditOptions& options, const char* text);
// Ends the temporary edit open over item, if any, and gives the focus back.
void EndPanelInPlaceEdit(HWND item);

// Paints an edit field's face with its text: the window colour (button face when disabled), the
// item's back colour box and text colour unless plain, the frame, the text from the left.
void PaintPanelEditField(HDC dc, const RECT& field, const char* text, bool enabled, bool plain, int textColor,
                         int backColor);

// 1 when an edit or combo item with this user value opens the calculator rather than the edit.
int PanelFieldOpensCalculator(int userValue);

class CAppPanelEditBox : public CPanelItem<CAppPanelEditBox> {
public:
    PBOX_ITEM_WND_CLASS("AppPanelEditBox")

    CAppPanelEditBox(InputEventRecord* event, PboxItem* item) : CPanelItem(event, item) {}

    WK_BEGIN_MSG_MAP(CAppPanelEditBox)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        WK_MESSAGE_HANDLER(kPanelEditCommit, OnCommit)
        WK_MESSAGE_HANDLER(kPanelEditCancel, OnCancel)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
        WK_MESSAGE_HANDLER(WM_SETTEXT, OnSetTextRedraw)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    WK_END_MSG_MAP()

protected:
    // Takes a committed text: the item's text, the window text, the history and the twin.
    virtual void TakeText(const char* text);
    // The buffer the field's temporary edit and drop-down hand their texts through.
    virtual char* Buffer() const { return PanelEditBuffer(); }
    virtual size_t BufferSize() const { return kPanelEditBufferSize; }
    // The text the temporary edit starts with.
    virtual std::string EditStartText() const;
    virtual int EventKind() const { return kItemEdit; }
    virtual RECT EditRect() const;
    virtual void Paint(HDC dc);
    void PaintField(HDC dc, const RECT& field, const char* text);
    void OpenEdit();
    // A press begins; a press opened the in-place edit or the drop-down; the button came up.
    virtual void PressStarted() {}
    virtual void PressOpened() {}
    virtual void ButtonReleased() {}

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommit(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCancel(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
};

class CAppPanelComboBox : public CAppPanelEditBox {
public:
    PBOX_ITEM_WND_CLASS("AppPanelComboBox")

    CAppPanelComboBox(InputEventRecord* event, PboxItem* item) : CAppPanelEditBox(event, item) {}

    // Makes the window under the combo's own class (the edit field's would take the edit's).
    HWND Create(HWND parent, const RECT* rect, const char* title, DWORD style, DWORD exStyle, HMENU id);

protected:
    void TakeText(const char* text) override;
    char* Buffer() const override { return PanelComboBuffer(); }
    size_t BufferSize() const override { return kPanelComboBufferSize; }
    std::string EditStartText() const override;
    int EventKind() const override { return kItemComboBox; }
    RECT EditRect() const override;
    void Paint(HDC dc) override;
    void PressStarted() override { closeOnRelease = 1; }
    void PressOpened() override { closeOnRelease = 0; }
    void ButtonReleased() override;

    int closeOnRelease = 1;
};

class CAppPanelComboList : public CPanelItem<CAppPanelComboList> {
public:
    PBOX_ITEM_WND_CLASS("AppPanelComboList")

    CAppPanelComboList(InputEventRecord* event, PboxItem* item) : CPanelItem(event, item) {}

    // The rows of a list text: after an optional "\n" number "\n" prefix, its comma-separated
    // fields; the number (0 without a well-formed prefix) goes into number.
    static std::vector<std::string> Rows(const char* text, int* number);

    WK_BEGIN_MSG_MAP(CAppPanelComboList)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_MESSAGE_HANDLER(WM_SETTEXT, OnSetTextRedraw)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    WK_END_MSG_MAP()

    // Draws one row of an owner-drawn list: through the plug-in's row-drawing function of a
    // list added with one, when that address lies in a loaded plug-in and the call returns;
    // else the row's own text.
    static void DrawRow(const PboxItem& item, DRAWITEMSTRUCT* drawItem);

protected:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    // Fills the inner list with the rows of the item's text.
    virtual void Fill(HWND list);
    // A notification of the inner list (not while the calculator is open).
    virtual void ListNotification(WORD code);

    RECT m_client = {0, 0, 0, 0};
};
