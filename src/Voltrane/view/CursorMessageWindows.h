// The small pop-ups that follow the cursor over a drawing view: the running command's message
// and its command-grid position (CCursorMsgWin, driven by the view's WM_COMMAND 8000 and 8001),
// and the name of the snap point found at the cursor (CSnapWin, one for the process).
#pragma once

#include <windows.h>

#include <string>

// The two lines of the grid window: the cursor's offsets from the grid origin, "%.0lf", each
// right-aligned to the longer of the two and framed by one blank (" X:%*s ", " Y:%*s ").
void FormatGridMessageLines(double dx, double dy, std::string* line1, std::string* line2);
// The snap-name table: 1 "端点", 2 "交点", 3 "線上", 4 "中点", 5 "中心"; null for others.
const char* SnapPointName(int index);
// The snap tip's width for a text of the given pixel width.
int SnapTipWidth(int textWidth);

class CCursorMsgWin {
public:
    enum Kind { kMessage = 0, kGrid = 1 };
    explicit CCursorMsgWin(int kind) : m_kind(kind) {}
    virtual ~CCursorMsgWin();
    void Create(HWND parent);
    // 1 when shown.
    int Update(const POINT* anchor);
    void Hide();
    void SetPlacement(int placement) { m_placement = placement; }
    HWND Window() const { return m_window; }
    const std::string& Line(int n) const { return n == 0 ? m_line1 : m_line2; }

private:
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    void Paint();

    int m_disabled = 0;
    int m_placement = 0;
    int m_kind;
    std::string m_text, m_line1, m_line2;
    int m_shown = 0;
    POINT m_anchor = {0, 0};
    HWND m_window = nullptr;
    HFONT m_font = nullptr;
};

class CSnapWin {
public:
    virtual ~CSnapWin();
    // Shows the name of the index next to the anchor (the cursor when null); index 0 hides.
    void ShowSnapName(int index, const POINT* anchor);
    void Hide();
    HWND Window() const { return m_window; }

private:
    static LRESULT CALLBACK WndProc(HWND, UINT, WPARAM, LPARAM);
    void HideIfCursorLeft();

    int m_disabled = 0;
    int m_shown = 0;
    POINT m_anchor = {0, 0};
    std::string m_text;
    HWND m_window = nullptr;
};

CSnapWin& GetSnapWin();
// The two message windows of the views, and the message state of the running command.
CCursorMsgWin& GetCursorMessageWindow(int kind);
// Called on every mouse move over the active view: the message windows follow the cursor.
void UpdateCursorMessagesOnMove();
