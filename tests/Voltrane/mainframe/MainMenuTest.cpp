// Building the main menu from "RovOdidov.mnu".
#include "GTest.h"

#include <string>

#include "TempFolder.h"
#include "mainframe/DefinitionLines.h"
#include "mainframe/MainMenu.h"

namespace {

std::string Caption(HMENU menu, int position)
{
    char text[256] = {};
    GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

UINT State(HMENU menu, int position) { return GetMenuState(menu, position, MF_BYPOSITION); }

// Commands 6000 and 6001 have their library installed, every other plug-in command not.
int PresentFor6000s(int id) { return id == 6000 || id == 6001; }

class MainMenuFile : public testing::Test {
protected:
    void SetUp() override { CMainMenu::s_isCommandModulePresent = PresentFor6000s; }
    void TearDown() override { CMainMenu::s_isCommandModulePresent = nullptr; }
};

}  // namespace

TEST_F(MainMenuFile, LinesBecomeTheMenuTree)
{
    CMainMenu menu;
    ASSERT_EQ(menu.LoadFromText("; file menu\r\n"
                                "POPUP \"ファイル(&F)\"\r\n"
                                "BEGIN\r\n"
                                "    MENUITEM \"新規作成(&N)\",4000,-1\r\n"
                                "    MENUITEM SEPARATOR\r\n"
                                "    POPUP \"最近(&R)\"\r\n"
                                "    BEGIN\r\n"
                                "        MENUITEM \"線分\",6000\r\n"
                                "    END\r\n"
                                "    MENUITEM \"終了(&X)\",99999\r\n"
                                "END\r\n"
                                "POPUP \"作図(&D)\"\r\n"
                                "BEGIN\r\n"
                                "    MENUITEM \"円\",6020\r\n"
                                "    MENUITEM \"円\",6020,-1\r\n"
                                "    MENUITEM \"基準線\",6001\r\n"
                                "END\r\n"),
              0);
    HMENU bar = menu.Menu();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(Caption(bar, 0), "ファイル(&F)");
    EXPECT_EQ(Caption(bar, 1), "作図(&D)");

    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(GetMenuItemID(file, 0), 4000u);
    EXPECT_EQ(State(file, 0) & MF_GRAYED, 0u);
    EXPECT_NE(State(file, 1) & MF_SEPARATOR, 0u);
    HMENU recent = GetSubMenu(file, 2);
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(Caption(file, 2), "最近(&R)");
    EXPECT_EQ(GetMenuItemID(recent, 0), 6000u);
    EXPECT_NE(State(file, 3) & MF_GRAYED, 0u);

    HMENU draw = GetSubMenu(bar, 1);
    ASSERT_EQ(GetMenuItemCount(draw), 3);
    EXPECT_NE(State(draw, 0) & MF_GRAYED, 0u) << "library not installed";
    EXPECT_EQ(State(draw, 1) & MF_GRAYED, 0u) << "flag -1 skips the library test";
    EXPECT_EQ(State(draw, 2) & MF_GRAYED, 0u);
}

TEST_F(MainMenuFile, KeywordsInsideTheLineAndDamagedStructure)
{
    CMainMenu menu;
    ASSERT_EQ(menu.LoadFromText("BEGIN\r\n"                                // no POPUP: skipped
                                "MENUITEM \"not in a popup\",1200,-1\r\n"  // top level item
                                "HELLO world\r\n"                          // unknown word: skipped
                                "POPUP \"A\"\r\n"
                                "BEGIN\r\n"
                                "MENUITEM \"xMENUITEMy\",1201,-1\r\n"
                                "MENUITEM \"NOSEPARATORS\",1202,-1\r\n"
                                "MENUITEM \"no id\"\r\n"
                                "MENUITEM \"bad id\",abc,-1\r\n"),  // no END: the file ends the level
              0);
    HMENU bar = menu.Menu();
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetMenuItemID(bar, 0), 1200u);
    HMENU popup = GetSubMenu(bar, 1);
    ASSERT_EQ(GetMenuItemCount(popup), 4);
    EXPECT_EQ(Caption(popup, 0), "xy");
    EXPECT_NE(State(popup, 1) & MF_SEPARATOR, 0u);
    EXPECT_EQ(GetMenuItemID(popup, 2), 0u);
    EXPECT_EQ(GetMenuItemID(popup, 3), 0u);
}

TEST_F(MainMenuFile, TheWindowMenuIsFoundByItsCaption)
{
    CMainMenu menu;
    std::string text;
    for (const char* caption : {"ファイル(&F)", "編集(&E)", "表示(&V)", "作図(&D)", "ｳｨﾝﾄﾞｳ(&W)", "ヘルプ(&H)"})
        text += std::string("POPUP \"") + caption + "\"\r\nBEGIN\r\nMENUITEM \"x\",1200,-1\r\nEND\r\n";
    ASSERT_EQ(menu.LoadFromText(text), 0);
    EXPECT_EQ(menu.WindowMenuPosition(), 2);
    EXPECT_EQ(menu.WindowMenuCaption(), "ｳｨﾝﾄﾞｳ(&W)");
    HMENU windowMenu = GetSubMenu(menu.Menu(), 4);
    EXPECT_EQ(GetWindowMenu(menu.Menu(), 2, "ｳｨﾝﾄﾞｳ(&W)"), windowMenu);
    EXPECT_EQ(GetWindowMenu(menu.Menu(), 2, ""), windowMenu);
    EXPECT_EQ(GetWindowMenu(menu.Menu(), 0, nullptr), windowMenu) << "out of range counts as 2";
    EXPECT_EQ(GetWindowMenu(menu.Menu(), 7, nullptr), windowMenu);
    EXPECT_EQ(GetWindowMenu(menu.Menu(), 1, nullptr), nullptr);
    EXPECT_EQ(GetWindowMenu(menu.Menu(), 2, "ウィンドウ(&W)"), nullptr);
    EXPECT_EQ(GetWindowMenu(nullptr, 2, nullptr), nullptr);
}

