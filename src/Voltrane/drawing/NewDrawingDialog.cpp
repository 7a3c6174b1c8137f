#include "drawing/NewDrawingDialog.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Dravik.h"
#include "DravikDb.h"
#include "commands/InputHistory.h"
#include "core/CadSystem.h"
#include "core/ConfigIo.h"
#include "core/Dbcs.h"
#include "core/LocalSettings.h"
#include "core/MessageCatalog.h"
#include "core/NumericInput.h"
#include "core/SettingsMessage.h"
#include "core/SystemLog.h"
#include "dialogs/DialogBase.h"
#include "drawing/LayerPatternFile.h"
#include "drawing/PaperTable.h"
#include "drawing/ScaleText.h"
#include "view/DrawingWindowCreation.h"
#include "view/ViewCoordinates.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

constexpr int kName = 1300, kAuthor = 1301, kRemarks = 1302;
constexpr int kPaper = 1400, kDirection = 502, kScale = 1401;
constexpr int kPaperWidth = 1303, kPaperHeight = 1304, kDrawingWidth = 802, kDrawingHeight = 803;
constexpr int kLayerPattern = 1402, kLayerLabel = 1601;
constexpr int kOriginLowerLeft = 1200, kOriginCentre = 1201;
// The "履歴" buttons beside name, author, remarks and scale, and their input histories.
constexpr int kHistoryButtons[] = {1001, 1002, 7002, 1003};
constexpr int kHistoryFields[] = {kName, kAuthor, kRemarks, kScale};
const char* const kHistoryKeys[] = {"NZ_STR1", "NZ_STR2", "NZ_STR3", "NZ_STR4"};
constexpr int kFirstHistoryPick = 1236, kLastHistoryPick = 1259;
constexpr int kFreePaperRow = 28;
constexpr int kMessageBadScale = 7490, kMessageBadPaper = 7491, kMessageCaption = 5150, kMessageInfoCaption = 5115;
const char kFreePaper[] = "その他";
const char kNoPattern[] = "設定しない";

bool Positive(double value) { return value > 0 && !(std::fabs(value) < 1e-8) && std::isfinite(value); }

double Evaluate(const char* text)
{
    CTwoTermExpr expr;
    return EvalTwoTermExpr(expr, text);
}

