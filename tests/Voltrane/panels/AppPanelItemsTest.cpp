// The item windows driven by real messages in a window of the test's own: the events they
// write, their kinds and values, and what disabled items do.
#include "GTest.h"

#include <imm.h>

#include <functional>
#include <string>
#include <vector>

#include "../core/SettingsSandbox.h"
#include "HostMessages.h"
#include "PanelEventSource.h"
#include "commands/InputEvent.h"
#include "commands/InputHistory.h"
#include "commands/InputWaitLoop.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "dialogs/Calculator.h"
#include "dialogs/CalculatorState.h"
#include "panels/AppPanelInputs.h"
#include "panels/AppPanelItems.h"
#include "panels/PanelComboDropDown.h"
#include "panels/RightMenu.h"
#include "panels/RightMenuPickList.h"
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

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
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

TEST_F(AppPanelItemsTest, PushReleaseEndsTheRightClickPopupsMark)
{
    PboxItem push = Item(kPboxPushButton, 1, "実行");
    HWND window = Make(new CAppPanelButton(&event, &push), push, push.text);
    ASSERT_NE(window, nullptr);
    GetRightMenuState().popupShown = 1;
    // A release without a press first leaves the popup as it is.
    SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(RightMenuPopupShown(), 1);
    Press(window, 5);
    EXPECT_EQ(RightMenuPopupShown(), 0);
    EXPECT_EQ(event.kind, kItemPushButton);
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

TEST_F(AppPanelItemsTest, DropDownPlacementFollowsTheRoomBelowTheField)
{
    const RECT field = {100, 400, 220, 420};
    const struct {
        int screen;
        RECT initial, final;
    } cases[] = {
        {1024, {100, 420, 220, 600}, {100, 420, 220, 620}},   // room below
        {519, {100, 220, 220, 420}, {100, 420, 220, 519}},    // under 100 below: above at first, then to the edge
        {610, {100, 420, 220, 590}, {100, 420, 220, 610}},    // under 200 below
        {480, {100, 220, 220, 420}, {100, 220, 220, 420}},    // under 70 below: above
        {620, {100, 420, 220, 600}, {100, 420, 220, 620}},    // exactly 200 below
    };
    for (const auto& c : cases) {
        const RECT initial = PanelDropDownInitialRect(field, c.screen);
        const RECT final = PanelDropDownFinalRect(field, c.screen);
        EXPECT_TRUE(EqualRect(&initial, &c.initial)) << c.screen << ": " << initial.top << "-" << initial.bottom;
        EXPECT_TRUE(EqualRect(&final, &c.final)) << c.screen << ": " << final.top << "-" << final.bottom;
    }
}

TEST_F(AppPanelItemsTest, ComboButtonOpensTheDropDownAndAPickCommits)
{
    PboxItem combo = Item(kPboxCombo, 6, "甲,乙,丙", 120);
    DbcsCopy(combo.text2, sizeof combo.text2, "甲");
    HWND window = Make(new CAppPanelComboBox(&event, &combo), combo, combo.text2);
    ASSERT_NE(window, nullptr);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "AppPanelComboBox");

    // Left of the button: the typing field; on it (the right 19 pixels): the drop-down.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 5));
    HWND typing = GetDlgItem(window, kPanelEditControlId);
    EXPECT_NE(typing, nullptr);
    EXPECT_EQ(PanelComboDropDownWindow(), nullptr);
    if (typing != nullptr) DestroyWindow(typing);

    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 5));
    HWND dropDown = PanelComboDropDownWindow();
    ASSERT_NE(dropDown, nullptr);
    HWND list = GetDlgItem(dropDown, kPanelDropDownListId);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    RECT field, placed;
    GetWindowRect(window, &field);
    GetWindowRect(dropDown, &placed);
    EXPECT_EQ(placed.left, field.left);
    EXPECT_EQ(placed.right - placed.left, field.right - field.left);

    // Esc closes it with nothing picked.
    SendMessageA(list, WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    EXPECT_EQ(PanelComboDropDownWindow(), nullptr);
    EXPECT_EQ(event.code, 0);
    EXPECT_STREQ(combo.text2, "甲");

    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 5));
    dropDown = PanelComboDropDownWindow();
    ASSERT_NE(dropDown, nullptr);
    list = GetDlgItem(dropDown, kPanelDropDownListId);
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    SendMessageA(list, WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_EQ(PanelComboDropDownWindow(), nullptr);
    EXPECT_EQ(event.code, kEventPanelItem);
    EXPECT_EQ(event.kind, kItemComboBox);
    EXPECT_EQ(event.item, 6);
    EXPECT_STREQ(combo.text2, "丙");
    char shown[16] = {};
    GetWindowTextA(window, shown, sizeof shown);
    EXPECT_STREQ(shown, "丙");
}

