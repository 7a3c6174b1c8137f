// The second start stage: its status codes, the one start action it posts, the drawing file
// types of the command line, and the backup manager's crash flag.
#include "GTest.h"

#include <tlhelp32.h>

#include <string>
#include <vector>

#include "HostMessages.h"
#include "SettingsSandbox.h"
#include "core/CadSystem.h"
#include "core/CommandLine.h"
#include "core/StartupSeams.h"

namespace {

// A top-level window that stands for the main frame and keeps what is posted to it.
class RecordingFrame {
public:
    RecordingFrame()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "StartupTestFrame";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(0, "StartupTestFrame", "frame", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~RecordingFrame() { DestroyWindow(m_hWnd); }
    HWND Handle() const { return m_hWnd; }

    // The WM_COMMAND wParams posted so far; requests for a new drawing window count as 2424.
    std::vector<WPARAM> PostedCommands()
    {
        std::vector<WPARAM> commands;
        MSG msg;
        while (PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_COMMAND) {
                commands.push_back(msg.wParam);
            } else if (msg.message == WM_CADDB_NEW_WINDOW) {
                commands.push_back(WM_CADDB_NEW_WINDOW);
            } else {
                DispatchMessageA(&msg);  // a pending WM_PAINT is validated, or it would come again
            }
        }
        return commands;
    }

private:
    HWND m_hWnd = nullptr;
};

// Subsystems that answer what a test gives them: 1 made, 0 failed.
class ScriptedSubsystems : public seam::StartupSubsystems {
public:
    int panelFonts = 1;
    int rightMenuBuffer = 1;
    int recentCommands = 1;
    int rubberBand = 1;
    int rightMenuPopup = 1;

    int CreatePanelFonts() override { return panelFonts; }
    int AllocRightMenuBuffer() override { return rightMenuBuffer; }
    int LoadRightMenuFile(const char*) override { return 1; }
    int LoadRecentCommands() override { return recentCommands; }
    int CreateRubberBandDbs() override { return rubberBand; }
    int CreateRightMenuPopup(HWND, HINSTANCE) override { return rightMenuPopup; }
    int OfferBackupRecovery(HWND, int) override { return -1; }
};

// Runs SubInitialize in a sandbox with scripted subsystems, and puts the application object's
// run-time state back afterwards.
class SecondStageFixture : public testing::Test {
protected:
    void SetUp() override
    {
        GetCadSystem().SetStartupSubsystems(&m_subsystems);
        m_savedState = GetCommandLineState();
        m_savedLinkMode = GetLinkMode();
        GetCommandLineState() = CommandLineState();
        GetCadSystem().setup.iStartOpenDlgFg = 0;
        GetCadSystem().config.AUTOCMD = 0;
        GetCadSystem().initStatus = 0;
        SetLinkMode(-1);
    }
    void TearDown() override
    {
        // Leaves the process-wide frame handles empty again, as before the second stage.
        m_subsystems.recentCommands = 0;
        GetCadSystem().SubInitialize(nullptr, nullptr, "");
        seam::StopDdeServer(nullptr);
        seam::TermDdeClient(nullptr);
        MSG msg;
        while (PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE)) {
        }
        GetCadSystem().SetStartupSubsystems(nullptr);
        GetCommandLineState() = m_savedState;
        SetLinkMode(m_savedLinkMode);
        GetCadSystem().initStatus = 0;
    }

    SettingsSandbox m_sandbox;
    RecordingFrame m_frame;
    ScriptedSubsystems m_subsystems;

private:
    CommandLineState m_savedState;
    int m_savedLinkMode = -1;
};

const char kStageFailedText[] = "システムの初期化に失敗しました。(CMainFrame::SubInitialize)\n作業を中止します。";

}  // namespace

