// UI update: states by id, and their application to a menu that opens.
#include "GTest.h"

#include "WinKit/UpdateUI.h"

using WinKit::CUpdateUIBase;

TEST(UpdateUI, StatesChangeOnlyForDeclaredIds)
{
    CUpdateUIBase ui;
    ui.UIAddElement(10, CUpdateUIBase::UPDUI_MENUPOPUP);
    EXPECT_EQ(ui.UIGetState(10), CUpdateUIBase::UPDUI_ENABLED);
    EXPECT_TRUE(ui.UIEnable(10, FALSE));
    EXPECT_TRUE(ui.UISetCheck(10, 1));
    EXPECT_EQ(ui.UIGetState(10), CUpdateUIBase::UPDUI_DISABLED | CUpdateUIBase::UPDUI_CHECKED);
    EXPECT_TRUE(ui.UISetCheck(10, 2));
    EXPECT_EQ(ui.UIGetState(10), CUpdateUIBase::UPDUI_DISABLED | CUpdateUIBase::UPDUI_CHECKED2);
    EXPECT_TRUE(ui.UIEnable(10, TRUE));
    EXPECT_TRUE(ui.UISetCheck(10, 0));
    EXPECT_EQ(ui.UIGetState(10), CUpdateUIBase::UPDUI_ENABLED);
    EXPECT_FALSE(ui.UIEnable(11, FALSE));
    EXPECT_FALSE(ui.UISetText(11, "x"));
}

TEST(UpdateUI, OpeningMenuTakesTheStates)
{
    CUpdateUIBase ui;
    ui.UIAddElement(20, CUpdateUIBase::UPDUI_MENUPOPUP);
    ui.UIAddElement(21, CUpdateUIBase::UPDUI_MENUPOPUP);
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 20, "twenty");
    AppendMenuA(menu, MF_STRING, 21, "twenty-one");
    AppendMenuA(menu, MF_STRING, 22, "undeclared");
    ui.UIEnable(20, FALSE);
    ui.UISetCheck(21, 1);
    ui.UISetText(21, "renamed");

    LRESULT result = 0;
    // The map lets WM_INITMENUPOPUP go on to others after updating.
    EXPECT_FALSE(ui.ProcessWindowMessage(nullptr, WM_INITMENUPOPUP,
                                         reinterpret_cast<WPARAM>(menu), 0, result));
    EXPECT_TRUE(GetMenuState(menu, 20, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, 21, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(menu, 22, MF_BYCOMMAND) & (MF_GRAYED | MF_CHECKED));
    char text[32] = {};
    GetMenuStringA(menu, 21, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "renamed");
    DestroyMenu(menu);
}
