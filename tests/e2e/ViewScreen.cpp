#include "ViewScreen.h"

#include <vector>

#include <cstdio>

#include "DrawingWindows.h"

bool ReadViewMapping(DWORD processId, HWND view, ViewMapping* mapping)
{
    PDBINFO block;
    if (!ReadViewBlock(processId, view, &block)) return false;
    mapping->mode = CurrentViewMode(block);
    mapping->storedWidth = block.clientWidth;
    mapping->storedHeight = block.clientHeight;
    RECT client;
    GetClientRect(view, &client);
    mapping->centreX = client.right / 2;
    mapping->centreY = client.bottom / 2;
    return true;
}

bool WaitForSteadyView(DWORD processId, HWND view, DWORD timeoutMs)
{
    RECT last = {};
    ViewMapping lastMapping;
    int steady = 0;
    for (DWORD start = GetTickCount(); steady < 3; Sleep(100)) {
        if (GetTickCount() - start >= timeoutMs) return false;
        RECT now = {};
        ViewMapping mapping;
        if (!GetWindowRect(view, &now) || !ReadViewMapping(processId, view, &mapping)) return false;
        const bool same = EqualRect(&now, &last) && mapping.centreX == lastMapping.centreX &&
                          mapping.centreY == lastMapping.centreY && mapping.mode.scale == lastMapping.mode.scale;
        steady = same ? steady + 1 : 0;
        last = now;
        lastMapping = mapping;
    }
    return true;
}

std::vector<DWORD> ScreenPixels(const RECT& r)
{
    const int width = r.right - r.left, height = r.bottom - r.top;
    std::vector<DWORD> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = p[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool ShowsColourNear(HWND view, POINT client, COLORREF colour, std::string* seen)
{
    constexpr int kAcross = 1, kDown = 5, kWidth = 2 * kAcross + 1;
    POINT screen = client;
    ClientToScreen(view, &screen);
    const RECT area = {screen.x - kAcross, screen.y - kDown, screen.x + kAcross + 1, screen.y + kDown + 1};
    const std::vector<DWORD> pixels = ScreenPixels(area);
    bool found = false;
    for (const DWORD bgr : pixels) found = found || RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF) == colour;
    char text[48];
    std::snprintf(text, sizeof text, "%06lx at %ld,%ld", static_cast<unsigned long>(pixels[kDown * kWidth + kAcross]),
                  static_cast<long>(screen.x), static_cast<long>(screen.y));
    *seen = text;
    return found;
}

bool WaitForColour(HWND view, POINT client, COLORREF colour, std::string* seen)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < 5000; Sleep(50)) {
        if (ShowsColourNear(view, client, colour, seen)) return true;
    }
    return false;
}

void SaveScreen(const char* path)
{
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = (width * 3 + 3) & ~3u, size = rowBytes * height;
    BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                             static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    if (FILE* out = std::fopen(path, "wb")) {
        std::fwrite(&file, sizeof file, 1, out);
        std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out);
        std::fwrite(bits, size, 1, out);
        std::fclose(out);
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}
