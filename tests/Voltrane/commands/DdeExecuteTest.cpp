// The DDE execute strings against a recording main window, the client's poke parsing and its
// error names. The server and client themselves are driven end to end.
#include "GTest.h"

#include <string>
#include <vector>

#include "HostMessages.h"
#include "RecordingCommandHost.h"
#include "commands/DdeClient.h"
#include "commands/DdeExecute.h"

namespace {

class RecordingDdeSite : public CDdeExecuteSite {
public:
    explicit RecordingDdeSite(RecordingCommandHost& host) : m_host(host) { SetDdeExecuteSite(this); }
    ~RecordingDdeSite() override { SetDdeExecuteSite(nullptr); }

    HWND MdiClient() override { return mdiClient; }
    HWND FindView(const char* fileName) override
    {
        m_host.Add(std::string("FindView ") + fileName);
        return foundView;
    }
    HWND ActiveView() override { return activeView; }
    void OpenDrawing(HWND, const char* fileName) override { m_host.Add(std::string("OpenDrawing ") + fileName); }
    void Pause(DWORD ms) override { m_host.Add("Pause " + std::to_string(ms)); }
    // Command 9002 is only recorded: running it would load the program's catalogue into this
    // process. The commands of "{ExecCmd(" go the real way.
    void PostRunCommand(int id, const char* argument) override
    {
        if (id == 9002)
            m_host.Add(std::string("Run 9002 ") + argument);
        else
            CDdeExecuteSite::PostRunCommand(id, argument);
    }

    HWND mdiClient = nullptr;
    HWND foundView = nullptr;
    HWND activeView = nullptr;

private:
    RecordingCommandHost& m_host;
};

// The frames a stand-in MDI client was asked to activate.
std::vector<WPARAM> g_activated;

LRESULT CALLBACK ClientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MDIACTIVATE) g_activated.push_back(wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// The messages posted to a window, taken off its queue.
std::vector<UINT> TakePosted(HWND window)
{
    std::vector<UINT> messages;
    MSG msg;
    while (PeekMessageA(&msg, window, 0, 0, PM_REMOVE)) messages.push_back(msg.message);
    return messages;
}

struct DdeExecuteTest : ::testing::Test {
    void SetUp() override
    {
        host.dispatcher = &GetSystemCommandDispatcher();
        ClearDdeTextPending();
    }
    // Runs the execute, then the commands it posted; the host's lines from the execute on,
    // without the dispatcher's bracket around each command.
    std::vector<std::string> Run(const std::string& text, int* answer)
    {
        host.lines.clear();
        *answer = RunDdeExecute(text.c_str());
        host.PumpMessages();
        std::vector<std::string> lines;
        for (const std::string& line : host.lines) {
            if (line.rfind("Log 2 DDE", 0) == 0 || line.rfind("CmdNotify", 0) == 0 || line.rfind("Notify", 0) == 0 ||
                line.rfind("Status", 0) == 0 || line.rfind("CloseRightMenu", 0) == 0)
                continue;
            lines.push_back(line);
        }
        return lines;
    }

    RecordingCommandHost host;
    RecordingDdeSite site{host};
};

using Lines = std::vector<std::string>;

}  // namespace

