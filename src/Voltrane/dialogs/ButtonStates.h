// Check states of a dialog's buttons as the settings dialogs read and set them.
#pragma once

#include <windows.h>

inline void SetButtonCheck(HWND dialog, int id, bool checked)
{
    ::CheckDlgButton(dialog, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

inline bool IsButtonChecked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
