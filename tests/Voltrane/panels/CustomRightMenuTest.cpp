#include "GTest.h"

#include <string>
#include <vector>

#include "commands/InputEvent.h"
#include "core/CadSystem.h"
#include "panels/AppPanelInputs.h"
#include "panels/ParameterPanelItems.h"
#include "panels/CustomRightMenu.h"
#include "panels/RightMenu.h"
#include "panels/RightMenuFile.h"
#include "panels/RightMenuPickList.h"

namespace {

struct Item {
    std::string caption;
    RECT rect;
    LONG command;
};

BOOL CALLBACK Collect(HWND child, LPARAM list)
{
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::string(className) != "RPMENU") return TRUE;
    char caption[256] = {};
    GetWindowTextA(child, caption, sizeof caption);
    RECT rc;
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
    reinterpret_cast<std::vector<Item>*>(list)->push_back({caption, rc, GetWindowLongA(child, kEntryCommand)});
    return TRUE;
}

std::vector<Item> Entries(HWND parent)
{
    std::vector<Item> items;
    EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&items));
    return items;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

class CustomRightMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instance = GetModuleHandleA(nullptr);
        ASSERT_EQ(RegisterRightMenuPopupClasses(instance), 1);
        ASSERT_EQ(CreateRightMenuPopup(nullptr, instance), 1);
        container = GetRightMenuContainer();
        GetRightMenuState() = RightMenuState();
    }
    void TearDown() override
    {
        CloseRightMenu();
        Pump();
        DestroyRightMenuPopup();
        UnregisterRightMenuPopupClasses(instance);
        GetCadSystem().config.LANGUAGE = 0;
        FreeRightMenuBuffer();
    }
    HINSTANCE instance = nullptr;
    HWND container = nullptr;
};

TEST_F(CustomRightMenuTest, ALongCaptionWidensItsColumnAndTheEntriesAboveIt)
{
    ResetCustomMenuLayout(197, 5);
    ASSERT_EQ(AppendCustomMenuItem(container, 0, 11, "ab"), 1);
    AppendCustomMenuItem(container, kCustomMenuSeparator, 0, "");
    AppendCustomMenuItem(container, 0, 12, "12345678901234567890");
    const std::vector<Item> items = Entries(container);
    ASSERT_EQ(items.size(), 3u);
    const struct {
        int top, height;
        LONG command;
    } expected[] = {{5, 14, 11}, {19, 7, kEntrySeparatorId}, {27, 14, 12}};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i].rect.left, 197) << i;
        EXPECT_EQ(items[i].rect.top, expected[i].top) << i;
        EXPECT_EQ(items[i].rect.bottom - items[i].rect.top, expected[i].height) << i;
        EXPECT_EQ(items[i].command, expected[i].command) << i;
    }
    for (const Item& item : items) EXPECT_EQ(item.rect.right - item.rect.left, 160) << item.caption;
    EXPECT_EQ(CurrentCustomMenuLayout().nextY, 41);
    EXPECT_EQ(CurrentCustomMenuLayout().lowestY, 41);
}

TEST_F(CustomRightMenuTest, AColumnBreakStartsANewColumnBehindASeparatorWindow)
{
    ResetCustomMenuLayout(2, 5);
    AppendCustomMenuItem(container, 0, 1, "abcd");
    AppendCustomMenuItem(container, 0, 2, "ef");
    HWND sub = CreateWindowExA(0, "MyRPitem", "", WS_POPUP, 0, 0, 132, 155, nullptr, nullptr, instance, nullptr);
    AppendCustomMenuItem(container, kCustomMenuColumnBreak | kCustomMenuPopup, reinterpret_cast<INT_PTR>(sub), "履歴");
    HWND separator = FindWindowExA(container, nullptr, "MyRTPitem", nullptr);
    ASSERT_NE(separator, nullptr);
    RECT rc;
    GetWindowRect(separator, &rc);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.left, 2 + 32);
    EXPECT_EQ(rc.top, 2);
    EXPECT_EQ(rc.right - rc.left, 5);
    EXPECT_EQ(rc.bottom - rc.top, 33 + 2);
    const std::vector<Item> items = Entries(container);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].rect.left, 39);
    EXPECT_EQ(items[2].rect.top, 5);
    EXPECT_EQ(items[2].command, kEntrySubmenuId);
    HWND entry = FindWindowExA(container, nullptr, "RPMENU", "履歴");
    EXPECT_EQ(reinterpret_cast<HWND>(GetWindowLongA(entry, kEntrySubPopup)), sub);
    // The submenu entry takes its sub-popup with it.
    DestroyWindow(entry);
    EXPECT_FALSE(IsWindow(sub));
}

