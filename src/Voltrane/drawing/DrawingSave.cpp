#include "drawing/DrawingSave.h"

#include <commdlg.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "DravikDb.h"
#include "EngineRecords.h"
#include "commands/CommandCatalog.h"
#include "commands/ElementServices.h"
#include "commands/PluginModules.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/HandOffFiles.h"
#include "core/MessageCatalog.h"
#include "core/ProgramPaths.h"
#include "core/SettingsMessage.h"
#include "core/SystemLog.h"
#include "drawing/DrawingFileLock.h"
#include "drawing/DrawingFileType.h"
#include "drawing/WaitCursor.h"
#include "view/SavePreview.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

constexpr int kMessageDiskFull = 1005;
constexpr int kMessageSaveTitle = 5124;
constexpr int kMessageOverwriteName = 5125;
constexpr int kMessageOverwriteCaption = 5126;
constexpr int kMessageNotWritable = 7217;
constexpr int kMessageSameNameInReference = 7422;
constexpr int kRasterExportCommand = 7805;
constexpr int kDxfExportCommand = 5111;
constexpr int kDwgExportCommand = 5106;
constexpr int kPreviewWidth = 176;
constexpr int kPreviewHeight = 126;

const char kSaveFailed[] = "ファイルの保存に失敗しました";
const char kOkCancelTail[] = "\n\n[  OK  ]----保存する\n[ｷｬﾝｾﾙ ]--保存しない";

char g_forcedSaveName[MAX_PATH] = {};
int g_drawingSaved = 0;

BOOL RunCommonSaveDialog(OPENFILENAMEA* request) { return GetSaveFileNameA(request); }
SaveDialogRunner g_saveDialog = RunCommonSaveDialog;

int Box(HWND owner, const char* text, const char* caption, UINT flags)
{
    return ShowSettingsMessage(owner != nullptr ? owner : GetMainFrameWnd(), text, caption, flags);
}

template <class F>
void ForEachDrawingView(const PDBINFO* own, F f)
{
    for (HWND v = GetActiveView(); v != nullptr; v = GetNextView(v)) {
        PDBINFO* block = GetViewBlock(v);
        if (block != nullptr && block->drawingId == own->drawingId) f(v, block);
    }
}

void SetNameOfDrawing(HWND view, PDBINFO* own, const char* name)
{
    ForEachDrawingView(own, [&](HWND v, PDBINFO* block) {
        DbcsCopy(block->fileName, sizeof block->fileName, name);
        UpdateViewTitle(v, block->engineDb, block->severalViews == 1 ? block->viewNumber : 0);
    });
    DbcsCopy(own->fileName, sizeof own->fileName, name);
    (void)view;
}

void ClearModifiedOfDrawing(PDBINFO* own)
{
    ForEachDrawingView(own, [](HWND, PDBINFO* block) { block->modified = 0; });
    own->modified = 0;
}

void SetReferenceModeOfDrawing(PDBINFO* own, int on)
{
    ForEachDrawingView(own, [&](HWND v, PDBINFO* block) {
        block->referenceMode = on;
        UpdateViewTitle(v, block->engineDb, block->severalViews == 1 ? block->viewNumber : 0);
    });
    own->referenceMode = on;
}

// The engine's save of an engine format.
struct EngineSave {
    void* db;
    int type;
};

int SaveWithEngine(const char* path, void* context, uint32_t* flags)
{
    auto* save = static_cast<EngineSave*>(context);
    return save->type == kFileTypeOtcf ? ZUriSaveFileOfCWU(path, save->db, flags)
                                       : ZUriSaveFileOfCWX(path, save->db, flags);
}

bool IsRemovableTarget(const char* path)
{
    if (std::strlen(path) < 3 || path[1] != ':' || path[2] != '\\') return false;
    char root[4] = {path[0], ':', '\\', '\0'};
    return GetDriveTypeA(root) == DRIVE_REMOVABLE;
}

