// The system command dispatcher: the bracket around a command, the plug-in run and the reset
// after it, the busy cancel and re-post, reference drawings and the built-in ids.
#include "GTest.h"

#include <cstring>
#include <string>
#include <vector>

#include <shlwapi.h>

#include <psapi.h>

#include "EngineBinding.h"
#include "PlatformFaultCode.h"
#include "RecordingCommandHost.h"
#include "TempFolder.h"
#include "commands/CommandCatalog.h"
#include "commands/PluginModules.h"
#include "core/CadSystem.h"

namespace {

std::string BuildFolder()
{
    char folder[MAX_PATH] = {};
    GetProgramFolder(folder, sizeof folder);
    return folder;
}

class DispatcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        GetCommandRunState() = CommandRunState();
        GetCadSystem().currentCommandId = 0;
        const std::string plugin = BuildFolder() + "TestPlugin.dll.so";
        ASSERT_TRUE(CopyFileA(plugin.c_str(), folder.File("Transient.dll.so").c_str(), FALSE))
            << "the test plug-in is built beside the tests: " << plugin;
        const std::string xml =
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><Root>"
            "<ReadOnlyCmd><id>5500,5505</id></ReadOnlyCmd><CmdGroup>"
            "<Own><dir>%EXECDIR%</dir><data>"
            "<item>Echo;エコー,5500,Transient.dll /C:Echo</item>"
            "<item>Fault,5501,Transient.dll /C:Fault</item>"
            "<item>Unknown,5502,Transient.dll /C:Unknown</item>"
            "<item>Wait;待機,5505,Transient.dll /C:Wait</item>"
            "<item>Jwc,5104,Transient.dll /C:Echo</item>"
            "<item>Missing,5503,Missing.dll /C:Echo</item>"
            "</data></Own>"
            "<Engine><dir>" + BuildFolder() + "</dir><data>"
            "<item>NoEntry,5510,DravikDb.dll /C:Echo</item>"
            "</data></Engine>"
            "</CmdGroup></Root>";
        ASSERT_TRUE(folder.Write("LumbraCmd.def", xml));
        catalog.SetProgramFolder(folder.Path());
        ASSERT_EQ(catalog.ReadCommandDefinitions(), 0);
        host.dispatcher = &dispatcher;
    }

    void TearDown() override { GetCommandRunState() = CommandRunState(); }

    LRESULT Run(int id, const char* text = nullptr)
    {
        return SendMessageA(host.window, WM_CAD_RUN_COMMAND, id, reinterpret_cast<LPARAM>(text));
    }

    std::string Caption() const
    {
        char text[512] = {};
        GetWindowTextA(host.window, text, sizeof text);
        return text;
    }

    // Whether the test plug-in's copy is loaded, found by its file name.
    static bool IsLoaded()
    {
        HMODULE modules[512];
        DWORD needed = 0;
        if (!K32EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &needed)) return false;
        for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
            char path[MAX_PATH] = {};
            GetModuleFileNameA(modules[i], path, sizeof path);
            if (StrStrIA(path, "Transient.dll") != nullptr) return true;
        }
        return false;
    }

    RecordingCommandHost host;
    TempFolder folder;
    CLumbraCmd catalog;
    CSystemCommandDispatcher dispatcher{&catalog};
};

TEST_F(DispatcherTest, PluginCommandIsBracketedAndResetAfterwards)
{
    EXPECT_EQ(Run(5500), 1);
    const std::vector<std::string> expected = {
        "Run 5500",
        "CloseRightMenu",
        "CmdNotify 5500 1",
        "CountCommandForBackup",
        "Status 1 エコー",
        "AddRecentCommand 5500 エコー",
        "Log 2 Cmd Start 5500 エコー",
        "EnableInputScaleCombo 0",
        "Notify 1000 5500 main",
        "FocusActiveView",
        "Notify 1001 5500 main",
        // the reset after every plug-in command, in its order
        "EnableInputScaleCombo 1",
        "SetInputScaleRefused 0",
        "CmdState 0 1",
        "CloseRightMenu",
        "ResetEngineAfterCommand 1",
        "SetRightClickEnterMode 0",
        "Status 2 0",
        "Status 1 0",
        "Status 5 42",
        "ResetRightMenuPickList 0",
        "Log 2 Cmd End OK",
        "DestroyKeptElementMark",
        "SetRightMenuHideMask 0 0",
        "CmdNotify 5500 0",
    };
    EXPECT_EQ(host.lines, expected);
    EXPECT_EQ(Caption(), "/C:Echo");
    EXPECT_FALSE(IsLoaded());
    EXPECT_EQ(catalog.currentModule, nullptr);
    EXPECT_EQ(GetCadSystem().currentCommandId, 0);
    const CommandRunState& state = GetCommandRunState();
    EXPECT_EQ(state.pluginCommandRunning, 0);
    EXPECT_EQ(state.runningPluginId, 0);
    EXPECT_EQ(state.saveFlag, 0);
    EXPECT_EQ(state.newerInterface, 0);
    EXPECT_EQ(state.pageCheckMessage, 1);
}

