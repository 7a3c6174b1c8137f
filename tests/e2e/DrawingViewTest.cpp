// A drawing window in the real program: message 2424 opens "無題1"; a plug-in command appends a
// line and a circle, which the view paints in their colours where the view's setting puts them;
// a wheel step zooms by 1.4 about the cursor; a real click answers a waiting command with that
// pixel's world point; a modified drawing asks before its window closes.
#include "GTest.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "DrawingWindowRecords.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "ViewScreen.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>AddLineCircle;線と円,5993,TestPlugin.dll /C:AddLineCircle</item>\n"
    "<item>WaitPoint;点待ち,5994,TestPlugin.dll /C:WaitPoint</item>\n"
    "<item>Wait;待ち,5995,TestPlugin.dll /C:Wait</item>\n"
    "<item>Closed;閉じた,4041,TestPlugin.dll</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendToProgram(window, message, wParam, lParam);
}

class DrawingViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        SetForegroundWindow(frame);
    }

    void TearDown() override
    {
        // A modified drawing asks first: "No" lets the program end.
        if (frame != nullptr) EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    }

    // Opens an empty drawing window with 2424; its view.
    HWND OpenDrawing()
    {
        EXPECT_EQ(Send(frame, WM_CADDB_NEW_WINDOW), 1);
        HWND view = reinterpret_cast<HWND>(Send(frame, WM_CAD_ACTIVE_VIEW));
        return view != nullptr && IsWindow(view) ? view : nullptr;
    }

    // Reads the view's setting until its scale is no longer `scale` (10 seconds at most).
    bool WaitForScaleChange(HWND view, double scale, ViewMapping* mapping)
    {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
            if (!ReadMapping(view, mapping)) return false;
            if (mapping->mode.scale != scale) return true;
        }
        return false;
    }

    bool ReadMapping(HWND view, ViewMapping* mapping) { return ReadViewMapping(program.ProcessId(), view, mapping); }

    bool AddLineAndCircle()
    {
        PostMessageA(frame, WM_COMMAND, 5993, 0);
        return WaitForCaption(frame, "AddLineCircle 2", 10000);
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
};

HWND ChildFrameOf(HWND view) { return view ? GetParent(view) : nullptr; }

// Whether the window is gone within ten seconds.
bool WaitUntilGone(HWND window)
{
    for (DWORD start = GetTickCount(); IsWindow(window) && GetTickCount() - start < 10000;) Sleep(50);
    return !IsWindow(window);
}

TEST_F(DrawingViewTest, NewWindowMessageOpensUntitled1)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Caption(ChildFrameOf(view)), "無題1");
    char className[32] = {};
    GetClassNameA(view, className, sizeof className);
    EXPECT_STREQ(className, "RiririView");
    EXPECT_NE(Send(frame, WM_CAD_ACTIVE_DB), 0);
    // A handle that is no view activates nothing.
    EXPECT_EQ(Send(frame, WM_CAD_ACTIVE_VIEW, reinterpret_cast<WPARAM>(frame)), 0);

    HWND second = OpenDrawing();
    ASSERT_NE(second, nullptr);
    EXPECT_NE(second, view);
    EXPECT_EQ(Caption(ChildFrameOf(second)), "無題2");
}

TEST_F(DrawingViewTest, AppendedLineAndCircleArePaintedInTheirColours)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(AddLineAndCircle()) << Caption(frame);
    ViewMapping mapping;
    ASSERT_TRUE(ReadMapping(view, &mapping));
    EXPECT_GT(mapping.mode.scale, 0.0);
    EXPECT_EQ(mapping.storedWidth, mapping.centreX * 2 + (mapping.storedWidth & 1));
    EXPECT_EQ(mapping.storedHeight, mapping.centreY * 2 + (mapping.storedHeight & 1));
    std::string seen;
    EXPECT_TRUE(WaitForColour(view, mapping.ToClient(-80, 0), kRed, &seen)) << "line pixel " << seen;
    EXPECT_TRUE(WaitForColour(view, mapping.ToClient(0, 50), kGreen, &seen)) << "circle pixel " << seen;
    if (HasFailure()) SaveScreen("DrawingViewTest.bmp");
    EXPECT_TRUE(WaitForColour(view, mapping.ToClient(-50, 0), kGreen, &seen) ||
                WaitForColour(view, mapping.ToClient(-50, 0), kRed, &seen));
    EXPECT_FALSE(ShowsColourNear(view, mapping.ToClient(0, 25), kGreen, &seen)) << "inside the circle";
    EXPECT_FALSE(ShowsColourNear(view, mapping.ToClient(-80, 25), kRed, &seen)) << "above the line";
}

