// The drawing files of a folder as the thumbnail list shows them: one program-wide list of
// entries, each with its path, a selection flag and a preview database the list loads. Entries
// are kept in blocks of 101 that are chained, never moved, so pointers to an entry and its
// database stay valid while the list is shown.
#pragma once

#include <cstddef>
#include <string>

#include "EngineRecords.h"

constexpr int kFileListBlockEntries = 101;
constexpr size_t kFileListPathSize = 270;

// Adds every file (not folder) matching folder + pattern; folder ends in "\". 1.
int BuildFileList(const char* folder, const char* pattern);
// Adds one entry (unselected, no preview); the path is cut to 269 bytes on a character
// boundary. 0 when no room could be had.
int AddFileListEntry(const char* path);
int GetFileListCount();
int GetFileListBlockCount();
// "" past the end.
const char* GetFileListEntryPath(int index);
// The entry's preview database record; null past the end.
EngineDbRecord* GetFileListEntryDb(int index);
int IsFileListEntrySelected(int index);
// 1 when the entry was selected (it becomes unselected), 0 when not (it becomes selected) or
// past the end.
int ToggleFileListEntry(int index);
void FreeFileListEntryPreview(int index);
void FreeFileList();

// Cuts text to the whole characters that fit n bytes (terminator not counted); -1 when cut.
int TruncateText(char* text, size_t n);
// The text after the last "\" (double-byte aware).
const char* FileNamePart(const char* path);
// A text of width characters or more is cut at the first character boundary at or after
// width - 2 bytes and ".." appended; a shorter one is copied.
std::string ShortenText(int width, const char* text);
