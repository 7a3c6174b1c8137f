// Host messages for parameter panels: each is handed to the panel model as it came.
#include "HostMessages.h"
#include "commands/HostServiceFamilies.h"
#include "commands/HostServiceSite.h"

namespace {

struct PboxRoute {
    UINT message;
    PboxFunction function;
    bool withMainWindow;  // form A
};

const PboxRoute kRoutes[] = {
    {WM_PBOX_CREATE, kPboxCreatePanel, true},
    {WM_PBOX_DESTROY, kPboxDestroyPanel, true},
    {WM_PBOX_SHOW, kPboxShowWindow, true},
    {WM_PBOX_HIDE, kPboxHideWindow, true},
    {WM_PBOX_BUILD, kPboxShowPanel, true},
    {WM_PBOX_ADD_BUTTON, kPboxAddPushButton, true},
    {WM_PBOX_ADD_RADIO, kPboxAddRadioButton, true},
    {WM_PBOX_ADD_CHECK, kPboxAddCheckButton, true},
    {WM_PBOX_ADD_LIST, kPboxAddList, true},
    {WM_PBOX_ADD_LIST2, kPboxAddListEx, true},
    {WM_PBOX_ADD_EDIT, kPboxAddEdit, true},
    {WM_PBOX_ADD_TEXT, kPboxAddText, true},
    {WM_PBOX_ADD_COMBO, kPboxAddCombo, true},
    {WM_PBOX_GET_TEXT, kPboxGetItemText, true},
    {WM_PBOX_SET_TEXT, kPboxSetItemText, true},
    {WM_PBOX_SET_TEXT2, kPboxSetItemText2, true},
    {WM_PBOX_GET_ITEM_STRING, kPboxGetItemText2, true},
    {WM_PBOX_VALUE, kPboxItemValue, false},
    {WM_PBOX_VALUE2, kPboxItemValue2, false},
    {WM_PBOX_COMBO_SELECT, kPboxComboSelection, false},
    {WM_PBOX_ENABLE, kPboxEnableItem, false},
    {WM_PBOX_SET_COLORS, kPboxSetItemColors, false},
    {WM_PBOX_PRESS, kPboxPressItem, false},
    {WM_PBOX_ITEM_STRING, kPboxSetItemLabel, false},
};

}  // namespace

BOOL CCadSysCmdPbox::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                          DWORD mapId)
{
    if (mapId != 0) return FALSE;
    if (uMsg == WM_PBOX_NOP || uMsg == WM_PBOX_NOP2) {
        lResult = 1;
        return TRUE;
    }
    for (const PboxRoute& route : kRoutes) {
        if (route.message != uMsg) continue;
        CHostServiceSite& site = GetHostServiceSite();
        PboxCall call{route.function, route.withMainWindow, route.withMainWindow ? site.MainWindow() : nullptr,
                      wParam, lParam, 0};
        lResult = site.CallPanel(call);
        return TRUE;
    }
    return FALSE;
}