TEST_F(CustomRightMenuTest, ThePopupStaysOnTheMonitorOfTheCursor)
{
    const RECT first = {0, 0, 1024, 768}, second = {1024, 0, 2048, 768};
    const struct {
        RECT monitor;
        POINT cursor;
        SIZE size;
        POINT at;
    } cases[] = {
        {first, {500, 300}, {200, 100}, {400, 298}},
        {first, {1000, 300}, {200, 100}, {824, 298}},   // right-aligned to the edge
        {first, {10, 300}, {200, 100}, {0, 298}},       // never left of the left edge
        {first, {500, 700}, {200, 100}, {400, 666}},    // lifted above the bottom
        {second, {1030, 760}, {200, 100}, {1024, 666}},
        {second, {2040, 10}, {300, 50}, {1748, 8}},
    };
    for (const auto& c : cases) {
        const POINT at = PlaceRightMenuPopup(c.cursor, c.size, c.monitor);
        EXPECT_EQ(at.x, c.at.x) << c.cursor.x << "," << c.cursor.y;
        EXPECT_EQ(at.y, c.at.y) << c.cursor.x << "," << c.cursor.y;
    }
    const struct {
        RECT entry;
        POINT at;
    } subs[] = {{{100, 50, 200, 64}, {205, 48}}, {{800, 50, 886, 64}, {891, 48}}, {{850, 50, 900, 64}, {733, 48}}};
    for (const auto& s : subs) {
        const POINT at = PlaceRightMenuSubPopup(s.entry, 1024);
        EXPECT_EQ(at.x, s.at.x) << s.entry.right;
        EXPECT_EQ(at.y, s.at.y) << s.entry.right;
    }
}

TEST_F(CustomRightMenuTest, CloseAnswersOneUntilThePostedCloseIsHandled)
{
    HWND layerPopup = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, instance, nullptr);
    SetLayerListPopupWindow(layerPopup);
    EXPECT_EQ(CloseRightMenu(), 0);
    EXPECT_FALSE(IsWindow(layerPopup));
    EXPECT_EQ(GetLayerListPopupWindow(), nullptr);

    ShowCustomRightMenu(nullptr);
    EXPECT_EQ(RightMenuPopupShown(), 1);
    EXPECT_TRUE(IsWindowVisible(container));
    EXPECT_FALSE(Entries(container).empty());
    EXPECT_EQ(CloseRightMenu(), 1);
    EXPECT_FALSE(IsWindowVisible(container));
    EXPECT_EQ(CloseRightMenu(), 1);
    Pump();
    EXPECT_EQ(RightMenuPopupShown(), 0);
    EXPECT_TRUE(Entries(container).empty());
    EXPECT_EQ(CloseRightMenu(), 0);
}

