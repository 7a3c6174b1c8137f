#include "drawing/LayerPatternFile.h"

#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "DravikDb.h"
#include "commands/CommandHost.h"
#include "core/ConfigIo.h"
#include "core/Dbcs.h"
#include "core/MessageCatalog.h"
#include "drawing/PageOperations.h"

namespace {

const char kListSection[] = "PLISTNAME";
const char kVersion[] = "3.0";

int Ask(HWND owner, const char* text, const char* caption, UINT type)
{
    return GetCommandHost().ShowMessageBox(owner, text, caption, type);
}

void Warn(HWND owner, const char* text, const char* caption) { Ask(owner, text, caption, MB_OK | MB_ICONWARNING); }

void WarnWithName(HWND owner, int messageId, const char* name, const char* caption)
{
    char text[512];
    std::snprintf(text, sizeof text, GetMessageText(messageId), name);
    Warn(owner, text, caption);
}

// The number of the first four characters, -1 when they are not four digits.
int EntryNumber(const std::string& entry)
{
    if (entry.size() < 6) return -1;
    int number = 0;
    for (int i = 0; i < 4; ++i) {
        if (entry[i] < '0' || entry[i] > '9') return -1;
        number = number * 10 + (entry[i] - '0');
    }
    return number;
}

std::string Key(int index, bool group)
{
    char key[16];
    std::snprintf(key, sizeof key, group ? "%dGrp" : "%d", index);
    return key;
}

std::string EntryText(const LayerPatternEntry& e)
{
    char text[300];
    std::snprintf(text, sizeof text, "%04d%c%c%s", e.number, e.display, e.detect, e.name);
    return text;
}

void TrimTrailingBlanks(char* text)
{
    size_t n = std::strlen(text);
    while (n > 0 && text[n - 1] == ' ') text[--n] = '\0';
}

}  // namespace

void TruncateMbcs(char* text, size_t n)
{
    if (text == nullptr) return;
    const size_t length = std::strlen(text);
    if (length > n) text[DbcsFitLength(text, length, n)] = '\0';
}

namespace {
std::string g_patternFileOverride;
}  // namespace

void SetLayerPatternFilePath(const std::string& path) { g_patternFileOverride = path; }

std::string GetLayerPatternFilePath()
{
    if (!g_patternFileOverride.empty()) return g_patternFileOverride;
    char path[MAX_PATH] = "";
    GetConfiguredFilePath(path, sizeof path, "CONFIG", "LAYER", "LayerPtn.ini");
    return path;
}

// ---- the file ----

std::string CLayerPatternFile::Read(const char* section, const char* key, size_t size)
{
    std::vector<char> buffer(size + 1, '\0');
    GetPrivateProfileStringA(section, key, "", buffer.data(), static_cast<DWORD>(buffer.size()), m_path.c_str());
    std::string text = buffer.data();
    // The profile function removes one pair of enclosing quotes; a lone one may remain.
    if (!text.empty() && text.front() == '"') text.erase(0, 1);
    if (!text.empty() && text.back() == '"') text.pop_back();
    return text;
}

bool CLayerPatternFile::Write(const char* section, const char* key, const char* value, bool quoted)
{
    if (value == nullptr) return WritePrivateProfileStringA(section, key, nullptr, m_path.c_str()) != FALSE;
    const std::string text = quoted ? "\"" + std::string(value) + "\"" : std::string(value);
    return WritePrivateProfileStringA(section, key, text.c_str(), m_path.c_str()) != FALSE;
}

void CLayerPatternFile::ConvertOlderFormat()
{
    if (!Read("VER", "VER", 16).empty()) return;
    for (const std::string& pattern : ListNames()) {
        const char* section = pattern.c_str();
        for (int index = 0; index < kLayerCount; ++index) {
            const std::string entry = Read(section, Key(index, false).c_str(), 1023);
            if (entry.size() <= 6) {
                Write(section, Key(index, false).c_str(), "", true);
                Write(section, Key(index, true).c_str(), "", true);
                break;
            }
            const int number = EntryNumber(entry);
            if (!IsLayerNumber(number)) continue;
            LayerPatternEntry e;
            e.number = number;
            e.display = entry[4];
            e.detect = entry[5];
            std::string name = entry.substr(6);
            // An older entry may hold a 10-byte group field and a '-' before the name.
            if (entry.size() > 16 && entry[16] == '-') {
                DbcsCopyN(e.group, sizeof e.group, entry.c_str() + 6, 10);
                TrimTrailingBlanks(e.group);
                name = entry.substr(17);
            }
            DbcsCopy(e.name, sizeof e.name, name.c_str());
            Write(section, Key(index, false).c_str(), EntryText(e).c_str(), true);
            Write(section, Key(index, true).c_str(), e.group, true);
        }
    }
    Write("VER", "VER", kVersion, false);
}

