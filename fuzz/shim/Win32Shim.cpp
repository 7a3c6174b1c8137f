#include "Win32Shim.h"

#include "MemoryProbe.h"

#include <iconv.h>
#include <strings.h>

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


// ---- Text --------------------------------------------------------------------------------

// Converts with iconv; false when the input is not valid in `from` (with strict set) or
// cannot be converted.
// Opening a conversion costs far more than most conversions, so each is opened once, when the
// program starts (one opened during a run would look like a leak of that run).
struct Conversions {
    static constexpr const char* kCodes[2] = {"CP932", "UTF-8"};
    iconv_t toWide[2], fromWide[2];
    Conversions()
    {
        for (int i = 0; i < 2; ++i) {
            toWide[i] = iconv_open("UTF-16LE", kCodes[i]);
            fromWide[i] = iconv_open(kCodes[i], "UTF-16LE");
        }
    }
    ~Conversions()
    {
        for (int i = 0; i < 2; ++i) {
            iconv_close(toWide[i]);
            iconv_close(fromWide[i]);
        }
    }
    iconv_t Find(const char* to, const char* from) const
    {
        for (int i = 0; i < 2; ++i) {
            if (std::strcmp(from, kCodes[i]) == 0 && std::strcmp(to, "UTF-16LE") == 0) return toWide[i];
            if (std::strcmp(to, kCodes[i]) == 0 && std::strcmp(from, "UTF-16LE") == 0) return fromWide[i];
        }
        return reinterpret_cast<iconv_t>(-1);
    }
} g_conversions;

