#include "dialogs/CalculatorState.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/Dbcs.h"

namespace {

constexpr int kGridLeft = 5;
constexpr int kGridTop = 38;
constexpr int kGridPitch = 31;

constexpr RECT GridRect(int row, int column, int columns = 1, int rows = 1)
{
    return RECT{kGridLeft + kGridPitch * column, kGridTop + kGridPitch * row,
                kGridLeft + kGridPitch * column + kGridPitch * columns - 1,
                kGridTop + kGridPitch * row + kGridPitch * rows - 1};
}

const CDentakuButton kKeys[kCalcKeyCount] = {
    {1, GridRect(0, 0), "7", 2007},
    {1, GridRect(0, 1), "8", 2008},
    {1, GridRect(0, 2), "9", 2009},
    {1, GridRect(0, 3), "÷", kCalcKeyDivide},
    {1, GridRect(0, 4), "C", kCalcKeyClear},
    {1, GridRect(1, 0), "4", 2004},
    {1, GridRect(1, 1), "5", 2005},
    {1, GridRect(1, 2), "6", 2006},
    {1, GridRect(1, 3), "×", kCalcKeyMultiply},
    {1, GridRect(1, 4), "－", kCalcKeySubtract},
    {1, GridRect(2, 0), "1", 2001},
    {1, GridRect(2, 1), "2", 2002},
    {1, GridRect(2, 2), "3", 2003},
    {1, GridRect(2, 3), "・", kCalcKeyPoint},
    {1, GridRect(2, 4, 1, 2), "＋", kCalcKeyAdd},
    {1, GridRect(3, 0), "0", kCalcKey0},
    {1, GridRect(3, 1), "00", kCalcKey00},
    {1, GridRect(3, 2), "000", kCalcKey000},
    {1, GridRect(3, 3), "＝", kCalcKeyEquals},
    {1, RECT{5, 173, 70, 203}, "OK", kCalcKeyOk},
    {1, RECT{94, 173, 159, 203}, "ｷｬﾝｾﾙ", kCalcKeyCancel},
};

double DisplayValue(const CalculatorState& s) { return std::atof(s.display); }

size_t DisplayLength(const CalculatorState& s) { return std::strlen(s.display); }

void Append(CalculatorState& s, const char* text) { DbcsAppend(s.display, sizeof s.display, text); }

// The accumulator starts over with a number typed after a completed calculation.
void ForgetAccumulatorWithoutOperation(CalculatorState& s)
{
    if (s.lastOp == kCalcOpNone) s.accumulator = 0;
}

// Starts a digit 1 to 9: false when the typed number is already as long as it may be.
bool StartDigitEntry(CalculatorState& s)
{
    if (s.newEntry == 1) {
        s.display[0] = '\0';
        s.newEntry = 0;
        s.zeroEntry = 0;
        ForgetAccumulatorWithoutOperation(s);
    }
    if (DisplayLength(s) > kCalcTypedLimit - 1) return false;
    if (s.negativePending == 1) {
        char negative[sizeof s.display] = "-";
        DbcsAppend(negative, sizeof negative, s.display);
        std::memcpy(s.display, negative, sizeof s.display);
        s.negativePending = 0;
    }
    return true;
}

CalcOutcome ApplyPending(CalculatorState& s)
{
    CalcOutcome outcome = CalcOutcome::None;
    s.operand = DisplayValue(s);
    switch (s.pendingOp) {
    case kCalcOpDivide:
        if (s.operand != 0.0) {
            s.accumulator /= s.operand;
        } else {
            s.operatorKeyDown = 0;
            outcome = CalcOutcome::DivideByZero;
        }
        break;
    case kCalcOpMultiply:
        s.accumulator *= s.operand;
        break;
    case kCalcOpSubtract:
        // A subtraction from zero gives the operand with its own sign.
        if (std::fabs(s.accumulator) < 1e-8) s.accumulator = s.operand;
        else s.accumulator -= s.operand;
        break;
    case kCalcOpAdd:
        s.accumulator += s.operand;
        break;
    default:
        break;
    }
    FormatCalculatorResult(s.accumulator, s.display, sizeof s.display);
    return outcome;
}

CalcOutcome OperatorKey(CalculatorState& s, int op)
{
    s.lastOp = op;
    if (s.newEntry == 1) {
        if (op == kCalcOpSubtract && std::fabs(s.accumulator) < 1e-8) s.negativePending = 1;
        else s.negativePending = 0;
        return CalcOutcome::None;
    }
    CalcOutcome outcome = CalcOutcome::None;
    if (s.pendingOp != kCalcOpNone) outcome = ApplyPending(s);
    else s.accumulator = DisplayValue(s);
    s.pointEntered = 0;
    s.zeroEntry = 0;
    s.negativePending = 0;
    s.pendingOp = op;
    s.newEntry = 1;
    return outcome;
}

}  // namespace

const CDentakuButton* CalculatorKeys() { return kKeys; }

int CalculatorKeyAt(POINT point)
{
    for (int i = 0; i < kCalcKeyCount; ++i) {
        const RECT& r = kKeys[i].rect;
        if (kKeys[i].enabled && point.x >= r.left && point.x <= r.right && point.y >= r.top && point.y <= r.bottom)
            return i;
    }
    return -1;
}

int CalculatorKeyIndexOf(int id)
{
    for (int i = 0; i < kCalcKeyCount; ++i) {
        if (kKeys[i].id == id) return i;
    }
    return -1;
}

int NormaliseCalculatorMode(int mode) { return mode >= 0 && mode <= 7 ? mode : 1; }