// A window that never takes the activation or the focus, so a press on it leaves the drop-down's
// list focused: only the press itself can close the drop-down.
int g_pressesOnBystander = 0;
LRESULT CALLBACK BystanderProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
    if (msg == WM_LBUTTONDOWN) ++g_pressesOnBystander;
    return DefWindowProcA(window, msg, wParam, lParam);
}

// Presses and releases the real left button at a screen point.
void RealClick(POINT at)
{
    SetCursorPos(at.x, at.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

bool PumpUntil(const std::function<bool()>& done)
{
    const DWORD end = GetTickCount() + 20000;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (static_cast<int>(end - GetTickCount()) <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

TEST_F(AppPanelItemsTest, APressOutsideClosesTheDropDownAndAPressOnARowPicks)
{
    PboxItem combo = Item(kPboxCombo, 8, "甲,乙,丙", 120);
    DbcsCopy(combo.text2, sizeof combo.text2, "甲");
    HWND window = Make(new CAppPanelComboBox(&event, &combo), combo, combo.text2);
    ASSERT_NE(window, nullptr);
    ShowWindow(parent, SW_SHOWNOACTIVATE);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BystanderProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DropDownBystander";
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    RegisterClassA(&wc);
    HWND bystander = CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 250,
                                     100, 100, 60, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(bystander, nullptr);
    g_pressesOnBystander = 0;
    // The pointer ends in the screen's far corner, away from the windows later tests make.
    struct PointerAway {
        ~PointerAway() { SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1); }
    } pointerAway;

    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 5));
    HWND dropDown = PanelComboDropDownWindow();
    ASSERT_NE(dropDown, nullptr);
    HWND list = GetDlgItem(dropDown, kPanelDropDownListId);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == list; }));

    RealClick(POINT{300, 130});
    EXPECT_TRUE(PumpUntil([] { return PanelComboDropDownWindow() == nullptr; })) << "a press elsewhere closes it";
    EXPECT_EQ(g_pressesOnBystander, 1) << "the press still reaches its window";
    EXPECT_EQ(event.code, 0);
    EXPECT_STREQ(combo.text2, "甲");

    // A press on a row of its own list is no press outside: the release picks the row.
    SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(110, 5));
    dropDown = PanelComboDropDownWindow();
    ASSERT_NE(dropDown, nullptr);
    list = GetDlgItem(dropDown, kPanelDropDownListId);
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == list; }));
    RECT row = {};
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row)), LB_ERR);
    POINT at = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ClientToScreen(list, &at);
    RealClick(at);
    EXPECT_TRUE(PumpUntil([&] { return PanelComboDropDownWindow() == nullptr && event.code != 0; }));
    EXPECT_EQ(event.kind, kItemComboBox);
    EXPECT_STREQ(combo.text2, "乙");
    DestroyWindow(bystander);
}

TEST_F(AppPanelItemsTest, ListPickRaisesEveryPickAlsoOfTheRowAlreadyChosen)
{
    PboxItem list = Item(kPboxList, 7, "A,B,C", 120);
    HWND window = Make(new CAppPanelComboList(&event, &list), list, list.text);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(list.listWindow, nullptr);
    auto pick = [&](int row) {
        SendMessageA(list.listWindow, CB_SETCURSEL, row, 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(kPanelListControlId, CBN_CLOSEUP), reinterpret_cast<LPARAM>(list.listWindow));
    };
    pick(2);
    EXPECT_EQ(event.kind, kItemList);
    EXPECT_EQ(event.value, 2);
    EXPECT_EQ(list.value, 2);
    event = InputEventRecord{};
    pick(2);
    EXPECT_EQ(event.code, kEventPanelItem);
    EXPECT_EQ(event.kind, kItemList);
    EXPECT_EQ(event.value, 2);
    // Closed with nothing selected: no pick.
    event = InputEventRecord{};
    pick(-1);
    EXPECT_EQ(event.code, 0);
}

