#include "CadPdf/CadPdfInDlg.h"

#include "CadPdf/LoadPdf.h"
#include "CadPdf/PdfImportConverter.h"
#include "DravikDb.h"
#include "EngineRecords.h"
#include "HostLibrary.h"
#include "NumericFormat.h"
#include "PaperSizeTable.h"
#include "QmCadDocument.h"
#include "VellocModule.h"
#include "core/Dbcs.h"

#include <cmath>
#include <cstdio>

namespace {

const char* const kScaleTexts[] = {"1", "1/2", "1/3", "1/5", "1/10", "1/20", "1/35", "1/50", "1/100",
                                   "1/150", "1/200", "1/250", "1/300", "1/350", "1/500", "1/1000"};
const char kOtherPaper[] = "その他";
const char* const kDirections[] = {"横", "縦"};
const int kSizesPerSeries = 7;
const int kPaperChoices = 2 * kSizesPerSeries;  // A0..A6, B0..B6, then "その他"

// The paper list entry and direction of a standard row (0..27).
void RowToChoice(int row, int& paper, int& direction)
{
    const int block = row / kSizesPerSeries;  // 0 A landscape, 1 A portrait, 2 B landscape, 3 B portrait
    paper = (block >= 2 ? kSizesPerSeries : 0) + row % kSizesPerSeries;
    direction = block % 2;
}

int ChoiceToRow(int paper, int direction)
{
    if (paper == kPaperChoices) return CadPdfInDlg::kOtherPaperRow;
    const int series = paper / kSizesPerSeries, size = paper % kSizesPerSeries;
    return (2 * series + direction) * kSizesPerSeries + size;
}

// The number at text[i...]: a run of digits and points.
double ReadNumber(const std::string& text, size_t& i)
{
    const size_t start = i;
    while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || text[i] == '.')) ++i;
    return i > start ? std::atof(text.substr(start, i - start).c_str()) : 0.0;
}

}  // namespace

double EvaluateNumberText(const std::string& raw)
{
    std::string text;
    for (char c : raw)
        if (c != ' ' && c != '\t') text.push_back(c);
    size_t i = 0;
    const double first = ReadNumber(text, i);
    if (i == text.size()) return first;
    const char op = text[i++];
    if (op != '-' && op != '+' && op != '*' && op != '/') return 0;
    const double second = ReadNumber(text, i);
    switch (op) {
    case '-': return first - second;
    case '+': return first + second;
    case '*': return first * second;
    default: return second == 0 ? 0 : first / second;
    }
}

CadPdfInDlg::CadPdfInDlg(QmCadDocument* document, int pageCount, int index, const std::vector<PdfPageInfo>* pages)
    : pageIndex(index), m_document(document), m_pageCount(pageCount > 0 ? pageCount : 1), m_pages(pages)
{
    m_colourSwitch = 1;
    m_centre = 1;
    if (document != nullptr && document->database != nullptr) {
        auto* block = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, document->database));
        if (block != nullptr) m_info = &block->record;
    }
}

std::string CadPdfInDlg::Text(int id) const
{
    char buffer[1024] = {};
    ::GetDlgItemTextA(m_hWnd, id, buffer, sizeof buffer);
    return buffer;
}

void CadPdfInDlg::SetText(int id, const std::string& text) { ::SetDlgItemTextA(m_hWnd, id, text.c_str()); }

int CadPdfInDlg::GetPaperRow() const
{
    const int paper = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAPER, CB_GETCURSEL, 0, 0));
    if (paper == kPaperChoices) return kOtherPaperRow;
    const int direction = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_DIRECTION, CB_GETCURSEL, 0, 0));
    if (paper < 0 || paper > kPaperChoices || direction < 0 || direction > 1) return -1;
    return ChoiceToRow(paper, direction);
}

void CadPdfInDlg::UpdateDrawingSize(double scale)
{
    if (scale < 0 || std::fabs(scale) <= 1e-8) return;
    const int row = GetPaperRow();
    if (row < 0) return;
    double width, height;
    if (row == kOtherPaperRow) {
        width = Evaluate(IDC_PDFIN_PAPER_WIDTH);
        height = Evaluate(IDC_PDFIN_PAPER_HEIGHT);
        if (width < 0 || std::fabs(width) <= 1e-8) width = 0;
        if (height < 0 || std::fabs(height) <= 1e-8) height = 0;
    } else {
        width = PaperSizeTable()[row].widthMm;
        height = PaperSizeTable()[row].heightMm;
    }
    SetText(IDC_PDFIN_DRAWING_WIDTH, FormatReal(width / scale, 15));
    SetText(IDC_PDFIN_DRAWING_HEIGHT, FormatReal(height / scale, 15));
}

