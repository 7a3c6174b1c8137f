// The temporary-point dialog: the scroll rules, the offset arithmetic, and the dialog driven
// through its fields, scroll bars and buttons.
#include "GTest.h"

#include <windows.h>

#include <cmath>
#include <limits>
#include <string>

#include "HostMessages.h"
#include "ModalScript.h"
#include "OwnWindows.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "dialogs/Calculator.h"
#include "dialogs/CalculatorState.h"
#include "dialogs/PointInput.h"

namespace {

TEST(PointScroll, PositionFollowsTheValue)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double value;
        double scale;
        int position;
    } cases[] = {
        {12.5, 5000, 2512}, {0, 5000, 2500},     {-12.5, 5000, 2488}, {2500, 5000, 5000},
        {2600, 5000, 5000}, {-2600, 5000, 0},    {1e300, 5000, 5000}, {-1e300, 5000, 0},
        {inf, 5000, 5000},  {std::nan(""), 5000, 2500},
        {12.5, 0, 0},  // no paper: the bars stay at 0
    };
    for (const auto& c : cases) EXPECT_EQ(PointScrollPosition(c.value, c.scale), c.position) << c.value;
}

TEST(PointScroll, RequestsStopAtTheEnds)
{
    const struct {
        int code;
        int position;
        int thumb;
        int result;
    } cases[] = {
        {SB_LINELEFT, 100, 0, 99},  {SB_LINERIGHT, 100, 0, 101}, {SB_PAGELEFT, 100, 0, 90},
        {SB_PAGERIGHT, 100, 0, 110}, {SB_THUMBPOSITION, 100, 2400, 2400}, {SB_THUMBTRACK, 100, 7, 7},
        {SB_LINELEFT, 0, 0, 0},     {SB_PAGELEFT, 5, 0, 0},      {SB_LINERIGHT, 5000, 0, 5000},
        {SB_PAGERIGHT, 4995, 0, 5000}, {SB_ENDSCROLL, 100, 0, -1}, {SB_TOP, 100, 0, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(PointScrollRequest(c.code, c.position, c.thumb), c.result) << c.code;
    EXPECT_DOUBLE_EQ(PointScrollValue(2400, 5000), -100);
    EXPECT_DOUBLE_EQ(PointScrollValue(5000, 5000), 2500);
    EXPECT_DOUBLE_EQ(PointScrollValue(0, 0), 0);
}

TEST(PointOffset, InputScaleFactorDividesTheOffsets)
{
    const struct {
        double factor;
        double dx;
        double dy;
    } cases[] = {{2, 5, -2}, {1, 10, -4}, {0.5, 20, -8}, {0, 10, -4}, {std::nan(""), 10, -4}};
    for (const auto& c : cases) {
        double point[2] = {100, 200};
        OffsetPointByInput(point, 10, -4, c.factor);
        EXPECT_DOUBLE_EQ(point[0], 100 + c.dx) << c.factor;
        EXPECT_DOUBLE_EQ(point[1], 200 + c.dy) << c.factor;
    }
}

TEST(PointOffset, NothingIsAskedWithoutADrawing)
{
    double point[2] = {1, 2};
    GetTemporaryPointInput().pending = 1;
    EXPECT_EQ(InputPointOffset(point), 0);
    EXPECT_EQ(point[0], 1);
    EXPECT_EQ(InputTemporaryPoint(), 0);
    EXPECT_EQ(GetTemporaryPointInput().pending, 1);
    GetTemporaryPointInput().pending = 0;
}

// A main frame that answers the panel window request with a tool panel window, which counts
// the commands it gets.
int g_panelCommand = 0;
HWND g_panel = nullptr;

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CAD_GET_PANEL_WINDOW) return wParam == 1 ? reinterpret_cast<LRESULT>(g_panel) : 0;
    if (message == WM_COMMAND && window == g_panel) {
        g_panelCommand = static_cast<int>(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class PointDialog : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PointDialogTestFrame";
        RegisterClassA(&wc);
        m_frame = CreateWindowA("PointDialogTestFrame", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        g_panel = CreateWindowA("PointDialogTestFrame", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        SetMainFrameWnd(m_frame);
        g_panelCommand = 0;
        m_savedOnce = GetLocalSettingsLive().setup.bTmpOnece;
        RegisterCalculatorClass(GetModuleHandleA(nullptr));
    }
    void TearDown() override
    {
        UnregisterCalculatorClass(GetModuleHandleA(nullptr));
        GetLocalSettingsLive().setup.bTmpOnece = m_savedOnce;
        SetMainFrameWnd(nullptr);
        DestroyWindow(g_panel);
        DestroyWindow(m_frame);
        g_panel = nullptr;
    }
    static HWND Dialog() { return FindOwnWindow("#32770", nullptr); }
    static std::string Text(HWND dialog, int id)
    {
        char text[128] = "";
        GetDlgItemTextA(dialog, id, text, sizeof text);
        return text;
    }
    HWND m_frame = nullptr;
    int m_savedOnce = 1;
};

TEST_F(PointDialog, FieldsAndScrollBarsFollowEachOther)
{
    CInputPointDlg dialog(12.5, -3, 0);
    // As with a drawing that has a paper: the bars span one unit per step.
    dialog.scaleX = dialog.scaleY = kPointScrollRange;
    std::string shownX, shownY, afterThumb, afterStep;
    int initialX = -1, typedX = -1, pastEnd = -1;
    ModalScript script({[&] {
        HWND d = Dialog();
        if (d == nullptr) return false;
        HWND barX = GetDlgItem(d, kPointScrollX), barY = GetDlgItem(d, kPointScrollY);
        shownX = Text(d, kPointEditX);
        shownY = Text(d, kPointEditY);
        initialX = GetScrollPos(barX, SB_CTL);
        SetDlgItemTextA(d, kPointEditY, "12.5");
        typedX = GetScrollPos(barY, SB_CTL);
        SendMessageA(d, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2400), reinterpret_cast<LPARAM>(barX));
        afterThumb = Text(d, kPointEditX);
        SendMessageA(d, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0), reinterpret_cast<LPARAM>(barX));
        afterStep = Text(d, kPointEditX);
        SendMessageA(d, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4995), reinterpret_cast<LPARAM>(barY));
        SendMessageA(d, WM_HSCROLL, MAKEWPARAM(SB_PAGERIGHT, 0), reinterpret_cast<LPARAM>(barY));
        pastEnd = GetScrollPos(barY, SB_CTL);
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    EXPECT_EQ(script.Run([&] { return dialog.DoModal(nullptr); }), IDCANCEL);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(shownX, "12.5");
    EXPECT_EQ(shownY, "-3");
    EXPECT_EQ(initialX, 2512);
    EXPECT_EQ(typedX, 2512);
    EXPECT_EQ(afterThumb, "-100");
    EXPECT_EQ(afterStep, "-99");
    EXPECT_EQ(pastEnd, 5000);
}

TEST_F(PointDialog, WithoutAPaperTheBarsStayDisabledAtZero)
{
    CInputPointDlg dialog(12.5, 0, 0);
    bool enabled = true;
    int position = -1;
    ModalScript script({[&] {
        HWND d = Dialog();
        if (d == nullptr) return false;
        enabled = IsWindowEnabled(GetDlgItem(d, kPointScrollX)) != 0;
        position = GetScrollPos(GetDlgItem(d, kPointScrollX), SB_CTL);
        PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
        return true;
    }});
    script.Run([&] { return dialog.DoModal(nullptr); });
    EXPECT_FALSE(enabled);
    EXPECT_EQ(position, 0);
}

TEST_F(PointDialog, EnterInXMovesToYThenOkReadsBothAndSwitchesTheModeOff)
{
    GetLocalSettingsLive().setup.bTmpOnece = 1;
    CInputPointDlg dialog(0, 0, 0);
    bool stayedOpen = false, focusInY = false, checkShown = false;
    ModalScript script({[&] {
                            HWND d = Dialog();
                            if (d == nullptr) return false;
                            checkShown = (GetWindowLongA(GetDlgItem(d, kPointOnceCheck), GWL_STYLE) & WS_VISIBLE) != 0;
                            SetFocus(GetDlgItem(d, kPointEditX));
                            SetDlgItemTextA(d, kPointEditX, "7.25");
                            SendMessageA(d, WM_COMMAND, IDOK, 0);
                            stayedOpen = IsWindow(d) && Dialog() == d;
                            focusInY = GetFocus() == GetDlgItem(d, kPointEditY);
                            SetDlgItemTextA(d, kPointEditY, "-4");
                            SendMessageA(d, WM_COMMAND, IDOK, 0);
                            return true;
                        }});
    EXPECT_EQ(script.Run([&] { return dialog.DoModal(nullptr); }), IDOK);
    EXPECT_TRUE(checkShown);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(focusInY);
    EXPECT_EQ(dialog.x, 7.25);
    EXPECT_EQ(dialog.y, -4);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(g_panelCommand, kToolTemporaryPointOff);
}

TEST_F(PointDialog, UncheckedOnceKeepsTheModeAndIsRemembered)
{
    GetLocalSettingsLive().setup.bTmpOnece = 1;
    CInputPointDlg dialog(0, 0, 0);
    ModalScript script({[&] {
        HWND d = Dialog();
        if (d == nullptr) return false;
        CheckDlgButton(d, kPointOnceCheck, BST_UNCHECKED);
        SetFocus(GetDlgItem(d, kPointEditY));
        SendMessageA(d, WM_COMMAND, IDOK, 0);
        return true;
    }});
    EXPECT_EQ(script.Run([&] { return dialog.DoModal(nullptr); }), IDOK);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(g_panelCommand, 0);
    EXPECT_EQ(GetLocalSettingsLive().setup.bTmpOnece, 0);
}

TEST_F(PointDialog, CoordinateModeRenamesAndHidesTheCheckBox)
{
    CInputPointDlg dialog(1, 2, 1);
    std::string caption, labelX, labelY;
    bool checkShown = true;
    ModalScript script({[&] {
        HWND d = Dialog();
        if (d == nullptr) return false;
        char text[64] = "";
        GetWindowTextA(d, text, sizeof text);
        caption = text;
        labelX = Text(d, kPointLabelX);
        labelY = Text(d, kPointLabelY);
        checkShown = (GetWindowLongA(GetDlgItem(d, kPointOnceCheck), GWL_STYLE) & WS_VISIBLE) != 0;
        SetFocus(GetDlgItem(d, kPointEditY));
        SendMessageA(d, WM_COMMAND, IDOK, 0);
        return true;
    }});
    EXPECT_EQ(script.Run([&] { return dialog.DoModal(nullptr); }), IDOK);
    EXPECT_EQ(caption, "座標入力");
    EXPECT_EQ(labelX, "X 座標");
    EXPECT_EQ(labelY, "Y 座標");
    EXPECT_FALSE(checkShown);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(g_panelCommand, 0);
}

TEST_F(PointDialog, CalculatorButtonFillsTheField)
{
    CInputPointDlg dialog(0, 0, 0);
    dialog.scaleX = dialog.scaleY = kPointScrollRange;
    std::string field, calculatorCaption;
    int position = -1;
    ModalScript script({[&] {
                            HWND d = Dialog();
                            if (d == nullptr) return false;
                            PostMessageA(d, WM_COMMAND, kPointCalcY, 0);
                            return true;
                        },
                        [&] {
                            HWND calculator = FindOwnWindow("DENTAKU", nullptr);
                            if (calculator == nullptr) return false;
                            char text[64] = "";
                            GetWindowTextA(calculator, text, sizeof text);
                            calculatorCaption = text;
                            for (int id : {2007, kCalcKeyOk}) PostMessageA(calculator, WM_COMMAND, id, 0);
                            return true;
                        },
                        [&] {
                            HWND d = Dialog();
                            if (d == nullptr || FindOwnWindow("DENTAKU", nullptr) != nullptr) return false;
                            field = Text(d, kPointEditY);
                            position = GetScrollPos(GetDlgItem(d, kPointScrollY), SB_CTL);
                            PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
                            return true;
                        }});
    EXPECT_EQ(script.Run([&] { return dialog.DoModal(nullptr); }), IDCANCEL);
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(calculatorCaption, "Y の入力");
    EXPECT_EQ(field, "7");
    EXPECT_EQ(position, 2507);
}

}  // namespace
