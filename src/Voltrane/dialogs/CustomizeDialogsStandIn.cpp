#include "dialogs/CustomizeDialogsStandIn.h"

#include "core/SystemLog.h"

// Not built yet: said in the log, answered as cancelled, nothing changes.
int ShowCustCmdPanelDlg(HWND)
{
    WriteSystemLog(2, "Setting", "コマンドメニュー編集は使用できません");
    return IDCANCEL;
}

int ShowCustCmdKeyDlg(HWND)
{
    WriteSystemLog(2, "Setting", "ショートカットキー編集は使用できません");
    return IDCANCEL;
}
