#include "panels/ToolPanel.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "Dravik.h"
#include "WinKit/AppModule.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "commands/InputEvent.h"
#include "commands/SystemCommandDispatcher.h"
#include "controls/LineEndTypes.h"
#include "controls/PickerField.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "dialogs/PointInput.h"
#include "dialogs/SettingDialogs.h"
#include "drawing/AddLayerDialog.h"
#include "drawing/CurrentLayerDialog.h"
#include "drawing/LayerManagerDialog.h"
#include "drawing/LayerPageTree.h"
#include "drawing/PageOperations.h"
#include "drawing/PaperTable.h"
#include "drawing/ScaleText.h"
#include "panels/CoordinateTexts.h"
#include "panels/CustomRightMenu.h"
#include "panels/DrawingAttributes.h"
#include "panels/RightMenu.h"
#include "panels/SnapModes.h"
#include "view/ElementDrawing.h"
#include "view/RubberBand.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

CToolPanel* g_panel = nullptr;

constexpr int kLayerFieldId = 3312;
constexpr int kButtonIds[] = {3409, 3408, 3406, 3404, 3405, 3410, 3411, 3412, 3418, 3516, 3989, 3999, 3314, 3310};

struct FontSpec {
    const char* face;
    int height;
    int weight;
};
constexpr FontSpec kFonts[4] = {{"ＭＳ Ｐゴシック", 12, 400},
                                {"ＭＳ ゴシック", 12, 700},
                                {"ＭＳ ゴシック", 14, 400},
                                {"ＭＳ ゴシック", 14, 700}};

HWND MainFrame() { return GetMainFrameWnd(); }

// The active view's data block, null without an active view or without a block.
PDBINFO* ActiveBlock()
{
    HWND view = GetActiveView();
    return view != nullptr ? GetViewBlock(view) : nullptr;
}

bool IsChecked(HWND button) { return button != nullptr && ::GetWindowLongA(button, kPanelButtonChecked) != 0; }

}  // namespace

CToolPanel* GetToolPanel() { return g_panel; }
HWND GetToolPanelWindow() { return g_panel != nullptr ? g_panel->m_hWnd : nullptr; }

WinKit::CWndClassInfo& CToolPanel::GetWndClassInfo()
{
    static WinKit::CWndClassInfo info = {
        {sizeof(WNDCLASSEXA), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, WinKit::CWindowImplRoot::WindowProc, 0, 0,
         nullptr, nullptr, nullptr, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, "ToolPanel", nullptr},
        nullptr, 0, nullptr};
    if (info.wc.hCursor == nullptr) info.wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    return info;
}

CToolPanel::CToolPanel()
{
    for (int id : kButtonIds) m_buttons[id];
    m_startMark.m_side = 0;
    m_endMark.m_side = 1;
}

CToolPanel::~CToolPanel()
{
    // A window destroyed without WM_DESTROY reaching it must not leave the loop a dead pointer.
    LeaveMessageLoop();
    for (HFONT& font : m_fonts) {
        if (font != nullptr) DeleteObject(font);
        font = nullptr;
    }
    if (m_backBrush != nullptr) DeleteObject(m_backBrush);
    if (g_panel == this) g_panel = nullptr;
}

CAttrComboBase* CToolPanel::Picker(int id)
{
    switch (id) {
    case kPickerColour: return &m_colour;
    case kPickerLineType: return &m_lineType;
    case kPickerWidth: return &m_width;
    case kPickerStartMark: return &m_startMark;
    case kPickerEndMark: return &m_endMark;
    default: return nullptr;
    }
}

CPanelCheckButton* CToolPanel::Button(int id)
{
    auto it = m_buttons.find(id);
    return it != m_buttons.end() ? &it->second : nullptr;
}

// ---- creation and layout ----

