// The tool panel's attribute pickers: a click drops an owner-drawn list under the picker, the
// parent hears of every closing, and notify mode opens nothing.
#include "GTest.h"

#include <commctrl.h>

#include "KitTestHost.h"
#include "controls/AttrCombos.h"
#include "controls/PickerField.h"

namespace {

class AttrCombosTest : public ::testing::Test {
protected:
    // A dropped list's highlight follows the pointer: one an earlier test left over the list's
    // rows would choose a row. The pointer waits in the far corner of the screen.
    void SetUp() override
    {
        const int right = GetSystemMetrics(SM_CXSCREEN) - 1, bottom = GetSystemMetrics(SM_CYSCREEN) - 1;
        SetCursorPos(right, bottom);
        KitTestHost::PumpUntil([&] {
            POINT now = {};
            return GetCursorPos(&now) && now.x == right && now.y == bottom;
        });
    }
    static HWND DroppedCombo(HWND picker)
    {
        HWND list = GetWindow(picker, GW_CHILD);
        HWND combo = list != nullptr ? GetDlgItem(list, kAttrComboBoxId) : nullptr;
        return combo != nullptr && SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != 0 ? combo : nullptr;
    }
    size_t Notices(HWND picker) const { return host.Notices(picker); }
    KitTestHost host;
};

TEST_F(AttrCombosTest, WidthListHasSixteenRowsAndEveryClosingNotifies)
{
    CLineWidthCombo picker;
    RECT at = {20, 20, 140, 42};
    ASSERT_NE(picker.Create(host.window(), &at, nullptr, 0, 0, reinterpret_cast<HMENU>(77)), nullptr);
    EXPECT_EQ(SendMessageA(picker.m_hWnd, WM_USER + 2, 0, 3), 1);
    for (int round = 1; round <= 2; ++round) {
        SendMessageA(picker.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND combo = nullptr;
        ASSERT_TRUE(KitTestHost::PumpUntil([&] { return (combo = DroppedCombo(picker.m_hWnd)) != nullptr; })) << round;
        EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 16);
        EXPECT_EQ(SendMessageA(combo, CB_GETCURSEL, 0, 0), 3);
        // Closed without a choice: the parent is told all the same.
        SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
        ASSERT_TRUE(KitTestHost::PumpUntil([&] { return Notices(picker.m_hWnd) == static_cast<size_t>(round); })) << round;
        ASSERT_TRUE(KitTestHost::PumpUntil([&] { return GetWindow(picker.m_hWnd, GW_CHILD) == nullptr; })) << round;
        EXPECT_EQ(SendMessageA(picker.m_hWnd, WM_USER + 3, 0, 0), 3);
    }
    DestroyWindow(picker.m_hWnd);
}

TEST_F(AttrCombosTest, ColourListShowsThePaletteWithoutADrawing)
{
    CLineColorCombo picker;
    RECT at = {20, 20, 120, 42};
    ASSERT_NE(picker.Create(host.window(), &at, nullptr, 0, 0, reinterpret_cast<HMENU>(78)), nullptr);
    EXPECT_EQ(SendMessageA(picker.m_hWnd, WM_USER + 1, 0, 0), 1);
    SendMessageA(picker.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    HWND combo = nullptr;
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return (combo = DroppedCombo(picker.m_hWnd)) != nullptr; }));
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 256);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(combo, CB_GETITEMDATA, 0, 0)), 0xFF0000u);
    EXPECT_EQ(static_cast<COLORREF>(SendMessageA(combo, CB_GETITEMDATA, 255, 0)), 0xFFFFFFu);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return Notices(picker.m_hWnd) == 1; }));
    DestroyWindow(picker.m_hWnd);
}

TEST_F(AttrCombosTest, NotifyModeOpensNothing)
{
    CLineEndTypeCombo picker;
    picker.m_side = 1;
    RECT at = {20, 20, 70, 42};
    ASSERT_NE(picker.Create(host.window(), &at, nullptr, 0, 0, reinterpret_cast<HMENU>(79)), nullptr);
    EXPECT_EQ(picker.m_rows.rows.size(), 15u);
    EXPECT_EQ(SendMessageA(picker.m_hWnd, WM_USER + 4, 0, kPickerNotifyMode), 0);
    UpdateWindow(picker.m_hWnd);
    SendMessageA(picker.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    KitTestHost::Drain();
    EXPECT_EQ(Notices(picker.m_hWnd), 1u);
    EXPECT_EQ(GetWindow(picker.m_hWnd, GW_CHILD), nullptr);
    DestroyWindow(picker.m_hWnd);
}

}  // namespace

namespace {

TEST(AttrListBoxTest, ItemsPaintOnDrawOrSelectionOnlyAndOnlyExistingRows)
{
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 200;
    bi.bmiHeader.biHeight = -24;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    LineWidthList widths;
    CLineWidthListBox box;
    box.m_list = &widths;
    box.m_background = 0x00FF00;
    const struct {
        UINT action;
        UINT id;
        bool background;  // the item background was painted
        bool bar;         // a bar was drawn
    } cases[] = {{ODA_FOCUS, 2, false, false}, {ODA_DRAWENTIRE, 2, true, true}, {ODA_SELECT, 15, true, true},
                 {ODA_DRAWENTIRE, 16, true, false}};
    for (const auto& c : cases) {
        RECT all = {0, 0, 200, 24};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.itemID = c.id;
        item.itemAction = c.action;
        item.hDC = dc;
        item.rcItem = all;
        box.DrawItem(item);
        EXPECT_EQ(GetPixel(dc, 1, 1) == 0x00FF00, c.background) << c.id << "/" << c.action;
        bool inked = false;
        for (int y = 0; y < 24; ++y) inked = inked || GetPixel(dc, 90, y) == 0;
        EXPECT_EQ(inked, c.bar) << c.id << "/" << c.action;
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
