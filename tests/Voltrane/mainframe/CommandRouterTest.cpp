// The main frame's routing of WM_COMMAND ids by range.
#include "GTest.h"

#include "mainframe/CommandRouter.h"

namespace {

CommandRouteState State(bool view, bool enabled, bool closing = false)
{
    CommandRouteState state;
    state.frameExists = true;
    state.hasActiveView = view;
    state.commandEnabled = enabled;
    state.closingCommand = closing;
    return state;
}

}  // namespace

TEST(CommandRouter, RoutesEveryRangeAsTheTableSays)
{
    const struct {
        UINT id;
        bool view;
        bool enabled;
        CommandRoute route;
    } cases[] = {
        {1199, true, true, CommandRoute::ActiveChild},
        {1200, true, true, CommandRoute::Service},
        {1500, false, true, CommandRoute::Service},
        {1501, true, true, CommandRoute::ActiveChild},
        {1229, true, true, CommandRoute::Service},
        {1229, true, false, CommandRoute::Drop},
        {1228, true, false, CommandRoute::Service},  // only 1229 obeys the flag among services
        {2999, true, true, CommandRoute::ActiveChild},
        {3000, false, true, CommandRoute::View},
        {3999, false, false, CommandRoute::View},
        {4000, false, true, CommandRoute::RunCommand},  // below 5000: never held back for no drawing
        {4006, false, true, CommandRoute::RunCommand},
        {4000, true, false, CommandRoute::Drop},
        {4999, true, true, CommandRoute::RunCommand},
        {5000, false, true, CommandRoute::Drop},
        {6000, false, true, CommandRoute::Drop},
        {6000, true, true, CommandRoute::RunCommand},
        {39999, true, true, CommandRoute::RunCommand},
        {39999, true, false, CommandRoute::Drop},
        {40000, false, true, CommandRoute::ActiveChild},
        {40003, false, true, CommandRoute::ActiveChild},
        {40004, false, true, CommandRoute::Drop},
        {0xE140, false, true, CommandRoute::ActiveChild},
        {0xE801, false, true, CommandRoute::ActiveChild},
        {0xE800, false, true, CommandRoute::Drop},  // the toolbar toggle needs a drawing
        {0xE800, true, true, CommandRoute::ActiveChild},
        {0xE131, true, true, CommandRoute::ActiveChild},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RouteCommandId(c.id, State(c.view, c.enabled)), c.route)
            << "id " << c.id << " view " << c.view << " enabled " << c.enabled;
    }
}

TEST(CommandRouter, OnlyTheLowWordCounts)
{
    EXPECT_EQ(RouteCommandId(MAKEWPARAM(1205, 1), State(true, true)), CommandRoute::Service);
}

TEST(CommandRouter, WithoutAFrameWindowNothingIsHeldBackForLackOfADrawing)
{
    CommandRouteState state = State(false, true);
    state.frameExists = false;
    EXPECT_EQ(RouteCommandId(6000, state), CommandRoute::RunCommand);
}

TEST(CommandRouter, TheClosingCommandOfTheStartOptionsRunsAfterTheDrawingsAreClosed)
{
    // The [DESTROY] command is sent after every drawing window has closed.
    EXPECT_EQ(RouteCommandId(7001, State(false, true, true)), CommandRoute::RunCommand);
    EXPECT_EQ(RouteCommandId(7001, State(false, true, false)), CommandRoute::Drop);
    EXPECT_EQ(RouteCommandId(7001, State(false, false, true)), CommandRoute::Drop);
}
