// Plug-in command libraries: loading by name, the slots, the entries, the messages of a missing
// command, library or entry, and the guard around StartCmd.
#include "GTest.h"

#include <string>

#include <psapi.h>

#include "EngineBinding.h"
#include "PlatformFaultCode.h"
#include "RecordingCommandHost.h"
#include "TempFolder.h"
#include "commands/CommandCatalog.h"
#include "commands/PluginModules.h"

namespace {

std::string BuildFolder()
{
    char folder[MAX_PATH] = {};
    GetProgramFolder(folder, sizeof folder);
    return folder;
}

// Whether a module of the process has the file name (with or without ".so"), in any folder.
bool IsModuleLoaded(const char* name)
{
    HMODULE modules[512];
    DWORD needed = 0;
    if (!K32EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &needed)) return false;
    const std::string wanted = std::string("\\") + name;
    for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(modules[i], path, sizeof path);
        std::string file = path;
        for (const std::string& suffix : {wanted, wanted + ".so"}) {
            if (file.size() >= suffix.size() &&
                lstrcmpiA(file.c_str() + file.size() - suffix.size(), suffix.c_str()) == 0) {
                return true;
            }
        }
    }
    return false;
}

UINT CurrentErrorMode()
{
    UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    return mode;
}

const char kNotRegistered[] = "Error コマンドが登録されていません";
const char kCannotRun[] = "Error コマンドが実行できません";
const char kBadModule[] = "Error コマンドモジュールが異常です";

// A program folder of its own holding copies of the test plug-in: one under the name of the
// slot library "LumbraDenki.dll" (slot 4), one as a library of its own group.
class PluginModulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string plugin = BuildFolder() + "TestPlugin.dll.so";
        ASSERT_TRUE(CopyFileA(plugin.c_str(), folder.File("LumbraDenki.dll.so").c_str(), FALSE))
            << "the test plug-in is built beside the tests: " << plugin;
        ASSERT_TRUE(CopyFileA(plugin.c_str(), folder.File("Transient.dll.so").c_str(), FALSE));
        // A slot library without StartCmd: the image library under a slot's name.
        const std::string image = BuildFolder() + "LumbraImage.dll.so";
        ASSERT_TRUE(CopyFileA(image.c_str(), folder.File("LumbraArch.dll.so").c_str(), FALSE));
        const std::string xml =
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><Root><CmdGroup>"
            "<Slot><dir></dir><data>"
            "<item>Echo;電気,6500,LumbraDenki.dll</item>"
            "<item>Fault,6501,LumbraDenki.dll</item>"
            "<item>Kikai,6502,LumbraKikai.dll</item>"
            "<item>Arch,6503,LumbraArch.dll</item>"
            "</data></Slot>"
            "<Own><dir>%EXECDIR%</dir><data>"
            "<item>Echo,5500,Transient.dll /C:Echo</item>"
            "<item>Fault,5501,Transient.dll /C:Fault</item>"
            "<item>Plain,5502,Transient.dll</item>"
            "<item>Import,5103,Transient.dll</item>"
            "<item>Jwc,5104,Transient.dll</item>"
            "<item>Missing,5503,Missing.dll /C:Echo</item>"
            "<item>Short,5504</item>"
            "</data></Own>"
            "<Engine><dir>" + BuildFolder() + "</dir><data>"
            "<item>NoEntry,5600,DravikDb.dll /C:Echo</item>"
            "</data></Engine>"
            "</CmdGroup></Root>";
        ASSERT_TRUE(folder.Write("LumbraCmd.def", xml));
        catalog.SetProgramFolder(folder.Path());
        ASSERT_EQ(catalog.ReadCommandDefinitions(), 0);
    }

    // Whether the module is still loaded: a freed module no longer has a file name.
    static bool IsLoaded(HMODULE module)
    {
        char path[MAX_PATH];
        return module != nullptr && GetModuleFileNameA(module, path, sizeof path) != 0;
    }
    static bool IsLoaded(const char* name) { return IsModuleLoaded(name); }

    std::string Caption() const
    {
        char text[512] = {};
        GetWindowTextA(host.window, text, sizeof text);
        return text;
    }

    RecordingCommandHost host;
    TempFolder folder;
    CLumbraCmd catalog;
};

