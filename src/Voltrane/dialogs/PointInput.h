// The temporary-point dialog "仮点入力": in offset mode it shifts a picked point by typed X and
// Y offsets (for the command wait loops), in coordinate mode it takes the coordinates of the
// next point outright (for the tool panel's coordinate button).
#pragma once

#include <windows.h>

#include "dialogs/DialogBase.h"

// The last offsets and the pending typed point; the command wait loop reads the pending point.
struct TemporaryPointInput {
    double lastX = 0;
    double lastY = 0;
    double unused = 0;
    double pointX = 0;
    double pointY = 0;
    double pointZ = 0;
    int pending = 0;
};
TemporaryPointInput& GetTemporaryPointInput();

// Asks for the coordinates of the next point: 1 once the dialog ran (a point entered with OK
// is then pending; Cancel clears the pending flag), 0 without an active view.
int InputTemporaryPoint();
// Shifts point (x, y) by typed offsets, converted from input to drawing units. 1 when shifted,
// 0 after Cancel or without an active view.
int InputPointOffset(double point[2]);

// ---- the scroll rules, without windows ----
constexpr int kPointScrollRange = 5000;
// The scroll position for the value on a bar spanning scale; 0 when scale is 0.
int PointScrollPosition(double value, double scale, int range = kPointScrollRange);
// The position a scroll request gives (codes SB_LINELEFT to SB_THUMBTRACK), clamped to the
// range; -1 for a code that changes nothing.
int PointScrollRequest(int code, int position, int thumb, int range = kPointScrollRange);
// The value a scroll position stands for.
double PointScrollValue(int position, double scale, int range = kPointScrollRange);
// Moves point by offsets typed in input units: x / factor, y / factor (a factor that is not
// a positive number counts as 1).
void OffsetPointByInput(double point[2], double x, double y, double factor);

constexpr int kPointDialogTemplate = 223;
constexpr int kPointEditX = 1300;
constexpr int kPointEditY = 1301;
constexpr int kPointCalcX = 1001;
constexpr int kPointCalcY = 1002;
constexpr int kPointOnceCheck = 1100;
constexpr int kPointScrollX = 500;
constexpr int kPointScrollY = 501;
constexpr int kPointLabelX = 1600;
constexpr int kPointLabelY = 101;
// The tool panel's command that ends the temporary-point mode.
constexpr int kToolTemporaryPointOff = 3409;

class CInputPointDlg : public CDialogBase<CInputPointDlg> {
public:
    enum { IDD = kPointDialogTemplate };
    using Base = CDialogBase<CInputPointDlg>;

    CInputPointDlg(double x, double y, int coordinateMode) : x(x), y(y), coordinateMode(coordinateMode) {}

    int scrollRange = kPointScrollRange;
    double scaleX = 0;
    double scaleY = 0;
    double x = 0;
    double y = 0;
    int coordinateMode = 0;
    int syncFromEdits = 1;

    WK_BEGIN_MSG_MAP(CInputPointDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_HSCROLL, OnHScroll)
        WK_COMMAND_ID_HANDLER(kPointCalcX, OnCalculator)
        WK_COMMAND_ID_HANDLER(kPointCalcY, OnCalculator)
        WK_COMMAND_ID_HANDLER(IDOK, OnOk)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(kPointEditX, OnEditChange)
        WK_COMMAND_ID_HANDLER(kPointEditY, OnEditChange)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnHScroll(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCalculator(WORD, WORD, HWND, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnEditChange(WORD, WORD, HWND, BOOL&);
    void ScrollBarsFollowFields();
    void SetField(int id, double value);

    HWND m_editX = nullptr, m_editY = nullptr, m_once = nullptr, m_scrollX = nullptr, m_scrollY = nullptr;
};
