// The colour-index combo's colour array.
#include "GTest.h"

#include <windows.h>

#include "dialogs/ColorIndexCombo.h"

namespace {

TEST(ColorIndexCombo, GetColorAtOutsideTheArrayIsZero)
{
    const COLORREF colours[4] = {RGB(1, 0, 0), RGB(2, 0, 0), RGB(3, 0, 0), RGB(4, 0, 0)};
    CColorIndexCombo combo;
    combo.AddComboColors(colours, 4, 1);
    ASSERT_EQ(combo.ColorCount(), 3);
    EXPECT_EQ(combo.GetColorAt(0), RGB(2, 0, 0));
    EXPECT_EQ(combo.GetColorAt(2), RGB(4, 0, 0));
    EXPECT_EQ(combo.GetColorAt(3), 0u);
    EXPECT_EQ(combo.GetColorAt(-1), 0u);
}

TEST(ColorIndexCombo, SetColorsWritesNoFurtherThanTheArray)
{
    const COLORREF first[2] = {RGB(1, 1, 1), RGB(2, 2, 2)};
    const COLORREF more[6] = {RGB(9, 0, 0), RGB(8, 0, 0), RGB(7, 0, 0), RGB(6, 0, 0), RGB(5, 0, 0), RGB(4, 0, 0)};
    CColorIndexCombo combo;
    combo.AddComboColors(first, 2, 0);
    combo.SetColors(more, 5, 1);
    EXPECT_EQ(combo.ColorCount(), 2);
    EXPECT_EQ(combo.GetColorAt(0), RGB(8, 0, 0));
    EXPECT_EQ(combo.GetColorAt(1), RGB(7, 0, 0));
}

TEST(ColorIndexCombo, FillsNumbersWithTheirItemData)
{
    HWND combo = CreateWindowA("COMBOBOX", "", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_POPUP, 0, 0, 80, 200, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(combo, nullptr);
    CColorIndexCombo colours(combo);
    colours.FillNumberCombo(0, 256);
    EXPECT_EQ(SendMessageA(combo, CB_GETCOUNT, 0, 0), 257);
    EXPECT_EQ(SendMessageA(combo, CB_GETITEMDATA, 256, 0), 256);
    char text[16] = {};
    SendMessageA(combo, CB_GETLBTEXT, 12, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "12");
    DestroyWindow(combo);
}

}  // namespace

namespace {

// Dropped down, the list shows at least 16 items whether or not the common controls honour
// CB_SETMINVISIBLE.
TEST(ColorIndexCombo, DropDownShowsSixteenItems)
{
    HWND parent = CreateWindowA("STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    HWND combo = CreateWindowA("COMBOBOX", "", CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_CHILD | WS_VISIBLE | WS_VSCROLL,
                               10, 10, 80, 60, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(combo, nullptr);
    CColorIndexCombo colours(combo);
    colours.FillNumberCombo(1, 256);
    SetComboMinVisible(combo, 16);
    SendMessageA(combo, CB_SHOWDROPDOWN, TRUE, 0);
    COMBOBOXINFO info = {sizeof info};
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    RECT list;
    GetClientRect(info.hwndList, &list);
    const int itemHeight = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    EXPECT_GE(list.bottom - list.top, 16 * itemHeight);
    SendMessageA(combo, CB_SHOWDROPDOWN, FALSE, 0);
    DestroyWindow(parent);
}

}  // namespace
