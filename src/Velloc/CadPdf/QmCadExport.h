// The format-independent half of the export: walks the elements of one drawing in a defined
// order, descends into groups and composites, and hands every element record to one virtual
// operation per element type. It never changes the drawing.
#pragma once

#include <cstdint>
#include <vector>

#include "EngineRecords.h"

class QmCadDocument;

using ExportElement = void*;  // the engine's element handle; may be null where noted

class QmCadExport {
public:
    explicit QmCadExport(QmCadDocument* document = nullptr) : m_document(document) {}
    virtual ~QmCadExport() = default;
    QmCadExport(const QmCadExport&) = delete;
    QmCadExport& operator=(const QmCadExport&) = delete;

    // Element operations: 0 done or skipped, -1 failed. All but the marked ones do nothing.
    virtual int ExportLine(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportCircle(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportPoint(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportArc(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportText(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportEllipse(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportEllipticArc(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportGroup(ExportElement element, const ElementRecord* record);  // members 1..7
    virtual int ExportSpare1(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportImage(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportViewport(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportRaster(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportSpare2(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportShapeKind1(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportShapeKind0(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportShapeKind2(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportShapeKind5(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportShapeKind6(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportShapeKind3(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportShapeKind4(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportComposite100(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportComposite101(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportComposite102(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportComposite103(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportComposite905(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportComposite906(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportComposite907(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportComposite900(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportComposite9(ExportElement, const ElementRecord*) { return 0; }
    virtual int ExportCompositeMembers(ExportElement element, const ElementRecord* record);
    virtual int ExportCompositeBlock(ExportElement element, const ElementRecord* record);
    virtual int ExportComposite10(ExportElement, const ElementRecord*) { return 0; }

    // The walk: 0 done, -2 nothing to export, -1 no database.
    int WalkElements(int space);
    // The operation for the record's type; -1 for a type without one.
    int DispatchElement(ExportElement element, const ElementRecord* record);
    int WalkAllElements();
    int CountElements(int page, int space);
    bool MatchesPageAndSpace(ExportElement element, int page, int space);

    int CurrentPage() const { return m_currentPage; }
    void SetWalkMode(int mode) { m_walkMode = mode; }
    QmCadDocument* Document() const { return m_document; }

protected:
    void* Database() const;

    int m_currentPage = 0;
    int m_sortFlag = 1;
    int m_walkMode = 0;
    QmCadDocument* m_document = nullptr;
};

// The page ids of the drawing, page 0 first, each once, in the order of the engine's page chain
// (at most `pageCount` pages besides page 0).
std::vector<int> CollectPageIds(void* database, int pageCount);
// The draw-order key of an element: 0 with a key, or -1 (key 0). Composites ask their direct
// members only when a database is given.
int GetDrawOrderKey(ExportElement element, const ElementRecord* record, double* key, void* database);
