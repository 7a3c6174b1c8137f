#include "WinKit/MessageLoop.h"

#include <algorithm>

namespace WinKit {

namespace {

template <class T>
BOOL AddUnique(std::vector<T*>& list, T* item)
{
    if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) return FALSE;
    list.push_back(item);
    return TRUE;
}

template <class T>
BOOL RemoveItem(std::vector<T*>& list, T* item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return FALSE;
    list.erase(it);
    return TRUE;
}

}  // namespace

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter) { return AddUnique(m_filters, filter); }
BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) { return RemoveItem(m_filters, filter); }
BOOL CMessageLoop::AddIdleHandler(CIdleHandler* handler) { return AddUnique(m_idleHandlers, handler); }
BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) { return RemoveItem(m_idleHandlers, handler); }

BOOL CMessageLoop::PreTranslateMessage(MSG* pMsg)
{
    // A filter may remove itself while it runs: walk a copy.
    std::vector<CMessageFilter*> filters(m_filters);
    for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
        if ((*it)->PreTranslateMessage(pMsg)) return TRUE;
    }
    return FALSE;
}

BOOL CMessageLoop::OnIdle(int /*idleCount*/)
{
    std::vector<CIdleHandler*> handlers(m_idleHandlers);
    for (CIdleHandler* handler : handlers) handler->OnIdle();
    return FALSE;  // one pass per burst of messages
}

BOOL CMessageLoop::IsIdleMessage(const MSG* pMsg)
{
    switch (pMsg->message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case 0x0118:  // WM_SYSTIMER: the caret's blink
        return FALSE;
    default:
        return TRUE;
    }
}

int CMessageLoop::Run()
{
    BOOL doIdle = TRUE;
    int idleCount = 0;
    for (;;) {
        while (doIdle && !PeekMessageA(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++)) doIdle = FALSE;
        }
        BOOL got = GetMessageA(&m_msg, nullptr, 0, 0);
        if (got == -1) continue;  // an invalid window handle: nothing to dispatch
        if (!got) break;          // WM_QUIT
        if (!PreTranslateMessage(&m_msg)) {
            TranslateMessage(&m_msg);
            DispatchMessageA(&m_msg);
        }
        if (IsIdleMessage(&m_msg)) {
            doIdle = TRUE;
            idleCount = 0;
        }
    }
    return static_cast<int>(m_msg.wParam);
}

}  // namespace WinKit
