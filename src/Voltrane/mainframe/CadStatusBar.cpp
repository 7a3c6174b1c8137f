#include "mainframe/CadStatusBar.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CommandIds.h"
#include "HostMessages.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "mainframe/FrameServices.h"
#include "core/MessageCatalog.h"

namespace {

constexpr int kMaxMessageBytes = 255;
constexpr int kInputTextBytes = 1024;
constexpr UINT kCommandEndItem = kStatusBarEndCommand;  // the end button's item id is its command

}  // namespace

void StatusBarField::Give(const char* value)
{
    if (append) {
        text += value ? value : "";
    } else {
        text = value ? value : "";
    }
}

std::string ApplyMessageTextRule(const char* text)
{
    char buffer[kMaxMessageBytes + 1];
    DbcsCopy(buffer, sizeof buffer, text ? text : "");
    std::string value(buffer);

    // The last "(" that has a ")" to its right with at least one byte between them; scanning
    // on character boundaries so that a trail byte equal to "(" or ")" is never taken.
    size_t lastOpen = std::string::npos;
    size_t pos = 0;
    std::string::size_type length = value.size();
    while (pos < length) {
        unsigned char c = static_cast<unsigned char>(value[pos]);
        if (IsSjisLeadByte(c) && pos + 1 < length) {
            pos += 2;
            continue;
        }
        if (c == '(') {
            // The nearest ")" after it on a character boundary.
            size_t scan = pos + 1;
            while (scan < length) {
                unsigned char d = static_cast<unsigned char>(value[scan]);
                if (IsSjisLeadByte(d) && scan + 1 < length) {
                    scan += 2;
                    continue;
                }
                if (d == ')') break;
                ++scan;
            }
            if (scan < length && scan > pos + 1) lastOpen = pos;
        }
        ++pos;
    }
    if (lastOpen != std::string::npos) value.erase(lastOpen);
    return value;
}

void ApplyInputCharacter(StatusBarField& field, int character)
{
    char c = static_cast<char>(character & 0xFF);
    if (c == 0) {
        field.text.clear();
        field.append = 1;
        return;
    }
    if (c == '.' && field.text.find('.') != std::string::npos) return;
    if (c == '-') field.text.clear();
    char one[2] = {c, '\0'};
    field.Give(one);
    field.append = 1;
}

CCadStatusBar::CCadStatusBar() = default;

CCadStatusBar::~CCadStatusBar()
{
    if (m_font != nullptr) DeleteObject(m_font);
}

HWND CCadStatusBar::CreateBar(HWND parent)
{
    RECT rc = {0, 0, 200, 30};
    return Create(parent, &rc, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
}

LRESULT CCadStatusBar::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    RECT client;
    GetClientRect(&client);
    m_grip = CreateWindowExA(0, "SCROLLBAR", nullptr, 0x5400001C, client.left, client.top,
                             client.right - client.left, client.bottom - client.top, m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(0xE801)),
                             GetModuleHandleA(nullptr), nullptr);
    if (m_grip != nullptr) ::GetWindowRect(m_grip, &m_gripRect);

    m_fields[kStatusMessageField].width = 0;
    m_fields[kStatusCommandField].width = 110;
    m_fields[kStatusInputField].width = 70;
    m_fields[kStatusMessageField].alignment = 0;
    m_fields[kStatusMessageField].textColor = RGB(0, 0, 255);
    m_fields[kStatusMessageField].backColor = RGB(236, 236, 236);

    LOGFONTA lf = {};
    lf.lfHeight = m_barHeight - 10;
    lf.lfWeight = 700;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    DbcsCopy(lf.lfFaceName, sizeof lf.lfFaceName, "ＭＳ Ｐゴシック");
    m_font = CreateFontIndirectA(&lf);

    SetMessageText(GetMessageText(5000));
    return 0;
}

LRESULT CCadStatusBar::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
    bHandled = FALSE;
    return 0;
}

void CCadStatusBar::SetMessageText(const char* text)
{
    if (text == nullptr || text[0] == '\0') text = GetMessageText(5000);
    m_fields[kStatusMessageField].Give(ApplyMessageTextRule(text).c_str());
}

void CCadStatusBar::Repaint(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }

