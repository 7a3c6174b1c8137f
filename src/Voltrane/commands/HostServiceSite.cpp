#include "commands/HostServiceSite.h"

#include "DravikDb.h"
#include "commands/CommandCatalog.h"
#include "commands/CommandHost.h"
#include "commands/ElementServices.h"
#include "commands/PluginModules.h"
#include "commands/UndoServices.h"
#include "core/CadSystem.h"
#include "drawing/DrawingOpen.h"
#include "drawing/PageOperations.h"
#include "panels/ParameterPanelDisplay.h"
#include "panels/ParameterPanelModel.h"
#include "view/ViewServices.h"
#include "view/ElementDrawing.h"
#include "view/ViewTable.h"

namespace {

CHostServiceSite g_programSite;
CHostServiceSite* g_site = &g_programSite;

}  // namespace

CHostServiceSite& GetHostServiceSite() { return *g_site; }

void SetHostServiceSite(CHostServiceSite* site) { g_site = site ? site : &g_programSite; }

PDBINFO* ActiveDrawingBlock(CHostServiceSite& site)
{
    HWND view = site.ActiveView();
    return view != nullptr ? site.ViewBlock(view) : nullptr;
}

HWND CHostServiceSite::MainWindow() { return GetCommandHost().MainWindow(); }

HWND CHostServiceSite::ActiveView() { return GetActiveView(); }

PDBINFO* CHostServiceSite::ViewBlock(HWND view) { return GetViewBlock(view); }

int CHostServiceSite::ViewsOfDrawing(HWND view, HWND* out, int capacity)
{
    PDBINFO* block = ViewBlock(view);
    if (block == nullptr || capacity <= 0) return 0;
    int count = 0;
    out[count++] = view;
    for (int slot = 0; slot < kViewTableSize && count < capacity; ++slot) {
        HWND other = GetViewInSlot(slot);
        if (other == nullptr || other == view) continue;
        PDBINFO* otherBlock = ViewBlock(other);
        if (otherBlock != nullptr && otherBlock->engineDb == block->engineDb) out[count++] = other;
    }
    return count;
}

void CHostServiceSite::RepaintView(HWND view)
{
    if (view == nullptr) return;
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
}

void CHostServiceSite::RefreshDrawingViews(HWND view) { ::RefreshDrawingViews(view); }
void CHostServiceSite::SetDrawingModified(HWND view) { ::SetDrawingModified(view); }
void CHostServiceSite::ClearDrawingModified(HWND view)
{
    if (PDBINFO* block = ViewBlock(view)) block->modified = 0;
}
void CHostServiceSite::NotifyDrawingAttributesChanged() { RefreshToolPanelAttributes(); }
LRESULT CHostServiceSite::RedrawElementInViews(HWND view, int colour, void* element)
{
    return ::RedrawElementInViews(view, colour, element);
}

int CHostServiceSite::MarginFrameColour() { return GetCadSystem().setup.paper_margin.color; }

void CHostServiceSite::Margins(bool landscape, double* left, double* right, double* top, double* bottom)
{
    const PaperMarginEx& m = GetCadSystem().setup.paper_margin;
    *left = landscape ? m.left : m.left2;
    *right = landscape ? m.right : m.right2;
    *top = landscape ? m.top : m.top2;
    *bottom = landscape ? m.bottom : m.bottom2;
}

// The settings hold no view-margin switch yet: zooms fill the client area.
int CHostServiceSite::ViewMarginOn() { return 0; }

void CHostServiceSite::RefreshToolPanel() { RefreshToolPanelDrawingInfo(); }

void CHostServiceSite::SendToolPanelCommand(WPARAM command)
{
    if (HWND panel = GetToolPanelWindow()) SendMessageA(panel, WM_COMMAND, command, 0);
}

LRESULT CHostServiceSite::ReadAttachedDbElement(CmdParamRecord* p)
{
    return reinterpret_cast<LRESULT>(::ReadAttachedDbElement(p->view, reinterpret_cast<void*>(p->element),
                                                             static_cast<int>(p->record), p->elementRecord));
}

void* CHostServiceSite::AttachedDatabase(HWND view)
{
    PDBINFO* block = ViewBlock(view);
    auto* record = block ? static_cast<EngineDbRecord*>(block->engineDb) : nullptr;
    auto* attachment = record ? static_cast<RasterAttachment*>(record->rasterAttachment) : nullptr;
    return attachment ? attachment->attachedDb : nullptr;
}

