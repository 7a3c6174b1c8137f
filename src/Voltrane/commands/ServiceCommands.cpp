#include "commands/ServiceCommands.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/ElementExtents.h"
#include "commands/CommandHost.h"
#include "commands/HelpFiles.h"
#include "commands/HostServiceFamilies.h"
#include "commands/InputEvent.h"
#include "commands/InterruptCommands.h"
#include "commands/SystemCommandDispatcher.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "core/MessageCatalog.h"
#include "core/SecondStart.h"
#include "core/StartupSeams.h"
#include "core/SystemLog.h"
#include "dialogs/SetConfigDlg.h"
#include "dialogs/SetToolBarDlg.h"
#include "mainframe/FrameServices.h"
#include "mainframe/MainFrame.h"
#include "panels/RightMenuPickList.h"
#include "panels/ParameterPanelModel.h"
#include "view/DrawingWindowCreation.h"
#include "view/LayoutCells.h"
#include "view/TypedKeys.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

CServiceCommandSite g_defaultSite;
CServiceCommandSite* g_site = &g_defaultSite;

}  // namespace

CServiceCommandSite& GetServiceCommandSite() { return *g_site; }
void SetServiceCommandSite(CServiceCommandSite* site) { g_site = site ? site : &g_defaultSite; }

// ---- the program's site ----

HWND CServiceCommandSite::MainWindow() { return GetMainFrameWnd(); }
HWND CServiceCommandSite::ActiveView() { return ::GetActiveView(); }
void CServiceCommandSite::Log(const char* text) { WriteSystemLog(2, "Service Cmd", "%s", text); }
void CServiceCommandSite::NotAvailable(const char* what)
{
    WriteSystemLog(2, "Service Cmd", "%s: not available in this build", what);
}
void CServiceCommandSite::PostRightMenuPick(int index)
{
    if (::PostRightMenuPick(index) == 0) Log("right-click menu pick without an entry");
}
void CServiceCommandSite::EraseRubberBand()
{
    if (!(GetInputEventRecord().acceptMask & kAcceptRubberBand)) return;
    if (HWND view = ActiveView()) UpdateRubberBand(view, 0, 0, 1);
}
void CServiceCommandSite::ArrangeWindows(UINT mdiMessage)
{
    if (HWND client = GetMdiClientWnd()) SendMessageA(client, mdiMessage, MDITILE_SKIPDISABLED, 0);
}
void CServiceCommandSite::OpenFurtherView(char variant) { OpenFurtherDrawingViewVariant(MainWindow(), variant); }
LRESULT CServiceCommandSite::SendMain(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND main = MainWindow();
    return main ? SendMessageA(main, message, wParam, lParam) : 0;
}
void CServiceCommandSite::PostMain(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (HWND main = MainWindow()) PostMessageA(main, message, wParam, lParam);
}
void CServiceCommandSite::RaiseEvent(int32_t code) { RaiseInputEvent(code); }
void CServiceCommandSite::RaisePanelEvent(int32_t kind, int32_t item, int32_t value)
{
    ::RaisePanelEvent(kind, item, value);
}
void CServiceCommandSite::OpenHelp(LPARAM fileName)
{
    RunHelpCommand(GetCommandHost().MainWindow(), reinterpret_cast<const char*>(fileName));
}
void CServiceCommandSite::SetSnapBits(long bits)
{
    GetLocalSettingsLive().setup.LMsFg = bits;
    seam::SyncSnapButtons();
}
int CServiceCommandSite::ParameterPanelOkButton()
{
    const PboxDefaultButtonMark& mark = PboxDefaultButton();
    return mark.set ? mark.id : 0;
}
void CServiceCommandSite::ReceiveHandedOverCommandLine(LPARAM atom)
{
    char text[1024] = {};
    if (atom != 0) GlobalGetAtomNameA(static_cast<ATOM>(atom), text, sizeof text);
    ::ReceiveHandedOverCommandLine(MainWindow(), text);
}
void CServiceCommandSite::ReceiveHandedOverEmptyLine() { ::ReceiveHandedOverEmptyLine(MainWindow()); }
void CServiceCommandSite::RunSettingsSheet() { ::RunSettingsSheet(); }
int CServiceCommandSite::TogglePageLayoutView() { return ::TogglePageLayoutView(ActiveView()); }
LRESULT CServiceCommandSite::SendStatusBar(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND bar = GetStatusBarWnd();
    return bar ? SendMessageA(bar, message, wParam, lParam) : 0;
}
void CServiceCommandSite::TogglePatternSave()
{
    if (!IsPluginCommandRunning()) return;
    char key[32];
    std::snprintf(key, sizeof key, "%ld", static_cast<long>(GetCadSystem().currentCommandId));
    char value[64] = {};
    ReadSonotaString("PTNSAVE", key, "1", value);
    WriteSonotaString("PTNSAVE", key, std::atol(value) != 0 ? "0" : "1");
}
int CServiceCommandSite::DeleteMemo()
{
    HWND view = ActiveView();
    auto* record = static_cast<EngineDbRecord*>(view ? GetViewDb(view) : nullptr);
    auto* attachment = record ? static_cast<RasterAttachment*>(record->rasterAttachment) : nullptr;
    HWND main = MainWindow();
    if (attachment == nullptr || attachment->attachedDb == nullptr) {
        MessageBoxA(main, "この図面にメモ情報は含まれていません", "確認", MB_OK);
        return 1;
    }
    void* memo = attachment->attachedDb;
    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, memo);
    char name[sizeof info.fileName + 1];
    DbcsCopyN(name, sizeof name, info.fileName, sizeof info.fileName);
    if (MessageBoxA(main, "この図面のメモ情報を削除します。よろしいですか？", "削除の確認", MB_YESNO) != IDYES) return 1;
    if (std::strlen(name) >= 4 && !DeleteMemoFiles(name)) {
        MessageBoxA(main,
                    "この図面のメモ情報ファイルの削除に失敗しました\nこのドライブへ書き込みできないか、ファイルが"
                    "使用中の場合があります\nメモは削除されません",
                    "確認", MB_OK);
        return 1;
    }
    ZUriDeleteDB(memo);
    attachment->attachedDb = nullptr;
    RepaintActiveView(TRUE);
    return 0;
}
void CServiceCommandSite::ChooseMemoFile() { NotAvailable("memo file"); }
void CServiceCommandSite::RepaintActiveView(BOOL erase)
{
    if (HWND view = ActiveView()) {
        InvalidateRect(view, nullptr, erase);
        UpdateWindow(view);
    }
}
void CServiceCommandSite::SetDisplaySelector(int) { NotAvailable("display selector"); }
void CServiceCommandSite::RunMemoDialog(HWND owner)
{
    HWND view = ActiveView();
    if (view == nullptr || !HasAttachedDb(view, nullptr)) {
        MessageBoxA(owner, "この図面にはメモデータが存在しません", "メモ", MB_OK);
        return;
    }
    // Memos are attached by the drawing side's memo file choice, not built yet.
    NotAvailable("memo dialog");
}
void CServiceCommandSite::RotateRasterElement() { NotAvailable("raster rotation"); }
void CServiceCommandSite::PreviousView()
{
    HWND view = ActiveView();
    PDBINFO* block = view ? GetViewBlock(view) : nullptr;
    if (block == nullptr) return;
    ViewModeInfo& mode = CurrentViewMode(*block);
    ViewModeInfo& backup = CurrentViewModeBackup(*block);
    const ViewModeInfo kept = mode;
    mode = backup;
    backup = kept;
    UpdateRubberBand(view, 0, 0, 1);
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(view);
    UpdateRubberBand(view, 0, 0, 2);
}
int AllElementsBox(void* database, ElementExtentFn extent, SearchBox* out)
{
    if (database == nullptr || extent == nullptr || out == nullptr) return 0;
    int count = 0;
    for (void* element = ZUriReadElement(nullptr, 0, nullptr, database); element != nullptr;
         element = ZUriReadElement(element, 1, nullptr, database)) {
        SearchBox box{};
        if (!extent(database, element, &box)) continue;
        if (count++ == 0) {
            *out = box;
            continue;
        }
        out->left = std::fmin(out->left, box.left);
        out->bottom = std::fmin(out->bottom, box.bottom);
        out->right = std::fmax(out->right, box.right);
        out->top = std::fmax(out->top, box.top);
    }
    return count > 0 ? 1 : 0;
}

