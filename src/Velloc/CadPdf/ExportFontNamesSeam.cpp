// Stand-in until the export font-exchange table exists: no further names.
#include "CadPdf/PdfExportFonts.h"

std::vector<ExportFontName> ExportFontNames() { return {}; }
