#include "Win32Shim.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace {

// ---- Files -------------------------------------------------------------------------------

std::map<std::string, std::string>& Files()
{
    static std::map<std::string, std::string> files;
    return files;
}

constexpr uint32_t kFileMagic = 0x46494C45u;

struct MemoryFile {
    uint32_t magic = kFileMagic;
    std::string name;
    std::string data;
    size_t position = 0;
    bool writing = false;
};

MemoryFile* AsFile(HANDLE handle)
{
    auto* file = static_cast<MemoryFile*>(handle);
    return file != nullptr && handle != INVALID_HANDLE_VALUE && file->magic == kFileMagic ? file : nullptr;
}

thread_local DWORD g_lastError = 0;

// Makes the compiler keep reads of caller memory that nothing else uses.
volatile uint8_t g_sink;

void Touch(const void* data, size_t size)
{
    if (data == nullptr || size == 0) return;
    const auto* bytes = static_cast<const uint8_t*>(data);
    uint8_t sum = 0;
    for (size_t i = 0; i < size; ++i) sum ^= bytes[i];
    g_sink = sum;
}

// ---- GDI ---------------------------------------------------------------------------------

constexpr uint32_t kGdiMagic = 0x47444930u;

enum class Kind { Pen, Brush, Font, Bitmap, Dc };

struct GdiObject {
    uint32_t magic = kGdiMagic;
    Kind kind;
    bool stock = false;
    LONG width = 0, height = 0;   // bitmaps
    std::vector<uint8_t> bits;    // bitmaps: 32-bit rows
    HGDIOBJ selected[4] = {};     // device contexts: pen, brush, font, bitmap
    explicit GdiObject(Kind k) : kind(k) {}
};

int g_liveGdi = 0;

GdiObject* AsGdi(HGDIOBJ handle)
{
    auto* object = reinterpret_cast<GdiObject*>(handle);
    return object != nullptr && object->magic == kGdiMagic ? object : nullptr;
}

HGDIOBJ NewGdi(Kind kind)
{
    ++g_liveGdi;
    return reinterpret_cast<HGDIOBJ>(new GdiObject(kind));
}

GdiObject* StockOf(Kind kind)
{
    static GdiObject pen(Kind::Pen), brush(Kind::Brush), font(Kind::Font), bitmap(Kind::Bitmap), screen(Kind::Dc);
    GdiObject* all[] = {&pen, &brush, &font, &bitmap, &screen};
    GdiObject* object = all[static_cast<int>(kind)];
    object->stock = true;
    return object;
}

GdiObject* AsDc(HDC dc)
{
    GdiObject* object = AsGdi(reinterpret_cast<HGDIOBJ>(dc));
    return object != nullptr && object->kind == Kind::Dc ? object : nullptr;
}

// Bytes of the pixel rows a bitmap header describes (0 when it describes none).
size_t PixelBytes(const BITMAPINFOHEADER& header, UINT rows)
{
    if (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS) return 0;
    const uint64_t width = header.biWidth > 0 ? static_cast<uint64_t>(header.biWidth) : 0;
    const uint64_t stride = (width * header.biBitCount + 31) / 32 * 4;
    return static_cast<size_t>(std::min<uint64_t>(stride * rows, 1u << 30));
}

// ---- Global memory -----------------------------------------------------------------------

constexpr uint32_t kGlobalMagic = 0x474C4F42u;

struct GlobalBlock {
    uint32_t magic = kGlobalMagic;
    std::vector<uint8_t> bytes;
};

GlobalBlock* AsGlobal(HGLOBAL handle)
{
    auto* block = static_cast<GlobalBlock*>(handle);
    return block != nullptr && block->magic == kGlobalMagic ? block : nullptr;
}

}  // namespace

