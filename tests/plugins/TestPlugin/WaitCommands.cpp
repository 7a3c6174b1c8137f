// Test plug-in commands that wait for the user's input through the real host messages: they set
// the accepted events, prompt through the status bar, wait with WM_CAD_WAIT_INPUT and leave a
// trace of every answer in the host window's caption (and the operation log).
//   WaitPoint   prompts for a point; every point is traced; escape ends the command (1).
//   WaitKey     prompts for a typed number; a point given with Enter is traced; escape ends (1).
//   WaitCancel  waits with no event accepted until it is ended (0); then, as a careless command
//               would, waits once more, traces that answer too and leaves it (plus one) in the
//               host window's property "WaitCancelAgain".
//   RubberBand  shows a red rubber-band line from (-100, 30) to (100, 30) in the active view
//               (2383, 2384), then waits as WaitPoint does with moves reported: a move
//               traces "RubberBand point 0x20 X,Y".
//   WaitDde     waits for a text handed over through DDE; traces "WaitDde text", its length and
//               the text (the frame's caption shows only its start), or "WaitDde end" and the
//               answer when the wait ended otherwise.
#include "WaitCommands.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "HostMessages.h"
#include "EngineRecords.h"
#include "HostRecords.h"
#include "InputCodes.h"

namespace {

bool Is(const char* name, const char* command)
{
    const size_t length = std::strlen(command);
    return std::strncmp(name, command, length) == 0 && (name[length] == '\0' || name[length] == ' ');
}

void Trace(HWND host, const char* text)
{
    SetWindowTextA(host, text);
    // The text is handed to the log as it stands, conversion characters and all.
    SendMessageA(host, WM_CAD_WRITE_LOG, 2, reinterpret_cast<LPARAM>(text));
}

LRESULT Wait(HWND host, InputWaitRecord& record)
{
    return SendMessageA(host, WM_CAD_WAIT_INPUT, 0, reinterpret_cast<LPARAM>(&record));
}

void Accept(HWND host, LPARAM bits)
{
    SendMessageA(host, WM_CAD_CLEAR_EVENT_MASK, 0, 0);
    SendMessageA(host, WM_CAD_ADD_EVENT_MASK, 0, bits);
}

// The red line as the active view's rubber band, drawn at once.
void ShowRubberLine(HWND host)
{
    CmdParamRecord param = {};
    param.view = reinterpret_cast<HWND>(SendMessageA(host, WM_CAD_ACTIVE_VIEW, 0, 0));
    LineRecord line;
    std::memset(&line, 0, sizeof line);
    auto* header = reinterpret_cast<ElementRecord*>(&line);
    header->type = kElementLine;
    header->colour = 2;
    line.x1 = -100, line.y1 = 30, line.x2 = 100, line.y2 = 30;
    param.elementRecord = &line;
    SendMessageA(host, WM_CAD_ADD_TEMP_ELEMENT, 0, reinterpret_cast<LPARAM>(&param));
    SendMessageA(host, WM_CAD_DRAW_TEMP, 0, reinterpret_cast<LPARAM>(&param));
}

int WaitForCancel(HWND host)
{
    Accept(host, 0);
    Trace(host, "WaitCancel waiting");
    InputWaitRecord record = {};
    const LRESULT first = Wait(host, record);
    const LRESULT again = Wait(host, record);
    char text[96];
    std::snprintf(text, sizeof text, "WaitCancel end %ld again %ld", static_cast<long>(first),
                  static_cast<long>(again));
    Trace(host, text);
    // Left on the host window for the test process: the second answer, plus one.
    SetPropA(host, "WaitCancelAgain", reinterpret_cast<HANDLE>(static_cast<INT_PTR>(again + 1)));
    return 0;
}

int WaitForDdeText(HWND host)
{
    Accept(host, kAcceptEscape | kAcceptDdeText);
    Trace(host, "WaitDde waiting");
    InputWaitRecord record = {};
    const LRESULT result = Wait(host, record);
    if (result == kWaitDdeText && record.result != 0) {
        const std::string received = reinterpret_cast<const char*>(record.result);
        const std::string text = "WaitDde text " + std::to_string(received.size()) + " " + received;
        Trace(host, text.c_str());
        return 1;
    }
    char text[64];
    std::snprintf(text, sizeof text, "WaitDde end %ld", static_cast<long>(result));
    Trace(host, text);
    return 1;
}

}  // namespace

int WaitForPoints(HWND host, const char* command, LPARAM mask, const char* prompt)
{
    Accept(host, mask);
    SendMessageA(host, WM_CAD_SET_MESSAGE, 0, reinterpret_cast<LPARAM>(prompt));
    char text[160];
    std::snprintf(text, sizeof text, "%s waiting", command);
    Trace(host, text);
    for (;;) {
        InputWaitRecord record = {};
        const LRESULT result = Wait(host, record);
        if (result == kWaitEnd || result == kWaitQuit) {
            std::snprintf(text, sizeof text, "%s end %ld", command, static_cast<long>(result));
            Trace(host, text);
            return 0;
        }
        if (result == kWaitEscape) {
            std::snprintf(text, sizeof text, "%s ESC", command);
            Trace(host, text);
            return 1;
        }
        std::snprintf(text, sizeof text, "%s point 0x%lx %g,%g", command, static_cast<long>(result),
                      record.point.x, record.point.y);
        Trace(host, text);
    }
}

int RunWaitCommand(HWND host, const char* name)
{
    if (name == nullptr) return -2;
    if (Is(name, "WaitPoint")) {
        return WaitForPoints(host, "WaitPoint", kAcceptEscape | kAcceptSnappedPoint, "点を指示してください");
    }
    if (Is(name, "WaitKey")) {
        return WaitForPoints(host, "WaitKey", kAcceptEscape | kAcceptPlainPoint, "数値を入力してください");
    }
    if (Is(name, "RubberBand")) {
        ShowRubberLine(host);
        return WaitForPoints(host, "RubberBand", kAcceptEscape | kAcceptRubberBand, "点を指示してください");
    }
    if (Is(name, "WaitCancel")) return WaitForCancel(host);
    if (Is(name, "WaitDde")) return WaitForDdeText(host);
    return -2;
}