LRESULT CToolPanel::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    snapModes = static_cast<int>(GetLocalSettingsLive().setup.LMsFg);
    JoinMessageLoop();
    for (int i = 0; i < 4; ++i) {
        LOGFONTA font = {};
        font.lfHeight = kFonts[i].height;
        font.lfWeight = kFonts[i].weight;
        font.lfCharSet = SHIFTJIS_CHARSET;
        std::snprintf(font.lfFaceName, sizeof font.lfFaceName, "%s", kFonts[i].face);
        m_fonts[i] = CreateFontIndirectA(&font);
    }
    m_backColor = GetDialogBackColor();
    m_backBrush = CreateSolidBrush(m_backColor);
    g_panel = this;
    RunLayout();
    return 0;
}

LRESULT CToolPanel::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    GetLocalSettingsLive().setup.LMsFg = snapModes;
    LeaveMessageLoop();
    DestroyCurrentLayerDialog();
    if (g_panel == this) g_panel = nullptr;
    return 0;
}

void CToolPanel::JoinMessageLoop()
{
    if (m_inMessageLoop) return;
    if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
        loop->AddMessageFilter(this);
        loop->AddIdleHandler(this);
        m_inMessageLoop = true;
    }
}

void CToolPanel::LeaveMessageLoop()
{
    if (!m_inMessageLoop) return;
    if (WinKit::CMessageLoop* loop = WinKit::Module().GetMessageLoop()) {
        loop->RemoveMessageFilter(this);
        loop->RemoveIdleHandler(this);
    }
    m_inMessageLoop = false;
}

void CToolPanel::DestroyControls()
{
    HWND child = ::GetWindow(m_hWnd, GW_CHILD);
    while (child != nullptr) {
        HWND next = ::GetWindow(child, GW_HWNDNEXT);
        ::DestroyWindow(child);
        child = next;
    }
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CToolPanel::CreateControl(const ToolPanelControl& c)
{
    RECT rc = {c.x, c.y, c.x + c.width, c.y + c.height};
    const HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id != 0 ? c.id : 0xFFFF));
    switch (c.kind) {
    case ToolControlKind::Static: {
        HWND text = CreateWindowExA(0, "STATIC", c.text.c_str(), WS_CHILD | WS_VISIBLE, c.x, c.y, c.width, c.height,
                                    m_hWnd, id, GetModuleHandleA(nullptr), nullptr);
        if (text != nullptr && c.font >= 1 && c.font <= 4)
            ::SendMessageA(text, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts[c.font - 1]), TRUE);
        break;
    }
    case ToolControlKind::Picker:
        if (CAttrComboBase* picker = Picker(c.id)) {
            HWND window = nullptr;
            const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
            switch (c.id) {
            case kPickerColour: window = m_colour.Create(m_hWnd, &rc, nullptr, style, 0, id); break;
            case kPickerLineType: window = m_lineType.Create(m_hWnd, &rc, nullptr, style, 0, id); break;
            case kPickerWidth: window = m_width.Create(m_hWnd, &rc, nullptr, style, 0, id); break;
            case kPickerStartMark: window = m_startMark.Create(m_hWnd, &rc, nullptr, style, 0, id); break;
            default: window = m_endMark.Create(m_hWnd, &rc, nullptr, style, 0, id); break;
            }
            if (window != nullptr) ::SendMessageA(window, WM_PICKER_SET_FLAGS, 0, picker->Flags() | kPickerCompact);
        }
        break;
    case ToolControlKind::Button:
        if (CPanelCheckButton* button = Button(c.id))
            button->Create(m_hWnd, &rc, c.text.c_str(), WS_CHILD | WS_VISIBLE, 0, id);
        break;
    case ToolControlKind::LayerField: {
        HWND field = CreateWindowExA(0, "cmdlayerclass", "", WS_CHILD, c.x, c.y, c.width, c.height, m_hWnd, id,
                                     GetModuleHandleA(nullptr), nullptr);
        if (field != nullptr) {
            ::ShowWindow(field, SW_SHOW);
            ::SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(m_fonts[0]), TRUE);
        }
        break;
    }
    }
}

