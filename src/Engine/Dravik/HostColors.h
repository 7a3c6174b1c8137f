// The colour sets of the library's dialogs and buttons, set by a stand-alone host
// (QmCadApi_SetColor) or left at their defaults, and the brushes made from them.
#pragma once

#include <windows.h>

class HostColors {
public:
    static HostColors& Instance();

    enum DialogColor {
        kDialogBack = 0,
        kPanelBack = 1,
        kButtonBack = 2,
        kStaticBack = 3,
        kEditBack = 4,
        kListBack = 5,
        kOtherBack = 6,
        kStaticText = 7,
        kButtonText = 8,
        kOtherText = 9,
        kDialogColorCount = 10,
    };
    enum ButtonColor { kButtonFace = 0, kButtonLabel = 1, kButtonDisabledLabel = 2, kButtonColorCount = 3 };
    static constexpr int kButtonKinds = 4;

    COLORREF Dialog(int which) const;
    COLORREF Button(int kind, int which) const;
    // Index -1: ten dialog colours; 0..3: the three colours of that button kind.
    bool Set(int index, const COLORREF* values);
    // A brush of the colour, kept by the library (one per dialog colour slot).
    HBRUSH DialogBrush(int which);

private:
    HostColors();

    COLORREF m_dialog[kDialogColorCount];
    bool m_dialogSet[kDialogColorCount] = {};
    COLORREF m_button[kButtonKinds][kButtonColorCount];
    HBRUSH m_brush[kDialogColorCount] = {};
    COLORREF m_brushColor[kDialogColorCount] = {};
};
