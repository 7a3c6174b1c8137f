// Host messages for drawings, elements and files.
#include <cstdlib>
#include <cstring>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/CommandHost.h"
#include "commands/CommandRunState.h"
#include "commands/HostServiceFamilies.h"
#include "commands/HostServiceSite.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "drawing/DrawingOpen.h"

namespace {

constexpr int kMaxViewsOfDrawing = 256;

// Host buffers of the paths plug-ins hand over; a text that does not fit is refused whole,
// since a cut path names another file.
char g_linkedImagePath[MAX_PATH];
char g_exportArguments[MAX_PATH];
char g_saveName[MAX_PATH];
// Sub-code 7 of the file services: a text stored for the caller, which nothing here reads.
LPARAM g_serviceText = 0;

bool CopyWhole(char (&buffer)[MAX_PATH], const char* text)
{
    if (text == nullptr) return false;
    const size_t length = strnlen(text, MAX_PATH);
    if (length >= MAX_PATH) return false;
    std::memcpy(buffer, text, length + 1);
    return true;
}

// Applies a change to every view of the active drawing.
template <class Change>
void ForEachViewOfActiveDrawing(CHostServiceSite& site, Change change)
{
    HWND views[kMaxViewsOfDrawing];
    const int count = site.ViewsOfDrawing(site.ActiveView(), views, kMaxViewsOfDrawing);
    for (int i = 0; i < count; ++i)
        if (PDBINFO* block = site.ViewBlock(views[i])) change(views[i], *block);
}

LRESULT ViewState(WPARAM subCode, LPARAM lParam)
{
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    switch (subCode) {
    case 0:
        return block ? block->saveOption : -1;
    case 1:
        if (block == nullptr || (lParam != 0 && lParam != 1)) return 0;
        ForEachViewOfActiveDrawing(site, [&](HWND, PDBINFO& b) { b.saveOption = static_cast<int32_t>(lParam); });
        return 1;
    case 2:
        return GetCommandRunState().runningPluginId;
    case 3:
        if (block == nullptr) return 0;
        if (lParam == 2) return block->referenceMode;
        if (lParam != 0 && lParam != 1) return 0;
        ForEachViewOfActiveDrawing(site, [&](HWND, PDBINFO& b) { b.referenceMode = static_cast<int32_t>(lParam); });
        ForEachViewOfActiveDrawing(site, [&](HWND view, PDBINFO&) { site.RefreshDrawingViews(view); });
        return 1;
    case 4:
        return reinterpret_cast<LRESULT>(site.CommandLineById(static_cast<int>(lParam)));
    case 5:
        return site.RunDrawingEventCommand(4);
    case 6:
        return block ? block->modified : -1;
    case 7:
        return site.ActiveView() ? site.SaveDrawing(site.ActiveView(), 4, nullptr) : 0;
    case 8:
        return GetLocalSettingsLive().setup.bBkColor;
    case 9:
        return GetLocalSettingsLive().setup.bColorMode;
    default:
        return 0;
    }
}

LRESULT FileService(WPARAM subCode, LPARAM lParam)
{
    CHostServiceSite& site = GetHostServiceSite();
    switch (subCode) {
    case 0:
        if (!CopyWhole(g_linkedImagePath, reinterpret_cast<const char*>(lParam))) return 0;
        return site.LoadLinkedTiffImage(g_linkedImagePath);
    case 1:
    case 2:
        site.SetOpenSwitch(1, subCode == 1);
        return 1;
    case 3:
        return site.OpenSwitch(2);
    case 5:
        if (!CopyWhole(g_exportArguments, reinterpret_cast<const char*>(lParam))) return 0;
        return site.RunExportPlugin(g_exportArguments);
    case 6:
        SetOpenRequestFlag(static_cast<int>(lParam));
        return 1;
    case 7:
        g_serviceText = lParam;
        return 1;
    default:
        return 0;
    }
}

LRESULT ForceSave(const char* fileName)
{
    CHostServiceSite& site = GetHostServiceSite();
    HWND view = site.ActiveView();
    if (view == nullptr) return 1;
    GetCommandHost().WriteLog(2, "System Cmd", "強制保存");
    if (fileName == nullptr) return site.SaveDrawing(view, 2, nullptr);
    if (!CopyWhole(g_saveName, fileName)) return 0;
    return site.SaveDrawing(view, 3, g_saveName);
}

LRESULT DrawingName(WPARAM write, char* buffer)
{
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    if (block == nullptr || buffer == nullptr) return 0;
    if (write == 0) {
        std::memcpy(buffer, block->fileName, sizeof(block->fileName));
        buffer[sizeof(block->fileName) - 1] = '\0';
        return 1;
    }
    const size_t length = strnlen(buffer, sizeof(block->fileName));
    if (length >= sizeof(block->fileName)) return 0;
    char name[sizeof(block->fileName)];
    std::memcpy(name, buffer, length + 1);
    ForEachViewOfActiveDrawing(site, [&](HWND, PDBINFO& b) { std::memcpy(b.fileName, name, length + 1); });
    return 1;
}

LRESULT DrawingNumber()
{
    CHostServiceSite& site = GetHostServiceSite();
    void* attached = site.AttachedDatabase(site.ActiveView());
    if (attached == nullptr) return 0;
    DbInfoRecord info;
    std::memset(&info, 0, sizeof(info));
    if (!ZUriGetDBInfo(&info, attached)) return 0;
    info.drawingNumberText[sizeof(info.drawingNumberText) - 1] = '\0';
    return std::atoi(info.drawingNumberText);
}

void* ActiveDatabase()
{
    PDBINFO* block = ActiveDrawingBlock(GetHostServiceSite());
    return block ? block->engineDb : nullptr;
}

void BeginBatchEdit()
{
    void* db = ActiveDatabase();
    ZUriFastAccessOn();
    GetHostServiceSite().ClearUndo(db);
    GetCommandRunState().batchEdit = 0;
    if (db) ZUriUndoFgSet(db, 0);
}

void EndBatchEdit()
{
    GetCommandRunState().batchEdit = 1;
    ZUriFastAccessOff();
    if (void* db = ActiveDatabase()) ZUriUndoFgSet(db, GetCommandHost().UndoSetting());
}

}  // namespace

