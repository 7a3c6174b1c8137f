// The Japanese CID fonts of the export: libharu's own, the "MS-Mincyo" names the drawings use,
// and every PDF font name of the export font-exchange table, each with the metrics of one of
// the four standard Japanese fonts.
#pragma once

#include <string>
#include <vector>

#include "CadPdf/PdfLibraryCalls.h"

// A PDF font name of the exchange table with its flags (bit 0 proportional, bit 16 Mincho).
struct ExportFontName {
    std::string pdfName;
    int flags = 0;
};

// The exchange table's PDF font names in table order (loaded on first use).
std::vector<ExportFontName> ExportFontNames();

// After HPDF_UseJPFonts: registers the further names; failed registrations are skipped.
void RegisterExportCidFonts(PdfLibraryCalls& pdf);
