#include "panels/CmdPnlButton.h"

#include <commctrl.h>

#include "controls/KitFaces.h"
#include "core/Dbcs.h"
#include "panels/ButtonImageSets.h"
#include "panels/PanelText.h"

namespace {

constexpr COLORREF kCaptionColour = 0x323232;
constexpr COLORREF kTypeFace = 0xE6E6E6;
constexpr COLORREF kTypeFaceSelected = 0x00DEFF;
constexpr COLORREF kFocusFrame = 0x7F7F7F;
// Window extra long 0: the space bar is held on the focused button.
constexpr int kSpaceHeld = 0;

HFONT MakeCaptionFont(int height, int weight, int escapement, const std::string& face)
{
    return CreateFontA(height, 0, escapement, escapement, weight, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                       face.c_str());
}

}  // namespace

WinKit::CWndClassInfo& CCmdPnlButton::GetWndClassInfo()
{
    // The tool panel's check buttons register the same class; the first registration serves both.
    static WinKit::CWndClassInfo info = {
        {sizeof(WNDCLASSEXA), CS_HREDRAW | CS_VREDRAW, WinKit::CWindowImplRoot::WindowProc, 0, 12, nullptr, nullptr,
         nullptr, nullptr, nullptr, "PanelCheckButton", nullptr},
        nullptr, 0, nullptr};
    return info;
}

void CmdButtonCaptionFont(int h, int* height, int* weight)
{
    if (h < 14) {
        *height = h - 2;
        *weight = FW_NORMAL;
    } else if (h <= 20) {
        *height = 12;
        *weight = FW_NORMAL;
    } else {
        *height = 14;
        *weight = FW_BOLD;
    }
}

void CmdButtonVerticalCaptionFont(int h, int* height, int* weight)
{
    if (h > 18) {
        *height = 14;
        *weight = FW_BOLD;
    } else if (h >= 14) {
        *height = 12;
        *weight = FW_NORMAL;
    } else {
        *height = h - 3;
        *weight = FW_NORMAL;
    }
}

void CCmdPnlButton::SetInfo(const std::string& captionText, int id, const std::string& tooltipText, int set)
{
    caption = captionText;
    commandId = id;
    tooltip = tooltipText;
    imageSet = set;
}

int CCmdPnlButton::GetButtonSize(int* outWidth, int* outHeight) const
{
    const int beyond = static_cast<int>(caption.size()) - 8;
    if (outHeight != nullptr) *outHeight = GetButtonImageHeight();
    if (outWidth != nullptr) *outWidth = GetButtonImageWidth() + (beyond > 0 ? 8 * beyond : 0);
    return beyond;
}

void CCmdPnlButton::Click()
{
    if (m_hWnd == nullptr) return;
    const WPARAM wParam = typeButton ? 0x10000 + LOWORD(commandId) : static_cast<WPARAM>(commandId);
    ::SendMessageA(GetParent(), WM_CMDPANEL_CLICK, wParam, reinterpret_cast<LPARAM>(m_hWnd));
}

void CCmdPnlButton::Redraw()
{
    if (m_hWnd != nullptr) ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void CCmdPnlButton::SetSelected(int on)
{
    selected = on != 0 ? 1 : 0;
    Redraw();
}

void CCmdPnlButton::PaintCommandFace(HDC dc, const RECT& rc)
{
    HIMAGELIST list = GetButtonImageList(imageSet);
    if (list == nullptr) return;
    const int imageWidth = GetButtonImageWidth();
    ImageList_Draw(list, selected ? 1 : 0, dc, rc.left, rc.top, ILD_TRANSPARENT);
    if (imageWidth < rc.right - rc.left)
        ImageList_Draw(list, selected ? 3 : 2, dc, rc.right - imageWidth, rc.top, ILD_TRANSPARENT);
}

void CCmdPnlButton::PaintCaption(HDC dc, const RECT& rc, const char* text)
{
    int fontHeight = 0, weight = 0;
    CmdButtonCaptionFont(rc.bottom - rc.top, &fontHeight, &weight);
    HFONT font = MakeCaptionFont(fontHeight, weight, 0, faceName);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kCaptionColour);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int average = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    const int length = static_cast<int>(strlen(text));
    const int x = rc.left + (rc.right - length * average - rc.left) / 2 + 2;
    const int y = rc.top + (rc.bottom - rc.top) / 2 - metrics.tmHeight / 2;
    // The room is counted in average characters; a cut never splits a double-byte character.
    const int room = rc.right / average;
    const int shown = static_cast<int>(DbcsFitLength(text, length, room > 0 ? room : 0));
    TextOutA(dc, x, y, text, shown);
    SelectObject(dc, old);
    DeleteObject(font);
}

