// The kit's faces, fonts, button class registration and the push buttons' state machines.
#include "GTest.h"

#include <cstring>
#include <string>

#include "KitTestHost.h"
#include "controls/KitButtons.h"
#include "controls/KitFaces.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "mainframe/FrameServices.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

// Kit classes for the tests of this file, registered with the program's settings.
class KitButtonsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        UnregisterKitButtonClasses(Instance());
        ASSERT_EQ(RegisterKitButtonClasses(Instance()), 1);
    }
    void TearDown() override
    {
        SetMainFrameWnd(nullptr);
        UnregisterKitButtonClasses(Instance());
        GetConfigDataRuntime().yesNoCaption[0] = '\0';
    }
    KitTestHost host;
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(KitFaceTest, EqualColoursFillTheInnerRectangleSolidAndTheFramesAreDrawn)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 24);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r = {0, 0, 40, 24};
    DrawKitButtonFacePressed(dc, r);
    EXPECT_EQ(GetPixel(dc, 20, 3), 0x00DEFFu);
    EXPECT_EQ(GetPixel(dc, 20, 20), 0x00DEFFu);
    EXPECT_EQ(GetPixel(dc, 20, 1), 0xFFFFFFu);  // inner frame
    DrawKitButtonFace(dc, r);
    // The upper band runs from white down towards colour 2, the lower from colour 3.
    EXPECT_EQ(GetPixel(dc, 20, 2), 0xFFFFFFu);
    const COLORREF lowerTop = GetPixel(dc, 20, 12);
    EXPECT_NEAR(GetRValue(lowerTop), 0xC8, 6);
    EXPECT_NEAR(GetBValue(lowerTop), 0xFF, 6);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

TEST(KitFaceTest, FontHeights)
{
    const struct {
        int index, low, height;
    } fonts[] = {{1, 0, 16}, {2, 0, 14}, {3, 0, 12}, {1, 1, 12}, {2, 1, 12}, {3, 1, 12}};
    for (const auto& f : fonts) EXPECT_EQ(KitFontHeight(f.index, f.low), f.height) << f.index << "/" << f.low;
    const struct {
        KitPainter painter;
        int h, font;
    } captions[] = {
        {KitPainter::Gradient, 13, 11}, {KitPainter::Gradient, 14, 12}, {KitPainter::Gradient, 18, 12},
        {KitPainter::Gradient, 19, 14}, {KitPainter::Flat, 17, 15},     {KitPainter::Flat, 18, 16},
        {KitPainter::TopTab, 20, 15},   {KitPainter::TopTab, 21, 16},   {KitPainter::Image, 17, 15},
        {KitPainter::Image, 18, 14},    {KitPainter::Plain, 24, 16},    {KitPainter::LeftTab, 10, 8},
    };
    for (const auto& c : captions)
        EXPECT_EQ(KitCaptionFontHeight(c.painter, c.h), c.font) << static_cast<int>(c.painter) << " h=" << c.h;
}

TEST(KitRegistrationTest, StopsAtTheFirstFailingClass)
{
    UnregisterKitButtonClasses(Instance());
    WNDCLASSA taken = {};
    taken.style = CS_GLOBALCLASS;
    taken.lpfnWndProc = DefWindowProcA;
    taken.hInstance = Instance();
    taken.lpszClassName = "NPush2";
    ASSERT_NE(RegisterClassA(&taken), 0);
    EXPECT_EQ(RegisterKitButtonClasses(Instance()), 0);
    WNDCLASSA info;
    EXPECT_TRUE(GetClassInfoA(Instance(), "PPush", &info));
    EXPECT_TRUE(GetClassInfoA(Instance(), "NPush", &info));
    for (const char* name : {"NPush3", "SCBTN", "NPushCmdMenu"}) EXPECT_FALSE(GetClassInfoA(Instance(), name, &info)) << name;
    UnregisterClassA("NPush2", Instance());
    UnregisterKitButtonClasses(Instance());
    ASSERT_EQ(RegisterKitButtonClasses(Instance()), 1);
    ASSERT_TRUE(GetClassInfoA(Instance(), "NPush", &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW | CS_GLOBALCLASS));
    EXPECT_EQ(info.cbWndExtra, 8);
    ASSERT_TRUE(GetClassInfoA(Instance(), "NPush3", &info));
    EXPECT_EQ(info.cbWndExtra, 12);
    UnregisterKitButtonClasses(Instance());
}

