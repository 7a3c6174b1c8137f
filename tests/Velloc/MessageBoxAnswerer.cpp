#include "MessageBoxAnswerer.h"

#include <vector>

#include "ProcessDialogs.h"

MessageBoxAnswerer::MessageBoxAnswerer()
{
    InitializeCriticalSection(&m_lock);
    m_thread = CreateThread(nullptr, 0, Watch, this, 0, nullptr);
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    InterlockedExchange(&m_stop, 1);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
    DeleteCriticalSection(&m_lock);
}

DWORD WINAPI MessageBoxAnswerer::Watch(void* self)
{
    auto* answerer = static_cast<MessageBoxAnswerer*>(self);
    while (!answerer->m_stop) {
        for (HWND box : VisibleProcessDialogs()) answerer->Answer(box);
        Sleep(20);
    }
    return 0;
}

void MessageBoxAnswerer::Answer(HWND box)
{
    char caption[256] = {};
    GetWindowTextA(box, caption, sizeof caption);
    const std::string text = StaticTextsOf(box);
    HWND owner = GetWindow(box, GW_OWNER);
    EnterCriticalSection(&m_lock);
    for (HWND answered : m_answered) {
        if (answered == box) {
            LeaveCriticalSection(&m_lock);
            return;
        }
    }
    m_answered.push_back(box);
    // Cancel closes a message box as OK does, and leaves a dialog without applying it. The box
    // goes away once its own thread handles the press.
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    ++m_count;
    m_caption = caption;
    m_text = text;
    m_owner = owner;
    LeaveCriticalSection(&m_lock);
}

int MessageBoxAnswerer::Count() const
{
    EnterCriticalSection(&m_lock);
    int count = m_count;
    LeaveCriticalSection(&m_lock);
    return count;
}

std::string MessageBoxAnswerer::LastCaption() const
{
    EnterCriticalSection(&m_lock);
    std::string caption = m_caption;
    LeaveCriticalSection(&m_lock);
    return caption;
}

std::string MessageBoxAnswerer::LastText() const
{
    EnterCriticalSection(&m_lock);
    std::string text = m_text;
    LeaveCriticalSection(&m_lock);
    return text;
}

HWND MessageBoxAnswerer::LastOwner() const
{
    EnterCriticalSection(&m_lock);
    HWND owner = m_owner;
    LeaveCriticalSection(&m_lock);
    return owner;
}