namespace shim {

void PutFile(const std::string& name, const void* data, size_t size)
{
    Files()[name].assign(static_cast<const char*>(data), size);
}

bool GetFile(const std::string& name, std::string& data)
{
    auto found = Files().find(name);
    if (found == Files().end()) return false;
    data = found->second;
    return true;
}

bool HasFile(const std::string& name) { return Files().count(name) != 0; }

void ClearFiles() { Files().clear(); }

int LiveGdiObjects() { return g_liveGdi; }

}  // namespace shim

extern "C" {

// ---- kernel32 ----------------------------------------------------------------------------

DWORD WINAPI GetLastError(void) { return g_lastError; }
void WINAPI SetLastError(DWORD error) { g_lastError = error; }
DWORD WINAPI GetCurrentProcessId(void) { return 1; }

void WINAPI GetLocalTime(LPSYSTEMTIME time)
{
    *time = SYSTEMTIME{2026, 12, 4, 10, 12, 0, 0, 0};
}

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD creation, DWORD, HANDLE)
{
    const std::string path = name;
    auto found = Files().find(path);
    auto file = std::make_unique<MemoryFile>();
    file->name = path;
    file->writing = (access & GENERIC_WRITE) != 0;
    if (creation == OPEN_EXISTING || creation == OPEN_ALWAYS) {
        if (found == Files().end() && creation == OPEN_EXISTING) {
            g_lastError = ERROR_FILE_NOT_FOUND;
            return INVALID_HANDLE_VALUE;
        }
        if (found != Files().end()) file->data = found->second;
    }
    if (creation == CREATE_NEW && found != Files().end()) {
        g_lastError = ERROR_FILE_EXISTS;
        return INVALID_HANDLE_VALUE;
    }
    if (file->writing) Files()[path] = file->data;
    g_lastError = 0;
    return file.release();
}

BOOL WINAPI ReadFile(HANDLE handle, LPVOID buffer, DWORD size, LPDWORD got, LPOVERLAPPED)
{
    MemoryFile* file = AsFile(handle);
    if (file == nullptr) return FALSE;
    const size_t n = std::min<size_t>(size, file->data.size() - file->position);
    std::memcpy(buffer, file->data.data() + file->position, n);
    file->position += n;
    if (got != nullptr) *got = static_cast<DWORD>(n);
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE handle, LPCVOID buffer, DWORD size, LPDWORD written, LPOVERLAPPED)
{
    MemoryFile* file = AsFile(handle);
    if (file == nullptr || !file->writing) return FALSE;
    file->data.replace(file->position, std::min<size_t>(size, file->data.size() - file->position),
                       static_cast<const char*>(buffer), size);
    file->position += size;
    if (written != nullptr) *written = size;
    return TRUE;
}

DWORD WINAPI GetFileSize(HANDLE handle, LPDWORD high)
{
    MemoryFile* file = AsFile(handle);
    if (high != nullptr) *high = 0;
    return file != nullptr ? static_cast<DWORD>(file->data.size()) : INVALID_FILE_SIZE;
}

BOOL WINAPI FlushFileBuffers(HANDLE handle) { return AsFile(handle) != nullptr; }

BOOL WINAPI CloseHandle(HANDLE handle)
{
    MemoryFile* file = AsFile(handle);
    if (file == nullptr) return FALSE;
    if (file->writing) Files()[file->name] = file->data;
    file->magic = 0;
    delete file;
    return TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR name) { return Files().erase(name) != 0; }

BOOL WINAPI MoveFileExA(LPCSTR from, LPCSTR to, DWORD flags)
{
    auto found = Files().find(from);
    if (found == Files().end()) return FALSE;
    if ((flags & MOVEFILE_REPLACE_EXISTING) == 0 && Files().count(to) != 0) return FALSE;
    std::string data = std::move(found->second);
    Files().erase(found);
    Files()[to] = std::move(data);
    return TRUE;
}

BOOL WINAPI MoveFileA(LPCSTR from, LPCSTR to) { return MoveFileExA(from, to, 0); }

