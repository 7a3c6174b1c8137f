// A document model without an engine: records what the PDF import appends and sets, with a
// drawing's tables (16 widths, 257 colours, 32 line types) of the test's choosing.
#pragma once

#include "QmCadDocument.h"

#include <map>
#include <string>
#include <vector>

struct RecordedElement
{
    char type;   // 'L' line, 'C' circle, 'T' text
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // line ends; circle centre (x1, y1) and radius x2
    std::string text;
    int layer = 0, colour = 0, lineType = 0, lineWidth = 0;
    double charWidth = 0, charHeight = 0, angle = 0, spacing = 0;
    std::string font;
    int textMode = 0, vertical = 0;
};

struct RecordedGroup
{
    std::vector<size_t> members;  // indexes into elements
    int kind;                     // 100 fill outline, 0 stroked copies
};

class RecordingDocument : public QmCadDocument
{
public:
    RecordingDocument();

    std::vector<RecordedElement> elements;
    std::vector<RecordedGroup> groups;
    std::map<int, std::string> layerNames;
    int resetLayerCalls = 0;
    std::string fileName, title;
    double paperWidth = 0, paperHeight = 0, scale = 0;
    int paperSeries = 255, paperSize = 255;

    double widths[16];
    int colours[257][3];
    std::vector<std::vector<double>> lineTypeDashes;  // 32 entries, mm

    // Elements of one type.
    std::vector<RecordedElement> Of(char type) const;

    CadElement AppendLine(const GeoVectorPair& line) override;
    CadElement AppendCircle(const GeoVector& centre, double radius) override;
    CadElement AppendText(const GeoVector& position, const char* text) override;
    int GetLinetypeDashes(std::vector<double>& dashes, int lineType, std::string& name) const override;
    void SetFileInfo(const char* path, const char* title) override;
    void SetPaperSize(double widthMm, double heightMm) override;
    void SetScale(double scale) override;
    void GetPaperKind(int* series, int* size) const override;
    int FindLayerByName(const char* name, int page) const override;
    int SetLayer(int layer, const char* name) override;
    void ResetCurrentLayer() override;
    CadElement CloseGroup() override;
    int FilterCurveElements(const std::vector<CadElement>& in, std::vector<CadElement>& out) const override;
    bool HasDrawingInformation() const override { return true; }
    bool GetLinewidthMm(int number, double* widthMm) const override;
    bool GetColorRecord(int number, int* red, int* green, int* blue) const override;
    bool SetColorRecord(int number, int red, int green, int blue) override;
    double GetDrawingScale() const override { return scale; }
    CadElement CopyElementWithColor(CadElement element, int color) override;
    CadElement MakeCurveGroup(const std::vector<CadElement>& handles, int kind) override;

private:
    CadElement Append(const RecordedElement& element);
};