TEST_F(MainMenuFile, WithoutAWindowMenuThePositionStaysEleven)
{
    CMainMenu menu;
    ASSERT_EQ(menu.LoadFromText("POPUP \"A\"\r\nBEGIN\r\nEND\r\n"), 0);
    EXPECT_EQ(menu.WindowMenuPosition(), 11);
    EXPECT_EQ(menu.WindowMenuCaption(), "");
}

TEST_F(MainMenuFile, LoadingTwiceKeepsTheFirstMenuAndAMissingFileGivesNone)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("a.mnu", "POPUP \"A\"\r\nBEGIN\r\nEND\r\n"));
    CMainMenu menu;
    EXPECT_EQ(menu.LoadFromPath(folder.File("missing.mnu").c_str()), -1);
    EXPECT_EQ(menu.Menu(), nullptr);
    ASSERT_EQ(menu.LoadFromPath(folder.File("a.mnu").c_str()), 0);
    HMENU first = menu.Menu();
    EXPECT_EQ(menu.LoadFromPath(folder.File("a.mnu").c_str()), 1);
    EXPECT_EQ(menu.Menu(), first);
}

TEST_F(MainMenuFile, TheInstalledMenuFileHasTheProgramsMenus)
{
    CMainMenu::s_isCommandModulePresent = nullptr;
    CMainMenu menu;
    ASSERT_EQ(menu.LoadFromPath((ProgramFolder() + "RovOdidov.mnu").c_str()), 0);
    int count = GetMenuItemCount(menu.Menu());
    ASSERT_GE(count, 6);
    EXPECT_EQ(Caption(menu.Menu(), 0), "ファイル(&F)");
    EXPECT_EQ(menu.WindowMenuPosition(), 2);
    EXPECT_NE(GetWindowMenu(menu.Menu(), menu.WindowMenuPosition(), menu.WindowMenuCaption().c_str()), nullptr);
    // Every item of every popup has a command id or is a separator or a popup.
    for (int i = 0; i < count; ++i) {
        HMENU popup = GetSubMenu(menu.Menu(), i);
        ASSERT_NE(popup, nullptr);
        for (int j = 0; j < GetMenuItemCount(popup); ++j) {
            if (State(popup, j) & MF_SEPARATOR) continue;
            EXPECT_NE(GetMenuItemID(popup, j), 0u) << Caption(menu.Menu(), i) << " item " << j;
        }
    }
}

TEST_F(MainMenuFile, ItemStatesWithoutADrawing)
{
    CMainMenu menu;
    ASSERT_EQ(menu.LoadFromText("POPUP \"A\"\r\nBEGIN\r\n"
                                "MENUITEM \"u\",1209,-1\r\nMENUITEM \"r\",1208,-1\r\nMENUITEM \"m\",1311,-1\r\n"
                                "MENUITEM \"h\",1212,-1\r\nMENUITEM \"l\",1330,-1\r\nEND\r\n"),
              0);
    HMENU popup = GetSubMenu(menu.Menu(), 0);
    CheckMenuItem(popup, 1330, MF_BYCOMMAND | MF_CHECKED);
    EnableMenuItem(popup, 1212, MF_BYCOMMAND | MF_GRAYED);
    EXPECT_EQ(menu.UpdateItemStates(nullptr), 0);
    EXPECT_NE(GetMenuState(popup, 1209, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(GetMenuState(popup, 1208, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_NE(GetMenuState(popup, 1311, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuState(popup, 1212, MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_EQ(GetMenuState(popup, 1330, MF_BYCOMMAND) & MF_CHECKED, 0u);
}

TEST_F(MainMenuFile, AHostileNestingDepthIsCutAndTheRestStillRead)
{
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "POPUP \"p\"\r\nBEGIN\r\n";
    for (int i = 0; i < 20000; ++i) text += "END\r\n";
    text += "POPUP \"after\"\r\nBEGIN\r\nEND\r\n";
    CMainMenu menu;
    ASSERT_EQ(menu.LoadFromText(text), 0);
    ASSERT_EQ(GetMenuItemCount(menu.Menu()), 2) << "the lines after the deep block are read again";
    EXPECT_EQ(Caption(menu.Menu(), 1), "after");
    int depth = 0;
    for (HMENU level = menu.Menu(); level != nullptr && GetMenuItemCount(level) > 0; level = GetSubMenu(level, 0)) ++depth;
    EXPECT_EQ(depth, kMaxMenuDepth);
}