void CadPdfInDlg::SelectPaperRow(int row)
{
    const bool standard = row >= 0 && row < kOtherPaperRow;
    if (standard) {
        int paper, direction;
        RowToChoice(row, paper, direction);
        ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAPER, CB_SETCURSEL, paper, 0);
        ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_DIRECTION, CB_SETCURSEL, direction, 0);
    } else {
        ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAPER, CB_SETCURSEL, kPaperChoices, 0);
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PDFIN_DIRECTION), standard);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PDFIN_PAPER_WIDTH), !standard);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_PDFIN_PAPER_HEIGHT), !standard);
}

void CadPdfInDlg::ShowPaperOfRecord()
{
    int row = kOtherPaperRow;
    for (int r = 0; r < kOtherPaperRow; ++r)
        if (m_info && PaperSizeTable()[r].code == m_info->paperCode) {
            row = r;
            break;
        }
    SelectPaperRow(row);
}

void CadPdfInDlg::ShowSizesOfRecord()
{
    if (m_info == nullptr) return;
    SetText(IDC_PDFIN_PAPER_WIDTH, FormatReal(m_info->paperWidthMm, 15));
    SetText(IDC_PDFIN_PAPER_HEIGHT, FormatReal(m_info->paperHeightMm, 15));
    SetText(IDC_PDFIN_DRAWING_WIDTH, FormatReal(m_info->drawingWidth, 15));
    SetText(IDC_PDFIN_DRAWING_HEIGHT, FormatReal(m_info->drawingHeight, 15));
}

LRESULT CadPdfInDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    for (int id : {IDC_PDFIN_PAPER_WIDTH, IDC_PDFIN_PAPER_HEIGHT, IDC_PDFIN_DRAWING_WIDTH, IDC_PDFIN_DRAWING_HEIGHT})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
    for (int paper = 0; paper < kPaperChoices; ++paper) {
        char name[8];
        std::snprintf(name, sizeof name, "%c%d", paper < kSizesPerSeries ? 'A' : 'B', paper % kSizesPerSeries);
        ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAPER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAPER, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kOtherPaper));
    ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAPER, CB_SETCURSEL, 0, 0);
    for (const char* direction : kDirections)
        ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_DIRECTION, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(direction));
    ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_DIRECTION, CB_SETCURSEL, 0, 0);

    int matchedScale = -1;
    for (int i = 0; i < static_cast<int>(sizeof kScaleTexts / sizeof kScaleTexts[0]); ++i) {
        ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_SCALE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kScaleTexts[i]));
        if (m_info && std::fabs(EvaluateNumberText(kScaleTexts[i]) - m_info->scale) <= 1e-8) matchedScale = i;
    }

    if (m_pageCount < 2) {
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PDFIN_PAGE_LABEL), SW_HIDE);
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PDFIN_PAGE), SW_HIDE);
    } else {
        for (int page = 1; page <= m_pageCount; ++page) {
            char number[16];
            std::snprintf(number, sizeof number, "%d", page);
            ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAGE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(number));
        }
        ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAGE, CB_SETCURSEL, pageIndex, 0);
    }

    if (m_info != nullptr) {
        SetText(IDC_PDFIN_NAME, m_info->title);
        SetText(IDC_PDFIN_AUTHOR, m_info->author);
        SetText(IDC_PDFIN_REMARKS, m_info->remarks);
        ::CheckDlgButton(m_hWnd, m_info->originMode != 0 ? IDC_PDFIN_ORIGIN_LOWER_LEFT : IDC_PDFIN_ORIGIN_CENTRE,
                         BST_CHECKED);
        ShowSizesOfRecord();
        SetText(IDC_PDFIN_SCALE, FormatFraction(m_info->scale));
        if (matchedScale >= 0) ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_SCALE, CB_SETCURSEL, matchedScale, 0);
    }
    ShowPaperOfRecord();
    ::SetWindowTextA(m_hWnd, "図面情報の作成（各種設定後 [OK] ｸﾘｯｸしてください。）");
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PDFIN_LAYERS), SW_HIDE);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_PDFIN_LAYERS_LABEL), SW_HIDE);
    handled = FALSE;  // the base colours and centres the dialog
    return 0;
}

