#include "GTest.h"

#include <cstring>
#include <vector>

#include "EngineRecords.h"
#include "view/DirectionSearch.h"
#include "view/PlaneTransform.h"

namespace {

Point3d P(double x, double y) { return Point3d{x, y, 0.0}; }

struct DirectionCase {
    const char* name;
    const char* direction;
    std::vector<Point3d> candidates;
    int found;
    Point3d expected;
};

TEST(ChooseNearestInDirection, StrictNearestFirstOnTies)
{
    const Point3d from = P(0, 0);
    const DirectionCase cases[] = {
        {"nearest above", "UP", {P(0, 5), P(0, 2), P(0, 9)}, 1, P(0, 2)},
        {"the cursor's own crossing is not found", "UP", {P(0, 0), P(0, 3)}, 1, P(0, 3)},
        {"below is not up", "UP", {P(0, -1)}, 0, {}},
        {"ties keep the first", "RIGHT", {P(4, 1), P(4, -1)}, 1, P(4, 1)},
        {"left", "LEFT", {P(3, 0), P(-2, 0), P(-1, 0)}, 1, P(-1, 0)},
        {"down", "DOWN", {P(0, -7), P(0, 7)}, 1, P(0, -7)},
        {"lower case finds nothing", "up", {P(0, 2)}, 0, {}},
        {"no candidates", "UP", {}, 0, {}},
    };
    for (const DirectionCase& c : cases) {
        Point3d out = P(-99, -99);
        ASSERT_EQ(ChooseNearestInDirection(c.direction, from, c.candidates, &out), c.found) << c.name;
        if (c.found) {
            EXPECT_EQ(out.x, c.expected.x) << c.name;
            EXPECT_EQ(out.y, c.expected.y) << c.name;
        } else {
            EXPECT_EQ(out.x, -99) << c.name << ": out unchanged";
        }
    }
}

std::vector<unsigned char> Record(uint16_t type, std::initializer_list<std::pair<int, double>> values)
{
    std::vector<unsigned char> r(kElementRecordSize, 0);
    std::memcpy(r.data(), &type, 2);
    for (const auto& v : values) std::memcpy(r.data() + v.first, &v.second, 8);
    return r;
}

TEST(AddElementCrossings, ByElementType)
{
    const double saved = GetLengthTolerance();
    SetLengthTolerance(1e-5);
    const Point3d from = P(0, 0), end = P(0, 100);  // a ray up the y axis
    struct Case {
        const char* name;
        std::vector<unsigned char> record;
        size_t count;
    } cases[] = {
        {"crossing line", Record(kElementLine, {{33, -5}, {41, 10}, {57, 5}, {65, 10}}), 1},
        {"line beside the ray", Record(kElementLine, {{33, 1}, {41, 10}, {57, 5}, {65, 10}}), 0},
        {"collinear line", Record(kElementLine, {{33, 0}, {41, 10}, {57, 0}, {65, 20}}), 0},
        {"circle crossed twice", Record(kElementCircle, {{33, 0}, {41, 50}, {57, 10}}), 2},
        // An arc is crossed as its whole circle.
        {"arc", Record(kElementArc, {{33, 0}, {41, 50}, {57, 10}, {65, 0}, {73, 0.1}}), 2},
        {"ellipse", Record(kElementEllipse, {{33, 0}, {41, 50}, {57, 20}, {65, 50}, {81, 0.5}}), 2},
        {"text", Record(kElementText, {{112, 0}, {120, 10}}), 0},
    };
    for (const Case& c : cases) {
        std::vector<Point3d> out;
        AddElementCrossings(c.record.data(), from, end, &out);
        EXPECT_EQ(out.size(), c.count) << c.name;
    }
    std::vector<Point3d> out;
    AddElementCrossings(cases[3].record.data(), from, end, &out);
    Point3d nearest;
    ASSERT_EQ(ChooseNearestInDirection("UP", from, out, &nearest), 1);
    EXPECT_NEAR(nearest.y, 40, 1e-9) << "the nearer of the two crossings";
    SetLengthTolerance(saved);
}

}  // namespace
