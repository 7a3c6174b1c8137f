// The command catalogue: reading "LumbraCmd.def", the lookups and the command line split.
#include "GTest.h"

#include <cstring>
#include <string>

#include "RecordingCommandHost.h"
#include "TempFolder.h"
#include "commands/CommandCatalog.h"

namespace {

std::string CatalogXml(const std::string& readOnly, const std::string& groups)
{
    return "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<Root>\n" + readOnly + "<CmdGroup>\n" +
           groups + "</CmdGroup>\n</Root>\n";
}

std::string Group(const std::string& name, const std::string& dir, const std::vector<std::string>& items)
{
    std::string xml = "<" + name + "><dir>" + dir + "</dir><data>";
    for (const std::string& item : items) xml += "<item>" + item + "</item>";
    return xml + "</data></" + name + ">\n";
}

class CommandCatalogTest : public ::testing::Test {
protected:
    // Reads a catalogue written into the temporary folder, which is also the program folder.
    int Read(const std::string& xml)
    {
        EXPECT_TRUE(folder.Write("LumbraCmd.def", xml));
        catalog.SetProgramFolder(folder.Path());
        return catalog.ReadCommandDefinitions();
    }

    RecordingCommandHost host;
    TempFolder folder;
    CLumbraCmd catalog;
};

struct ItemCase {
    const char* item;
    const char* commandName;
    const char* statusName;
    int id;
    const char* commandString;
    const char* extra;
    int slot;
};

TEST_F(CommandCatalogTest, ItemLinesGiveTheirFields)
{
    const ItemCase cases[] = {
        {"PDF保存,7805,Velloc.dll,", "PDF保存", "PDF保存", 7805, "Velloc.dll", "", 8},
        {"Draw;線を引く,6000,LumbraBase.dll /X,extra,ignored", "Draw", "線を引く", 6000,
         "LumbraBase.dll /X", "extra", 0},
        {"Jww,5104,VellocJww.dll", "Jww", "Jww", 5104, "VellocJww.dll", "", 9},
        {"Utils,5992,VellocUtils.dll /c:Go", "Utils", "Utils", 5992, "VellocUtils.dll /c:Go", "", 12},
        {"Case,5001,velloc.dll", "Case", "Case", 5001, "velloc.dll", "", -1},
        {"Big,70000,Tool.dll", "Big", "Big", 70000 & 0xFFFF, "Tool.dll", "", -1},
        {"Two,5002", "Two", "Two", 5002, "", "", -1},
        {"Alone", "Alone", "Alone", 0, "", "", -1},
        {"Bad,abc,Tool.dll", "Bad", "Bad", 0, "Tool.dll", "", -1},
        {"\"Quoted, name\",5003,\"Tool.dll a,b\"", "Quoted, name", "Quoted, name", 5003,
         "Tool.dll a,b", "", -1},
    };
    for (const ItemCase& c : cases) {
        SCOPED_TRACE(c.item);
        CCmdInfo info = catalog.ParseItem(c.item);
        EXPECT_EQ(info.commandName, c.commandName);
        EXPECT_EQ(info.statusName, c.statusName);
        EXPECT_EQ(info.id, c.id);
        EXPECT_EQ(info.commandString, c.commandString);
        EXPECT_EQ(info.extra, c.extra);
        EXPECT_EQ(info.moduleSlot, c.slot);
    }
}

TEST_F(CommandCatalogTest, ReadsGroupsReadOnlyListAndCommandsInFileOrder)
{
    std::string xml = CatalogXml(
        "<ReadOnlyCmd><id>5300, 7805,x</id></ReadOnlyCmd>\n",
        Group("Velloc", "%EXECDIR%", {"PDF保存,7805,Velloc.dll,", "PDF読込,7806,Velloc.dll,"}) +
            Group("外部", "%EXECDIR%sub", {"Tool,5500,Tool.dll /A"}) +
            Group("NoData", "", {}));
    ASSERT_EQ(Read(xml), 0);
    EXPECT_TRUE(host.Lines("Box").empty());

    ASSERT_EQ(catalog.Groups().size(), 3u);
    EXPECT_EQ(catalog.Groups()[0]->name, "Velloc");
    EXPECT_EQ(catalog.Groups()[1]->name, "外部");
    EXPECT_EQ(catalog.Groups()[1]->folder, "%EXECDIR%sub");
    EXPECT_EQ(catalog.Groups()[0]->commands.size(), 2u);
    EXPECT_EQ(catalog.Groups()[0]->commands[1].commandName, "PDF読込");
    EXPECT_TRUE(catalog.Groups()[2]->commands.empty());
    EXPECT_EQ(catalog.ReadOnlyIds(), (std::vector<int>{5300, 7805, 0}));

    EXPECT_EQ(catalog.IsReadOnlyCommand(7805), 1);
    EXPECT_EQ(catalog.IsReadOnlyCommand(7805 + 65536), 1);  // 16 bits compared
    EXPECT_EQ(catalog.IsReadOnlyCommand(7806), 0);
}

TEST_F(CommandCatalogTest, DamagedFilesGiveAWarningAndAnEmptyCatalogue)
{
    const struct {
        const char* name;
        const char* bytes;
        int written;
    } cases[] = {
        {"missing", "", 0},
        {"not well-formed", "<?xml version=\"1.0\"?><Root><CmdGroup><A><data>", 1},
        {"empty", "", 1},
        {"not Shift_JIS", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><Root>\x81</Root>", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CLumbraCmd fresh;
        TempFolder other;
        if (c.written) {
            ASSERT_TRUE(other.Write("LumbraCmd.def", c.bytes));
        }
        fresh.SetProgramFolder(other.Path());
        host.lines.clear();
        EXPECT_EQ(fresh.ReadCommandDefinitions(), -1);
        ASSERT_EQ(host.lines.size(), 1u);
        EXPECT_EQ(host.lines[0].rfind("Box none エラー " + std::to_string(MB_OK | MB_ICONWARNING) +
                                          " 設定ファイル処理でエラーが発生しました。", 0), 0u)
            << host.lines[0];
        EXPECT_TRUE(fresh.Groups().empty());
        std::string line = "kept";
        EXPECT_EQ(fresh.FindCommand(7805, line, nullptr), -1);
        EXPECT_EQ(line, "kept");
        EXPECT_EQ(fresh.IsReadOnlyCommand(1), 1);
    }
}

TEST_F(CommandCatalogTest, MissingPartsAreNotErrors)
{
    // No read-only list: every command runs on a reference drawing.
    ASSERT_EQ(Read("<?xml version=\"1.0\"?><Root><CmdGroup/></Root>"), 0);
    EXPECT_TRUE(catalog.Groups().empty());
    EXPECT_EQ(catalog.IsReadOnlyCommand(5000), 1);
    EXPECT_TRUE(host.Lines("Box").empty());

    catalog.Clear();
    ASSERT_EQ(Read("<?xml version=\"1.0\"?><Root><ReadOnlyCmd/><CmdGroup><G><dir>x</dir></G></CmdGroup></Root>"), 0);
    ASSERT_EQ(catalog.Groups().size(), 1u);
    EXPECT_TRUE(catalog.Groups()[0]->commands.empty());
    EXPECT_EQ(catalog.IsReadOnlyCommand(5000), 1);
}

TEST_F(CommandCatalogTest, FindCommandBuildsTheLine)
{
    std::string xml = CatalogXml(
        "", Group("Velloc", "%EXECDIR%", {"PDF保存,7805,Velloc.dll,", "Opt,7807,Velloc.dll /c:SavePdfOption,",
                                           "Dup,7805,Other.dll,"}) +
                Group("Sub", "%EXECDIR%sub", {"Tool,5500,Tool.dll /A /B"}) +
                Group("Abs", "C:\\Tools", {"Abs,5501,Abs.dll"}) +
                Group("NoDir", "", {"Bare,5502,Bare.dll  x", "Short,5503"}));
    ASSERT_EQ(Read(xml), 0);
    const std::string program = folder.Path();  // with its trailing backslash

    const struct {
        int id;
        int result;
        int slot;
        std::string line;
    } cases[] = {
        {7805, 1, 8, "Velloc.dll /C:PDF保存"},
        {7805 + 65536, 1, 8, "Velloc.dll /C:PDF保存"},
        {7807, 1, 8, "Velloc.dll /c:SavePdfOption"},
        {5500, 0, -1, program + "sub\\Tool.dll /A /B"},
        {5501, 0, -1, "C:\\Tools\\Abs.dll"},
        {5502, 0, -1, "Bare.dll  x"},
        {5503, 0, -1, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        std::string line;
        int slot = 99;
        EXPECT_EQ(catalog.FindCommand(c.id, line, &slot), c.result);
        EXPECT_EQ(slot, c.slot);
        EXPECT_EQ(line, c.line);
    }
    std::string line = "kept";
    int slot = 99;
    EXPECT_EQ(catalog.FindCommand(4444, line, &slot), -1);
    EXPECT_EQ(line, "kept");
    EXPECT_EQ(slot, -1);
    EXPECT_EQ(catalog.FindCommand(7805, line, nullptr), 1);
}

TEST_F(CommandCatalogTest, BufferLookupsAreBoundedOnCharacterBoundaries)
{
    // 0x5C trail bytes and a double-byte character across the end of a 15-byte buffer.
    std::string longName = "表表表表表表表";  // 7 characters, 14 bytes
    std::string xml = CatalogXml("", Group("G", "", {"Tool;ab" + longName + "c,5500,Tool.dll ab" + longName + "c"}));
    ASSERT_EQ(Read(xml), 0);

    char buffer[15];
    std::memset(buffer, 'Z', sizeof buffer);
    EXPECT_EQ(catalog.GetCommandLineById(5500, buffer, sizeof buffer), 1);
    EXPECT_STREQ(buffer, "Tool.dll ab表");  // 13 bytes; the next character does not fit whole
    EXPECT_EQ(catalog.GetCommandStatusName(5500, buffer, sizeof buffer), 1);
    EXPECT_EQ(std::string(buffer), "ab" + longName.substr(0, 12));  // 14 bytes and the zero

    EXPECT_EQ(catalog.GetCommandLineById(5501, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(catalog.GetCommandStatusName(5501, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(SplitCommandLine, SplitsModuleAndArguments)
{
    const struct {
        const char* line;
        int result;
        const char* module;
        const char* arguments;
    } cases[] = {
        {"Velloc.dll /C:PDF保存", 0, "Velloc.dll", "/C:PDF保存"},
        {"C:\\Prog\\TOOL.DLL  /A b", 0, "C:\\Prog\\TOOL.DLL", "/A b"},
        {"Tool.dll\t\targ", 0, "Tool.dll", "arg"},
        {"Tool.dll", -1, "Tool.dll", ""},
        {"Tool.dll   ", -1, "Tool.dll", ""},
        {"Tool.dllx /A", -1, "Tool.dll", ""},
        {"$SYSTEMCMD$ 4000", 0, "$SYSTEMCMD$", "4000"},
        {"$systemcmd$ 4000", -1, "", ""},
        {"表.dll 引数", 0, "表.dll", "引数"},
        {"", -1, "", ""},
        {"Tool.exe /A", -1, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        std::string module = "old", arguments = "old";
        EXPECT_EQ(SplitCommandLine(c.line, module, arguments), c.result);
        EXPECT_EQ(module, c.module);
        EXPECT_EQ(arguments, c.arguments);
    }
}

TEST_F(CommandCatalogTest, ModulePresenceLooksBesideTheProgram)
{
    ASSERT_TRUE(folder.Write("Present.dll.so", "x"));
    ASSERT_TRUE(folder.Write("Plain.dll", "x"));
    std::string xml = CatalogXml("", Group("G", "", {"A,5500,Present.dll /A", "B,5501,Missing.dll /A",
                                                     "C,5502,Plain.dll"}));
    ASSERT_EQ(Read(xml), 0);
    EXPECT_NE(catalog.IsCommandModulePresent(5500), 0);
    EXPECT_EQ(catalog.IsCommandModulePresent(5501), 0);
    EXPECT_NE(catalog.IsCommandModulePresent(5502), 0);
    EXPECT_EQ(catalog.IsCommandModulePresent(5999), 0);
}

TEST_F(CommandCatalogTest, InstalledCatalogueIsReadFromTheProgramFolderWhateverTheCurrentFolder)
{
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof previous, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.Path().c_str()));
    CLumbraCmd installed;  // the program folder of the test program, where the build installs
    int result = installed.ReadCommandDefinitions();
    SetCurrentDirectoryA(previous);
    ASSERT_EQ(result, 0);
    EXPECT_TRUE(host.Lines("Box").empty());

    const struct {
        int id;
        const char* line;
        int slot;
    } cases[] = {
        {7805, "Velloc.dll /C:PDF保存", 8},
        {7806, "Velloc.dll /C:PDF読込", 8},
        {7807, "Velloc.dll /C:SavePdfOption", 8},
        {6000, "LumbraBase.dll /C:線分", 0},
        {5300, "LumbraPrint.dll /C:出力作図", 2},
        {7800, "LumbraRaster.dll /C:ラスター読込", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        std::string line;
        int slot = -1;
        EXPECT_EQ(installed.FindCommand(c.id, line, &slot), 1);
        EXPECT_EQ(line, c.line);
        EXPECT_EQ(slot, c.slot);
    }
    EXPECT_NE(installed.IsCommandModulePresent(7805), 0);
    EXPECT_EQ(installed.IsCommandModulePresent(6000), 0);
    char name[256];
    EXPECT_EQ(installed.GetCommandStatusName(7807, name, sizeof name), 1);
    EXPECT_STREQ(name, "PDF保存設定");
    // The built-in commands are listed under the system's own marker, with the program as
    // their library, so the menu shows them enabled.
    std::string line;
    EXPECT_EQ(installed.FindCommand(4006, line, nullptr), 0);
    std::string module, arguments;
    SplitCommandLine(line, module, arguments);
    EXPECT_EQ(module, installed.ProgramFolder() + "Voltrane.exe $SYSTEMCMD$");
    for (int id : {4000, 4001, 4005, 4006, 4012, 4021, 4051}) EXPECT_NE(installed.IsCommandModulePresent(id), 0) << id;
}

}  // namespace
