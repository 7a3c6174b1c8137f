// The module object: the program's instance and the registry of message loops by thread.
#pragma once

#include <windows.h>

#include <map>

#include "WinKit/MessageLoop.h"

namespace WinKit {

class CAppModule {
public:
    CAppModule();
    ~CAppModule();
    CAppModule(const CAppModule&) = delete;
    CAppModule& operator=(const CAppModule&) = delete;

    HRESULT Init(HINSTANCE instance);
    void Term();

    HINSTANCE GetModuleInstance() const { return m_instance; }
    HINSTANCE GetResourceInstance() const { return m_instance; }

    // The loop registry is shared by every thread of the module.
    BOOL AddMessageLoop(CMessageLoop* loop, DWORD threadId = GetCurrentThreadId());
    BOOL RemoveMessageLoop(DWORD threadId = GetCurrentThreadId());
    CMessageLoop* GetMessageLoop(DWORD threadId = GetCurrentThreadId());

private:
    HINSTANCE m_instance = nullptr;
    CRITICAL_SECTION m_lock;
    std::map<DWORD, CMessageLoop*> m_loops;
};

// The program's one module object.
CAppModule& Module();

}  // namespace WinKit