TEST_F(DispatcherTest, PerCommandSwitchesAreSetWhileRunningAndPutBackAfter)
{
    CommandRunState seen;
    int seenCommand = 0;
    host.onApp = [&] {
        seen = GetCommandRunState();
        seenCommand = GetCadSystem().currentCommandId;
        // What plug-ins change through the host messages during the command.
        CommandRunState& state = GetCommandRunState();
        state.undoRecording = 0;
        state.undoBeginSuppressed = 1;
        state.layerPickMode = 3;
        state.batchEdit = 0;
        state.highlightColor = 7;
        state.commandOption = 9;
        SetPropA(host.window, "TestPluginCancel", reinterpret_cast<HANDLE>(1));
    };
    PostMessageA(host.window, WM_APP, 0, 0);
    EXPECT_EQ(Run(5505), 1);

    EXPECT_EQ(seenCommand, 5505);
    EXPECT_EQ(seen.pluginCommandRunning, 1);
    EXPECT_EQ(seen.runningPluginId, 5505);
    EXPECT_EQ(seen.saveFlag, 1);        // the test plug-in answers CwCmdSaveFg with 1
    EXPECT_EQ(seen.newerInterface, 1);  // and CwCmdVer with 800
    EXPECT_EQ(IsPluginCommandRunning(), 0);
    EXPECT_EQ(IsCommandRunning(), 0);

    const CommandRunState& state = GetCommandRunState();
    EXPECT_EQ(state.undoRecording, 1);
    EXPECT_EQ(state.undoBeginSuppressed, 0);
    EXPECT_EQ(state.layerPickMode, 0);
    EXPECT_EQ(state.batchEdit, 1);
    EXPECT_EQ(state.highlightColor, 0);
    EXPECT_EQ(state.commandOption, 0);
}

TEST_F(DispatcherTest, ExtraArgumentTextFollowsTheLibraryArguments)
{
    EXPECT_EQ(Run(5500, "C:\\図面\\a.dwg /X"), 1);
    EXPECT_EQ(Caption(), "/C:Echo C:\\図面\\a.dwg /X");
}

TEST_F(DispatcherTest, OverlongExtraArgumentTextIsCutOnACharacterBoundary)
{
    // The limit falls between the two bytes of the last character.
    const std::string kept(kMaxExtraArgumentText - 1, 'a');
    const std::string extra = kept + "表zz";
    EXPECT_EQ(Run(5500, extra.c_str()), 1);
    std::vector<char> text(4096);
    GetWindowTextA(host.window, text.data(), static_cast<int>(text.size()));
    EXPECT_EQ(std::string(text.data()), "/C:Echo " + kept);
}

TEST_F(DispatcherTest, CommandRunInsideARunningOneLeavesTheRunningLibraryCurrent)
{
    // A command reached from a running command's own dialog loop runs inside it: the running
    // command's library must still be the one its end frees.
    std::string module, arguments;
    HMODULE running = LoadCommandModule(catalog, 5505, module, arguments, nullptr);
    ASSERT_NE(running, nullptr);
    for (int id : {5500, 5503, 5999, 5510}) {
        SCOPED_TRACE(id);
        Run(id, nullptr);
        GetCommandRunState().pluginCommandRunning = 0;
        EXPECT_EQ(catalog.currentModule, running);
        EXPECT_EQ(catalog.currentSlot, -1);
    }
    EXPECT_TRUE(IsLoaded());
    catalog.FreeCommandModule();
    EXPECT_FALSE(IsLoaded());
}