bool Convert(const char* to, const char* from, const char* input, size_t size, std::string& output)
{
    iconv_t cd = g_conversions.Find(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    output.assign(size * 4 + 16, '\0');
    char* in = const_cast<char*>(input);
    char* out = &output[0];
    size_t inLeft = size, outLeft = output.size();
    size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    if (result == static_cast<size_t>(-1)) return false;
    output.resize(output.size() - outLeft);
    return true;
}

const char* CodePageName(UINT codePage)
{
    switch (codePage) {
    case CP_UTF8:
        return "UTF-8";
    case 932:
    case CP_ACP:
    case CP_THREAD_ACP:
        return "CP932";
    default:
        return nullptr;
    }
}

bool IsLeadByte932(BYTE c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// ---- Menus -------------------------------------------------------------------------------

constexpr uint32_t kMenuMagic = 0x4D454E55u;

struct MenuItem {
    UINT flags = 0;
    UINT_PTR id = 0;
    std::string text;
};

struct Menu {
    uint32_t magic = kMenuMagic;
    std::vector<MenuItem> items;
};

int g_liveMenus = 0;

Menu* AsMenu(HMENU handle)
{
    auto* menu = reinterpret_cast<Menu*>(handle);
    return menu != nullptr && menu->magic == kMenuMagic ? menu : nullptr;
}

HMENU NewMenu()
{
    ++g_liveMenus;
    return reinterpret_cast<HMENU>(new Menu);
}

// The item at a position, or the first with the command id (searching submenus as well).
MenuItem* FindItem(Menu* menu, UINT item, UINT flags, Menu** owner = nullptr)
{
    if (menu == nullptr) return nullptr;
    if (flags & MF_BYPOSITION) {
        if (item >= menu->items.size()) return nullptr;
        if (owner != nullptr) *owner = menu;
        return &menu->items[item];
    }
    for (MenuItem& entry : menu->items) {
        if ((entry.flags & MF_POPUP) != 0) {
            if (MenuItem* found = FindItem(AsMenu(reinterpret_cast<HMENU>(entry.id)), item, flags, owner)) return found;
        } else if (entry.id == item) {
            if (owner != nullptr) *owner = menu;
            return &entry;
        }
    }
    return nullptr;
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

int LiveMenus() { return g_liveMenus; }

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

// No one is at the screen: every question is answered as its default button would be.
INT WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT)
{
    Touch(text, text != nullptr ? std::strlen(text) : 0);
    Touch(caption, caption != nullptr ? std::strlen(caption) : 0);
    return IDOK;
}

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
COLORREF WINAPI GetTextColor(HDC) { return 0; }
UINT WINAPI GetTextAlign(HDC) { return TA_TOP | TA_LEFT; }

// What SelectObject would answer for the kind: the object selected last, or the stock one.
HGDIOBJ WINAPI GetCurrentObject(HDC dc, UINT type)
{
    GdiObject* target = AsDc(dc);
    if (target == nullptr) return nullptr;
    Kind kind;
    switch (type) {
    case OBJ_PEN: kind = Kind::Pen; break;
    case OBJ_BRUSH: kind = Kind::Brush; break;
    case OBJ_FONT: kind = Kind::Font; break;
    case OBJ_BITMAP: kind = Kind::Bitmap; break;
    default: return nullptr;
    }
    HGDIOBJ current = target->selected[static_cast<int>(kind)];
    return current != nullptr ? current : reinterpret_cast<HGDIOBJ>(StockOf(kind));
}
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

// Text measures of a fixed-pitch face: half a cell per single byte, a whole one per double.
BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, INT count, LPSIZE size)
{
    if (AsDc(dc) == nullptr || count < 0 || size == nullptr) return FALSE;
    Touch(text, static_cast<size_t>(count));
    *size = SIZE{count * 8, 16};
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics)
{
    if (AsDc(dc) == nullptr || metrics == nullptr) return FALSE;
    *metrics = TEXTMETRICA{};
    metrics->tmHeight = 16;
    metrics->tmAscent = 13;
    metrics->tmDescent = 3;
    metrics->tmAveCharWidth = 8;
    metrics->tmMaxCharWidth = 16;
    metrics->tmCharSet = SHIFTJIS_CHARSET;
    return TRUE;
}

BOOL WINAPI ExtTextOutA(HDC dc, INT, INT, UINT, const RECT* rect, LPCSTR text, UINT count, const INT* dx)
{
    if (AsDc(dc) == nullptr) return FALSE;
    Touch(rect, rect != nullptr ? sizeof *rect : 0);
    Touch(text, count);
    Touch(dx, dx != nullptr ? count * sizeof(INT) : 0);
    return TRUE;
}

INT WINAPI IntersectClipRect(HDC dc, INT, INT, INT, INT) { return AsDc(dc) != nullptr ? SIMPLEREGION : ERROR; }

INT WINAPI EnumFontFamiliesExA(HDC, LPLOGFONTA font, FONTENUMPROCA, LPARAM, DWORD)
{
    Touch(font, sizeof *font);
    return 0;
}


// ---- kernel32: text and paths ----------------------------------------------------------

INT WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR input, INT size, LPWSTR output, INT capacity)
{
    const char* name = CodePageName(codePage);
    if (name == nullptr || input == nullptr || capacity < 0) {
        g_lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    const size_t length = size < 0 ? std::strlen(input) + 1 : static_cast<size_t>(size);
    std::string wide;
    if (!Convert("UTF-16LE", name, input, length, wide)) {
        if (flags & MB_ERR_INVALID_CHARS) {
            g_lastError = ERROR_NO_UNICODE_TRANSLATION;
            return 0;
        }
        // Character by character, a question mark for each one that does not convert, as the
        // platform puts in its default character.
        wide.clear();
        for (size_t i = 0; i < length;) {
            size_t step = 1;
            if (std::strcmp(name, "CP932") == 0 && IsLeadByte932(static_cast<BYTE>(input[i])) && i + 1 < length) step = 2;
            if (std::strcmp(name, "UTF-8") == 0) {
                // A lead byte and the continuation bytes that follow it (at most as many as it
                // announces): a bad sequence is replaced, the byte after it is not taken along.
                const auto c = static_cast<unsigned char>(input[i]);
                const size_t wanted = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                while (step < wanted && i + step < length && (static_cast<unsigned char>(input[i + step]) & 0xC0) == 0x80)
                    ++step;
            }
            // The platform's replacement: U+FFFD for bad UTF-8, the default character otherwise.
            const std::string replacement = std::strcmp(name, "UTF-8") == 0 ? std::string("\xFD\xFF", 2)
                                                                             : std::string("?\0", 2);
            std::string one;
            wide += Convert("UTF-16LE", name, input + i, step, one) ? one : replacement;
            i += step;
        }
    }
    const INT units = static_cast<INT>(wide.size() / 2);
    if (capacity == 0) return units;
    if (units > capacity) {
        g_lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
    }
    std::memcpy(output, wide.data(), wide.size());
    return units;
}

INT WINAPI WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR input, INT size, LPSTR output, INT capacity, LPCSTR,
                               LPBOOL usedDefault)
{
    const char* name = CodePageName(codePage);
    if (name == nullptr || input == nullptr || capacity < 0) {
        g_lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    size_t units = 0;
    if (size < 0) {
        while (input[units] != 0) ++units;
        ++units;
    } else {
        units = static_cast<size_t>(size);
    }
    std::string narrow;
    bool defaulted = false;
    if (!Convert(name, "UTF-16LE", reinterpret_cast<const char*>(input), units * 2, narrow)) {
        // Character by character (a surrogate pair is one), the default character for each
        // one the code page does not hold.
        narrow.clear();
        for (size_t i = 0; i < units;) {
            const size_t step = (input[i] >= 0xD800 && input[i] < 0xDC00 && i + 1 < units) ? 2 : 1;
            std::string one;
            if (Convert(name, "UTF-16LE", reinterpret_cast<const char*>(input + i), step * 2, one)) {
                narrow += one;
            } else {
                narrow += '?';
                defaulted = true;
            }
            i += step;
        }
    }
    if (usedDefault != nullptr) *usedDefault = defaulted;
    if (capacity == 0) return static_cast<INT>(narrow.size());
    if (narrow.size() > static_cast<size_t>(capacity)) {
        g_lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
    }
    std::memcpy(output, narrow.data(), narrow.size());
    return static_cast<INT>(narrow.size());
}

BOOL WINAPI IsDBCSLeadByte(BYTE c) { return IsLeadByte932(c); }
BOOL WINAPI IsDBCSLeadByteEx(UINT, BYTE c) { return IsLeadByte932(c); }

INT WINAPI lstrcmpiA(LPCSTR a, LPCSTR b) { return strcasecmp(a != nullptr ? a : "", b != nullptr ? b : ""); }
INT WINAPI lstrcmpA(LPCSTR a, LPCSTR b) { return std::strcmp(a != nullptr ? a : "", b != nullptr ? b : ""); }
INT WINAPI lstrlenA(LPCSTR text) { return text != nullptr ? static_cast<INT>(std::strlen(text)) : 0; }

INT WINAPI CompareStringA(LCID, DWORD flags, LPCSTR a, INT aSize, LPCSTR b, INT bSize)
{
    const std::string left(a, aSize < 0 ? std::strlen(a) : static_cast<size_t>(aSize));
    const std::string right(b, bSize < 0 ? std::strlen(b) : static_cast<size_t>(bSize));
    int order = (flags & NORM_IGNORECASE) ? strcasecmp(left.c_str(), right.c_str()) : left.compare(right);
    return order < 0 ? CSTR_LESS_THAN : order > 0 ? CSTR_GREATER_THAN : CSTR_EQUAL;
}

// The program file is "C:\\fuzz\\Voltrane.exe".
DWORD WINAPI GetModuleFileNameA(HMODULE, LPSTR out, DWORD size)
{
    const char kProgram[] = "C:\\fuzz\\Voltrane.exe";
    if (size == 0) return 0;
    const size_t n = std::min<size_t>(sizeof kProgram - 1, size - 1);
    std::memcpy(out, kProgram, n);
    out[n] = '\0';
    return static_cast<DWORD>(n);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR) { return reinterpret_cast<HMODULE>(0x400000); }
HMODULE WINAPI LoadLibraryA(LPCSTR) { return nullptr; }
BOOL WINAPI FreeLibrary(HMODULE) { return FALSE; }
FARPROC WINAPI GetProcAddress(HMODULE, LPCSTR) { return nullptr; }

BOOL WINAPI PathRemoveFileSpecA(LPSTR path)
{
    char* slash = std::strrchr(path, '\\');
    if (slash == nullptr) return FALSE;
    *(slash == path + 2 && path[1] == ':' ? slash + 1 : slash) = '\0';
    return TRUE;
}

void WINAPI PathRemoveExtensionA(LPSTR path)
{
    char* dot = std::strrchr(path, '.');
    if (dot != nullptr && std::strchr(dot, '\\') == nullptr) *dot = '\0';
}

BOOL WINAPI PathFileExistsA(LPCSTR path) { return Files().count(path) != 0; }
BOOL WINAPI PathIsRelativeA(LPCSTR path) { return !(path[0] == '\\' || (path[0] != 0 && path[1] == ':')); }

LPSTR WINAPI PathCombineA(LPSTR out, LPCSTR folder, LPCSTR file)
{
    std::string joined = folder != nullptr ? folder : "";
    if (!joined.empty() && joined.back() != '\\') joined += '\\';
    joined += file != nullptr ? file : "";
    std::snprintf(out, MAX_PATH, "%s", joined.c_str());
    return out;
}

BOOL WINAPI CreateDirectoryA(LPCSTR, LPSECURITY_ATTRIBUTES) { return TRUE; }

UINT WINAPI GetTempFileNameA(LPCSTR folder, LPCSTR prefix, UINT, LPSTR out)
{
    static unsigned counter = 0;
    std::snprintf(out, MAX_PATH, "%s\\%.3s%04X.tmp", folder, prefix, ++counter & 0xFFFF);
    Files()[out];
    return counter;
}

BOOL WINAPI CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists)
{
    auto found = Files().find(from);
    if (found == Files().end() || (failIfExists && Files().count(to) != 0)) return FALSE;
    std::string data = found->second;
    Files()[to] = std::move(data);
    return TRUE;
}