// A command waiting for a pick hears the row that was already chosen, picked again.
TEST_F(AppPanelItemsTest, PickingTheChosenRowAgainEndsTheWaitOfACommand)
{
    HWND source = CreatePanelEventSource();
    ASSERT_NE(source, nullptr);
    const InputEventRecord saved = GetInputEventRecord();
    PboxItem list = Item(kPboxList, 7, "A,B,C", 120);
    list.value = 2;
    HWND window = Make(new CAppPanelComboList(&GetInputEventRecord(), &list), list, list.text);
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(SendMessageA(list.listWindow, CB_GETCURSEL, 0, 0), 2);

    // The list closes on its chosen row; a later event of another item would end the wait too.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(kPanelListControlId, CBN_CLOSEUP), reinterpret_cast<LPARAM>(list.listWindow));
    PostMessageA(source, kRaisePanelEvent, 999, 0);
    GetInputEventRecord() = InputEventRecord{};
    GetInputEventRecord().acceptMask = kAcceptPanelItem;
    InputWaitRecord record = {};
    EXPECT_EQ(WaitUserInput(nullptr, &record), kWaitPanelItem);
    EXPECT_EQ(record.item, 7);
    EXPECT_EQ(record.kind, kItemList);
    EXPECT_EQ(record.value, 2);
    Pump();
    GetInputEventRecord() = saved;
    DestroyWindow(source);
}

void WINAPI RowDrawnByTheProgram(DRAWITEMSTRUCT* drawItem) { drawItem->itemData = 0x5A5A; }

TEST_F(AppPanelItemsTest, OwnerDrawnRowsCallOnlyAFunctionOfALoadedPlugin)
{
    PboxItem list = Item(kPboxList, 8, "A,B", 120);
    list.rowDrawing = 1;
    list.value2 = static_cast<int>(reinterpret_cast<INT_PTR>(&RowDrawnByTheProgram));
    HWND window = Make(new CAppPanelComboList(&event, &list), list, list.text);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(GetWindowLongA(list.listWindow, GWL_STYLE) & CBS_OWNERDRAWFIXED, 0);

    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 14);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DRAWITEMSTRUCT drawItem = {};
    drawItem.CtlType = ODT_COMBOBOX;
    drawItem.itemID = 1;
    drawItem.hwndItem = list.listWindow;
    drawItem.hDC = dc;
    drawItem.rcItem = {0, 0, 120, 14};
    // An address in the program itself is no plug-in's: the row is drawn as text.
    EXPECT_EQ(SendMessageA(window, WM_DRAWITEM, kPanelListControlId, reinterpret_cast<LPARAM>(&drawItem)), 1);
    EXPECT_EQ(drawItem.itemData, 0u);
    EXPECT_EQ(GetPixel(dc, 100, 7), GetSysColor(COLOR_WINDOW));
    // A list added without a drawing function never treats value2 as one.
    list.rowDrawing = 0;
    CAppPanelComboList::DrawRow(list, &drawItem);
    EXPECT_EQ(drawItem.itemData, 0u);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

// Clicks on the items while a numeric field's calculator is open: played by a timer inside the
// calculator's own loop.
struct CalculatorOpenClicks {
    std::vector<HWND> items;
    int codeSeen = -1;
    bool played = false;
};
CalculatorOpenClicks* g_clicks = nullptr;

void CALLBACK ClickWhileCalculatorOpen(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (g_clicks == nullptr || g_clicks->played || !IsCalculatorOpen()) return;
    g_clicks->played = true;
    KillTimer(nullptr, timer);
    for (HWND item : g_clicks->items) {
        SendMessageA(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 5));
        SendMessageA(item, WM_LBUTTONUP, 0, MAKELPARAM(70, 5));
    }
    g_clicks->codeSeen = GetInputEventRecord().code;
    for (HWND top = GetTopWindow(nullptr); top != nullptr; top = GetWindow(top, GW_HWNDNEXT)) {
        char name[32] = {};
        GetClassNameA(top, name, sizeof name);
        DWORD process = 0;
        GetWindowThreadProcessId(top, &process);
        if (process == GetCurrentProcessId() && std::string(name) == "DENTAKU")
            PostMessageA(top, WM_COMMAND, kCalcKeyCancel, 0);
    }
}