void CToolPanel::RunLayout()
{
    DestroyControls();
    m_groups = GetCadSystem().localWindow.ToolPanelDispMode & 0xF;
    m_layout = LayOutToolPanel(m_groups, GetCadSystem().lowResPanel != 0);
    for (const ToolPanelControl& c : m_layout.controls) CreateControl(c);
    ShowSnapWordOnButtons(m_hWnd, snapModes);
    if (m_groups & kToolGroupSnap) Button(3405)->SetLocked(GetLocalSettingsLive().iLockBtnSnapNINNITEN != 0);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// ---- painting ----

LRESULT CToolPanel::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    HPEN pen = CreatePen(PS_SOLID, 3, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ old = SelectObject(dc, pen);
    for (int y : m_layout.separators) {
        if (y == 0) break;
        MoveToEx(dc, 0, y, nullptr);
        LineTo(dc, rc.right, y);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
    ::EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CToolPanel::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    FillRect(reinterpret_cast<HDC>(wParam), &rc, m_backBrush);
    return 1;
}

LRESULT CToolPanel::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    SetBkColor(reinterpret_cast<HDC>(wParam), m_backColor);
    return reinterpret_cast<LRESULT>(m_backBrush);
}

LRESULT CToolPanel::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    if (HWND parent = ::GetParent(m_hWnd)) ::SendMessageA(parent, WM_COMMAND, 1000, 0);
    return 0;
}

// ---- commands ----

void CToolPanel::SetButtonChecked(HWND button, int checked)
{
    if (button == nullptr) return;
    ::SetWindowLongA(button, kPanelButtonChecked, checked ? 1 : 0);
    ::InvalidateRect(button, nullptr, FALSE);
    ::UpdateWindow(button);
}

void CToolPanel::RedrawChild(int id, bool erase)
{
    if (HWND child = ::GetDlgItem(m_hWnd, id)) {
        ::InvalidateRect(child, nullptr, erase ? TRUE : FALSE);
        ::UpdateWindow(child);
    }
}

void CToolPanel::ToggleSnap(int id)
{
    const int bit = id == 3402 ? 0x01 : SnapBitOfButton(id);
    if (bit == 0) return;
    snapModes = NormalizeSnapWord(ToggleSnapWord(snapModes, bit));
    GetLocalSettingsLive().setup.LMsFg = snapModes;
    ShowSnapWordOnButtons(m_hWnd, snapModes);
    if (RightMenuPopupShown()) ShowSnapWordOnButtons(GetRightMenuContainer(), snapModes);
}

LRESULT CToolPanel::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    switch (id) {
    case kPickerStartMark: case kPickerColour: case kPickerLineType: case kPickerEndMark: case kPickerWidth:
        if (code == kPickerClosedCode) OnPickerChosen(id);
        return 0;
    case 3822: ReloadAttributes(); return 0;
    case 3821: RedrawChild(kLayerFieldId, false); return 0;
    case 3402: case 3404: case 3405: case 3410: case 3411: case 3412: case 3418: ToggleSnap(id); return 0;
    case kLayerFieldId: OnCurrentLayerChosen(); return 0;
    case 3310: OnLayerManager(); return 0;
    case 3311: OnCurrentLayerDialog(code); return 0;
    case 3313: OnLineSettings(); return 0;
    case 3314: OnPageLayout(lParam); return 0;
    case 3315: OnAddLayer(); return 0;
    case 100: {
        HWND button = ::GetDlgItem(m_hWnd, 3314);
        if (code == 0 || code == 1) SetButtonChecked(button, code);
        else if (code == 100) {
            const PDBINFO* block = reinterpret_cast<const PDBINFO*>(lParam);
            SetButtonChecked(button, block != nullptr && block->pageLayout != 0);
        }
        return 0;
    }
    case 200:
        if (HWND field = ::GetDlgItem(m_hWnd, kLayerFieldId)) {
            if (code == 1) ::InvalidateRect(field, nullptr, TRUE);
            else if (code == 100) ::PostMessageA(field, WM_USER, 0, 0);
        }
        return 0;
    case 3408: OnAttributeImport(lParam); return 0;
    case 3409: OnTemporaryPoint(lParam); return 0;
    case 3989: OnCoordinateInput(lParam); return 0;
    case 3999: OnTwoPointMidpoint(lParam); return 0;
    case 3516: OnGrid(lParam); return 0;
    case 3406: OnCursorMode(code); return 0;
    case 3510: case 3511: case 3512:
        GetCadSystem().localWindow.MOUSE = id - 3510;
        GetLocalSettingsLive().mouseMode = id - 3510;
        return 0;
    case 8003:
        if (GetActiveView() == nullptr)
            ::MessageBoxA(m_hWnd, "座標表示オプション選択ダイアログを起動できません", "確認", MB_ICONWARNING);
        else
            ShowSetCoordDispDlg();
        return 0;
    case 3230:
        if (HWND main = MainFrame()) ::PostMessageA(main, WM_COMMAND, 4021, 0);
        return 0;
    case 10:
        RunLayout();
        ::SendMessageA(m_hWnd, WM_COMMAND, 3822, 0);
        // The paper and scale fields are made anew and empty: the drawing's texts go back in.
        ShowPaperAndScaleOnToolPanel(GetActiveView());
        return 0;
    default:
        OnOtherCommand(id);
        return 0;
    }
}

