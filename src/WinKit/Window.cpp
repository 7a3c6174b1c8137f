#include "WinKit/Window.h"

namespace WinKit {

CWindowImplRoot::~CWindowImplRoot()
{
    // A control keeps working with its own procedure once its object is gone.
    if (m_subclassed && m_hWnd != nullptr && ::IsWindow(m_hWnd)) UnsubclassWindow();
}

CWindowImplRoot* CWindowImplRoot::FromHandle(HWND hWnd)
{
    return dynamic_cast<CWindowImplRoot*>(CMessageTarget::FromHandle(hWnd));
}

LRESULT CWindowImplRoot::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_superWindowProc != nullptr)
        return ::CallWindowProcA(m_superWindowProc, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

BOOL CWindowImplRoot::SubclassWindow(HWND hWnd)
{
    if (m_hWnd != nullptr || hWnd == nullptr || CMessageTarget::FromHandle(hWnd) != nullptr) return FALSE;
    Bind(hWnd);
    m_superWindowProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
        hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowImplRoot::WindowProc)));
    m_subclassed = true;
    return TRUE;
}

HWND CWindowImplRoot::UnsubclassWindow()
{
    if (!m_subclassed || m_hWnd == nullptr) return nullptr;
    HWND hWnd = m_hWnd;
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_superWindowProc));
    Unbind();
    m_superWindowProc = nullptr;
    m_subclassed = false;
    return hWnd;
}

LRESULT CALLBACK CWindowImplRoot::WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWindowImplRoot* self = FromHandle(hWnd);
    if (self == nullptr) return ::DefWindowProcA(hWnd, msg, wParam, lParam);

    LRESULT result = 0;
    if (!self->Dispatch(hWnd, msg, wParam, lParam, result)) result = self->DefWindowProc(msg, wParam, lParam);

    if (msg == WM_NCDESTROY) {
        // The window is gone: unbind before the object may delete itself.
        if (self->m_subclassed) {
            self->UnsubclassWindow();
        } else {
            self->Unbind();
        }
        self->Finish(hWnd);
    }
    return result;
}

ATOM RegisterWndClassInfo(CWndClassInfo& info)
{
    if (info.atom != 0) return info.atom;
    HINSTANCE instance = info.wc.hInstance ? info.wc.hInstance : GetModuleHandleA(nullptr);
    WNDCLASSEXA existing = {sizeof(existing)};
    if (info.superClassName != nullptr) {
        // Extend a registered class: keep its procedure as the default one.
        if (!::GetClassInfoExA(nullptr, info.superClassName, &existing) &&
            !::GetClassInfoExA(instance, info.superClassName, &existing))
            return 0;
        info.superWindowProc = existing.lpfnWndProc;
        WNDCLASSEXA wc = existing;
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = CWindowImplRoot::WindowProc;
        wc.hInstance = instance;
        wc.lpszClassName = info.wc.lpszClassName;
        info.wc = wc;
    }
    if (info.wc.hCursor == nullptr && info.superClassName == nullptr)
        info.wc.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    info.wc.hInstance = instance;
    // Another object of the same class may have registered it in this process already.
    // GetClassInfoEx answers the class atom.
    if (ATOM registered = static_cast<ATOM>(
            ::GetClassInfoExA(instance, info.wc.lpszClassName, &existing))) {
        info.atom = registered;
        return info.atom;
    }
    info.atom = ::RegisterClassExA(&info.wc);
    return info.atom;
}

}  // namespace WinKit
