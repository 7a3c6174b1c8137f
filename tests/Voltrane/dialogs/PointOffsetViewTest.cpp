// The point offset dialog over a real drawing window: a main frame with its MDI client and a
// drawing frame with its view and database, so the active view, its paper and its drawing's
// input scale are the program's own.
#include "GTest.h"

#include <windows.h>

#include <string>

#include "HostRecords.h"
#include "InputCodes.h"
#include "ModalScript.h"
#include "OwnWindows.h"
#include "PanelEventSource.h"
#include "commands/InputEvent.h"
#include "commands/InputWaitLoop.h"
#include "commands/CommandRunState.h"
#include "commands/SystemCommandDispatcher.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "dialogs/Calculator.h"
#include "dialogs/PointInput.h"
#include "mainframe/MainFrame.h"
#include "panels/PanelCheckButton.h"
#include "panels/ParameterPanelModel.h"
#include "view/InputScale.h"
#include "view/RiririFrame.h"
#include "view/ViewServices.h"
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

// The coordinate input answers 1 whenever its dialog ran; whether a point waits is the pending
// flag's to say.
TEST_F(PointOffsetInAView, TypedCoordinatesAnswerOneAlsoWhenCancelled)
{
    ASSERT_EQ(GetActiveView(), m_view);
    const struct {
        int button;
        int pending;
    } cases[] = {{IDOK, 1}, {IDCANCEL, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        GetTemporaryPointInput().pending = 1 - c.pending;
        ModalScript script({[&] {
            HWND d = FindOwnWindow("#32770", "座標入力");
            if (d == nullptr || !IsWindowVisible(d)) return false;
            SetDlgItemTextA(d, kPointEditX, "7");
            SetDlgItemTextA(d, kPointEditY, "8");
            SetFocus(GetDlgItem(d, kPointEditY));
            SendMessageA(d, WM_COMMAND, static_cast<WPARAM>(c.button), 0);
            return true;
        }});
        EXPECT_EQ(script.Run([] { return static_cast<INT_PTR>(InputTemporaryPoint()); }), 1);
        EXPECT_FALSE(script.TimedOut());
        EXPECT_EQ(GetTemporaryPointInput().pending, c.pending);
        if (c.pending) {
            EXPECT_DOUBLE_EQ(GetTemporaryPointInput().pointX, 7);
            EXPECT_DOUBLE_EQ(GetTemporaryPointInput().pointY, 8);
        }
    }
    GetTemporaryPointInput().pending = 0;
}

void SetPanelText(int id, const char* text)
{
    PboxItemRequest request = {};
    request.panel = 0;
    request.id = id;
    request.text = const_cast<char*>(text);
    ASSERT_EQ(PboxSetItemText(&request), 1);
}

TEST_F(PointOffsetInAView, TheTemporaryPointButtonMakesPanelEventsCarryItems333And444)
{
    ASSERT_EQ(GetActiveView(), m_view);
    const int savedGroups = GetCadSystem().localWindow.ToolPanelDispMode;
    const CommandRunState savedRun = GetCommandRunState();
    const InputEventRecord savedEvents = GetInputEventRecord();
    HWND panel = GetToolPanelWindow();
    ASSERT_NE(panel, nullptr);
    GetCadSystem().localWindow.ToolPanelDispMode = 0xF;
    SendMessageA(panel, WM_COMMAND, 10, 0);  // lay the panel out again with all four groups
    HWND button = GetDlgItem(panel, 3409);
    ASSERT_NE(button, nullptr);

    // Panel 0 (never handed out, addressed directly) holds the two offset fields a plug-in adds.
    PboxCloseAllPanels();
    for (int id : {333, 444}) {
        PboxAddRequest add = {};
        add.panel = 0;
        add.id = id;
        add.text = reinterpret_cast<INT_PTR>("0");
        add.width = 60;
        add.height = 20;
        ASSERT_EQ(PboxAddEdit(&add), 1);
    }
    SetPanelText(333, "12.5");
    SetPanelText(444, "-3");

    HWND source = CreatePanelEventSource();
    ASSERT_NE(source, nullptr);
    auto click = [button] {
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(button, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    };
    // Waits for the panel event of item 7, passing over notices the program raises meanwhile.
    auto waitForPanelEvent = [&](InputWaitRecord& record) {
        GetInputEventRecord().acceptMask = kAcceptPanelItem;
        PostMessageA(source, kRaisePanelEvent, 7, 0);
        for (int pass = 0; pass < 50; ++pass) {
            const int result = WaitUserInput(m_frame.m_hWnd, &record);
            if (result == kWaitPanelItem) return result;
        }
        return 0;
    };

    GetCommandRunState().pluginCommandRunning = 1;
    GetInputEventRecord().temporaryOffsetX = GetInputEventRecord().temporaryOffsetY = 99;
    click();
    EXPECT_EQ(GetInputEventRecord().offsetInput, 1);
    EXPECT_EQ(GetWindowLongA(button, kPanelButtonChecked), 1);
    EXPECT_EQ(GetInputEventRecord().temporaryOffsetX, 0) << "the button starts the offsets afresh";
    EXPECT_EQ(GetInputEventRecord().temporaryOffsetY, 0);

    InputWaitRecord record = {};
    ASSERT_EQ(waitForPanelEvent(record), kWaitPanelItem);
    EXPECT_EQ(record.item, 7);
    EXPECT_DOUBLE_EQ(GetInputEventRecord().temporaryOffsetX, 12.5);
    EXPECT_DOUBLE_EQ(GetInputEventRecord().temporaryOffsetY, -3);

    // The second press ends the mode: the offsets are cleared and no longer read.
    click();
    EXPECT_EQ(GetInputEventRecord().offsetInput, 0);
    EXPECT_EQ(GetWindowLongA(button, kPanelButtonChecked), 0);
    ASSERT_EQ(waitForPanelEvent(record), kWaitPanelItem);
    EXPECT_EQ(GetInputEventRecord().temporaryOffsetX, 0);
    EXPECT_EQ(GetInputEventRecord().temporaryOffsetY, 0);

    // Without a running command the press leaves the mode off.
    GetCommandRunState().pluginCommandRunning = 0;
    GetCommandRunState().hostCommandRunning = 0;
    click();
    EXPECT_EQ(GetInputEventRecord().offsetInput, 0);

    DestroyWindow(source);
    PboxCloseAllPanels();
    GetCommandRunState() = savedRun;
    GetInputEventRecord() = savedEvents;
    GetCadSystem().localWindow.ToolPanelDispMode = savedGroups;
}

}  // namespace