TEST_F(DrawingViewTest, WheelStepZoomsByOnePointFourAboutTheCursor)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(AddLineAndCircle()) << Caption(frame);
    ViewMapping before;
    ASSERT_TRUE(ReadMapping(view, &before));

    const POINT cursor = {before.centreX + 40, before.centreY - 20};
    double wx = 0, wy = 0;
    before.ToWorld(cursor, &wx, &wy);
    POINT screen = cursor;
    ClientToScreen(view, &screen);
    SetCursorPos(screen.x, screen.y);
    // Sent, not posted: the program has handled each when the call returns.
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
    Send(view, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(screen.x, screen.y));

    ViewMapping after;
    ASSERT_TRUE(ReadMapping(view, &after));
    EXPECT_NEAR(after.mode.scale, before.mode.scale * 1.4, before.mode.scale * 1e-9);
    // The world point that was under the cursor is now at the centre.
    EXPECT_NEAR(after.mode.offsetX, -wx, 1e-9);
    EXPECT_NEAR(after.mode.offsetY, -wy, 1e-9);
    std::string seen;
    EXPECT_TRUE(WaitForColour(view, after.ToClient(-80, 0), kRed, &seen)) << "line pixel " << seen;
    EXPECT_TRUE(WaitForColour(view, after.ToClient(0, 50), kGreen, &seen)) << "circle pixel " << seen;
}

TEST_F(DrawingViewTest, RealClickAnswersWaitPointWithThatPixelsWorldPoint)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5994, 0);
    ASSERT_TRUE(WaitForCaption(frame, "WaitPoint waiting", 10000)) << Caption(frame);
    ViewMapping mapping;
    ASSERT_TRUE(ReadMapping(view, &mapping));

    const POINT click = {mapping.centreX - 60, mapping.centreY + 30};
    POINT screen = click;
    ClientToScreen(view, &screen);
    SetForegroundWindow(frame);
    SetCursorPos(screen.x, screen.y);
    Sleep(100);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);

    std::string caption;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
        caption = Caption(frame);
        if (caption.rfind("WaitPoint point ", 0) == 0) break;
    }
    ASSERT_EQ(caption.rfind("WaitPoint point ", 0), 0u) << caption;
    unsigned long code = 0;
    double x = 0, y = 0;
    ASSERT_EQ(std::sscanf(caption.c_str(), "WaitPoint point 0x%lx %lf,%lf", &code, &x, &y), 3) << caption;
    double wx = 0, wy = 0;
    mapping.ToWorld(click, &wx, &wy);
    EXPECT_NEAR(x, wx, std::fabs(wx) * 1e-5 + 1e-3) << caption;
    EXPECT_NEAR(y, wy, std::fabs(wy) * 1e-5 + 1e-3) << caption;
    PostMessageA(view, WM_KEYDOWN, VK_ESCAPE, 1);
    Send(frame, WM_CAD_CANCEL_COMMAND);
}

