#include "GTest.h"

#include "../../Engine/EngineFixture.h"

#include "commands/CommandControlMessages.h"
#include "commands/InterruptCommands.h"
#include "view/ViewCommands.h"

namespace {

class KeptMark : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.created); }
    void TearDown() override { ReleaseKeptMark(1); }
    TestDb db;
};

TEST_F(KeptMark, TakingHandsTheMarkOverOnce)
{
    void* mark = ZUriCreateMark(db.db());
    SetKeptMark(mark);
    EXPECT_EQ(GetCommandControlServices().TakeKeptMark(), reinterpret_cast<INT_PTR>(mark));
    EXPECT_EQ(TakeKeptMark(), 0);
    ZUriDestroyMark(mark);
}

TEST_F(KeptMark, ReleaseModes)
{
    void* mark = ZUriCreateMark(db.db());
    const ElementRecord line = MakeLine(0, 0, 1, 1);
    ZUriSetMark(ZUriAppendElement(&line, db.db()), mark);
    SetKeptMark(mark);
    ReleaseKeptMark(5);  // no such mode: nothing
    EXPECT_EQ(::KeptMark(), mark);
    ReleaseKeptMark(0);  // forgotten, alive for whoever took it before
    EXPECT_EQ(::KeptMark(), nullptr);
    EXPECT_EQ(ZUriGetMarkNum(mark), 1);
    SetKeptMark(mark);
    ReleaseKeptMark(1);
    EXPECT_EQ(::KeptMark(), nullptr);
    EXPECT_EQ(ZUriGetMarkNum(mark), 0);  // destroyed: the engine no longer knows it
}

TEST(InterruptCommands, JumpArmThroughTheRouterUsesTheInterruptJumpMode)
{
    SetViewJumpMode(0);
    EXPECT_EQ(ExecuteViewCommandNotified(nullptr, 3054, 0), 0);
    EXPECT_EQ(IsInterruptJumpModeArmed(), 1);
    EXPECT_EQ(ViewJumpMode(), 0);
    // The next direction command ends it, found or not.
    ExecuteViewCommandNotified(nullptr, 3001, 0);
    EXPECT_EQ(IsInterruptJumpModeArmed(), 0);
}

TEST(InterruptCommands, EveryIdAnswersZeroAndNoneIsHandedOn)
{
    for (int id : {3017, 3041, 3054, 3310, 3408, 3999, 1211, 4000}) {
        EXPECT_EQ(ExecuteInterruptCommand(id, 0), 0) << id;
    }
    SetInterruptJumpModeArmed(0);
}

}  // namespace
