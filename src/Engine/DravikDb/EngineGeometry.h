// Geometry of stored elements for the searches: extents, distances and characteristic points.
#pragma once

#include "EngineDatabase.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace dravikdb {

struct Point2 {
    double x = 0.0;
    double y = 0.0;
};

// Boxes of figure-group headers found during one walk over a database (a paint, a search), so
// that each header is measured once however many instances draw it. Valid while the database
// does not change.
class ExtentCache {
public:
    bool Measure(const Element& element, SearchBox& box, int depth);
    bool MeasureHeader(const Element& header, SearchBox& box, int depth);

private:
    // Deepest member nesting measured; members deeper down add nothing.
    static constexpr int kMaxMeasureDepth = 256;
    struct Box {
        SearchBox box{};
        bool any = false;
    };
    std::unordered_map<const Element*, Box> m_headers;
    std::unordered_set<const Element*> m_open;
};

// Bounding box of an element (members and figure groups included); false when it has none.
bool ElementExtents(const Element& element, SearchBox& box);
bool ElementExtents(const Element& element, SearchBox& box, ExtentCache& cache);
// Bounding box of a figure-group header's members in the header's own coordinates.
bool HeaderExtents(const Element& header, SearchBox& box, ExtentCache& cache);
// Distance from (x, y) to the element's drawn geometry.
double DistanceTo(const Element& element, double x, double y);
// End points (lines, arcs, points, text insertion points, frame corners).
void EndPoints(const Element& element, std::vector<Point2>& out);
// Points dividing lines and arcs into `parts` equal parts (2: the mid point).
void DivisionPoints(const Element& element, int parts, std::vector<Point2>& out);
// Centres of circles, arcs, ellipses and elliptic arcs.
void Centres(const Element& element, std::vector<Point2>& out);
// The nearest point on a line, circle or arc; false for other types.
bool NearestOnElement(const Element& element, double x, double y, Point2& out);
// Intersection points of two elements (lines, circles, arcs).
void Intersections(const Element& a, const Element& b, std::vector<Point2>& out);
// The elements whose geometry the point searches look at: the element itself, or the members
// of a composite (recursively).
void GeometryLeaves(Element* element, std::vector<Element*>& out);

}  // namespace dravikdb
