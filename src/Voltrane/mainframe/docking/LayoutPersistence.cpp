#include "mainframe/docking/LayoutPersistence.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>

#include <pugixml.hpp>

#include "core/ConfigIo.h"
#include "core/ProgramPaths.h"
#include "core/ReplacingWrite.h"
#include "core/XmlFile.h"

using dockwins::DockingWindowPlacement;
using dockwins::DockPosition;

namespace sstate {

namespace {

constexpr const char* kRoot = "config";
constexpr UINT kBandMask = 0x363;
// The manager's children: the first command panel -1, the tool panel -2, the application panel
// -3, the second command panel -4; as indexes of the "DfdockPos%d" order.
constexpr int kManagerPane[kPaneCount] = {0, 2, 1, 3};

std::string Hex(const void* data, size_t count) { return FormatBytes(data, count); }

bool ReadBytes(const pugi::xml_node& node, const char* name, void* out, size_t size)
{
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) return false;
    std::vector<uint8_t> bytes;
    if (!ParseBytes(attribute.value(), &bytes) || bytes.size() != size) return false;
    memcpy(out, bytes.data(), size);
    return true;
}

void WriteBytes(pugi::xml_node node, const char* name, const void* data, size_t size)
{
    pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) attribute = node.append_attribute(name);
    attribute.set_value(Hex(data, size).c_str());
}

pugi::xml_node Child(pugi::xml_node parent, const char* name)
{
    pugi::xml_node child = parent.child(name);
    return child ? child : parent.append_child(name);
}

RECT WorkArea()
{
    RECT area = {0, 0, 0, 0};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
    return area;
}

// A pane's record as saved: the stored position when it is not docked or not visible, and no
// pinned bit for a hidden pane.
bool PaneRecord(dockwins::CDockingWindow* pane, DockingWindowPlacement* record, bool dropHiddenPin)
{
    if (pane == nullptr || pane->Window() == nullptr) return false;
    bool read = pane->ReadPlacement(record);
    record->visible = pane->IsVisible() ? 1 : 0;
    if (!record->docked || !record->visible) record->position = pane->StoredPosition();
    if (dropHiddenPin && !record->visible) record->position.side &= ~dockwins::kSidePinned;
    return read;
}

bool SaveDockPositions(pugi::xml_node root, const LayoutPanes& panes, int mdiMaximized)
{
    for (int n = 0; n < kPaneCount; ++n) {
        DockingWindowPlacement record = {};
        if (!PaneRecord(panes.panes[n], &record, true)) continue;
        char name[32];
        snprintf(name, sizeof name, "DfdockPos%d", n);
        WriteBytes(root, name, &record, sizeof record);
    }
    int32_t maximized = mdiMaximized;
    WriteBytes(root, "MDIWinMaximized", &maximized, sizeof maximized);
    return true;
}

bool WriteDocument(const pugi::xml_document& document, const char* path)
{
    std::ostringstream out;
    document.save(out, "\t", pugi::format_default | pugi::format_no_declaration);
    std::string text = "<?xml version=\"1.0\"?>\r\n" + out.str();
    return WriteFileReplacing(path, text) == 0;
}

bool LoadRoot(const char* path, CXMLFile* file, pugi::xml_node* root)
{
    if (path == nullptr || file->Load(path) != 1 || !file->document) return false;
    *root = file->document->child(kRoot);
    return static_cast<bool>(*root);
}

void ApplyOrReset(dockwins::CDockingWindow* pane, const DockingWindowPlacement& record,
                  const DockingWindowPlacement& fallback)
{
    if (!pane->ApplyPlacement(record)) pane->ApplyPlacement(fallback);
}

}  // namespace

std::string FormatBytes(const void* data, size_t count)
{
    static const char digits[] = "0123456789abcdef";
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    std::string text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
        text += ' ';
    }
    return text;
}

bool ParseBytes(const char* text, std::vector<uint8_t>* out)
{
    out->clear();
    if (text == nullptr) return false;
    const char* p = text;
    while (*p != '\0') {
        while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
        if (*p == '\0') break;
        if (!isxdigit(static_cast<unsigned char>(*p))) return false;
        unsigned long value = 0;
        while (isxdigit(static_cast<unsigned char>(*p))) {
            int digit = isdigit(static_cast<unsigned char>(*p)) ? *p - '0' : (tolower(*p) - 'a' + 10);
            value = (value << 4) | static_cast<unsigned long>(digit);
            ++p;
        }
        if (*p != '\0' && *p != ' ' && *p != '\t' && *p != '\r' && *p != '\n') return false;
        out->push_back(static_cast<uint8_t>(value & 0xFF));
    }
    return true;
}

