// Settings pages "システム環境Ａ", "システム環境Ｂ", "回復", "グリッド" and "検出": each shows the live
// settings when it is first opened and writes them when OK closes the sheet.
#pragma once

#include <windows.h>

#include "dialogs/ColorIndexCombo.h"
#include "dialogs/SetConfigPropertyPage.h"

class CSetConfig01Dlg : public CSetConfigPropertyPage<CSetConfig01Dlg> {
public:
    enum { IDD = 205 };
    using PageBase = CSetConfigPropertyPage<CSetConfig01Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig01Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
        WK_COMMAND_ID_HANDLER(1401, OnBackgroundChange)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    bool OnKillActive() { return true; }
    void OnApply();

    // The fifteen rubber-band colours as they show on a background: each byte of the table's
    // colours 1 to 15 XORed with the background's red byte.
    static void RubberBandColours(COLORREF background, COLORREF out[16]);

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT OnBackgroundChange(WORD code, WORD, HWND, BOOL& handled);
    // The display colour table for a background mode (entry 1 to 256 from the drawing's
    // colours when one is open, else from the program's colour table).
    static void DisplayColourTable(int backgroundMode, COLORREF table[257]);

    CColorIndexCombo m_background, m_rubberBand, m_highlight;
};

class CSetConfig02Dlg : public CSetConfigPropertyPage<CSetConfig02Dlg> {
public:
    enum { IDD = 210 };
    using PageBase = CSetConfigPropertyPage<CSetConfig02Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig02Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_COMMAND_ID_HANDLER(1100, OnBrowse)
        WK_COMMAND_ID_HANDLER(1803, OnCommandPanelEditor)
        WK_COMMAND_ID_HANDLER(1804, OnShortcutEditor)
        WK_COMMAND_ID_HANDLER(1805, OnToolbarEditor)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    bool OnKillActive() { return true; }
    void OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);
    LRESULT OnCommandPanelEditor(WORD, WORD, HWND, BOOL&);
    LRESULT OnShortcutEditor(WORD, WORD, HWND, BOOL&);
    LRESULT OnToolbarEditor(WORD, WORD, HWND, BOOL&);

    int m_openedMask = 0;  // the tool-panel sections as they were when the page opened
};

class CSetConfig03Dlg : public CSetConfigPropertyPage<CSetConfig03Dlg> {
public:
    enum { IDD = 204 };
    using PageBase = CSetConfigPropertyPage<CSetConfig03Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig03Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    bool OnKillActive() { return true; }
    void OnApply();

    // The number of an edit text read as the page reads it: at most 14 characters, blanks and
    // a sign before the digits, kept within the int range; 0 for a text that is no number.
    static long long ReadCount(const char* text);
    // Minutes to seconds: 0 for none or negative, capped so the seconds fit an int.
    static int MinutesToSeconds(long long minutes);

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
    long long EditNumber(int id) const;
};

class CSetConfig04Dlg : public CSetConfigPropertyPage<CSetConfig04Dlg> {
public:
    enum { IDD = 206 };
    using PageBase = CSetConfigPropertyPage<CSetConfig04Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig04Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    bool OnKillActive() { return true; }
    void OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
};

class CSetConfig05Dlg : public CSetConfigPropertyPage<CSetConfig05Dlg> {
public:
    enum { IDD = 203 };
    using PageBase = CSetConfigPropertyPage<CSetConfig05Dlg>;

    WK_BEGIN_MSG_MAP(CSetConfig05Dlg)
        WK_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WK_CHAIN_MSG_MAP(PageBase)
    WK_END_MSG_MAP()

    bool OnKillActive() { return true; }
    void OnApply();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled);
};
