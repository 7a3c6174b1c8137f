// A second start: the hand-over to the running frame (atom, empty line, WM_COPYDATA), the
// refusal by the single-instance semaphore, and the running frame's receiver.
#include "GTest.h"

#include <string>
#include <vector>

#include "HostMessages.h"
#include "TempFolder.h"
#include "core/CadSystem.h"
#include "core/CommandLine.h"
#include "core/MessageCatalog.h"
#include "core/SecondStart.h"
#include "core/SettingsMessage.h"
#include "core/SingleInstance.h"

namespace {

struct Received {
    UINT message;
    WPARAM wParam;
    std::string text;  // the atom's or the data's text, or the opened path
};

std::vector<Received>& Log()
{
    static std::vector<Received> log;
    return log;
}

CSecondStartReceiver g_receiver;
bool g_useReceiver = false;

// Records what a running frame would get; with g_useReceiver the receiver answers first.
LRESULT CALLBACK FrameProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_useReceiver) {
        LRESULT result = 0;
        if (message == WM_COMMAND || message == WM_COPYDATA) Log().push_back({message, wParam, "(receiver)"});
        if (g_receiver.ProcessWindowMessage(hWnd, message, wParam, lParam, result)) return result;
    }
    switch (message) {
    case WM_COMMAND: {
        char text[1024] = {};
        if (LOWORD(wParam) == kHandOverCommandLineId) GlobalGetAtomNameA(static_cast<ATOM>(lParam), text, sizeof text);
        Log().push_back({message, wParam, text});
        return 0;
    }
    case WM_COPYDATA: {
        auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        Log().push_back({message, data->dwData, std::string(static_cast<const char*>(data->lpData))});
        return TRUE;
    }
    case WM_CAD_CANCEL_COMMAND:
        Log().push_back({message, wParam, ""});
        return 0;
    case WM_CADDB_OPEN_FILE:
        Log().push_back({message, wParam, reinterpret_cast<const char*>(lParam)});
        return 1;
    default:
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

// A window of the main frame's class, as a running instance would show it.
class RunningFrame {
public:
    explicit RunningFrame(const char* className = "SecondStartTestFrame")
        : m_className(className)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = FrameProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = className;
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(0, className, "Voltrane", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        Log().clear();
    }
    ~RunningFrame()
    {
        DestroyWindow(m_hWnd);
        UnregisterClassA(m_className, GetModuleHandleA(nullptr));
        g_useReceiver = false;
    }
    HWND Handle() const { return m_hWnd; }

    // The messages the program posted to the frame. Mouse and key input is left out: other test
    // programs share the display and move its pointer over this window.
    std::vector<UINT> Posted()
    {
        std::vector<UINT> posted;
        MSG msg;
        while (PeekMessageA(&msg, m_hWnd, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_PAINT) {
                DispatchMessageA(&msg);  // validates the window, or it would come again
                continue;
            }
            if (IsSystemInput(msg.message))
                continue;
            posted.push_back(msg.message);
        }
        return posted;
    }
    static bool IsSystemInput(UINT message)
    {
        return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
               (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
               (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) ||
               message == WM_MOUSEHOVER || message == WM_MOUSELEAVE || message == WM_TIMER;
    }

private:
    const char* m_className;
    HWND m_hWnd = nullptr;
};

struct RecordedMessageBox {
    std::string text;
    std::string caption;
};

std::vector<RecordedMessageBox>& Boxes()
{
    static std::vector<RecordedMessageBox> boxes;
    return boxes;
}

int RecordBox(HWND, const char* text, const char* caption, UINT)
{
    Boxes().push_back({text ? text : "", caption ? caption : ""});
    return IDOK;
}

class BoxRecorder {
public:
    BoxRecorder() : m_previous(SetSettingsMessageHook(RecordBox)) { Boxes().clear(); }
    ~BoxRecorder() { SetSettingsMessageHook(m_previous); }

private:
    SettingsMessageHook m_previous;
};

std::string UniqueName(const char* base) { return base + std::to_string(GetCurrentProcessId()) + std::to_string(GetTickCount()); }

}  // namespace

TEST(SecondStartHandOver, EmptyShortAndLongCommandLines)
{
    RunningFrame frame;
    ShowWindow(frame.Handle(), SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(frame.Handle()));

    EXPECT_EQ(HandOverCommandLine(frame.Handle(), ""), 1);
    EXPECT_FALSE(IsIconic(frame.Handle()));  // restored first
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(Log()[0].wParam, 1228u);

    Log().clear();
    EXPECT_EQ(HandOverCommandLine(frame.Handle(), "\"C:\\図面\\a.tcf\" /7"), 1);
    ASSERT_EQ(Log().size(), 1u);
    EXPECT_EQ(Log()[0].wParam, 1227u);
    EXPECT_EQ(Log()[0].text, "\"C:\\図面\\a.tcf\" /7");

    // 255 bytes still fit an atom; one more goes as data, whole.
    const struct {
        size_t length;
        UINT message;
    } cases[] = {{255, WM_COMMAND}, {256, WM_COPYDATA}, {3000, WM_COPYDATA}};
    for (const auto& c : cases) {
        std::string line = "C:\\" + std::string(c.length - 7, 'x') + ".tcf";
        ASSERT_EQ(line.size(), c.length);
        Log().clear();
        EXPECT_EQ(HandOverCommandLine(frame.Handle(), line.c_str()), 1);
        ASSERT_EQ(Log().size(), 1u) << c.length;
        EXPECT_EQ(Log()[0].message, c.message) << c.length;
        EXPECT_EQ(Log()[0].text, line) << c.length;
        if (c.message == WM_COPYDATA) {
            EXPECT_EQ(Log()[0].wParam, kHandOverCopyDataTag);
        }
    }
    EXPECT_EQ(HandOverCommandLine(nullptr, "x"), 0);
}

TEST(SecondStartCheck, HandOverRefusalAndSemaphoreFailure)
{
    BoxRecorder boxes;
    const struct {
        bool running;
        int multiBoot;
        int holder;  // 0 no other holder, 1 another instance holds the semaphore, 2 the name is taken by a mutex
        int result;
        bool handedOver;
        int boxText;  // catalogue text of the box, 0 for none
    } cases[] = {
        {true, 0, 0, 1, true, 0},      // handed over to the running frame
        {true, 2, 1, 1, true, 0},      // any MULTIBOOT but 1 hands over
        {true, 1, 0, 0, false, 0},     // MULTIBOOT 1: a start beside the running one
        {false, 0, 0, 0, false, 0},    // the first instance
        {false, 0, 1, 1, false, 7223}, // another instance without a window: refused
        {false, 3, 1, 0, false, 0},    // ... unless MULTIBOOT allows it
        {false, 1, 2, 1, false, 7372}, // no semaphore: refused with the start-check error
    };
    for (const auto& c : cases) {
        std::string name = UniqueName("VoltraneCheck");
        HANDLE holder = nullptr;
        if (c.holder == 1) holder = CreateSemaphoreA(nullptr, 0, 1, name.c_str());
        if (c.holder == 2) holder = CreateMutexA(nullptr, FALSE, name.c_str());
        Boxes().clear();
        {
            RunningFrame frame(c.running ? kMainFrameClassName : "SecondStartNotTheFrame");
            CMySemaphore semaphore(name.c_str());
            EXPECT_EQ(CheckSecondStart("C:\\a.tcf", c.multiBoot, semaphore), c.result)
                << "running " << c.running << " multiboot " << c.multiBoot << " holder " << c.holder;
            bool handedOver = !Log().empty() && Log()[0].wParam == 1227u && Log()[0].text == "C:\\a.tcf";
            EXPECT_EQ(handedOver, c.handedOver) << "multiboot " << c.multiBoot;
            if (c.boxText == 0) {
                EXPECT_TRUE(Boxes().empty()) << "multiboot " << c.multiBoot;
            } else {
                ASSERT_EQ(Boxes().size(), 1u);
                EXPECT_EQ(Boxes()[0].text, GetMessageText(c.boxText));
                EXPECT_EQ(Boxes()[0].caption, c.boxText == 7223 ? GetMessageText(7572) : "ERROR");
            }
        }
        if (holder) CloseHandle(holder);
    }
    EXPECT_STREQ(GetMessageText(7223), "このプログラムを複数同時に実行しないでください。");
    EXPECT_STREQ(GetMessageText(7372), "起動チェックでエラーが発生しました");
}

TEST(SecondStartReceiver, CancelsTheCommandAndOpensTheHandedOverFiles)
{
    TempFolder folder;
    ASSERT_TRUE(folder.Write("one.tcf", "x"));
    // A name long enough that the command line cannot travel in an atom.
    std::string longName = std::string(150, 'n') + ".tcf";
    // Options that name no boot command pad the line beyond what an atom holds.
    std::string padding;
    for (int i = 0; i < 40; ++i) padding += " /pad";
    ASSERT_TRUE(folder.Write(longName, "x"));
    CommandLineState saved = GetCommandLineState();

    const struct {
        std::string line;
        UINT carrier;
        std::vector<std::string> opened;
    } cases[] = {
        {"\"" + folder.File("one.tcf") + "\"", WM_COMMAND, {folder.File("one.tcf")}},
        {"\"" + folder.File("one.tcf") + "\" \"" + folder.File(longName) + "\"" + padding, WM_COPYDATA,
         {folder.File("one.tcf"), folder.File(longName)}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.line.size() > kMaxAtomText, c.carrier == WM_COPYDATA);
        RunningFrame frame;
        g_useReceiver = true;
        GetCommandLineState() = CommandLineState();
        EXPECT_EQ(HandOverCommandLine(frame.Handle(), c.line.c_str()), 1);
        std::vector<UINT> order;
        std::vector<std::string> opened;
        for (const Received& r : Log()) {
            order.push_back(r.message);
            if (r.message == WM_CADDB_OPEN_FILE) opened.push_back(r.text);
        }
        ASSERT_GE(order.size(), 2u);
        EXPECT_EQ(order[0], c.carrier);
        EXPECT_EQ(order[1], WM_CAD_CANCEL_COMMAND);  // the running command ends first
        EXPECT_EQ(opened, c.opened);
        EXPECT_EQ(GetCommandLineState().fileOpened, 1);
        frame.Posted();
    }

    // An empty line: the running command ends and a new empty drawing window follows.
    {
        RunningFrame frame;
        g_useReceiver = true;
        EXPECT_EQ(HandOverCommandLine(frame.Handle(), ""), 1);
        ASSERT_EQ(Log().size(), 2u);
        EXPECT_EQ(Log()[1].message, WM_CAD_CANCEL_COMMAND);
        EXPECT_EQ(frame.Posted(), std::vector<UINT>{WM_CADDB_NEW_WINDOW});
    }

    // Data with another tag is not a hand-over.
    {
        RunningFrame frame;
        CSecondStartReceiver receiver;
        COPYDATASTRUCT data = {99, 3, const_cast<char*>("abc")};
        LRESULT result = 0;
        EXPECT_FALSE(receiver.ProcessWindowMessage(frame.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), result));
    }
    GetCommandLineState() = saved;
}
