// The docking layout file "configMain.xml": the main window's placement, the rebar bands, the
// four panes' placements and the maximised state of the drawing windows. Values are attributes
// holding bytes as lowercase hexadecimal pairs each followed by a blank.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "mainframe/docking/DockRequests.h"
#include "mainframe/docking/DockingWindow.h"

namespace sstate {

static_assert(sizeof(WINDOWPLACEMENT) == 44, "the stored main window placement is 44 bytes");
// A stored band is the 80-byte form of the band record (up to cxHeader), whatever size the
// headers give the record today.
constexpr size_t kBandRecordSize = 80;
static_assert(offsetof(REBARBANDINFOA, cxHeader) + sizeof(UINT) == kBandRecordSize, "the stored rebar band is 80 bytes");

constexpr int kPaneCount = 4;

// A scaling ratio for MulDiv; (1, 1) leaves values alone.
struct Ratio {
    int num = 1;
    int den = 1;
};

std::string FormatBytes(const void* data, size_t count);
// Accepts any whitespace-separated hexadecimal numbers, keeping the low eight bits of each;
// false for anything else.
bool ParseBytes(const char* text, std::vector<uint8_t>* out);
// "Wnd-0x" and the id as unsigned hexadecimal: -1 gives "Wnd-0xffffffff".
std::string ChildName(int id);
// Docked records are applied smallest key first: left, top, right, bottom; outer bars first;
// front slots first.
uint32_t DockedKey(const dockwins::DockPosition& position);
int Scale(int value, Ratio ratio);
// The ratio of the current work-area extent to a stored one; 1:1 when the stored value is
// missing, not 4 bytes, not positive or equal to the current one.
Ratio RatioFor(int current, const std::vector<uint8_t>* stored);
// Scales a placement for another work area: bar width and extent of a docked record by the
// side's axes, the floating rectangle always.
void ScalePlacement(dockwins::DockingWindowPlacement* placement, Ratio x, Ratio y);
// Whether a stored placement can be applied within the work area.
bool PlacementIsSound(const dockwins::DockingWindowPlacement& placement, const RECT& workArea);
// Moves a rectangle that lies outside every monitor onto the nearest one.
void BringOntoMonitor(RECT* rect);

// The per-user path (bWindowSz on) or the program folder's copy.
std::string GetConfigMainPath(bool perUser);

// The panes in the order of the "DfdockPos%d" numbers: first command panel, application panel,
// tool panel, second command panel.
struct LayoutPanes {
    dockwins::CDockingWindow* panes[kPaneCount] = {};
};

// Writes the whole layout (a fresh document) through a file replacing the old one. false when
// nothing was written.
bool SaveLayout(const char* path, HWND frame, HWND rebar, const LayoutPanes& panes, int mdiMaximized);
// Loads the existing file and rewrites only the "DfdockPos%d" records and "MDIWinMaximized".
bool SaveDockPositionsOnly(const char* path, const LayoutPanes& panes, int mdiMaximized);
// Restores the layout; false (nothing changed) when the file is missing, unparsable or rootless.
// showCommand receives the stored show command of the main window (or -1 without one).
bool RestoreLayout(const char* path, HWND frame, HWND rebar, const LayoutPanes& panes, int* mdiMaximized,
                   int* showCommand);
// The bar widths of the four "DfdockPos%d" records, for the panes' first docking; 0 where a
// record is missing or unsound.
void ReadEarlyBarWidths(const char* path, int widths[kPaneCount]);

}  // namespace sstate
