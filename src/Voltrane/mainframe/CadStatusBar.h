// The main window's status bar: a message field with the running command's prompt, a command
// field with its name and a narrow input field that is also the typed-number line. Other
// parts of the program talk to it only through window messages (WM_USER codes 1, 2, 3, 5, 6;
// WM_USER+1/+2; WM_COMMAND codes 100, 1000, 1010 and 2000-2002 by field index).
#pragma once

#include <windows.h>

#include <string>

#include "WinKit/MessageLoop.h"
#include "WinKit/Window.h"

struct StatusBarField {
    int width = 0;
    UINT alignment = 0;  // 0 left, TA_RIGHT right-aligned
    std::string text;
    std::string savedText;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backColor = ::GetSysColor(COLOR_BTNFACE);
    int visible = 1;
    int append = 0;  // texts given to the field are appended instead of replacing it

    void Give(const char* value);
};

// The message field shows a text up to its last non-empty group in parentheses: at most 255
// bytes are used, and "カーソルモード(任意点)" shows as "カーソルモード".
std::string ApplyMessageTextRule(const char* text);

// One keystroke for the input field (WM_USER 3): 0 clears, a second "." is refused, "-" starts
// the field anew; the first character after the append flag was cleared replaces the text.
void ApplyInputCharacter(StatusBarField& field, int character);

enum StatusBarFieldIndex { kStatusMessageField = 0, kStatusCommandField = 1, kStatusInputField = 2 };

class CCadStatusBar : public WinKit::CWindowImpl<CCadStatusBar>,
                      public WinKit::CMessageFilter,
                      public WinKit::CIdleHandler {
public:
    WK_DECLARE_WND_CLASS_EX("CadStatusBar", CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

    static constexpr int kBarHeight = 26;
    static constexpr int kFieldCount = 3;

    CCadStatusBar();
    ~CCadStatusBar() override;

    // Creates the bar as a child of the main window at (0, 0, 200, 30).
    HWND CreateBar(HWND parent);

    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    BOOL OnIdle() override { return FALSE; }

    const StatusBarField& Field(int index) const { return m_fields[index]; }
    HWND SizeGrip() const { return m_grip; }
    // The element count last given with WM_USER 5, formatted "%6ld".
    const char* ElementCountText() const { return m_elementCount; }

    WK_BEGIN_MSG_MAP(CCadStatusBar)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_USER, OnUser)
        WK_MESSAGE_HANDLER(WM_USER + 1, OnSaveTexts)
        WK_MESSAGE_HANDLER(WM_USER + 2, OnRestoreTexts)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLeftButtonDown)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRightButtonDown)
        WK_MESSAGE_HANDLER(WM_SYSKEYDOWN, OnSysKeyDown)
        WK_MESSAGE_HANDLER(WM_CHAR, OnChar)
        WK_MESSAGE_HANDLER(0x037F /* WM_FORWARDMSG */, OnForwardMsg)
    WK_END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnUser(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSaveTexts(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRestoreTexts(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLeftButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRightButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSysKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnChar(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnForwardMsg(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

    void SetMessageText(const char* text);
    void Repaint(BOOL erase);
    void LayOut();

    HWND m_grip = nullptr;
    RECT m_gripRect = {};
    int m_layingOut = 0;
    int m_barHeight = kBarHeight;
    StatusBarField m_fields[kFieldCount];
    int m_fieldCount = kFieldCount;
    HFONT m_font = nullptr;
    char m_elementCount[32] = {};
};

// The typed number of the input field, fetched with WM_COMMAND 0x207D0 from the status bar.
double GetStatusBarInputDouble();
long GetStatusBarInputLong();  // -1 when the field is empty
int HasStatusBarInput();
// Repaints the typed-key strip (x 418 to 492) of the window at once.
void ClearTypedKeysText(HWND window);

// The same for a given bar window.
double GetStatusBarInputDouble(HWND bar);
long GetStatusBarInputLong(HWND bar);
int HasStatusBarInput(HWND bar);
