// The calculator's rules: key sequences and what the display shows, the sign rule of each
// mode, the result format and the key grid.
#include "GTest.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "dialogs/CalculatorState.h"

namespace {

// One character per key: digits, 'a' = 00, 'b' = 000, '.', '+', '-', '*', '/', '=',
// 'C' clear, 'K' OK, 'X' ｷｬﾝｾﾙ.
int KeyOf(char c)
{
    if (c >= '0' && c <= '9') return kCalcKey0 + (c - '0');
    switch (c) {
    case 'a': return kCalcKey00;
    case 'b': return kCalcKey000;
    case '.': return kCalcKeyPoint;
    case '+': return kCalcKeyAdd;
    case '-': return kCalcKeySubtract;
    case '*': return kCalcKeyMultiply;
    case '/': return kCalcKeyDivide;
    case '=': return kCalcKeyEquals;
    case 'C': return kCalcKeyClear;
    case 'K': return kCalcKeyOk;
    case 'X': return kCalcKeyCancel;
    default: return 0;
    }
}

CalcOutcome Press(CalculatorState& state, const char* keys)
{
    CalcOutcome last = CalcOutcome::None;
    for (const char* k = keys; *k; ++k) last = ApplyCalculatorKey(state, KeyOf(*k));
    return last;
}

struct SequenceCase {
    const char* keys;
    const char* display;
};

class CalculatorSequence : public testing::TestWithParam<SequenceCase> {};

TEST_P(CalculatorSequence, ShowsTheDisplay)
{
    CalculatorState state;
    ResetCalculatorState(state, 1, nullptr);
    Press(state, GetParam().keys);
    EXPECT_STREQ(state.display, GetParam().display) << "keys " << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CalculatorSequence,
    testing::Values(SequenceCase{"5+3=", "8"},
                    SequenceCase{"5+3", "3"},                // OK would take this as it stands
                    SequenceCase{"-5=", "-5"},               // a minus at the start signs the number
                    SequenceCase{"0.5*2=", "1"},
                    SequenceCase{"3-3-5=", "5"},             // subtraction from 0 gives the operand
                    SequenceCase{"7/0=", "7"},               // division skipped, accumulator shown
                    SequenceCase{"000", "0"},                // zeros at the start add nothing
                    SequenceCase{"5b", "5000"},
                    SequenceCase{"5a", "500"},
                    SequenceCase{"1/3=", "0.333333"},
                    SequenceCase{"5/2=", "2.5"},
                    SequenceCase{"1..5", "1.5"},             // a second point is refused
                    SequenceCase{".5", "0.5"},
                    SequenceCase{"12345678901234", "12345678901234"},
                    SequenceCase{"123456789012345", "12345678901234"},  // the 15th digit is ignored
                    SequenceCase{"1234567890123b", "1234567890123000"}, // zeros may bring it to 16
                    SequenceCase{"12345678901234.", "12345678901234"},
                    SequenceCase{"5+3C", "0"},
                    SequenceCase{"5+3C2=", "2"},             // clear forgets the operation
                    SequenceCase{"5+=", "10"},               // = repeats with the display
                    SequenceCase{"2*3+4=", "10"},            // left to right
                    SequenceCase{"2+3*4=", "20"},
                    SequenceCase{"9=", "9"},                 // = without an operation does nothing
                    SequenceCase{"5+-3=", "2"},              // the later operator key is the one applied
                    SequenceCase{"1.5+1.25=", "2.75"},
                    SequenceCase{"8=4", "84"},               // = without an operation starts no new number
                    SequenceCase{"2+3=4+1=", "5"},           // a number after = starts over
                    SequenceCase{"99999999999999*99999999999999*99999999999999=",
                                 "9.9999999999997e+41"},     // too long for the display
                    SequenceCase{"1b*1b*1b*1b*1b*1b*1b*1b=", "999999999999999983222784"},
                    SequenceCase{"1b*1b*1b*1b*1b*1b*1b*1b*1b*1b*1b=", "1e+33"}));

TEST(CalculatorState, MinusAfterAResultSubtracts)
{
    CalculatorState state;
    ResetCalculatorState(state, 1, nullptr);
    Press(state, "5=");
    Press(state, "-2=");
    // 5 = leaves the accumulator at 5: the minus is an operation, not a sign.
    EXPECT_EQ(state.negativePending, 0);
    EXPECT_STREQ(state.display, "3");
}

TEST(CalculatorState, NegativePendingSurvivesClearAndEquals)
{
    CalculatorState state;
    ResetCalculatorState(state, 1, nullptr);
    Press(state, "-");
    EXPECT_EQ(state.negativePending, 1);
    Press(state, "C=");
    EXPECT_EQ(state.negativePending, 1);
    Press(state, "4");
    EXPECT_STREQ(state.display, "-4");
    EXPECT_EQ(state.negativePending, 0);
}

TEST(CalculatorState, DivisionByZeroIsReportedAndKeepsTheAccumulator)
{
    CalculatorState state;
    ResetCalculatorState(state, 1, nullptr);
    state.operatorKeyDown = 1;
    EXPECT_EQ(Press(state, "7/0="), CalcOutcome::DivideByZero);
    EXPECT_EQ(state.accumulator, 7.0);
    EXPECT_EQ(state.operatorKeyDown, 0);
    // The calculator goes on working.
    Press(state, "+1=");
    EXPECT_STREQ(state.display, "8");
}

struct SignCase {
    int mode;
    const char* keys;
    CalcOutcome outcome;
};

class CalculatorSignRule : public testing::TestWithParam<SignCase> {};

TEST_P(CalculatorSignRule, OkFollowsTheMode)
{
    const SignCase& c = GetParam();
    CalculatorState state;
    ResetCalculatorState(state, c.mode, nullptr);
    std::string keys = std::string(c.keys) + "K";
    EXPECT_EQ(Press(state, keys.c_str()), c.outcome) << "mode " << c.mode << " keys " << c.keys;
    EXPECT_EQ(state.open, c.outcome == CalcOutcome::Accepted ? 0 : 1);
    if (c.outcome == CalcOutcome::Accepted) EXPECT_EQ(state.result, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, CalculatorSignRule,
    testing::Values(SignCase{1, "-1=", CalcOutcome::Accepted}, SignCase{4, "-1=", CalcOutcome::Accepted},
                    SignCase{1, "", CalcOutcome::Accepted},
                    SignCase{2, "-1=", CalcOutcome::RefusedNegative},
                    SignCase{5, "-1=", CalcOutcome::RefusedNegative}, SignCase{2, "", CalcOutcome::Accepted},
                    SignCase{5, "0", CalcOutcome::Accepted}, SignCase{2, "3", CalcOutcome::Accepted},
                    SignCase{3, "", CalcOutcome::RefusedNotPositive},
                    SignCase{6, "0", CalcOutcome::RefusedNotPositive},
                    SignCase{3, "-2=", CalcOutcome::RefusedNotPositive},
                    SignCase{3, "0.1", CalcOutcome::Accepted}, SignCase{6, "7", CalcOutcome::Accepted},
                    // A mode outside 0 to 7 takes any value.
                    SignCase{9, "-1=", CalcOutcome::Accepted}, SignCase{-3, "-1=", CalcOutcome::Accepted}));

TEST(CalculatorState, RefusedOkKeepsTheCalculatorUsable)
{
    CalculatorState state;
    ResetCalculatorState(state, 3, nullptr);
    EXPECT_EQ(Press(state, "K"), CalcOutcome::RefusedNotPositive);
    EXPECT_EQ(Press(state, "4K"), CalcOutcome::Accepted);
    EXPECT_STREQ(state.display, "4");
}

TEST(CalculatorState, CancelEndsWithResultZero)
{
    CalculatorState state;
    ResetCalculatorState(state, 3, nullptr);
    state.result = 1;
    EXPECT_EQ(Press(state, "12X"), CalcOutcome::Cancelled);
    EXPECT_EQ(state.result, 0);
    EXPECT_EQ(state.open, 0);
    EXPECT_STREQ(state.display, "12");
}

TEST(CalculatorState, TextModes)
{
    const struct {
        int mode;
        int text;
    } cases[] = {{0, 1}, {7, 1}, {1, 0}, {3, 0}, {6, 0}, {8, 0}, {-1, 0}};
    for (const auto& c : cases) EXPECT_EQ(IsCalculatorTextMode(c.mode), c.text) << c.mode;
    EXPECT_EQ(NormaliseCalculatorMode(8), 1);
    EXPECT_EQ(NormaliseCalculatorMode(-1), 1);
    EXPECT_EQ(NormaliseCalculatorMode(5), 5);
}

TEST(CalculatorState, ResultFormat)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {{8, "8"},          {2.5, "2.5"},           {1.0 / 3, "0.333333"}, {-0.25, "-0.25"},
                 {100, "100"},      {1e22, "10000000000000000000000"},
                 {-1e23, "-99999999999999991611392"}, {1e32, "1e+32"}, {-1e31, "-1e+31"},
                 {1.5e300, "1.5e+300"}, {0, "0"}};
    for (const auto& c : cases) {
        char out[32];
        FormatCalculatorResult(c.value, out, sizeof out);
        EXPECT_STREQ(out, c.text) << c.value;
        EXPECT_LE(std::strlen(out), 31u);
    }
}

TEST(CalculatorState, CaptionIsCutOnACharacterBoundary)
{
    CalculatorState state;
    SetCalculatorCaption(state, "");
    EXPECT_STREQ(state.caption, "数値入力");
    SetCalculatorCaption(state, nullptr);
    EXPECT_STREQ(state.caption, "数値入力");
    // 63 bytes of a panel text: "A" and then 31 double-byte characters.
    std::string longCaption = "A";
    for (int i = 0; i < 31; ++i) longCaption += "あ";
    SetCalculatorCaption(state, longCaption.c_str());
    EXPECT_EQ(std::strlen(state.caption), 31u);
    EXPECT_EQ(std::string(state.caption), longCaption.substr(0, 31));
    // Without the "A" the 31st byte would split a character: 30 bytes are kept.
    SetCalculatorCaption(state, longCaption.c_str() + 1);
    EXPECT_EQ(std::strlen(state.caption), 30u);
}

TEST(CalculatorState, KeyGrid)
{
    const CDentakuButton* keys = CalculatorKeys();
    const struct {
        int id;
        RECT rect;
    } cases[] = {{2007, {5, 38, 35, 68}},      {kCalcKeyClear, {129, 38, 159, 68}},
                 {2001, {5, 100, 35, 130}},    {kCalcKeyAdd, {129, 100, 159, 161}},
                 {kCalcKey000, {67, 131, 97, 161}}, {kCalcKeyOk, {5, 173, 70, 203}},
                 {kCalcKeyCancel, {94, 173, 159, 203}}};
    for (const auto& c : cases) {
        const int index = CalculatorKeyIndexOf(c.id);
        ASSERT_GE(index, 0) << c.id;
        EXPECT_EQ(keys[index].rect.left, c.rect.left) << c.id;
        EXPECT_EQ(keys[index].rect.top, c.rect.top) << c.id;
        EXPECT_EQ(keys[index].rect.right, c.rect.right) << c.id;
        EXPECT_EQ(keys[index].rect.bottom, c.rect.bottom) << c.id;
    }
    // Edges belong to the key (neighbours meet without a gap); the space between OK and ｷｬﾝｾﾙ
    // and the margins belong to none.
    const struct {
        POINT at;
        int id;
    } hits[] = {{{5, 38}, 2007},   {{35, 68}, 2007},          {{36, 50}, 2008}, {{150, 150}, kCalcKeyAdd},
                {{80, 180}, -1},   {{159, 203}, kCalcKeyCancel}, {{4, 40}, -1}, {{20, 10}, -1}};
    for (const auto& h : hits) {
        const int index = CalculatorKeyAt(h.at);
        EXPECT_EQ(index < 0 ? -1 : keys[index].id, h.id) << h.at.x << "," << h.at.y;
    }
}

TEST(CalculatorState, PlacementKeepsTheCalculatorOnTheMonitor)
{
    const RECT monitor = {0, 0, 1024, 768};
    const SIZE frame = {3, 3};
    const struct {
        POINT cursor;
        POINT at;
    } cases[] = {
        {{500, 400}, {500 - 88, 400 - 4 * (241 / 5)}},  // cursor over the lower fifth
        {{1000, 400}, {1024 - 176, 400 - 4 * (241 / 5)}},
        {{10, 400}, {3, 400 - 4 * (241 / 5)}},
        {{500, 20}, {412, 3}},
        {{500, 760}, {412, 768 - 241}},
    };
    for (const auto& c : cases) {
        const POINT at = PlaceCalculator(c.cursor, 176, 241, monitor, frame);
        EXPECT_EQ(at.x, c.at.x) << c.cursor.x << "," << c.cursor.y;
        EXPECT_EQ(at.y, c.at.y) << c.cursor.x << "," << c.cursor.y;
    }
}

}  // namespace