TEST_F(DrawingViewTest, ModifiedDrawingAsksBeforeItsWindowCloses)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    HWND child = ChildFrameOf(view);
    ASSERT_TRUE(AddLineAndCircle()) << Caption(frame);

    // "Yes" saves: an untitled drawing asks for a name, and cancelling that keeps the window.
    PostMessageA(child, WM_CLOSE, 0, 0);
    HWND box = program.WaitForWindow("#32770", 10000);
    ASSERT_NE(box, nullptr) << "no save question";
    EXPECT_NE(StaticTexts(box).find("この図面は変更されています"), std::string::npos) << StaticTexts(box);
    EXPECT_NE(StaticTexts(box).find("無題1"), std::string::npos) << StaticTexts(box);
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    for (DWORD start = GetTickCount(); IsWindow(box) && GetTickCount() - start < 10000;) Sleep(50);
    HWND saveDialog = program.WaitForWindow("#32770", 10000);
    ASSERT_NE(saveDialog, nullptr) << "no save dialog";
    EXPECT_EQ(Caption(saveDialog), "ファイルの保存");
    PostMessageA(saveDialog, WM_COMMAND, IDCANCEL, 0);
    for (DWORD start = GetTickCount(); IsWindow(saveDialog) && GetTickCount() - start < 10000;) Sleep(50);
    EXPECT_TRUE(IsWindow(child)) << "the window closed although its drawing was not saved";

    PostMessageA(child, WM_CLOSE, 0, 0);
    box = program.WaitForWindow("#32770", 10000);
    ASSERT_NE(box, nullptr) << "no save question the second time";
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(WaitUntilGone(child));
    EXPECT_EQ(Send(frame, WM_CAD_ACTIVE_VIEW), 0);
}

TEST_F(DrawingViewTest, UnmodifiedDrawingClosesWithoutAQuestion)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    HWND child = ChildFrameOf(view);
    PostMessageA(child, WM_CLOSE, 0, 0);
    // The window-closed event command of the catalogue gets the frame's handle.
    EXPECT_TRUE(WaitForCaption(frame, std::to_string(reinterpret_cast<LONG_PTR>(child)), 10000)) << Caption(frame);
    EXPECT_TRUE(WaitUntilGone(child));
    EXPECT_EQ(program.WaitForWindow("#32770", 300), nullptr);
}

}  // namespace

namespace {

TEST_F(DrawingViewTest, FurtherViewOfTheDrawingSharesItAndNumbersBothViews)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    const LRESULT db = Send(frame, WM_CAD_ACTIVE_DB);
    PostMessageA(frame, WM_COMMAND, 4025, 0);
    HWND second = nullptr;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
        second = reinterpret_cast<HWND>(Send(frame, WM_CAD_ACTIVE_VIEW));
        if (second != nullptr && second != view) break;
    }
    ASSERT_NE(second, view) << "no further view";
    EXPECT_EQ(Send(frame, WM_CAD_ACTIVE_DB), db) << "the views do not share the drawing";
    EXPECT_EQ(Caption(ChildFrameOf(view)), "無題1 : 1");
    EXPECT_EQ(Caption(ChildFrameOf(second)), "無題1 : 2");

    // Closing one of the two leaves the other titled without a number, with the drawing alive.
    PostMessageA(ChildFrameOf(second), WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntilGone(second));
    EXPECT_TRUE(WaitForCaption(ChildFrameOf(view), "無題1", 5000)) << Caption(ChildFrameOf(view));
    EXPECT_EQ(Send(frame, WM_CAD_ACTIVE_DB), db);
    PostMessageA(frame, WM_COMMAND, 5993, 0);
    EXPECT_TRUE(WaitForCaption(frame, "AddLineCircle 2", 10000)) << Caption(frame);
}

}  // namespace

namespace {

struct VisibleButtons {
    int count = 0;
    std::string texts;
};

BOOL CALLBACK CollectVisibleButton(HWND child, LPARAM lParam)
{
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::string(className) == "SCBTN" && IsWindowVisible(child)) {
        auto* out = reinterpret_cast<VisibleButtons*>(lParam);
        ++out->count;
        char text[32] = {};
        GetWindowTextA(child, text, sizeof text);
        out->texts += text;
    }
    return TRUE;
}

