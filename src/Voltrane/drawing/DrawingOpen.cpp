#include "drawing/DrawingOpen.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Dravik.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "commands/PluginModules.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/MessageCatalog.h"
#include "core/SettingsMessage.h"
#include "core/SystemLog.h"
#include "drawing/DrawingFileLock.h"
#include "drawing/DrawingFileType.h"
#include "drawing/InitialLayer.h"
#include "drawing/WaitCursor.h"
#include "mainframe/MainFrame.h"
#include "view/DrawingWindowCreation.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

constexpr int kMessageLoadFailed = 1004;
constexpr int kMessageNewerVersion = 1008;
constexpr int kMessageReferenceMode = 7222;
constexpr int kMessageWarningCaption = 7380;
constexpr int kRasterOpenCommand = 7800;

int Box(const char* text, const char* caption, UINT flags)
{
    return ShowSettingsMessage(GetMainFrameWnd(), text, caption, flags);
}

// Shows a load failure: logged with the path, then the message box.
void ReportLoadFailure(const char* path, const char* message)
{
    WriteSystemLog(0, "Error", "%s %s", path, message);
    Box(message, "ERROR", MB_OK | MB_ICONERROR);
}

void ClearStatusText()
{
    if (HWND bar = GetStatusBarWnd()) {
        SendMessageA(bar, WM_USER, 1, reinterpret_cast<LPARAM>(" "));
        SendMessageA(bar, WM_USER, 2, 0);
    }
}

// Takes a window that was made for a file back out: no name, no lock, no prompt.
void DiscardDrawingWindow(HWND view)
{
    if (PDBINFO* block = GetViewBlock(view)) {
        UnlockDrawingFile(block);
        block->fileName[0] = '\0';
        block->modified = 0;
        block->referenceMode = 0;
        if (auto* record = static_cast<EngineDbRecord*>(block->engineDb)) record->drawingBlock = nullptr;
    }
    HWND frame = GetParent(view);
    if (HWND client = GetMdiClientWnd()) SendMessageA(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(frame), 0);
    else DestroyWindow(frame);
}

// The engine load of the type into the window's database; 1 loaded, the flags word filled.
int LoadEngineFile(const char* path, int type, void* db, uint32_t* flags)
{
    return type == kFileTypeOtcf ? ZUriLoadFileOfCWU(path, db, flags) : ZUriLoadFileOfCWX(path, db, flags);
}

// Loads the file into the new window. true when the drawing loaded cleanly; false after the
// message of the failure was shown (or the newer-version question answered "No").
bool LoadIntoWindow(const char* path, int type, void* db)
{
    uint32_t flags = 0;
    if (LoadEngineFile(path, type, db, &flags) == 1) {
        if (const char* message = LoadFlagMessage(flags, LoadMessageOrder::OpenLoaded)) {
            ReportLoadFailure(path, message);
            return false;
        }
        return true;
    }
    if (flags != kLoadFlagNewerVersion) {
        const char* message = LoadFlagMessage(flags, LoadMessageOrder::OpenFailed);
        ReportLoadFailure(path, message != nullptr ? message : GetMessageText(kMessageLoadFailed));
        return false;
    }
    WriteSystemLogText(0, "Warning", "ファイルバージョンが新しいフォーマットになっています");
    if (Box(GetMessageText(kMessageNewerVersion), "LoadingError", MB_YESNO | MB_ICONQUESTION) != IDYES) return false;
    flags = kLoadFlagNewerVersion;
    if (LoadEngineFile(path, type, db, &flags) != 1) {
        ReportLoadFailure(path, GetMessageText(kMessageLoadFailed));
        return false;
    }
    if (flags != 0) {
        const char* message = LoadFlagMessage(flags, LoadMessageOrder::OpenLoaded);
        ReportLoadFailure(path, message != nullptr ? message : GetMessageText(kMessageLoadFailed));
        return false;
    }
    return true;
}

// What the window takes from the loaded drawing: layer masks and the current layer.
void TakeLoadedLayers(PDBINFO* block)
{
    auto* record = static_cast<EngineDbRecord*>(block->engineDb);
    auto* info = record != nullptr ? static_cast<DbInfoBlock*>(record->info) : nullptr;
    if (info == nullptr) return;
    std::memcpy(block->layerDisplayMask, info->layers.displayMask, sizeof block->layerDisplayMask);
    std::memcpy(block->layerDetectMask, info->layers.detectMask, sizeof block->layerDetectMask);
    int layer = info->layers.currentLayer;
    if (GetCadSystem().config.INPUTLAYERLOAD == 0 || layer < 0 || layer >= kLayerCount) {
        layer = ChooseInitialCurrentLayer(block->engineDb);
        info->layers.currentLayer = layer;
    }
    block->currentLayer = static_cast<int16_t>(layer);
}

