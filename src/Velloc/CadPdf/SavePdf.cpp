#include "CadPdf/SavePdf.h"

#include <commdlg.h>

#include <cstring>

#include "CadPdf/CadPdfOut.h"
#include "CadPdf/ExportMessages.h"
#include "CadPdf/PdfOutSettings.h"
#include "CadPdf/SavePdfOption.h"
#include "DravikDb.h"
#include "GeometryRoutines.h"
#include "HostLibrary.h"
#include "PathNames.h"
#include "ProgressLine.h"
#include "QmCadDocument.h"
#include "VellocModule.h"
#include "core/Dbcs.h"

namespace {

constexpr char kNoDataMessage[] = "PDFを保存するデータがありません。";

// The export settings carry the command's drawing while the command runs.
class AttachedDocument {
public:
    explicit AttachedDocument(QmCadDocument* document) : m_previous(ThePdfOutSettings().document)
    {
        ThePdfOutSettings().document = document;
    }
    ~AttachedDocument() { ThePdfOutSettings().document = m_previous; }
    AttachedDocument(const AttachedDocument&) = delete;
    AttachedDocument& operator=(const AttachedDocument&) = delete;

private:
    QmCadDocument* m_previous;
};

// The wait cursor for the length of the export, when there is a host window.
class WaitCursor {
public:
    explicit WaitCursor(bool show) : m_previous(show ? SetCursor(LoadCursor(nullptr, IDC_WAIT)) : nullptr), m_shown(show) {}
    ~WaitCursor()
    {
        if (m_shown && m_previous != nullptr) SetCursor(m_previous);
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR m_previous;
    bool m_shown;
};

void InitGeometryTolerances()
{
    double tolerances[2] = {0, 0};
    HostLib::VyGetEPS(&tolerances[0]);
    HostLib::VyGetEPSANGLE(&tolerances[1]);
    VyCAL_INIT(tolerances);
}

WNDPROC g_savedFrameProc = nullptr;

// Buttons (kind 3) and statics (kind 6) in the host library's dialog colours.
LRESULT ControlColour(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int kind = message == WM_CTLCOLORBTN ? 3 : 6;
    return reinterpret_cast<LRESULT>(
        HostLib::Dader_OnCtlColor(window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), kind));
}

}  // namespace

std::string BatchOutputPath(const std::string& parameters)
{
    std::string path;
    bool removed = false;
    for (size_t i = 0; i < parameters.size();) {
        if (parameters.compare(i, 3, "/OD") == 0) {
            i += 3;
            removed = true;
            continue;
        }
        const size_t length = IsSjisLeadByte(parameters[i]) && i + 1 < parameters.size() ? 2 : 1;
        path.append(parameters, i, length);
        i += length;
    }
    if (removed) {
        const size_t begin = path.find_first_not_of(' ');
        const size_t end = path.find_last_not_of(' ');
        path = begin == std::string::npos ? std::string() : path.substr(begin, end - begin + 1);
    }
    return path;
}

int CSavePdf::Run()
{
    InitGeometryTolerances();
    const bool batch = m_context != nullptr;
    const HWND host = OwnerWindow();

    QmCadDocument document(host);
    if (batch) {
        document.database = m_context;
        document.createdDatabase = m_context;
    } else if (document.ownerWindow != nullptr && document.database == nullptr) {
        document.createdDatabase = HostLib::VyGET_NOWDB();
        if (document.createdDatabase != nullptr) {
            document.database = document.createdDatabase;
            document.page = static_cast<uint16_t>(HostLib::VyGetCurrentPage());
        }
    }
    AttachedDocument attached(&document);
    m_optionFlag = 0;

    // Without a drawing there is nothing to ask a file name for.
    if (document.database == nullptr) {
        MessageBoxExportMessages(host).Show(kNoDataMessage, "PDF保存", MB_ICONWARNING);
        return batch ? kSavePdfNotWritten : 0;
    }

    std::string path;
    if (batch) {
        path = BatchOutputPath(m_parameterText);
    } else if (!m_parameterText.empty()) {
        path = m_parameterText;
    } else {
        char chosen[MAX_PATH] = {};
        DbInfoRecord info;
        std::memset(&info, 0, sizeof info);
        if (ZUriGetDBInfo(&info, document.database) != 0) {
            DbcsCopyN(chosen, sizeof chosen, info.fileName, strnlen(info.fileName, sizeof info.fileName));
            StripPath(chosen);
            RemoveExtension(chosen);
        }
        if (ChooseSaveFile(chosen) != 1) return kSavePdfCancelled;
        path = chosen;
    }

    int exported = -1;
    {
        WaitCursor cursor(host != nullptr);
        if (host != nullptr) BeginProgress("保存中", path.c_str());
        CadPdfOut writer(&document);
        exported = writer.Export(path.c_str());
        if (host != nullptr) ShowProgress("");
    }
    if (batch) return exported == 0 ? 0 : kSavePdfNotWritten;
    return 0;
}