TEST_F(DrawingViewTest, HoverNearTheTopEdgeShowsItsFiveButtonsAndTheirZoomWorks)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    HWND child = ChildFrameOf(view);
    RECT client;
    GetClientRect(view, &client);
    Send(view, WM_MOUSEHOVER, 0, MAKELPARAM(client.right / 2, 10));
    VisibleButtons shown;
    EnumChildWindows(child, CollectVisibleButton, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.count, 5);
    for (const char* text : {"拡大", "基準", "縮小"}) EXPECT_NE(shown.texts.find(text), std::string::npos) << text;
    Send(view, WM_MOUSEHOVER, 0, MAKELPARAM(client.right / 2, client.bottom / 2));
    shown = VisibleButtons{};
    EnumChildWindows(child, CollectVisibleButton, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.count, 0);

    // The zoom-in button's command zooms about the view centre by 1.4.
    ViewMapping before, after;
    ASSERT_TRUE(ReadMapping(view, &before));
    Send(child, WM_COMMAND, 1004);
    Send(view, WM_NULL);  // the frame posts the command on to its view
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50)) {
        ASSERT_TRUE(ReadMapping(view, &after));
        if (after.mode.scale != before.mode.scale) break;
    }
    EXPECT_NEAR(after.mode.scale, before.mode.scale * 1.4, before.mode.scale * 1e-9);
    EXPECT_NEAR(after.mode.offsetX, before.mode.offsetX, 1e-9);
}

}  // namespace

namespace {

TEST_F(DrawingViewTest, WindowStaysWhileAPluginCommandRunsAndClosesAfterIt)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    HWND child = ChildFrameOf(view);
    // "Wait" ignores the cancel and runs until the host window carries its property.
    RemovePropA(frame, "TestPluginCancel");
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5995, 0);
    bool running = false;
    for (DWORD start = GetTickCount(); !running && GetTickCount() - start < 10000; Sleep(50)) {
        running = Caption(frame).find("/C:Wait") != std::string::npos;
    }
    ASSERT_TRUE(running) << Caption(frame);
    PostMessageA(child, WM_CLOSE, 0, 0);
    Sleep(3000);  // ten quick tries and then the timer: the window must outlast them all
    EXPECT_TRUE(IsWindow(child)) << "the window closed under a running plug-in command";
    SetPropA(frame, "TestPluginCancel", reinterpret_cast<HANDLE>(1));
    EXPECT_TRUE(WaitUntilGone(child)) << "the close was not tried again after the command ended";
}

TEST_F(DrawingViewTest, CloseWithACancelWordThatIsNoneOfTheProgramsIsSafe)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    HWND child = ChildFrameOf(view);
    // Another program's idea of a cancel word: an address the program never registered.
    PostMessageA(child, WM_CLOSE, 100, 0x10);
    EXPECT_TRUE(WaitUntilGone(child));
    EXPECT_EQ(Send(frame, WM_CAD_ACTIVE_VIEW), 0) << "the program no longer answers";
}

}  // namespace

namespace {

TEST_F(DrawingViewTest, ClosingAllWindowsAsksOnceForADrawingInThreeViews)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(AddLineAndCircle()) << Caption(frame);
    for (int i = 0; i < 2; ++i) {
        HWND before = reinterpret_cast<HWND>(Send(frame, WM_CAD_ACTIVE_VIEW));
        PostMessageA(frame, WM_COMMAND, 4025, 0);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
            if (reinterpret_cast<HWND>(Send(frame, WM_CAD_ACTIVE_VIEW)) != before) break;
        }
    }
    HWND third = reinterpret_cast<HWND>(Send(frame, WM_CAD_ACTIVE_VIEW));
    EXPECT_EQ(Caption(ChildFrameOf(third)), "無題1 : 3");

    PostMessageA(frame, WM_CLOSE, 0, 0);
    HWND box = program.WaitForWindow("#32770", 10000);
    ASSERT_NE(box, nullptr) << "no save question";
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    DWORD exitCode = 0;
    bool ended = false;
    int questions = 1;
    for (DWORD start = GetTickCount(); !ended && GetTickCount() - start < 15000;) {
        if (HWND again = program.WaitForWindow("#32770", 200)) {
            if (again != box) ++questions;
            box = again;
            PostMessageA(again, WM_COMMAND, IDNO, 0);
        }
        ended = program.WaitForExit(200, &exitCode);
    }
    EXPECT_TRUE(ended);
    EXPECT_EQ(questions, 1);
    frame = nullptr;
}

}  // namespace

