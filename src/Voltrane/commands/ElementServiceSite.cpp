#include "commands/ElementServiceSite.h"

#include <mmsystem.h>

#include "commands/CommandHost.h"
#include "core/ProgramPaths.h"

// Until the drawing views reach the services through the program's site, the default answers
// as the program without a drawing window: no view, no database, nothing drawn.

HWND CElementServiceSite::MainWindow() { return GetCommandHost().MainWindow(); }
HWND CElementServiceSite::ActiveView() { return nullptr; }
void* CElementServiceSite::ViewDatabase(HWND) { return nullptr; }
void* CElementServiceSite::ViewDataBlock(HWND) { return nullptr; }
HWND CElementServiceSite::FindViewByDatabase(void*) { return nullptr; }
HWND CElementServiceSite::FindViewByFileName(const char*) { return nullptr; }
int CElementServiceSite::ViewMode(HWND) { return 0; }
double CElementServiceSite::ViewModeScale(HWND) { return 1.0; }
void CElementServiceSite::RefreshPlacementFlag(HWND) {}
void CElementServiceSite::RedrawElementInViews(HWND, int, void*) {}
void CElementServiceSite::RedrawMarkInViews(HWND, int, void*) {}
int CElementServiceSite::DrawMarkInView(HWND, int, void*) { return 0; }
void CElementServiceSite::SetViewModified(HWND) {}
void CElementServiceSite::SetActiveDrawingModified() {}
void CElementServiceSite::ShowElementCountAndRepaint(HWND) {}
void CElementServiceSite::EraseRubberBand(HWND) {}
int CElementServiceSite::CurrentPage() { return 0; }
double CElementServiceSite::InputScaleFactor(HWND) { return 1.0; }
HostPoint CElementServiceSite::CursorWorldPoint() { return HostPoint{}; }
void CElementServiceSite::FocusView(HWND view)
{
    if (view != nullptr && GetFocus() != view) SetFocus(view);
}
int CElementServiceSite::OpenDrawingFile(const char*) { return 0; }
void CElementServiceSite::ActivateView(HWND) {}
void CElementServiceSite::CloseViewByCommand(HWND view)
{
    if (view != nullptr) SendMessageA(view, WM_CLOSE, 0, 0);
}
void CElementServiceSite::CloseUntouchedViews() {}

int CElementServiceSite::ShowMessage(const char* text, const char* caption, UINT type)
{
    return GetCommandHost().ShowMessageBox(MainWindow(), text, caption, type);
}

int CElementServiceSite::AskYesNoCancel(const char* question)
{
    // The question at the cursor belongs to the dialogs; a plain box asks the same meanwhile.
    return MessageBoxA(MainWindow(), question, "", MB_YESNOCANCEL | MB_ICONQUESTION);
}

void CElementServiceSite::AlertSound(int kind)
{
    if (!settings.soundFile.empty()) {
        const std::string path = GetExeDir() + "\\" + settings.soundFile;
        sndPlaySoundA(path.c_str(), SND_ASYNC);
        return;
    }
    MessageBeep(kind == 2 ? MB_ICONHAND : 0xFFFFFFFFu);
}

void CElementServiceSite::WriteLog(int level, const char* title, const char* text)
{
    GetCommandHost().WriteLog(level, title, text);
}

namespace {
CElementServiceSite*& InstalledSite()
{
    static CElementServiceSite* site = nullptr;
    return site;
}
}  // namespace

CElementServiceSite& GetElementServiceSite()
{
    static CElementServiceSite defaultSite;
    CElementServiceSite* site = InstalledSite();
    return site != nullptr ? *site : defaultSite;
}

void SetElementServiceSite(CElementServiceSite* site) { InstalledSite() = site; }