std::string Text(HWND dialog, int id)
{
    char text[1024] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void SetNumber(HWND dialog, int id, double value)
{
    char text[64];
    FormatDouble(text, sizeof text, value, 15, 1);
    SetDlgItemTextA(dialog, id, text);
}

std::string ComboSelection(HWND dialog, int id)
{
    HWND combo = GetDlgItem(dialog, id);
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return std::string();
    char text[256] = {};
    if (SendMessageA(combo, CB_GETLBTEXTLEN, index, 0) < static_cast<LRESULT>(sizeof text))
        SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

void SelectText(HWND dialog, int id, const std::string& text)
{
    SendMessageA(GetDlgItem(dialog, id), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
}

constexpr int kNewDrawingTemplate = 221;
constexpr int kStartTemplate = 232;
constexpr int kOpenButton = 1803, kPicture = 1807;
constexpr int kResultOpen = 100;

// The new-drawing dialog (template 221) and the start dialog (232) share their entries; the
// start dialog has a picture and "開　く", offers no free paper size and hides the sizes and
// the origin.
template <int Template>
class CZumenDlg : public CDialogBase<CZumenDlg<Template>> {
public:
    enum { IDD = Template };
    static constexpr bool kStart = Template == kStartTemplate;
    using Base = CDialogBase<CZumenDlg<Template>>;
    using Base::m_hWnd;
    using Base::GetDlgItem;
    using Base::EndDialog;
    CZumenDlg(DbInfoRecord* record, bool newDrawing) : m_record(record), m_newDrawing(newDrawing || kStart) {}

    WK_BEGIN_MSG_MAP(CZumenDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOK)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(kPaper, OnPaperChanged)
        WK_COMMAND_ID_HANDLER(kDirection, OnPaperChanged)
        WK_COMMAND_ID_HANDLER(kPaperWidth, OnPaperSizeEdited)
        WK_COMMAND_ID_HANDLER(kPaperHeight, OnPaperSizeEdited)
        WK_COMMAND_ID_HANDLER(kScale, OnScaleChanged)
        WK_COMMAND_ID_HANDLER(kOpenButton, OnOpenButton)
        WK_COMMAND_ID_HANDLER(1001, OnHistoryButton)
        WK_COMMAND_ID_HANDLER(1002, OnHistoryButton)
        WK_COMMAND_ID_HANDLER(7002, OnHistoryButton)
        WK_COMMAND_ID_HANDLER(1003, OnHistoryButton)
        WK_COMMAND_RANGE_HANDLER(kFirstHistoryPick, kLastHistoryPick, OnHistoryItem)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        if (kStart) {
            const std::string picture = GetCadSystem().config.file.titleBmpPath;
            m_picture = static_cast<HBITMAP>(LoadImageA(nullptr, picture.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
            if (m_picture != nullptr) ::SendMessageA(GetDlgItem(kPicture), STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_picture));
            for (int id : {kPaperWidth, kPaperHeight, kDrawingWidth, kDrawingHeight, 1602, 1800, 1805, 1806, kOriginLowerLeft,
                           kOriginCentre})
                ::ShowWindow(GetDlgItem(id), SW_HIDE);
        }
        for (int id : {kPaperWidth, kPaperHeight, kDrawingWidth, kDrawingHeight}) ::EnableWindow(GetDlgItem(id), FALSE);
        FillPaperSizeCombo();
        HWND scale = GetDlgItem(kScale);
        std::vector<std::string> scales;
        GetScaleList(scales);
        int remembered = -1;
        for (const std::string& text : scales) {
            const LRESULT index = ::SendMessageA(scale, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            if (std::fabs(Evaluate(text.c_str()) - m_record->scale) < 1e-8) remembered = static_cast<int>(index);
        }
        HWND patterns = GetDlgItem(kLayerPattern);
        ::SendMessageA(patterns, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoPattern));
        static char names[kMaxLayerPatterns][kPatternNameSize];
        const int count = ListLayerPatterns(names);
        for (int i = 0; i < count; ++i) ::SendMessageA(patterns, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i]));
        const std::string& last = GetLocalSettingsLive().setup.szDefPaperPtn;
        const LRESULT chosen = last.empty() ? CB_ERR
                                            : ::SendMessageA(patterns, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                             reinterpret_cast<LPARAM>(last.c_str()));
        ::SendMessageA(patterns, CB_SETCURSEL, chosen != CB_ERR ? chosen : 0, 0);

        LocalSettingsSetup& defaults = GetLocalSettingsLive().setup;
        if (m_newDrawing) {
            const int row = defaults.iDefPaperType >= 0 && defaults.iDefPaperType <= kFreePaperRow ? defaults.iDefPaperType : 0;
            m_record->paperCode = GetPaperTable()[row].code;
            m_record->scale = defaults.dDefPaperScale;
            m_record->paperWidthMm = defaults.dDelPaperCx;
            m_record->paperHeightMm = defaults.dDelPaperCy;
            if (Positive(m_record->scale)) {
                m_record->drawingWidth = m_record->paperWidthMm / m_record->scale;
                m_record->drawingHeight = m_record->paperHeightMm / m_record->scale;
            }
        }
        SetDlgItemTextA(m_hWnd, kName, m_record->title);
        SetDlgItemTextA(m_hWnd, kAuthor, m_record->author);
        SetDlgItemTextA(m_hWnd, kRemarks, m_record->remarks);
        SetNumber(m_hWnd, kPaperWidth, m_record->paperWidthMm);
        SetNumber(m_hWnd, kPaperHeight, m_record->paperHeightMm);
        SetNumber(m_hWnd, kDrawingWidth, m_record->drawingWidth);
        SetNumber(m_hWnd, kDrawingHeight, m_record->drawingHeight);
        char scaleText[64];
        FormatScaleText(m_record->scale, scaleText, sizeof scaleText);
        SetDlgItemTextA(m_hWnd, kScale, scaleText);
        if (remembered >= 0) ::SendMessageA(scale, CB_SETCURSEL, remembered, 0);
        CheckRadioButton(m_hWnd, kOriginLowerLeft, kOriginCentre, m_record->originMode == 1 ? kOriginLowerLeft : kOriginCentre);

        const PaperTableRow* row = FindPaperRow(m_record->paperCode);
        SelectPaperInCombos(row != nullptr ? static_cast<int>(row - GetPaperTable()) : kFreePaperRow);
        if (row == nullptr) {
            ::EnableWindow(GetDlgItem(kPaperWidth), TRUE);
            ::EnableWindow(GetDlgItem(kPaperHeight), TRUE);
        }
        if (!m_newDrawing) {
            ::SetWindowTextA(m_hWnd, GetMessageText(kMessageInfoCaption));
            ::ShowWindow(GetDlgItem(kLayerPattern), SW_HIDE);
            ::ShowWindow(GetDlgItem(kLayerLabel), SW_HIDE);
        }
        handled = FALSE;  // the base's WM_INITDIALOG runs too
        return 0;
    }

    void FillPaperSizeCombo()
    {
        HWND paper = GetDlgItem(kPaper);
        std::vector<std::string> sizes;
        for (int i = 0; i < kPaperSizeRows; ++i) {
            std::string size(GetPaperTable()[i].name, 2);
            bool seen = false;
            for (const std::string& s : sizes) seen = seen || s == size;
            if (!seen) sizes.push_back(size);
        }
        for (const std::string& size : sizes) ::SendMessageA(paper, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(size.c_str()));
        if (!kStart) ::SendMessageA(paper, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kFreePaper));
        ::SendMessageA(paper, CB_SETCURSEL, 0, 0);
        HWND direction = GetDlgItem(kDirection);
        ::SendMessageA(direction, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("横"));
        ::SendMessageA(direction, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("縦"));
        ::SendMessageA(direction, CB_SETCURSEL, 0, 0);
    }

    int GetSelectedPaperIndex()
    {
        const std::string size = ComboSelection(m_hWnd, kPaper);
        if (size == kFreePaper) return kFreePaperRow;
        const std::string name = size + " " + ComboSelection(m_hWnd, kDirection);
        for (int i = 0; i < kPaperSizeRows; ++i)
            if (name == GetPaperTable()[i].name) return i;
        return -1;
    }

    void SelectPaperInCombos(int row)
    {
        if (row >= kFreePaperRow || row < 0) {
            SelectText(m_hWnd, kPaper, kFreePaper);
            ::EnableWindow(GetDlgItem(kDirection), FALSE);
            return;
        }
        const std::string name = GetPaperTable()[row].name;
        const size_t blank = name.find(' ');
        SelectText(m_hWnd, kPaper, name.substr(0, blank));
        if (blank != std::string::npos) SelectText(m_hWnd, kDirection, name.substr(blank + 1));
        ::EnableWindow(GetDlgItem(kDirection), TRUE);
    }

    void UpdateDrawingSize(double scale)
    {
        if (!Positive(scale)) return;
        const int row = GetSelectedPaperIndex();
        double width, height;
        if (row >= 0 && row < kFreePaperRow) {
            width = GetPaperTable()[row].width, height = GetPaperTable()[row].height;
        } else {
            width = Evaluate(Text(m_hWnd, kPaperWidth).c_str());
            height = Evaluate(Text(m_hWnd, kPaperHeight).c_str());
            if (!Positive(width)) width = 0;
            if (!Positive(height)) height = 0;
        }
        SetNumber(m_hWnd, kDrawingWidth, width / scale);
        SetNumber(m_hWnd, kDrawingHeight, height / scale);
    }

    LRESULT OnPaperChanged(WORD code, WORD, HWND, BOOL& handled)
    {
        if (code != CBN_SELCHANGE) {
            handled = FALSE;
            return 0;
        }
        const int row = GetSelectedPaperIndex();
        const bool free = row == kFreePaperRow || row < 0;
        ::EnableWindow(GetDlgItem(kPaperWidth), free);
        ::EnableWindow(GetDlgItem(kPaperHeight), free);
        ::EnableWindow(GetDlgItem(kDirection), !free);
        if (!free) {
            SetNumber(m_hWnd, kPaperWidth, GetPaperTable()[row].width);
            SetNumber(m_hWnd, kPaperHeight, GetPaperTable()[row].height);
            UpdateDrawingSize(Evaluate(Text(m_hWnd, kScale).c_str()));
        }
        return 0;
    }

    LRESULT OnPaperSizeEdited(WORD code, WORD, HWND, BOOL& handled)
    {
        if (code != EN_CHANGE) {
            handled = FALSE;
            return 0;
        }
        UpdateDrawingSize(Evaluate(Text(m_hWnd, kScale).c_str()));
        return 0;
    }

    LRESULT OnScaleChanged(WORD code, WORD, HWND, BOOL& handled)
    {
        if (code == CBN_SELCHANGE) {
            UpdateDrawingSize(Evaluate(ComboSelection(m_hWnd, kScale).c_str()));
        } else if (code == CBN_EDITUPDATE) {
            UpdateDrawingSize(Evaluate(Text(m_hWnd, kScale).c_str()));
        } else {
            handled = FALSE;
        }
        return 0;
    }

    // The history menu of the button's field, below the button.
    LRESULT OnHistoryButton(WORD, WORD id, HWND button, BOOL&)
    {
        for (int i = 0; i < 4; ++i)
            if (kHistoryButtons[i] == id) m_historyKey = i;
        RECT rc = {};
        ::GetWindowRect(button, &rc);
        POINT at = {(rc.left + rc.right) / 2, rc.bottom + 5};
        ::ScreenToClient(m_hWnd, &at);
        ShowInputHistoryMenu(m_hWnd, MAKELPARAM(at.x, at.y), kHistoryKeys[m_historyKey]);
        return 0;
    }

    // A picked entry goes into its field and to the front of its history.
    LRESULT OnHistoryItem(WORD, WORD id, HWND, BOOL&)
    {
        char entry[260] = {};
        GetInputHistoryEntry(entry, sizeof entry, id - kFirstHistoryPick);
        AddInputHistory(entry, kHistoryKeys[m_historyKey]);
        SetDlgItemTextA(m_hWnd, kHistoryFields[m_historyKey], entry);
        if (kHistoryFields[m_historyKey] == kScale) UpdateDrawingSize(Evaluate(entry));
        return 0;
    }

    // Texts longer than the record's fields are cut on a character boundary.
    LRESULT OnOK(WORD, WORD, HWND, BOOL&)
    {
        DbcsCopy(m_record->title, sizeof m_record->title, Text(m_hWnd, kName).c_str());
        DbcsCopy(m_record->author, sizeof m_record->author, Text(m_hWnd, kAuthor).c_str());
        DbcsCopy(m_record->remarks, sizeof m_record->remarks, Text(m_hWnd, kRemarks).c_str());
        AddInputHistory(m_record->title, kHistoryKeys[0]);
        AddInputHistory(m_record->author, kHistoryKeys[1]);
        AddInputHistory(m_record->remarks, kHistoryKeys[2]);
        NewDrawingChoice choice;
        const std::string scaleText = Text(m_hWnd, kScale);
        choice.scale = Evaluate(scaleText.c_str());
        choice.paperRow = GetSelectedPaperIndex();
        if (choice.paperRow < 0) choice.paperRow = kFreePaperRow;
        choice.freeWidth = Evaluate(Text(m_hWnd, kPaperWidth).c_str());
        choice.freeHeight = Evaluate(Text(m_hWnd, kPaperHeight).c_str());
        const int refused = ComputeNewDrawingRecord(choice, *m_record);
        if (refused != kMessageBadScale) AddInputHistory(scaleText.c_str(), kHistoryKeys[3]);
        if (refused != 0) {
            ShowSettingsMessage(m_hWnd, GetMessageText(refused), GetMessageText(kMessageCaption), MB_OK | MB_ICONWARNING);
            const int field = refused == kMessageBadScale ? kScale : kPaperWidth;
            if (refused == kMessageBadPaper) {
                if (!Positive(choice.freeWidth)) SetDlgItemTextA(m_hWnd, kPaperWidth, "0");
                if (!Positive(choice.freeHeight)) SetDlgItemTextA(m_hWnd, kPaperHeight, "0");
            }
            ::SetFocus(GetDlgItem(field));
            return 0;
        }
        RefreshToolPanelPaperAndScale();
        m_record->originMode = IsDlgButtonChecked(m_hWnd, kOriginLowerLeft) == BST_CHECKED ? 1 : 0;
        LocalSettingsSetup& defaults = GetLocalSettingsLive().setup;
        defaults.dDelPaperCx = m_record->paperWidthMm;
        defaults.dDelPaperCy = m_record->paperHeightMm;
        defaults.dDefPaperScale = m_record->scale;
        defaults.iDefPaperType = choice.paperRow;
        defaults.szDefPaperStr1 = m_record->title;
        defaults.szDefPaperStr2 = m_record->author;
        defaults.szDefPaperStr3 = m_record->remarks;
        const std::string pattern = ComboSelection(m_hWnd, kLayerPattern);
        defaults.szDefPaperPtn = pattern == kNoPattern ? std::string() : pattern;
        EndDialog(IDOK);
        return 0;
    }

    LRESULT OnCancel(WORD, WORD, HWND, BOOL&)
    {
        EndDialog(IDCANCEL);
        return 0;
    }

    LRESULT OnOpenButton(WORD, WORD, HWND, BOOL& handled)
    {
        if (!kStart) {
            handled = FALSE;
            return 0;
        }
        EndDialog(kResultOpen);
        return 0;
    }

    LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
    {
        if (!kStart || wParam != kOpenButton) {
            handled = FALSE;
            return 0;
        }
        QmCadApi_ColorBtn_DrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), RGB(0x7D, 0x7D, 0x7D),
                                   RGB(0xFF, 0xFF, 0xFF), RGB(0xA0, 0xA0, 0xA0));
        return TRUE;
    }

