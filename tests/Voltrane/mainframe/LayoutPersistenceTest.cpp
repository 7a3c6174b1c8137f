// The layout file's value forms, record order, scaling and the checks on stored records.
#include "GTest.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "mainframe/docking/LayoutPersistence.h"

using namespace sstate;
using dockwins::DockingWindowPlacement;
using dockwins::DockPosition;

TEST(LayoutFile, BytesBothWays)
{
    int32_t value = 1024;
    EXPECT_EQ(FormatBytes(&value, 4), "00 04 00 00 ");
    uint8_t bytes[] = {0xab, 0x01, 0xff};
    EXPECT_EQ(FormatBytes(bytes, 3), "ab 01 ff ");
    EXPECT_EQ(FormatBytes(bytes, 0), "");

    const struct {
        const char* text;
        bool ok;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"00 04 00 00 ", true, {0, 4, 0, 0}},
        {"0A\tff\r\n100", true, {0x0a, 0xff, 0x00}},  // any whitespace; the low eight bits
        {"", true, {}},
        {"  ", true, {}},
        {"0g", false, {}},
        {"12,34", false, {}},
        {"-1", false, {}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> out;
        EXPECT_EQ(ParseBytes(c.text, &out), c.ok) << c.text;
        if (c.ok) EXPECT_EQ(out, c.bytes) << c.text;
    }
    DockingWindowPlacement record = {};
    record.position.ratio = 0.25f;
    record.floatRect = {-10, 20, 300, 400};
    std::vector<uint8_t> back;
    ASSERT_TRUE(ParseBytes(FormatBytes(&record, sizeof record).c_str(), &back));
    ASSERT_EQ(back.size(), 60u);
    EXPECT_EQ(memcmp(back.data(), &record, 60), 0);
}

TEST(LayoutFile, ChildNames)
{
    EXPECT_EQ(ChildName(-1), "Wnd-0xffffffff");
    EXPECT_EQ(ChildName(-2), "Wnd-0xfffffffe");
    EXPECT_EQ(ChildName(-3), "Wnd-0xfffffffd");
    EXPECT_EQ(ChildName(-4), "Wnd-0xfffffffc");
}

TEST(LayoutFile, DockedRecordsComeOutLeftTopRightBottomOuterFirst)
{
    auto key = [](int side, int bar, float ratio) {
        DockPosition p = {};
        p.side = side;
        p.barIndex = bar;
        p.ratio = ratio;
        return DockedKey(p);
    };
    // In the order they must be applied.
    const uint32_t ordered[] = {
        key(3, 0, 0.0f), key(3, 0, 0.5f), key(3, 1, 0.0f), key(2 | 4, 0, 0.0f), key(1, 0, 0.0f),
        key(1, 0, 0.9f), key(1 | 0x24, 2, 0.0f), key(0, 0, 0.0f),
    };
    for (size_t i = 0; i + 1 < sizeof ordered / sizeof ordered[0]; ++i)
        EXPECT_LT(ordered[i], ordered[i + 1]) << i;
    EXPECT_EQ(key(1, 0, 0.5f) & 0xFFFF, 32767u);
}

