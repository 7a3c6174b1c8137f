#include "drawing/DrawingFileCommands.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/ProgramPaths.h"
#include "core/SettingsMessage.h"
#include "core/SystemLog.h"
#include "drawing/CadFileBackup.h"
#include "drawing/DrawingFileDialog.h"
#include "drawing/DrawingFileType.h"
#include "drawing/DrawingOpen.h"
#include "drawing/DrawingSave.h"
#include "drawing/FileListCache.h"
#include "drawing/NewDrawingDialog.h"
#include "drawing/PasteDatabase.h"
#include "mainframe/FrameServices.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

constexpr WPARAM kPastePlacementCommand = 7002;

int SaveActiveDrawing(int mode)
{
    CloseInputScaleWindow();
    if (HWND view = GetActiveView()) SaveDrawing(view, mode);
    ClearStatusText();
    return 1;
}

// Command 4051: the drawing the copy command left in the user's folder goes into the paste
// database, and the placing command takes it from there.
int PasteCopiedDrawing(HWND context)
{
    if (GetActiveView() == nullptr) return 1;
    if (!WaitUntilCopyIsWritten(GetMainFrameWnd())) {
        FreeFileList();
        return 1;
    }
    const std::string base = ExpandPathMacros("%USER_LOCAL_APPDATA%$CopyPaste", false);
    std::string path;
    for (const char* extension : {".tcf", ".otcf"}) {
        if (FindFirstFileExists((base + extension).c_str())) {
            path = base + extension;
            break;
        }
    }
    if (path.empty()) {
        ShowSettingsMessage(GetMainFrameWnd(), "貼り付ける図形が選択されていません。「コピー選択」を実行してください。", "確認",
                            MB_OK | MB_ICONINFORMATION);
        return 1;
    }
    SetOpenRequestFlag(1);
    if (LoadFileIntoPasteDb(context, path.c_str(), nullptr, nullptr) == 1) {
        HWND main = GetMainFrameWnd();
        UpdateWindow(main);
        PostMessageA(main, WM_COMMAND, kPastePlacementCommand, 0);
    }
    FreeFileList();
    return 1;
}

void RestartBackupTimer() { GetCadFileBackup().RestartTimer(); }

bool CopyIsBeingWritten()
{
    char value[257] = {};
    ReadSonotaString("COPY_SELECT", "FileWriting", "0", value);
    return std::atoi(value) != 0;
}
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

bool WaitUntilCopyIsWritten(HWND owner)
{
    for (int asked = 0; CopyIsBeingWritten(); ++asked) {
        if (asked == 3) {
            ShowSettingsMessage(owner, "貼り付けに失敗しました。処理を中止します。", "確認", MB_OK);
            return false;
        }
        if (ShowSettingsMessage(owner, "現在コピー選択中なので、貼り付けはできません。もう一度実行しますか？", "確認",
                                MB_YESNO | MB_ICONINFORMATION) != IDYES)
            return false;
    }
    return true;
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
    case 4051:
        return PasteCopiedDrawing(context);
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