// A fresh preview for the file: the view's picture on the drawing background.
void RebuildPreview(HWND view, EngineDbRecord* record)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kPreviewWidth, kPreviewHeight);
    HDC dc = bitmap != nullptr ? CreateCompatibleDC(screen) : nullptr;
    if (dc != nullptr) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        RECT all = {0, 0, kPreviewWidth, kPreviewHeight};
        HBRUSH brush = CreateSolidBrush(GetDrawingBackColor());
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        RenderSavePreview(view, dc);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr) return;
    if (record->preview != nullptr) DeleteObject(record->preview);
    record->preview = bitmap;
}

// Type 1 with picture data: the raster plug-in prepares the data the engine stores.
bool PrepareRasterData(HWND view, EngineDbRecord* record)
{
    auto* raster = static_cast<RasterAttachment*>(record->rasterAttachment);
    if (raster == nullptr || raster->bits == nullptr) return true;
    std::string module, arguments;
    CLumbraCmd& catalog = GetLumbraCmd();
    HMODULE library = LoadCommandModule(catalog, kRasterExportCommand, module, arguments, nullptr);
    if (library == nullptr) return false;
    using Export = int(WINAPI*)(HWND, HWND*);
    auto prepare = reinterpret_cast<Export>(GetProcAddress(library, "TiffMakeDataForKnl"));
    HWND target = view;
    const int result = prepare != nullptr ? prepare(GetMainFrameWnd(), &target) : 0;
    catalog.FreeCommandModule();
    return result != 0;
}

int WriteEngineFile(HWND view, PDBINFO* block, const char* path, int type, uint32_t* flags)
{
    auto* record = static_cast<EngineDbRecord*>(block->engineDb);
    if (auto* info = static_cast<DbInfoBlock*>(record->info)) {
        PDBINFO* active = GetViewBlock(GetActiveView());
        info->layers.currentLayer = (active != nullptr ? active : block)->currentLayer;
    }
    if (type == kFileTypeOtcf && !PrepareRasterData(view, record)) {
        Box(view, kSaveFailed, "Error", MB_OK | MB_ICONERROR);
        return -1;
    }
    if (type == kFileTypeTcf) record->drawingBlock = block;
    EngineSave save{block->engineDb, type};
    int result;
    if (IsRemovableTarget(path)) {
        result = SaveThroughTemporaryFiles(path, GetResolvedFilePaths().backupDir, SaveWithEngine, &save, flags);
    } else {
        result = SaveWithEngine(path, &save, flags);
    }
    record->drawingBlock = nullptr;
    return result;
}

}  // namespace

SaveDialogRunner SetSaveDialogRunner(SaveDialogRunner runner)
{
    SaveDialogRunner previous = g_saveDialog;
    g_saveDialog = runner != nullptr ? runner : RunCommonSaveDialog;
    return previous;
}

void SetForcedSaveFileName(const char* name) { DbcsCopy(g_forcedSaveName, sizeof g_forcedSaveName, name ? name : ""); }

int DrawingWasSavedThisRun() { return g_drawingSaved; }

std::string ApplyFilterExtension(const std::string& name, const std::string& pattern)
{
    if (name.empty()) return name;
    const size_t dot = pattern.find('.');
    if (dot == std::string::npos) return name;
    std::string extension = pattern.substr(dot);
    const size_t end = extension.find(';');
    if (end != std::string::npos) extension.resize(end);
    if (extension.find('*') != std::string::npos || extension.size() < 2) return name;
    const size_t slash = name.find_last_of("\\/:");
    const size_t nameDot = name.rfind('.');
    if (nameDot == std::string::npos || (slash != std::string::npos && nameDot < slash))
        return name + extension;
    if (lstrcmpiA(name.c_str() + nameDot, extension.c_str()) == 0) return name;
    return name.substr(0, nameDot) + extension;
}

