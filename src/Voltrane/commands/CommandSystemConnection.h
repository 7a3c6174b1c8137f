// Joins the command system to the main frame: the frame's map answers WM_CAD_RUN_COMMAND
// through the system command dispatcher, and the frame asks the dispatcher whether a plug-in
// command runs. Called once before the frame window is created.
#pragma once

class CMainFrame;

void ConnectCommandSystem(CMainFrame& frame);
