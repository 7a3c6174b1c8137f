// Monitor lookups on the real (single) screen, and on a simulated second monitor.
#include "GTest.h"

#include "core/MonitorHelpers.h"

TEST(MonitorHelpers, SingleScreenIsThePrimaryMonitor)
{
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    RECT rc = {};
    EXPECT_EQ(0, GetMonitorAreaAt(10, 10, &rc, 0));
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(cx, rc.right);
    EXPECT_EQ(cy, rc.bottom);

    // A point far off the screen still finds the nearest monitor.
    EXPECT_EQ(0, GetMonitorAreaAt(-5000, 90000, &rc, -1));
    EXPECT_EQ(cx, rc.right);

    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(0, GetMonitorAreaAt(10, 10, &rc, 1));
    EXPECT_TRUE(EqualRect(&work, &rc));

    int right = 0, bottom = 0;
    EXPECT_EQ(0, GetMonitorSizeAt(1, 1, &right, &bottom));
    EXPECT_EQ(cx, right);
    EXPECT_EQ(cy, bottom);
    EXPECT_EQ(0, GetMonitorSizeAt(1, 1, nullptr, nullptr));

    EXPECT_EQ(0, GetWindowMonitorArea(nullptr, &rc));
    EXPECT_EQ(cx, rc.right);
    HWND w = CreateWindowA("STATIC", "m", WS_POPUP, 100, 100, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, w);
    EXPECT_EQ(0, GetWindowMonitorArea(w, &rc));
    EXPECT_EQ(cy, rc.bottom);
    DestroyWindow(w);
}

namespace {

// Two monitors side by side: the primary 0..1000 x 0..800 with a task bar at its foot, a
// second one 1000..2000 x 0..600 with a task bar on its left.
const HMONITOR kPrimary = reinterpret_cast<HMONITOR>(0x1000);
const HMONITOR kSecond = reinterpret_cast<HMONITOR>(0x2000);
bool g_noMonitor = false;

HMONITOR WINAPI FakeMonitorFromPoint(POINT pt, DWORD)
{
    if (g_noMonitor)
        return nullptr;
    return pt.x >= 1000 ? kSecond : kPrimary;
}

BOOL WINAPI FakeGetMonitorInfo(HMONITOR monitor, LPMONITORINFO info)
{
    if (monitor == kPrimary) {
        info->rcMonitor = {0, 0, 1000, 800};
        info->rcWork = {0, 0, 1000, 760};
        info->dwFlags = MONITORINFOF_PRIMARY;
    } else {
        info->rcMonitor = {1000, 0, 2000, 600};
        info->rcWork = {1040, 0, 2000, 600};
        info->dwFlags = 0;
    }
    return TRUE;
}

BOOL WINAPI FakeSystemParametersInfo(UINT action, UINT, PVOID param, UINT)
{
    if (action != SPI_GETWORKAREA)
        return FALSE;
    *static_cast<RECT*>(param) = {0, 0, 1000, 770};
    return TRUE;
}

int WINAPI FakeGetSystemMetrics(int index)
{
    return index == SM_CXSCREEN ? 1000 : index == SM_CYSCREEN ? 800 : 0;
}

BOOL WINAPI FakeGetWindowRect(HWND, LPRECT rc)
{
    *rc = {1500, 100, 1701, 301};  // centre (1600, 200)
    return TRUE;
}

class TwoMonitors : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const MonitorCalls calls = {FakeMonitorFromPoint, FakeGetMonitorInfo, FakeSystemParametersInfo,
                                           FakeGetSystemMetrics, FakeGetWindowRect};
        g_noMonitor = false;
        SetMonitorCalls(&calls);
    }
    void TearDown() override { SetMonitorCalls(nullptr); }
};

}  // namespace

TEST_F(TwoMonitors, KindsChooseWholeRectangleOrWorkArea)
{
    const struct {
        int x, y, kind;
        int result;
        RECT area;
    } cases[] = {
        {10, 10, 0, 0, {0, 0, 1000, 800}},       {10, 10, 1, 0, {0, 0, 1000, 760}},
        {10, 10, -1, 0, {0, 0, 1000, 800}},      {1500, 10, 0, 1, {1000, 0, 2000, 600}},
        {1500, 10, 1, 1, {1040, 0, 2000, 600}},  {1500, 10, -1, 1, {1040, 0, 2000, 600}},
        {1500, 10, 7, 1, {1000, 0, 2000, 600}},
    };
    for (const auto& c : cases) {
        RECT rc = {};
        EXPECT_EQ(c.result, GetMonitorAreaAt(c.x, c.y, &rc, c.kind)) << c.x << " kind " << c.kind;
        EXPECT_TRUE(EqualRect(&c.area, &rc)) << c.x << " kind " << c.kind;
    }
}

TEST_F(TwoMonitors, WindowOnTheSecondMonitorAndSizes)
{
    RECT rc = {};
    EXPECT_EQ(1, GetWindowMonitorArea(reinterpret_cast<HWND>(0x1234), &rc));
    const RECT second = {1000, 0, 2000, 600};
    EXPECT_TRUE(EqualRect(&second, &rc));

    int right = 0, bottom = 0;
    EXPECT_EQ(1, GetMonitorSizeAt(1200, 5, &right, &bottom));
    EXPECT_EQ(2000, right);  // a coordinate, not the width
    EXPECT_EQ(600, bottom);
}

TEST_F(TwoMonitors, NoMonitorFallsBackToTheScreen)
{
    g_noMonitor = true;
    RECT rc = {};
    EXPECT_EQ(0, GetMonitorAreaAt(5, 5, &rc, 1));
    const RECT work = {0, 0, 1000, 770};
    EXPECT_TRUE(EqualRect(&work, &rc));
    EXPECT_EQ(0, GetMonitorAreaAt(5, 5, &rc, 0));
    const RECT screen = {0, 0, 1000, 800};
    EXPECT_TRUE(EqualRect(&screen, &rc));
}
