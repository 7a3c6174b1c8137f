// A plug-in command that waits for input runs in the real program and is answered with keys:
// a typed number and Enter give it a point, Escape ends it. A command picked while another one
// waits ends the waiting one first, and runs only after it has returned. The escape and cancel
// service commands end a waiting command too, and service ids without an entry change nothing.
#include "GTest.h"

#include <set>
#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "WindowText.h"

namespace {

// Keys as the keyboard would queue them for the program's focus window.
void PostKey(HWND window, WPARAM key)
{
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

void PostTypedChar(HWND window, char c)
{
    const WPARAM key = static_cast<WPARAM>(c);
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_CHAR, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "<item>WaitKey;数値待ち,5991,TestPlugin.dll /C:WaitKey</item>\n"
    "<item>WaitCancel;取消待ち,5992,TestPlugin.dll /C:WaitCancel</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

class WaitCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        // 5005 is answered 1 by the dispatcher alone, 2046 by the host-service object alone.
        DWORD_PTR probe = 0;
        SendMessageTimeoutA(frame, WM_CAD_RUN_COMMAND, 5005, 0, SMTO_BLOCK, 10000, &probe);
        ASSERT_EQ(probe, 1u) << "the main frame does not chain CSystemCommandDispatcher into its message map";
        probe = 0;
        SendMessageTimeoutA(frame, WM_CAD_CLEAR_EVENT_MASK, 0, 0, SMTO_BLOCK, 10000, &probe);
        ASSERT_EQ(probe, 1u) << "the main frame does not chain the host-service object (ConnectHostServices)";
    }

    void TearDown() override
    {
        if (frame == nullptr) return;
        PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(30000, &exitCode));
    }

    // Starts a waiting command; false when the test plug-in does not reach its waiting commands.
    bool StartWaiting(int id, const char* command)
    {
        PostMessageA(frame, WM_CAD_RUN_COMMAND, id, 0);
        return WaitForCaption(frame, std::string(command) + " waiting", 10000);
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
};

TEST_F(WaitCommandTest, TypedNumberAndEnterGiveAPointThenEscapeEndsTheCommand)
{
    // The point comes from the keyboard cursor of an open drawing view.
    ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr) << "no drawing window";
    ASSERT_TRUE(StartWaiting(5991, "WaitKey")) << Caption(frame);

    // The number goes to the status bar's input line; Enter is the typed-number key of
    // RovOdidov.key that gives the point at the keyboard cursor.
    SetForegroundWindow(frame);
    PostTypedChar(frame, '1');
    PostTypedChar(frame, '2');
    PostKey(frame, VK_RETURN);
    const DWORD start = GetTickCount();
    bool pointGiven = false;
    while (!pointGiven && GetTickCount() - start < 10000) {
        pointGiven = Caption(frame).rfind("WaitKey point 0x100 ", 0) == 0;
        if (!pointGiven) Sleep(50);
    }
    ASSERT_TRUE(pointGiven) << "no point came back for the typed number and Enter: " << Caption(frame);

    PostKey(frame, VK_ESCAPE);
    EXPECT_TRUE(WaitForCaption(frame, "WaitKey ESC", 10000)) << Caption(frame);

    // The command has returned: the program runs the next one at once.
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    EXPECT_TRUE(WaitForCaption(frame, "/C:Echo", 10000)) << Caption(frame);
}

TEST_F(WaitCommandTest, NewCommandEndsTheWaitingOneBeforeItRuns)
{
    ASSERT_TRUE(StartWaiting(5992, "WaitCancel")) << Caption(frame);
    // The waiting command waits once more after it was ended: that wait answers "end" at once,
    // so the command has returned (and left its property) before the new command runs.
    RemovePropA(frame, "WaitCancelAgain");
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    ASSERT_TRUE(WaitForCaption(frame, "/C:Echo", 10000)) << Caption(frame);
    EXPECT_EQ(GetPropA(frame, "WaitCancelAgain"), reinterpret_cast<HANDLE>(1))
        << "the new command ran inside the waiting one";
    // Nothing of the old command comes after the new one: the frame is back in its loop.
    ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    EXPECT_EQ(Caption(frame), "/C:Echo");
}

TEST_F(WaitCommandTest, ClosingTheProgramEndsAWaitingCommand)
{
    ASSERT_TRUE(StartWaiting(5991, "WaitKey")) << Caption(frame);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    EXPECT_TRUE(program.WaitForExit(30000, &exitCode)) << "the process outlived its window";
    frame = nullptr;
}

// The service command ids that have an entry of their own (1260-1299 are right-click picks).
const std::set<int> kListedServiceIds = {
    1200, 1201, 1203, 1204, 1205, 1206, 1208, 1209, 1210, 1211, 1212, 1213, 1214, 1215, 1216, 1217, 1218,
    1219, 1225, 1227, 1228, 1229, 1230, 1234, 1235, 1300, 1302, 1303, 1304, 1305, 1306, 1307, 1311, 1313,
    1314, 1315, 1316, 1317, 1318, 1320, 1331, 1332, 1333, 1334, 1335, 1336, 1337, 1350, 1351};

// Service ids without an entry and the F10 key leave the program responsive: no endless
// hand-over between the service and the view commands, also inside a waiting command.
TEST_F(WaitCommandTest, UnlistedServiceIdsAndF10LeaveTheProgramResponsive)
{
    for (int id = 1200; id <= 1500; ++id) {
        if (kListedServiceIds.count(id) || (id >= 1260 && id <= 1299)) continue;
        DWORD_PTR answer = 0;
        ASSERT_NE(SendMessageTimeoutA(frame, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_BLOCK, 10000, &answer), 0)
            << "service command " << id << " did not come back";
    }
    PostKey(frame, VK_F10);
    EXPECT_TRUE(WaitUntilResponsive(frame, 10000));
    ASSERT_TRUE(StartWaiting(5991, "WaitKey")) << Caption(frame);
    for (int id : {1202, 1240, 1400, 1500}) PostMessageA(frame, WM_COMMAND, static_cast<WPARAM>(id), 0);
    EXPECT_TRUE(WaitUntilResponsive(frame, 10000));
    EXPECT_EQ(Caption(frame), "WaitKey waiting");
    // The cancel service command ends the waiting command.
    PostMessageA(frame, WM_COMMAND, 1305, 0);
    EXPECT_TRUE(WaitForCaption(frame, "WaitKey end 0", 10000)) << Caption(frame);
}

TEST_F(WaitCommandTest, EscapeServiceCommandEndsTheWaitingCommand)
{
    ASSERT_TRUE(StartWaiting(5991, "WaitKey")) << Caption(frame);
    PostMessageA(frame, WM_COMMAND, 1211, 0);
    EXPECT_TRUE(WaitForCaption(frame, "WaitKey ESC", 10000)) << Caption(frame);
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    EXPECT_TRUE(WaitForCaption(frame, "/C:Echo", 10000)) << Caption(frame);
}

}  // namespace
