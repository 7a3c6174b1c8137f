// Parts of the exported PDF that libharu 2.3.0 has no call for: the optional content groups of
// the layers with the catalog's /OCProperties and the page's /Properties, the page mode
// /UseOC, the producer and the version, and CID font definitions under further names.
#pragma once

#include "CadPdf/PdfLibraryCalls.h"

#include <string>
#include <vector>

// One layer that became an optional content group.
struct PdfLayerGroup {
    int layer = 0;
    std::string name;           // as written (Shift-JIS)
    std::string resourceName;   // "oc0", "oc1", ...
    HPDF_Dict dictionary = nullptr;  // owned by the PDF document
};

// Makes the /Type /OCG dictionary with /Name (a Shift-JIS name, written as a text string through
// the "90ms-RKSJ-H" encoder) and registers it as an indirect object.
HPDF_Dict CreateLayerGroupDictionary(PdfLibraryCalls& pdf, const std::string& name);

// Catalog /OCProperties << /OCGs [...] /D << /Order [...] /BaseState /ON >> >> and the page's
// /Resources /Properties << /oc0 ... >>, in the order of the groups. Nothing for no groups.
void WriteOptionalContentProperties(PdfLibraryCalls& pdf, HPDF_Page page,
                                    const std::vector<PdfLayerGroup>& groups);

// Viewer preferences all off, /PageMode /UseOC, /Producer "Brisco".
void WriteViewerSettings(PdfLibraryCalls& pdf);

// The version the file declares: PDF 1.5 (optional content).
void DeclarePdfVersion15(PdfLibraryCalls& pdf);

// The four Japanese base fonts whose metrics further CID font names can take.
enum class JapaneseFontMetrics { Gothic, ProportionalGothic, Mincho, ProportionalMincho };

// Metrics by the exchange-table flags: bit 0 proportional, bit 16 Mincho.
JapaneseFontMetrics MetricsOfFontFlags(int flags);

// Registers a CID font definition named `name` with the metrics of one of the base fonts
// (after HPDF_UseJPFonts). False when the name exists already or is not usable; a libharu error
// is thrown as usual.
bool RegisterCidFontClone(PdfLibraryCalls& pdf, const std::string& name, JapaneseFontMetrics metrics);
