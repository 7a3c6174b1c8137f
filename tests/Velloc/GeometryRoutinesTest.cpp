// The geometry routines with their tolerance area and error records, and the guarded plane
// functions.
#include "GTest.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "EngineRecords.h"
#include "GeometryRoutines.h"

namespace {

constexpr double kTwoPi = 2.0 * kGeoPi;

void ExpectError(const char* routine, int code, const char* message)
{
    EXPECT_STREQ(LastGeometryError().routine, routine);
    EXPECT_EQ(LastGeometryError().code, code);
    EXPECT_STREQ(LastGeometryError().message, message);
}

TEST(GeometryInitTest, TolerancesOutsideTheRangeFail)
{
    const double good[2] = {0.1, 0.0};
    EXPECT_EQ(VyCAL_INIT(good), 1);
    EXPECT_STREQ(GeometryInitMarker(), "初期化成功");
    EXPECT_EQ(LastGeometryError().code, 1);

    const double badLength[2] = {0.2, 0.001};
    EXPECT_EQ(VyCAL_INIT(badLength), 0);
    ExpectError("VyCAL_INI", 101, "寸法許容誤差が範囲外！");
    EXPECT_STREQ(GeometryInitMarker(), "初期化失敗");
    double p[2], q[2];
    EXPECT_EQ(VyCAL2PAR(0, 0, 0, 1, 0, 1, p, q), 0);
    ExpectError("VyCAL2PAR", 100, "図形演算共通エリアが初期化されていない！");

    const double badAngle[2] = {0.01, -0.5};
    EXPECT_EQ(VyCAL_INIT(badAngle), 0);
    ExpectError("VyCAL_INI", 102, "角度許容誤差が範囲外！");
    const double notANumber[2] = {std::numeric_limits<double>::quiet_NaN(), 0.0};
    EXPECT_EQ(VyCAL_INIT(notANumber), 0);
}

class GeometryRoutinesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const double tolerances[2] = {1e-6, 0.01};
        ASSERT_EQ(VyCAL_INIT(tolerances), 1);
    }
};

TEST_F(GeometryRoutinesTest, ArcEndPoints)
{
    struct Case {
        double radius, start, end;
        int result, code;
    };
    const Case cases[] = {
        {2.0, 0.0, kTwoPi, 1, 0},
        {2.0, 0.0, kTwoPi + 0.01, 1, 0},
        {2.0, 6.28, 0.001, 0, 103},
        {0.0, 0.0, 1.0, 0, 101},
        {2.0, -0.5, 1.0, 0, 102},
        {2.0, 0.0, 7.0, 0, 102},
        {2.0, 1.0, 1.005, 0, 103},
    };
    for (const Case& c : cases) {
        double p[2] = {9, 9};
        double q[2] = {9, 9};
        EXPECT_EQ(VyCAL2PAR(1.0, 1.0, 0.0, c.radius, c.start, c.end, p, q), c.result) << c.start << " " << c.end;
        if (c.result == 0) {
            EXPECT_EQ(LastGeometryError().code, c.code);
            EXPECT_EQ(p[0], 0.0);
            EXPECT_EQ(q[1], 0.0);
        }
    }
    double p[2], q[2];
    ASSERT_EQ(VyCAL2PAR(1.0, 1.0, 0.0, 2.0, 0.0, kGeoPi / 2.0, p, q), 1);
    EXPECT_NEAR(p[0], 3.0, 1e-12);
    EXPECT_NEAR(q[1], 3.0, 1e-12);
    EXPECT_EQ(VyCAL2PAR(0, 0, 0, 1, 0, 1, p, q), 1);
    EXPECT_EQ(VyCAL2PAR(0, 0, 0, 0.0, 0, 1, p, q), 0);
    ExpectError("VyCAL2PAR", 101, "円弧の半径がＥＰＳ以下である！");
    EXPECT_EQ(VyCAL2PAR(0, 0, 0, 1, 0, 9, p, q), 0);
    ExpectError("VyCAL2PAR", 102, "円弧の始終角が範囲(0<=RAD<=2PAI)外である！");
    EXPECT_EQ(VyCAL2PAR(0, 0, 0, 1, 1, 1, p, q), 0);
    ExpectError("VyCAL2PAR", 103, "円弧の始角と終角のなす角がＥＰＳ以下である！");
}

