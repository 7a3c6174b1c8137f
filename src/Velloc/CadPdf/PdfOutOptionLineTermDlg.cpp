#include "CadPdf/PdfOutOptionLineTermDlg.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "VellocModule.h"
#include "core/Dbcs.h"

using namespace line_term_dialog;

namespace {

constexpr int kTextSize = 260;
constexpr int kBadInputText = 13;

struct LineTermText {
    int32_t id;
    const char* text;
};
const LineTermText kLineTermTexts[] = {
    {1, "矢印"},
    {2, "黒丸"},
    {3, "片矢印"},
    {4, "上付き線"},
    {5, "矢印長さ"},
    {6, "矢印角度"},
    {7, "半径"},
    {8, "線長さ"},
    {9, "距離"},
    {10, "初期値ファイルの保存に失敗しました"},
    {11, "色番号が異常です。"},
    {12, "線種が異常です。"},
    {13, "入力値が異常です"},
    {14, "保存しようとしている図面には複数のページが存在しています。\n関連するすべての図面を上書保存しますか？\n\n"
         " [はい] ---- 関連するすべてのファイルを上書きする\n [いいえ] ---- この図面のみ保存し他のページは保存しない"},
    {15, "確認"},
    {16, "この図面を保存するァイル名を指定してください。"},
    {-1, ""},
};

enum class FieldKind { None, Arrow, OneValue, RaisedLine };

FieldKind KindOfType(int type)
{
    switch (type) {
    case 1: case 5: case 9: case 11: case 12: return FieldKind::Arrow;
    case 2: case 3: case 4: case 6: case 7: case 8: case 13: return FieldKind::OneValue;
    case 10: return FieldKind::RaisedLine;
    default: return FieldKind::None;
    }
}

std::string Text(int16_t id)
{
    char text[kTextSize] = {};
    GetLineTermText(id, text);
    return text;
}

std::string FormatValue(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

}  // namespace

LineTermSetting DefaultLineTerm(int type)
{
    LineTermSetting row = BuiltInLineTerm(type);
    if (type == 10) {
        row.size = 7.5;
        row.distance = 1.0;
    }
    row.enabled = 1;
    return row;
}

int GetLineTermText(int16_t id, char* text)
{
    for (const LineTermText& entry : kLineTermTexts) {
        if (entry.id == -1) return 0;
        if (static_cast<uint16_t>(entry.id) == static_cast<uint16_t>(id)) {
            DbcsCopy(text, kTextSize, entry.text);
            return 1;
        }
    }
    return 0;
}

bool ReduceLineTermAngle(double angle, double* reduced)
{
    if (!std::isfinite(angle)) return false;
    // fmod keeps the sign and leaves a whole turn as it is only below it: 360 and -360 stay,
    // as repeated subtraction leaves them, and huge values take no time.
    *reduced = std::fabs(angle) <= 360 ? angle : std::fmod(angle, 360.0);
    return true;
}

bool ParseLineTermValue(const char* text, double* value)
{
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text, &end);
    if (end == text) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0' || !std::isfinite(parsed)) return false;
    *value = parsed;
    return true;
}

void CAcadOutOptionSentanDlg::FillDefaultRows(bool keep)
{
    if (keep && !lineTerms.empty()) return;
    lineTerms.clear();
    for (int type = 0; type < kLineTermTypeCount; ++type) lineTerms.push_back(DefaultLineTerm(type));
}

int CAcadOutOptionSentanDlg::PickerType() const
{
    return static_cast<int>(::SendDlgItemMessageA(m_hWnd, kPicker, kPickerGetType, 0, 0));
}

