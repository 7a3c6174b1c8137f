#include "panels/SnapModes.h"

#include "core/LocalSettings.h"
#include "controls/KitButtons.h"
#include "panels/CustomRightMenu.h"
#include "panels/RightMenu.h"
#include "panels/ToolPanel.h"
#include "view/ViewServices.h"

const SnapButton kSnapButtons[9] = {{3402, 0x01}, {3403, 0x02}, {3407, 0x02}, {3404, 0x04}, {3405, 0x08},
                                    {3418, 0x10}, {3410, 0x20}, {3411, 0x40}, {3412, 0x80}};

int SnapBitOfButton(int id)
{
    for (const SnapButton& b : kSnapButtons)
        if (b.id == id) return b.bit;
    return 0;
}

int ToggleSnapWord(int word, int bit)
{
    if (word == bit) return word;
    word ^= bit;
    return word == 0 ? 255 : word;
}

int NormalizeSnapWord(int word) { return (word & 0x01) ? ((word & ~0x01) | 0x60) : word; }

void ShowSnapWordOnButtons(HWND parent, int word)
{
    if (parent == nullptr) return;
    for (const SnapButton& b : kSnapButtons) {
        HWND button = GetDlgItem(parent, b.id);
        if (button == nullptr) continue;
        const LONG checked = (word & b.bit) ? 1 : 0;
        SetWindowLongA(button, kKitCheckedWord, checked);
        InvalidateRect(button, nullptr, FALSE);
        UpdateWindow(button);
    }
}

namespace {

void ShowEverywhere(int word)
{
    ShowSnapWordOnButtons(GetToolPanelWindow(), word);
    if (RightMenuPopupShown()) ShowSnapWordOnButtons(GetRightMenuContainer(), word);
}

}  // namespace

void ToggleSnapButton(int id)
{
    const int bit = SnapBitOfButton(id);
    if (bit == 0) return;
    // The panel keeps its own copy of the word and writes it back when it goes.
    if (CToolPanel* panel = GetToolPanel()) {
        panel->ToggleSnap(id);
        return;
    }
    LocalSettingsSetup& setup = GetLocalSettingsLive().setup;
    setup.LMsFg = NormalizeSnapWord(ToggleSnapWord(static_cast<int>(setup.LMsFg), bit));
    ShowEverywhere(static_cast<int>(setup.LMsFg));
}

void SyncSnapButtons()
{
    LocalSettingsLive& live = GetLocalSettingsLive();
    int word = static_cast<int>(live.setup.LMsFg);
    if (live.iLockBtnSnapNINNITEN) word |= 0x08;
    word = NormalizeSnapWord(word);
    live.setup.LMsFg = word;
    if (CToolPanel* panel = GetToolPanel()) panel->snapModes = word;
    ShowEverywhere(word);
}