int SaveThroughTemporaryFiles(const char* target, const char* folder,
                              int (*save)(const char* path, void* context, uint32_t* flags), void* context,
                              uint32_t* flags)
{
    char oldCopy[MAX_PATH] = {}, newFile[MAX_PATH] = {};
    if (GetTempFileNameA(folder, "vto", 0, oldCopy) == 0 || GetTempFileNameA(folder, "vtn", 0, newFile) == 0) {
        if (oldCopy[0] != '\0') DeleteFileA(oldCopy);
        if (flags != nullptr) *flags = 0;
        return save(target, context, flags);
    }
    const bool hadOld = GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES;
    const bool oldCopied = hadOld && CopyFileA(target, oldCopy, FALSE);
    int result = save(newFile, context, flags);
    if (result == 1 && !CopyFileA(newFile, target, FALSE)) {
        const DWORD error = GetLastError();
        result = 0;
        if (flags != nullptr && (error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL)) *flags |= kSaveFlagDiskFull;
        // The copy may have left a part of the new file over the old one.
        if (oldCopied) CopyFileA(oldCopy, target, FALSE);
    }
    DeleteFileA(newFile);
    DeleteFileA(oldCopy);
    return result;
}

int WriteDrawingFile(HWND view, char* path)
{
    CloseInputScaleWindow();
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr || block->engineDb == nullptr || path == nullptr) return 0;
    const int type = GetDrawingFileType(path);
    if (type == kFileTypeJwc || (!IsEngineFileType(type) && type != kFileTypeDxf && type != kFileTypeDwg)) {
        Box(view, type == kFileTypeJwc ? "現在、この図面フォーマットには対応していません" : "ファイルの種類が判断できません",
            "Error", MB_OK | MB_ICONERROR);
        path[0] = '\0';
        return 0;
    }
    WaitCursor wait;
    WriteSystemLog(2, "Save File", "%s", path);
    const bool wasLocked = block->fileLocked == 1;
    UnlockDrawingFile(block);
    if (!IsFileWritableForSave(path)) {
        Box(view, GetMessageText(kMessageNotWritable), "Error", MB_OK | MB_ICONERROR);
        if (wasLocked) LockDrawingFile(block);
        return 0;
    }
    auto* record = static_cast<EngineDbRecord*>(block->engineDb);
    RebuildPreview(view, record);

    uint32_t flags = 0;
    int result;
    if (IsEngineFileType(type)) {
        result = WriteEngineFile(view, block, path, type, &flags);
        if (result < 0) {
            if (wasLocked) LockDrawingFile(block);
            return 0;
        }
    } else {
        result = StartPluginCommand(type == kFileTypeDxf ? kDxfExportCommand : kDwgExportCommand, path);
    }

    if (result == 1) {
        if (IsEngineFileType(type)) {
            SetNameOfDrawing(view, block, path);
            if (block->saveOption == 0) LockDrawingFile(block);
            g_drawingSaved = 1;
        } else if (wasLocked) {
            LockDrawingFile(block);
        }
        ZUriClearUndoElement(block->engineDb);
        ClearModifiedOfDrawing(block);
        return 1;
    }
    if (wasLocked) LockDrawingFile(block);
    if (flags != 0) WriteSystemLog(0, "Error", "%ld ファイルの保存に失敗しました", static_cast<long>(flags));
    Box(view, (flags & kSaveFlagDiskFull) ? GetMessageText(kMessageDiskFull) : kSaveFailed, "Error",
        MB_OK | MB_ICONERROR);
    return 0;
}

