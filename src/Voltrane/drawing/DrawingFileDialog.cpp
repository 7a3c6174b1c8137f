#include "drawing/DrawingFileDialog.h"

#include <commdlg.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "Dravik.h"
#include "DravikDb.h"
#include "commands/CommandCatalog.h"
#include "commands/PluginModules.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/Dbcs.h"
#include "core/MessageCatalog.h"
#include "core/MonitorHelpers.h"
#include "core/NumericInput.h"
#include "core/ProgramPaths.h"
#include "core/SettingsMessage.h"
#include "dialogs/DialogBase.h"
#include "drawing/DrawingFileActions.h"
#include "drawing/DrawingFileType.h"
#include "drawing/DrawingOpen.h"
#include "drawing/FileListCache.h"
#include "drawing/PaperTable.h"
#include "drawing/ThumbnailList.h"
#include "view/ViewTable.h"

namespace {

constexpr int kTemplateId = 229;
constexpr int kPreviewButton = 6000;
constexpr int kInfoPanel = 1812;
constexpr int kSettingsButton = 6091;
constexpr int kListButton = 6090;
constexpr int kHiddenTab = 6010;
constexpr int kHiddenText = 6050;
constexpr int kMessageOpenTitle = 5123;
constexpr int kMessageNotRegistered = 5118;

enum class PreviewState { Nothing, EngineInfo, JwcHeader };

// One file dialog at a time: its state is module-wide and reset at every call.
struct DialogState {
    int mode = kFileDialogOpen;
    EngineDbRecord previewDb{};
    PreviewState preview = PreviewState::Nothing;
    DbInfoRecord info{};
    WNDPROC frameProc = nullptr;
    const char* filters = nullptr;
    bool closedByList = false;
};
DialogState g_dialog;
char g_selectedPath[512] = {};   // kept between calls
int g_rememberedFilterIndex = -1;

bool HasCommandLine(int command)
{
    char line[MAX_PATH];
    return GetLumbraCmd().GetCommandLineById(command, line, sizeof line) == 1;
}

void FreePreview()
{
    if (g_dialog.preview == PreviewState::EngineInfo) {
        if (g_dialog.previewDb.preview != nullptr) DeleteObject(g_dialog.previewDb.preview);
        ZUriDeleteDB(&g_dialog.previewDb);
    }
    std::memset(&g_dialog.previewDb, 0, sizeof g_dialog.previewDb);
    g_dialog.preview = PreviewState::Nothing;
}

const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};

std::string FormatDate(const char* label, int year, int month, int day, int weekday, int hour, int minute, int second)
{
    char text[128];
    std::snprintf(text, sizeof text, "%s  %04d年%02d月%02d日(%2s) %02d:%02d:%02d", label, year, month, day,
                  kWeekdays[(weekday % 7 + 7) % 7], hour, minute, second);
    return text;
}

std::string DrawingDateLine(const char* label, const DrawingDate& d)
{
    return FormatDate(label, d.year, d.month, d.day, d.dayOfWeek, d.hour, d.minute, d.second);
}

void LoadPreview(HWND hook)
{
    FreePreview();
    InvalidateRect(GetDlgItem(hook, kPreviewButton), nullptr, TRUE);
    UpdateWindow(GetDlgItem(hook, kPreviewButton));
    const int type = GetDrawingFileType(g_selectedPath);
    uint32_t flags = kLoadFlagNewerVersion;
    if (IsEngineFileType(type)) {
        const int loaded = type == kFileTypeTcf ? ZUriLoadInfoOfCWX(g_selectedPath, &g_dialog.previewDb, &flags)
                                                : ZUriLoadInfoOfCWU(g_selectedPath, &g_dialog.previewDb, &flags);
        if (loaded != 0) {
            g_dialog.preview = PreviewState::EngineInfo;
            std::memset(&g_dialog.info, 0, sizeof g_dialog.info);
            ZUriGetDBInfo(&g_dialog.info, &g_dialog.previewDb);
        }
    } else if (type == kFileTypeJwc) {
        if (!HasCommandLine(5104)) {
            ShowSettingsMessage(GetMainFrameWnd(), GetMessageText(kMessageNotRegistered), "ERROR", MB_OK | MB_ICONERROR);
        } else {
            std::string module, arguments;
            CLumbraCmd& catalog = GetLumbraCmd();
            if (HMODULE library = LoadCommandModule(catalog, 5104, module, arguments, nullptr)) {
                using HeadReader = int(WINAPI*)(const char*, void*);
                if (auto read = reinterpret_cast<HeadReader>(GetProcAddress(library, "GetJWCHead"))) {
                    std::memset(&g_dialog.info, 0, sizeof g_dialog.info);
                    read(g_selectedPath, &g_dialog.info);
                    g_dialog.preview = PreviewState::JwcHeader;
                }
                catalog.FreeCommandModule();
            }
        }
    }
    InvalidateRect(GetDlgItem(hook, kPreviewButton), nullptr, TRUE);
    InvalidateRect(GetDlgItem(hook, kInfoPanel), nullptr, TRUE);
}

