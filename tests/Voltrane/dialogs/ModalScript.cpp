#include "ModalScript.h"

#include "OwnWindows.h"

namespace {

ModalScript* g_current = nullptr;

// Ends whatever modal window of this process the script was waiting in.
void CloseModalWindows()
{
    if (HWND calculator = FindOwnWindow("DENTAKU", nullptr)) PostMessageA(calculator, WM_CLOSE, 0, 0);
    while (HWND dialog = FindOwnWindow("#32770", nullptr)) {
        EndDialog(dialog, -2);
        if (FindOwnWindow("#32770", nullptr) == dialog) break;
    }
}

}  // namespace

INT_PTR ModalScript::Run(const std::function<INT_PTR()>& body)
{
    ModalScript* previous = g_current;
    g_current = this;
    m_start = GetTickCount();
    const UINT_PTR timer = SetTimer(nullptr, 0, 15, Tick);
    const INT_PTR result = body();
    KillTimer(nullptr, timer);
    g_current = previous;
    return result;
}

void CALLBACK ModalScript::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    ModalScript* self = g_current;
    if (self == nullptr || self->m_busy) return;
    self->m_busy = true;
    if (GetTickCount() - self->m_start > 10000) {
        self->m_timedOut = true;
        CloseModalWindows();
    } else if (self->m_next < self->m_steps.size()) {
        if (self->m_steps[self->m_next]()) ++self->m_next;
    }
    self->m_busy = false;
}
