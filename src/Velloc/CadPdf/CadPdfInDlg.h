// The import settings dialog "図面情報の作成": name, author and remarks of the new drawing, its
// paper (a standard size by series, size and direction, or a free size), its scale and, for a
// PDF of several pages, the page to convert. It writes straight into the new drawing's
// information record and answers the chosen page.
#pragma once

#include "DialogBase.h"
#include "resources/PdfImportDialog.h"

#include <string>
#include <vector>

class QmCadDocument;
struct DbInfoRecord;
struct PdfPageInfo;

// The value of a number field: a number, or two numbers with one of - + * / between them
// (blanks ignored); any other text gives 0, and so does a division by zero.
double EvaluateNumberText(const std::string& text);

class CadPdfInDlg : public CDialogBase<CadPdfInDlg> {
public:
    enum { IDD = IDD_PDF_IMPORT };
    static constexpr int kOtherPaperRow = 28;

    // pages may be null; pageIndex is the page to preselect (zero-based).
    CadPdfInDlg(QmCadDocument* document, int pageCount, int pageIndex, const std::vector<PdfPageInfo>* pages);

    // The page chosen on OK; -1 when the page list was not shown.
    int pageIndex;

    WK_BEGIN_MSG_MAP(CadPdfInDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CadPdfInDlg>)
    WK_END_MSG_MAP()

    // The paper row (0..28) of the current choice, or -1.
    int GetPaperRow() const;
    // Stores the choices into the record: false (the dialog stays open) when a value is refused.
    bool StoreChoices();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled);
    void UpdateDrawingSize(double scale);
    void ShowPaperOfRecord();
    void ShowSizesOfRecord();
    void SelectPaperRow(int row);
    std::string Text(int id) const;
    void SetText(int id, const std::string& text);
    double Evaluate(int id) const { return EvaluateNumberText(Text(id)); }

    QmCadDocument* m_document;
    int m_pageCount;
    const std::vector<PdfPageInfo>* m_pages;
    DbInfoRecord* m_info = nullptr;
};