void CToolPanel::OnOtherCommand(int id)
{
    CloseRightMenu();
    HWND main = MainFrame();
    switch (id) {
    case 1306: case 1307: case 1308:
        if (main) ::PostMessageA(main, WM_COMMAND, id, 0);
        break;
    case 3001:
        ::ShowWindow(m_hWnd, SW_HIDE);
        if (main) ::SendMessageA(main, WM_SIZE, 0, 0);
        if (HWND view = GetActiveView(); view != nullptr && !::IsWindowVisible(m_hWnd)) {
            HWND child = ::GetParent(view);
            ::ShowWindow(child != nullptr ? child : view, SW_SHOWMAXIMIZED);
        }
        break;
    case 3002:
        if (main) ::PostMessageA(main, WM_COMMAND, 4022, 0);
        break;
    case 3517:
        if (HWND button = ::GetDlgItem(m_hWnd, 3516)) SetButtonChecked(button, 0);
        SetGridOn(0);
        if (HWND view = GetActiveView()) {
            InvalidateDrawingViews(view);
            if (main) ::PostMessageA(main, WM_COMMAND, 1350, 0);
        }
        break;
    case 3518:
        ShowPaperAndScaleOnToolPanel(GetActiveView());
        break;
    default:
        break;
    }
}

void CToolPanel::OnPickerChosen(int id)
{
    HWND picker = ::GetDlgItem(m_hWnd, id);
    if (picker == nullptr) return;
    const int row = static_cast<int>(::SendMessageA(picker, WM_PICKER_GET_VALUE, 0, 0));
    PDBINFO* block = ActiveBlock();
    DrawingAttributes& target = block != nullptr ? AttributesOfBlock(*block) : DefaultDrawingAttributes();
    StorePickerRow(target, id, row);
    if (id == kPickerColour) GetLocalSettingsLive().iDrawColor = row + 1;
    ::SendMessageA(m_hWnd, WM_USER, 0, 1);
}

void CToolPanel::ReloadAttributes()
{
    const DrawingAttributes* source = &DefaultDrawingAttributes();
    if (HWND view = GetActiveView()) {
        PDBINFO* block = GetViewBlock(view);
        if (block == nullptr) return;
        source = &AttributesOfBlock(*block);
    }
    auto send = [this](int id, UINT message, LPARAM value) {
        if (HWND child = ::GetDlgItem(m_hWnd, id)) ::SendMessageA(child, message, 0, value);
    };
    send(kPickerColour, WM_PICKER_RELOAD, 0);
    send(kPickerColour, WM_PICKER_SET_VALUE, source->colour - 1);
    send(kPickerLineType, WM_PICKER_SET_VALUE, source->lineType);
    send(kPickerStartMark, WM_PICKER_SET_VALUE, LineEndTypeToListRow(source->startMark));
    send(kPickerEndMark, WM_PICKER_SET_VALUE, LineEndTypeToListRow(source->endMark));
    send(kPickerWidth, WM_PICKER_SET_VALUE, source->lineWidth);
    send(kLayerFieldId, WM_PICKER_RELOAD, 0);
    for (int id : {kPickerColour, kPickerLineType, kPickerStartMark, kPickerEndMark, kPickerWidth, kLayerFieldId})
        if (HWND child = ::GetDlgItem(m_hWnd, id)) ::InvalidateRect(child, nullptr, FALSE);
}

