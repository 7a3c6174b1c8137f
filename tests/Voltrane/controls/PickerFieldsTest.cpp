// The picker fields: their messages, notify mode, a field without a state block, and a list
// dropped, picked and closed under Xvfb.
#include "GTest.h"

#include <commctrl.h>

#include <cstring>

#include "KitTestHost.h"
#include "controls/ColorPicker.h"
#include "controls/KitFaces.h"
#include "controls/LineEndPickers.h"
#include "controls/LineTypePicker.h"
#include "controls/LineWidthPicker.h"
#include "controls/PickerField.h"
#include "controls/PickerHost.h"
#include "controls/LayerPicker.h"
#include "controls/PointMarkerPicker.h"
#include "core/ConfigData.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HWND g_view = nullptr;

class PickerFieldsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        RegisterColorPickerClasses(Instance());
        RegisterLineStartMarkPickerClasses(Instance());
        RegisterLineEndMarkPickerClasses(Instance());
        RegisterLineTypePickerClasses(Instance());
        RegisterLineWidthPickerClasses(Instance());
        RegisterPointMarkPickerClasses(Instance());
        RegisterLayerPickerClasses(Instance());
    }
    void SetUp() override
    {
        m_saved = GetPickerHostCalls();
        g_view = nullptr;
        GetPickerHostCalls().activeView = [] { return g_view; };
        GetPickerHostCalls().viewColorNumber = [](HWND) { return 3; };
        GetPickerHostCalls().visibleAgainstBackground = [](COLORREF c) { return c ^ 0x000001; };
        for (int i = 0; i < 15; ++i) LineEndTypeEnableMask[i] = 1;
        LineEndTypeEnableMask[15] = 0;
    }
    void TearDown() override { GetPickerHostCalls() = m_saved; }

    static void Click(POINT pt) { KitTestHost::Click(pt); }
    static HWND DroppedList(HWND field, const char* popupClass) { return KitTestHost::DroppedList(field, popupClass); }
    size_t Notices(HWND field) const { return host.Notices(field); }

    KitTestHost host;
    PickerHostCalls m_saved;
};

TEST_F(PickerFieldsTest, ColourFieldLoadsOnlyWithADrawingView)
{
    HWND field = host.Child("cmdcolorclass", 10, 10, 10, 120, 22);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_RELOAD, 0, 0), 0);
    ColorPickerList caller = {};
    caller.count = 300;  // more rows than a list holds
    caller.currentRow = 7;
    caller.numbers[0] = 42;
    EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_FLAGS, 0, kPickerCompact), 0);
    const auto* state = static_cast<const ColorPickerList*>(PickerStateOf(field));
    // No drawing view: not even a caller's list loads.
    EXPECT_EQ(SendMessageA(field, WM_PICKER_RELOAD, 0, reinterpret_cast<LPARAM>(&caller)), 0);
    EXPECT_EQ(ColorPickerRowCount(*state), 0);
    EXPECT_EQ(state->numbers[0], 0);
    g_view = host.window();
    EXPECT_EQ(SendMessageA(field, WM_PICKER_RELOAD, 0, reinterpret_cast<LPARAM>(&caller)), 1);
    EXPECT_EQ(state->currentRow, 0);
    EXPECT_EQ(state->flags, kPickerCompact);
    EXPECT_EQ(state->numbers[0], 42);
    EXPECT_EQ(ColorPickerRowCount(*state), 257);
    // Any row is stored and answered, and painting it shows an empty swatch.
    EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_VALUE, 0, 100000), 1);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), 100000);
    UpdateWindow(field);

    // A reload from the drawing: engine defaults, the view's colour number, both tables.
    EXPECT_EQ(SendMessageA(field, WM_PICKER_RELOAD, 0, 0), 1);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), 2);
    EXPECT_EQ(state->count, 256);
    EXPECT_EQ(state->numbers[0], 1);
    const COLORREF stored = GetConfigDataRuntime().palette[1];
    EXPECT_EQ(static_cast<COLORREF>(state->colours[0]), stored ^ 1);
    HWND plain = host.Child("cmdcolorclass2", 11, 10, 40, 120, 22);
    EXPECT_EQ(static_cast<COLORREF>(static_cast<const ColorPickerList*>(PickerStateOf(plain))->colours[0]), stored);
}