TEST(StartAction, OneActionByLinkModeCrashAutoCommandFileAndDialogSetting)
{
    const struct {
        int linkMode;
        int crashed;
        int recoveryAnswer;
        int autoCommand;
        int startActionDone;
        int fileFound;
        int dialogSetting;
        int activeView;
        WPARAM command;
        bool link;
        bool recoveryOffered;
    } cases[] = {
        // Link modes 1 to 5: the link command and nothing else, crash or not.
        {1, 0, -1, 0, 0, 0, 0, 0, 20027, true, false},
        {2, 1, 0, 4000, 0, 0, 0, 0, 21220, true, false},
        {3, 0, -1, 4000, 0, 0, 0, 0, 21221, true, false},
        {4, 0, -1, 0, 1, 0, 0, 0, 21222, true, false},
        {5, 0, -1, 0, 0, 1, 0, 0, 21223, true, false},
        // A crash whose backups were reopened: nothing more.
        {-1, 1, 0, 4000, 0, 0, 0, 0, 0, false, true},
        // Declined recovery: the start goes on.
        {-1, 1, -1, 4000, 0, 0, 0, 0, 4000, false, true},
        {-1, 1, -1, 0, 0, 0, 0, 0, kStartDialogCommand, false, true},
        // AUTOCMD unless a boot command was posted.
        {-1, 0, -1, 4000, 0, 1, 0, 0, 4000, false, false},
        {0, 0, -1, 4000, 1, 0, 0, 0, 0, false, false},
        // The start dialog only without a file, without the setting and without a view.
        {-1, 0, -1, 0, 0, 0, 0, 0, kStartDialogCommand, false, false},
        {10, 0, -1, 0, 0, 0, 0, 0, kStartDialogCommand, false, false},
        {-1, 0, -1, 0, 0, 1, 0, 0, 0, false, false},
        {-1, 0, -1, 0, 0, 0, 1, 0, 0, false, false},
        {-1, 0, -1, 0, 0, 0, 0, 1, 0, false, false},
        {99, 0, -1, 0, 1, 0, 0, 0, 0, false, false},
    };
    for (const auto& c : cases) {
        SetLinkMode(c.linkMode);
        StartActionInput input;
        input.startMode = GetCadSystem().GetStartMode();
        input.linkMode = c.linkMode;
        input.previousRunCrashed = c.crashed;
        input.autoCommand = c.autoCommand;
        input.startActionDone = c.startActionDone;
        input.commandLineFileFound = c.fileFound;
        input.startOpenDialogSetting = c.dialogSetting;
        input.hasActiveView = c.activeView;
        bool offered = false;
        input.offerRecovery = [&offered, &c] {
            offered = true;
            return c.recoveryAnswer;
        };
        bool link = false;
        EXPECT_EQ(ChooseStartAction(input, &link), c.command) << "link mode " << c.linkMode << " crash " << c.crashed;
        EXPECT_EQ(link, c.link) << "link mode " << c.linkMode;
        EXPECT_EQ(offered, c.recoveryOffered) << "link mode " << c.linkMode << " crash " << c.crashed;
    }
    SetLinkMode(-1);
}

TEST(StartAction, ARequestedDrawingWindowTakesThePlaceOfTheStartDialog)
{
    StartActionInput input;
    EXPECT_EQ(ChooseStartAction(input, nullptr), kStartDialogCommand);
    input.newWindowPosted = 1;
    EXPECT_EQ(ChooseStartAction(input, nullptr), 0u);
    input.autoCommand = 4000;  // the automatic command still runs, in the new window
    EXPECT_EQ(ChooseStartAction(input, nullptr), 4000u);
}

TEST_F(SecondStageFixture, StatusCodesAndTheStartAction)
{
    const struct {
        int recentCommands;
        int rubberBand;
        int rightMenuPopup;
        int result;
        int initStatus;
        bool boxShown;
        std::vector<WPARAM> posted;
    } cases[] = {
        {1, 1, 1, 0, 0, false, {kStartDialogCommand}},
        // Recent commands not loaded: the stage stops without a box and posts nothing.
        {0, 1, 1, -555, -555, false, {}},
        // Rubber-band databases not made: the box, and no start action for a closing frame.
        {1, 0, 1, -556, -556, true, {}},
        // The right-click popup not made: -1, the status stays as it was.
        {1, 1, 0, -1, 0, true, {kStartDialogCommand}},
    };
    for (const auto& c : cases) {
        m_subsystems.recentCommands = c.recentCommands;
        m_subsystems.rubberBand = c.rubberBand;
        m_subsystems.rightMenuPopup = c.rightMenuPopup;
        GetCadSystem().initStatus = 0;
        SettingsSandbox::Messages().clear();
        EXPECT_EQ(GetCadSystem().SubInitialize(m_frame.Handle(), nullptr, ""), c.result);
        EXPECT_EQ(GetCadSystem().initStatus, c.initStatus) << c.result;
        EXPECT_EQ(GetMainFrameWnd(), m_frame.Handle());
        EXPECT_FALSE(IsTerminating());
        ASSERT_EQ(SettingsSandbox::Messages().size(), c.boxShown ? 1u : 0u) << c.result;
        if (c.boxShown) {
            EXPECT_EQ(SettingsSandbox::Messages()[0].text, kStageFailedText);
            EXPECT_EQ(SettingsSandbox::Messages()[0].caption, "エラー");
        }
        EXPECT_EQ(m_frame.PostedCommands(), c.posted) << c.result;
    }
}

