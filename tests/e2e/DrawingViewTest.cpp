// A drawing window in the real program: message 2424 opens "無題1"; a plug-in command appends a
// line and a circle, which the view paints in their colours where the view's setting puts them;
// a wheel step zooms by 1.4 about the cursor; a real click answers a waiting command with that
// pixel's world point; a modified drawing asks before its window closes.
#include "GTest.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "DrawingWindowRecords.h"
#include "HostMessages.h"
#include "PointerInput.h"
#include "ProgramProcess.h"
#include "ViewScreen.h"
#include "TempFolder.h"
#include "TestTiff.h"
#include "UserSettingsFiles.h"
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
    "<item>PageLayout;頁配置,5996,TestPlugin.dll /C:PageLayout</item>\n"
    "<item>RubberBand;ラバー,5997,TestPlugin.dll /C:RubberBand</item>\n"
    "<item>AttachTiff;画像,5998,TestPlugin.dll /C:AttachTiff e2e-attach.tif</item>\n"
    "<item>AttachJunk;不正画像,5999,TestPlugin.dll /C:AttachTiff e2e-junk.tif</item>\n"
    "<item>SavedOnClose;終了保存,6201,TestPlugin.dll /C:Record saved-on-close</item>\n"
    "<item>LastClosed;最終,6202,TestPlugin.dll /C:Wait last-closed</item>\n"
    "<item>MarkLines;線千本,5991,TestPlugin.dll /C:MarkLines</item>\n"
    "<item>MarkPreview;移動表示,5992,TestPlugin.dll /C:MarkPreview</item>\n"
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
        if (view == nullptr || !IsWindow(view)) return nullptr;
        // The tests map world points to the screen: they start once the view has settled.
        EXPECT_TRUE(WaitForSteadyView(program.ProcessId(), view, 10000));
        return view;
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
    bool ReadBlock(HWND view, PDBINFO* block) { return ReadViewBlock(program.ProcessId(), view, block); }

    // WaitPoint waiting, then the loupe (2602) opened at the cursor; the loupe, or null.
    HWND OpenLoupeWhileWaitingForAPoint()
    {
        PostMessageA(frame, WM_CAD_RUN_COMMAND, 5994, 0);
        if (!WaitForCaption(frame, "WaitPoint waiting", 10000)) return nullptr;
        PostMessageA(frame, WM_CAD_LOUPE_TOGGLE, 0, 0);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
            HWND loupe = FindWindowA("#ROUPEVIEW#", nullptr);
            if (loupe != nullptr && IsWindowVisible(loupe)) return loupe;
        }
        return nullptr;
    }

    // The line and the circle, WaitPoint waiting, and view command 3014 with the mouse near
    // the line's end at (100, 0): the keyboard cursor goes to that end.
    bool PutKeyCursorOnTheLineEnd(HWND view, ViewMapping* mapping)
    {
        if (!AddLineAndCircle()) return false;
        PostMessageA(frame, WM_CAD_RUN_COMMAND, 5994, 0);
        if (!WaitForCaption(frame, "WaitPoint waiting", 10000) || !ReadMapping(view, mapping)) return false;
        const POINT nearEnd = mapping->ToClient(99, 1);
        // The real pointer goes there too: a motion the display reports for where an earlier test
        // left it would otherwise move the view's cursor point away before the search.
        POINT screen = nearEnd;
        ClientToScreen(view, &screen);
        SetCursorPos(screen.x, screen.y);
        Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(nearEnd.x, nearEnd.y));
        PostMessageA(frame, WM_COMMAND, 3014, 0);
        return true;
    }

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
    // Without a closing event the last window's close leaves the last-window command alone.
    EXPECT_EQ(Caption(frame).find("last-closed"), std::string::npos) << Caption(frame);
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
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::string(className) == "RiririScrollButton" && IsWindowVisible(child)) {
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

// A drawing whose saving a plug-in took over (save option 1): the program's close saves it
// through the closing event command, and the close of the last drawing window then runs the
// last-window event command 6202.
TEST_F(DrawingViewTest, LastWindowClosedAfterAnEventSaveRunsTheLastWindowCommand)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(AddLineAndCircle()) << Caption(frame);
    TempFolder folder;
    const std::string path = folder.File("events.tcf");
    ASSERT_TRUE(SaveActiveDrawingAs(program, frame, path)) << "no save dialog";
    for (DWORD start = GetTickCount(); ElementsOfFile(path) != 2 && GetTickCount() - start < 10000;) Sleep(50);
    ASSERT_EQ(ElementsOfFile(path), 2);
    PostMessageA(frame, WM_COMMAND, 5993, 0);
    ASSERT_TRUE(WaitForCaption(frame, "AddLineCircle 4", 10000)) << Caption(frame);
    ASSERT_EQ(Send(frame, WM_CAD_VIEW_STATE, 1, 1), 1);

    RemovePropA(frame, "TestPluginCancel");
    PostMessageA(frame, WM_CLOSE, 0, 0);
    HWND box = program.WaitForWindow("#32770", 10000);
    ASSERT_NE(box, nullptr) << "no save question";
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    bool lastRan = false;
    for (DWORD start = GetTickCount(); !lastRan && GetTickCount() - start < 15000;) {
        // Saving over the file it came from asks once more.
        if (HWND again = program.WaitForWindow("#32770", 200); again != nullptr && again != box) {
            box = again;
            PostMessageA(again, WM_COMMAND, IDOK, 0);
        }
        lastRan = Caption(frame).find("last-closed") != std::string::npos;
    }
    EXPECT_TRUE(lastRan) << Caption(frame);
    EXPECT_EQ(Send(frame, WM_CAD_ACTIVE_VIEW), 0) << "it ran before every window had gone";
    SetPropA(frame, "TestPluginCancel", reinterpret_cast<HANDLE>(1));
    DWORD exitCode = 0;
    EXPECT_TRUE(program.WaitForExit(15000, &exitCode));
    EXPECT_EQ(ElementsOfFile(path), 2) << "the event command saves, not the program";
    frame = nullptr;
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
    ViewMapping mapping;
    ASSERT_TRUE(PutKeyCursorOnTheLineEnd(view, &mapping)) << Caption(frame);
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

namespace {

bool WaitForPixels(const RECT& r, const std::vector<DWORD>& wanted, bool equal)
{
    // A loaded machine can take seconds before what the program drew reaches the display.
    for (DWORD start = GetTickCount(); GetTickCount() - start < 15000; Sleep(50)) {
        if ((ScreenPixels(r) == wanted) == equal) return true;
    }
    return false;
}

// How many pixels of two pictures of one rectangle differ, and the first few of them.
std::string DescribeDifferences(const std::vector<DWORD>& before, const std::vector<DWORD>& after, int width)
{
    std::string diff;
    int count = 0;
    for (size_t i = 0; i < after.size() && i < before.size(); ++i) {
        if (after[i] == before[i]) continue;
        if (++count <= 6) {
            char text[64];
            std::snprintf(text, sizeof text, " (%d,%d) %06lx->%06lx", static_cast<int>(i % width),
                          static_cast<int>(i / width), static_cast<unsigned long>(before[i]),
                          static_cast<unsigned long>(after[i]));
            diff += text;
        }
    }
    return std::to_string(count) + " pixels differ:" + diff;
}

// The pixels of the rectangle once the screen has settled: two pictures a moment apart agree
// (5 seconds at most).
std::vector<DWORD> SettledPixels(const RECT& r)
{
    std::vector<DWORD> pixels = ScreenPixels(r);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000;) {
        Sleep(200);
        std::vector<DWORD> again = ScreenPixels(r);
        if (again == pixels) break;
        pixels = std::move(again);
    }
    return pixels;
}

struct CellList {
    std::vector<HWND> cells;
};

BOOL CALLBACK CollectLayoutCell(HWND child, LPARAM lParam)
{
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (std::string(className) == "LAY_WND" && IsWindowVisible(child)) reinterpret_cast<CellList*>(lParam)->cells.push_back(child);
    return TRUE;
}

// Ten pages (the drawing and nine more added through the page service) in page layout: nine
// cells, a scroll range of two groups, and in the second group only the first cell has a page.
TEST_F(DrawingViewTest, PageLayoutOfTenPagesShowsNineCellsAndScrollsToTheSecondGroup)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    PostMessageA(frame, WM_COMMAND, 5996, 0);
    ASSERT_TRUE(WaitForCaption(frame, "PageLayout added 9 layout 1", 10000)) << Caption(frame);
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    PDBINFO block;
    ASSERT_TRUE(ReadBlock(view, &block));
    EXPECT_EQ(block.pageLayout, 1);
    CellList shown;
    EnumChildWindows(view, CollectLayoutCell, reinterpret_cast<LPARAM>(&shown));
    ASSERT_EQ(shown.cells.size(), 9u);

    // Cells in screen order: the first of the second group is the top-left one.
    auto cellAt = [&](int column, int row) {
        RECT client;
        GetClientRect(view, &client);
        POINT p = {client.right * (2 * column + 1) / 6, client.bottom * (2 * row + 1) / 6};
        ClientToScreen(view, &p);
        return WindowFromPoint(p);
    };
    constexpr COLORREF kGrey = RGB(0x80, 0x80, 0x80);
    std::string seen;
    const POINT middle = {20, 20};
    auto waitForNoGrey = [&](HWND cell) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50)) {
            if (!ShowsColourNear(cell, middle, kGrey, &seen)) return true;
        }
        return false;
    };
    for (int i = 0; i < 9; ++i) EXPECT_TRUE(waitForNoGrey(cellAt(i % 3, i / 3))) << "group 1 cell " << i << " " << seen;
    Send(view, WM_VSCROLL, SB_LINEDOWN);
    ASSERT_TRUE(ReadBlock(view, &block));
    EXPECT_EQ(block.layoutGroup, 2);
    for (int i = 1; i < 9; ++i) {
        EXPECT_TRUE(WaitForColour(cellAt(i % 3, i / 3), middle, kGrey, &seen)) << "group 2 cell " << i << " " << seen;
    }
    EXPECT_TRUE(waitForNoGrey(cellAt(0, 0))) << "the tenth page " << seen;
    if (HasFailure()) SaveScreen("PageLayoutTest.bmp");
    // The range ends at the second group.
    Send(view, WM_VSCROLL, SB_LINEDOWN);
    ASSERT_TRUE(ReadBlock(view, &block));
    EXPECT_EQ(block.layoutGroup, 2);
}