TEST_F(PickerFieldsTest, MarkFieldsKeepTheirOwnNarrowedTypes)
{
    HWND start = host.Child("cmdltermsclass", 20, 10, 10, 120, 22);
    for (int type : {0, 14, 15}) EXPECT_EQ(SendMessageA(start, WM_PICKER_REMOVE_TYPE, 0, type), 0);
    EXPECT_EQ(SendMessageA(start, WM_PICKER_GET_VALUE, 0, 0), 1);
    HWND end = host.Child("cmdltermeclass", 21, 10, 40, 120, 22);
    const struct {
        int set, shown;
    } cases[] = {{0, 0}, {5, 5}, {13, 13}, {14, 13}, {99, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(SendMessageA(start, WM_PICKER_SET_VALUE, 0, c.set), 1);
        EXPECT_EQ(SendMessageA(start, WM_PICKER_GET_VALUE, 0, 0), c.shown) << c.set;
    }
    // Narrowing keeps the row, which may then stand for another type; a type set afterwards
    // maps through the narrowed list.
    SendMessageA(start, WM_PICKER_SET_VALUE, 0, 5);
    SendMessageA(start, WM_PICKER_REMOVE_TYPE, 0, 3);
    EXPECT_EQ(SendMessageA(start, WM_PICKER_GET_VALUE, 0, 0), 6);
    SendMessageA(start, WM_PICKER_SET_VALUE, 0, 5);
    EXPECT_EQ(SendMessageA(start, WM_PICKER_GET_VALUE, 0, 0), 5);
    SendMessageA(start, WM_PICKER_REMOVE_TYPE, 0, 16);  // ignored
    EXPECT_EQ(SendMessageA(start, WM_PICKER_GET_VALUE, 0, 0), 5);
    // A fresh field narrowed by 0 keeps row 0, now type 1; type 0 then maps to row -1.
    HWND fresh = host.Child("cmdltermsclass", 22, 10, 70, 120, 22);
    SendMessageA(fresh, WM_PICKER_REMOVE_TYPE, 0, 0);
    EXPECT_EQ(SendMessageA(fresh, WM_PICKER_GET_VALUE, 0, 0), 1);
    SendMessageA(fresh, WM_PICKER_SET_VALUE, 0, 0);
    EXPECT_EQ(static_cast<const LineEndPickerState*>(PickerStateOf(fresh))->row, -1);
    EXPECT_EQ(SendMessageA(fresh, WM_PICKER_GET_VALUE, 0, 0), 0);
    SendMessageA(end, WM_PICKER_SET_VALUE, 0, 15);
    EXPECT_EQ(SendMessageA(end, WM_PICKER_GET_VALUE, 0, 0), 14);
}

TEST_F(PickerFieldsTest, ValueFieldsAndNotifyMode)
{
    const struct {
        const char* cls;
        bool notifiesInNotifyMode;
    } cases[] = {{"cmdltypeclass", true}, {"cmdlwidclass", false}, {"cmdpointclass", true}, {"cmdcolorclass", true},
                 {"cmdltermsclass", true}};
    int id = 30;
    for (const auto& c : cases) {
        HWND field = host.Child(c.cls, ++id, 10, 10, 120, 22);
        EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_VALUE, 0, 3), 1) << c.cls;
        EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), c.cls == std::string("cmdcolorclass") ? 3 : 3) << c.cls;
        EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_FLAGS, 0, kPickerNotifyMode), 0) << c.cls;
        UpdateWindow(field);
        host.Clear();
        SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        KitTestHost::Drain();
        EXPECT_EQ(Notices(field), c.notifiesInNotifyMode ? 1u : 0u) << c.cls;
        EXPECT_EQ(GetWindow(field, GW_CHILD), nullptr) << c.cls;
        // Without its state block a field answers "none" and ignores clicks.
        FreePickerState(field);
        EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_VALUE, 0, 3), 0) << c.cls;
        EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), -1) << c.cls;
        EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_FLAGS, 0, 0), -1) << c.cls;
        SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(GetWindow(field, GW_CHILD), nullptr) << c.cls;
        UpdateWindow(field);
        DestroyWindow(field);
    }
}

TEST_F(PickerFieldsTest, LayerFieldKeepsPageAndLayer)
{
    HWND field = host.Child("cmdlayerclass", 40, 10, 10, 120, 30);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_VALUE, 2, 5), 1);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), 5);
    EXPECT_EQ(SendMessageA(field, WM_PICKER_SET_FLAGS, 0, 0), 2);
    SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(GetWindow(field, GW_CHILD), nullptr);  // no drawing: nothing opens
}

TEST_F(PickerFieldsTest, ListDropsUnderTheFieldTakesAPickAndClosesWithEscape)
{
    g_view = host.window();
    HWND field = host.Child("cmdcolorclass", 50, 40, 30, 100, 22);
    ASSERT_EQ(SendMessageA(field, WM_PICKER_RELOAD, 0, 0), 1);
    UpdateWindow(host.window());
    host.Clear();
    SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    HWND list = nullptr;
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return (list = DroppedList(field, "vycolorwndclass")) != nullptr; }));
    RECT listRect, fieldRect;
    GetWindowRect(list, &listRect);
    GetWindowRect(field, &fieldRect);
    EXPECT_EQ(listRect.top, fieldRect.bottom);
    EXPECT_EQ(listRect.left, fieldRect.left);
    EXPECT_EQ(listRect.right - listRect.left, 180);  // a 100-pixel field gets the minimum width
    const int rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    EXPECT_EQ(rowHeight, 26);
    // The fifth row, picked with the mouse (the list may start at the current row).
    const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    Click({listRect.left + 20, listRect.top + (4 - top) * rowHeight + 13});
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return Notices(field) == 1; }));
    EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), 4);
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return GetWindow(field, GW_CHILD) == nullptr; }));

    // Opened again and closed with Esc: the value stays and the parent still hears of it. The
    // pointer is moved off first, so that no row follows it.
    SetCursorPos(1, 1);
    SetForegroundWindow(host.window());
    SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return DroppedList(field, "vycolorwndclass") != nullptr; }));
    KitTestHost::Key(VK_ESCAPE);
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return Notices(field) == 2; }));
    EXPECT_EQ(SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0), 4);
}

