// The main menu built from the text file "RovOdidov.mnu" in the program folder, so that an
// installation can rearrange menus and add plug-in commands without rebuilding the program.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The caption part that marks the window menu (half-width katakana "ｳｨﾝﾄﾞｳ(&W)").
extern const char kWindowMenuMark[];

class CMainMenu {
public:
    CMainMenu() = default;
    virtual ~CMainMenu();
    CMainMenu(const CMainMenu&) = delete;
    CMainMenu& operator=(const CMainMenu&) = delete;

    // 1 when a menu is loaded already; -1 when the file in the program folder cannot be
    // opened; otherwise builds the menu and returns 0.
    int Load(const char* fileName);
    // The same from a given path.
    int LoadFromPath(const char* path);
    // Builds the menu from the file's text (used by LoadFromPath).
    int LoadFromText(const std::string& content);
    // Enables and checks the items that depend on the active drawing; returns 0.
    int UpdateItemStates(HMENU menu);

    HMENU Menu() const { return m_menu; }
    int WindowMenuPosition() const { return m_windowMenuPosition; }
    const std::string& WindowMenuCaption() const { return m_windowMenuCaption; }
    // Gives the menu to its new owner (the command bar); the object forgets it.
    HMENU Detach();

    // 1 when the library of the command is installed (the command catalogue answers); a menu
    // item whose library is missing is greyed. Set by the command system; null: present.
    static int (*s_isCommandModulePresent)(int commandId);

private:
    void FindWindowMenu();

    int m_windowMenuPosition = 11;
    std::string m_windowMenuCaption;
    HMENU m_menu = nullptr;
};

// Parses menu lines into the menu, up to the END of its level (or the end of the text).
// Popups nest at most kMaxMenuDepth levels; a deeper block is skipped whole.
constexpr int kMaxMenuDepth = 16;
void ParseMenuLevel(class CDefinitionLineReader& reader, HMENU menu, int depth = 0);

// The window submenu of a menu: the item at position (count - position) whose caption equals
// caption (or, with an empty caption, contains the window-menu mark); null when none.
HMENU GetWindowMenu(HMENU menu, int position, const char* caption);

// Hands a menu and its window submenu to the MDI client and redraws its parent's menu bar.
void SetMdiFrameMenu(HWND mdiClient, HMENU menu, int windowMenuPosition, const char* windowMenuCaption);

// The framework's array append; the index of the new element.
int IntArrayAdd(std::vector<int>& array, int value);
