#include "panels/CustomRightMenu.h"

int IsCustomRightMenuShown() { return 0; }

int AppendCustomMenuItem(HMENU, int, int, const char*) { return 0; }
