// The plug-in's dialogs on the one dialog base of the program and the plug-in: the host's panel
// colour as background and behind the static texts, the OK button and control 1021 drawn as
// colour buttons by the host library, and centring over the parent. A derived dialog handles its
// own messages first and chains to the base last (WK_CHAIN_DIALOG_BASE(CDialogBase<T>)); its
// own WM_INITDIALOG clears its handled flag so that the base's runs too.
#pragma once

#include <windows.h>

#include "HostLibrary.h"
#include "WinKit/DialogBase.h"

struct VellocDialogLook {
    static COLORREF BackColor() { return HostLib::Dader_GetPanelColor(); }
    static constexpr int kSecondButton = 1021;
    static void DrawOkButton(const DRAWITEMSTRUCT* item) { HostLib::Dader_ColorBtn_DrawItem_OkBtn(item); }
    static void DrawSecondButton(const DRAWITEMSTRUCT* item) { HostLib::Dader_ColorBtn_DrawItem_Btn(item, 0); }
    static constexpr bool kDrawItemHandled = true;
};

template <class T>
class CDialogBase : public WinKit::CDialogBaseT<T, VellocDialogLook> {
public:
    // Runs the dialog with the template of the given module (the plug-in's own).
    INT_PTR DoModalIn(HINSTANCE module, HWND parent, LPARAM initParam = 0)
    {
        return this->DoModalFrom(module, T::IDD, parent, initParam);
    }
    HWND CreateIn(HINSTANCE module, HWND parent, LPARAM initParam = 0)
    {
        return this->CreateFrom(module, T::IDD, parent, initParam);
    }
};
