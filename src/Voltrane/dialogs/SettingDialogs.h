// The small settings dialogs the tool panel and the system commands open: grid, cursor shape,
// coordinate display and version. Each edits the live settings only when it ends with OK.
#pragma once

#include <windows.h>

#include <string>

#include "dialogs/DialogBase.h"

// Set by the grid dialog when the user asked to pick the grid centre next; the tool panel
// reads and clears it.
extern int GridCenterRequest;

// The grid dialog; 0 when ended with OK, else -1.
int ShowSetGridDlg();
// The cursor dialog; 0 when ended with OK, else -1.
int ShowSetCursorDlg();
// The coordinate-display dialog; 0 when ended with OK, else -1.
int ShowSetCoordDispDlg();
// The version dialog; 1 when ended with OK, else 0.
int ShowVersionInfoDlg();

// The grid dialog's check of one pitch against the drawing's extent in that direction.
bool IsGridPitchAccepted(double pitch, bool drawingOpen, double extent);

class CSetGridDlg : public CDialogBase<CSetGridDlg> {
public:
    enum { IDD = 217 };
    using Base = CDialogBase<CSetGridDlg>;

    WK_BEGIN_MSG_MAP(CSetGridDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOk)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_COMMAND_ID_HANDLER(1001, OnCalculator)
        WK_COMMAND_ID_HANDLER(1002, OnCalculator)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnCalculator(WORD, WORD id, HWND, BOOL&);
    // The pitch of one edit, or false after telling the user it is refused.
    bool ReadPitch(int editId, bool drawingOpen, double extent, int messageId, double* value);

    int m_divisionShown = 0;
};

class CSetCursorDlg : public CDialogBase<CSetCursorDlg> {
public:
    enum { IDD = 216 };
    using Base = CDialogBase<CSetCursorDlg>;

    WK_BEGIN_MSG_MAP(CSetCursorDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOk)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
};

class CSetCoordDispDlg : public CDialogBase<CSetCoordDispDlg> {
public:
    enum { IDD = 222 };
    using Base = CDialogBase<CSetCoordDispDlg>;

    WK_BEGIN_MSG_MAP(CSetCoordDispDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOk)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
};

class CVersionInfoDlg : public CDialogBase<CVersionInfoDlg> {
public:
    enum { IDD = 224 };
    using Base = CDialogBase<CVersionInfoDlg>;

    WK_BEGIN_MSG_MAP(CVersionInfoDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(IDOK, OnOk)
        WK_COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        WK_CHAIN_DIALOG_BASE(Base)
    WK_END_MSG_MAP()

    // The title line: the title, a blank and the version's first word (the whole version
    // when it has no blank), the version trimmed first.
    static std::string TitleLine(const char* title, const char* version);

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
};
