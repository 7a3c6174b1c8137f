#include <cstring>

#include "DrawingWindowRecords.h"

CDrawSurface::CDrawSurface(HWND target, int, int, int, int requestedMode, int flag, int ownDc)
{
    std::memset(static_cast<void*>(this), 0, sizeof *this);
    window = target;
    // The automatic choice is GDI: the engine draws into the draw block's device context.
    mode = requestedMode == kModeAuto ? kModeGdi : requestedMode;
    constructionFlag = static_cast<uint8_t>(flag);
    ownDcFlag = static_cast<uint8_t>(ownDc);
    InitGdi();
}

CDrawSurface::~CDrawSurface() { Release(); }

void CDrawSurface::InitGdi()
{
    drawDc = windowDc = nullptr;
    comObject1 = comObject2 = nullptr;
    d2dFactory = imagingFactory = dwriteFactory = renderTarget = nullptr;
    Resize();
}

void CDrawSurface::Resize()
{
    RECT rect = {};
    if (window != nullptr && IsWindow(window)) GetClientRect(window, &rect);
    client = rect;
}

void CDrawSurface::Release()
{
    if (dcHeld) {
        if (ownDcFlag) {
            if (drawDc != nullptr) DeleteDC(drawDc);
            if (windowDc != nullptr) ReleaseDC(window, windowDc);
        } else if (drawDc != nullptr) {
            ReleaseDC(window, drawDc);
        }
        drawDc = windowDc = nullptr;
        dcHeld = 0;
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    // The program never fills the brush slots: they hold no objects to release.
    for (void*& brush : brushes) brush = nullptr;
}
