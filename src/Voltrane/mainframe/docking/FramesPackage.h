// The slot arithmetic of a row (or column) of frames separated by 5-pixel splitters, shared by
// the frame's two packages and by every bar. It holds positions and minimum extents only, so
// the window code around it asks the frames for their minimums and places them afterwards.
#pragma once

#include <windows.h>

#include <deque>

namespace dockwins {

constexpr int kSplitterWidth = 5;
// How close to a slot's edge a drop counts as "in front of" or "behind" it.
constexpr int kDropZone = 20;

struct FrameSlot {
    int position = 0;    // where the splitter in front of the frame starts
    int minimum = 0;     // the frame's minimum extent along the axis, splitter excluded
    INT_PTR frame = 0;   // the frame the slot stands for (window handle or frame object)
};

class CWndFramesPackageBase {
public:
    explicit CWndFramesPackageBase(bool horizontal) : m_horizontal(horizontal) {}

    bool Horizontal() const { return m_horizontal; }
    int Lower() const { return m_lower; }
    int Upper() const { return m_upper; }
    int Count() const { return static_cast<int>(m_slots.size()); }
    FrameSlot& Slot(int i) { return m_slots[i]; }
    const FrameSlot& Slot(int i) const { return m_slots[i]; }
    // The central frame's slot, or -1 in a package without one (a bar).
    int Central() const { return m_central; }
    void SetCentral(int slot) { m_central = slot; }
    // The slot holding the frame, or -1.
    int Find(INT_PTR frame) const;

    // The end of a slot: the next slot's position, or the upper bound for the last one.
    int SlotEnd(int i) const;
    // Next position minus own position (splitter included).
    int Extent(int i) const { return SlotEnd(i) - m_slots[i].position; }
    // Sum of (minimum + splitter) over the slots [from, to).
    int Reserved(int from, int to) const;
    int Reserved() const { return Reserved(0, Count()); }
    // The last slot whose position is at most the coordinate (0 when it lies before all).
    int SlotAt(int coordinate) const;

    // New bounds: without a central frame every slot is scaled to the new length; with one
    // the central frame absorbs the change down to its minimum and only the rest is scaled.
    void SetRange(int lower, int upper);
    // Makes room for a frame of the extent (splitter included) at the slot place and inserts it.
    void Insert(int place, int position, int extent, int minimum, INT_PTR frame);
    // A new bar beside the central frame: the central frame gives up the room first.
    void InsertBesideCentral(int place, int position, int extent, int minimum, INT_PTR frame);
    // A frame joining at a coordinate: beyond the first third of the slot found it goes
    // behind that slot, else in front of it. Gives back the place used.
    int AddAt(int position, int extent, int minimum, INT_PTR frame);
    void Remove(int slot);
    void SplitterLimits(int slot, int* lowest, int* highest) const;
    void MoveSplitter(int slot, int position);

private:
    void Rescale(int oldLower, int oldUpper);

    bool m_horizontal;
    std::deque<FrameSlot> m_slots;
    int m_lower = 0;
    int m_upper = 0;
    int m_central = -1;
};

// Where a drop at a frame-level package lands.
struct FrameDrop {
    enum Kind { Refused, NewBar, OverBar } kind = Refused;
    int place = 0;        // NewBar: the slot place of the new bar; OverBar: the bar's slot
    bool afterCentral = false;
    int start = 0;        // NewBar: the new bar's span along the axis
    int end = 0;
};

// The drop rule of a frame-level package: rect is the package's span along the axis
// [rectStart, rectEnd) and across it [crossStart, crossEnd); (a, b) the point along and across;
// dragMin the dragged window's minimum tracking size along and across; dragged its extent along.
FrameDrop FrameDropTest(const CWndFramesPackageBase& package, int rectStart, int rectEnd, int crossStart,
                        int crossEnd, int a, int b, int dragMinAlong, int dragMinAcross, int dragged);

// Whether a bar accepts a drop: not when it holds only the dragged window itself; else the
// point must lie in its client area, which must take the dragged minimum, with room left along.
bool BarAcceptsDrop(const CWndFramesPackageBase& bar, INT_PTR dragged, const RECT& client, POINT point,
                    int dragMinX, int dragMinY);

// The in-bar part of a docked position.
struct BarPosition {
    float ratio = 0.0f;
    int extent = 0;  // splitter excluded
    bool alone = false;
};
bool BarGetPosition(const CWndFramesPackageBase& bar, INT_PTR window, BarPosition* out);
// Inserts the window at a stored in-bar position; gives back its slot.
int BarSetPosition(CWndFramesPackageBase& bar, INT_PTR window, float ratio, int extent, int minimum);

// Frame level: the bar's place counted from the outer edge of its side.
struct FrameBarIndex {
    bool beforeCentral = false;  // top or left
    int barIndex = 0;
    int barWidth = 0;
};
bool FrameGetBarIndex(const CWndFramesPackageBase& package, INT_PTR bar, FrameBarIndex* out);
// Frame level: which bar a stored position goes to. Gives back the slot of an existing bar
// to join, or -1 with the place and start of a new bar (extent barWidth + splitter).
struct FrameSetTarget {
    int joinSlot = -1;
    int newPlace = 0;
    int newStart = 0;
};
FrameSetTarget FrameSetPositionTarget(const CWndFramesPackageBase& package, bool beforeCentral, bool ownBar,
                                      int barIndex, int barWidth);

}  // namespace dockwins
