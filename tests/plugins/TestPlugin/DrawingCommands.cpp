// AddLineCircle  appends a red line from (-100, 0) to (100, 0) and a green circle of radius 50
//                around (0, 0) to the active drawing, marks it modified and has the view
//                repainted; the caption then reads "AddLineCircle 2" (the element count), or
//                "AddLineCircle no drawing" when there is no active drawing.
// AttachTiff NAME reads the file of that name beside the plug-in and hands its bytes to the host's raster service (2610,
//                operation 1: attach a TIFF to the active drawing); the caption then reads
//                "AttachTiff R" with the host's answer.
// PageLayout     adds pages 1 to 9 to the active drawing through the host's page service
//                (2657) and switches its view to page layout (2624); the caption then reads
//                "PageLayout added N layout R" with the pages added and 2624's answer.
#include "DrawingCommands.h"

#include <cstdio>
#include <cstddef>
#include <cstring>
#include <vector>

#include "DrawingWindowRecords.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostMessages.h"
#include "HostRecords.h"

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

// The host's raster request as plug-ins fill it.
struct RasterRequest {
    int32_t operation;       // 0
    uint8_t reserved4[260];  // 4
    int32_t dataLength;      // 264
    uint8_t reserved268[4];  // 268
    const void* data;        // 272
    uint8_t reserved276[72]; // 276
    double* point1;          // 348
    void* point2;            // 352
    HWND view;               // 356
};
static_assert(sizeof(void*) != 4 || offsetof(RasterRequest, view) == 356, "raster request layout");

int AttachTiff(HWND host, const char* name)
{
    char path[MAX_PATH] = "";
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&AttachTiff), &self);
    GetModuleFileNameA(self, path, sizeof path);
    if (char* slash = std::strrchr(path, '\\')) slash[1] = '\0';
    std::strncat(path, name, sizeof path - std::strlen(path) - 1);
    std::vector<unsigned char> bytes;
    HANDLE in = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in != INVALID_HANDLE_VALUE) {
        unsigned char buffer[4096];
        DWORD got = 0;
        while (ReadFile(in, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.insert(bytes.end(), buffer, buffer + got);
        CloseHandle(in);
    }
    RasterRequest request = {};
    request.operation = 1;
    request.dataLength = static_cast<int32_t>(bytes.size());
    request.data = bytes.data();
    request.view = reinterpret_cast<HWND>(SendMessageA(host, WM_CAD_ACTIVE_VIEW, 0, 0));
    const LRESULT result = SendMessageA(host, WM_CAD_RASTER, 0, reinterpret_cast<LPARAM>(&request));
    char text[MAX_PATH + 32];
    std::snprintf(text, sizeof text, "AttachTiff %ld", static_cast<long>(result));
    if (bytes.empty()) std::snprintf(text, sizeof text, "AttachTiff no file %s", path);
    SetWindowTextA(host, text);
    return 1;
}

int PageLayout(HWND host)
{
    HWND view = reinterpret_cast<HWND>(SendMessageA(host, WM_CAD_ACTIVE_VIEW, 0, 0));
    int added = 0;
    for (int page = 1; page <= 9; ++page) {
        CmdParamRecord param = {};
        param.second = page;
        param.element = 0;  // the parent: the drawing itself
        if (SendMessageA(host, WM_CADPAGE, CADPAGE_CREATE, reinterpret_cast<LPARAM>(&param)) == 1) ++added;
    }
    CmdParamRecord layout = {};
    layout.view = view;
    layout.mode = 1;
    const LRESULT result = SendMessageA(host, WM_CAD_SET_PAGE_LAYOUT_VIEW, 0, reinterpret_cast<LPARAM>(&layout));
    char text[64];
    std::snprintf(text, sizeof text, "PageLayout added %d layout %ld", added, static_cast<long>(result));
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
    if (Is(name, "PageLayout")) return PageLayout(host);
    if (Is(name, "AttachTiff")) return AttachTiff(host, name + std::strlen("AttachTiff") + (name[10] == ' ' ? 1 : 0));
    if (Is(name, "OpenFile")) return OpenFile(host, name + std::strlen("OpenFile"));
    return -2;
}
