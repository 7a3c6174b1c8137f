#include "panels/AppPanelItems.h"

#include <cstring>

#include "HostMessages.h"
#include "controls/KitFaces.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/CsvParser.h"
#include "core/LocalSettings.h"
#include "dialogs/Calculator.h"
#include "mainframe/FrameServices.h"
#include "core/Dbcs.h"
#include "panels/PanelFonts.h"
#include "panels/PanelSettings.h"
#include "panels/RightMenuPickList.h"

namespace {

constexpr COLORREF kDisabledFace = 0xE7E7E7;

// The font of a face h pixels high.
HFONT CreateFaceFont(const std::string& faceName, int h)
{
    int height = 14;
    int weight = FW_BOLD;
    if (h < 14) {
        height = h - 2;
        weight = FW_DONTCARE;
    } else if (h >= 24 && h <= 26) {
        height = 12;
        weight = FW_DONTCARE;
    } else if (h >= 14 && h <= 22) {
        height = 12;
        weight = FW_MEDIUM;
    }
    if (GetSystemMetrics(SM_CYSCREEN) > 1024 || GetLocalSettingsLive().iCmdPanelTypeLowResoH <= 0) weight = FW_BOLD;
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, faceName.c_str());
}

// Centred text cut to the characters that fit the face.
void DrawCentredText(HDC dc, const RECT& face, const char* text, int xOffset)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int average = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    const int width = face.right - face.left;
    const int h = face.bottom - face.top;
    std::string shown = text != nullptr ? text : "";
    const size_t fit = static_cast<size_t>(width > 0 ? width / average : 0);
    if (shown.size() > fit) shown.resize(DbcsFitLength(shown.c_str(), shown.size(), fit));
    const int x = (width - average * static_cast<int>(shown.size())) / 2 + face.left + xOffset;
    const int y = face.bottom - (h + metrics.tmHeight) / 2;
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, x, y, shown.c_str(), static_cast<int>(shown.size()));
}

}  // namespace

COLORREF PanelItemTextColor(int number, COLORREF defaultColor)
{
    if (number < 0 || number > 256) return defaultColor;
    if (number == 0) return RGB(0, 0, 0);
    return GetConfigDataRuntime().palette[number];
}

void CloseRightMenuAfterItem() { FrameCloseRightMenu(); }

// ---- push button ----

LRESULT CAppPanelButton::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    ::SetWindowLongA(m_hWnd, 0, 0);
    ::SetWindowLongA(m_hWnd, 4, 0);
    notifyMessage = kPanelItemHoverMessage;
    commandParam = 0;
    return 0;
}

void CAppPanelButton::PaintFace(HDC dc, const RECT& face, const char* text, bool pressed, bool focused)
{
    const bool enabled = Enabled();
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
    if (!enabled) DrawPanelButtonFace(dc, face, kDisabledFace, kDisabledFace, kDisabledFace, kDisabledFace, dark, 0xFFFFFF);
    else if (pressed) DrawPanelButtonFace(dc, face, pressedColor, pressedColor, pressedColor, pressedColor, dark, 0xFFFFFF);
    else DrawPanelButtonFace(dc, face, 0xFFFFFF, 0xF5F1E9, 0xFFDCC8, 0xCFB8A6, dark, 0xFFFFFF);
    HFONT font = CreateFaceFont(faceName, face.bottom - face.top);
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, enabled ? PanelItemTextColor(pItem->textColor, 0x323232) : GetSysColor(COLOR_GRAYTEXT));
    DrawCentredText(dc, face, text, 2);
    SelectObject(dc, old);
    DeleteObject(font);
    if (focused) {
        RECT inner = {face.left + 5, face.top + 5, face.right - 5, face.bottom - 5};
        HBRUSH frame = CreateSolidBrush(0x7F7F7F);
        FrameRect(dc, &inner, frame);
        DeleteObject(frame);
    }
}

void CAppPanelButton::Paint(HDC dc)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    PaintFace(dc, rc, pItem->text, state == 1, ::GetFocus() == m_hWnd);
}

