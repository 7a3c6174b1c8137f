// The engine's file calls: the drawing files of the engine's own formats, read and written
// whole and checked, and written through a temporary file so a failed save keeps the old file.
#include <windows.h>

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "DrawingFileFormat.h"
#include "DrawingFileReader.h"
#include "DrawingFileWriter.h"
#include "EngineCalls.h"
#include "EngineFiles.h"

using namespace dravikdb;
using namespace dravikdb::drawingfile;

namespace {

constexpr DWORD kMaxFileBytes = 1024u * 1024 * 1024;
constexpr int kThumbnailWidth = 176;
constexpr int kThumbnailHeight = 124;

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes)
{
    return EngineSupport::ReadWholeFile(path, bytes, kMaxFileBytes) == 0;
}

// Writes the bytes beside the target and renames them over it. 0 or the save flags.
uint32_t WriteReplacing(const char* path, const std::vector<uint8_t>& bytes)
{
    const DWORD error = EngineSupport::WriteFileReplacing(path, bytes.data(), bytes.size());
    if (error == 0) return 0;
    return EngineSupport::IsDiskFull(error) ? kSaveDiskFull : kSaveWriteFailed;
}

bool PreviewFromBitmap(HBITMAP bitmap, PreviewPixels& pixels)
{
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof info, &info) == 0) return false;
    LONG height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    if (info.bmWidth <= 0 || height <= 0 || static_cast<uint32_t>(info.bmWidth) > kMaxPreviewSide ||
        static_cast<uint32_t>(height) > kMaxPreviewSide)
        return false;
    pixels.width = static_cast<uint32_t>(info.bmWidth);
    pixels.height = static_cast<uint32_t>(height);
    pixels.bits.assign(pixels.Stride() * pixels.height, 0);
    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -height;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 24;
    request.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return false;
    int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels.bits.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == height;
}

// The stored preview scaled to the thumbnail size of the file lists.
HBITMAP ThumbnailFromPreview(const PreviewPixels& pixels)
{
    if (pixels.width == 0 || pixels.height == 0 || pixels.bits.empty()) return nullptr;
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return nullptr;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, kThumbnailWidth, kThumbnailHeight);
    HDC dc = bitmap != nullptr ? CreateCompatibleDC(screen) : nullptr;
    if (dc != nullptr) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        BITMAPINFO source = {};
        source.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        source.bmiHeader.biWidth = static_cast<LONG>(pixels.width);
        source.bmiHeader.biHeight = -static_cast<LONG>(pixels.height);
        source.bmiHeader.biPlanes = 1;
        source.bmiHeader.biBitCount = 24;
        source.bmiHeader.biCompression = BI_RGB;
        SetStretchBltMode(dc, HALFTONE);
        StretchDIBits(dc, 0, 0, kThumbnailWidth, kThumbnailHeight, 0, 0, static_cast<int>(pixels.width),
                      static_cast<int>(pixels.height), pixels.bits.data(), &source, DIB_RGB_COLORS, SRCCOPY);
        SelectObject(dc, old);
        DeleteDC(dc);
    } else if (bitmap != nullptr) {
        DeleteObject(bitmap);
        bitmap = nullptr;
    }
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void SetFlags(uint32_t* flags, uint32_t value)
{
    if (flags != nullptr) *flags = value;
}

// The database of the record; a record that holds none yet (a zeroed one) gets an empty one.
Database* DatabaseForLoad(EngineDbRecord* record, bool* created)
{
    *created = false;
    if (record == nullptr) return nullptr;
    if (Database* db = Resolve(record)) return db;
    Database* db = CreateDatabaseFor(record);
    *created = db != nullptr;
    return db;
}

int LoadDrawingFile(const char* path, void* recordHandle, uint32_t* flags, FileKind kind)
{
    uint32_t in = flags != nullptr ? *flags : 0;
    auto* record = static_cast<EngineDbRecord*>(recordHandle);
    bool created = false;
    Database* db = DatabaseForLoad(record, &created);
    if (db == nullptr) {
        SetFlags(flags, kLoadMemory);
        return 0;
    }
    std::vector<uint8_t> bytes;
    ReadResult result;
    std::unique_ptr<Database> loaded;
    if (ReadWholeFile(path, bytes)) {
        loaded = CreateDetachedDatabase();
        result = ReadDrawing(bytes.data(), bytes.size(), kind, in, false, *loaded, nullptr);
    } else {
        result.flags = kLoadNotDrawing;
    }
    if (!result.loaded) {
        // The database keeps what it held; one made for this call goes again.
        if (created) DestroyDatabase(record);
        SetFlags(flags, result.flags);
        return 0;
    }
    ReplaceContents(*db, *loaded);
    db->record = record;
    if (result.hasPageState) record->pageState = result.pageState;
    SyncRecord(*db, record);
    // The file keeps no view of its own: the caller fits the view to the paper.
    if (kind == FileKind::Cwx) record->drawingBlock = nullptr;
    SetFlags(flags, result.flags);
    return 1;
}

