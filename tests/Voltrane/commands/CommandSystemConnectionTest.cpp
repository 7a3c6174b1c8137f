// The command system joined to the main frame: the frame's map answers WM_CAD_RUN_COMMAND
// through the dispatcher and asks it whether a plug-in command runs.
#include "GTest.h"

#include "HostMessages.h"
#include "commands/CommandRunState.h"
#include "commands/CommandSystemConnection.h"
#include "commands/SystemCommandDispatcher.h"
#include "mainframe/FrameServices.h"
#include "mainframe/MainFrame.h"
#include "mainframe/MainMenu.h"

namespace {

TEST(CommandSystemConnection, FrameMapReachesTheDispatcher)
{
    CMainFrame frame;
    ConnectCommandSystem(frame);
    EXPECT_EQ(GetFrameServices().isPluginCommandRunning, &IsPluginCommandRunning);

    // Ids 5005 and 6203 are answered 1 by the dispatcher without any other work.
    LRESULT result = 0;
    EXPECT_TRUE(frame.ProcessWindowMessage(nullptr, WM_CAD_RUN_COMMAND, 5005, 0, result));
    EXPECT_EQ(result, 1);

    GetCommandRunState().pluginCommandRunning = 1;
    EXPECT_EQ(FrameIsPluginCommandRunning(), 1);
    GetCommandRunState().pluginCommandRunning = 0;
    EXPECT_EQ(FrameIsPluginCommandRunning(), 0);
    GetFrameServices().isPluginCommandRunning = nullptr;
}

TEST(CommandSystemConnection, MenuAsksTheCatalogueWhetherALibraryIsInstalled)
{
    CMainMenu::s_isCommandModulePresent = nullptr;
    CMainFrame frame;
    ConnectCommandSystem(frame);
    ASSERT_NE(CMainMenu::s_isCommandModulePresent, nullptr);
    // An id the catalogue does not hold has no library to find.
    EXPECT_EQ(CMainMenu::s_isCommandModulePresent(39999), 0);
    CMainMenu::s_isCommandModulePresent = nullptr;
    GetFrameServices().isPluginCommandRunning = nullptr;
}

}  // namespace
