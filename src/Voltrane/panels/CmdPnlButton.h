// The buttons of a command panel: command buttons with a bitmap face from an image set and
// panel-type buttons with a drawn face and a horizontal or vertical caption. A click only tells
// the parent window (WM_CMDPANEL_CLICK); the parent decides what follows.
#pragma once

#include <windows.h>

#include <string>

#include "WinKit/Window.h"

// wParam: the command id of a command button, or 0x10000 + the low word of a type button's id;
// lParam: the button window.
constexpr UINT WM_CMDPANEL_CLICK = 33768;

class CCmdPnlButton : public WinKit::CWindowImpl<CCmdPnlButton> {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();

    CCmdPnlButton() = default;
    explicit CCmdPnlButton(int typeButton) : typeButton(typeButton) {}

    void SetInfo(const std::string& caption, int commandId, const std::string& tooltip, int imageSet);
    // Height the image height, width the image width plus 8 for every caption byte beyond the
    // eighth; answers the caption length minus 8.
    int GetButtonSize(int* width, int* height) const;
    // Tells the parent window of the click.
    void Click();
    // Draws the face and the text into the rectangle (the client rectangle for null). Also used
    // on a button without a window, which the command-menu dialog's grid paints with.
    void Paint(HDC dc, const RECT* rect, const char* text);
    // Sets the selected look and redraws the window when there is one.
    void SetSelected(int on);
    void Redraw();

    std::string caption;
    int commandId = 0;
    std::string tooltip;
    int typeButton = 0;
    int verticalCaption = 0;
    int imageSet = 0;
    int width = 0;
    int height = 0;
    std::string faceName = "ＭＳ ゴシック";
    int selected = 0;
    int pressed = 0;

    WK_BEGIN_MSG_MAP(CCmdPnlButton)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        WK_MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
        WK_MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnConsumed)
        WK_MESSAGE_HANDLER(WM_SETFOCUS, OnConsumed)
        WK_MESSAGE_HANDLER(WM_KILLFOCUS, OnConsumed)
        WK_MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnConsumed)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnConsumed)
        WK_MESSAGE_HANDLER(WM_MOUSEMOVE, OnConsumed)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnConsumed)
        WK_MESSAGE_HANDLER(WM_RBUTTONUP, OnConsumed)
    WK_END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnConsumed(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

    void PaintCommandFace(HDC dc, const RECT& rc);
    void PaintCaption(HDC dc, const RECT& rc, const char* text);
    void PaintVerticalCaption(HDC dc, const RECT& rc, const char* text);
};

// The caption font of a command button or a horizontal type button for a face h pixels high.
void CmdButtonCaptionFont(int h, int* height, int* weight);
// The same for a vertical type-button caption.
void CmdButtonVerticalCaptionFont(int h, int* height, int* weight);
