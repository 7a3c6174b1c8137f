// The PDF writer: a QmCadExport whose element operations put the drawing onto one PDF page
// through libharu, with every layer as an optional content group.
//
// Frame (document, page, layers, save, messages) in CadPdfOut.cpp; lines, curves and line
// attributes in CadPdfOutVectors.cpp; line ends in CadPdfOutLineEnds.cpp; texts in
// CadPdfOutText.cpp; pictures in CadPdfOutPictures.cpp.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "CadPdf/ExportMessages.h"
#include "CadPdf/PdfDocumentParts.h"
#include "CadPdf/PdfLibraryCalls.h"
#include "CadPdf/QmCadExport.h"

class PdfOutSettings;
struct MarkPoint;
struct TextElement;

// One line type's dash pattern in whole points, drawn and gap alternately; count 0 = solid.
struct PdfDashEntry {
    std::string name;
    std::vector<uint16_t> lengths;
};

class CadPdfOut : public QmCadExport {
public:
    // Messages go to `messages` (the message boxes of the export when null).
    explicit CadPdfOut(QmCadDocument* document, ExportMessages* messages = nullptr);
    ~CadPdfOut() override;

    // The whole export: 0 when the file was written, -1 otherwise (the reason shown).
    int Export(const char* outputPath);

    int BeginDocument();
    void SetupPage(double widthMm, double heightMm, double originXMm, double originYMm);
    int WriteLayerGroups();
    void SelectLayerGroup(int layer);
    void BeginMarkedContent();
    void EndMarkedContent();

    // ---- Element operations ------------------------------------------------------------------
    int ExportLine(ExportElement element, const ElementRecord* record) override;
    int ExportCircle(ExportElement element, const ElementRecord* record) override;
    int ExportArc(ExportElement element, const ElementRecord* record) override;
    int ExportEllipse(ExportElement element, const ElementRecord* record) override;
    int ExportEllipticArc(ExportElement element, const ElementRecord* record) override;
    int ExportComposite900(ExportElement element, const ElementRecord* record) override;
    int ExportComposite9(ExportElement element, const ElementRecord* record) override;
    int ExportText(ExportElement element, const ElementRecord* record) override;
    int ExportImage(ExportElement element, const ElementRecord* record) override;
    int ExportRaster(ExportElement element, const ElementRecord* record) override;

    // ---- Attributes and painters (paper millimetres) ------------------------------------------
    int SetElementStyle(ElementRecord* record);
    int IsLayerHidden(ElementRecord* record);
    void PrepareDashPatterns();
    void SetDash(int lineType);
    void SetColor(int colourNumber, bool fill);
    int DrawLine(double x1, double y1, double x2, double y2);
    int DrawCircle(double x, double y, double radius);
    int DrawArc(double x, double y, double radius, double startDegrees, double sweepDegrees);
    int DrawEllipse(double x, double y, double radiusA, double radiusB, double rotationDegrees,
                    double startDegrees, double endDegrees);
    int DrawEllipticArc(const ElementRecord* record, double scale);
    int DrawPolyline(const std::vector<MarkPoint>& points);
    int DrawLineEnd(ExportElement element, const ElementRecord* record, int end);
    // The marks of both ends that the record asks for.
    void DrawLineEnds(ExportElement element, const ElementRecord* record);
    int DrawTextString(int colour, const std::string& text, double x, double y, double h, double w,
                       double angleDegrees, double c);

    // Paper millimetres to PDF points on the page (with the origin) and as a length.
    float PageX(double mm) const;
    float PageY(double mm) const;
    static float MmToPoint(double mm);

    double DrawingScale() const { return m_scale; }
    const std::vector<PdfLayerGroup>& LayerGroups() const { return m_layerGroups; }
    const std::vector<PdfDashEntry>& DashTable() const { return m_dashes; }
    const std::string& CurrentResourceName() const { return m_resourceName; }

private:
    struct FillState {
        bool fill = false;
        int colour = -1;
    };

    // The path of a painter inside the current bracket: stroked, or filled and stroked.
    template <typename BuildPath>
    int PaintPath(BuildPath build, bool setFillColour);
    void AddPolylinePath(const std::vector<MarkPoint>& points);
    const DbInfoBlock* InfoOfPage(int page) const;
    void ShowMessage(const char* text, const char* caption, UINT icon);
    // Texts (CadPdfOutText.cpp).
    int DrawTextElement(TextElement& text);
    int DrawVectorText(const TextElement& text);
    bool MeasureText(const TextElement& text, double* width, double* height) const;
    double DescentRatio(const std::string& face);

    PdfOutSettings& m_settings;
    ExportMessages* m_messages;
    PdfLibraryCalls m_pdf;
    std::vector<PdfDashEntry> m_dashes;
    HPDF_Page m_page = nullptr;
    HPDF_Font m_font = nullptr;
    double m_charSpace = 0;
    std::string m_resourceName;
    double m_originX = 0;
    double m_originY = 0;
    double m_scale = 0.02;
    FillState m_fillState;
    std::vector<FillState> m_savedFillStates;
    std::vector<PdfLayerGroup> m_layerGroups;
    QmCadDocument* m_previousDocument = nullptr;
    bool m_attached = false;
    std::map<std::string, double> m_descentRatios;
};
