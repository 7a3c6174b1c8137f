// The PBox controls as a plug-in uses them: made in a window of the test's own while a panel's
// item is being built, driven by real messages; the events they write, what their parent hears,
// the items they change (and the item of the same slot in the panel shown docked), and how the
// styles paint.
#include "GTest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "HostRecords.h"
#include "commands/InputEvent.h"
#include "core/ConfigData.h"
#include "panels/AppPanelInputs.h"
#include "panels/PanelComboDropDown.h"
#include "panels/PanelSettings.h"
#include "panels/ParameterPanelItems.h"
#include "panels/ParameterPanelModel.h"
#include "panels/PboxControls.h"

namespace {

class NoColors : public CPboxColorSource {
public:
    int RunningCommandId() override { return 0; }
    void Read(const char*, const char*, char* out) override { out[0] = '\0'; }
};

// What the parent of the controls heard, in order: "C<id>" a WM_COMMAND, "N" the notice 1074,
// "U" WM_USER.
std::vector<std::string> g_heard;

LRESULT CALLBACK ParentProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && lParam == 0) g_heard.push_back("C" + std::to_string(LOWORD(wParam)));
    else if (msg == kPboxControlNotify) g_heard.push_back("N");
    else if (msg == WM_USER) g_heard.push_back("U");
    return DefWindowProcA(window, msg, wParam, lParam);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Paints a control into a bitmap of its size and hands the bitmap's device context to look.
template <class Look>
void Painted(HWND control, Look look)
{
    RECT rc;
    GetClientRect(control, &rc);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rc.right, rc.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageA(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    look(dc, rc);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

class PboxControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RegisterPboxControlClasses(GetModuleHandleA(nullptr)), 1);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PboxControlsTestParent";
        RegisterClassA(&wc);
        parent = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        PboxCloseAllPanels();
        PboxSetColorSource(&colors);
        panel = PboxCreatePanel("PBox");
        ASSERT_GT(panel, 0);
        g_heard.clear();
        GetInputEventRecord() = InputEventRecord{};
        savedStyle = GetConfigDataRuntime().panelButtonType;
    }
    void TearDown() override
    {
        GetConfigDataRuntime().panelButtonType = savedStyle;
        DestroyWindow(parent);
        Pump();
        PboxCloseAllPanels();
        for (int p = 1; p < kPboxPanelCount; ++p) PboxDestroyPanel(p, 0);
        PboxSetColorSource(nullptr);
        GetInputEventRecord() = InputEventRecord{};
    }

    // Adds an item to the panel and makes a control of the class bound to it, as a plug-in
    // does while the panel is being built.
    HWND Control(const char* className, int (*add)(const PboxAddRequest*), int id, const char* text, int width = 120,
                 INT_PTR extra = 0, int targetPanel = -1)
    {
        const int into = targetPanel >= 0 ? targetPanel : panel;
        PboxAddRequest request = {};
        request.panel = into;
        request.id = id;
        request.text = reinterpret_cast<INT_PTR>(text);
        request.width = width;
        request.height = 20;
        request.extra = extra;
        if (!add(&request)) return nullptr;
        int slot = -1;
        PboxFindItem(into, id, &slot);
        PboxBuildingPanel() = into;
        PboxBuildingSlot() = slot;
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, 0, 0, width, 20, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    }
    PboxItem& ItemOf(int id, int of = -1) { return *PboxFindItem(of >= 0 ? of : panel, id); }
    const InputEventRecord& Event() { return GetInputEventRecord(); }

    // The colour at a point of a control painted into a bitmap of its size.
    static COLORREF PixelAt(HWND control, int x, int y)
    {
        COLORREF pixel = CLR_INVALID;
        Painted(control, [&](HDC dc, const RECT&) { pixel = GetPixel(dc, x, y); });
        return pixel;
    }

    NoColors colors;
    HWND parent = nullptr;
    int panel = 0;
    int savedStyle = 0;
};

