#include "drawing/PageSettingsDialog.h"

#include <commctrl.h>
#include <winnetwk.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "HostMessages.h"
#include "commands/CommandCatalog.h"
#include "commands/CommandHost.h"
#include "commands/HostServiceSite.h"
#include "commands/InputHistory.h"
#include "commands/PluginModules.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/Dbcs.h"
#include "core/MessageCatalog.h"
#include "core/NumericInput.h"
#include "dialogs/DialogBase.h"
#include "drawing/DrawingFileCommands.h"
#include "drawing/LayerManagerDialog.h"
#include "drawing/PageOperations.h"
#include "drawing/PaperTable.h"
#include "drawing/ScaleText.h"

namespace {

constexpr int kTree = 1131, kLegendBox = 1153;
constexpr int kTitle = 101, kName = 201, kComment = 301, kFile = 102, kScale = 401, kPaper = 501;
constexpr int kPaperWidth = 800, kPaperHeight = 801, kDrawingWidth = 802, kDrawingHeight = 803;
constexpr int kOriginX = 804, kOriginY = 805, kSlant = 806, kPageScaleX = 402, kPageScaleY = 1049;
constexpr int kExternal = 1066, kGeodetic = 1154, kGetPlacement = 13;
constexpr int kHistoryButtons[] = {7000, 7001, 7002, 7003, 7004};
constexpr int kHistoryFields[] = {kTitle, kName, kComment, kScale, kPageScaleX};
const char* const kHistoryKeys[] = {"NZ_STR1", "NZ_STR2", "NZ_STR3", "NZ_STR4", "NZ_STR4"};
constexpr int kFirstHistoryPick = 1236, kLastHistoryPick = 1259;
constexpr int kPlacementCommand = 5960;
constexpr int kMessageNotRegistered = 5118, kMessageBadScale = 7490, kMessageBadPaper = 7491;
constexpr int kIconWidth = 26, kIconHeight = 18;
constexpr double kPi = 3.14159265358979323846;

bool English() { return GetCadSystem().config.LANGUAGE != 0; }
const char* Caption() { return English() ? "Set Page" : "ページ情報設定"; }

std::string Text(HWND dialog, int id)
{
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

double Evaluate(const std::string& text)
{
    CTwoTermExpr expr;
    return EvalTwoTermExpr(expr, text.c_str());
}

void SetNumber(HWND dialog, int id, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    SetDlgItemTextA(dialog, id, text);
}

int PaperRowOf(const PageDialogRecord& r)
{
    const PaperTableRow* rows = GetPaperTable();
    for (int i = 0; i < kPaperSizeRows; ++i)
        if (r.paperCode != 0 && rows[i].code == r.paperCode) return i;
    return kPaperSizeRows;  // the free size
}

// The drawing size shown beside the paper: paper / scale, 0 when either is no number.
void ShowDrawingSize(HWND dialog)
{
    const double scale = Evaluate(Text(dialog, kScale));
    for (auto [paper, drawing] : {std::make_pair(kPaperWidth, kDrawingWidth), std::make_pair(kPaperHeight, kDrawingHeight)}) {
        const double size = std::atof(Text(dialog, paper).c_str());
        const double shown = scale > 0 && size > 0 && std::isfinite(size / scale) ? size / scale : 0.0;
        char text[64];
        std::snprintf(text, sizeof text, "%lg", shown);
        SetDlgItemTextA(dialog, drawing, text);
    }
}

// Where the record's page lies in the tree: the key of its parent's record, -1 for none.
int ParentKey(const PageDialogRecord& r)
{
    if (r.page == 0) return -1;
    for (int key = 0; key < PageDialogRecordCount(); ++key)
        if (GetPageDialogRecord(key).page == r.parent && key != r.key) return key;
    return 0;
}

// The labels the template names, in the program's two languages.
struct PageFieldLabel {
    int id;
    const char* japanese;
    const char* english;
};
constexpr PageFieldLabel kLabels[] = {
    {1601, "用紙横ｻｲｽﾞ", "Paper X"},     {1602, "用紙縦ｻｲｽﾞ", "Paper Y"},   {1603, "図面横ｻｲｽﾞ", "Draw  X"},
    {1604, "図面縦ｻｲｽﾞ", "Draw  Y"},     {901, "登録パターン", "Pattern"},  {IDCANCEL, "ｷｬﾝｾﾙ", "Cancel"},
    {kGetPlacement, "参照", "Get"},      {1605, "原点", "Origin"},          {1606, "傾き", "Slant"},
    {1607, "ファイル名", "File Name"},   {kExternal, "外部参照", "Out Read"}, {1608, "倍率-X", "Scale"},
    {1609, "[ 図面情報 ]", "Paper Info"}, {1610, "[ 配置情報 ]", "Arrangement Info"},
};

void CentreOnWorkArea(HWND dialog)
{
    MONITORINFO monitor = {sizeof monitor};
    if (!::GetMonitorInfoA(::MonitorFromWindow(dialog, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    RECT r;
    ::GetWindowRect(dialog, &r);
    const RECT& work = monitor.rcWork;
    const int x = work.left + ((work.right - work.left) - (r.right - r.left)) / 2;
    const int y = work.top + ((work.bottom - work.top) - (r.bottom - r.top)) / 2;
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

class CPageEditDlg : public CDialogBase<CPageEditDlg> {
public:
    enum { IDD = 0 };
    explicit CPageEditDlg(int current) : m_current(current) { m_centre = 0; }

    INT_PTR Run(HWND parent) { return DoModalNamed(GetModuleHandleA(nullptr), "PAGE_EDIT", parent, 0); }
    bool PlacementRequested() const { return m_request; }
    int Current() const { return m_current; }

    WK_BEGIN_MSG_MAP(CPageEditDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WK_MESSAGE_HANDLER(WM_PAINT, OnPaint)
        WK_NOTIFY_ID_HANDLER(kTree, OnTreeNotify)
        WK_COMMAND_ID_HANDLER(IDOK, OnOK)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(kGetPlacement, OnOK)
        WK_COMMAND_ID_HANDLER(kPaper, OnPaper)
        WK_COMMAND_ID_HANDLER(kScale, OnSizeEdited)
        WK_COMMAND_ID_HANDLER(kPaperWidth, OnSizeEdited)
        WK_COMMAND_ID_HANDLER(kPaperHeight, OnSizeEdited)
        WK_COMMAND_ID_HANDLER(kPageScaleX, OnPageScale)
        WK_COMMAND_RANGE_HANDLER(7000, 7004, OnHistoryButton)
        WK_COMMAND_RANGE_HANDLER(kFirstHistoryPick, kLastHistoryPick, OnHistoryItem)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CPageEditDlg>)
    WK_END_MSG_MAP()

    static LRESULT CALLBACK TreeProc(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    HWND Tree() { return GetDlgItem(kTree); }

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        ::SetWindowTextA(m_hWnd, Caption());
        SetUpPageFields(m_hWnd);

        m_images = ImageList_Create(kIconWidth, kIconHeight, ILC_COLOR24 | ILC_MASK, 3, 0);
        for (int id : {216, 206, 210}) {
            auto icon = static_cast<HICON>(
                LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, kIconWidth, kIconHeight, 0));
            ImageList_AddIcon(m_images, icon);
            if (icon != nullptr) DestroyIcon(icon);
        }
        TreeView_SetImageList(Tree(), m_images, TVSIL_NORMAL);
        ::SetPropA(Tree(), "PageEditDialog", this);
        m_oldTreeProc = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(Tree(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TreeProc)));
        FillTree();
        if (m_current >= 0 && m_current < PageDialogRecordCount()) {
            ShowRecord(m_current);
            m_selecting = true;
            TreeView_SelectItem(Tree(), GetPageDialogRecord(m_current).item);
            m_selecting = false;
        }
        handled = FALSE;
        return TRUE;
    }

    static int ImageOf(const PageDialogRecord& r)
    {
        return PageIconIndex((r.flags & kPageShown) != 0, (r.flags & kPageDetectable) != 0);
    }

    void FillTree()
    {
        for (int key = 0; key < PageDialogRecordCount(); ++key) GetPageDialogRecord(key).item = nullptr;
        // Parents before children: insert what has its parent's item, until nothing more goes in.
        for (int pass = 0, added = 1; added != 0 && pass <= kMaxPage + 1; ++pass) {
            added = 0;
            for (int key = 0; key < PageDialogRecordCount(); ++key) {
                PageDialogRecord& r = GetPageDialogRecord(key);
                if (r.item != nullptr) continue;
                const int parent = ParentKey(r);
                HTREEITEM parentItem = parent < 0 ? TVI_ROOT : GetPageDialogRecord(parent).item;
                if (parentItem == nullptr) continue;
                TVINSERTSTRUCTA insert = {};
                insert.hParent = parentItem;
                insert.hInsertAfter = TVI_LAST;
                insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
                insert.item.pszText = r.title;
                insert.item.iImage = insert.item.iSelectedImage = ImageOf(r);
                insert.item.lParam = key;
                r.item = reinterpret_cast<HTREEITEM>(::SendMessageA(Tree(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
                ++added;
            }
        }
        for (int key = 0; key < PageDialogRecordCount(); ++key)
            if (HTREEITEM item = GetPageDialogRecord(key).item) TreeView_Expand(Tree(), item, TVE_EXPAND);
    }

    void ShowRecord(int key)
    {
        const PageDialogRecord& r = GetPageDialogRecord(key);
        SetDlgItemTextA(m_hWnd, kTitle, r.title);
        SetDlgItemTextA(m_hWnd, kName, r.name);
        SetDlgItemTextA(m_hWnd, kComment, r.comment);
        SetDlgItemTextA(m_hWnd, kFile, r.fileName);
        char text[64];
        FormatScaleText(r.drawingScale, text, sizeof text);
        SetDlgItemTextA(m_hWnd, kScale, text);
        const int row = PaperRowOf(r);
        ::SendMessageA(GetDlgItem(kPaper), CB_SETCURSEL, row, 0);
        SetNumber(m_hWnd, kPaperWidth, r.paperWidth);
        SetNumber(m_hWnd, kPaperHeight, r.paperHeight);
        ShowPaperRowFields(m_hWnd, row);
        std::snprintf(text, sizeof text, "%lg", r.OriginX());
        SetDlgItemTextA(m_hWnd, kOriginX, text);
        std::snprintf(text, sizeof text, "%lg", r.OriginY());
        SetDlgItemTextA(m_hWnd, kOriginY, text);
        std::snprintf(text, sizeof text, "%lg", r.angle * 180.0 / kPi);
        SetDlgItemTextA(m_hWnd, kSlant, text);
        SetNumber(m_hWnd, kPageScaleX, r.scaleX);
        if (r.page == 0) SetDlgItemTextA(m_hWnd, kPageScaleY, "1");
        else SetNumber(m_hWnd, kPageScaleY, r.scaleY);
        m_pageScaleText = Text(m_hWnd, kPageScaleX);
        ::CheckDlgButton(m_hWnd, kExternal, (r.flags & kPageExternal) ? BST_CHECKED : BST_UNCHECKED);
        ::ShowWindow(GetDlgItem(kGeodetic), r.word4 == 1 ? SW_SHOW : SW_HIDE);
        // The placement belongs to the pages right under the drawing.
        const bool placed = r.depth == 1;
        for (int id : {kPageScaleX, kPageScaleY, kOriginX, kOriginY, kSlant, kGetPlacement, 7004})
            ::EnableWindow(GetDlgItem(id), placed);
        ShowDrawingSize(m_hWnd);
    }

    LRESULT OnTreeNotify(int, LPNMHDR header, BOOL& handled)
    {
        if (header->code != TVN_SELCHANGEDA && header->code != TVN_SELCHANGEDW) {
            handled = FALSE;
            return 0;
        }
        if (m_selecting) return 0;
        const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
        const int key = static_cast<int>(change->itemNew.lParam);
        if (key < 0 || key >= PageDialogRecordCount() || key == m_current) return 0;
        // The fields go into the page left, whatever they hold.
        if (m_current >= 0 && m_current < PageDialogRecordCount()) StorePageFields(m_hWnd, GetPageDialogRecord(m_current), false);
        m_current = key;
        ShowRecord(key);
        return 0;
    }

  public:
    // A click on a page's state icon: left shown and detectable ↔ hidden, right shown only ↔
    // hidden. true when the click was on an icon.
    bool ClickIcon(HWND tree, LPARAM lParam, int button)
    {
        TVHITTESTINFO hit = {};
        hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        auto item = reinterpret_cast<HTREEITEM>(::SendMessageA(tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
        if (item == nullptr) return false;
        RECT label = {};
        std::memcpy(&label, &item, sizeof item);
        if (!::SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label))) return false;
        if (hit.pt.x < label.left - kIconWidth || hit.pt.x >= label.left) return false;
        TVITEMA tv = {};
        tv.mask = TVIF_PARAM;
        tv.hItem = item;
        ::SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        const int key = static_cast<int>(tv.lParam);
        if (key < 0 || key >= PageDialogRecordCount()) return false;
        PageDialogRecord& r = GetPageDialogRecord(key);
        int display = (r.flags & kPageShown) != 0, detect = (r.flags & kPageDetectable) != 0;
        ToggleDisplayDetect(&display, &detect, button);
        r.flags = static_cast<uint8_t>((r.flags & ~(kPageShown | kPageDetectable)) | (display ? kPageShown : 0) |
                                       (detect ? kPageDetectable : 0));
        tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tv.iImage = tv.iSelectedImage = ImageOf(r);
        ::SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
        return true;
    }
    WNDPROC OldTreeProc() const { return m_oldTreeProc; }

  private:
    LRESULT OnPaper(WORD code, WORD, HWND, BOOL&)
    {
        if (code == CBN_SELCHANGE) ShowPaperRowFields(m_hWnd, static_cast<int>(::SendMessageA(GetDlgItem(kPaper), CB_GETCURSEL, 0, 0)));
        return 0;
    }

    LRESULT OnSizeEdited(WORD code, WORD, HWND, BOOL&)
    {
        if (code == EN_CHANGE || code == CBN_EDITCHANGE || code == CBN_SELENDOK) ShowDrawingSize(m_hWnd);
        return 0;
    }

    LRESULT OnPageScale(WORD code, WORD, HWND, BOOL&)
    {
        // A changed page scale x is taken for y when the field is left.
        if (code != CBN_KILLFOCUS) return 0;
        const std::string now = Text(m_hWnd, kPageScaleX);
        if (now != m_pageScaleText) SetDlgItemTextA(m_hWnd, kPageScaleY, now.c_str());
        m_pageScaleText = now;
        return 0;
    }

    LRESULT OnHistoryButton(WORD, WORD id, HWND button, BOOL&)
    {
        m_history = id - kHistoryButtons[0];
        RECT r;
        ::GetWindowRect(button, &r);
        POINT at = {r.right, r.top};
        ::ScreenToClient(m_hWnd, &at);
        ShowInputHistoryMenu(m_hWnd, MAKELPARAM(at.x, at.y), kHistoryKeys[m_history]);
        return 0;
    }

    LRESULT OnHistoryItem(WORD, WORD id, HWND, BOOL&)
    {
        char entry[kInputHistorySlotSize] = "";
        GetInputHistoryEntry(entry, sizeof entry, id - kFirstHistoryPick);
        SetDlgItemTextA(m_hWnd, kHistoryFields[m_history], entry);
        if (kHistoryFields[m_history] == kPageScaleX) SetDlgItemTextA(m_hWnd, kPageScaleY, entry);
        ShowDrawingSize(m_hWnd);
        return 0;
    }

    LRESULT OnOK(WORD, WORD id, HWND, BOOL&)
    {
        if (m_current < 0 || m_current >= PageDialogRecordCount()) return 0;
        if (!StorePageFields(m_hWnd, GetPageDialogRecord(m_current), true)) return 0;
        m_request = id == kGetPlacement;
        EndDialog(1);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(2);
        return 0;
    }

    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        if (m_oldTreeProc != nullptr) ::SetWindowLongPtrA(Tree(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldTreeProc));
        ::RemovePropA(Tree(), "PageEditDialog");
        TreeView_SetImageList(Tree(), nullptr, TVSIL_NORMAL);
        if (m_images != nullptr) ImageList_Destroy(m_images);
        m_images = nullptr;
        handled = FALSE;
        return 0;
    }

    // The legend: the icons of the two clicks in front of their texts, in a white frame.
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&)
    {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        RECT box = {};
        ::GetWindowRect(GetDlgItem(kLegendBox), &box);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&box), 2);
        ::FillRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ::FrameRect(dc, &box, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)));
        ::SetBkMode(dc, TRANSPARENT);
        const std::pair<int, int> legend[] = {{510, 2}, {511, 1}};
        for (auto [id, image] : legend) {
            RECT r = {};
            ::GetWindowRect(GetDlgItem(id), &r);
            ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
            if (m_images != nullptr) ImageList_Draw(m_images, image, dc, r.left - kIconWidth - 2, r.top - 4, ILD_TRANSPARENT);
            const std::string text = Text(m_hWnd, id);
            ::TextOutA(dc, r.left, r.top, text.c_str(), static_cast<int>(text.size()));
        }
        ::SelectObject(dc, old);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }

    int m_current;
    bool m_request = false;
    bool m_selecting = false;
    int m_history = 0;
    std::string m_pageScaleText;
    HIMAGELIST m_images = nullptr;
    WNDPROC m_oldTreeProc = nullptr;
};

LRESULT CALLBACK CPageEditDlg::TreeProc(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* dialog = static_cast<CPageEditDlg*>(::GetPropA(tree, "PageEditDialog"));
    if (dialog == nullptr) return ::DefWindowProcA(tree, msg, wParam, lParam);
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN) dialog->ClickIcon(tree, lParam, msg == WM_RBUTTONDOWN ? 1 : 0);
    return ::CallWindowProcA(dialog->OldTreeProc(), tree, msg, wParam, lParam);
}

