// Locks on open drawing files: while its window shows it, a drawing file is held open for
// reading and writing with writing denied to others (mmioOpenA), so a second program or
// instance can read it but not write it, and opens it in reference mode. Locking is on only
// with the setting "SHARE" 1 and for names longer than 2 characters; otherwise every lock
// operation succeeds without doing anything. LockDrawingFile and UnlockDrawingFile are
// declared with the views' services (view/ViewServices.h).
#pragma once

#include <windows.h>

#include "DrawingWindowRecords.h"

// 1 when the block's file could be locked now (opened and closed again at once) or locking
// is off; 0 when another holder denies it.
int CanLockDrawingFile(const PDBINFO* block);
// 1 unless "WRITECHK" is 1, the name is longer than 2 characters, the file exists and it
// cannot be opened for reading and writing with writing denied to others.
int IsFileWritableForSave(const char* path);
// Whether locking applies to a file of this name under the current settings.
bool IsFileLockingOn(const char* fileName);
