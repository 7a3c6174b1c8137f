#include "GTest.h"

#include <vector>

#include "panels/PanelCheckButton.h"

namespace {

// A parent that records the commands and hover notices of its button.
class ButtonParent : public WinKit::CWindowImpl<ButtonParent> {
public:
    WK_DECLARE_WND_CLASS("PanelCheckButtonTestParent")
    std::vector<WPARAM> commands;
    std::vector<LPARAM> notices;

    WK_BEGIN_MSG_MAP(ButtonParent)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_USER + 39, OnNotice)
    WK_END_MSG_MAP()

private:
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL&)
    {
        commands.push_back(wParam);
        return 0;
    }
    LRESULT OnNotice(UINT, WPARAM, LPARAM lParam, BOOL&)
    {
        notices.push_back(lParam);
        return 0;
    }
};

class PanelCheckButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RECT rc = {0, 0, 300, 200};
        ASSERT_NE(parent.Create(nullptr, &rc, "parent", WS_POPUP), nullptr);
        RECT b = {10, 10, 104, 33};
        ASSERT_NE(button.Create(parent.m_hWnd, &b, "端点検出", WS_CHILD | WS_VISIBLE, 0,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(3410))),
                  nullptr);
    }
    void TearDown() override
    {
        if (parent.m_hWnd) DestroyWindow(parent.m_hWnd);
    }
    LRESULT Send(UINT message, int x, int y) { return SendMessageA(button.m_hWnd, message, 0, MAKELPARAM(x, y)); }
    LONG Press() { return GetWindowLongA(button.m_hWnd, kPanelButtonPress); }

    ButtonParent parent;
    CPanelCheckButton button;
};

TEST_F(PanelCheckButtonTest, PressReleaseInsideClicks)
{
    Send(WM_LBUTTONDOWN, 5, 5);
    EXPECT_EQ(Press(), 1);
    Send(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(Press(), 0);
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0], static_cast<WPARAM>(3410));
    EXPECT_EQ(GetWindowLongA(button.m_hWnd, kPanelButtonChecked), 0) << "the parent decides the check";
}

TEST_F(PanelCheckButtonTest, LeavingBeforeTheReleaseSendsNoClickAndReturningDoes)
{
    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_MOUSEMOVE, 200, 5);
    EXPECT_EQ(Press(), 2);
    Send(WM_LBUTTONUP, 200, 5);
    EXPECT_TRUE(parent.commands.empty());

    Send(WM_LBUTTONDOWN, 5, 5);
    Send(WM_MOUSEMOVE, 200, 5);
    Send(WM_MOUSEMOVE, 6, 6);
    EXPECT_EQ(Press(), 1);
    Send(WM_LBUTTONUP, 6, 6);
    EXPECT_EQ(parent.commands.size(), 1u);
}

TEST_F(PanelCheckButtonTest, SpaceBarClicksAndHoverIsNotified)
{
    SendMessageA(button.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(Press(), 1);
    SendMessageA(button.m_hWnd, WM_KEYUP, 'A', 0);
    EXPECT_EQ(parent.commands.size(), 1u);

    Send(WM_MOUSEMOVE, 5, 5);
    EXPECT_EQ(GetCapture(), button.m_hWnd);
    Send(WM_MOUSEMOVE, 200, 5);
    EXPECT_NE(GetCapture(), button.m_hWnd);
    EXPECT_EQ(parent.notices, (std::vector<LPARAM>{0, 1}));
}

TEST_F(PanelCheckButtonTest, ALockedButtonTakesNoKeyAndNoRelease)
{
    EXPECT_EQ(button.SetLocked(1), 0);
    EXPECT_EQ(button.SetLocked(1), 1);
    SendMessageA(button.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(Press(), 0);
    SetWindowLongA(button.m_hWnd, kPanelButtonPress, 1);
    Send(WM_LBUTTONUP, 5, 5);
    SendMessageA(button.m_hWnd, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(parent.commands.empty());
}

}  // namespace
