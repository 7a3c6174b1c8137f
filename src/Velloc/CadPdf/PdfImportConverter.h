// Everything the import needs for one PDF document and one target drawing: the document read
// with the PDF library, its page table, the settings of "PdfIn.ini", copies of the drawing's
// line widths, colours and line types, the transform from PDF user space to drawing units, and
// the working state of the content-stream interpreter and of the text output. A Form XObject
// is run by a nested converter made for the time of that one XObject.
#pragma once

#include "PdfDocumentOutput.h"
#include "PdfImportServices.h"
#include "PdfMatrix.h"
#include "PdfOperandStack.h"
#include "PdfTextState.h"

#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace PoDoFo {
class PdfMemDocument;
class PdfObject;
class PdfPage;
class PdfVecObjects;
}
class QmCadDocument;

// The 13 points of a cubic Bezier curve for t = 0, 1/12, ..., 1.
void SampleBezier(double x0, double y0, double x1, double y1, double x2, double y2, double x3, double y3,
                  double* xs, double* ys);

// Writes the paper size into the drawing and the scale that goes with it: 1/100 for A0 to A2
// and B0 to B2 (and papers of no standard size above A2), else 1/50.
void SetPaperWithDefaultScale(QmCadDocument& document, double widthMm, double heightMm);

// The deepest nesting of arrays and dictionaries in a content stream.
int ContentNestingDepth(const char* data, size_t length);

// One page of the document, in page order.
struct PdfPageInfo
{
    double width;          // mm
    double height;         // mm
    double angle;          // degrees: minus /Rotate, 0 when not rotated
    int rotated;           // 0 or 1
    double defaultScale;   // 0.02
};

// What q saves: the current matrix and the four attribute numbers (-1 for none).
struct PdfSavedState
{
    PdfMatrix matrix;
    int lineType;
    int colour;
    int strokingColour;
    int lineWidth;
};

// A marked-content level: the state at its BDC or BMC, the depth of the graphics-state stack
// then, and the layer current before it (EMC goes back to it).
struct PdfMarkedState
{
    PdfSavedState state;
    size_t depth;
    int layerBefore;
};

// One entry of a page's /Properties resource.
struct PdfPropertyEntry
{
    std::string resourceName;   // key in /Properties
    std::string type;           // /Type of the referenced dictionary, such as "OCG"
    std::string name;           // /Name, in Shift-JIS
};

class PdfImportConverter
{
public:
    PdfImportConverter(QmCadDocument* document, PdfImportServices& services);
    ~PdfImportConverter();
    PdfImportConverter(const PdfImportConverter&) = delete;
    PdfImportConverter& operator=(const PdfImportConverter&) = delete;

    // Reads the file (through the data-file service) and opens it: 0, -1 (no page), or the PDF
    // library's error code after its error box.
    int OpenPdf(const std::string& path);
    // The same for a file already in memory; path names the new drawing.
    int OpenPdfFromMemory(const std::string& bytes, const std::string& path);
    int BuildPageTable();
    int SelectPage(int n);
    int ConvertPage(int n);

    int PageCount() const;
    const std::vector<PdfPageInfo>& PageTable() const { return m_pageTable; }
    const std::string& MessageText() const { return m_messageText; }

    // A PDF user-space point in drawing units.
    void ToDrawingPoint(double x, double y, double& outX, double& outY) const;
    PdfMatrix PageMatrix() const;

    // Appends a text element with the document's current attributes; its handle or 0.
    void* WriteText(const PdfTextAttributes& attributes, double x, double y, const std::string& text);

    // The content-stream interpreter.
    void RunContentStream(const char* data, size_t length);
    // Executes and empties the pending list; fewer than 2 operations wait for the next list
    // unless atEnd (the end of the stream) is set.
    void ExecutePendingOperations(bool atEnd = false);
    void ClosePendingSubpath();
    void PushGraphicsState();
    int PopGraphicsState();
    int MatchColour(int packed);
    int MatchLineWidth(double widthMm) const;
    int MatchLineType(const int* dashes, int count) const;
    static void CmykToRgb(double c, double m, double y, double k, int& red, int& green, int& blue);

    // Path building.
    void OpMoveTo(const PdfOperandStack& op);
    void OpLineTo(const PdfOperandStack& op);
    void OpClosePath();
    void OpRectangle(const PdfOperandStack& op);
    void OpCurveTo(const PdfOperandStack& op);
    void OpCurveToV(const PdfOperandStack& op);
    void OpCurveToY(const PdfOperandStack& op);
    void LineTo(double x, double y);
    void AppendSegment(double ax, double ay, double bx, double by);
    void AppendBezierPath(double x1, double y1, double x2, double y2, double x3, double y3);
    int TryCircle(const std::vector<PdfOperandStack>& operations, size_t& position);
    void AppendCircleAt(double r, double cx, double cy);
    void FillPendingPath(bool stroke);

