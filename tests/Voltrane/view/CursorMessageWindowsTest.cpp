#include "GTest.h"

#include <cstring>
#include <string>

#include "view/CursorMessageWindows.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"

namespace {

TEST(FormatGridMessageLines, RightAlignsBothNumbersToTheLonger)
{
    struct Case {
        double dx, dy;
        const char* line1;
        const char* line2;
    } cases[] = {
        {250, -20, " X:250 ", " Y:-20 "},
        {5, 12345, " X:    5 ", " Y:12345 "},
        {0.4, -0.4, " X: 0 ", " Y:-0 "},
    };
    for (const Case& c : cases) {
        std::string a, b;
        FormatGridMessageLines(c.dx, c.dy, &a, &b);
        EXPECT_EQ(a, c.line1);
        EXPECT_EQ(b, c.line2);
    }
}

TEST(SnapPointName, TableAndTipWidth)
{
    EXPECT_STREQ(SnapPointName(1), "端点");
    EXPECT_STREQ(SnapPointName(5), "中心");
    EXPECT_EQ(SnapPointName(0), nullptr);
    EXPECT_EQ(SnapPointName(6), nullptr);
    EXPECT_EQ(SnapTipWidth(20), 37);
    EXPECT_EQ(SnapTipWidth(31), 37);
    EXPECT_EQ(SnapTipWidth(32), 37);
    EXPECT_EQ(SnapTipWidth(40), 45);
}

TEST(CursorMessageCommand, TheMessageWindowShowsTheTextAndHidesAgain)
{
    char text[] = "始点を指示してください";
    HandleCursorMessageCommand(nullptr, MAKEWPARAM(8000, 1), reinterpret_cast<LPARAM>(text));
    HWND window = GetCursorMessageWindow(CCursorMsgWin::kMessage).Window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    RECT rect;
    GetWindowRect(window, &rect);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(rect.left, cursor.x + 8) << "below right of the cursor";
    EXPECT_EQ(rect.top, cursor.y + 8);
    EXPECT_FALSE(GetViewGridSnap().active);
    HandleCursorMessageCommand(nullptr, MAKEWPARAM(8000, 0), 0);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST(SnapTip, ShowsTheNameAndHidesWhenTheCursorLeaves)
{
    POINT away = {5000, 5000};
    CSnapWin& tip = GetSnapWin();
    tip.ShowSnapName(1, &away);
    ASSERT_NE(tip.Window(), nullptr);
    RECT rect;
    GetWindowRect(tip.Window(), &rect);
    EXPECT_GE(rect.right - rect.left, 37) << "never narrower than the short-name tip";
    // The cursor is far from the anchor: the next tick hides the tip.
    SendMessageA(tip.Window(), WM_TIMER, 10, 0);
    EXPECT_EQ(tip.Window(), nullptr);
    tip.ShowSnapName(2, &away);
    tip.ShowSnapName(0, nullptr);
    EXPECT_EQ(tip.Window(), nullptr) << "index 0 hides";
}

}  // namespace
