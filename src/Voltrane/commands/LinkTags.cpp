#include "commands/LinkTags.h"

#include <cstring>
#include <string>
#include <vector>

#include "DravikDb.h"
#include "commands/ElementServiceSite.h"
#include "commands/ElementServices.h"
#include "commands/MarkServices.h"
#include "MemoryProbe.h"

namespace {

constexpr char kSignature[] = "Korva";
constexpr char kAnchorKey[] = "Z01LINK";
constexpr int kKeyWidth = 8;
constexpr int kEntriesAt = 10;

CElementServiceSite& Site() { return GetElementServiceSite(); }

struct LinkEntry {
    std::string key;    // 8 characters as stored
    std::string value;  // as stored (wider for a long "Z01LINK" value at the end)
};

// A link text taken apart where its entries really lie.
struct LinkText {
    int width = 16;
    int count = 0;
    std::string head;  // the first 10 characters
    std::vector<LinkEntry> entries;
    bool open = false;  // a "Z01LINK" entry runs to the end of the text
    std::string tail;   // whatever follows the counted entries, kept as it stands

    static bool Parse(const std::string& text, LinkText& out)
    {
        if (text.size() < kEntriesAt || text.compare(0, 5, kSignature) != 0) return false;
        out.head = text.substr(0, kEntriesAt);
        out.width = text[5] == '1' ? 10 : 16;
        out.count = text[6] >= '0' && text[6] <= '9' ? text[6] - '0' : 0;
        size_t at = kEntriesAt;
        for (int i = 0; i < out.count && at < text.size(); ++i) {
            LinkEntry entry;
            entry.key = text.substr(at, kKeyWidth);
            at += kKeyWidth;
            if (TrimKey(entry.key) == kAnchorKey) {
                entry.value = text.substr(std::min(at, text.size()));
                at = text.size();
                out.open = true;
            } else {
                entry.value = text.substr(std::min(at, text.size()), out.width);
                at += out.width;
            }
            out.entries.push_back(entry);
        }
        if (at < text.size()) out.tail = text.substr(at);
        return true;
    }

    static std::string TrimKey(const std::string& key)
    {
        const size_t blank = key.find(' ');
        return blank == std::string::npos ? key : key.substr(0, blank);
    }
};

std::string Padded(const char* text, size_t width, bool cut)
{
    std::string s = text != nullptr ? text : "";
    if (s.size() < width) s.append(width - s.size(), ' ');
    if (cut && s.size() > width) s.resize(width);
    return s;
}

std::string BuildEntry(const char* key, const char* value, int width, bool anchorMayRun)
{
    std::string entry = Padded(key, kKeyWidth, true);
    const bool runs = anchorMayRun && key != nullptr && std::strcmp(key, kAnchorKey) == 0;
    return entry + Padded(value, width, !runs);
}

bool ReadLinkText(void* element, std::string& text)
{
    std::vector<char> buffer(1024, 0);
    if (ZUriGetTagString(element, nullptr) > static_cast<int>(buffer.size())) return false;
    if (ZUriGetTagString(element, buffer.data()) == 0) return false;
    text.assign(buffer.data());
    return true;
}

const char* SafeText(INT_PTR pointer)
{
    auto* text = reinterpret_cast<const char*>(pointer);
    return text != nullptr && !IsBadStringMemory(text, 1024) ? text : nullptr;
}

// The element of the record, confirmed by the view's database.
void* LinkElement(const CmdParamRecord* param)
{
    if (param == nullptr) return nullptr;
    void* db = ParamViewDatabase(*param);
    void* element = reinterpret_cast<void*>(param->element);
    if (db == nullptr || element == nullptr || ZUriReadElement(element, 0, nullptr, db) != element) return nullptr;
    return element;
}

bool Store(const CmdParamRecord* param, void* element, const std::string& text)
{
    if (text.size() > static_cast<size_t>(kLinkTextLimit)) return false;
    if (!ZUriSetTagString(element, text.c_str())) return false;
    Site().SetViewModified(param->view);
    return true;
}

}  // namespace

int SetLinkEntry(CmdParamRecord* param)
{
    void* element = LinkElement(param);
    if (element == nullptr) return 0;
    std::string text;
    const bool had = ZUriGetTag(element, kLinkTag) != 0 && ReadLinkText(element, text);
    LinkText link;
    if (!had || !LinkText::Parse(text, link)) {
        text = "Korva20000";
        LinkText::Parse(text, link);
    }
    // A tenth entry, an entry behind a "Z01LINK" value, or a text past the work buffer: refused.
    if (link.count > 8 || link.open) return 0;
    const std::string entry = BuildEntry(SafeText(reinterpret_cast<INT_PTR>(param->text)), SafeText(param->key),
                                         link.width, true);
    std::string updated = text;
    updated[6] = static_cast<char>('0' + link.count + 1);
    updated += entry;
    if (updated.size() > static_cast<size_t>(kLinkTextLimit)) return 0;
    if (!Store(param, element, updated)) return 0;
    ZUriSetTag(element, kLinkTag, 1);
    return 1;
}

