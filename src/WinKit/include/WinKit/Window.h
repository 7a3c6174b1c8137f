// Window classes bound to an HWND. A CWindow is a plain handle with a few helpers; a
// CWindowImpl<T> owns a window whose messages go to T's message map. The object is bound to
// its window through a window property, so GWLP_USERDATA stays free for the program.
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

// Registration data of a window class owned by a CWindowImpl.
struct CWndClassInfo {
    WNDCLASSEXA wc;
    const char* superClassName;  // a registered class to extend, or null
    ATOM atom;
    WNDPROC superWindowProc;     // the extended class's procedure
};

// Non-template part of every window implementation: binding and the shared procedure.
class CWindowImplRoot : public CWindow, public CMessageMap {
public:
    CWindowImplRoot() = default;
    CWindowImplRoot(const CWindowImplRoot&) = delete;
    CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;
    ~CWindowImplRoot() override;

    // The message being processed, or null outside a message.
    const MSG* GetCurrentMessage() const { return m_currentMsg; }

    // Default treatment of a message nobody handled.
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc()
    {
        return m_currentMsg ? DefWindowProc(m_currentMsg->message, m_currentMsg->wParam,
                                            m_currentMsg->lParam)
                            : 0;
    }

    // Called after WM_NCDESTROY, when the window is gone; the object may delete itself here.
    virtual void OnFinalMessage(HWND /*hWnd*/) {}

    // Takes over an existing window (a control), keeping its procedure as the default one.
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

    // The object bound to a window, or null.
    static CWindowImplRoot* FromHandle(HWND hWnd);

    // The shared procedure of every class registered through CWindowImpl.
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // The object whose window is being created on this thread.
    static void SetCreating(CWindowImplRoot* object);
    static CWindowImplRoot* TakeCreating();
    void Bind(HWND hWnd);
    void Unbind();

    WNDPROC m_superWindowProc = nullptr;
    const MSG* m_currentMsg = nullptr;
    bool m_subclassed = false;

    friend class CDialogImplRoot;
};

// Registers the class described by info once; returns its atom (0 on failure).
ATOM RegisterWndClassInfo(CWndClassInfo& info);

}  // namespace WinKit

// Declares the window class of a CWindowImpl: its name (null: a name made from the
// object's address is not supported, give a name), class styles and background brush.
#define WK_DECLARE_WND_CLASS_EX(className, classStyle, background)                          \
    static WinKit::CWndClassInfo& GetWndClassInfo()                                         \
    {                                                                                       \
        static WinKit::CWndClassInfo info = {                                               \
            {sizeof(WNDCLASSEXA), (classStyle), WinKit::CWindowImplRoot::WindowProc, 0, 0,   \
             nullptr, nullptr, nullptr, reinterpret_cast<HBRUSH>((background) + 1), nullptr, \
             (className), nullptr},                                                         \
            nullptr, 0, nullptr};                                                           \
        return info;                                                                        \
    }

#define WK_DECLARE_WND_CLASS(className) \
    WK_DECLARE_WND_CLASS_EX(className, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

// A class that extends a registered class (a control) under a new name.
#define WK_DECLARE_WND_SUPERCLASS(className, baseClassName)                                  \
    static WinKit::CWndClassInfo& GetWndClassInfo()                                         \
    {                                                                                       \
        static WinKit::CWndClassInfo info = {                                               \
            {sizeof(WNDCLASSEXA), 0, WinKit::CWindowImplRoot::WindowProc, 0, 0, nullptr,     \
             nullptr, nullptr, nullptr, nullptr, (className), nullptr},                     \
            (baseClassName), 0, nullptr};                                                   \
        return info;                                                                        \
    }

namespace WinKit {

template <class T, class TBase = CWindowImplRoot>
class CWindowImpl : public TBase {
public:
    // Creates the window; the object receives every message from the first one on.
    HWND Create(HWND parent, const RECT* rect = nullptr, const char* title = nullptr,
                DWORD style = 0, DWORD exStyle = 0, HMENU menuOrId = nullptr,
                void* createParam = nullptr)
    {
        CWndClassInfo& info = T::GetWndClassInfo();
        if (info.wc.hInstance == nullptr) info.wc.hInstance = GetModuleHandleA(nullptr);
        if (RegisterWndClassInfo(info) == 0) return nullptr;
        this->m_superWindowProc = info.superWindowProc;
        RECT rc = rect ? *rect : RECT{static_cast<LONG>(CW_USEDEFAULT), static_cast<LONG>(CW_USEDEFAULT), 0, 0};
        int width = rect ? rc.right - rc.left : CW_USEDEFAULT;
        int height = rect ? rc.bottom - rc.top : CW_USEDEFAULT;
        if (style == 0) style = T::GetWndStyle(style);
        if (exStyle == 0) exStyle = T::GetWndExStyle(exStyle);
        CWindowImplRoot::SetCreating(this);
        HWND hWnd = ::CreateWindowExA(exStyle, info.wc.lpszClassName, title, style, rc.left,
                                      rc.top, width, height, parent, menuOrId,
                                      info.wc.hInstance, createParam);
        CWindowImplRoot::TakeCreating();  // clears it when creation failed early
        return hWnd;
    }

    static DWORD GetWndStyle(DWORD style) { return style ? style : WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS; }
    static DWORD GetWndExStyle(DWORD exStyle) { return exStyle; }
};

}  // namespace WinKit
