#include "panels/AppPanel.h"

#include "core/CadSystem.h"
#include "panels/ParameterPanelModel.h"

namespace {

HFONT CreatePanelFace(int height, int weight)
{
    return CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "ＭＳ Ｐゴシック");
}

}  // namespace

CAppPanel::~CAppPanel() { DeleteResources(); }

void CAppPanel::DeleteResources()
{
    for (HFONT& font : m_fonts) {
        if (font != nullptr) DeleteObject(font);
        font = nullptr;
    }
    if (m_backBrush != nullptr) DeleteObject(m_backBrush);
    m_backBrush = nullptr;
}

LRESULT CAppPanel::OnCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    m_fonts[0] = CreatePanelFace(12, FW_NORMAL);
    m_fonts[1] = CreatePanelFace(12, FW_BOLD);
    m_fonts[2] = CreatePanelFace(14, FW_BOLD);
    m_flags = 0;
    m_backColor = GetDialogBackColor();
    m_backBrush = CreateSolidBrush(m_backColor);
    PboxSetApplicationPanel(m_hWnd);
    return 0;
}

LRESULT CAppPanel::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    FillRect(reinterpret_cast<HDC>(wParam), &rc, m_backBrush != nullptr ? m_backBrush : GetSysColorBrush(COLOR_BTNFACE));
    return 1;
}

LRESULT CAppPanel::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
    ::ValidateRect(m_hWnd, nullptr);
    return 0;
}

LRESULT CAppPanel::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    SetBkColor(reinterpret_cast<HDC>(wParam), m_backColor);
    return reinterpret_cast<LRESULT>(m_backBrush);
}

LRESULT CAppPanel::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
    const UINT id = LOWORD(wParam);
    if (id != kAppPanelBuiltNotice && id != kAppPanelSecondNotice) bHandled = FALSE;
    return 0;
}

LRESULT CAppPanel::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
    if (PboxApplicationPanel() == m_hWnd) PboxSetApplicationPanel(nullptr);
    return 0;
}

LRESULT CAppPanel::OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&)
{
    if (PboxNoPanelInUse()) ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, kAppPanelPaneMenu, 0);
    return 0;
}
