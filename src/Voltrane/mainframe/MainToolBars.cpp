#include "mainframe/MainToolBars.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CommandIds.h"
#include "WinKit/ToolBarResource.h"
#include "mainframe/DefinitionLines.h"
#include "mainframe/FrameServices.h"

namespace {

const ToolbarGroupInfo kGroups[] = {
    {1, "ファイル", 259, 269, 279, nullptr},   {1, "設定", 260, 270, 280, nullptr},
    {1, "ウィンドウ", 261, 271, 281, nullptr}, {1, "ラスター", 262, 272, 282, nullptr},
    {1, "計測", 263, 273, 283, nullptr},       {1, "表示", 264, 274, 284, nullptr},
    {1, "編集", 265, 275, 285, nullptr},       {1, "作図", 266, 276, 286, nullptr},
    {1, "文字", 267, 277, 287, nullptr},       {1, "寸法", 268, 278, 288, nullptr},
};

const ToolbarButtonInfo kButtons[] = {
    {45100, 4000, "新規作成"}, {45101, 4001, "開く"}, {45102, 4012, "上書保存"},
    {45103, 4002, "名前を付けて保存"}, {45104, 4021, "図面情報"}, {45105, 5300, "出力作図"},
    {45106, 5301, "範囲指定出力作図"},
    {45400, 1229, "環境設定"}, {45401, 4023, "カーソル"}, {45402, 7112, "ヘルプ"},
    {45901, 1200, "カスケード"}, {45902, 1201, "タイル"}, {45903, 1225, "レイアウトビュー"},
    {45905, 4025, "画面分割"}, {45900, 1203, "新規ウィンドウ"},
    {45300, 7800, "ラスター読込"}, {45301, 7801, "ラスター設定"}, {45302, 7802, "ラスター削除"},
    {45200, 7600, "距離"}, {45202, 7620, "要素表示"}, {45201, 7605, "面積"},
    {45904, 1300, "ルーペ"}, {45800, 1205, "ズーム"}, {45801, 1210, "範囲拡大"},
    {45802, 1204, "基準表示"}, {45803, 1314, "再表示"}, {45804, 1206, "スクロール"},
    {45805, 1351, "グリッド表示"}, {45806, 1230, "レイヤ分割"},
    {45719, 1209, "UNDO"}, {45720, 1208, "REDO"}, {45701, 7010, "移動"}, {45700, 7000, "複写"},
    {45707, 7030, "延長短縮"}, {45709, 7047, "部分削除"}, {45708, 7040, "切断"},
    {45702, 7051, "対称複写"}, {45703, 7052, "対称移動"}, {45705, 7071, "接続"},
    {45704, 7070, "丸め"}, {45716, 7130, "要素消去"}, {45717, 7140, "枠内消去"},
    {45718, 7150, "全消去"}, {45710, 7075, "シンボル配置"}, {45711, 7500, "グループ作成"},
    {45712, 7520, "グループ解除"}, {45715, 7120, "要素変更"}, {45706, 9100, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ転送"},
    {45500, 6000, "線分"}, {45509, 6002, "折れ線"}, {45515, 6003, "波線"}, {45501, 6001, "基準線"},
    {45502, 6041, "二重線"}, {45503, 6010, "矩形"}, {45504, 6020, "円"}, {45505, 6030, "円弧"},
    {45507, 6050, "楕円"}, {45508, 6060, "楕円弧"}, {45506, 6040, "点"},
    {45510, 6061, "スプライン"}, {45511, 6062, "ハッチング"}, {45906, 6066, "分割線"},
    {45512, 5195, "塗り潰し"},
    {45513, 6070, "文字"}, {45514, 6071, "文字枠配置"}, {45713, 7080, "文字テキスト変更"},
    {45714, 7100, "文字属性変更"},
    {45600, 6080, "平行寸法"}, {45601, 6090, "円寸法"}, {45602, 6100, "角度寸法"},
};

constexpr DWORD kToolbarStyle = 0x5600094C;
constexpr DWORD kRebarStyle = 0x56002640;
constexpr UINT kBarControlId = 0xE800;
constexpr UINT kFirstBandId = 0xEB00;

std::string ReadProgramIni(const char* section, const char* key, const char* defaultValue)
{
    char value[257] = {};
    GetPrivateProfileStringA(section, key, defaultValue, value, sizeof value, FrameProgramIniPath().c_str());
    return value;
}

bool WriteProgramIni(const char* section, const char* key, const char* value)
{
    return WritePrivateProfileStringA(section, key, value, FrameProgramIniPath().c_str()) != 0;
}

ToolbarGroupEntry EntryOf(const ToolbarGroupInfo& group)
{
    ToolbarGroupEntry entry;
    entry.visible = group.visible;
    entry.name = group.name;
    entry.largeId = group.largeId;
    entry.mediumId = group.mediumId;
    entry.smallId = group.smallId;
    return entry;
}

HWND CreateToolBarFromResource(HWND parent, UINT resourceId, DWORD style, UINT controlId)
{
    return WinKit::CreateSimpleToolBarCtrl(parent, resourceId, style, controlId);
}

int BandCount(HWND rebar) { return static_cast<int>(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0)); }

}  // namespace