LRESULT CToolPanel::OnAttributesChanged(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    RaiseInputStateChange(kEventAttributesChanged);
    ::SendMessageA(m_hWnd, WM_COMMAND, 3822, 0);
    if (lParam == 0) {
        if (HWND field = ::GetDlgItem(m_hWnd, kLayerFieldId)) ::SendMessageA(field, WM_PICKER_RELOAD, 0, 0);
        if (HWND colour = ::GetDlgItem(m_hWnd, kPickerColour)) ::SendMessageA(colour, WM_PICKER_RELOAD, 0, 0);
    }
    for (int id : {kPickerStartMark, kPickerColour, kPickerLineType, kPickerEndMark, kPickerWidth, kLayerFieldId})
        RedrawChild(id, false);
    return 0;
}

// ---- layers ----

void CToolPanel::OnCurrentLayerChosen()
{
    HWND field = ::GetDlgItem(m_hWnd, kLayerFieldId);
    if (field != nullptr && ActiveBlock() != nullptr) {
        const int page = static_cast<int>(::SendMessageA(field, WM_PICKER_SET_FLAGS, 0, 0));
        const int layer = static_cast<int>(::SendMessageA(field, WM_PICKER_GET_VALUE, 0, 0));
        GetCadSystem().SetCurrentLayer(page, layer);
    }
    ::SendMessageA(m_hWnd, WM_USER, 0, 1);
}

void CToolPanel::OnLayerManager()
{
    HWND view = GetActiveView();
    if (view == nullptr || GetViewBlock(view) == nullptr) return;
    HideCurrentLayerDialog();
    UpdateRubberBand(view, 0, 0, 1);
    const int wasEnabled = CwEnableCurModelessWindow(0);
    ShowLayerManagerDialog(GetActiveWindow());
    if (wasEnabled != 0) CwEnableCurModelessWindow(1);
}

void CToolPanel::OnAddLayer()
{
    HWND view = GetActiveView();
    if (view == nullptr || GetViewBlock(view) == nullptr) return;
    UpdateRubberBand(view, 0, 0, 1);
    ShowAddLayerDialog(GetActiveWindow(), nullptr);
}

void CToolPanel::OnCurrentLayerDialog(int code)
{
    if (code == 2 || ActiveBlock() == nullptr) {
        HideCurrentLayerDialog();
        return;
    }
    if (code == 0) {
        if (::GetCapture() != nullptr) ::ReleaseCapture();
        if (GetCurrentLayerDialogWindow() == nullptr) ShowCurrentLayerDialog(MainFrame());
        else {
            RefreshCurrentLayerDialog();
            ::ShowWindow(GetCurrentLayerDialogWindow(), SW_SHOW);
        }
    } else if (code == 1) {
        RefreshCurrentLayerDialog();
    }
}

void CToolPanel::OnLineSettings()
{
    PDBINFO* block = ActiveBlock();
    DrawingAttributes& target = block != nullptr ? AttributesOfBlock(*block) : DefaultDrawingAttributes();
    const int shown[3] = {target.lineWidth, LineEndTypeToListRow(target.startMark), LineEndTypeToListRow(target.endMark)};
    int rows[3] = {shown[0], shown[1], shown[2]};
    if (RunLineSettingsDialog(rows) != IDOK) return;
    target.lineWidth = rows[0];
    // A mark's row goes back to its type; a mark left on its row keeps its type, also one the
    // lists do not offer (type 15 shows on the row of 14).
    if (rows[1] != shown[1]) target.startMark = ListRowToLineEndType(rows[1]);
    if (rows[2] != shown[2]) target.endMark = ListRowToLineEndType(rows[2]);
    ::SendMessageA(m_hWnd, WM_USER, 0, 1);
}

