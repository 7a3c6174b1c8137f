// The margin and paper-frame settings: dialog 215 of command 4024 and what it takes over into
// the live per-user settings (paper_margin), which the views read at every paint.
#pragma once

#include <windows.h>

#include <string>

#include "core/SettingsTypes.h"
#include "dialogs/ColorIndexCombo.h"

// The margin edits in dialog order: landscape top, bottom, left, right, then portrait.
constexpr int kMarginEditFirst = 1305;
constexpr int kMarginEditCount = 8;

// What a margin dialog shows when it is confirmed.
struct MarginFrameEntries {
    int marginFrameShown = 1;     // check box 1104
    int marginFrameItem = 0;      // selected item of combo 1402 (item k = colour k + 1)
    int paperFrameItem = 0;       // selected item of combo 1400
    int paperItemIsIndex = 0;     // 1 in dialog 215, whose paper combo starts at 0
    std::string margins[kMarginEditCount];
};

// Checks the eight margins (the first invalid one shows the check message over owner) and,
// when all pass, stores them and the two colour indexes into settings. 1 when taken over;
// 0 with settings unchanged.
int TakeOverMarginEntries(HWND owner, const MarginFrameEntries& entries, PaperMarginEx& settings);

// The margin of settings that an edit of the margin dialogs shows (edit index 0..7).
double MarginOfEdit(const PaperMarginEx& settings, int edit);

// Controls the margin dialogs share.
constexpr int kMarginFrameCheck = 1104;
constexpr int kPaperFrameCombo = 1400;
constexpr int kMarginFrameCombo = 1402;

// The two colour combos of a margin dialog and the check box that shows the margin frame.
struct MarginColourCombos {
    // Fills both combos from the colour table and selects the stored indexes; the paper combo
    // starts at 0 (no paper frame) when paperFromZero. labelId labels the margin combo.
    void Init(HWND dialog, const PaperMarginEx& settings, bool paperFromZero, int labelId);
    // The margin combo and its label follow check box 1104.
    void FollowCheckBox(HWND dialog);
    // Draws an item of either combo; false for other controls.
    bool DrawItem(int id, const DRAWITEMSTRUCT* item) const;

    CColorIndexCombo paper;
    CColorIndexCombo margin;

private:
    void Enable(HWND dialog, bool enable);
    int m_label = 0;
};

// The margin edits show the settings ("%g", at most 5 characters each).
void ShowMarginEdits(HWND dialog, const PaperMarginEx& settings);
// What the dialog shows now.
void ReadMarginDialog(HWND dialog, const MarginColourCombos& combos, bool paperFromZero, MarginFrameEntries& entries);
// Puts the focus on the first margin edit that holds no valid margin.
void FocusFirstInvalidMargin(HWND dialog, const MarginFrameEntries& entries);
// After a take-over: every drawing view draws the frames, so all of them repaint, and the
// page-layout and loupe views rebuild their picture at the frame's next timer.
void RepaintMarginFrames();

// Runs dialog 215 over the active window on the live settings. 0 on OK, -1 otherwise.
int ShowSetMarginDlg();