IniReader ToolBarSettings::s_read = ReadProgramIni;
IniWriter ToolBarSettings::s_write = WriteProgramIni;
HWND (*ToolBarSettings::s_createToolBar)(HWND, UINT, DWORD, UINT) = CreateToolBarFromResource;
void (*ToolBarSettings::s_destroyToolBar)(HWND) = WinKit::DestroyToolBarCtrl;

const ToolbarGroupInfo* ToolbarGroups() { return kGroups; }
int ToolbarGroupCount() { return static_cast<int>(sizeof kGroups / sizeof kGroups[0]); }
const ToolbarButtonInfo* ToolbarButtons() { return kButtons; }
int ToolbarButtonCount() { return static_cast<int>(sizeof kButtons / sizeof kButtons[0]); }

int FindToolbarGroup(const char* name, ToolbarGroupEntry* out)
{
    if (name == nullptr) return 0;
    for (const ToolbarGroupInfo& group : kGroups) {
        if (strcmp(group.name, name) == 0) {
            if (out != nullptr) *out = EntryOf(group);
            return 1;
        }
    }
    return 0;
}

ToolBarSettings::ToolBarSettings() = default;

int ToolBarSettings::Load(HWND parent)
{
    sizeMode = static_cast<int>(strtol(s_read("TOOLBAR", "SizeMode", "1").c_str(), nullptr, 10));

    entries.clear();
    for (int i = 1; i <= ToolbarGroupCount(); ++i) {
        char key[16];
        snprintf(key, sizeof key, "TB%02d", i);
        std::vector<std::string> fields = SplitDefinitionFields(s_read("TOOLBAR", key, ""));
        ToolbarGroupEntry entry;
        if (fields.size() != 2 || !FindToolbarGroup(fields[1].c_str(), &entry)) break;
        entry.visible = static_cast<int>(strtol(fields[0].c_str(), nullptr, 10));
        entries.push_back(entry);
    }
    if (static_cast<int>(entries.size()) != ToolbarGroupCount()) {
        entries.clear();
        for (const ToolbarGroupInfo& group : kGroups) entries.push_back(EntryOf(group));
    }

    if (parent == nullptr || sizeMode < 0) return 1;
    int sizeIndex = sizeMode > 2 ? 0 : sizeMode;
    for (ToolbarGroupEntry& entry : entries) {
        int resourceId = sizeIndex == 0 ? entry.largeId : sizeIndex == 1 ? entry.mediumId : entry.smallId;
        entry.window = s_createToolBar(parent, static_cast<UINT>(resourceId), kToolbarStyle, kBarControlId);
        if (entry.window != nullptr) SetWindowTextA(entry.window, entry.name.c_str());
    }
    return 1;
}

int ToolBarSettings::Save()
{
    char value[64];
    snprintf(value, sizeof value, "%ld", static_cast<long>(sizeMode));
    s_write("TOOLBAR", "SizeMode", value);
    long number = 1;
    for (const ToolbarGroupEntry& entry : entries) {
        char key[16];
        snprintf(key, sizeof key, "TB%02ld", number++);
        std::string text = std::to_string(entry.visible ? 1 : 0) + "," + entry.name;
        s_write("TOOLBAR", key, text.c_str());
    }
    return 1;
}

int ToolBarSettings::FindEntry(const char* name, ToolbarGroupEntry* out) const
{
    if (name == nullptr) return 0;
    for (const ToolbarGroupEntry& entry : entries) {
        if (entry.name == name) {
            if (out != nullptr) *out = entry;
            return 1;
        }
    }
    return 0;
}

int ToolBarSettings::IsEntryVisible(const char* name) const
{
    ToolbarGroupEntry entry;
    return FindEntry(name, &entry) ? entry.visible : 1;
}