// A plug-in's rubber band (2383, 2384) shows on the screen and is gone after the next mouse
// move: the strip along the line looks as it did before the band.
TEST_F(DrawingViewTest, RubberBandFromAPluginIsErasedByAMouseMove)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ViewMapping mapping;
    ASSERT_TRUE(ReadMapping(view, &mapping));
    // The mouse rests away from the line, so its cross-hair stays out of the compared strip.
    const POINT rest = mapping.ToClient(150, -60);
    POINT screenRest = rest;
    ClientToScreen(view, &screenRest);
    SetForegroundWindow(frame);
    SetCursorPos(screenRest.x, screenRest.y);
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(rest.x, rest.y));
    POINT from = mapping.ToClient(-90, 30), to = mapping.ToClient(90, 30);
    ClientToScreen(view, &from);
    ClientToScreen(view, &to);
    const RECT strip = {from.x, from.y - 8, to.x, to.y + 8};
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    // The view is painted at once, and the screen has settled before the picture is taken.
    Send(frame, WM_CAD_REDRAW_VIEW);
    const std::vector<DWORD> before = SettledPixels(strip);

    PostMessageA(frame, WM_COMMAND, 5997, 0);
    ASSERT_TRUE(WaitForCaption(frame, "RubberBand waiting", 10000)) << Caption(frame);
    EXPECT_TRUE(WaitForPixels(strip, before, false)) << "the rubber band did not show";
    // The system's repeat of a move where the mouse rests is no move: the wait goes on and the
    // band stays.
    const std::vector<DWORD> shown = SettledPixels(strip);
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(rest.x, rest.y));
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    EXPECT_EQ(Caption(frame), "RubberBand waiting");
    EXPECT_TRUE(ScreenPixels(strip) == shown) << "a repeated move took the band away";

    SetCursorPos(screenRest.x + 3, screenRest.y);
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(rest.x + 3, rest.y));
    std::string caption;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
        caption = Caption(frame);
        if (caption.rfind("RubberBand point 0x20 ", 0) == 0) break;
    }
    EXPECT_EQ(caption.rfind("RubberBand point 0x20 ", 0), 0u) << caption;
    const bool erased = WaitForPixels(strip, before, true);
    EXPECT_TRUE(erased) << "the rubber band was left on the screen: "
                        << (erased ? "" : DescribeDifferences(before, ScreenPixels(strip), strip.right - strip.left));
    if (HasFailure()) SaveScreen("RubberBandTest.bmp");
    PostMessageA(view, WM_KEYDOWN, VK_ESCAPE, 1);
    Send(frame, WM_CAD_CANCEL_COMMAND);
}

