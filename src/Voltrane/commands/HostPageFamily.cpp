// The page message: the engine's page calls on the active database, the drawing side's page
// services through the site, and the view's visible area and zoom.
#include <cmath>
#include <cstring>
#include <vector>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/HostServiceFamilies.h"
#include "commands/HostServiceSite.h"

namespace {

const CmdParamRecord* Record(LPARAM lParam) { return reinterpret_cast<const CmdParamRecord*>(lParam); }
// The page, view mode or other number at +4 of the record.
int PageOf(const CmdParamRecord* p) { return static_cast<int>(p->second); }

ViewModeInfo* ModeInfo(PDBINFO& block, INT_PTR mode)
{
    switch (mode) {
    case 0: return &block.mode0;
    case 1: return &block.mode1;
    case 2: return &block.mode2;
    default: return nullptr;
    }
}

LRESULT VisibleArea(CmdParamRecord* p)
{
    CHostServiceSite& site = GetHostServiceSite();
    HWND view = site.ActiveView();
    PDBINFO* block = view ? site.ViewBlock(view) : nullptr;
    if (block == nullptr || p == nullptr) return 0;
    ViewModeInfo* mode = ModeInfo(*block, PageOf(p));
    if (mode == nullptr) return 1;
    const double s = mode->scale;
    // A view without a scale shows no area of the drawing.
    if (!std::isfinite(s) || s == 0) return 0;
    RECT client = {};
    GetClientRect(view, &client);
    const int w = client.right - client.left, h = client.bottom - client.top;
    const int hw = w / 2, hh = h / 2;
    p->point1.x = -hw / s - mode->offsetX;
    p->point1.y = hh / s - mode->offsetY;
    p->point2.x = (w - hw) / s - mode->offsetX;
    p->point2.y = -(h - hh) / s - mode->offsetY;
    return 1;
}

LRESULT ZoomInViewMode(const CmdParamRecord* p)
{
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    if (block == nullptr || p == nullptr) return 0;
    HostPoint point1 = p->point1, point2 = p->point2;
    const int32_t remembered = block->viewMode;
    const int mode = PageOf(p);
    if (mode >= 0 && mode <= 2) block->viewMode = mode;
    const int zoomed = ZoomViewToArea(point1, point2);
    block->viewMode = remembered;
    return zoomed;
}

// The page record's 32-bit word at the index, from a host buffer of a whole page.
LRESULT PageWord(int page, void* db, int index)
{
    std::vector<uint8_t> buffer(kPageBufferSize);
    if (!ZUriGetPage(page, buffer.data(), db)) return 0;
    int32_t word;
    std::memcpy(&word, buffer.data() + 4 * index, sizeof(word));
    return word;
}

}  // namespace

BOOL CCadSysCmdPage::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                          DWORD mapId)
{
    if (mapId != 0 || uMsg != WM_CADPAGE || wParam > CADPAGE_GET_PAGE_WORD5) return FALSE;
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    void* db = block ? block->engineDb : nullptr;
    auto* p = reinterpret_cast<CmdParamRecord*>(lParam);
    lResult = 0;
    switch (static_cast<int>(wParam)) {
    case CADPAGE_GET_CURRENT:
        lResult = db ? static_cast<const EngineDbRecord*>(db)->pageState.currentPage : 0;
        break;
    case CADPAGE_SET_CURRENT:
        if (db && p && PageOf(p) >= 0 && PageOf(p) <= 256) lResult = site.PageService(CADPAGE_SET_CURRENT, lParam);
        break;
    case CADPAGE_CHECK:
        if (db) lResult = ZUriChkPage(static_cast<int>(lParam), db);
        break;
    case CADPAGE_GET_LAYER_INFO:
    case CADPAGE_SET_LAYER_INFO:
        if (db == nullptr || p == nullptr || p->text == nullptr) break;
        lResult = wParam == CADPAGE_GET_LAYER_INFO ? ZUriGetLayerInfo(PageOf(p), p->text, db)
                                                   : ZUriSetLayerInfo(PageOf(p), p->text, db);
        break;
    case CADPAGE_GET_LEVEL:
        if (db && p) lResult = ZUriGetPageLv(PageOf(p), db);
        break;
    case CADPAGE_NEXT_CHILD:
        if (db && p) lResult = ZUriGetDownNextPage(PageOf(p), reinterpret_cast<void*>(p->value1), db);
        break;
    case CADPAGE_GET_SPACE:
        lResult = block && (block->viewMode == 1 || block->viewMode == 2) ? block->viewMode : 0;
        break;
    case CADPAGE_GET_VISIBLE_AREA:
        lResult = VisibleArea(p);
        break;
    case CADPAGE_SET_TRANS_FLAG:
        lResult = ZUriSetTransFg(static_cast<int>(lParam));
        break;
    case CADPAGE_GET_PAGE_WORD1:
        if (db && p && PageOf(p) != 0) lResult = PageWord(PageOf(p), db, 1);
        break;
    case CADPAGE_TEST_VIEW_WINDOW:
        lResult = lParam && site.ViewBlock(reinterpret_cast<HWND>(lParam)) ? 1 : 0;
        break;
    case CADPAGE_COPY_PARAMS:
        if (p) lResult = ZUriElementParamCopy(reinterpret_cast<void*>(p->value1), reinterpret_cast<void*>(p->value2));
        break;
    case CADPAGE_ZOOM_TO_AREA:
        lResult = ZoomInViewMode(p);
        break;
    case CADPAGE_NEXT:
        if (db) {
            std::vector<uint8_t> buffer(kPageBufferSize);
            lResult = ZUriGetNextPage(static_cast<int>(lParam), buffer.data(), db);
        }
        break;
    case CADPAGE_GET_PAGE_WORD5:
        if (db) lResult = PageWord(static_cast<int>(lParam), db, 5);
        break;
    default:
        // The drawing side's page services take the record as it came.
        if (db && (lParam != 0 || wParam == CADPAGE_PAPER_SPACE || wParam == CADPAGE_MODEL_SPACE))
            lResult = site.PageService(static_cast<int>(wParam), lParam);
        break;
    }
    return TRUE;
}
