#include "CommandRegistry.h"

#include <cstring>

#include "VellocModule.h"
#include "core/Dbcs.h"

void CommandRegistry::Add(std::unique_ptr<ILumbraObjEx> entry)
{
    if (entry) m_entries.push_back(std::move(entry));
}

ILumbraObjEx* CommandRegistry::Find(const std::string& name) const
{
    for (const auto& entry : m_entries) {
        // A byte comparison equals the multibyte one for equality.
        if (entry->Name() == name) return entry.get();
    }
    return nullptr;
}

namespace {

// The length of the white-space character at text[i] (a blank, a control blank or the
// double-byte blank 0x8140), or 0.
size_t SpaceLength(const std::string& text, size_t i)
{
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == ' ' || (c >= 0x09 && c <= 0x0D)) return 1;
    if (c == 0x81 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x40) return 2;
    return 0;
}

// Cuts white space from both ends, the right end first, scanning double-byte characters whole.
void TrimSpaces(std::string& text)
{
    size_t keep = 0;  // end of the last character that is not white space
    for (size_t i = 0; i < text.size();) {
        size_t space = SpaceLength(text, i);
        size_t length = space ? space : (IsSjisLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1);
        if (!space) keep = i + length;
        i += length;
    }
    text.erase(keep);
    size_t start = 0;
    while (start < text.size()) {
        size_t space = SpaceLength(text, start);
        if (!space) break;
        start += space;
    }
    text.erase(0, start);
}

}  // namespace

void ExtractCommandName(const char* line, std::string& name, std::string& parameters)
{
    name.clear();
    parameters.clear();
    if (line == nullptr) return;
    bool nameMode = false;
    for (const char* p = line; *p != '\0'; ++p) {
        const char c = *p;
        if (c == ' ' || c == '\t') {
            parameters += c;
            nameMode = false;
        } else if (nameMode) {
            name += c;
        } else if (c == '/' && (p[1] == 'c' || p[1] == 'C') && p[2] == ':') {
            p += 2;
            nameMode = true;
        } else if (IsSjisLeadByte(c)) {
            parameters += c;
            if (p[1] == '\0') break;
            parameters += *++p;
        } else {
            parameters += c;
        }
    }
    TrimSpaces(name);
    TrimSpaces(parameters);
}

int DispatchPluginCommand(const CommandRegistry& registry, const char* line, void* context,
                          bool* started)
{
    if (started) *started = false;
    std::string name;
    std::string parameters;
    ExtractCommandName(line, name, parameters);
    SetCommandParameterText(parameters);
    ILumbraObjEx* entry = registry.Find(name);
    if (entry == nullptr) return kCommandNotStarted;
    if (!entry->Create(parameters.c_str(), context)) return kCommandNotStarted;
    if (started) *started = true;
    return entry->Run();
}