// A short horizontal run of drawn pixels in a picture.
struct InkRun {
    int x, y, length;
};

// The runs of pixels other than the picture's background (its commonest colour), row by row
// from the top, each row from the left.
std::vector<InkRun> InkRuns(const std::vector<DWORD>& pixels, int width)
{
    std::map<DWORD, size_t> counts;
    for (DWORD p : pixels) ++counts[p];
    DWORD background = 0;
    size_t most = 0;
    for (const auto& [colour, count] : counts) {
        if (count > most) background = colour, most = count;
    }
    std::vector<InkRun> runs;
    const int height = width > 0 ? static_cast<int>(pixels.size()) / width : 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (pixels[y * width + x] == background) continue;
            InkRun run = {x, y, 0};
            while (x < width && pixels[y * width + x] != background) ++run.length, ++x;
            runs.push_back(run);
        }
    }
    return runs;
}

// The preview of a selection of 1,000 lines (2385) is drawn in groups of 200: when the mouse
// moves while the first group is drawn, the preview stops at the 200th line, and the next
// rubber-band step erases exactly what was drawn. The plug-in's lines lie on a grid in the
// middle of the view, in mark order row by row from the top; the preview puts each copy on its
// line, so a drawn copy shows as a changed line.
TEST_F(DrawingViewTest, APreviewOfAThousandElementsStopsAtTheNextTwoHundredWhenTheMouseMoves)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    PostMessageA(frame, WM_COMMAND, 5991, 0);
    ASSERT_TRUE(WaitForCaption(frame, "MarkLines 1000", 10000)) << Caption(frame);
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    // The grid is 320 x 200 pixels about the view's centre; the box around it leaves room for
    // where the display puts the view's pixels.
    RECT client;
    GetClientRect(view, &client);
    const POINT centre = {client.right / 2, client.bottom / 2};
    POINT corners[2] = {{centre.x - 170, centre.y - 110}, {centre.x + 170, centre.y + 110}};
    for (POINT& p : corners) ClientToScreen(view, &p);
    const RECT box = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    const int width = box.right - box.left;
    // The mouse rests beyond the grid's lower right corner: its cross-hair stays out of the box.
    const POINT rest = {centre.x + 200, centre.y + 130};
    ASSERT_LT(rest.x, client.right);
    ASSERT_LT(rest.y, client.bottom);
    POINT screenRest = rest;
    ClientToScreen(view, &screenRest);
    SetForegroundWindow(frame);
    SetCursorPos(screenRest.x, screenRest.y);
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(rest.x, rest.y));
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    Send(frame, WM_CAD_REDRAW_VIEW);
    const std::vector<DWORD> before = SettledPixels(box);
    const std::vector<InkRun> lines = InkRuns(before, width);
    ASSERT_EQ(lines.size(), 1000u) << "the grid of lines as the screen shows it";

    // The plug-in waits, with its cursor-moving window open, until the move is queued for it.
    PostMessageA(frame, WM_COMMAND, 5992, 0);
    HWND mover = nullptr;
    for (DWORD start = GetTickCount(); !mover && GetTickCount() - start < 10000; Sleep(20))
        mover = FindWindowA("TestPluginCursorMover", nullptr);
    ASSERT_NE(mover, nullptr);
    ASSERT_TRUE(SendNotifyMessageA(mover, WM_APP + 1, 0, 0));
    HANDLE queued = OpenEventA(EVENT_MODIFY_STATE, FALSE, "TestPluginMoveQueued");
    ASSERT_NE(queued, nullptr);
    SetEvent(queued);
    CloseHandle(queued);
    ASSERT_TRUE(WaitForCaption(frame, "MarkPreview moved 1 waiting", 10000))
        << Caption(frame) << ": the mouse did not move while the preview was drawn";
    // The caption can come before the preview's pixels reach the display.
    EXPECT_TRUE(WaitForPixels(box, before, false)) << "the preview did not show";
    const std::vector<DWORD> shown = SettledPixels(box);
    std::vector<bool> changed(before.size(), false);
    for (size_t i = 0; i < before.size(); ++i) changed[i] = before[i] != shown[i];
    size_t drawn = 0, outOfOrder = 0;
    for (const InkRun& line : lines) {
        bool any = false;
        for (int x = line.x; x < line.x + line.length; ++x) {
            const size_t i = static_cast<size_t>(line.y) * width + x;
            any = any || changed[i];
            changed[i] = false;
        }
        if (any && drawn++ != static_cast<size_t>(&line - lines.data())) ++outOfOrder;
    }
    const size_t elsewhere = static_cast<size_t>(std::count(changed.begin(), changed.end(), true));
    EXPECT_EQ(drawn, 200u) << "lines drawn before the preview stopped";
    EXPECT_EQ(outOfOrder, 0u) << "the lines drawn are the first ones of the mark";
    EXPECT_EQ(elsewhere, 0u) << "pixels changed off the lines";

    // The next move is a rubber-band step: it erases the 200 copies and nothing more.
    SetCursorPos(screenRest.x + 3, screenRest.y);
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(rest.x + 3, rest.y));
    std::string caption;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
        caption = Caption(frame);
        if (caption.rfind("MarkPreview moved 1 point 0x20 ", 0) == 0) break;
    }
    EXPECT_EQ(caption.rfind("MarkPreview moved 1 point 0x20 ", 0), 0u) << caption;
    const bool erased = WaitForPixels(box, before, true);
    EXPECT_TRUE(erased) << "the preview was not erased exactly: "
                        << (erased ? "" : DescribeDifferences(before, ScreenPixels(box), width));
    if (HasFailure()) SaveScreen("MarkPreviewTest.bmp");
    PostMessageA(view, WM_KEYDOWN, VK_ESCAPE, 1);
    Send(frame, WM_CAD_CANCEL_COMMAND);
}