public:
    ~CZumenDlg() override
    {
        if (m_picture != nullptr) DeleteObject(m_picture);
    }

private:
    DbInfoRecord* m_record;
    bool m_newDrawing;
    HBITMAP m_picture = nullptr;
    int m_historyKey = 0;  // the field whose history menu was shown last
};

using CCreateZumenDlg = CZumenDlg<kNewDrawingTemplate>;
using CCreateOpenZumenDlg = CZumenDlg<kStartTemplate>;

DbInfoRecord& EditRecord()
{
    static DbInfoRecord record;
    return record;
}

}  // namespace

int ComputeNewDrawingRecord(const NewDrawingChoice& choice, DbInfoRecord& record)
{
    if (!Positive(choice.scale)) return kMessageBadScale;
    if (choice.paperRow >= 0 && choice.paperRow < kPaperSizeRows) {
        const PaperTableRow& row = GetPaperTable()[choice.paperRow];
        record.scale = choice.scale;
        record.paperCode = row.code;
        record.paperWidthMm = row.width;
        record.paperHeightMm = row.height;
    } else {
        if (!Positive(choice.freeWidth) || !Positive(choice.freeHeight)) return kMessageBadPaper;
        record.scale = choice.scale;
        record.paperCode = 0;
        record.paperWidthMm = choice.freeWidth;
        record.paperHeightMm = choice.freeHeight;
    }
    record.drawingWidth = record.paperWidthMm / record.scale;
    record.drawingHeight = record.paperHeightMm / record.scale;
    return 0;
}

