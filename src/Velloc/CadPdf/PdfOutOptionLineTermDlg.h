// The dialog "線端の設定": the sizes the PDF export draws each line-end type with. The type is
// chosen with the program's line-end picker (window class "cmdltermsclass").
#pragma once

#include <windows.h>

#include <vector>

#include "CadPdf/PdfOutSettings.h"
#include "DialogBase.h"

constexpr const char kLineTermPickerClass[] = "cmdltermsclass";

// The controls of the dialog's template and what it exchanges with the picker.
namespace line_term_dialog {
constexpr int kResetButton = 1040;
constexpr int kPicker = 1011;
constexpr int kFirstLabel = 1007;
constexpr int kFirstEdit = 1009;
constexpr int kSecondLabel = 1008;
constexpr int kSecondEdit = 1010;
constexpr UINT kPickerSetType = WM_USER + 2;
constexpr UINT kPickerGetType = WM_USER + 3;
constexpr UINT kPickerDisableType = WM_USER + 5;
constexpr int kPickerChoice = 1;  // the notification code of a new choice
}  // namespace line_term_dialog

class CAcadOutOptionSentanDlg : public CDialogBase<CAcadOutOptionSentanDlg> {
public:
    enum { IDD = 126 };

    ~CAcadOutOptionSentanDlg() override = default;

    WK_BEGIN_MSG_MAP(CAcadOutOptionSentanDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_CHAIN_DIALOG_BASE(CDialogBase<CAcadOutOptionSentanDlg>)
    WK_END_MSG_MAP()

    std::vector<LineTermSetting> lineTerms;  // position = line-end type
    int32_t currentType = 0;

    // Replaces every record with the built-in rows; with `keep` a list with records stays.
    void FillDefaultRows(bool keep);
    void ShowTypeFields();
    // Reads the edits into the current type's record: 1, or 0 after telling the user.
    int StoreTypeFields();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled);
    int PickerType() const;
    int Refuse(int editId);
};

// The built-in row of the dialog for a type 0..13 (type 10 as the line's length 7.5 mm at a
// distance of 1 mm).
LineTermSetting DefaultLineTerm(int type);

// Copies the label text of a message id into a 260-byte buffer: 1, or 0 for an unknown id.
int GetLineTermText(int16_t id, char* text);

// An angle reduced into -360..360 (360 and -360 stay); false for a value that is not finite.
bool ReduceLineTermAngle(double angle, double* reduced);
// The number in an edit's text: false when it is not one finite number.
bool ParseLineTermValue(const char* text, double* value);

// Runs the dialog on the "LINE_TERM" records; OK writes them. Without the program's picker
// class the dialog cannot be made: the user is told it is not available.
void ShowLineTermDialog();
