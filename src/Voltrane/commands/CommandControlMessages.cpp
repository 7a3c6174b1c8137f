#include "commands/CommandControlMessages.h"

#include "commands/CommandHost.h"
#include "commands/CommandRunState.h"
#include "commands/DdeClient.h"
#include "commands/DdeExecute.h"
#include "commands/InputEvent.h"
#include "commands/InputWaitLoop.h"
#include "commands/InterruptCommands.h"
#include "core/CadSystem.h"
#include "core/MessageCatalog.h"
#include "panels/RightMenuPickList.h"
#include "dialogs/YesNoPrompt.h"
#include "panels/ParameterPanelDisplay.h"
#include "panels/ParameterPanelModel.h"

namespace {

CCommandControlServices g_defaultServices;
CCommandControlServices* g_services = &g_defaultServices;

const char* TextOrEmpty(const char* text) { return text ? text : ""; }

}  // namespace

CCommandControlServices& GetCommandControlServices() { return *g_services; }

void SetCommandControlServices(CCommandControlServices* services)
{
    g_services = services ? services : &g_defaultServices;
}

int CCommandControlServices::AskYesNo(WPARAM, INT_PTR placement, const char* question)
{
    return AskYesNoAtCursor(static_cast<int>(placement), TextOrEmpty(question));
}

int CCommandControlServices::AskYesNoCancel(WPARAM, INT_PTR placement, const char* question)
{
    return AskYesNoCancelQuestion(static_cast<int>(placement), TextOrEmpty(question));
}

int CCommandControlServices::ClearRightMenuPickList() { return ::ClearRightMenuPickList(); }
LRESULT CCommandControlServices::EnableRightMenuPickList(WPARAM, LPARAM lParam)
{
    return ::EnableRightMenuPickList(lParam);
}
LRESULT CCommandControlServices::AddRightMenuPickItem(WPARAM, const char* text, INT_PTR kind, INT_PTR value)
{
    return ::AddRightMenuPickItem(text, static_cast<int32_t>(kind), static_cast<int32_t>(value));
}
LRESULT CCommandControlServices::PboxItemUserData(WPARAM, LPARAM lParam)
{
    return ::PboxItemUserData(reinterpret_cast<const PboxItemRequest*>(lParam));
}
INT_PTR CCommandControlServices::TakeKeptMark() { return ::TakeKeptMark(); }
LRESULT CCommandControlServices::DdeMessage(UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_CAD_DDE_EXECUTE) return RunDdeExecute(reinterpret_cast<const char*>(lParam));
    return RunDdeClientMessage(message, lParam);
}
HWND CCommandControlServices::AppPanelDialogInUse() { return PboxFloatingDialogInUse(); }

void RestoreInputFocus()
{
    HWND dialog = GetCommandControlServices().AppPanelDialogInUse();
    if (dialog != nullptr) {
        if (IsWindow(dialog)) SetFocus(dialog);
        return;
    }
    GetCommandHost().FocusActiveView();
}

LRESULT CCommandControlMessages::OnCancelCommand(HWND mainWindow)
{
    RaiseInputEvent(kEventCancel);
    NoteCommandCancelled();
    if (SendMessageA(mainWindow, WM_CAD_CMD_STATE, 1, 0) == 0) return 0;
    CCommandHost& host = GetCommandHost();
    host.SendStatus(1, reinterpret_cast<LPARAM>(" "));
    host.SendStatus(2, 0);
    return 1;
}

LRESULT CCommandControlMessages::OnClearEventMask(UINT, WPARAM, LPARAM, BOOL&)
{
    ClearInputEventMask();
    return 1;
}

LRESULT CCommandControlMessages::OnAddEventMask(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    AddInputEventMask(static_cast<uint32_t>(lParam));
    return 1;
}

LRESULT CCommandControlMessages::OnPostDdeEvent(UINT, WPARAM, LPARAM, BOOL&)
{
    RaiseInputEvent(kEventDdeText);
    return 1;
}

LRESULT CCommandControlMessages::OnCurrentCommand(UINT, WPARAM, LPARAM, BOOL&)
{
    return GetCadSystem().currentCommandId;
}

