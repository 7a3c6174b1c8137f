// A menu bar drawn as a flat toolbar (to sit in a rebar band): one text button per top-level
// item of a menu; pressing one drops its submenu down, owned by the frame window so that the
// frame gets the menu's WM_INITMENU, WM_INITMENUPOPUP and WM_COMMAND as from a window menu.
#pragma once

#include <windows.h>

#include "WinKit/Window.h"

namespace WinKit {

class CCommandBarCtrl : public CWindowImpl<CCommandBarCtrl> {
public:
    // Style of a command bar: child, visible, clipping, flat list toolbar without divider
    // that neither sizes nor places itself.
    static constexpr DWORD kDefaultStyle = 0x5600184C;
    // Ids of the bar's buttons (the top-level positions are added to it).
    static constexpr UINT kFirstButtonId = 0xFD00;

    CCommandBarCtrl() = default;

    // Creates the bar as a child of parent; owner receives the menu's messages.
    HWND CreateBar(HWND parent, HWND owner, DWORD style = kDefaultStyle, UINT controlId = 0xE801);
    // Shows the menu's top-level items (null clears them). The caller keeps owning the menu.
    BOOL AttachMenu(HMENU menu);
    // Gives the menu back to the caller; the bar shows no items.
    HMENU DetachMenu();
    HMENU GetMenu() const { return m_menu; }
    HWND Owner() const { return m_owner; }
    // Drops the submenu of a top-level position down; the chosen command goes to the owner.
    void DropDown(int position);
    // The top-level position whose caption has the mnemonic "&c" (either case), or -1.
    int FindMnemonic(char c) const;

    WK_BEGIN_MSG_MAP(CCommandBarCtrl)
        WK_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLeftButtonDown)
    WK_END_MSG_MAP()

protected:
    // Called before a submenu opens, with the whole menu (WM_INITMENU goes to the owner).
    virtual void OnBeforeDropDown(HMENU /*menu*/) {}

private:
    LRESULT OnLeftButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    void RemoveButtons();

    HMENU m_menu = nullptr;
    HWND m_owner = nullptr;
};

}  // namespace WinKit
