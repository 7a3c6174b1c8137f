// Stand-in until the PDF import's CMap support is built: there is no table to read.
#include "CadPdf/LoadPdf.h"

void LoadCidToUnicode() {}
