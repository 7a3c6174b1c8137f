#include "WinKit/Window.h"

namespace WinKit {

namespace {

const char kThisProperty[] = "WinKit.Object";

// Window creation happens on the creating thread only, so one slot per thread suffices.
thread_local CWindowImplRoot* t_creating = nullptr;

}  // namespace

CWindowImplRoot::~CWindowImplRoot()
{
    // An object destroyed while its window lives must not be reached by later messages.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) {
        if (m_subclassed) {
            UnsubclassWindow();
        } else {
            ::RemovePropA(m_hWnd, kThisProperty);
        }
    }
}

void CWindowImplRoot::SetCreating(CWindowImplRoot* object) { t_creating = object; }

CWindowImplRoot* CWindowImplRoot::TakeCreating()
{
    CWindowImplRoot* object = t_creating;
    t_creating = nullptr;
    return object;
}

void CWindowImplRoot::Bind(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetPropA(hWnd, kThisProperty, reinterpret_cast<HANDLE>(this));
}

void CWindowImplRoot::Unbind()
{
    if (m_hWnd != nullptr) ::RemovePropA(m_hWnd, kThisProperty);
    m_hWnd = nullptr;
}

CWindowImplRoot* CWindowImplRoot::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr) return nullptr;
    return reinterpret_cast<CWindowImplRoot*>(::GetPropA(hWnd, kThisProperty));
}

LRESULT CWindowImplRoot::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_superWindowProc != nullptr)
        return ::CallWindowProcA(m_superWindowProc, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

BOOL CWindowImplRoot::SubclassWindow(HWND hWnd)
{
    if (m_hWnd != nullptr || hWnd == nullptr || FromHandle(hWnd) != nullptr) return FALSE;
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
    if (self == nullptr) {
        self = TakeCreating();
        if (self == nullptr) return ::DefWindowProcA(hWnd, msg, wParam, lParam);
        self->Bind(hWnd);
    }

    MSG current = {hWnd, msg, wParam, lParam, 0, {0, 0}};
    const MSG* outer = self->m_currentMsg;
    self->m_currentMsg = &current;
    LRESULT result = 0;
    BOOL handled = FALSE;
    try {
        handled = self->ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0);
    } catch (...) {
        // No exception may unwind through the system's frames. A window whose creation
        // failed this way is not created; any other message gets the default answer.
        handled = msg == WM_NCCREATE || msg == WM_CREATE;
        result = msg == WM_NCCREATE ? FALSE : (msg == WM_CREATE ? -1 : 0);
    }
    self->m_currentMsg = outer;
    if (!handled) result = self->DefWindowProc(msg, wParam, lParam);

    if (msg == WM_NCDESTROY) {
        // The window is gone: unbind before the object may delete itself.
        if (self->m_subclassed) {
            self->UnsubclassWindow();
        } else {
            self->Unbind();
        }
        try {
            self->OnFinalMessage(hWnd);
        } catch (...) {
        }
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
