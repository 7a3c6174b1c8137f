#include "mainframe/CommandRouter.h"

bool IsAllowedWithoutDrawing(UINT id)
{
    return (id >= 40000 && id <= 40003) || id == 0xE140 || id == 0xE801;
}

CommandRoute RouteCommandId(UINT id, const CommandRouteState& state)
{
    id &= 0xFFFF;
    if (state.frameExists && id >= 5000 && !state.hasActiveView && !state.closingCommand &&
        !IsAllowedWithoutDrawing(id))
        return CommandRoute::Drop;
    if (id == 1229) return state.commandEnabled ? CommandRoute::Service : CommandRoute::Drop;
    if (id >= 4000 && id <= 39999)
        return state.commandEnabled ? CommandRoute::RunCommand : CommandRoute::Drop;
    if (id >= 1200 && id <= 1500) return CommandRoute::Service;
    if (id >= 3000 && id <= 3999) return CommandRoute::View;
    return CommandRoute::ActiveChild;
}
