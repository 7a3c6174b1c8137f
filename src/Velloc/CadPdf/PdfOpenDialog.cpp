// The open-file dialog of the PDF import, centred on the screen and raised a little, painted
// with the host library's dialog colours.
#include "CadPdf/LoadPdf.h"

#include "HostLibrary.h"
#include "VellocModule.h"

#include <windows.h>
#include <commdlg.h>

namespace {

// The frame's window procedure before the hook replaced it, for the life of the dialog.
WNDPROC g_previousFrameProc = nullptr;

const DWORD kOpenFlags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ENABLEHOOK;
const int kPathCharacters = 1020;

// The host library's painting of the dialog's background and of its buttons' and texts'
// colours, for the hook dialog and its frame alike: true when the message was one of them.
bool PaintWithHostColours(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    switch (message) {
    case WM_ERASEBKGND:
        result = HostLib::Dader_OnEraseBkgnd(window, dc);
        return true;
    case WM_CTLCOLORBTN:
        result = reinterpret_cast<LRESULT>(HostLib::Dader_OnCtlColor(window, dc, control, 3));
        return true;
    case WM_CTLCOLORSTATIC:
        result = reinterpret_cast<LRESULT>(HostLib::Dader_OnCtlColor(window, dc, control, 6));
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK PdfOpenDialogFrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (PaintWithHostColours(window, message, wParam, lParam, result)) return result;
    if (message == WM_DRAWITEM && wParam == IDOK) {
        HostLib::Dader_ColorBtn_DrawItem_OkBtn(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return 1;
    }
    return g_previousFrameProc ? CallWindowProcA(g_previousFrameProc, window, message, wParam, lParam)
                               : DefWindowProcA(window, message, wParam, lParam);
}

UINT_PTR CALLBACK PdfOpenDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const HWND frame = GetParent(dialog);
        RECT r;
        GetWindowRect(frame, &r);
        const int width = r.right - r.left, height = r.bottom - r.top;
        const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
        const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2 - 100;
        SetWindowPos(frame, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        HostLib::Dader_ChgBtnStyleOwnerDraw(frame, IDOK);
        g_previousFrameProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PdfOpenDialogFrameProc)));
        return 0;
    }
    default: {
        LRESULT result = 0;
        return PaintWithHostColours(dialog, message, wParam, lParam, result) ? static_cast<UINT_PTR>(result) : 0;
    }
    }
}

}  // namespace

std::string ChoosePdfFile()
{
    char path[kPathCharacters + 1] = {};
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = OwnerWindow();
    ofn.hInstance = VellocInstance();
    ofn.lpstrFilter = "pdfファイル\0*.pdf;\0All Files\0*.*\0\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = path;
    ofn.nMaxFile = kPathCharacters;
    ofn.lpstrInitialDir = "";
    ofn.lpstrTitle = "ファイルの読込";
    ofn.lpstrDefExt = "pdf";
    ofn.Flags = kOpenFlags;
    ofn.lpfnHook = PdfOpenDialogHook;
    const BOOL chosen = GetOpenFileNameA(&ofn);
    g_previousFrameProc = nullptr;
    return chosen ? std::string(path) : std::string();
}
