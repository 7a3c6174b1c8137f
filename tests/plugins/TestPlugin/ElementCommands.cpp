// ElementMarks  makes an engine database of its own with three lines and drives the messages that
//               take a database or a mark (2494-2498, 2648, 2492, 2493, 2377, 2499, 33868, 2609
//               with view 0), then deletes the database. The caption traces every answer:
//               "ElementMarks c3 k1 r1 n2 f1 x1 h0 m0 b10,11 d1" when all went as they should.
// CopyUndo      appends two lines to the active drawing (2332), copies them turned by 90 degrees
//               (2499, 2500), undoes the copy (2515) and redoes it (2516); the caption traces the
//               element count after each step: "CopyUndo 2 4 2 4" (a count the host shows
//               otherwise is added in brackets), or "CopyUndo no drawing".
#include "ElementCommands.h"

#include <cstdio>
#include <cstring>
#include <string>

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

LRESULT Send(HWND host, UINT message, WPARAM wParam, const void* lParam)
{
    return SendMessageA(host, message, wParam, reinterpret_cast<LPARAM>(lParam));
}

ElementRecord Line(double x1, double y1, double x2, double y2)
{
    LineRecord line;
    std::memset(&line, 0, sizeof line);
    line.header[0] = kElementLine;
    line.header[11] = 1;  // colour
    line.x1 = x1, line.y1 = y1, line.x2 = x2, line.y2 = y2;
    ElementRecord record;
    std::memcpy(&record, &line, sizeof record);
    return record;
}

int ElementMarks(HWND host)
{
    EngineDbRecord db;
    std::memset(&db, 0, sizeof db);
    if (ZUriCreateDB(&db) != 1) {
        SetWindowTextA(host, "ElementMarks no database");
        return 0;
    }
    void* e[3];
    for (int i = 0; i < 3; ++i) {
        ElementRecord line = Line(0, i, 1, i);
        e[i] = ZUriAppendElement(&line, &db);
    }
    std::string trace = "ElementMarks";
    char part[48];
    void* mark = reinterpret_cast<void*>(Send(host, WM_CADDB_CREATE_MARK, 0, &db));
    CmdParamRecord p;
    std::memset(&p, 0, sizeof p);
    p.value1 = reinterpret_cast<INT_PTR>(mark);
    for (void* element : e) {
        p.value2 = reinterpret_cast<INT_PTR>(element);
        Send(host, WM_CADDB_SET_MARK, 0, &p);
    }
    std::snprintf(part, sizeof part, " c%d", static_cast<int>(Send(host, WM_CADDB_MARK_COUNT, 0, mark)));
    trace += part;
    CmdParamRecord check;
    std::memset(&check, 0, sizeof check);
    check.element = reinterpret_cast<INT_PTR>(e[0]);
    check.record = reinterpret_cast<INT_PTR>(mark);
    std::snprintf(part, sizeof part, " k%d", Send(host, WM_CADDB_CHECK_MARK, 0, &check) != 0 ? 1 : 0);
    trace += part;
    p.value2 = reinterpret_cast<INT_PTR>(e[1]);
    std::snprintf(part, sizeof part, " r%d", static_cast<int>(Send(host, WM_CADDB_DEL_MARK, 0, &p)));
    trace += part;
    std::snprintf(part, sizeof part, "%d", static_cast<int>(Send(host, WM_CADDB_MARK_COUNT, 0, mark)));
    trace += " n" + std::string(part);
    p.value2 = 0;
    void* first = reinterpret_cast<void*>(Send(host, WM_CADDB_NEXT_MARK, 0, &p));
    p.value2 = reinterpret_cast<INT_PTR>(first);
    void* next = reinterpret_cast<void*>(Send(host, WM_CADDB_NEXT_MARK_EXT, 0, &p));
    trace += first == e[0] ? " f1" : " f0";
    trace += next == e[2] ? " x1" : " x0";
    static_cast<EngineNode*>(e[0])->flags |= kNodeHighlighted;
    Send(host, WM_CAD_CLEAR_ALL_HIGHLIGHTS, 0, &db);
    std::snprintf(part, sizeof part, " h%u", static_cast<unsigned>(static_cast<EngineNode*>(e[0])->flags & 1));
    trace += part;
    const PlacementTransformRecord move = {1, 1, 0, 0, 1, 0, 0, 10, 0, 1, 1};
    Send(host, WM_CADDB_SET_PLACEMENT, 1, &move);
    std::snprintf(part, sizeof part, " m%d",
                  static_cast<int>(SendMessageA(host, WM_CADDB_MEM_CHANGE, reinterpret_cast<WPARAM>(&db),
                                                reinterpret_cast<LPARAM>(mark))));
    trace += part;
    const PlacementTransformRecord identity = {1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1};
    Send(host, WM_CADDB_SET_PLACEMENT, 1, &identity);
    SearchBox box{};
    CmdParamRecord extent;
    std::memset(&extent, 0, sizeof extent);
    extent.element = reinterpret_cast<INT_PTR>(e[0]);
    extent.record = reinterpret_cast<INT_PTR>(&box);
    extent.value1 = reinterpret_cast<INT_PTR>(&db);
    if (Send(host, WM_CAD_ELEMENT_EXTENT, 0, &extent) == 1) {
        std::snprintf(part, sizeof part, " b%g,%g", box.left, box.right);
        trace += part;
    } else {
        trace += " b-";
    }
    std::snprintf(part, sizeof part, " d%d", static_cast<int>(Send(host, WM_CADDB_DESTROY_MARK, 0, mark)));
    trace += part;
    ZUriDeleteDB(&db);
    SetWindowTextA(host, trace.c_str());
    return 1;
}

