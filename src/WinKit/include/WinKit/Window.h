// Window classes bound to an HWND. A CWindow is a plain handle with a few helpers; a
// CWindowImpl<T> owns a window whose messages go to T's message map. The object is bound to
// its window through a window property, so GWLP_USERDATA stays free for the program.
#pragma once

#include <windows.h>

#include "WinKit/MessageTarget.h"

namespace WinKit {

// Registration data of a window class owned by a CWindowImpl.
struct CWndClassInfo {
    WNDCLASSEXA wc;
    const char* superClassName;  // a registered class to extend, or null
    ATOM atom;
    WNDPROC superWindowProc;     // the extended class's procedure
};

// Non-template part of every window implementation: the shared procedure and subclassing.
class CWindowImplRoot : public CMessageTarget {
public:
    CWindowImplRoot() = default;
    ~CWindowImplRoot() override;

    // Default treatment of a message nobody handled.
    virtual LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc()
    {
        return m_currentMsg ? DefWindowProc(m_currentMsg->message, m_currentMsg->wParam,
                                            m_currentMsg->lParam)
                            : 0;
    }

    // Takes over an existing window (a control), keeping its procedure as the default one.
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

    // The window object bound to a window, or null.
    static CWindowImplRoot* FromHandle(HWND hWnd);

    // The shared procedure of every class registered through CWindowImpl.
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    WNDPROC m_superWindowProc = nullptr;
    bool m_subclassed = false;
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
        typename TBase::CreationScope creating(this);
        return ::CreateWindowExA(exStyle, info.wc.lpszClassName, title, style, rc.left, rc.top, width,
                                 height, parent, menuOrId, info.wc.hInstance, createParam);
    }

    static DWORD GetWndStyle(DWORD style) { return style ? style : WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS; }
    static DWORD GetWndExStyle(DWORD exStyle) { return exStyle; }
};

}  // namespace WinKit