int LoadDrawingInfo(const char* path, void* recordHandle, uint32_t* flags, FileKind kind)
{
    uint32_t in = flags != nullptr ? *flags : 0;
    auto* record = static_cast<EngineDbRecord*>(recordHandle);
    bool created = false;
    Database* db = DatabaseForLoad(record, &created);
    if (db == nullptr) {
        SetFlags(flags, kLoadMemory);
        return 0;
    }
    std::vector<uint8_t> bytes;
    ReadResult result;
    std::unique_ptr<Database> loaded;
    PreviewPixels preview;
    if (ReadWholeFile(path, bytes)) {
        loaded = CreateDetachedDatabase();
        result = ReadDrawing(bytes.data(), bytes.size(), kind, in, true, *loaded, &preview);
    } else {
        result.flags = kLoadNotDrawing;
    }
    if (!result.loaded) {
        // A record that held nothing before holds nothing after: no information pointer.
        if (created) DestroyDatabase(record);
        SetFlags(flags, result.flags);
        return 0;
    }
    std::memcpy(db->info.get(), loaded->info.get(), sizeof(DbInfoBlock));
    db->layerNames[0] = std::make_unique<LayerNames>();
    for (auto& name : db->info->layers.names) name = nullptr;
    // The stored element count stays as the file gave it.
    record->info = db->info.get();
    record->preview = ThumbnailFromPreview(preview);
    SetFlags(flags, result.flags);
    return 1;
}

int SaveDrawingFile(const char* path, void* recordHandle, uint32_t* flags, FileKind kind)
{
    auto* record = static_cast<EngineDbRecord*>(recordHandle);
    Database* db = Resolve(record);
    if (db == nullptr) {
        SetFlags(flags, kSaveNoDatabase);
        return kNotSaved;
    }
    std::vector<uint8_t> bytes;
    try {
        PreviewPixels preview;
        bool hasPreview = PreviewFromBitmap(record->preview, preview);
        WriteDrawing(*db, kind, hasPreview ? &preview : nullptr, bytes);
    } catch (const std::bad_alloc&) {
        SetFlags(flags, kSaveMemory);
        return kNotSaved;
    } catch (const NestingTooDeep&) {
        SetFlags(flags, kSaveTooDeep);
        return kNotSaved;
    }
    uint32_t result = WriteReplacing(path, bytes);
    SetFlags(flags, result);
    return result == 0 ? kSaved : kNotSaved;
}

}  // namespace

DRAVIKDB_API int WINAPI ZUriLoadFileOfCWX(const char* path, void* db, uint32_t* flags)
{
    return Guarded(0, [&] { return LoadDrawingFile(path, db, flags, FileKind::Cwx); });
}

DRAVIKDB_API int WINAPI ZUriLoadFileOfCWU(const char* path, void* db, uint32_t* flags)
{
    return Guarded(0, [&] { return LoadDrawingFile(path, db, flags, FileKind::Cwu); });
}

DRAVIKDB_API int WINAPI ZUriLoadInfoOfCWX(const char* path, void* db, uint32_t* flags)
{
    return Guarded(0, [&] { return LoadDrawingInfo(path, db, flags, FileKind::Cwx); });
}

DRAVIKDB_API int WINAPI ZUriLoadInfoOfCWU(const char* path, void* db, uint32_t* flags)
{
    return Guarded(0, [&] { return LoadDrawingInfo(path, db, flags, FileKind::Cwu); });
}

DRAVIKDB_API int WINAPI ZUriSaveFileOfCWX(const char* path, void* db, uint32_t* flags)
{
    return Guarded(kNotSaved, [&] { return SaveDrawingFile(path, db, flags, FileKind::Cwx); });
}

DRAVIKDB_API int WINAPI ZUriSaveFileOfCWU(const char* path, void* db, uint32_t* flags)
{
    return Guarded(kNotSaved, [&] { return SaveDrawingFile(path, db, flags, FileKind::Cwu); });
}

// Older and foreign formats of the engine: not read or written by this engine.
DRAVIKDB_API int WINAPI ZUriLoadFileOfCW2(const char*, void*, uint32_t* flags)
{
    SetFlags(flags, kLoadFormat);
    return 0;
}

DRAVIKDB_API int WINAPI ZUriLoadFileOfFDA(const char*, void*, uint32_t* flags)
{
    SetFlags(flags, kLoadFormat);
    return 0;
}

DRAVIKDB_API int WINAPI ZUriLoadFileOfCAD(const char*, void*, uint32_t* flags)
{
    SetFlags(flags, kLoadFormat);
    return 0;
}

DRAVIKDB_API int WINAPI ZUriSaveFileOfCW2(const char*, void*, uint32_t* flags)
{
    SetFlags(flags, kSaveFormat);
    return kNotSaved;
}

DRAVIKDB_API int WINAPI ZUriSaveFileOfEDS(const char*, void*, uint32_t* flags)
{
    SetFlags(flags, kSaveFormat);
    return kNotSaved;
}

DRAVIKDB_API int WINAPI ZUriSaveFileOfFDA(const char*, void*, uint32_t* flags)
{
    SetFlags(flags, kSaveFormat);
    return kNotSaved;
}
