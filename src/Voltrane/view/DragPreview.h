// The transform preview of a selection (message 2385): the marked elements moved, turned and
// scaled as they would land, drawn with XOR into every view of the drawing. The first pass may
// stop early when the user moves on; the number drawn is remembered so that the next
// rubber-band step erases exactly that picture. Coinciding copies would cancel each other in
// XOR, so of each set of elements that coincide on screen only one is drawn.
#pragma once

#include <windows.h>

#include <vector>

#include "DrawingWindowRecords.h"
#include "EngineRecords.h"
#include "HostRecords.h"

// The duplicate check of one view pass.
class CDragTracker {
public:
    static constexpr int kComparisonLimit = 500;
    static constexpr int kTolerancePixels = 2;

    // 0, or -1 when the limit is not above 1 or the view or block is missing.
    int Setup(HWND view, PDBINFO* block, void* mark, void* db, int limit);
    // 1 when the element is not to be drawn: it coincides with one met later in the mark,
    // which stays as the survivor of the set.
    int SuppressIfCoincident(void* element);

    // The shape comparison (pixel positions with the tracker's view geometry): lines by their
    // end points in either order, circles by centre and radius, within the tolerance.
    int SetReference(const unsigned char* record);
    int IsNear(const unsigned char* record) const;
    int IsEnabled() const { return m_enabled; }
    // Geometry for the tests: the view setting without a view.
    void SetGeometry(int cx, int cy, double scale, double offsetX, double offsetY);

private:
    POINT ToPixel(double x, double y) const;
    bool Compare(void* candidate, const unsigned char* record);

    int m_enabled = 0;
    void* m_mark = nullptr;
    void* m_db = nullptr;
    int m_limit = kComparisonLimit;
    int m_cx = 0, m_cy = 0;
    double m_scale = 1.0, m_offsetX = 0.0, m_offsetY = 0.0;
    std::vector<void*> m_partners;
    int m_reference[4] = {0, 0, 0, 0};
    int m_referenceType = 0;
    bool m_referenceSet = false;
    int m_counter = 0;
};

// Draws (erase 0) or erases (erase > 0) the preview; 1, 0 without drawing block.
int DrawTransformPreview(const double* basePoint, const double* targetPoint, double angle,
                         double scale, int erase, void* mark, HWND view);
// The pending preview erased by drawing it once more, then forgotten; 1 when one was pending.
int ErasePendingTransformPreview();
// The number of elements the pending preview drew; 0 when none is pending.
int GetTransformPreviewCount();
// Whether the pending preview was drawn in the view; and its drawing again over a new picture
// of the view, so that the next erase still takes away exactly what it drew.
bool IsTransformPreviewShownIn(HWND view);
void RedrawPendingTransformPreview(HWND view);

// Message 2385.
LRESULT HandleDragPreview(const CmdParamRecord* param);