TEST_F(AppPanelItemsTest, ClicksWhileTheCalculatorIsOpenAreIgnored)
{
    RegisterCalculatorClass(GetModuleHandleA(nullptr));
    LocalSettingsLive& settings = GetLocalSettingsLive();
    const int savedPad = settings.setup.bDspNumDlgFg;
    settings.setup.bDspNumDlgFg = 1;

    PboxItem push = Item(kPboxPushButton, 1, "実行");
    PboxItem check = Item(kPboxCheckButton, 2, "確認");
    PboxItem radio = Item(kPboxRadioButton, 3, "A,B,C");
    char text[257] = "12";
    PboxItem numeric = Item(kPboxEdit, 4, text, 120);
    numeric.textSize = sizeof text;
    numeric.userValue = 3;
    // The items report to the program's record here, which the timer reads.
    InputEventRecord& record = GetInputEventRecord();
    record = InputEventRecord{};
    CalculatorOpenClicks clicks;
    clicks.items = {Make(new CAppPanelButton(&record, &push), push, push.text),
                    Make(new CAppPanelCheckButton(&record, &check), check, check.text),
                    Make(new CAppPanelRadioButton(&record, &radio), radio, radio.text)};
    HWND field = Make(new CAppPanelEditBox(&record, &numeric), numeric, numeric.text);
    ASSERT_NE(field, nullptr);
    clicks.items.push_back(field);
    g_clicks = &clicks;
    SetTimer(nullptr, 0, 50, ClickWhileCalculatorOpen);
    SendMessageA(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    g_clicks = nullptr;
    settings.setup.bDspNumDlgFg = savedPad;

    EXPECT_TRUE(clicks.played);
    EXPECT_EQ(clicks.codeSeen, 0);
    EXPECT_EQ(record.code, 0) << "a cancelled calculator raises nothing";
    EXPECT_EQ(check.value2, 0);
    EXPECT_EQ(radio.value, 0);
    EXPECT_STREQ(numeric.text, "12");
    record = InputEventRecord{};
}

// ---- the typing field laid over an edit or combo item ----

bool InputMethodOpen(HWND window)
{
    HIMC context = ImmGetContext(window);
    const bool open = context != nullptr && ImmGetOpenStatus(context) != FALSE;
    if (context != nullptr) ImmReleaseContext(window, context);
    return open;
}

void SetInputMethod(HWND window, bool open)
{
    HIMC context = ImmGetContext(window);
    ASSERT_NE(context, nullptr);
    ImmSetOpenStatus(context, open ? TRUE : FALSE);
    ImmReleaseContext(window, context);
}

// A main frame of the test's own: it counts the requests to hand the focus back.
int g_focusRequests = 0;
LRESULT CALLBACK FocusCountingFrameProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CAD_FOCUS_INPUT) ++g_focusRequests;
    return DefWindowProcA(window, msg, wParam, lParam);
}

