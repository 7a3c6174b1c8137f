// The plug-in's command entry: the split of a command line, the registry's dispatch, the
// "cannot start" box only when no command started, and a command that the host library
// abandons from inside one of its calls.
#include "GTest.h"

#include <string>

#include "CommandEntry.h"
#include "CommandRegistry.h"
#include "HostLibrary.h"
#include "MessageBoxAnswerer.h"
#include "VellocModule.h"
#include "../../src/Engine/Dravik/CommandFrame.h"

namespace {

TEST(ExtractCommandNameTest, SplitsNameAndParameters)
{
    struct Case {
        const char* line;
        const char* name;
        const char* parameters;
    };
    const Case cases[] = {
        {"C:\\図面\\a.pdf /c:PDF読込", "PDF読込", "C:\\図面\\a.pdf"},
        {"/C:SavePdfOption", "SavePdfOption", ""},
        {"/c:pdf保存", "pdf保存", ""},
        {"PDF保存", "", "PDF保存"},
        {"/c:PDF保存/OD", "PDF保存/OD", ""},
        {"/OD /c:PDF保存", "PDF保存", "/OD"},
        {"/c:PDF保存\tC:\\out.pdf", "PDF保存", "C:\\out.pdf"},
        {"/c:PDF /c:保存", "PDF保存", ""},
        {"a /c:PDF b /c:読込 c", "PDF読込", "a  b  c"},
        {"/c:PDF読込 /PG:3 x.pdf", "PDF読込", "/PG:3 x.pdf"},
        {"/x /c", "", "/x /c"},
        {"", "", ""},
        // "表" ends in the byte 0x5C and "ソ" in 0x5C too: they stay whole in the parameters.
        {"表ソ /c:PDF読込", "PDF読込", "表ソ"},
        // A lead byte at the very end of the line stands alone.
        {"ab\x81", "", "ab\x81"},
        // The double-byte blank is white space at the ends.
        {"\x81\x40 path \x81\x40/c:PDF読込", "PDF読込", "path"},
    };
    for (const Case& c : cases) {
        std::string name = "x";
        std::string parameters = "y";
        ExtractCommandName(c.line, name, parameters);
        EXPECT_EQ(name, c.name) << c.line;
        EXPECT_EQ(parameters, c.parameters) << c.line;
    }
    std::string name = "x";
    std::string parameters = "y";
    ExtractCommandName(nullptr, name, parameters);
    EXPECT_EQ(name, "");
    EXPECT_EQ(parameters, "");
}

// Counts the objects of a test command that are alive.
int g_alive = 0;
int g_runs = 0;

struct Counted {
    Counted() { ++g_alive; }
    ~Counted() { --g_alive; }
};

// A command that holds counted objects and, when its parameter says so, makes a host call in
// which the host library abandons the command the way Dravik does.
class CountingCommand : public CCmdBaseEx {
public:
    CountingCommand() { ++g_alive; }
    ~CountingCommand() override { --g_alive; }

    int Run()
    {
        ++g_runs;
        Counted held;
        std::vector<Counted> more(3);
        if (m_parameterText == "abandon") {
            CallHostLibrary([] {
                CommandFrame::Instance().Abandon();
                return 0;
            });
            ADD_FAILURE() << "the abandoned call returned";
        }
        if (m_parameterText == "fail") return -1;
        return 7;
    }
};

class CommandEntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_alive = 0;
        g_runs = 0;
        registry.Add(std::unique_ptr<ILumbraObjEx>(new CLumbraObjEx<CountingCommand>("Count")));
        host = CreateWindowA("STATIC", "host", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        AttachVellocModule(GetModuleHandleA(nullptr));
    }
    void TearDown() override
    {
        DestroyWindow(host);
        SetOwnerWindow(nullptr);
    }

    CommandRegistry registry;
    HWND host = nullptr;
};

