// Layer patterns: named sets of layer definitions (number, name, group, display and detect)
// kept in one profile file, the layer pattern file. A new drawing can take a pattern into its
// page 0; the layer manager loads one into its tree or saves the page it works on as one.
//
// File layout (version "3.0"): [PLISTNAME] "0".."299" the pattern names; one section per
// pattern with entries "0".."1023" = "%04d%c%c%s" (layer number, display '1'/'0', detect '1'/'0',
// layer name) and "%dGrp" = the entry's group; [VER] VER = "3.0". The first empty key ends a
// list. An older file (no VER) holds the group inside the entry and is converted once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "drawing/LayerPageTree.h"

constexpr int kMaxLayerPatterns = 300;
constexpr int kPatternNameSize = 21;  // 20 bytes and the terminator

struct LayerPatternEntry {
    int number = 0;
    char display = '1';
    char detect = '1';
    char lock = '0';
    char name[258] = "";
    char group[kGroupNameSize] = "";
};

// The layer pattern file of the settings ([CONFIG] "LAYER", by default "LayerPtn.ini" in the
// per-user settings folder).
std::string GetLayerPatternFilePath();
// Puts another file in its place (tests); an empty path returns to the settings' file.
void SetLayerPatternFilePath(const std::string& path);

// One layer pattern file; every operation converts an older file first.
class CLayerPatternFile {
public:
    explicit CLayerPatternFile(std::string path = GetLayerPatternFilePath()) : m_path(std::move(path)) {}
    const std::string& Path() const { return m_path; }

    // Converts an older file once (no usable [VER]); numbers outside 0..1023 are skipped.
    void ConvertOlderFormat();
    std::vector<std::string> ListNames();
    // 1 read, 0 no entry (the pattern ends), -1 an entry to skip (a number outside 0..1023).
    int ReadEntry(LayerPatternEntry& entry, const char* pattern, int index);
    std::vector<LayerPatternEntry> ReadPattern(const char* pattern);
    // Writes the entries under the name (added to the list when new). The caller has asked
    // about an existing name. 0 when the name is empty or the list is full.
    int WritePattern(const char* pattern, const std::vector<LayerPatternEntry>& entries);
    int DeletePattern(const char* pattern);
    int IndexOf(const char* pattern);

private:
    std::string Read(const char* section, const char* key, size_t size);
    bool Write(const char* section, const char* key, const char* value, bool quoted);

    std::string m_path;
};

// Cuts a Shift-JIS text to at most n bytes without splitting a double-byte character.
void TruncateMbcs(char* text, size_t n);

// ---- what the other parts call ----
// The names of the layer pattern file (up to 300 of 21 bytes); their number.
int ListLayerPatterns(char (*names)[kPatternNameSize]);
// Writes the pattern into page 0 of the database. 1, or 0 after a message when the name is not
// in the list.
int ApplyLayerPattern(HWND owner, const char* pattern, void* db);

// ---- the pattern list dialog's operations on the layer manager's tree ----
// Saves the page of the tree that holds the input layer under the name; asks before replacing.
int SaveLayerPattern(HWND owner, CLayerPageList& list, const char* pattern);
int DeleteLayerPattern(HWND owner, const char* pattern);
// Replaces the groups and layers of the input layer's page by the pattern's; layers that hold
// elements stay.
int ApplyPatternToTree(HWND owner, CLayerPageList& list, const char* pattern);
// Copies the layer pattern file to (export) or from (import) a ".PTN" file chosen by the user.
// 1 copied, 0 cancelled or failed (with a message).
int ImportExportLayerPatternFile(HWND owner, bool exportFile);
// Copies the file; the check and the messages of the import and export without the dialog.
int CopyLayerPatternFile(HWND owner, const char* chosen, bool exportFile, CLayerPatternFile& file);
// Up to 16 lines "%4d %s\n" of the pattern's entries.
std::string PatternPreviewText(CLayerPatternFile& file, const char* pattern);
