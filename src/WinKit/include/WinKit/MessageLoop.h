// The thread's message loop with message filters (asked before translation, last added
// first) and idle handlers (run when the queue has emptied after a message that counts).
#pragma once

#include <windows.h>

#include <vector>

namespace WinKit {

class CMessageFilter {
public:
    virtual ~CMessageFilter() = default;
    // TRUE when the message was consumed and must not be translated or dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;
};

class CIdleHandler {
public:
    virtual ~CIdleHandler() = default;
    // Return value is not used to stop idle processing of other handlers.
    virtual BOOL OnIdle() = 0;
};

class CMessageLoop {
public:
    BOOL AddMessageFilter(CMessageFilter* filter);
    BOOL RemoveMessageFilter(CMessageFilter* filter);
    BOOL AddIdleHandler(CIdleHandler* handler);
    BOOL RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT; returns its wParam.
    int Run();

    // Offers the message to the filters, most recently added first.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Runs every idle handler; FALSE when there was none.
    virtual BOOL OnIdle(int idleCount);

    // Messages after which idle processing is not restarted (mouse moves over a still
    // window, the caret's blink timer, paint): otherwise idle work would run continuously.
    static BOOL IsIdleMessage(const MSG* pMsg);

    size_t FilterCount() const { return m_filters.size(); }
    size_t IdleHandlerCount() const { return m_idleHandlers.size(); }

protected:
    std::vector<CMessageFilter*> m_filters;
    std::vector<CIdleHandler*> m_idleHandlers;
    MSG m_msg = {};
};

}  // namespace WinKit