int ShowCreateZumenDlg(DbInfoRecord* record)
{
    CCreateZumenDlg dialog(record, true);
    return dialog.DoModal(GetActiveWindow()) == IDOK ? 0 : -1;
}

int ShowCreateZumenInfoDlg(DbInfoRecord* record)
{
    CCreateZumenDlg dialog(record, false);
    return dialog.DoModal(GetActiveWindow()) == IDOK ? 0 : -1;
}

HWND CreateDrawingFromRecord(HWND context, const DbInfoRecord& record)
{
    HWND view = CreateRovOdidov(context, 0, nullptr, nullptr);
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr || block->engineDb == nullptr) return nullptr;
    static DbInfoRecord info;
    std::memset(&info, 0, sizeof info);
    ZUriGetDBInfo(&info, block->engineDb);
    std::memcpy(info.title, record.title, sizeof info.title);
    std::memcpy(info.author, record.author, sizeof info.author);
    std::memcpy(info.remarks, record.remarks, sizeof info.remarks);
    info.paperCode = record.paperCode;
    info.paperWidthMm = record.paperWidthMm;
    info.paperHeightMm = record.paperHeightMm;
    info.drawingWidth = record.drawingWidth;
    info.drawingHeight = record.drawingHeight;
    info.scale = record.scale;
    info.originMode = record.originMode;
    ZUriSetDBInfo(&info, block->engineDb);
    FitViewToPaper();
    if (info.originMode != 0) {
        block->mode0.offsetX = block->mode1.offsetX = -0.5 * info.drawingWidth;
        block->mode0.offsetY = block->mode1.offsetY = -0.5 * info.drawingHeight;
        block->mode2.offsetX = block->mode0.offsetX;
        block->mode2.offsetY = block->mode0.offsetY;
        block->mode1.scale = block->mode2.scale = block->mode0.scale;
    }
    UpdateViewTitle(view, block->engineDb, 0);
    const std::string& pattern = GetLocalSettingsLive().setup.szDefPaperPtn;
    if (!pattern.empty()) ApplyLayerPattern(view, pattern.c_str(), block->engineDb);
    RefreshToolPanelPaperAndScale();
    return view;
}

