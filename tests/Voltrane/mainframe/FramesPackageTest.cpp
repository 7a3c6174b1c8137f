// The slot arithmetic of the frame's packages and of the bars, as pure logic.
#include "GTest.h"

#include <vector>

#include "mainframe/docking/FramesPackage.h"

using dockwins::CWndFramesPackageBase;
using dockwins::FrameDrop;

namespace {

std::vector<int> Positions(const CWndFramesPackageBase& p)
{
    std::vector<int> out;
    for (int i = 0; i < p.Count(); ++i) out.push_back(p.Slot(i).position);
    return out;
}

// A frame-level package over [-5, 1000): a bar of 100 at the front, the central frame, a bar of
// 200 at the end; minimums 50 for bars and 100 for the centre.
CWndFramesPackageBase ThreeSlots()
{
    CWndFramesPackageBase p(true);
    p.SetRange(-5, 1000);
    p.Insert(0, -5, 1005, 100, 2);  // the central frame spans everything
    p.SetCentral(0);
    p.InsertBesideCentral(0, -5, 105, 50, 1);
    p.InsertBesideCentral(2, 795, 205, 50, 3);
    return p;
}

}  // namespace

TEST(FramesPackage, BarsBesideTheCentralFrameTakeTheirRoomFromIt)
{
    CWndFramesPackageBase p = ThreeSlots();
    EXPECT_EQ(Positions(p), (std::vector<int>{-5, 100, 795}));
    EXPECT_EQ(p.Central(), 1);
    EXPECT_EQ(p.Extent(0), 105);
    EXPECT_EQ(p.Extent(2), 205);
    EXPECT_EQ(p.Reserved(), 55 + 105 + 55);
}

TEST(FramesPackage, SetRange)
{
    const struct {
        const char* name;
        bool central;
        int lower, upper;
        std::vector<int> expected;
    } cases[] = {
        // The central frame absorbs growth and shrinking down to its minimum.
        {"grow with centre", true, -5, 1200, {-5, 100, 995}},
        {"shrink with centre", true, -5, 800, {-5, 100, 595}},
        {"shrink past the centre's minimum scales the bars", true, -5, 300, {-5, 72, 177}},
        {"move the range", true, 95, 1100, {95, 200, 895}},
        // Without a central frame every slot scales (to the nearest pixel).
        {"scale to half, the first bar held at its minimum", false, -5, 495, {-5, 50, 393}},
        {"minimums win over the end", false, -5, 200, {-5, 50, 155}},
    };
    for (const auto& c : cases) {
        CWndFramesPackageBase p = ThreeSlots();
        if (!c.central) p.SetCentral(-1);
        p.SetRange(c.lower, c.upper);
        EXPECT_EQ(Positions(p), c.expected) << c.name;
        for (int i = 0; i + 1 < p.Count(); ++i)
            EXPECT_GE(p.Extent(i), p.Slot(i).minimum + 5) << c.name << " slot " << i;
    }
}

TEST(FramesPackage, InsertPushesAndPullsNeighbours)
{
    const struct {
        const char* name;
        int place, position, extent;
        std::vector<int> expected;
    } cases[] = {
        {"between, fits", 2, 500, 100, {-5, 100, 500, 795}},
        {"too close to the front is moved to the lowest", 1, 0, 100, {-5, 50, 150, 795}},
        {"running past the end pulls in front", 3, 950, 100, {-5, 100, 795, 900}},
        {"the extent is cut to what is left", 2, 100, 5000, {-5, 50, 155, 945}},
        {"as first slot it starts at the lower bound", 0, 300, 100, {-5, 400, 455, 795}},
    };
    for (const auto& c : cases) {
        CWndFramesPackageBase p = ThreeSlots();
        p.SetCentral(-1);
        p.Insert(c.place, c.position, c.extent, 50, 9);
        EXPECT_EQ(Positions(p), c.expected) << c.name;
        EXPECT_EQ(p.Slot(c.place).frame, 9) << c.name;
    }
}

