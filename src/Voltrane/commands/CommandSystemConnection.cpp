#include "commands/CommandSystemConnection.h"

#include "commands/CommandCatalog.h"
#include "commands/SystemCommandDispatcher.h"
#include "mainframe/FrameServices.h"
#include "mainframe/MainFrame.h"
#include "mainframe/MainMenu.h"

namespace {

int IsCatalogueCommandModulePresent(int commandId)
{
    return GetLumbraCmd().IsCommandModulePresent(commandId);
}

}  // namespace

void ConnectCommandSystem(CMainFrame& frame)
{
    // Until the host-service object exists, the dispatcher is the frame's host-service map;
    // that object chains the dispatcher once it is there.
    frame.SetHostServices(&GetSystemCommandDispatcher());
    GetFrameServices().isPluginCommandRunning = IsPluginCommandRunning;
    // The frame builds its menu from "RovOdidov.mnu" while it is created: items whose library
    // is not installed are greyed through the catalogue, which the first start stage has read.
    CMainMenu::s_isCommandModulePresent = IsCatalogueCommandModulePresent;
}
