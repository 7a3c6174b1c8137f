#include "drawing/FileListCache.h"

#include <windows.h>

#include <cstring>
#include <deque>

#include "DravikDb.h"
#include "core/Dbcs.h"

namespace {

struct FileListEntry {
    char path[kFileListPathSize] = {};
    int selected = 0;
    int previewLoaded = 0;
    EngineDbRecord db{};
};

// A deque never moves its elements when it grows at the end.
std::deque<FileListEntry>& Entries()
{
    static std::deque<FileListEntry> entries;
    return entries;
}

FileListEntry* EntryAt(int index)
{
    auto& entries = Entries();
    if (index < 0 || static_cast<size_t>(index) >= entries.size()) return nullptr;
    return &entries[static_cast<size_t>(index)];
}

void FreePreviewOf(FileListEntry& entry)
{
    if (entry.db.preview != nullptr) DeleteObject(entry.db.preview);
    if (entry.db.info != nullptr) ZUriDeleteDB(&entry.db);
    std::memset(&entry.db, 0, sizeof entry.db);
    entry.previewLoaded = 0;
}

}  // namespace

int BuildFileList(const char* folder, const char* pattern)
{
    if (folder == nullptr || pattern == nullptr) return 1;
    const std::string base = folder;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((base + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 1;
    do {
        if ((data.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)) == 0) continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        AddFileListEntry((base + data.cFileName).c_str());
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return 1;
}

int AddFileListEntry(const char* path)
{
    try {
        Entries().emplace_back();
    } catch (...) {
        return 0;
    }
    DbcsCopy(Entries().back().path, sizeof Entries().back().path, path != nullptr ? path : "");
    return 1;
}

int GetFileListCount() { return static_cast<int>(Entries().size()); }

int GetFileListBlockCount()
{
    return static_cast<int>((Entries().size() + kFileListBlockEntries - 1) / kFileListBlockEntries);
}

const char* GetFileListEntryPath(int index)
{
    FileListEntry* entry = EntryAt(index);
    return entry != nullptr ? entry->path : "";
}

EngineDbRecord* GetFileListEntryDb(int index)
{
    FileListEntry* entry = EntryAt(index);
    return entry != nullptr ? &entry->db : nullptr;
}

int IsFileListEntrySelected(int index)
{
    FileListEntry* entry = EntryAt(index);
    return entry != nullptr ? entry->selected : 0;
}

int ToggleFileListEntry(int index)
{
    FileListEntry* entry = EntryAt(index);
    if (entry == nullptr) return 0;
    const int was = entry->selected;
    entry->selected = was ? 0 : 1;
    return was;
}

void FreeFileListEntryPreview(int index)
{
    if (FileListEntry* entry = EntryAt(index)) FreePreviewOf(*entry);
}

void FreeFileList()
{
    auto& entries = Entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) FreePreviewOf(*it);
    entries.clear();
}

int TruncateText(char* text, size_t n)
{
    if (text == nullptr) return 0;
    const size_t length = std::strlen(text);
    if (length <= n) return 0;
    text[DbcsFitLength(text, length, n)] = '\0';
    return -1;
}

const char* FileNamePart(const char* path)
{
    if (path == nullptr) return "";
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (IsSjisLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') {
            ++p;
            continue;
        }
        if (*p == '\\') name = p + 1;
    }
    return name;
}

std::string ShortenText(int width, const char* text)
{
    if (text == nullptr) return std::string();
    const size_t length = std::strlen(text);
    if (width <= 0 || length < static_cast<size_t>(width)) return text;
    const size_t limit = width > 2 ? static_cast<size_t>(width - 2) : 0;
    size_t cut = 0;
    while (cut < limit && cut < length) cut += IsSjisLeadByte(static_cast<unsigned char>(text[cut])) && cut + 1 < length ? 2 : 1;
    return std::string(text, cut) + "..";
}
