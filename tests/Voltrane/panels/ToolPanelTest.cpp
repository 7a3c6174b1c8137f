#include "GTest.h"

#include <windows.h>

#include <string>
#include <vector>

#include "controls/LayerPicker.h"
#include "controls/PickerField.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "panels/CoordinateTexts.h"
#include "panels/DrawingAttributes.h"
#include "WinKit/AppModule.h"
#include "WinKit/MessageLoop.h"
#include "panels/LineSettingsDialog.h"
#include "panels/SnapModes.h"
#include "panels/ToolPanel.h"
#include "view/ViewServices.h"

namespace {

TEST(DrawingAttributesTest, APickerRowBecomesItsAttributeAndTheColourCountsFromOne)
{
    const struct {
        int id, row;
        DrawingAttributes expected;
    } cases[] = {{kPickerColour, 0, {1, 0, 0, 0, 0}},   {kPickerColour, 255, {256, 0, 0, 0, 0}},
                 {kPickerLineType, 7, {0, 7, 0, 0, 0}}, {kPickerWidth, 15, {0, 0, 15, 0, 0}},
                 {kPickerStartMark, 3, {0, 0, 0, 3, 0}}, {kPickerEndMark, 14, {0, 0, 0, 0, 14}}};
    for (const auto& c : cases) {
        DrawingAttributes a = {0, 0, 0, 0, 0};
        EXPECT_TRUE(StorePickerRow(a, c.id, c.row)) << c.id;
        EXPECT_EQ(a.colour, c.expected.colour) << c.id;
        EXPECT_EQ(a.lineType, c.expected.lineType) << c.id;
        EXPECT_EQ(a.lineWidth, c.expected.lineWidth) << c.id;
        EXPECT_EQ(a.startMark, c.expected.startMark) << c.id;
        EXPECT_EQ(a.endMark, c.expected.endMark) << c.id;
    }
    DrawingAttributes a = {5, 5, 5, 5, 5};
    EXPECT_FALSE(StorePickerRow(a, 3312, 1));
    EXPECT_EQ(a.colour, 5);
    PDBINFO block = {};
    AttributesOfBlock(block).lineWidth = 9;
    EXPECT_EQ(block.lineWidth, 9);
}

TEST(ToolPanelPaperTest, APaperCodeWithoutARowIsOther)
{
    EXPECT_EQ(ToolPanelPaperName(0x7777), "その他");
    EXPECT_EQ(ToolPanelPaperName(0), "その他") << "the free-size row is not looked at";
}

// The panel in a pane of its own, with the settings it reads put back afterwards.
class ToolPanelWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedLive = GetLocalSettingsLive();
        savedMode = GetCadSystem().localWindow.ToolPanelDispMode;
        savedDigits = GetCadSystem().config.DEGIT;
        savedDefault = DefaultDrawingAttributes();
        RegisterLayerPickerClasses(GetModuleHandleA(nullptr));
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "ToolPanelTestPane";
        RegisterClassA(&wc);
        pane = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 240, 600, nullptr, nullptr, wc.hInstance,
                               nullptr);
        ASSERT_NE(pane, nullptr);
    }
    void TearDown() override
    {
        if (panel.m_hWnd != nullptr) DestroyWindow(panel.m_hWnd);
        if (pane != nullptr) DestroyWindow(pane);
        GetLocalSettingsLive() = savedLive;
        GetCadSystem().localWindow.ToolPanelDispMode = savedMode;
        GetCadSystem().config.DEGIT = savedDigits;
        DefaultDrawingAttributes() = savedDefault;
    }
    void Open(int groups, int snapWord)
    {
        GetCadSystem().localWindow.ToolPanelDispMode = groups;
        GetLocalSettingsLive().setup.LMsFg = snapWord;
        RECT rc = {0, 0, 240, 600};
        ASSERT_NE(panel.Create(pane, &rc, nullptr, WS_CHILD | WS_VISIBLE, 0, reinterpret_cast<HMENU>(200)), nullptr);
        ASSERT_EQ(GetToolPanelWindow(), panel.m_hWnd);
    }
    // The control's top left in the panel, or (-1, -1) when it does not exist.
    POINT Place(int id)
    {
        HWND child = GetDlgItem(panel.m_hWnd, id);
        if (child == nullptr) return {-1, -1};
        RECT r;
        GetWindowRect(child, &r);
        POINT p = {r.left, r.top};
        ScreenToClient(panel.m_hWnd, &p);
        return p;
    }
    LONG Checked(int id) { return GetWindowLongA(GetDlgItem(panel.m_hWnd, id), kPanelButtonChecked); }
    std::string Text(int id)
    {
        char text[128] = {};
        GetDlgItemTextA(panel.m_hWnd, id, text, sizeof text);
        return text;
    }

    LocalSettingsLive savedLive;
    int savedMode = 0, savedDigits = 0;
    DrawingAttributes savedDefault = {};
    HWND pane = nullptr;
    CToolPanel panel;
};

