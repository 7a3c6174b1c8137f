// The two prompts of AskYesNoCancelAtCursor: dialog 231 with Yes, No and ｷｬﾝｾﾙ (Y, N and
// Escape answer from the keyboard through a thread keyboard hook), and dialog 233 with one
// button that answers Yes by the left and No by the right mouse button.
#pragma once

#include <windows.h>

#include <string>

#include "WinKit/Dialog.h"
#include "dialogs/YesNoButton.h"

constexpr int kYesNoCanTemplate = 231;
constexpr int kYesNoOneButtonTemplate = 233;
constexpr int kYesNoCanNoButton = 1001;
constexpr int kYesNoKeyNo = 1803;        // No by the key N; also the one-button prompt's button
constexpr int kYesNoIcon = 247;

// What both prompts take from their caller and give back.
struct YesNoPlacementData {
    int useSaved = 0;
    POINT saved = {0, 0};
    std::string caption;
};

class CYesNoCanDlg : public WinKit::CDialogImpl<CYesNoCanDlg>, public YesNoPlacementData {
public:
    enum { IDD = kYesNoCanTemplate };
    ~CYesNoCanDlg() override;

    WK_BEGIN_MSG_MAP(CYesNoCanDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_MESSAGE_HANDLER(WM_CTLCOLORBTN, OnButtonColour)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
        WK_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnButtonColour(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    void End(int code, bool clearSaved);
    static LRESULT CALLBACK KeyboardHook(int code, WPARAM wParam, LPARAM lParam);

    HBRUSH m_background = nullptr;
    CYesNoButtonPaint m_yes, m_no, m_cancel;
    HHOOK m_hook = nullptr;
    HWND m_previousHookTarget = nullptr;
};

class CYesNoDlg : public WinKit::CDialogImpl<CYesNoDlg>, public YesNoPlacementData {
public:
    enum { IDD = kYesNoOneButtonTemplate };

    WK_BEGIN_MSG_MAP(CYesNoDlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_COMMAND, OnCommand)
        WK_MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    WK_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);

    CYesNoButton m_button;
};
