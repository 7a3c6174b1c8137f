// Where the export's messages go: message boxes for a person at the screen, a recorder in tests.
#pragma once

#include <windows.h>

class ExportMessages {
public:
    virtual ~ExportMessages() = default;
    // Shows one message (icon MB_ICONWARNING or MB_ICONERROR) and returns when it was seen.
    virtual void Show(const char* text, const char* caption, UINT icon) = 0;
};

// Message boxes owned by the given window (the host's window when known, else none).
class MessageBoxExportMessages : public ExportMessages {
public:
    explicit MessageBoxExportMessages(HWND owner) : m_owner(owner) {}
    void Show(const char* text, const char* caption, UINT icon) override
    {
        MessageBoxA(m_owner, text, caption, MB_OK | icon);
    }

private:
    HWND m_owner;
};