int RunNewDrawingCommand(HWND context)
{
    if (IsViewTableFull()) {
        ShowSettingsMessage(context, GetMessageText(7237), "Open", MB_OK | MB_ICONWARNING);
        return 1;
    }
    DbInfoRecord& record = EditRecord();
    std::memset(&record, 0, sizeof record);
    if (ShowCreateZumenDlg(&record) == 0) CreateDrawingFromRecord(context, record);
    return 1;
}

int RunDrawingInfoCommand(HWND)
{
    CloseInputScaleWindow();
    HWND view = GetActiveView();
    PDBINFO* block = GetViewBlock(view);
    if (block == nullptr || block->engineDb == nullptr) return 1;
    DbInfoRecord& record = EditRecord();
    std::memset(&record, 0, sizeof record);
    ZUriGetDBInfo(&record, block->engineDb);
    if (ShowCreateZumenInfoDlg(&record) != 0) return 1;
    if (GetViewBlock(view) != block) return 1;
    SetDrawingModified(view);
    ZUriSetDBInfo(&record, block->engineDb);
    RefreshToolPanelPaperAndScale();
    if (block->severalViews == 1) {
        for (HWND v = GetActiveView(); v != nullptr; v = GetNextView(v)) {
            PDBINFO* other = GetViewBlock(v);
            if (other != nullptr && other->drawingId == block->drawingId) UpdateViewTitle(v, other->engineDb, other->viewNumber);
        }
    } else {
        UpdateViewTitle(view, block->engineDb, 0);
    }
    FitViewToPaper();
    InvalidateRect(view, nullptr, TRUE);
    return 1;
}

