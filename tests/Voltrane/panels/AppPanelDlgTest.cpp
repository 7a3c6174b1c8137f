// The floating panel's dialog: made from its template as a bare child, and the limits a drag
// keeps inside the main frame.
#include "GTest.h"

#include "panels/AppPanelDlg.h"

namespace {

TEST(AppPanelDlg, ADragStaysInsideTheFrameWithFivePixelsToSpareSideways)
{
    const RECT frame = {100, 100, 900, 700};
    const struct {
        const char* name;
        RECT moved;
        int allowed;
    } cases[] = {
        {"inside", {200, 200, 413, 307}, 1},
        {"3 past the right edge", {690, 200, 903, 307}, 1},
        {"5 past the right edge", {692, 200, 905, 307}, 1},
        {"6 past the right edge", {693, 200, 906, 307}, 0},
        {"5 before the left edge", {95, 200, 308, 307}, 1},
        {"6 before the left edge", {94, 200, 307, 307}, 0},
        {"on the top edge", {200, 100, 413, 207}, 1},
        {"above the top", {200, 99, 413, 206}, 0},
        {"on the bottom edge", {200, 593, 413, 700}, 1},
        {"below the bottom", {200, 594, 413, 701}, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CAppPanelDlg::DragRectAllowed(c.moved, frame), c.allowed) << c.name;
}

TEST(AppPanelDlg, TheTemplateMakesABareChildThatEnterAndEscDoNotClose)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    CAppPanelDlg dialog;
    HWND window = dialog.Create(parent);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), parent);
    EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr) << "the items are added by the show";
    for (WPARAM command : {static_cast<WPARAM>(IDOK), static_cast<WPARAM>(IDCANCEL)}) {
        SendMessageA(window, WM_COMMAND, command, 0);
        EXPECT_TRUE(IsWindow(window)) << command;
    }
    DestroyWindow(window);
    DestroyWindow(parent);
}

}  // namespace
