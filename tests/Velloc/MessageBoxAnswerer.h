// Answers the message boxes and dialogs of this process as a user would: a watcher thread
// presses Cancel (the OK of a box with one button) on every one that appears and keeps what
// it showed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class MessageBoxAnswerer {
public:
    MessageBoxAnswerer();
    ~MessageBoxAnswerer();
    MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
    MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

    // The number of boxes answered so far, and what the last one showed.
    int Count() const;
    std::string LastCaption() const;
    std::string LastText() const;
    HWND LastOwner() const;

private:
    static DWORD WINAPI Watch(void* self);
    void Answer(HWND box);

    mutable CRITICAL_SECTION m_lock;
    HANDLE m_thread = nullptr;
    volatile LONG m_stop = 0;
    int m_count = 0;
    std::string m_caption;
    std::string m_text;
    HWND m_owner = nullptr;
    std::vector<HWND> m_answered;
};
