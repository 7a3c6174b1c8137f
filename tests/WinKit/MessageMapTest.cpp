// Message maps: handled flag, chaining to a base class and a member, alternate maps, and
// a real window whose messages reach its map.
#include "GTest.h"

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "WinKit/MessageMap.h"
#include "WinKit/Window.h"

namespace {

constexpr UINT kMsgA = WM_APP + 1;
constexpr UINT kMsgB = WM_APP + 2;
constexpr UINT kMsgAlt = WM_APP + 3;

class MemberHandler : public WinKit::CMessageMap {
public:
    std::vector<std::string>* log = nullptr;

    WK_BEGIN_MSG_MAP(MemberHandler)
        WK_MESSAGE_HANDLER(kMsgB, OnB)
    WK_ALT_MSG_MAP(1)
        WK_MESSAGE_HANDLER(kMsgAlt, OnAlt)
    WK_END_MSG_MAP()

    LRESULT OnB(UINT, WPARAM, LPARAM, BOOL&) { log->push_back("member:B"); return 20; }
    LRESULT OnAlt(UINT, WPARAM, LPARAM, BOOL&) { log->push_back("member:alt"); return 30; }
};

class BaseHandler : public WinKit::CMessageMap {
public:
    std::vector<std::string> log;

    WK_BEGIN_MSG_MAP(BaseHandler)
        WK_MESSAGE_HANDLER(kMsgA, OnA)
        WK_COMMAND_ID_HANDLER(100, OnCommand100)
    WK_END_MSG_MAP()

    LRESULT OnA(UINT, WPARAM, LPARAM, BOOL&) { log.push_back("base:A"); return 10; }
    LRESULT OnCommand100(WORD code, WORD id, HWND, BOOL&)
    {
        log.push_back("base:cmd" + std::to_string(id) + "/" + std::to_string(code));
        return 0;
    }
};

class DerivedHandler : public BaseHandler {
public:
    MemberHandler member;
    bool passOnA = false;

    DerivedHandler() { member.log = &log; }

    WK_BEGIN_MSG_MAP(DerivedHandler)
        WK_MESSAGE_HANDLER(kMsgA, OnA)
        WK_COMMAND_RANGE_HANDLER(200, 299, OnRange)
        WK_CHAIN_MSG_MAP(BaseHandler)
        WK_CHAIN_MSG_MAP_MEMBER(member)
        WK_CHAIN_MSG_MAP_ALT_MEMBER(member, 1)
    WK_END_MSG_MAP()

    LRESULT OnA(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        log.push_back("derived:A");
        if (passOnA) handled = FALSE;
        return 1;
    }
    LRESULT OnRange(WORD, WORD id, HWND, BOOL&)
    {
        log.push_back("derived:range" + std::to_string(id));
        return 0;
    }
};

struct Dispatch {
    BOOL handled;
    LRESULT result;
};

Dispatch Send(WinKit::CMessageMap& map, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    Dispatch d = {FALSE, -1};
    d.handled = map.ProcessWindowMessage(nullptr, msg, wParam, lParam, d.result);
    return d;
}

}  // namespace

TEST(MessageMap, DerivedEntryWinsOverBase)
{
    DerivedHandler h;
    Dispatch d = Send(h, kMsgA);
    EXPECT_TRUE(d.handled);
    EXPECT_EQ(d.result, 1);
    EXPECT_EQ(h.log, (std::vector<std::string>{"derived:A"}));
}

TEST(MessageMap, ClearedHandledFlagPassesToChainedBase)
{
    DerivedHandler h;
    h.passOnA = true;
    Dispatch d = Send(h, kMsgA);
    EXPECT_TRUE(d.handled);
    EXPECT_EQ(d.result, 10);
    EXPECT_EQ(h.log, (std::vector<std::string>{"derived:A", "base:A"}));
}

TEST(MessageMap, ChainsToMemberAndAlternateSection)
{
    DerivedHandler h;
    EXPECT_EQ(Send(h, kMsgB).result, 20);
    // The alternate section is reached only through the chain that names it.
    EXPECT_EQ(Send(h, kMsgAlt).result, 30);
    EXPECT_EQ(h.log, (std::vector<std::string>{"member:B", "member:alt"}));
    MemberHandler direct;
    std::vector<std::string> log;
    direct.log = &log;
    EXPECT_FALSE(Send(direct, kMsgAlt).handled);
}

