#include "KitTestHost.h"

#include "controls/KitFaces.h"
#include "controls/PickerField.h"

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

void KitTestHost::Click(POINT pt)
{
    SetCursorPos(pt.x, pt.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

void KitTestHost::Key(WORD vk)
{
    INPUT key[2] = {};
    key[0].type = key[1].type = INPUT_KEYBOARD;
    key[0].ki.wVk = key[1].ki.wVk = vk;
    key[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, key, sizeof(INPUT));
}

HWND KitTestHost::DroppedList(HWND field, const char* popupClass)
{
    HWND popup = FindWindowExA(field, nullptr, popupClass, nullptr);
    HWND combo = popup != nullptr ? GetDlgItem(popup, kPickerComboId) : nullptr;
    if (combo == nullptr || SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) == 0) return nullptr;
    COMBOBOXINFO info = {sizeof info};
    GetComboBoxInfo(combo, &info);
    return info.hwndList;
}

size_t KitTestHost::Notices(HWND field) const
{
    size_t n = 0;
    for (const HostMessage& m : Of(WM_COMMAND))
        if (m.wParam == MAKEWPARAM(GetDlgCtrlID(field), kPickerClosedCode) && m.lParam == reinterpret_cast<LPARAM>(field))
            ++n;
    return n;
}
