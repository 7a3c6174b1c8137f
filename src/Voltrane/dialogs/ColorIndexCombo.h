// The colour-index combo of the settings dialogs: an owner-drawn drop-down list whose item n
// shows the swatch of colour n of its own colour array beside the item's number.
#pragma once

#include <windows.h>

#include <vector>

class CColorIndexCombo {
public:
    CColorIndexCombo() = default;
    explicit CColorIndexCombo(HWND combo) : m_combo(combo) {}
    virtual ~CColorIndexCombo() = default;

    void Attach(HWND combo) { m_combo = combo; }
    HWND Handle() const { return m_combo; }

    // Adds the number texts first..last (inclusive) with their numbers as item data.
    void FillNumberCombo(int first, int last);
    // Appends colours[start] .. colours[end - 1] to the colour array.
    void AddComboColors(const COLORREF* colours, int end, int start);
    // Overwrites entries 0 .. min(count, array length) - 1 with colours[start], ...
    void SetColors(const COLORREF* colours, int count, int start);
    // The colour of item n; 0 when n is outside the array.
    COLORREF GetColorAt(int n) const;
    int ColorCount() const { return static_cast<int>(m_colours.size()); }
    // Draws item n with colour n of the array (the first colour outside it) and its number.
    void DrawColorComboItem(const DRAWITEMSTRUCT* item) const;

private:
    HWND m_combo = nullptr;
    std::vector<COLORREF> m_colours;
};

// Makes a drop-down show at least this many items: CB_SETMINVISIBLE where the common controls
// honour it, else by the height of the drop-down.
void SetComboMinVisible(HWND combo, int items);
