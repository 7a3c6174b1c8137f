#include "CadPdf/PdfExportFonts.h"

#include <set>

#include "CadPdf/FontExchangeTable.h"
#include "CadPdf/PdfDocumentParts.h"

namespace {

// The sixteen names drawings and exchange tables use for libharu's Japanese fonts. libharu
// 2.3.0 spells the Mincho ones "MS-Mincho"; the others exist already and are skipped.
const ExportFontName kStandardNames[] = {
    {"MS-Gothic", 0},           {"MS-Gothic,Bold", 0},          {"MS-Gothic,Italic", 0},
    {"MS-Gothic,BoldItalic", 0}, {"MS-PGothic", 1},              {"MS-PGothic,Bold", 1},
    {"MS-PGothic,Italic", 1},   {"MS-PGothic,BoldItalic", 1},   {"MS-Mincyo", 0x10000},
    {"MS-Mincyo,Bold", 0x10000}, {"MS-Mincyo,Italic", 0x10000}, {"MS-Mincyo,BoldItalic", 0x10000},
    {"MS-PMincyo", 0x10001},    {"MS-PMincyo,Bold", 0x10001},   {"MS-PMincyo,Italic", 0x10001},
    {"MS-PMincyo,BoldItalic", 0x10001},
};

}  // namespace

std::vector<ExportFontName> ExportFontNames()
{
    FontExchangeTable& table = ExportFontTable();
    if (!table.Loaded()) table.LoadExport();
    std::vector<ExportFontName> names;
    for (const FontExchangePair& pair : table.Pairs()) names.push_back({pair.pdfName, pair.flags});
    return names;
}

void RegisterExportCidFonts(PdfLibraryCalls& pdf)
{
    std::set<std::string> known;
    auto add = [&](const ExportFontName& font) {
        if (!known.insert(font.pdfName).second) return;
        RegisterCidFontClone(pdf, font.pdfName, MetricsOfFontFlags(font.flags));
    };
    for (const ExportFontName& font : kStandardNames) add(font);
    for (const ExportFontName& font : ExportFontNames()) add(font);
}
