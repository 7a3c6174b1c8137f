// Stand-in until the import settings dialog is built: it is not available, so the import is
// cancelled (the new drawing window closes) rather than run with choices nobody made.
#include "CadPdf/LoadPdf.h"

#include <windows.h>

#include "VellocModule.h"

int ShowPdfImportDialog(const std::vector<PdfPageInfo>&, int*, QmCadDocument*, int)
{
    MessageBoxA(OwnerWindow(), "PDF読み込みの設定画面はまだ使えません。", "PDF読み込み", MB_OK | MB_ICONWARNING);
    return 2;
}
