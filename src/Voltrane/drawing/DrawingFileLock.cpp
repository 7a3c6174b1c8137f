#include "drawing/DrawingFileLock.h"

#include <mmsystem.h>

#include <cstring>

#include "core/CadSystem.h"
#include "core/SystemLog.h"
#include "view/ViewServices.h"
#include "view/ViewTable.h"

namespace {

constexpr DWORD kLockFlags = MMIO_ALLOCBUF | MMIO_READWRITE | MMIO_DENYWRITE;  // 0x10022
constexpr DWORD kProbeFlags = MMIO_ALLOCBUF | MMIO_READ | MMIO_DENYNONE;       // 0x10040

HMMIO OpenForLock(const char* path, DWORD flags)
{
    // mmioOpenA takes a writable name buffer.
    char name[MAX_PATH] = {};
    lstrcpynA(name, path, sizeof name);
    return mmioOpenA(name, nullptr, flags);
}

// The windows of one drawing hold copies of its block: each of them must know the one lock.
void ShareLockWithDrawingViews(const PDBINFO* block)
{
    for (HWND v = GetActiveView(); v != nullptr; v = GetNextView(v)) {
        PDBINFO* other = GetViewBlock(v);
        if (other == nullptr || other == block || other->drawingId != block->drawingId) continue;
        other->fileLocked = block->fileLocked;
        other->lockHandle = block->lockHandle;
    }
}

}  // namespace

bool IsFileLockingOn(const char* fileName)
{
    return GetCadSystem().config.SHARE == 1 && fileName != nullptr && std::strlen(fileName) > 2;
}

int LockDrawingFile(PDBINFO* block)
{
    if (block == nullptr) return 0;
    if (!IsFileLockingOn(block->fileName)) return 1;
    if (block->fileLocked == 1) return 1;
    WriteSystemLog(3, "Lock File", "ファイルをロックしました (%s)", block->fileName);
    HMMIO lock = OpenForLock(block->fileName, kLockFlags);
    block->fileLocked = lock != nullptr ? 1 : 0;
    block->lockHandle = reinterpret_cast<HANDLE>(lock);
    ShareLockWithDrawingViews(block);
    return lock != nullptr ? 1 : 0;
}

void UnlockDrawingFile(PDBINFO* block)
{
    if (block == nullptr) return;
    if (block->fileLocked == 1 && block->lockHandle != nullptr) {
        WriteSystemLog(3, "UnLock File", "ロックしたファイルを解除しました (%s)", block->fileName);
        mmioClose(reinterpret_cast<HMMIO>(block->lockHandle), 0);
    }
    block->fileLocked = 0;
    block->lockHandle = nullptr;
    ShareLockWithDrawingViews(block);
}

int CanLockDrawingFile(const PDBINFO* block)
{
    if (block == nullptr) return 0;
    if (!IsFileLockingOn(block->fileName)) return 1;
    HMMIO probe = OpenForLock(block->fileName, kLockFlags);
    if (probe == nullptr) return 0;
    mmioClose(probe, 0);
    return 1;
}

int IsFileWritableForSave(const char* path)
{
    if (GetCadSystem().config.WRITECHK != 1 || path == nullptr || std::strlen(path) <= 2) return 1;
    HMMIO exists = OpenForLock(path, kProbeFlags);
    if (exists == nullptr) return 1;
    mmioClose(exists, 0);
    HMMIO writable = OpenForLock(path, kLockFlags);
    if (writable == nullptr) return 0;
    mmioClose(writable, 0);
    return 1;
}