int OpenEngineDrawing(HWND context, const char* path, int type)
{
    WaitCursor wait;
    if (!FindFirstFileExists(path)) {
        char text[400];
        if (GetCadSystem().config.LANGUAGE != 0) std::snprintf(text, sizeof text, "file [%s] not found.", path);
        else std::snprintf(text, sizeof text, "ファイルが存在しません\n[%s]", path);
        Box(text, "ERROR", MB_OK | MB_ICONERROR);
        return 0;
    }
    if (HWND shown = FindViewByFileName(path, nullptr)) {
        PostMessageA(GetMdiClientWnd(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(GetParent(shown)), 0);
        return 1;
    }
    HWND view = CreateRovOdidov(context, 1, nullptr, nullptr);
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr || block->engineDb == nullptr) {
        if (view != nullptr) DiscardDrawingWindow(view);
        WriteSystemLogText(0, "Error", "図面ウィンドウを作成できません");
        return 0;
    }
    auto* record = static_cast<EngineDbRecord*>(block->engineDb);
    record->drawingBlock = block;
    DbcsCopy(block->fileName, sizeof block->fileName, path);
    block->untitledNumber = 0;

    const bool lockable = CanLockDrawingFile(block) != 0;
    if (!lockable && GetCadSystem().config.bNoLoadErrMsg == 0 && GetCadSystem().GetStartMode() == 0)
        Box(GetMessageText(kMessageReferenceMode), GetMessageText(kMessageWarningCaption), MB_OK | MB_ICONWARNING);

    if (!LoadIntoWindow(path, type, block->engineDb)) {
        DiscardDrawingWindow(view);
        return 0;
    }
    if (lockable) LockDrawingFile(block);
    else block->referenceMode = 1;

    TakeLoadedLayers(block);
    NotifyToolPanelDrawingChanged();
    UpdateViewTitle(view, block->engineDb, 0);
    const bool ownView = type == kFileTypeTcf && record->drawingBlock != nullptr;
    if (!ownView) FitViewToPaper();
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    record->drawingBlock = nullptr;
    if (HWND bar = GetStatusBarWnd()) SendMessageA(bar, WM_USER, 5, GetViewElementCount(view));
    RefreshToolPanelPaperAndScale();
    return 1;
}

// A picture file: a new window whose name is the picture's with ".tcf", filled by the raster
// plug-in. A window the plug-in could not fill goes again.
// A drawing that the raster command filled with a picture takes the paper the picture fits.
void FitRasterDrawingToPaper(HWND view, PDBINFO* block)
{
    void* db = block->engineDb;
    RasterRecord raster;
    std::memset(&raster, 0, sizeof raster);
    void* first = ZUriReadElement(nullptr, 0, &raster, db);
    if (first == nullptr || reinterpret_cast<ElementRecord*>(&raster)->type != kElementRaster) {
        UpdateViewTitle(view, db, 0);
        return;
    }
    const RasterPaperRow& row = GetRasterPaperTable()[ChooseRasterPaperRow(raster.width, raster.height)];
    DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, db);
    if (info.originMode != 0) {
        const double inch = raster.resolutionUnit == 2 ? 25.4 : 1.0;
        raster.cx = raster.pixelsX * static_cast<double>(raster.factorX) * inch / 2;
        raster.cy = raster.pixelsY * static_cast<double>(raster.factorY) * inch / 2;
    } else {
        raster.cx = raster.cy = 0;
    }
    if (!(raster.width > raster.height)) {
        raster.angle = 0, raster.sinAngle = 0, raster.cosAngle = 1;
    }
    ZUriChangeElement(first, &raster, db);
    info.drawingWidth = info.paperWidthMm = row.width;
    info.drawingHeight = info.paperHeightMm = row.height;
    info.paperCode = row.code;
    ZUriSetDBInfo(&info, db);
    UpdateViewTitle(view, db, 0);
    FitViewToPaper();
    ClearDrawingModified();
    if (HWND bar = GetStatusBarWnd()) UpdateWindow(bar);
}

int OpenRasterDrawing(HWND context, const char* path)
{
    HWND view = CreateRovOdidov(context, 1, nullptr, nullptr);
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) {
        if (view != nullptr) DiscardDrawingWindow(view);
        return 0;
    }
    char name[MAX_PATH] = {};
    DbcsCopy(name, sizeof name, path);
    if (char* dot = std::strrchr(name, '.')) *dot = '\0';
    DbcsAppend(name, sizeof name, ".tcf");
    DbcsCopy(block->fileName, sizeof block->fileName, name);
    block->untitledNumber = 0;
    FitViewToPaper();
    if (StartPluginCommand(kRasterOpenCommand, path) == 0) {
        DiscardDrawingWindow(view);
        ClearStatusText();
        return 0;
    }
    FitRasterDrawingToPaper(view, block);
    ClearStatusText();
    return 1;
}

}  // namespace

