#include "FigureReferences.h"

#include <unordered_set>
#include <vector>

namespace dravikdb {

namespace {

const Element* HeaderNamedBy(const Element& instance)
{
    if (instance.db == nullptr) return nullptr;
    const Element* header = FindElement(instance.node.groupHeader, instance.db);
    if (header != nullptr && header->role == ElementRole::FigureHeader) return header;
    int index = instance.node.memberCount;
    if (index >= 0 && index < static_cast<int>(instance.db->headers.size())) return instance.db->headers[index];
    return nullptr;
}

// Adds the headers drawn by the instances among the members of `head` (at any depth).
void ReferencedFrom(const Element& head, std::vector<const Element*>& out)
{
    std::vector<const Element*> pending(head.members.begin(), head.members.end());
    while (!pending.empty()) {
        const Element* element = pending.back();
        pending.pop_back();
        if (element->type() == kElementFigureReference) {
            if (const Element* header = HeaderNamedBy(*element)) out.push_back(header);
        }
        pending.insert(pending.end(), element->members.begin(), element->members.end());
    }
}

}  // namespace

const Element* ReferencedHeader(const Element& instance)
{
    if (instance.type() != kElementFigureReference) return nullptr;
    return HeaderNamedBy(instance);
}

const Element* EnclosingHeader(const Element& element)
{
    // Owner links only ever point up a member tree; the bound guards against a damaged one.
    int steps = 0;
    for (const Element* owner = element.owner; owner != nullptr && steps < 1 << 20; owner = owner->owner, ++steps) {
        if (owner->role == ElementRole::FigureHeader) return owner;
    }
    return nullptr;
}

bool MakesReferenceCycle(const Element& instance)
{
    if (instance.type() != kElementFigureReference) return false;
    const Element* home = EnclosingHeader(instance);
    const Element* first = HeaderNamedBy(instance);
    if (home == nullptr || first == nullptr) return false;
    // Every header reachable from the instance's header, each looked at once.
    std::vector<const Element*> pending{first};
    std::unordered_set<const Element*> seen{first};
    while (!pending.empty()) {
        const Element* header = pending.back();
        pending.pop_back();
        if (header == home) return true;
        std::vector<const Element*> next;
        ReferencedFrom(*header, next);
        for (const Element* reached : next) {
            if (seen.insert(reached).second) pending.push_back(reached);
        }
    }
    return false;
}

}  // namespace dravikdb
