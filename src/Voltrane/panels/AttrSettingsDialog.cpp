#include "panels/AttrSettingsDialog.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "DravikDb.h"
#include "controls/LineAttrPainters.h"
#include "controls/LineEndTypes.h"
#include "core/CadSystem.h"
#include "core/NumericInput.h"
#include "drawing/LayerPageTree.h"
#include "drawing/PageOperations.h"
#include "view/ViewTable.h"

namespace {

constexpr size_t kTextHeightOffset = 46, kTextRatioOffset = 54, kTextSpacingOffset = 62, kTextFontOffset = 70;

double DoubleAt(const ElementRecord& e, size_t offset)
{
    double value = 0;
    std::memcpy(&value, reinterpret_cast<const char*>(&e) + offset, sizeof value);
    return value;
}

}  // namespace

ElementTextValues ReadElementTextValues(const ElementRecord& e)
{
    ElementTextValues values;
    values.height = DoubleAt(e, kTextHeightOffset);
    values.ratio = DoubleAt(e, kTextRatioOffset);
    values.spacing = DoubleAt(e, kTextSpacingOffset);
    // The name ends inside the record even when its terminator is missing.
    const char* font = reinterpret_cast<const char*>(&e) + kTextFontOffset;
    values.font.assign(font, strnlen(font, sizeof(ElementRecord) - kTextFontOffset));
    return values;
}

std::string ElementPageText(const ElementRecord& e)
{
    char text[48];
    std::snprintf(text, sizeof text, "%dP %s", static_cast<int>(e.page), e.space != 0 ? "ﾚｲｱｳﾄ" : "ﾘｱﾙ");
    return text;
}

CAttrSettingsDlg::~CAttrSettingsDlg()
{
    FreeLineColorRows(m_colours);
    FreeLineTypeRows(m_types);
    FreeLineEndTypeRows(m_ends);
}

void CAttrSettingsDlg::ShowItems(const int* ids, int count, int show)
{
    for (int i = 0; i < count; ++i)
        if (HWND item = ::GetDlgItem(m_hWnd, ids[i])) ::ShowWindow(item, show);
}

double CAttrSettingsDlg::TextScale() const
{
    HWND view = GetActiveView();
    const PDBINFO* block = view != nullptr ? GetViewBlock(view) : nullptr;
    if (block == nullptr || block->engineDb == nullptr) return 1.0;
    static DbInfoRecord info;  // large: kept out of the stack
    std::memset(&info, 0, sizeof info);
    if (!ZUriGetDBInfo(&info, block->engineDb)) return 1.0;
    double scale = info.scale;
    if (scale <= 1e-8 || element == nullptr || element->page <= 0 || element->page > kMaxPage) return scale;
    auto page = std::make_unique<EnginePageRecord>();
    if (!ZUriGetPage(element->page, page.get(), block->engineDb)) return scale;
    static DbInfoRecord pageInfo;
    std::memset(&pageInfo, 0, sizeof pageInfo);
    if (!GetPageDbInfo(element->page, &pageInfo)) return scale;
    return scale * pageInfo.scale * page->placement.scaleX;
}

