// UI state of commands (enabled, checked, text) kept by id and pushed to the menus and
// toolbars that show them: at once for toolbars and the menu bar when asked, and for a
// drop-down menu when it opens (chain the frame's message map to this class).
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "WinKit/MessageMap.h"

namespace WinKit {

class CUpdateUIBase : public CMessageMap {
public:
    enum Kind : WORD {
        UPDUI_MENUPOPUP = 0x0001,
        UPDUI_MENUBAR = 0x0002,
        UPDUI_CHILDWINDOW = 0x0004,
        UPDUI_TOOLBAR = 0x0008,
        UPDUI_STATUSBAR = 0x0010,
    };
    enum State : WORD {
        UPDUI_ENABLED = 0x0000,
        UPDUI_DISABLED = 0x0100,
        UPDUI_CHECKED = 0x0200,
        UPDUI_CHECKED2 = 0x0400,  // indeterminate
        UPDUI_DEFAULT = 0x2000,
    };

    struct Entry {
        WORD kinds = 0;
        WORD state = UPDUI_ENABLED;
        std::string text;
        bool hasText = false;
        WORD dirty = 0;  // kinds whose shown state is out of date
    };

    // Declares an id and where it is shown.
    void UIAddElement(WORD id, WORD kinds);
    BOOL UIAddToolBar(HWND toolBar);
    BOOL UIAddStatusBar(HWND statusBar);
    BOOL UIAddMenuBar(HWND frame);

    BOOL UIEnable(int id, BOOL enable, BOOL forceUpdate = FALSE);
    BOOL UISetCheck(int id, int check, BOOL forceUpdate = FALSE);
    BOOL UISetText(int id, const char* text, BOOL forceUpdate = FALSE);
    BOOL UISetDefault(int id, BOOL makeDefault, BOOL forceUpdate = FALSE);
    // The state word of an id (UPDUI_* bits); 0 for an unknown id.
    WORD UIGetState(int id) const;
    const Entry* UIGetEntry(int id) const;

    BOOL UIUpdateToolBar(BOOL forceUpdate = FALSE);
    BOOL UIUpdateMenuBar(BOOL forceUpdate = FALSE);
    BOOL UIUpdateStatusBar(BOOL forceUpdate = FALSE);
    // Applies the states to the items of a menu that is about to open.
    void UIUpdateMenu(HMENU menu);

    WK_BEGIN_MSG_MAP(CUpdateUIBase)
        WK_MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    WK_END_MSG_MAP()

    LRESULT OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
    {
        bHandled = FALSE;  // others may still want it
        UIUpdateMenu(reinterpret_cast<HMENU>(wParam));
        return 0;
    }

private:
    Entry* Find(int id);
    BOOL Change(int id, WORD clear, WORD set, BOOL forceUpdate);
    void Flush(WORD kinds, BOOL forceUpdate);

    std::map<WORD, Entry> m_entries;
    std::vector<HWND> m_toolBars;
    std::vector<HWND> m_statusBars;
    HWND m_menuFrame = nullptr;
};

template <class T>
class CUpdateUI : public CUpdateUIBase {
};

}  // namespace WinKit
