#include "drawing/PageManagerDialog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "commands/CommandHost.h"
#include "commands/HostServiceSite.h"
#include "core/CadSystem.h"
#include "core/Dbcs.h"
#include "core/MessageCatalog.h"
#include "core/SystemLog.h"
#include "dialogs/DialogBase.h"
#include "drawing/DrawingFileDialog.h"
#include "drawing/PageDialogRecords.h"
#include "drawing/PageSettingsDialog.h"
#include "drawing/PaperTable.h"

namespace {

constexpr int kPageList = 1146;
constexpr int kAddReference = 13, kAddPage = 14, kDeletePage = 15;
constexpr int kPaper = 501;
constexpr COLORREF kReferenceBox = RGB(0, 255, 0);

bool English() { return GetCadSystem().config.LANGUAGE != 0; }

int Ask(HWND owner, const char* text, const char* caption, UINT type)
{
    return GetCommandHost().ShowMessageBox(owner, text, caption, type);
}

// The sub-dialog of a new page: its texts, scale and paper.
class CNewPageDlg : public CDialogBase<CNewPageDlg> {
public:
    enum { IDD = 0 };
    explicit CNewPageDlg(PageDialogRecord* record) : m_record(record) { m_centre = 0; }

    INT_PTR Run(HWND parent) { return DoModalNamed(GetModuleHandleA(nullptr), "NEWDB", parent, 0); }

    WK_BEGIN_MSG_MAP(CNewPageDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOK)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(kPaper, OnPaperChanged)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CNewPageDlg>)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        ::SetWindowTextA(m_hWnd, English() ? "Add Page" : "ページ追加");
        SetUpPageFields(m_hWnd);
        handled = FALSE;
        return TRUE;
    }

    LRESULT OnPaperChanged(WORD code, WORD, HWND, BOOL&)
    {
        if (code == CBN_SELCHANGE) ShowPaperRowFields(m_hWnd, static_cast<int>(::SendMessageA(GetDlgItem(kPaper), CB_GETCURSEL, 0, 0)));
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        PageDialogRecord& r = *m_record;
        if (!StorePageFields(m_hWnd, r, true)) return 0;
        DbcsCopy(r.fileName, sizeof r.fileName, r.title);
        EndDialog(IDOK);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(IDCANCEL);
        return 0;
    }

    PageDialogRecord* m_record;
};

class CPageManagerDlg : public CDialogBase<CPageManagerDlg> {
public:
    enum { IDD = 0 };

    INT_PTR Run(HWND parent) { return DoModalNamed(GetModuleHandleA(nullptr), "PAGE_APD", parent, 0); }

    WK_BEGIN_MSG_MAP(CPageManagerDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_COMMAND_ID_HANDLER(IDOK, OnOK)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(kAddReference, OnAddReference)
        WK_COMMAND_ID_HANDLER(kAddPage, OnAddPage)
        WK_COMMAND_ID_HANDLER(kDeletePage, OnDeletePage)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CPageManagerDlg>)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        if (English()) {
            ::SetWindowTextA(m_hWnd, "Page Manager (click [OK] when done.)");
            SetDlgItemTextA(m_hWnd, kAddReference, "Add Reference");
            SetDlgItemTextA(m_hWnd, kAddPage, "Add Page");
            SetDlgItemTextA(m_hWnd, kDeletePage, "Delete Page");
        }
        Relist();
        handled = FALSE;
        return TRUE;
    }

    HWND List() { return GetDlgItem(kPageList); }

    void Relist()
    {
        ComputeRecordDepths(true);
        ::SendMessageA(List(), LB_RESETCONTENT, 0, 0);
        for (int key = 0; key < PageDialogRecordCount(); ++key) ::SendMessageA(List(), LB_ADDSTRING, 0, key);
    }

    LRESULT OnMeasureItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        if (wParam != kPageList) {
            handled = FALSE;
            return 0;
        }
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
        return TRUE;
    }

    LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (wParam != kPageList) {
            handled = FALSE;
            return 0;
        }
        HDC dc = item->hDC;
        RECT rect = item->rcItem;
        const bool selected = (item->itemState & ODS_SELECTED) != 0;
        ::FillRect(dc, &rect, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
        if (static_cast<int>(item->itemData) >= PageDialogRecordCount() || item->itemID == static_cast<UINT>(-1)) return TRUE;
        const PageDialogRecord& r = GetPageDialogRecord(static_cast<int>(item->itemData));
        TEXTMETRICA metrics;
        ::GetTextMetricsA(dc, &metrics);
        RECT text = rect;
        text.left += 2 * metrics.tmAveCharWidth * r.depth + 2;
        text.right -= 20;
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        ::DrawTextA(dc, r.fileName, -1, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        RECT box = {rect.right - 16, rect.top + 3, rect.right - 4, rect.bottom - 3};
        HBRUSH fill = ::CreateSolidBrush((r.flags & kPageExternal) ? kReferenceBox : ::GetSysColor(COLOR_WINDOW));
        ::FillRect(dc, &box, fill);
        ::DeleteObject(fill);
        ::FrameRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        return TRUE;
    }

    bool Full()
    {
        if (PageDialogRecordCount() <= kMaxPageDialogRecords) return false;
        Ask(m_hWnd, English() ? "Not Add Page." : "これ以上ページは追加できません。", English() ? "Add Page" : "ページ追加",
            MB_OK | MB_ICONWARNING);
        return true;
    }

    LRESULT OnAddReference(WORD, WORD, HWND, BOOL&)
    {
        if (Full()) return 0;
        RunDrawingFileDialog(m_hWnd, kFileDialogReference);
        Relist();
        return 0;
    }

    LRESULT OnAddPage(WORD, WORD, HWND, BOOL&)
    {
        if (Full()) return 0;
        PageDialogRecord record;
        CNewPageDlg dialog(&record);
        if (dialog.Run(m_hWnd) == IDOK) {
            const int page = FindFreePageNumber();
            if (page != 0) {
                PageDialogRecord& r = GetPageDialogRecord(PageDialogRecordCount());
                const int key = r.key;
                r = record;
                r.key = key;
                r.page = page;
                std::strcpy(r.fileType, "CW2");
                r.state = 1;
                r.flags |= kPageDetectable;
            }
        }
        Relist();
        return 0;
    }

    LRESULT OnDeletePage(WORD, WORD, HWND, BOOL&)
    {
        const int answer = English() ? Ask(m_hWnd, "Delete Page OK?", "Del Page", MB_OKCANCEL | MB_ICONQUESTION)
                                     : Ask(m_hWnd, "ページを削除します。\nよろしいですか？", "ページ削除",
                                           MB_OKCANCEL | MB_ICONQUESTION);
        if (answer != IDOK) return 0;
        const LRESULT count = ::SendMessageA(List(), LB_GETSELCOUNT, 0, 0);
        if (count <= 0) return 0;
        std::vector<int> lines(static_cast<size_t>(count));
        ::SendMessageA(List(), LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(lines.data()));
        // From the last line up, so the keys above a removed sub-tree stay where they were.
        for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
            if (*line < PageDialogRecordCount()) RemovePageRecordWithSubtree(*line);
        }
        Relist();
        return 0;
    }

    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(1);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(0);
        return 0;
    }
};

}  // namespace

int AppendPageCommand(HWND owner)
{
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    if (block == nullptr || block->engineDb == nullptr) return 0;
    FillPageDialogRecords(false);
    CPageManagerDlg dialog;
    if (dialog.Run(owner) == 1) ApplyPageManagerRecords(owner);
    site.ClearUndo(block->engineDb);
    return 0;
}
