// The engine's drawing-file loaders, and everything that works on what they loaded.
//
// The first byte of an input chooses: bit 0 the file kind (0: ".tcf" loaded with the CWX
// calls, 1: ".otcf" with the CWU calls), bit 1 the information-only loader, bit 2 whether the
// check sums of the header and of every section are rebuilt before the load (so that changed
// bytes reach the section contents instead of failing the check). The rest is the file.
//
// After a full load the drawing is walked (elements and members, figure headers), drawn into
// a memory device context with a world window, searched in a frame and around a point, saved,
// and the saved file is loaded again, so faults behind the loader are found as well.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "DravikDb.h"
#include "Win32Shim.h"

namespace {

constexpr uint8_t kKindBit = 0x1, kInfoOnlyBit = 0x2, kRebuildBit = 0x4;
const char kInput[] = "C:\\fuzz\\input.tcf";
const char kSaved[] = "C:\\fuzz\\saved.tcf";

void StoreU32(std::string& bytes, size_t at, uint32_t value) { std::memcpy(&bytes[at], &value, 4); }

uint32_t LoadU32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    std::memcpy(&value, &bytes[at], 4);
    return value;
}

// Rewrites the check sum of every whole section, the file length and the header's check sum.
void RebuildCheckSums(std::string& file)
{
    constexpr size_t kHeader = 32, kSectionHeader = 20;
    if (file.size() < kHeader) return;
    uint16_t headerSize = 0;
    std::memcpy(&headerSize, &file[14], 2);
    size_t at = headerSize >= kHeader && headerSize <= file.size() ? headerSize : kHeader;
    while (at + kSectionHeader <= file.size()) {
        const uint32_t stored = LoadU32(file, at + 8);
        if (stored > file.size() - at - kSectionHeader) break;
        const auto* data = reinterpret_cast<const Bytef*>(file.data() + at + kSectionHeader);
        StoreU32(file, at + 16, static_cast<uint32_t>(crc32(0L, data, stored)));
        at += kSectionHeader + stored;
    }
    StoreU32(file, 20, static_cast<uint32_t>(file.size()));
    StoreU32(file, 28, static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(file.data()), 28)));
}

struct Drawing {
    EngineDbRecord record{};
    Drawing() { ZUriCreateDB(&record); }
    ~Drawing()
    {
        if (record.preview != nullptr) DeleteObject(record.preview);
        record.preview = nullptr;
        ZUriDeleteDB(&record);
    }
};

// Reads every element and member record the way the program's walks do (bounded, as a walk
// over a damaged drawing must be).
void Walk(EngineDbRecord* db)
{
    ElementRecord record;
    int budget = 200000;
    for (void* e = ZUriReadElement(nullptr, 0, &record, db); e != nullptr && budget > 0;
         e = ZUriReadElement(e, 1, &record, db), --budget) {
        ZUriGetFgroupHeaderIdx(e, db);
        ZUriGetMemberNum(e, db);
        for (void* m = ZUriReadFirstMember(e, &record, db); m != nullptr && budget > 0;
             m = ZUriReadNextMember(m, &record, db), --budget) {
            ZUriGetFgroupHeaderIdx(m, db);
        }
    }
}

void Draw(EngineDbRecord* db)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 256, 256);
    HGDIOBJ old = SelectObject(dc, bitmap);
    auto block = std::make_unique<DrawParamBlock>();
    std::memset(block.get(), 0, sizeof *block);
    block->size = sizeof *block;
    block->outputKind = 2;
    block->dc = dc;
    block->centreX = 128;
    block->centreY = 128;
    block->scale = 0.25;
    block->drawingScale = 1.0;
    block->worldLeft = -512;
    block->worldTop = 512;
    block->worldRight = 512;
    block->worldBottom = -512;
    block->paperFrame = 1;
    block->lineWidthSize = 1;
    ZUriDraw(db, block.get());
    block->xorDraw = 1;
    block->drawKind = 1;
    block->drawElement = ZUriReadElement(nullptr, 0, nullptr, db);
    ZUriDraw(db, block.get());
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void Search(EngineDbRecord* db)
{
    SearchBox frame{-200, 200, 200, -200};
    if (void* mark = ZUriGetWakuElement(&frame, db, nullptr)) ZUriDestroyMark(mark);
    int count = 0;
    if (void* mark = ZUriGetElementMarkByPointWithMark(10, 10, 0, 20, &count, db, nullptr, nullptr))
        ZUriDestroyMark(mark);
    SearchPointRecord point{10, 10, 0, 0}, found{};
    ZUriSerchPoint(point, &found, 20, db, nullptr, nullptr, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const uint8_t mode = data[0];
    std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    if (mode & kRebuildBit) RebuildCheckSums(file);
    shim::ClearFiles();
    shim::PutFile(kInput, file.data(), file.size());
    const bool cwu = (mode & kKindBit) != 0;
    Drawing drawing;
    uint32_t flags = 0;
    if (mode & kInfoOnlyBit) {
        if (cwu)
            ZUriLoadInfoOfCWU(kInput, &drawing.record, &flags);
        else
            ZUriLoadInfoOfCWX(kInput, &drawing.record, &flags);
        return 0;
    }
    int loaded = cwu ? ZUriLoadFileOfCWU(kInput, &drawing.record, &flags)
                     : ZUriLoadFileOfCWX(kInput, &drawing.record, &flags);
    if (loaded != 1) return 0;
    Walk(&drawing.record);
    Draw(&drawing.record);
    Search(&drawing.record);
    uint32_t saveFlags = 0;
    int saved = cwu ? ZUriSaveFileOfCWU(kSaved, &drawing.record, &saveFlags)
                    : ZUriSaveFileOfCWX(kSaved, &drawing.record, &saveFlags);
    if (saved != 1) return 0;
    Drawing again;
    uint32_t againFlags = 0;
    int reloaded = cwu ? ZUriLoadFileOfCWU(kSaved, &again.record, &againFlags)
                       : ZUriLoadFileOfCWX(kSaved, &again.record, &againFlags);
    // What the engine wrote it must read back whole.
    if (reloaded != 1 || ZUriGetElmNum(&again.record) != ZUriGetElmNum(&drawing.record)) __builtin_trap();
    return 0;
}