std::string ChildName(int id)
{
    char name[32];
    snprintf(name, sizeof name, "Wnd-0x%x", static_cast<unsigned int>(id));
    return name;
}

uint32_t DockedKey(const DockPosition& p)
{
    uint32_t side = static_cast<uint32_t>(~p.side) & 3u;
    uint32_t bar = static_cast<uint32_t>(p.barIndex) & 0x3FFFu;
    uint32_t slot = static_cast<uint32_t>(static_cast<int>(p.ratio * 65535.0f)) & 0xFFFFu;
    return side << 30 | bar << 16 | slot;
}

int Scale(int value, Ratio ratio)
{
    if (ratio.den <= 0 || ratio.num == ratio.den) return value;
    return MulDiv(value, ratio.num, ratio.den);
}

Ratio RatioFor(int current, const std::vector<uint8_t>* stored)
{
    Ratio ratio;
    if (stored == nullptr || stored->size() != 4) return ratio;
    int32_t value;
    memcpy(&value, stored->data(), 4);
    // A stored extent of zero or less would divide by zero: it counts as missing.
    if (value <= 0 || value == current) return ratio;
    ratio.num = current;
    ratio.den = value;
    return ratio;
}

void ScalePlacement(DockingWindowPlacement* p, Ratio x, Ratio y)
{
    if (p->docked && !(p->position.side & 8)) {
        bool vertical = (p->position.side & 1) != 0;
        p->position.barWidth = Scale(p->position.barWidth, vertical ? x : y);
        p->position.extent = Scale(p->position.extent, vertical ? y : x);
    }
    p->floatRect.left = Scale(p->floatRect.left, x);
    p->floatRect.right = Scale(p->floatRect.right, x);
    p->floatRect.top = Scale(p->floatRect.top, y);
    p->floatRect.bottom = Scale(p->floatRect.bottom, y);
}

bool PlacementIsSound(const DockingWindowPlacement& p, const RECT& area)
{
    const DockPosition& d = p.position;
    if (d.side & ~(dockwins::kSideMask | dockwins::kSideOwnBar | dockwins::kSidePinned)) return false;
    if (!std::isfinite(d.ratio) || d.ratio < 0.0f || d.ratio > 1.0f) return false;
    int width = area.right - area.left, height = area.bottom - area.top;
    int largest = std::max(width, height);
    if (d.barWidth < 0 || d.extent < 0 || d.barWidth > largest || d.extent > largest) return false;
    if (d.barIndex < 0 || d.groupIndex < 0) return false;
    const RECT& f = p.floatRect;
    if (f.right < f.left || f.bottom < f.top) return false;
    if (f.right - f.left > width || f.bottom - f.top > height) return false;
    return true;
}

