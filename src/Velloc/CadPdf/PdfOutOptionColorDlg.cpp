#include "CadPdf/PdfOutOptionColorDlg.h"

#include <cstdio>

#include "CadPdf/PdfOutSettings.h"
#include "VellocModule.h"

namespace {

constexpr int kPreviousPage = 1038;
constexpr int kNextPage = 1039;
constexpr int kSourceHeading = 1000;
constexpr int kTargetHeading = 1001;
constexpr int kColorRadio = 1089;
constexpr int kMonoRadio = 1090;
constexpr int kResetButton = 1040;
constexpr int kFirstRowLabel = 1041;
constexpr int kFirstTargetList = 1057;
constexpr int kFirstSwatch = 1073;
constexpr int kMapColourCount = 256;
constexpr int kMonoFillCount = 257;  // positions 0..256

bool IsTargetList(UINT id)
{
    return id >= kFirstTargetList && id < kFirstTargetList + CPdfOutOptionColorDlg::kRowsPerPage;
}
bool IsSwatch(UINT id)
{
    return id >= kFirstSwatch && id < kFirstSwatch + CPdfOutOptionColorDlg::kRowsPerPage;
}

}  // namespace

void CPdfOutOptionColorDlg::BuildCurrentMap(bool keep)
{
    std::vector<int32_t>& map = CurrentMap();
    if (keep && !map.empty()) return;
    map.clear();
    if (!defaultMap.empty()) {
        for (int32_t entry : defaultMap) map.push_back(mode == 1 ? monoColorNumber : entry);
    } else {
        map.assign(kMonoFillCount, monoColorNumber);
        defaultMap.assign(kMonoFillCount, monoColorNumber);
    }
}

void CPdfOutOptionColorDlg::StorePage()
{
    std::vector<int32_t>& map = CurrentMap();
    for (int row = 0; row < kRowsPerPage; ++row) {
        const int number = RowNumber(row);
        if (number < 0 || number >= static_cast<int>(map.size())) continue;
        const LRESULT selection = ::SendDlgItemMessageA(m_hWnd, kFirstTargetList + row, CB_GETCURSEL, 0, 0);
        map[number] = selection == CB_ERR ? 0 : static_cast<int32_t>(selection) + 1;
    }
}

void CPdfOutOptionColorDlg::LoadPage()
{
    const std::vector<int32_t>& map = CurrentMap();
    for (int row = 0; row < kRowsPerPage; ++row) {
        const int number = RowNumber(row);
        if (number < 0 || number >= static_cast<int>(map.size())) continue;
        const int32_t entry = map[number];
        const WPARAM selection = entry >= 1 && entry <= kMapColourCount ? entry - 1 : static_cast<WPARAM>(-1);
        ::SendDlgItemMessageA(m_hWnd, kFirstTargetList + row, CB_SETCURSEL, selection, 0);
    }
}

void CPdfOutOptionColorDlg::ShowPage()
{
    HWND previous = ::GetDlgItem(m_hWnd, kPreviousPage);
    HWND next = ::GetDlgItem(m_hWnd, kNextPage);
    const bool atFirst = page <= 0, atLast = page >= lastPage;
    // Move the focus off a button before it is disabled, or the keyboard loses the dialog.
    if (atFirst && ::GetFocus() == previous && !atLast) ::SetFocus(next);
    if (atLast && ::GetFocus() == next && !atFirst) ::SetFocus(previous);
    ::EnableWindow(previous, atFirst ? FALSE : TRUE);
    ::EnableWindow(next, atLast ? FALSE : TRUE);
    ::CheckDlgButton(m_hWnd, kColorRadio, mode == 0 ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, kMonoRadio, mode == 1 ? BST_CHECKED : BST_UNCHECKED);
    for (int row = 0; row < kRowsPerPage; ++row) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", RowNumber(row));
        ::SetDlgItemTextA(m_hWnd, kFirstRowLabel + row, text);
        ::SetWindowLongPtrA(::GetDlgItem(m_hWnd, kFirstSwatch + row), GWLP_USERDATA, page * kRowsPerPage + row);
    }
    LoadPage();
}

void CPdfOutOptionColorDlg::SwitchMode(int newMode)
{
    if (mode == newMode) return;
    StorePage();
    mode = newMode;
    // An empty map would leave the other mode's choices on screen and take nothing on OK.
    BuildCurrentMap(true);
    LoadPage();
}

LRESULT CPdfOutOptionColorDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    colorRadio = ::GetDlgItem(m_hWnd, kColorRadio);
    monoRadio = ::GetDlgItem(m_hWnd, kMonoRadio);
    if (sourceColors.empty() || targetColors.empty()) {
        sourceColors.assign(kMapColourCount, 0);
        targetColors.assign(kMapColourCount, 0);
    }
    lastPage = static_cast<int32_t>(sourceColors.size()) / kRowsPerPage - 1;
    if (lastPage < 0) lastPage = 0;
    BuildCurrentMap(true);
    ::SetDlgItemTextA(m_hWnd, kSourceHeading, sourceCaption.c_str());
    ::SetDlgItemTextA(m_hWnd, kTargetHeading, targetCaption.c_str());
    for (int row = 0; row < kRowsPerPage; ++row) {
        HWND list = ::GetDlgItem(m_hWnd, kFirstTargetList + row);
        for (size_t i = 0; i < targetColors.size(); ++i) ::SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(" "));
    }
    ShowPage();
    handled = FALSE;  // the base colours and centres the dialog
    return 0;
}