void DrawPreview(const DRAWITEMSTRUCT* item)
{
    HBITMAP thumbnail = g_dialog.preview == PreviewState::EngineInfo ? g_dialog.previewDb.preview : nullptr;
    const RECT& r = item->rcItem;
    if (thumbnail != nullptr) {
        HDC memory = CreateCompatibleDC(item->hDC);
        HGDIOBJ old = SelectObject(memory, thumbnail);
        BITMAP size = {};
        GetObjectA(thumbnail, sizeof size, &size);
        SetStretchBltMode(item->hDC, HALFTONE);
        StretchBlt(item->hDC, r.left, r.top, r.right - r.left, r.bottom - r.top, memory, 0, 0, size.bmWidth,
                   size.bmHeight, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
        return;
    }
    HBRUSH grey = CreateSolidBrush(RGB(0xC0, 0xC0, 0xC0));
    FillRect(item->hDC, &r, grey);
    DeleteObject(grey);
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, RGB(0, 0, 0));
    TextOutA(item->hDC, r.left + 30, r.top + 55, "プレビュー表示無し", 18);
}

FileInfoSource CurrentInfoSource()
{
    FileInfoSource source;
    if (g_dialog.preview != PreviewState::Nothing) {
        source.info = &g_dialog.info;
        source.engineInfo = g_dialog.preview == PreviewState::EngineInfo;
        if (auto* block = static_cast<const DbInfoBlock*>(g_dialog.previewDb.info)) source.elementCount = block->elementCount;
    }
    WIN32_FIND_DATAA data;
    HANDLE find = g_selectedPath[0] != '\0' ? FindFirstFileA(g_selectedPath, &data) : INVALID_HANDLE_VALUE;
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        source.fileFound = true;
        FILETIME local;
        FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
        FileTimeToSystemTime(&local, &source.fileWritten);
        source.fileSize = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    GetScaleList(source.scaleTexts);
    return source;
}

void DrawInfoPanel(HWND panel, HDC dc)
{
    RECT r;
    GetClientRect(panel, &r);
    HBRUSH background = CreateSolidBrush(GetDialogBackColor());
    FillRect(dc, &r, background);
    DeleteObject(background);
    SetBkColor(dc, GetDialogBackColor());
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(panel, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int step = static_cast<int>(1.5 * metrics.tmHeight);
    int y = 0;
    for (const std::string& line : BuildFileInfoLines(CurrentInfoSource())) {
        if (line.empty()) continue;
        TextOutA(dc, 5, y, line.c_str(), static_cast<int>(line.size()));
        y += step;
    }
    SelectObject(dc, oldFont);
}

LRESULT CALLBACK FileDialogFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool deleting = g_dialog.mode == kFileDialogDelete;
    switch (message) {
    case WM_DRAWITEM:
        if (wParam == IDOK) {
            auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (deleting) DrawColorButtonOfKind(item, 0);
            else DrawColorButton(item);
            return TRUE;
        }
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && deleting &&
            ShowSettingsMessage(frame, "選択されている図面を削除します。\n一度削除すると元に戻せません。よろしいですか？",
                                "削除確認", MB_YESNO | MB_ICONWARNING) != IDYES)
            return 0;
        break;
    default:
        break;
    }
    return CallWindowProcA(g_dialog.frameProc, frame, message, wParam, lParam);
}