LRESULT CCommandControlMessages::OnSetCommandOption(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    return lParam != 0 ? 1 : 0;
}

LRESULT CCommandControlMessages::OnSetLayerPickMode(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    GetCommandRunState().layerPickMode = static_cast<int>(lParam);
    return 0;
}

LRESULT CCommandControlMessages::OnSetUndoTag(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    GetCommandRunState().undoBeginSuppressed = static_cast<int>(lParam);
    return 1;
}

LRESULT CCommandControlMessages::OnCommandState(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (wParam == 1) return stateFlag;
    stateFlag = static_cast<int>(lParam);
    return 1;
}

LRESULT CCommandControlMessages::OnGetLanguage(UINT, WPARAM, LPARAM, BOOL&)
{
    return GetCadSystem().config.LANGUAGE;
}

LRESULT CCommandControlMessages::OnWriteLog(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    // The plug-in's text is logged as it stands: it is never taken as a format.
    GetCommandHost().WriteLog(static_cast<int>(wParam), nullptr,
                              TextOrEmpty(reinterpret_cast<const char*>(lParam)));
    return 1;
}

LRESULT CCommandControlMessages::OnGetMessageText(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    return AnswerGetMessageText(wParam, lParam);
}

LRESULT CCommandControlMessages::OnSetMessage(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    // The status bar answers its field messages with 0.
    GetCommandHost().SendStatus(2, lParam);
    return 0;
}

LRESULT CCommandControlMessages::OnShowElementCount(UINT, WPARAM, LPARAM, BOOL&)
{
    CCommandHost& host = GetCommandHost();
    host.SendStatus(5, host.ActiveElementCount());
    return 1;
}

LRESULT CCommandControlMessages::OnGetElementCount(UINT, WPARAM, LPARAM, BOOL&)
{
    CCommandHost& host = GetCommandHost();
    return host.HasActiveView() ? host.ActiveElementCount() : 0;
}

LRESULT CCommandControlMessages::OnFocusInput(UINT, WPARAM, LPARAM, BOOL&)
{
    RestoreInputFocus();
    return 1;
}

LRESULT CCommandControlMessages::OnAskYesNo(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    const auto* record = reinterpret_cast<const CmdParamRecord*>(lParam);
    // Without a record there is no question to ask: the answer is the one that changes nothing.
    if (record == nullptr) return uMsg == WM_CAD_ASK_YESNO ? 0 : 2;
    const char* question = reinterpret_cast<const char*>(record->value2);
    CCommandControlServices& services = GetCommandControlServices();
    if (uMsg == WM_CAD_ASK_YESNO) return services.AskYesNo(wParam, record->value1, question);
    return services.AskYesNoCancel(wParam, record->value1, question);
}

LRESULT CCommandControlMessages::OnRightMenuClear(UINT, WPARAM, LPARAM, BOOL&)
{
    GetCommandControlServices().ClearRightMenuPickList();
    return 1;
}

LRESULT CCommandControlMessages::OnRightMenuMode(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    return GetCommandControlServices().EnableRightMenuPickList(wParam, lParam);
}

LRESULT CCommandControlMessages::OnRightMenuAdd(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    const auto* record = reinterpret_cast<const CmdParamRecord*>(lParam);
    if (record == nullptr) return 0;
    return GetCommandControlServices().AddRightMenuPickItem(wParam, record->text, record->element,
                                                            record->record);
}

LRESULT CCommandControlMessages::OnRightClickFinishes(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    GetCommandHost().SetRightClickEnterMode(static_cast<int>(lParam));
    return 1;
}

LRESULT CCommandControlMessages::OnRightMenuSetExtra(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    GetCommandHost().SetRightMenuHideMask(static_cast<int>(wParam), static_cast<int>(lParam));
    return 1;
}

LRESULT CCommandControlMessages::OnPboxQuery(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    return GetCommandControlServices().PboxItemUserData(wParam, lParam);
}

LRESULT CCommandControlMessages::OnTakeMark(UINT, WPARAM, LPARAM, BOOL&)
{
    return GetCommandControlServices().TakeKeptMark();
}

LRESULT CCommandControlMessages::OnDdeMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
{
    return GetCommandControlServices().DdeMessage(uMsg, wParam, lParam);
}
