#include "drawing/DrawingFileCommands.h"

#include <cstdio>

#include "core/CadSystem.h"
#include "core/SystemLog.h"
#include "drawing/CadFileBackup.h"
#include "drawing/DrawingFileDialog.h"
#include "drawing/DrawingSave.h"
#include "drawing/NewDrawingDialog.h"
#include "mainframe/FrameServices.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

int SaveActiveDrawing(int mode)
{
    CloseInputScaleWindow();
    if (HWND view = GetActiveView()) SaveDrawing(view, mode);
    ClearStatusText();
    return 1;
}

void RestartBackupTimer() { GetCadFileBackup().RestartTimer(); }
void CheckTimedBackup() { GetCadFileBackup().CheckTimedBackup(); }

}  // namespace

void LogCommand(const char* format, int id)
{
    char text[96];
    std::snprintf(text, sizeof text, format, static_cast<long>(id));
    WriteSystemLogText(2, "System Cmd", text);
}

void ClearStatusText()
{
    if (HWND bar = GetStatusBarWnd()) SendMessageA(bar, WM_USER, 1, 0);
}

int RunDrawingFileCommand(HWND context, int id)
{
    switch (id) {
    case 4000:
        LogCommand("%ld 新規図面", id);
        return RunNewDrawingCommand(context);
    case 4021:
        LogCommand("%ld 図面情報変更", id);
        return RunDrawingInfoCommand(context);
    case 4001:
        LogCommand("%ld 図面を開く", id);
        RunDrawingFileDialog(context, kFileDialogOpen);
        return 1;
    case 4002:
        LogCommand("%ld 図面を保存", id);
        return SaveActiveDrawing(0);
    case 4012:
        LogCommand("%ld 図面を上書き保存", id);
        return SaveActiveDrawing(1);
    case 4013:
        LogCommand("%ld 図面を削除", id);
        RunDrawingFileDialog(context, kFileDialogDelete);
        return 1;
    case 4027:
        if (GetActiveView() != nullptr) RunDrawingFileDialog(context, kFileDialogPlace);
        return 1;
    default:
        return 0;
    }
}

void ConnectDrawingFiles()
{
    FrameServices& services = GetFrameServices();
    services.restartBackupTimer = RestartBackupTimer;
    services.checkTimedBackup = CheckTimedBackup;
    services.drawingWasSaved = DrawingWasSavedThisRun;
}