HLOCAL WINAPI LocalFree(HLOCAL memory)
{
    std::free(memory);
    return nullptr;
}

DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID, DWORD error, DWORD, LPSTR out, DWORD size, va_list*)
{
    char text[64];
    std::snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(error));
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        char* copy = static_cast<char*>(std::malloc(std::strlen(text) + 1));
        std::strcpy(copy, text);
        *reinterpret_cast<char**>(out) = copy;
        return static_cast<DWORD>(std::strlen(copy));
    }
    if (size == 0) return 0;
    std::snprintf(out, size, "%s", text);
    return static_cast<DWORD>(std::strlen(out));
}

INT WINAPI GetSystemMetrics(INT index)
{
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return 1280;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return 1024;
    default:
        return 0;
    }
}

// The classic scheme's system colours: grey faces, black text, white windows.
DWORD WINAPI GetSysColor(INT index)
{
    switch (index) {
    case COLOR_WINDOW:
    case COLOR_HIGHLIGHTTEXT:
        return RGB(255, 255, 255);
    case COLOR_WINDOWTEXT:
    case COLOR_BTNTEXT:
    case COLOR_MENUTEXT:
        return RGB(0, 0, 0);
    case COLOR_HIGHLIGHT:
        return RGB(0, 0, 128);
    default:
        return RGB(192, 192, 192);
    }
}

