// Another program drives the running program through DDE, and the program's client talks to a
// server of another program: this test process is that other program on both sides.
#include "GTest.h"

#include <ddeml.h>

#include <functional>
#include <string>
#include <vector>

#include "CatalogueSwap.h"
#include "DrawingWindows.h"
#include "HostMessages.h"
#include "ProgramProcess.h"
#include "TempFolder.h"
#include "UserSettingsFiles.h"
#include "WindowText.h"

namespace {

const char kCatalogue[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n"
    "<LumbraCmd><CmdGroup>\n"
    "<Test><dir>%EXECDIR%</dir><data>\n"
    "<item>Record;記録,5993,TestPlugin.dll /C:Record</item>\n"
    "<item>WaitDde;DDE待ち,5994,TestPlugin.dll /C:WaitDde</item>\n"
    "<item>DdeClient;DDEクライアント,5995,TestPlugin.dll /C:DdeClient</item>\n"
    "</data></Test>\n"
    "</CmdGroup></LumbraCmd>\n";

const char kTestService[] = "VTTEST";

// What this process's own server was sent by the program's client.
std::vector<std::string> g_served;
DWORD g_instance = 0;

std::string HandleText(HSZ handle)
{
    char text[256] = {};
    DdeQueryStringA(g_instance, handle, text, sizeof text, CP_WINANSI);
    return text;
}

std::string DataText(HDDEDATA data)
{
    char text[600] = {};
    DdeGetData(data, reinterpret_cast<LPBYTE>(text), sizeof text - 1, 0);
    return text;
}

HDDEDATA CALLBACK TestCallback(UINT type, UINT, HCONV, HSZ hsz1, HSZ hsz2, HDDEDATA data, ULONG_PTR, ULONG_PTR)
{
    switch (type) {
    case XTYP_CONNECT:
        g_served.push_back("connect " + HandleText(hsz1));
        return reinterpret_cast<HDDEDATA>(TRUE);
    case XTYP_EXECUTE:
        g_served.push_back("execute " + DataText(data));
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    case XTYP_POKE:
        g_served.push_back("poke " + HandleText(hsz2) + " " + DataText(data));
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    case XTYP_DISCONNECT:
        g_served.push_back("disconnect");
        return nullptr;
    default:
        return nullptr;
    }
}

// Pumps this thread's messages (DDE runs on them) until the condition holds; false on time-out.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

class DdeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(catalogue.Written());
        ASSERT_TRUE(program.Start());
        frame = program.WaitForWindow("Brisco001", 60000);
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(WaitUntilResponsive(frame, 30000));
        // DDE speaks to every DDE window with sent messages: this process joins only once it
        // pumps its messages, so that the program's registration at start never waits for it.
        ASSERT_EQ(DMLERR_NO_ERROR, DdeInitializeA(&g_instance, TestCallback, 0, 0));
        service = DdeCreateStringHandleA(g_instance, "TVEK", CP_WINANSI);
        system = DdeCreateStringHandleA(g_instance, "System", CP_WINANSI);
    }

    void TearDown() override
    {
        if (conversation != nullptr) DdeDisconnect(conversation);
        DdeFreeStringHandle(g_instance, service);
        DdeFreeStringHandle(g_instance, system);
        DdeUninitialize(g_instance);
        g_instance = 0;
        if (frame == nullptr) return;
        PostMessageA(frame, WM_CLOSE, 0, 0);
        DWORD exitCode = 0;
        ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
        EXPECT_EQ(1u, exitCode);
    }

    // The execute's answer: true when the program took it.
    bool Execute(const std::string& text)
    {
        return DdeClientTransaction(reinterpret_cast<LPBYTE>(const_cast<char*>(text.c_str())),
                                    static_cast<DWORD>(text.size() + 1), conversation, nullptr, 0, XTYP_EXECUTE,
                                    20000, nullptr) != nullptr;
    }

    bool WaitForTitle(const std::string& caption)
    {
        return PumpUntil([&] { return Caption(frame) == caption; }, 20000);
    }

    CatalogueSwap catalogue{kCatalogue};
    ProgramProcess program;
    HWND frame = nullptr;
    HSZ service = nullptr;
    HSZ system = nullptr;
    HCONV conversation = nullptr;
};

}  // namespace