TEST_F(DdeExecuteTest, OpenAndCommandEntriesReadTheirArguments)
{
    struct Case {
        std::string text;
        int answer;
        Lines lines;
    };
    const std::string name259(259, 'x'), name260(260, 'x'), name639(639, 'n');
    const Case cases[] = {
        {"{Open(D:\\a b\\x.tcf)}", 1, {"FindView D:\\a b\\x.tcf", "Cancel", "OpenFile D:\\a b\\x.tcf"}},
        {"{Open(\"D:\\a b\\x.tcf\")}", 1, {"FindView D:\\a b\\x.tcf", "Cancel", "OpenFile D:\\a b\\x.tcf"}},
        {"{Open(D:\\f(1)\\x.tcf)}", 1, {"FindView D:\\f(1)\\x.tcf", "Cancel", "OpenFile D:\\f(1)\\x.tcf"}},
        {"{Open(D:\\表示\\図.tcf)}", 1, {"FindView D:\\表示\\図.tcf", "Cancel", "OpenFile D:\\表示\\図.tcf"}},
        {"{Open(" + name639 + ")}", 1, {"FindView " + name639, "Cancel", "OpenFile " + name639}},
        {"{Open(" + std::string(640, 'n') + ")}", 0, {"Log 0 Error DDE {Open( file name: too long or malformed, refused"}},
        {"{ExecCmd(5005)}", 1, {"Run 5005 "}},
        {"{ExecCmd(5005,f(x))}", 1, {"Run 5005 f(x)"}},
        {"{ExecCmd(5005," + name259 + ")}", 1, {"Run 5005 " + name259}},
        {"{ExecCmd(5005," + name260 + ")}", 0, {"Log 0 Error DDE {ExecCmd( argument: too long or malformed, refused"}},
        {"{ExecCmd(5005,abc", 0, {"Log 0 Error DDE {ExecCmd( argument: too long or malformed, refused"}},
        {"{ExecCmd(123)}", 0, {}},
        {"{ExecCmd(40000)}", 0, {}},
        {"{FM9002(D:\\x.tcf)}", 1,
         {"CmdState 0 0", "FindView D:\\x.tcf", "OpenDrawing D:\\x.tcf", "Pause 100", "Run 9002 ", "CmdState 0 1"}},
        {"{FM9002()", 0, {"Log 0 Error DDE {FM9002( string: too long or malformed, refused"}},
        {"{FM9002(" + name639 + ")}", 1,
         {"CmdState 0 0", "FindView " + name639, "OpenDrawing " + name639, "Pause 100", "Run 9002 ", "CmdState 0 1"}},
        {"{FM9002(" + std::string(640, 'n') + ")}", 0, {"Log 0 Error DDE {FM9002( file name: too long or malformed, refused"}},
        {"{Unknown}", 0, {}},
        {"", 0, {}},
    };
    for (const Case& c : cases) {
        int answer = -1;
        const Lines lines = Run(c.text, &answer);
        EXPECT_EQ(c.answer, answer) << c.text;
        EXPECT_EQ(c.lines, lines) << c.text;
    }
    EXPECT_EQ(0u, GetSystemCommandDispatcher().PendingRepostCount());
}

TEST_F(DdeExecuteTest, EachCommandGetsItsOwnArgumentCopy)
{
    // Both executes come before either command runs: the second must not change the first's text.
    host.lines.clear();
    EXPECT_EQ(1, RunDdeExecute("{ExecCmd(5005,first)}"));
    EXPECT_EQ(1, RunDdeExecute("{ExecCmd(5005,second)}"));
    host.PumpMessages();
    EXPECT_EQ((Lines{"Run 5005 first", "Run 5005 second"}), host.Lines("Run "));
    EXPECT_EQ(0u, GetSystemCommandDispatcher().PendingRepostCount());
}

TEST_F(DdeExecuteTest, WindowEntriesPostTheirMessagesAndTrailingTextIsIgnored)
{
    struct Case {
        const char* text;
        UINT message;
    };
    const Case cases[] = {{"{ZWinMaxDsp}", WM_CAD_MAXIMIZE_VIEW},
                          {"{ShowIcon}", WM_CAD_MINIMIZE_MAIN},
                          {"{ShowQ}", WM_CAD_REFIT_VIEW},
                          {"{ShowQ} and more", WM_CAD_REFIT_VIEW},
                          {"{ShowWin}", WM_CAD_RAISE_MAIN}};
    for (const Case& c : cases) {
        EXPECT_EQ(1, RunDdeExecute(c.text)) << c.text;
        EXPECT_EQ(std::vector<UINT>{c.message}, TakePosted(host.window)) << c.text;
    }
}

