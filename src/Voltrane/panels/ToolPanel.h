// The tool panel "基本操作": the window inside the draw-panel pane with up to four groups
// (paper, scale and cursor coordinates; attribute pickers and layers; snap modes; other input
// aids). It keeps the pickers in step with the current drawing attributes, the snap buttons in
// step with LMsFg, and turns its buttons into commands.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>

#include "WinKit/MessageLoop.h"
#include "WinKit/Window.h"
#include "controls/AttrCombos.h"
#include "panels/PanelCheckButton.h"
#include "panels/ToolPanelLayout.h"

class CToolPanel : public WinKit::CWindowImpl<CToolPanel>, public WinKit::CMessageFilter, public WinKit::CIdleHandler {
public:
    static WinKit::CWndClassInfo& GetWndClassInfo();
    static DWORD GetWndStyle(DWORD) { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN; }

    CToolPanel();
    ~CToolPanel() override;

    // The panel's copy of LMsFg, written back when the window goes.
    int snapModes = 0;
    const ToolPanelLayout& Layout() const { return m_layout; }

    // The panel sits in the thread's message loop as filter and idle handler but takes no
    // message and wants no idle time: the frame's own filter handles the accelerators.
    BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    BOOL OnIdle() override { return FALSE; }

    WK_BEGIN_MSG_MAP(CToolPanel)
        WK_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
        WK_MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
        WK_MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColorButton)
        WK_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_USER, OnAttributesChanged)
        WK_MESSAGE_HANDLER(WM_APP, OnShowCoordinates)
    WK_END_MSG_MAP()

    // Toggles the bit of a snap button (3402 stands for 0x01) and shows the word everywhere.
    void ToggleSnap(int id);
    // The object of a button of the panel (its window exists only while its group is shown).
    CPanelCheckButton* Button(int id);

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCtlColorStatic(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCtlColorButton(UINT, WPARAM, LPARAM, BOOL&) { return reinterpret_cast<LRESULT>(m_backBrush); }
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnAttributesChanged(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnShowCoordinates(UINT, WPARAM, LPARAM, BOOL&);

    void RunLayout();
    void DestroyControls();
    void CreateControl(const ToolPanelControl& control);
    CAttrComboBase* Picker(int id);

    void OnPickerChosen(int id);
    void ReloadAttributes();
    void OnCurrentLayerChosen();
    void OnLayerManager();
    void OnAddLayer();
    void OnCurrentLayerDialog(int code);
    void OnLineSettings();
    void OnPageLayout(LPARAM lParam);
    void OnAttributeImport(LPARAM lParam);
    void OnTemporaryPoint(LPARAM lParam);
    void OnCoordinateInput(LPARAM lParam);
    void OnTwoPointMidpoint(LPARAM lParam);
    void OnGrid(LPARAM lParam);
    void OnCursorMode(int code);
    void OnOtherCommand(int id);
    void SetButtonChecked(HWND button, int checked);
    void RedrawChild(int id, bool erase);

    void JoinMessageLoop();
    void LeaveMessageLoop();

    ToolPanelLayout m_layout;
    bool m_inMessageLoop = false;
    int m_groups = 0xFFFF;
    COLORREF m_backColor = 0;
    HBRUSH m_backBrush = nullptr;
    HFONT m_fonts[4] = {};
    std::map<int, CPanelCheckButton> m_buttons;
    CLineColorCombo m_colour;
    CLineTypeCombo m_lineType;
    CLineWidthCombo m_width;
    CLineEndTypeCombo m_startMark;
    CLineEndTypeCombo m_endMark;
};

// The panel object while its window exists, else null.
CToolPanel* GetToolPanel();

// The paper text of a drawing's paper code: the name of the first sized paper row with that
// code, else "その他".
std::string ToolPanelPaperName(uint16_t paperCode);

// The paper and scale texts of the view's drawing, or empty texts for none; nothing without
// the panel's group 1.
void ShowPaperAndScaleOnToolPanel(HWND view);

// The line width and end-mark dialog over the active window; rows holds the width row and the
// start and end mark rows, in and out (written only at OK). The end code, IDOK or IDCANCEL.
int RunLineSettingsDialog(int rows[3]);