// The loupe (2602) opens centred on the cursor.
TEST_F(DrawingViewTest, LoupeOpensCentredOnTheCursor)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ViewMapping mapping;
    ASSERT_TRUE(ReadMapping(view, &mapping));
    const POINT at = {mapping.centreX + 40, mapping.centreY + 20};
    POINT screen = at;
    ClientToScreen(view, &screen);
    SetForegroundWindow(frame);
    SetCursorPos(screen.x, screen.y);
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    HWND loupe = OpenLoupeWhileWaitingForAPoint();
    ASSERT_NE(loupe, nullptr) << Caption(frame);
    RECT outer;
    GetWindowRect(loupe, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, screen.x, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, screen.y, 1);

    Send(frame, WM_CAD_CANCEL_COMMAND);
}

// A click in the loupe answers the waiting command with the loupe's world point, not the view's.
TEST_F(DrawingViewTest, AClickInTheLoupeAnswersWithItsPoint)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ViewMapping mapping;
    ASSERT_TRUE(ReadMapping(view, &mapping));
    const POINT at = {mapping.centreX + 40, mapping.centreY + 20};
    double cx = 0, cy = 0;
    mapping.ToWorld(at, &cx, &cy);
    POINT screen = at;
    ClientToScreen(view, &screen);
    SetForegroundWindow(frame);
    // The pointer's arrival is taken in before the loupe opens over it, so that it cannot put
    // the frame back over the loupe afterwards.
    ASSERT_TRUE(SettlePointer(view, screen)) << DescribeStackingAt(program.ProcessId(), screen);
    Send(view, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
    HWND loupe = OpenLoupeWhileWaitingForAPoint();
    ASSERT_NE(loupe, nullptr) << Caption(frame);
    RECT outer;
    GetWindowRect(loupe, &outer);
    EXPECT_NEAR((outer.left + outer.right) / 2, screen.x, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, screen.y, 1);

    RECT client;
    GetClientRect(loupe, &client);
    ASSERT_GT(client.right, 0);
    // The loupe shows a twentieth of the view's width around the cursor's world point.
    const double viewWidth = mapping.centreX * 2 / mapping.mode.scale;
    const double e = viewWidth * 0.5 * 0.05, e2 = e * client.bottom / client.right;
    const POINT click = {client.right / 2 + 60, client.bottom / 2 + 30};
    const double wantX = cx - e + 2 * e / client.right * click.x, wantY = cy + e2 - 2 * e2 / client.bottom * click.y;
    POINT clickScreen = click;
    ClientToScreen(loupe, &clickScreen);
    ASSERT_TRUE(ClickWindowAt(loupe, clickScreen)) << DescribeStackingAt(program.ProcessId(), clickScreen);
    std::string caption;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
        caption = Caption(frame);
        if (caption.rfind("WaitPoint point ", 0) == 0) break;
    }
    unsigned long code = 0;
    double x = 0, y = 0;
    ASSERT_EQ(std::sscanf(caption.c_str(), "WaitPoint point 0x%lx %lf,%lf", &code, &x, &y), 3) << caption;
    const double loupePixel = 2 * e / client.right;
    ViewMapping now;
    ASSERT_TRUE(ReadMapping(view, &now));
    char views[200];
    std::snprintf(views, sizeof views, " (view scale %g, stored %dx%d, centre %d,%d; now %g, %dx%d, %d,%d)",
                  mapping.mode.scale, mapping.storedWidth, mapping.storedHeight, mapping.centreX, mapping.centreY,
                  now.mode.scale, now.storedWidth, now.storedHeight, now.centreX, now.centreY);
    EXPECT_NEAR(x, wantX, 3 * loupePixel) << caption << views;
    EXPECT_NEAR(y, wantY, 3 * loupePixel) << caption << views;
    // The view's own mapping of that screen point lies many loupe pixels away.
    double vx = 0, vy = 0;
    POINT inView = clickScreen;
    ScreenToClient(view, &inView);
    mapping.ToWorld(inView, &vx, &vy);
    EXPECT_GT(std::fabs(vx - x), 10 * loupePixel);
    PostMessageA(view, WM_KEYDOWN, VK_ESCAPE, 1);
    Send(frame, WM_CAD_CANCEL_COMMAND);
}

}  // namespace

