// The picture a floating view window (the overview, the loupe) keeps between paints: rendered
// on the view background when there is none yet or the frame asks for a refresh, then copied
// to the window.
#pragma once

#include <windows.h>

class CFloatingViewPicture {
public:
    CFloatingViewPicture() = default;
    ~CFloatingViewPicture() { Drop(); }
    CFloatingViewPicture(const CFloatingViewPicture&) = delete;
    CFloatingViewPicture& operator=(const CFloatingViewPicture&) = delete;

    void Drop();
    // Renders with draw (into a memory device context of the client size) when needed, then
    // copies the picture to dc.
    template <class Draw>
    void Paint(HDC dc, const RECT& client, bool refresh, Draw draw)
    {
        if ((!m_picture || refresh) && client.right > 0 && client.bottom > 0) {
            HDC memory = BeginRender(dc, client);
            if (memory) {
                draw(memory);
                EndRender(memory);
            }
        }
        CopyTo(dc, client);
    }

private:
    HDC BeginRender(HDC dc, const RECT& client);
    void EndRender(HDC memory);
    void CopyTo(HDC dc, const RECT& client) const;

    HBITMAP m_picture = nullptr;
    HBITMAP m_rendering = nullptr;
    HGDIOBJ m_old = nullptr;
};
