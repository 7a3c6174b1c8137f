// The placement copy and change of marked elements on real engine databases.
#include "ElementServiceFixture.h"

#include <cmath>
#include <cstring>

#include "HostMessages.h"
#include "commands/PlacementCopy.h"

namespace {

constexpr double kPi = 3.141592653589793;

double At(const ElementRecord& r, int offset)
{
    double v;
    std::memcpy(&v, reinterpret_cast<const uint8_t*>(&r) + offset, 8);
    return v;
}

void PutAt(ElementRecord& r, int offset, double v) { std::memcpy(reinterpret_cast<uint8_t*>(&r) + offset, &v, 8); }

PlacementTransformRecord Rotation(double a, double s = 1, double ox = 0, double oy = 0, double tx = 0, double ty = 0)
{
    return PlacementTransformRecord{s, std::cos(a), -std::sin(a), std::sin(a), std::cos(a), ox, oy, tx, ty, s, s};
}

class PlacementTest : public ElementServiceTest {
protected:
    void SetUp() override
    {
        ElementServiceTest::SetUp();
        GetElementServiceState().keepFields = 1;
        const PlacementTransformRecord identity{1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1};
        SetPlacementTransform(1, &identity);
        site.settings.pointScale = 0;
    }
    void* MarkOf(std::initializer_list<void*> elements, void* db = nullptr)
    {
        void* mark = ZUriCreateMark(db ? db : drawing.db());
        for (void* e : elements) ZUriSetMark(e, mark);
        return mark;
    }
    std::vector<ElementRecord> Records(void* mark, void* db = nullptr)
    {
        std::vector<ElementRecord> out;
        for (void* e = ZUriGetNextMark(nullptr, mark); e; e = ZUriGetNextMark(e, mark)) {
            ElementRecord r;
            ZUriReadElement(e, 0, &r, db ? db : drawing.db());
            out.push_back(r);
        }
        return out;
    }
    void SetTransform(const PlacementTransformRecord& t, WPARAM full = 0)
    {
        EXPECT_EQ(Send(WM_CADDB_SET_PLACEMENT, full, reinterpret_cast<LPARAM>(&t)), 1);
    }
};

TEST_F(PlacementTest, IdentityAppendMakesExactDuplicatesAndClearsNoExtraData)
{
    void* line = Append(MakeLine(1, 2, 3, 4));
    const int data = 77;
    ZUriSetExtrData(line, 39, 0, sizeof data, &data);
    void* source = MarkOf({line, Append(MakeCircle(5, 5, 2))});
    void* result = reinterpret_cast<void*>(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(source)));
    ASSERT_NE(result, nullptr);
    const auto before = Records(source), after = Records(result);
    ASSERT_EQ(after.size(), 2u);
    for (size_t i = 0; i < 2; ++i) EXPECT_EQ(std::memcmp(&before[i], &after[i], sizeof(ElementRecord)), 0);
    int copied = 0;
    EXPECT_EQ(ZUriGetExtrData(ZUriGetNextMark(nullptr, result), 39, 0, sizeof copied, &copied), 4);
    EXPECT_EQ(copied, 77);
    EXPECT_EQ(ElementCount(), 4);
    ZUriDestroyMark(source);
    ZUriDestroyMark(result);
}

TEST_F(PlacementTest, QuarterTurnTurnsTextAndArcAngles)
{
    TextRecord text = MakeVectorText("A", 10, 0);
    text.angle = 0.25;
    ElementRecord arc = MakeCircle(10, 0, 3);
    arc.type = kElementArc;
    PutAt(arc, 65, 0.5);
    PutAt(arc, 73, 1.0);
    void* source = MarkOf({Append(AsRecord(text)), Append(arc)});
    SetTransform(PlacementTransformRecord{1, 0, -1, 1, 0, 0, 0, 0, 0, 1, 1});
    void* result = reinterpret_cast<void*>(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(source)));
    ASSERT_NE(result, nullptr);
    const auto out = Records(result);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_NEAR(At(out[0], 30), 0.25 + kPi / 2, 1e-12);
    EXPECT_NEAR(At(out[0], 112), 0, 1e-12);
    EXPECT_NEAR(At(out[0], 120), 10, 1e-12);
    EXPECT_NEAR(At(out[1], 65), 0.5 + kPi / 2, 1e-12);
    EXPECT_NEAR(At(out[1], 73), 1.0 + kPi / 2, 1e-12);
    EXPECT_NEAR(At(out[1], 41), 10, 1e-12);
    ZUriDestroyMark(source);
    ZUriDestroyMark(result);
}