class InPlaceEditTest : public AppPanelItemsTest {
protected:
    void SetUp() override
    {
        AppPanelItemsTest::SetUp();
        WNDCLASSA wc = {};
        wc.lpfnWndProc = FocusCountingFrameProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "InPlaceEditTestFrame";
        RegisterClassA(&wc);
        frame = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(frame, nullptr);
        savedFrame = GetMainFrameWnd();
        SetMainFrameWnd(frame);
        g_focusRequests = 0;
        // The typing field takes the focus only in a shown, active window.
        ShowWindow(parent, SW_SHOW);
        SetForegroundWindow(parent);
        SetActiveWindow(parent);
    }
    void TearDown() override
    {
        SetMainFrameWnd(savedFrame);
        DestroyWindow(frame);
        AppPanelItemsTest::TearDown();
    }
    // Opens the typing field of an edit or combo item with a click on its text.
    static HWND Typing(HWND window)
    {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        return GetDlgItem(window, kPanelEditControlId);
    }
    // An edit item over the text buffer, and its window.
    HWND MakeEdit(PboxItem& edit, char* text, size_t size)
    {
        edit = Item(kPboxEdit, 4, text, 120);
        edit.textSize = size;
        return Make(new CAppPanelEditBox(&event, &edit), edit, edit.text);
    }
    static std::string TextOf(HWND window)
    {
        char text[300] = {};
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    HWND frame = nullptr;
    HWND savedFrame = nullptr;
};

// User value 7 switches the input method on for the typing and off again after it; any other
// plain field switches it off.
TEST_F(InPlaceEditTest, TypingSwitchesTheInputMethodOnOnlyForUserValueSeven)
{
    const struct {
        int type;
        int userValue;
        bool on;
    } cases[] = {{kPboxEdit, 7, true}, {kPboxEdit, 0, false}, {kPboxCombo, 7, true}, {kPboxCombo, 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + std::to_string(c.userValue));
        char text[257] = "abc";
        PboxItem item = Item(c.type, 4, text, 120);
        item.textSize = sizeof text;
        item.userValue = c.userValue;
        DbcsCopy(item.text2, sizeof item.text2, "abc");
        CPboxItemView* view = c.type == kPboxEdit ? static_cast<CPboxItemView*>(new CAppPanelEditBox(&event, &item))
                                                  : new CAppPanelComboBox(&event, &item);
        HWND window = Make(view, item, "abc");
        ASSERT_NE(window, nullptr);
        SetInputMethod(parent, !c.on);
        HWND typing = Typing(window);
        ASSERT_NE(typing, nullptr);
        ASSERT_EQ(GetFocus(), typing);
        EXPECT_EQ(InputMethodOpen(typing), c.on);
        SendMessageA(typing, WM_KEYDOWN, VK_RETURN, 1);
        Pump();
        EXPECT_FALSE(IsWindow(typing));
        EXPECT_FALSE(InputMethodOpen(parent)) << "the input method goes off after the typing";
        DestroyWindow(window);
    }
}

// Enter and Esc forwarded as commands carrying 13 or 27 (the right-click popup's OK and
// Cancel do so) end the typing as the keys do.
TEST_F(InPlaceEditTest, CommandsCarryingThirteenOrTwentySevenActAsEnterOrEsc)
{
    const struct {
        UINT message;
        WPARAM key;
        int code;
        const char* text;
    } cases[] = {
        {WM_COMMAND, 13, kEventPanelItem, "45"},
        {WM_COMMAND, 27, kEventEditEscape, "12"},
        {kPanelEditKeyMessage, 13, kEventPanelItem, "45"},
        {kPanelEditKeyMessage, 27, kEventEditEscape, "12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.message) + " " + std::to_string(c.key));
        char text[257] = "12";
        PboxItem edit;
        HWND window = MakeEdit(edit, text, sizeof text);
        ASSERT_NE(window, nullptr);
        event = InputEventRecord{};
        HWND typing = Typing(window);
        ASSERT_NE(typing, nullptr);
        SetWindowTextA(typing, "45");
        PostMessageA(typing, c.message, c.key, 0);
        Pump();
        EXPECT_FALSE(IsWindow(typing));
        EXPECT_EQ(event.code, c.code);
        EXPECT_EQ(event.kind, kItemEdit);
        EXPECT_STREQ(edit.text, c.text);
        DestroyWindow(window);
    }
}

// Plays the history menu shown by a right click: records its entries and picks the first or
// closes it.
struct HistoryMenuPlay {
    bool pick = false;
    std::vector<std::string> entries;
    bool seen = false;
};
HistoryMenuPlay* g_menuPlay = nullptr;

void CALLBACK PlayHistoryMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (menuWindow == nullptr || !IsWindowVisible(menuWindow) || g_menuPlay == nullptr || g_menuPlay->seen) return;
    KillTimer(nullptr, timer);
    g_menuPlay->seen = true;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
        char text[64] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        g_menuPlay->entries.push_back(text);
    }
    if (g_menuPlay->pick) PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menuWindow, WM_KEYDOWN, g_menuPlay->pick ? VK_RETURN : VK_ESCAPE, 0);
}

// A right click in the typing cancels it and offers the item's own input history; a pick from
// the menu becomes the item's text as a typed one would.
TEST_F(InPlaceEditTest, ARightClickInTheTypingCancelsItAndOffersTheItemsHistory)
{
    SettingsSandbox sandbox;
    AddInputHistory("12.5", "右履歴");
    AddInputHistory("30", "右履歴");
    const struct {
        bool pick;
        int code;
        const char* text;
    } cases[] = {{true, kEventPanelItem, "30"}, {false, kEventEditEscape, "7"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pick ? "picked" : "closed");
        char text[257] = "7";
        PboxItem edit;
        HWND window = MakeEdit(edit, text, sizeof text);
        DbcsCopy(edit.label, sizeof edit.label, "右履歴");
        ASSERT_NE(window, nullptr);
        event = InputEventRecord{};
        HWND typing = Typing(window);
        ASSERT_NE(typing, nullptr);
        SetWindowTextA(typing, "99");
        HistoryMenuPlay play;
        play.pick = c.pick;
        g_menuPlay = &play;
        SetTimer(nullptr, 0, 50, PlayHistoryMenu);
        SendMessageA(typing, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 5));
        g_menuPlay = nullptr;
        Pump();
        EXPECT_TRUE(play.seen) << "no history menu";
        EXPECT_EQ(play.entries, (std::vector<std::string>{"30", "12.5"}));
        EXPECT_FALSE(IsWindow(typing));
        EXPECT_EQ(event.code, c.code);
        EXPECT_STREQ(edit.text, c.text) << "the typed 99 is never taken";
        DestroyWindow(window);
    }
}

