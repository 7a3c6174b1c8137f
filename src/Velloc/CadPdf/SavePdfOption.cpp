#include "CadPdf/SavePdfOption.h"

#include "CadPdf/PdfOutOptionColorDlg.h"
#include "CadPdf/PdfOutOptionLineTermDlg.h"
#include "CadPdf/PdfOutSettings.h"
#include "HostLibrary.h"
#include "VellocModule.h"

namespace {

constexpr int kColorSettingsBox = 1004;
constexpr int kColorMapButton = 1017;
constexpr int kLineTermButton = 1018;

// The switch as it was when the dialog opened: Cancel puts it back, while whatever the
// sub-dialogs confirmed stays written.
struct SavedLineColorType {
    int32_t lineColorType = 0;
    int32_t colorSettingsOn = 0;
};
SavedLineColorType g_saved;

INT_PTR OnCommand(HWND dialog, WPARAM wParam)
{
    PdfOutSettings& settings = ThePdfOutSettings();
    switch (HostLib::Dader_wParamToCtrlID(wParam)) {
    case IDOK:
        settings.SaveLineColorType();
        EndDialog(dialog, 1);
        break;
    case IDCANCEL:
        RestoreLineColorType();
        EndDialog(dialog, 0);
        break;
    case kColorSettingsBox:
        settings.colorSettingsOn = SendDlgItemMessageA(dialog, kColorSettingsBox, BM_GETCHECK, 0, 0) != 0 ? 1 : 0;
        break;
    case kColorMapButton:
        ShowColorMapDialog();
        break;
    case kLineTermButton:
        ShowLineTermDialog();
        break;
    default:
        break;
    }
    return 0;
}

}  // namespace

int CSavePdfOption::Run()
{
    HostLib::CwGetCmdDialog(VellocInstance(), kSavePdfOptionDialogId, Context(), SavePdfOptionDlgProc);
    return 0;
}

void RestoreLineColorType()
{
    PdfOutSettings& settings = ThePdfOutSettings();
    settings.lineColorType = g_saved.lineColorType;
    settings.colorSettingsOn = g_saved.colorSettingsOn;
}

INT_PTR CALLBACK SavePdfOptionDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return GuardDialogProcedure(dialog, [&]() -> INT_PTR {
        switch (message) {
        case WM_INITDIALOG: {
            PdfOutSettings& settings = ThePdfOutSettings();
            settings.Load();
            g_saved.lineColorType = settings.lineColorType;
            g_saved.colorSettingsOn = settings.colorSettingsOn;
            CheckDlgButton(dialog, kColorSettingsBox, settings.colorSettingsOn == 1 ? BST_CHECKED : BST_UNCHECKED);
            HostLib::Dader_ChgBtnStyleOwnerDraw(dialog, IDOK);
            return 0;
        }
        case WM_ERASEBKGND:
            return HostLib::Dader_OnEraseBkgnd(dialog, reinterpret_cast<HDC>(wParam));
        case WM_DRAWITEM:
            if (wParam == IDOK)
                HostLib::Dader_ColorBtn_DrawItem_OkBtn(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return 1;
        case WM_CTLCOLORBTN:
            return reinterpret_cast<INT_PTR>(HostLib::Dader_OnCtlColor(dialog, reinterpret_cast<HDC>(wParam),
                                                                       reinterpret_cast<HWND>(lParam), 3));
        case WM_CTLCOLORSTATIC:
            return reinterpret_cast<INT_PTR>(HostLib::Dader_OnCtlColor(dialog, reinterpret_cast<HDC>(wParam),
                                                                       reinterpret_cast<HWND>(lParam), 6));
        case WM_COMMAND:
            return OnCommand(dialog, wParam);
        default:
            return 0;
        }
    });
}
