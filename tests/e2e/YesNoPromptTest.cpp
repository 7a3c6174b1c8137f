// A plug-in command asks the user a question through the host messages 2544 and 2545: the
// question shows in the status bar, a prompt appears beside the pointer, the user answers with
// the mouse or a key, the command learns the answer and the pointer is back where it was.
#include "GTest.h"

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
    "<item>AskYesNo;確認,5996,TestPlugin.dll /C:Ask 2544 0 線を消しますか？</item>\n"
    "<item>AskYesNoCancel;確認2,5997,TestPlugin.dll /C:Ask 2545 0 保存しますか？</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

void SendKey(WORD key)
{
    INPUT input[2] = {};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = key;
    input[1] = input[0];
    input[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, input, sizeof input[0]);
}

void ClickLeftHere()
{
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof input[0]);
}

POINT Pointer()
{
    POINT p = {0, 0};
    GetCursorPos(&p);
    return p;
}

class YesNoPromptTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        statusBar = FindWindowExA(frame, nullptr, "CadStatusBar", nullptr);
    }
    void TearDown() override
    {
        if (frame == nullptr) return;
        if (HWND prompt = program.AnyWindow("#32770")) PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
        PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        if (!program.WaitForExit(30000, &exitCode)) program.Kill();
    }
    // Runs the command and waits for its prompt to show.
    HWND AskAndWait(int id)
    {
        SetWindowTextA(frame, "Voltrane");
        PostMessageA(frame, WM_CAD_RUN_COMMAND, static_cast<WPARAM>(id), 0);
        for (DWORD start = GetTickCount(); GetTickCount() - start < 15000; Sleep(20)) {
            HWND prompt = program.AnyWindow("#32770");
            if (prompt != nullptr && IsWindowVisible(prompt)) return prompt;
        }
        return nullptr;
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
    HWND statusBar = nullptr;
};

TEST_F(YesNoPromptTest, QuestionsAreAnsweredByMouseAndByKey)
{
    // Yes by the mouse: the prompt has put the pointer onto its Yes button.
    SetCursorPos(600, 500);
    HWND prompt = AskAndWait(5996);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(Caption(prompt), "?");
    if (statusBar != nullptr) EXPECT_EQ(program.StatusBarField(statusBar, 0), "線を消しますか？");
    const POINT onPrompt = Pointer();
    RECT placed;
    GetWindowRect(prompt, &placed);
    EXPECT_TRUE(PtInRect(&placed, onPrompt)) << "the pointer is on the prompt";
    EXPECT_EQ(placed.left, 650);
    EXPECT_EQ(placed.top, 400);
    ClickLeftHere();
    EXPECT_TRUE(WaitForCaption(frame, "Ask 2544 answer 1", 10000)) << Caption(frame);
    EXPECT_EQ(Pointer().x, 600);
    EXPECT_EQ(Pointer().y, 500);

    // No by the key N in the Yes/No/Cancel prompt.
    SetCursorPos(300, 300);
    prompt = AskAndWait(5997);
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(Caption(prompt), "確認 ?");
    for (DWORD start = GetTickCount(); GetForegroundWindow() != prompt && GetTickCount() - start < 5000; Sleep(20)) {
        SetForegroundWindow(prompt);
    }
    SendKey('N');
    EXPECT_TRUE(WaitForCaption(frame, "Ask 2545 answer 0", 10000)) << Caption(frame);
    EXPECT_EQ(Pointer().x, 300);
    EXPECT_EQ(Pointer().y, 300);

    // Cancel by Escape.
    prompt = AskAndWait(5997);
    ASSERT_NE(prompt, nullptr);
    for (DWORD start = GetTickCount(); GetForegroundWindow() != prompt && GetTickCount() - start < 5000; Sleep(20)) {
        SetForegroundWindow(prompt);
    }
    SendKey(VK_ESCAPE);
    EXPECT_TRUE(WaitForCaption(frame, "Ask 2545 answer 2", 10000)) << Caption(frame);
}

}  // namespace
