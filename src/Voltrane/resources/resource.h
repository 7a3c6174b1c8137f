// Resource ids of the program.
#pragma once

#define IDR_MAINFRAME 128  // icon, menu and title string of the main frame

#define ID_APP_EXIT 0xE141
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801
