// The input event record: plain writers overwrite, state-change notices never do, and the
// mask messages change only the mask.
#include "GTest.h"

#include "HostServiceTestWindow.h"
#include "commands/InputEvent.h"

namespace {

class InputEventTest : public ::testing::Test {
protected:
    void SetUp() override { GetInputEventRecord() = InputEventRecord(); }
    void TearDown() override { GetInputEventRecord() = InputEventRecord(); }
};

TEST_F(InputEventTest, NewerEventOverwritesAnUnreadOne)
{
    RaiseInputEvent(kEventPoint);
    RaiseInputEvent(kEventEscape);
    EXPECT_EQ(PendingInputEvent(), kEventEscape);
    ConsumeInputEvent();
    EXPECT_EQ(PendingInputEvent(), kEventNone);
}

TEST_F(InputEventTest, StateChangeNeverOverwritesAPendingEvent)
{
    struct Row { int32_t pending; int32_t notice; int32_t after; };
    const Row rows[] = {
        {kEventNone, kEventAttributesChanged, kEventAttributesChanged},
        {kEventNone, kEventViewActivated, kEventViewActivated},
        {kEventPanelItem, kEventAttributesChanged, kEventPanelItem},
        {kEventPoint, kEventViewActivated, kEventPoint},
    };
    for (const Row& row : rows) {
        GetInputEventRecord() = InputEventRecord();
        if (row.pending == kEventPanelItem) {
            RaisePanelEvent(kItemRadioButton, 1203, 2);
        } else {
            RaiseInputEvent(row.pending);
        }
        RaiseInputStateChange(row.notice);
        EXPECT_EQ(PendingInputEvent(), row.after);
        if (row.pending == kEventPanelItem) {
            EXPECT_EQ(GetInputEventRecord().kind, kItemRadioButton);
            EXPECT_EQ(GetInputEventRecord().item, 1203);
            EXPECT_EQ(GetInputEventRecord().value, 2);
        }
    }
}

TEST_F(InputEventTest, MaskMessagesClearAndAddBits)
{
    HostServiceTestWindow test;
    GetInputEventRecord().acceptMask = 0xFFFF;
    RaiseInputEvent(kEventPoint);
    EXPECT_EQ(test.Send(WM_CAD_CLEAR_EVENT_MASK), 1);
    EXPECT_EQ(GetInputEventRecord().acceptMask, 0u);
    EXPECT_EQ(test.Send(WM_CAD_ADD_EVENT_MASK, 0, kAcceptPlainPoint), 1);
    EXPECT_EQ(test.Send(WM_CAD_ADD_EVENT_MASK, 0, static_cast<LPARAM>(kAcceptLockLayerSearch)), 1);
    EXPECT_EQ(GetInputEventRecord().acceptMask, kAcceptPlainPoint | kAcceptLockLayerSearch);
    EXPECT_EQ(PendingInputEvent(), kEventPoint) << "the mask messages leave the event alone";
}

TEST_F(InputEventTest, PostDdeEventRaisesTheDdeTextEvent)
{
    HostServiceTestWindow test;
    EXPECT_EQ(test.Send(WM_CAD_POST_DDE_EVENT), 1);
    EXPECT_EQ(PendingInputEvent(), kEventDdeText);
}

}  // namespace