void CAcadOutOptionSentanDlg::ShowTypeFields()
{
    const int type = PickerType();
    if (type == -1) return;
    const int fields[] = {kFirstLabel, kFirstEdit, kSecondLabel, kSecondEdit};
    for (int id : fields) ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_SHOW);
    // A type without a record (a short list) shows no values to edit.
    const FieldKind kind = type >= 0 && type < static_cast<int>(lineTerms.size()) ? KindOfType(type) : FieldKind::None;
    if (kind == FieldKind::None) {
        for (int id : fields) ::ShowWindow(::GetDlgItem(m_hWnd, id), SW_HIDE);
        return;
    }
    const LineTermSetting& row = lineTerms[type];
    std::string firstLabel;
    switch (type) {
    case 3: case 8: firstLabel = "１辺の長さ"; break;
    case 4: firstLabel = "斜め線の長さ"; break;
    case 10: firstLabel = Text(8); break;
    default: firstLabel = Text(kind == FieldKind::Arrow ? 5 : 7); break;
    }
    ::SetDlgItemTextA(m_hWnd, kFirstLabel, firstLabel.c_str());
    ::SetDlgItemTextA(m_hWnd, kFirstEdit, FormatValue(row.size).c_str());
    if (kind == FieldKind::OneValue) {
        ::ShowWindow(::GetDlgItem(m_hWnd, kSecondLabel), SW_HIDE);
        ::ShowWindow(::GetDlgItem(m_hWnd, kSecondEdit), SW_HIDE);
        return;
    }
    const bool arrow = kind == FieldKind::Arrow;
    ::SetDlgItemTextA(m_hWnd, kSecondLabel, Text(arrow ? 6 : 9).c_str());
    ::SetDlgItemTextA(m_hWnd, kSecondEdit, FormatValue(arrow ? row.angle : row.distance).c_str());
}

int CAcadOutOptionSentanDlg::Refuse(int editId)
{
    ::SetFocus(::GetDlgItem(m_hWnd, editId));
    ::MessageBoxA(m_hWnd, Text(kBadInputText).c_str(), "ERROR", MB_OK);
    return 0;
}

int CAcadOutOptionSentanDlg::StoreTypeFields()
{
    const int type = currentType;
    if (type < 0 || type >= static_cast<int>(lineTerms.size())) return 1;
    const FieldKind kind = KindOfType(type);
    if (kind == FieldKind::None) return 1;
    LineTermSetting& row = lineTerms[type];
    char text[kTextSize] = {};
    double first = 0;
    ::GetDlgItemTextA(m_hWnd, kFirstEdit, text, sizeof text);
    if (!ParseLineTermValue(text, &first) || first < 0) return Refuse(kFirstEdit);
    if (kind == FieldKind::OneValue) {
        row.size = first;
        return 1;
    }
    double second = 0;
    ::GetDlgItemTextA(m_hWnd, kSecondEdit, text, sizeof text);
    const bool secondIsNumber = ParseLineTermValue(text, &second);
    if (kind == FieldKind::Arrow) {
        double reduced = 0;
        if (!secondIsNumber || !ReduceLineTermAngle(second, &reduced)) return Refuse(kSecondEdit);
        row.size = first;
        row.angle = reduced;
        return 1;
    }
    row.size = first;  // the length stays stored even when the distance is refused
    if (!secondIsNumber || second <= 0) return Refuse(kSecondEdit);
    row.distance = second;
    return 1;
}

LRESULT CAcadOutOptionSentanDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
{
    FillDefaultRows(true);
    for (int type : {0, 14, 15}) ::SendDlgItemMessageA(m_hWnd, kPicker, kPickerDisableType, 0, type);
    currentType = PickerType();
    ShowTypeFields();
    handled = FALSE;  // the base colours and centres the dialog
    return 0;
}

LRESULT CAcadOutOptionSentanDlg::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    switch (LOWORD(wParam)) {
    case IDOK:
        if (StoreTypeFields() != 0) EndDialog(1);
        break;
    case IDCANCEL:
        EndDialog(2);
        break;
    case kResetButton:
        FillDefaultRows(false);
        ShowTypeFields();
        break;
    case kPicker:
        if (HIWORD(wParam) != kPickerChoice) {
            handled = FALSE;
            break;
        }
        if (StoreTypeFields() != 0) {
            ShowTypeFields();
            currentType = PickerType();
        } else {
            // The picker would otherwise show a type the fields do not belong to.
            ::SendDlgItemMessageA(m_hWnd, kPicker, kPickerSetType, 0, currentType);
        }
        break;
    default:
        handled = FALSE;
        break;
    }
    return 0;
}

void ShowLineTermDialog()
{
    WNDCLASSA picker;
    // The dialog is made from the plug-in's template: the class must be one it can see.
    if (!GetClassInfoA(VellocInstance(), kLineTermPickerClass, &picker)) {
        ::MessageBoxA(GetActiveWindow(), "線端の設定は使用できません。", "ERROR", MB_OK);
        return;
    }
    PdfOutSettings& settings = ThePdfOutSettings();
    settings.LoadLineTerms();
    CAcadOutOptionSentanDlg dialog;
    dialog.lineTerms = settings.lineTerms;
    if (dialog.DoModalIn(VellocInstance(), GetActiveWindow()) != 1) return;
    settings.lineTerms = dialog.lineTerms;
    settings.SaveLineTerms();
}
