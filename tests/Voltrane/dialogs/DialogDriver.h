// Runs a modal dialog of the program with a driver that acts on it once it is shown: a timer
// of the modal loop finds the dialog by its caption among this process's windows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "OwnWindows.h"

class DialogDriver {
public:
    // Calls open() while act(dialog) runs once on the window with that caption; returns what
    // open() returned. act must end the dialog.
    static int Run(const char* caption, const std::function<void(HWND)>& act, const std::function<int()>& open)
    {
        Caption() = caption;
        Act() = act;
        Acted() = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 30, &DialogDriver::Tick);
        const int result = open();
        KillTimer(nullptr, timer);
        return result;
    }
    static bool& Acted()
    {
        static bool acted = false;
        return acted;
    }

private:
    static std::string& Caption()
    {
        static std::string caption;
        return caption;
    }
    static std::function<void(HWND)>& Act()
    {
        static std::function<void(HWND)> act;
        return act;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (Acted()) return;
        HWND dialog = FindOwnWindow(nullptr, Caption().c_str());
        if (dialog == nullptr || !IsWindowVisible(dialog)) return;
        Acted() = true;
        Act()(dialog);
    }
};

// Sends a button click as the user's click would arrive.
inline void Click(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

inline std::string ItemText(HWND dialog, int id)
{
    char text[512] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}
