// The one request protocol between docking windows, bars, the auto-hide pane and the frame:
// WM_DOCK_REQUEST carries one of these records in lParam; the sender owns it and receivers
// write their answers into it. The layouts are fixed (they are also stored in layout files).
#pragma once

#include <windows.h>

#include <cstdint>

namespace dockwins {

constexpr UINT WM_DOCK_REQUEST = WM_USER + 1;  // 1025

enum DockRequestCode : int32_t {
    DOCKREQ_HITTEST = 1,
    DOCKREQ_DOCK = 2,
    DOCKREQ_UNDOCK = 3,
    DOCKREQ_GETPOS = 4,
    DOCKREQ_SETPOS = 5,
    DOCKREQ_LIMITRECT = 7,
    DOCKREQ_QUERYPINNED = 11,
    DOCKREQ_PIN = 12,
    DOCKREQ_MINEXTENT = 13,
};

// Docking side: the low two bits name the side, the rest are flags.
enum DockSideBits : int32_t {
    kSideBottom = 0,
    kSideRight = 1,
    kSideTop = 2,
    kSideLeft = 3,
    kSideMask = 3,
    kSideVertical = 1,     // a bar of the inner (horizontal) package
    kSideBefore = 2,       // before the central frame: top or left
    kSideOwnBar = 4,       // alone in its bar, or wants a bar of its own
    kSidePinned = 0x20,
};

// 32-bit fields throughout: the records keep their i386 layouts on every build.
struct DockRequestHeader {
    uint32_t window;
    uint32_t target;
    int32_t code;
};

struct DockTargetRequest {
    DockRequestHeader hdr;
    RECT rect;
    uint32_t flags;  // bit 31: inner package; bit 0: after the central frame
};

struct DockPosition {
    DockRequestHeader hdr;
    int32_t side;
    int32_t barIndex;
    float ratio;
    int32_t barWidth;
    int32_t extent;
    int32_t groupIndex;
};

struct PinRequest {
    DockRequestHeader hdr;
    int32_t side;
    int32_t paneWidth;
    int32_t show;
    int32_t count;
    uint32_t windows;
};

struct DockingWindowPlacement {
    DockPosition position;
    RECT floatRect;
    int32_t docked;
    int32_t visible;
};

static_assert(sizeof(DockRequestHeader) == 12, "request header layout");
static_assert(sizeof(DockTargetRequest) == 32, "target request layout");
static_assert(sizeof(DockPosition) == 36, "dock position layout");
static_assert(sizeof(PinRequest) == 32, "pin request layout");
static_assert(sizeof(DockingWindowPlacement) == 60, "placement layout");

inline uint32_t HandleField(HWND window) { return static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(window)); }
inline HWND FieldHandle(uint32_t field) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(field)); }

inline LRESULT SendDockRequest(HWND to, void* record)
{
    return to != nullptr ? ::SendMessageA(to, WM_DOCK_REQUEST, 0, reinterpret_cast<LPARAM>(record)) : 0;
}

}  // namespace dockwins
