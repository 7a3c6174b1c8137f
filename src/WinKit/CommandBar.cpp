#include "WinKit/CommandBar.h"

#include <commctrl.h>

#include <string>

namespace WinKit {

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

HWND CCommandBarCtrl::CreateBar(HWND parent, HWND owner, DWORD style, UINT controlId)
{
    HWND bar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 100, 22, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)),
                               GetModuleHandleA(nullptr), nullptr);
    if (bar == nullptr) return nullptr;
    ::SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    ::SendMessageA(bar, TB_SETBITMAPSIZE, 0, MAKELONG(0, 0));
    ::SendMessageA(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    m_owner = owner;
    if (!SubclassWindow(bar)) {
        ::DestroyWindow(bar);
        return nullptr;
    }
    return bar;
}

void CCommandBarCtrl::RemoveButtons()
{
    if (m_hWnd == nullptr) return;
    int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    for (int i = count - 1; i >= 0; --i) SendMessage(TB_DELETEBUTTON, i);
}

BOOL CCommandBarCtrl::AttachMenu(HMENU menu)
{
    if (m_hWnd == nullptr) return FALSE;
    RemoveButtons();
    m_menu = menu;
    if (menu == nullptr) return TRUE;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char caption[256] = {};
        GetMenuStringA(menu, i, caption, sizeof caption, MF_BYPOSITION);
        // A toolbar string list is ended by a double zero.
        std::string text(caption);
        text.push_back('\0');
        text.push_back('\0');
        INT_PTR stringIndex = SendMessage(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(text.c_str()));
        TBBUTTON button = {};
        button.iBitmap = I_IMAGENONE;
        button.idCommand = static_cast<int>(kFirstButtonId + i);
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        button.iString = stringIndex;
        SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    SendMessage(TB_AUTOSIZE);
    return TRUE;
}

HMENU CCommandBarCtrl::DetachMenu()
{
    HMENU menu = m_menu;
    m_menu = nullptr;
    RemoveButtons();
    return menu;
}

void CCommandBarCtrl::DropDown(int position)
{
    if (m_menu == nullptr) return;
    HMENU popup = GetSubMenu(m_menu, position);
    if (popup == nullptr) return;
    RECT rc = {};
    SendMessage(TB_GETITEMRECT, position, reinterpret_cast<LPARAM>(&rc));
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    UINT id = kFirstButtonId + position;
    SendMessage(TB_PRESSBUTTON, id, MAKELONG(TRUE, 0));
    OnBeforeDropDown(m_menu);
    HWND owner = m_owner ? m_owner : GetParent();
    TPMPARAMS params = {sizeof params, rc};
    ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_VERTICAL,
                       rc.left, rc.bottom, owner, &params);
    SendMessage(TB_PRESSBUTTON, id, MAKELONG(FALSE, 0));
}

int CCommandBarCtrl::FindMnemonic(char c) const
{
    if (m_menu == nullptr || c == 0) return -1;
    char wanted = UpperAscii(c);
    int count = GetMenuItemCount(m_menu);
    for (int i = 0; i < count; ++i) {
        char caption[256] = {};
        GetMenuStringA(m_menu, i, caption, sizeof caption, MF_BYPOSITION);
        for (const char* p = caption; *p; ++p) {
            if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1]) {
                ++p;
                continue;
            }
            if (*p != '&' || p[1] == '\0') continue;
            if (p[1] == '&') {  // "&&" shows one ampersand
                ++p;
                continue;
            }
            if (UpperAscii(p[1]) == wanted) return i;
            ++p;
        }
    }
    return -1;
}

LRESULT CCommandBarCtrl::OnLeftButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    int index = static_cast<int>(SendMessage(TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
    int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    if (index < 0 || index >= count) {
        bHandled = FALSE;
        return 0;
    }
    DropDown(index);
    return 0;
}

}  // namespace WinKit
