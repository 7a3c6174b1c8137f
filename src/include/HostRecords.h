// Records that plug-in commands hand to the host in the long parameter of the host messages.
// They cross the boundary to 32-bit plug-in libraries, so their layouts are fixed: little-endian,
// no padding, 4-byte pointers and integers, IEEE doubles.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// A point as the host messages carry it: x, y and two values that the point searches fill.
struct HostPoint {
    double x;
    double y;
    int32_t value1;
    int32_t value2;
};

// The parameter record of most host messages. The sender fills it; the host reads the fields
// a message uses and writes only where the message says so.
struct CmdParamRecord {
    void* first;            // 0: a text or a record (configuration: first text; pages: record)
    INT_PTR second;         // 4: a pointer or an integer (configuration: second text or default)
    char* text;             // 8: file name, section name, layer name or text buffer
    INT_PTR key;            // 12: a text (key name, group name) or an integer
    int32_t mode;           // 16: mode, operation code, switch or draw mode
    uint8_t reserved20[8];  // 20: not read by the host
    double* double1;        // 28
    double* double2;        // 32
    HWND view;              // 36: a drawing view; some messages take 0 for the active one
    INT_PTR element;        // 40: an engine element, a mark handle or a buffer
    INT_PTR record;         // 44: an element record, a mark or an output block
    INT_PTR transform;      // 48: a transform record or a value
    void* elementRecord;    // 52: an element record
    uint8_t reserved56[4];  // 56: not read by the host
    HostPoint point1;       // 60
    HostPoint point2;       // 84
    INT_PTR value1;         // 108: mark handle, element, layer index or text
    INT_PTR value2;         // 112: element or value
    INT_PTR value3;         // 116: a further value
};

// The record a waiting command passes with WM_CAD_WAIT_INPUT; the host fills the answer.
struct InputWaitRecord {
    uint8_t reserved0[7];   // 0: not read by the host
    uint8_t snapFilter;     // 7: snap kinds this wait allows (newer libraries only); 0 = all
    HostPoint point;        // 8: the returned point
    INT_PTR result;         // 32: element, mark, DDE text or layer of a layout cell
    int32_t reserved36;     // 36: not read by the host
    int32_t kind;           // 40: kind of the panel item used
    int32_t value;          // 44: value of the panel item
    int32_t item;           // 48: the panel item, or the page of a layout cell
};

// The record of WM_CAD_FONT_SERVICE (2671): the sender zeroes it, fills the inputs of the
// function code in wParam and reads the answers. Which fields a code uses is the font
// service's table; the names here say what the plug-in's font list puts in them.
struct DicFunctionRecord {
    uint8_t reserved0[8];      // 0: not read by the host
    int32_t value8;            // 8: sub-code, index or count (in and out)
    INT_PTR value12;           // 12: integer or pointer (in and out)
    int32_t value16;           // 16: integer (in)
    uint8_t reserved20[4];     // 20
    uint8_t buffer24[356];     // 24: buffer whose address goes to the engine
    char name380[262];         // 380: name buffer whose address goes to the engine
    double double642;          // 642 (in and out)
    double double650;          // 650 (in and out)
    double double658;          // 658 (out)
    uint8_t reserved666[16];   // 666
    INT_PTR value682;          // 682: integer or pointer (in): the caller's name buffer of code 24
    int32_t value686;          // 686: integer (in)
    uint8_t reserved690[12];   // 690
};

// The placement transform of WM_CADDB_SET_PLACEMENT (2499): 11 doubles, not the engine's 97-byte
// database placement of EngineRecords.h. Points are placed as x' = (m11(x-ox) + m12(y-oy))sx + tx,
// y' = (m21(x-ox) + m22(y-oy))sy + ty; lengths are scaled by s.
struct PlacementTransformRecord {
    double s;          // 0: length scale
    double m11, m12;   // 8, 16
    double m21, m22;   // 24, 32
    double ox, oy;     // 40, 48: origin
    double tx, ty;     // 56, 64: destination
    double sx, sy;     // 72, 80: scales of placed points (a 72-byte record takes s for both)
};

// The record of the panel messages that add an item or show a panel (2508-2513, 2560, 2628,
// 2656). Bytes not named here are not read.
struct PboxAddRequest {
    uint8_t reserved0[40];    // 0: not read by the host
    int32_t extra2;           // 40: 2512 the number put in front of the list, 2656 the list's value2
    uint8_t reserved44[64];   // 44: not read by the host
    int32_t panel;            // 108: panel index
    int32_t id;               // 112: item id (2508: the panel width)
    INT_PTR text;             // 116: item text (2508: the panel height, an integer)
    int32_t x;                // 120
    int32_t y;                // 124
    int32_t width;            // 128
    int32_t height;           // 132
    INT_PTR extra;            // 136: value2 (2510, 2511), value (2512, 2656), initial text (2628)
};

// The record of the panel messages that read or change one item (2554-2563, 2591, 2618, 2626,
// 2627, 2646).
struct PboxItemRequest {
    int32_t panel;            // 0: panel index (2646: -100 asks for the numeric-pad setting)
    int32_t id;               // 4: item id
    char* text;               // 8: getters' destination, setters' source
    uint8_t reserved12[4];    // 12: not read by the host
    int32_t selector;         // 16: 0 get / set; enabled state (2562); text colour (2563); cut (2618)
    INT_PTR value;            // 20: 2556 set the value itself, else a pointer to the int
    uint8_t reserved24[16];   // 24: not read by the host
    int32_t value40;          // 40: back colour (2563), user value (2646)
};

#pragma pack(pop)

static_assert(sizeof(HostPoint) == 24, "HostPoint is 24 bytes");

