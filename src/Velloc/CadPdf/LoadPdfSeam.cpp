// Stand-in until the PDF import is built: the import is not available.
#include "CadPdf/LoadPdf.h"

int CLoadPdf::Run() { return -1; }