TEST(FramesPackage, InsertBesideCentralAndRemoveGiveRoomBack)
{
    CWndFramesPackageBase p = ThreeSlots();
    // A second right bar outside the first one.
    p.InsertBesideCentral(3, 900, 105, 50, 4);
    EXPECT_EQ(Positions(p), (std::vector<int>{-5, 100, 690, 895}));
    EXPECT_EQ(p.Extent(3), 105);
    p.Remove(3);
    EXPECT_EQ(Positions(p), (std::vector<int>{-5, 100, 795}));
    p.Remove(0);
    EXPECT_EQ(Positions(p), (std::vector<int>{-5, 795}));
    EXPECT_EQ(p.Central(), 0);
    p.Remove(1);
    EXPECT_EQ(Positions(p), (std::vector<int>{-5}));
    EXPECT_EQ(p.Extent(0), 1005) << "the central frame gets the whole range back";

    // A bar: the previous window extends, or the next one starts at the lower bound.
    CWndFramesPackageBase bar(false);
    bar.SetRange(-5, 300);
    bar.Insert(0, -5, 100, 20, 1);
    bar.Insert(1, 95, 100, 20, 2);
    bar.Insert(2, 195, 105, 20, 3);
    bar.Remove(1);
    EXPECT_EQ(Positions(bar), (std::vector<int>{-5, 195}));
    bar.Remove(0);
    EXPECT_EQ(Positions(bar), (std::vector<int>{-5}));
}

TEST(FramesPackage, SplitterLimitsAndMoves)
{
    CWndFramesPackageBase p = ThreeSlots();
    int low = 0, high = 0;
    p.SplitterLimits(1, &low, &high);
    EXPECT_EQ(low, 50);
    EXPECT_EQ(high, 1000 - 105 - 55);
    p.SplitterLimits(2, &low, &high);
    EXPECT_EQ(low, 50 + 105);
    EXPECT_EQ(high, 945);

    p.MoveSplitter(2, 400);
    EXPECT_EQ(Positions(p), (std::vector<int>{-5, 100, 400}));
    // Dragging to the lowest limit pushes the frames between to their minimums.
    p.MoveSplitter(2, 155);
    EXPECT_EQ(Positions(p), (std::vector<int>{-5, 50, 155}));
    p.MoveSplitter(1, 840);
    EXPECT_EQ(Positions(p), (std::vector<int>{-5, 840, 945}));
}

TEST(FramesPackage, AddAtThirds)
{
    const struct {
        int position;
        int place;
    } cases[] = {{0, 0}, {28, 0}, {29, 1}, {150, 1}, {163, 1}, {164, 2}};
    for (const auto& c : cases) {
        CWndFramesPackageBase bar(false);
        bar.SetRange(-5, 300);
        bar.Insert(0, -5, 100, 20, 1);
        bar.Insert(1, 95, 205, 20, 2);
        // Slot 0 spans [-5, 95): its first third ends at 28; slot 1 [95, 300) at 163.
        int place = bar.AddAt(c.position, 50, 20, 7);
        EXPECT_EQ(place, c.place) << c.position;
        EXPECT_EQ(bar.Slot(place).frame, 7) << c.position;
    }
}

TEST(FramesPackage, FrameDropHitTests)
{
    CWndFramesPackageBase p = ThreeSlots();  // rect [0, 1000) along, [0, 600) across
    const struct {
        const char* name;
        int a, b;
        FrameDrop::Kind kind;
        int place;
        bool after;
        int start, end;
    } cases[] = {
        {"front of the first bar", 5, 300, FrameDrop::NewBar, 0, false, 0, 80},
        {"middle of the first bar", 50, 300, FrameDrop::OverBar, 0, false, 0, 0},
        {"first 20 pixels of the centre", 110, 300, FrameDrop::NewBar, 1, false, 105, 185},
        {"middle of the centre", 400, 300, FrameDrop::Refused, 0, false, 0, 0},
        {"last 20 pixels of the centre", 780, 300, FrameDrop::NewBar, 2, true, 715, 795},
        {"last 20 pixels of the last bar", 990, 300, FrameDrop::NewBar, 3, true, 920, 1000},
        {"20 pixels outside in front", -15, 300, FrameDrop::NewBar, 0, false, 0, 80},
        {"20 pixels outside behind", 1015, 300, FrameDrop::NewBar, 3, true, 920, 1000},
        {"beyond the zone", 1025, 300, FrameDrop::Refused, 0, false, 0, 0},
        {"across outside", 500, 700, FrameDrop::Refused, 0, false, 0, 0},
    };
    for (const auto& c : cases) {
        FrameDrop d = dockwins::FrameDropTest(p, 0, 1000, 0, 600, c.a, c.b, 30, 30, 80);
        EXPECT_EQ(d.kind, c.kind) << c.name;
        if (d.kind == FrameDrop::Refused) continue;
        EXPECT_EQ(d.place, c.place) << c.name;
        if (d.kind != FrameDrop::NewBar) continue;
        EXPECT_EQ(d.afterCentral, c.after) << c.name;
        EXPECT_EQ(d.start, c.start) << c.name;
        EXPECT_EQ(d.end, c.end) << c.name;
    }
    // A dragged minimum that does not fit is refused everywhere.
    EXPECT_EQ(dockwins::FrameDropTest(p, 0, 1000, 0, 600, 5, 300, 30, 700, 80).kind, FrameDrop::Refused);
    EXPECT_EQ(dockwins::FrameDropTest(p, 0, 1000, 0, 600, 5, 300, 800, 30, 80).kind, FrameDrop::Refused);
}

