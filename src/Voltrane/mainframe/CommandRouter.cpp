#include "mainframe/CommandRouter.h"

#include "CommandIds.h"

bool IsAllowedWithoutDrawing(UINT id)
{
    return (id >= kCmdPaneCommandMenu && id <= kCmdPaneCommandMenu2) || id == kCmdAbout || id == kCmdToggleStatusBar;
}

CommandRoute RouteCommandId(UINT id, const CommandRouteState& state)
{
    id &= 0xFFFF;
    if (state.frameExists && id >= kFirstDrawingCommand && !state.hasActiveView && !state.closingCommand &&
        !IsAllowedWithoutDrawing(id))
        return CommandRoute::Drop;
    if (id == kCmdServiceAlwaysRouted) return state.commandEnabled ? CommandRoute::Service : CommandRoute::Drop;
    if (id >= kFirstSystemCommand && id <= kLastSystemCommand)
        return state.commandEnabled ? CommandRoute::RunCommand : CommandRoute::Drop;
    if (id >= kFirstServiceCommand && id <= kLastServiceCommand) return CommandRoute::Service;
    if (id >= kFirstViewCommand && id <= kLastViewCommand) return CommandRoute::View;
    return CommandRoute::ActiveChild;
}
