#include "GTest.h"

#include <cstring>
#include <string>

#include "HostMessages.h"
#include "commands/CommandControlMessages.h"
#include "commands/CommandHost.h"
#include "commands/InputEvent.h"
#include "commands/ServiceCommands.h"
#include "panels/RightMenuPickList.h"

namespace {

class RightMenuPickListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearRightMenuPickList();
        ResetRightMenuPickList(0);
        SetRightClickEnterMode(0);
        SetRightMenuHideMask(0);
        GetInputEventRecord() = InputEventRecord();
    }
    void TearDown() override { SetUp(); }
    const RightMenuPickEntry& Entry(int n) { return GetRightMenuPickList()[n]; }
};

TEST_F(RightMenuPickListTest, AddFillsTheFirstFreeEntryAndCopiesTextAndValueOnlyForEntries)
{
    const struct {
        const char* text;
        int kind;
        int value;
        std::string storedText;
        int storedValue;
    } cases[] = {
        {"円", kPickEntry, 7, "円", 7},
        {"ignored", kPickSeparator, 9, "", 0},
        {"ignored", kPickColumnBreak, 9, "", 0},
        {nullptr, kPickEntry, 3, "", 3},
    };
    for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(AddRightMenuPickItem(c.text, c.kind, c.value), 1) << i;
        EXPECT_EQ(Entry(static_cast<int>(i)).kind, c.kind) << i;
        EXPECT_EQ(std::string(Entry(static_cast<int>(i)).text), c.storedText) << i;
        EXPECT_EQ(Entry(static_cast<int>(i)).value, c.storedValue) << i;
    }
}

TEST_F(RightMenuPickListTest, ThirtyNineEntriesFitAndTheFortiethIsRefused)
{
    for (int i = 0; i < kRightMenuPickCount; ++i) ASSERT_EQ(AddRightMenuPickItem("x", kPickEntry, i), 1) << i;
    EXPECT_EQ(AddRightMenuPickItem("y", kPickEntry, 99), 0);
    EXPECT_EQ(Entry(kRightMenuPickCount - 1).value, kRightMenuPickCount - 1);
}

TEST_F(RightMenuPickListTest, ALongTextIsCutAt79BytesOnACharacterBoundary)
{
    const std::string ascii(120, 'a');
    AddRightMenuPickItem(ascii.c_str(), kPickEntry, 1);
    EXPECT_EQ(std::strlen(Entry(0).text), 79u);
    // 'a' then double-byte characters: byte 79 would split one.
    std::string wide = "a";
    for (int i = 0; i < 50; ++i) wide += "円";
    AddRightMenuPickItem(wide.c_str(), kPickEntry, 2);
    EXPECT_EQ(std::strlen(Entry(1).text), 79u);
    std::string shifted = "ab";
    for (int i = 0; i < 50; ++i) shifted += "円";
    AddRightMenuPickItem(shifted.c_str(), kPickEntry, 3);
    EXPECT_EQ(std::strlen(Entry(2).text), 78u);
}

TEST_F(RightMenuPickListTest, ResetAfterACommandFreesEveryEntryAndKeepsTextsAndValues)
{
    EnableRightMenuPickList(1);
    AddRightMenuPickItem("A", kPickEntry, 5);
    AddRightMenuPickItem("", kPickSeparator, 0);
    EXPECT_EQ(RightMenuPickListHasItems(), 1);
    ResetRightMenuPickList(0);
    EXPECT_EQ(GetRightMenuState().pickSwitch, 0);
    EXPECT_EQ(RightMenuPickListHasItems(), 0);
    EXPECT_EQ(Entry(0).kind, kPickFree);
    EXPECT_STREQ(Entry(0).text, "A");
    EXPECT_EQ(Entry(0).value, 5);
    // A column break alone is no item of the list.
    AddRightMenuPickItem("", kPickColumnBreak, 0);
    EXPECT_EQ(RightMenuPickListHasItems(), 0);
}

TEST_F(RightMenuPickListTest, TheSwitchIsOnOnlyForOne)
{
    for (intptr_t value : {1, 0, 2, -1}) {
        EXPECT_EQ(EnableRightMenuPickList(value), 1);
        EXPECT_EQ(GetRightMenuState().pickSwitch, value == 1 ? 1 : 0) << value;
    }
}

TEST_F(RightMenuPickListTest, APickBecomesThePanelEventWithTheEntrysValueAnd1299DoesNothing)
{
    for (int i = 0; i < 3; ++i) AddRightMenuPickItem("x", kPickEntry, 100 + i);
    GetInputEventRecord().acceptMask = 0x2000;
    EXPECT_EQ(ExecuteServiceCommand(1262, 0, nullptr), 1);
    EXPECT_EQ(GetInputEventRecord().code, 0x2000);
    EXPECT_EQ(GetInputEventRecord().kind, 1);
    EXPECT_EQ(GetInputEventRecord().item, 102);
    EXPECT_EQ(GetInputEventRecord().acceptMask, 0x2000u);

    GetInputEventRecord() = InputEventRecord();
    EXPECT_EQ(ExecuteServiceCommand(1299, 0, nullptr), 1);
    EXPECT_EQ(GetInputEventRecord().code, 0);
    EXPECT_EQ(PostRightMenuPick(39), 0);
    EXPECT_EQ(PostRightMenuPick(-1), 0);
}

TEST_F(RightMenuPickListTest, TheHostMessagesReachTheList)
{
    CCommandControlServices& services = GetCommandControlServices();
    EXPECT_EQ(services.EnableRightMenuPickList(0, 1), 1);
    EXPECT_EQ(GetRightMenuState().pickSwitch, 1);
    EXPECT_EQ(services.AddRightMenuPickItem(0, "項目", kPickEntry, 42), 1);
    EXPECT_STREQ(Entry(0).text, "項目");
    EXPECT_EQ(services.ClearRightMenuPickList(), 1);
    EXPECT_EQ(Entry(0).kind, kPickFree);
    EXPECT_STREQ(Entry(0).text, "");
    EXPECT_EQ(Entry(0).value, 0);
}

TEST_F(RightMenuPickListTest, TheCommandSystemsResetReachesTheMenuSettings)
{
    CCommandHost& host = GetCommandHost();
    host.SetRightMenuHideMask(0, 15);
    EXPECT_EQ(GetRightMenuState().hideMask, 15);
    host.SetRightClickEnterMode(1);
    EXPECT_EQ(GetRightMenuState().enterMode, 1);
    EnableRightMenuPickList(1);
    AddRightMenuPickItem("A", kPickEntry, 1);
    host.ResetRightMenuPickList(0);
    host.SetRightClickEnterMode(0);
    host.SetRightMenuHideMask(0, 0);
    const RightMenuState& state = GetRightMenuState();
    EXPECT_EQ(state.pickSwitch, 0);
    EXPECT_EQ(state.enterMode, 0);
    EXPECT_EQ(state.hideMask, 0);
    EXPECT_EQ(RightMenuPickListHasItems(), 0);
}

}  // namespace
