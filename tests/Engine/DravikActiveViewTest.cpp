// The host library's calls that read the program's active drawing view: they ask the main
// window with WM_CAD_ACTIVE_VIEW and read the view's drawing block from window long 0.
#include "GTest.h"

#include <cstring>

#include "DrawingWindowRecords.h"
#include "Dravik.h"
#include "EngineRecords.h"
#include "HostMessages.h"

namespace {

HWND g_answeredView = nullptr;

LRESULT CALLBACK MainProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_CAD_ACTIVE_VIEW) return reinterpret_cast<LRESULT>(g_answeredView);
    return DefWindowProcA(w, m, wp, lp);
}

class DravikActiveView : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = MainProc;
        wc.cbWndExtra = 8;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DravikActiveViewTest";
        RegisterClassA(&wc);
        main = CreateWindowA("DravikActiveViewTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        view = CreateWindowA("DravikActiveViewTest", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        std::memset(&block, 0, sizeof block);
        std::memset(&record, 0, sizeof record);
        record.pageState.currentPage = 3;
        block.engineDb = &record;
        block.viewMode = 1;
        SetWindowLongPtrA(view, 0, reinterpret_cast<LONG_PTR>(&block));
        Dader_InitCadApi(main);
    }
    void TearDown() override
    {
        Dader_InitCadApi(nullptr);
        g_answeredView = nullptr;
        DestroyWindow(view);
        DestroyWindow(main);
    }

    HWND main = nullptr, view = nullptr;
    PDBINFO block;
    EngineDbRecord record;
};

TEST_F(DravikActiveView, CallsReadTheActiveViewsBlock)
{
    g_answeredView = view;
    EXPECT_EQ(VyGetActiveCadWnd(), view);
    EXPECT_EQ(VyGET_NOWDB(), &record);
    EXPECT_EQ(VyGetCurrentPage(), 3);
    EXPECT_EQ(VyGetSpace(), 1);
}

TEST_F(DravikActiveView, NoViewOrAClosingViewGivesNothing)
{
    EXPECT_EQ(VyGetActiveCadWnd(), nullptr);
    EXPECT_EQ(VyGET_NOWDB(), nullptr);
    EXPECT_EQ(VyGetCurrentPage(), 0);
    g_answeredView = view;
    SetWindowLongPtrA(view, 0, 0);  // a closing view
    EXPECT_EQ(VyGET_NOWDB(), nullptr);
    EXPECT_EQ(VyGetSpace(), 0);
    g_answeredView = reinterpret_cast<HWND>(0x1234);  // no window at all
    EXPECT_EQ(VyGetActiveCadWnd(), nullptr);
}

}  // namespace