TEST_F(CommandEntryTest, RunsTheCommandAndFreesIt)
{
    MessageBoxAnswerer boxes;
    EXPECT_EQ(RunCommandEntry(registry, host, "x.pdf /c:Count", nullptr), 7);
    EXPECT_EQ(g_runs, 1);
    EXPECT_EQ(g_alive, 0);
    EXPECT_EQ(CommandParameterText(), "x.pdf");
    EXPECT_EQ(OwnerWindow(), host);
    EXPECT_FALSE(registry.At(0)->HasCommandObject());
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(CommandEntryTest, ACommandsOwnMinusOneShowsNoBox)
{
    MessageBoxAnswerer boxes;
    EXPECT_EQ(RunCommandEntry(registry, host, "fail /c:Count", nullptr), -1);
    EXPECT_EQ(g_runs, 1);
    EXPECT_EQ(boxes.Count(), 0);
}

TEST_F(CommandEntryTest, UnknownOrMiscasedNameShowsTheBoxOnce)
{
    for (const char* line : {"/c:count", "/c:Nothing", "Count", ""}) {
        MessageBoxAnswerer boxes;
        EXPECT_EQ(RunCommandEntry(registry, host, line, nullptr), -1) << line;
        EXPECT_EQ(boxes.Count(), 1) << line;
        EXPECT_EQ(boxes.LastCaption(), "エラー");
        EXPECT_EQ(boxes.LastText(),
                  "コマンドが起動できません。\nシステムが正しくインストールされているか確認してください。");
        EXPECT_EQ(boxes.LastOwner(), host);
    }
    EXPECT_EQ(g_runs, 0);
}

TEST_F(CommandEntryTest, AnAbandonedCommandIsUnwoundAndTheNextOneRuns)
{
    MessageBoxAnswerer boxes;
    EXPECT_EQ(RunCommandEntry(registry, host, "abandon /c:Count", nullptr), 0);
    EXPECT_EQ(g_runs, 1);
    // The command object, its locals and its vector were all destroyed on the way out.
    EXPECT_EQ(g_alive, 0);
    EXPECT_FALSE(registry.At(0)->HasCommandObject());
    EXPECT_EQ(boxes.Count(), 0);
    // Between calls the buffer is not armed: the library has nowhere to jump to.
    EXPECT_FALSE(CommandFrame::Instance().CanAbandon());
    EXPECT_FALSE(AbandonmentNoted());

    EXPECT_EQ(RunCommandEntry(registry, host, "/c:Count", nullptr), 7);
    EXPECT_EQ(g_runs, 2);
    EXPECT_EQ(g_alive, 0);
}

// A dialog procedure must not let the exception out: it ends its dialog, and the call that ran
// the modal loop throws it again.
INT_PTR CALLBACK AbandoningDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    return GuardDialogProcedure(dialog, [&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            CallHostLibrary([] {
                CommandFrame::Instance().Abandon();
                return 0;
            });
        }
        return FALSE;
    });
}

class DialogCommand : public CCmdBaseEx {
public:
    DialogCommand() { ++g_alive; }
    ~DialogCommand() override { --g_alive; }
    int Run()
    {
        ++g_runs;
        struct {
            DLGTEMPLATE header;
            WORD menu, windowClass, title;
        } dialog = {};
        dialog.header.style = WS_POPUP | WS_CAPTION;
        dialog.header.cx = 100;
        dialog.header.cy = 50;
        CallHostLibrary([&] {
            return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &dialog.header, nullptr,
                                           AbandoningDialogProc, 0);
        });
        RethrowNotedAbandonment();
        return 5;
    }
};

TEST_F(CommandEntryTest, AbandonmentInsideADialogEndsTheDialogAndTheCommand)
{
    registry.Add(std::unique_ptr<ILumbraObjEx>(new CLumbraObjEx<DialogCommand>("Dialog")));
    MessageBoxAnswerer boxes;
    EXPECT_EQ(RunCommandEntry(registry, host, "/c:Dialog", nullptr), 0);
    EXPECT_EQ(g_runs, 1);
    EXPECT_EQ(g_alive, 0);
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(RunCommandEntry(registry, host, "/c:Count", nullptr), 7);
}

TEST(CommandRegistryTest, ThePluginRegistersItsThreeCommandsInOrder)
{
    CommandRegistry& registry = PluginCommands();
    registry.Clear();
    RegisterCommands();
    ASSERT_EQ(registry.Size(), 3u);
    EXPECT_EQ(registry.At(0)->Name(), "PDF保存");
    EXPECT_EQ(registry.At(1)->Name(), "PDF読込");
    EXPECT_EQ(registry.At(2)->Name(), "SavePdfOption");
    EXPECT_EQ(registry.Find("pdf保存"), nullptr);
    EXPECT_EQ(registry.At(0)->CallCommand(1, 2, 3, 4, 5, 6, 7), 1);
    UnregisterCommands();
    EXPECT_EQ(registry.Size(), 0u);
}

}  // namespace