TEST_F(CustomRightMenuTest, HideMaskAndLanguageChooseTheEntriesWithoutACommand)
{
    ASSERT_EQ(AllocRightMenuBuffer(), 1);
    ASSERT_EQ(ParseRightMenuText("全体表示,1334\n[POPUP]群\n任意,1215\n[END]\n-,99999\n",
                                 const_cast<char*>(RightMenuParsedForm()), kRightMenuBufferSize),
              1);
    const struct {
        int hideMask;
        int language;
        std::vector<std::string> captions;
    } cases[] = {
        {0, 0, {"コマンド履歴", "", "全体表示", "群", "任意", "-"}},
        {0, 1, {"Stack Command", "", "全体表示", "群", "任意", "-"}},
        {kHideHistory, 0, {"全体表示", "群", "任意", "-"}},
        {kHideFileEntries, 0, {"コマンド履歴", ""}},
        {15, 0, {}},
    };
    for (const auto& c : cases) {
        GetRightMenuState().hideMask = c.hideMask;
        GetCadSystem().config.LANGUAGE = c.language;
        ShowCustomRightMenu(nullptr);
        std::vector<std::string> captions;
        for (const Item& item : Entries(container)) captions.push_back(item.caption);
        EXPECT_EQ(captions, c.captions) << c.hideMask << " " << c.language;
        CloseRightMenu();
        Pump();
    }
}

TEST_F(CustomRightMenuTest, MenuModeZeroShowsNothingAndEnterModeOpensOnlyForADrag)
{
    const int savedMode = GetCadSystem().config.menu.RightMenuMode;
    const struct {
        int menuMode, enterMode, forced, shown;
    } cases[] = {{0, 0, 0, 0}, {0, 0, 1, 0}, {1, 1, 0, 0}, {1, 1, 1, 1}, {1, 0, 0, 1}, {2, 0, 0, 1}};
    for (const auto& c : cases) {
        GetCadSystem().config.menu.RightMenuMode = c.menuMode;
        SetRightClickEnterMode(c.enterMode);
        ShowRightMenu(nullptr, 0, c.forced);
        EXPECT_EQ(RightMenuPopupShown(), c.shown) << c.menuMode << " " << c.enterMode << " " << c.forced;
        CloseRightMenu();
        Pump();
    }
    // Mode 1 switches the panel's items off; another mode keeps the command's switch.
    EnableRightMenuPickList(1);
    GetCadSystem().config.menu.RightMenuMode = 1;
    SetRightClickEnterMode(1);
    ShowRightMenu(nullptr, 0, 0);
    EXPECT_EQ(GetRightMenuState().pickSwitch, 0);
    SetRightClickEnterMode(0);
    GetCadSystem().config.menu.RightMenuMode = savedMode;
}

// The popup's OK and Cancel (its Enter and Esc) end the typing open in a panel item as the keys
// would: OK takes the typed text, Cancel puts back the one from before.
TEST_F(CustomRightMenuTest, OkAndCancelOfThePopupEndTheOpenTypingOfAnItem)
{
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    SetForegroundWindow(owner);
    const struct {
        WPARAM command;
        int code;
        const char* text;
    } cases[] = {{IDOK, kEventPanelItem, "45"}, {IDCANCEL, kEventEditEscape, "12"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        InputEventRecord event = {};
        char text[257] = "12";
        PboxItem item;
        item.type = kPboxEdit;
        item.id = 4;
        item.text = text;
        item.textSize = sizeof text;
        CAppPanelEditBox edit(&event, &item);
        RECT rc = {0, 0, 120, 20};
        HWND window = CreatePanelItemWindow(&edit, owner, rc, 4, text);
        ASSERT_NE(window, nullptr);
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        HWND typing = GetDlgItem(window, kPanelEditControlId);
        ASSERT_NE(typing, nullptr);
        ASSERT_EQ(GetFocus(), typing);
        SetWindowTextA(typing, "45");
        SendMessageA(container, WM_COMMAND, c.command, 0);
        Pump();
        EXPECT_FALSE(IsWindow(typing));
        EXPECT_EQ(event.code, c.code);
        EXPECT_STREQ(text, c.text);
        DestroyWindow(window);
    }
    DestroyWindow(owner);
}

}  // namespace