// A combo's typing holds the mouse: a click outside it, or the loss of the focus, ends it without
// changing the field and asks the main frame to take the focus back. The right-click copy's field
// starts from the text of the field it copies; a field of its own from the text it shows, not
// from another field's last text.
TEST_F(InPlaceEditTest, AComboTypingHoldsTheMouseAndStartsFromTheRightText)
{
    PboxItem source = Item(kPboxCombo, 6, "甲,乙", 120);
    DbcsCopy(source.text2, sizeof source.text2, "源");
    auto* sourceView = new CAppPanelComboBox(&event, &source);
    ASSERT_NE(Make(sourceView, source, source.text2), nullptr);
    PboxItem copy = Item(kPboxCombo, 6, "甲,乙", 120);
    copy.y = 30;
    DbcsCopy(copy.text2, sizeof copy.text2, "旧");
    auto* copyView = new CAppPanelComboBox(&event, &copy);
    HWND copyWindow = Make(copyView, copy, copy.text2);
    ASSERT_NE(copyWindow, nullptr);
    copyView->SetTwin(sourceView);

    HWND typing = Typing(copyWindow);
    ASSERT_NE(typing, nullptr);
    EXPECT_EQ(TextOf(typing), "源");
    ASSERT_EQ(GetFocus(), typing);
    EXPECT_EQ(GetCapture(), typing);
    // A press inside keeps the typing and the hold.
    SendMessageA(typing, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageA(typing, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(GetCapture(), typing);
    Pump();
    EXPECT_EQ(g_focusRequests, 0);
    // A press outside ends it, unchanged, and asks the frame to take the focus back.
    SetWindowTextA(typing, "捨");
    SendMessageA(typing, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-20, 200));
    Pump();
    EXPECT_EQ(g_focusRequests, 1);
    EXPECT_FALSE(IsWindow(typing));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_STREQ(copy.text2, "旧");
    EXPECT_EQ(event.code, 0);
    // So does the loss of the focus.
    typing = Typing(copyWindow);
    ASSERT_NE(typing, nullptr);
    SetFocus(parent);
    Pump();
    EXPECT_FALSE(IsWindow(typing));
    EXPECT_EQ(g_focusRequests, 2);
    EXPECT_STREQ(copy.text2, "旧");
    EXPECT_EQ(event.code, 0);

    // A commit in one field of its own, then the typing of another starts from its own text.
    PboxItem other = Item(kPboxCombo, 8, "x", 120);
    other.y = 60;
    DbcsCopy(other.text2, sizeof other.text2, "自");
    HWND otherWindow = Make(new CAppPanelComboBox(&event, &other), other, other.text2);
    ASSERT_NE(otherWindow, nullptr);
    typing = Typing(copyWindow);
    ASSERT_NE(typing, nullptr);
    SetWindowTextA(typing, "他");
    SendMessageA(typing, WM_KEYDOWN, VK_RETURN, 1);
    Pump();
    EXPECT_STREQ(copy.text2, "他");
    EXPECT_EQ(event.kind, kItemComboBox);
    typing = Typing(otherWindow);
    ASSERT_NE(typing, nullptr);
    EXPECT_EQ(TextOf(typing), "自");
    // Esc only closes a combo's typing.
    event = InputEventRecord{};
    SetWindowTextA(typing, "捨");
    SendMessageA(typing, WM_KEYDOWN, VK_ESCAPE, 1);
    Pump();
    EXPECT_FALSE(IsWindow(typing));
    EXPECT_STREQ(other.text2, "自");
    EXPECT_EQ(event.code, 0);
}

}  // namespace