TEST(LayoutFile, ScalingFromAnotherWorkArea)
{
    int32_t width = 1920, height = 1040;
    std::vector<uint8_t> w(4), h(4);
    memcpy(w.data(), &width, 4);
    memcpy(h.data(), &height, 4);
    Ratio x = RatioFor(1280, &w), y = RatioFor(1000, &h);
    EXPECT_EQ(x.num, 1280);
    EXPECT_EQ(x.den, 1920);
    EXPECT_EQ(Scale(960, x), 640);
    EXPECT_EQ(Scale(520, y), 500);

    DockingWindowPlacement right = {};
    right.docked = 1;
    right.position.side = 1;
    right.position.barWidth = 300;
    right.position.extent = 520;
    right.floatRect = {192, 104, 576, 416};
    ScalePlacement(&right, x, y);
    EXPECT_EQ(right.position.barWidth, 200);
    EXPECT_EQ(right.position.extent, 500);
    EXPECT_EQ(right.floatRect.left, 128);
    EXPECT_EQ(right.floatRect.top, 100);
    EXPECT_EQ(right.floatRect.right, 384);
    EXPECT_EQ(right.floatRect.bottom, 400);

    DockingWindowPlacement bottom = {};
    bottom.docked = 1;
    bottom.position.side = 0;
    bottom.position.barWidth = 104;
    bottom.position.extent = 960;
    ScalePlacement(&bottom, x, y);
    EXPECT_EQ(bottom.position.barWidth, 100) << "a bottom bar's width runs along y";
    EXPECT_EQ(bottom.position.extent, 640);

    // Values that leave the ratio at 1:1.
    std::vector<uint8_t> zero(4, 0), negative = {0xfb, 0xff, 0xff, 0xff}, shortValue = {0x80, 0x07};
    for (const std::vector<uint8_t>* stored : {&zero, &negative, &shortValue, static_cast<std::vector<uint8_t>*>(nullptr)}) {
        Ratio r = RatioFor(1280, stored);
        EXPECT_EQ(Scale(777, r), 777);
    }
    std::vector<uint8_t> same(4);
    int32_t current = 1280;
    memcpy(same.data(), &current, 4);
    EXPECT_EQ(Scale(777, RatioFor(1280, &same)), 777);
}

TEST(LayoutFile, UnsoundRecordsAreRefused)
{
    const RECT area = {0, 0, 1280, 1000};
    auto good = [] {
        DockingWindowPlacement p = {};
        p.docked = 1;
        p.visible = 1;
        p.position.side = 1;
        p.position.ratio = 0.5f;
        p.position.barWidth = 200;
        p.position.extent = 280;
        p.floatRect = {10, 10, 200, 300};
        return p;
    };
    EXPECT_TRUE(PlacementIsSound(good(), area));
    const struct {
        const char* name;
        void (*spoil)(DockingWindowPlacement&);
    } cases[] = {
        {"ratio above 1", [](DockingWindowPlacement& p) { p.position.ratio = 1.5f; }},
        {"negative ratio", [](DockingWindowPlacement& p) { p.position.ratio = -0.1f; }},
        {"ratio not a number", [](DockingWindowPlacement& p) { p.position.ratio = std::numeric_limits<float>::quiet_NaN(); }},
        {"negative bar width", [](DockingWindowPlacement& p) { p.position.barWidth = -1; }},
        {"negative extent", [](DockingWindowPlacement& p) { p.position.extent = -5; }},
        {"bar wider than the work area", [](DockingWindowPlacement& p) { p.position.barWidth = 5000; }},
        {"unknown side bits", [](DockingWindowPlacement& p) { p.position.side = 0x101; }},
        {"inside-out floating rectangle", [](DockingWindowPlacement& p) { p.floatRect = {300, 10, 200, 300}; }},
        {"floating rectangle larger than the work area", [](DockingWindowPlacement& p) { p.floatRect = {0, 0, 3000, 300}; }},
    };
    for (const auto& c : cases) {
        DockingWindowPlacement p = good();
        c.spoil(p);
        EXPECT_FALSE(PlacementIsSound(p, area)) << c.name;
    }
    DockingWindowPlacement pinned = good();
    pinned.position.side = 1 | 0x24;
    EXPECT_TRUE(PlacementIsSound(pinned, area));
}

TEST(LayoutFile, FloatingRectanglesOffEveryMonitorComeBack)
{
    RECT away = {-20000, -20000, -19800, -19700};
    BringOntoMonitor(&away);
    EXPECT_NE(MonitorFromRect(&away, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(away.right - away.left, 200);
    EXPECT_EQ(away.bottom - away.top, 300);
    RECT on = {10, 20, 110, 220};
    BringOntoMonitor(&on);
    EXPECT_EQ(on.left, 10);
    EXPECT_EQ(on.top, 20);
}
