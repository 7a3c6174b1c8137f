// The yes/no prompts' owner-drawn button: its painter (rounded gradient faces shared with the
// panel buttons, a bold caption) and the two-state button of the one-button prompt, which
// answers Yes with the left mouse button and No with the right one.
#pragma once

#include <windows.h>

#include <string>

#include "WinKit/Window.h"

// WM_NOTIFY codes of the button: a left click (Yes) and a right click (No).
constexpr int kYesNoLeftClick = -2;
constexpr int kYesNoRightClick = -5;

class CYesNoButtonPaint {
public:
    virtual ~CYesNoButtonPaint();
    virtual void FillGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
    // The whole button: face by state, caption centred by the font's average character width,
    // focus rectangle when the window has the focus.
    virtual void Draw(HWND window, HDC dc, int state, int reserved, const RECT& rect, const char* text);
    virtual void DrawFace(HDC dc, const RECT& rect, COLORREF c1, COLORREF c2, COLORREF c3, COLORREF c4,
                          COLORREF outer, COLORREF inner);
    virtual void DrawFaceUp(HDC dc, const RECT& rect);
    virtual void DrawFaceGrey(HDC dc, const RECT& rect);
    virtual void DrawFaceOfState(HDC dc, const RECT& rect, int state);
    virtual void DrawFaceOrange(HDC dc, const RECT& rect);
    virtual const char* FontFace() const;

    // A font of the given height for every paint (the painter owns it).
    void SetFont(int height);

    std::string fontFace = "ＭＳ ゴシック";
    HFONT font = nullptr;
    COLORREF faceColour1 = 0x00FF00;
    COLORREF faceColour2 = 0x0000FF;
    COLORREF textColour0 = 0x000000;
    COLORREF textColour1 = 0x000000;
    COLORREF textColour2 = 0xFFFFFF;
};

class CYesNoButton : public WinKit::CWindowImpl<CYesNoButton>, public CYesNoButtonPaint {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();

    UINT notifyMessage = WM_USER + 50;
    std::string yesCaption = "Yes";
    std::string noCaption = "No";

    int GetState() const { return m_state; }
    int SetState(int state);
    int ToggleState(int state);

    WK_BEGIN_MSG_MAP(CYesNoButton)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnButtonDown)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnButtonDown)
        WK_MESSAGE_HANDLER(WM_LBUTTONUP, OnButtonUp)
        WK_MESSAGE_HANDLER(WM_RBUTTONUP, OnButtonUp)
        WK_MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
        WK_MESSAGE_HANDLER(WM_SETFOCUS, OnFocus)
        WK_MESSAGE_HANDLER(WM_KILLFOCUS, OnFocus)
        WK_MESSAGE_HANDLER(WM_NCMOUSEMOVE, OnNcMouseMove)
    WK_END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnFocus(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&);
    void Redraw();
    void NotifyParent(int code);

    int m_state = 0;
};
