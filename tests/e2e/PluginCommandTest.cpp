// A plug-in command picked from the menu runs in the real program: the main frame routes the id
// to the system command dispatcher, which starts the test plug-in's StartCmd with the main
// window and the command text; a command whose library is missing shows one message.
#include "GTest.h"

#include <string>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "WindowText.h"
#include "TempFolder.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "<item>線分,6000,LumbraBase.dll</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

const char kNotChained[] = "the main frame does not chain CSystemCommandDispatcher into its message map";

// 5005 is answered 1 by the dispatcher and by nothing else.
bool DispatcherChained(HWND frame)
{
    DWORD_PTR probe = 0;
    SendMessageTimeoutA(frame, WM_CAD_RUN_COMMAND, 5005, 0, SMTO_BLOCK, 10000, &probe);
    return probe == 1;
}

// Starts the program with the test catalogue; the frame must answer the dispatcher's message.
class PluginCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(DispatcherChained(frame)) << kNotChained;
    }

    void TearDown() override
    {
        if (frame == nullptr) return;
        PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(30000, &exitCode));
        EXPECT_EQ(exitCode, 1u);
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
};

TEST_F(PluginCommandTest, DispatcherRunsTheTestPluginAndReportsAMissingLibraryOnce)
{
    // The plug-in gets the main window and the command text.
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    EXPECT_TRUE(WaitForCaption(frame, "/C:Echo", 10000)) << Caption(frame);

    // The drawing library is not installed: one message, owned by the main window.
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 6000, 0);
    HWND box = program.WaitForWindow("#32770", 10000);
    ASSERT_NE(box, nullptr) << "no message for the missing library";
    EXPECT_EQ(GetWindow(box, GW_OWNER), frame);
    EXPECT_EQ(Caption(box), "???");
    std::string text = StaticTexts(box);
    EXPECT_EQ(text, "コマンドが実行できません");
    // A command posted after the box was closed runs once the missing library's command has
    // ended: by then a second message would have been made.
    SetWindowTextA(frame, "Voltrane");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    EXPECT_TRUE(WaitForCaption(frame, "/C:Echo", 10000)) << Caption(frame);
    EXPECT_EQ(program.AnyWindow("#32770"), nullptr) << "a second message was shown";
}

// Without a drawing the router drops a plug-in command picked from the menu: nothing runs.
TEST_F(PluginCommandTest, MenuIdWithoutADrawingRunsNothing)
{
    SetWindowTextA(frame, "Voltrane");
    DWORD_PTR result = 0;
    ASSERT_NE(SendMessageTimeoutA(frame, WM_COMMAND, 5990, 0, SMTO_BLOCK, 10000, &result), 0);
    EXPECT_EQ(Caption(frame), "Voltrane") << "the plug-in command ran";
    HWND statusBar = FindWindowExA(frame, nullptr, "CadStatusBar", nullptr);
    ASSERT_NE(statusBar, nullptr);
    EXPECT_EQ(program.StatusBarField(statusBar, 1), "") << "a command shows as running";
}

TEST_F(PluginCommandTest, MenuIdRunsTheTestPluginCommand)
{
    // Plug-in ids need an open drawing: the router drops them without an active view.
    ASSERT_NE(OpenEmptyDrawingWindow(frame), nullptr) << "no drawing window";
    SetWindowTextA(frame, "Voltrane");
    PostMessageA(frame, WM_COMMAND, 5990, 0);
    EXPECT_TRUE(WaitForCaption(frame, "/C:Echo", 10000)) << Caption(frame);
}

TEST(PluginCommandFromAnotherFolder, CatalogueIsReadBesideTheProgram)
{
    CatalogueSwap catalogue(kCatalogue);
    ASSERT_TRUE(catalogue.Written());
    TempFolder elsewhere;  // the folder the program is started from holds no catalogue
    std::string commandLine = "\"" + ProgramFolder() + "Voltrane.exe.so\"";
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               elsewhere.Path().c_str(), &startup, &info));
    HWND frame = nullptr;
    for (DWORD start = GetTickCount(); frame == nullptr && GetTickCount() - start < 60000; Sleep(100)) {
        HWND candidate = FindWindowA("Brisco001", nullptr);
        DWORD processId = 0;
        if (candidate) GetWindowThreadProcessId(candidate, &processId);
        if (processId == info.dwProcessId && IsWindowVisible(candidate)) frame = candidate;
    }
    const bool chained = frame != nullptr && DispatcherChained(frame);
    bool ran = false;
    if (chained) {
        PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
        ran = WaitForCaption(frame, "/C:Echo", 10000);
    }
    if (frame != nullptr) PostMessageA(frame, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);

    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(chained) << kNotChained;
    EXPECT_TRUE(ran) << "the command of the catalogue beside the program did not run";
}

}  // namespace
