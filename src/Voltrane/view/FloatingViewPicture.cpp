#include "view/FloatingViewPicture.h"

#include "view/ViewPaint.h"

void CFloatingViewPicture::Drop()
{
    if (m_picture) ::DeleteObject(m_picture);
    m_picture = nullptr;
}

HDC CFloatingViewPicture::BeginRender(HDC dc, const RECT& client)
{
    Drop();
    HDC memory = ::CreateCompatibleDC(dc);
    m_rendering = memory ? ::CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr;
    if (!memory || !m_rendering) {
        if (m_rendering) ::DeleteObject(m_rendering);
        if (memory) ::DeleteDC(memory);
        m_rendering = nullptr;
        return nullptr;
    }
    m_old = ::SelectObject(memory, m_rendering);
    HBRUSH background = ::CreateSolidBrush(CurrentViewPaintSettings().background);
    ::FillRect(memory, &client, background);
    ::DeleteObject(background);
    return memory;
}

void CFloatingViewPicture::EndRender(HDC memory)
{
    ::SelectObject(memory, m_old);
    ::DeleteDC(memory);
    m_picture = m_rendering;
    m_rendering = nullptr;
}

void CFloatingViewPicture::CopyTo(HDC dc, const RECT& client) const
{
    if (!m_picture) return;
    HDC memory = ::CreateCompatibleDC(dc);
    if (!memory) return;
    HGDIOBJ old = ::SelectObject(memory, m_picture);
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, old);
    ::DeleteDC(memory);
}