TEST_F(PboxControlsTest, PushReleasedOverItRaisesTheEventAndTellsItsParent)
{
    HWND push = Control("PBox_Push", PboxAddPushButton, 300, "実行");
    ASSERT_NE(push, nullptr);
    EXPECT_EQ(GetWindowLongA(push, 4), panel);

    // The right button: the command id is one past the control's.
    SendMessageA(push, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetWindowLongA(push, 0), kPboxPressed);
    EXPECT_EQ(GetCapture(), push);
    SendMessageA(push, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Event().code, kEventPanelItem);
    EXPECT_EQ(Event().kind, kItemPushButton);
    EXPECT_EQ(Event().item, 300);
    EXPECT_EQ(g_heard, (std::vector<std::string>{"N", "C301"}));

    g_heard.clear();
    SendMessageA(push, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    SendMessageA(push, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(g_heard, (std::vector<std::string>{"N", "C300"}));
}

TEST_F(PboxControlsTest, PushReleasedOutsideIsDropped)
{
    HWND push = Control("PBox_Push", PboxAddPushButton, 300, "実行");
    ASSERT_NE(push, nullptr);
    SendMessageA(push, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    SendMessageA(push, WM_MOUSEMOVE, 0, MAKELPARAM(200, 5));
    EXPECT_EQ(GetWindowLongA(push, 0), kPboxPressedOutside);
    // Coming back over it presses it again; leaving once more and releasing drops it.
    SendMessageA(push, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetWindowLongA(push, 0), kPboxPressed);
    SendMessageA(push, WM_MOUSEMOVE, 0, MAKELPARAM(5, 90));
    SendMessageA(push, WM_LBUTTONUP, 0, MAKELPARAM(5, 90));
    EXPECT_EQ(GetWindowLongA(push, 0), kPboxReleased);
    EXPECT_EQ(Event().code, 0);
    EXPECT_TRUE(g_heard.empty());
}

TEST_F(PboxControlsTest, CheckAndRadioChangeTheirItemAndRaiseTheirKinds)
{
    HWND check = Control("PBox_Check", PboxAddCheckButton, 301, "確認", 120, 5);
    HWND radio = Control("PBox_Radio", PboxAddRadioButton, 302, "A,B,C", 120, 3);
    ASSERT_NE(check, nullptr);
    ASSERT_NE(radio, nullptr);

    const struct {
        int before, after;
    } checks[] = {{5, 1}, {1, 0}, {0, 1}, {-1, 1}};
    for (const auto& c : checks) {
        ItemOf(301).value2 = c.before;
        SendMessageA(check, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(ItemOf(301).value2, c.after) << c.before;
        EXPECT_EQ(Event().kind, kItemCheckBox);
        EXPECT_EQ(Event().value, c.after);
    }

    // 120 pixels in three segments; a click past the painted ones stays on the last.
    const struct {
        int x, choice;
    } radios[] = {{85, 2}, {0, 0}, {39, 0}, {40, 1}, {119, 2}, {500, 2}};
    for (const auto& c : radios) {
        SendMessageA(radio, WM_LBUTTONDOWN, 0, MAKELPARAM(c.x, 5));
        EXPECT_EQ(ItemOf(302).value, c.choice) << c.x;
        EXPECT_EQ(Event().kind, kItemRadioButton);
        EXPECT_EQ(Event().value, c.choice);
    }
    // One notice per click.
    EXPECT_EQ(g_heard.size(), 4u + 6u);
    EXPECT_EQ(g_heard[0], "N");
}

TEST_F(PboxControlsTest, DisabledOrUnboundControlsChangeNothing)
{
    HWND push = Control("PBox_Push", PboxAddPushButton, 300, "実行");
    HWND check = Control("PBox_Check", PboxAddCheckButton, 301, "確認");
    HWND radio = Control("PBox_Radio", PboxAddRadioButton, 302, "A,B", 120, 2);
    for (int id : {300, 301, 302}) ItemOf(id).enabled = 0;
    for (HWND control : {push, check, radio}) {
        SendMessageA(control, WM_LBUTTONDOWN, 0, MAKELPARAM(90, 5));
        SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(90, 5));
        EXPECT_EQ(GetCapture(), nullptr);
    }
    EXPECT_EQ(Event().code, 0);
    EXPECT_EQ(ItemOf(301).value2, 0);
    EXPECT_EQ(ItemOf(302).value, 0);

    // Words that name no slot: the control shows nothing and takes no click.
    for (int id : {300, 301, 302}) ItemOf(id).enabled = 1;
    SetWindowLongA(check, 4, 9);
    SendMessageA(check, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Event().code, 0);
    EXPECT_TRUE(g_heard.empty());
}

// What a control takes also goes to the item of the same slot in the panel shown docked,
// whichever panel the control's own item lies in.
TEST_F(PboxControlsTest, ValuesReachTheItemOfTheSameSlotInTheShownPanel)
{
    HWND check = Control("PBox_Check", PboxAddCheckButton, 301, "確認");
    HWND radio = Control("PBox_Radio", PboxAddRadioButton, 302, "A,B,C", 120, 3);
    HWND list = Control("PBox_List", PboxAddList, 303, "A,B,C", 120, 0);
    ASSERT_TRUE(check && radio && list);
    const int shown = PboxCreatePanel("表示中");
    ASSERT_GT(shown, 0);
    for (int id : {401, 402, 403}) {
        PboxAddRequest request = {};
        request.panel = shown;
        request.id = id;
        request.text = reinterpret_cast<INT_PTR>("X,Y,Z");
        ASSERT_EQ(PboxAddRadioButton(&request), 1);
    }
    PboxShownPanel() = shown;
    SendMessageA(check, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    SendMessageA(radio, WM_LBUTTONDOWN, 0, MAKELPARAM(85, 5));
    SendMessageA(ItemOf(303).listWindow, CB_SETCURSEL, 1, 0);
    SendMessageA(list, WM_COMMAND, MAKEWPARAM(kPanelListControlId, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(ItemOf(303).listWindow));
    EXPECT_EQ(ItemOf(301).value2, 1);
    EXPECT_EQ(ItemOf(401, shown).value2, 1) << "slot 0 of the shown panel";
    EXPECT_EQ(ItemOf(302).value, 2);
    EXPECT_EQ(ItemOf(402, shown).value, 2) << "slot 1 of the shown panel";
    EXPECT_EQ(ItemOf(303).value, 1);
    EXPECT_EQ(ItemOf(403, shown).value, 1) << "slot 2 of the shown panel";

    // With no panel shown docked only the control's own item changes; the right-click copy of
    // its panel is not written either.
    PboxShownPanel() = -1;
    PboxCopyItems(panel);
    SendMessageA(check, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(ItemOf(301).value2, 0);
    EXPECT_EQ(ItemOf(401, shown).value2, 1);
    EXPECT_EQ(ItemOf(301, kPboxMenuPanel).value2, 1);
}

TEST_F(PboxControlsTest, ListRaisesEverySelectionChangeAndShowsThePrefixAsText)
{
    HWND list = Control("PBox_List", PboxAddList, 303, "A,B,C", 120, 0);
    ASSERT_NE(list, nullptr);
    HWND inner = ItemOf(303).listWindow;
    ASSERT_NE(inner, nullptr);
    for (int row : {2, 1}) {
        SendMessageA(inner, CB_SETCURSEL, row, 0);
        SendMessageA(list, WM_COMMAND, MAKEWPARAM(kPanelListControlId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(inner));
        EXPECT_EQ(Event().kind, kItemList);
        EXPECT_EQ(Event().value, row);
        EXPECT_EQ(ItemOf(303).value, row);
    }
    Pump();
    EXPECT_EQ(g_heard, (std::vector<std::string>{"N", "N"}));

    // The prefix a list add puts in front is only read by the panel's own list.
    PboxAddRequest request = {};
    request.panel = panel;
    request.id = 304;
    request.text = reinterpret_cast<INT_PTR>("X,Y");
    request.width = 120;
    request.height = 20;
    request.extra2 = 7;
    ASSERT_EQ(PboxAddList(&request), 1);
    int slot = -1;
    PboxFindItem(panel, 304, &slot);
    PboxBuildingSlot() = slot;
    HWND prefixed = CreateWindowExA(0, "PBox_List", "", WS_CHILD, 0, 0, 120, 20, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(prefixed, nullptr);
    char first[32] = {};
    SendMessageA(ItemOf(304).listWindow, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    // The field parser drops the leading line break; the number stays in the first row.
    EXPECT_STREQ(first, "7\nX");
    EXPECT_EQ(SendMessageA(ItemOf(304).listWindow, CB_GETCOUNT, 0, 0), 2);
}

TEST_F(PboxControlsTest, EditCommitsThroughItsWordsAndWexlEditOnlyChangesItsText)
{
    HWND edit = Control("PBox_Edit", PboxAddEdit, 305, "12");
    ASSERT_NE(edit, nullptr);
    SendMessageA(edit, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    HWND typing = GetDlgItem(edit, kPanelEditControlId);
    ASSERT_NE(typing, nullptr);
    SetWindowTextA(typing, "45");
    SendMessageA(typing, WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_EQ(Event().kind, kItemEdit);
    EXPECT_EQ(Event().item, 305);
    EXPECT_STREQ(ItemOf(305).text, "45");
    EXPECT_EQ(g_heard, (std::vector<std::string>{"N"}));

    GetInputEventRecord() = InputEventRecord{};
    g_heard.clear();
    HWND free = CreateWindowExA(0, "Wexl_Edit", "abc", WS_CHILD | WS_VISIBLE, 0, 30, 120, 20, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(free, nullptr);
    EXPECT_EQ(GetWindowLongA(free, 0), 1);
    SendMessageA(free, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    typing = GetDlgItem(free, kPanelEditControlId);
    ASSERT_NE(typing, nullptr);
    char shown[16] = {};
    GetWindowTextA(typing, shown, sizeof shown);
    EXPECT_STREQ(shown, "abc");
    SetWindowTextA(typing, "xyz");
    SendMessageA(typing, WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    GetWindowTextA(free, shown, sizeof shown);
    EXPECT_STREQ(shown, "xyz");
    EXPECT_EQ(g_heard, (std::vector<std::string>{"U", "N"}));
    EXPECT_EQ(Event().code, 0) << "the free field writes no event";
    EXPECT_STREQ(ItemOf(305).text, "45");
}

// A combo's pick goes to the field of the same slot in the panel shown docked, and its typing
// starts from that field's text.
TEST_F(PboxControlsTest, ComboPickReachesTheShownPanelsFieldWhoseTextTheTypingStartsFrom)
{
    HWND combo = Control("PBox_Combo", PboxAddCombo, 306, "甲,乙,丙", 120, reinterpret_cast<INT_PTR>("甲"));
    ASSERT_NE(combo, nullptr);
    const int shown = PboxCreatePanel("表示中");
    ASSERT_GT(shown, 0);
    PboxAddRequest request = {};
    request.panel = shown;
    request.id = 406;
    request.text = reinterpret_cast<INT_PTR>("甲,乙,丙");
    request.extra = reinterpret_cast<INT_PTR>("丙");
    ASSERT_EQ(PboxAddCombo(&request), 1);
    PboxShownPanel() = shown;

    SendMessageA(combo, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    HWND typing = GetDlgItem(combo, kPanelEditControlId);
    ASSERT_NE(typing, nullptr);
    char started[16] = {};
    GetWindowTextA(typing, started, sizeof started);
    EXPECT_STREQ(started, "丙");
    DestroyWindow(typing);
    Pump();

    SendMessageA(combo, WM_LBUTTONDOWN, 0, MAKELPARAM(110, 5));
    HWND dropDown = PanelComboDropDownWindow();
    ASSERT_NE(dropDown, nullptr);
    HWND list = GetDlgItem(dropDown, kPanelDropDownListId);
    ASSERT_NE(list, nullptr);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    SendMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_EQ(Event().kind, kItemComboBox);
    EXPECT_EQ(Event().item, 306);
    EXPECT_STREQ(ItemOf(306).text2, "乙");
    EXPECT_STREQ(ItemOf(406, shown).text2, "乙") << "the shown panel's field takes the pick";
    EXPECT_EQ(std::count(g_heard.begin(), g_heard.end(), "N"), 1);
}

TEST_F(PboxControlsTest, TheButtonStyleChoosesFlatOrKitFaces)
{
    HWND push = Control("PBox_Push", PboxAddPushButton, 300, "");
    ASSERT_NE(push, nullptr);
    ConfigDataRuntime& runtime = GetConfigDataRuntime();
    const COLORREF savedBack = runtime.buttonBackColor[4];
    runtime.buttonBackColor[4] = RGB(10, 200, 30);
    for (int style : {1, 0, 2}) {
        runtime.panelButtonType = style;
        const COLORREF inside = PixelAt(push, 60, 10);
        if (style == 1) EXPECT_EQ(inside, RGB(10, 200, 30)) << "the flat face has the button colour";
        else EXPECT_NE(inside, RGB(10, 200, 30)) << style;
    }
    runtime.buttonBackColor[4] = savedBack;
}

TEST_F(PboxControlsTest, FlatMarksAndTextsTakeThePanelColourSettings)
{
    HWND check = Control("PBox_Check", PboxAddCheckButton, 301, "", 120, 1);
    HWND text = CreateWindowExA(0, "PBox_Text", "", WS_CHILD | WS_VISIBLE, 0, 30, 120, 20, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(check, nullptr);
    ASSERT_NE(text, nullptr);
    ConfigDataRuntime& runtime = GetConfigDataRuntime();
    const ConfigDataRuntime saved = runtime;
    runtime.panelButtonType = 1;
    runtime.buttonBackColor[5] = RGB(250, 10, 20);
    runtime.panelBackColor = RGB(5, 6, 200);
    // The bar inside the strip across the top shows the mark; unchecked the strip stays black.
    EXPECT_EQ(PixelAt(check, 60, 2), RGB(250, 10, 20));
    ItemOf(301).value2 = 0;
    EXPECT_EQ(PixelAt(check, 60, 2), RGB(0, 0, 0));
    EXPECT_EQ(PanelCheckMarkColor(), RGB(250, 10, 20));
    EXPECT_EQ(PixelAt(text, 2, 2), RGB(5, 6, 200));
    runtime = saved;
}

// Pixels of exactly the colour in a control painted into a bitmap of its size.
int CountColour(HWND control, COLORREF colour)
{
    int count = 0;
    Painted(control, [&](HDC dc, const RECT& rc) {
        for (int y = 0; y < rc.bottom; ++y)
            for (int x = 0; x < rc.right; ++x) count += GetPixel(dc, x, y) == colour ? 1 : 0;
    });
    return count;
}

TEST_F(PboxControlsTest, TextTakesTheColourOfTheItemBeingBuiltWhenItWasMade)
{
    ConfigDataRuntime& runtime = GetConfigDataRuntime();
    const ConfigDataRuntime saved = runtime;
    runtime.panelBackColor = RGB(5, 6, 200);
    runtime.palette[3] = RGB(0, 200, 0);
    const struct {
        int textColor;
        COLORREF expected;
    } cases[] = {{-1, GetSysColor(COLOR_BTNTEXT)}, {0, RGB(0, 0, 0)}, {3, RGB(0, 200, 0)}};
    int id = 400;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.textColor);
        HWND text = Control("PBox_Text", PboxAddText, ++id, "WWWWWW");
        ASSERT_NE(text, nullptr);
        ItemOf(id).textColor = c.textColor;
        EXPECT_GT(CountColour(text, c.expected), 0);
        if (c.expected != GetSysColor(COLOR_BTNTEXT)) EXPECT_EQ(CountColour(text, GetSysColor(COLOR_BTNTEXT)), 0);
    }
    // Made outside a build, or after its item was freed: the button-text colour.
    PboxBuildingPanel() = -1;
    HWND loose = CreateWindowExA(0, "PBox_Text", "WWWWWW", WS_CHILD | WS_VISIBLE, 0, 30, 120, 20, parent, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(loose, nullptr);
    EXPECT_GT(CountColour(loose, GetSysColor(COLOR_BTNTEXT)), 0);
    HWND freed = Control("PBox_Text", PboxAddText, 450, "WWWWWW");
    ASSERT_NE(freed, nullptr);
    ItemOf(450).textColor = 3;
    PboxCloseAllPanels();
    EXPECT_EQ(CountColour(freed, RGB(0, 200, 0)), 0);
    EXPECT_GT(CountColour(freed, GetSysColor(COLOR_BTNTEXT)), 0);
    runtime = saved;
}

}  // namespace