DWORD WINAPI GetFileAttributesA(LPCSTR name)
{
    return Files().count(name) != 0 ? FILE_ATTRIBUTE_NORMAL : INVALID_FILE_ATTRIBUTES;
}

// Pointers handed to the engine are the caller's; a null one is the only one known bad.
BOOL WINAPI IsBadReadPtr(LPCVOID pointer, UINT_PTR size) { return pointer == nullptr && size != 0; }
BOOL WINAPI IsBadWritePtr(LPVOID pointer, UINT_PTR size) { return pointer == nullptr && size != 0; }
BOOL WINAPI IsBadStringPtrA(LPCSTR pointer, UINT_PTR) { return pointer == nullptr; }

HGLOBAL WINAPI GlobalAlloc(UINT, SIZE_T size)
{
    auto* block = new GlobalBlock;
    block->bytes.assign(size, 0);
    return block;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL handle)
{
    GlobalBlock* block = AsGlobal(handle);
    if (block == nullptr) return handle;
    block->magic = 0;
    delete block;
    return nullptr;
}

LPVOID WINAPI GlobalLock(HGLOBAL handle)
{
    GlobalBlock* block = AsGlobal(handle);
    if (block == nullptr) return nullptr;
    // A block of no bytes still has an address, as on the platform.
    return block->bytes.empty() ? static_cast<void*>(block) : block->bytes.data();
}

BOOL WINAPI GlobalUnlock(HGLOBAL) { return FALSE; }

SIZE_T WINAPI GlobalSize(HGLOBAL handle)
{
    GlobalBlock* block = AsGlobal(handle);
    return block != nullptr ? block->bytes.size() : 0;
}

// ---- user32 ------------------------------------------------------------------------------

INT WINAPIV wsprintfA(LPSTR out, LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(out, 1025, format, args);
    va_end(args);
    return n;
}

BOOL WINAPI IsWindow(HWND) { return FALSE; }

HDC WINAPI GetDC(HWND) { return reinterpret_cast<HDC>(StockOf(Kind::Dc)); }

INT WINAPI ReleaseDC(HWND, HDC) { return 1; }

// ---- gdi32 -------------------------------------------------------------------------------

HDC WINAPI CreateCompatibleDC(HDC) { return reinterpret_cast<HDC>(NewGdi(Kind::Dc)); }

BOOL WINAPI DeleteDC(HDC dc)
{
    GdiObject* object = AsDc(dc);
    if (object == nullptr || object->stock) return FALSE;
    object->magic = 0;
    delete object;
    --g_liveGdi;
    return TRUE;
}

BOOL WINAPI DeleteObject(HGDIOBJ handle)
{
    GdiObject* object = AsGdi(handle);
    if (object == nullptr || object->stock || object->kind == Kind::Dc) return FALSE;
    object->magic = 0;
    delete object;
    --g_liveGdi;
    return TRUE;
}

HBITMAP WINAPI CreateCompatibleBitmap(HDC, INT width, INT height)
{
    if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return nullptr;
    auto* bitmap = reinterpret_cast<GdiObject*>(NewGdi(Kind::Bitmap));
    bitmap->width = width;
    bitmap->height = height;
    bitmap->bits.assign(static_cast<size_t>(width) * height * 4, 0);
    return reinterpret_cast<HBITMAP>(bitmap);
}

HPEN WINAPI CreatePen(INT, INT, COLORREF) { return reinterpret_cast<HPEN>(NewGdi(Kind::Pen)); }

HPEN WINAPI ExtCreatePen(DWORD, DWORD, const LOGBRUSH* brush, DWORD count, const DWORD* style)
{
    Touch(brush, sizeof *brush);
    Touch(style, count * sizeof(DWORD));
    return reinterpret_cast<HPEN>(NewGdi(Kind::Pen));
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* font)
{
    Touch(font, sizeof *font);
    Touch(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE));
    return reinterpret_cast<HFONT>(NewGdi(Kind::Font));
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ handle)
{
    GdiObject* target = AsDc(dc);
    GdiObject* object = AsGdi(handle);
    if (target == nullptr || object == nullptr || object->kind == Kind::Dc) return nullptr;
    const int slot = static_cast<int>(object->kind);
    HGDIOBJ previous = target->selected[slot];
    if (previous == nullptr) previous = reinterpret_cast<HGDIOBJ>(StockOf(object->kind));
    target->selected[slot] = handle;
    return previous;
}

