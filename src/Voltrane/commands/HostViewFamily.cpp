// Host messages for views, windows and colours.
#include <cmath>
#include <cstring>

#include "DravikDb.h"
#include "HostMessages.h"
#include "commands/HostServiceFamilies.h"
#include "commands/HostServiceSite.h"
#include "core/ConfigData.h"
#include "core/LocalSettings.h"
#include "view/ViewCoordinates.h"

namespace {

// The current drawing attributes as plug-ins copy them: the view's attribute block and the
// byte and text-colour word kept behind it, 339 bytes from the block's colour on.
constexpr size_t kAttributesOffset = offsetof(PDBINFO, colour);
constexpr size_t kAttributesSize = 339;
static_assert(kAttributesOffset == 88 && kAttributesOffset + kAttributesSize == offsetof(PDBINFO, modified),
              "the attribute block ends before the modified flag");

COLORREF VisibleAgainstBackground(COLORREF colour, COLORREF background)
{
    colour &= 0xFFFFFF;
    if (colour != (background & 0xFFFFFF)) return colour;
    const int mode = GetLocalSettingsLive().setup.bColorMode;
    if (mode == 0) return colour;
    int channel[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    for (int& c : channel) c = mode == 2 ? 255 - c : (c > 230 ? c - 16 : c + 16);
    return RGB(channel[0], channel[1], channel[2]);
}

LRESULT CopyAttributes(LPARAM lParam, bool write)
{
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    if (block == nullptr || lParam == 0) return 0;
    auto* bytes = reinterpret_cast<uint8_t*>(block) + kAttributesOffset;
    if (write) {
        std::memcpy(bytes, reinterpret_cast<const void*>(lParam), kAttributesSize);
        site.NotifyDrawingAttributesChanged();
    } else {
        std::memcpy(reinterpret_cast<void*>(lParam), bytes, kAttributesSize);
    }
    return 1;
}

LRESULT FillColourTable(WPARAM variant, COLORREF* table)
{
    if (table == nullptr) return 0;
    const COLORREF background = GetDrawingBackColor();
    const int v = static_cast<int>(variant);
    if (v % 100 == 0) {
        const COLORREF* palette = GetConfigDataRuntime().palette;
        for (int i = 0; i < kColourCount; ++i) table[i] = palette[i];
        table[0] = background;
        if ((variant & 0xFFFF) == 100)
            for (int i = 1; i < kColourCount; ++i) table[i] = VisibleAgainstBackground(table[i], background);
        return 1;
    }
    table[0] = background;
    PDBINFO* block = ActiveDrawingBlock(GetHostServiceSite());
    void* db = block ? block->engineDb : nullptr;
    auto* info = db ? static_cast<const DbInfoBlock*>(ZUriGetDbInfoPtr(0, db)) : nullptr;
    if (info == nullptr) return 0;
    const bool visible = v - v % 100 == 100;
    for (int i = 1; i < kColourCount; ++i) {
        const ColourRecord& c = info->colours[i];
        const COLORREF colour = RGB(c.red & 0xFF, c.green & 0xFF, c.blue & 0xFF);
        table[i] = visible ? VisibleAgainstBackground(colour, background) : colour;
    }
    return 1;
}

// A drawing scale fit to divide by.
double UsableScale(double scale)
{
    const double magnitude = std::fabs(scale);
    return !std::isfinite(scale) || magnitude < 1e-8 || magnitude >= 1e8 ? 1.0 : scale;
}

LRESULT MarginFrame(double* frame)
{
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    if (block == nullptr || block->engineDb == nullptr || site.MarginFrameColour() <= 0) return 0;
    DbInfoRecord info;
    std::memset(&info, 0, sizeof(info));
    if (!ZUriGetDBInfo(&info, block->engineDb)) return 0;
    const double scale = UsableScale(info.scale);
    double left, right, top, bottom;
    site.Margins(info.paperHeightMm < info.paperWidthMm, &left, &right, &top, &bottom);
    if (frame != nullptr) {
        const double ex = info.drawingWidth, ey = info.drawingHeight;
        frame[0] = left / scale - ex / 2;
        frame[1] = ey / 2 - top / scale;
        frame[2] = ex / 2 - right / scale;
        frame[3] = bottom / scale - ey / 2;
    }
    return 1;
}

}  // namespace

int ZoomViewToArea(const HostPoint& point1, const HostPoint& point2)
{
    CHostServiceSite& site = GetHostServiceSite();
    HWND view = site.ActiveView();
    PDBINFO* block = view ? site.ViewBlock(view) : nullptr;
    if (block == nullptr) return 0;
    double width = std::fabs(point1.x - point2.x);
    double height = std::fabs(point1.y - point2.y);
    const double centreX = (point1.x + point2.x) / 2;
    const double centreY = (point1.y + point2.y) / 2;
    if (width == 0 || height == 0) {
        DbInfoRecord info;
        std::memset(&info, 0, sizeof(info));
        if (block->engineDb != nullptr) ZUriGetDBInfo(&info, block->engineDb);
        if (width == 0) width = std::fabs(info.drawingWidth);
        if (height == 0) height = std::fabs(info.drawingHeight);
    }
    RECT client = {};
    GetClientRect(view, &client);
    const int clientWidth = client.right - client.left, clientHeight = client.bottom - client.top;
    // An empty rectangle with an empty drawing, or a view without a client area, has no scale.
    if (!(width > 0) || !(height > 0) || clientWidth <= 0 || clientHeight <= 0) return 0;
    double scale = std::fabs(std::fmin(clientWidth / width, clientHeight / height));
    if (!std::isfinite(scale) || scale == 0 || !std::isfinite(centreX) || !std::isfinite(centreY)) return 0;
    if (block->viewMode >= 0 && block->viewMode <= 2) {
        ViewModeInfo& mode = CurrentViewMode(*block);
        CurrentViewModeBackup(*block) = mode;
        if (site.ViewMarginOn()) scale *= GetViewShrinkRatio(view);
        mode.offsetX = -centreX;
        mode.offsetY = -centreY;
        mode.scale = scale;
    }
    site.RepaintView(view);
    if (HWND main = site.MainWindow()) {
        auto statusBar = reinterpret_cast<HWND>(SendMessageA(main, WM_CAD_GET_PANEL_WINDOW, 100, 0));
        if (statusBar != nullptr && IsWindow(statusBar)) SendMessageA(statusBar, WM_COMMAND, 100, 0);
    }
    return 1;
}

BOOL CCadSysCmdView::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                          DWORD mapId)
{
    if (mapId != 0) return FALSE;
    CHostServiceSite& site = GetHostServiceSite();
    const auto* p = reinterpret_cast<const CmdParamRecord*>(lParam);
    switch (uMsg) {
    case WM_CAD_GET_VIEW_SETTINGS:
    case WM_CAD_GET_VIEW_SETTINGS2:
        lResult = CopyAttributes(lParam, false);
        return TRUE;
    case WM_CAD_SET_VIEW_SETTINGS:
        lResult = CopyAttributes(lParam, true);
        return TRUE;
    case WM_CAD_DRAW_ELEMENT:
        lResult = p ? site.RedrawElementInViews(p->view, p->mode, reinterpret_cast<void*>(p->element)) : 0;
        return TRUE;
    case WM_CAD_ZOOM_TO_AREA:
        lResult = p ? ZoomViewToArea(p->point1, p->point2) : 0;
        return TRUE;
    case WM_CAD_MAXIMIZE_VIEW:
        if (HWND view = site.ActiveView()) {
            ShowWindow(site.MainWindow(), SW_RESTORE);
            HWND frame = GetParent(view);
            ShowWindow(frame ? frame : view, SW_SHOWMAXIMIZED);
        }
        lResult = 1;
        return TRUE;
    case WM_CAD_MINIMIZE_MAIN:
        ShowWindow(site.MainWindow(), SW_MINIMIZE);
        lResult = 1;
        return TRUE;
    case WM_CAD_RAISE_MAIN:
        SetWindowPos(site.MainWindow(), nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
        lResult = 1;
        return TRUE;
    case WM_CAD_GET_COLOR:
        // Only the background and the 256 entries of the table exist.
        if (lParam == 0) lResult = GetDrawingBackColor();
        else if (lParam > 0 && lParam < kColourCount) lResult = GetConfigDataRuntime().palette[lParam];
        else lResult = 0;
        return TRUE;
    case WM_CAD_GET_COLOR_TABLE:
        lResult = FillColourTable(wParam, reinterpret_cast<COLORREF*>(lParam));
        return TRUE;
    case WM_CAD_GET_MARGIN_FRAME:
        lResult = MarginFrame(reinterpret_cast<double*>(lParam));
        return TRUE;
    default:
        return FALSE;
    }
}