TEST_F(PlacementTest, ScaleTwoDoublesRadiusButNotMarkSizesWithoutPointScale)
{
    ElementRecord point = MakePoint(1, 1);
    PutAt(point, 66, 4.0);
    ElementRecord line = MakeLine(0, 0, 1, 0);
    line.lineEndSizeStart = 2.0;
    void* source = MarkOf({Append(MakeCircle(1, 1, 3)), Append(point), Append(line)});
    SetTransform(PlacementTransformRecord{2, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0});
    void* result = reinterpret_cast<void*>(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(source)));
    auto out = Records(result);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(At(out[0], 57), 6.0);
    EXPECT_EQ(At(out[0], 33), 2.0) << "sx = sy = s for a 72-byte transform";
    EXPECT_EQ(At(out[1], 66), 4.0);
    EXPECT_EQ(out[2].lineEndSizeStart, 2.0);
    ZUriDestroyMark(result);
    site.settings.pointScale = 1;
    result = reinterpret_cast<void*>(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(source)));
    out = Records(result);
    EXPECT_EQ(At(out[1], 66), 8.0);
    EXPECT_EQ(out[2].lineEndSizeStart, 4.0);
    ZUriDestroyMark(source);
    ZUriDestroyMark(result);
}

TEST_F(PlacementTest, ImageTurnedBy45StaysAxisParallelAroundTheTurnedCentre)
{
    ImageRecord image{};
    SetHeader(image.header, kElementImage);
    image.x1 = 0, image.y1 = 0, image.x2 = 4, image.y2 = 2;
    void* source = MarkOf({Append(AsRecord(image))});
    SetTransform(Rotation(kPi / 4, 2), 1);
    void* result = reinterpret_cast<void*>(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(source)));
    auto out = Records(result);
    ASSERT_EQ(out.size(), 1u);
    const ImageRecord placed = Typed<ImageRecord>(out[0]);
    // Centre (2, 1) turned by 45 degrees and scaled by 2.
    const double cx = (2 * std::cos(kPi / 4) - 1 * std::sin(kPi / 4)) * 2;
    const double cy = (2 * std::sin(kPi / 4) + 1 * std::cos(kPi / 4)) * 2;
    EXPECT_NEAR(placed.x1, cx - 4, 1e-9);
    EXPECT_NEAR(placed.x2, cx + 4, 1e-9);
    EXPECT_NEAR(placed.y1, cy - 2, 1e-9);
    EXPECT_NEAR(placed.y2, cy + 2, 1e-9);
    ZUriDestroyMark(source);
    ZUriDestroyMark(result);
}

TEST_F(PlacementTest, SubKind906LosesItsExtraDataOnlyUnderATransform)
{
    ElementRecord head = MakeComposite(kElementGroup);
    head.subKind = 906;
    void* composite = Append(head);
    ElementRecord line = MakeLine(0, 0, 1, 1);
    ZUriAppendMemberElement(&line, composite, drawing.db());
    const int data = 5;
    for (int slot = 38; slot <= 43; ++slot) ZUriSetExtrData(composite, slot, 0, sizeof data, &data);
    void* source = MarkOf({composite});

    void* same = reinterpret_cast<void*>(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(source)));
    ASSERT_NE(same, nullptr);
    void* kept = ZUriGetNextMark(nullptr, same);
    EXPECT_EQ(Node(kept)->record.subKind, 906);
    EXPECT_EQ(ZUriGetMemberNum(kept, drawing.db()), 1);
    int out = 0;
    EXPECT_EQ(ZUriGetExtrData(kept, 40, 0, sizeof out, &out), 4);

    SetTransform(PlacementTransformRecord{2, 1, 0, 0, 1, 0, 0, 0, 0, 0, 0});
    void* scaled = reinterpret_cast<void*>(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(source)));
    ASSERT_NE(scaled, nullptr);
    void* copy = ZUriGetNextMark(nullptr, scaled);
    EXPECT_EQ(Node(copy)->record.subKind, 0);
    for (int slot = 38; slot <= 43; ++slot) {
        out = 0;
        ZUriGetExtrData(copy, slot, 0, sizeof out, &out);
        EXPECT_EQ(out, 0) << "slot " << slot;
    }
    ZUriDestroyMark(source);
    ZUriDestroyMark(same);
    ZUriDestroyMark(scaled);
}

