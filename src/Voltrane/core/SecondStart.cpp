#include "core/SecondStart.h"

#include <cstring>
#include <string>

#include "HostMessages.h"
#include "core/CadSystem.h"
#include "core/CommandLine.h"
#include "core/Dbcs.h"
#include "core/MessageCatalog.h"
#include "core/SettingsMessage.h"
#include "core/SingleInstance.h"

int HandOverCommandLine(HWND runningFrame, const char* commandLine)
{
    if (runningFrame == nullptr) return 0;
    if (IsIconic(runningFrame)) ShowWindow(runningFrame, SW_SHOWNORMAL);
    SetWindowPos(runningFrame, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);

    const char* text = commandLine != nullptr ? commandLine : "";
    size_t length = std::strlen(text);
    if (length == 0) {
        SendMessageA(runningFrame, WM_COMMAND, kHandOverEmptyId, 0);
        return 1;
    }
    if (length <= kMaxAtomText) {
        ATOM atom = GlobalAddAtomA(text);
        if (atom != 0) {
            SendMessageA(runningFrame, WM_COMMAND, kHandOverCommandLineId, static_cast<LPARAM>(atom));
            // The receiver has read the atom inside the call.
            GlobalDeleteAtom(atom);
            return 1;
        }
        // The atom table is full: the line goes as data like a long one.
    }
    // An atom would cut the line and drop its files: the whole text goes as data instead.
    if (length > kMaxHandOverText) length = DbcsFitLength(text, length, kMaxHandOverText);
    std::string copy(text, length);
    COPYDATASTRUCT data = {};
    data.dwData = kHandOverCopyDataTag;
    data.cbData = static_cast<DWORD>(copy.size() + 1);
    data.lpData = const_cast<char*>(copy.c_str());
    SendMessageA(runningFrame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    return 1;
}

int CheckSecondStart(const char* commandLine, int multiBoot, CMySemaphore& semaphore)
{
    HWND running = FindWindowA(kMainFrameClassName, nullptr);
    if (running != nullptr && multiBoot != 1) {
        HandOverCommandLine(running, commandLine);
        return 1;
    }
    switch (semaphore.Open()) {
    case -1:
        // Without the semaphore nothing tells whether another instance runs: refuse the
        // start rather than run half-initialised.
        ShowSettingsMessage(nullptr, GetMessageText(7372), "ERROR", MB_OK);
        return 1;
    case 1:
        if (multiBoot == 0) {
            ShowSettingsMessage(nullptr, GetMessageText(7223), GetMessageText(7572), MB_OK);
            return 1;
        }
        return 0;
    default:
        return 0;
    }
}

void ReceiveHandedOverCommandLine(HWND frame, const char* text)
{
    SendMessageA(frame, WM_CAD_CANCEL_COMMAND, 0, 0);
    ProcessCommandLine(frame, text != nullptr ? text : "", SW_SHOW);
}

void ReceiveHandedOverEmptyLine(HWND frame)
{
    SendMessageA(frame, WM_CAD_CANCEL_COMMAND, 0, 0);
    PostMessageA(frame, WM_CADDB_NEW_WINDOW, 0, 0);
}

BOOL CSecondStartReceiver::ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                LRESULT& lResult, DWORD mapId)
{
    if (mapId != 0) return FALSE;
    if (uMsg == WM_COMMAND && LOWORD(wParam) == kHandOverCommandLineId) {
        char text[1024] = {};
        ATOM atom = static_cast<ATOM>(lParam);
        if (atom != 0) GlobalGetAtomNameA(atom, text, sizeof text);
        ReceiveHandedOverCommandLine(hWnd, text);
        lResult = 1;
        return TRUE;
    }
    if (uMsg == WM_COMMAND && LOWORD(wParam) == kHandOverEmptyId) {
        ReceiveHandedOverEmptyLine(hWnd);
        lResult = 1;
        return TRUE;
    }
    if (uMsg == WM_COPYDATA) {
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data == nullptr || data->dwData != kHandOverCopyDataTag) return FALSE;
        // Only the bytes sent are read, up to the first zero.
        const char* bytes = static_cast<const char*>(data->lpData);
        size_t size = bytes != nullptr ? data->cbData : 0;
        if (size > kMaxHandOverText + 1) size = kMaxHandOverText + 1;
        std::string text(bytes != nullptr ? bytes : "", size);
        size_t zero = text.find('\0');
        if (zero != std::string::npos) text.erase(zero);
        ReceiveHandedOverCommandLine(hWnd, text.c_str());
        lResult = TRUE;
        return TRUE;
    }
    return FALSE;
}