void PlaceDialog(HWND hook)
{
    HWND frame = GetParent(hook);
    if (GetCadSystem().config.LANGUAGE != 0) {
        SetDlgItemTextA(hook, kListButton, "List");
        SetDlgItemTextA(hook, kSettingsButton, "Setting");
    }
    RECT work, rect;
    if (!GetWindowMonitorArea(frame, &work)) SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    GetWindowRect(frame, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    SetWindowPos(frame, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2 - 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    HWND ok = GetDlgItem(frame, IDOK);
    if (g_dialog.mode == kFileDialogDelete) {
        SetWindowTextA(ok, "削除");
        ShowWindow(GetDlgItem(hook, kSettingsButton), SW_HIDE);
    }
    SetWindowLongA(ok, GWL_STYLE, GetWindowLongA(ok, GWL_STYLE) | BS_OWNERDRAW);
    g_dialog.frameProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FileDialogFrameProc)));
    for (int id : {kHiddenTab, kHiddenText, 6071, 6072, 6073, 6074, 6075, 6076}) ShowWindow(GetDlgItem(hook, id), SW_HIDE);
}

// The "一覧" button: the thumbnail list of the dialog's folder and type. Confirmed, it closes
// the file dialog, and the ticked entries are the chosen files.
void ShowThumbnailList(HWND hook)
{
    HWND frame = GetParent(hook);
    char folder[520] = {};
    SendMessageA(frame, CDM_GETFOLDERPATH, 512, reinterpret_cast<LPARAM>(folder));
    const size_t length = std::strlen(folder);
    if (length == 0 || folder[length - 1] != '\\') DbcsAppend(folder, sizeof folder, "\\");
    FreeFileList();
    const int typeIndex = g_rememberedFilterIndex > 0 ? g_rememberedFilterIndex - 1 : 0;
    if (RunThumbnailList(frame, folder, typeIndex, g_dialog.filters, g_dialog.mode == kFileDialogDelete,
                         g_dialog.mode == kFileDialogPlace) == 1) {
        g_dialog.closedByList = true;
        PostMessageA(frame, WM_COMMAND, IDCANCEL, 0);
    } else {
        FreeFileList();
    }
}

UINT_PTR CALLBACK FileOpenHookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        InvalidateRect(GetDlgItem(hook, kInfoPanel), nullptr, TRUE);
        PlaceDialog(hook);
        return TRUE;
    case WM_SIZE: {
        HWND panel = GetDlgItem(hook, kInfoPanel);
        RECT r, client;
        GetWindowRect(panel, &r);
        MapWindowPoints(nullptr, hook, reinterpret_cast<POINT*>(&r), 2);
        GetClientRect(hook, &client);
        const int right = client.right - GetSystemMetrics(SM_CXDLGFRAME) - 3;
        const int bottom = client.bottom - GetSystemMetrics(SM_CYDLGFRAME) - 3;
        MoveWindow(panel, r.left, r.top, right > r.left ? right - r.left : 0, bottom > r.top ? bottom - r.top : 0, TRUE);
        return 0;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam == kPreviewButton) DrawPreview(item);
        else if (wParam == kInfoPanel) DrawInfoPanel(item->hwndItem, item->hDC);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == kSettingsButton) ShowFileOpenSettingsDialog(GetActiveWindow());
        if (LOWORD(wParam) == kListButton) ShowThumbnailList(hook);
        return 0;
    case WM_NOTIFY: {
        auto* notify = reinterpret_cast<OFNOTIFYA*>(lParam);
        if (notify->hdr.code == CDN_SELCHANGE) {
            char answer[511] = {};
            if (SendMessageA(GetParent(hook), CDM_GETFILEPATH, sizeof answer, reinterpret_cast<LPARAM>(answer)) > 0) {
                DbcsCopy(g_selectedPath, sizeof g_selectedPath, FirstSelectedPath(answer).c_str());
                LoadPreview(hook);
            }
        } else if (notify->hdr.code == CDN_TYPECHANGE) {
            g_rememberedFilterIndex = static_cast<int>(notify->lpOFN->nFilterIndex);
        }
        return 0;
    }
    case WM_DESTROY:
        FreePreview();
        return 0;
    default:
        return 0;
    }
}