TEST_F(SecondStageFixture, LinkModeMinimisesAndPostsOnlyTheLinkCommand)
{
    SetLinkMode(3);  // "to_cad.atr" holding 5
    GetCadSystem().config.AUTOCMD = 4000;
    EXPECT_EQ(GetCadSystem().SubInitialize(m_frame.Handle(), nullptr, ""), 0);
    EXPECT_TRUE(IsIconic(m_frame.Handle()));
    EXPECT_EQ(m_frame.PostedCommands(), std::vector<WPARAM>{21221});
    EXPECT_EQ(GetCommandLineState().startActionDone, 1);
}

// A command line that opened nothing asks for an empty drawing window: that is the start, and
// the start dialog does not come as well.
TEST_F(SecondStageFixture, NothingOpenedFromTheCommandLineGivesOneStartAction)
{
    EXPECT_EQ(GetCadSystem().SubInitialize(m_frame.Handle(), nullptr, "/zz"), 0);
    EXPECT_EQ(m_frame.PostedCommands(), std::vector<WPARAM>{WM_CADDB_NEW_WINDOW});
    // Without a command line the start dialog is the one start action.
    GetCommandLineState() = CommandLineState();
    EXPECT_EQ(GetCadSystem().SubInitialize(m_frame.Handle(), nullptr, ""), 0);
    EXPECT_EQ(m_frame.PostedCommands(), std::vector<WPARAM>{kStartDialogCommand});
}

TEST_F(SecondStageFixture, AutomaticCommandWinsOverTheStartDialog)
{
    GetCadSystem().config.AUTOCMD = 4000;
    EXPECT_EQ(GetCadSystem().SubInitialize(m_frame.Handle(), nullptr, ""), 0);
    EXPECT_EQ(m_frame.PostedCommands(), std::vector<WPARAM>{4000});
}

// The stand-ins of the subsystems not built yet say so, and the start goes on without them.
TEST_F(SecondStageFixture, StandInsAnswerNotAvailableAndTheStartGoesOn)
{
    seam::StartupSubsystems& program = seam::ProgramSubsystems();
    EXPECT_EQ(program.CreatePanelFonts(), 1);
    // The right-click menu is real: a missing menu file answers 0.
    EXPECT_EQ(program.AllocRightMenuBuffer(), 1);
    EXPECT_EQ(program.LoadRightMenuFile("RMenu.txt"), 0);
    seam::FreeRightMenuBuffer();
    EXPECT_EQ(program.LoadRecentCommands(), 1);
    // The rubber-band databases are real: made, then released again.
    EXPECT_EQ(program.CreateRubberBandDbs(), 1);
    seam::DeleteRubberBandDbs();
    EXPECT_EQ(program.CreateRightMenuPopup(m_frame.Handle(), nullptr), 1);
    EXPECT_EQ(program.OfferBackupRecovery(m_frame.Handle(), 1), -1);  // nothing reopened
    EXPECT_EQ(seam::StartDdeServer(), 1);
    EXPECT_EQ(seam::AllocRasterBuffers(), 1);
    seam::FreeRasterBuffers();

    GetCadSystem().SetStartupSubsystems(nullptr);
    SettingsSandbox::Messages().clear();
    EXPECT_EQ(GetCadSystem().SubInitialize(m_frame.Handle(), nullptr, ""), 0);
    EXPECT_EQ(GetCadSystem().initStatus, 0);
    EXPECT_TRUE(SettingsSandbox::Messages().empty());
    EXPECT_EQ(m_frame.PostedCommands(), std::vector<WPARAM>{kStartDialogCommand});
    GetCadSystem().SetStartupSubsystems(&m_subsystems);
}

