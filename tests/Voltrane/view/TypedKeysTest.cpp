#include "GTest.h"

#include <string>

#include "commands/InputEvent.h"
#include "view/TypedKeys.h"
#include "view/ViewCommands.h"

namespace {

class TypedKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetTypedKeys();
        GetInputEventRecord() = InputEventRecord{};
    }
    void TearDown() override
    {
        SetKeyCommandTable(nullptr, 0);
        ResetTypedKeys();
        GetInputEventRecord() = InputEventRecord{};
    }
    static KeyCommandEntry Entry(uint8_t modifiers, int id, const char* name)
    {
        KeyCommandEntry entry{};
        entry.modifiers = modifiers;
        entry.commandId = id;
        std::snprintf(entry.keyName, sizeof entry.keyName, "%s", name);
        return entry;
    }
};

TEST_F(TypedKeys, KeyNames)
{
    struct {
        int key;
        const char* name;
    } cases[] = {{124, "[F13]"}, {112, "[F1]"}, {135, "[F24]"}, {121, "[F10]"}, {38, "[UP]"},
                 {33, "[RU]"}, {86, "[V]"}, {27, "[ESCAPE]"}, {136, nullptr}, {65, nullptr}};
    for (const auto& c : cases) {
        char buffer[16];
        const char* name = TypedKeyName(c.key, buffer, sizeof buffer);
        if (c.name == nullptr) EXPECT_EQ(name, nullptr) << c.key;
        else EXPECT_STREQ(name, c.name) << c.key;
    }
}

TEST_F(TypedKeys, AMatchingEntryRunsItsViewCommand)
{
    const KeyCommandEntry table[] = {Entry(0, 3041, "[F13]"), Entry(0, 3054, "[.]")};
    SetKeyCommandTable(table, 2);
    EXPECT_EQ(AppendTypedKeyName(nullptr, 124), 1);
    EXPECT_EQ(GetInputEventRecord().code, kEventPictureChanged);  // 3041 redraws
    EXPECT_STREQ(TypedKeyText(), "");
    // "." with an empty input field is a key of its own; 3054 answers 0, so jump mode stays.
    EXPECT_EQ(AppendTypedChar(nullptr, '.'), 1);
    EXPECT_EQ(ViewJumpMode(), 1);
}

TEST_F(TypedKeys, AKeyWithoutANameOnlyRunsTheMatcher)
{
    SetViewJumpMode(1);
    EXPECT_EQ(AppendTypedKeyName(nullptr, 136), 0);
    EXPECT_EQ(ViewJumpMode(), 0);  // nothing matched: jump mode ends
    EXPECT_STREQ(TypedKeyText(), "");
}

TEST_F(TypedKeys, DigitsAndMinusGoToTheInputField)
{
    EXPECT_EQ(AppendTypedChar(nullptr, '1'), 1);
    EXPECT_EQ(TypedKeyModifiers(), kTypedNumeric);
    EXPECT_EQ(MatchTypedKeys(), 1);  // numeric entry goes on
    EXPECT_EQ(TypedKeyModifiers(), kTypedNumeric);
    ResetTypedKeys();
    AppendTypedChar(nullptr, '-');
    EXPECT_EQ(TypedKeyModifiers(), kTypedNumeric);
}

TEST_F(TypedKeys, EqualsWithoutAnEntryArmsJumpMode)
{
    AppendTypedChar(nullptr, '=');
    EXPECT_EQ(ViewJumpMode(), 1);
    AppendTypedChar(nullptr, 'q');  // matches nothing: jump mode ends again
    EXPECT_EQ(ViewJumpMode(), 0);
}

TEST_F(TypedKeys, LettersAreUpperCasedAndModifiersMustMatch)
{
    const KeyCommandEntry table[] = {Entry(kTypedShift, 3041, "[Q]"), Entry(0, 3054, "[Q]")};
    SetKeyCommandTable(table, 2);
    AppendTypedChar(nullptr, 'q');
    EXPECT_EQ(ViewJumpMode(), 1);  // the entry without modifiers ran
    EXPECT_EQ(GetInputEventRecord().code, 0);
}

void PressKey(WORD key, bool down)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

TEST_F(TypedKeys, CtrlWithAnArrowArmsJumpModeForTheArrowsOwnCommand)
{
    PressKey(VK_CONTROL, true);
    const bool held = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    const int matched = AppendTypedKeyName(nullptr, VK_UP);
    const int modifiers = TypedKeyModifiers();
    PressKey(VK_CONTROL, false);
    ASSERT_TRUE(held) << "the synthesized Ctrl key did not arrive";
    EXPECT_EQ(matched, 0);
    EXPECT_EQ(ViewJumpMode(), 1);  // survives the arrow's own name matching nothing
    EXPECT_EQ(modifiers, 0);       // and Ctrl is not taken as a modifier
}

}  // namespace
