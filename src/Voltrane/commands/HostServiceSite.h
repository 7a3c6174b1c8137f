// What the host-service families need of the rest of the program: the drawing views and their
// drawing blocks, the drawings and their files, the pages and layers of the drawing side, and the
// parameter-panel model. One object answers all of it, so the families read as one road and
// tests put hidden windows owning engine databases behind it.
//
// The default answers with the program's drawing views where they exist; every service whose
// owner is not built yet answers as the program with no drawing open (0, nothing changed), and
// each such place says so.
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"
#include "HostRecords.h"

// The parameter-panel functions the panel messages hand their parameters to.
enum PboxFunction {
    kPboxCreatePanel,
    kPboxDestroyPanel,
    kPboxShowWindow,
    kPboxHideWindow,
    kPboxShowPanel,
    kPboxAddPushButton,
    kPboxAddRadioButton,
    kPboxAddCheckButton,
    kPboxAddList,
    kPboxAddListEx,
    kPboxAddEdit,
    kPboxAddText,
    kPboxAddCombo,
    kPboxGetItemText,
    kPboxSetItemText,
    kPboxSetItemText2,
    kPboxGetItemText2,
    kPboxItemValue,
    kPboxItemValue2,
    kPboxComboSelection,
    kPboxEnableItem,
    kPboxSetItemColors,
    kPboxPressItem,
    kPboxSetItemLabel,
};

// How a panel function is called: form A with the main window, wParam and lParam (and for the
// destroy a fourth argument); form B with wParam and lParam only.
struct PboxCall {
    PboxFunction function;
    bool withMainWindow;  // form A
    HWND mainWindow;      // form A only
    WPARAM wParam;
    LPARAM lParam;
    int fourth;           // the destroy's fourth argument; 0 frees the panel completely
};

class CHostServiceSite {
public:
    virtual ~CHostServiceSite() = default;

    HWND MainWindow();

    // ---- views ----
    virtual HWND ActiveView();
    // The drawing block of a view, null for a window that is no drawing view.
    virtual PDBINFO* ViewBlock(HWND view);
    // The views that show the drawing of this view (the view itself first); their count.
    virtual int ViewsOfDrawing(HWND view, HWND* out, int capacity);
    virtual void RepaintView(HWND view);
    // Captions and tool panel after the drawing's information or reference mode changed.
    virtual void RefreshDrawingViews(HWND view);
    virtual void SetDrawingModified(HWND view);
    virtual void ClearDrawingModified(HWND view);
    // The current drawing attributes were written by a plug-in.
    virtual void NotifyDrawingAttributesChanged();
    // Element redraw in the views (mode -2 redraw, others a draw mode): the view services.
    virtual LRESULT RedrawElementInViews(HWND view, int mode, void* element);
    // The margin-frame colour index and margins (millimetres) of the margin settings.
    virtual int MarginFrameColour();
    virtual void Margins(bool landscape, double* left, double* right, double* top, double* bottom);
    // Whether a zoom to an area leaves the view's margin (GetViewShrinkRatio).
    virtual int ViewMarginOn();
    virtual void RefreshToolPanel();
    // WM_COMMAND to the tool panel window, when there is one.
    virtual void SendToolPanelCommand(WPARAM command);

    // ---- drawings and files ----
    // Saves the drawing of the view: mode 2 forced, 3 forced to the name given, 4 plain.
    virtual LRESULT SaveDrawing(HWND view, int mode, const char* fileName);
    virtual LRESULT LoadLinkedTiffImage(const char* drawingPath);
    virtual LRESULT RunExportPlugin(const char* arguments);
    virtual LRESULT RunDrawingEventCommand(int type);
    virtual LRESULT ReadAttachedDbElement(CmdParamRecord* record);
    virtual void* AttachedDatabase(HWND view);
    virtual void SetOpenSwitch(int which, int on);
    virtual int OpenSwitch(int which);
    virtual const char* CommandLineById(int id);
    virtual void ClearUndo(void* database);
    // Deletes a page of the view's drawing.
    virtual LRESULT DeletePage(HWND view, int page);
    virtual void SetAuxiliaryViewRefresh();

    // ---- layers and pages (the drawing side) ----
    virtual LRESULT GetActiveLayerName(int page, int layer, char* buffer, INT_PTR out);
    virtual LRESULT SetActiveLayerName(int page, int layer, const char* name, const char* group);
    virtual LRESULT CollectPageLayerUsage(HWND view, WORD* table, int page);
    // The page services of the drawing side that the page message hands its record to:
    // sub-codes 1-3, 5, 8-12, 15, 17-19 and 22.
    virtual LRESULT PageService(int subCode, LPARAM lParam);

    // ---- parameter panels ----
    virtual LRESULT CallPanel(const PboxCall& call);
};

CHostServiceSite& GetHostServiceSite();
// Tests install their own site; null puts the program's back.
void SetHostServiceSite(CHostServiceSite* site);

// The drawing block of the active view, null without a view or block.
PDBINFO* ActiveDrawingBlock(CHostServiceSite& site);
