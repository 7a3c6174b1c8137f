#include "view/CadCursor.h"

#include "commands/MarkServices.h"
#include "core/CadSystem.h"
#include "core/LocalSettings.h"
#include "view/ViewServices.h"

void CCadCursor::LoadSettings()
{
    const int mouse = GetCadSystem().localWindow.MOUSE;
    const ConfigData& config = GetCadSystem().config;
    const bool aperture = GetLocalSettingsLive().setup.bCurSorAreaDsp != 0;
    if (mouse == 0 || mouse == 1) {
        const int type = mouse == 0 ? config.CURSOR00TYPE : config.CURSOR01TYPE;
        m_shape = mouse;
        m_dashed = mouse == 0 && (type & 1) != 0;
        m_markerKind = aperture ? ((type & 2) ? 2 : 1) : 0;
    } else {
        m_shape = -1;
        m_dashed = false;
        m_markerKind = 0;
    }
    if (m_markerKind != 0) m_markerSize = GetPickAperture() + 2;
    m_lastShape = m_shape;
}

void CCadCursor::ApplySetting(WPARAM which, LPARAM value)
{
    Update(false);
    switch (which) {
    case 0: LoadSettings(); break;
    case 1: m_shape = static_cast<int>(value); break;
    case 2: m_dashed = value != 0; break;
    case 3: m_markerKind = static_cast<int>(value); break;
    case 4: m_markerSize = static_cast<int>(value); break;
    default: break;
    }
    Update(true);
}

void CCadCursor::Draw(POINT client, int shape)
{
    HDC dc = GetDC(m_view);
    if (dc == nullptr) return;
    RECT rect;
    GetClientRect(m_view, &rect);
    HPEN pen = CreatePen(m_dashed && shape == 0 ? PS_DASH : PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    const int oldRop = SetROP2(dc, R2_XORPEN);
    const int oldBk = SetBkMode(dc, TRANSPARENT);
    if (shape == 0) {
        MoveToEx(dc, rect.left, client.y, nullptr);
        LineTo(dc, rect.right, client.y);
        MoveToEx(dc, client.x, rect.top, nullptr);
        LineTo(dc, client.x, rect.bottom);
    } else if (shape == 1) {
        const int half = 3 * m_markerSize;
        MoveToEx(dc, client.x - half, client.y, nullptr);
        LineTo(dc, client.x + half, client.y);
        MoveToEx(dc, client.x, client.y - half, nullptr);
        LineTo(dc, client.x, client.y + half);
    }
    if (m_enabled && m_markerKind == 1) {
        Rectangle(dc, client.x - m_markerSize, client.y - m_markerSize, client.x + m_markerSize, client.y + m_markerSize);
    } else if (m_enabled && m_markerKind == 2) {
        Ellipse(dc, client.x - m_markerSize, client.y - m_markerSize, client.x + m_markerSize, client.y + m_markerSize);
    }
    SetBkMode(dc, oldBk);
    SetROP2(dc, oldRop);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    ReleaseDC(m_view, dc);
}

void CCadCursor::Update(bool draw)
{
    if (m_view == nullptr || !IsWindow(m_view)) return;
    if (m_drawn) {
        Draw(m_lastClient, m_lastShape);
        m_drawn = false;
    }
    if (!draw || m_shape == -1 || !m_shown) return;
    POINT client = m_screen;
    ScreenToClient(m_view, &client);
    Draw(client, m_shape);
    m_lastClient = client;
    m_lastShape = m_shape;
    m_drawn = true;
}