BOOL CCadSysCmdDrawing::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                             DWORD mapId)
{
    if (mapId != 0) return FALSE;
    switch (uMsg) {
    case WM_CAD_VIEW_STATE:
        lResult = ViewState(wParam, lParam);
        return TRUE;
    case WM_CAD_FILE_SERVICE:
        lResult = FileService(wParam, lParam);
        return TRUE;
    case WM_CAD_FORCE_SAVE:
        lResult = ForceSave(reinterpret_cast<const char*>(lParam));
        return TRUE;
    case WM_CAD_DRAWING_NAME:
        lResult = DrawingName(wParam, reinterpret_cast<char*>(lParam));
        return TRUE;
    case WM_CAD_GET_DRAWING_NUMBER:
        lResult = DrawingNumber();
        return TRUE;
    case WM_CAD_READ_ELEMENT:
        lResult = lParam ? GetHostServiceSite().ReadAttachedDbElement(reinterpret_cast<CmdParamRecord*>(lParam)) : 0;
        return TRUE;
    case WM_CAD_BEGIN_BATCH_EDIT:
        BeginBatchEdit();
        lResult = 1;
        return TRUE;
    case WM_CAD_END_BATCH_EDIT:
        EndBatchEdit();
        lResult = 1;
        return TRUE;
    case WM_CAD_SET_CHECK_MODE:
        lResult = wParam != 0 && LOWORD(wParam) == 100 ? ZUriSetElementCheckMode(static_cast<int>(lParam)) : 0;
        return TRUE;
    default:
        return FALSE;
    }
}
