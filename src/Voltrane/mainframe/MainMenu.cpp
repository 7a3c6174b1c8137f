#include "mainframe/MainMenu.h"

#include <cstdlib>
#include <cstring>

#include "mainframe/DefinitionLines.h"
#include "mainframe/FrameServices.h"

const char kWindowMenuMark[] = "ｳｨﾝﾄﾞｳ(&W)";

int (*CMainMenu::s_isCommandModulePresent)(int commandId) = nullptr;

namespace {

constexpr int kGreyedItemId = 99999;

// Removes every occurrence of the keyword from the line.
std::string RemoveAll(std::string line, const char* keyword)
{
    size_t length = strlen(keyword);
    for (size_t pos = line.find(keyword); pos != std::string::npos; pos = line.find(keyword, pos))
        line.erase(pos, length);
    return line;
}

// Strips leading blanks and double quotes, then trailing blanks and double quotes.
std::string StripBlanksAndQuotes(const std::string& text)
{
    size_t first = 0;
    while (first < text.size() && (text[first] == ' ' || text[first] == '\t' || text[first] == '"')) ++first;
    size_t last = text.size();
    while (last > first && (text[last - 1] == ' ' || text[last - 1] == '\t' || text[last - 1] == '"' ||
                            text[last - 1] == '\r' || text[last - 1] == '\n'))
        --last;
    return text.substr(first, last - first);
}

std::string MenuItemCaption(HMENU menu, int position)
{
    char caption[512] = {};
    GetMenuStringA(menu, position, caption, sizeof caption, MF_BYPOSITION);
    return caption;
}

}  // namespace

int IntArrayAdd(std::vector<int>& array, int value)
{
    array.push_back(value);
    return static_cast<int>(array.size()) - 1;
}

namespace {

// Skips the lines of a block up to its matching END.
void SkipMenuBlock(CDefinitionLineReader& reader)
{
    int open = 1;
    std::string line;
    while (open > 0 && reader.Next(line)) {
        if (StartsWith(line, "BEGIN")) ++open;
        else if (StartsWith(line, "END")) --open;
    }
}

}  // namespace

void ParseMenuLevel(CDefinitionLineReader& reader, HMENU menu, int depth)
{
    HMENU pendingPopup = nullptr;
    std::string line;
    while (reader.Next(line)) {
        if (StartsWith(line, "POPUP")) {
            std::string rest = StripBlanksAndQuotes(RemoveAll(line, "POPUP"));
            std::vector<std::string> fields = SplitDefinitionFields(rest);
            std::string caption = fields.empty() ? std::string() : fields[0];
            pendingPopup = CreatePopupMenu();
            if (pendingPopup != nullptr &&
                !AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(pendingPopup), caption.c_str())) {
                DestroyMenu(pendingPopup);
                pendingPopup = nullptr;
            }
        } else if (StartsWith(line, "BEGIN")) {
            if (pendingPopup == nullptr) continue;
            HMENU popup = pendingPopup;
            pendingPopup = nullptr;
            if (depth + 1 >= kMaxMenuDepth) {
                SkipMenuBlock(reader);
                continue;
            }
            ParseMenuLevel(reader, popup, depth + 1);
        } else if (StartsWith(line, "MENUITEM")) {
            std::string rest = RemoveAll(line, "MENUITEM");
            if (rest.find("SEPARATOR") != std::string::npos) {
                AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
                continue;
            }
            std::vector<std::string> fields = SplitDefinitionFields(rest);
            std::string caption = fields.empty() ? std::string() : fields[0];
            long id = fields.size() > 1 ? strtol(fields[1].c_str(), nullptr, 10) : 0;
            long flag = fields.size() > 2 ? strtol(fields[2].c_str(), nullptr, 10) : 0;
            UINT state = MF_ENABLED;
            if (id == kGreyedItemId) {
                state = MF_GRAYED;
            } else if (flag != -1 && CMainMenu::s_isCommandModulePresent != nullptr &&
                       !CMainMenu::s_isCommandModulePresent(static_cast<int>(id))) {
                state = MF_GRAYED;
            }
            AppendMenuA(menu, MF_STRING | state, static_cast<UINT_PTR>(id), caption.c_str());
        } else if (StartsWith(line, "END")) {
            return;
        }
    }
}

CMainMenu::~CMainMenu()
{
    if (m_menu != nullptr) DestroyMenu(m_menu);
}

HMENU CMainMenu::Detach()
{
    HMENU menu = m_menu;
    m_menu = nullptr;
    return menu;
}

int CMainMenu::Load(const char* fileName)
{
    if (m_menu != nullptr) return 1;
    return LoadFromPath((ProgramFolder() + (fileName ? fileName : "RovOdidov.mnu")).c_str());
}

int CMainMenu::LoadFromPath(const char* path)
{
    if (m_menu != nullptr) return 1;
    std::string content;
    if (!ReadDefinitionFile(path, content)) return -1;
    return LoadFromText(content);
}

int CMainMenu::LoadFromText(const std::string& content)
{
    if (m_menu != nullptr) return 1;
    m_menu = CreateMenu();
    if (m_menu == nullptr) return -1;
    CDefinitionLineReader reader(content);
    ParseMenuLevel(reader, m_menu);
    FindWindowMenu();
    return 0;
}

void CMainMenu::FindWindowMenu()
{
    int count = GetMenuItemCount(m_menu);
    for (int i = 0; i < count; ++i) {
        std::string caption = MenuItemCaption(m_menu, i);
        if (caption.find(kWindowMenuMark) != std::string::npos) {
            m_windowMenuPosition = count - i;
            m_windowMenuCaption = caption;
            return;
        }
    }
}

int CMainMenu::UpdateItemStates(HMENU menu)
{
    if (menu == nullptr) menu = m_menu;
    if (menu == nullptr) return 0;
    EnableMenuItem(menu, 1212, MF_BYCOMMAND | MF_ENABLED);
    // Undo, redo and the attached drawing need a drawing view; until the views answer these
    // questions there is none, and the items stay greyed.
    HWND view = FrameActiveView();
    EnableMenuItem(menu, 1209, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(menu, 1208, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(menu, 1311, MF_BYCOMMAND | MF_GRAYED);
    if (view == nullptr) CheckMenuItem(menu, 1330, MF_BYCOMMAND | MF_UNCHECKED);
    CheckMenuItem(menu, 1335, MF_BYCOMMAND | MF_UNCHECKED);
    return 0;
}

HMENU GetWindowMenu(HMENU menu, int position, const char* caption)
{
    if (menu == nullptr || !IsMenu(menu)) return nullptr;
    int count = GetMenuItemCount(menu);
    if (count <= 0) return nullptr;
    if (position <= 0 || position > count) position = 2;
    int index = count - position;
    std::string itemCaption = MenuItemCaption(menu, index);
    if (itemCaption.empty()) return nullptr;
    if (caption != nullptr && caption[0] != '\0') {
        if (itemCaption != caption) return nullptr;
    } else if (itemCaption.find(kWindowMenuMark) == std::string::npos) {
        return nullptr;
    }
    return GetSubMenu(menu, index);
}

void SetMdiFrameMenu(HWND mdiClient, HMENU menu, int windowMenuPosition, const char* windowMenuCaption)
{
    if (mdiClient == nullptr) return;
    HMENU windowMenu = GetWindowMenu(menu, windowMenuPosition, windowMenuCaption);
    SendMessageA(mdiClient, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu),
                 reinterpret_cast<LPARAM>(windowMenu));
    SendMessageA(mdiClient, WM_MDIREFRESHMENU, 0, 0);
    DrawMenuBar(GetParent(mdiClient));
}
