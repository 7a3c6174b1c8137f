// The cross-hair a drawing view draws at the mouse in place of a cursor image: a full-width
// cross (or a small one) and the pick-aperture marker, drawn with an exclusive-or pen so that
// drawing it again erases it.
#pragma once

#include <windows.h>

class CCadCursor {
public:
    void SetView(HWND view) { m_view = view; }
    // Reads MOUSE, CURSOR00TYPE / CURSOR01TYPE and bCurSorAreaDsp.
    void LoadSettings();
    // Erases the drawn cross; then, with draw set, draws it at the current screen point.
    void Update(bool draw);
    // The picture is gone (the view paints over it): forget the cross without erasing.
    void Forget() { m_drawn = false; }
    void SetScreenPoint(POINT screen) { m_screen = screen; }

    // The cursor-settings message (33771): 0 reload, 1 shape, 2 dashed, 3 marker kind, 4 size.
    void ApplySetting(WPARAM which, LPARAM value);

    bool Drawn() const { return m_drawn; }
    int Shape() const { return m_shape; }
    int MarkerKind() const { return m_markerKind; }
    int MarkerSize() const { return m_markerSize; }
    bool Dashed() const { return m_dashed; }

private:
    void Draw(POINT client, int shape);

    HWND m_view = nullptr;
    bool m_drawn = false;
    bool m_enabled = true;
    bool m_shown = true;
    POINT m_screen = {0, 0};
    POINT m_lastClient = {0, 0};
    int m_shape = 0;        // 0 full cross, 1 small cross, -1 none
    int m_lastShape = 0;
    bool m_dashed = false;
    int m_markerSize = 10;
    int m_markerKind = 1;   // 1 square, 2 circle, 0 none
};
