#include "view/DragPreview.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "DravikDb.h"
#include "core/CadSystem.h"
#include "core/ConfigData.h"
#include "core/SystemLog.h"
#include "view/ElementDrawing.h"
#include "view/InputScale.h"
#include "view/PlaneTransform.h"
#include "view/ViewCoordinates.h"
#include "view/ViewTable.h"

namespace {

// The pass may stop at every this many elements when the user is already moving on.
const int kStopCheckEvery = 200;
const int kElementGroupReference = kElementFigureReference;

struct PreviewParameters {
    HWND view = nullptr;
    void* mark = nullptr;
    double scale = 1.0, angle = 0.0;
    double target[3] = {0, 0, 0};
    double base[3] = {0, 0, 0};
    int count = 0;  // the elements the pending preview drew; 0 when none is pending
    std::vector<HWND> shownIn;  // the views it was drawn in
};

PreviewParameters& Pending()
{
    static PreviewParameters parameters;
    return parameters;
}

uint16_t TypeOf(const unsigned char* record)
{
    uint16_t type;
    std::memcpy(&type, record, sizeof type);
    return type;
}

double ReadDouble(const unsigned char* record, int offset)
{
    double v;
    std::memcpy(&v, record + offset, sizeof v);
    return v;
}

bool IsComposite(int type) { return type == kElementGroup || type == kElementComposite; }

EngineNode* Node(void* element) { return static_cast<EngineNode*>(element); }

// One view's pass over the mark.
class CPreviewPass {
public:
    CPreviewPass(HWND view, PDBINFO* block, void* db, void* mark, const Transform2D& transform)
        : m_view(view), m_block(block), m_db(db), m_mark(mark), m_transform(transform)
    {
        m_tracker.Setup(view, block, mark, db, CDragTracker::kComparisonLimit);
        m_keyCursor = IsKeyCursorMode() != 0;
        ::GetCursorPos(&m_cursor);
    }

    int Run(int limit)
    {
        int n = 0;
        for (void* e = ZUriGetNextMark(nullptr, m_mark); e; e = ZUriGetNextMark(e, m_mark)) {
            if (ShouldStop(n, limit)) break;
            ++n;
            unsigned char record[kElementRecordSize];
            if (!ZUriReadElement(e, 0, record, m_db)) continue;
            const int type = TypeOf(record);
            if (type == kElementGroupReference) {
                void* header = ZUriGetFgroupHeaderIdx(e, m_db);
                if (!header) {
                    WriteSystemLog(0, "Error", "ラバー要素移動にヘッダーが見つかりません(%lf,%lf)",
                                   ReadDouble(record, 57), ReadDouble(record, 65));
                    continue;
                }
                DrawGroupMembers(header, record);
                continue;  // the reference itself has no shape of its own to draw
            }
            if (IsComposite(type)) {
                bool stopped = false;
                for (EngineNode* m = Node(e)->nextMember; m; m = m->nextMember) {
                    if (ShouldStop(n, limit)) {
                        stopped = true;
                        break;
                    }
                    ++n;
                    if (IsComposite(m->record.type)) continue;
                    if (m_tracker.SuppressIfCoincident(m)) continue;
                    unsigned char member[kElementRecordSize];
                    std::memcpy(member, &m->record, sizeof member);
                    DrawTransformed(member, m_transform);
                }
                if (stopped) break;
                continue;
            }
            if (m_tracker.SuppressIfCoincident(e)) continue;
            DrawTransformed(record, m_transform);
        }
        return n;
    }

private:
    bool ShouldStop(int n, int limit)
    {
        if (limit > 0) return n >= limit;
        if (n % kStopCheckEvery != 0) return false;
        if (!m_keyCursor) {
            POINT now;
            if (::GetCursorPos(&now) && (now.x != m_cursor.x || now.y != m_cursor.y)) return true;
        }
        MSG msg;
        HWND status = GetStatusBarWnd();
        for (UINT message : {WM_KEYDOWN, WM_RBUTTONDOWN, WM_LBUTTONDOWN}) {
            if (::PeekMessageA(&msg, status, message, message, PM_NOREMOVE)) return true;
        }
        return false;
    }

    void DrawTransformed(unsigned char* record, const Transform2D& transform)
    {
        const int type = TypeOf(record);
        if (type < kElementLine || type > kElementEllipticArc) return;
        TransformElementRecord(record, transform);
        const int32_t page = 0;
        std::memcpy(record + 7, &page, sizeof page);
        DrawInView(m_view, m_block, m_db, kDrawRecords, record, 1, GetConfigDataRuntime().rubberBandColor, 1, 0);
    }

