#include "commands/CommandSystemConnection.h"

#include "commands/SystemCommandDispatcher.h"
#include "mainframe/FrameServices.h"
#include "mainframe/MainFrame.h"

void ConnectCommandSystem(CMainFrame& frame)
{
    // Until the host-service object exists, the dispatcher is the frame's host-service map;
    // that object chains the dispatcher once it is there.
    frame.SetHostServices(&GetSystemCommandDispatcher());
    GetFrameServices().isPluginCommandRunning = IsPluginCommandRunning;
}