int CopyUndo(HWND host)
{
    HWND view = reinterpret_cast<HWND>(SendMessageA(host, WM_CAD_ACTIVE_VIEW, 0, 0));
    void* db = reinterpret_cast<void*>(SendMessageA(host, WM_CAD_ACTIVE_DB, 0, 0));
    if (view == nullptr || db == nullptr) {
        SetWindowTextA(host, "CopyUndo no drawing");
        return 0;
    }
    std::string trace = "CopyUndo";
    // The count the status bar shows, as the host gives it, beside the engine's own.
    auto count = [&] {
        const long shown = static_cast<long>(SendMessageA(host, WM_CAD_GET_ELEMENT_COUNT, 0, 0));
        const int engine = ZUriGetElmNum(db);
        trace += " " + std::to_string(engine);
        if (shown != engine) trace += "(shown " + std::to_string(shown) + ")";
    };
    CmdParamRecord p;
    std::memset(&p, 0, sizeof p);
    p.view = view;
    void* mark = reinterpret_cast<void*>(Send(host, WM_CADDB_CREATE_MARK, 0, db));
    for (int i = 0; i < 2; ++i) {
        ElementRecord line = Line(0, 10 * i, 100, 10 * i);
        p.value1 = reinterpret_cast<INT_PTR>(&line);
        void* element = reinterpret_cast<void*>(Send(host, WM_CADDB_APPEND_ELEMENT, 0, &p));
        CmdParamRecord m;
        std::memset(&m, 0, sizeof m);
        m.value1 = reinterpret_cast<INT_PTR>(mark);
        m.value2 = reinterpret_cast<INT_PTR>(element);
        Send(host, WM_CADDB_SET_MARK, 0, &m);
    }
    count();
    SendMessageA(host, WM_CADDB_UNDO_BEGIN, 0, 0);
    const PlacementTransformRecord turn = {1, 0, -1, 1, 0, 0, 0, 0, 0, 1, 1};
    Send(host, WM_CADDB_SET_PLACEMENT, 0, &turn);
    void* copies = reinterpret_cast<void*>(Send(host, WM_CADDB_APPEND, 0, mark));
    count();
    SendMessageA(host, WM_CADDB_UNDO_BEGIN, 0, 0);
    if (copies != nullptr) Send(host, WM_CADDB_DESTROY_MARK, 0, copies);
    Send(host, WM_CADDB_DESTROY_MARK, 0, mark);
    SendMessageA(host, WM_CADDB_UNDO, 0, 0);
    count();
    SendMessageA(host, WM_CADDB_REDO, 0, 0);
    count();
    SetWindowTextA(host, trace.c_str());
    return 1;
}

}  // namespace

int RunElementCommand(HWND host, const char* name)
{
    if (name == nullptr) return -2;
    if (Is(name, "ElementMarks")) return ElementMarks(host);
    if (Is(name, "CopyUndo")) return CopyUndo(host);
    return -2;
}
