#include "mainframe/docking/FramesPackage.h"

#include <algorithm>

namespace dockwins {

int CWndFramesPackageBase::Find(INT_PTR frame) const
{
    for (int i = 0; i < Count(); ++i) {
        if (m_slots[i].frame == frame) return i;
    }
    return -1;
}

int CWndFramesPackageBase::SlotEnd(int i) const
{
    return i + 1 < Count() ? m_slots[i + 1].position : m_upper;
}

int CWndFramesPackageBase::Reserved(int from, int to) const
{
    int sum = 0;
    for (int i = std::max(from, 0); i < to && i < Count(); ++i) sum += m_slots[i].minimum + kSplitterWidth;
    return sum;
}

int CWndFramesPackageBase::SlotAt(int coordinate) const
{
    int low = 0, high = Count();
    while (high - low > 1) {
        int middle = (low + high) / 2;
        if (m_slots[middle].position <= coordinate) low = middle;
        else high = middle;
    }
    return low;
}

void CWndFramesPackageBase::Rescale(int oldLower, int oldUpper)
{
    int oldLength = oldUpper - oldLower;
    int newLength = m_upper - m_lower;
    if (m_slots.empty()) return;
    int shift = m_lower - oldLower;
    for (FrameSlot& slot : m_slots) slot.position += shift;
    m_slots[0].position = m_lower;
    for (int i = 1; i < Count(); ++i) {
        int offset = m_slots[i].position - m_lower;
        int position = m_lower + (oldLength != 0 ? MulDiv(offset, newLength, oldLength) : offset);
        int highest = m_upper - Reserved(i, Count());
        int lowest = m_slots[i - 1].position + m_slots[i - 1].minimum + kSplitterWidth;
        // Where both limits cannot hold, the minimum wins: frames run past the end instead.
        position = std::max(std::min(position, highest), lowest);
        m_slots[i].position = position;
    }
}

void CWndFramesPackageBase::SetRange(int lower, int upper)
{
    int oldLower = m_lower, oldUpper = m_upper;
    m_lower = lower;
    m_upper = upper;
    if (oldLower == oldUpper) {
        if (!m_slots.empty()) m_slots[0].position = lower;
        return;
    }
    if (m_central >= 0 && m_central < Count()) {
        int growth = (upper - lower) - (oldUpper - oldLower);
        if (growth < 0) {
            int spare = std::max(0, Extent(m_central) - m_slots[m_central].minimum - kSplitterWidth);
            // Extent() already reads the new upper bound for the last slot: use the old one.
            if (m_central + 1 == Count())
                spare = std::max(0, oldUpper - m_slots[m_central].position - m_slots[m_central].minimum - kSplitterWidth);
            growth = std::max(growth, -spare);
        }
        for (int i = m_central + 1; i < Count(); ++i) m_slots[i].position += growth;
        oldUpper += growth;
    }
    Rescale(oldLower, oldUpper);
}

void CWndFramesPackageBase::Insert(int place, int position, int extent, int minimum, INT_PTR frame)
{
    place = std::max(0, std::min(place, Count()));
    int lowest = m_lower + Reserved(0, place);
    int highestEnd = m_upper - Reserved(place, Count());
    extent = std::min(extent, highestEnd - lowest);
    if (position < lowest) position = lowest;
    int end = position + extent;
    if (end > highestEnd) {
        position = highestEnd - extent;
        end = highestEnd;
    }
    for (int i = Count() - 1; i >= place; --i)
        m_slots[i].position = std::max(m_slots[i].position, end + Reserved(place, i));
    for (int i = 0; i < place; ++i)
        m_slots[i].position = std::min(m_slots[i].position, position - Reserved(i, place));
    FrameSlot slot;
    slot.position = place == 0 ? m_lower : position;
    slot.minimum = minimum;
    slot.frame = frame;
    m_slots.insert(m_slots.begin() + place, slot);
    if (m_central >= place) ++m_central;
}

void CWndFramesPackageBase::InsertBesideCentral(int place, int position, int extent, int minimum, INT_PTR frame)
{
    if (m_central >= 0) {
        int spare = std::max(0, Extent(m_central) - m_slots[m_central].minimum - kSplitterWidth);
        int given = std::min(extent, spare);
        if (place <= m_central) {
            for (int i = place; i <= m_central; ++i) m_slots[i].position += given;
            if (place == 0 && !m_slots.empty()) position = m_lower;
        } else {
            for (int i = m_central + 1; i < place; ++i) m_slots[i].position -= given;
        }
    }
    Insert(place, position, extent, minimum, frame);
}

int CWndFramesPackageBase::AddAt(int position, int extent, int minimum, INT_PTR frame)
{
    int place = 0;
    if (!m_slots.empty()) {
        int slot = SlotAt(position);
        int start = m_slots[slot].position;
        place = position > start + (SlotEnd(slot) - start) / 3 ? slot + 1 : slot;
    }
    Insert(place, position, extent, minimum, frame);
    return place;
}

void CWndFramesPackageBase::Remove(int slot)
{
    if (slot < 0 || slot >= Count()) return;
    int removed = Extent(slot);
    if (m_central >= 0 && slot != m_central) {
        if (slot < m_central) {
            for (int i = slot + 1; i <= m_central; ++i) m_slots[i].position -= removed;
        } else {
            for (int i = m_central + 1; i < slot; ++i) m_slots[i].position += removed;
        }
    }
    m_slots.erase(m_slots.begin() + slot);
    if (m_central > slot) --m_central;
    else if (m_central == slot) m_central = -1;
    if (!m_slots.empty()) m_slots[0].position = m_lower;
}

void CWndFramesPackageBase::SplitterLimits(int slot, int* lowest, int* highest) const
{
    if (lowest != nullptr) *lowest = m_lower + Reserved(0, slot);
    if (highest != nullptr) *highest = m_upper - Reserved(slot, Count());
}

void CWndFramesPackageBase::MoveSplitter(int slot, int position)
{
    if (slot <= 0 || slot >= Count()) return;
    m_slots[slot].position = position;
    for (int i = 0; i < slot; ++i)
        m_slots[i].position = std::min(m_slots[i].position, position - Reserved(i, slot));
    for (int i = slot + 1; i < Count(); ++i)
        m_slots[i].position = std::max(m_slots[i].position, position + Reserved(slot, i));
    m_slots[0].position = m_lower;
}

FrameDrop FrameDropTest(const CWndFramesPackageBase& package, int rectStart, int rectEnd, int crossStart,
                        int crossEnd, int a, int b, int dragMinAlong, int dragMinAcross, int dragged)
{
    FrameDrop drop;
    if (b < crossStart || b >= crossEnd) return drop;
    int count = package.Count();
    int place;
    if (a >= rectStart && a < rectEnd) {
        int slot = package.SlotAt(a);
        if (count == 0) {
            place = 0;
        } else if (a < package.Slot(slot).position + kDropZone) {
            place = slot;
        } else if (a <= package.SlotEnd(slot) - kDropZone) {
            if (slot == package.Central()) return drop;
            drop.kind = FrameDrop::OverBar;
            drop.place = slot;
            return drop;
        } else {
            place = slot + 1;
        }
    } else if (a >= rectStart - kDropZone && a < rectEnd + kDropZone) {
        place = a < package.Upper() ? 0 : count;
    } else {
        return drop;
    }
    if (dragMinAlong > rectEnd - rectStart || dragMinAcross > crossEnd - crossStart) return drop;
    if (dragMinAlong + package.Reserved() >= package.Upper() - package.Lower()) return drop;
    drop.kind = FrameDrop::NewBar;
    drop.place = place;
    drop.afterCentral = package.Central() >= 0 && package.Central() < place;
    int placePosition = place < count ? package.Slot(place).position : package.Upper();
    if (drop.afterCentral) {
        drop.end = placePosition;
        drop.start = placePosition - dragged;
    } else {
        drop.start = placePosition + kSplitterWidth;
        drop.end = drop.start + dragged;
    }
    return drop;
}

bool BarAcceptsDrop(const CWndFramesPackageBase& bar, INT_PTR dragged, const RECT& client, POINT point,
                    int dragMinX, int dragMinY)
{
    if (bar.Count() == 1 && bar.Slot(0).frame == dragged) return false;
    if (!PtInRect(&client, point)) return false;
    if (client.right - client.left < dragMinX || client.bottom - client.top < dragMinY) return false;
    int along = bar.Horizontal() ? dragMinX : dragMinY;
    return along + bar.Reserved() < bar.Upper() - bar.Lower();
}

bool BarGetPosition(const CWndFramesPackageBase& bar, INT_PTR window, BarPosition* out)
{
    int slot = bar.Find(window);
    if (slot < 0 || out == nullptr) return false;
    int length = bar.Upper() - bar.Lower();
    out->ratio = length > 0 ? static_cast<float>(bar.Slot(slot).position - bar.Lower()) / static_cast<float>(length) : 0.0f;
    out->extent = bar.Extent(slot) - kSplitterWidth;
    out->alone = bar.Count() == 1;
    return true;
}

int BarSetPosition(CWndFramesPackageBase& bar, INT_PTR window, float ratio, int extent, int minimum)
{
    // Rounded, not truncated: a float ratio such as 0.3305785 of 605 would come back one pixel
    // short and the slot would creep at every save and restore.
    int position = bar.Lower() + static_cast<int>(static_cast<float>(bar.Upper() - bar.Lower()) * ratio + 0.5f);
    int place = 0;
    while (place < bar.Count() && bar.Slot(place).position < position) ++place;
    // The stored extent leaves the splitter out: giving it back keeps a round trip exact.
    bar.Insert(place, position, extent + kSplitterWidth, minimum, window);
    return place;
}

bool FrameGetBarIndex(const CWndFramesPackageBase& package, INT_PTR bar, FrameBarIndex* out)
{
    int slot = package.Find(bar);
    if (slot < 0 || out == nullptr) return false;
    out->barWidth = package.Extent(slot) - kSplitterWidth;
    out->beforeCentral = package.Central() > slot;
    out->barIndex = out->beforeCentral ? slot : package.Count() - slot - 1;
    return true;
}

FrameSetTarget FrameSetPositionTarget(const CWndFramesPackageBase& package, bool beforeCentral, bool ownBar,
                                      int barIndex, int barWidth)
{
    FrameSetTarget target;
    int central = package.Central();
    int count = package.Count();
    if (barIndex < 0) barIndex = 0;
    if (beforeCentral) {
        int slot = std::min(barIndex, central < 0 ? count : central);
        if (slot == central || slot >= count || ownBar) {
            target.newPlace = slot;
            target.newStart = slot < count ? package.Slot(slot).position : package.Upper();
        } else {
            target.joinSlot = slot;
        }
        return target;
    }
    int place = std::max(count - barIndex, central + 1);
    if (place - 1 > central && place - 1 >= 0 && !ownBar) {
        target.joinSlot = place - 1;
        return target;
    }
    int at = place < count ? package.Slot(place).position : package.Upper();
    target.newPlace = place;
    target.newStart = std::max(package.Lower(), at - barWidth - kSplitterWidth);
    return target;
}

}  // namespace dockwins
