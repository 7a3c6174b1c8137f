// The toolbar catalogue, the [TOOLBAR] settings and the toolbar set.
#include "GTest.h"

#include <commctrl.h>

#include <map>
#include <set>
#include <string>

#include "mainframe/MainToolBars.h"

namespace {

std::map<std::string, std::string> g_ini;

std::string ReadFake(const char* section, const char* key, const char* defaultValue)
{
    auto it = g_ini.find(std::string(section) + "/" + key);
    return it == g_ini.end() ? std::string(defaultValue) : it->second;
}

bool WriteFake(const char* section, const char* key, const char* value)
{
    g_ini[std::string(section) + "/" + key] = value;
    return true;
}

// A toolbar with one button per resource id so that the set can be built without resources.
int g_created = 0;
HWND CreateFakeToolBar(HWND parent, UINT resourceId, DWORD style, UINT controlId)
{
    HWND toolBar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, style, 0, 0, 100, 30, parent,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(controlId)), nullptr, nullptr);
    SendMessageA(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    int group = static_cast<int>(resourceId) - 259;
    while (group >= 10) group -= 10;
    for (int i = 0; i < ToolbarButtonCount(); ++i) {
        // Every button of the group: the groups follow each other in the catalogue.
        static const int kFirst[] = {0, 7, 10, 15, 18, 21, 29, 48, 63, 67, 70};
        if (i < kFirst[group] || i >= kFirst[group + 1]) continue;
        TBBUTTON button = {I_IMAGENONE, ToolbarButtons()[i].buttonId, TBSTATE_ENABLED, BTNS_BUTTON};
        SendMessageA(toolBar, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button));
    }
    ++g_created;
    return toolBar;
}

class ToolbarSettingsTest : public testing::Test {
protected:
    void SetUp() override
    {
        g_ini.clear();
        g_created = 0;
        ToolBarSettings::s_read = ReadFake;
        ToolBarSettings::s_write = WriteFake;
        ToolBarSettings::s_createToolBar = CreateFakeToolBar;
    }
    void TearDown() override
    {
        ToolBarSettings::s_read = m_read;
        ToolBarSettings::s_write = m_write;
        ToolBarSettings::s_createToolBar = m_create;
    }
    void CatalogueKeys()
    {
        for (int i = 0; i < ToolbarGroupCount(); ++i) {
            char key[32];
            snprintf(key, sizeof key, "TOOLBAR/TB%02d", i + 1);
            g_ini[key] = std::string("1,") + ToolbarGroups()[i].name;
        }
    }

    IniReader m_read = ToolBarSettings::s_read;
    IniWriter m_write = ToolBarSettings::s_write;
    HWND (*m_create)(HWND, UINT, DWORD, UINT) = ToolBarSettings::s_createToolBar;
};

}  // namespace

TEST(ToolbarCatalogue, TenGroupsAndSeventyButtons)
{
    ASSERT_EQ(ToolbarGroupCount(), 10);
    ASSERT_EQ(ToolbarButtonCount(), 70);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ToolbarGroups()[i].largeId, 259 + i);
        EXPECT_EQ(ToolbarGroups()[i].mediumId, 269 + i);
        EXPECT_EQ(ToolbarGroups()[i].smallId, 279 + i);
    }
    std::set<int> ids;
    for (int i = 0; i < 70; ++i) ids.insert(ToolbarButtons()[i].buttonId);
    EXPECT_EQ(ids.size(), 70u);
    EXPECT_EQ(CMainToolBars::CommandToButton(1209), 45719);
    EXPECT_EQ(CMainToolBars::CommandToButton(9999), 9999);
    ToolbarGroupEntry entry;
    EXPECT_EQ(FindToolbarGroup("作図", &entry), 1);
    EXPECT_EQ(entry.mediumId, 276);
    EXPECT_EQ(FindToolbarGroup("作図 ", &entry), 0);
}