std::vector<std::string> CLayerPatternFile::ListNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < kMaxLayerPatterns; ++i) {
        std::string name = Read(kListSection, Key(i, false).c_str(), kPatternNameSize - 1);
        if (name.empty()) break;
        names.push_back(name);
    }
    return names;
}

int CLayerPatternFile::IndexOf(const char* pattern)
{
    const std::vector<std::string> names = ListNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (pattern != nullptr && names[i] == pattern) return static_cast<int>(i);
    return -1;
}

int CLayerPatternFile::ReadEntry(LayerPatternEntry& entry, const char* pattern, int index)
{
    const std::string text = Read(pattern, Key(index, false).c_str(), 511);
    if (text.empty()) return 0;
    const int number = EntryNumber(text);
    if (!IsLayerNumber(number)) return -1;
    entry = LayerPatternEntry();
    entry.number = number;
    entry.display = text[4];
    entry.detect = text[5];
    DbcsCopy(entry.name, sizeof entry.name, text.c_str() + 6);
    TruncateMbcs(entry.name, 257);
    if (entry.name[0] == '\0') std::strcpy(entry.name, " ");
    const std::string group = Read(pattern, Key(index, true).c_str(), 255);
    DbcsCopy(entry.group, sizeof entry.group, group.c_str());
    return 1;
}

std::vector<LayerPatternEntry> CLayerPatternFile::ReadPattern(const char* pattern)
{
    std::vector<LayerPatternEntry> entries;
    for (int index = 0; index < kLayerCount; ++index) {
        LayerPatternEntry e;
        const int result = ReadEntry(e, pattern, index);
        if (result == 0) break;
        if (result == 1) entries.push_back(e);
    }
    return entries;
}

int CLayerPatternFile::WritePattern(const char* pattern, const std::vector<LayerPatternEntry>& entries)
{
    if (pattern == nullptr || pattern[0] == '\0') return 0;
    char name[kPatternNameSize];
    DbcsCopy(name, sizeof name, pattern);
    const std::vector<std::string> names = ListNames();
    if (IndexOf(name) < 0) {
        if (names.size() >= static_cast<size_t>(kMaxLayerPatterns)) return 0;
        if (!Write(kListSection, Key(static_cast<int>(names.size()), false).c_str(), name, false)) return 0;
    }
    int index = 0;
    for (const LayerPatternEntry& e : entries) {
        if (index >= kLayerCount) break;
        Write(name, Key(index, false).c_str(), EntryText(e).c_str(), true);
        Write(name, Key(index, true).c_str(), e.group, true);
        ++index;
    }
    Write(name, Key(index, false).c_str(), "", false);
    Write(name, Key(index, true).c_str(), "", false);
    return Write("VER", "VER", kVersion, false) ? 1 : 0;
}

int CLayerPatternFile::DeletePattern(const char* pattern)
{
    std::vector<std::string> names = ListNames();
    const int at = IndexOf(pattern);
    if (at < 0) return 0;
    names.erase(names.begin() + at);
    for (size_t i = 0; i < names.size(); ++i) Write(kListSection, Key(static_cast<int>(i), false).c_str(), names[i].c_str(), false);
    Write(kListSection, Key(static_cast<int>(names.size()), false).c_str(), nullptr, false);
    WritePrivateProfileStringA(pattern, nullptr, nullptr, m_path.c_str());
    return 1;
}

// ---- what the other parts call ----

int ListLayerPatterns(char (*names)[kPatternNameSize])
{
    CLayerPatternFile file;
    file.ConvertOlderFormat();
    const std::vector<std::string> list = file.ListNames();
    for (size_t i = 0; i < list.size() && names != nullptr; ++i) DbcsCopy(names[i], kPatternNameSize, list[i].c_str());
    return static_cast<int>(list.size());
}

