#include "KitTestHost.h"

#include "controls/KitFaces.h"

namespace {

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_KIT_HOVER || message == WM_RBUTTONDOWN)
        KitTestHost::messages().push_back({message, wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::vector<HostMessage>& KitTestHost::messages()
{
    static std::vector<HostMessage> recorded;
    return recorded;
}

KitTestHost::KitTestHost()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = "KitTestHost";
    RegisterClassA(&wc);
    m_window = CreateWindowExA(0, "KitTestHost", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 500, nullptr,
                               nullptr, wc.hInstance, nullptr);
    // Active, so that a dropped list takes the keyboard focus.
    SetForegroundWindow(m_window);
    SetActiveWindow(m_window);

    Clear();
    Drain();
}

KitTestHost::~KitTestHost()
{
    DestroyWindow(m_window);
    Clear();
}

HWND KitTestHost::Child(const char* className, int id, int x, int y, int w, int h, const char* caption)
{
    return CreateWindowExA(0, className, caption, WS_CHILD | WS_VISIBLE, x, y, w, h, m_window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
}

void KitTestHost::Drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool KitTestHost::PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    const DWORD end = GetTickCount() + static_cast<DWORD>(timeoutMs);
    for (;;) {
        Drain();
        if (done()) return true;
        if (static_cast<int>(end - GetTickCount()) <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::vector<HostMessage> KitTestHost::Of(UINT message) const
{
    std::vector<HostMessage> found;
    for (const HostMessage& m : messages())
        if (m.message == message) found.push_back(m);
    return found;
}