static_assert(offsetof(CmdParamRecord, first) == 0, "CmdParamRecord +0");
static_assert(offsetof(CmdParamRecord, second) == 4, "CmdParamRecord +4");
static_assert(offsetof(CmdParamRecord, text) == 8, "CmdParamRecord +8");
static_assert(offsetof(CmdParamRecord, key) == 12, "CmdParamRecord +12");
static_assert(offsetof(CmdParamRecord, mode) == 16, "CmdParamRecord +16");
static_assert(offsetof(CmdParamRecord, double1) == 28, "CmdParamRecord +28");
static_assert(offsetof(CmdParamRecord, double2) == 32, "CmdParamRecord +32");
static_assert(offsetof(CmdParamRecord, view) == 36, "CmdParamRecord +36");
static_assert(offsetof(CmdParamRecord, element) == 40, "CmdParamRecord +40");
static_assert(offsetof(CmdParamRecord, record) == 44, "CmdParamRecord +44");
static_assert(offsetof(CmdParamRecord, transform) == 48, "CmdParamRecord +48");
static_assert(offsetof(CmdParamRecord, elementRecord) == 52, "CmdParamRecord +52");
static_assert(offsetof(CmdParamRecord, point1) == 60, "CmdParamRecord +60");
static_assert(offsetof(CmdParamRecord, point2) == 84, "CmdParamRecord +84");
static_assert(offsetof(CmdParamRecord, value1) == 108, "CmdParamRecord +108");
static_assert(offsetof(CmdParamRecord, value2) == 112, "CmdParamRecord +112");
static_assert(offsetof(CmdParamRecord, value3) == 116, "CmdParamRecord +116");
static_assert(sizeof(CmdParamRecord) == 120, "CmdParamRecord is 120 bytes");

static_assert(offsetof(InputWaitRecord, snapFilter) == 7, "InputWaitRecord +7");
static_assert(offsetof(InputWaitRecord, point) == 8, "InputWaitRecord +8");
static_assert(offsetof(InputWaitRecord, point.y) == 16, "InputWaitRecord +16");
static_assert(offsetof(InputWaitRecord, point.value1) == 24, "InputWaitRecord +24");
static_assert(offsetof(InputWaitRecord, result) == 32, "InputWaitRecord +32");
static_assert(offsetof(InputWaitRecord, kind) == 40, "InputWaitRecord +40");
static_assert(offsetof(InputWaitRecord, value) == 44, "InputWaitRecord +44");
static_assert(offsetof(InputWaitRecord, item) == 48, "InputWaitRecord +48");
static_assert(sizeof(InputWaitRecord) == 52, "InputWaitRecord is 52 bytes");

static_assert(offsetof(DicFunctionRecord, value8) == 8, "DicFunctionRecord +8");
static_assert(offsetof(DicFunctionRecord, value12) == 12, "DicFunctionRecord +12");
static_assert(offsetof(DicFunctionRecord, value16) == 16, "DicFunctionRecord +16");
static_assert(offsetof(DicFunctionRecord, buffer24) == 24, "DicFunctionRecord +24");
static_assert(offsetof(DicFunctionRecord, name380) == 380, "DicFunctionRecord +380");
static_assert(offsetof(DicFunctionRecord, double642) == 642, "DicFunctionRecord +642");
static_assert(offsetof(DicFunctionRecord, double650) == 650, "DicFunctionRecord +650");
static_assert(offsetof(DicFunctionRecord, double658) == 658, "DicFunctionRecord +658");
static_assert(offsetof(DicFunctionRecord, value682) == 682, "DicFunctionRecord +682");
static_assert(offsetof(DicFunctionRecord, value686) == 686, "DicFunctionRecord +686");
static_assert(sizeof(DicFunctionRecord) == 702, "DicFunctionRecord is 702 bytes");

static_assert(offsetof(PlacementTransformRecord, ox) == 40, "PlacementTransformRecord +40");
static_assert(offsetof(PlacementTransformRecord, tx) == 56, "PlacementTransformRecord +56");
static_assert(offsetof(PlacementTransformRecord, sx) == 72, "PlacementTransformRecord +72");
static_assert(sizeof(PlacementTransformRecord) == 88, "PlacementTransformRecord is 88 bytes");

static_assert(offsetof(PboxAddRequest, extra2) == 40, "PboxAddRequest +40");
static_assert(offsetof(PboxAddRequest, panel) == 108, "PboxAddRequest +108");
static_assert(offsetof(PboxAddRequest, id) == 112, "PboxAddRequest +112");
static_assert(offsetof(PboxAddRequest, text) == 116, "PboxAddRequest +116");
static_assert(offsetof(PboxAddRequest, x) == 120, "PboxAddRequest +120");
static_assert(offsetof(PboxAddRequest, y) == 124, "PboxAddRequest +124");
static_assert(offsetof(PboxAddRequest, width) == 128, "PboxAddRequest +128");
static_assert(offsetof(PboxAddRequest, height) == 132, "PboxAddRequest +132");
static_assert(offsetof(PboxAddRequest, extra) == 136, "PboxAddRequest +136");
static_assert(offsetof(PboxItemRequest, panel) == 0, "PboxItemRequest +0");
static_assert(offsetof(PboxItemRequest, id) == 4, "PboxItemRequest +4");
static_assert(offsetof(PboxItemRequest, text) == 8, "PboxItemRequest +8");
static_assert(offsetof(PboxItemRequest, selector) == 16, "PboxItemRequest +16");
static_assert(offsetof(PboxItemRequest, value) == 20, "PboxItemRequest +20");
static_assert(offsetof(PboxItemRequest, value40) == 40, "PboxItemRequest +40");
