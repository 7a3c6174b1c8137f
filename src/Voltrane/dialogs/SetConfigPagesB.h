// Settings pages "数値表現/誤差", "カーソル", "拡張設定" and "表示": each shows the live settings when
// it is first opened and writes them when OK closes the sheet.
#pragma once

#include <windows.h>

#include <string>

#include "dialogs/SetConfigPropertyPage.h"

class CSetConfig07Dlg : public CSetConfigPropertyPage<CSetConfig07Dlg> {
public:
    enum { IDD = 208 };
    using PageBase = CSetConfigPropertyPage<CSetConfig07Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig07Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(1003, OnReset)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    // Reports a tolerance that is not between 0 and 1; the page is left all the same.
    bool OnKillActive();
    void OnApply();

    // The text of the tolerance of n digits: 10^-(n+1) with trailing zeros removed.
    static std::string ToleranceText(int digits);
    // The tolerance of a selected item's digit count; 1 without a selection (-1).
    static double ToleranceOf(int digits);

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnReset(WORD, WORD, HWND, BOOL&);
    void FillTolerances(int comboId, int minimum, int maximum, int current);
    int SelectedDigits(int comboId) const;
};

class CSetConfig08Dlg : public CSetConfigPropertyPage<CSetConfig08Dlg> {
public:
    enum { IDD = 209 };
    using PageBase = CSetConfigPropertyPage<CSetConfig08Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig08Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    bool OnKillActive() { return true; }
    void OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
};

class CSetConfig09Dlg : public CSetConfigPropertyPage<CSetConfig09Dlg> {
public:
    enum { IDD = 211 };
    using PageBase = CSetConfigPropertyPage<CSetConfig09Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig09Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    bool OnKillActive() { return true; }
    void OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
};

class CSetConfig10Dlg : public CSetConfigPropertyPage<CSetConfig10Dlg> {
public:
    enum { IDD = 212 };
    using PageBase = CSetConfigPropertyPage<CSetConfig10Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig10Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    bool OnKillActive() { return true; }
    void OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
};
