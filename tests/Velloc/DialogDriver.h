// Drives the modal dialogs of this process from a second thread, as a user at the screen would:
// wait for a dialog by its caption, read its controls, click its buttons. The test's own thread
// runs the command (and with it the dialogs' modal loops) meanwhile.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class DialogDriver {
public:
    // Starts `script` on a thread of its own.
    explicit DialogDriver(std::function<void(DialogDriver&)> script);
    ~DialogDriver();  // waits for the script to end
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // The visible dialog with this caption, waited for up to 10 seconds; null when none came.
    HWND WaitForDialog(const std::string& caption);
    // Waits until the dialog has gone; false when it stayed 10 seconds.
    bool WaitUntilClosed(HWND dialog);
    // Waits until a condition holds; false when it did not within 10 seconds.
    bool WaitFor(const std::function<bool()>& condition);

    // A click on a button that may open or close a modal dialog: posted, so the script goes on.
    static void Click(HWND dialog, int id);
    // A click on a button that does neither: done when this returns.
    static void ClickNow(HWND dialog, int id);
    static bool IsChecked(HWND dialog, int id);
    static std::string Text(HWND dialog, int id);
    static void SetText(HWND dialog, int id, const std::string& text);
    // The texts of a dialog's static controls, joined.
    static std::string StaticTexts(HWND dialog);
    // The control that has the keyboard focus in the dialog's thread.
    static HWND FocusOf(HWND dialog);

    // Set when the script stopped early (a dialog that never came); what it was waiting for.
    // The dialogs still open are then cancelled, so the command returns and the test fails.
    std::string failure;

private:
    static DWORD WINAPI Run(void* self);
    void CloseLeftDialogs();
    std::function<void(DialogDriver&)> m_script;
    HANDLE m_thread = nullptr;
};
