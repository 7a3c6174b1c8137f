// The built-in page commands: 4037 (page manager), 4038 (page settings), 4039 (paper space) and 4040 (model space) of the active view.
#pragma once

#include <windows.h>

// 1 when the id is one of the page commands (handled), 0 otherwise.
int RunPageCommand(HWND context, int id);
