// The edge buttons of a drawing window: a class of their own over the system button, painting
// themselves, sending their command once on a release over the pressed button, with a tool tip
// for the zoom buttons' texts.
#include "GTest.h"

#include <commctrl.h>

#include <vector>

#include "view/RiririScrollButton.h"

namespace {

std::vector<WPARAM> g_commands;

LRESULT CALLBACK ParentProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND) g_commands.push_back(wParam);
    return DefWindowProcA(window, msg, wParam, lParam);
}

class ScrollButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The tool tips' class comes with the common controls.
        LoadLibraryA("comctl32.dll");
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ScrollButtonTestParent";
        RegisterClassA(&wc);
        parent = CreateWindowA("ScrollButtonTestParent", "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                               wc.hInstance, nullptr);
        ASSERT_NE(parent, nullptr);
        SetWindowPos(parent, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        g_commands.clear();
    }
    void TearDown() override
    {
        if (parent) DestroyWindow(parent);
    }
    HWND Make(CRiririScrollButton& button, int id, CRiririScrollButton::Kind kind, const char* text)
    {
        HWND window = button.CreateButton(parent, id, kind, text,
                                          CRiririScrollButton::kHover | CRiririScrollButton::kEdge3d,
                                          RGB(255, 0, 0), RGB(0, 0, 255));
        if (window != nullptr) {
            SetWindowPos(window, nullptr, 10, 10, 60, 40, SWP_NOZORDER | SWP_SHOWWINDOW);
            UpdateWindow(window);
        }
        return window;
    }
    void PointAt(HWND window, int x, int y)
    {
        POINT p = {x, y};
        ClientToScreen(window, &p);
        SetCursorPos(p.x, p.y);
    }

    HWND parent = nullptr;
};

TEST_F(ScrollButtonTest, ClassExtendsTheSystemButtonAndIsDrawnByItsOwner)
{
    CRiririScrollButton button;
    HWND window = Make(button, 1004, CRiririScrollButton::kText, "拡大");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(button.m_hWnd, window) << "the object receives the button's messages";
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ(name, "RiririScrollButton");
    WNDCLASSA base = {}, own = {};
    ASSERT_TRUE(GetClassInfoA(nullptr, "BUTTON", &base));
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(nullptr), "RiririScrollButton", &own));
    EXPECT_EQ(own.cbWndExtra, base.cbWndExtra) << "the system button keeps its state in the window words";
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(GetDlgCtrlID(window), 1004);
}

TEST_F(ScrollButtonTest, ReleaseOverThePressedButtonSendsItsCommandOnce)
{
    CRiririScrollButton button;
    HWND window = Make(button, 1000, CRiririScrollButton::kUp, nullptr);
    ASSERT_NE(window, nullptr);
    PointAt(window, 30, 20);
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
    EXPECT_EQ(GetCapture(), window);
    EXPECT_TRUE(g_commands.empty()) << "the press alone sends nothing";
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 20));
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(LOWORD(g_commands[0]), 1000);
    EXPECT_NE(GetCapture(), window);

    // Released away from the button: no command.
    g_commands.clear();
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 20));
    PointAt(parent, 150, 80);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(140, 70));
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(140, 70));
    EXPECT_TRUE(g_commands.empty());
}

TEST_F(ScrollButtonTest, PrintClientDrawsTheTriangleInTheTextColourOnTheBackground)
{
    CRiririScrollButton button;
    HWND window = Make(button, 1000, CRiririScrollButton::kUp, nullptr);
    ASSERT_NE(window, nullptr);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 60, 40);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    EXPECT_EQ(GetPixel(dc, 30, 21), RGB(255, 0, 0)) << "inside the triangle about the centre";
    EXPECT_EQ(GetPixel(dc, 8, 20), RGB(0, 0, 255)) << "the background beside it";
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

TEST_F(ScrollButtonTest, ToolTipNamesAZoomButtonAndGoesWithIt)
{
    CRiririScrollButton zoom, scroll;
    HWND zoomWindow = Make(zoom, 1004, CRiririScrollButton::kText, "拡大");
    ASSERT_NE(zoomWindow, nullptr);
    ASSERT_NE(Make(scroll, 1000, CRiririScrollButton::kUp, nullptr), nullptr);
    HWND tip = zoom.ToolTip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    ASSERT_NE(scroll.ToolTip(), nullptr);
    EXPECT_EQ(SendMessageA(scroll.ToolTip(), TTM_GETTOOLCOUNT, 0, 0), 0) << "a scroll button has no text to show";
    DestroyWindow(zoomWindow);
    EXPECT_FALSE(IsWindow(tip));
}

}  // namespace