    // Forms, images and optional content.
    int LoadFontResources(const PoDoFo::PdfObject* owner);
    int LoadXObjectResources(const PoDoFo::PdfObject* owner);
    int LoadPropertyResources(const PoDoFo::PdfObject* page);
    int NameLayersFromOcgs();
    int FindOcgProperty(const std::string& resourceName, PdfPropertyEntry& entry) const;
    void OpPaintXObject(const PdfOperandStack& op);
    int PaintXObject(const std::string& name);
    int RunFormXObject();
    void OpBeginMarkedContentProps(const PdfOperandStack& op);
    void OpBeginMarkedContent(const PdfOperandStack& op);
    void OpEndMarkedContent();

    // Element output and drawing set-up through the document model (PdfConverterOutput.cpp).
    void* OutputLine(double x1, double y1, double x2, double y2);
    void* OutputCircle(double cx, double cy, double r);
    void DocumentSetFileInfo(const std::string& tcfPath);
    void DocumentSetPaper(double widthMm, double heightMm);
    void DocumentResetCurrentLayer();
    int DocumentColour() const;
    void DocumentSetColour(int colour);
    int DocumentLineType() const;
    void DocumentSetLineType(int lineType);
    int DocumentLineWidth() const;
    void DocumentSetLineWidth(int lineWidth);
    int DocumentLayer() const;
    void DocumentSetLayer(int layer);
    bool DocumentWriteColourRecord(int index, int red, int green, int blue);
    void DocumentNameLayer(int layer, const std::string& name);
    int DocumentFindLayerByName(const std::string& name) const;
    void DocumentOpenGroup();
    void DocumentCollectGroupMembers(std::vector<void*>& handles);
    void DocumentCloseGroup();
    void DocumentFilterCurveElements(const std::vector<void*>& handles, std::vector<void*>& curves);

    // Settings of "PdfIn.ini" read by every construction; the first two are process-wide.
    static int modeGrStateClear;
    static int modeFillDraw;
    int posRoundDigits = -1;
    int bezierToCircle = 1;

    double unitFactor = 1.0;
    double pointsPerMm = 72.0 / 25.4;
    double originX = 0, originY = 0;     // page origin offset (PDF points)
    double pageAngle = 0;
    bool pageRotated = false;
    PdfMatrix currentMatrix;
    int savedLineType = -1, savedColour = -1, savedStrokingColour = -1, savedLineWidth = -1;

    // The Form nesting a converter may reach (a Form that paints itself stops there).
    static const int kMaxFormDepth = 32;
    // The Forms one page may paint in all (Forms that paint each other several times would
    // otherwise multiply without end below the depth limit).
    static const int kMaxFormPaints = 10000;
    // Deepest graphics-state stack kept.
    static const size_t kMaxGraphicsDepth = 4096;
    // Most operations kept pending between two painting operators.
    static const size_t kMaxPendingOperations = 1000000;

    // The image warning is shown once while the plug-in stays loaded.
    static bool imageWarningShown;

private:
    friend class PdfImportConverterTestAccess;

    void ReadSettings();
    void CopyDrawingTables();
    const PoDoFo::PdfObject* PageResources(const PoDoFo::PdfObject* pageObject) const;
    const PoDoFo::PdfVecObjects* Objects() const;
    PoDoFo::PdfPage* Page(int n) const;
    int ShowPdfError(const PoDoFo::PdfError& error);
    void ExecuteOperation(const std::vector<PdfOperandStack>& operations, size_t& index);
    void ApplyColourOperation(const PdfOperandStack& op, bool stroking);
    void ApplyDash(const PdfOperandStack& op);
    void ApplyWidth(const PdfOperandStack& op);
    void CopyPageState(PdfImportConverter& to) const;
    void CopyWithStrokeColour(const std::vector<void*>& handles);
    void AddMessageOnce(const std::string& text);


    QmCadDocument* m_document;
    PdfImportServices& m_services;
    std::string m_fileBytes;
    std::unique_ptr<PoDoFo::PdfMemDocument> m_pdf;
    std::vector<PdfPageInfo> m_pageTable;
    std::unique_ptr<PdfTextState> m_textState;
    std::vector<PdfOperandStack> m_pending;
    double m_currentX = 0, m_currentY = 0;
    double m_subpathX = 0, m_subpathY = 0;
    std::deque<PdfSavedState> m_stateStack;
    std::vector<PdfPropertyEntry> m_properties;
    std::vector<std::pair<std::string, const PoDoFo::PdfObject*>> m_xobjects;
    std::deque<int> m_markedContent;
    std::deque<PdfMarkedState> m_markedStates;
    double m_widths[16] = {};
    int m_widthCount = 0;
    std::vector<int> m_colours;                 // 257 entries when the drawing has colour records
    struct LineTypeRecord { int count; int dashes[16]; };
    std::vector<LineTypeRecord> m_lineTypes;    // 32 entries when the drawing has line types
    int* m_nextNewColour;                       // shared by a page and its Forms
    int m_ownNextNewColour = 200;
    int* m_formPaints;                          // shared by a page and its Forms
    int m_ownFormPaints = 0;
    int m_strokingColour = -1;
    bool m_useStrokingColour = true;
    std::string m_messageText;
    const PoDoFo::PdfObject* m_formObject = nullptr;
    const PoDoFo::PdfVecObjects* m_objects = nullptr;  // a nested converter borrows its parent's
    int m_formDepth = 0;
    bool m_sawTouchUp = false;
};
