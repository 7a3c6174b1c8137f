// Test plug-in: the commands are chosen by the text after "/C:" (or "/c:"). Every call leaves a
// trace the host side can see: the host window's caption becomes the text the call was given.
//   Echo    returns 1.
//   Fault   writes through a null pointer.
//   Wait    pumps the host's messages until the host window carries the property
//           "TestPluginCancel" (or 20 seconds pass); removes it; returns 0.
//   WaitPoint, WaitKey, WaitCancel, RubberBand: see WaitCommands.cpp; AddLineCircle,
//   PageLayout: DrawingCommands.cpp;
//   Settings, MakeDrawing: HostServiceCommands.cpp;
//   ElementMarks, CopyUndo: ElementCommands.cpp; KitDialog: KitDialogCommand.cpp.
//   Message TEXT  shows TEXT in the host's message line (VyDSP_MSG), then traces what the
//           status bar shows: "shown R ink X sum S" (R the call's result, X the right-most
//           column of text ink in the bar's left half, S a checksum of those pixels).
//   Record  appends "|" and its whole text to the host window's caption instead of replacing it,
//           so that a test sees every run of a series.
//   DdeClient SERVICE: see DdeCommands.cpp; PagesMake, PagesList: PageCommands.cpp.
//   MarkLines, MarkPreview: PreviewCommands.cpp.
//   other   returns -1 (the command did not run).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "Dravik.h"
#include "PluginEntry.h"
#include "DdeCommands.h"
#include "DrawingCommands.h"
#include "ElementCommands.h"
#include "HostServiceCommands.h"
#include "KitDialogCommand.h"
#include "PageCommands.h"
#include "PanelCommands.h"
#include "PreviewCommands.h"
#include "WaitCommands.h"

namespace {

// The command name in the text, or the text itself when it has no "/C:".
const char* CommandName(const char* text)
{
    if (text == nullptr) return "";
    const char* mark = std::strstr(text, "/C:");
    if (mark == nullptr) mark = std::strstr(text, "/c:");
    return mark ? mark + 3 : text;
}

bool Is(const char* name, const char* command)
{
    const size_t length = std::strlen(command);
    return std::strncmp(name, command, length) == 0 &&
           (name[length] == '\0' || name[length] == ' ');
}

int WaitForCancel(HWND host)
{
    const DWORD start = GetTickCount();
    while (GetPropA(host, "TestPluginCancel") == nullptr && GetTickCount() - start < 20000) {
        // Like the host's input wait, the command ends as soon as it is cancelled: messages
        // that arrive after the cancel run once the command has returned.
        MSG msg;
        while (GetPropA(host, "TestPluginCancel") == nullptr &&
               PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (GetPropA(host, "TestPluginCancel") != nullptr) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    RemovePropA(host, "TestPluginCancel");
    return 0;
}

void Trace(HWND host, const std::string& text)
{
    if (host != nullptr) SetWindowTextA(host, text.c_str());
}

// The picture of the left half of the host's status bar, as painted: the right-most column
// holding ink of the message text and a checksum of the pixels.
std::string DescribeStatusBar(HWND host)
{
    HWND bar = FindWindowExA(host, nullptr, "CadStatusBar", nullptr);
    if (bar == nullptr) return "no status bar";
    UpdateWindow(bar);
    RECT rc;
    GetClientRect(bar, &rc);
    const int width = rc.right / 2;
    const int height = rc.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC dc = GetDC(bar);
    HDC memory = CreateCompatibleDC(dc);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    GdiFlush();
    unsigned long sum = 2166136261u;
    int rightmost = -1;
    const DWORD* pixels = static_cast<const DWORD*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const DWORD p = pixels[y * width + x] & 0xFFFFFF;
            sum = (sum ^ p) * 16777619u;
            // The message field writes blue on light grey.
            const int blueExcess = static_cast<int>(p & 0xFF) - static_cast<int>((p >> 16) & 0xFF);
            if (blueExcess > 60 && x > rightmost) rightmost = x;
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(bar, dc);
    char text[64];
    std::snprintf(text, sizeof text, "ink %d sum %lu", rightmost, sum);
    return text;
}

}  // namespace

extern "C" int WINAPI StartCmd(HWND host, const char* commandText)
{
    const char* name = CommandName(commandText);
    if (Is(name, "Record")) {
        char caption[1024] = {};
        GetWindowTextA(host, caption, sizeof caption);
        Trace(host, std::string(caption) + "|" + commandText);
        return 1;
    }
    Trace(host, commandText ? commandText : "");
    if (Is(name, "Echo")) return 1;
    if (Is(name, "Fault")) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
        return 1;
    }
    if (Is(name, "Wait")) return WaitForCancel(host);
    if (Is(name, "Message")) {
        const char* text = name + std::strlen("Message");
        while (*text == ' ') ++text;
        const int shown = VyDSP_MSG(text);
        Trace(host, "shown " + std::to_string(shown) + " " + DescribeStatusBar(host));
        return shown;
    }
    if (int result = RunWaitCommand(host, name); result != -2) return result;
    if (int result = RunDrawingCommand(host, name); result != -2) return result;
    if (int result = RunHostServiceCommand(host, name); result != -2) return result;
    if (int result = RunElementCommand(host, name); result != -2) return result;
    if (int result = RunKitDialogCommand(host, name); result != -2) return result;
    if (int result = RunDdeCommand(host, name); result != -2) return result;
    if (int result = RunPageCommand(host, name); result != -2) return result;
    if (int result = RunPanelCommand(host, name); result != -2) return result;
    if (int result = RunPreviewCommand(host, name); result != -2) return result;
    return -1;
}

extern "C" int WINAPI CwCmdSaveFg(void) { return 1; }

extern "C" int WINAPI CwCmdVer(void) { return 800; }

// File loaders: the caption names the entry and the path; the path "fault" faults.
extern "C" int WINAPI LoadingDB(HWND host, const char* path, void* /*database*/)
{
    if (path != nullptr && std::strcmp(path, "fault") == 0) *static_cast<volatile int*>(nullptr) = 1;
    Trace(host, std::string("LoadingDB ") + (path ? path : ""));
    return 1;
}

extern "C" int WINAPI Jwc_LoadingDB(HWND host, const char* path, void* /*database*/)
{
    Trace(host, std::string("Jwc_LoadingDB ") + (path ? path : ""));
    return 1;
}

extern "C" int WINAPI LoadingDB_Info(HWND host, const char* path, void* /*database*/,
                                     void* /*info1*/, void* /*info2*/)
{
    Trace(host, std::string("LoadingDB_Info ") + (path ? path : ""));
    return 1;
}

// The entries have the types the program calls them through.
static_assert(std::is_same<decltype(&StartCmd), StartCmdProc>::value, "StartCmd");
static_assert(std::is_same<decltype(&CwCmdSaveFg), CwCmdSaveFgProc>::value, "CwCmdSaveFg");
static_assert(std::is_same<decltype(&CwCmdVer), CwCmdVerProc>::value, "CwCmdVer");
static_assert(std::is_same<decltype(&LoadingDB), LoadingDbProc>::value, "LoadingDB");
static_assert(std::is_same<decltype(&Jwc_LoadingDB), LoadingDbProc>::value, "Jwc_LoadingDB");
static_assert(std::is_same<decltype(&LoadingDB_Info), LoadingDbInfoProc>::value, "LoadingDB_Info");