TEST_F(DispatcherTest, NewCommandDuringAPluginCommandEndsItAndRunsNextWithItsOwnCopy)
{
    LRESULT nested = -1;
    host.onApp = [&] {
        // A menu pick inside the command's input wait; the sender's buffer is gone after the call.
        char text[32] = "picked";
        nested = SendMessageA(host.window, WM_CAD_RUN_COMMAND, 5500, reinterpret_cast<LPARAM>(text));
        std::memset(text, 'X', sizeof text - 1);
        host.Add("pick done");
    };
    PostMessageA(host.window, WM_APP, 0, 0);
    EXPECT_EQ(Run(5505), 1);
    EXPECT_EQ(nested, 1);
    EXPECT_EQ(Caption(), "/C:Wait");  // the picked command has not run inside the waiting one

    const int cancel = host.Find("Cancel");
    ASSERT_GE(cancel, 0);
    EXPECT_EQ(host.lines[cancel + 1], "Status 2 0");
    EXPECT_EQ(host.lines[cancel + 2], "CmdNotify 5500 0");
    EXPECT_EQ(host.lines[cancel + 3], "pick done");
    EXPECT_EQ(host.Count("Log 2 Cmd Start"), 1u);
    EXPECT_EQ(host.Count("Log 2 Cmd End OK"), 1u);
    EXPECT_EQ(dispatcher.PendingRepostCount(), 1u);

    host.lines.clear();
    host.PumpMessages();
    EXPECT_EQ(Caption(), "/C:Echo picked");
    EXPECT_EQ(host.Lines("Run"), std::vector<std::string>{"Run 5500 picked"});
    EXPECT_EQ(host.Count("Log 2 Cmd Start 5500"), 1u);
    EXPECT_EQ(dispatcher.PendingRepostCount(), 0u);
}

TEST_F(DispatcherTest, NewCommandDuringAHostCommandEndsItAndRunsNext)
{
    GetCommandRunState().hostCommandRunning = 1;
    EXPECT_EQ(IsCommandRunning(), 1);
    EXPECT_EQ(Run(5500, "again"), 1);
    EXPECT_EQ(host.Count("Cancel"), 1u);
    EXPECT_EQ(host.Count("Log 2 Cmd Start"), 0u);
    EXPECT_EQ(GetCommandRunState().hostCommandRunning, 0);
    host.PumpMessages();
    EXPECT_EQ(Caption(), "/C:Echo again");
}

TEST_F(DispatcherTest, FaultUnderSafeEndsWithTheFullReset)
{
    EXPECT_EQ(Run(5501), 0);
    const int fault = host.Find(FaultLogLinePrefix() + " コマンド実行中に例外が発生しました");
    ASSERT_GE(fault, 0);
    EXPECT_LT(fault, host.Find("Notify 1001 5501 main"));
    EXPECT_EQ(host.Count("BackupModifiedDrawings"), 1u);
    EXPECT_EQ(host.Count("CloseAllParameterPanels"), 1u);
    EXPECT_GE(host.Find("Log 2 Cmd End OK"), 0);
    EXPECT_EQ(host.lines.back(), "CmdNotify 5501 0");
    EXPECT_FALSE(IsLoaded());
    EXPECT_EQ(IsPluginCommandRunning(), 0);
    EXPECT_EQ(GetCadSystem().currentCommandId, 0);

    // The program goes on: the next command runs normally.
    EXPECT_EQ(Run(5500), 1);
    EXPECT_EQ(Caption(), "/C:Echo");
}

TEST_F(DispatcherTest, CommandThatDidNotRunGivesZero)
{
    EXPECT_EQ(Run(5502), 0);
    EXPECT_GE(host.Find("Log 2 Cmd End OK"), 0);
}