void CToolPanel::OnPageLayout(LPARAM lParam)
{
    if (HWND main = MainFrame()) ::SendMessageA(main, WM_COMMAND, 1230, 0);
    PDBINFO* block = ActiveBlock();
    if (block == nullptr) return;
    if (HasNoLayerNames(block->engineDb)) {
        LayerTreeInfo tree;
        BuildLayerPageTree(tree);
        FreeLayerPageTree(tree);
    }
    HWND button = reinterpret_cast<HWND>(lParam);
    if (button != nullptr && button == ::GetDlgItem(m_hWnd, 3314)) SetButtonChecked(button, block->pageLayout != 0);
}

// ---- input aids ----

void CToolPanel::OnAttributeImport(LPARAM lParam)
{
    HWND button = ::GetDlgItem(m_hWnd, 3408);
    if (lParam == 0) {
        SetButtonChecked(button, 0);
        return;
    }
    if (IsChecked(button)) return;
    SetButtonChecked(button, 1);
    if (HWND main = MainFrame()) ::PostMessageA(main, WM_COMMAND, 1304, 0);
}

void CToolPanel::OnTemporaryPoint(LPARAM lParam)
{
    InputEventRecord& events = GetInputEventRecord();
    events.temporaryOffsetX = events.temporaryOffsetY = 0.0;
    if (GetActiveView() != nullptr && IsCommandRunning() && lParam != 0 && lParam != 1)
        events.offsetInput = events.offsetInput ? 0 : 1;
    else
        events.offsetInput = 0;
    if (HWND button = ::GetDlgItem(m_hWnd, 3409)) {
        ::SetWindowLongA(button, kPanelButtonChecked, events.offsetInput);
        ::RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
}

void CToolPanel::OnCoordinateInput(LPARAM lParam)
{
    HWND button = lParam != 0 ? ::GetDlgItem(m_hWnd, 3989) : nullptr;
    SetButtonChecked(button, 1);
    InputTemporaryPoint();
    SetButtonChecked(button, 0);
}

void CToolPanel::OnTwoPointMidpoint(LPARAM lParam)
{
    HWND button = ::GetDlgItem(m_hWnd, 3999);
    if (lParam == 0) {
        SetButtonChecked(button, 0);
        return;
    }
    if (button == nullptr) return;
    if (GetLocalSettingsLive().iSnap2TenkanMode == 1) {
        ::SetWindowLongA(button, kPanelButtonChecked, IsChecked(button) ? 0 : 1);
    } else {
        if (IsChecked(button)) return;
        ::SetWindowLongA(button, kPanelButtonChecked, 1);
    }
    ::InvalidateRect(button, nullptr, FALSE);
    ::UpdateWindow(button);
    if (HWND main = MainFrame()) ::PostMessageA(main, WM_COMMAND, 1332, 0);
}

void CToolPanel::OnGrid(LPARAM lParam)
{
    HWND button = lParam != 0 ? reinterpret_cast<HWND>(lParam) : ::GetDlgItem(m_hWnd, 3516);
    SetGridOrigin(0.0, 0.0);
    HWND view = GetActiveView();
    if (IsChecked(button) || view == nullptr) {
        if (button != nullptr) {
            ::SetWindowLongA(button, kPanelButtonChecked, 0);
            ::SetWindowTextA(button, "グリッド");
        }
        SetGridOn(0);
    } else if (ShowSetGridDlg() != 0) {
        if (button != nullptr) ::SetWindowLongA(button, kPanelButtonChecked, 0);
        SetGridOn(0);
    } else {
        if (GridCenterRequest == 0) {
            if (button != nullptr) ::SetWindowLongA(button, kPanelButtonChecked, 1);
            SetGridOn(1);
        }
        if (button != nullptr) {
            const bool showOnly = GetLocalSettingsLive().setup.iGridNoDetFlg == 1;
            ::SetWindowLongA(button, kPanelButtonStyle, showOnly ? 1 : 2);
            ::SetWindowTextA(button, showOnly ? "ｸﾞﾘ/表" : "ｸﾞﾘ/検");
        }
    }
    if (button != nullptr) {
        ::InvalidateRect(button, nullptr, FALSE);
        ::UpdateWindow(button);
    }
    view = GetActiveView();
    if (view != nullptr) {
        InvalidateDrawingViews(view);
        if (GridCenterRequest != 0) {
            GridCenterRequest = 0;
            if (HWND main = MainFrame()) ::PostMessageA(main, WM_COMMAND, 1350, 0);
        }
    }
}

void CToolPanel::OnCursorMode(int code)
{
    HWND view = GetActiveView();
    if (view == nullptr) return;
    if (code == 1) {
        POINT p;
        GetCursorPos(&p);
        HWND under = WindowFromPoint(p);
        if (under != nullptr && under != view) {
            if (HWND parent = ::GetParent(under)) ::SetFocus(parent);
            ::ScreenToClient(under, &p);
            SetLastViewMousePoint(p.x, p.y);
        }
    } else {
        RECT rc;
        ::GetClientRect(view, &rc);
        SetLastViewMousePoint(rc.right / 2, rc.bottom / 2);
    }
    ToggleCursorMode();
    if (HWND button = ::GetDlgItem(m_hWnd, 3406)) {
        const bool keys = IsKeyCursorMode() != 0;
        ::SetWindowTextA(button, keys ? "キー" : "マウス");
        SetButtonChecked(button, keys ? 1 : 0);
    }
}

// ---- displays ----

LRESULT CToolPanel::OnShowCoordinates(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    if (!(m_groups & kToolGroupPaper) || ::GetDlgItem(m_hWnd, 8000) == nullptr) return 0;
    const double* point = reinterpret_cast<const double*>(lParam);
    if (point == nullptr) {
        for (int id : {8000, 8001, 8002, 3782}) ::SetDlgItemTextA(m_hWnd, id, "");
        return 0;
    }
    const bool relative = GetLocalSettingsLive().setup.bDispLastPosFg != 0;
    double lastX = 0.0, lastY = 0.0, lastZ = 0.0;
    if (relative) GetLastInputPoint(&lastX, &lastY, &lastZ);
    const CoordinateTexts texts =
        FormatCoordinateTexts(point[0], point[1], GetCadSystem().config.DEGIT, relative, lastX, lastY);
    ::SetDlgItemTextA(m_hWnd, 8000, texts.x);
    ::SetDlgItemTextA(m_hWnd, 8001, texts.y);
    ::SetDlgItemTextA(m_hWnd, 8002, texts.distance);
    ::SetDlgItemTextA(m_hWnd, 3782, relative ? "距離:" : "");
    return 0;
}

std::string ToolPanelPaperName(uint16_t paperCode)
{
    const PaperTableRow* row = FindPaperRow(paperCode);
    return row != nullptr ? std::string(row->name) : std::string("その他");
}

void ShowPaperAndScaleOnToolPanel(HWND view)
{
    HWND panel = GetToolPanelWindow();
    if (panel == nullptr || ::GetDlgItem(panel, 3771) == nullptr || ::GetDlgItem(panel, 3773) == nullptr) return;
    std::string paper, scale;
    const PDBINFO* block = view != nullptr ? GetViewBlock(view) : nullptr;
    if (block != nullptr && block->engineDb != nullptr) {
        static DbInfoRecord info;  // large: kept out of the stack
        std::memset(&info, 0, sizeof info);
        ZUriGetDBInfo(&info, block->engineDb);
        paper = ToolPanelPaperName(info.paperCode);
        char text[64] = {};
        FormatScaleText(info.scale, text, sizeof text);
        scale = text;
    }
    ::SetDlgItemTextA(panel, 3771, paper.c_str());
    ::SetDlgItemTextA(panel, 3773, scale.c_str());
}

// ---- exported operations ----

void ShowCursorCoordinates(const double* point)
{
    if (HWND panel = GetToolPanelWindow()) ::SendMessageA(panel, WM_APP, 0, reinterpret_cast<LPARAM>(point));
}

void RefreshToolPanelPaperAndScale() { ShowPaperAndScaleOnToolPanel(GetActiveView()); }

void RefreshToolPanelDrawingInfo() { ShowPaperAndScaleOnToolPanel(GetActiveView()); }

void RefreshToolPanelAttributes()
{
    if (HWND panel = GetToolPanelWindow()) ::SendMessageA(panel, WM_COMMAND, 3822, 0);
}
