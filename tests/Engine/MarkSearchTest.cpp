#include "GTest.h"

#include "EngineFixture.h"

#include <vector>

namespace {

SearchPointRecord At(double x, double y)
{
    SearchPointRecord p{};
    p.x = x;
    p.y = y;
    return p;
}

// A stand-in for a view's drawing block: the database record at offset 20.
struct ViewBlock {
    uint8_t head[20] = {};
    void* db = nullptr;
    uint8_t rest[64] = {};
};

struct SearchDefaults {
    SearchBlock saved{};
    SearchDefaults()
    {
        ZUriDbGetSerch(&saved);
        SearchBlock all{};
        all.mode = 3;
        all.word2 = -1;
        ZUriDbSetSerch(&all);
    }
    ~SearchDefaults() { ZUriDbSetSerch(&saved); }
};

}  // namespace

TEST(MarkSearch, MarkOperations)
{
    TestDb t, other;
    ElementRecord a = MakeLine(0, 0, 1, 1);
    void* e1 = ZUriAppendElement(&a, t.db());
    void* e2 = ZUriAppendElement(&a, t.db());
    void* e3 = ZUriAppendElement(&a, t.db());
    void* foreign = ZUriAppendElement(&a, other.db());

    void* mark = ZUriCreateMark(t.db());
    ASSERT_NE(nullptr, mark);
    EXPECT_EQ(t.db(), *static_cast<void**>(mark));
    EXPECT_NE(0, t.record.marksExist);
    EXPECT_EQ(1, ZUriSetMark(e3, mark));
    EXPECT_EQ(1, ZUriSetMark(e1, mark));
    EXPECT_EQ(1, ZUriSetMark(e2, mark));
    EXPECT_EQ(1, ZUriSetMark(e1, mark));  // already there: no second entry
    EXPECT_EQ(0, ZUriSetMark(foreign, mark));
    EXPECT_EQ(3, ZUriGetMarkNum(mark));
    EXPECT_EQ(e3, ZUriGetNextMark(nullptr, mark));
    EXPECT_EQ(e1, ZUriGetNextMark(e3, mark));
    EXPECT_EQ(e2, ZUriGetNextMark(e1, mark));
    EXPECT_EQ(nullptr, ZUriGetNextMark(e2, mark));
    EXPECT_EQ(e2, ZUriGetBackMark(nullptr, mark));
    EXPECT_EQ(e3, ZUriGetBackMark(e1, mark));
    EXPECT_EQ(1, ZUriChkMark(e1, mark));
    EXPECT_EQ(1, ZUriDelMark(e1, mark));
    EXPECT_EQ(0, ZUriChkMark(e1, mark));
    EXPECT_EQ(e2, ZUriGetNextMark(e3, mark));
    // A deleted element leaves every mark.
    EXPECT_EQ(1, ZUriDeleteElement(e2, t.db()));
    EXPECT_EQ(1, ZUriGetMarkNum(mark));
    EXPECT_EQ(nullptr, ZUriGetNextMark(e3, mark));
    EXPECT_EQ(1, ZUriDestroyMark(mark));
    EXPECT_EQ(0, ZUriDestroyMark(mark));
    EXPECT_EQ(0, ZUriSetMark(e1, mark));
    EXPECT_EQ(0, ZUriGetMarkNum(mark));
    EXPECT_EQ(0, t.record.marksExist);
    EXPECT_EQ(nullptr, ZUriCreateMark(nullptr));
}

TEST(MarkSearch, NextWithMembersWalksIntoComposites)
{
    TestDb t;
    ElementRecord g = MakeComposite(), l = MakeLine(0, 0, 1, 1);
    void* plain = ZUriAppendElement(&l, t.db());
    void* group = ZUriAppendElement(&g, t.db());
    void* m1 = ZUriAppendMemberElement(&l, group, t.db());
    void* m2 = ZUriAppendMemberElement(&l, group, t.db());
    void* last = ZUriAppendElement(&l, t.db());
    void* mark = ZUriCreateMark(t.db());
    for (void* e : {plain, group, last}) ZUriSetMark(e, mark);
    std::vector<void*> seen;
    for (void* e = ZUriGetExtNextMark(nullptr, mark); e != nullptr; e = ZUriGetExtNextMark(e, mark)) {
        seen.push_back(e);
        ASSERT_LT(seen.size(), 10u);
    }
    EXPECT_EQ((std::vector<void*>{plain, group, m1, m2, last}), seen);
    ZUriDestroyMark(mark);
}