TEST_F(DispatcherTest, MissingCommandLibraryOrEntryIsReportedOnceAndNothingRuns)
{
    const struct {
        int id;
        LRESULT result;
        const char* message;
    } cases[] = {
        {5999, 0, "Error コマンドが登録されていません"},
        {5503, 0, "Error コマンドが実行できません"},
        {5510, 1, "Error コマンドモジュールが異常です"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        host.lines.clear();
        EXPECT_EQ(Run(c.id), c.result);
        EXPECT_EQ(host.Lines("Error"), std::vector<std::string>{c.message});
        EXPECT_EQ(host.Count("Notify"), 0u);
        EXPECT_EQ(host.Count("Log 2 Cmd Start"), 0u);
        EXPECT_EQ(IsPluginCommandRunning(), 0);
        EXPECT_EQ(catalog.currentModule, nullptr);
    }
    EXPECT_EQ(host.Count("Log 0 Error " + BuildFolder() + "DravikDb.dllの起動に失敗しました"), 1u);
}

TEST_F(DispatcherTest, ReferenceDrawingAllowsOnlyTheListedCommands)
{
    host.readOnlyDrawing = 1;
    const std::string informationBox =
        "Box main Voltrane " + std::to_string(MB_OK | MB_ICONINFORMATION) + " ";
    EXPECT_EQ(Run(5501), 1);
    EXPECT_EQ(host.Lines("Box"), std::vector<std::string>{informationBox + "この図面は参照モードで開かれています。"});
    EXPECT_EQ(host.Count("Log 2 Cmd Start"), 0u);

    host.lines.clear();
    host.startMode = 2;
    EXPECT_EQ(Run(5501), 0);
    EXPECT_EQ(host.Lines("Box"),
              std::vector<std::string>{informationBox + "対象図面は参照モードで開かれています。作業を中止します。"});

    host.lines.clear();
    EXPECT_EQ(Run(5500), 1);
    EXPECT_TRUE(host.Lines("Box").empty());
    EXPECT_EQ(Caption(), "/C:Echo");

    // Without an active view nothing is refused.
    host.activeView = 0;
    host.lines.clear();
    EXPECT_EQ(Run(5501), 0);  // runs (and faults under the guard)
    EXPECT_TRUE(host.Lines("Box").empty());
}

TEST_F(DispatcherTest, IgnoredIdsAndTheFileImportWithoutADrawingDoNothing)
{
    for (int id : {5005, 6203}) {
        host.lines.clear();
        EXPECT_EQ(Run(id), 1);
        const std::vector<std::string> expected = {"Run " + std::to_string(id), "CloseRightMenu",
                                                   "CmdNotify " + std::to_string(id) + " 1",
                                                   "CmdNotify " + std::to_string(id) + " 0"};
        EXPECT_EQ(host.lines, expected);
    }
    host.activeView = 0;
    host.lines.clear();
    SetWindowTextA(host.window, "untouched");
    EXPECT_EQ(Run(5104), 1);
    EXPECT_EQ(Caption(), "untouched");
    EXPECT_EQ(host.Count("Notify"), 0u);
}

TEST_F(DispatcherTest, BuiltInIdsAreNotifiedAndUnknownOnesGiveZero)
{
    for (int id : {4003, 4999}) {
        SCOPED_TRACE(id);
        host.lines.clear();
        EXPECT_EQ(Run(id), 0);
        const std::string start = "Notify 1000 " + std::to_string(id) + " main";
        const std::string end = "Notify 1001 " + std::to_string(id) + " main";
        ASSERT_GE(host.Find(start), 0);
        EXPECT_GT(host.Find(end), host.Find(start));
        EXPECT_EQ(host.Count("Log 2 Cmd"), 0u);
        EXPECT_EQ(host.Count("Status 2"), 0u);
    }
}

// The version, cursor and coordinate-display commands open their dialogs and are handled (1)
// whatever the dialog answers, so a program started in a hand-off mode is not closed by them.
// This test program has no dialog templates: each dialog fails to show at once.
TEST_F(DispatcherTest, SettingDialogCommandsAnswerOne)
{
    for (int id : {4008, 4023, 4036}) {
        SCOPED_TRACE(id);
        host.lines.clear();
        EXPECT_EQ(Run(id), 1);
        EXPECT_EQ(host.Count("Status 2"), 0u) << "no 'not available' any more";
        const std::string end = "Notify 1001 " + std::to_string(id) + " main";
        EXPECT_GE(host.Find(end), 0);
    }
}

TEST_F(DispatcherTest, EndCommandCancelsAndClosesTheContextWindow)
{
    EXPECT_EQ(Run(4006), 1);
    EXPECT_EQ(host.Count("Cancel"), 1u);
    EXPECT_EQ(host.Count("Log 2 System Cmd 4006 CAD終了"), 1u);
    EXPECT_EQ(host.Lines("Status 1"), (std::vector<std::string>{"Status 1 終了", "Status 1 0"}));
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, host.window, WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(DispatcherTest, SelectionMarksLeftOpenAreLogged)
{
    host.selectionMarks = 1;
    EXPECT_EQ(Run(5500), 1);
    const int end = host.Find("Log 2 Cmd End OK");
    const int warning = host.Find("Log 0 Warning 選択要素が未開放です");
    ASSERT_GE(warning, 0);
    EXPECT_GT(warning, end);
}

TEST_F(DispatcherTest, OtherMessagesAndMapsAreNotTaken)
{
    LRESULT result = 0;
    EXPECT_FALSE(dispatcher.ProcessWindowMessage(host.window, WM_CAD_RUN_COMMAND, 5005, 0, result, 1));
    EXPECT_FALSE(dispatcher.ProcessWindowMessage(host.window, WM_COMMAND, 5500, 0, result));
    EXPECT_TRUE(dispatcher.ProcessWindowMessage(host.window, WM_CAD_RUN_COMMAND, 5005, 0, result));
    EXPECT_EQ(result, 1);
}

}  // namespace