TEST_F(GeometryRoutinesTest, PointRotationDistanceAndTheirErrors)
{
    double point[2] = {2.0, 1.0};
    EXPECT_EQ(VyPointRotScl(point, 1.0, 1.0, 0.0, kGeoPi / 2.0, 2.0), 1);
    EXPECT_NEAR(point[0], 1.0, 1e-12);
    EXPECT_NEAR(point[1], 3.0, 1e-12);
    EXPECT_EQ(VyPointRotScl(point, 0, 0, 0, 0, -1.0), 0);
    ExpectError("VyPointRo", 101, "指定された倍率が０である！");

    double distance = 7;
    EXPECT_EQ(VyCAL2DPP(0, 0, 0, 3, 4, 9, &distance), 1);
    EXPECT_EQ(distance, 5.0);
    EXPECT_EQ(VyCAL2DPP(1, 1, 0, 1, 1, 5, &distance), 0);
    EXPECT_EQ(distance, 0.0);
    ExpectError("VyCAL2DPP", 101, "指定された２点が同一である！");
}

TEST_F(GeometryRoutinesTest, ElementOffsetAndRotationByType)
{
    ArcRecord arc{};
    arc.header[0] = kElementArc;
    arc.cx = 1.0;
    arc.radius = 2.0;
    arc.startAngle = 0.5;
    arc.endAngle = kTwoPi - 0.1;
    EXPECT_EQ(VyElemRotScl(&arc, 0, 0, 0, 0.5, 3.0), 1);
    EXPECT_NEAR(arc.cx, 3.0 * std::cos(0.5), 1e-12);
    EXPECT_EQ(arc.radius, 6.0);
    EXPECT_EQ(arc.startAngle, 1.0);
    EXPECT_NEAR(arc.endAngle, 0.4, 1e-12);  // wrapped once
    EXPECT_EQ(VyElemOffset(&arc, 1.0, 2.0), 1);
    EXPECT_NEAR(arc.cy, 3.0 * std::sin(0.5) + 2.0, 1e-12);

    TextRecord text{};
    text.header[0] = kElementText;
    text.height = 10;
    text.x = 1;
    EXPECT_EQ(VyElemRotScl(&text, 0, 0, 0, 0.0, 2.0), 1);
    EXPECT_EQ(text.height, 20.0);
    EXPECT_EQ(text.x, 2.0);
    EXPECT_EQ(VyElemOffset(&text, 1, 1), 1);
    EXPECT_EQ(text.y, 1.0);

    FigureReferenceRecord figure{};
    figure.header[0] = 32;
    figure.scaleX = 1.0;
    figure.x = 1.0;
    EXPECT_EQ(VyElemRotScl(&figure, 0, 0, 0, 1.0, 2.0), 1);
    EXPECT_EQ(figure.scaleX, 2.0);
    EXPECT_EQ(figure.angle, 1.0);

    ElementRecord unknown{};
    unknown.type = 21;
    EXPECT_EQ(VyElemOffset(&unknown, 1, 1), 0);
    ExpectError("VyElemOff", 101, "未対応要素！");
    EXPECT_EQ(VyElemRotScl(&unknown, 0, 0, 0, 0, 1), 0);
    ExpectError("VyElemRot", 101, "未対応要素！");
}