TEST(MessageMap, CommandIdsAndRanges)
{
    struct Case {
        WORD id;
        WORD code;
        bool handled;
        const char* logged;
    };
    const Case cases[] = {
        {100, 0, true, "base:cmd100/0"},
        {100, 1, true, "base:cmd100/1"},
        {200, 0, true, "derived:range200"},
        {299, 0, true, "derived:range299"},
        {300, 0, false, nullptr},
        {199, 0, false, nullptr},
    };
    for (const Case& c : cases) {
        DerivedHandler h;
        Dispatch d = Send(h, WM_COMMAND, MAKEWPARAM(c.id, c.code));
        EXPECT_EQ(d.handled != FALSE, c.handled) << "id " << c.id;
        if (c.logged) {
            ASSERT_EQ(h.log.size(), 1u);
            EXPECT_EQ(h.log[0], c.logged);
        } else {
            EXPECT_TRUE(h.log.empty());
        }
    }
}

TEST(MessageMap, UnknownMessageIsNotHandled)
{
    DerivedHandler h;
    EXPECT_FALSE(Send(h, WM_APP + 50).handled);
}

namespace {

class TestWindow : public WinKit::CWindowImpl<TestWindow> {
public:
    WK_DECLARE_WND_CLASS("WinKitTestWindow")

    std::vector<UINT> seen;
    bool finalCalled = false;

    WK_BEGIN_MSG_MAP(TestWindow)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(kMsgA, OnA)
        WK_MESSAGE_HANDLER(WM_GETTEXTLENGTH, OnPassThrough)
    WK_END_MSG_MAP()

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&) { seen.push_back(WM_CREATE); return 0; }
    LRESULT OnA(UINT, WPARAM wParam, LPARAM, BOOL&)
    {
        seen.push_back(kMsgA);
        EXPECT_NE(GetCurrentMessage(), nullptr);
        return static_cast<LRESULT>(wParam * 2);
    }
    LRESULT OnPassThrough(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        seen.push_back(WM_GETTEXTLENGTH);
        handled = FALSE;  // the default procedure answers
        return 999;
    }
    void OnFinalMessage(HWND) override { finalCalled = true; }
};

}  // namespace

TEST(WindowImpl, RealWindowReachesItsMapAndUnbindsOnDestroy)
{
    TestWindow window;
    RECT rc = {0, 0, 100, 100};
    HWND hWnd = window.Create(nullptr, &rc, "abc", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(window.m_hWnd, hWnd);
    EXPECT_EQ(WinKit::CWindowImplRoot::FromHandle(hWnd), &window);
    EXPECT_EQ(SendMessageA(hWnd, kMsgA, 21, 0), 42);
    EXPECT_EQ(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0), 3);  // "abc", from the default procedure
    EXPECT_EQ(window.seen, (std::vector<UINT>{WM_CREATE, kMsgA, WM_GETTEXTLENGTH}));
    EXPECT_EQ(window.GetCurrentMessage(), nullptr);

    DestroyWindow(hWnd);
    EXPECT_TRUE(window.finalCalled);
    EXPECT_EQ(window.m_hWnd, nullptr);
}

TEST(WindowImpl, SubclassedControlKeepsItsOwnBehaviour)
{
    class EditHook : public WinKit::CWindowImpl<EditHook> {
    public:
        WK_DECLARE_WND_CLASS("WinKitUnused")
        int charsSeen = 0;
        WK_BEGIN_MSG_MAP(EditHook)
            WK_MESSAGE_HANDLER(WM_CHAR, OnChar)
        WK_END_MSG_MAP()
        LRESULT OnChar(UINT, WPARAM, LPARAM, BOOL& handled)
        {
            ++charsSeen;
            handled = FALSE;
            return 0;
        }
    };
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);
    EditHook hook;
    ASSERT_TRUE(hook.SubclassWindow(edit));
    SendMessageA(edit, WM_CHAR, 'x', 0);
    EXPECT_EQ(hook.charsSeen, 1);
    char text[8] = {};
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "x");
    EXPECT_EQ(hook.UnsubclassWindow(), edit);
    SendMessageA(edit, WM_CHAR, 'y', 0);
    EXPECT_EQ(hook.charsSeen, 1);
    DestroyWindow(edit);
}

