// A plug-in command shows a text in the program's message line through the host library
// (VyDSP_MSG): the status bar's message field shows that text, as a user would see it.
#include "GTest.h"

#include <cstdio>
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
    "<item>Alpha;表示A,5993,TestPlugin.dll /C:Message PDF読込中 alpha.pdf</item>\n"
    "<item>Beta;表示B,5994,TestPlugin.dll /C:Message WWWWWWWWWWWWWWWWWWWW</item>\n"
    "<item>Clear;消去,5995,TestPlugin.dll /C:Message</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

// "shown R ink X sum S" as the test plug-in traces what the status bar painted.
struct Shown {
    int result = -1;
    int ink = -1;
    unsigned long sum = 0;
};

bool ParseShown(const std::string& caption, Shown* shown)
{
    return std::sscanf(caption.c_str(), "shown %d ink %d sum %lu", &shown->result, &shown->ink, &shown->sum) == 3;
}

class PluginMessageLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        DWORD_PTR probe = 0;
        SendMessageTimeoutA(frame, WM_CAD_RUN_COMMAND, 5005, 0, SMTO_BLOCK, 10000, &probe);
        chained = probe == 1;
        statusBar = FindWindowExA(frame, nullptr, "CadStatusBar", nullptr);
    }

    void TearDown() override
    {
        if (frame == nullptr) return;
        PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(30000, &exitCode));
    }

    // Runs a message command of the test plug-in and reads what it saw painted.
    Shown Run(int id)
    {
        SetWindowTextA(frame, "Voltrane");
        PostMessageA(frame, WM_CAD_RUN_COMMAND, id, 0);
        Shown shown;
        for (DWORD start = GetTickCount(); !ParseShown(Caption(frame), &shown) && GetTickCount() - start < 10000;) {
            Sleep(20);
        }
        return shown;
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
    HWND statusBar = nullptr;
    bool chained = false;
};

TEST_F(PluginMessageLineTest, TheStatusBarShowsThePluginsText)
{
    ASSERT_TRUE(chained) << "the main frame does not chain CSystemCommandDispatcher into its message map";
    ASSERT_NE(statusBar, nullptr);
    ASSERT_TRUE(IsWindowVisible(statusBar));

    // An empty text gives the line back to the program's own prompt.
    const Shown cleared = Run(5995);
    ASSERT_EQ(cleared.result, 1) << Caption(frame);

    const Shown alpha = Run(5993);
    ASSERT_EQ(alpha.result, 1) << Caption(frame);
    EXPECT_GT(alpha.ink, 10) << "no text in the message field";
    EXPECT_NE(alpha.sum, cleared.sum);

    // Twenty wide letters reach further right than the first text, and look different.
    const Shown wide = Run(5994);
    ASSERT_EQ(wide.result, 1) << Caption(frame);
    EXPECT_GT(wide.ink, alpha.ink);
    EXPECT_NE(wide.sum, alpha.sum);

    // The same text shows the same picture again.
    const Shown again = Run(5993);
    ASSERT_EQ(again.result, 1);
    EXPECT_EQ(again.sum, alpha.sum);
    EXPECT_EQ(again.ink, alpha.ink);

    const Shown clearedAgain = Run(5995);
    EXPECT_EQ(clearedAgain.sum, cleared.sum);
}

}  // namespace
