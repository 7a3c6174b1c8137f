// The point offset dialog over a real drawing window: a main frame with its MDI client and a
// drawing frame with its view and database, so the active view, its paper and its drawing's
// input scale are the program's own.
#include "GTest.h"

#include <windows.h>

#include <string>

#include "ModalScript.h"
#include "OwnWindows.h"
#include "core/LocalSettings.h"
#include "dialogs/Calculator.h"
#include "dialogs/PointInput.h"
#include "mainframe/MainFrame.h"
#include "view/InputScale.h"
#include "view/RiririFrame.h"
#include "view/ViewTable.h"

namespace {

class PointOffsetInAView : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedOnce = GetLocalSettingsLive().setup.bTmpOnece;
        GetLocalSettingsLive().setup.bTmpOnece = 0;
        ClearViewTable();
        ASSERT_NE(m_frame.CreateEx(), nullptr);
        ASSERT_NE(GetMdiClientWnd(), nullptr);
        auto* drawing = new CRiririFrame;
        RECT rect = {0, 0, 400, 300};
        ASSERT_NE(drawing->CreateEx(GetMdiClientWnd(), &rect, "図面"), nullptr);
        m_view = drawing->View();
        ASSERT_NE(m_view, nullptr);
        if (FindViewSlot(m_view) < 0) AddViewToTable(m_view);
    }
    void TearDown() override
    {
        if (m_frame.m_hWnd != nullptr) DestroyWindow(m_frame.m_hWnd);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        ClearViewTable();
        GetLocalSettingsLive().setup.bTmpOnece = m_savedOnce;
    }

    static HWND Dialog() { return FindOwnWindow("#32770", "仮点入力"); }

    CMainFrame m_frame;
    HWND m_view = nullptr;
    int m_savedOnce = 0;
};

TEST_F(PointOffsetInAView, OffsetsThePointByTheTypedValuesInDrawingUnits)
{
    ASSERT_EQ(GetActiveView(), m_view);
    const double factor = GetInputToDrawingFactor();
    ASSERT_GT(factor, 0);
    bool barsEnabled = false;
    ModalScript script({[&] {
        HWND d = Dialog();
        if (d == nullptr || !IsWindowVisible(d)) return false;
        // The view has a paper: the bars step through the typed values.
        barsEnabled = IsWindowEnabled(GetDlgItem(d, kPointScrollX)) && IsWindowEnabled(GetDlgItem(d, kPointScrollY));
        SetDlgItemTextA(d, kPointEditX, "10");
        SetDlgItemTextA(d, kPointEditY, "-4");
        SetFocus(GetDlgItem(d, kPointEditY));
        SendMessageA(d, WM_COMMAND, IDOK, 0);
        return true;
    }});
    double point[2] = {100, 200};
    EXPECT_EQ(script.Run([&] { return static_cast<INT_PTR>(InputPointOffset(point)); }), 1);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_TRUE(barsEnabled);
    EXPECT_DOUBLE_EQ(point[0], 100 + 10 / factor);
    EXPECT_DOUBLE_EQ(point[1], 200 - 4 / factor);

    // The next offset starts from the values typed last; Cancel leaves the point alone.
    std::string shownX, shownY;
    ModalScript cancel({[&] {
        HWND d = Dialog();
        if (d == nullptr || !IsWindowVisible(d)) return false;
        char text[64] = "";
        GetDlgItemTextA(d, kPointEditX, text, sizeof text);
        shownX = text;
        GetDlgItemTextA(d, kPointEditY, text, sizeof text);
        shownY = text;
        SendMessageA(d, WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    double unchanged[2] = {1, 2};
    EXPECT_EQ(cancel.Run([&] { return static_cast<INT_PTR>(InputPointOffset(unchanged)); }), 0);
    EXPECT_FALSE(cancel.TimedOut());
    EXPECT_EQ(shownX, "10");
    EXPECT_EQ(shownY, "-4");
    EXPECT_EQ(unchanged[0], 1);
    EXPECT_EQ(unchanged[1], 2);
}

}  // namespace
