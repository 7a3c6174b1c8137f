#include "commands/ElementServiceSite.h"

#include <mmsystem.h>

#include "HostMessages.h"
#include "commands/CommandHost.h"
#include "commands/HostServiceSite.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "dialogs/YesNoPrompt.h"
#include "drawing/PageOperations.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ElementDrawing.h"
#include "view/RubberBand.h"
#include "view/ViewTable.h"
#include "core/ProgramPaths.h"

// The default site reaches the drawing views through the view table and the host-service site;
// without a drawing window it answers as the program with none open: no view, no database.

HWND CElementServiceSite::MainWindow() { return GetCommandHost().MainWindow(); }
HWND CElementServiceSite::ActiveView() { return GetHostServiceSite().ActiveView(); }
void* CElementServiceSite::ViewDatabase(HWND view)
{
    PDBINFO* block = view != nullptr ? GetHostServiceSite().ViewBlock(view) : nullptr;
    return block != nullptr ? block->engineDb : nullptr;
}
void* CElementServiceSite::ViewDataBlock(HWND view)
{
    return view != nullptr ? GetHostServiceSite().ViewBlock(view) : nullptr;
}
HWND CElementServiceSite::FindViewByDatabase(void* database) { return database ? FindViewByDb(database) : nullptr; }
HWND CElementServiceSite::FindViewByFileName(const char* path) { return ::FindViewByFileName(path, nullptr); }
int CElementServiceSite::ViewMode(HWND view)
{
    PDBINFO* block = static_cast<PDBINFO*>(ViewDataBlock(view));
    return block != nullptr ? block->viewMode : 0;
}
double CElementServiceSite::ViewModeScale(HWND view)
{
    PDBINFO* block = static_cast<PDBINFO*>(ViewDataBlock(view));
    return block != nullptr ? CurrentViewMode(*block).scale : 1.0;
}
// The drawing's placement transform is in force in the paper-layout view modes only.
void CElementServiceSite::RefreshPlacementFlag(HWND view) { IsDrawingViewWindow(view); }
void CElementServiceSite::RedrawElementInViews(HWND view, int mode, void* element)
{
    // A view without drawing block draws nothing; its drawing's views repaint instead.
    if (GetHostServiceSite().RedrawElementInViews(view, mode, element) == 0 && view != nullptr)
        InvalidateDrawingViews(view);
}
void CElementServiceSite::RedrawMarkInViews(HWND view, int colour, void* mark)
{
    if (::RedrawMarkInViews(view, colour, mark) == 0 && view != nullptr) InvalidateDrawingViews(view);
}
int CElementServiceSite::DrawMarkInView(HWND view, int colour, void* mark) { return ::DrawMarkInView(view, colour, mark); }
void CElementServiceSite::SetViewModified(HWND view)
{
    if (view != nullptr) GetHostServiceSite().SetDrawingModified(view);
}
void CElementServiceSite::SetActiveDrawingModified() { SetViewModified(ActiveView()); }
void CElementServiceSite::ShowElementCountAndRepaint(HWND view)
{
    if (view == nullptr) return;
    GetCommandHost().SendStatus(5, static_cast<LPARAM>(GetViewElementCount(view)));
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(view);
}
void CElementServiceSite::EraseRubberBand(HWND view) { UpdateRubberBand(view, 0, 0, 1); }
int CElementServiceSite::CurrentPage() { return 0; }
double CElementServiceSite::InputScaleFactor(HWND) { return 1.0; }
HostPoint CElementServiceSite::CursorWorldPoint()
{
    // As the input wait takes it: on the grid while grid snapping is on (the loupe has no
    // point of its own yet).
    HostPoint point{};
    if (IsGridOn())
        GetGridCursorPoint(&point.x, &point.y, nullptr);
    else
        GetCursorWorldPoint(&point.x, &point.y);
    return point;
}
void CElementServiceSite::FocusView(HWND view)
{
    if (view != nullptr && GetFocus() != view) SetFocus(view);
}
int CElementServiceSite::OpenDrawingFile(const char* path)
{
    HWND main = MainWindow();
    return main != nullptr ? static_cast<int>(SendMessageA(main, WM_CADDB_OPEN_FILE, 0, reinterpret_cast<LPARAM>(path))) : 0;
}
void CElementServiceSite::ActivateView(HWND view) { ::ActivateView(view); }
void CElementServiceSite::CloseViewByCommand(HWND view)
{
    if (view == nullptr) return;
    SetCloseNowFlag(1);
    SendMessageA(view, WM_CLOSE, 0, 0);
    SetCloseNowFlag(0);
}
void CElementServiceSite::CloseUntouchedViews() { ::CloseUntouchedViews(); }
void CElementServiceSite::SetKeepCommandOnClose(int on) { ::SetKeepCommandOnClose(on); }

int CElementServiceSite::ShowMessage(const char* text, const char* caption, UINT type)
{
    return GetCommandHost().ShowMessageBox(MainWindow(), text, caption, type);
}

int CElementServiceSite::AskYesNoCancel(const char* question)
{
    // The element picks ask one question per candidate: after a No the next prompt stays where
    // the first one was.
    static int useSaved = 0;
    static int position[2] = {0, 0};
    return AskYesNoCancelAtCursor(&useSaved, position, question);
}

const ElementServiceSettings& CElementServiceSite::Settings()
{
    const ConfigData& config = GetCadSystem().config;
    const LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    settings.language = config.LANGUAGE;
    settings.pointScale = config.POINTSCALEFG;
    settings.elementHitForward = setup.bElmHit;
    settings.undoDepth = setup.iUndoCount;
    settings.openClosesUntouched = config.CMDFILEOPN_NOZUMEN;
    settings.drawingFolder = config.file.ZUMENDIR;
    settings.soundFile = config.file.WAV;
    settings.yesNoText = config.YESNOMSG;
    return settings;
}

void CElementServiceSite::AlertSound(int kind)
{
    const ElementServiceSettings& s = Settings();
    if (!s.soundFile.empty()) {
        const std::string path = GetExeDir() + "\\" + s.soundFile;
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
