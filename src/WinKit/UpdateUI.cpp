#include "WinKit/UpdateUI.h"

#include <commctrl.h>

namespace WinKit {

void CUpdateUIBase::UIAddElement(WORD id, WORD kinds) { m_entries[id].kinds |= kinds; }

BOOL CUpdateUIBase::UIAddToolBar(HWND toolBar)
{
    if (toolBar == nullptr) return FALSE;
    m_toolBars.push_back(toolBar);
    return TRUE;
}

BOOL CUpdateUIBase::UIAddStatusBar(HWND statusBar)
{
    if (statusBar == nullptr) return FALSE;
    m_statusBars.push_back(statusBar);
    return TRUE;
}

BOOL CUpdateUIBase::UIAddMenuBar(HWND frame)
{
    m_menuFrame = frame;
    return frame != nullptr;
}

CUpdateUIBase::Entry* CUpdateUIBase::Find(int id)
{
    auto it = m_entries.find(static_cast<WORD>(id));
    return it == m_entries.end() ? nullptr : &it->second;
}

const CUpdateUIBase::Entry* CUpdateUIBase::UIGetEntry(int id) const
{
    auto it = m_entries.find(static_cast<WORD>(id));
    return it == m_entries.end() ? nullptr : &it->second;
}

WORD CUpdateUIBase::UIGetState(int id) const
{
    const Entry* entry = UIGetEntry(id);
    return entry ? entry->state : 0;
}

BOOL CUpdateUIBase::Change(int id, WORD clear, WORD set, BOOL forceUpdate)
{
    Entry* entry = Find(id);
    if (entry == nullptr) return FALSE;
    WORD state = static_cast<WORD>((entry->state & ~clear) | set);
    if (state != entry->state) {
        entry->state = state;
        entry->dirty = entry->kinds;
    }
    if (forceUpdate) Flush(entry->kinds, TRUE);
    return TRUE;
}

BOOL CUpdateUIBase::UIEnable(int id, BOOL enable, BOOL forceUpdate)
{
    return Change(id, UPDUI_DISABLED, enable ? 0 : UPDUI_DISABLED, forceUpdate);
}

BOOL CUpdateUIBase::UISetCheck(int id, int check, BOOL forceUpdate)
{
    WORD set = check == 1 ? UPDUI_CHECKED : check == 2 ? UPDUI_CHECKED2 : 0;
    return Change(id, UPDUI_CHECKED | UPDUI_CHECKED2, set, forceUpdate);
}

BOOL CUpdateUIBase::UISetDefault(int id, BOOL makeDefault, BOOL forceUpdate)
{
    return Change(id, UPDUI_DEFAULT, makeDefault ? UPDUI_DEFAULT : 0, forceUpdate);
}

BOOL CUpdateUIBase::UISetText(int id, const char* text, BOOL forceUpdate)
{
    Entry* entry = Find(id);
    if (entry == nullptr) return FALSE;
    std::string value = text ? text : "";
    if (!entry->hasText || entry->text != value) {
        entry->text = value;
        entry->hasText = true;
        entry->dirty = entry->kinds;
    }
    if (forceUpdate) Flush(entry->kinds, TRUE);
    return TRUE;
}

void CUpdateUIBase::UIUpdateMenu(HMENU menu)
{
    if (menu == nullptr) return;
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT id = ::GetMenuItemID(menu, i);
        if (id == static_cast<UINT>(-1)) continue;  // a submenu
        const Entry* entry = UIGetEntry(static_cast<int>(id));
        if (entry == nullptr) continue;
        UINT byPos = MF_BYPOSITION;
        ::EnableMenuItem(menu, i, byPos | ((entry->state & UPDUI_DISABLED) ? MF_GRAYED : MF_ENABLED));
        ::CheckMenuItem(menu, i, byPos | ((entry->state & (UPDUI_CHECKED | UPDUI_CHECKED2)) ? MF_CHECKED : MF_UNCHECKED));
        if (entry->hasText) {
            MENUITEMINFOA info = {sizeof(info)};
            info.fMask = MIIM_STRING;
            info.dwTypeData = const_cast<char*>(entry->text.c_str());
            ::SetMenuItemInfoA(menu, i, TRUE, &info);
        }
    }
}

void CUpdateUIBase::Flush(WORD kinds, BOOL forceUpdate)
{
    for (auto& pair : m_entries) {
        Entry& entry = pair.second;
        if (!(entry.kinds & kinds) || (!(entry.dirty & kinds) && !forceUpdate)) continue;
        WORD id = pair.first;
        if (kinds & entry.kinds & UPDUI_TOOLBAR) {
            for (HWND toolBar : m_toolBars) {
                if (!::IsWindow(toolBar)) continue;
                ::SendMessageA(toolBar, TB_ENABLEBUTTON, id, MAKELONG(!(entry.state & UPDUI_DISABLED), 0));
                ::SendMessageA(toolBar, TB_CHECKBUTTON, id, MAKELONG((entry.state & UPDUI_CHECKED) != 0, 0));
            }
        }
        if ((kinds & entry.kinds & UPDUI_MENUBAR) && m_menuFrame != nullptr) {
            HMENU menu = ::GetMenu(m_menuFrame);
            if (menu != nullptr) {
                ::EnableMenuItem(menu, id, MF_BYCOMMAND | ((entry.state & UPDUI_DISABLED) ? MF_GRAYED : MF_ENABLED));
                ::CheckMenuItem(menu, id, MF_BYCOMMAND | ((entry.state & UPDUI_CHECKED) ? MF_CHECKED : MF_UNCHECKED));
            }
        }
        if ((kinds & entry.kinds & UPDUI_STATUSBAR) && entry.hasText) {
            // For a status bar the id is the pane index.
            for (HWND statusBar : m_statusBars) {
                if (::IsWindow(statusBar))
                    ::SendMessageA(statusBar, SB_SETTEXTA, id, reinterpret_cast<LPARAM>(entry.text.c_str()));
            }
        }
        entry.dirty = static_cast<WORD>(entry.dirty & ~kinds);
    }
}

BOOL CUpdateUIBase::UIUpdateToolBar(BOOL forceUpdate)
{
    Flush(UPDUI_TOOLBAR, forceUpdate);
    return TRUE;
}

BOOL CUpdateUIBase::UIUpdateMenuBar(BOOL forceUpdate)
{
    Flush(UPDUI_MENUBAR, forceUpdate);
    if (m_menuFrame != nullptr) ::DrawMenuBar(m_menuFrame);
    return TRUE;
}

BOOL CUpdateUIBase::UIUpdateStatusBar(BOOL forceUpdate)
{
    Flush(UPDUI_STATUSBAR, forceUpdate);
    return TRUE;
}

}  // namespace WinKit
