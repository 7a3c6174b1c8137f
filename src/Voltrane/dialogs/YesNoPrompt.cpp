#include "dialogs/YesNoPrompt.h"

#include "Dravik.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/MonitorHelpers.h"
#include "core/SystemLog.h"
#include "dialogs/YesNoDialogs.h"

namespace {

constexpr int kYesNo0Yes = 100;
constexpr int kYesNo0No = 102;

YesNoPromptState g_prompt;

INT_PTR CALLBACK YesNo0Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        YesNoPromptState& state = g_prompt;
        POINT pointer = {0, 0};
        GetCursorPos(&pointer);
        const POINT from = state.reuse == 1 ? state.lastYesNo0 : pointer;
        const int y = from.y - 100 < 0 ? 0 : from.y - 100;
        int right = 0;
        GetMonitorSizeAt(from.x, y, &right, nullptr);
        const POINT at = PlaceYesNo0(pointer, state.reuse, &state.lastYesNo0, right);
        SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        if (HWND yes = GetDlgItem(dialog, kYesNo0Yes)) {
            RECT r;
            GetWindowRect(yes, &r);
            SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        }
        // The published copy of YESNOMSG: the kit buttons take a press while the frame is
        // disabled only in a dialog whose caption equals it, so a long setting cut there must
        // be cut the same way here.
        const char* caption = GetConfigDataRuntime().yesNoCaption;
        if (caption[0] != '\0') SetWindowTextA(dialog, caption);
        Dader_ChgBtnStyleOwnerDraw(dialog, kYesNo0Yes);
        return FALSE;
    }
    case WM_COMMAND:
        switch (Dader_wParamToCtrlID(wParam)) {
        case kYesNo0Yes: EndDialog(dialog, IDYES); return TRUE;
        case kYesNo0No: EndDialog(dialog, IDNO); return TRUE;
        default: return FALSE;
        }
    case WM_ERASEBKGND:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, Dader_OnEraseBkgnd(dialog, reinterpret_cast<HDC>(wParam)));
        return TRUE;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<INT_PTR>(Dader_OnCtlColor(dialog, reinterpret_cast<HDC>(wParam),
                                                          reinterpret_cast<HWND>(lParam),
                                                          message == WM_CTLCOLORBTN ? 3 : 6));
    case WM_DRAWITEM:
        return TRUE;
    default:
        return FALSE;
    }
}

// The question goes to the status bar's message text, and the pointer's place is kept so that
// it can be put back after the answer.
void OpenQuestion(int reuse, const char* question)
{
    g_prompt.reuse = reuse;
    if (HWND bar = GetStatusBarWnd())
        SendMessageA(bar, WM_USER, 2, reinterpret_cast<LPARAM>(question != nullptr ? question : ""));
    GetCursorPos(&g_prompt.pointer);
}

void PutPointerBack() { SetCursorPos(g_prompt.pointer.x, g_prompt.pointer.y); }

// Runs one of the two prompts over the active window; the placement goes in and comes back.
template <class Prompt>
INT_PTR RunPrompt(int* useSaved, POINT* saved, const std::string& caption)
{
    Prompt dialog;
    dialog.useSaved = *useSaved;
    dialog.saved = *saved;
    dialog.caption = caption;
    const INT_PTR code = dialog.DoModal(GetActiveWindow());
    *useSaved = dialog.useSaved;
    *saved = dialog.saved;
    return code;
}

}  // namespace

YesNoPromptState& GetYesNoPromptState() { return g_prompt; }

POINT PlaceYesNo0(POINT pointer, int reuse, POINT* remembered, int monitorRight)
{
    POINT p = pointer;
    if (reuse == 1 && remembered != nullptr) p = *remembered;
    else if (remembered != nullptr) *remembered = p;
    POINT at;
    at.y = p.y - 100 < 0 ? 0 : p.y - 100;
    if (p.x > monitorRight - 150) {
        at.x = p.x - 150;
        if (at.y < 210) at.y += 150;
    } else {
        at.x = p.x + 50;
        if (at.y < 210) at.y += 100;
    }
    return at;
}

POINT PlacePromptAtCursor(POINT pointer, int* useSaved, POINT* saved, int monitorRight, int monitorBottom)
{
    if (useSaved != nullptr && *useSaved != 0 && saved != nullptr) return *saved;
    POINT at;
    const int y = pointer.y - 100 < 0 ? 0 : pointer.y - 100;
    at.x = pointer.x > monitorRight - 150 ? pointer.x - 150 : pointer.x + 50;
    at.y = y > monitorBottom - 100 ? y - 150 : y + 50;
    if (saved != nullptr) *saved = at;
    if (useSaved != nullptr) *useSaved = 1;
    return at;
}

int YesNoAnswerOf(INT_PTR endCode)
{
    if (endCode == -1 || endCode == 0) return 0;
    return endCode != IDNO ? 1 : 0;
}

int YesNoCancelAnswerOf(INT_PTR endCode)
{
    if (endCode == IDYES) return 1;
    if (endCode == IDCANCEL || endCode == -1 || endCode == 0) return 2;
    return 0;
}

int AskYesNoCancelAtCursor(int* useSaved, int position[2], const char* caption)
{
    int flag = useSaved != nullptr ? *useSaved : 0;
    POINT saved = {position != nullptr ? position[0] : 0, position != nullptr ? position[1] : 0};
    const std::string text = caption != nullptr ? caption : "";
    const INT_PTR code = GetCadSystem().config.YNCMSG != 0 ? RunPrompt<CYesNoDlg>(&flag, &saved, text)
                                                             : RunPrompt<CYesNoCanDlg>(&flag, &saved, text);
    if (code == -1 || code == 0) WriteSystemLog(1, "YesNo", "確認の窓を開けません (%lu)", GetLastError());
    if (useSaved != nullptr) *useSaved = flag;
    if (position != nullptr) {
        position[0] = saved.x;
        position[1] = saved.y;
    }
    return static_cast<int>(code);
}

int AskYesNoAtCursor(int reuse, const char* question)
{
    OpenQuestion(reuse, question);
    const INT_PTR code = DialogBoxParamA(GetModuleHandleA(nullptr), "YesNo0", GetMainFrameWnd(), YesNo0Proc, 0);
    PutPointerBack();
    // A prompt that could not be shown is no Yes.
    if (code == -1 || code == 0) WriteSystemLog(1, "YesNo", "確認の窓を開けません (%lu)", GetLastError());
    return YesNoAnswerOf(code);
}

int AskYesNoCancelQuestion(int reuse, const char* question)
{
    OpenQuestion(reuse, question);
    // With the reuse flag set the prompt's corner goes to the pointer itself.
    int position[2] = {g_prompt.pointer.x, g_prompt.pointer.y};
    const int code = AskYesNoCancelAtCursor(&g_prompt.reuse, position, nullptr);
    PutPointerBack();
    return YesNoCancelAnswerOf(code);
}
