#include "GTest.h"

#include "../../Engine/EngineFixture.h"

#include <cmath>
#include <cstring>

#include "DrawingWindowRecords.h"
#include "commands/PointSearch.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"

namespace {

FrameCornerInputs Paper(double w, double h)
{
    FrameCornerInputs in;
    in.width = w;
    in.height = h;
    in.scale = 1;
    return in;
}

SearchPointRecord Found(const FrameCornerInputs& in, double x, double y, double aperture, int* hit)
{
    SearchPointRecord out{-1, -1, 0, 0};
    *hit = FindFrameCornerIn(in, SearchBoxAround(x, y, aperture), &out);
    return out;
}

TEST(PointSearch, PointsOnTheBoxEdgeAreOutside)
{
    const SearchBox box = SearchBoxAround(0, 0, 1);
    EXPECT_EQ(IsPointInSearchBox(box, 0.5, -0.5), 1);
    EXPECT_EQ(IsPointInSearchBox(box, 1.0, 0.0), 0);
    EXPECT_EQ(IsPointInSearchBox(box, 0.0, -1.0), 0);
}

TEST(PointSearch, FrameCandidatesInTheirOrder)
{
    FrameCornerInputs in = Paper(400, 200);
    in.marginColour = 3;
    in.landscape[0] = 10, in.landscape[1] = 20, in.landscape[2] = 30, in.landscape[3] = 40;
    in.portrait[0] = 1, in.portrait[1] = 2, in.portrait[2] = 3, in.portrait[3] = 4;
    struct Case {
        double x, y;
        int hit;
        double fx, fy;
    } cases[] = {
        {0.5, 0.5, 1, 0, 0},          // origin
        {199, 99, 1, 200, 100},       // paper corner
        {-199, -99, 1, -200, -100},
        {181, 71, 1, 180, 70},        // landscape margins: (w/2 - right, h/2 - top)
        {-189, -59, 1, -190, -60},    // (left - w/2, bottom - h/2)
        {50, 50, 0, 0, 0},
    };
    for (const Case& c : cases) {
        int hit = 0;
        const SearchPointRecord out = Found(in, c.x, c.y, 2, &hit);
        EXPECT_EQ(hit, c.hit) << c.x << "," << c.y;
        if (hit) {
            EXPECT_DOUBLE_EQ(out.x, c.fx);
            EXPECT_DOUBLE_EQ(out.y, c.fy);
        }
    }
}

TEST(PointSearch, SquarePaperTakesThePortraitMarginsAndTheScaleDividesThem)
{
    FrameCornerInputs in = Paper(200, 200);
    in.marginColour = 1;
    in.landscape[1] = 50, in.landscape[2] = 50;
    in.portrait[1] = 20, in.portrait[2] = 40;  // right, top in mm
    in.scale = 2;
    int hit = 0;
    const SearchPointRecord out = Found(in, 89.5, 79.5, 1, &hit);  // (100 - 20/2, 100 - 40/2)
    EXPECT_EQ(hit, 1);
    EXPECT_DOUBLE_EQ(out.x, 90);
    EXPECT_DOUBLE_EQ(out.y, 80);
}

TEST(PointSearch, UnusableScalesCountAsOne)
{
    for (double scale : {0.0, -3.0, 1e9, std::nan("")}) {
        FrameCornerInputs in = Paper(200, 100);
        in.marginColour = 1;
        in.landscape[1] = 10, in.landscape[2] = 10;
        in.scale = scale;
        int hit = 0;
        const SearchPointRecord out = Found(in, 90.2, 40.2, 1, &hit);
        EXPECT_EQ(hit, 1) << scale;
        EXPECT_DOUBLE_EQ(out.x, 90) << scale;
    }
}

TEST(PointSearch, PaperFramesOffLeavesOriginAndLastPoint)
{
    FrameCornerInputs in = Paper(400, 200);
    in.paperFramesOff = 1;
    in.marginColour = 0;
    in.lastPointShown = 1;
    in.hasLastPoint = 1;
    in.lastPoint = SearchPointRecord{200, 100, 7, 1};
    int hit = 0;
    SearchPointRecord out = Found(in, 199, 99, 2, &hit);
    EXPECT_EQ(hit, 1);  // the last input point, which lies on the paper corner here
    EXPECT_EQ(out.value1, 7);
    in.hasLastPoint = 0;
    out = Found(in, 199, 99, 2, &hit);
    EXPECT_EQ(hit, 0);
}

class PointSearchOnDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.created);
        static DbInfoRecord info;
        std::memset(&info, 0, sizeof info);
        ZUriGetDBInfo(&info, db.db());
        info.drawingWidth = 420;
        info.drawingHeight = 297;
        info.scale = 1;
        ZUriSetDBInfo(&info, db.db());
        std::memset(&block, 0, sizeof block);
        block.engineDb = db.db();
        beep = GetLocalSettingsLive().setup.bBeepFind;
        GetLocalSettingsLive().setup.bBeepFind = 0;
    }
    void TearDown() override { GetLocalSettingsLive().setup.bBeepFind = beep; }
    TestDb db;
    PDBINFO block;
    int beep = 0;
};

TEST_F(PointSearchOnDatabase, FrameCornerBeatsANearerEndPoint)
{
    const ElementRecord line = MakeLine(0.9, 0.9, 100, 100);
    ASSERT_NE(ZUriAppendElement(&line, db.db()), nullptr);
    SearchPointRecord out{};
    EXPECT_NE(SearchEndPointIn(&block, 8, nullptr, SearchPointRecord{1, 1, 0, 0}, &out, nullptr), 0);
    EXPECT_DOUBLE_EQ(out.x, 0);
    EXPECT_DOUBLE_EQ(out.y, 0);
}

TEST_F(PointSearchOnDatabase, CornerOnTheBoxEdgeLeavesTheEngineSearch)
{
    const ElementRecord line = MakeLine(10, 0, 100, 50);
    ASSERT_NE(ZUriAppendElement(&line, db.db()), nullptr);
    SearchPointRecord out{};
    EXPECT_NE(SearchEndPointIn(&block, 8, nullptr, SearchPointRecord{8, 0, 0, 0}, &out, nullptr), 0);
    EXPECT_DOUBLE_EQ(out.x, 10);
    EXPECT_DOUBLE_EQ(out.y, 0);
    EXPECT_EQ(out.value2, kSearchEndPoint);
}

TEST_F(PointSearchOnDatabase, NothingNearFindsNothing)
{
    SearchPointRecord out{};
    EXPECT_EQ(SearchEndPointIn(&block, 8, nullptr, SearchPointRecord{50, 50, 0, 0}, &out, nullptr), 0);
    EXPECT_EQ(SearchEndPointIn(nullptr, 8, nullptr, SearchPointRecord{0, 0, 0, 0}, &out, nullptr), 0);
}

TEST_F(PointSearchOnDatabase, KeyboardCursorModeSearchesNothingAndReturnsTheInput)
{
    GetCadSystem().keyCursorMode = 1;
    SearchPointRecord out{};
    EXPECT_EQ(SearchPoint(SearchPointRecord{1, 2, 3, 4}, &out, nullptr), 0);
    GetCadSystem().keyCursorMode = 0;
    EXPECT_DOUBLE_EQ(out.x, 1);
    EXPECT_DOUBLE_EQ(out.y, 2);
    EXPECT_EQ(out.value1, 3);
}

}  // namespace