TEST(MarkSearch, SearchBlockRoundTrip)
{
    SearchBlock saved{}, block{}, back{};
    ZUriDbGetSerch(&saved);
    int words[7] = {3, 0x87FFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    std::memcpy(&block, words, sizeof words);
    EXPECT_EQ(1, ZUriDbSetSerch(&block));
    EXPECT_EQ(1, ZUriDbGetSerch(&back));
    EXPECT_EQ(0, std::memcmp(&block, &back, sizeof block));
    EXPECT_EQ(0, ZUriDbSetSerch(nullptr));
    ZUriDbSetSerch(&saved);
    int previous = QmSetLockLaySearchMode(1);
    EXPECT_EQ(1, QmGetLockLaySearchMode());
    QmSetLockLaySearchMode(previous);
}

TEST(MarkSearch, PointSearchesFindTheirKindOfPoint)
{
    SearchDefaults defaults;
    TestDb t;
    ElementRecord horizontal = MakeLine(0, 0, 10, 0), vertical = MakeLine(5, -5, 5, 5);
    ElementRecord circle = MakeCircle(20, 20, 2);
    void* h = ZUriAppendElement(&horizontal, t.db());
    ZUriAppendElement(&vertical, t.db());
    void* c = ZUriAppendElement(&circle, t.db());
    ViewBlock view;
    view.db = t.db();
    SearchPointRecord out{};

    // End point near (10, 0).
    out = {};
    ASSERT_EQ(1, ZUriSerchPoint(At(9.6, 0.3), &out, 0.5, t.db(), nullptr, &view, nullptr));
    EXPECT_DOUBLE_EQ(10.0, out.x);
    EXPECT_EQ(kSearchEndPoint, out.value2);
    EXPECT_EQ(static_cast<int32_t>(reinterpret_cast<uintptr_t>(h)), out.value1);
    EXPECT_EQ(0, ZUriSerchPoint(At(3, 3), &out, 0.5, t.db(), nullptr, &view, nullptr));
    // Mid point of the horizontal line.
    ASSERT_EQ(1, ZUriSerchPoint2(At(4.8, 0.1), &out, 0.5, &view, 0, nullptr));
    EXPECT_DOUBLE_EQ(5.0, out.x);
    EXPECT_DOUBLE_EQ(0.0, out.y);
    // Centre of the circle.
    ASSERT_EQ(1, ZUriSerchPoint2_2(At(20.3, 19.8), &out, 0.5, &view, nullptr));
    EXPECT_DOUBLE_EQ(20.0, out.x);
    EXPECT_EQ(kSearchCentre, out.value2);
    // Intersection of the two lines.
    ASSERT_EQ(1, ZUriSerchPoint3(At(5.2, 0.2), &out, 0.5, &view, nullptr));
    EXPECT_NEAR(5.0, out.x, 1e-9);
    EXPECT_NEAR(0.0, out.y, 1e-9);
    // Point on the circle.
    ASSERT_EQ(1, ZUriSerchPoint4(At(22.2, 20.0), &out, 0.5, &view, nullptr));
    EXPECT_NEAR(22.0, out.x, 1e-9);
    // A candidate mark limits the search to its elements.
    void* mark = ZUriCreateMark(t.db());
    ZUriSetMark(c, mark);
    EXPECT_EQ(0, ZUriSerchPoint(At(9.6, 0.3), &out, 0.5, t.db(), nullptr, &view, mark));
    EXPECT_EQ(1, ZUriSerchPoint2_2(At(20.1, 20.1), &out, 0.5, nullptr, mark));
    ZUriDestroyMark(mark);
    EXPECT_EQ(0, ZUriSerchPoint(At(9.6, 0.3), nullptr, 0.5, t.db(), nullptr, &view, nullptr));
}

TEST(MarkSearch, FrameAndPickSearches)
{
    SearchDefaults defaults;
    TestDb t;
    ElementRecord inside = MakeLine(1, 1, 2, 2), crossing = MakeLine(-10, 5, 10, 5), distant = MakeCircle(100, 100, 1);
    void* a = ZUriAppendElement(&inside, t.db());
    void* b = ZUriAppendElement(&crossing, t.db());
    ZUriAppendElement(&distant, t.db());

    SearchBox box = {0, 6, 6, 0};
    void* mark = ZUriGetWakuElement(&box, t.db(), nullptr);
    ASSERT_NE(nullptr, mark);
    EXPECT_EQ(2, ZUriGetMarkNum(mark));
    EXPECT_EQ(1, ZUriChkMark(a, mark));
    EXPECT_EQ(1, ZUriChkMark(b, mark));
    ZUriDestroyMark(mark);

    mark = ZUriGetWakuElementEx(&box, t.db(), nullptr, 1);
    EXPECT_EQ(1, ZUriGetMarkNum(mark));
    ZUriDestroyMark(mark);

    mark = ZUriGetWakuElement(nullptr, t.db(), nullptr);
    EXPECT_EQ(3, ZUriGetMarkNum(mark));
    ZUriDestroyMark(mark);

    int count = -1;
    void* hits = ZUriGetElementMarkByPointWithMark(0.0, 5.2, 0.0, 0.5, &count, t.db(), nullptr, nullptr);
    ASSERT_NE(nullptr, hits);
    EXPECT_EQ(1, count);
    EXPECT_EQ(b, ZUriGetNextMark(nullptr, hits));
    ZUriDestroyMark(hits);
    EXPECT_EQ(nullptr, ZUriGetElementMarkByPointWithMark(50.0, 50.0, 0.0, 0.5, &count, t.db(), nullptr, nullptr));
    EXPECT_EQ(0, count);

    // Lock-layer mode 1 keeps elements on locked layers out of the searches.
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, t.db()));
    info->layers.lockMask[0] = 1;
    int previous = QmSetLockLaySearchMode(1);
    mark = ZUriGetWakuElement(&box, t.db(), nullptr);
    EXPECT_EQ(0, ZUriGetMarkNum(mark));
    ZUriDestroyMark(mark);
    QmSetLockLaySearchMode(previous);
    info->layers.lockMask[0] = 0;

    // A page whose detect bit is clear is not searched.
    ElementRecord onPage = MakeLine(1, 1, 2, 2, 0, 3);
    ZUriAppendElement(&onPage, t.db());
    mark = ZUriGetWakuElement(&box, t.db(), nullptr);
    EXPECT_EQ(2, ZUriGetMarkNum(mark));
    ZUriDestroyMark(mark);
    t.record.pageState.detectMask[0] |= 1u << 3;
    mark = ZUriGetWakuElement(&box, t.db(), nullptr);
    EXPECT_EQ(3, ZUriGetMarkNum(mark));
    ZUriDestroyMark(mark);

    EngineDbRecord zeroed{};
    EXPECT_EQ(nullptr, ZUriGetWakuElement(&box, &zeroed, nullptr));
}