HBRUSH WINAPI GetSysColorBrush(INT) { return reinterpret_cast<HBRUSH>(StockOf(Kind::Brush)); }
HGDIOBJ WINAPI GetStockObject(INT) { return reinterpret_cast<HGDIOBJ>(StockOf(Kind::Brush)); }

// ---- user32: menus ---------------------------------------------------------------------

HMENU WINAPI CreateMenu(void) { return NewMenu(); }
HMENU WINAPI CreatePopupMenu(void) { return NewMenu(); }
BOOL WINAPI IsMenu(HMENU menu) { return AsMenu(menu) != nullptr; }

BOOL WINAPI DestroyMenu(HMENU handle)
{
    Menu* menu = AsMenu(handle);
    if (menu == nullptr) return FALSE;
    for (const MenuItem& item : menu->items)
        if (item.flags & MF_POPUP) DestroyMenu(reinterpret_cast<HMENU>(item.id));
    menu->magic = 0;
    delete menu;
    --g_liveMenus;
    return TRUE;
}

BOOL WINAPI AppendMenuA(HMENU handle, UINT flags, UINT_PTR id, LPCSTR text)
{
    Menu* menu = AsMenu(handle);
    if (menu == nullptr) return FALSE;
    if ((flags & MF_POPUP) != 0 && AsMenu(reinterpret_cast<HMENU>(id)) == nullptr) return FALSE;
    MenuItem item;
    item.flags = flags;
    item.id = id;
    if ((flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) == 0 && text != nullptr) item.text = text;
    menu->items.push_back(item);
    return TRUE;
}

