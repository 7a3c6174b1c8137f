#include "panels/ParameterPanelItems.h"

// The parameter panels are not built yet: there is no panel whose items could be made.
int PboxBuildItemWindows(HWND, int* largestY, int)
{
    if (largestY != nullptr) *largestY = 0;
    return 0;
}
