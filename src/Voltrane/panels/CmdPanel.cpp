#include "panels/CmdPanel.h"

#include "CommandIds.h"
#include "core/CadSystem.h"
#include "view/ViewTable.h"

namespace {

constexpr int kTypeComboId = 2000;
constexpr WORD kFocusView = 110;
// Ids of the type menu's items, which the panel takes without doing anything.
constexpr WORD kFirstQuietId = 32769;
constexpr WORD kLastQuietId = 32869;

}  // namespace

CCmdPanel::~CCmdPanel()
{
    // The model's windows go before the panel's object does.
    m_content.reset();
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CCmdPanel::SetPanelType(int index)
{
    m_panelType = index;
    if (m_content) m_content->currentType = index;
}

int CCmdPanel::GetPanelType()
{
    if (m_content) m_panelType = m_content->currentType;
    return m_panelType;
}

LRESULT CCmdPanel::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    m_content = std::make_unique<CmdPanelContent>(m_panelType);
    // A file that cannot be read leaves the panel empty; Load has shown why.
    if (m_content->Load() != 0) {
        m_content.reset();
        return 0;
    }
    m_content->Create(m_hWnd);
    return 0;
}

LRESULT CCmdPanel::OnSize(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam != SIZE_MINIMIZED && m_content) m_content->Layout();
    return 0;
}

LRESULT CCmdPanel::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    RECT rc;
    GetClientRect(&rc);
    HBRUSH brush = CreateSolidBrush(GetDialogBackColor());
    FillRect(reinterpret_cast<HDC>(wParam), &rc, brush);
    DeleteObject(brush);
    return 1;
}

LRESULT CCmdPanel::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    PAINTSTRUCT ps;
    BeginPaint(m_hWnd, &ps);
    EndPaint(m_hWnd, &ps);
    return 0;
}

LRESULT CCmdPanel::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    ::SendMessageA(GetParent(), WM_COMMAND, kPaneToggleCaption, 0);
    return 0;
}

LRESULT CCmdPanel::OnClick(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (HIWORD(wParam) == 0) {
        ::PostMessageA(GetMainFrameWnd(), WM_COMMAND, wParam, 0);
        return 0;
    }
    if (!m_content) return 0;
    const int k = m_content->typeButtons.SelectById(LOWORD(wParam));
    if (k >= 0) {
        if (m_content->typeCombo != nullptr) ::SendMessageA(m_content->typeCombo, CB_SETCURSEL, k, 0);
        m_content->SwitchType(k);
    }
    return 0;
}

LRESULT CCmdPanel::OnCommandNotify(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
    if (!m_content) return -1;
    m_content->SetCommandState(static_cast<int>(wParam), static_cast<int>(lParam));
    return 0;
}

LRESULT CCmdPanel::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    const WORD id = LOWORD(wParam);
    const WORD code = HIWORD(wParam);
    if (id >= kFirstQuietId && id <= kLastQuietId) return 1;
    switch (id) {
    case kTypeComboId:
        if (code == CBN_SELCHANGE && m_content) m_content->OnTypeComboChange();
        if (code == CBN_SELCHANGE || code == CBN_SELENDCANCEL) {
            ::SetFocus(m_hWnd);
            ::PostMessageA(m_hWnd, WM_COMMAND, kFocusView, 0);
        }
        return 0;
    case kCmdPanelTooltipMode:
        if (m_content) m_content->ActivateTooltips(code != 0 ? 1 : 0);
        return 0;
    case kCmdPanelGetContent:
        return reinterpret_cast<LRESULT>(m_content.get());
    case kFocusView:
        ::SetFocus(GetActiveView());
        return 0;
    default:
        handled = FALSE;
        return 0;
    }
}
