// Extents of elements of every type, computed from real engine elements.
#include "ElementServiceFixture.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "HostMessages.h"
#include "commands/ElementExtents.h"
#include "commands/HostServiceFamilies.h"

namespace {

constexpr double kPi = 3.141592653589793;
double Deg(double d) { return d * kPi / 180.0; }

ElementRecord Arc(double cx, double cy, double r, double s, double e, int clockwise)
{
    ArcRecord a{};
    SetHeader(a.header, kElementArc);
    a.cx = cx, a.cy = cy, a.radius = r, a.startAngle = s, a.endAngle = e;
    a.clockwise = static_cast<uint16_t>(clockwise);
    a.nz = 1;
    return AsRecord(a);
}

ElementRecord Ellipse(double cx, double cy, double ax, double ay, double ratio, int type = kElementEllipse,
                      double s = 0, double e = 0, int swapped = 0)
{
    EllipticArcRecord el{};
    SetHeader(el.header, static_cast<uint16_t>(type));
    el.cx = cx, el.cy = cy, el.ax = ax, el.ay = ay, el.ratio = ratio;
    if (type == kElementEllipticArc) {
        el.startAngle = s, el.endAngle = e, el.swapped = static_cast<uint16_t>(swapped);
        el.nz = 1;
    } else {
        // An ellipse keeps its normal at 89..105.
        const double one = 1.0;
        std::memcpy(reinterpret_cast<uint8_t*>(&el) + 105, &one, 8);
    }
    return AsRecord(el);
}

struct ExtentCase {
    const char* name;
    std::function<ElementRecord()> make;
    int answer;
    SearchBox box;
    double tolerance;
};

class ExtentTest : public ElementServiceTest, public ::testing::WithParamInterface<ExtentCase> {};

TEST_P(ExtentTest, BoxByType)
{
    const ExtentCase& c = GetParam();
    GetElementServiceState().keepFields = 1;
    ElementRecord record = c.make();
    void* element = Append(record);
    ASSERT_NE(element, nullptr);
    CmdParamRecord p{};
    p.element = reinterpret_cast<INT_PTR>(element);
    p.value1 = reinterpret_cast<INT_PTR>(drawing.db());
    SearchBox box{1, 1, 1, 1};
    p.record = reinterpret_cast<INT_PTR>(&box);
    EXPECT_EQ(Send(WM_CAD_ELEMENT_EXTENT, 0, p), c.answer);
    EXPECT_NEAR(box.left, c.box.left, c.tolerance);
    EXPECT_NEAR(box.top, c.box.top, c.tolerance);
    EXPECT_NEAR(box.right, c.box.right, c.tolerance);
    EXPECT_NEAR(box.bottom, c.box.bottom, c.tolerance);
}

const double kR = 10;
const double kC10 = 10 * std::cos(Deg(10)), kS10 = 10 * std::sin(Deg(10));

INSTANTIATE_TEST_SUITE_P(
    Types, ExtentTest,
    ::testing::Values(
        ExtentCase{"Line", [] { return MakeLine(5, 7, 1, 9); }, 1, {1, 9, 5, 7}, 0},
        ExtentCase{"Point", [] { return MakePoint(3, 4); }, 1, {3, 4, 3, 4}, 0},
        ExtentCase{"Circle", [] { return MakeCircle(1, 2, 3); }, 1, {-2, 5, 4, -1}, 0},
        ExtentCase{"ArcCounterClockwiseOverZero", [] { return Arc(0, 0, kR, Deg(350), Deg(10), 0); }, 1,
                   {kC10, kS10, kR, -kS10}, 1e-9},
        ExtentCase{"ArcClockwiseSameBox", [] { return Arc(0, 0, kR, Deg(10), Deg(350), 1); }, 1,
                   {kC10, kS10, kR, -kS10}, 1e-9},
        ExtentCase{"ArcHugeAnglesEnd", [] { return Arc(0, 0, kR, 1e300, -1e300, 0); }, 1, {0, 0, 0, 0}, kR},
        ExtentCase{"FullEllipseRotated45", [] { return Ellipse(0, 0, 10 / std::sqrt(2.0), 10 / std::sqrt(2.0), 0.5); },
                   1, {-std::sqrt(62.5), std::sqrt(62.5), std::sqrt(62.5), -std::sqrt(62.5)}, 0.05},
        ExtentCase{"EllipticArcFromTheMajorAxis",
                   [] { return Ellipse(0, 0, 10, 0, 0.5, kElementEllipticArc, 0, kPi / 2); }, 1, {0, 5, 10, 0}, 1e-9},
        ExtentCase{"EllipticArcHugeAngle",
                   [] { return Ellipse(0, 0, 10, 0, 0.5, kElementEllipticArc, 0, 1e300); }, 1, {0, 0, 0, 0}, 10},
        ExtentCase{"Raster", [] { ElementRecord r{}; r.type = kElementRaster; return r; }, 0, {0, 0, 0, 0}, 0}),
    [](const ::testing::TestParamInfo<ExtentCase>& info) { return std::string(info.param.name); });

SearchBox ExtentOf(void* element, void* db)
{
    SearchBox box{};
    EXPECT_EQ(GetElementExtent(nullptr, db, element, &box), 1);
    return box;
}

TEST_F(ElementServiceTest, CompositeTakesNestedMembersOnceThroughTheChain)
{
    ElementRecord head = MakeComposite(kElementGroup);
    void* h = Append(head);
    ElementRecord line = MakeLine(0, 0, 1, 1);
    ZUriAppendMemberElement(&line, h, drawing.db());
    ElementRecord inner = MakeComposite(kElementGroup);
    void* n = ZUriAppendMemberElement(&inner, h, drawing.db());
    ElementRecord circle = MakeCircle(10, 10, 2);
    ZUriAppendMemberElement(&circle, n, drawing.db());
    const SearchBox box = ExtentOf(h, drawing.db());
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.bottom, 0);
    EXPECT_EQ(box.right, 12);
    EXPECT_EQ(box.top, 12);
    void* empty = Append(MakeComposite(kElementComposite));
    const SearchBox none = ExtentOf(empty, drawing.db());
    EXPECT_EQ(none.right, 0);
}