TEST_F(PlacementTest, RefusedPageLeavesNoOverrideForTheNextAppend)
{
    void* source = MarkOf({Append(MakeLine(0, 0, 1, 1))});
    CmdParamRecord p{};
    p.transform = reinterpret_cast<INT_PTR>(source);
    p.value1 = -1;
    p.value2 = 12;  // a reference page
    p.value3 = 0;
    EXPECT_EQ(Send(WM_CADDB_APPEND_EX, 1, p), 0);
    EXPECT_EQ(Send(WM_CADDB_APPEND_EX, 5, p), 0) << "other word parameters";
    void* result = reinterpret_cast<void*>(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(source)));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(Records(result)[0].page, 0);
    AllowPage(12);
    p.value3 = -1;
    void* onPage = reinterpret_cast<void*>(Send(WM_CADDB_APPEND_EX, 1, p));
    ASSERT_NE(onPage, nullptr);
    EXPECT_EQ(Records(onPage)[0].page, 12);
    ZUriDestroyMark(source);
    ZUriDestroyMark(result);
    ZUriDestroyMark(onPage);
}

TEST_F(PlacementTest, ChangeInPlaceWorksInTheMarksOwnDrawingWhileAnotherIsActive)
{
    TestDb other;
    HWND otherView = FakeView(2);
    site.databases[otherView] = other.db();
    void* line = Append(MakeLine(0, 0, 1, 0));
    void* source = MarkOf({line});
    site.active = otherView;
    SetTransform(PlacementTransformRecord{1, 1, 0, 0, 1, 0, 0, 5, 5, 1, 1});
    void* result = reinterpret_cast<void*>(Send(WM_CADDB_CHANGE, 2, reinterpret_cast<LPARAM>(source)));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(ZUriGetElmNum(other.db()), 0);
    EXPECT_EQ(ElementCount(), 1);
    EXPECT_EQ(Typed<LineRecord>(Node(line)->record).x1, 5.0);
    EXPECT_EQ(Node(line)->flags & kNodeHighlighted, 1u) << "mode bit 0 clear: the results are highlighted";
    ZUriDestroyMark(result);
}

TEST_F(PlacementTest, ChangeIntoTheActiveDrawingMovesAndDeletesOnlyStoredSources)
{
    TestDb other;
    HWND otherView = FakeView(2);
    site.databases[otherView] = other.db();
    void* source = MarkOf({Append(MakeLine(0, 0, 1, 0)), Append(MakeLine(0, 0, 1, 0, 0, 3))});
    site.active = otherView;
    void* result = reinterpret_cast<void*>(Send(WM_CADDB_CHANGE, 1, reinterpret_cast<LPARAM>(source)));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(ZUriGetElmNum(other.db()), 1);
    EXPECT_EQ(ElementCount(), 1) << "the element on the reference page stays where it was";
    ZUriDestroyMark(result);
}

TEST_F(PlacementTest, MemoryChangeMovesMembersOfCompositesInPlace)
{
    ElementRecord head = MakeComposite(kElementGroup);
    void* composite = Append(head);
    ElementRecord line = MakeLine(0, 0, 1, 0);
    void* member = ZUriAppendMemberElement(&line, composite, drawing.db());
    void* circle = Append(MakeCircle(0, 0, 1));
    void* mark = MarkOf({composite, circle});
    SetTransform(PlacementTransformRecord{3, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0});
    EXPECT_EQ(Send(WM_CADDB_MEM_CHANGE, reinterpret_cast<WPARAM>(drawing.db()), reinterpret_cast<LPARAM>(mark)), 0);
    EXPECT_EQ(Typed<LineRecord>(Node(member)->record).x2, 4.0);
    EXPECT_EQ(Typed<CircleRecord>(Node(circle)->record).radius, 3.0);
    EXPECT_EQ(ElementCount(), 2);
    ZUriDestroyMark(mark);
}

