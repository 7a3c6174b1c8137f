// The menu bar built from the menu file: one button per top-level popup, opened by mnemonic.
#include "GTest.h"

#include <commctrl.h>

#include "WinKit/CommandBar.h"
#include "mainframe/MainMenu.h"

TEST(CommandBar, ShowsTheTopLevelPopupsAndFindsMnemonics)
{
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    CMainMenu menu;
    ASSERT_EQ(menu.LoadFromText("POPUP \"ファイル(&F)\"\r\nBEGIN\r\nMENUITEM \"x\",4000,-1\r\nEND\r\n"
                                "POPUP \"表示(&v)\"\r\nBEGIN\r\nEND\r\n"
                                "POPUP \"ｳｨﾝﾄﾞｳ(&W)\"\r\nBEGIN\r\nEND\r\n"
                                "POPUP \"A&&B\"\r\nBEGIN\r\nEND\r\n"),
              0);
    WinKit::CCommandBarCtrl bar;
    ASSERT_NE(bar.CreateBar(frame, frame), nullptr);
    ASSERT_TRUE(bar.AttachMenu(menu.Menu()));
    EXPECT_EQ(SendMessageA(bar.m_hWnd, TB_BUTTONCOUNT, 0, 0), 4);
    EXPECT_EQ(bar.FindMnemonic('f'), 0);
    EXPECT_EQ(bar.FindMnemonic('V'), 1);
    EXPECT_EQ(bar.FindMnemonic('w'), 2);
    EXPECT_EQ(bar.FindMnemonic('&'), -1) << "a doubled ampersand is no mnemonic";
    EXPECT_EQ(bar.FindMnemonic('B'), -1);
    EXPECT_EQ(bar.FindMnemonic('x'), -1);
    EXPECT_EQ(bar.DetachMenu(), menu.Menu());
    EXPECT_EQ(SendMessageA(bar.m_hWnd, TB_BUTTONCOUNT, 0, 0), 0);
    EXPECT_TRUE(IsMenu(menu.Menu())) << "the bar does not own the menu";
    DestroyWindow(frame);
}
