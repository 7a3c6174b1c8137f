#include "dialogs/SettingDialogs.h"

#include "core/SystemLog.h"

// The grid dialog is not built yet: answered as cancelled, so nothing changes.
int ShowSetGridDlg()
{
    WriteSystemLog(2, "SetGrid", "グリッドの設定は使用できません");
    return -1;
}