int ImportCommandOfType(int type)
{
    switch (type) {
    case kFileTypeDxf: return 5103;
    case kFileTypeJwc: return 5104;
    case kFileTypeDwg: return 5105;
    case kFileTypeSfc: return 5107;
    case kFileTypeJww: return 5112;
    case kFileTypePdf: return 5992;
    default: return 0;
    }
}

int OpenDrawingFile(HWND context, const char* path)
{
    const int type = GetDrawingFileType(path);
    if (IsEngineFileType(type)) {
        WriteSystemLog(2, "Open File", "%s", path != nullptr ? path : "");
        if (path == nullptr || path[0] == '\0') return 0;
        if (IsViewTableFull()) {
            WriteSystemLogText(0, "Warning", "これ以上ウィンドウは開けません");
            return 0;
        }
        return OpenEngineDrawing(context, path, type);
    }
    if (int command = ImportCommandOfType(type)) {
        if (StartPluginCommand(command, path) == 0) return 0;
        ClearStatusText();
        return 1;
    }
    if (type == kFileTypeTif) return OpenRasterDrawing(context, path);
    ClearStatusText();
    char text[400];
    std::snprintf(text, sizeof text, "%s\nファイルは、図面と認識できません。", path != nullptr ? path : "");
    Box(text, "ERROR", MB_OK | MB_ICONERROR);
    return 0;
}

namespace {
int g_openRequest = 0;
}  // namespace

void SetOpenRequestFlag(int value) { g_openRequest = value; }

int GetOpenRequestFlag() { return g_openRequest; }

int IsTiffLinkLoadOn()
{
    char ini[MAX_PATH] = {};
    if (Dader_GetDataPath(7, ini, "dwgin.ini", 1) != 0) return 0;
    char value[11] = {};
    GetPrivateProfileStringA("TIFF", "LINKLOAD", "", value, sizeof value, ini);
    return std::atoi(value) != 0 ? 1 : 0;
}

int LoadLinkedTiffImage(const char* drawingPath, int noPrompt)
{
    if (!IsTiffLinkLoadOn() || drawingPath == nullptr) return 1;
    char image[MAX_PATH] = {};
    DbcsCopy(image, sizeof image, drawingPath);
    const size_t separator = DbcsFindLastSeparator(image, std::strlen(image));
    char* dot = std::strrchr(image, '.');
    if (dot != nullptr && (separator == static_cast<size_t>(-1) || dot > image + separator)) *dot = '\0';
    if (DbcsAppend(image, sizeof image, ".tif") + 1 >= sizeof image) return 1;
    HANDLE file = CreateFileA(image, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    CloseHandle(file);
    if (!noPrompt && Box("この図面にはイメージデータが存在します。\n同時に読み込みますか？", "ファイル読込", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 1;
    if (RunCommandLibraryOnce(kRasterOpenCommand, image) == 0) return 0;
    if (HWND bar = GetStatusBarWnd()) UpdateWindow(bar);
    return 1;
}

const RasterPaperRow* GetRasterPaperTable()
{
    static const RasterPaperRow kRows[kRasterPaperRows] = {
        {"A0 横", 16, 841, 1189},     {"A1 横", 17, 594, 841},      {"A2 横", 18, 420, 594},
        {"A3 横", 19, 297, 420},      {"A4 横", 20, 210, 297},      {"A5 横", 21, 148, 210},
        {"A6 横", 22, 105, 148},      {"A0 縦", 0x8010, 1189, 841}, {"A1 縦", 0x8011, 841, 594},
        {"A2 縦", 0x8012, 594, 420},  {"A3 縦", 0x8013, 420, 297},  {"A4 縦", 0x8014, 297, 210},
        {"A5 縦", 0x8015, 210, 148},  {"A6 縦", 0x8016, 148, 105},
    };
    return kRows;
}

int ChooseRasterPaperRow(double width, double height)
{
    const int first = width > height ? 0 : 7;
    const RasterPaperRow* rows = GetRasterPaperTable();
    for (int i = first; i < first + 7; ++i) {
        // A paper the raster exceeds in one side does not hold it either.
        if (width > rows[i].width || height > rows[i].height) return i == first ? first : i - 1;
    }
    return first + 6;
}
