#include "CadPdf/CadPdfOut.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "CadPdf/ExportHostCalls.h"
#include "CadPdf/PdfExportFonts.h"
#include "CadPdf/PdfOutSettings.h"
#include "DravikDb.h"
#include "NumericFormat.h"
#include "QmCadDocument.h"
#include "core/ReplacingWrite.h"

namespace {

constexpr char kExportCaption[] = "PDF保存";
constexpr char kErrorCaption[] = "エラー";
constexpr char kNoDataMessage[] = "PDFを保存するデータがありません。";
constexpr char kWalkFailedMessage[] = "エラーが発生しました。作業を中断します。";
constexpr double kMinPaperPoints = HPDF_MIN_PAGE_SIZE;
constexpr double kMaxPaperPoints = HPDF_MAX_PAGE_SIZE;
constexpr double kMinPaperMm = 1.0583333038952625;
constexpr double kMaxPaperMm = 5079.99985869726;

// Checked on the exact value, with a margin only for the rounding of the millimetres: a paper
// 0.0001 point too large is refused, one of exactly 3 points (1.0583333 mm) is not.
bool PaperSideFits(double mm)
{
    const double points = mm * 72.0 / 25.4;
    return std::isfinite(points) && points >= kMinPaperPoints - 1e-6 && points <= kMaxPaperPoints + 1e-6;
}

bool MaskBit(const uint16_t* mask, int n)
{
    return n >= 0 && n < kLayerCount && (mask[n / 16] & (1u << (n % 16))) != 0;
}

std::string TrimBlanks(const std::string& text)
{
    size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return std::string();
    size_t end = text.find_last_not_of(' ');
    return text.substr(begin, end - begin + 1);
}

}  // namespace

CadPdfOut::CadPdfOut(QmCadDocument* document, ExportMessages* messages)
    : QmCadExport(document), m_settings(ThePdfOutSettings()), m_messages(messages)
{
    if (document != nullptr && document->database != nullptr) {
        const DbInfoBlock* info = InfoOfPage(0);
        if (info != nullptr) m_scale = info->record.scale;
    }
}

CadPdfOut::~CadPdfOut()
{
    m_pdf.FreeDocument();
    if (m_attached) m_settings.document = m_previousDocument;
}

const DbInfoBlock* CadPdfOut::InfoOfPage(int page) const
{
    void* db = Database();
    if (db == nullptr) return nullptr;
    return static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(page, db));
}

void CadPdfOut::ShowMessage(const char* text, const char* caption, UINT icon)
{
    if (m_messages != nullptr) {
        m_messages->Show(text, caption, icon);
        return;
    }
    MessageBoxExportMessages boxes(m_document != nullptr ? m_document->ownerWindow : nullptr);
    boxes.Show(text, caption, icon);
}

float CadPdfOut::PageX(double mm) const { return static_cast<float>((m_originX * 72.0 + mm * 72.0) / 25.4); }
float CadPdfOut::PageY(double mm) const { return static_cast<float>((m_originY * 72.0 + mm * 72.0) / 25.4); }
float CadPdfOut::MmToPoint(double mm) { return static_cast<float>(mm * 72.0 / 25.4); }

int CadPdfOut::Export(const char* outputPath)
{
    try {
        if (BeginDocument() == -1) return -1;
        // No drawing, or one without its information: nothing to export.
        const DbInfoBlock* info = InfoOfPage(0);
        if (info == nullptr) {
            ShowMessage(kNoDataMessage, kExportCaption, MB_ICONWARNING);
            return -1;
        }
        const double width = info->record.paperWidthMm;
        const double height = info->record.paperHeightMm;
        if (!PaperSideFits(width) || !PaperSideFits(height)) {
            const std::string text = FormatStdString(
                "現在の用紙サイズ 横:%s×縦:%s では、PDF保存ができません。\n"
                "用紙サイズを「作図/修正」にて既定の用紙サイズに変更いただくか\n"
                "縦横共に %s 以上 %s 以下にしてください。\n作業を中断します。",
                FormatReal(width, 15).c_str(), FormatReal(height, 15).c_str(),
                FormatReal(kMinPaperMm, 0).c_str(), FormatReal(kMaxPaperMm, 0).c_str());
            ShowMessage(text.c_str(), kExportCaption, MB_ICONWARNING);
            return -1;
        }
        SetupPage(width, height, 0, 0);
        WriteLayerGroups();

        const int space =
            (m_document->ownerWindow != nullptr && ExportHost::VyGetSpace() == 1) ? 1 : 0;
        SetWalkMode(m_settings.modeExport);
        const int walk = WalkElements(space);
        if (walk == -2) {
            ShowMessage(kNoDataMessage, kExportCaption, MB_ICONWARNING);
            return -1;
        }
        if (walk != 0) {
            ShowMessage(kWalkFailedMessage, kExportCaption, MB_ICONERROR);
            return -1;
        }
        DeclarePdfVersion15(m_pdf);
        const std::string bytes = m_pdf.SaveToMemory();
        // The file is replaced only when it was written whole; the old one stays otherwise.
        const DWORD error = WriteFileReplacing(outputPath != nullptr ? outputPath : "", bytes);
        if (error != 0) m_pdf.Fail(HPDF_FILE_OPEN_ERROR, error);
        return 0;
    } catch (const PdfLibraryError& error) {
        char text[256];
        std::snprintf(text, sizeof text, "PDF変換中にエラーが発生しました。作業を中止します。\n(エラーコード=%04X, %u)",
                      static_cast<unsigned>(error.errorNumber), static_cast<unsigned>(error.detailNumber));
        m_pdf.FreeDocument();
        ShowMessage(text, kErrorCaption, MB_ICONERROR);
        return -1;
    }
}