TEST_F(PluginModulesTest, LoadLibraryByNameTriesThePeNameThenTheWinelibName)
{
    HMODULE module = LoadLibraryByName(folder.File("Transient.dll").c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_NE(GetProcAddress(module, "StartCmd"), nullptr);
    FreeLibrary(module);
    EXPECT_EQ(LoadLibraryByName(folder.File("Missing.dll").c_str()), nullptr);
    EXPECT_EQ(LoadLibraryByName(""), nullptr);
    EXPECT_EQ(LoadLibraryByName(nullptr), nullptr);
}

TEST_F(PluginModulesTest, SlotLibraryLoadsOnceAndStays)
{
    std::string module, arguments;
    HMODULE first = LoadCommandModule(catalog, 6500, module, arguments, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(module, "LumbraDenki.dll");
    EXPECT_EQ(arguments, "/C:Echo");
    EXPECT_EQ(catalog.currentSlot, 4);
    EXPECT_EQ(catalog.Slot(4).module, first);
    catalog.FreeCommandModule();
    EXPECT_EQ(catalog.currentModule, nullptr);
    EXPECT_EQ(catalog.currentSlot, -1);
    EXPECT_TRUE(IsLoaded(first));

    HMODULE second = LoadCommandModule(catalog, 6501, module, arguments, nullptr);
    EXPECT_EQ(second, first);
    EXPECT_EQ(arguments, "/C:Fault");
    catalog.FreeCommandModule();
    EXPECT_EQ(catalog.Slot(4).module, first);
    EXPECT_TRUE(host.Lines("Error").empty());
}

TEST_F(PluginModulesTest, TransientLibraryIsFreedAfterItsCommand)
{
    std::string module, arguments;
    HMODULE library = LoadCommandModule(catalog, 5500, module, arguments, nullptr);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(module, folder.File("Transient.dll"));
    EXPECT_EQ(arguments, "/C:Echo");
    EXPECT_EQ(catalog.currentSlot, -1);
    EXPECT_TRUE(IsLoaded(library));
    catalog.FreeCommandModule();
    EXPECT_FALSE(IsLoaded(library));
    EXPECT_EQ(catalog.currentModule, nullptr);
}

TEST_F(PluginModulesTest, EachFailureShowsItsMessageOnce)
{
    const struct {
        const char* name;
        int id;
        const char* message;
    } cases[] = {
        {"not in the catalogue", 5999, kNotRegistered},
        {"folder library missing", 5503, kCannotRun},
        {"slot library missing", 6502, kCannotRun},
        {"no command string", 5504, kCannotRun},
        {"library without StartCmd", 5600, kBadModule},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.lines.clear();
        EXPECT_EQ(StartPluginCommand(catalog, c.id, "C:\\a.dxf"), 0);
        ASSERT_EQ(host.Lines("Error").size(), 1u);
        EXPECT_EQ(host.Lines("Error")[0], c.message);
        EXPECT_EQ(catalog.currentModule, nullptr);
        EXPECT_EQ(catalog.currentSlot, -1);
        EXPECT_EQ(host.Count("ShowWaitCursor"), host.Count("RestoreCursor"));
    }
    // A missing slot library keeps no handle and is tried again next time.
    EXPECT_EQ(catalog.Slot(5).module, nullptr);

    // A slot library without StartCmd is reported and stays loaded in its slot.
    host.lines.clear();
    EXPECT_EQ(StartPluginCommand(catalog, 6503, "C:\\a.dxf"), 0);
    EXPECT_EQ(host.Lines("Error"), std::vector<std::string>{kBadModule});
    EXPECT_NE(catalog.Slot(3).module, nullptr);
    EXPECT_TRUE(IsLoaded(catalog.Slot(3).module));
    EXPECT_EQ(catalog.currentModule, nullptr);
    host.lines.clear();
    EXPECT_EQ(LoadFileThroughPlugin(catalog, 5600, "C:\\a.dxf", nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(host.Lines("Error"), std::vector<std::string>{kBadModule});
}

TEST_F(PluginModulesTest, StartPluginCommandHandsArgumentsAndSourceAndRestoresTheErrorMode)
{
    const UINT before = SetErrorMode(SEM_FAILCRITICALERRORS);
    EXPECT_EQ(StartPluginCommand(catalog, 5500, "C:\\a b.dxf"), 1);
    EXPECT_EQ(Caption(), "/C:Echo C:\\a b.dxf");
    EXPECT_EQ(StartPluginCommand(catalog, 5502, "C:\\only.dxf"), 1);
    EXPECT_EQ(Caption(), "C:\\only.dxf");
    EXPECT_EQ(StartPluginCommand(catalog, 6500, "x"), 1);
    EXPECT_EQ(Caption(), "/C:Echo x");
    EXPECT_EQ(CurrentErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS));
    EXPECT_FALSE(IsLoaded("Transient.dll"));
    EXPECT_TRUE(host.Lines("Error").empty());
    EXPECT_EQ(host.Lines("Status 5"), std::vector<std::string>(3, "Status 5 42"));

    // A failed load gives the mode back as well.
    EXPECT_EQ(StartPluginCommand(catalog, 5503, "x"), 0);
    EXPECT_EQ(CurrentErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS));
    SetErrorMode(before);
}

TEST_F(PluginModulesTest, TooLongFileCommandTextIsRefusedNotCut)
{
    std::string source = "C:\\" + std::string(kMaxFileCommandText, 'a');
    SetWindowTextA(host.window, "untouched");
    EXPECT_EQ(StartPluginCommand(catalog, 5500, source.c_str()), 0);
    EXPECT_EQ(Caption(), "untouched");
    EXPECT_EQ(host.Lines("Error"), std::vector<std::string>{kCannotRun});
    EXPECT_FALSE(IsLoaded("Transient.dll"));

    // Exactly the longest text still runs.
    source = std::string(kMaxFileCommandText - 8, 'b');  // "/C:Echo " takes 8
    EXPECT_EQ(StartPluginCommand(catalog, 5500, source.c_str()), 1);
    EXPECT_EQ(Caption(), "/C:Echo " + source);
}

TEST_F(PluginModulesTest, GuardedStartCmdRecoversFromAFault)
{
    std::string module, arguments;
    ASSERT_NE(LoadCommandModule(catalog, 6501, module, arguments, nullptr), nullptr);
    auto entry = reinterpret_cast<StartCmdProc>(GetProcAddress(catalog.currentModule, "StartCmd"));
    ASSERT_NE(entry, nullptr);
    host.lines.clear();
    EXPECT_EQ(CallStartCmd(entry, arguments.c_str(), 1), -1);
    const std::vector<std::string> expected = {
        FaultLogLinePrefix() + " コマンド実行中に例外が発生しました",
        "Error コマンドの動作中にエラーを検出した為、コマンドを強制終了します。\n"
        "エラーは自動的に回復されますが、念の為図面を保存しておくことをお勧めします。",
        "BackupModifiedDrawings",
        "CloseAllParameterPanels",
    };
    EXPECT_EQ(host.lines, expected);

    // A command that ends normally gets its result and the view gets the focus back.
    host.lines.clear();
    EXPECT_EQ(CallStartCmd(entry, "/C:Echo", 1), 1);
    EXPECT_EQ(host.lines, std::vector<std::string>{"FocusActiveView"});
    EXPECT_EQ(CallStartCmd(entry, "/C:Unknown", 0), -1);
    catalog.FreeCommandModule();
}

TEST_F(PluginModulesTest, StartPluginCommandIsGuardedToo)
{
    EXPECT_EQ(StartPluginCommand(catalog, 5501, "C:\\a.dxf"), 0);
    EXPECT_EQ(host.Count(FaultLogLinePrefix()), 1u);
    EXPECT_EQ(host.Count("BackupModifiedDrawings"), 1u);
    EXPECT_FALSE(IsLoaded("Transient.dll"));
}

TEST_F(PluginModulesTest, FileLoadsUseTheLoaderEntryOfTheCommand)
{
    int info = 0;
    const UINT before = SetErrorMode(SEM_FAILCRITICALERRORS);
    const struct {
        int id;
        void* info1;
        void* info2;
        const char* caption;
    } cases[] = {
        {5103, nullptr, nullptr, "LoadingDB C:\\in.dxf"},
        {5104, nullptr, nullptr, "Jwc_LoadingDB C:\\in.dxf"},
        {5104, &info, nullptr, "LoadingDB_Info C:\\in.dxf"},
        {5103, nullptr, &info, "LoadingDB_Info C:\\in.dxf"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        SetWindowTextA(host.window, "");
        EXPECT_EQ(LoadFileThroughPlugin(catalog, c.id, "C:\\in.dxf", &info, c.info1, c.info2), 1);
        EXPECT_EQ(Caption(), c.caption);
        EXPECT_FALSE(IsLoaded("Transient.dll"));
    }
    EXPECT_EQ(CurrentErrorMode(), static_cast<UINT>(SEM_FAILCRITICALERRORS));
    SetErrorMode(before);

    // A faulting loader under the guard is recovered and reported as a failure.
    host.lines.clear();
    EXPECT_EQ(LoadFileThroughPlugin(catalog, 5103, "fault", &info, nullptr, nullptr), 0);
    EXPECT_EQ(host.Count(FaultLogLinePrefix()), 1u);
    EXPECT_FALSE(IsLoaded("Transient.dll"));
}

TEST_F(PluginModulesTest, FileCommandDuringARunningCommandLeavesItsLibraryCurrent)
{
    // The running command's library: a slot library, then a library of its own.
    for (int running : {6500, 5502}) {
        SCOPED_TRACE(running);
        std::string module, arguments;
        HMODULE library = LoadCommandModule(catalog, running, module, arguments, nullptr);
        ASSERT_NE(library, nullptr);
        const int slot = catalog.currentSlot;
        const struct {
            const char* name;
            int (*start)(CLumbraCmd&);
        } nested[] = {
            {"file command", [](CLumbraCmd& c) { return StartPluginCommand(c, 5500, "C:\\a.dxf"); }},
            {"unknown command", [](CLumbraCmd& c) { return StartPluginCommand(c, 5999, "C:\\a.dxf"); }},
            {"file load", [](CLumbraCmd& c) { return LoadFileThroughPlugin(c, 5103, "C:\\in.dxf", nullptr, nullptr, nullptr); }},
        };
        for (const auto& n : nested) {
            SCOPED_TRACE(n.name);
            n.start(catalog);
            EXPECT_EQ(catalog.currentModule, library);
            EXPECT_EQ(catalog.currentSlot, slot);
            EXPECT_TRUE(IsLoaded(library));
        }
        catalog.FreeCommandModule();
        // A slot library stays in its slot; a library of its own is freed with its command.
        EXPECT_EQ(IsLoaded(library), slot >= 0);
        if (slot >= 0) {
            EXPECT_EQ(catalog.Slot(slot).module, library);
        }
    }
}

}  // namespace
