// The service commands in the real program: ids without an entry and the F10 key leave it
// responsive (no endless hand-over between the service and view commands), and the escape and
// cancel service commands end a plug-in command that waits for input.
#include "GTest.h"

#include <set>
#include <string>

#include "CatalogueSwap.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "<item>WaitKey;数値待ち,5991,TestPlugin.dll /C:WaitKey</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

// The service command ids that have an entry of their own (1260-1299 are right-click picks).
const std::set<int> kListed = {1200, 1201, 1203, 1204, 1205, 1206, 1208, 1209, 1210, 1211, 1212, 1213, 1214,
                               1215, 1216, 1217, 1218, 1219, 1225, 1227, 1228, 1229, 1230, 1234, 1235, 1300,
                               1302, 1303, 1304, 1305, 1306, 1307, 1311, 1313, 1314, 1315, 1316, 1317, 1318,
                               1320, 1331, 1332, 1333, 1334, 1335, 1336, 1337, 1350, 1351};

class ServiceCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(WaitUntilResponsive(frame, 10000));
    }

    void TearDown() override
    {
        if (frame == nullptr) return;
        PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(30000, &exitCode)) << "the program did not close";
    }

    bool StartWaiting()
    {
        PostMessageA(frame, WM_CAD_RUN_COMMAND, 5991, 0);
        return WaitForCaption(frame, "WaitKey waiting", 10000);
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
};

TEST_F(ServiceCommandsTest, UnlistedIdsAndF10LeaveTheProgramResponsive)
{
    for (int id = 1200; id <= 1500; ++id) {
        if (kListed.count(id) || (id >= 1260 && id <= 1299)) continue;
        DWORD_PTR answer = 0;
        ASSERT_NE(SendMessageTimeoutA(frame, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_BLOCK, 10000, &answer), 0)
            << "service command " << id << " did not come back";
    }
    PostMessageA(frame, WM_KEYDOWN, VK_F10, 1);
    PostMessageA(frame, WM_KEYUP, VK_F10, 0xC0000001);
    EXPECT_TRUE(WaitUntilResponsive(frame, 10000));
    // The same while a plug-in command waits: the ids run inside its wait.
    ASSERT_TRUE(StartWaiting()) << Caption(frame);
    for (int id : {1202, 1240, 1400, 1500}) PostMessageA(frame, WM_COMMAND, static_cast<WPARAM>(id), 0);
    EXPECT_TRUE(WaitUntilResponsive(frame, 10000));
    EXPECT_EQ(Caption(frame), "WaitKey waiting");
    PostMessageA(frame, WM_COMMAND, 1305, 0);
    EXPECT_TRUE(WaitForCaption(frame, "WaitKey end 0", 10000)) << Caption(frame);
}

TEST_F(ServiceCommandsTest, EscapeServiceCommandEndsTheWaitingCommand)
{
    ASSERT_TRUE(StartWaiting()) << Caption(frame);
    PostMessageA(frame, WM_COMMAND, 1211, 0);
    EXPECT_TRUE(WaitForCaption(frame, "WaitKey ESC", 10000)) << Caption(frame);
    // The command has returned: the next one runs at once.
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    EXPECT_TRUE(WaitForCaption(frame, "/C:Echo", 10000)) << Caption(frame);
}

TEST_F(ServiceCommandsTest, CancelServiceCommandEndsTheWaitingCommand)
{
    ASSERT_TRUE(StartWaiting()) << Caption(frame);
    PostMessageA(frame, WM_COMMAND, 1305, 0);
    EXPECT_TRUE(WaitForCaption(frame, "WaitKey end 0", 10000)) << Caption(frame);
}

}  // namespace