INT WINAPI GetObjectA(HGDIOBJ handle, INT size, LPVOID out)
{
    GdiObject* object = AsGdi(handle);
    if (object == nullptr || object->kind != Kind::Bitmap || size < static_cast<INT>(sizeof(BITMAP))) return 0;
    BITMAP info = {};
    info.bmWidth = object->width;
    info.bmHeight = object->height;
    info.bmWidthBytes = object->width * 4;
    info.bmPlanes = 1;
    info.bmBitsPixel = 32;
    std::memcpy(out, &info, sizeof info);
    return sizeof info;
}

INT WINAPI GetDIBits(HDC, HBITMAP handle, UINT start, UINT rows, LPVOID bits, LPBITMAPINFO info, UINT)
{
    GdiObject* object = AsGdi(handle);
    if (object == nullptr || object->kind != Kind::Bitmap || info == nullptr) return 0;
    const UINT available = start < static_cast<UINT>(object->height) ? object->height - start : 0;
    rows = std::min(rows, available);
    if (bits != nullptr) std::memset(bits, 0x80, PixelBytes(info->bmiHeader, rows));
    return static_cast<INT>(rows);
}

INT WINAPI StretchDIBits(HDC dc, INT, INT, INT, INT, INT, INT, INT, INT, const VOID* bits, const BITMAPINFO* info, UINT,
                         DWORD)
{
    if (AsDc(dc) == nullptr || info == nullptr) return 0;
    Touch(&info->bmiHeader, sizeof info->bmiHeader);
    const LONG height = info->bmiHeader.biHeight;
    const UINT rows = static_cast<UINT>(height < 0 ? -static_cast<int64_t>(height) : height);
    Touch(bits, PixelBytes(info->bmiHeader, rows));
    return static_cast<INT>(rows);
}

INT WINAPI SetStretchBltMode(HDC, INT) { return BLACKONWHITE; }
INT WINAPI SetROP2(HDC, INT) { return R2_COPYPEN; }
INT WINAPI SetBkMode(HDC, INT) { return OPAQUE; }
COLORREF WINAPI SetTextColor(HDC, COLORREF) { return 0; }
UINT WINAPI SetTextAlign(HDC, UINT) { return TA_TOP | TA_LEFT; }
INT WINAPI SaveDC(HDC dc) { return AsDc(dc) != nullptr ? 1 : 0; }
BOOL WINAPI RestoreDC(HDC dc, INT) { return AsDc(dc) != nullptr; }

BOOL WINAPI MoveToEx(HDC dc, INT, INT, LPPOINT previous)
{
    if (previous != nullptr) *previous = POINT{0, 0};
    return AsDc(dc) != nullptr;
}

BOOL WINAPI LineTo(HDC dc, INT, INT) { return AsDc(dc) != nullptr; }

BOOL WINAPI Polyline(HDC dc, const POINT* points, INT count)
{
    if (AsDc(dc) == nullptr || count < 0) return FALSE;
    Touch(points, static_cast<size_t>(count) * sizeof(POINT));
    return TRUE;
}

BOOL WINAPI TextOutA(HDC dc, INT, INT, LPCSTR text, INT count)
{
    if (AsDc(dc) == nullptr || count < 0) return FALSE;
    Touch(text, static_cast<size_t>(count));
    return TRUE;
}

INT WINAPI EnumFontFamiliesExA(HDC, LPLOGFONTA font, FONTENUMPROCA, LPARAM, DWORD)
{
    Touch(font, sizeof *font);
    return 0;
}

}  // extern "C"
