// A 32-bit memory bitmap to paint into and read back pixel by pixel.
#pragma once

#include <windows.h>

class PixelCanvas {
public:
    PixelCanvas(int w, int h) : m_w(w), m_h(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, nullptr, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~PixelCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    HDC dc() const { return m_dc; }
    int width() const { return m_w; }
    int height() const { return m_h; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }
    // Whether every pixel of the rectangle has the colour.
    bool All(int x0, int y0, int x1, int y1, COLORREF colour) const
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (At(x, y) != colour) return false;
        return true;
    }

private:
    int m_w, m_h;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};