CMainToolBars::~CMainToolBars() = default;

int CMainToolBars::Create(HWND parent, HWND commandBar)
{
    if (!m_settings.Load(parent)) return 0;
    m_rebar = CreateWindowExA(0, REBARCLASSNAMEA, nullptr, kRebarStyle, 0, 0, 100, 100, parent,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kBarControlId)),
                              GetModuleHandleA(nullptr), nullptr);
    if (m_rebar == nullptr) return 0;
    m_created = 1;
    REBARINFO info = {sizeof info};
    SendMessageA(m_rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&info));

    if (commandBar != nullptr) {
        SIZE size = {};
        SendMessageA(commandBar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_CHILD | RBBIM_ID | RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_SIZE;
        band.fStyle = RBBS_CHILDEDGE;
        band.hwndChild = commandBar;
        band.wID = kFirstBandId;
        band.cxMinChild = 0;
        band.cyMinChild = size.cy > 0 ? size.cy : 22;
        band.cx = size.cx > 0 ? size.cx : 200;
        SendMessageA(m_rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    }
    AddToolbarBands();
    LockBands();
    WidenBands();
    ApplyBandVisibility();
    return 1;
}

void CMainToolBars::AddToolbarBands()
{
    for (size_t i = 0; i < m_settings.entries.size(); ++i) {
        HWND toolBar = m_settings.entries[i].window;
        if (toolBar == nullptr) continue;
        int buttons = static_cast<int>(SendMessageA(toolBar, TB_BUTTONCOUNT, 0, 0));
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_CHILD | RBBIM_ID | RBBIM_STYLE | RBBIM_CHILDSIZE | RBBIM_SIZE | RBBIM_IDEALSIZE;
        band.fStyle = RBBS_CHILDEDGE | (buttons > 0 ? RBBS_USECHEVRON : 0) | (i == 0 ? RBBS_BREAK : 0);
        band.hwndChild = toolBar;
        band.wID = kFirstBandId + BandCount(m_rebar);
        if (buttons > 0) {
            RECT first = {}, last = {};
            SendMessageA(toolBar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
            SendMessageA(toolBar, TB_GETITEMRECT, buttons - 1, reinterpret_cast<LPARAM>(&last));
            band.cxMinChild = first.right;
            band.cyMinChild = last.bottom - last.top;
            band.cx = last.right;
            band.cxIdeal = last.right;
        } else {
            RECT rc = {};
            GetWindowRect(toolBar, &rc);
            band.cxMinChild = 0;
            band.cyMinChild = rc.bottom - rc.top;
            band.cx = rc.right - rc.left;
        }
        SendMessageA(toolBar, TB_SETEXTENDEDSTYLE, 0,
                     SendMessageA(toolBar, TB_GETEXTENDEDSTYLE, 0, 0) | TBSTYLE_EX_HIDECLIPPEDBUTTONS);
        SendMessageA(m_rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
    }
}

void CMainToolBars::LockBands()
{
    int count = BandCount(m_rebar);
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_STYLE;
        if (!SendMessageA(m_rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band))) continue;
        band.fStyle |= RBBS_NOGRIPPER;
        SendMessageA(m_rebar, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
    }
}

void CMainToolBars::WidenBands()
{
    int count = BandCount(m_rebar);
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_SIZE;
        if (!SendMessageA(m_rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band))) continue;
        RECT borders = {};
        SendMessageA(m_rebar, RB_GETBANDBORDERS, i, reinterpret_cast<LPARAM>(&borders));
        band.cx += borders.left + borders.right;
        SendMessageA(m_rebar, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
    }
}

void CMainToolBars::ApplyBandVisibility()
{
    int count = BandCount(m_rebar);
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_CHILD;
        if (!SendMessageA(m_rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band)) || band.hwndChild == nullptr)
            continue;
        char text[128] = {};
        GetWindowTextA(band.hwndChild, text, sizeof text);
        if (text[0] == '\0') continue;
        ShowToolbarBand(i, m_settings.IsEntryVisible(text));
    }
}

