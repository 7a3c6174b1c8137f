#include "GTest.h"

#include <cmath>

#include "view/LoupeView.h"

namespace {

TEST(LoupeView, AMoveInTheLoupeGivesItsPointUntilCleared)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = LoupeViewWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "LoupeViewTest";
    RegisterClassA(&wc);
    HWND loupe = CreateWindowExA(0, "LoupeViewTest", "", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(loupe, nullptr);
    ClearOverLoupe();
    EXPECT_EQ(IsCursorOverLoupe(), 0);
    SendMessageA(loupe, WM_MOUSEMOVE, 0, MAKELPARAM(50, 25));
    EXPECT_EQ(IsCursorOverLoupe(), 1);
    double window[4];
    GetLoupeWorldWindow(window);
    double x = 0, y = 0;
    GetLoupePoint(&x, &y);
    EXPECT_DOUBLE_EQ(x, window[0] + std::abs(window[2] - window[0]) / 2);
    EXPECT_DOUBLE_EQ(y, window[1] - std::abs(window[1] - window[3]) / 2);
    ClearOverLoupe();
    EXPECT_EQ(IsCursorOverLoupe(), 0);
    // Closing only hides it.
    ShowWindow(loupe, SW_SHOWNOACTIVATE);
    SendMessageA(loupe, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(loupe));
    EXPECT_FALSE(IsWindowVisible(loupe));
    DestroyWindow(loupe);
    UnregisterClassA("LoupeViewTest", GetModuleHandleA(nullptr));
}

}  // namespace
