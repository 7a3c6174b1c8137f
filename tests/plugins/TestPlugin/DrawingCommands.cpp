// AddLineCircle  appends a red line from (-100, 0) to (100, 0) and a green circle of radius 50
//                around (0, 0) to the active drawing, marks it modified and has the view
//                repainted; the caption then reads "AddLineCircle 2" (the element count), or
//                "AddLineCircle no drawing" when there is no active drawing.
#include "DrawingCommands.h"

#include <cstdio>
#include <cstring>

#include "DrawingWindowRecords.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostMessages.h"

namespace {

bool Is(const char* name, const char* command)
{
    const size_t length = std::strlen(command);
    return std::strncmp(name, command, length) == 0 && (name[length] == '\0' || name[length] == ' ');
}

ElementRecord Header(uint16_t type, uint16_t colour)
{
    ElementRecord record;
    std::memset(&record, 0, sizeof record);
    record.type = type;
    record.colour = colour;
    return record;
}

int AddLineCircle(HWND host)
{
    void* db = reinterpret_cast<void*>(SendMessageA(host, WM_CAD_ACTIVE_DB, 0, 0));
    HWND view = reinterpret_cast<HWND>(SendMessageA(host, WM_CAD_ACTIVE_VIEW, 0, 0));
    if (db == nullptr || view == nullptr) {
        SetWindowTextA(host, "AddLineCircle no drawing");
        return 0;
    }
    ElementRecord line = Header(kElementLine, 2);
    LineRecord geometry;
    std::memcpy(&geometry, &line, sizeof geometry);
    geometry.x1 = -100, geometry.y1 = 0, geometry.x2 = 100, geometry.y2 = 0;
    ZUriAppendElement(&geometry, db);
    ElementRecord circle = Header(kElementCircle, 3);
    CircleRecord round;
    std::memcpy(&round, &circle, sizeof round);
    round.cx = 0, round.cy = 0, round.radius = 50, round.nz = 1;
    ZUriAppendElement(&round, db);
    // Plug-ins mark the drawing modified through the view's drawing block.
    if (auto* block = reinterpret_cast<PDBINFO*>(GetWindowLongPtrA(view, 0))) block->modified = 1;
    SendMessageA(host, WM_CAD_REDRAW_VIEW, 0, 0);
    char text[64];
    std::snprintf(text, sizeof text, "AddLineCircle %d", ZUriGetElmNum(db));
    SetWindowTextA(host, text);
    return 1;
}

int OpenFile(HWND host, const char* path)
{
    while (*path == ' ') ++path;
    const LRESULT answer = SendMessageA(host, WM_CADDB_OPEN_FILE, 0, reinterpret_cast<LPARAM>(path));
    char text[64];
    std::snprintf(text, sizeof text, "OpenFile %ld", static_cast<long>(answer));
    SetWindowTextA(host, text);
    return 1;
}

}  // namespace

int RunDrawingCommand(HWND host, const char* name)
{
    if (name == nullptr) return -2;
    if (Is(name, "AddLineCircle")) return AddLineCircle(host);
    if (Is(name, "OpenFile")) return OpenFile(host, name + std::strlen("OpenFile"));
    return -2;
}
