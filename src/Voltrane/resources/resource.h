// Resource ids of the program.
#pragma once

#define IDR_MAINFRAME 128  // icon, menu and title string of the main frame
#define IDD_ABOUTBOX 100   // the About box
#define IDC_ABOUT_ICON 1000
#define IDC_ABOUT_PRODUCT 1001

// Toolbars and their button images, one per command group in three sizes:
// large 259-268 (32x31), medium 269-278 (24x23), small 279-288 (16x15).
#define IDR_TOOLBAR_LARGE_FIRST 259
#define IDR_TOOLBAR_MEDIUM_FIRST 269
#define IDR_TOOLBAR_SMALL_FIRST 279

#define ID_APP_EXIT 0xE141
#define ID_APP_ABOUT 0xE140
#define ID_VIEW_TOOLBAR 0xE800
#define ID_VIEW_STATUS_BAR 0xE801
