#include "GTest.h"

#include "view/ViewCommands.h"

namespace {

TEST(ViewCommandTable, AttributeStepsWrap)
{
    struct {
        int (*wrap)(int);
        int value, expected;
    } cases[] = {
        {WrapColour, 257, 1},     {WrapColour, 0, 256},     {WrapColour, -5, 256}, {WrapColour, 256, 256},
        {WrapLineType, 32, 0},    {WrapLineType, -1, 31},   {WrapLineType, 31, 31},
        {WrapLineWidth, 16, 0},   {WrapLineWidth, -1, 15},  {WrapLineWidth, 0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.wrap(c.value), c.expected) << c.value;
}

TEST(ViewCommandTable, RangesOfTheTypedValues)
{
    EXPECT_TRUE(IsRealValue2InRange(10));
    EXPECT_FALSE(IsRealValue2InRange(10.5));
    EXPECT_FALSE(IsRealValue2InRange(0));
    EXPECT_TRUE(IsLayerInRange(255.9));
    EXPECT_FALSE(IsLayerInRange(256));
    EXPECT_FALSE(IsLayerInRange(-0.5));
}

TEST(ViewCommandTable, EveryViewIdAnswersOneButTheJumpArm)
{
    for (int id = 3000; id <= 3054; ++id) {
        // Ids that post to the frame or the tool panel find none here and change nothing.
        if (id == 3022) continue;
        int jump = 0;
        EXPECT_EQ(RunViewCommand(id, &jump), id == 3054 ? 0 : 1) << id;
        EXPECT_EQ(jump, id == 3054 ? 1 : 0) << id;
    }
}

TEST(ViewCommandTable, DirectionCommandEndsJumpModeFoundOrNot)
{
    int jump = 1;
    EXPECT_EQ(RunViewCommand(3001, &jump), 1);
    EXPECT_EQ(jump, 0);
}

}  // namespace