TEST_F(ToolPanelWindowTest, AllFourGroupsAreBuiltWithTheirSeparators)
{
    Open(0xF, 0x60);
    const int expected[] = {19, 75, 240, 327, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(panel.Layout().separators[i], expected[i]) << i;
    const struct {
        int id, x, y;
    } places[] = {{3771, 33, 0}, {8000, 47, 24}, {5001, 3, 84},  {5003, 83, 153}, {3310, 3, 176}, {3314, 97, 176},
                  {3405, 3, 249}, {3404, 97, 295}, {3408, 3, 336}, {3409, 97, 382}};
    for (const auto& p : places) {
        const POINT at = Place(p.id);
        EXPECT_EQ(at.x, p.x) << p.id;
        EXPECT_EQ(at.y, p.y) << p.id;
    }
    EXPECT_EQ(Text(3408), "属性取込");
    EXPECT_EQ(Checked(3410), 1);
    EXPECT_EQ(Checked(3411), 1);
    EXPECT_EQ(Checked(3405), 0);
}

TEST_F(ToolPanelWindowTest, GroupThreeAloneStartsAtTheTopAndFollowsTheLockSetting)
{
    for (int lock : {0, 1}) {
        SCOPED_TRACE(lock);
        GetLocalSettingsLive().iLockBtnSnapNINNITEN = lock;
        Open(0x4 | 0x30, 0x08);
        EXPECT_EQ(panel.Layout().separators[0], 0);
        EXPECT_EQ(Place(3405).y, 2);
        EXPECT_EQ(Place(8000).y, -1);
        EXPECT_EQ(Place(5001).y, -1);
        EXPECT_EQ(Place(3408).y, -1);
        ASSERT_NE(panel.Button(3405), nullptr);
        EXPECT_EQ(panel.Button(3405)->Locked(), lock);
        EXPECT_EQ(panel.Button(3410)->Locked(), 0);
        DestroyWindow(panel.m_hWnd);
    }
}

TEST_F(ToolPanelWindowTest, SnapButtonsToggleTheWordAndTheCopyGoesBackAtTheEnd)
{
    Open(0xF, 0x20);
    const struct {
        int id;
        int word;
    } steps[] = {{3410, 0x20}, {3411, 0x60}, {3410, 0x40}, {3402, 0x60}, {3404, 0x64}, {3418, 0x74}, {3412, 0xF4}};
    for (const auto& s : steps) {
        SendMessageA(panel.m_hWnd, WM_COMMAND, static_cast<WPARAM>(s.id), 0);
        EXPECT_EQ(GetLocalSettingsLive().setup.LMsFg, s.word) << s.id;
        EXPECT_EQ(panel.snapModes, s.word) << s.id;
    }
    EXPECT_EQ(Checked(3410), 1);
    EXPECT_EQ(Checked(3405), 0);
    EXPECT_EQ(Checked(3412), 1);
    // The popup's path toggles through the panel, so the copy stays in step.
    ToggleSnapButton(3405);
    EXPECT_EQ(panel.snapModes, 0xFC);
    EXPECT_EQ(Checked(3405), 1);
    GetLocalSettingsLive().setup.LMsFg = 1;
    DestroyWindow(panel.m_hWnd);
    EXPECT_EQ(GetLocalSettingsLive().setup.LMsFg, 0xFC);
    EXPECT_EQ(GetToolPanelWindow(), nullptr);
}

TEST_F(ToolPanelWindowTest, SyncingFromTheSettingKeepsThePanelCopy)
{
    Open(0xF, 0x20);
    GetLocalSettingsLive().iLockBtnSnapNINNITEN = 1;
    GetLocalSettingsLive().setup.LMsFg = 0x01;
    SyncSnapButtons();
    EXPECT_EQ(GetLocalSettingsLive().setup.LMsFg, 0x68);
    EXPECT_EQ(panel.snapModes, 0x68);
    EXPECT_EQ(Checked(3405), 1);
    EXPECT_EQ(Checked(3410), 1);
    EXPECT_EQ(Checked(3411), 1);
    EXPECT_EQ(Checked(3404), 0);
}

TEST_F(ToolPanelWindowTest, CursorCoordinatesShowInGroupOneAndANullPointEmptiesThem)
{
    Open(0xF, 0x60);
    GetLocalSettingsLive().setup.bDispLastPosFg = 0;
    for (int digits : {3, 4}) {
        GetCadSystem().config.DEGIT = digits;
        const double point[2] = {12.5, -3.0};
        ShowCursorCoordinates(point);
        const CoordinateTexts texts = FormatCoordinateTexts(12.5, -3.0, digits, false, 0, 0);
        EXPECT_EQ(Text(8000), texts.x) << digits;
        EXPECT_EQ(Text(8001), texts.y) << digits;
        EXPECT_EQ(Text(8000).size(), digits > 3 ? 12u : 10u);
        EXPECT_EQ(Text(8002), "");
    }
    ShowCursorCoordinates(nullptr);
    EXPECT_EQ(Text(8000), "");
    EXPECT_EQ(Text(8001), "");
    // Without group 1 the panel has no fields and nothing happens.
    DestroyWindow(panel.m_hWnd);
    Open(0x4, 0x60);
    const double point[2] = {1.0, 2.0};
    ShowCursorCoordinates(point);
    EXPECT_EQ(GetDlgItem(panel.m_hWnd, 8000), nullptr);
}

TEST_F(ToolPanelWindowTest, PickingAColourWithoutADrawingChangesTheDefaultsAndTheDrawingColour)
{
    Open(0xF, 0x60);
    HWND colour = GetDlgItem(panel.m_hWnd, kPickerColour);
    ASSERT_NE(colour, nullptr);
    SendMessageA(colour, WM_PICKER_SET_VALUE, 0, 9);
    SendMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(kPickerColour, kPickerClosedCode), reinterpret_cast<LPARAM>(colour));
    EXPECT_EQ(DefaultDrawingAttributes().colour, 10);
    EXPECT_EQ(GetLocalSettingsLive().iDrawColor, 10);
    // Reloading shows the defaults again in the pickers.
    DefaultDrawingAttributes() = {256, 2, 5, 0, 0};
    RefreshToolPanelAttributes();
    EXPECT_EQ(SendMessageA(colour, WM_PICKER_GET_VALUE, 0, 0), 255);
    EXPECT_EQ(SendMessageA(GetDlgItem(panel.m_hWnd, kPickerWidth), WM_PICKER_GET_VALUE, 0, 0), 5);
    EXPECT_EQ(SendMessageA(GetDlgItem(panel.m_hWnd, kPickerLineType), WM_PICKER_GET_VALUE, 0, 0), 2);
}

