// The ten toolbars of the main window, one per command group, side by side in a rebar below
// the menu bar. Which groups show, in which order and at which button size is kept in the
// [TOOLBAR] section of the program ini file. Toolbar buttons carry their own ids (45100-45999),
// mapped to command ids through the fixed catalogue below before a command is dispatched.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ToolbarGroupInfo {
    int visible;
    const char* name;
    int largeId;   // 32x31 images
    int mediumId;  // 24x23
    int smallId;   // 16x15
    HWND window;
};

struct ToolbarButtonInfo {
    int buttonId;
    int commandId;
    const char* name;
};

// The catalogue: ten groups and seventy buttons, in order.
const ToolbarGroupInfo* ToolbarGroups();
int ToolbarGroupCount();
const ToolbarButtonInfo* ToolbarButtons();
int ToolbarButtonCount();

struct ToolbarGroupEntry {
    int visible = 1;
    std::string name;
    int largeId = 0;
    int mediumId = 0;
    int smallId = 0;
    HWND window = nullptr;
};

// Copies the catalogue group with that name (exact comparison); 0 when none.
int FindToolbarGroup(const char* name, ToolbarGroupEntry* out);

// Reads a text value of the program ini: (section, key, default) → value.
using IniReader = std::string (*)(const char* section, const char* key, const char* defaultValue);
using IniWriter = bool (*)(const char* section, const char* key, const char* value);

class ToolBarSettings {
public:
    ToolBarSettings();

    std::vector<ToolbarGroupEntry> entries;
    int sizeMode = 1;  // [TOOLBAR] "SizeMode": 0 large, 1 medium, 2 small; negative: none

    // Reads the settings; with a parent and a size mode of 0 or more creates the ten
    // toolbar windows. 1 on success.
    int Load(HWND parent);
    int Save();
    int FindEntry(const char* name, ToolbarGroupEntry* out) const;
    int IsEntryVisible(const char* name) const;

    // Where the values are read and written (the program ini file unless replaced), and how
    // a toolbar window is made from its resource id (tests replace these).
    static IniReader s_read;
    static IniWriter s_write;
    static HWND (*s_createToolBar)(HWND parent, UINT resourceId, DWORD style, UINT controlId);
    static void (*s_destroyToolBar)(HWND toolBar);
};

class CMainToolBars {
public:
    CMainToolBars() = default;
    ~CMainToolBars();
    CMainToolBars(const CMainToolBars&) = delete;
    CMainToolBars& operator=(const CMainToolBars&) = delete;

    int Create(HWND parent, HWND commandBar);
    // For a toolbar id: the command id replaces the word parameter and the long parameter
    // becomes 0 (answer 1); 0 means the command is dropped. Ids outside 45100-45999: 1.
    int MapButtonToCommand(WPARAM* wParam, LPARAM* lParam, BOOL* handled, int* buttonId) const;
    static int CommandToButton(int commandId);
    int CheckCommandButton(int commandId, int check);
    void Rebuild(HWND parent);
    void ShowToolbarBand(int band, int show);
    HWND GetToolbarWindow(int index) const;

    HWND Rebar() const { return m_rebar; }
    int IsCreated() const { return m_created; }
    const ToolBarSettings& Settings() const { return m_settings; }

private:
    void AddToolbarBands();
    void LockBands();
    void WidenBands();
    void ApplyBandVisibility();
    void DestroyToolbarWindows(const std::vector<HWND>& windows);

    HWND m_rebar = nullptr;
    ToolBarSettings m_settings;
    int m_created = 0;
};