int WriteBackupDrawing(HWND view, const char* path)
{
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr || block->engineDb == nullptr) return 0;
    WaitCursor wait;
    HWND bar = GetStatusBarWnd();
    if (bar != nullptr) {
        SendMessageA(bar, WM_USER + 1, 0, 0);
        SendMessageA(bar, WM_USER, 2, reinterpret_cast<LPARAM>("バックアップ保存中です"));
    }
    uint32_t flags = 0;
    const int result = ZUriSaveFileOfCWX(path, block->engineDb, &flags);
    const bool missing = result == 1 && !PathFileExistsA(path);
    if (result != 1 || missing) {
        const bool full = result != 1 && (flags & kSaveFlagDiskFull) != 0;
        Box(nullptr, full ? GetMessageText(kMessageDiskFull) : "バックアップファイルの書き込みに失敗しました", "Error",
            MB_OK | MB_ICONERROR);
        WriteSystemLog(0, "Error", "%ld %s ファイルの書き込みに失敗しました", static_cast<long>(flags), path);
    }
    if (bar != nullptr) {
        SendMessageA(bar, WM_USER, 2, 0);
        SendMessageA(bar, WM_USER + 2, 0, 0);
    }
    return missing ? 0 : result;
}

namespace {

// The save dialog's hook: centred on the work area, the chosen type's extension in the name.
UINT_PTR CALLBACK SaveDialogHook(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        auto* notify = reinterpret_cast<OFNOTIFYA*>(lParam);
        if (notify->hdr.code == CDN_INITDONE) {
            HWND frame = GetParent(hook);
            RECT work, rect;
            SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
            GetWindowRect(frame, &rect);
            SetWindowPos(frame, nullptr, work.left + (work.right - work.left - (rect.right - rect.left)) / 2,
                         work.top + (work.bottom - work.top - (rect.bottom - rect.top)) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER);
        } else if (notify->hdr.code == CDN_TYPECHANGE) {
            const char* filter = notify->lpOFN->lpstrFilter;
            // Filters come in pairs: the shown text, then the pattern.
            for (DWORD i = 1; filter != nullptr && *filter != '\0'; ++i) {
                const char* pattern = filter + std::strlen(filter) + 1;
                if (i == notify->lpOFN->nFilterIndex) {
                    // The name field is the combo box cmb13 of the Explorer dialog; edt1 of
                    // older templates where there is no cmb13.
                    HWND frame = GetParent(hook);
                    HWND field = GetDlgItem(frame, cmb13);
                    if (field == nullptr) field = GetDlgItem(frame, edt1);
                    char name[MAX_PATH] = {};
                    GetWindowTextA(field, name, sizeof name);
                    std::string changed = ApplyFilterExtension(name, pattern);
                    if (changed != name) SetWindowTextA(field, changed.c_str());
                    break;
                }
                filter = pattern + std::strlen(pattern) + 1;
            }
        }
    }
    return 0;
}

// The name part of a path without folder and extension.
std::string BareName(const char* path)
{
    const char* slash = std::strrchr(path, '\\');
    std::string name = slash != nullptr ? slash + 1 : path;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    return name;
}

std::string FolderOf(const char* path)
{
    const char* slash = std::strrchr(path, '\\');
    return slash != nullptr ? std::string(path, slash - path) : std::string();
}