void CServiceCommandSite::ZoomToAllElements()
{
    HWND view = ActiveView();
    PDBINFO* block = view ? GetViewBlock(view) : nullptr;
    if (block == nullptr || block->engineDb == nullptr) return;
    auto extent = [](void* database, void* element, SearchBox* box) {
        return GetElementExtent(::GetActiveView(), database, element, box);
    };
    SearchBox box{};
    if (!AllElementsBox(block->engineDb, extent, &box)) return;
    HostPoint a{}, b{};
    a.x = box.left, a.y = box.bottom;
    b.x = box.right, b.y = box.top;
    ::ZoomViewToArea(a, b);
}
void CServiceCommandSite::ToggleInputScaleWindow() { NotAvailable("input-scale window"); }
void CServiceCommandSite::RunToolbarSettings() { RunToolbarDialog(); }
void CServiceCommandSite::ToolPanelCommand(WPARAM command, LPARAM lParam)
{
    if (HWND panel = GetToolPanelWindow()) SendMessageA(panel, WM_COMMAND, command, lParam);
}

// ---- memo files ----

std::string MemoCompanionName(const char* name)
{
    if (name == nullptr) return std::string();
    const size_t length = std::strlen(name);
    const size_t separator = DbcsFindLastSeparator(name, length);
    const size_t start = separator == static_cast<size_t>(-1) ? 0 : separator + 1;
    // A dot cannot be the second byte of a double-byte character, so the plain search is safe.
    const char* dot = std::strrchr(name + start, '.');
    if (dot == nullptr) return std::string();
    return std::string(name, dot + 1) + "mem";
}