class CCadFileOpenSettingsDlg : public CDialogBase<CCadFileOpenSettingsDlg> {
public:
    enum { IDD = 235 };

    WK_BEGIN_MSG_MAP(CCadFileOpenSettingsDlg)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnClose)
        WK_COMMAND_ID_HANDLER(1001, OnJwcOptions)
        WK_COMMAND_ID_HANDLER(1002, OnJwwOptions)
        WK_COMMAND_ID_HANDLER(7002, OnDwgOptions)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CCadFileOpenSettingsDlg>)
    WK_END_MSG_MAP()

private:
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnClose(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(IDCANCEL);
        return 0;
    }
    LRESULT OnJwcOptions(WORD, WORD, HWND, BOOL&) { return CallImportOption(5104, "LoadJwcOption", nullptr); }
    LRESULT OnJwwOptions(WORD, WORD, HWND, BOOL&) { return CallImportOption(5104, "LoadJwwOption", nullptr); }
    LRESULT OnDwgOptions(WORD, WORD, HWND, BOOL&) { return CallImportOption(5103, "StartCmd", "/C:LoadDwgOption"); }

    // The import plug-in's own option dialog; nothing when its command, module or export is
    // missing.
    LRESULT CallImportOption(int command, const char* exportName, const char* argument)
    {
        CLumbraCmd& catalog = GetLumbraCmd();
        if (!HasCommandLine(command)) return 0;
        std::string module, arguments;
        HMODULE library = LoadCommandModule(catalog, command, module, arguments, nullptr);
        if (library == nullptr) return 0;
        FARPROC entry = GetProcAddress(library, exportName);
        if (entry != nullptr && argument != nullptr) {
            reinterpret_cast<int(WINAPI*)(HWND, const char*)>(entry)(GetMainFrameWnd(), argument);
        } else if (entry != nullptr) {
            reinterpret_cast<int(WINAPI*)(HWND, HWND)>(entry)(GetMainFrameWnd(), m_hWnd);
        }
        catalog.FreeCommandModule();
        return 0;
    }
};

const char* FilterOfMode(int mode)
{
    const ResolvedFilePaths& paths = GetResolvedFilePaths();
    if (mode == kFileDialogPlace) return paths.openFilter1;
    if (mode == kFileDialogReference) return paths.openFilter2;
    return paths.openFilter0;
}

const char* TitleOfMode(int mode)
{
    if (mode == kFileDialogPlace) return "図面配置";
    if (mode == kFileDialogDelete) return "図面削除";
    if (mode == kFileDialogReference) return "外部参照";
    return GetMessageText(kMessageOpenTitle);
}

}  // namespace

std::string FirstSelectedPath(const std::string& answer)
{
    const size_t quote = answer.find('"');
    if (quote == std::string::npos) return answer;
    const size_t end = answer.find('"', quote + 1);
    std::string folder = answer.substr(0, quote);
    const std::string name = answer.substr(quote + 1, end == std::string::npos ? std::string::npos : end - quote - 1);
    if (!folder.empty() && folder.back() != '\\') folder += '\\';
    return folder + name;
}

