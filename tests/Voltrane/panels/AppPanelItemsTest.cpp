// The item windows driven by real messages in a window of the test's own: the events they
// write, their kinds and values, and what disabled items do.
#include "GTest.h"

#include <string>

#include "commands/InputEvent.h"
#include "panels/AppPanelInputs.h"
#include "panels/AppPanelItems.h"
#include "panels/ParameterPanelItems.h"

namespace {

class AppPanelItemsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        event = InputEventRecord{};
    }
    void TearDown() override
    {
        for (CPboxItemView* view : made) {
            if (IsWindow(view->ItemWindow())) DestroyWindow(view->ItemWindow());
            delete view;
        }
        DestroyWindow(parent);
    }

    HWND Make(CPboxItemView* view, PboxItem& item, const char* text)
    {
        made.push_back(view);
        RECT rc = {item.x, item.y, item.x + item.width, item.y + item.height};
        return CreatePanelItemWindow(view, parent, rc, item.id, text);
    }

    static PboxItem Item(int type, int id, const char* text, int width = 93)
    {
        PboxItem item;
        item.type = type;
        item.id = id;
        item.text = const_cast<char*>(text);
        item.width = width;
        item.height = 20;
        return item;
    }

    void Press(HWND window, int x)
    {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 5));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, 5));
    }

    HWND parent = nullptr;
    InputEventRecord event;
    std::vector<CPboxItemView*> made;
};

TEST_F(AppPanelItemsTest, RadioChoiceIsThePaintedSegmentAlwaysInRange)
{
    const struct {
        int x, width, n, choice;
    } cases[] = {
        {65, 93, 3, 2}, {0, 93, 3, 0}, {30, 93, 3, 0}, {31, 93, 3, 1}, {92, 93, 3, 2},
        {500, 93, 3, 2}, {-4, 93, 3, 0}, {5, 2, 3, 0}, {50, 100, 1, 0}, {50, 100, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CAppPanelRadioButton::ChoiceAt(c.x, c.width, c.n), c.choice) << c.x << " " << c.width << " " << c.n;
    const RECT third = CAppPanelRadioButton::SegmentRect(2, 3, 93, 20);
    EXPECT_EQ(third.left, 62);
    EXPECT_EQ(third.right, 92);
}

TEST_F(AppPanelItemsTest, PushCheckAndRadioRaiseTheirKindsAndValues)
{
    PboxItem push = Item(kPboxPushButton, 1, "実行");
    PboxItem check = Item(kPboxCheckButton, 2, "確認");
    PboxItem radio = Item(kPboxRadioButton, 3, "A,B,C");
    HWND pushWindow = Make(new CAppPanelButton(&event, &push), push, push.text);
    HWND checkWindow = Make(new CAppPanelCheckButton(&event, &check), check, check.text);
    HWND radioWindow = Make(new CAppPanelRadioButton(&event, &radio), radio, radio.text);
    ASSERT_TRUE(pushWindow && checkWindow && radioWindow);

    Press(pushWindow, 5);
    EXPECT_EQ(event.code, kEventPanelItem);
    EXPECT_EQ(event.kind, kItemPushButton);
    EXPECT_EQ(event.item, 1);

    for (int expected : {1, 0}) {
        event = InputEventRecord{};
        Press(checkWindow, 5);
        EXPECT_EQ(event.kind, kItemCheckBox);
        EXPECT_EQ(event.item, 2);
        EXPECT_EQ(event.value, expected);
        EXPECT_EQ(check.value2, expected);
    }

    event = InputEventRecord{};
    Press(radioWindow, 65);
    EXPECT_EQ(event.kind, kItemRadioButton);
    EXPECT_EQ(event.value, 2);
    EXPECT_EQ(radio.value, 2);
}

TEST_F(AppPanelItemsTest, DisabledItemsRaiseNothing)
{
    PboxItem push = Item(kPboxPushButton, 1, "実行");
    PboxItem check = Item(kPboxCheckButton, 2, "確認");
    PboxItem radio = Item(kPboxRadioButton, 3, "A,B,C");
    push.enabled = check.enabled = radio.enabled = 0;
    HWND windows[] = {Make(new CAppPanelButton(&event, &push), push, push.text),
                      Make(new CAppPanelCheckButton(&event, &check), check, check.text),
                      Make(new CAppPanelRadioButton(&event, &radio), radio, radio.text)};
    for (HWND window : windows) {
        ASSERT_NE(window, nullptr);
        Press(window, 65);
        EXPECT_EQ(event.code, 0);
        EXPECT_EQ(GetCapture(), nullptr);
    }
    EXPECT_EQ(check.value2, 0);
    EXPECT_EQ(radio.value, 0);
}

TEST_F(AppPanelItemsTest, EditCommitAndEscape)
{
    char text[257] = "12";
    PboxItem edit = Item(kPboxEdit, 4, text, 120);
    edit.textSize = sizeof text;
    HWND window = Make(new CAppPanelEditBox(&event, &edit), edit, edit.text);
    ASSERT_NE(window, nullptr);

    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    HWND typing = GetDlgItem(window, kPanelEditControlId);
    ASSERT_NE(typing, nullptr);
    SetWindowTextA(typing, "45");
    SendMessageA(typing, WM_KEYDOWN, VK_RETURN, 1);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(event.code, kEventPanelItem);
    EXPECT_EQ(event.kind, kItemEdit);
    EXPECT_EQ(event.item, 4);
    EXPECT_STREQ(edit.text, "45");
    EXPECT_FALSE(IsWindow(typing));

    event = InputEventRecord{};
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    typing = GetDlgItem(window, kPanelEditControlId);
    ASSERT_NE(typing, nullptr);
    SetWindowTextA(typing, "99");
    SendMessageA(typing, WM_KEYDOWN, VK_ESCAPE, 1);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(event.code, kEventEditEscape);
    EXPECT_EQ(event.kind, kItemEdit);
    EXPECT_STREQ(edit.text, "45") << "Esc keeps the text from before";
}

TEST_F(AppPanelItemsTest, ListRowsTakeTheNumberPrefix)
{
    int number = -1;
    auto rows = CAppPanelComboList::Rows("\n1\n***A,B,C", &number);
    EXPECT_EQ(number, 1);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], "***A");
    rows = CAppPanelComboList::Rows("\nbroken", &number);
    EXPECT_EQ(number, 0);
    rows = CAppPanelComboList::Rows("P,Q", &number);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(rows.size(), 2u);
}

}  // namespace