TEST_F(ElementServiceTest, GroupInstanceRotatedBy90TurnsItsHeaderBox)
{
    FigureHeaderRecord header{};
    header.left = -5, header.top = 1, header.right = 5, header.bottom = -1;
    void* h = MakeFigureHeader(drawing.db(), header);
    ASSERT_NE(h, nullptr);
    FigureReferenceRecord ref = MakeInstanceRecord();
    ref.angle = kPi / 2;
    ref.x = 100, ref.y = 50;
    void* instance = ZUriAppendFgroup(h, &ref, drawing.db());
    ASSERT_NE(instance, nullptr);
    const SearchBox box = ExtentOf(instance, drawing.db());
    EXPECT_NEAR(box.left, 99, 1e-9);
    EXPECT_NEAR(box.right, 101, 1e-9);
    EXPECT_NEAR(box.bottom, 45, 1e-9);
    EXPECT_NEAR(box.top, 55, 1e-9);
}

TEST_F(ElementServiceTest, TextBoxHoldsTheEngineOutline)
{
    const TextRecord text = MakeVectorText("ABC", 10, 20);
    void* element = Append(AsRecord(text));
    ASSERT_NE(element, nullptr);
    TextOutlineCorner corners[4] = {};
    DicParamBlock request{};
    request.pointer334 = Node(element);
    request.pointer338 = corners;
    ASSERT_EQ(ZUriDicFunction(kDicTextOutline, &request), 1);
    const SearchBox box = ExtentOf(element, drawing.db());
    for (const auto& c : corners) {
        EXPECT_GE(c.x, box.left);
        EXPECT_LE(c.x, box.right);
        EXPECT_GE(c.y, box.bottom);
        EXPECT_LE(c.y, box.top);
    }
    EXPECT_GT(box.right - box.left, 0);
    EXPECT_GT(box.top - box.bottom, 0);
}

TEST(ElementExtentRecords, NonFiniteAnglesAnswerZeroAndHugeOnesEnd)
{
    SearchBox box{};
    EXPECT_EQ(GetArcExtent(Arc(0, 0, 10, std::numeric_limits<double>::quiet_NaN(), 1, 0), &box), 0);
    EXPECT_EQ(GetArcExtent(Arc(0, 0, 10, 0, std::numeric_limits<double>::infinity(), 1), &box), 0);
    EXPECT_EQ(GetEllipseExtent(Ellipse(0, 0, 10, 0, 0.5, kElementEllipticArc, 0, std::numeric_limits<double>::quiet_NaN()), &box), 0);
    EXPECT_EQ(GetArcExtent(Arc(0, 0, 10, 1e300, -1e300, 0), &box), 1);
    EXPECT_EQ(GetArcExtent(Arc(0, 0, 10, 1e300, -1e300, 1), &box), 1);
    EXPECT_EQ(GetEllipseExtent(Ellipse(0, 0, 10, 0, 0.5, kElementEllipticArc, -1e300, 1e300), &box), 1);
}

TEST_F(ElementServiceTest, ExtentOfNothingAnswersZero)
{
    SearchBox box{};
    EXPECT_EQ(GetElementExtent(nullptr, drawing.db(), nullptr, &box), 0);
    EXPECT_EQ(GetElementExtent(nullptr, drawing.db(), Append(MakePoint(0, 0)), nullptr), 0);
    CmdParamRecord p{};
    EXPECT_EQ(Send(WM_CAD_ELEMENT_EXTENT, 0, p), 0);
}

}  // namespace

namespace {

// The font service hands the plug-in's outline request to the engine in the one layout the
// engine reads, and the extents use the same.
TEST(TextOutlineLayout, TheFontServiceAndTheExtentsGetTheSameCorners)
{
    const TextRecord text = MakeVectorText("AB", 3, 4);
    DicFunctionRecord request{};
    std::memcpy(request.buffer24, &text, sizeof text);
    TextOutlineCorner viaMessage[4] = {};
    request.value682 = reinterpret_cast<INT_PTR>(viaMessage);
    EXPECT_EQ(CCadSysCmdFont::Serve(18, &request), 1);
    TextOutlineCorner direct[4] = {};
    ASSERT_EQ(GetPlacedTextOutline(direct, AsRecord(text), 0, 0, 0, 1, 0, 0), 1);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(viaMessage[i].x, direct[i].x);
        EXPECT_EQ(viaMessage[i].y, direct[i].y);
    }
    EXPECT_GT(direct[1].x, direct[0].x);
}

}  // namespace
