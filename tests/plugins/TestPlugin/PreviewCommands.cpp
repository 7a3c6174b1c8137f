// MarkLines    appends 1,000 short red lines to the active drawing: 25 rows of 40, each 4 pixels
//              long on a pitch of 8 pixels, centred in the active view (rows from the top, each
//              row from the left, in that order); the caption then reads "MarkLines N" with the
//              drawing's element count, or "MarkLines no drawing".
// MarkPreview  marks every element of the active drawing and has the host preview the mark where
//              it stands (2385: no move, no turn, scale 1), with the mouse moving while the
//              preview is drawn. For that the command opens a hidden window of the class
//              "TestPluginCursorMover" and waits (10 seconds at most) for the named event
//              "TestPluginMoveQueued": the test sends the window the notification WM_APP + 1 and
//              then sets the event. The host's preview handles the notification when it looks at
//              the queue before its first element, and the window then moves the cursor to the
//              top-left corner of the screen. Then the command waits as WaitPoint does with
//              moves reported, its label "MarkPreview moved M" saying whether the cursor moved
//              during the preview (1) or not (0); the mark is destroyed when the wait ends.
#include "PreviewCommands.h"

#include <cstdio>
#include <cstring>

#include "DrawingWindowRecords.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "HostRecords.h"
#include "InputCodes.h"
#include "WaitCommands.h"

namespace {

constexpr int kColumns = 40, kRows = 25, kPitch = 8, kLength = 4;
constexpr UINT kMoveCursor = WM_APP + 1;
const char kMoverClass[] = "TestPluginCursorMover";

bool Is(const char* name, const char* command)
{
    const size_t length = std::strlen(command);
    return std::strncmp(name, command, length) == 0 && (name[length] == '\0' || name[length] == ' ');
}

// Whether the preview is being drawn, and whether the cursor moved then (1), outside it (-1) or
// not yet (0).
bool g_previewing = false;
int g_moved = 0;

LRESULT CALLBACK MoverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != kMoveCursor) return DefWindowProcA(window, message, wParam, lParam);
    if (!g_previewing) {
        g_moved = -1;
        return 0;
    }
    g_moved = SetCursorPos(0, 0) ? 1 : -1;
    return 0;
}

// A hidden window of this thread that moves the cursor when told to, with the notification that
// tells it already queued by the test; null when the test did not queue it in time.
HWND QueueCursorMove()
{
    HANDLE queued = CreateEventA(nullptr, TRUE, FALSE, "TestPluginMoveQueued");
    if (queued == nullptr) return nullptr;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MoverProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kMoverClass;
    RegisterClassA(&wc);
    HWND mover = CreateWindowExA(0, kMoverClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    // The wait lets no message in: the notification stays queued for the preview to find.
    const bool sent = mover != nullptr && WaitForSingleObject(queued, 10000) == WAIT_OBJECT_0;
    CloseHandle(queued);
    if (!sent && mover != nullptr) {
        DestroyWindow(mover);
        mover = nullptr;
    }
    return mover;
}

int MarkLines(HWND host)
{
    void* db = reinterpret_cast<void*>(SendMessageA(host, WM_CAD_ACTIVE_DB, 0, 0));
    HWND view = reinterpret_cast<HWND>(SendMessageA(host, WM_CAD_ACTIVE_VIEW, 0, 0));
    if (db == nullptr || view == nullptr) {
        SetWindowTextA(host, "MarkLines no drawing");
        return 0;
    }
    // The view's scale and the client point of the world origin, from the host's conversion.
    double world[4] = {0, 0, 1000, -1000};
    RECT pixels = {};
    CmdParamRecord param = {};
    param.view = view;
    param.element = reinterpret_cast<INT_PTR>(world);
    param.record = reinterpret_cast<INT_PTR>(&pixels);
    SendMessageA(host, WM_CAD_WORLD_TO_CLIENT, 0, reinterpret_cast<LPARAM>(&param));
    const double scale = (pixels.right - pixels.left) / 1000.0;
    if (!(scale > 0)) {
        SetWindowTextA(host, "MarkLines no scale");
        return 0;
    }
    RECT client;
    GetClientRect(view, &client);
    const int left = client.right / 2 - kColumns * kPitch / 2, top = client.bottom / 2 - kRows * kPitch / 2;
    auto worldX = [&](int x) { return (x + 0.5 - pixels.left) / scale; };
    auto worldY = [&](int y) { return (pixels.top - y - 0.5) / scale; };
    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            LineRecord line;
            std::memset(&line, 0, sizeof line);
            auto* header = reinterpret_cast<ElementRecord*>(&line);
            header->type = kElementLine;
            header->colour = 2;
            const int x = left + column * kPitch, y = top + row * kPitch;
            line.x1 = worldX(x), line.x2 = worldX(x + kLength - 1);
            line.y1 = line.y2 = worldY(y);
            ZUriAppendElement(&line, db);
        }
    }
    if (auto* block = reinterpret_cast<PDBINFO*>(GetWindowLongPtrA(view, 0))) block->modified = 1;
    SendMessageA(host, WM_CAD_REDRAW_VIEW, 0, 0);
    char text[64];
    std::snprintf(text, sizeof text, "MarkLines %d", ZUriGetElmNum(db));
    SetWindowTextA(host, text);
    return 1;
}

int MarkPreview(HWND host)
{
    void* db = reinterpret_cast<void*>(SendMessageA(host, WM_CAD_ACTIVE_DB, 0, 0));
    HWND view = reinterpret_cast<HWND>(SendMessageA(host, WM_CAD_ACTIVE_VIEW, 0, 0));
    void* mark = db ? ZUriCreateMark(db) : nullptr;
    if (mark == nullptr || view == nullptr) {
        SetWindowTextA(host, "MarkPreview no drawing");
        return 0;
    }
    unsigned char record[174];
    for (void* e = ZUriReadElement(nullptr, 0, record, db); e; e = ZUriReadElement(e, 1, record, db)) ZUriSetMark(e, mark);

    double angle = 0, scale = 1;
    CmdParamRecord param = {};
    param.view = view;
    param.mode = 0;
    param.double1 = &angle;
    param.double2 = &scale;
    param.transform = reinterpret_cast<INT_PTR>(mark);
    g_moved = 0;
    HWND mover = QueueCursorMove();
    g_previewing = true;
    SendMessageA(host, WM_CAD_DRAG_PREVIEW, 0, reinterpret_cast<LPARAM>(&param));
    g_previewing = false;
    if (mover != nullptr) DestroyWindow(mover);
    // The class goes with the window: the library may be loaded at another address next time.
    UnregisterClassA(kMoverClass, GetModuleHandleA(nullptr));

    char label[64];
    std::snprintf(label, sizeof label, "MarkPreview moved %d", g_moved == 1 ? 1 : 0);
    const int result = WaitForPoints(host, label, kAcceptEscape | kAcceptRubberBand, "点を指示してください");
    ZUriDestroyMark(mark);
    return result;
}

}  // namespace

int RunPreviewCommand(HWND host, const char* name)
{
    if (name == nullptr) return -2;
    if (Is(name, "MarkLines")) return MarkLines(host);
    if (Is(name, "MarkPreview")) return MarkPreview(host);
    return -2;
}
