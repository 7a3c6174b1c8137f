// The dialog "色の設定": for every drawing colour 1..256 the colour number the PDF shows instead,
// once for colour and once for monochrome output, sixteen rows a page.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "DialogBase.h"

class CPdfOutOptionColorDlg : public CDialogBase<CPdfOutOptionColorDlg> {
public:
    enum { IDD = 125 };
    static constexpr int kRowsPerPage = 16;

    ~CPdfOutOptionColorDlg() override = default;

    WK_BEGIN_MSG_MAP(CPdfOutOptionColorDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CPdfOutOptionColorDlg>)
    WK_END_MSG_MAP()

    std::vector<int32_t> colorMap;
    std::vector<int32_t> monoMap;
    std::vector<int32_t> defaultMap;
    std::vector<int32_t> sourceColors;
    std::vector<int32_t> rgbList;
    std::vector<int32_t> targetColors;
    int32_t mode = 0;                // 0: the colour map, 1: the monochrome map
    int32_t monoColorNumber = 16;
    int32_t firstNumber = 1;
    int32_t page = 0;
    int32_t lastPage = 0;
    std::string sourceCaption;
    std::string targetCaption;
    HWND colorRadio = nullptr;
    HWND monoRadio = nullptr;

    std::vector<int32_t>& CurrentMap() { return mode == 0 ? colorMap : monoMap; }
    // Refills the current map from the default map (the mono colour everywhere in monochrome
    // mode); with `keep` a map that has entries stays as it is.
    void BuildCurrentMap(bool keep);

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL& handled);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled);

    int RowNumber(int row) const { return page * kRowsPerPage + firstNumber + row; }
    void StorePage();
    void LoadPage();
    void ShowPage();
    void SwitchMode(int newMode);
    void DrawTargetItem(const DRAWITEMSTRUCT& item);
    void DrawSwatch(const DRAWITEMSTRUCT& item);
};

// Runs the dialog on "PdfColor.ini"; OK stores the mappings and the resolved colour set.
void ShowColorMapDialog();
