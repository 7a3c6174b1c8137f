// The start dialog "スタート" that a start without a drawing shows. Every other end-to-end test
// starts the program with a start command that does nothing (5005) in place of that dialog, as
// the settings allow, so that each sees only the windows it asked for.
#include "GTest.h"

#include <memory>

#include "DrawingWindowRecords.h"
#include "DrawingWindows.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "UserSettingsFiles.h"
#include "WindowText.h"

namespace {

class QuietStart : public ::testing::Environment {
public:
    void SetUp() override
    {
        m_swap.reset(new SettingsFileSwap("ConfigData.xml", {{"AUTOCMD", "5005"}}));
        ASSERT_TRUE(m_swap->Ready());
    }
    void TearDown() override { m_swap.reset(); }

private:
    std::unique_ptr<SettingsFileSwap> m_swap;
};

::testing::Environment* const g_quietStart = ::testing::AddGlobalTestEnvironment(new QuietStart);

// The start as a new user has it: no start command, the start dialog switched on.
struct UserStart {
    SettingsFileSwap config{"ConfigData.xml", {{"AUTOCMD", "0"}}};
    SettingsFileSwap local{"LocalSettings.xml", {{"iStartOpenDlgFg", "0"}}};
    bool Ready() const { return config.Ready() && local.Ready(); }
};

HWND WaitForOwnDialog(ProgramProcess& program, const char* caption)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(50)) {
        for (HWND w = FindWindowA("#32770", nullptr); w != nullptr; w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
            DWORD process = 0;
            GetWindowThreadProcessId(w, &process);
            if (process == program.ProcessId() && IsWindowVisible(w) && Caption(w) == caption) return w;
        }
    }
    return nullptr;
}

// Starts the program as a new user has it set; the start dialog it shows, or null.
HWND StartToTheStartDialog(ProgramProcess& program, HWND* frame)
{
    if (!program.Start()) return nullptr;
    *frame = program.WaitForWindow("Brisco001", 60000);
    return *frame != nullptr ? WaitForOwnDialog(program, "スタート") : nullptr;
}

// Each test starts the program as a new user has it set and finds the start dialog.
class StartDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settings.Ready());
        dialog = StartToTheStartDialog(program, &frame);
        ASSERT_NE(dialog, nullptr) << "no start dialog";
    }

    UserStart settings;
    ProgramProcess program;
    HWND frame = nullptr;
    HWND dialog = nullptr;
};

}  // namespace

TEST_F(StartDialog, AStartWithoutADrawingOffersANewOneAndOkKeepsIt)
{
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, 1803))) << "its \"開　く\" button";
    SendMessageA(GetDlgItem(dialog, 1300), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("一階平面図"));
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);

    // The drawing window made for the dialog stays, with the name given.
    HWND view = nullptr;
    for (DWORD start = GetTickCount(); view == nullptr && GetTickCount() - start < 20000; Sleep(50))
        if (!IsWindow(dialog) || !IsWindowVisible(dialog))
            view = reinterpret_cast<HWND>(SendToProgram(frame, WM_CAD_ACTIVE_VIEW));
    ASSERT_NE(view, nullptr) << "no drawing window after OK";
    PDBINFO block{};
    DbInfoRecord info{};
    ASSERT_TRUE(ReadViewBlock(program.ProcessId(), view, &block));
    ASSERT_TRUE(ReadDrawingInfo(program.ProcessId(), block, &info));
    EXPECT_STREQ("一階平面図", info.title);
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}

TEST_F(StartDialog, CancelEndsTheProgram)
{
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    DWORD exitCode = 0;
    EXPECT_TRUE(program.WaitForExit(30000, &exitCode)) << "the program stayed after the start was cancelled";
}

TEST_F(StartDialog, OpenShowsTheFileDialogInItsPlace)
{
    PostMessageA(dialog, WM_COMMAND, 1803, 0);  // "開　く"
    HWND open = nullptr;
    for (DWORD start = GetTickCount(); open == nullptr && GetTickCount() - start < 20000; Sleep(50)) {
        HWND shown = program.WaitForWindow("#32770", 100);
        if (shown != nullptr && Caption(shown).find("ファイルを開く") != std::string::npos) open = shown;
    }
    ASSERT_NE(open, nullptr) << "no file dialog after \"開　く\"";
    PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
}