int ApplyLayerPattern(HWND owner, const char* pattern, void* db)
{
    CLayerPatternFile file;
    file.ConvertOlderFormat();
    if (pattern == nullptr || file.IndexOf(pattern) < 0) {
        WarnWithName(owner, 7103, pattern ? pattern : "", "Loading");
        return 0;
    }
    auto* info = static_cast<DbInfoBlock*>(ZUriGetDbInfoPtr(0, db));
    if (info == nullptr) return 0;
    LayerInfoBlock& b = info->layers;
    b.currentLayer = kLayerCount;
    for (const LayerPatternEntry& e : file.ReadPattern(pattern)) {
        ZUriSetLayerName(0, e.number, e.name, db);
        DbcsCopy(b.groupNames[e.number], kGroupNameSize, e.group);
        const uint16_t bit = static_cast<uint16_t>(1u << (e.number % 16));
        if (e.display == '0') b.displayMask[e.number / 16] &= static_cast<uint16_t>(~bit);
        if (e.detect == '0') b.detectMask[e.number / 16] &= static_cast<uint16_t>(~bit);
    }
    static_cast<EngineDbRecord*>(db)->pageState.currentPage = 0;
    if (b.currentLayer == kLayerCount) b.currentLayer = 0;
    return 1;
}

// ---- the pattern list dialog's operations ----

int SaveLayerPattern(HWND owner, CLayerPageList& list, const char* pattern)
{
    CLayerPatternFile file;
    file.ConvertOlderFormat();
    if (pattern == nullptr || pattern[0] == '\0') {
        Warn(owner, "パターン名を入力してください。", GetMessageText(7537));
        return 0;
    }
    if (file.IndexOf(pattern) >= 0) {
        char text[512];
        std::snprintf(text, sizeof text, GetMessageText(7102), pattern);
        if (Ask(owner, text, GetMessageText(7537), MB_YESNO | MB_ICONWARNING) != IDYES) return 0;
    } else if (file.ListNames().size() >= static_cast<size_t>(kMaxLayerPatterns)) {
        Warn(owner, "これ以上パターンは登録できません。", GetMessageText(7537));
        return 0;
    }
    LayerTreePageInfo* page = list.Page(list.RowOfCurrentItem());
    if (page == nullptr) return 0;
    std::vector<LayerPatternEntry> entries;
    for (const LayerTreeGroupInfo& g : page->groups) {
        for (const LayerTreeLayerInfo& l : g.layers) {
            LayerPatternEntry e;
            e.number = l.number;
            e.display = l.display ? '1' : '0';
            e.detect = l.detect ? '1' : '0';
            DbcsCopy(e.name, sizeof e.name, l.name);
            DbcsCopy(e.group, sizeof e.group, g.name);
            entries.push_back(e);
        }
    }
    if (!file.WritePattern(pattern, entries)) {
        Warn(owner, "レイヤパターンを保存できませんでした。", GetMessageText(7537));
        return 0;
    }
    return 1;
}

int DeleteLayerPattern(HWND owner, const char* pattern)
{
    CLayerPatternFile file;
    if (pattern == nullptr || file.IndexOf(pattern) < 0) {
        WarnWithName(owner, 7103, pattern ? pattern : "", GetMessageText(7416));
        return 0;
    }
    char text[512];
    std::snprintf(text, sizeof text, GetMessageText(7105), pattern);
    if (Ask(owner, text, GetMessageText(7416), MB_YESNO | MB_ICONWARNING) != IDYES) return 0;
    return file.DeletePattern(pattern);
}

