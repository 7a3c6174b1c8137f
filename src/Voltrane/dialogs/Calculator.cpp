#include "dialogs/Calculator.h"

#include <cstdio>
#include <cstring>

#include "core/Dbcs.h"
#include "core/MonitorHelpers.h"
#include "dialogs/CalculatorPaint.h"
#include "dialogs/CalculatorState.h"
#include "dialogs/InputHelperHost.h"

namespace {

const char kClassName[] = "DENTAKU";

CalculatorState g_state;
HFONT g_displayFont = nullptr;
// The module the class was registered in: the program and the plug-in each register their own
// "DENTAKU", and an owner of the host's must not pick the host's class for the plug-in's copy.
HINSTANCE g_classInstance = nullptr;

void ShowOutcome(HWND window, CalculatorState& state, CalcOutcome outcome)
{
    switch (outcome) {
    case CalcOutcome::DivideByZero:
        // The digit and operator block stops showing a held key.
        ReleaseCalculatorBlock(window);
        MessageBoxA(window, InputHelperMessage(7115), InputHelperMessage(7618), MB_OK | MB_ICONINFORMATION);
        state.operatorKeyDown = 0;
        break;
    case CalcOutcome::RefusedNegative:
        MessageBoxA(window, InputHelperMessage(7118), state.caption, MB_OK | MB_ICONERROR);
        break;
    case CalcOutcome::RefusedNotPositive:
        MessageBoxA(window, InputHelperMessage(7116), state.caption, MB_OK | MB_ICONERROR);
        break;
    default:
        break;
    }
}

void EndCalculator(HWND window, CalculatorState& state)
{
    if (state.owner != nullptr) EnableWindow(state.owner, TRUE);
    DestroyWindow(window);
}

LRESULT CALLBACK CalculatorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CalculatorState& state = g_state;
    LRESULT result = 0;
    if (HandleCalculatorInput(window, message, wParam, lParam, state, &result)) return result;
    switch (message) {
    case WM_CREATE:
        CreateCalculatorDisplay(window, &g_displayFont);
        return 0;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id < kCalcKey0 || id > kCalcKey000) break;
        const CalcOutcome outcome = ApplyCalculatorKey(state, id);
        if (outcome == CalcOutcome::Accepted || outcome == CalcOutcome::Cancelled) {
            EndCalculator(window, state);
            return 0;
        }
        ShowOutcome(window, state, outcome);
        if (IsWindow(window)) SetDlgItemTextA(window, kCalcDisplayId, state.display);
        return 0;
    }
    case WM_CLOSE:
        // Closed by the system (Alt+F4, the task list) rather than by a key: the user did not
        // confirm, so it ends as ｷｬﾝｾﾙ does instead of leaving an earlier use's answer.
        state.open = 0;
        state.result = 0;
        EndCalculator(window, state);
        return 0;
    case WM_DESTROY:
        if (g_displayFont != nullptr) {
            DeleteObject(g_displayFont);
            g_displayFont = nullptr;
        }
        state.open = 0;
        if (HWND frame = InputHelperMainWindow(state.owner)) SetActiveWindow(frame);
        // Wakes the calculator's loop, which ends when its window is gone.
        PostMessageA(nullptr, WM_NULL, 0, 0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Runs the calculator's window until it is gone. A quit of the program met meanwhile closes
// the calculator as ｷｬﾝｾﾙ and is posted again, so the program's own loop still ends.
void RunCalculatorLoop(HWND window)
{
    MSG msg;
    while (IsWindow(window)) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            g_state.open = 0;
            g_state.result = 0;
            EndCalculator(window, g_state);
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (got == -1) {
            g_state.open = 0;
            g_state.result = 0;
            EndCalculator(window, g_state);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

int ShowCalculator(HWND owner, int mode, const char* caption, char* output)
{
    if (IsCalculatorTextMode(mode)) return 0;
    // One state record: a second calculator over an open one would take the first one's state.
    if (g_state.open != 0) {
        InputHelperLog(2, "Calculator", "電卓は既に開いています");
        return 0;
    }
    ResetCalculatorState(g_state, mode, owner);
    SetCalculatorCaption(g_state, caption);
    g_state.result = 0;
    if (owner != nullptr) EnableWindow(owner, FALSE);
    HINSTANCE instance = g_classInstance;
    if (instance == nullptr) {
        instance = owner != nullptr ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE))
                                    : GetModuleHandleA(nullptr);
    }
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kClassName, g_state.caption, WS_POPUP | WS_CAPTION, 0, 0,
                                  kCalcWindowWidth, kCalcWindowHeight, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        char text[64];
        std::snprintf(text, sizeof text, "電卓の窓を作れません (%lu)", GetLastError());
        InputHelperLog(1, "Calculator", text);
        g_state.open = 0;
        if (owner != nullptr) EnableWindow(owner, TRUE);
        return 0;
    }
    const SIZE frame = {GetSystemMetrics(SM_CXDLGFRAME), GetSystemMetrics(SM_CYDLGFRAME)};
    const int width = kCalcWindowWidth + 2 * frame.cx;
    const int height = kCalcWindowHeight + 2 * frame.cy;
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    RECT monitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetMonitorAreaAt(cursor.x, cursor.y, &monitor, -1);
    const POINT at = PlaceCalculator(cursor, width, height, monitor, frame);
    SetWindowPos(window, HWND_TOPMOST, at.x, at.y, width, height, SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    SetFocus(window);
    RunCalculatorLoop(window);
    if (output != nullptr) DbcsCopy(output, sizeof g_state.display, g_state.display);
    return g_state.result;
}

int IsCalculatorOpen() { return g_state.open != 0 ? 1 : 0; }

int RegisterCalculatorClass(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.style = CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = CalculatorProc;
    wc.cbWndExtra = 4;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    wc.lpszClassName = kClassName;
    if (RegisterClassA(&wc) == 0) return 0;
    g_classInstance = instance;
    return 1;
}

int UnregisterCalculatorClass(HINSTANCE instance)
{
    UnregisterClassA(kClassName, instance);
    if (instance == g_classInstance) g_classInstance = nullptr;
    return 1;
}