TEST(PlaneFunctionsTest, GuardedAnglesAndDistances)
{
    EXPECT_NEAR(NormalizeAngle(-0.5), kTwoPi - 0.5, 1e-12);
    // 100 folds first to 100 - 32 pi (about -0.53), which then gains 2 pi.
    EXPECT_NEAR(NormalizeAngle(100.0), 100.0 - 32.0 * kGeoPi + kTwoPi, 1e-9);
    EXPECT_EQ(NormalizeAngle(kTwoPi), 0.0);
    EXPECT_NEAR(NormalizeAngle(-100.0), -100.0 + 32.0 * kGeoPi, 1e-9);
    EXPECT_NEAR(NormalizeAngle(60.0), 60.0 - 18.0 * kGeoPi, 1e-12);  // within 20 pi: no folding

    struct Atan2Case {
        double y, x, expected;
    };
    const Atan2Case atan2Cases[] = {
        {0.0, 0.0, 0.0},   {1e101, 1e101, 0.0},        {1.0, 1e-16, kGeoPi / 2.0},
        {-1.0, 0.0, -kGeoPi / 2.0}, {1e-16, -1.0, kGeoPi}, {1e-16, 1.0, 0.0},
        {1.0, 1.0, kGeoPi / 4.0},
    };
    for (const Atan2Case& c : atan2Cases) EXPECT_NEAR(SafeAtan2(c.y, c.x), c.expected, 1e-15) << c.y << "," << c.x;

    EXPECT_EQ(Atan2Exact(0, 0), 0.0);
    EXPECT_EQ(Atan2Exact(0, 1), kGeoPi / 2.0);
    EXPECT_EQ(Atan2Exact(-1, 0), kGeoPi);
    EXPECT_EQ(Atan2Exact(0, -1), -kGeoPi / 2.0);

    EXPECT_EQ(Distance2D(GeoVector(0, 0, 0), GeoVector(1e-8, 0, 0)), 0.0);
    EXPECT_EQ(Distance2D(GeoVector(0, 0, 0), GeoVector(1e60, 0, 0)), 1e50);
    EXPECT_EQ(Distance2D(GeoVector(0, 0, 0), GeoVector(3, 4, 7)), 5.0);
    EXPECT_EQ(DirectionAngle(GeoVector(1, 1, 0), GeoVector(1, 1, 5)), 0.0);

    EXPECT_TRUE(IsNotFinite(std::numeric_limits<double>::infinity()));
    EXPECT_TRUE(IsNotFinite(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(IsNotFinite(1e308));
    EXPECT_EQ(EllipseParamAngle(0.0, 1.0, 0.0, 1.0), 0.0);
}

TEST(PlaneFunctionsTest, EllipsePointInADirection)
{
    EllipseRecord ellipse{};
    ellipse.header[0] = kElementEllipse;
    ellipse.cx = 100.0;
    ellipse.cy = 50.0;
    ellipse.ax = 110.0;  // major radius 10 along x
    ellipse.ay = 50.0;
    ellipse.ratio = 0.5;
    GeoVector p = GetEllipsePointAt(&ellipse, GeoVector(0, 1, 0));
    EXPECT_NEAR(p.x - 100.0, 0.0, 1e-9);
    EXPECT_NEAR(p.y - 50.0, 5.0, 1e-9);
    p = GetEllipsePointAt(&ellipse, GeoVector(-1, 0, 0));
    EXPECT_NEAR(p.x - 100.0, -10.0, 1e-9);

    double major = 0, minor = 0;
    GeoVector direction;
    ellipse.ratio = 2.0;
    EllipseAxesFromRecord(&ellipse, &major, &minor, &direction);
    EXPECT_EQ(major, 20.0);
    EXPECT_EQ(minor, 10.0);
    EXPECT_NEAR(direction.y, 1.0, 1e-12);

    ellipse.cx = std::numeric_limits<double>::infinity();
    p = GetEllipsePointAt(&ellipse, GeoVector(0, 1, 0));
    EXPECT_EQ(p.x, 1e10);
    EXPECT_EQ(p.y, 1e10);
}

}  // namespace