TEST_F(PickerFieldsTest, ListWidths)
{
    const struct {
        const char* cls;
        const char* popup;
        int fieldWidth, listWidth;
    } cases[] = {
        {"cmdcolorclass", "vycolorwndclass", 200, 200},
        {"cmdltermeclass", "vyltermewndclass", 300, 150},
        {"cmdltermsclass", "vyltermswndclass", 300, 300},
        {"cmdlwidclass", "vylwidwndclass", 100, 250},
    };
    g_view = host.window();
    for (const auto& c : cases) {
        HWND field = host.Child(c.cls, 60, 20, 20, c.fieldWidth, 22);
        SendMessageA(field, WM_PICKER_RELOAD, 0, 0);
        SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND list = nullptr;
        ASSERT_TRUE(KitTestHost::PumpUntil([&] { return (list = DroppedList(field, c.popup)) != nullptr; })) << c.cls;
        RECT r;
        GetWindowRect(list, &r);
        EXPECT_EQ(r.right - r.left, c.listWidth) << c.cls;
        SendMessageA(GetDlgItem(FindWindowExA(field, nullptr, c.popup, nullptr), kPickerComboId), CB_SHOWDROPDOWN, FALSE, 0);
        ASSERT_TRUE(KitTestHost::PumpUntil([&] { return GetWindow(field, GW_CHILD) == nullptr; })) << c.cls;
        DestroyWindow(field);
    }
}

}  // namespace

namespace {

TEST_F(PickerFieldsTest, HoverNoticesOnEnterAndLeave)
{
    HWND field = host.Child("cmdpointclass", 70, 20, 20, 120, 22);
    UpdateWindow(host.window());
    host.Clear();
    SendMessageA(field, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    SendMessageA(field, WM_MOUSEMOVE, 0, MAKELPARAM(12, 10));  // still inside: nothing more
    SendMessageA(field, WM_MOUSEMOVE, 0, MAKELPARAM(400, 300));
    const auto hovers = host.Of(WM_KIT_HOVER);
    ASSERT_EQ(hovers.size(), 2u);
    EXPECT_EQ(hovers[0].wParam, 70u);
    EXPECT_EQ(hovers[0].lParam, 0);
    EXPECT_EQ(hovers[1].lParam, 1);
    EXPECT_NE(GetCapture(), field);
}

}  // namespace

namespace {

// A field destroyed while its list is open: the list closes as the field goes, and its kind's
// context must no longer name the field's freed state.
TEST_F(PickerFieldsTest, AFieldDestroyedWithItsListOpenLeavesNoStateToStoreInto)
{
    const struct {
        const char* cls;
        const char* popup;
        const PickerPopupContext& (*context)();
    } cases[] = {
        {"cmdcolorclass", "vycolorwndclass", ColorPickerContext},
        {"cmdcolorclass2", "vycolorwndclass", ColorPickerContext},
        {"cmdltypeclass", "vyltypewndclass", LineTypePickerContext},
        {"cmdlwidclass", "vylwidwndclass", LineWidthPickerContext},
        {"cmdpointclass", "vypointwndclass", PointMarkerPickerContext},
        {"cmdltermsclass", "vyltermswndclass", LineEndPickerContext},
        {"cmdltermeclass", "vyltermewndclass", LineEndPickerContext},
    };
    g_view = host.window();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cls);
        // A second field of the kind whose list was opened before keeps nothing of the first.
        HWND other = host.Child(c.cls, 81, 20, 60, 120, 22);
        HWND field = host.Child(c.cls, 80, 20, 20, 120, 22);
        SendMessageA(field, WM_PICKER_RELOAD, 0, 0);
        SetCursorPos(1, 1);
        SetForegroundWindow(host.window());
        SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ASSERT_TRUE(KitTestHost::PumpUntil([&] { return DroppedList(field, c.popup) != nullptr; }));
        ASSERT_EQ(c.context().state, PickerStateOf(field));
        DestroyWindow(field);
        KitTestHost::Drain();
        EXPECT_EQ(c.context().state, nullptr);
        EXPECT_EQ(c.context().openMark, 0);
        // A field destroyed while another one's list is open leaves that one named.
        HWND bystander = host.Child(c.cls, 82, 20, 100, 120, 22);
        SendMessageA(other, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ASSERT_TRUE(KitTestHost::PumpUntil([&] { return DroppedList(other, c.popup) != nullptr; }));
        DestroyWindow(bystander);
        EXPECT_EQ(c.context().state, PickerStateOf(other));
        DestroyWindow(other);
        KitTestHost::Drain();
        EXPECT_EQ(c.context().state, nullptr);
    }
}

}  // namespace
