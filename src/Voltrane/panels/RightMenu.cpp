#include "panels/RightMenu.h"

#include "core/SystemLog.h"

// The right-click menu is not built yet: a right click opens nothing.
void ShowRightMenu(HWND, LPARAM, int) { WriteSystemLog(3, "RightMenu", "右クリックメニューは使用できません"); }

int RightMenuPopupShown() { return 0; }
