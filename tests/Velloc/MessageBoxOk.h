// Answers every message box the process shows with OK, from a thread of its own, and keeps
// the boxes' texts.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

// Answers every message box the process shows with OK and keeps its text. A Win32 thread:
// a thread of the C++ library is no Wine thread and may not call the window system.
class MessageBoxOk
{
public:
    // ignore: a dialog of the test itself that is no message box.
    explicit MessageBoxOk(HWND ignore = nullptr) : m_ignore(ignore)
    {
        m_thread = CreateThread(nullptr, 0, &MessageBoxOk::Loop, this, 0, nullptr);
    }
    ~MessageBoxOk() { Stop(); }
    std::vector<std::string> Texts()
    {
        Stop();
        return m_texts;
    }

private:
    static DWORD WINAPI Loop(void* self)
    {
        MessageBoxOk& me = *static_cast<MessageBoxOk*>(self);
        while (!me.m_stop) {
            HWND box = nullptr;
            for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w != nullptr;
                 w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                if (w != me.m_ignore && pid == GetCurrentProcessId() && IsWindowVisible(w)) {
                    box = w;
                    break;
                }
            }
            if (box != nullptr) {
                char text[512] = {};
                HWND label = GetDlgItem(box, 0xFFFF);
                if (label) GetWindowTextA(label, text, sizeof text);
                me.m_texts.push_back(text);
                SendMessageA(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(10);
        }
        return 0;
    }
    void Stop()
    {
        m_stop = true;
        if (m_thread) {
            WaitForSingleObject(m_thread, INFINITE);
            CloseHandle(m_thread);
            m_thread = nullptr;
        }
    }

    HWND m_ignore;
    std::atomic<bool> m_stop{false};
    std::vector<std::string> m_texts;
    HANDLE m_thread = nullptr;
};