namespace {

// The bounding box of what the blinking keyboard-cursor marker changes around a screen point:
// the square is watched until a picture comes back after another one (a blink goes and comes
// back, where a one-time change such as the mouse cross-hair leaving does not), and the pixels
// that differ between the two are boxed.
bool MarkerBox(POINT centre, SIZE* box)
{
    const RECT square = {centre.x - 20, centre.y - 20, centre.x + 21, centre.y + 21};
    std::vector<DWORD> older, first = ScreenPixels(square), second;
    bool found = false;
    for (DWORD start = GetTickCount(); !found && GetTickCount() - start < 5000; Sleep(20)) {
        std::vector<DWORD> now = ScreenPixels(square);
        if (now == first) continue;
        found = !older.empty() && now == older;
        second = now;
        if (!found) {
            older = std::move(first);
            first = std::move(now);
        }
    }
    if (!found) return false;
    const int width = square.right - square.left;
    int left = width, right = -1, top = width, bottom = -1;
    for (size_t i = 0; i < first.size(); ++i) {
        if (first[i] == second[i]) continue;
        const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    box->cx = right - left + 1;
    box->cy = bottom - top + 1;
    return true;
}

// The keyboard-cursor marker is a cross of four pixels each way, whatever the zoom.
TEST_F(DrawingViewTest, KeyboardCursorMarkerIsFourPixelsAtAnyZoom)
{
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    ViewMapping mapping;
    ASSERT_TRUE(PutKeyCursorOnTheLineEnd(view, &mapping)) << Caption(frame);
    // The mouse leaves the view, so only the marker blinks there.
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    SetCursorPos(0, 0);

    std::vector<SIZE> boxes;
    for (int zoom = 0; zoom < 2; ++zoom) {
        ASSERT_TRUE(ReadMapping(view, &mapping));
        POINT at = mapping.ToClient(100, 0);
        ClientToScreen(view, &at);
        SIZE box = {};
        ASSERT_TRUE(MarkerBox(at, &box)) << "no blinking marker at zoom " << zoom;
        boxes.push_back(box);
        if (zoom == 0) {
            POINT centre = {mapping.centreX, mapping.centreY};
            ClientToScreen(view, &centre);
            Send(view, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
            Send(view, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
            ViewMapping zoomed;
            ASSERT_TRUE(ReadMapping(view, &zoomed));
            ASSERT_GT(zoomed.mode.scale, mapping.mode.scale * 1.9);
        }
    }
    for (const SIZE& box : boxes) {
        EXPECT_GE(box.cx, 8);
        EXPECT_LE(box.cx, 9);
        EXPECT_GE(box.cy, 8);
        EXPECT_LE(box.cy, 9);
    }
    EXPECT_EQ(boxes[0].cx, boxes[1].cx);
    EXPECT_EQ(boxes[0].cy, boxes[1].cy);
    if (HasFailure()) SaveScreen("KeyCursorMarkerTest.bmp");
    Send(frame, WM_CAD_CANCEL_COMMAND);
}

}  // namespace

namespace {

// A TIFF written now attaches to the drawing through the plug-in's raster request (2610,
// operation 1) in the real program, with its picture library, and the view shows it; bytes
// that are no TIFF attach nothing and answer 0.
TEST_F(DrawingViewTest, TiffWrittenNowAttachesThroughThePluginsRasterRequest)
{
    const std::string folder = ProgramFolder();
    const std::string tiffPath = folder + "e2e-attach.tif", junkPath = folder + "e2e-junk.tif";
    // 1654 x 400 pixels at 200 dpi, 210.06 x 50.8 mm about the origin, its upper half dark.
    const std::vector<unsigned char> tiff = MakeTiff(1654, 400, 200, 1, 2, 200);
    const char junk[] = "this is no picture";
    ASSERT_TRUE(WriteAll(tiffPath, std::string(tiff.begin(), tiff.end()))) << tiffPath;
    ASSERT_TRUE(WriteAll(junkPath, junk)) << junkPath;
    HWND view = OpenDrawing();
    ASSERT_NE(view, nullptr);
    PostMessageA(frame, WM_COMMAND, 5999, 0);
    EXPECT_TRUE(WaitForCaption(frame, "AttachTiff 0", 10000))
        << Caption(frame);
    PDBINFO block;
    ASSERT_TRUE(ReadBlock(view, &block));
    EXPECT_EQ(block.modified, 0) << "nothing attached, nothing changed";
    // Points in the dark half, in the light half and above the picture, in the view's pixels;
    // the mouse stays away from them all.
    SetCursorPos(0, 0);
    ViewMapping mapping;
    ASSERT_TRUE(ReadMapping(view, &mapping));
    const POINT dark[] = {mapping.ToClient(-90, 12.7), mapping.ToClient(0, 12.7), mapping.ToClient(90, 12.7)};
    const POINT light = mapping.ToClient(0, -12.7), above = mapping.ToClient(0, 40);
    ASSERT_GT(light.y - dark[1].y, 12) << "the view is too small to tell the halves apart";
    POINT screen = dark[1];
    ClientToScreen(view, &screen);
    // The background is what most of a small box around the point shows: a cross-hair line
    // through it covers one row or column at most.
    const std::vector<DWORD> box = ScreenPixels({screen.x - 4, screen.y - 4, screen.x + 5, screen.y + 5});
    DWORD background = box.empty() ? 0 : box[0];
    size_t most = 0;
    for (DWORD colour : box) {
        const size_t count = static_cast<size_t>(std::count(box.begin(), box.end(), colour));
        if (count > most) most = count, background = colour;
    }
    // The picture's ink stands out from the background: black on a light one, white on a dark one.
    const bool lightBackground = (background & 0xFF) + ((background >> 8) & 0xFF) + ((background >> 16) & 0xFF) > 3 * 128;
    const COLORREF ink = lightBackground ? RGB(0, 0, 0) : RGB(255, 255, 255);
    std::string seen;
    // The cross-hair of the mouse that has just left is white too: it goes once the view hears
    // of the leave, so the points are read until none shows ink (5 seconds at most).
    auto noInk = [&](std::vector<POINT> points) {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50)) {
            bool any = false;
            for (const POINT& p : points) any = any || ShowsColourNear(view, p, ink, &seen);
            if (!any) return true;
        }
        return false;
    };
    EXPECT_TRUE(noInk({dark[0], dark[1], dark[2]})) << "before the picture: " << seen;

    PostMessageA(frame, WM_COMMAND, 5998, 0);
    EXPECT_TRUE(WaitForCaption(frame, "AttachTiff 1", 10000)) << Caption(frame);
    ASSERT_TRUE(ReadBlock(view, &block));
    EXPECT_EQ(block.modified, 1);
    for (const POINT& p : dark) EXPECT_TRUE(WaitForColour(view, p, ink, &seen)) << "the dark half: " << seen;
    EXPECT_TRUE(noInk({light})) << "the light half: " << seen;
    EXPECT_TRUE(noInk({above})) << "above the picture: " << seen;
    if (HasFailure()) SaveScreen("AttachTiffTest.bmp");
    DeleteFileA(tiffPath.c_str());
    DeleteFileA(junkPath.c_str());
}

}  // namespace
