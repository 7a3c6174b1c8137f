// The program starts, shows its main window and ends with exit code 1 when it is closed.
#include "GTest.h"

#include "ProgramProcess.h"

TEST(Startup, MainWindowAppearsAndClosesWithExitCodeOne)
{
    ProgramProcess program;
    ASSERT_TRUE(program.Start());
    HWND frame = program.WaitForWindow("Brisco001", 60000);
    ASSERT_NE(frame, nullptr) << "no main window of class Brisco001";

    char title[256] = {};
    GetWindowTextA(frame, title, sizeof title);
    EXPECT_STREQ(title, "Voltrane");
    EXPECT_NE(FindWindowExA(frame, nullptr, "MDIClient", nullptr), nullptr);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}
