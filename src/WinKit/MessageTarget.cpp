#include "WinKit/MessageTarget.h"

#include <cstdio>
#include <exception>

namespace WinKit {

namespace {

const char kObjectProperty[] = "WinKit.Object";

// Window creation happens on the creating thread only, so one slot per thread suffices.
thread_local CMessageTarget* t_creating = nullptr;

void DebuggerLog(const char* text)
{
    OutputDebugStringA(text);
    OutputDebugStringA("\n");
}

HandlerFaultLog g_faultLog = DebuggerLog;

void LogHandlerFault(UINT msg, const char* what)
{
    char text[300];
    std::snprintf(text, sizeof text, "WinKit: message 0x%04X: a handler failed: %s", msg, what);
    if (g_faultLog != nullptr) g_faultLog(text);
}

}  // namespace

void SetHandlerFaultLog(HandlerFaultLog log) { g_faultLog = log != nullptr ? log : DebuggerLog; }

CMessageTarget::~CMessageTarget()
{
    // An object destroyed while its window lives must not be reached by later messages.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd) && FromHandle(m_hWnd) == this)
        ::RemovePropA(m_hWnd, kObjectProperty);
}

CMessageTarget* CMessageTarget::FromHandle(HWND hWnd)
{
    if (hWnd == nullptr) return nullptr;
    return reinterpret_cast<CMessageTarget*>(::GetPropA(hWnd, kObjectProperty));
}

void CMessageTarget::Bind(HWND hWnd)
{
    m_hWnd = hWnd;
    ::SetPropA(hWnd, kObjectProperty, reinterpret_cast<HANDLE>(this));
}

void CMessageTarget::Unbind()
{
    if (m_hWnd != nullptr) ::RemovePropA(m_hWnd, kObjectProperty);
    m_hWnd = nullptr;
}

CMessageTarget::CreationScope::CreationScope(CMessageTarget* object)
    : m_previousObject(t_creating),
      m_hook(::SetWindowsHookExA(WH_CBT, &CMessageTarget::CreationHook, nullptr, ::GetCurrentThreadId()))
{
    t_creating = object;
}

CMessageTarget::CreationScope::~CreationScope()
{
    if (m_hook != nullptr) ::UnhookWindowsHookEx(m_hook);
    t_creating = m_previousObject;
}

LRESULT CALLBACK CMessageTarget::CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    // The hook sees the window before it gets any message; only the first one is the object's.
    if (code == HCBT_CREATEWND && t_creating != nullptr) {
        CMessageTarget* object = t_creating;
        t_creating = nullptr;
        object->Bind(reinterpret_cast<HWND>(wParam));
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

BOOL CMessageTarget::Dispatch(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    MSG current = {hWnd, msg, wParam, lParam, 0, {0, 0}};
    const MSG* outer = m_currentMsg;
    m_currentMsg = &current;
    result = 0;
    BOOL handled = FALSE;
    // No exception may unwind through the system's frames.
    try {
        handled = ProcessWindowMessage(hWnd, msg, wParam, lParam, result, 0);
    } catch (const std::exception& error) {
        LogHandlerFault(msg, error.what());
        handled = msg == WM_NCCREATE || msg == WM_CREATE;
        result = msg == WM_NCCREATE ? FALSE : (msg == WM_CREATE ? -1 : 0);
    } catch (...) {
        LogHandlerFault(msg, "an exception of unknown type");
        handled = msg == WM_NCCREATE || msg == WM_CREATE;
        result = msg == WM_NCCREATE ? FALSE : (msg == WM_CREATE ? -1 : 0);
    }
    m_currentMsg = outer;
    return handled;
}

void CMessageTarget::Finish(HWND hWnd)
{
    try {
        OnFinalMessage(hWnd);
    } catch (const std::exception& error) {
        LogHandlerFault(WM_NCDESTROY, error.what());
    } catch (...) {
        LogHandlerFault(WM_NCDESTROY, "an exception of unknown type");
    }
}

}  // namespace WinKit