int RunStartDrawingCommand(HWND context, WPARAM wParam)
{
    const LocalSettingsSetup& defaults = GetLocalSettingsLive().setup;
    DbInfoRecord& record = EditRecord();
    std::memset(&record, 0, sizeof record);
    const int row = defaults.iDefPaperType >= 0 && defaults.iDefPaperType <= kFreePaperRow ? defaults.iDefPaperType : 0;
    record.paperCode = GetPaperTable()[row].code;
    record.scale = Positive(defaults.dDefPaperScale) ? defaults.dDefPaperScale : 1.0;
    record.paperWidthMm = defaults.dDelPaperCx;
    record.paperHeightMm = defaults.dDelPaperCy;
    record.drawingWidth = record.paperWidthMm / record.scale;
    record.drawingHeight = record.paperHeightMm / record.scale;
    HWND view = CreateDrawingFromRecord(context, record);
    if (view == nullptr) return 1;
    HWND frame = GetParent(view);
    INT_PTR result;
    do {
        CCreateOpenZumenDlg dialog(&record, true);
        result = dialog.DoModal(GetActiveWindow());
    } while (result != IDOK && result != IDCANCEL && result != kResultOpen);
    HWND main = GetMainFrameWnd();
    if (result == IDOK) {
        if (PDBINFO* block = GetViewBlock(view)) {
            SetDrawingModified(view);
            ZUriSetDBInfo(&record, block->engineDb);
            RefreshToolPanelPaperAndScale();
            UpdateViewTitle(view, block->engineDb, 0);
            FitViewToPaper();
            InvalidateRect(view, nullptr, TRUE);
        }
    } else if (result == IDCANCEL) {
        if (IsWindow(frame)) PostMessageA(frame, WM_CLOSE, 0, 0);
        if (HIWORD(wParam) == 1) PostMessageA(main, WM_COMMAND, 4006, 0);
    } else {
        SendMessageA(main, WM_COMMAND, 4001, 0);
        if (IsWindow(frame)) PostMessageA(frame, WM_CLOSE, 0, 0);
    }
    return 1;
}
