#include "dialogs/SecondCalculator.h"

#include <initializer_list>

#include "core/Dbcs.h"
#include "dialogs/CalculatorPaint.h"

namespace {

CalculatorState g_state;
char* g_output = nullptr;
HFONT g_font = nullptr;

void End(HWND window)
{
    if (g_state.owner != nullptr) EnableWindow(g_state.owner, TRUE);
    DestroyWindow(window);
}

}  // namespace

CalculatorState& GetQmDentakuState() { return g_state; }

const char* QmDentakuMessage(CalcOutcome outcome, const char** caption)
{
    switch (outcome) {
    case CalcOutcome::RefusedNegative:
        if (caption) *caption = g_state.caption;
        return "０以上の数値を\n入力してください";
    case CalcOutcome::RefusedNotPositive:
        if (caption) *caption = g_state.caption;
        return "０より大きい数値を\n入力してください";
    case CalcOutcome::DivideByZero:
        if (caption) *caption = "割り算";
        return "０で割ることはできません";
    default:
        return nullptr;
    }
}

LRESULT CALLBACK QmDentakuWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CalculatorState& state = g_state;
    LRESULT result = 0;
    if (HandleCalculatorInput(window, message, wParam, lParam, state, &result)) return result;
    switch (message) {
    case WM_CREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        const auto* params =
            create != nullptr ? static_cast<const QmDentakuCreateParams*>(create->lpCreateParams) : nullptr;
        if (params != nullptr) {
            ResetCalculatorState(state, params->mode, params->owner);
            SetCalculatorCaption(state, params->caption);
            SetWindowTextA(window, state.caption);
            g_output = params->output;
        }
        CreateCalculatorDisplay(window, &g_font);
        return 0;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id < kCalcKey0 || id > kCalcKey000) break;
        const CalcOutcome outcome = ApplyCalculatorKey(state, id);
        if (outcome == CalcOutcome::Accepted) {
            if (g_output != nullptr) DbcsCopy(g_output, sizeof state.display, state.display);
            End(window);
            return 0;
        }
        if (outcome == CalcOutcome::Cancelled) {
            End(window);
            return 0;
        }
        const char* caption = nullptr;
        if (const char* text = QmDentakuMessage(outcome, &caption)) {
            const bool division = outcome == CalcOutcome::DivideByZero;
            if (division) ReleaseCalculatorBlock(window);
            MessageBoxA(window, text, caption, MB_OK | (division ? MB_ICONINFORMATION : MB_ICONERROR));
            if (division) state.operatorKeyDown = 0;
        }
        if (IsWindow(window)) SetDlgItemTextA(window, kCalcDisplayId, state.display);
        return 0;
    }
    case WM_CLOSE:
        state.open = 0;
        state.result = 0;
        End(window);
        return 0;
    case WM_DESTROY:
        if (g_font != nullptr) {
            DeleteObject(g_font);
            g_font = nullptr;
        }
        state.open = 0;
        g_output = nullptr;
        // Its creator's loop ends when the window is gone; this wakes it without a quit that
        // would end the program's own loop.
        PostMessageA(nullptr, WM_NULL, 0, 0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