TEST(FramesPackage, BarDropRefusesItsOnlyWindow)
{
    CWndFramesPackageBase bar(false);
    bar.SetRange(-5, 300);
    bar.Insert(0, -5, 305, 20, 11);
    RECT client = {0, 0, 200, 300};
    EXPECT_FALSE(dockwins::BarAcceptsDrop(bar, 11, client, {50, 50}, 20, 20));
    EXPECT_TRUE(dockwins::BarAcceptsDrop(bar, 12, client, {50, 50}, 20, 20));
    EXPECT_FALSE(dockwins::BarAcceptsDrop(bar, 12, client, {250, 50}, 20, 20)) << "outside";
    EXPECT_FALSE(dockwins::BarAcceptsDrop(bar, 12, client, {50, 50}, 250, 20)) << "too wide";
    EXPECT_FALSE(dockwins::BarAcceptsDrop(bar, 12, client, {50, 50}, 20, 290)) << "no room along";
}

TEST(FramesPackage, BarPositionsRoundTrip)
{
    CWndFramesPackageBase bar(false);
    bar.SetRange(-5, 600);
    bar.Insert(0, -5, 205, 30, 1);
    bar.Insert(1, 200, 405, 30, 2);
    dockwins::BarPosition first, second;
    ASSERT_TRUE(dockwins::BarGetPosition(bar, 1, &first));
    ASSERT_TRUE(dockwins::BarGetPosition(bar, 2, &second));
    EXPECT_FALSE(dockwins::BarGetPosition(bar, 3, &first));
    EXPECT_FLOAT_EQ(first.ratio, 0.0f);
    EXPECT_EQ(first.extent, 195);
    EXPECT_FALSE(first.alone);
    EXPECT_EQ(second.extent, 400);

    // Taking the second out and putting it back gives the same slots.
    std::vector<int> before = Positions(bar);
    bar.Remove(1);
    EXPECT_EQ(dockwins::BarSetPosition(bar, 2, second.ratio, second.extent, 30), 1);
    EXPECT_EQ(Positions(bar), before);
    dockwins::BarPosition again;
    ASSERT_TRUE(dockwins::BarGetPosition(bar, 2, &again));
    EXPECT_FLOAT_EQ(again.ratio, second.ratio);
    EXPECT_EQ(again.extent, second.extent);
}

TEST(FramesPackage, FramePositionsRoundTripAndBarIndexBeyondTheBars)
{
    CWndFramesPackageBase p = ThreeSlots();
    dockwins::FrameBarIndex index;
    ASSERT_TRUE(dockwins::FrameGetBarIndex(p, 1, &index));
    EXPECT_TRUE(index.beforeCentral);
    EXPECT_EQ(index.barIndex, 0);
    EXPECT_EQ(index.barWidth, 100);
    ASSERT_TRUE(dockwins::FrameGetBarIndex(p, 3, &index));
    EXPECT_FALSE(index.beforeCentral);
    EXPECT_EQ(index.barIndex, 0);
    EXPECT_EQ(index.barWidth, 200);
    EXPECT_FALSE(dockwins::FrameGetBarIndex(p, 2 + 100, &index));

    const struct {
        const char* name;
        bool before, own;
        int barIndex;
        int join, place, start;
    } cases[] = {
        {"front bar joined", true, false, 0, 0, 0, 0},
        {"front beyond the bars stops at the centre", true, false, 7, -1, 1, 100},
        {"front with its own bar", true, true, 0, -1, 0, -5},
        {"back bar joined", false, false, 0, 2, 0, 0},
        {"back beyond the bars stops at the centre", false, false, 5, -1, 2, 590},
        {"back with its own bar", false, true, 0, -1, 3, 795},
    };
    for (const auto& c : cases) {
        dockwins::FrameSetTarget t = dockwins::FrameSetPositionTarget(p, c.before, c.own, c.barIndex, 200);
        EXPECT_EQ(t.joinSlot, c.join) << c.name;
        if (t.joinSlot >= 0) continue;
        EXPECT_EQ(t.newPlace, c.place) << c.name;
        EXPECT_EQ(t.newStart, c.start) << c.name;
    }
}
