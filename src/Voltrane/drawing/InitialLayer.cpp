#include "drawing/InitialLayer.h"

#include "DravikDb.h"
#include "EngineRecords.h"

namespace {

constexpr int kFigureReference = 21;
constexpr int kFigureGroup = 22;

bool IsFigure(const ElementRecord& element) { return element.type == kFigureReference || element.type == kFigureGroup; }

}  // namespace

int ChooseInitialCurrentLayer(void* db)
{
    auto* record = static_cast<EngineDbRecord*>(db);
    if (record == nullptr || record->info == nullptr) return 0;
    const auto* info = static_cast<const DbInfoBlock*>(record->info);
    int lowest = 65535;
    ElementRecord element;
    for (void* e = ZUriReadElement(nullptr, 0, &element, db); e != nullptr; e = ZUriReadElement(e, 1, &element, db)) {
        if (!IsFigure(element)) {
            if (element.layer < kLayerCount && element.layer < lowest) lowest = element.layer;
            continue;
        }
        ElementRecord member;
        for (void* m = ZUriReadFirstMember(e, &member, db); m != nullptr; m = ZUriReadNextMember(m, &member, db)) {
            if (!IsFigure(member) && member.layer < kLayerCount && member.layer < lowest) lowest = member.layer;
        }
    }
    for (int layer = 0; layer < kLayerCount && layer < lowest; ++layer) {
        const char* name = info->layers.names[layer];
        if (name != nullptr && name[0] != '\0') return layer;
    }
    return lowest >= 0 && lowest < kLayerCount ? lowest : 0;
}
