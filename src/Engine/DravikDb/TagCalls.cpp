// Data attached to elements: tags, the tag string, 256-byte user data, FF tags, extra data.
#include "EngineCalls.h"

#include <algorithm>
#include <cstring>
#include "MemoryProbe.h"

using namespace dravikdb;

DRAVIKDB_API int WINAPI ZUriGetTag(void* element, int tag)
{
    Element* e = FindElement(element);
    if (e == nullptr) return 0;
    auto it = e->tags.find(tag);
    return it == e->tags.end() ? 0 : it->second;
}

DRAVIKDB_API int WINAPI ZUriSetTag(void* element, int tag, int value)
{
    Element* e = FindElement(element);
    if (e == nullptr) return 0;
    return Guarded(0, [&] {
        if (value == 0) {
            e->tags.erase(tag);
        } else {
            e->tags[tag] = value;
        }
        return 1;
    });
}

DRAVIKDB_API int WINAPI ZUriGetTagString(void* element, char* buffer)
{
    Element* e = FindElement(element);
    if (e == nullptr || !e->hasTagString) return 0;
    if (buffer != nullptr) std::memcpy(buffer, e->tagString.c_str(), e->tagString.size() + 1);
    return static_cast<int>(e->tagString.size()) + 1;
}

DRAVIKDB_API int WINAPI ZUriSetTagString(void* element, const char* text)
{
    Element* e = FindElement(element);
    if (e == nullptr) return 0;
    if (text == nullptr) {
        e->hasTagString = false;
        e->tagString.clear();
        return 1;
    }
    // Readers hold the text in buffers of 604 bytes: a longer text is refused whole.
    size_t n = SafeTextLength(text, kMaxTagStringLength + 1);
    if (n > kMaxTagStringLength) return 0;
    return Guarded(0, [&] {
        e->tagString.assign(text, n);
        e->hasTagString = true;
        return 1;
    });
}

DRAVIKDB_API int WINAPI ZUriGet256UserData(void* element, void* buffer)
{
    Element* e = FindElement(element);
    if (e == nullptr || buffer == nullptr) return 0;
    if (!e->userData) {
        std::memset(buffer, 0, kUserDataSize);
        return 0;
    }
    std::memcpy(buffer, e->userData->data(), kUserDataSize);
    return 1;
}

DRAVIKDB_API int WINAPI ZUriSet256UserData(void* element, const void* buffer)
{
    Element* e = FindElement(element);
    if (e == nullptr) return 0;
    if (buffer == nullptr) {
        e->userData.reset();
        return 1;
    }
    if (IsBadReadMemory(buffer, kUserDataSize)) return 0;
    return Guarded(0, [&] {
        if (!e->userData) e->userData = std::make_unique<std::array<uint8_t, kUserDataSize>>();
        std::memcpy(e->userData->data(), buffer, kUserDataSize);
        return 1;
    });
}

DRAVIKDB_API int WINAPI ZUriFFTagElement(void* element, void* data, void* db)
{
    Database* d = Resolve(db);
    Element* e = FindElement(element, d);
    if (d == nullptr || e == nullptr) return 0;
    e->ffTag = reinterpret_cast<uintptr_t>(data);
    return 1;
}

DRAVIKDB_API int WINAPI ZUriFFTagFasHeader(void* header, void* data, void* db)
{
    Database* d = Resolve(db);
    Element* e = FindElement(header, d);
    if (d == nullptr || e == nullptr) return 0;
    e->ffTag = reinterpret_cast<uintptr_t>(data);
    return 1;
}

DRAVIKDB_API int WINAPI ZUriSetExtrData(void* element, int slot, int offset, int size, const void* data)
{
    Element* e = FindElement(element);
    if (e == nullptr || slot < 0 || slot > kMaxExtraDataSlot) return 0;
    if (data == nullptr) {
        e->extraData.erase(slot);
        return 1;
    }
    if (offset < 0 || size < 0 || static_cast<size_t>(offset) + static_cast<size_t>(size) > kMaxExtraDataSize) {
        return 0;
    }
    if (size > 0 && IsBadReadMemory(data, size)) return 0;
    return Guarded(0, [&] {
        std::vector<uint8_t>& bytes = e->extraData[slot];
        size_t end = static_cast<size_t>(offset) + static_cast<size_t>(size);
        if (bytes.size() < end) bytes.resize(end, 0);
        if (size > 0) std::memcpy(bytes.data() + offset, data, size);
        return 1;
    });
}

DRAVIKDB_API int WINAPI ZUriGetExtrData(void* element, int slot, int offset, int size, void* out)
{
    Element* e = FindElement(element);
    if (e == nullptr || slot < 0 || slot > kMaxExtraDataSlot || offset < 0 || size < 0) return 0;
    auto* target = static_cast<uint8_t*>(out);
    if (target != nullptr && size > 0) std::memset(target, 0, size);
    auto it = e->extraData.find(slot);
    if (it == e->extraData.end()) return 0;
    const std::vector<uint8_t>& bytes = it->second;
    if (target != nullptr && static_cast<size_t>(offset) < bytes.size()) {
        size_t n = std::min(bytes.size() - offset, static_cast<size_t>(size));
        std::memcpy(target, bytes.data() + offset, n);
    }
    return static_cast<int>(bytes.size());
}