TEST(KitRegistrationTest, ButtonStyleOneGivesTheFlatProcedure)
{
    for (int style : {0, 2, 7}) EXPECT_NE(KitButtonProcedure("NPush", style), KitButtonProcedure("NPush", 1)) << style;
    EXPECT_EQ(KitButtonProcedure("NPush3", 0), KitButtonProcedure("NPush3", 1));
}

// Mouse steps on a button and what its parent hears.
TEST_F(KitButtonsTest, PressLeaveReturnRelease)
{
    enum Step { Down, MoveOut, MoveIn, Up };
    const struct {
        const char* name;
        std::vector<Step> steps;
        size_t commands;
    } cases[] = {
        {"click", {Down, Up}, 1},
        {"out and back in", {Down, MoveOut, MoveIn, Up}, 1},
        {"released outside", {Down, MoveOut, Up}, 0},
    };
    for (const auto& c : cases) {
        HWND button = host.Child("NPush", 300, 20, 20, 80, 24, "OK");
        host.Clear();
        for (Step step : c.steps) {
            switch (step) {
            case Down: SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10)); break;
            case MoveOut: SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, At(300, 300)); break;
            case MoveIn: SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, At(10, 10)); break;
            case Up: SendMessageA(button, WM_LBUTTONUP, 0, At(10, 10)); break;
            }
            if (step == MoveOut) EXPECT_EQ(GetWindowLongA(button, kKitPressWord), 2) << c.name;
            if (step == MoveIn) EXPECT_EQ(GetWindowLongA(button, kKitPressWord), 1) << c.name;
        }
        EXPECT_EQ(host.Of(WM_COMMAND).size(), c.commands) << c.name;
        for (const HostMessage& m : host.Of(WM_COMMAND)) {
            EXPECT_EQ(m.wParam, 300u);
            EXPECT_EQ(m.lParam, 0);
        }
        const auto hovers = host.Of(WM_KIT_HOVER);
        ASSERT_FALSE(hovers.empty()) << c.name;
        EXPECT_EQ(hovers.back().lParam, 1) << c.name;
        DestroyWindow(button);
    }
}