INT WINAPI GetMenuItemCount(HMENU handle)
{
    Menu* menu = AsMenu(handle);
    return menu != nullptr ? static_cast<INT>(menu->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU handle, INT position)
{
    Menu* menu = AsMenu(handle);
    if (menu == nullptr || position < 0 || static_cast<size_t>(position) >= menu->items.size()) return static_cast<UINT>(-1);
    const MenuItem& item = menu->items[position];
    return (item.flags & MF_POPUP) ? static_cast<UINT>(-1) : static_cast<UINT>(item.id);
}

HMENU WINAPI GetSubMenu(HMENU handle, INT position)
{
    Menu* menu = AsMenu(handle);
    if (menu == nullptr || position < 0 || static_cast<size_t>(position) >= menu->items.size()) return nullptr;
    const MenuItem& item = menu->items[position];
    return (item.flags & MF_POPUP) ? reinterpret_cast<HMENU>(item.id) : nullptr;
}

INT WINAPI GetMenuStringA(HMENU handle, UINT item, LPSTR out, INT size, UINT flags)
{
    MenuItem* found = FindItem(AsMenu(handle), item, flags);
    if (found == nullptr) return 0;
    if (out == nullptr || size <= 0) return static_cast<INT>(found->text.size());
    const size_t n = std::min<size_t>(found->text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(out, found->text.data(), n);
    out[n] = '\0';
    return static_cast<INT>(n);
}

BOOL WINAPI EnableMenuItem(HMENU handle, UINT item, UINT flags)
{
    MenuItem* found = FindItem(AsMenu(handle), item, flags);
    if (found == nullptr) return -1;
    BOOL previous = found->flags & (MF_GRAYED | MF_DISABLED);
    found->flags = (found->flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD WINAPI CheckMenuItem(HMENU handle, UINT item, UINT flags)
{
    MenuItem* found = FindItem(AsMenu(handle), item, flags);
    if (found == nullptr) return static_cast<DWORD>(-1);
    DWORD previous = found->flags & MF_CHECKED;
    found->flags = (found->flags & ~MF_CHECKED) | (flags & MF_CHECKED);
    return previous;
}

}  // extern "C"

// Pointers handed to the engine are the caller's; a null one is the only one known bad.
bool IsBadReadMemory(const void* pointer, size_t size) { return pointer == nullptr && size != 0; }
bool IsBadWriteMemory(void* pointer, size_t size) { return pointer == nullptr && size != 0; }
bool IsBadStringMemory(const char* pointer, size_t max) { return pointer == nullptr && max != 0; }