namespace {

TEST_F(DrawingViewTest, ViewLockMessagesAndTheNewWindowThatAnswersItsDatabase)
{
    HWND first = OpenDrawing();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Send(frame, WM_CADDB_CAPTURE_VIEW), 1);
    // A new window's database: 2539 answers it and marks the drawing modified.
    const LRESULT db = Send(frame, WM_CADDB_NEW_WINDOW_DB);
    EXPECT_NE(db, 0);
    EXPECT_EQ(Send(frame, WM_CAD_ACTIVE_DB), db);
    EXPECT_EQ(Send(frame, WM_CADDB_RELEASE_VIEW), 1);
}

// A real left click at the client point of the view; the view is told where the mouse is first.
void ClickInView(HWND view, POINT client)
{
    POINT screen = client;
    ClientToScreen(view, &screen);
    SetCursorPos(screen.x, screen.y);
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// Area zoom (service command 1210) by two real clicks, then the previous view (1333) brings the
// setting before the zoom back.
TEST_F(DrawingViewTest, AreaZoomByTwoClicksAndThePreviousView)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ViewMapping before;
    ASSERT_TRUE(ReadMapping(view, &before));
    PostMessageA(frame, WM_COMMAND, 1210, 0);
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));

    const POINT corners[2] = {{before.centreX - 100, before.centreY - 40}, {before.centreX + 20, before.centreY + 20}};
    SetForegroundWindow(frame);
    for (const POINT& corner : corners) {
        ClickInView(view, corner);
        ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    }
    ViewMapping after;
    ASSERT_TRUE(WaitForScaleChange(view, before.mode.scale, &after));
    // The 120 x 60 pixel box now fills the view: its centre is the view's centre.
    EXPECT_GT(after.mode.scale, before.mode.scale * 1.5);
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    before.ToWorld(corners[0], &x1, &y1);
    before.ToWorld(corners[1], &x2, &y2);
    EXPECT_NEAR(after.mode.offsetX, -(x1 + x2) / 2, std::fabs(x2 - x1) * 0.05)
        << "before " << before.mode.offsetX << "," << before.mode.offsetY << " x" << before.mode.scale << " after "
        << after.mode.offsetX << "," << after.mode.offsetY << " x" << after.mode.scale << " corners " << x1 << ","
        << y1 << " " << x2 << "," << y2;
    EXPECT_NEAR(after.mode.offsetY, -(y1 + y2) / 2, std::fabs(y2 - y1) * 0.05);

    // Escape in the first corner ends the area zoom; the previous view swaps the settings back.
    PostMessageA(frame, WM_COMMAND, 1211, 0);
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    PostMessageA(frame, WM_COMMAND, 1333, 0);
    ViewMapping back;
    ASSERT_TRUE(WaitForScaleChange(view, after.mode.scale, &back));
    EXPECT_DOUBLE_EQ(back.mode.scale, before.mode.scale);
    EXPECT_DOUBLE_EQ(back.mode.offsetX, before.mode.offsetX);
}