int ApplyPatternToTree(HWND owner, CLayerPageList& list, const char* pattern)
{
    CLayerPatternFile file;
    file.ConvertOlderFormat();
    if (pattern == nullptr || file.IndexOf(pattern) < 0) {
        WarnWithName(owner, 7103, pattern ? pattern : "", "Loading");
        return 0;
    }
    const int row = list.RowOfCurrentItem();
    LayerTreePageInfo* page = list.Page(row);
    if (page == nullptr) return 0;
    std::vector<LayerPatternEntry> entries = file.ReadPattern(pattern);
    // Layers that hold elements survive any pattern.
    for (const LayerTreeGroupInfo& g : page->groups) {
        for (const LayerTreeLayerInfo& l : g.layers) {
            if (!l.used) continue;
            bool named = false;
            for (const LayerPatternEntry& e : entries) named = named || e.number == l.number;
            if (named) continue;
            LayerPatternEntry e;
            e.number = l.number;
            e.display = l.display ? '1' : '0';
            e.detect = l.detect ? '1' : '0';
            e.lock = l.lock ? '1' : '0';
            DbcsCopy(e.name, sizeof e.name, l.name);
            DbcsCopy(e.group, sizeof e.group, g.name);
            entries.push_back(e);
        }
    }
    uint16_t usage[kLayerMaskWords] = {};
    CollectPageLayerUsage(nullptr, usage, page->page);
    std::vector<LayerTreeGroupInfo> groups;
    for (const LayerPatternEntry& e : entries) {
        LayerTreeGroupInfo* target = nullptr;
        for (LayerTreeGroupInfo& g : groups)
            if (std::strcmp(g.name, e.group) == 0) target = &g;
        if (target == nullptr) {
            groups.emplace_back();
            target = &groups.back();
            std::memcpy(target->name, e.group, sizeof target->name);
        }
        bool duplicate = false;
        for (const LayerTreeGroupInfo& g : groups)
            for (const LayerTreeLayerInfo& l : g.layers) duplicate = duplicate || l.number == e.number;
        if (duplicate) continue;  // a layer is listed once per page
        LayerTreeLayerInfo l;
        l.number = e.number;
        l.display = e.display == '1';
        l.detect = e.detect == '1';
        l.lock = e.lock == '1';
        l.used = (usage[e.number / 16] >> (e.number % 16)) & 1u;
        DbcsCopy(l.name, sizeof l.name, e.name);
        target->layers.push_back(l);
    }
    for (LayerTreeGroupInfo& g : groups)
        if (!g.layers.empty()) g.firstLayer = g.layers.front().number;
    groups.erase(std::remove_if(groups.begin(), groups.end(), [](const LayerTreeGroupInfo& g) { return g.layers.empty(); }),
                 groups.end());
    page->groups = std::move(groups);
    return 1;
}

int CopyLayerPatternFile(HWND owner, const char* chosen, bool exportFile, CLayerPatternFile& file)
{
    if (exportFile) {
        if (CopyFileA(file.Path().c_str(), chosen, FALSE)) return 1;
        Warn(owner, "ファイルを書き出せませんでした。", "ファイル書出");
        return 0;
    }
    char first[8] = "";
    GetPrivateProfileStringA(kListSection, "0", "", first, sizeof first, chosen);
    if (first[0] == '\0') {
        Warn(owner, "指定のファイルはレイヤパターンではありません。", "読込");
        return 0;
    }
    if (CopyFileA(chosen, file.Path().c_str(), FALSE)) return 1;
    Warn(owner, "ファイルを読み込めませんでした。", "ファイル読込");
    return 0;
}

int ImportExportLayerPatternFile(HWND owner, bool exportFile)
{
    char path[MAX_PATH] = "";
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = "PTNファイル\0*.PTN\0All Files\0*.*\0";
    ofn.lpstrFile = path;
    ofn.nMaxFile = sizeof path;
    ofn.lpstrDefExt = "PTN";
    ofn.lpstrTitle = exportFile ? "ファイル書出" : "ファイル読込";
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (exportFile ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    const BOOL chosen = exportFile ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!chosen) return 0;
    CLayerPatternFile file;
    return CopyLayerPatternFile(owner, path, exportFile, file);
}

std::string PatternPreviewText(CLayerPatternFile& file, const char* pattern)
{
    std::string text;
    for (int index = 0; index < 16; ++index) {
        LayerPatternEntry e;
        const int result = file.ReadEntry(e, pattern, index);
        if (result == 0) break;
        if (result < 0) continue;
        char name[kPatternNameSize + 1];
        DbcsCopy(name, sizeof name, e.name);
        TruncateMbcs(name, 21);
        char line[64];
        std::snprintf(line, sizeof line, "%4d %s\n", e.number + 1, name);
        text += line;
    }
    return text;
}