LRESULT CAppPanelButton::OnPaintMessage(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    Paint(dc);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

void CAppPanelButton::SendCommandNotification()
{
    HWND parent = ::GetParent(m_hWnd);
    if (parent != nullptr)
        ::SendMessageA(parent, WM_COMMAND, static_cast<WPARAM>(::GetDlgCtrlID(m_hWnd)),
                     commandParam != 0 ? commandParam : reinterpret_cast<LPARAM>(m_hWnd));
}

void CAppPanelButton::OnLButtonDown()
{
    if (HWND frame = GetMainFrameWnd()) ::PostMessageA(frame, WM_CAD_FOCUS_INPUT, 0, 0);
    if (!Enabled()) return;
    ::SetCapture(m_hWnd);
    SetState(1);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CAppPanelButton::OnLButtonUp()
{
    if (!Enabled()) return;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    const int previous = SetState(0);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    if (previous != 1) return;
    RaiseEvent(kItemPushButton, 0);
    SendCommandNotification();
    CloseRightMenuAfterItem();
    // The popup with its copy of the panel has done its work once a button of it was pressed.
    GetRightMenuState().popupShown = 0;
}

LRESULT CAppPanelButton::OnLButtonDownMessage(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    if (IsCalculatorOpen()) return 0;
    m_lastDown = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    OnLButtonDown();
    return 0;
}

LRESULT CAppPanelButton::OnLButtonUpMessage(UINT, WPARAM, LPARAM, BOOL&)
{
    OnLButtonUp();
    return 0;
}

LRESULT CAppPanelButton::OnKeyDown(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    if (wParam != VK_SPACE) {
        bHandled = FALSE;
        return 0;
    }
    SetState(1);
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CAppPanelButton::OnKeyUp(UINT, WPARAM, LPARAM, BOOL&)
{
    if (state == 1) {
        SetState(0);
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        SendCommandNotification();
    }
    return 0;
}

LRESULT CAppPanelButton::OnFocus(UINT, WPARAM, LPARAM, BOOL&)
{
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CAppPanelButton::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    HWND frame = GetMainFrameWnd();
    if (frame != nullptr && ::IsWindowEnabled(frame)) ::SendMessageA(::GetParent(m_hWnd), WM_RBUTTONDOWN, 0, 0);
    return 0;
}

LRESULT CAppPanelButton::OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL&)
{
    ::SendMessageA(::GetParent(m_hWnd), static_cast<UINT>(notifyMessage), static_cast<WPARAM>(::GetDlgCtrlID(m_hWnd)), 1);
    return 0;
}

// ---- check button ----

void CAppPanelCheckButton::Paint(HDC dc)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    PaintFace(dc, rc, pItem->text, pItem->value2 != 0, ::GetFocus() == m_hWnd);
}

void CAppPanelCheckButton::OnLButtonDown()
{
    if (!Enabled()) return;
    ::SetCapture(m_hWnd);
    ToggleState();
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    RaiseEvent(kItemCheckBox, pItem->value2);
    if (m_twin != nullptr && m_twin->ShownItem() != nullptr) {
        m_twin->ShownItem()->value2 = pItem->value2;
        RedrawTwin();
    }
}

void CAppPanelCheckButton::OnLButtonUp()
{
    if (!Enabled()) return;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (pEvent != nullptr) CloseRightMenuAfterItem();
}

// ---- radio group ----

CAppPanelRadioButton::CAppPanelRadioButton(InputEventRecord* event, PboxItem* item) : CAppPanelButton(event, item)
{
    pressedColor = 0x00A8FF;
    CCsvParser parser(pItem->text != nullptr ? pItem->text : "");
    if (pItem->text != nullptr && pItem->text[0] != '\0') m_choices = parser.fields;
}

RECT CAppPanelRadioButton::SegmentRect(int i, int n, int width, int height)
{
    if (n < 2) return RECT{0, 0, width, height};
    const int segment = width / n - 1;
    const int left = i * (segment + 1);
    return RECT{left, 0, left + segment, height};
}

int CAppPanelRadioButton::ChoiceAt(int x, int width, int n)
{
    if (n < 2) return 0;
    // The segments as painted: each width / n - 1 wide and one pixel apart.
    const int pitch = width / n;
    if (pitch <= 0) return 0;
    int choice = x / pitch;
    if (x < 0) choice = 0;
    if (choice > n - 1) choice = n - 1;
    return choice;
}

void CAppPanelRadioButton::Paint(HDC dc)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int n = static_cast<int>(m_choices.size());
    if (n == 0) return;
    m_segmentWidth = n < 2 ? rc.right : rc.right / n - 1;
    for (int i = 0; i < n; ++i) {
        RECT face = SegmentRect(i, n, rc.right, rc.bottom);
        PaintFace(dc, face, m_choices[i].c_str(), n >= 2 && i == pItem->value, false);
    }
}

void CAppPanelRadioButton::OnLButtonDown()
{
    if (!Enabled()) return;
    ::SetCapture(m_hWnd);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    const int choice = ChoiceAt(m_lastDown.x, rc.right, static_cast<int>(m_choices.size()));
    pItem->value = choice;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    RaiseEvent(kItemRadioButton, choice);
    if (m_twin != nullptr && m_twin->ShownItem() != nullptr) {
        m_twin->ShownItem()->value = choice;
        RedrawTwin();
    }
}

void CAppPanelRadioButton::OnLButtonUp()
{
    if (!Enabled()) return;
    if (::GetCapture() == m_hWnd) ::ReleaseCapture();
    if (pEvent != nullptr) CloseRightMenuAfterItem();
}

// ---- text ----

LRESULT CAppPanelTextBox::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    HBRUSH back = CreateSolidBrush(PanelTextBackColor());
    FillRect(dc, &rc, back);
    DeleteObject(back);
    SetTextColor(dc, PanelItemTextColor(pItem->textColor, GetSysColor(COLOR_BTNTEXT)));
    HFONT font = PanelItemFont();
    HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
    char text[512] = {};
    ::GetWindowTextA(m_hWnd, text, sizeof text);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int average = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 1;
    size_t length = std::strlen(text);
    const size_t fit = static_cast<size_t>(rc.right > 0 ? rc.right / average : 0);
    if (length > fit) length = DbcsFitLength(text, length, fit);
    const int x = rc.right / 2 - average * (static_cast<int>(length) / 2) - average / 2;
    const int y = rc.bottom / 2 - metrics.tmHeight / 2;
    SetBkMode(dc, TRANSPARENT);
    TextOutA(dc, x, y, text, static_cast<int>(length));
    if (old != nullptr) SelectObject(dc, old);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}
