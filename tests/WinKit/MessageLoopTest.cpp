// The message loop: filters in reverse order of adding, idle handlers, WM_QUIT's code, and
// the module's registry of loops.
#include "GTest.h"

#include <vector>

#include "WinKit/AppModule.h"
#include "WinKit/MessageLoop.h"

namespace {

class RecordingFilter : public WinKit::CMessageFilter {
public:
    RecordingFilter(int id, std::vector<int>* order, UINT consumes = 0)
        : m_id(id), m_order(order), m_consumes(consumes) {}
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_APP + 7) return FALSE;
        m_order->push_back(m_id);
        return msg->message == m_consumes;
    }

private:
    int m_id;
    std::vector<int>* m_order;
    UINT m_consumes;
};

class CountingIdle : public WinKit::CIdleHandler {
public:
    int calls = 0;
    BOOL OnIdle() override
    {
        // Ending the loop from idle time shows that idle handlers run when the queue empties.
        if (++calls == 1) PostQuitMessage(5);
        return FALSE;
    }
};

}  // namespace

TEST(MessageLoop, FiltersRunNewestFirstAndStopAtTheConsumer)
{
    std::vector<int> order;
    RecordingFilter first(1, &order), second(2, &order, WM_APP + 7), third(3, &order);
    WinKit::CMessageLoop loop;
    EXPECT_TRUE(loop.AddMessageFilter(&first));
    EXPECT_TRUE(loop.AddMessageFilter(&second));
    EXPECT_TRUE(loop.AddMessageFilter(&third));
    EXPECT_FALSE(loop.AddMessageFilter(&third));  // once only

    MSG msg = {nullptr, WM_APP + 7, 0, 0, 0, {0, 0}};
    EXPECT_TRUE(loop.PreTranslateMessage(&msg));
    EXPECT_EQ(order, (std::vector<int>{3, 2}));

    EXPECT_TRUE(loop.RemoveMessageFilter(&second));
    EXPECT_FALSE(loop.RemoveMessageFilter(&second));
    order.clear();
    EXPECT_FALSE(loop.PreTranslateMessage(&msg));
    EXPECT_EQ(order, (std::vector<int>{3, 1}));
}

TEST(MessageLoop, RunCallsIdleHandlersAndReturnsQuitCode)
{
    WinKit::CMessageLoop loop;
    CountingIdle idle;
    ASSERT_TRUE(loop.AddIdleHandler(&idle));
    EXPECT_EQ(loop.Run(), 5);
    EXPECT_GE(idle.calls, 1);
    EXPECT_TRUE(loop.RemoveIdleHandler(&idle));
    EXPECT_EQ(loop.IdleHandlerCount(), 0u);
}

TEST(MessageLoop, IdleRestartsOnlyAfterMessagesThatCount)
{
    const struct {
        UINT message;
        BOOL counts;
    } cases[] = {
        {WM_MOUSEMOVE, FALSE}, {WM_NCMOUSEMOVE, FALSE}, {WM_PAINT, FALSE},
        {0x0118, FALSE},       {WM_KEYDOWN, TRUE},      {WM_COMMAND, TRUE},
    };
    for (const auto& c : cases) {
        MSG msg = {nullptr, c.message, 0, 0, 0, {0, 0}};
        EXPECT_EQ(WinKit::CMessageLoop::IsIdleMessage(&msg), c.counts) << c.message;
    }
}

TEST(AppModule, KeepsOneLoopPerThread)
{
    WinKit::CAppModule module;
    module.Init(nullptr);
    EXPECT_EQ(module.GetModuleInstance(), GetModuleHandleA(nullptr));
    WinKit::CMessageLoop a, b;
    EXPECT_TRUE(module.AddMessageLoop(&a));
    EXPECT_FALSE(module.AddMessageLoop(&b));
    EXPECT_EQ(module.GetMessageLoop(), &a);
    EXPECT_EQ(module.GetMessageLoop(GetCurrentThreadId() + 1), nullptr);
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
}