    void DrawGroupMembers(void* header, const unsigned char* reference)
    {
        const int count = ZUriGetMemberNum(header, m_db);
        unsigned char headerRecord[kElementRecordSize];
        if (!ZUriReadElement(header, 0, headerRecord, m_db)) return;
        const double angle = ReadDouble(reference, 49);
        const Transform2D group = {ReadDouble(reference, 33), std::cos(angle), -std::sin(angle), std::sin(angle),
                                   std::cos(angle), ReadDouble(headerRecord, 11), ReadDouble(headerRecord, 19),
                                   ReadDouble(reference, 57), ReadDouble(reference, 65)};
        void* previous = header;
        for (int i = 0; i < count; ++i) {
            unsigned char member[kElementRecordSize];
            void* next = ZUriReadFirstMember(previous, member, m_db);
            if (!next) break;
            previous = next;
            const int type = TypeOf(member);
            if (type < kElementLine || type > kElementEllipticArc) continue;
            TransformElementRecord(member, group);
            DrawTransformed(member, m_transform);
        }
    }

    HWND m_view;
    PDBINFO* m_block;
    void* m_db;
    void* m_mark;
    Transform2D m_transform;
    CDragTracker m_tracker;
    bool m_keyCursor = false;
    POINT m_cursor = {0, 0};
};

}  // namespace

void CDragTracker::SetGeometry(int cx, int cy, double scale, double offsetX, double offsetY)
{
    m_cx = cx, m_cy = cy, m_scale = scale, m_offsetX = offsetX, m_offsetY = offsetY;
}

int CDragTracker::Setup(HWND view, PDBINFO* block, void* mark, void* db, int limit)
{
    m_partners.clear();
    m_referenceSet = false;
    if (limit <= 1 || !view || !block) return -1;
    m_mark = mark, m_db = db, m_limit = limit;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(view, &client);
    double scale = 1.0, offsetX = 0.0, offsetY = 0.0;
    if (block->viewMode >= 0 && block->viewMode <= 2) {
        const ViewModeInfo& mode = CurrentViewMode(*block);
        scale = mode.scale, offsetX = mode.offsetX, offsetY = mode.offsetY;
    }
    SetGeometry(client.right / 2, client.bottom / 2, scale, offsetX, offsetY);
    m_enabled = 1;
    return 0;
}

POINT CDragTracker::ToPixel(double x, double y) const
{
    return POINT{m_cx + static_cast<LONG>(std::trunc(m_scale * (m_offsetX + x))),
                 m_cy - static_cast<LONG>(std::trunc(m_scale * (m_offsetY + y)))};
}

int CDragTracker::SetReference(const unsigned char* record)
{
    const int type = TypeOf(record);
    if (type == kElementLine) {
        const POINT a = ToPixel(ReadDouble(record, 33), ReadDouble(record, 41));
        const POINT b = ToPixel(ReadDouble(record, 57), ReadDouble(record, 65));
        m_reference[0] = a.x, m_reference[1] = a.y, m_reference[2] = b.x, m_reference[3] = b.y;
    } else if (type == kElementCircle) {
        const POINT c = ToPixel(ReadDouble(record, 33), ReadDouble(record, 41));
        m_reference[0] = c.x, m_reference[1] = c.y;
        m_reference[2] = static_cast<int>(std::trunc(m_scale * ReadDouble(record, 57)));
        m_reference[3] = 0;
    } else {
        m_referenceSet = false;
        return 0;
    }
    m_referenceType = type;
    m_referenceSet = true;
    return 1;
}

int CDragTracker::IsNear(const unsigned char* record) const
{
    if (!m_referenceSet) return 0;
    const int t = kTolerancePixels;
    auto within = [t](long a, long b) { return std::labs(a - b) < t; };
    const int type = TypeOf(record);
    if (type == kElementLine) {
        const POINT a = ToPixel(ReadDouble(record, 33), ReadDouble(record, 41));
        const POINT b = ToPixel(ReadDouble(record, 57), ReadDouble(record, 65));
        const int* r = m_reference;
        const bool same = within(a.x, r[0]) && within(a.y, r[1]) && within(b.x, r[2]) && within(b.y, r[3]);
        const bool reversed = within(a.x, r[2]) && within(a.y, r[3]) && within(b.x, r[0]) && within(b.y, r[1]);
        return same || reversed ? 1 : 0;
    }
    if (type == kElementCircle) {
        const POINT c = ToPixel(ReadDouble(record, 33), ReadDouble(record, 41));
        const long radius = static_cast<long>(std::trunc(m_scale * ReadDouble(record, 57)));
        return within(c.x, m_reference[0]) && within(c.y, m_reference[1]) && within(radius, m_reference[2]) ? 1 : 0;
    }
    return 0;
}

bool CDragTracker::Compare(void* candidate, const unsigned char* record)
{
    if (IsNear(record)) {
        m_partners.push_back(candidate);
        return true;
    }
    if (++m_counter > m_limit) {
        m_partners.clear();
        m_enabled = 0;
    }
    return false;
}