int SaveAs(HWND view, PDBINFO* block)
{
    const ResolvedFilePaths& paths = GetResolvedFilePaths();
    char result[1024] = {};
    std::string initialFolder = paths.drawingDir;
    char remembered[MAX_PATH] = {};
    DbcsCopy(result, sizeof result, BareName(block->fileName).c_str());
    const bool wasLocked = block->fileLocked == 1;
    if (std::strlen(block->fileName) > 4) {
        DbcsCopy(remembered, sizeof remembered, block->fileName);
        initialFolder = FolderOf(remembered);
        UnlockDrawingFile(block);
        SetNameOfDrawing(view, block, "");
    }
    // Puts the drawing back as it was wherever nothing was written.
    auto restore = [&] {
        if (remembered[0] == '\0') return;
        SetNameOfDrawing(view, block, remembered);
        if (wasLocked) LockDrawingFile(block);
    };

    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = view;
    request.lpstrFilter = paths.saveFilter0;
    request.nFilterIndex = 1;
    request.lpstrFile = result;
    request.nMaxFile = 1020;
    request.lpstrInitialDir = initialFolder.c_str();
    request.lpstrTitle = GetMessageText(kMessageSaveTitle);
    // No "file must exist": a save names a new file as often as an old one.
    request.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    request.lpstrDefExt = "";
    request.lpfnHook = SaveDialogHook;
    const BOOL chosenName = g_saveDialog(&request);
    // The dialog's message loop may have let the window go.
    if (GetViewBlock(view) != block) return 0;
    if (!chosenName) {
        restore();
        return 0;
    }
    char chosen[MAX_PATH] = {};
    DbcsCopy(chosen, sizeof chosen, result);
    int written = 0;
    if (block->referenceMode) {
        if (std::strcmp(chosen, remembered) == 0) {
            Box(view, GetMessageText(kMessageSameNameInReference), "ERR", MB_OK | MB_ICONERROR);
            restore();
            return 0;
        }
        RunDrawingEventCommand(block, 1);
        SetReferenceModeOfDrawing(block, 0);
        written = WriteDrawingFile(view, chosen);
        if (!written) SetReferenceModeOfDrawing(block, 1);
    } else if (lstrcmpiA(chosen, remembered) != 0) {
        RunDrawingEventCommand(block, 1);
        written = WriteDrawingFile(view, chosen);
    } else {
        std::string question = std::string(chosen) + "\n上書きしていいですか？" + kOkCancelTail;
        const int answer = Box(view, question.c_str(), GetMessageText(kMessageOverwriteCaption), MB_OKCANCEL | MB_ICONQUESTION);
        if (GetViewBlock(view) != block) return 0;
        if (answer == IDOK) written = block->saveOption ? static_cast<int>(RunDrawingEventCommand(block, 0)) : WriteDrawingFile(view, chosen);
    }
    if (!written) restore();
    return written;
}

}  // namespace

int SaveDrawing(HWND view, int mode)
{
    if (mode == kSaveAsService) mode = kSaveAs;
    if (GetCadSystem().config.file.RDONLY != 0) {
        Box(view, "読込専用の設定なので図面を保存できません", "エラー", MB_OK | MB_ICONERROR);
        return 0;
    }
    if (mode == kSaveForcedByName) view = FindViewByFileName(g_forcedSaveName, nullptr);
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr) return 0;
    if (mode != kSaveOverwrite && mode != kSaveForced && mode != kSaveForcedByName) return SaveAs(view, block);
    if (block->saveOption == 0) {
        const int type = GetDrawingFileType(block->fileName);
        if (block->fileName[0] == '\0') return SaveAs(view, block);
        if (GetCadSystem().config.SAVENAME != 0 && type != kFileTypeOtcf && type != kFileTypeDwg && type != kFileTypeTcf)
            return SaveAs(view, block);
    }
    if (block->referenceMode) {
        Box(view, "参照モードで開かれているので保存できません", "エラー", MB_OK | MB_ICONERROR);
        return 0;
    }
    char path[MAX_PATH] = {};
    DbcsCopy(path, sizeof path, block->fileName);
    if (mode == kSaveForced || mode == kSaveForcedByName) return WriteDrawingFile(view, path);
    if (GetLinkMode() == 0) {
        if (block->saveOption) return static_cast<int>(RunDrawingEventCommand(block, 0));
        const int written = WriteDrawingFile(view, path);
        if (written) CreateFromCadAtrFile();
        return written;
    }
    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, block->engineDb);
    // The title is the user's text: it never becomes a format.
    char nameLine[600];
    std::snprintf(nameLine, sizeof nameLine, GetMessageText(kMessageOverwriteName), path);
    char question[1200];
    std::snprintf(question, sizeof question, "%s\n\n%s%s", info.title, nameLine, kOkCancelTail);
    const int answer = Box(view, question, GetMessageText(kMessageOverwriteCaption), MB_OKCANCEL | MB_ICONQUESTION);
    if (answer != IDOK || GetViewBlock(view) != block) return 0;
    return block->saveOption ? static_cast<int>(RunDrawingEventCommand(block, 0)) : WriteDrawingFile(view, path);
}
