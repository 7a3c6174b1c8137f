// The right-click menu of a drawing view in the real program: a real right click opens the
// popup with the history entry and the entries of the installed "rightmenu.ini", and a picked
// entry runs its command; while a command waits, the fixed entries end it.
#include "GTest.h"

#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "HostMessages.h"
#include "PointerInput.h"
#include "ProgramProcess.h"
#include "UserSettingsFiles.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>WaitPoint;点待ち,5994,TestPlugin.dll /C:WaitPoint</item>\n"
    "<item>PanelPick;パネル選択,5990,TestPlugin.dll /C:PanelPick</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

// The child of the window with the class and id, or null.
HWND ChildItem(HWND parent, const char* className, int id)
{
    for (HWND child = FindWindowExA(parent, nullptr, className, nullptr); child != nullptr;
         child = FindWindowExA(parent, child, className, nullptr))
        if (GetDlgCtrlID(child) == id) return child;
    return nullptr;
}

// The classes and ids of the window's children, for a failure message.
std::string ChildList(HWND parent)
{
    std::string list;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        list += std::string(name) + ":" + std::to_string(GetDlgCtrlID(child)) + " ";
    }
    return list;
}

POINT CentreOf(HWND window)
{
    RECT rc;
    GetWindowRect(window, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

class RightMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        SetForegroundWindow(frame);
        ASSERT_EQ(SendToProgram(frame, WM_CADDB_NEW_WINDOW), 1);
        view = reinterpret_cast<HWND>(SendToProgram(frame, WM_CAD_ACTIVE_VIEW));
        ASSERT_NE(view, nullptr);
    }

    void TearDown() override
    {
        if (frame != nullptr) EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    }

    // A real right click in the middle of the view; the popup once it is shown, or null.
    HWND OpenMenu()
    {
        SetForegroundWindow(frame);
        if (!ClickWindowAt(view, CentreOf(view), MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP)) return nullptr;
        return program.WaitForWindow("MyRPitem", 10000);
    }

    // A right click the moment the pointer arrives, as a quick user gives it: the program takes
    // the pointer's arrival in only after it has opened the popup over that point, and the popup
    // must stay above the view all the same.
    HWND OpenMenuAtOnce()
    {
        SetForegroundWindow(frame);
        const POINT centre = CentreOf(view);
        if (!MovePointer(centre) || !ClickAt(centre, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP)) return nullptr;
        return program.WaitForWindow("MyRPitem", 10000);
    }

    // What lay under the pointer when the menu did not open.
    std::string Diagnose() const
    {
        POINT p;
        GetCursorPos(&p);
        char name[64] = {};
        GetClassNameA(WindowFromPoint(p), name, sizeof name);
        const POINT centre = CentreOf(view);
        return "pointer " + std::to_string(p.x) + "," + std::to_string(p.y) + " over " + name + ", view centre " +
               std::to_string(centre.x) + "," + std::to_string(centre.y) + ", hidden popup " +
               (program.AnyWindow("MyRPitem") ? "exists" : "missing") + ", caption " + Caption(frame) + ", " +
               DescribeStackingAt(program.ProcessId(), p);
    }

    // Clicks an entry as a user does: the pointer on it, then the click. An entry the pointer
    // was on holds the mouse until a move off it reaches it, and the click would go to it: when
    // the program has taken every move in and another entry still holds the mouse, one more move
    // lets it go.
    bool Pick(HWND entry)
    {
        const POINT centre = CentreOf(entry);
        for (int attempt = 0; attempt < 3; ++attempt) {
            if (!SettlePointer(entry, centre)) return false;
            HWND holder = CaptureOf(entry);
            if (holder == nullptr || holder == entry) return ClickAt(centre);
            SetCursorPos(centre.x + 1, centre.y);
        }
        return false;
    }

    static HWND Entry(HWND popup, const char* caption) { return FindWindowExA(popup, nullptr, "RPMENU", caption); }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
    HWND view = nullptr;
};

