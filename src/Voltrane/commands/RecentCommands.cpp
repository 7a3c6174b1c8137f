#include "commands/RecentCommands.h"

#include <algorithm>

#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "panels/CustomRightMenu.h"

namespace {

RecentCommand g_recent[kRecentCommandCount];

void SetName(RecentCommand& entry, const char* name) { DbcsCopy(entry.name, sizeof entry.name, name); }

}  // namespace

int AddRecentCommand(const char* name, int id)
{
    const auto begin = std::begin(g_recent), end = std::end(g_recent);
    auto found = std::find_if(begin, end, [id](const RecentCommand& entry) { return entry.id == id; });
    if (found == end) {
        std::move_backward(begin, end - 1, end);
        g_recent[0].id = id;
        SetName(g_recent[0], name);
        return 1;
    }
    // The command keeps the name it was listed with.
    std::rotate(begin, found, found + 1);
    return 1;
}

RecentCommand GetRecentCommand(int index)
{
    if (index < 0 || index >= kRecentCommandCount) return RecentCommand();
    return g_recent[index];
}

void ClearRecentCommands() { std::fill(std::begin(g_recent), std::end(g_recent), RecentCommand()); }

int AppendRecentCommandsToMenu(HMENU menu)
{
    const bool custom = IsCustomRightMenuShown();
    for (const RecentCommand& entry : g_recent) {
        if (entry.id == 0) continue;
        if (custom)
            // The custom menu's history is a sub-popup window, handed over in the menu's place.
            AppendCustomMenuItem(reinterpret_cast<HWND>(menu), 0, entry.id, entry.name);
        else
            AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(entry.id), entry.name);
    }
    return 1;
}

int LoadRecentCommands()
{
    ClearRecentCommands();
    const LocalSettingsStackCmd& stack = GetCadSystem().stackCmd;
    for (size_t i = 0; i < kRecentCommandCount && i < stack.CmdId.size(); ++i) {
        g_recent[i].id = stack.CmdId[i];
        // A record with fewer names than ids gives the rest empty names.
        SetName(g_recent[i], i < stack.CmdName.size() ? stack.CmdName[i].c_str() : "");
    }
    return 1;
}

int SaveRecentCommands()
{
    LocalSettingsStackCmd& stack = GetCadSystem().stackCmd;
    // The names stay paired with their ids even when the stored record had fewer names.
    if (stack.CmdName.size() < stack.CmdId.size()) stack.CmdName.resize(stack.CmdId.size());
    for (size_t i = 0; i < kRecentCommandCount; ++i) {
        if (i < stack.CmdId.size()) {
            stack.CmdId[i] = g_recent[i].id;
            stack.CmdName[i] = g_recent[i].name;
        } else {
            stack.CmdId.push_back(g_recent[i].id);
            stack.CmdName.push_back(g_recent[i].name);
        }
    }
    return 1;
}
