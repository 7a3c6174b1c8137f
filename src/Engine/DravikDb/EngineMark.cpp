#include "EngineMark.h"

#include <algorithm>
#include <unordered_set>

namespace dravikdb {

namespace {

std::unordered_set<const Mark*>& LiveMarks()
{
    static std::unordered_set<const Mark*> live;
    return live;
}

// Drops the holes left by removed elements once they make up most of the list.
void Compact(Mark& mark)
{
    if (mark.items.size() < 64 || mark.live * 2 > mark.items.size()) return;
    std::vector<Element*> kept;
    kept.reserve(mark.live);
    for (Element* e : mark.items) {
        if (e != nullptr) kept.push_back(e);
    }
    mark.items = std::move(kept);
    mark.positions.clear();
    for (size_t i = 0; i < mark.items.size(); ++i) mark.positions[mark.items[i]] = i;
}

}  // namespace

Mark* CreateMark(Database& db, EngineDbRecord* record)
{
    auto* mark = new Mark();
    mark->dbRecord = record;
    mark->db = &db;
    db.marks.push_back(mark);
    LiveMarks().insert(mark);
    return mark;
}

Mark* FindMark(const void* handle)
{
    if (handle == nullptr) return nullptr;
    auto* mark = static_cast<const Mark*>(handle);
    if (LiveMarks().count(mark) == 0) return nullptr;
    if (mark->magic != kMarkMagic) return nullptr;
    return const_cast<Mark*>(mark);
}

void DestroyMark(Mark* mark)
{
    if (mark == nullptr) return;
    if (mark->db != nullptr) {
        auto& marks = mark->db->marks;
        marks.erase(std::remove(marks.begin(), marks.end(), mark), marks.end());
        // Only a record that is still bound to the database hears of it.
        if (FindDatabase(mark->dbRecord) == mark->db) mark->dbRecord->marksExist = marks.empty() ? 0 : 1;
    }
    LiveMarks().erase(mark);
    mark->magic = 0;
    delete mark;
}

void DestroyAllMarks(Database& db)
{
    std::vector<Mark*> marks = db.marks;
    for (Mark* mark : marks) {
        mark->db = nullptr;
        LiveMarks().erase(mark);
        mark->magic = 0;
        delete mark;
    }
    db.marks.clear();
}

bool MarkAdd(Mark& mark, Element* element)
{
    if (element == nullptr || mark.positions.count(element) != 0) return false;
    mark.positions[element] = mark.items.size();
    mark.items.push_back(element);
    ++mark.live;
    return true;
}

bool MarkRemove(Mark& mark, Element* element)
{
    auto it = mark.positions.find(element);
    if (it == mark.positions.end()) return false;
    mark.items[it->second] = nullptr;
    mark.positions.erase(it);
    --mark.live;
    Compact(mark);
    return true;
}

bool MarkContains(const Mark& mark, const Element* element)
{
    return mark.positions.count(const_cast<Element*>(element)) != 0;
}

Element* MarkNext(const Mark& mark, const Element* previous)
{
    size_t start = 0;
    if (previous != nullptr) {
        auto it = mark.positions.find(const_cast<Element*>(previous));
        if (it == mark.positions.end()) return nullptr;
        start = it->second + 1;
    }
    for (size_t i = start; i < mark.items.size(); ++i) {
        if (mark.items[i] != nullptr) return mark.items[i];
    }
    return nullptr;
}

Element* MarkBack(const Mark& mark, const Element* previous)
{
    size_t end = mark.items.size();
    if (previous != nullptr) {
        auto it = mark.positions.find(const_cast<Element*>(previous));
        if (it == mark.positions.end()) return nullptr;
        end = it->second;
    }
    for (size_t i = end; i > 0; --i) {
        if (mark.items[i - 1] != nullptr) return mark.items[i - 1];
    }
    return nullptr;
}

Element* MarkNextWithMembers(const Mark& mark, const Element* previous)
{
    if (previous == nullptr) return MarkNext(mark, nullptr);
    if (MarkContains(mark, previous)) {
        if (!previous->members.empty()) return previous->members.front();
        return MarkNext(mark, previous);
    }
    // A member handed out before: the next one of the same chain, else the next marked element.
    if (previous->owner == nullptr) return nullptr;
    const EngineNode* next = previous->node.nextMember;
    if (next != nullptr) return reinterpret_cast<Element*>(const_cast<EngineNode*>(next));
    const Element* top = previous;
    while (top->owner != nullptr) top = top->owner;
    if (!MarkContains(mark, top)) return nullptr;
    return MarkNext(mark, top);
}

void RemoveFromAllMarks(Database& db, Element* element)
{
    for (Mark* mark : db.marks) MarkRemove(*mark, element);
}

}  // namespace dravikdb