void BringOntoMonitor(RECT* rect)
{
    if (IsRectEmpty(rect)) return;
    if (MonitorFromRect(rect, MONITOR_DEFAULTTONULL) != nullptr) return;
    HMONITOR monitor = MonitorFromRect(rect, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info = {sizeof info};
    if (monitor == nullptr || !GetMonitorInfoA(monitor, &info)) return;
    const RECT& work = info.rcWork;
    int dx = 0, dy = 0;
    if (rect->right > work.right) dx = work.right - rect->right;
    if (rect->left + dx < work.left) dx = work.left - rect->left;
    if (rect->bottom > work.bottom) dy = work.bottom - rect->bottom;
    if (rect->top + dy < work.top) dy = work.top - rect->top;
    OffsetRect(rect, dx, dy);
}

std::string GetConfigMainPath(bool perUser)
{
    if (perUser) {
        char path[MAX_PATH] = {};
        if (GetUserDataFilePath(path, sizeof path, "configMain.xml", -1) == 0 && path[0] != '\0') return path;
    }
    return JoinPath(GetExeDir(), "configMain.xml");
}

bool SaveLayout(const char* path, HWND frame, HWND rebar, const LayoutPanes& panes, int mdiMaximized)
{
    if (path == nullptr || frame == nullptr) return false;
    pugi::xml_document document;
    pugi::xml_node root = document.append_child(kRoot);

    RECT area = WorkArea();
    pugi::xml_node general = root.append_child("General");
    int32_t cx = area.right - area.left, cy = area.bottom - area.top;
    WriteBytes(general, "SM_CXSCREEN", &cx, 4);
    WriteBytes(general, "SM_CYSCREEN", &cy, 4);

    pugi::xml_node main = root.append_child("MainWindow");
    WINDOWPLACEMENT placement = {sizeof placement};
    if (!GetWindowPlacement(frame, &placement)) return false;
    if (placement.showCmd == SW_SHOWMINIMIZED) placement.showCmd = SW_SHOWNORMAL;
    placement.flags &= WPF_RESTORETOMAXIMIZED;
    if (placement.flags & WPF_RESTORETOMAXIMIZED) placement.showCmd = SW_SHOWMAXIMIZED;
    WriteBytes(main, "placement", &placement, sizeof placement);

    // Children in ascending id order: the docking-window manager (-2), then the rebar (-1).
    pugi::xml_node manager = main.append_child(ChildName(-2).c_str());
    for (int id = -kPaneCount; id <= -1; ++id) {
        DockingWindowPlacement record = {};
        if (PaneRecord(panes.panes[kManagerPane[-id - 1]], &record, false))
            WriteBytes(manager, ChildName(id).c_str(), &record, sizeof record);
    }
    pugi::xml_node bands = main.append_child(ChildName(-1).c_str());
    int count = rebar != nullptr ? static_cast<int>(::SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0)) : 0;
    for (int i = 0; i < count; ++i) {
        REBARBANDINFOA band = {};
        band.cbSize = kBandRecordSize;
        band.fMask = kBandMask;
        ::SendMessageA(rebar, RB_GETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
        WriteBytes(bands, ("band" + std::to_string(i)).c_str(), &band, kBandRecordSize);
    }

    SaveDockPositions(root, panes, mdiMaximized);
    // The pane records go first on the root, as readers of the file expect them there.
    return WriteDocument(document, path);
}

bool SaveDockPositionsOnly(const char* path, const LayoutPanes& panes, int mdiMaximized)
{
    CXMLFile file;
    pugi::xml_node root;
    if (!LoadRoot(path, &file, &root)) return false;
    SaveDockPositions(root, panes, mdiMaximized);
    return WriteDocument(*file.document, path);
}

void ReadEarlyBarWidths(const char* path, int widths[kPaneCount])
{
    for (int n = 0; n < kPaneCount; ++n) widths[n] = 0;
    CXMLFile file;
    pugi::xml_node root;
    if (!LoadRoot(path, &file, &root)) return;
    RECT area = WorkArea();
    for (int n = 0; n < kPaneCount; ++n) {
        DockingWindowPlacement record;
        char name[32];
        snprintf(name, sizeof name, "DfdockPos%d", n);
        if (ReadBytes(root, name, &record, sizeof record) && PlacementIsSound(record, area))
            widths[n] = record.position.barWidth;
    }
}

bool RestoreLayout(const char* path, HWND frame, HWND rebar, const LayoutPanes& panes, int* mdiMaximized,
                   int* showCommand)
{
    if (showCommand != nullptr) *showCommand = -1;
    CXMLFile file;
    pugi::xml_node root;
    if (!LoadRoot(path, &file, &root)) return false;
    RECT area = WorkArea();
    Ratio x, y;
    pugi::xml_node general = root.child("General");
    if (general) {
        std::vector<uint8_t> cx, cy;
        pugi::xml_attribute ax = general.attribute("SM_CXSCREEN"), ay = general.attribute("SM_CYSCREEN");
        bool hasX = ax && ParseBytes(ax.value(), &cx), hasY = ay && ParseBytes(ay.value(), &cy);
        x = RatioFor(area.right - area.left, hasX ? &cx : nullptr);
        y = RatioFor(area.bottom - area.top, hasY ? &cy : nullptr);
    }

    pugi::xml_node main = root.child("MainWindow");
    WINDOWPLACEMENT placement;
    if (general && main && ReadBytes(main, "placement", &placement, sizeof placement)) {
        placement.length = sizeof placement;
        placement.ptMinPosition = {Scale(placement.ptMinPosition.x, x), Scale(placement.ptMinPosition.y, y)};
        placement.ptMaxPosition = {Scale(placement.ptMaxPosition.x, x), Scale(placement.ptMaxPosition.y, y)};
        RECT& normal = placement.rcNormalPosition;
        normal = {Scale(normal.left, x), Scale(normal.top, y), Scale(normal.right, x), Scale(normal.bottom, y)};
        bool sound = normal.right > normal.left && normal.bottom > normal.top;
        if (sound) {
            BringOntoMonitor(&normal);
            int show = static_cast<int>(placement.showCmd);
            if (show == SW_SHOWMINIMIZED || show == SW_MINIMIZE || show < 0 || show > SW_MAX) show = SW_SHOWNORMAL;
            placement.showCmd = SW_HIDE;
            placement.flags &= WPF_RESTORETOMAXIMIZED;
            SetWindowPlacement(frame, &placement);
            if (showCommand != nullptr) *showCommand = show;
        }
    }

    pugi::xml_node bands = main ? main.child(ChildName(-1).c_str()) : pugi::xml_node();
    int bandCount = rebar != nullptr && bands ? static_cast<int>(::SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0)) : 0;
    for (int i = 0; i < bandCount; ++i) {
        REBARBANDINFOA band = {};
        if (!ReadBytes(bands, ("band" + std::to_string(i)).c_str(), &band, kBandRecordSize)) continue;
        band.cbSize = kBandRecordSize;
        band.fMask = kBandMask;
        int at = static_cast<int>(::SendMessageA(rebar, RB_IDTOINDEX, band.wID, 0));
        if (at < 0) continue;
        ::SendMessageA(rebar, RB_MOVEBAND, at, i);
        ::SendMessageA(rebar, RB_SETBANDINFOA, i, reinterpret_cast<LPARAM>(&band));
    }

    // The docking-window manager's records: every pane hidden first, its current placement kept
    // as its default; floating records at once, docked ones in key order.
    DockingWindowPlacement defaults[kPaneCount] = {};
    bool captured[kPaneCount] = {};
    for (int n = 0; n < kPaneCount; ++n) {
        dockwins::CDockingWindow* pane = panes.panes[n];
        if (pane == nullptr || pane->Window() == nullptr) continue;
        captured[n] = PaneRecord(pane, &defaults[n], false);
        if (captured[n]) pane->Hide();
    }
    pugi::xml_node manager = main ? main.child(ChildName(-2).c_str()) : pugi::xml_node();
    std::multimap<uint32_t, std::pair<int, DockingWindowPlacement>> queue;
    for (int id = -1; id >= -kPaneCount; --id) {
        int n = kManagerPane[-id - 1];
        dockwins::CDockingWindow* pane = panes.panes[n];
        if (!captured[n]) continue;
        DockingWindowPlacement record;
        if (!manager || !ReadBytes(manager, ChildName(id).c_str(), &record, sizeof record) ||
            !PlacementIsSound(record, area)) {
            pane->ApplyPlacement(defaults[n]);
            continue;
        }
        ScalePlacement(&record, x, y);
        BringOntoMonitor(&record.floatRect);
        if (record.docked) queue.emplace(DockedKey(record.position), std::make_pair(n, record));
        else ApplyOrReset(pane, record, defaults[n]);
    }
    for (auto& entry : queue) ApplyOrReset(panes.panes[entry.second.first], entry.second.second, defaults[entry.second.first]);

    // The frame's own four records, in passes so that bars come back in their order.
    DockingWindowPlacement records[kPaneCount];
    for (int n = 0; n < kPaneCount; ++n) {
        char name[32];
        snprintf(name, sizeof name, "DfdockPos%d", n);
        if (!ReadBytes(root, name, &records[n], sizeof records[n])) return true;
    }
    bool sound[kPaneCount];
    for (int n = 0; n < kPaneCount; ++n) {
        sound[n] = captured[n] && PlacementIsSound(records[n], area);
        BringOntoMonitor(&records[n].floatRect);
    }
    bool applied[kPaneCount] = {};
    auto pass = [&](auto wanted) {
        for (int n = 0; n < kPaneCount; ++n) {
            if (!sound[n] || applied[n] || !wanted(records[n])) continue;
            panes.panes[n]->ApplyPlacement(records[n]);
            applied[n] = true;
        }
    };
    pass([](const DockingWindowPlacement& r) { return r.visible == 0; });
    pass([](const DockingWindowPlacement& r) { return (r.position.side & 1) == 0; });
    pass([](const DockingWindowPlacement& r) { return (r.position.side & 3) == 3; });
    pass([](const DockingWindowPlacement&) { return true; });
    for (int n : {1, 2})
        if (sound[n]) panes.panes[n]->ApplyPlacement(records[n]);
    for (int n : {2, 1, 0, 3})
        if (sound[n] && (records[n].position.side & dockwins::kSidePinned) && records[n].visible)
            panes.panes[n]->PinToSide();
    int32_t maximized = 0;
    if (mdiMaximized != nullptr) *mdiMaximized = ReadBytes(root, "MDIWinMaximized", &maximized, 4) ? maximized : 0;
    return true;
}

}  // namespace sstate