TEST_F(PlacementTest, CompositeFromMarkKeepsSourcesUntilEveryMemberIsStored)
{
    void* mark = MarkOf({Append(MakeLine(0, 0, 1, 1)), Append(MakePoint(2, 2))});
    CmdParamRecord p = ViewParam();
    p.transform = reinterpret_cast<INT_PTR>(mark);
    void* head = reinterpret_cast<void*>(Send(WM_CADDB_APPEND_MEMBERS, 0, p));
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(ElementCount(), 1);
    EXPECT_EQ(ZUriGetMemberNum(head, drawing.db()), 2);
    ZUriDestroyMark(mark);
    p.transform = 0;
    EXPECT_EQ(Send(WM_CADDB_APPEND_MEMBERS, 0, p), 0);
}

}  // namespace

namespace {

TEST_F(PlacementTest, CrossCopyTakesTheGroupHeaderAlongAndLandsOnTheCurrentPage)
{
    TestDb target;
    HWND targetView = FakeView(2);
    site.databases[targetView] = target.db();
    target.record.pageState.detectMask[0] |= 1u << 3;
    site.currentPage = 3;
    site.inputFactors[targetView] = 2.0;

    void* h = MakeFigureHeader(drawing.db());
    const FigureReferenceRecord ref = MakeInstanceRecord();
    void* instance = ZUriAppendFgroup(h, &ref, drawing.db());
    ASSERT_NE(instance, nullptr);
    void* source = MarkOf({instance, Append(MakeCircle(0, 0, 1))});

    site.active = targetView;
    void* result = reinterpret_cast<void*>(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(source)));
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(ZUriGetMarkNum(result), 2);
    void* copied = ZUriGetNextMark(nullptr, result);
    void* copiedHeader = ZUriGetFgroupHeaderIdx(copied, target.db());
    ASSERT_NE(copiedHeader, nullptr);
    EXPECT_NE(copiedHeader, h);
    EXPECT_EQ(ZUriGetMemberNum(copiedHeader, target.db()), 1);
    const auto out = Records(result, target.db());
    EXPECT_EQ(out[0].page, 3);
    EXPECT_EQ(out[1].page, 3);
    EXPECT_EQ(At(out[1], 57), 2.0) << "the scale follows the two drawings' input factors";
    EXPECT_EQ(ElementCount(), 2) << "a copy leaves the source drawing as it was";
    ZUriDestroyMark(source);
    ZUriDestroyMark(result);
}

}  // namespace

namespace {

TEST_F(PlacementTest, MarksTheEngineDoesNotKnowCopyAndChangeNothing)
{
    Append(MakeLine(0, 0, 1, 1));
    struct {
        void* db;
        int rest[8];
    } fake{drawing.db(), {}};
    EXPECT_EQ(Send(WM_CADDB_APPEND, 0, reinterpret_cast<LPARAM>(&fake)), 0);
    EXPECT_EQ(Send(WM_CADDB_CHANGE, 2, reinterpret_cast<LPARAM>(&fake)), 0);
    EXPECT_EQ(Send(WM_CADDB_MEM_CHANGE, reinterpret_cast<WPARAM>(drawing.db()), reinterpret_cast<LPARAM>(&fake)), 0);
    drawing.record.modified = 0;
    EXPECT_EQ(Send(WM_CADDB_MARK_MEMBERS, 1, reinterpret_cast<LPARAM>(&fake)), 1);
    EXPECT_EQ(drawing.record.modified, 0);
    EXPECT_EQ(Send(WM_CADDB_DELETE_MARKED, 0, reinterpret_cast<LPARAM>(&fake)), 1) << "nothing to delete";
    EXPECT_EQ(ElementCount(), 1);
}

}  // namespace
