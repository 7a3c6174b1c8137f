#include "WinKit/AppModule.h"

namespace WinKit {

CAppModule::CAppModule() { InitializeCriticalSection(&m_lock); }

CAppModule::~CAppModule() { DeleteCriticalSection(&m_lock); }

HRESULT CAppModule::Init(HINSTANCE instance)
{
    m_instance = instance != nullptr ? instance : GetModuleHandleA(nullptr);
    return S_OK;
}

void CAppModule::Term()
{
    EnterCriticalSection(&m_lock);
    m_loops.clear();
    LeaveCriticalSection(&m_lock);
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop, DWORD threadId)
{
    if (loop == nullptr) return FALSE;
    EnterCriticalSection(&m_lock);
    bool added = m_loops.emplace(threadId, loop).second;
    LeaveCriticalSection(&m_lock);
    return added ? TRUE : FALSE;
}

BOOL CAppModule::RemoveMessageLoop(DWORD threadId)
{
    EnterCriticalSection(&m_lock);
    bool removed = m_loops.erase(threadId) != 0;
    LeaveCriticalSection(&m_lock);
    return removed ? TRUE : FALSE;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId)
{
    EnterCriticalSection(&m_lock);
    auto it = m_loops.find(threadId);
    CMessageLoop* loop = it == m_loops.end() ? nullptr : it->second;
    LeaveCriticalSection(&m_lock);
    return loop;
}

CAppModule& Module()
{
    static CAppModule module;
    return module;
}

}  // namespace WinKit