TEST(DrawingFileType, ByExtensionWithoutCase)
{
    const struct {
        const char* path;
        int type;
    } cases[] = {
        {"a.tcf", 12},       {"C:\\d\\A.TCF", 12}, {"x.otcf", 1},     {"x.OTCF", 1},  {"x.dxf", 4},
        {"x.jwc", 5},        {"x.JWK", 5},         {"x.dwg", 7},      {"x.tif", 8},   {"x.sfc", 13},
        {"x.p21", 13},       {"x.jww", 15},        {"x.pdf", 16},     {"x.txt", 0},   {"x.tiff", 0},
        {"x.abcde", 0},      {"noext", 0},         {"C:\\a.b\\c", 0}, {"", 0},        {"x.", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(seam::GetDrawingFileType(c.path), c.type) << c.path;
    EXPECT_EQ(seam::GetDrawingFileType(nullptr), 0);
}

namespace {

int ReadFatalError(const std::string& ini)
{
    return static_cast<int>(GetPrivateProfileIntA("System", "FatalError", -1, ini.c_str()));
}

// Some process of this wine session other than this one.
DWORD OtherLiveProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    DWORD found = 0;
    for (BOOL ok = Process32First(snapshot, &entry); ok && found == 0; ok = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID != GetCurrentProcessId() && entry.th32ProcessID != 0) found = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

// The creation time of a process as the running mark stores it.
std::string CreationStampOf(DWORD pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
    if (process == nullptr) return std::string();
    FILETIME created, exited, kernel, user;
    std::string stamp;
    if (GetProcessTimes(process, &created, &exited, &kernel, &user))
        stamp = std::to_string((static_cast<unsigned long long>(created.dwHighDateTime) << 32) |
                               created.dwLowDateTime);
    CloseHandle(process);
    return stamp;
}

}  // namespace

TEST(BackupRunningMark, OnlyTheStartingProcessClearsTheCrashFlag)
{
    SettingsSandbox sandbox;
    std::string ini = GetUserIniPath();
    seam::EndBackupManager();  // a load step of an earlier test may have started it

    // A process that never started the backups (a second start that handed over) leaves the
    // flag of the running instance alone.
    WritePrivateProfileStringA("System", "FatalError", "1", ini.c_str());
    seam::EndBackupManager();
    EXPECT_EQ(ReadFatalError(ini), 1);

    // A clean previous run: no crash; the flag is set while running and cleared at the end.
    WritePrivateProfileStringA("System", "FatalError", "0", ini.c_str());
    seam::StartBackupManager();
    EXPECT_EQ(seam::PreviousRunCrashed(), 0);
    EXPECT_EQ(ReadFatalError(ini), 1);
    seam::EndBackupManager();
    EXPECT_EQ(ReadFatalError(ini), 0);

    // A run that died left its mark: a crash, and the stale mark is gone afterwards.
    WritePrivateProfileStringA("System", "FatalError", "1", ini.c_str());
    WritePrivateProfileStringA("RunningInstances", "4000000", "1", ini.c_str());
    seam::StartBackupManager();
    EXPECT_EQ(seam::PreviousRunCrashed(), 1);
    seam::EndBackupManager();
    EXPECT_EQ(ReadFatalError(ini), 0);
    char value[16] = {};
    GetPrivateProfileStringA("RunningInstances", "4000000", "", value, sizeof value, ini.c_str());
    EXPECT_STREQ(value, "");

    // A dead run's mark whose process id now belongs to an unrelated live process is still
    // a crash: ids are reused, so the mark's creation time must match too.
    DWORD other = OtherLiveProcess();
    ASSERT_NE(other, 0u);
    WritePrivateProfileStringA("System", "FatalError", "1", ini.c_str());
    WritePrivateProfileStringA("RunningInstances", std::to_string(other).c_str(), "12345", ini.c_str());
    seam::StartBackupManager();
    EXPECT_EQ(seam::PreviousRunCrashed(), 1);
    seam::EndBackupManager();
    EXPECT_EQ(ReadFatalError(ini), 0);

    // Another instance still running: its flag is no crash, and it stays set at our end.
    std::string stamp = CreationStampOf(other);
    ASSERT_FALSE(stamp.empty());
    WritePrivateProfileStringA("System", "FatalError", "1", ini.c_str());
    WritePrivateProfileStringA("RunningInstances", std::to_string(other).c_str(), stamp.c_str(), ini.c_str());
    seam::StartBackupManager();
    EXPECT_EQ(seam::PreviousRunCrashed(), 0);
    seam::EndBackupManager();
    EXPECT_EQ(ReadFatalError(ini), 1);
}

TEST(StartupStatus, LoadStepFailsWithoutTheRightMenuBuffer)
{
    SettingsSandbox sandbox;
    ScriptedSubsystems subsystems;
    GetCadSystem().SetStartupSubsystems(&subsystems);
    seam::EndBackupManager();
    subsystems.rightMenuBuffer = 0;
    EXPECT_EQ(GetCadSystem().LoadSettings(), 0);
    // The step stopped before the backups were started.
    EXPECT_EQ(seam::BackupManagerStarted(), 0);
    subsystems.rightMenuBuffer = 1;
    EXPECT_EQ(GetCadSystem().LoadSettings(), 1);
    EXPECT_EQ(seam::BackupManagerStarted(), 1);
    seam::EndBackupManager();
    GetCadSystem().SetStartupSubsystems(nullptr);
}