// Asks the placement library for the page's placement; true when the record took one.
bool GetPlacementFromLibrary(HWND owner, PageDialogRecord& r, bool* ended)
{
    *ended = true;
    char line[MAX_PATH];
    CLumbraCmd& catalog = GetLumbraCmd();
    if (catalog.GetCommandLineById(kPlacementCommand, line, sizeof line) != 1) {
        GetCommandHost().ShowMessageBox(owner, GetMessageText(kMessageNotRegistered), "ERROR", MB_OK | MB_ICONERROR);
        return false;
    }
    std::string module, arguments;
    HMODULE library = LoadCommandModule(catalog, kPlacementCommand, module, arguments, nullptr);
    if (library == nullptr) return false;
    using GetPageTranProc = int(WINAPI*)(HWND, int, double*, double*, int32_t*);
    auto get = reinterpret_cast<GetPageTranProc>(GetProcAddress(library, "GetPageTran"));
    double angle = r.angle, scale = r.scaleX;
    int32_t origin[6];
    std::memcpy(origin, r.origin, sizeof origin);
    if (get == nullptr) {
        GetCommandHost().ShowMessageBox(owner, GetMessageText(kMessageNotRegistered), "ERROR", MB_OK | MB_ICONERROR);
        catalog.FreeCommandModule();
        return false;
    }
    if (get(GetHostServiceSite().MainWindow(), r.page, &angle, &scale, origin) != 1) {
        catalog.FreeCommandModule();
        return false;
    }
    r.angle = angle;
    r.scaleX = r.scaleY = scale;
    std::memcpy(r.origin, origin, sizeof origin);
    *ended = false;
    return true;
}

}  // namespace