// View command 3014 puts the keyboard cursor on the line end near the mouse (not on the mouse
// point), and 3020 gives that point to the waiting command.
TEST_F(DrawingViewTest, SnapToAnEndPointPutsTheKeyboardCursorOnTheLineEnd)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(AddLineAndCircle()) << Caption(frame);
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5994, 0);
    ASSERT_TRUE(WaitForCaption(frame, "WaitPoint waiting", 10000)) << Caption(frame);
    ViewMapping mapping;
    ASSERT_TRUE(ReadMapping(view, &mapping));
    const POINT nearEnd = mapping.ToClient(99, 1);
    // The real pointer goes there too: a motion the display reports for where an earlier test
    // left it would otherwise move the view's cursor point away before the search.
    POINT screen = nearEnd;
    ClientToScreen(view, &screen);
    SetCursorPos(screen.x, screen.y);
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(nearEnd.x, nearEnd.y));
    PostMessageA(frame, WM_COMMAND, 3014, 0);
    PostMessageA(frame, WM_COMMAND, 3020, 0);
    std::string caption;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
        caption = Caption(frame);
        if (caption.rfind("WaitPoint point ", 0) == 0) break;
    }
    unsigned long code = 0;
    double x = 0, y = 0;
    ASSERT_EQ(std::sscanf(caption.c_str(), "WaitPoint point 0x%lx %lf,%lf", &code, &x, &y), 3) << caption;
    EXPECT_DOUBLE_EQ(x, 100);
    EXPECT_DOUBLE_EQ(y, 0);
    Send(frame, WM_CAD_CANCEL_COMMAND);
}

// The service commands' further views (1203, 1213) share the source's drawing too: closing
// them leaves the drawing alive and usable in the first view.
TEST_F(DrawingViewTest, ServiceCommandFurtherViewsShareTheDrawing)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    const LRESULT db = Send(frame, WM_CAD_ACTIVE_DB);
    for (WPARAM id : {1203, 1213}) {
        PostMessageA(frame, WM_COMMAND, id, 0);
        HWND further = nullptr;
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
            further = reinterpret_cast<HWND>(Send(frame, WM_CAD_ACTIVE_VIEW));
            if (further != nullptr && further != view) break;
        }
        ASSERT_NE(further, view) << "no further view for " << id;
        EXPECT_EQ(Send(frame, WM_CAD_ACTIVE_DB), db) << id;
        PostMessageA(ChildFrameOf(further), WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitUntilGone(further)) << id;
        EXPECT_EQ(Send(frame, WM_CAD_ACTIVE_DB), db) << id;
    }
    PostMessageA(frame, WM_COMMAND, 5993, 0);
    EXPECT_TRUE(WaitForCaption(frame, "AddLineCircle 2", 10000)) << Caption(frame);
}

// Zoom (1205) started while the scroll (1206) waits ends the scroll and starts afresh: a click
// then zooms in by one step.
TEST_F(DrawingViewTest, ZoomStartedDuringAScrollZoomsAtTheNextClick)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ViewMapping before;
    ASSERT_TRUE(ReadMapping(view, &before));
    PostMessageA(frame, WM_COMMAND, 1206, 0);
    PostMessageA(frame, WM_COMMAND, 1205, 0);
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));

    SetForegroundWindow(frame);
    ClickInView(view, POINT{before.centreX, before.centreY});
    ViewMapping after;
    ASSERT_TRUE(WaitForScaleChange(view, before.mode.scale, &after));
    EXPECT_DOUBLE_EQ(after.mode.scale, before.mode.scale * 2);
    PostMessageA(frame, WM_COMMAND, 1211, 0);
    EXPECT_TRUE(WaitUntilResponsive(frame, 10000));
}

// Zoom to all elements (1334): the line from (-100, 0) to (100, 0) and the circle of radius 50
// around the origin fill the view, centred on the origin.
TEST_F(DrawingViewTest, ZoomToAllFitsEveryElement)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(AddLineAndCircle()) << Caption(frame);
    ViewMapping before;
    ASSERT_TRUE(ReadMapping(view, &before));
    PostMessageA(frame, WM_COMMAND, 1334, 0);
    ViewMapping after;
    ASSERT_TRUE(WaitForScaleChange(view, before.mode.scale, &after));
    RECT client;
    GetClientRect(view, &client);
    const double fit = std::fmin(client.right / 200.0, client.bottom / 100.0);
    EXPECT_GT(after.mode.scale, fit * 0.5);
    EXPECT_LE(after.mode.scale, fit * 1.0001);
    EXPECT_NEAR(after.mode.offsetX, 0, 1e-9);
    EXPECT_NEAR(after.mode.offsetY, 0, 1e-9);
}

}  // namespace
