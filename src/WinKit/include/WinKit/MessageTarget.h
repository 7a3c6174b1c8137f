// What windows and dialogs share: the binding of an object to its window (a window property,
// so GWLP_USERDATA stays free for the program), the binding of a window being created to the
// object that creates it, and the dispatch of a message to the object's map, which no
// exception leaves.
#pragma once

#include <windows.h>

#include "WinKit/MessageMap.h"

namespace WinKit {

class CWindow {
public:
    HWND m_hWnd = nullptr;

    CWindow(HWND hWnd = nullptr) : m_hWnd(hWnd) {}
    operator HWND() const { return m_hWnd; }

    void Attach(HWND hWnd) { m_hWnd = hWnd; }
    HWND Detach() { HWND h = m_hWnd; m_hWnd = nullptr; return h; }
    BOOL IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }

    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, msg, wParam, lParam);
    }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, msg, wParam, lParam);
    }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL DestroyWindow()
    {
        if (m_hWnd == nullptr) return FALSE;
        return ::DestroyWindow(m_hWnd);
    }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL SetWindowText(const char* text) const { return ::SetWindowTextA(m_hWnd, text); }
    BOOL GetClientRect(RECT* rc) const { return ::GetClientRect(m_hWnd, rc); }
    BOOL GetWindowRect(RECT* rc) const { return ::GetWindowRect(m_hWnd, rc); }
    BOOL MoveWindow(const RECT& rc, BOOL repaint = TRUE) const
    {
        return ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                            repaint);
    }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    BOOL Invalidate(BOOL erase = TRUE) const { return ::InvalidateRect(m_hWnd, nullptr, erase); }
};

// Where an exception caught in a handler is reported (the text names the message and the
// exception). The default writes it to the debugger output; the program sends it to its log.
using HandlerFaultLog = void (*)(const char* text);
void SetHandlerFaultLog(HandlerFaultLog log);

class CMessageTarget : public CWindow, public CMessageMap {
public:
    CMessageTarget() = default;
    CMessageTarget(const CMessageTarget&) = delete;
    CMessageTarget& operator=(const CMessageTarget&) = delete;
    ~CMessageTarget() override;

    // The message being processed, or null outside a message.
    const MSG* GetCurrentMessage() const { return m_currentMsg; }

    // Called after WM_NCDESTROY, when the window is gone; the object may delete itself here.
    virtual void OnFinalMessage(HWND /*hWnd*/) {}

    // The object bound to a window, or null.
    static CMessageTarget* FromHandle(HWND hWnd);

protected:
    // While it lives on the creating thread, the first window created on that thread (the one
    // that CreateWindowEx or the dialog functions make, before its first message) is bound to
    // the object, and no other window: not its children, nor a window of the same class.
    class CreationScope {
    public:
        explicit CreationScope(CMessageTarget* object);
        ~CreationScope();
        CreationScope(const CreationScope&) = delete;
        CreationScope& operator=(const CreationScope&) = delete;

    private:
        CMessageTarget* m_previousObject;
        HHOOK m_hook;
    };

    void Bind(HWND hWnd);
    void Unbind();

    // The message to the map, the current message kept for the handlers. An exception of a
    // handler is logged; the message then counts as unhandled, except that a window whose
    // creation failed this way is not created.
    BOOL Dispatch(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // After WM_NCDESTROY, once the object is unbound: OnFinalMessage, which no exception leaves.
    void Finish(HWND hWnd);

    const MSG* m_currentMsg = nullptr;

private:
    static LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);
};

}  // namespace WinKit