std::vector<WPARAM> g_frameCommands;

LRESULT CALLBACK RecordingFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) g_frameCommands.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// The commands the panel posted to the main frame, once the queue is empty.
std::vector<WPARAM> TakeFrameCommands()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    std::vector<WPARAM> taken;
    taken.swap(g_frameCommands);
    return taken;
}

TEST_F(ToolPanelWindowTest, InputAidButtonsWithoutADrawing)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordingFrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ToolPanelTestFrame";
    RegisterClassA(&wc);
    HWND frame = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                 nullptr);
    ASSERT_NE(frame, nullptr);
    const HWND savedFrame = GetMainFrameWnd();
    SetMainFrameWnd(frame);
    Open(0xF, 0x60);
    TakeFrameCommands();
    auto press = [this](int id, LPARAM lParam) {
        SendMessageA(panel.m_hWnd, WM_COMMAND, static_cast<WPARAM>(id), lParam);
        return TakeFrameCommands();
    };
    auto handle = [this](int id) { return reinterpret_cast<LPARAM>(GetDlgItem(panel.m_hWnd, id)); };

    // 属性取込: the first press checks it and asks the frame to pick; the command system ends it.
    EXPECT_EQ(press(3408, handle(3408)), std::vector<WPARAM>{1304});
    EXPECT_EQ(Checked(3408), 1);
    EXPECT_TRUE(press(3408, handle(3408)).empty());
    press(3408, 0);
    EXPECT_EQ(Checked(3408), 0);

    // 2点間中点 repeats or holds by iSnap2TenkanMode.
    const struct {
        int mode;
        LONG checkedBefore, checkedAfter;
        bool posted;
    } midpoints[] = {{1, 0, 1, true}, {1, 1, 0, true}, {0, 0, 1, true}, {0, 1, 1, false}};
    for (const auto& m : midpoints) {
        SCOPED_TRACE(m.mode * 10 + m.checkedBefore);
        GetLocalSettingsLive().iSnap2TenkanMode = m.mode;
        SetWindowLongA(GetDlgItem(panel.m_hWnd, 3999), kPanelButtonChecked, m.checkedBefore);
        EXPECT_EQ(press(3999, handle(3999)), m.posted ? std::vector<WPARAM>{1332} : std::vector<WPARAM>{});
        EXPECT_EQ(Checked(3999), m.checkedAfter);
    }
    press(3999, 0);
    EXPECT_EQ(Checked(3999), 0);

    // グリッド without a drawing only switches the grid off.
    SetGridOn(1);
    SetWindowLongA(GetDlgItem(panel.m_hWnd, 3516), kPanelButtonChecked, 1);
    SetWindowTextA(GetDlgItem(panel.m_hWnd, 3516), "ｸﾞﾘ/検");
    EXPECT_TRUE(press(3516, 0).empty());
    EXPECT_EQ(IsGridOn(), 0);
    EXPECT_EQ(Checked(3516), 0);
    EXPECT_EQ(Text(3516), "グリッド");

    // 仮点入力 without a drawing stays off.
    EXPECT_TRUE(press(3409, handle(3409)).empty());
    EXPECT_EQ(Checked(3409), 0);

    // Commands the panel hands on.
    EXPECT_EQ(press(1307, 0), std::vector<WPARAM>{1307});
    EXPECT_EQ(press(3002, 0), std::vector<WPARAM>{4022});
    EXPECT_EQ(press(3230, 0), std::vector<WPARAM>{4021});

    DestroyWindow(panel.m_hWnd);
    SetMainFrameWnd(savedFrame);
    DestroyWindow(frame);
}