RememberedPageFields& GetRememberedPageFields()
{
    static RememberedPageFields remembered;
    return remembered;
}

void ShowPaperRowFields(HWND dialog, int row)
{
    const bool custom = row < 0 || row >= kPaperSizeRows;
    ::EnableWindow(::GetDlgItem(dialog, kPaperWidth), custom);
    ::EnableWindow(::GetDlgItem(dialog, kPaperHeight), custom);
    if (!custom) {
        SetNumber(dialog, kPaperWidth, GetPaperTable()[row].width);
        SetNumber(dialog, kPaperHeight, GetPaperTable()[row].height);
    }
    ShowDrawingSize(dialog);
}

void SetUpPageFields(HWND dialog)
{
    CentreOnWorkArea(dialog);
    SetDlgItemTextA(dialog, 1101, GetMessageText(5110));
    SetDlgItemTextA(dialog, 1201, GetMessageText(5111));
    SetDlgItemTextA(dialog, 1301, GetMessageText(5112));
    SetDlgItemTextA(dialog, 1401, GetMessageText(5113));
    SetDlgItemTextA(dialog, 1501, GetMessageText(5114));
    for (const PageFieldLabel& label : kLabels)
        if (HWND control = ::GetDlgItem(dialog, label.id)) ::SetWindowTextA(control, English() ? label.english : label.japanese);
    // The layer patterns are not offered in the page dialogs.
    for (int id : {901, 902})
        if (HWND control = ::GetDlgItem(dialog, id)) ::ShowWindow(control, SW_HIDE);
    HWND paper = ::GetDlgItem(dialog, kPaper);
    const PaperTableRow* rows = GetPaperTable();
    for (int i = 0; i < kPaperSizeRows; ++i) ::SendMessageA(paper, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rows[i].name));
    ::SendMessageA(paper, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("その他"));
    std::vector<std::string> scales;
    GetScaleList(scales);
    for (const std::string& s : scales)
        for (int id : {kScale, kPageScaleX}) ::SendDlgItemMessageA(dialog, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    char user[256] = "";
    DWORD size = sizeof user;
    if (WNetGetUserA(nullptr, user, &size) == NO_ERROR) SetDlgItemTextA(dialog, kName, user);

    const RememberedPageFields& last = GetRememberedPageFields();
    const int row = last.paperRow >= 0 && last.paperRow <= kPaperSizeRows ? last.paperRow : 0;
    ::SendMessageA(paper, CB_SETCURSEL, row, 0);
    char text[64];
    FormatScaleText(last.drawingScale > 0 ? last.drawingScale : 1.0, text, sizeof text);
    SetDlgItemTextA(dialog, kScale, text);
    SetNumber(dialog, kPageScaleX, last.pageScale > 0 ? last.pageScale : 1.0);
    if (row == kPaperSizeRows) {
        SetNumber(dialog, kPaperWidth, last.paperWidth);
        SetNumber(dialog, kPaperHeight, last.paperHeight);
    }
    ShowPaperRowFields(dialog, row);
}

