// The attribute-import dialog "属性取り込み": shows the attributes of the element the user picked
// (samples for lines, values for texts) with its layer and page, and asks whether the element's
// layer becomes the current one as well.
#pragma once

#include <windows.h>

#include <string>

#include "EngineRecords.h"
#include "controls/AttrCombos.h"
#include "controls/LineAttrLists.h"
#include "dialogs/DialogBase.h"

constexpr int kAttrLayerCheck = 1808;
constexpr int kAttrColourSample = 1813, kAttrTypeSample = 1814, kAttrWidthSample = 1815, kAttrStartSample = 1816,
              kAttrEndSample = 1817;
constexpr int kAttrTextHeight = 1850, kAttrTextRatio = 1851, kAttrTextSpacing = 1852, kAttrTextFont = 1853;
constexpr int kAttrLayerNumber = 1854, kAttrLayerName = 1855, kAttrPageNumber = 1856, kAttrPageName = 1857;

// The text values of a text element, read from its record.
struct ElementTextValues {
    double height = 0, ratio = 0, spacing = 0;
    std::string font;
};
ElementTextValues ReadElementTextValues(const ElementRecord& element);
// The "%dP " page text with its kind.
std::string ElementPageText(const ElementRecord& element);

class CAttrSettingsDlg : public CDialogBase<CAttrSettingsDlg> {
public:
    enum { IDD = 245 };

    ~CAttrSettingsDlg() override;

    WK_BEGIN_MSG_MAP(CAttrSettingsDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_COMMAND_ID_HANDLER(IDOK, OnOk)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CAttrSettingsDlg>)
    WK_END_MSG_MAP()

    const ElementRecord* element = nullptr;
    int checkState = 1;  // in and out

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    void ShowItems(const int* ids, int count, int show);
    // The drawing scale that text sizes are shown in.
    double TextScale() const;

    LineColorList m_colours;
    LineTypeList m_types;
    LineWidthList m_widths;
    LineEndTypeList m_ends;
    CLineWidthListBox m_widthBox;
    CLineEndTypeListBox m_startBox;
    CLineEndTypeListBox m_endBox;
    int m_colour = 0, m_lineType = 0, m_width = 0, m_startMark = 0, m_endMark = 0;
    std::string m_font;
    double m_height = 3.0, m_ratio = 1.0, m_spacing = 0.0;
    bool m_textMode = false;
    COLORREF m_back = 0;
};

// Runs the dialog over the active window for the element; IDOK or IDCANCEL. checkState in and
// out (written only at OK).
int RunAttrSettingsDialog(const ElementRecord& element, int* checkState);
