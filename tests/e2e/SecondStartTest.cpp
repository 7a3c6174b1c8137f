// The command line of a start, and a second start while the program runs: the missing drawing
// is reported, and a second process hands its command line to the running one and ends.
#include "GTest.h"

#include <string>
#include <vector>

#include "ProgramProcess.h"
#include "UserSettingsFiles.h"

namespace {

BOOL CALLBACK CollectText(HWND hWnd, LPARAM lParam)
{
    char text[1024] = {};
    GetWindowTextA(hWnd, text, sizeof text);
    *reinterpret_cast<std::string*>(lParam) += text;
    *reinterpret_cast<std::string*>(lParam) += "\n";
    return TRUE;
}

// The texts of a message box's controls, one a line.
std::string BoxText(HWND box)
{
    std::string text;
    EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&text));
    return text;
}

// Sets MULTIBOOT of the per-user "ConfigData.xml" to 0 for the test and puts the file back
// afterwards.
class SingleInstanceSetting {
public:
    SingleInstanceSetting()
    {
        m_path = UserSettingsFolder() + "ConfigData.xml";
        m_saved = ReadAll(m_path);
        m_existed = !m_saved.empty();
        std::string bytes = m_existed ? m_saved : ReadAll(ProgramFolder() + "ConfigData.xml");
        size_t at = bytes.find("<MULTIBOOT>1</MULTIBOOT>");
        if (at == std::string::npos) {
            // Already single-instance (a file left by a run that was killed, say): nothing to change.
            m_ready = bytes.find("<MULTIBOOT>0</MULTIBOOT>") != std::string::npos;
            return;
        }
        bytes.replace(at, 24, "<MULTIBOOT>0</MULTIBOOT>");
        m_ready = WriteAll(m_path, bytes);
    }
    ~SingleInstanceSetting()
    {
        if (m_existed) {
            WriteAll(m_path, m_saved);
        } else {
            DeleteFileA(m_path.c_str());
        }
    }
    bool Ready() const { return m_ready; }

private:
    std::string m_path;
    std::string m_saved;
    bool m_existed = false;
    bool m_ready = false;
};

int FatalErrorFlag()
{
    std::string ini = UserSettingsFolder() + "Brisco.ini";
    return static_cast<int>(GetPrivateProfileIntA("System", "FatalError", -1, ini.c_str()));
}

// Waits for the message box of the process, checks that it names the file, and answers it.
void ExpectFileNotFoundBox(ProgramProcess& program, const std::string& file)
{
    HWND box = program.WaitForWindow("#32770", 60000);
    ASSERT_NE(box, nullptr) << "no message box";
    std::string expected = "ファイル " + file + " が見つかりません";
    EXPECT_NE(BoxText(box).find(expected), std::string::npos) << BoxText(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

TEST(CommandLineStart, MissingDrawingIsReportedAndTheStartGoesOn)
{
    ProgramProcess program;
    const std::string missing = "C:\\no_such_folder\\図面なし.tcf";
    ASSERT_TRUE(program.Start("\"" + missing + "\""));
    ExpectFileNotFoundBox(program, missing);

    HWND frame = program.WaitForWindow("Brisco001", 60000);
    ASSERT_NE(frame, nullptr);
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}

TEST(SecondStart, EmptyCommandLineIsHandedOverAndTheSecondProcessEnds)
{
    SingleInstanceSetting setting;
    ASSERT_TRUE(setting.Ready());
    ProgramProcess first;
    ASSERT_TRUE(first.Start());
    HWND frame = first.WaitForWindow("Brisco001", 60000);
    ASSERT_NE(frame, nullptr);

    ProgramProcess second;
    ASSERT_TRUE(second.Start());
    DWORD exitCode = 99;
    ASSERT_TRUE(second.WaitForExit(60000, &exitCode));
    EXPECT_EQ(exitCode, 0u);
    // The second process ended without touching the running instance's crash flag.
    EXPECT_EQ(FatalErrorFlag(), 1);
    EXPECT_TRUE(IsWindow(frame));

    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.WaitForExit(30000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
    EXPECT_EQ(FatalErrorFlag(), 0);
}

TEST(SecondStart, CommandLineReachesTheRunningInstanceByAtomAndByData)
{
    SingleInstanceSetting setting;
    ASSERT_TRUE(setting.Ready());
    ProgramProcess first;
    ASSERT_TRUE(first.Start());
    HWND frame = first.WaitForWindow("Brisco001", 60000);
    ASSERT_NE(frame, nullptr);

    // A short line travels in a global atom; one longer than an atom holds as data.
    std::string padding;
    for (int i = 0; i < 60; ++i) padding += " /pad";
    const struct {
        std::string file;
        std::string extra;
    } cases[] = {
        {"C:\\no_such_folder\\handed.tcf", ""},
        {"C:\\no_such_folder\\long_line.tcf", padding},
    };
    for (const auto& c : cases) {
        ProgramProcess second;
        ASSERT_TRUE(second.Start("\"" + c.file + "\"" + c.extra));
        // The running instance reports the file while the second one waits for it.
        ExpectFileNotFoundBox(first, c.file);
        DWORD exitCode = 99;
        ASSERT_TRUE(second.WaitForExit(60000, &exitCode));
        EXPECT_EQ(exitCode, 0u);
    }

    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(first.WaitForExit(30000, &exitCode));
    EXPECT_EQ(exitCode, 1u);
}