LRESULT CadPdfInDlg::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    if ((id == IDC_PDFIN_PAPER || id == IDC_PDFIN_DIRECTION) && code == CBN_SELCHANGE) {
        const int row = GetPaperRow();
        if (row == kOtherPaperRow) {
            SelectPaperRow(row);
        } else if (row >= 0) {
            SetText(IDC_PDFIN_PAPER_WIDTH, FormatReal(PaperSizeTable()[row].widthMm, 15));
            SetText(IDC_PDFIN_PAPER_HEIGHT, FormatReal(PaperSizeTable()[row].heightMm, 15));
            UpdateDrawingSize(Evaluate(IDC_PDFIN_SCALE));
            SelectPaperRow(row);
        }
    } else if (id == IDC_PDFIN_SCALE && (code == CBN_SELCHANGE || code == CBN_EDITUPDATE)) {
        const LRESULT selected = ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_SCALE, CB_GETCURSEL, 0, 0);
        if (selected >= 0) {
            char item[64] = {};
            if (::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_SCALE, CB_GETLBTEXTLEN, selected, 0) < 63) {
                ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_SCALE, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(item));
                UpdateDrawingSize(EvaluateNumberText(item));
            }
        }
    } else if ((id == IDC_PDFIN_PAPER_WIDTH || id == IDC_PDFIN_PAPER_HEIGHT) && code == EN_CHANGE) {
        UpdateDrawingSize(Evaluate(IDC_PDFIN_SCALE));
    } else if (id == IDC_PDFIN_PAGE && code == CBN_SELCHANGE) {
        const LRESULT page = ::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAGE, CB_GETCURSEL, 0, 0);
        if (m_pages && m_document && page >= 0 && static_cast<size_t>(page) < m_pages->size()) {
            const PdfPageInfo& info = (*m_pages)[static_cast<size_t>(page)];
            SetPaperWithDefaultScale(*m_document, info.width, info.height);
            ShowPaperOfRecord();
            if (m_info) SetText(IDC_PDFIN_SCALE, FormatFraction(m_info->scale));
            ShowSizesOfRecord();
        }
    } else if (id == IDOK) {
        if (StoreChoices()) EndDialog(IDOK);
    } else if (id == IDCANCEL) {
        EndDialog(IDCANCEL);
    } else {
        handled = FALSE;
    }
    return 0;
}

bool CadPdfInDlg::StoreChoices()
{
    if (m_info == nullptr) return false;
    DbcsCopy(m_info->title, sizeof m_info->title, Text(IDC_PDFIN_NAME).c_str());
    DbcsCopy(m_info->author, sizeof m_info->author, Text(IDC_PDFIN_AUTHOR).c_str());
    DbcsCopy(m_info->remarks, sizeof m_info->remarks, Text(IDC_PDFIN_REMARKS).c_str());
    const double scale = Evaluate(IDC_PDFIN_SCALE);
    if (!(scale > 0)) {
        ::MessageBoxA(m_hWnd, "正しいスケールを入力してください。", "図面設定", MB_OK | MB_ICONWARNING);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_PDFIN_SCALE));
        return false;
    }
    const int row = GetPaperRow();
    if (row < 0) return false;
    if (row != kOtherPaperRow) {
        const PaperSizeRow& paper = PaperSizeTable()[row];
        m_info->scale = scale;
        m_info->paperCode = paper.code;
        m_info->paperWidthMm = paper.widthMm;
        m_info->paperHeightMm = paper.heightMm;
    } else {
        bool error = false;
        double values[4];
        const int ids[4] = {IDC_PDFIN_DRAWING_HEIGHT, IDC_PDFIN_DRAWING_WIDTH, IDC_PDFIN_PAPER_HEIGHT,
                            IDC_PDFIN_PAPER_WIDTH};
        for (int i = 0; i < 4; ++i) {
            values[i] = Evaluate(ids[i]);
            if (values[i] > 0) continue;
            SetText(ids[i], "0");
            error = true;
            if (ids[i] == IDC_PDFIN_PAPER_WIDTH || ids[i] == IDC_PDFIN_PAPER_HEIGHT) {
                HWND edit = ::GetDlgItem(m_hWnd, ids[i]);
                ::SetFocus(edit);
                ::SendMessageA(edit, EM_SETSEL, 0, -1);
                ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
            }
        }
        if (error) {
            ::MessageBoxA(m_hWnd, "正しい用紙サイズを入力してください。", "図面設定", MB_OK | MB_ICONWARNING);
            return false;
        }
        m_info->scale = scale;
        m_info->paperWidthMm = values[3];
        m_info->paperHeightMm = values[2];
        m_info->paperCode = kPaperCodeOther;
    }
    m_info->drawingWidth = m_info->paperWidthMm / scale;
    m_info->drawingHeight = m_info->paperHeightMm / scale;
    HostLib::Dader_PnlSetPaperSelect();
    m_info->originMode = ::IsDlgButtonChecked(m_hWnd, IDC_PDFIN_ORIGIN_LOWER_LEFT) == BST_CHECKED ? 1 : 0;
    // The page list's own style: the dialog itself may not be shown yet.
    pageIndex = (::GetWindowLongA(::GetDlgItem(m_hWnd, IDC_PDFIN_PAGE), GWL_STYLE) & WS_VISIBLE)
                    ? static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_PDFIN_PAGE, CB_GETCURSEL, 0, 0))
                    : -1;
    return true;
}

int ShowPdfImportDialog(const std::vector<PdfPageInfo>& pages, int* pageIndex, QmCadDocument* document,
                        int pageCount)
{
    CadPdfInDlg dialog(document, pageCount, pageIndex ? *pageIndex : 0, &pages);
    if (pageIndex == nullptr || document == nullptr || document->database == nullptr) return -1;
    const INT_PTR result = dialog.DoModalIn(VellocInstance(), ::GetActiveWindow());
    if (result == IDOK) *pageIndex = dialog.pageIndex;
    return static_cast<int>(result);
}