TEST_F(ToolPanelWindowTest, SitsInTheMessageLoopWhileItsWindowLivesAndTakesNoMessage)
{
    WinKit::CMessageLoop own;
    WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop();
    const bool added = loop == nullptr;
    if (added) {
        ASSERT_TRUE(WinKit::Module().AddMessageLoop(&own));
        loop = &own;
    }
    const size_t filters = loop->FilterCount(), idlers = loop->IdleHandlerCount();
    Open(0xF, 0x60);
    EXPECT_EQ(loop->FilterCount(), filters + 1);
    EXPECT_EQ(loop->IdleHandlerCount(), idlers + 1);

    // Keys and clicks meant for the panel and its buttons still reach them.
    HWND button = GetDlgItem(panel.m_hWnd, 3404);
    const MSG messages[] = {{panel.m_hWnd, WM_KEYDOWN, VK_TAB, 0, 0, {}},
                            {panel.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0, 0, {}},
                            {button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2), 0, {}},
                            {panel.m_hWnd, WM_CHAR, 'a', 0, 0, {}}};
    for (MSG m : messages) {
        EXPECT_FALSE(panel.PreTranslateMessage(&m)) << m.message;
        if (filters == 0) {
            EXPECT_FALSE(loop->PreTranslateMessage(&m)) << m.message;
        }
    }
    EXPECT_FALSE(panel.OnIdle());

    DestroyWindow(panel.m_hWnd);
    EXPECT_EQ(loop->FilterCount(), filters) << "a destroyed panel leaves the loop";
    EXPECT_EQ(loop->IdleHandlerCount(), idlers);
    if (added) WinKit::Module().RemoveMessageLoop();
}

