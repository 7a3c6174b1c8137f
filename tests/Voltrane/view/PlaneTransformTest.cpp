#include "GTest.h"

#include <cmath>
#include <cstring>

#include "EngineRecords.h"
#include "view/PlaneTransform.h"

namespace {

const double kPi = 3.14159265358979323846;

Point3d P(double x, double y) { return Point3d{x, y, 0.0}; }

// The tables below are written for a length tolerance of 1e-5.
struct LengthTolerance {
    explicit LengthTolerance(double eps) : saved(GetLengthTolerance()) { SetLengthTolerance(eps); }
    ~LengthTolerance() { SetLengthTolerance(saved); }
    double saved;
};

double Get(const unsigned char* r, int offset)
{
    double v;
    std::memcpy(&v, r + offset, 8);
    return v;
}

void Put(unsigned char* r, int offset, double v) { std::memcpy(r + offset, &v, 8); }

// A turn by 90 degrees about (1, 1), doubled, then moved by (10, 0).
Transform2D TurnScaleMove()
{
    return Transform2D{2.0, 0.0, -1.0, 1.0, 0.0, 1.0, 1.0, 10.0, 0.0};
}

struct RecordCase {
    int type;
    // Offsets of points that move, lengths that scale and angles that turn.
    int points[2];
    int lengths[4];
    int angles[2];
};

// Every listed value starts at a distinct number, so a wrong offset shows.
TEST(TransformElementRecord, MovesTurnsAndScalesByType)
{
    const RecordCase cases[] = {
        {kElementLine, {33, 57}, {}, {}},
        {kElementPoint, {33, 0}, {}, {}},
        {kElementCircle, {33, 0}, {57}, {}},
        {kElementArc, {33, 0}, {57}, {65, 73}},
        {kElementText, {112, 0}, {14, 22, 46, 62}, {30}},
        {kElementEllipse, {33, 57}, {}, {}},
        {kElementEllipticArc, {33, 57}, {}, {89, 97}},
    };
    const Transform2D t = TurnScaleMove();
    for (const RecordCase& c : cases) {
        unsigned char record[kElementRecordSize] = {};
        uint16_t type = static_cast<uint16_t>(c.type);
        std::memcpy(record, &type, 2);
        for (int off : c.points)
            if (off) {
                Put(record, off, 3.0);
                Put(record, off + 8, 1.0);
            }
        for (int off : c.lengths)
            if (off)
                Put(record, off, 1.5);
        for (int off : c.angles)
            if (off)
                Put(record, off, 0.25);
        TransformElementRecord(record, t);
        for (int off : c.points)
            if (off) {
                // (3, 1) - (1, 1) = (2, 0); turned (0, 2); doubled (0, 4); moved (10, 4).
                EXPECT_NEAR(Get(record, off), 10.0, 1e-12) << "type " << c.type << " at " << off;
                EXPECT_NEAR(Get(record, off + 8), 4.0, 1e-12) << "type " << c.type << " at " << off;
            }
        for (int off : c.lengths) {
            if (off) {
                EXPECT_DOUBLE_EQ(Get(record, off), 3.0) << "type " << c.type << " at " << off;
            }
        }
        for (int off : c.angles) {
            if (off) {
                EXPECT_NEAR(Get(record, off), 0.25 + kPi / 2, 1e-12) << "type " << c.type << " at " << off;
            }
        }
    }
}

TEST(TransformElementRecord, OtherTypesAreKept)
{
    for (int type : {0, 8, 21, 22, 31, 32}) {
        unsigned char record[kElementRecordSize];
        for (int i = 0; i < kElementRecordSize; ++i)
            record[i] = static_cast<unsigned char>(i * 7);
        uint16_t t16 = static_cast<uint16_t>(type);
        std::memcpy(record, &t16, 2);
        unsigned char before[kElementRecordSize];
        std::memcpy(before, record, sizeof record);
        TransformElementRecord(record, TurnScaleMove());
        EXPECT_EQ(0, std::memcmp(before, record, sizeof record)) << "type " << type;
    }
}

TEST(AngleOfVector, SnapsToTheAxesWithinTheTolerance)
{
    LengthTolerance eps(1e-5);
    EXPECT_EQ(AngleOfVector(0.0, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(AngleOfVector(5.0, 1e-7), kPi / 2);
    EXPECT_DOUBLE_EQ(AngleOfVector(-5.0, 1e-7), -kPi / 2);
    EXPECT_DOUBLE_EQ(AngleOfVector(1e-7, -3.0), kPi);
    EXPECT_DOUBLE_EQ(AngleOfVector(-1e-7, 3.0), 0.0);
    EXPECT_DOUBLE_EQ(AngleOfVector(1.0, 1.0), kPi / 4);
}

TEST(IsInDirection, IsStrictAndCaseSensitive)
{
    const Point3d from = P(1, 1);
    EXPECT_EQ(IsInDirection("UP", from, P(1, 2)), 1);
    EXPECT_EQ(IsInDirection("UP", from, P(5, 1)), 0);  // level is not "up"
    EXPECT_EQ(IsInDirection("DOWN", from, P(1, 0)), 1);
    EXPECT_EQ(IsInDirection("LEFT", from, P(0, 9)), 1);
    EXPECT_EQ(IsInDirection("RIGHT", from, P(1, 9)), 0);
    EXPECT_EQ(IsInDirection("up", from, P(1, 2)), 0);
    EXPECT_EQ(IsInDirection(nullptr, from, P(1, 2)), 0);
}

struct LinesCase {
    const char* name;
    Point3d a, b, u, v;
    int result;
    Point3d expected;
};

TEST(IntersectLines, CoversEveryPairOfKinds)
{
    LengthTolerance eps(1e-5);
    const LinesCase cases[] = {
        {"vertical x vertical", P(1, 0), P(1, 5), P(2, 0), P(2, 5), 0, {}},
        {"vertical x horizontal", P(1, 0), P(1, 5), P(0, 3), P(9, 3), 1, P(1, 3)},
        {"vertical x oblique", P(1, 0), P(1, 5), P(0, 0), P(2, 4), 1, P(1, 2)},
        {"horizontal x vertical", P(0, 2), P(5, 2), P(4, 0), P(4, 9), 1, P(4, 2)},
        {"horizontal x oblique", P(0, 2), P(5, 2), P(0, 0), P(2, 4), 1, P(1, 2)},
        {"horizontal x horizontal", P(0, 2), P(5, 2), P(0, 3), P(5, 3), 0, {}},
        {"oblique x vertical", P(0, 0), P(1, 1), P(3, 0), P(3, 1), 1, P(3, 3)},
        {"oblique x horizontal", P(0, 0), P(1, 2), P(0, 4), P(1, 4), 1, P(2, 4)},
        {"oblique x oblique", P(0, 0), P(1, 1), P(0, 2), P(2, 0), 1, P(1, 1)},
        {"parallel oblique", P(0, 0), P(1, 1), P(0, 1), P(1, 2), 0, {}},
        {"near parallel within eps", P(0, 0), P(1, 1), P(0, 1), P(1, 2.000001), 0, {}},
    };
    for (const LinesCase& c : cases) {
        Point3d out = P(-99, -99);
        ASSERT_EQ(IntersectLines(&out, c.a, c.b, c.u, c.v), c.result) << c.name;
        if (c.result) {
            EXPECT_NEAR(out.x, c.expected.x, 1e-12) << c.name;
            EXPECT_NEAR(out.y, c.expected.y, 1e-12) << c.name;
        }
    }
}

struct CircleCase {
    const char* name;
    Point3d a, b;
    int result;
    Point3d p, q;
};

TEST(IntersectSegmentCircle, CountsCrossingsOnTheSegment)
{
    LengthTolerance eps(1e-5);
    // The unit circle about (2, 2).
    const Point3d centre = P(2, 2);
    const double h = std::sqrt(0.75);
    const CircleCase cases[] = {
        {"vertical through", P(2.5, 0), P(2.5, 4), 2, P(2.5, 2 + h), P(2.5, 2 - h)},
        {"vertical only lower crossing", P(2.5, 0), P(2.5, 2), 1, P(2.5, 2 - h), {}},
        {"vertical only upper crossing", P(2.5, 2), P(2.5, 9), 1, P(2.5, 2 + h), {}},
        {"vertical outside", P(3.5, 0), P(3.5, 4), 0, {}, {}},
        {"vertical tangent", P(3, 0), P(3, 4), 1, P(3, 2), P(3, 2)},
        {"vertical tangent off the segment", P(3, 3), P(3, 4), 0, {}, {}},
        {"horizontal through", P(0, 2), P(4, 2), 2, P(3, 2), P(1, 2)},
        {"horizontal only right", P(2, 2), P(4, 2), 1, P(3, 2), {}},
        {"horizontal tangent", P(0, 3), P(4, 3), 1, P(2, 3), P(2, 3)},
        {"oblique through centre", P(0, 0), P(4, 4), 2,
         P(2 + std::sqrt(0.5), 2 + std::sqrt(0.5)), P(2 - std::sqrt(0.5), 2 - std::sqrt(0.5))},
        {"oblique missing", P(0, 4), P(1, 9), 0, {}, {}},
        {"oblique tangent", P(2 + std::sqrt(2.0), 2), P(2, 2 + std::sqrt(2.0)), 1,
         P(2 + std::sqrt(0.5), 2 + std::sqrt(0.5)), {}},
    };
    for (const CircleCase& c : cases) {
        Point3d p = P(-99, -99), q = P(-99, -99);
        ASSERT_EQ(IntersectSegmentCircle(&p, &q, c.a, c.b, centre, 1.0), c.result) << c.name;
        if (c.result >= 1) {
            EXPECT_NEAR(p.x, c.p.x, 1e-6) << c.name;
            EXPECT_NEAR(p.y, c.p.y, 1e-6) << c.name;
        }
        if (c.result == 2) {
            EXPECT_NEAR(q.x, c.q.x, 1e-6) << c.name;
            EXPECT_NEAR(q.y, c.q.y, 1e-6) << c.name;
        }
    }
}

struct EllipseCase {
    const char* name;
    Point3d a, b, centre, axis;
    double ratio;
    int result;
    Point3d p, q;
};

TEST(IntersectSegmentEllipse, CountsCrossingsOnTheSegment)
{
    LengthTolerance eps(1e-5);
    const EllipseCase cases[] = {
        // Major radius 2 along x, minor 1, about the origin.
        {"horizontal through", P(-5, 0), P(5, 0), P(0, 0), P(2, 0), 0.5, 2, P(2, 0), P(-2, 0)},
        {"vertical through", P(0, -5), P(0, 5), P(0, 0), P(2, 0), 0.5, 2, P(0, 1), P(0, -1)},
        {"vertical outside", P(3, -5), P(3, 5), P(0, 0), P(2, 0), 0.5, 0, {}, {}},
        {"half segment", P(0, 0), P(5, 0), P(0, 0), P(2, 0), 0.5, 1, P(2, 0), {}},
        {"missing", P(-5, 2), P(5, 2), P(0, 0), P(2, 0), 0.5, 0, {}, {}},
        // The same ellipse turned by 90 degrees about (1, 1): major axis along y.
        {"turned major axis", P(1, -9), P(1, 9), P(1, 1), P(1, 3), 0.5, 2, P(1, 3), P(1, -1)},
        {"turned minor axis", P(-9, 1), P(9, 1), P(1, 1), P(1, 3), 0.5, 2, P(2, 1), P(0, 1)},
        {"degenerate major radius", P(-5, 0), P(5, 0), P(0, 0), P(0, 0), 0.5, 0, {}, {}},
        {"degenerate minor radius", P(-5, 0), P(5, 0), P(0, 0), P(2, 0), 0.0, 0, {}, {}},
    };
    for (const EllipseCase& c : cases) {
        Point3d p = P(-99, -99), q = P(-99, -99);
        ASSERT_EQ(IntersectSegmentEllipse(&p, &q, c.a, c.b, c.centre, c.axis, c.ratio), c.result)
            << c.name;
        // The two crossings may come in either order: compare as a set.
        if (c.result == 1) {
            EXPECT_NEAR(p.x, c.p.x, 1e-6) << c.name;
            EXPECT_NEAR(p.y, c.p.y, 1e-6) << c.name;
        }
        if (c.result == 2) {
            const bool direct = std::fabs(p.x - c.p.x) < 1e-6 && std::fabs(p.y - c.p.y) < 1e-6 &&
                                std::fabs(q.x - c.q.x) < 1e-6 && std::fabs(q.y - c.q.y) < 1e-6;
            const bool swapped = std::fabs(q.x - c.p.x) < 1e-6 && std::fabs(q.y - c.p.y) < 1e-6 &&
                                 std::fabs(p.x - c.q.x) < 1e-6 && std::fabs(p.y - c.q.y) < 1e-6;
            EXPECT_TRUE(direct || swapped) << c.name << ": (" << p.x << ", " << p.y << ") ("
                                           << q.x << ", " << q.y << ")";
        }
    }
}

}  // namespace
