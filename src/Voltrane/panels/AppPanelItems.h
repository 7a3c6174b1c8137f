// The item windows of a parameter panel that are pressed or only shown: push, check and radio
// buttons and the text item. Each shows one table item, reads and writes it directly, and
// reports what the user does through the input event record, which ends the command's wait.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "WinKit/Window.h"
#include "commands/InputEvent.h"
#include "panels/ParameterPanelModel.h"

// The window class of an item: 12 bytes of window words, the window colour and the hand cursor.
#define PBOX_ITEM_WND_CLASS(className)                                                           \
    static WinKit::CWndClassInfo& GetWndClassInfo()                                              \
    {                                                                                            \
        static WinKit::CWndClassInfo info = {                                                    \
            {sizeof(WNDCLASSEXA), CS_HREDRAW | CS_VREDRAW, WinKit::CWindowImplRoot::WindowProc, 0, \
             12, nullptr, nullptr, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr,   \
             (className), nullptr},                                                              \
            nullptr, 0, nullptr};                                                                \
        if (info.wc.hCursor == nullptr) info.wc.hCursor = LoadCursorA(nullptr, IDC_HAND);        \
        return info;                                                                             \
    }

// The notification a button sends its parent when the pointer leaves over its frame.
constexpr UINT kPanelItemHoverMessage = 1074;

// What every item object shares: the item it shows (the table's, or a copy of its own), where
// its events go, and the object of the same slot in the panel a right-click copy was made from.
template <class T>
class CPanelItem : public WinKit::CWindowImpl<T>, public CPboxItemView {
public:
    CPanelItem(InputEventRecord* event, PboxItem* item) : pItem(item != nullptr ? item : &m_item), pEvent(event) {}

    HWND ItemWindow() const override { return this->m_hWnd; }
    PboxItem* ShownItem() override { return pItem; }
    void SetTwin(CPboxItemView* twin) override { m_twin = twin; }

protected:
    void RaiseEvent(int kind, int value)
    {
        if (pEvent == nullptr) return;
        pEvent->code = kEventPanelItem;
        pEvent->kind = kind;
        pEvent->item = pItem->id;
        pEvent->value = value;
    }
    // A new window text shows at once; the default procedure stores it.
    LRESULT OnSetTextRedraw(UINT, WPARAM, LPARAM, BOOL& bHandled)
    {
        ::InvalidateRect(this->m_hWnd, nullptr, TRUE);
        bHandled = FALSE;
        return 0;
    }
    bool Enabled() const { return pItem->enabled != 0 && ::IsWindowEnabled(this->m_hWnd); }
    void RedrawTwin()
    {
        if (m_twin != nullptr && m_twin->ItemWindow() != nullptr) ::InvalidateRect(m_twin->ItemWindow(), nullptr, TRUE);
    }

    PboxItem m_item;
    PboxItem* pItem;
    InputEventRecord* pEvent;
    CPboxItemView* m_twin = nullptr;
};

// The text colour of an item's colour number: -1 the given default, 0 black, n the drawing colour.
COLORREF PanelItemTextColor(int number, COLORREF defaultColor);
// Closes the right-click menu or an open list pop-up after an item was used.
void CloseRightMenuAfterItem();

class CAppPanelButton : public CPanelItem<CAppPanelButton> {
public:
    PBOX_ITEM_WND_CLASS("AppPanelButton")

    CAppPanelButton(InputEventRecord* event, PboxItem* item) : CPanelItem(event, item) {}

    virtual int GetState() { return pItem != nullptr ? state : -1; }
    virtual int SetState(int newState)
    {
        int previous = state;
        state = newState;
        return previous;
    }
    virtual int ToggleState() { return SetState(!state); }

    WK_BEGIN_MSG_MAP(CAppPanelButton)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaintMessage)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDownMessage)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUpMessage)
        WK_MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        WK_MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
        WK_MESSAGE_HANDLER(WM_SETFOCUS, OnFocus)
        WK_MESSAGE_HANDLER(WM_KILLFOCUS, OnFocus)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
        WK_MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
        WK_MESSAGE_HANDLER(WM_MOUSEMOVE, OnNothing)
        WK_MESSAGE_HANDLER(WM_RBUTTONUP, OnNothing)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnNothing)
    WK_END_MSG_MAP()

protected:
    virtual void Paint(HDC dc);
    virtual void OnLButtonDown();
    virtual void OnLButtonUp();
    // Paints one face (a button, or one segment of a radio item).
    void PaintFace(HDC dc, const RECT& face, const char* text, bool pressed, bool focused);
    void SendCommandNotification();

    int notifyMessage = kPanelItemHoverMessage;
    int commandParam = 0;
    std::string faceName = "ＭＳ ゴシック";
    COLORREF pressedColor = 0x00DEFF;
    int state = 0;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaintMessage(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDownMessage(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUpMessage(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNothing(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

protected:
    POINT m_lastDown = {0, 0};
};

class CAppPanelCheckButton : public CAppPanelButton {
public:
    CAppPanelCheckButton(InputEventRecord* event, PboxItem* item) : CAppPanelButton(event, item) {}

    int GetState() override { return pItem->value2; }
    int SetState(int newState) override
    {
        int previous = pItem->value2;
        pItem->value2 = newState;
        return previous;
    }
    int ToggleState() override { return SetState(pItem->value2 == 0 ? 1 : 0); }

protected:
    void Paint(HDC dc) override;
    void OnLButtonDown() override;
    void OnLButtonUp() override;
};

class CAppPanelRadioButton : public CAppPanelButton {
public:
    CAppPanelRadioButton(InputEventRecord* event, PboxItem* item);

    // The choice painted at x in a window width wide with n choices, always 0 to n - 1.
    static int ChoiceAt(int x, int width, int n);
    // The rectangle of segment i of n in a window width wide and height high.
    static RECT SegmentRect(int i, int n, int width, int height);

protected:
    void Paint(HDC dc) override;
    void OnLButtonDown() override;
    void OnLButtonUp() override;

private:
    std::vector<std::string> m_choices;
    int m_segmentWidth = 0;
};

class CAppPanelTextBox : public CPanelItem<CAppPanelTextBox> {
public:
    PBOX_ITEM_WND_CLASS("AppPanelTextBox")

    CAppPanelTextBox(InputEventRecord* event, PboxItem* item) : CPanelItem(event, item) {}

    WK_BEGIN_MSG_MAP(CAppPanelTextBox)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
    WK_END_MSG_MAP()

private:
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
};