// Any dialog of this thread that opens while the timer runs: noted and cancelled, so that a
// modal dialog the panel should not have opened fails the test instead of hanging it.
std::vector<std::string> g_openedDialogs;

BOOL CALLBACK CancelThreadDialog(HWND window, LPARAM)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(window)) {
        char caption[256] = {};
        GetWindowTextA(window, caption, sizeof caption);
        g_openedDialogs.push_back(caption);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}

void CALLBACK WatchForDialogs(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), CancelThreadDialog, 0); }

TEST_F(ToolPanelWindowTest, LayerCommandsNeedADrawing)
{
    Open(0xF, 0x60);
    g_openedDialogs.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, WatchForDialogs);
    for (int id : {3310, 3315, 3311}) SendMessageA(panel.m_hWnd, WM_COMMAND, static_cast<WPARAM>(id), 0);
    KillTimer(nullptr, timer);
    WatchForDialogs(nullptr, 0, 0, 0);
    EXPECT_TRUE(g_openedDialogs.empty()) << (g_openedDialogs.empty() ? "" : g_openedDialogs.front());
}

// Plays the line settings dialog: picks rows in the three lists and ends with the button.
struct LineDialogPlay {
    int rows[3];
    int button;
    bool seen = false;
    int items[3] = {};
};
LineDialogPlay* g_play = nullptr;

void CALLBACK PlayLineDialog(HWND, UINT, UINT_PTR, DWORD)
{
    HWND dialog = FindWindowA("#32770", "線太細・線両端");
    if (dialog == nullptr || g_play == nullptr || g_play->seen) return;
    g_play->seen = true;
    const int ids[3] = {kLineSettingsWidthList, kLineSettingsStartList, kLineSettingsEndList};
    for (int i = 0; i < 3; ++i) {
        g_play->items[i] = static_cast<int>(SendDlgItemMessageA(dialog, ids[i], LB_GETCOUNT, 0, 0));
        SendDlgItemMessageA(dialog, ids[i], LB_SETCURSEL, static_cast<WPARAM>(g_play->rows[i]), 0);
    }
    PostMessageA(dialog, WM_COMMAND, static_cast<WPARAM>(g_play->button), 0);
}

TEST_F(ToolPanelWindowTest, TheLineSettingsDialogGivesItsRowsBackOnlyAtOk)
{
    Open(0xF, 0x60);
    const struct {
        const char* name;
        DrawingAttributes before;
        int rows[3];
        int button;
        DrawingAttributes after;
    } cases[] = {
        {"cancel", {4, 0, 1, 0, 0}, {6, 3, 2}, IDCANCEL, {4, 0, 1, 0, 0}},
        {"ok", {4, 0, 1, 0, 0}, {6, 3, 2}, IDOK, {4, 0, 6, 3, 2}},
        // Type 15 is not offered and shows on the row of 14: left there, it stays 15.
        {"ok keeps marks left on their rows", {4, 0, 1, 15, 15}, {6, 14, 2}, IDOK, {4, 0, 6, 15, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DefaultDrawingAttributes() = c.before;
        LineDialogPlay play = {{c.rows[0], c.rows[1], c.rows[2]}, c.button};
        g_play = &play;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, PlayLineDialog);
        SendMessageA(panel.m_hWnd, WM_COMMAND, 3313, 0);
        KillTimer(nullptr, timer);
        g_play = nullptr;
        EXPECT_TRUE(play.seen);
        EXPECT_EQ(play.items[0], 16);
        EXPECT_EQ(play.items[1], 15);
        EXPECT_EQ(play.items[2], 15);
        const DrawingAttributes& a = DefaultDrawingAttributes();
        EXPECT_EQ(a.lineWidth, c.after.lineWidth);
        EXPECT_EQ(a.startMark, c.after.startMark);
        EXPECT_EQ(a.endMark, c.after.endMark);
    }
}

}  // namespace
