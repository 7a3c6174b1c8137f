// Stand-in until the PDF export is built: the export is not available.
#include "CadPdf/SavePdf.h"

int CSavePdf::Run() { return -1; }