TEST_F(DdeExecuteTest, AnOpenDrawingIsActivatedInsteadOfOpenedAgain)
{
    HWND child = CreateWindowA("STATIC", "frame", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND view = CreateWindowA("STATIC", "view", WS_CHILD, 0, 0, 10, 10, child, nullptr, nullptr, nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ClientProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DdeTestMdiClient";
    RegisterClassA(&wc);
    HWND client = CreateWindowA("DdeTestMdiClient", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    site.foundView = view;
    site.mdiClient = client;
    g_activated.clear();

    int answer = 0;
    EXPECT_EQ((Lines{"FindView D:\\x.tcf", "Cancel"}), Run("{Open(D:\\x.tcf)}", &answer));
    EXPECT_EQ(1, answer);
    EXPECT_EQ(std::vector<WPARAM>{reinterpret_cast<WPARAM>(child)}, g_activated);

    // The command's drawing is shown maximised before 9002 runs on it.
    site.activeView = view;
    EXPECT_EQ((Lines{"CmdState 0 0", "FindView D:\\x.tcf", "Pause 100", "Run 9002 ", "CmdState 0 1"}),
              Run("{FM9002(D:\\x.tcf)}", &answer));
    EXPECT_EQ(2u, g_activated.size());
    EXPECT_TRUE(IsZoomed(child));
    DestroyWindow(client);
    DestroyWindow(child);
}

TEST_F(DdeExecuteTest, PutTextIsKeptWholeForTheWaitingCommand)
{
    EXPECT_EQ(0, IsDdeTextPending());
    EXPECT_EQ(1, RunDdeExecute("{DDEPUT(abc)}"));
    EXPECT_EQ(1, IsDdeTextPending());
    EXPECT_STREQ("{DDEPUT(abc)}", GetDdeText());
    ClearDdeTextPending();

    // A text that would not fit is refused and the last one kept.
    const std::string tooLong = "{DDEPUT(" + std::string(256, 'x');
    ASSERT_EQ(264u, tooLong.size());
    EXPECT_EQ(0, RunDdeExecute(tooLong.c_str()));
    EXPECT_EQ(0, IsDdeTextPending());
    EXPECT_STREQ("{DDEPUT(abc)}", GetDdeText());
    const std::string fits = "{DDEPUT(" + std::string(255, 'y');
    EXPECT_EQ(1, RunDdeExecute(fits.c_str()));
    EXPECT_EQ(fits, GetDdeText());
    ClearDdeTextPending();
}

TEST(DdeClient, PokeTextsAndErrorNames)
{
    struct Case {
        const char* text;
        bool poke;
        const char* item;
        const char* data;
    };
    const Case cases[] = {{"XTYP_POKE:VALUE:12", true, "VALUE", "12"},
                          {"XTYP_POKE:VALUE", true, "VALUE", ""},
                          {"XTYP_POKE:A:b:c", true, "A", "b:c"},
                          {"XTYP_POKE:", true, "", ""},
                          {"{ExecCmd(5000)}", false, "", ""},
                          {"xtyp_poke:V:1", false, "", ""}};
    for (const Case& c : cases) {
        std::string item, data;
        EXPECT_EQ(c.poke, ParseDdePoke(c.text, &item, &data)) << c.text;
        EXPECT_EQ(c.item, item) << c.text;
        EXPECT_EQ(c.data, data) << c.text;
    }
    EXPECT_STREQ("DMLERR_ADVACKTIMEOUT", DdeErrorName(0x4000));
    EXPECT_STREQ("DMLERR_NO_CONV_ESTABLISHED", DdeErrorName(0x400A));
    EXPECT_STREQ("DMLERR_UNFOUND_QUEUE_ID", DdeErrorName(0x4011));
    EXPECT_STREQ("", DdeErrorName(0x4012));
    EXPECT_STREQ("", DdeErrorName(0));
}

TEST(DdeClient, OverlongNamesAndTextsAreRefusedWithoutADdeCall)
{
    RecordingCommandHost host;
    const std::string name80(80, 'n');
    EXPECT_EQ(0, RunDdeClientMessage(WM_CAD_DDE_INIT, reinterpret_cast<LPARAM>(name80.c_str())));
    const std::string text500(500, 't');
    EXPECT_EQ(0, RunDdeClientMessage(WM_CAD_DDE_SEND, reinterpret_cast<LPARAM>(text500.c_str())));
    EXPECT_EQ(0, RunDdeClientMessage(WM_CAD_DDE_SEND_TOPIC, 0));
    EXPECT_EQ(0, RunDdeClientMessage(WM_USER, 0));
}