// The views' save knows no other name than the drawing's own: a save to a given name is not
// available until the drawing files are built.
LRESULT CHostServiceSite::SaveDrawing(HWND view, int mode, const char* fileName)
{
    return fileName == nullptr ? ::SaveDrawing(view, mode) : 0;
}

// The drawing files' services (linked images, export, drawing events, attached
// databases, the open switches) are not built yet: they answer "not done" and change nothing.
// A plug-in's request loads the linked image without asking.
LRESULT CHostServiceSite::LoadLinkedTiffImage(const char* drawingPath) { return ::LoadLinkedTiffImage(drawingPath, 1); }
LRESULT CHostServiceSite::RunExportPlugin(const char* arguments) { return ::RunExportPlugin(arguments); }
LRESULT CHostServiceSite::RunDrawingEventCommand(int type)
{
    return ::RunDrawingEventCommand(ViewBlock(ActiveView()), type);
}
void CHostServiceSite::SetOpenSwitch(int, int) {}
int CHostServiceSite::OpenSwitch(int) { return 0; }
void CHostServiceSite::ClearUndo(void* database) { ::ClearUndo(database); }

// The command line stays in the host's buffer until the next request.
const char* CHostServiceSite::CommandLineById(int id)
{
    static char line[MAX_PATH * 2];
    return GetLumbraCmd().GetCommandLineById(id, line, sizeof(line)) ? line : nullptr;
}
void CHostServiceSite::SetAuxiliaryViewRefresh() { RequestAuxViewRefresh(); }

LRESULT CHostServiceSite::DeletePage(HWND view, int page) { return ::DeletePageOf(view, page, 0); }

LRESULT CHostServiceSite::GetActiveLayerName(int page, int layer, char* buffer, INT_PTR out)
{
    return ::GetActiveLayerName(page, layer, buffer, reinterpret_cast<char*>(out));
}
LRESULT CHostServiceSite::SetActiveLayerName(int page, int layer, const char* name, const char* group)
{
    return ::SetActiveLayerName(page, layer, name, group);
}
LRESULT CHostServiceSite::CollectPageLayerUsage(HWND view, WORD* table, int page)
{
    return ::CollectPageLayerUsage(view, table, page);
}
LRESULT CHostServiceSite::PageService(int subCode, LPARAM lParam) { return RunPageService(subCode, lParam); }

LRESULT CHostServiceSite::CallPanel(const PboxCall& call)
{
    const auto* add = reinterpret_cast<const PboxAddRequest*>(call.lParam);
    const auto* item = reinterpret_cast<const PboxItemRequest*>(call.lParam);
    switch (call.function) {
    case kPboxCreatePanel: return PboxCreatePanel(reinterpret_cast<const char*>(call.lParam));
    case kPboxDestroyPanel: return PboxDestroyPanel(static_cast<int>(call.lParam), call.fourth);
    case kPboxShowWindow:
    case kPboxHideWindow: {
        HWND window = reinterpret_cast<HWND>(call.lParam);
        if (window != nullptr && IsWindow(window)) ShowWindow(window, call.function == kPboxShowWindow ? SW_SHOW : SW_HIDE);
        return 1;
    }
    case kPboxShowPanel: return PboxShowPanel(add);
    case kPboxAddPushButton: return PboxAddPushButton(add);
    case kPboxAddRadioButton: return PboxAddRadioButton(add);
    case kPboxAddCheckButton: return PboxAddCheckButton(add);
    case kPboxAddList: return PboxAddList(add);
    case kPboxAddListEx: return PboxAddListEx(add);
    case kPboxAddEdit: return PboxAddEdit(add);
    case kPboxAddText: return PboxAddText(add);
    case kPboxAddCombo: return PboxAddCombo(add);
    case kPboxGetItemText: return PboxGetItemText(item);
    case kPboxSetItemText: return PboxSetItemText(item);
    case kPboxSetItemText2: return PboxSetItemText2(item);
    case kPboxGetItemText2: return PboxGetItemText2(item);
    case kPboxItemValue: return PboxItemValue(item);
    case kPboxItemValue2: return PboxItemValue2(item);
    case kPboxComboSelection: return PboxComboSelection(item);
    case kPboxEnableItem: return PboxEnableItem(item);
    case kPboxSetItemColors: return PboxSetItemColors(item);
    case kPboxPressItem: return PboxPressItem(item);
    case kPboxSetItemLabel: return PboxSetItemLabel(item);
    }
    return 0;
}