int GetLinkEntry(CmdParamRecord* param)
{
    void* element = LinkElement(param);
    if (element == nullptr) return 0;
    std::string text;
    LinkText link;
    if (ZUriGetTag(element, kLinkTag) == 0 || !ReadLinkText(element, text) || !LinkText::Parse(text, link)) return 1;
    const int n = param->mode;
    char* keyOut = param->text;
    auto* valueOut = reinterpret_cast<char*>(param->key);
    if (n < 0 || n >= static_cast<int>(link.entries.size())) return 0;
    if (keyOut == nullptr || valueOut == nullptr || IsBadWriteMemory(keyOut, 30) || IsBadWriteMemory(valueOut, 30)) return 0;
    std::memset(keyOut, 0, 30);
    std::memset(valueOut, 0, 30);
    const std::string key = LinkText::TrimKey(link.entries[n].key);
    std::string value = link.entries[n].value.substr(0, link.width);
    if (!value.empty()) value = LinkText::TrimKey(value);
    std::memcpy(keyOut, key.c_str(), std::min<size_t>(key.size(), 29));
    std::memcpy(valueOut, value.c_str(), std::min<size_t>(value.size(), 29));
    return 1;
}

int GetLinkEntryCount(CmdParamRecord* param)
{
    void* element = LinkElement(param);
    std::string text;
    if (element == nullptr || ZUriGetTag(element, kLinkTag) == 0 || !ReadLinkText(element, text)) return 0;
    if (text.compare(0, 5, kSignature) != 0 || text.size() < 7) return 0;
    return text[6] >= '0' && text[6] <= '9' ? text[6] - '0' : 0;
}

int UpdateLinkEntry(CmdParamRecord* param)
{
    void* element = LinkElement(param);
    if (element == nullptr) return 0;
    std::string text;
    LinkText link;
    if (!ReadLinkText(element, text) || !LinkText::Parse(text, link)) return 0;
    const int n = param->mode;
    if (n < 0 || n >= static_cast<int>(link.entries.size())) return 0;
    const std::string entry = BuildEntry(SafeText(reinterpret_cast<INT_PTR>(param->text)), SafeText(param->key),
                                         link.width, false);
    // The entries are rebuilt where they lie, so a long "Z01LINK" value before entry n does not
    // move the place written.
    std::string updated = link.head;
    for (int i = 0; i < static_cast<int>(link.entries.size()); ++i)
        updated += i == n ? entry : link.entries[i].key + link.entries[i].value;
    updated += link.tail;
    if (!Store(param, element, updated)) return 0;
    return 1;
}

int RemoveLink(CmdParamRecord* param)
{
    void* element = LinkElement(param);
    if (element == nullptr) return 0;
    ZUriSetTagString(element, nullptr);
    ZUriSetTag(element, kLinkTag, 0);
    Site().SetViewModified(param->view);
    return 1;
}

void* SearchLinks(CmdParamRecord* param)
{
    if (param == nullptr) return nullptr;
    void* db = ParamViewDatabase(*param);
    if (db == nullptr) return nullptr;
    const char* key = SafeText(reinterpret_cast<INT_PTR>(param->text));
    const char* value = SafeText(param->key);
    const bool any = (key == nullptr && value == nullptr) ||
                     (key != nullptr && value != nullptr && key[0] == 0 && value[0] == 0);
    void* result = nullptr;
    for (void* e = ZUriReadElement(nullptr, 0, nullptr, db); e != nullptr; e = ZUriReadElement(e, 1, nullptr, db)) {
        std::string text;
        LinkText link;
        if (ZUriGetTag(e, kLinkTag) == 0 || !ReadLinkText(e, text) || !LinkText::Parse(text, link)) continue;
        bool match = any;
        for (size_t i = 0; !match && i < link.entries.size(); ++i) {
            const std::string k = LinkText::TrimKey(link.entries[i].key);
            std::string v = link.entries[i].value.substr(0, link.width);
            v = LinkText::TrimKey(v);
            const bool keyOk = key == nullptr || k == key;
            const bool valueOk = value == nullptr || v == value;
            match = keyOk && valueOk;
            if (k == kAnchorKey) break;
        }
        if (!match) continue;
        if (result == nullptr && (result = CadCreateMark(db)) == nullptr) return nullptr;
        CadSetMark(result, e);
    }
    return result;
}

void* SearchLinkedElements(const char* key, const char* value)
{
    HWND main = Site().MainWindow();
    if (main == nullptr) return nullptr;
    CmdParamRecord param{};
    param.view = reinterpret_cast<HWND>(SendMessageA(main, 2429, 0, 0));
    param.text = const_cast<char*>(key);
    param.key = reinterpret_cast<INT_PTR>(value);
    return SearchLinks(&param);
}

int FindLinkAtPoint(HWND view, double x, double y, double z, int act)
{
    void* db = Site().ViewDatabase(view);
    void* block = Site().ViewDataBlock(view);
    if (db == nullptr || block == nullptr) return 0;
    CmdParamRecord param{};
    param.view = view;
    param.text = const_cast<char*>(kAnchorKey);
    void* candidates = SearchLinks(&param);
    if (candidates == nullptr) return 0;
    SearchBlock saved{};
    ZUriDbGetSerch(&saved);
    const SearchBlock linked = MakeProgramSearchBlock(0xcffff, 0xfffffe);
    ZUriDbSetSerch(&linked);
    int count = 0;
    void* hits = ZUriGetElementMarkByPointWithMark(x, y, z, GetPickApertureInDrawingUnits(), &count, db, block,
                                                    candidates);
    ZUriDbSetSerch(&saved);
    int answer = 0;
    if (hits != nullptr && ZUriGetMarkNum(hits) > 0 && CadGetPrevMark(hits, nullptr) != nullptr) {
        answer = 1;
        // The link kinds are recognised only; the click is consumed and nothing else follows.
        (void)act;
    }
    if (hits != nullptr) ZUriDestroyMark(hits);
    ZUriDestroyMark(candidates);
    return answer;
}