LRESULT CPdfOutOptionColorDlg::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item == nullptr || !IsTargetList(item->CtlID)) {
        handled = FALSE;
        return 0;
    }
    item->itemHeight = 18;
    return TRUE;
}

void CPdfOutOptionColorDlg::DrawTargetItem(const DRAWITEMSTRUCT& item)
{
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    RECT box = item.rcItem;
    HBRUSH background = CreateSolidBrush(selected ? GetSysColor(COLOR_HIGHLIGHT) : RGB(255, 255, 255));
    FillRect(item.hDC, &box, background);
    DeleteObject(background);

    int32_t colour = 0;
    char text[32];
    if (item.itemID == static_cast<UINT>(-1)) {
        // The field of a drop-down without a choice: the entry's own RGB colour and "*".
        const int number = RowNumber(static_cast<int>(item.CtlID) - kFirstTargetList);
        if (number >= 0 && number < static_cast<int>(rgbList.size())) colour = rgbList[number];
        std::snprintf(text, sizeof text, "*");
    } else {
        const size_t index = item.itemID < targetColors.size() ? item.itemID : 0;
        if (!targetColors.empty()) colour = targetColors[index];
        std::snprintf(text, sizeof text, "%ld", static_cast<long>(index + 1));
    }
    RECT frame = {box.left + 2, box.top + 1, box.left + 60, box.bottom - 1};
    HBRUSH frameBrush = CreateSolidBrush(GetSysColor(COLOR_MENUTEXT));
    FrameRect(item.hDC, &frame, frameBrush);
    DeleteObject(frameBrush);
    RECT inner = {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
    HBRUSH fill = CreateSolidBrush(static_cast<COLORREF>(colour));
    FillRect(item.hDC, &inner, fill);
    DeleteObject(fill);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    SetBkMode(item.hDC, TRANSPARENT);
    TextOutA(item.hDC, inner.right + 8, inner.top, text, static_cast<int>(strlen(text)));
}

void CPdfOutOptionColorDlg::DrawSwatch(const DRAWITEMSTRUCT& item)
{
    const LONG_PTR tag = ::GetWindowLongPtrA(item.hwndItem, GWLP_USERDATA);
    if (tag < 0 || tag >= static_cast<LONG_PTR>(sourceColors.size())) return;
    HBRUSH fill = CreateSolidBrush(static_cast<COLORREF>(sourceColors[tag]));
    FillRect(item.hDC, &item.rcItem, fill);
    DeleteObject(fill);
}

LRESULT CPdfOutOptionColorDlg::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item != nullptr) {
        if (item->CtlType == ODT_COMBOBOX && IsTargetList(item->CtlID)) DrawTargetItem(*item);
        else if (item->CtlType == ODT_BUTTON && IsSwatch(item->CtlID)) DrawSwatch(*item);
    }
    handled = FALSE;  // the base draws the OK button
    return TRUE;
}

LRESULT CPdfOutOptionColorDlg::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        StorePage();
        EndDialog(1);
        break;
    case IDCANCEL:
        EndDialog(2);
        break;
    case kPreviousPage:
    case kNextPage:
        StorePage();
        if (LOWORD(wParam) == kPreviousPage && page > 0) --page;
        if (LOWORD(wParam) == kNextPage && page < lastPage) ++page;
        ShowPage();
        ::InvalidateRect(m_hWnd, nullptr, FALSE);
        break;
    case kResetButton:
        BuildCurrentMap(false);
        ShowPage();
        break;
    case kColorRadio:
        SwitchMode(0);
        break;
    case kMonoRadio:
        SwitchMode(1);
        break;
    default:
        handled = FALSE;
        break;
    }
    return 0;
}

void ShowColorMapDialog()
{
    PdfOutSettings& settings = ThePdfOutSettings();
    settings.colorMap.Load();
    CPdfOutOptionColorDlg dialog;
    dialog.sourceCaption = "Brisco";
    dialog.targetCaption = "PDF";
    dialog.colorMap = settings.colorMap.userMap;
    dialog.defaultMap = settings.colorMap.defaultMap;
    dialog.rgbList = settings.colorMap.rgbList;
    dialog.monoMap = settings.colorMap.monoMap;
    dialog.mode = settings.colorMode;
    dialog.monoColorNumber = settings.monoColorNumber;
    GetDrawingColorList(1, &dialog.sourceColors);
    dialog.targetColors = dialog.sourceColors;
    if (dialog.DoModalIn(VellocInstance(), GetActiveWindow()) != 1) return;
    settings.colorMode = dialog.mode;
    settings.SaveColorMapping(&dialog.colorMap, &dialog.monoMap, &dialog.rgbList);
}
