// The pocket-calculator rules behind the pop-up calculators: the state record, the key
// table with its grid, what each key does to the state, the sign rule checked on OK, the
// result format and the placement at the cursor. No window is touched here, so both
// calculator windows and the tests share one copy of the rules.
#pragma once

#include <windows.h>

// Key command ids.
constexpr int kCalcKey0 = 2000;          // 2001-2009 the digits 1 to 9
constexpr int kCalcKeyPoint = 2010;
constexpr int kCalcKeyEquals = 2011;
constexpr int kCalcKeyDivide = 2012;
constexpr int kCalcKeyMultiply = 2013;
constexpr int kCalcKeySubtract = 2014;
constexpr int kCalcKeyAdd = 2015;
constexpr int kCalcKeyClear = 2016;
constexpr int kCalcKeyOk = 2017;
constexpr int kCalcKeyCancel = 2018;
constexpr int kCalcKey00 = 2019;
constexpr int kCalcKey000 = 2020;

constexpr int kCalcDisplayId = 1000;
constexpr int kCalcWindowWidth = 170;
constexpr int kCalcWindowHeight = 235;
// The longest number typed: a digit that would pass it is ignored (zero keys may add two more).
constexpr int kCalcTypedLimit = 14;

// Operation codes of pendingOp and lastOp.
enum CalcOp { kCalcOpNone = 0, kCalcOpDivide = 1, kCalcOpMultiply = 2, kCalcOpSubtract = 3, kCalcOpAdd = 4 };

struct CalculatorState {
    double accumulator = 0;
    double operand = 0;
    char display[32] = "0";
    char caption[32] = "";
    int pressedButton = -1;
    int mode = 1;
    int open = 0;
    HWND owner = nullptr;
    int result = 0;
    int newEntry = 1;
    int pointEntered = 0;
    int zeroEntry = 0;
    int negativePending = 0;
    int operatorKeyDown = 0;
    int pendingOp = kCalcOpNone;
    int lastOp = kCalcOpNone;
};

// One key of the calculator (CDentakuButton): rectangles are right- and bottom-exclusive.
struct CDentakuButton {
    int enabled;
    RECT rect;
    const char* label;
    int id;
};

constexpr int kCalcKeyCount = 21;
// The 21 keys in table order.
const CDentakuButton* CalculatorKeys();
// The index of the first enabled key whose rectangle holds the point (edges included), or -1.
int CalculatorKeyAt(POINT point);
// The index of the key with the command id, or -1.
int CalculatorKeyIndexOf(int id);

// What a key did beyond changing the state.
enum class CalcOutcome {
    None,              // the state changed, or the key was ignored
    DivideByZero,      // the division was skipped: tell the user
    RefusedNegative,   // OK refused: the field takes no negative value (message 7118)
    RefusedNotPositive,// OK refused: the field takes only values above zero (message 7116)
    Accepted,          // OK: open 0, result 1
    Cancelled,         // ｷｬﾝｾﾙ: open 0, result 0
};

// A mode outside 0 to 7 is treated as mode 1 (any value).
int NormaliseCalculatorMode(int mode);
// 1 for the modes that open no calculator (0 and 7).
int IsCalculatorTextMode(int mode);
// The refusal of a value by the mode's sign rule; None when the value is accepted.
CalcOutcome CheckCalculatorSign(int mode, double value);

// The state of a fresh use: display "0", nothing pending, open, with the mode and owner.
void ResetCalculatorState(CalculatorState& state, int mode, HWND owner);
// Applies the key command to the state.
CalcOutcome ApplyCalculatorKey(CalculatorState& state, int id);
// The display of a result: "%lf" without trailing zeros and point; a text that does not fit the
// 31-character display is written with 15 significant digits instead.
void FormatCalculatorResult(double value, char* out, size_t outSize);
// The caption cut to the 31 bytes of the record on a character boundary; "数値入力" when empty.
void SetCalculatorCaption(CalculatorState& state, const char* caption);

// The top-left corner of the calculator whose outer size is width x height with the cursor at
// cursor, kept in the monitor area; frame is the dialog frame's width and height.
POINT PlaceCalculator(POINT cursor, int width, int height, const RECT& monitor, SIZE frame);