int ChooseSaveFile(char* path)
{
    char file[MAX_PATH] = {};
    DbcsCopy(file, sizeof file, path);
    OPENFILENAMEA ofn;
    std::memset(&ofn, 0, sizeof ofn);
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = OwnerWindow();
    ofn.hInstance = VellocInstance();
    ofn.lpstrFilter = "pdfファイル\0*.pdf\0All Files\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof file;
    ofn.lpstrInitialDir = "";
    ofn.lpstrTitle = "ファイルの保存";
    ofn.lpstrDefExt = "pdf";
    // A save dialog accepts new names: no "file must exist".
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_EXPLORER |
                OFN_ENABLESIZING;
    ofn.lpfnHook = SaveDialogHookProc;
    ofn.lpTemplateName = MAKEINTRESOURCEA(kSavePdfDialogId);
    const BOOL chosen = GetSaveFileNameA(&ofn);
    RethrowNotedAbandonment();
    if (!chosen) {
        path[0] = '\0';
        return 0;
    }
    DbcsCopy(path, MAX_PATH, file);
    return 1;
}

UINT_PTR CALLBACK SaveDialogHookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return static_cast<UINT_PTR>(GuardWindowProcedure(0, [&]() -> LRESULT {
        switch (message) {
        case WM_INITDIALOG: {
            HWND frame = GetParent(window);
            RECT rect;
            GetWindowRect(frame, &rect);
            const int width = rect.right - rect.left;
            const int height = rect.bottom - rect.top;
            const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
            const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2 - 100;
            SetWindowPos(frame, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            ShowWindow(GetDlgItem(window, kSavePdfOptionButtonId), SW_SHOW);
            HostLib::Dader_ChgBtnStyleOwnerDraw(frame, IDOK);
            g_savedFrameProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SaveDialogFrameProc)));
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == kSavePdfOptionButtonId)
                HostLib::CwGetCmdDialog(VellocInstance(), kSavePdfOptionDialogId, window, SavePdfOptionDlgProc);
            return 0;
        case WM_ERASEBKGND:
            return HostLib::Dader_OnEraseBkgnd(window, reinterpret_cast<HDC>(wParam));
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return ControlColour(window, message, wParam, lParam);
        default:
            return 0;
        }
    }));
}

LRESULT CALLBACK SaveDialogFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC saved = g_savedFrameProc;
    return GuardWindowProcedure(0, [&]() -> LRESULT {
        switch (message) {
        case WM_ERASEBKGND:
            return HostLib::Dader_OnEraseBkgnd(window, reinterpret_cast<HDC>(wParam));
        case WM_DRAWITEM:
            if (wParam == IDOK) {
                HostLib::Dader_ColorBtn_DrawItem_OkBtn(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                return 1;
            }
            break;
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return ControlColour(window, message, wParam, lParam);
        default:
            break;
        }
        return saved != nullptr ? CallWindowProcA(saved, window, message, wParam, lParam)
                                : DefWindowProcA(window, message, wParam, lParam);
    });
}