std::vector<std::string> BuildFileInfoLines(const FileInfoSource& s)
{
    std::vector<std::string> lines;
    char text[600];
    if (s.info != nullptr) {
        const DbInfoRecord& i = *s.info;
        std::snprintf(text, sizeof text, "図面名：%s", i.title), lines.push_back(text);
        std::snprintf(text, sizeof text, "作成者：%s", i.author), lines.push_back(text);
        std::snprintf(text, sizeof text, "備考  ：%s", i.remarks), lines.push_back(text);
        const PaperTableRow* paper = FindPaperRow(i.paperCode);
        std::snprintf(text, sizeof text, "用紙種別：%s", paper != nullptr ? paper->name : "その他"), lines.push_back(text);
        std::snprintf(text, sizeof text, "用紙ｻｲｽﾞ：%g x %g mm", i.paperWidthMm, i.paperHeightMm), lines.push_back(text);
        std::snprintf(text, sizeof text, "図面ｻｲｽﾞ：%g x %g mm", i.drawingWidth, i.drawingHeight), lines.push_back(text);
        const std::string* scale = nullptr;
        for (const std::string& candidate : s.scaleTexts) {
            CTwoTermExpr expr;
            if (std::fabs(EvalTwoTermExpr(expr, candidate.c_str()) - i.scale) < 1e-7) {
                scale = &candidate;
                break;
            }
        }
        if (scale != nullptr) std::snprintf(text, sizeof text, "スケール：%s", scale->c_str());
        else std::snprintf(text, sizeof text, "スケール：%g", i.scale);
        lines.push_back(text);
    }
    if (s.info != nullptr && s.engineInfo) {
        lines.push_back(DrawingDateLine("作成日：", s.info->created));
        lines.push_back(DrawingDateLine("更新日：", s.info->updated));
        std::snprintf(text, sizeof text, "要素数：  %ld", s.elementCount), lines.push_back(text);
    } else if (s.fileFound) {
        const SYSTEMTIME& t = s.fileWritten;
        lines.push_back(FormatDate("更新日：", t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond));
    }
    if (s.fileFound && s.fileSize != 0) {
        char digits[32], grouped[48];
        std::snprintf(digits, sizeof digits, "%llu", static_cast<unsigned long long>(s.fileSize));
        InsertThousandsSeparators(grouped, sizeof grouped, digits);
        std::snprintf(text, sizeof text, "サイズ：  %s バイト", grouped), lines.push_back(text);
    }
    return lines;
}

int ShowFileOpenSettingsDialog(HWND parent)
{
    CCadFileOpenSettingsDlg dialog;
    return static_cast<int>(dialog.DoModal(parent));
}

int RunDrawingFileDialog(HWND owner, int mode)
{
    if (mode != kFileDialogPlace && mode != kFileDialogDelete && mode != kFileDialogReference) mode = kFileDialogOpen;
    FreePreview();
    SetOpenRequestFlag(1);
    g_dialog = DialogState{};
    g_dialog.mode = mode;
    static char result[2020];
    result[0] = '\0';
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.hInstance = GetModuleHandleA(nullptr);
    request.lpstrFilter = FilterOfMode(mode);
    request.nFilterIndex = 1;
    request.lpstrFile = result;
    request.nMaxFile = sizeof result;
    request.lpstrInitialDir = GetResolvedFilePaths().drawingDir;
    request.lpstrTitle = TitleOfMode(mode);
    request.lpstrDefExt = "";
    request.lpfnHook = FileOpenHookProc;
    request.lpTemplateName = MAKEINTRESOURCEA(kTemplateId);
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_HIDEREADONLY;
    if (mode != kFileDialogPlace) request.Flags |= OFN_ALLOWMULTISELECT | OFN_ENABLESIZING;
    g_dialog.filters = request.lpstrFilter;
    const BOOL chosen = GetOpenFileNameA(&request);
    if (chosen || g_dialog.closedByList) {
        std::vector<std::string> paths;
        if (g_dialog.closedByList) {
            for (int i = 0; i < GetFileListCount(); ++i)
                if (IsFileListEntrySelected(i)) paths.push_back(GetFileListEntryPath(i));
        } else {
            SplitDialogFileList(result, paths);
        }
        switch (mode) {
        case kFileDialogDelete: DeleteChosenFiles(owner, paths); break;
        case kFileDialogReference: AttachChosenFiles(paths); break;
        case kFileDialogPlace:
            if (!paths.empty()) PlaceChosenFile(owner, paths.front());
            break;
        default: OpenChosenFiles(owner, paths); break;
        }
    }
    FreePreview();
    FreeFileList();
    return 0;
}
