#include "CadPdf/PdfDocumentParts.h"

#include <cstring>

namespace {

constexpr char kProducer[] = "Brisco";

HPDF_Array NewArray(PdfLibraryCalls& pdf)
{
    return pdf.Call(HPDF_Array_New, pdf.Document()->mmgr);
}

HPDF_Dict NewDict(PdfLibraryCalls& pdf)
{
    return pdf.Call(HPDF_Dict_New, pdf.Document()->mmgr);
}

HPDF_Array ArrayOfGroups(PdfLibraryCalls& pdf, const std::vector<PdfLayerGroup>& groups)
{
    HPDF_Array array = NewArray(pdf);
    for (const PdfLayerGroup& group : groups) pdf.Call(HPDF_Array_Add, array, static_cast<void*>(group.dictionary));
    return array;
}

// The name libharu itself gives each base font's metrics (2.3.0 spells Mincho this way).
const char* BaseFontName(JapaneseFontMetrics metrics)
{
    switch (metrics) {
    case JapaneseFontMetrics::ProportionalGothic: return "MS-PGothic";
    case JapaneseFontMetrics::Mincho: return "MS-Mincho";
    case JapaneseFontMetrics::ProportionalMincho: return "MS-PMincho";
    case JapaneseFontMetrics::Gothic:
    default: return "MS-Gothic";
    }
}

}  // namespace

HPDF_Dict CreateLayerGroupDictionary(PdfLibraryCalls& pdf, const std::string& name)
{
    HPDF_Doc doc = pdf.Document();
    HPDF_Dict group = NewDict(pdf);
    pdf.Call(HPDF_Xref_Add, doc->xref, static_cast<void*>(group));
    pdf.Call(HPDF_Dict_AddName, group, "Type", "OCG");
    HPDF_Encoder encoder = pdf.Call(HPDF_GetEncoder, doc, "90ms-RKSJ-H");
    HPDF_String text = pdf.Call(HPDF_String_New, doc->mmgr, name.c_str(), encoder);
    pdf.Call(HPDF_Dict_Add, group, "Name", static_cast<void*>(text));
    return group;
}

void WriteOptionalContentProperties(PdfLibraryCalls& pdf, HPDF_Page page,
                                    const std::vector<PdfLayerGroup>& groups)
{
    if (groups.empty()) return;
    HPDF_Doc doc = pdf.Document();

    HPDF_Dict properties = NewDict(pdf);
    HPDF_Dict defaults = NewDict(pdf);
    pdf.Call(HPDF_Dict_Add, defaults, "Order", static_cast<void*>(ArrayOfGroups(pdf, groups)));
    pdf.Call(HPDF_Dict_AddName, defaults, "BaseState", "ON");
    pdf.Call(HPDF_Dict_Add, properties, "OCGs", static_cast<void*>(ArrayOfGroups(pdf, groups)));
    pdf.Call(HPDF_Dict_Add, properties, "D", static_cast<void*>(defaults));
    pdf.Call(HPDF_Dict_Add, doc->catalog, "OCProperties", static_cast<void*>(properties));

    HPDF_Dict resources = static_cast<HPDF_Dict>(pdf.Call(HPDF_Dict_GetItem, page, "Resources", HPDF_OCLASS_DICT));
    HPDF_Dict names = NewDict(pdf);
    for (const PdfLayerGroup& group : groups)
        pdf.Call(HPDF_Dict_Add, names, group.resourceName.c_str(), static_cast<void*>(group.dictionary));
    pdf.Call(HPDF_Dict_Add, resources, "Properties", static_cast<void*>(names));
}

void WriteViewerSettings(PdfLibraryCalls& pdf)
{
    HPDF_Doc doc = pdf.Document();
    pdf.Call(HPDF_SetViewerPreference, doc, 0u);
    // libharu 2.3.0 has no page mode value for optional content; the catalog takes the name.
    pdf.Call(HPDF_Dict_AddName, doc->catalog, "PageMode", "UseOC");
    pdf.Call(HPDF_SetInfoAttr, doc, HPDF_INFO_PRODUCER, kProducer);
}

void DeclarePdfVersion15(PdfLibraryCalls& pdf)
{
    // libharu marks the document 1.6 for its viewer preferences, which need no more than 1.2;
    // optional content needs 1.5, and that is what the file declares.
    pdf.Document()->pdf_version = HPDF_VER_15;
}

JapaneseFontMetrics MetricsOfFontFlags(int flags)
{
    const bool proportional = (flags & 0x1) != 0;
    const bool mincho = (flags & 0x10000) != 0;
    if (mincho) return proportional ? JapaneseFontMetrics::ProportionalMincho : JapaneseFontMetrics::Mincho;
    return proportional ? JapaneseFontMetrics::ProportionalGothic : JapaneseFontMetrics::Gothic;
}

bool RegisterCidFontClone(PdfLibraryCalls& pdf, const std::string& name, JapaneseFontMetrics metrics)
{
    HPDF_Doc doc = pdf.Document();
    if (name.empty() || name.size() > HPDF_LIMIT_MAX_NAME_LEN) return false;
    pdf.ThrowIfFailed();
    if (HPDF_Doc_FindFontDef(doc, name.c_str()) != nullptr) return false;
    HPDF_FontDef base = HPDF_Doc_FindFontDef(doc, BaseFontName(metrics));
    if (base == nullptr || base->init_fn == nullptr) return false;
    // The definition takes the base font's metrics through the base's own initialiser; only
    // the name differs.
    std::string copy = name;
    HPDF_FontDef clone = pdf.Call(HPDF_CIDFontDef_New, doc->mmgr, &copy[0], base->init_fn);
    pdf.Call(HPDF_Doc_RegisterFontDef, doc, clone);
    return true;
}