namespace {

class ThrowingWindow : public WinKit::CWindowImpl<ThrowingWindow> {
public:
    WK_DECLARE_WND_CLASS("WinKitThrowingWindow")
    bool throwOnCreate = false;
    WK_BEGIN_MSG_MAP(ThrowingWindow)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(kMsgA, OnA)
        WK_MESSAGE_HANDLER(WM_GETTEXTLENGTH, OnTextLength)
    WK_END_MSG_MAP()
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&)
    {
        if (throwOnCreate) throw std::bad_alloc();
        return 0;
    }
    LRESULT OnA(UINT, WPARAM wParam, LPARAM, BOOL&) { return static_cast<LRESULT>(std::string(wParam, 'x').at(5)); }
    LRESULT OnTextLength(UINT, WPARAM, LPARAM, BOOL&) { throw std::runtime_error("handler failed"); }
};

}  // namespace

TEST(WindowImpl, ExceptionOfAHandlerStaysInsideTheWindowProcedure)
{
    ThrowingWindow window;
    RECT rc = {0, 0, 100, 100};
    HWND hWnd = window.Create(nullptr, &rc, "abc", WS_OVERLAPPEDWINDOW);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(SendMessageA(hWnd, kMsgA, 10, 0), 'x');
    EXPECT_EQ(SendMessageA(hWnd, kMsgA, 2, 0), 0);                 // out_of_range: no answer
    EXPECT_EQ(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0), 3);      // the default procedure answers
    EXPECT_EQ(window.GetCurrentMessage(), nullptr);
    EXPECT_EQ(SendMessageA(hWnd, kMsgA, 10, 0), 'x');              // the window still works
    DestroyWindow(hWnd);
    EXPECT_EQ(window.m_hWnd, nullptr);

    ThrowingWindow failing;
    failing.throwOnCreate = true;
    EXPECT_EQ(failing.Create(nullptr, &rc, "abc", WS_OVERLAPPEDWINDOW), nullptr);
}

namespace {

std::vector<std::string> g_logged;
void KeepLog(const char* text) { g_logged.push_back(text); }

HWND g_unboundWindow = nullptr;

// Another component's hook that sends a message to a window of the same class while a window
// is being created, before the new window's first message.
LRESULT CALLBACK ForeignCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && g_unboundWindow != nullptr) SendMessageA(g_unboundWindow, kMsgA, 1, 0);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

TEST(WindowImpl, ExceptionOfAHandlerIsLogged)
{
    ThrowingWindow window;
    RECT rc = {0, 0, 100, 100};
    ASSERT_NE(window.Create(nullptr, &rc, "abc", WS_OVERLAPPEDWINDOW), nullptr);
    g_logged.clear();
    WinKit::SetHandlerFaultLog(KeepLog);
    SendMessageA(window.m_hWnd, WM_GETTEXTLENGTH, 0, 0);
    WinKit::SetHandlerFaultLog(nullptr);
    ASSERT_EQ(g_logged.size(), 1u);
    EXPECT_NE(g_logged[0].find("handler failed"), std::string::npos) << g_logged[0];
    EXPECT_NE(g_logged[0].find("0x000E"), std::string::npos) << g_logged[0];
    window.DestroyWindow();
}

// Only the window being created is bound to the creating object, even when another window of
// its class gets a message first.
TEST(WindowImpl, CreationBindsOnlyTheWindowBeingCreated)
{
    TestWindow first;
    RECT rc = {0, 0, 100, 100};
    ASSERT_NE(first.Create(nullptr, &rc, "first", WS_OVERLAPPEDWINDOW), nullptr);
    // A window of the same class that no object owns.
    g_unboundWindow = CreateWindowExA(0, "WinKitTestWindow", "raw", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, nullptr,
                                      nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(g_unboundWindow, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CBT, ForeignCbtHook, nullptr, GetCurrentThreadId());
    TestWindow second;
    HWND hWnd = second.Create(nullptr, &rc, "second", WS_OVERLAPPEDWINDOW);
    UnhookWindowsHookEx(hook);
    ASSERT_NE(hWnd, nullptr);
    EXPECT_EQ(second.m_hWnd, hWnd);
    EXPECT_EQ(WinKit::CWindowImplRoot::FromHandle(hWnd), &second);
    EXPECT_EQ(WinKit::CWindowImplRoot::FromHandle(g_unboundWindow), nullptr);
    ASSERT_FALSE(second.seen.empty()) << "the created window did not reach its object";
    EXPECT_EQ(second.seen.front(), static_cast<UINT>(WM_CREATE));
    DestroyWindow(g_unboundWindow);
    g_unboundWindow = nullptr;
    second.DestroyWindow();
    first.DestroyWindow();
}