LRESULT CCadStatusBar::OnUser(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    switch (wParam) {
    case 1:
        if (text != nullptr && text[0] != '\0') {
            m_fields[kStatusCommandField].Give(text);
        } else {
            m_fields[kStatusCommandField].text.clear();
        }
        Repaint(TRUE);
        break;
    case 2:
        SetMessageText(text);
        Repaint(m_fields[kStatusMessageField].backColor == 0);
        break;
    case 3:
        ApplyInputCharacter(m_fields[kStatusInputField], static_cast<int>(lParam & 0xFF));
        Repaint(TRUE);
        break;
    case 5:
        snprintf(m_elementCount, sizeof m_elementCount, "%6ld", static_cast<long>(lParam));
        Repaint(TRUE);
        break;
    case 6: {
        StatusBarField& input = m_fields[kStatusInputField];
        if (!input.text.empty()) {
            input.text.pop_back();
            input.append = 1;
        }
        Repaint(TRUE);
        break;
    }
    default:
        break;
    }
    return 0;
}

LRESULT CCadStatusBar::OnSaveTexts(UINT, WPARAM, LPARAM, BOOL&)
{
    m_fields[kStatusMessageField].savedText = m_fields[kStatusMessageField].text;
    m_fields[kStatusCommandField].savedText = m_fields[kStatusCommandField].text;
    return 0;
}

LRESULT CCadStatusBar::OnRestoreTexts(UINT, WPARAM, LPARAM, BOOL&)
{
    m_fields[kStatusMessageField].text = m_fields[kStatusMessageField].savedText;
    m_fields[kStatusCommandField].text = m_fields[kStatusCommandField].savedText;
    Repaint(TRUE);
    return 0;
}

LRESULT CCadStatusBar::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
    UINT code = LOWORD(wParam);
    UINT index = HIWORD(wParam);
    switch (code) {
    case kStatusBarClearTexts:
        SendMessage(WM_USER, 1, 0);
        SendMessage(WM_USER, 2, 0);
        bHandled = FALSE;
        return 0;
    case kStatusBarEndCommand:
        ::SendMessageA(GetMainFrameWnd(), WM_CAD_CANCEL_COMMAND, 0, 0);
        return 0;
    case kStatusBarToggleMessageMode:
        // The message-bar mode switch.
        GetLocalSettingsLive().setup.MsgFg = !GetLocalSettingsLive().setup.MsgFg;
        ::PostMessageA(GetMainFrameWnd(), WM_SIZE, 0, 0);
        return 0;
    case kStatusBarGetFieldText:
        if (index < kFieldCount && lParam != 0) {
            // Callers pass 1024-byte buffers.
            DbcsCopy(reinterpret_cast<char*>(lParam), kInputTextBytes, m_fields[index].text.c_str());
        }
        return 0;
    case kStatusBarShowField:
        if (index < kFieldCount) {
            m_fields[index].visible = lParam != 0;
            Repaint(TRUE);
        }
        return 0;
    case kStatusBarSetFieldAppend:
        if (index < kFieldCount) m_fields[index].append = lParam != 0;
        return 0;
    default:
        bHandled = FALSE;
        return 0;
    }
}

void CCadStatusBar::LayOut()
{
    HWND parent = GetParent();
    HWND mainWnd = GetMainFrameWnd() ? GetMainFrameWnd() : parent;
    BOOL maximized = ::IsZoomed(mainWnd);
    if (m_grip != nullptr) ::ShowWindow(m_grip, maximized ? SW_HIDE : SW_SHOWNA);

    RECT parentClient = {};
    ::GetClientRect(parent, &parentClient);
    ::MoveWindow(m_hWnd, parentClient.left, parentClient.bottom - m_barHeight, parentClient.right,
                 m_barHeight, TRUE);

    RECT client;
    GetClientRect(&client);
    int gripWidth = 0;
    if (!maximized && m_grip != nullptr) {
        gripWidth = m_gripRect.right - m_gripRect.left;
        int gripHeight = m_gripRect.bottom - m_gripRect.top;
        ::MoveWindow(m_grip, client.right - gripWidth, client.bottom - gripHeight, gripWidth,
                     gripHeight, TRUE);
    }
    m_fields[kStatusMessageField].width = client.right - m_fields[kStatusCommandField].width -
                                          m_fields[kStatusInputField].width - gripWidth;
    Repaint(TRUE);
}

LRESULT CCadStatusBar::OnSize(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam == SIZE_MINIMIZED || m_layingOut) return 0;
    m_layingOut = 1;
    LayOut();
    m_layingOut = 0;
    return 0;
}