TEST_F(KitButtonsTest, SpaceBarAndStrayKeyUp)
{
    HWND button = host.Child("NPush", 301, 20, 20, 80, 24, "OK");
    host.Clear();
    SendMessageA(button, WM_KEYUP, 'A', 0);
    EXPECT_TRUE(host.Of(WM_COMMAND).empty());
    SendMessageA(button, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_EQ(GetWindowLongA(button, kKitPressWord), 1);
    SendMessageA(button, WM_KEYUP, VK_SPACE, 0);
    ASSERT_EQ(host.Of(WM_COMMAND).size(), 1u);
    EXPECT_EQ(host.Of(WM_COMMAND)[0].wParam, 301u);
}

TEST_F(KitButtonsTest, RightButton)
{
    HWND npush = host.Child("NPush", 100, 20, 20, 80, 24, "N");
    HWND ppush = host.Child("PPush", 100, 120, 20, 80, 24, "P");
    host.Clear();
    SendMessageA(npush, WM_RBUTTONDOWN, MK_RBUTTON, At(7, 9));
    SendMessageA(npush, WM_RBUTTONUP, 0, At(7, 9));
    ASSERT_EQ(host.Of(WM_RBUTTONDOWN).size(), 1u);
    EXPECT_EQ(host.Of(WM_RBUTTONDOWN)[0].lParam, At(7, 9));
    EXPECT_TRUE(host.Of(WM_COMMAND).empty());
    SendMessageA(ppush, WM_RBUTTONDOWN, MK_RBUTTON, At(7, 9));
    SendMessageA(ppush, WM_RBUTTONUP, 0, At(7, 9));
    ASSERT_EQ(host.Of(WM_COMMAND).size(), 1u);
    EXPECT_EQ(host.Of(WM_COMMAND)[0].wParam, 101u);
}

// With the main frame disabled only "PPush" buttons of the yes/no prompts take clicks; the
// first 19 characters of the caption and of the prompt setting are compared, so a prompt
// caption of any length the setting allows still takes clicks.
TEST_F(KitButtonsTest, DisabledFrameAndThePromptCaption)
{
    HWND frame = CreateWindowExA(0, "static", "frame", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, Instance(), nullptr);
    SetMainFrameWnd(frame);
    EnableWindow(frame, FALSE);
    const std::string longPrompt = "確認してください確認して";  // 24 bytes, past the 19 compared once
    const struct {
        const char* prompt;
        std::string dialogCaption;
        const char* buttonClass;
        size_t commands;
    } cases[] = {
        {"", "?", "PPush", 1},
        {"", "other", "PPush", 0},
        {"確認", "確認", "PPush", 1},
        {longPrompt.c_str(), longPrompt, "PPush", 1},
        {longPrompt.c_str(), longPrompt.substr(0, 18) + "X", "PPush", 0},
        {longPrompt.c_str(), longPrompt.substr(0, 20) + "ZZ", "PPush", 1},
        {"", "?", "NPush", 0},
    };
    for (const auto& c : cases) {
        strncpy(GetConfigDataRuntime().yesNoCaption, c.prompt, sizeof GetConfigDataRuntime().yesNoCaption - 1);
        const std::string caption = c.dialogCaption;
        SetWindowTextA(host.window(), caption.c_str());
        HWND button = host.Child(c.buttonClass, 200, 20, 20, 80, 24, "Y");
        host.Clear();
        SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
        SendMessageA(button, WM_LBUTTONUP, 0, At(5, 5));
        EXPECT_EQ(host.Of(WM_COMMAND).size(), c.commands) << c.buttonClass << " '" << c.prompt << "' / '" << caption << "'";
        DestroyWindow(button);
    }
    DestroyWindow(frame);
}

// A button with id 8000 or above hands the keyboard focus back to the panel or the view, "PPush"
// as well; below 8000 it keeps the focus.
int g_focusReturns = 0;
TEST_F(KitButtonsTest, IdsFromEightThousandHandTheFocusBack)
{
    FrameServices saved = GetFrameServices();
    GetFrameServices().restoreInputFocus = [] { ++g_focusReturns; };
    for (const char* cls : {"PPush", "NPush", "NPush2", "NPush3", "NPushCmdMenu"}) {
        for (int id : {7999, 8000}) {
            g_focusReturns = 0;
            HWND button = host.Child(cls, id, 20, 20, 80, 24, "F");
            SendMessageA(button, WM_SETFOCUS, 0, 0);
            SendMessageA(button, WM_KILLFOCUS, 0, 0);
            EXPECT_EQ(g_focusReturns, id >= 8000 ? 2 : 0) << cls << " " << id;
            DestroyWindow(button);
        }
    }
    GetFrameServices() = saved;
}

TEST_F(KitButtonsTest, InitDialogClearsPressAndChecked)
{
    HWND button = host.Child("NPush3", 5, 20, 20, 80, 24, "T");
    SetWindowLongA(button, kKitCheckedWord, 1);
    SetWindowLongA(button, kKitPressWord, 1);
    EXPECT_EQ(SendMessageA(button, WM_INITDIALOG, 0, 0), 0);
    EXPECT_EQ(GetWindowLongA(button, kKitCheckedWord), 0);
    EXPECT_EQ(GetWindowLongA(button, kKitPressWord), 0);
}

TEST_F(KitButtonsTest, CheckedLeftTabShowsItsCornerMark)
{
    HWND button = host.Child("NPush3", 6, 20, 20, 60, 30, "");
    SetWindowLongA(button, kKitCheckedWord, 1);
    SetWindowLongA(button, kKitCornerWord, 2);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(button);
    EXPECT_EQ(GetPixel(dc, 60 - 4, 30 - 4), 0xFF0000u);
    SetWindowLongA(button, kKitCheckedWord, 0);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(GetPixel(dc, 60 - 4, 30 - 4), 0xFF0000u);
    ReleaseDC(button, dc);
}

TEST_F(KitButtonsTest, ScrollButtonRepeatsWhileHeldOverIt)
{
    HWND button = host.Child("SCBTN", 1000, 20, 20, 40, 40, "");
    UpdateWindow(host.window());
    POINT centre = {20, 20};
    ClientToScreen(button, &centre);
    SetCursorPos(centre.x, centre.y);
    host.Clear();
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 20));
    EXPECT_EQ(host.Of(WM_COMMAND).size(), 1u);
    ASSERT_TRUE(KitTestHost::PumpUntil([&] { return host.Of(WM_COMMAND).size() >= 3; }));
    SendMessageA(button, WM_LBUTTONUP, 0, At(20, 20));
    const size_t afterRelease = host.Of(WM_COMMAND).size();
    // No tick comes after the release.
    KitTestHost::PumpUntil([] { return false; }, 400);
    EXPECT_EQ(host.Of(WM_COMMAND).size(), afterRelease);
    for (const HostMessage& m : host.Of(WM_COMMAND)) EXPECT_EQ(m.wParam, 1000u);
}

}  // namespace
