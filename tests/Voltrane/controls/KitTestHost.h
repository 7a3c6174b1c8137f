// A visible top-level window that hosts kit controls in the tests and records what they send
// or post to their parent.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

struct HostMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class KitTestHost {
public:
    KitTestHost();
    ~KitTestHost();
    HWND window() const { return m_window; }
    // Makes a child of a class at a place with a control id and caption.
    HWND Child(const char* className, int id, int x, int y, int w, int h, const char* caption = "");
    // Runs the messages queued now.
    static void Drain();
    // Runs messages until the condition holds; false when it did not within the time.
    static bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000);
    // The recorded messages of one kind.
    std::vector<HostMessage> Of(UINT message) const;
    void Clear() { messages().clear(); }
    static std::vector<HostMessage>& messages();
    // Clicks a screen point with the real mouse.
    static void Click(POINT pt);
    // Presses and releases a key on the real keyboard.
    static void Key(WORD vk);
    // The dropped list of a picker field's open drop-down window; null while none is dropped.
    static HWND DroppedList(HWND field, const char* popupClass);
    // The posted notices of a picker field to this host: WM_COMMAND (id, 1) with the field.
    size_t Notices(HWND field) const;

private:
    HWND m_window = nullptr;
};