LRESULT CAttrSettingsDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    m_back = GetDialogBackColor();
    FillLineColorRows(m_colours);
    BindDrawingColorTable(m_colours);
    ParseLineTypeRows(m_types, nullptr, 0);
    ParseLineEndTypeRows(m_ends, nullptr, 0);
    ::CheckDlgButton(m_hWnd, kAttrLayerCheck, checkState ? BST_CHECKED : BST_UNCHECKED);
    if (element == nullptr) return 0;
    const ElementRecord& e = *element;

    static const char* const kTypeNames[] = {"線分", "点", "円", "円弧", "文字", "楕円", "楕円弧"};
    if (e.type >= 1 && e.type <= 7) {
        char caption[64];
        std::snprintf(caption, sizeof caption, "%sの属性を取り込みます", kTypeNames[e.type - 1]);
        ::SetWindowTextA(m_hWnd, caption);
    }
    if (e.type == 2) {
        const int ids[] = {1814, 1815, 1816, 1817, 1823, 1824, 1826};
        ShowItems(ids, 7, SW_HIDE);
    } else if (e.type == 3 || e.type == 6) {
        const int ids[] = {1816, 1817, 1826};
        ShowItems(ids, 3, SW_HIDE);
    } else if (e.type == 5) {
        m_textMode = true;
        const struct {
            int id;
            const char* text;
        } labels[] = {{1823, "文字高さ"}, {1824, "文字縦横比"}, {1825, "文字間隔"}, {1826, "フォント名"}};
        for (const auto& l : labels) ::SetDlgItemTextA(m_hWnd, l.id, l.text);
        const int samples[] = {1814, 1815, 1816, 1817};
        ShowItems(samples, 4, SW_HIDE);
        const int values[] = {kAttrTextHeight, kAttrTextRatio, kAttrTextSpacing, kAttrTextFont, 1825};
        ShowItems(values, 5, SW_SHOW);
    }

    if (m_textMode) {
        const ElementTextValues text = ReadElementTextValues(e);
        const double f = TextScale();
        m_height = text.height * f;
        m_ratio = text.ratio;
        m_spacing = text.spacing * f;
        m_font = text.font;
        char value[64];
        ::SetDlgItemTextA(m_hWnd, kAttrTextHeight, FormatDouble(value, sizeof value, m_height, 8, 1));
        ::SetDlgItemTextA(m_hWnd, kAttrTextRatio, FormatDouble(value, sizeof value, m_ratio, 15, 1));
        ::SetDlgItemTextA(m_hWnd, kAttrTextSpacing, FormatDouble(value, sizeof value, m_spacing, 15, 1));
        ::SetDlgItemTextA(m_hWnd, kAttrTextFont, m_font.c_str());
    } else {
        m_lineType = e.lineType;
        m_width = e.lineWidth;
        m_startMark = e.lineEndStart;
        m_endMark = e.lineEndEnd;
        m_widthBox.m_list = &m_widths;
        m_widthBox.m_fixedRow = m_width;
        m_startBox.m_list = &m_ends;
        m_startBox.m_side = 0;
        m_startBox.m_fixedRow = LineEndTypeToListRow(m_startMark);
        m_endBox.m_list = &m_ends;
        m_endBox.m_side = 1;
        m_endBox.m_fixedRow = LineEndTypeToListRow(m_endMark);
        for (CAttrListBoxBase* box : {static_cast<CAttrListBoxBase*>(&m_widthBox),
                                      static_cast<CAttrListBoxBase*>(&m_startBox),
                                      static_cast<CAttrListBoxBase*>(&m_endBox)})
            box->m_background = m_back;
    }

    m_colour = e.colour;
    char text[kLayerNameSize + 16] = {};
    std::snprintf(text, sizeof text, "%d", e.layer + 1);
    ::SetDlgItemTextA(m_hWnd, kAttrLayerNumber, text);
    char name[kLayerNameSize] = {};
    GetActiveLayerName(e.page, e.layer, name, nullptr);
    ::SetDlgItemTextA(m_hWnd, kAttrLayerName, name);
    ::SetDlgItemTextA(m_hWnd, kAttrPageNumber, ElementPageText(e).c_str());
    char page[kPageNameSize] = {};
    GetPageName(e.page, page);
    ::SetDlgItemTextA(m_hWnd, kAttrPageName, page);
    return 0;
}

LRESULT CAttrSettingsDlg::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item == nullptr) {
        handled = FALSE;
        return 0;
    }
    switch (item->CtlID) {
    case kAttrColourSample: DrawColorSample(*item, m_colour, m_back, m_colours); return TRUE;
    case kAttrTypeSample:
        if (!m_textMode) DrawLineTypeSample(*item, m_lineType, m_back, m_types);
        return TRUE;
    case kAttrWidthSample: m_widthBox.DrawItem(*item); return TRUE;
    case kAttrStartSample: m_startBox.DrawItem(*item); return TRUE;
    case kAttrEndSample: m_endBox.DrawItem(*item); return TRUE;
    default: handled = FALSE; return 0;
    }
}

LRESULT CAttrSettingsDlg::OnOk(WORD, WORD, HWND, BOOL&)
{
    checkState = ::IsDlgButtonChecked(m_hWnd, kAttrLayerCheck) == BST_CHECKED ? 1 : 0;
    EndDialog(IDOK);
    return 0;
}

LRESULT CAttrSettingsDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

int RunAttrSettingsDialog(const ElementRecord& element, int* checkState)
{
    CAttrSettingsDlg dialog;
    dialog.element = &element;
    dialog.checkState = checkState != nullptr ? *checkState : 1;
    if (dialog.DoModal(GetActiveWindow()) != IDOK) return IDCANCEL;
    if (checkState != nullptr) *checkState = dialog.checkState;
    return IDOK;
}
