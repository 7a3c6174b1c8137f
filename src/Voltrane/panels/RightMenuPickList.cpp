#include "panels/RightMenuPickList.h"

#include <algorithm>
#include <iterator>

#include "InputCodes.h"
#include "commands/InputEvent.h"
#include "core/Dbcs.h"

namespace {

RightMenuState g_state;
RightMenuPickEntry g_picks[kRightMenuPickCount];

}  // namespace

RightMenuState& GetRightMenuState() { return g_state; }
RightMenuPickEntry* GetRightMenuPickList() { return g_picks; }

int ClearRightMenuPickList()
{
    std::fill(std::begin(g_picks), std::end(g_picks), RightMenuPickEntry());
    return 1;
}

int EnableRightMenuPickList(intptr_t on)
{
    g_state.pickSwitch = on == 1 ? 1 : 0;
    return 1;
}

int AddRightMenuPickItem(const char* text, int32_t kind, int32_t value)
{
    for (RightMenuPickEntry& entry : g_picks) {
        if (entry.kind != kPickFree) continue;
        entry.kind = kind;
        if (kind == kPickEntry) {
            DbcsCopy(entry.text, sizeof entry.text, text);
            entry.value = value;
        }
        return 1;
    }
    return 0;
}

void SetRightClickEnterMode(int mode) { g_state.enterMode = mode; }
void SetRightMenuHideMask(int mask) { g_state.hideMask = mask; }

void ResetRightMenuPickList(int pickSwitch)
{
    g_state.pickSwitch = pickSwitch;
    for (RightMenuPickEntry& entry : g_picks) entry.kind = kPickFree;
}

int RightMenuPickListHasItems()
{
    return std::any_of(std::begin(g_picks), std::end(g_picks),
                       [](const RightMenuPickEntry& e) { return e.kind == kPickEntry || e.kind == kPickSeparator; })
               ? 1
               : 0;
}

int PostRightMenuPick(int n)
{
    // The service commands pass 1299 too, which stands for no entry.
    if (n < 0 || n >= kRightMenuPickCount) return 0;
    InputEventRecord& record = GetInputEventRecord();
    record.code = kEventPanelItem;
    record.kind = 1;
    record.item = g_picks[n].value;
    return 1;
}