int DeleteMemoFiles(const char* name)
{
    auto remove = [](const std::string& path) {
        if (path.empty()) return true;
        // A file that cannot be read counts as deleted.
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
        return DeleteFileA(path.c_str()) != 0;
    };
    if (!remove(name ? name : "")) return 0;
    return remove(MemoCompanionName(name)) ? 1 : 0;
}

// ---- the dispatch ----

namespace {

// One service command: 1 when handled, 0 leaves the id to the frame.
int Dispatch(CServiceCommandSite& site, int id, LPARAM lParam, HWND window)
{
    switch (id) {
    case 1200:
        site.EraseRubberBand();
        site.ArrangeWindows(WM_MDICASCADE);
        return 1;
    case 1201:
        site.EraseRubberBand();
        site.ArrangeWindows(WM_MDITILE);
        return 1;
    case 1203: site.OpenFurtherView('A'); return 1;
    case 1204: site.SendMain(WM_CAD_REFIT_VIEW, 0, 0); return 1;
    case 1208: site.PostMain(WM_CADDB_REDO, 0, 0); return 1;
    case 1209: site.PostMain(WM_CADDB_UNDO, 0, 0); return 1;
    case 1211: site.RaiseEvent(kEventEscape); return 1;
    case 1212: site.OpenHelp(lParam); return 1;
    case 1213: site.OpenFurtherView('B'); return 1;
    case 1214: case 1218: site.ActiveView(); return 1;
    case 1215: site.SetSnapBits(8); return 1;
    case 1216: site.SetSnapBits(1); return 1;
    case 1217: site.SetSnapBits(255); return 1;
    case 1219:
        if (int button = site.ParameterPanelOkButton()) site.RaisePanelEvent(1, button, 0);
        return 1;
    case 1225:
        site.EraseRubberBand();
        if (site.ActiveView()) site.PostMain(WM_CAD_LAYOUT_VIEW_TOGGLE, 0, 0);
        return 1;
    case 1227:
        // The hand-over ends the running command itself before it opens anything.
        site.ReceiveHandedOverCommandLine(lParam);
        return 1;
    case 1228: site.ReceiveHandedOverEmptyLine(); return 1;
    case 1229: site.RunSettingsSheet(); return 1;
    case 1230: return site.TogglePageLayoutView();
    case 1234:
        site.EraseRubberBand();
        if (site.ActiveView()) site.PostMain(WM_CAD_LOUPE_TOGGLE, 0, 0);
        return 1;
    case 1302: site.SendStatusBar(WM_COMMAND, 1010, 0); return 1;
    case 1303: site.SendMain(WM_SIZE, 0, 0); return 1;
    case 1305: site.SendMain(WM_CAD_CANCEL_COMMAND, 0, 0); return 1;
    case 1306: site.RaiseEvent(kEventSaveState); return 1;
    case 1307: site.TogglePatternSave(); return 1;
    case 1311: return site.DeleteMemo();
    case 1313: site.ChooseMemoFile(); return 1;
    case 1314:
        site.RaiseEvent(kEventPictureChanged);
        site.RepaintActiveView(TRUE);
        return 0;
    case 1315: case 1316: case 1317: site.SetDisplaySelector(id - 1314); return 1;
    case 1318: site.RunMemoDialog(window); return 1;
    case 1320: site.RotateRasterElement(); return 1;
    case 1331: return 1;
    case 1333: site.PreviousView(); return 1;
    case 1334: site.ZoomToAllElements(); return 1;
    case 1335: site.ToggleInputScaleWindow(); return 0;
    case 1337: site.RunToolbarSettings(); return 0;
    case 1351: site.ToolPanelCommand(3516, 0); return 1;
    default:
        if (IsInteractiveServiceCommand(id)) {
            RunInteractiveServiceCommand(id, lParam);
            return 1;
        }
        // An id without an entry is left to the frame. It is not handed to the view command
        // dispatcher, which hands every service id back here.
        return 0;
    }
}

}  // namespace

int ExecuteServiceCommand(int id, LPARAM lParam, HWND window)
{
    CServiceCommandSite& site = GetServiceCommandSite();
    if (id >= 1260 && id <= 1299) {
        site.PostRightMenuPick(id - 1260);
        return 1;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(id));
    site.Log(text);
    return Dispatch(site, id, lParam, window);
}

int ExecuteServiceCommandNotified(HWND window, WPARAM wParam, LPARAM lParam)
{
    CServiceCommandSite& site = GetServiceCommandSite();
    const int id = LOWORD(wParam);
    site.SendMain(WM_CAD_CMD_NOTIFY, static_cast<WPARAM>(id), 1);
    const int result = ExecuteServiceCommand(id, lParam, window);
    site.SendMain(WM_CAD_CMD_NOTIFY, static_cast<WPARAM>(id), 0);
    return result;
}

void InstallServiceCommands()
{
    GetFrameServices().executeServiceCommand = ExecuteServiceCommandNotified;
    GetFrameServices().appendTypedKeyName = AppendTypedKeyName;
}