TEST(MarkSearch, TypeMaskChoosesElementClasses)
{
    SearchDefaults defaults;
    TestDb t;
    ElementRecord line = MakeLine(0, 0, 2, 2), group = MakeComposite(), raster{};
    raster.type = kElementRaster;
    RasterRecord r = Typed<RasterRecord>(raster);
    r.cx = 1, r.cy = 1, r.width = 1, r.height = 1;
    raster = AsRecord(r);
    void* l = ZUriAppendElement(&line, t.db());
    void* g = ZUriAppendElement(&group, t.db());
    ZUriAppendMemberElement(&line, g, t.db());
    void* ra = ZUriAppendElement(&raster, t.db());
    SearchBox box = {0, 2, 2, 0};
    struct Case {
        uint32_t mask;
        std::vector<void*> found;
    } cases[] = {
        {0x87FFF, {l, g}},
        {0xE7FFF, {l, g, ra}},
        {0x40000, {ra}},
        {0, {l, g, ra}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mask);
        SearchBlock block{};
        block.mode = 3;
        block.typeMask = c.mask;
        ZUriDbSetSerch(&block);
        void* mark = ZUriGetWakuElement(&box, t.db(), nullptr);
        std::vector<void*> found;
        for (void* e = ZUriGetNextMark(nullptr, mark); e != nullptr; e = ZUriGetNextMark(e, mark)) found.push_back(e);
        EXPECT_EQ(c.found, found);
        ZUriDestroyMark(mark);
    }
}