void CCmdPnlButton::PaintVerticalCaption(HDC dc, const RECT& rc, const char* text)
{
    int fontHeight = 0, weight = 0;
    CmdButtonVerticalCaptionFont(rc.bottom - rc.top, &fontHeight, &weight);
    HFONT font = MakeCaptionFont(fontHeight, weight, 2700, "@" + faceName);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kCaptionColour);
    DrawTextEllipsis(dc, text, static_cast<int>(strlen(text)), rc, 0);
    SelectObject(dc, old);
    DeleteObject(font);
}

void CCmdPnlButton::Paint(HDC dc, const RECT* rect, const char* text)
{
    RECT rc = {};
    if (rect != nullptr) rc = *rect;
    else if (m_hWnd != nullptr) ::GetClientRect(m_hWnd, &rc);
    if (text == nullptr) text = caption.c_str();
    if (!typeButton) {
        PaintCommandFace(dc, rc);
        PaintCaption(dc, rc, text);
        if (m_hWnd != nullptr && ::GetFocus() == m_hWnd) {
            HPEN pen = CreatePen(PS_SOLID, 1, kFocusFrame);
            HGDIOBJ oldPen = SelectObject(dc, pen);
            HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
            Rectangle(dc, 5, 5, rc.right - 5, rc.bottom - 5);
            SelectObject(dc, oldBrush);
            SelectObject(dc, oldPen);
            DeleteObject(pen);
        }
        return;
    }
    const COLORREF face = selected ? kTypeFaceSelected : kTypeFace;
    DrawPanelButtonFace(dc, rc, face, face, face, face, GetSysColor(COLOR_3DDKSHADOW), 0xFFFFFF);
    if (verticalCaption) PaintVerticalCaption(dc, rc, text);
    else PaintCaption(dc, rc, text);
}

LRESULT CCmdPnlButton::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    SetWindowLongA(m_hWnd, 0, 0);
    SetWindowLongA(m_hWnd, 4, 0);
    return 0;
}

LRESULT CCmdPnlButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    char text[256] = {};
    GetWindowTextA(m_hWnd, text, sizeof text);
    Paint(dc, nullptr, text);
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CCmdPnlButton::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (wParam != VK_SPACE) {
        handled = FALSE;
        return 0;
    }
    SetWindowLongA(m_hWnd, kSpaceHeld, 1);
    Redraw();
    return 0;
}

LRESULT CCmdPnlButton::OnKeyUp(UINT, WPARAM, LPARAM, BOOL&)
{
    if (GetWindowLongA(m_hWnd, kSpaceHeld) == 1) {
        SetWindowLongA(m_hWnd, kSpaceHeld, 0);
        Redraw();
        Click();
    }
    return 0;
}

LRESULT CCmdPnlButton::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    pressed = 1;
    // Leaving the button with the mouse button down takes the press back.
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, m_hWnd, 0};
    TrackMouseEvent(&track);
    return 0;
}

LRESULT CCmdPnlButton::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&)
{
    if (pressed) {
        // The click may end in the parent destroying this button; nothing is touched after it.
        pressed = 0;
        Click();
    }
    return 0;
}

LRESULT CCmdPnlButton::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&)
{
    pressed = 0;
    return 0;
}
