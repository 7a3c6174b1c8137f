#include "CadPdf/SavePdfOption.h"

#include "HostLibrary.h"

int CSavePdfOption::Run()
{
    HostLib::CwGetCmdDialog(VellocInstance(), kSavePdfOptionDialogId, Context(), SavePdfOptionDlgProc);
    return 0;
}
