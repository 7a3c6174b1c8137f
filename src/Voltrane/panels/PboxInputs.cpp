// The PBox list, edit and combo controls, which work as the panel's own input items do but find
// their item through their window words and keep the item's mirror in step instead of a twin,
// and the free edit field "Wexl_Edit", which edits its own window text.
#include "panels/PboxControls.h"

#include <string>

#include "commands/InputEvent.h"
#include "core/CsvParser.h"
#include "core/Dbcs.h"
#include "dialogs/Calculator.h"
#include "panels/AppPanelInputs.h"
#include "panels/ParameterPanelItems.h"

namespace {

void NotifyParent(HWND window) { ::PostMessageA(::GetParent(window), kPboxControlNotify, 0, 0); }

// The item of the build in progress, which a control takes until its words name one.
PboxItem* BuildingItem()
{
    PboxPanel* panel = PboxGetPanel(PboxBuildingPanel());
    const int slot = PboxBuildingSlot();
    return panel != nullptr && slot >= 0 && slot < kPboxItemCount ? &panel->items[slot] : nullptr;
}

// An input item object bound to a PBox window: it reads the item its words name before every
// message, so it shows whatever item occupies that panel and slot, and goes with its window.
template <class Base>
class CPboxBound : public Base {
public:
    CPboxBound() : Base(&GetInputEventRecord(), BuildingItem()) {}

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD mapId = 0) override
    {
        if (m_created) {
            PboxItem* item = PboxControlItem(hWnd, &m_panel, &m_slot);
            this->pItem = item != nullptr ? item : &this->m_item;
        }
        if (uMsg == WM_CLOSE) EndPanelInPlaceEdit(hWnd);
        const BOOL handled = Base::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, mapId);
        if (uMsg == WM_CREATE) m_created = true;
        return handled;
    }
    void OnFinalMessage(HWND) override { delete this; }

protected:
    // The item kept in step: the one of the same slot in the panel shown docked.
    PboxItem* Mirror() const { return m_created ? PboxShownPanelItem(m_slot) : nullptr; }
    // Shows a text in the windows of the item kept in step.
    void ShowInMirror(const char* text)
    {
        PboxItem* mirror = Mirror();
        if (mirror == nullptr) return;
        if (mirror->window != nullptr && mirror->window != this->m_hWnd) ::SetWindowTextA(mirror->window, text);
        PboxPanel* shown = PboxGetPanel(PboxShownPanel());
        if (shown != nullptr && shown->itemWindows[m_slot] != nullptr)
            ::SetWindowTextA(shown->itemWindows[m_slot]->ItemWindow(), text);
    }

    bool m_created = false;
    int m_panel = 0;
    int m_slot = 0;
};

class CPboxEdit : public CPboxBound<CAppPanelEditBox> {
protected:
    void TakeText(const char* text) override
    {
        CAppPanelEditBox::TakeText(text);
        if (PboxItem* mirror = Mirror())
            if (mirror->text != nullptr && mirror->text != pItem->text) DbcsCopy(mirror->text, mirror->textSize, text);
        ShowInMirror(text);
        NotifyParent(m_hWnd);
    }
};

class CPboxCombo : public CPboxBound<CAppPanelComboBox> {
protected:
    // The typing starts from the docked panel's field of the same slot.
    std::string EditStartText() const override
    {
        if (const PboxItem* mirror = Mirror()) return mirror->text2;
        return CAppPanelEditBox::EditStartText();
    }
    void TakeText(const char* text) override
    {
        CAppPanelComboBox::TakeText(text);
        if (PboxItem* mirror = Mirror()) DbcsCopy(mirror->text2, sizeof mirror->text2, text);
        ShowInMirror(text);
        NotifyParent(m_hWnd);
    }
};

class CPboxList : public CPboxBound<CAppPanelComboList> {
protected:
    // The plain fields of the text: a number prefix stays part of the first row.
    void Fill(HWND list) override
    {
        if (pItem->text == nullptr || pItem->text[0] == '\0') return;
        for (const std::string& row : CCsvParser(pItem->text).fields)
            ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    }
    // Every change of the selection counts, not only the one the list closes with.
    void ListNotification(WORD code) override
    {
        if (code == CBN_DROPDOWN) {
            m_copying = false;
            return;
        }
        if (code != CBN_SELCHANGE) return;
        const LRESULT row = ::SendMessageA(pItem->listWindow, CB_GETCURSEL, 0, 0);
        if (row == CB_ERR) return;
        pItem->value = static_cast<int>(row);
        RaiseEvent(kItemList, pItem->value);
        PboxItem* mirror = Mirror();
        if (!m_copying && mirror != nullptr) {
            mirror->value = pItem->value;
            m_copying = true;
            if (mirror->listWindow != nullptr) ::SendMessageA(mirror->listWindow, CB_SETCURSEL, static_cast<WPARAM>(row), 0);
        }
        NotifyParent(m_hWnd);
    }

private:
    bool m_copying = false;
};

// Makes the object of a bound control when its window is first created.
template <class T>
LRESULT CALLBACK BoundControlProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* object = new T();
        if (!object->SubclassWindow(window)) {
            delete object;
            return FALSE;
        }
    }
    return DefWindowProcA(window, msg, wParam, lParam);
}

void PaintWexlEdit(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    RECT rc;
    ::GetClientRect(window, &rc);
    char text[kPanelEditBufferSize] = {};
    ::GetWindowTextA(window, text, sizeof text);
    // No item: always the enabled look in the system colours.
    PaintPanelEditField(dc, rc, text, true, true, -1, -1);
    ::EndPaint(window, &ps);
}

}  // namespace

LRESULT CALLBACK PboxListProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return BoundControlProc<CPboxList>(window, msg, wParam, lParam);
}

LRESULT CALLBACK PboxEditProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return BoundControlProc<CPboxEdit>(window, msg, wParam, lParam);
}

LRESULT CALLBACK PboxComboProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return BoundControlProc<CPboxCombo>(window, msg, wParam, lParam);
}

LRESULT CALLBACK WexlEditProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        ::SetWindowLongA(window, 0, 1);
        return 0;
    case WM_PAINT:
        PaintWexlEdit(window);
        return 0;
    case WM_LBUTTONDOWN: {
        if (IsCalculatorOpen()) return 0;
        RECT rc;
        ::GetClientRect(window, &rc);
        char text[kPanelEditBufferSize] = {};
        ::GetWindowTextA(window, text, sizeof text);
        PanelEditOptions options;
        options.buffer = PanelEditBuffer();
        options.bufferSize = kPanelEditBufferSize;
        OpenPanelInPlaceEdit(window, rc, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, options, text);
        return 0;
    }
    case kPanelEditCommit:
        // Only the field's own text changes: no event is written.
        ::SetWindowTextA(window, PanelEditBuffer());
        ::SendMessageA(::GetParent(window), WM_USER, 0, 0);
        ::SendMessageA(::GetParent(window), kPboxControlNotify, 0, 0);
        return 0;
    case kPanelEditCancel:
        ::SetWindowTextA(window, PanelEditBuffer());
        return 0;
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcA(window, msg, wParam, lParam);
        ::InvalidateRect(window, nullptr, TRUE);
        return result;
    }
    case WM_DESTROY:
    case WM_CLOSE:
        EndPanelInPlaceEdit(window);
        return DefWindowProcA(window, msg, wParam, lParam);
    default:
        return DefWindowProcA(window, msg, wParam, lParam);
    }
}
