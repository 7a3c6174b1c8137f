#include "commands/CommandHost.h"

#include "DravikDb.h"
#include "commands/InterruptCommands.h"
#include "commands/RecentCommands.h"
#include "core/CadSystem.h"
#include "core/MessageCatalog.h"
#include "core/SystemLog.h"
#include "drawing/CadFileBackup.h"
#include "mainframe/MainFrame.h"
#include "panels/RightMenu.h"
#include "panels/RightMenuPickList.h"
#include "panels/ParameterPanelModel.h"
#include "view/InputScale.h"
#include "view/ViewTable.h"

namespace {

CCommandHost g_defaultHost;
CCommandHost* g_host = &g_defaultHost;

}  // namespace

CCommandHost& GetCommandHost() { return *g_host; }

void SetCommandHost(CCommandHost* host) { g_host = host ? host : &g_defaultHost; }

HWND CCommandHost::MainWindow() { return GetMainFrameWnd(); }

int CCommandHost::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    return MessageBoxA(owner, text, caption, type);
}

int CCommandHost::ShowErrorMessage(const char* text) { return ::ShowErrorMessage(text); }

void CCommandHost::WriteLog(int level, const char* title, const char* text)
{
    WriteSystemLogText(level, title, text ? text : "");
}

const char* CCommandHost::MessageText(int id) { return GetMessageText(id); }

int CCommandHost::SafeGuardSetting() { return GetCadSystem().config.SAFE; }
// The settings records carry no UNDO value yet: undo recording is switched on.
int CCommandHost::UndoSetting() { return 1; }
const char* CCommandHost::ApplicationTitle() { return GetCadSystem().config.TT.c_str(); }

int CCommandHost::StartMode() { return GetCadSystem().GetStartMode(); }

HWND CCommandHost::ActiveViewFrame()
{
    HWND client = GetMdiClientWnd();
    if (client == nullptr) return nullptr;
    return reinterpret_cast<HWND>(SendMessageA(client, WM_MDIGETACTIVE, 0, 0));
}

int CCommandHost::HasActiveView() { return ActiveViewFrame() != nullptr ? 1 : 0; }

// The panels are not part of the program yet: the calls below that reach them do nothing.
void* CCommandHost::ActiveDatabase() { return GetActiveDb(); }
int CCommandHost::IsActiveDrawingReadOnly()
{
    PDBINFO* block = GetViewBlock(GetActiveView());
    return block != nullptr && block->referenceMode ? 1 : 0;
}
int CCommandHost::ActiveDrawingHasSelectionMarks() { return 0; }
void CCommandHost::FocusActiveView()
{
    if (HWND view = GetActiveView()) SetFocus(view);
}
void CCommandHost::EnableInputScaleCombo(int enable) { ::EnableInputScaleCombo(enable); }
void CCommandHost::SetInputScaleRefused(int refused) { ::SetInputScaleRefused(refused); }
long CCommandHost::ActiveElementCount() { return GetViewElementCount(nullptr); }

void CCommandHost::ResetEngineAfterCommand(int undoSetting)
{
    if (void* database = ActiveDatabase()) ZUriUndoFgSet(database, undoSetting);
    ZUriFastAccessOff();
}
void CCommandHost::CloseRightMenu() { ::CloseRightMenu(); }
void CCommandHost::SetRightClickEnterMode(int mode) { ::SetRightClickEnterMode(mode); }
void CCommandHost::ResetRightMenuPickList(int value) { ::ResetRightMenuPickList(value); }
// The mask travels in the long parameter of its message.
void CCommandHost::SetRightMenuHideMask(int, int mask) { ::SetRightMenuHideMask(mask); }
void CCommandHost::CloseAllParameterPanels() { PboxCloseAllPanels(); }
void CCommandHost::BackupModifiedDrawings() { GetCadFileBackup().BackupModifiedDrawings(); }
void CCommandHost::CountCommandForBackup() { GetCadFileBackup().CountCommand(); }
void CCommandHost::AddRecentCommand(int id, const char* name) { ::AddRecentCommand(name, id); }
void CCommandHost::DestroyKeptElementMark() { ReleaseKeptMark(1); }

void CCommandHost::SendStatus(int code, LPARAM value)
{
    if (HWND bar = GetStatusBarWnd()) SendMessageA(bar, WM_USER, static_cast<WPARAM>(code), value);
}

HCURSOR CCommandHost::ShowWaitCursor()
{
    return SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
}

void CCommandHost::RestoreCursor(HCURSOR previous) { SetCursor(previous); }