int IsCalculatorTextMode(int mode)
{
    const int m = NormaliseCalculatorMode(mode);
    return m == 0 || m == 7 ? 1 : 0;
}

CalcOutcome CheckCalculatorSign(int mode, double value)
{
    const int m = NormaliseCalculatorMode(mode);
    if ((m == 2 || m == 5) && value < 0) return CalcOutcome::RefusedNegative;
    if ((m == 3 || m == 6) && value <= 0) return CalcOutcome::RefusedNotPositive;
    return CalcOutcome::None;
}

void ResetCalculatorState(CalculatorState& state, int mode, HWND owner)
{
    state.accumulator = 0;
    state.operand = 0;
    std::strcpy(state.display, "0");
    state.pressedButton = -1;
    state.newEntry = 1;
    state.pointEntered = 0;
    state.zeroEntry = 0;
    state.lastOp = kCalcOpNone;
    state.pendingOp = kCalcOpNone;
    state.operatorKeyDown = 0;
    state.open = 1;
    state.mode = NormaliseCalculatorMode(mode);
    state.owner = owner;
}

CalcOutcome ApplyCalculatorKey(CalculatorState& s, int id)
{
    if (id >= 2001 && id <= 2009) {
        if (StartDigitEntry(s)) {
            const char digit[2] = {static_cast<char>('0' + (id - kCalcKey0)), '\0'};
            Append(s, digit);
        }
        return CalcOutcome::None;
    }
    switch (id) {
    case kCalcKey0:
    case kCalcKey00:
    case kCalcKey000: {
        if (s.newEntry == 1) {
            std::strcpy(s.display, "0");
            s.zeroEntry = 1;
            ForgetAccumulatorWithoutOperation(s);
        }
        if (DisplayLength(s) < static_cast<size_t>(kCalcTypedLimit) && s.zeroEntry == 0)
            Append(s, id == kCalcKey0 ? "0" : id == kCalcKey00 ? "00" : "000");
        return CalcOutcome::None;
    }
    case kCalcKeyPoint:
        if (s.pointEntered == 1) return CalcOutcome::None;
        if (s.newEntry == 1) {
            std::strcpy(s.display, "0.");
            s.newEntry = 0;
        } else {
            if (DisplayLength(s) > kCalcTypedLimit - 1) return CalcOutcome::None;
            Append(s, ".");
        }
        ForgetAccumulatorWithoutOperation(s);
        s.pointEntered = 1;
        s.zeroEntry = 0;
        return CalcOutcome::None;
    case kCalcKeyDivide: return OperatorKey(s, kCalcOpDivide);
    case kCalcKeyMultiply: return OperatorKey(s, kCalcOpMultiply);
    case kCalcKeySubtract: return OperatorKey(s, kCalcOpSubtract);
    case kCalcKeyAdd: return OperatorKey(s, kCalcOpAdd);
    case kCalcKeyEquals: {
        if (s.lastOp == kCalcOpNone) return CalcOutcome::None;
        s.pendingOp = s.lastOp;
        const CalcOutcome outcome = ApplyPending(s);
        s.lastOp = kCalcOpNone;
        s.pendingOp = kCalcOpNone;
        s.newEntry = 1;
        s.pointEntered = 0;
        s.zeroEntry = 0;
        return outcome;
    }
    case kCalcKeyClear:
        std::strcpy(s.display, "0");
        s.pendingOp = kCalcOpNone;
        s.lastOp = kCalcOpNone;
        s.newEntry = 1;
        s.pointEntered = 0;
        s.zeroEntry = 0;
        return CalcOutcome::None;
    case kCalcKeyOk: {
        const CalcOutcome refusal = CheckCalculatorSign(s.mode, DisplayValue(s));
        if (refusal != CalcOutcome::None) return refusal;
        s.open = 0;
        s.result = 1;
        return CalcOutcome::Accepted;
    }
    case kCalcKeyCancel:
        s.open = 0;
        s.result = 0;
        return CalcOutcome::Cancelled;
    default:
        return CalcOutcome::None;
    }
}

void FormatCalculatorResult(double value, char* out, size_t outSize)
{
    if (out == nullptr || outSize == 0) return;
    char text[400];
    std::snprintf(text, sizeof text, "%lf", value);
    if (std::strchr(text, '.') != nullptr) {
        size_t length = std::strlen(text);
        while (length > 0 && text[length - 1] == '0') text[--length] = '\0';
        if (length > 0 && text[length - 1] == '.') text[--length] = '\0';
    }
    // A result of about 1e23 and more has no room for its digits: it keeps its size in
    // exponent form rather than losing its leading digits.
    if (std::strlen(text) > 31 || std::strlen(text) >= outSize) std::snprintf(text, sizeof text, "%.15g", value);
    DbcsCopy(out, outSize, text);
}

void SetCalculatorCaption(CalculatorState& state, const char* caption)
{
    DbcsCopy(state.caption, sizeof state.caption, caption != nullptr && caption[0] != '\0' ? caption : "数値入力");
}

POINT PlaceCalculator(POINT cursor, int width, int height, const RECT& monitor, SIZE frame)
{
    POINT at;
    if (cursor.x + width / 2 > monitor.right) {
        at.x = monitor.right - width;
    } else {
        at.x = cursor.x - width / 2;
        if (at.x < monitor.left + frame.cx) at.x = monitor.left + frame.cx;
    }
    if (cursor.y + height / 5 > monitor.bottom) {
        at.y = monitor.bottom - height;
    } else {
        at.y = cursor.y - 4 * (height / 5);
        if (at.y < monitor.top + frame.cy) at.y = monitor.top + frame.cy;
    }
    return at;
}