LRESULT CCadStatusBar::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    RECT client;
    GetClientRect(&client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
    return 1;
}

LRESULT CCadStatusBar::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(m_hWnd, &ps);
    RECT client;
    GetClientRect(&client);
    HGDIOBJ oldFont = m_font ? SelectObject(dc, m_font) : nullptr;
    HPEN dark = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW));
    HPEN light = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DHILIGHT));
    COLORREF face = GetSysColor(COLOR_BTNFACE);
    int left = 0;
    for (int i = 0; i < m_fieldCount; ++i) {
        const StatusBarField& field = m_fields[i];
        RECT rc = {left + 2, client.top + 3, left + field.width - 2, client.bottom - 3};
        if (i == kStatusMessageField) rc.left += 2;
        left += field.width;
        if (field.backColor != face) {
            HBRUSH brush = CreateSolidBrush(field.backColor);
            FillRect(dc, &rc, brush);
            DeleteObject(brush);
        }
        HGDIOBJ oldPen = SelectObject(dc, dark);
        MoveToEx(dc, rc.left, rc.bottom - 1, nullptr);
        LineTo(dc, rc.left, rc.top);
        LineTo(dc, rc.right - 1, rc.top);
        SelectObject(dc, light);
        LineTo(dc, rc.right - 1, rc.bottom - 1);
        LineTo(dc, rc.left, rc.bottom - 1);
        SelectObject(dc, oldPen);
        if (!field.text.empty() && field.visible) {
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, field.textColor);
            if (field.alignment & TA_RIGHT) {
                SetTextAlign(dc, TA_RIGHT | TA_TOP);
                TextOutA(dc, rc.right - 2, rc.top + 2, field.text.c_str(), static_cast<int>(field.text.size()));
            } else {
                SetTextAlign(dc, TA_LEFT | TA_TOP);
                TextOutA(dc, rc.left + 2, rc.top + 2, field.text.c_str(), static_cast<int>(field.text.size()));
            }
        }
    }
    DeleteObject(dark);
    DeleteObject(light);
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CCadStatusBar::OnLeftButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    if (FrameCloseRightMenu()) return 0;
    FrameRestoreInputFocus();
    if (GetKeyState(VK_CONTROL) < 0) SendMessage(WM_COMMAND, kStatusBarToggleMessageMode, 0);
    else ::PostMessageA(GetMainFrameWnd(), WM_SIZE, 0, 0);
    return 0;
}

LRESULT CCadStatusBar::OnRightButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    if (FrameCloseRightMenu()) return 0;
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return 0;
    AppendMenuA(menu, MF_STRING, kCommandEndItem, GetMessageText(5180));
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    ::ClientToScreen(m_hWnd, &pt);
    UINT picked = TrackPopupMenu(menu, TPM_CENTERALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, pt.x,
                                 pt.y, 0, m_hWnd, nullptr);
    DestroyMenu(menu);
    if (picked == kCommandEndItem) SendMessage(WM_COMMAND, kCommandEndItem, 0);
    return 0;
}

LRESULT CCadStatusBar::OnSysKeyDown(UINT, WPARAM, LPARAM, BOOL&)
{
    FrameCloseRightMenu();
    return 0;
}

namespace {

std::string ReadInputText(HWND bar)
{
    char buffer[kInputTextBytes] = {};
    if (bar != nullptr) ::SendMessageA(bar, WM_COMMAND, MAKEWPARAM(kStatusBarGetFieldText, kStatusInputField),
                                      reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

}  // namespace

double GetStatusBarInputDouble(HWND bar) { return atof(ReadInputText(bar).c_str()); }

long GetStatusBarInputLong(HWND bar)
{
    std::string text = ReadInputText(bar);
    return text.empty() ? -1 : atol(text.c_str());
}

int HasStatusBarInput(HWND bar) { return ReadInputText(bar).empty() ? 0 : 1; }

double GetStatusBarInputDouble() { return GetStatusBarInputDouble(GetStatusBarWnd()); }
long GetStatusBarInputLong() { return GetStatusBarInputLong(GetStatusBarWnd()); }
int HasStatusBarInput() { return HasStatusBarInput(GetStatusBarWnd()); }

void ClearTypedKeysText(HWND window)
{
    RECT client;
    if (!::GetClientRect(window, &client)) return;
    RECT strip = {418, client.top, 492, client.bottom};
    ::InvalidateRect(window, &strip, TRUE);
    ::UpdateWindow(window);
}
