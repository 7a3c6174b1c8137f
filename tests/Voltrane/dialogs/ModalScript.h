// A script that a timer plays while a modal loop of the program runs (the calculator's own
// loop, a dialog box): each step is tried on every tick until it answers true. When the
// script takes too long, the window it waits in is closed so that the test ends and fails.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

class ModalScript {
public:
    using Step = std::function<bool()>;

    explicit ModalScript(std::vector<Step> steps) : m_steps(std::move(steps)) {}

    // Runs body (which opens the modal window) with the script playing; body's result.
    INT_PTR Run(const std::function<INT_PTR()>& body);
    size_t Pending() const { return m_steps.size() - m_next; }
    bool TimedOut() const { return m_timedOut; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);

    std::vector<Step> m_steps;
    size_t m_next = 0;
    DWORD m_start = 0;
    bool m_busy = false;
    bool m_timedOut = false;
};