TEST_F(ToolbarSettingsTest, IniKeysBecomeTheLayout)
{
    CatalogueKeys();
    g_ini["TOOLBAR/TB01"] = "0,ファイル";
    g_ini["TOOLBAR/SizeMode"] = "2";
    ToolBarSettings settings;
    ASSERT_EQ(settings.Load(nullptr), 1);
    ASSERT_EQ(settings.entries.size(), 10u);
    EXPECT_EQ(settings.sizeMode, 2);
    EXPECT_EQ(settings.IsEntryVisible("ファイル"), 0);
    EXPECT_EQ(settings.IsEntryVisible("設定"), 1);
    EXPECT_EQ(settings.IsEntryVisible("no such group"), 1);
    EXPECT_EQ(g_created, 0) << "no windows without a parent";
}

TEST_F(ToolbarSettingsTest, DamagedKeysGiveTheCatalogueLayout)
{
    const char* damage[][2] = {
        {"TOOLBAR/TB05", nullptr},           // missing
        {"TOOLBAR/TB05", "1"},               // one field
        {"TOOLBAR/TB05", "1,計測,x"},        // three fields
        {"TOOLBAR/TB05", "1,Unknown"},       // not a group of the catalogue
    };
    for (const auto& d : damage) {
        CatalogueKeys();
        g_ini["TOOLBAR/TB01"] = "0,寸法";
        g_ini["TOOLBAR/TB10"] = "1,ファイル";
        if (d[1] == nullptr) g_ini.erase(d[0]);
        else g_ini[d[0]] = d[1];
        ToolBarSettings settings;
        ASSERT_EQ(settings.Load(nullptr), 1);
        ASSERT_EQ(settings.entries.size(), 10u);
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(settings.entries[i].name, ToolbarGroups()[i].name) << d[0];
            EXPECT_EQ(settings.entries[i].visible, 1);
        }
    }
}

TEST_F(ToolbarSettingsTest, AGroupNamedTwiceIsShownTwice)
{
    CatalogueKeys();
    g_ini["TOOLBAR/TB03"] = "1,ファイル";
    ToolBarSettings settings;
    settings.Load(nullptr);
    ASSERT_EQ(settings.entries.size(), 10u);
    EXPECT_EQ(settings.entries[0].name, "ファイル");
    EXPECT_EQ(settings.entries[2].name, "ファイル");
    EXPECT_EQ(settings.FindEntry("ウィンドウ", nullptr), 0);
}

TEST_F(ToolbarSettingsTest, SaveWritesTheLayoutBack)
{
    ToolBarSettings settings;
    settings.Load(nullptr);
    settings.entries[1].visible = 0;
    settings.sizeMode = 0;
    ASSERT_EQ(settings.Save(), 1);
    EXPECT_EQ(g_ini["TOOLBAR/SizeMode"], "0");
    EXPECT_EQ(g_ini["TOOLBAR/TB01"], "1,ファイル");
    EXPECT_EQ(g_ini["TOOLBAR/TB02"], "0,設定");
    EXPECT_EQ(g_ini["TOOLBAR/TB10"], "1,寸法");
}

TEST_F(ToolbarSettingsTest, SizeModesPickTheResources)
{
    const struct {
        const char* mode;
        UINT firstResource;
        int created;
    } cases[] = {{"0", 259, 10}, {"1", 269, 10}, {"2", 279, 10}, {"5", 259, 10}, {"-1", 0, 0}};
    for (const auto& c : cases) {
        g_ini["TOOLBAR/SizeMode"] = c.mode;
        static UINT s_first;
        s_first = 0;
        g_created = 0;
        ToolBarSettings::s_createToolBar = [](HWND parent, UINT id, DWORD style, UINT control) {
            if (s_first == 0) s_first = id;
            return CreateFakeToolBar(parent, id, style, control);
        };
        HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
        ToolBarSettings settings;
        EXPECT_EQ(settings.Load(parent), 1);
        EXPECT_EQ(s_first, c.firstResource) << c.mode;
        EXPECT_EQ(g_created, c.created) << c.mode;
        DestroyWindow(parent);
    }
}