void CMainToolBars::ShowToolbarBand(int bandNumber, int show)
{
    if (!m_created || bandNumber < 1 || bandNumber > static_cast<int>(m_settings.entries.size())) return;
    SendMessageA(m_rebar, RB_SHOWBAND, bandNumber, show ? TRUE : FALSE);
    int visible = 0;
    int count = BandCount(m_rebar);
    for (int j = 0; j < count; ++j) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_SIZE | (j > 0 ? RBBIM_STYLE : 0);
        if (!SendMessageA(m_rebar, RB_GETBANDINFOA, j, reinterpret_cast<LPARAM>(&band))) break;
        RECT borders = {};
        SendMessageA(m_rebar, RB_GETBANDBORDERS, j, reinterpret_cast<LPARAM>(&borders));
        band.cx = band.cx + borders.left + borders.right - 4;
        if (j == 0 || !(band.fStyle & RBBS_HIDDEN)) {
            ++visible;
            if (j > 0) {
                if (visible == 2) band.fStyle |= RBBS_BREAK;
                else band.fStyle &= ~RBBS_BREAK;
            }
        }
        if (!SendMessageA(m_rebar, RB_SETBANDINFOA, j, reinterpret_cast<LPARAM>(&band))) break;
    }
}

int CMainToolBars::MapButtonToCommand(WPARAM* wParam, LPARAM* lParam, BOOL* handled, int* buttonId) const
{
    UINT id = LOWORD(*wParam);
    if (id < kFirstToolbarButton || id > kLastToolbarButton) return 1;
    if (handled != nullptr) *handled = TRUE;
    if (!m_created) return 0;
    int commandId = 0;
    for (const ToolbarButtonInfo& button : kButtons) {
        if (button.buttonId == static_cast<int>(id)) {
            commandId = button.commandId;
            break;
        }
    }
    *wParam = static_cast<WPARAM>(commandId);
    if (commandId == 0) return 0;
    *lParam = 0;
    if (buttonId != nullptr) *buttonId = static_cast<int>(id);
    return 1;
}

int CMainToolBars::CommandToButton(int commandId)
{
    for (const ToolbarButtonInfo& button : kButtons) {
        if (button.commandId == commandId) return button.buttonId != 0 ? button.buttonId : commandId;
    }
    return commandId;
}

int CMainToolBars::CheckCommandButton(int commandId, int check)
{
    int button = CommandToButton(commandId);
    int any = 0;
    for (const ToolbarGroupEntry& entry : m_settings.entries) {
        if (entry.window == nullptr) continue;
        if (SendMessageA(entry.window, TB_CHECKBUTTON, button, MAKELONG(LOWORD(check), 0))) any = 1;
    }
    return any;
}

void CMainToolBars::DestroyToolbarWindows(const std::vector<HWND>& windows)
{
    for (HWND window : windows) ToolBarSettings::s_destroyToolBar(window);
}

void CMainToolBars::Rebuild(HWND parent)
{
    if (!m_created) return;
    // Every band but the command bar's goes, from the last one down.
    for (int i = BandCount(m_rebar) - 1; i >= 0; --i) {
        REBARBANDINFOA band = {};
        band.cbSize = sizeof band;
        band.fMask = RBBIM_CHILD;
        if (!SendMessageA(m_rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band))) continue;
        bool toolBar = false;
        for (const ToolbarGroupEntry& entry : m_settings.entries) toolBar = toolBar || entry.window == band.hwndChild;
        if (toolBar) SendMessageA(m_rebar, RB_DELETEBAND, i, 0);
    }

    std::vector<int> downButtons;
    std::vector<HWND> oldWindows;
    for (const ToolbarGroupEntry& entry : m_settings.entries) {
        if (entry.window == nullptr) continue;
        oldWindows.push_back(entry.window);
        int count = static_cast<int>(SendMessageA(entry.window, TB_BUTTONCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            TBBUTTON button = {};
            if (!SendMessageA(entry.window, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button))) continue;
            if ((button.fsState & (TBSTATE_CHECKED | TBSTATE_PRESSED)) && button.idCommand != 0)
                downButtons.push_back(button.idCommand);
        }
    }
    // The old toolbars have left the rebar; nothing refers to them any more.
    DestroyToolbarWindows(oldWindows);
    for (ToolbarGroupEntry& entry : m_settings.entries) entry.window = nullptr;

    if (!m_settings.Load(parent)) return;
    AddToolbarBands();
    LockBands();
    for (int id : downButtons) {
        for (const ToolbarGroupEntry& entry : m_settings.entries) {
            if (entry.window != nullptr) SendMessageA(entry.window, TB_CHECKBUTTON, id, MAKELONG(1, 0));
        }
    }
    WidenBands();
    ApplyBandVisibility();
}

HWND CMainToolBars::GetToolbarWindow(int index) const
{
    if (!m_created || index < 0 || index >= static_cast<int>(m_settings.entries.size())) return nullptr;
    return m_settings.entries[index].window;
}
