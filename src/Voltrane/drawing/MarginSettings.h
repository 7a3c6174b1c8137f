// The margin and paper-frame settings: dialog 215 of command 4024 and what it takes over into
// the live per-user settings (paper_margin), which the views read at every paint.
#pragma once

#include <windows.h>

#include <string>

#include "core/SettingsTypes.h"

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

// Runs dialog 215 over the active window on the live settings. 0 on OK, -1 otherwise.
int ShowSetMarginDlg();
