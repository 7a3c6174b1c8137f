// Help files with the launcher replaced: what is opened how, what is remembered, and which
// windows are closed when the help object goes.
#include "GTest.h"

#include <shlwapi.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "commands/HelpFiles.h"

namespace {

class RecordingLauncher : public CHelpLauncher {
public:
    RecordingLauncher() { SetHelpLauncher(this); }
    ~RecordingLauncher() override { SetHelpLauncher(nullptr); }

    INT_PTR ShellOpen(const char* path, DWORD* process) override
    {
        calls.push_back(std::string("open ") + path);
        *process = startedProcess;
        return result;
    }
    UINT RunProgram(const char* commandLine) override
    {
        calls.push_back(std::string("run ") + commandLine);
        return 33;
    }
    BOOL ShowHelpContents(HWND, const char* path) override
    {
        calls.push_back(std::string("contents ") + path);
        return TRUE;
    }

    std::vector<std::string> calls;
    INT_PTR result = 42;
    DWORD startedProcess = 0;
};

HWND MakeTopLevelWindow(const char* title)
{
    return CreateWindowA("STATIC", title, WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

TEST(HelpFiles, OpenedNamesAreRememberedOnceInLowerCase)
{
    RecordingLauncher launcher;
    CCadIntHelp help;
    EXPECT_EQ(42, help.Open("D:\\Help\\Manual.PDF", TRUE));
    EXPECT_EQ(42, help.Open("D:\\Help\\Manual.PDF", TRUE));
    EXPECT_EQ(std::vector<std::string>{"manual.pdf"}, help.Names());
    EXPECT_EQ(1, help.IsHelpWindowTitle("Manual.pdf - Viewer"));
    EXPECT_EQ(0, help.IsHelpWindowTitle("Other.pdf - Viewer"));

    help.Open("D:\\Help\\Guide.pdf", FALSE);  // not remembered
    launcher.result = 2;                      // the shell failed: nothing remembered
    EXPECT_EQ(2, help.Open("D:\\Help\\Broken.pdf", TRUE));
    EXPECT_EQ(std::vector<std::string>{"manual.pdf"}, help.Names());

    // A double-byte name is lower-cased only in its single-byte letters.
    launcher.result = 42;
    help.Open("D:\\手引A.PDF", TRUE);
    EXPECT_EQ("手引a.pdf", help.Names().back());
    EXPECT_EQ(1, help.IsHelpWindowTitle("手引A.pdf"));
}

TEST(HelpFiles, OnlyWindowsOfViewersTheProgramStartedAreClosed)
{
    RecordingLauncher launcher;
    HWND foreign = MakeTopLevelWindow("Manual.pdf - Viewer");
    {
        CCadIntHelp help;  // the viewer was not started as a process of ours
        help.Open("D:\\Help\\Manual.PDF", TRUE);
    }
    EXPECT_TRUE(IsWindow(foreign)) << "another program's window was closed";

    HWND ours = foreign;
    launcher.startedProcess = GetCurrentProcessId();  // this process stands for the viewer
    HWND unrelated = MakeTopLevelWindow("Notes.txt - Editor");
    {
        CCadIntHelp help;
        help.Open("D:\\Help\\Manual.PDF", TRUE);
    }
    EXPECT_FALSE(IsWindow(ours));
    EXPECT_TRUE(IsWindow(unrelated));
    DestroyWindow(unrelated);
    if (IsWindow(foreign)) DestroyWindow(foreign);
}

TEST(HelpFiles, HelpCommandStartsTheRightViewerAndIgnoresMissingFiles)
{
    RecordingLauncher launcher;
    TempFolder folder;
    ASSERT_TRUE(folder.Write("Manual.pdf", "%PDF"));
    ASSERT_TRUE(folder.Write("OLD.HLP", "help"));

    EXPECT_EQ(1, RunHelpCommand(nullptr, folder.File("missing.pdf").c_str()));
    EXPECT_TRUE(launcher.calls.empty());

    EXPECT_EQ(1, RunHelpCommand(nullptr, folder.File("Manual.pdf").c_str()));
    EXPECT_EQ(std::vector<std::string>{"open " + folder.File("Manual.pdf")}, launcher.calls);
    EXPECT_EQ(1, GetCadIntHelp().IsHelpWindowTitle("manual.pdf"));

    // Capitals in the extension still mean the system's help viewer, never the shell.
    launcher.calls.clear();
    EXPECT_EQ(1, RunHelpCommand(nullptr, folder.File("OLD.HLP").c_str()));
    ASSERT_EQ(1u, launcher.calls.size());
    char system[MAX_PATH] = {}, viewer[MAX_PATH] = {};
    GetSystemDirectoryA(system, sizeof system);
    PathCombineA(viewer, system, "winhlp32.exe");
    if (PathFileExistsA(viewer))
        EXPECT_EQ(std::string("run ") + viewer + " \"" + folder.File("OLD.HLP") + "\"", launcher.calls[0]);
    else
        EXPECT_EQ("contents " + folder.File("OLD.HLP"), launcher.calls[0]);
    DestroyCadIntHelp();
}