int CDragTracker::SuppressIfCoincident(void* element)
{
    if (!m_enabled || !element) return 0;
    unsigned char record[kElementRecordSize];
    std::memcpy(record, &Node(element)->record, sizeof record);
    if (!SetReference(record)) return 0;
    if (std::find(m_partners.begin(), m_partners.end(), element) != m_partners.end()) return 0;
    m_counter = 0;
    for (void* s = ZUriGetNextMark(nullptr, m_mark); s && m_enabled; s = ZUriGetNextMark(s, m_mark)) {
        if (s == element) continue;
        const EngineNode* node = Node(s);
        if (node->record.type == kElementGroupReference && !ZUriGetFgroupHeaderIdx(s, m_db)) continue;
        if (IsComposite(node->record.type)) {
            for (EngineNode* m = node->nextMember; m && m_enabled; m = m->nextMember) {
                if (m == element || IsComposite(m->record.type)) continue;
                unsigned char member[kElementRecordSize];
                std::memcpy(member, &m->record, sizeof member);
                if (Compare(m, member)) return 1;
            }
            continue;
        }
        unsigned char other[kElementRecordSize];
        std::memcpy(other, &node->record, sizeof other);
        if (Compare(s, other)) return 1;
    }
    return 0;
}

namespace {

// The preview's transform in the view's drawing: rotation about the base point, scale, and the
// base point moved onto the target point. A mark of another drawing than the view's is
// converted through both drawings' scales.
Transform2D PreviewTransform(const PreviewParameters& p)
{
    HWND markView = FindViewByDb(GetMarkDb(p.mark));
    const double viewFactor = GetViewDrawingToInputFactor(p.view);
    const double markFactor = markView ? GetViewDrawingToInputFactor(markView) : viewFactor;
    double origin[3] = {p.base[0], p.base[1], 0};
    double offset[3] = {p.target[0], p.target[1], 0};
    ScaleViewPointInputToDrawing(p.view, origin);
    ScaleViewPointDrawingToInput(markView ? markView : p.view, origin);
    ScaleViewPointInputToDrawing(p.view, offset);
    ScaleViewPointDrawingToInput(p.view, offset);
    return Transform2D{p.scale * viewFactor / markFactor, std::cos(p.angle), -std::sin(p.angle), std::sin(p.angle),
                       std::cos(p.angle), origin[0], origin[1], offset[0], offset[1]};
}

void* PreviewDb(void* mark, PDBINFO* block)
{
    void* db = GetMarkDb(mark);
    return db ? db : block->engineDb;
}

}  // namespace

int DrawTransformPreview(const double* base, const double* target, double angle, double scale, int erase,
                         void* mark, HWND view)
{
    PreviewParameters& p = Pending();
    p.view = view, p.mark = mark, p.scale = scale, p.angle = angle;
    p.base[0] = base[0], p.base[1] = base[1], p.base[2] = 0;
    p.target[0] = target[0], p.target[1] = target[1], p.target[2] = 0;
    ZUriSetTransFg(1);
    const Transform2D transform = PreviewTransform(p);

    PDBINFO* start = GetViewBlock(view);
    if (!start) return 0;
    void* db = PreviewDb(mark, start);
    const int limit = erase > 0 ? p.count : 0;
    if (erase <= 0) p.count = 0;
    int drawn = 0;
    bool first = true;
    std::vector<HWND> views;
    ForEachSiblingView(view, start, false, [&](HWND target, PDBINFO* block) {
        CPreviewPass pass(target, block, db, mark, transform);
        const int n = pass.Run(first ? limit : (limit > 0 ? limit : drawn));
        if (first) drawn = n;
        first = false;
        views.push_back(target);
    });
    if (erase <= 0) {
        p.count = drawn;
        p.shownIn = views;
    } else {
        // What was pending is erased now: a later rubber-band step must not draw it again.
        p.count = 0;
        p.shownIn.clear();
    }
    return 1;
}

bool IsTransformPreviewShownIn(HWND view)
{
    const PreviewParameters& p = Pending();
    return view && p.count > 0 && std::find(p.shownIn.begin(), p.shownIn.end(), view) != p.shownIn.end();
}

void RedrawPendingTransformPreview(HWND view)
{
    if (!IsTransformPreviewShownIn(view)) return;
    PDBINFO* block = GetViewBlock(view);
    if (!block) return;
    const PreviewParameters& p = Pending();
    CPreviewPass pass(view, block, PreviewDb(p.mark, block), p.mark, PreviewTransform(p));
    pass.Run(p.count);
}

int ErasePendingTransformPreview()
{
    PreviewParameters& p = Pending();
    if (p.count <= 0) return 0;
    const PreviewParameters saved = p;
    DrawTransformPreview(saved.base, saved.target, saved.angle, saved.scale, 1, saved.mark, saved.view);
    p.count = 0;
    return 1;
}

int GetTransformPreviewCount() { return Pending().count; }

LRESULT HandleDragPreview(const CmdParamRecord* param)
{
    if (!param || !param->double1 || !param->double2) return 1;
    try {
        const double base[3] = {param->point1.x, param->point1.y, 0};
        const double target[3] = {param->point2.x, param->point2.y, 0};
        DrawTransformPreview(base, target, *param->double1, *param->double2, param->mode,
                             reinterpret_cast<void*>(param->transform), param->view);
    } catch (...) {
        // A failed preview shows nothing more; the command goes on.
    }
    return 1;
}
