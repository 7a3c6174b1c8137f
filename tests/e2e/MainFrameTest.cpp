// The main window as a user sees it: menu bar from "RovOdidov.mnu", toolbars, status bar, MDI
// client and the four panes, and its close.
#include "GTest.h"

#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CommandIds.h"
#include "HostMessages.h"
#include "PointerInput.h"
#include "ProgramProcess.h"
#include "UserSettingsFiles.h"
#include "WindowText.h"

namespace {

struct ChildSearch {
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<ChildSearch*>(lParam);
    char name[128] = {};
    GetClassNameA(hWnd, name, sizeof name);
    if (lstrcmpiA(name, search->className) == 0) search->found.push_back(hWnd);
    return TRUE;
}

// Every descendant of the window with that class.
std::vector<HWND> Descendants(HWND parent, const char* className)
{
    ChildSearch search = {className, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string Text(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

RECT ClientRectIn(HWND window, HWND frame)
{
    RECT rc;
    GetWindowRect(window, &rc);
    MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

// A pane docked in one of the frame's bars: a child of a bar window, which is the frame's child.
// Searched over all descendants at once, since emptied bars close while the search may run.
struct PaneSearch {
    HWND frame;
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindPaneIn(HWND window, LPARAM lParam)
{
    PaneSearch* search = reinterpret_cast<PaneSearch*>(lParam);
    char className[64] = {}, barClass[64] = {};
    GetClassNameA(window, className, sizeof className);
    HWND bar = GetParent(window);
    GetClassNameA(bar, barClass, sizeof barClass);
    if (std::string(className) == "VtPanelDockWin" && std::string(barClass) == "CPackageWindowFrame::CPackageWindow" &&
        GetParent(bar) == search->frame && Text(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDockedPane(HWND frame, const char* caption)
{
    PaneSearch search = {frame, caption, nullptr};
    EnumChildWindows(frame, FindPaneIn, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class MainFrameWindow : public testing::Test {
protected:
    void SetUp() override { StartProgram(); }
    void StartProgram()
    {
        ASSERT_TRUE(m_program.Start());
        m_frame = m_program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(m_frame, nullptr) << "no main window";
        // The second start stage shows the frame, then lays it out once more: once its thread
        // takes a message again, the stage is over.
        for (int i = 0; i < 100 && !IsWindowVisible(FindWindowExA(m_frame, nullptr, "CadStatusBar", nullptr)); ++i)
            Sleep(100);
        ASSERT_TRUE(IsWindowVisible(FindWindowExA(m_frame, nullptr, "CadStatusBar", nullptr)));
        ASSERT_TRUE(WaitUntilResponsive(m_frame, 30000));
    }
    void CloseAndExpectExitCodeOne()
    {
        PostMessageA(m_frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        ASSERT_TRUE(m_program.WaitForExit(30000, &exitCode));
        EXPECT_EQ(exitCode, 1u);
    }

    ProgramProcess m_program;
    HWND m_frame = nullptr;
};

// With bWindowSz on the layout goes to the per-user "configMain.xml" at exit and comes back at
// the next start; the file found there before the test is put back after it.
class MainFrameLayout : public MainFrameWindow {
protected:
    void SetUp() override
    {
        m_layoutPath = UserSettingsFolder() + "configMain.xml";
        m_hadLayout = GetFileAttributesA(m_layoutPath.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (m_hadLayout) m_savedLayout = ReadAll(m_layoutPath);
        DeleteFileA(m_layoutPath.c_str());
        m_settings.reset(new SettingsFileSwap("LocalSettings.xml", {{"bWindowSz", "1"}}));
        ASSERT_TRUE(m_settings->Ready());
        StartProgram();
    }
    void TearDown() override
    {
        m_program.Kill();
        m_settings.reset();
        if (m_hadLayout) WriteAll(m_layoutPath, m_savedLayout);
        else DeleteFileA(m_layoutPath.c_str());
    }

    // The panes and the MDI client in frame client coordinates, and the frame's own rectangle.
    std::vector<RECT> Layout()
    {
        std::vector<RECT> rects;
        for (const char* caption : {"コマンドメニュー", "基本操作", "作図メニュー", "コマンドメニュー２"}) {
            HWND pane = FindDockedPane(m_frame, caption);
            rects.push_back(pane != nullptr ? ClientRectIn(pane, m_frame) : RECT{-1, -1, -1, -1});
        }
        rects.push_back(ClientRectIn(FindWindowExA(m_frame, nullptr, "MDIClient", nullptr), m_frame));
        RECT window;
        GetWindowRect(m_frame, &window);
        rects.push_back(window);
        return rects;
    }

    static void ExpectWithinAPixel(const std::vector<RECT>& changed, const std::vector<RECT>& restored)
    {
        ASSERT_EQ(restored.size(), changed.size());
        for (size_t i = 0; i < changed.size(); ++i) {
            EXPECT_LE(std::abs(restored[i].left - changed[i].left), 1) << i;
            EXPECT_LE(std::abs(restored[i].top - changed[i].top), 1) << i;
            EXPECT_LE(std::abs(restored[i].right - changed[i].right), 1) << i;
            EXPECT_LE(std::abs(restored[i].bottom - changed[i].bottom), 1) << i;
        }
    }

    std::string m_layoutPath, m_savedLayout;
    bool m_hadLayout = false;
    std::unique_ptr<SettingsFileSwap> m_settings;
};

}  // namespace

TEST_F(MainFrameLayout, AChangedLayoutSurvivesARestartAndADamagedFileGivesTheDefault)
{
    HWND tool = FindDockedPane(m_frame, "基本操作");
    ASSERT_NE(tool, nullptr);
    RECT before = ClientRectIn(tool, m_frame);
    // A changed layout: the application panel hidden, so the tool panel has the bar to itself.
    SendMessageA(m_frame, WM_COMMAND, kCmdPaneDrawingMenu, 0);
    ASSERT_EQ(FindDockedPane(m_frame, "作図メニュー"), nullptr);
    RECT alone = ClientRectIn(tool, m_frame);
    ASSERT_GT(alone.bottom, before.bottom);
    std::vector<RECT> changed = Layout();
    CloseAndExpectExitCodeOne();
    ASSERT_NE(GetFileAttributesA(m_layoutPath.c_str()), INVALID_FILE_ATTRIBUTES) << "no layout written";

    StartProgram();
    EXPECT_EQ(FindDockedPane(m_frame, "作図メニュー"), nullptr) << "still hidden";
    std::vector<RECT> restored = Layout();
    ExpectWithinAPixel(changed, restored);
    CloseAndExpectExitCodeOne();

    ASSERT_TRUE(WriteAll(m_layoutPath, "<config DfdockPos0="));
    StartProgram();
    EXPECT_TRUE(IsZoomed(m_frame)) << "a damaged file gives a maximised frame";
    RECT fresh = ClientRectIn(FindDockedPane(m_frame, "基本操作"), m_frame);
    EXPECT_EQ(fresh.right - fresh.left, 200) << "and the default bar width";
    EXPECT_NE(FindDockedPane(m_frame, "作図メニュー"), nullptr) << "and every pane docked";
    CloseAndExpectExitCodeOne();
}

TEST_F(MainFrameWindow, ShowsMenuBarToolbarsStatusBarMdiClientAndPanes)
{
    // The rebar: the command bar with the menu of the file, then the ten toolbars.
    std::vector<HWND> rebars = Descendants(m_frame, REBARCLASSNAMEA);
    ASSERT_EQ(rebars.size(), 1u);
    HWND rebar = rebars[0];
    EXPECT_TRUE(IsWindowVisible(rebar));
    ASSERT_EQ(SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0), 11);

    std::vector<HWND> toolBars = Descendants(rebar, TOOLBARCLASSNAMEA);
    ASSERT_EQ(toolBars.size(), 11u);
    int namedToolBars = 0;
    HWND commandBar = nullptr;
    for (HWND toolBar : toolBars) {
        if (Text(toolBar).empty()) commandBar = toolBar;
        else ++namedToolBars;
    }
    EXPECT_EQ(namedToolBars, 10);
    ASSERT_NE(commandBar, nullptr);
    EXPECT_EQ(SendMessageA(commandBar, TB_BUTTONCOUNT, 0, 0), 9) << "the popups of RovOdidov.mnu";
    HWND drawBar = FindWindowExA(rebar, nullptr, TOOLBARCLASSNAMEA, "作図");
    ASSERT_NE(drawBar, nullptr);
    EXPECT_EQ(SendMessageA(drawBar, TB_BUTTONCOUNT, 0, 0), 15);
    EXPECT_EQ(SendMessageA(drawBar, TB_COMMANDTOINDEX, 45500, 0), 0);
    HWND fileBar = FindWindowExA(rebar, nullptr, TOOLBARCLASSNAMEA, "ファイル");
    ASSERT_NE(fileBar, nullptr);
    EXPECT_EQ(SendMessageA(fileBar, TB_BUTTONCOUNT, 0, 0), 10) << "seven buttons and three separators";

    HWND statusBar = FindWindowExA(m_frame, nullptr, "CadStatusBar", nullptr);
    ASSERT_NE(statusBar, nullptr);
    EXPECT_TRUE(IsWindowVisible(statusBar));
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(m_frame, WM_CAD_GET_PANEL_WINDOW, 100, 0)), statusBar);
    EXPECT_EQ(SendMessageA(m_frame, WM_CAD_GET_PANEL_WINDOW, 4, 0), 0);

    HWND mdiClient = FindWindowExA(m_frame, nullptr, "MDIClient", nullptr);
    ASSERT_NE(mdiClient, nullptr);

    RECT client;
    GetClientRect(m_frame, &client);
    RECT bar = ClientRectIn(statusBar, m_frame);
    EXPECT_EQ(bar.bottom, client.bottom);
    EXPECT_EQ(bar.bottom - bar.top, 26);
    RECT mdi = ClientRectIn(mdiClient, m_frame);
    RECT rebarRect = ClientRectIn(rebar, m_frame);
    EXPECT_GE(mdi.top, rebarRect.bottom);
    EXPECT_LE(mdi.bottom, bar.top);

    // The four panes docked beside the MDI client, each holding its panel.
    const struct {
        const char* caption;
        int index;  // of WM_CAD_GET_PANEL_WINDOW
        bool captionShown;
    } panes[] = {
        {"コマンドメニュー", 0, false},
        {"基本操作", 1, true},
        {"作図メニュー", 2, true},
        {"コマンドメニュー２", 3, false},
    };
    for (const auto& p : panes) {
        HWND pane = FindDockedPane(m_frame, p.caption);
        ASSERT_NE(pane, nullptr) << p.caption;
        EXPECT_TRUE(IsWindowVisible(pane)) << p.caption;
        HWND panel = reinterpret_cast<HWND>(SendMessageA(m_frame, WM_CAD_GET_PANEL_WINDOW, p.index, 0));
        ASSERT_NE(panel, nullptr) << p.caption;
        EXPECT_EQ(GetParent(panel), pane) << p.caption;
        EXPECT_EQ(SendMessageA(pane, WM_COMMAND, kPaneQueryState, 0), p.captionShown ? 1 : 2) << p.caption;
        EXPECT_EQ(SendMessageA(pane, WM_COMMAND, 2000, 0), 0) << p.caption;
        RECT rc = ClientRectIn(pane, m_frame);
        RECT overlap;
        EXPECT_FALSE(IntersectRect(&overlap, &rc, &mdi)) << p.caption << " overlaps the MDI client";
        EXPECT_GT(rc.right - rc.left, 0) << p.caption;
        EXPECT_GT(rc.bottom - rc.top, 0) << p.caption;
    }
    // Sides: the second command panel on top, the first at the bottom, the tool panel above the
    // application panel in one bar on the right.
    RECT top = ClientRectIn(FindDockedPane(m_frame, "コマンドメニュー２"), m_frame);
    RECT bottom = ClientRectIn(FindDockedPane(m_frame, "コマンドメニュー"), m_frame);
    RECT tool = ClientRectIn(FindDockedPane(m_frame, "基本操作"), m_frame);
    RECT app = ClientRectIn(FindDockedPane(m_frame, "作図メニュー"), m_frame);
    EXPECT_EQ(top.top, rebarRect.bottom);
    EXPECT_EQ(top.bottom - top.top, 90);
    EXPECT_EQ(bottom.bottom, bar.top);
    EXPECT_EQ(bottom.bottom - bottom.top, 90);
    EXPECT_EQ(tool.right, client.right);
    EXPECT_EQ(tool.right - tool.left, 200);
    // Docked while the frame was small, the bar's slots have grown with the maximised frame.
    EXPECT_GE(tool.bottom - tool.top, 280);
    EXPECT_EQ(tool.top, top.bottom + 5);
    EXPECT_EQ(app.left, tool.left);
    EXPECT_EQ(app.top, tool.bottom + 5);
    EXPECT_EQ(mdi.right, tool.left - 5);
    EXPECT_EQ(mdi.top, top.bottom + 5);
    EXPECT_EQ(mdi.bottom, bottom.top - 5);

    CloseAndExpectExitCodeOne();
}

TEST_F(MainFrameWindow, FrameCommandsToggleBarsAndPanes)
{
    HWND statusBar = FindWindowExA(m_frame, nullptr, "CadStatusBar", nullptr);
    ASSERT_NE(statusBar, nullptr);
    SendMessageA(m_frame, WM_COMMAND, kCmdToggleStatusBar, 0);
    EXPECT_FALSE(IsWindowVisible(statusBar));
    SendMessageA(m_frame, WM_COMMAND, kCmdToggleStatusBar, 0);
    EXPECT_TRUE(IsWindowVisible(statusBar));

    HWND toolPane = FindDockedPane(m_frame, "基本操作");
    ASSERT_NE(toolPane, nullptr);
    RECT docked = ClientRectIn(toolPane, m_frame);
    SendMessageA(m_frame, WM_COMMAND, kCmdPaneDrawingOperations, 0);
    EXPECT_FALSE(IsWindowVisible(toolPane));
    EXPECT_EQ(SendMessageA(toolPane, WM_COMMAND, kPaneQueryState, 0), -1);
    SendMessageA(m_frame, WM_COMMAND, kCmdPaneDrawingOperations, 0);
    EXPECT_TRUE(IsWindowVisible(toolPane));
    EXPECT_EQ(FindDockedPane(m_frame, "基本操作"), toolPane) << "docked again";
    RECT again = ClientRectIn(toolPane, m_frame);
    EXPECT_EQ(again.left, docked.left);
    EXPECT_EQ(again.top, docked.top);
    EXPECT_EQ(again.right, docked.right);

    // Typed digits reach the status bar's input field through its messages.
    SendMessageA(statusBar, WM_USER, 3, '4');
    SendMessageA(statusBar, WM_USER, 3, '2');
    EXPECT_EQ(m_program.StatusBarField(statusBar, 2), "42");

    // The dialog filter: only word parameter 100 changes it.
    EXPECT_EQ(SendMessageA(m_frame, WM_CAD_SET_DIALOG_FILTER, 99, reinterpret_cast<LPARAM>(statusBar)), 0);
    EXPECT_EQ(SendMessageA(m_frame, WM_CAD_SET_DIALOG_FILTER, 100, reinterpret_cast<LPARAM>(statusBar)), 0);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(m_frame, WM_CAD_SET_DIALOG_FILTER, 100, 0)), statusBar);
    EXPECT_NE(SendMessageA(m_frame, WM_CAD_GET_ACCELERATOR, 0, 0), 0);

    // Without a drawing a plug-in command and an unknown toolbar button do nothing: no command
    // runs (its library is not installed, so running it would show a modal message), and the
    // command field stays empty.
    for (WPARAM id : {WPARAM(6000), WPARAM(45999)}) {
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutA(m_frame, WM_COMMAND, id, 0, SMTO_BLOCK, 10000, &result), 0) << id;
        EXPECT_EQ(m_program.AnyWindow("#32770"), nullptr) << id;
        EXPECT_EQ(m_program.StatusBarField(statusBar, 1), "") << id;
    }
    EXPECT_TRUE(IsWindow(m_frame));

    CloseAndExpectExitCodeOne();
}

TEST_F(MainFrameWindow, AltAndAMnemonicOpensThatMenu)
{
    PostMessageA(m_frame, WM_SYSCOMMAND, SC_KEYMENU, 'w');
    HWND popup = m_program.WaitForWindow("#32768", 10000);
    ASSERT_NE(popup, nullptr) << "no menu opened";
    // Escape closes the menu; the frame goes on.
    PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 50 && IsWindowVisible(popup); ++i) Sleep(100);
    EXPECT_FALSE(IsWindowVisible(popup));
    CloseAndExpectExitCodeOne();
}

TEST_F(MainFrameWindow, TheAboutBoxShowsTheProductAndCloses)
{
    PostMessageA(m_frame, WM_COMMAND, kCmdAbout, 0);  // allowed without a drawing
    HWND box = m_program.WaitForWindow("#32770", 10000);
    ASSERT_NE(box, nullptr) << "no About box";
    EXPECT_EQ(Text(box), "バージョン情報");
    bool product = false;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        product = product || Text(child) == "Voltrane Ver.8.0";
    EXPECT_TRUE(product);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 50 && IsWindow(box); ++i) Sleep(100);
    EXPECT_FALSE(IsWindow(box));
    CloseAndExpectExitCodeOne();
}

TEST_F(MainFrameWindow, TheExitCommandClosesTheProgram)
{
    // 4006 reaches the frame's own entry when no dispatcher reports it done.
    PostMessageA(m_frame, WM_COMMAND, kCmdExit, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(m_program.WaitForExit(30000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}

TEST_F(MainFrameWindow, EndingTheSessionRunsTheNormalClose)
{
    // Nothing refuses the close, so the session may end and the program ends normally.
    EXPECT_EQ(SendMessageA(m_frame, WM_QUERYENDSESSION, 0, 0), TRUE);
    DWORD exitCode = 0;
    ASSERT_TRUE(m_program.WaitForExit(30000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}

namespace {

// The pane a pinned window slides out in, and whether the window sits in it.
HWND AutoHidePane(HWND frame) { return FindWindowExA(frame, nullptr, "CAutoHideManager", nullptr); }

// The pane window pinned with the caption, or null.
HWND FindPinnedPane(HWND frame, const char* caption)
{
    HWND autoHide = AutoHidePane(frame);
    for (HWND w = autoHide != nullptr ? FindWindowExA(autoHide, nullptr, "VtPanelDockWin", nullptr) : nullptr;
         w != nullptr; w = FindWindowExA(autoHide, w, "VtPanelDockWin", nullptr))
        if (Text(w) == caption) return w;
    return nullptr;
}

template <class Condition>
bool WaitFor(Condition condition)
{
    for (int i = 0; i < 100; ++i) {
        if (condition()) return true;
        Sleep(50);
    }
    return condition();
}

}  // namespace

TEST_F(MainFrameLayout, APinnedPaneSlidesOutOnHoverAndComesBackPinned)
{
    HWND app = FindDockedPane(m_frame, "作図メニュー");
    HWND tool = FindDockedPane(m_frame, "基本操作");
    HWND top = FindDockedPane(m_frame, "コマンドメニュー２");
    ASSERT_NE(app, nullptr);
    ASSERT_NE(tool, nullptr);
    ASSERT_NE(top, nullptr);
    RECT client;
    GetClientRect(m_frame, &client);
    RECT topRect = ClientRectIn(top, m_frame);
    // A pane's pin button on its caption, pressed and released over it; both posted, in this
    // order, so that the press's own loop takes the release.
    auto pinByButton = [&](HWND pane, const char* caption) {
        RECT window;
        GetWindowRect(pane, &window);
        POINT pin = {0, 0};
        for (int x = window.right - 4; x > window.right - 40 && pin.x == 0; --x)
            if (SendMessageA(pane, WM_NCHITTEST, 0, MAKELPARAM(x, window.top + 10)) == 19) pin = {x, window.top + 10};
        if (pin.x == 0) return false;
        POINT release = pin;
        ScreenToClient(pane, &release);
        PostMessageA(pane, WM_NCLBUTTONDOWN, 19, MAKELPARAM(pin.x, pin.y));
        PostMessageA(pane, WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
        // Pinned and slid out at once.
        return WaitFor([&] { return FindPinnedPane(m_frame, caption) == pane && IsWindowVisible(pane); });
    };
    ASSERT_TRUE(pinByButton(app, "作図メニュー"));
    HWND pane = AutoHidePane(m_frame);
    EXPECT_EQ(SendMessageA(app, WM_COMMAND, kPaneQueryState, 0), 0) << "pinned";
    EXPECT_EQ(FindDockedPane(m_frame, "作図メニュー"), nullptr);

    // The tool panel pinned after it takes the pane; resting on the first label brings the
    // application panel back out.
    ASSERT_TRUE(pinByButton(tool, "基本操作"));
    EXPECT_FALSE(IsWindowVisible(app)) << "one pane out at a time";
    POINT label = {client.right - 6, topRect.top + 12};
    SendMessageA(m_frame, WM_MOUSEMOVE, 0, MAKELPARAM(label.x, label.y));
    SendMessageA(m_frame, WM_MOUSEHOVER, 0, MAKELPARAM(label.x, label.y));
    EXPECT_TRUE(IsWindowVisible(app));
    EXPECT_FALSE(IsWindowVisible(tool));

    std::vector<RECT> changed = Layout();
    CloseAndExpectExitCodeOne();
    StartProgram();
    EXPECT_NE(FindPinnedPane(m_frame, "作図メニュー"), nullptr) << "pinned again after the restart";
    EXPECT_NE(FindPinnedPane(m_frame, "基本操作"), nullptr) << "pinned again after the restart";
    std::vector<RECT> restored = Layout();
    ExpectWithinAPixel(changed, restored);
    CloseAndExpectExitCodeOne();
}

namespace {

// Waits up to twenty seconds for the condition: the program answers a real drag only once its
// own loops have taken every piece of the input.
template <class Condition>
bool WaitLong(Condition condition)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50))
        if (condition()) return true;
    return condition();
}

POINT ScreenPointIn(HWND window, POINT client)
{
    ClientToScreen(window, &client);
    return client;
}

}  // namespace

TEST_F(MainFrameLayout, ATitleDragToTheLeftEdgeAndASplitterMoveSurviveARestart)
{
    HWND tool = FindDockedPane(m_frame, "基本操作");
    ASSERT_NE(tool, nullptr);
    RECT client;
    GetClientRect(m_frame, &client);
    RECT mdi = ClientRectIn(FindWindowExA(m_frame, nullptr, "MDIClient", nullptr), m_frame);
    RECT toolRect;
    GetWindowRect(tool, &toolRect);
    // Pressed on the caption, out of the drag rectangle over the pane, across the drawing area
    // and onto the frame's left edge: the pane docks in a new bar there.
    const POINT grab = {toolRect.left + 40, toolRect.top + 8};
    const int middleY = (mdi.top + mdi.bottom) / 2;
    ASSERT_TRUE(DragPointer(grab, {{grab.x + 20, grab.y + 12},
                                   ScreenPointIn(m_frame, {(mdi.left + mdi.right) / 2, middleY}),
                                   ScreenPointIn(m_frame, {client.left + 8, middleY})}));
    ASSERT_TRUE(WaitLong([&] {
        HWND docked = FindDockedPane(m_frame, "基本操作");
        return docked != nullptr && ClientRectIn(docked, m_frame).left == client.left;
    })) << "the tool panel did not dock at the left edge";
    tool = FindDockedPane(m_frame, "基本操作");
    RECT left = ClientRectIn(tool, m_frame);
    EXPECT_LE(std::abs((left.right - left.left) - (toolRect.right - toolRect.left)), 5)
        << "the new bar about as wide as the pane was";
    EXPECT_GT(ClientRectIn(FindWindowExA(m_frame, nullptr, "MDIClient", nullptr), m_frame).left, left.right);

    // The splitter right of the new bar, dragged 60 pixels further right.
    const POINT splitter = ScreenPointIn(m_frame, {left.right + 2, (left.top + left.bottom) / 2});
    ASSERT_TRUE(DragPointer(splitter, {{splitter.x + 60, splitter.y}}));
    ASSERT_TRUE(WaitLong([&] { return ClientRectIn(tool, m_frame).right >= left.right + 59; }))
        << "the splitter did not move";
    EXPECT_LE(std::abs(ClientRectIn(tool, m_frame).right - (left.right + 60)), 1);

    std::vector<RECT> changed = Layout();
    CloseAndExpectExitCodeOne();
    StartProgram();
    tool = FindDockedPane(m_frame, "基本操作");
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(ClientRectIn(tool, m_frame).left, client.left) << "still at the left edge";
    ExpectWithinAPixel(changed, Layout());
    CloseAndExpectExitCodeOne();
}