TEST_F(RightMenuTest, ARightClickOpensTheMenuAndAPickedFileEntryRunsItsCommand)
{
    HWND popup = OpenMenu();
    ASSERT_NE(popup, nullptr) << Diagnose();
    EXPECT_NE(Entry(popup, "コマンド履歴"), nullptr);
    EXPECT_NE(Entry(popup, "全体表示"), nullptr);
    EXPECT_NE(Entry(popup, "検出モード"), nullptr) << "the group's entry";
    EXPECT_NE(Entry(popup, "任意点検出"), nullptr) << "the group's entries follow it";
    EXPECT_EQ(Entry(popup, "取消 - [  ESC  ]"), nullptr) << "no command runs";

    HWND further = Entry(popup, "別ウィンドウＡ");
    ASSERT_NE(further, nullptr);
    ASSERT_TRUE(Pick(further)) << Diagnose();
    HWND active = nullptr;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(50)) {
        active = reinterpret_cast<HWND>(SendToProgram(frame, WM_CAD_ACTIVE_VIEW));
        if (active != nullptr && active != view) break;
    }
    EXPECT_NE(active, view) << "command 1203 opened no further view";
    EXPECT_FALSE(IsWindowVisible(popup));
}

TEST_F(RightMenuTest, TheCancelEntryEndsAWaitingCommandWithEscape)
{
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5994, 0);
    ASSERT_TRUE(WaitForCaption(frame, "WaitPoint waiting", 10000)) << Caption(frame);
    HWND popup = OpenMenuAtOnce();
    ASSERT_NE(popup, nullptr) << Diagnose();
    EXPECT_NE(Entry(popup, "完了 - [ ENTER ]"), nullptr);
    EXPECT_NE(Entry(popup, "コマンド終了"), nullptr);
    HWND cancel = Entry(popup, "取消 - [  ESC  ]");
    ASSERT_NE(cancel, nullptr);
    ASSERT_TRUE(Pick(cancel)) << Diagnose();
    EXPECT_TRUE(WaitForCaption(frame, "WaitPoint ESC", 10000)) << Caption(frame);
}

// A command with a docked parameter panel and its pick list switched on: the popup carries a
// copy of the panel's items beside the fixed and file entries, a click on a copied item reaches
// the command as the panel's own event, and "取消" ends the command's wait.
// The menu mode that keeps a command's pick list (1, the installed one, clears it).
class RightMenuPickListTest : public RightMenuTest {
protected:
    SettingsFileSwap config{"ConfigData.xml", {{"RightMenuMode", "2"}}};
};

TEST_F(RightMenuPickListTest, APanelCommandsPickListPutsItsPanelItemsInThePopup)
{
    ASSERT_TRUE(config.Ready());
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    ASSERT_TRUE(WaitForCaption(frame, "PanelPick waiting", 10000)) << Caption(frame);
    HWND popup = OpenMenu();
    ASSERT_NE(popup, nullptr) << Diagnose();
    EXPECT_NE(Entry(popup, "取消 - [  ESC  ]"), nullptr) << "the fixed entries";
    EXPECT_NE(Entry(popup, "全体表示"), nullptr) << "the file entries";
    HWND ok = ChildItem(popup, "AppPanelButton", 1);
    HWND check = ChildItem(popup, "AppPanelButton", 2);
    ASSERT_NE(ok, nullptr) << "the panel's items are copied into the popup: " << ChildList(popup);
    ASSERT_NE(check, nullptr);
    EXPECT_NE(ChildItem(popup, "AppPanelEditBox", 4), nullptr);
    // The copies move up together, but the panel's top row ("OK" at 4) stays whole in the popup.
    for (HWND copy : {ok, check}) {
        RECT box, item;
        GetClientRect(GetParent(copy), &box);
        GetWindowRect(copy, &item);
        MapWindowPoints(nullptr, GetParent(copy), reinterpret_cast<POINT*>(&item), 2);
        EXPECT_GE(item.top, 0) << ChildList(popup);
        EXPECT_LE(item.bottom, box.bottom) << ChildList(popup);
    }
    ASSERT_TRUE(Pick(check)) << Diagnose();
    EXPECT_TRUE(WaitForCaption(frame, "Panel event 0x2000 10 2 1 ", 10000)) << Caption(frame);

    // "取消" ends the wait with Escape, the panel's items beside it notwithstanding.
    if (!IsWindowVisible(popup)) popup = OpenMenu();
    ASSERT_NE(popup, nullptr) << Diagnose();
    HWND cancel = Entry(popup, "取消 - [  ESC  ]");
    ASSERT_NE(cancel, nullptr);
    ASSERT_TRUE(Pick(cancel)) << Diagnose();
    // The wait's answer 2: Escape.
    EXPECT_TRUE(WaitForCaption(frame, "PanelPick end 2", 10000)) << Caption(frame);
}

}  // namespace
