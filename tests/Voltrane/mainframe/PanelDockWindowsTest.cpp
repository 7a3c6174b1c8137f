// The pane dock windows: caption switch, state query and caption colours.
#include "GTest.h"

#include "CommandIds.h"
#include "core/LocalSettings.h"
#include "mainframe/PanelDockWindows.h"

namespace {

class PaneTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedBits = PanelCaptionSetting();
        m_frame = CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                  nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_frame, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(m_frame);
        PanelCaptionSetting() = m_savedBits;
    }

    HWND m_frame = nullptr;
    int m_savedBits = 3;
};

bool HasCaption(HWND window) { return (GetWindowLongA(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION; }

}  // namespace

TEST_F(PaneTest, CaptionsFollowTheirBitsAndTheSwitchTogglesThem)
{
    PanelCaptionSetting() = 3;
    CDrwPanelDockWin tool;
    CAppPanelDockWin app;
    CCmdPanelDockWin first;
    CCmdPanelDockWin second;
    second.SetCaptionBit(8);
    ASSERT_NE(tool.CreatePane(m_frame, "基本操作", 200, 280), nullptr);
    ASSERT_NE(app.CreatePane(m_frame, "作図メニュー", 200, 60), nullptr);
    ASSERT_NE(first.CreatePane(m_frame, "コマンドメニュー", 90, 60), nullptr);
    ASSERT_NE(second.CreatePane(m_frame, "コマンドメニュー２", 90, 60), nullptr);
    EXPECT_TRUE(HasCaption(tool.m_hWnd));
    EXPECT_TRUE(HasCaption(app.m_hWnd));
    EXPECT_FALSE(HasCaption(first.m_hWnd));
    EXPECT_FALSE(HasCaption(second.m_hWnd));
    EXPECT_EQ(GetDlgCtrlID(tool.Panel()), 200);
    EXPECT_EQ(GetDlgCtrlID(first.Panel()), 0);

    EXPECT_EQ(SendMessageA(tool.m_hWnd, WM_COMMAND, kPaneQueryState, 0), -1) << "created hidden until docked";
    tool.ShowWindow(SW_SHOWNA);
    first.ShowWindow(SW_SHOWNA);
    EXPECT_EQ(GetWindowLongA(tool.m_hWnd, GWL_STYLE) & ~WS_VISIBLE & ~WS_CAPTION, CPanelDockWindow::kStyle & ~WS_CAPTION);
    EXPECT_EQ(GetWindowLongA(tool.m_hWnd, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(SendMessageA(tool.m_hWnd, WM_COMMAND, kPaneQueryState, 0), 1);
    EXPECT_EQ(SendMessageA(first.m_hWnd, WM_COMMAND, kPaneQueryState, 0), 2);
    EXPECT_EQ(SendMessageA(second.m_hWnd, WM_COMMAND, kPaneToggleCaption, 0), 1);
    EXPECT_TRUE(HasCaption(second.m_hWnd));
    EXPECT_EQ(PanelCaptionSetting(), 3 | 8);
    EXPECT_FALSE(HasCaption(first.m_hWnd)) << "the other command panel keeps its own bit";

    tool.ShowWindow(SW_HIDE);
    EXPECT_EQ(SendMessageA(tool.m_hWnd, WM_COMMAND, kPaneQueryState, 0), -1);
    EXPECT_EQ(SendMessageA(tool.m_hWnd, WM_COMMAND, 2000, 0), 0);
}

TEST(PaneCaptionColors, ByTitle)
{
    const struct {
        int mode;
        int flags;
        const char* title;
        int result;
        COLORREF background;
    } cases[] = {
        {0, 0, "基本操作", 1, 0x808000},
        {1, 0, "作図メニュー", 1, 0xFF8000},
        {0, 0, "コマンドメニュー", 1, 0x00C8FF},
        {0, 0, "コマンドメニュー２", 1, 0x0080FF},
        {1, 1, "コマンドメニュー", 1, 0x00C8FF},
        {1, 0, "コマンドメニュー", 0, 0},
        {1, 2, "コマンドメニュー２", 0, 0},
        {1, 6, "コマンドメニュー２", 0, 0},
        {0, 0, "他のパネル", 0, 0},
    };
    for (const auto& c : cases) {
        COLORREF background = 0x123456, text = 0x123456;
        EXPECT_EQ(GetPanelCaptionColors(c.mode, c.flags, c.title, &background, &text), c.result) << c.title << c.mode << c.flags;
        if (c.result) {
            EXPECT_EQ(background, c.background) << c.title;
            EXPECT_EQ(text, 0xFFFFFFu);
        } else {
            EXPECT_EQ(background, 0x123456u);
        }
    }
}