TEST_F(DdeTest, AnotherProgramRunsCommandsHandsOverTextsAndShowsTheWindow)
{
    HSZ other = DdeCreateStringHandleA(g_instance, "Other", CP_WINANSI);
    EXPECT_EQ(nullptr, DdeConnect(g_instance, service, other, nullptr)) << "a connection on another topic";
    DdeFreeStringHandle(g_instance, other);
    conversation = DdeConnect(g_instance, service, system, nullptr);
    ASSERT_NE(nullptr, conversation) << "the program's DDE server does not answer TVEK/System";

    // Two commands, each with its own argument, though both executes come before either runs.
    SetWindowTextA(frame, "start");
    ASSERT_TRUE(Execute("{ExecCmd(5993,a)}"));
    ASSERT_TRUE(Execute("{ExecCmd(5993,b)}"));
    EXPECT_TRUE(WaitForTitle("start|/C:Record a|/C:Record b")) << Caption(frame);

    // A waiting command receives the whole handed-over string.
    ASSERT_TRUE(Execute("{ExecCmd(5994)}"));
    ASSERT_TRUE(WaitForTitle("WaitDde waiting")) << Caption(frame);
    ASSERT_TRUE(Execute("{DDEPUT(abc)}"));
    EXPECT_TRUE(WaitForTitle("WaitDde text 13 {DDEPUT(abc)}")) << Caption(frame);

    // An execute of 201 bytes is matched, and handed over, on its first 200.
    const std::string longText = "{DDEPUT(" + std::string(193, 'x');
    ASSERT_EQ(201u, longText.size());
    ASSERT_TRUE(Execute("{ExecCmd(5994)}"));
    ASSERT_TRUE(WaitForTitle("WaitDde waiting")) << Caption(frame);
    ASSERT_TRUE(Execute(longText));
    // The frame's caption holds only the start of the trace.
    const std::string expected = "WaitDde text 200 " + longText.substr(0, 200);
    EXPECT_TRUE(PumpUntil([&] { return Caption(frame).rfind("WaitDde text 2", 0) == 0; }, 20000)) << Caption(frame);
    EXPECT_EQ(expected.substr(0, Caption(frame).size()), Caption(frame));

    // Not processed: an unknown string and a command number out of range.
    EXPECT_FALSE(Execute("{NoSuchEntry}"));
    EXPECT_EQ(static_cast<UINT>(DMLERR_NOTPROCESSED), DdeGetLastError(g_instance));
    EXPECT_FALSE(Execute("{ExecCmd(123)}"));

    ASSERT_TRUE(Execute("{ShowIcon}"));
    EXPECT_TRUE(PumpUntil([&] { return IsIconic(frame) != FALSE; }, 20000)) << "{ShowIcon} left the window shown";

    // The commands that ran are the newest of the recent-command list kept at exit.
    DdeDisconnect(conversation);
    conversation = nullptr;
    PostMessageA(frame, WM_CLOSE, 0, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(30000, &exitCode));
    EXPECT_EQ(1u, exitCode);
    frame = nullptr;
    const std::string xml = ReadAll(UserSettingsFolder() + "LocalSettings.xml");
    const size_t ids = xml.find("<CmdId>");
    ASSERT_NE(std::string::npos, ids) << "no recent commands in LocalSettings.xml";
    const size_t newest = xml.find("<item>5994</item>", ids), next = xml.find("<item>5993</item>", ids);
    EXPECT_NE(std::string::npos, newest);
    EXPECT_LT(newest, next) << xml.substr(ids, 200);
    EXPECT_LT(next, xml.find("</CmdId>", ids));
}

TEST_F(DdeTest, AProgramCommandDrivesTheClientAgainstThisServer)
{
    HSZ ours = DdeCreateStringHandleA(g_instance, kTestService, CP_WINANSI);
    ASSERT_NE(nullptr, DdeNameService(g_instance, ours, nullptr, DNS_REGISTER));
    conversation = DdeConnect(g_instance, service, system, nullptr);
    ASSERT_NE(nullptr, conversation);
    g_served.clear();

    ASSERT_TRUE(Execute(std::string("{ExecCmd(5995,") + kTestService + ")}"));
    EXPECT_TRUE(WaitForTitle("DdeClient 1 1 1 1 1 1")) << Caption(frame);
    EXPECT_EQ((std::vector<std::string>{"connect System", "execute {Hello(1)}", "poke VALUE 12", "disconnect"}),
              g_served);

    DdeNameService(g_instance, ours, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(g_instance, ours);
}

TEST_F(DdeTest, OpenOpensADrawingOnceAndActivatesItAfterwards)
{
    TempFolder folder;
    const std::string first = folder.File("first.tcf"), second = folder.File("second.tcf");
    ASSERT_TRUE(WriteDrawing(first, 2));
    ASSERT_TRUE(WriteDrawing(second, 3));
    conversation = DdeConnect(g_instance, service, system, nullptr);
    ASSERT_NE(nullptr, conversation);
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    ASSERT_NE(nullptr, client);
    const auto windows = [this] { return DrawingWindowCount(frame); };
    const auto activeCaption = [client] {
        return Caption(reinterpret_cast<HWND>(SendToProgram(client, WM_MDIGETACTIVE)));
    };

    ASSERT_TRUE(Execute("{Open(" + first + ")}"));
    ASSERT_TRUE(PumpUntil([&] { return windows() == 1; }, 20000)) << "no window for " << first;
    ASSERT_TRUE(Execute("{Open(\"" + second + "\")}"));
    ASSERT_TRUE(PumpUntil([&] { return windows() == 2; }, 20000)) << "no window for " << second;
    EXPECT_TRUE(PumpUntil([&] { return activeCaption().find(second) != std::string::npos; }, 20000)) << activeCaption();

    // The first drawing is open already: its window comes forward, no second one opens.
    ASSERT_TRUE(Execute("{Open(" + first + ")}"));
    EXPECT_TRUE(PumpUntil([&] { return activeCaption().find(first) != std::string::npos; }, 20000)) << activeCaption();
    EXPECT_EQ(2, windows());
    EXPECT_TRUE(CloseProgramWithoutSaving(frame, program));
    frame = nullptr;
}
