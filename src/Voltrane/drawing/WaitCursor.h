// The wait cursor for the length of a file operation.
#pragma once

#include <windows.h>

class WaitCursor {
public:
    WaitCursor() : m_previous(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(m_previous); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
};