bool StorePageFields(HWND dialog, PageDialogRecord& r, bool report)
{
    auto refuse = [&](int message) {
        char caption[128] = "";
        ::GetWindowTextA(dialog, caption, sizeof caption);
        if (report) GetCommandHost().ShowMessageBox(dialog, GetMessageText(message), caption, MB_OK | MB_ICONWARNING);
        return false;
    };
    DbcsCopy(r.fileName, sizeof r.fileName, Text(dialog, kFile).c_str());
    DbcsCopy(r.title, sizeof r.title, Text(dialog, kTitle).c_str());
    DbcsCopy(r.name, sizeof r.name, Text(dialog, kName).c_str());
    DbcsCopy(r.comment, sizeof r.comment, Text(dialog, kComment).c_str());
    AddInputHistory(r.title, kHistoryKeys[0]);
    AddInputHistory(r.name, kHistoryKeys[1]);
    AddInputHistory(r.comment, kHistoryKeys[2]);
    if (r.item != nullptr) {
        TVITEMA tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = r.item;
        tv.pszText = r.title;
        ::SendDlgItemMessageA(dialog, kTree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    }
    const std::string scaleText = Text(dialog, kScale);
    const double scale = Evaluate(scaleText);
    if (!(scale > 0) || !std::isfinite(scale)) return refuse(kMessageBadScale);
    AddInputHistory(scaleText.c_str(), kHistoryKeys[3]);
    const int row = static_cast<int>(::SendDlgItemMessageA(dialog, kPaper, CB_GETCURSEL, 0, 0));
    double width = 0, height = 0;
    uint16_t code = 0;
    if (row >= 0 && row < kPaperSizeRows) {
        const PaperTableRow& p = GetPaperTable()[row];
        width = p.width, height = p.height, code = p.code;
    } else {
        width = std::atof(Text(dialog, kPaperWidth).c_str());
        height = std::atof(Text(dialog, kPaperHeight).c_str());
        if (!(width > 0) || !(height > 0)) {
            if (!(width > 0)) SetDlgItemTextA(dialog, kPaperWidth, "0");
            if (!(height > 0)) SetDlgItemTextA(dialog, kPaperHeight, "0");
            return refuse(kMessageBadPaper);
        }
    }
    r.drawingScale = scale;
    r.paperWidth = width, r.paperHeight = height, r.paperCode = code;
    r.extentX = width / scale, r.extentY = height / scale;
    r.SetOrigin(std::atof(Text(dialog, kOriginX).c_str()), std::atof(Text(dialog, kOriginY).c_str()));
    r.angle = std::atof(Text(dialog, kSlant).c_str()) * kPi / 180.0;
    double pageScale = Evaluate(Text(dialog, kPageScaleX));
    if (!(pageScale > 0) || !std::isfinite(pageScale)) pageScale = 1.0;
    if (std::fabs(pageScale - r.scaleX) > 1e-8) r.scaleY = pageScale;
    r.scaleX = pageScale;
    if (::IsDlgButtonChecked(dialog, kExternal) == BST_CHECKED) r.flags |= kPageExternal;
    else r.flags &= static_cast<uint8_t>(~kPageExternal);
    RememberedPageFields& last = GetRememberedPageFields();
    last.paperRow = row >= 0 && row < kPaperSizeRows ? row : kPaperSizeRows;
    last.paperWidth = width, last.paperHeight = height;
    last.drawingScale = scale;
    last.pageScale = pageScale;
    last.title = r.title, last.name = r.name, last.comment = r.comment;
    return true;
}

int EditPagesCommand(HWND owner)
{
    CHostServiceSite& site = GetHostServiceSite();
    PDBINFO* block = ActiveDrawingBlock(site);
    if (block == nullptr || block->engineDb == nullptr) return 0;
    FillPageDialogRecords(true);
    ClearStatusText();
    int current = 0;
    for (;;) {
        CPageEditDlg dialog(current);
        if (dialog.Run(owner) != 1) break;
        current = dialog.Current();
        if (dialog.PlacementRequested()) {
            bool ended = true;
            if (!GetPlacementFromLibrary(owner, GetPageDialogRecord(current), &ended) || ended) break;
            continue;
        }
        for (int key = 0; key < PageDialogRecordCount(); ++key) {
            const PageDialogRecord& r = GetPageDialogRecord(key);
            if (key > 0 && r.page == 0) continue;
            WritePageDialogRecord(r);
            SetPageDisplayed(r.page, (r.flags & kPageShown) ? 1 : 0);
            SetPageDetectable(r.page, (r.flags & kPageDetectable) ? 1 : 0);
        }
        if (HWND main = site.MainWindow()) SendMessageA(main, WM_CAD_REDRAW_VIEW, 0, 0);
        site.RefreshToolPanel();
        break;
    }
    FreePageDialogRecords();
    return 0;
}