int CadPdfOut::BeginDocument()
{
    if (!m_attached) {
        m_previousDocument = m_settings.document;
        m_settings.document = m_document;
        m_attached = true;
    }
    m_settings.Load();
    m_settings.LoadLineTerms();

    if (m_document != nullptr) {
        if (m_document->ownerWindow != nullptr && m_document->database == nullptr) {
            m_document->database = HostLib::VyGET_NOWDB();
            if (m_document->database != nullptr) m_document->page = HostLib::VyGetCurrentPage();
        }
        m_document->LoadLists();
        if (const DbInfoBlock* info = InfoOfPage(0)) m_scale = info->record.scale;
    }
    PrepareDashPatterns();

    if (!m_pdf.CreateDocument()) return -1;
    HPDF_Doc doc = m_pdf.Document();
    m_pdf.Call(HPDF_SetCompressionMode, doc, m_settings.modeCompDoc == 1 ? HPDF_COMP_NONE : HPDF_COMP_ALL);
    m_pdf.Call(HPDF_UseJPFonts, doc);
    RegisterExportCidFonts(m_pdf);
    m_pdf.Call(HPDF_UseJPEncodings, doc);
    m_font = m_pdf.Call(HPDF_GetFont, doc, "MS-Gothic", "90ms-RKSJ-H");
    m_page = m_pdf.Call(HPDF_AddPage, doc);
    WriteViewerSettings(m_pdf);
    return 0;
}

void CadPdfOut::SetupPage(double widthMm, double heightMm, double originXMm, double originYMm)
{
    m_pdf.Call(HPDF_Page_SetWidth, m_page, MmToPoint(widthMm));
    m_pdf.Call(HPDF_Page_SetHeight, m_page, MmToPoint(heightMm));
    m_originX = originXMm;
    m_originY = originYMm;
    const DbInfoBlock* info = InfoOfPage(0);
    if (info == nullptr || info->record.originMode == 0) {
        m_originX += widthMm / 2;
        m_originY += heightMm / 2;
    }
}

int CadPdfOut::WriteLayerGroups()
{
    m_layerGroups.clear();
    WORD mask[kLayerMaskWords] = {};
    const bool hostKnown = m_document != nullptr && m_document->ownerWindow != nullptr;
    if (hostKnown) ExportHost::VyLAYER_CHK(mask);
    if (m_document == nullptr || m_document->database == nullptr) return 0;

    // Every layer of the page is asked; an unnamed one answers no name rather than ending the
    // list, so named layers after it still get their groups.
    for (int n = 0; n < kLayerCount; ++n) {
        std::string name;
        if (m_document->GetLayerName(name, n) != 0) name.clear();
        if (name.empty()) {
            if (!hostKnown || !MaskBit(mask, n)) continue;
            name = FormatStdString("レイヤ %d", n + 1);
        }
        if (TrimBlanks(name).empty()) name = FormatStdString("%d", n + 1);
        PdfLayerGroup group;
        group.layer = n;
        group.name = name;
        group.resourceName = FormatStdString("oc%d", static_cast<int>(m_layerGroups.size()));
        group.dictionary = CreateLayerGroupDictionary(m_pdf, name);
        m_layerGroups.push_back(group);
    }
    WriteOptionalContentProperties(m_pdf, m_page, m_layerGroups);
    DeclarePdfVersion15(m_pdf);
    return 0;
}

void CadPdfOut::SelectLayerGroup(int layer)
{
    // An element on a layer without a group is written outside any group, never in another
    // layer's group.
    m_resourceName.clear();
    for (const PdfLayerGroup& group : m_layerGroups) {
        if (group.layer == layer) {
            m_resourceName = group.resourceName;
            return;
        }
    }
}

void CadPdfOut::BeginMarkedContent()
{
    if (m_resourceName.empty()) return;
    m_pdf.WriteRaw(m_page, ("/OC /" + m_resourceName + " BDC\n").c_str());
}

void CadPdfOut::EndMarkedContent()
{
    if (m_resourceName.empty()) return;
    m_pdf.WriteRaw(m_page, "EMC\n");
}
