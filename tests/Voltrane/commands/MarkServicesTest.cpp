// Marks, search settings, the pick aperture and the interactive pick on real engine databases.
#include "ElementServiceFixture.h"

#include "HostMessages.h"
#include "commands/InputWaitLoop.h"
#include "commands/MarkServices.h"

namespace {

class MarkTest : public ElementServiceTest {
protected:
    void SetUp() override
    {
        ElementServiceTest::SetUp();
        SearchBlock all{};
        SetSearchSettings(0, reinterpret_cast<INT_PTR>(&all));
        QmSetLockLaySearchMode(0);
        SetPickFilterFlags(0);
        site.settings.elementHitForward = 0;
    }
    void TearDown() override
    {
        QmSetLockLaySearchMode(0);
        ElementServiceTest::TearDown();
    }
    // Three points on one spot, the pick's candidates; and one far away.
    std::vector<void*> ThreeUnderTheCursor()
    {
        std::vector<void*> out;
        for (int i = 0; i < 3; ++i) out.push_back(Append(MakePoint(0.0 + i * 0.1, 0.0)));
        Append(MakePoint(500, 500));
        return out;
    }
};

TEST_F(MarkTest, MarkMessagesReadTheirFields)
{
    void* a = Append(MakePoint(1, 1));
    void* b = Append(MakePoint(2, 2));
    void* mark = reinterpret_cast<void*>(Send(WM_CADDB_CREATE_MARK, 0, reinterpret_cast<LPARAM>(drawing.db())));
    ASSERT_NE(mark, nullptr);
    CmdParamRecord p{};
    p.value1 = reinterpret_cast<INT_PTR>(mark);
    p.value2 = reinterpret_cast<INT_PTR>(a);
    EXPECT_EQ(Send(WM_CADDB_SET_MARK, 0, p), 1);
    p.value2 = reinterpret_cast<INT_PTR>(b);
    EXPECT_EQ(Send(WM_CADDB_SET_MARK, 0, p), 1);
    EXPECT_EQ(Send(WM_CADDB_MARK_COUNT, 0, reinterpret_cast<LPARAM>(mark)), 2);
    p.value2 = 0;
    EXPECT_EQ(reinterpret_cast<void*>(Send(WM_CADDB_NEXT_MARK, 0, p)), a);
    EXPECT_EQ(reinterpret_cast<void*>(Send(WM_CADDB_NEXT_MARK_EXT, 0, p)), a);
    CmdParamRecord check{};
    check.element = reinterpret_cast<INT_PTR>(b);
    check.record = reinterpret_cast<INT_PTR>(mark);
    EXPECT_NE(Send(WM_CADDB_CHECK_MARK, 0, check), 0);
    p.value2 = reinterpret_cast<INT_PTR>(b);
    EXPECT_EQ(Send(WM_CADDB_DEL_MARK, 0, p), 1);
    EXPECT_EQ(Send(WM_CADDB_CHECK_MARK, 0, check), 0);
    EXPECT_EQ(Send(WM_CADDB_DESTROY_MARK, 0, reinterpret_cast<LPARAM>(mark)), 1);
    EXPECT_EQ(Send(WM_CADDB_SET_MARK, 0, 0), 0) << "no record";
}

TEST_F(MarkTest, SearchBlockAndApertureKeepTheirValues)
{
    SearchBlock block{};
    block.mode = 3;
    block.typeMask = 0x87fff;
    EXPECT_EQ(Send(WM_CADDB_SET_SEARCH, 0, reinterpret_cast<LPARAM>(&block)), 1);
    SearchBlock out{};
    EXPECT_EQ(Send(WM_CADDB_GET_SEARCH, 0, reinterpret_cast<LPARAM>(&out)), 1);
    EXPECT_EQ(out.typeMask, 0x87fffu);
    EXPECT_EQ(Send(WM_CADDB_SET_SEARCH, 0, 0), 0);
    EXPECT_EQ(SetPickAperture(20), 8);
    EXPECT_EQ(SetPickAperture(999), 0);
    EXPECT_EQ(SetPickAperture(0), 0);
    EXPECT_EQ(GetPickAperture(), 20);
    site.scale = 4;
    EXPECT_DOUBLE_EQ(GetPickApertureInDrawingUnits(), 5.0);
    EXPECT_EQ(SetPickAperture(8), 20);
}

struct PickCase {
    const char* name;
    std::vector<int> answers;
    int forward;          // bElmHit
    int expectIndex;      // -1: none
    size_t questions;
};

class PickTest : public MarkTest, public ::testing::WithParamInterface<PickCase> {};

TEST_P(PickTest, AsksAboutCandidatesInTurn)
{
    const PickCase& c = GetParam();
    std::vector<void*> points = ThreeUnderTheCursor();
    site.settings.elementHitForward = c.forward;
    site.answers.assign(c.answers.begin(), c.answers.end());
    Node(points[1])->flags = 0x10;
    Node(points[1])->highlightColour = 33;
    void* picked = nullptr;
    const int found = PickElementAtPoint(&picked, 0, 0, 0);
    EXPECT_EQ(found, c.expectIndex >= 0 ? 1 : 0);
    EXPECT_EQ(picked, c.expectIndex >= 0 ? points[c.expectIndex] : nullptr);
    EXPECT_EQ(site.questions.size(), c.questions);
    EXPECT_EQ(Node(points[1])->flags, 0x10u) << "the saved highlight state is put back";
    EXPECT_EQ(Node(points[1])->highlightColour, 33);
    EXPECT_EQ(Node(points[0])->flags & kNodeHighlighted, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PickTest,
    ::testing::Values(PickCase{"NoNoYesBackward", {IDNO, IDNO, IDYES}, 0, 0, 3},
                      PickCase{"NoNoYesForward", {IDNO, IDNO, IDYES}, 1, 2, 3},
                      PickCase{"CancelAtFirst", {IDCANCEL}, 0, -1, 1},
                      PickCase{"AllNo", {IDNO, IDNO, IDNO}, 1, -1, 3}),
    [](const ::testing::TestParamInfo<PickCase>& info) { return std::string(info.param.name); });

TEST_F(MarkTest, OneCandidateLeftBesideALockedLayerIsTakenWithoutAQuestion)
{
    void* free = Append(MakePoint(0, 0));
    ElementRecord locked = MakePoint(0.1, 0);
    locked.layer = 5;
    Append(locked);
    LayerInfoBlock layers{};
    ASSERT_NE(ZUriGetLayerInfo(0, &layers, drawing.db()), 0);
    layers.lockMask[0] |= 1u << 5;
    ASSERT_NE(ZUriSetLayerInfo(0, &layers, drawing.db()), 0);
    QmSetLockLaySearchMode(1);
    void* picked = nullptr;
    EXPECT_EQ(PickElementAtPoint(&picked, 0, 0, 0), 1);
    EXPECT_EQ(picked, free);
    EXPECT_TRUE(site.questions.empty());
}

TEST_F(MarkTest, GroupModeSkipsHiddenPointsWhileTheFilterIsOn)
{
    ElementRecord hidden = MakePoint(0, 0);
    hidden.colour = 0;
    Append(hidden);
    SetPickFilterFlags(1);
    void* picked = nullptr;
    EXPECT_EQ(PickElementAtPoint(&picked, 0, 0, 1), 0);
    SetPickFilterFlags(0);
    EXPECT_EQ(PickElementAtPoint(&picked, 0, 0, 1), 1);
}

TEST_F(MarkTest, PickWithoutAViewFindsNothing)
{
    ThreeUnderTheCursor();
    site.active = nullptr;
    void* picked = reinterpret_cast<void*>(1);
    EXPECT_EQ(PickElementAtPoint(&picked, 0, 0, 0), 0);
    EXPECT_EQ(picked, nullptr);
    void* mark = reinterpret_cast<void*>(1);
    EXPECT_EQ(SetSearchBoxAtCursor(&mark), 0);
}

TEST_F(MarkTest, SearchBoxAtTheCursorKeepsAMarkOnlyWhenSomethingIsThere)
{
    ThreeUnderTheCursor();
    void* mark = nullptr;
    EXPECT_EQ(SetSearchBoxAtCursor(&mark), 1);
    EXPECT_EQ(ZUriGetMarkNum(mark), 3);
    ZUriDestroyMark(mark);
    site.cursor.x = 200;
    EXPECT_EQ(FindFrameElementsAtCursor(&mark), 0);
    EXPECT_EQ(mark, nullptr);
}

}  // namespace

namespace {

TEST_F(MarkTest, TheInputWaitsPickThroughTheseServices)
{
    std::vector<void*> points = ThreeUnderTheCursor();
    CInputWaitSite waitSite;
    site.answers = {IDYES};
    INT_PTR element = 0;
    HostPoint at{};
    EXPECT_EQ(waitSite.PickElementAtPoint(at, 0, &element), 1);
    EXPECT_EQ(reinterpret_cast<void*>(element), points[2]) << "the last candidate is offered first";
    INT_PTR mark = 0;
    EXPECT_EQ(waitSite.SelectInPickBox(&mark), 1);
    EXPECT_EQ(ZUriGetMarkNum(reinterpret_cast<void*>(mark)), 3);
    ZUriDestroyMark(reinterpret_cast<void*>(mark));
    SearchBlock narrow{};
    narrow.typeMask = 0x1;  // lines only: the click search still finds the points
    SetSearchSettings(0, reinterpret_cast<INT_PTR>(&narrow));
    void* click = waitSite.ClickSearchMark();
    ASSERT_NE(click, nullptr);
    EXPECT_EQ(ZUriGetMarkNum(click), 3);
    ZUriDestroyMark(click);
    SearchBlock after{};
    ZUriDbGetSerch(&after);
    EXPECT_EQ(after.typeMask, 0x1u) << "the engine's block is put back";
    site.cursor.x = 300;
    EXPECT_EQ(waitSite.ClickSearchMark(), nullptr);
}

}  // namespace