TEST_F(ToolbarSettingsTest, ButtonsMapToCommandsOnlyOnceTheSetExists)
{
    CMainToolBars notCreated;
    WPARAM w = 45500;
    LPARAM l = 1234;
    BOOL handled = FALSE;
    int button = 0;
    EXPECT_EQ(notCreated.MapButtonToCommand(&w, &l, &handled, &button), 0);

    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr, nullptr, nullptr);
    CMainToolBars toolBars;
    ASSERT_EQ(toolBars.Create(parent, nullptr), 1);
    const struct {
        WPARAM in;
        int result;
        WPARAM out;
    } cases[] = {
        {45500, 1, 6000}, {MAKEWPARAM(45102, 0), 1, 4012}, {45999, 0, 0}, {1234, 1, 1234}, {MAKEWPARAM(1234, 1), 1, MAKEWPARAM(1234, 1)},
    };
    for (const auto& c : cases) {
        w = c.in;
        l = 99;
        EXPECT_EQ(toolBars.MapButtonToCommand(&w, &l, &handled, &button), c.result) << c.in;
        EXPECT_EQ(w, c.out) << c.in;
        if (c.result == 1 && LOWORD(c.in) >= 45100) EXPECT_EQ(l, 0);
    }
    DestroyWindow(parent);
}

TEST_F(ToolbarSettingsTest, RebuildReplacesTheToolbarsAndKeepsPressedButtonsDown)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr, nullptr, nullptr);
    CMainToolBars toolBars;
    ASSERT_EQ(toolBars.Create(parent, nullptr), 1);
    EXPECT_EQ(SendMessageA(toolBars.Rebar(), RB_GETBANDCOUNT, 0, 0), 10);
    HWND oldDrawBar = toolBars.GetToolbarWindow(7);
    ASSERT_NE(oldDrawBar, nullptr);
    EXPECT_EQ(toolBars.CheckCommandButton(6000, 1), 1);
    EXPECT_TRUE(SendMessageA(oldDrawBar, TB_ISBUTTONCHECKED, 45500, 0));

    std::set<HWND> oldWindows;
    for (int i = 0; i < 10; ++i) oldWindows.insert(toolBars.GetToolbarWindow(i));
    toolBars.Rebuild(parent);
    for (HWND old : oldWindows) EXPECT_FALSE(IsWindow(old)) << "the old toolbars are destroyed";
    EXPECT_EQ(SendMessageA(toolBars.Rebar(), RB_GETBANDCOUNT, 0, 0), 10);
    HWND newDrawBar = toolBars.GetToolbarWindow(7);
    ASSERT_NE(newDrawBar, nullptr);
    EXPECT_TRUE(SendMessageA(newDrawBar, TB_ISBUTTONCHECKED, 45500, 0));
    EXPECT_EQ(toolBars.CheckCommandButton(6000, 0), 1);
    EXPECT_FALSE(SendMessageA(newDrawBar, TB_ISBUTTONCHECKED, 45500, 0));
    EXPECT_EQ(toolBars.GetToolbarWindow(10), nullptr);
    EXPECT_EQ(toolBars.GetToolbarWindow(-1), nullptr);
    DestroyWindow(parent);
}

TEST_F(ToolbarSettingsTest, AHiddenGroupHidesItsBand)
{
    CatalogueKeys();
    g_ini["TOOLBAR/TB01"] = "0,ファイル";
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr, nullptr, nullptr);
    HWND commandBar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 100, 20, parent, nullptr, nullptr, nullptr);
    CMainToolBars toolBars;
    ASSERT_EQ(toolBars.Create(parent, commandBar), 1);
    ASSERT_EQ(SendMessageA(toolBars.Rebar(), RB_GETBANDCOUNT, 0, 0), 11);
    for (int band = 0; band < 11; ++band) {
        REBARBANDINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = RBBIM_STYLE | RBBIM_ID;
        ASSERT_TRUE(SendMessageA(toolBars.Rebar(), RB_GETBANDINFOA, band, reinterpret_cast<LPARAM>(&info)));
        EXPECT_EQ(info.wID, 0xEB00u + band);
        EXPECT_EQ((info.fStyle & RBBS_HIDDEN) != 0, band == 1) << band;
        EXPECT_NE(info.fStyle & RBBS_NOGRIPPER, 0u);
        // The command bar alone on the first row; the shown toolbars from the second visible band on.
        if (band == 2) EXPECT_NE(info.fStyle & RBBS_BREAK, 0u);
        if (band > 2) EXPECT_EQ(info.fStyle & RBBS_BREAK, 0u) << band;
    }
    DestroyWindow(parent);
}
