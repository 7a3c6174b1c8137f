#include "commands/CommandCatalog.h"

#include <shlwapi.h>

#include <cstdlib>

#include "EngineBinding.h"
#include "commands/CommandHost.h"
#include "commands/PluginModules.h"
#include "core/CsvParser.h"
#include "core/DefFile.h"
#include "core/Dbcs.h"

const char kCommandCatalogFileName[] = "LumbraCmd.def";

namespace {

const char* const kSlotNames[kNamedSlotCount] = {
    "LumbraBase.dll", "LumbraRaster.dll", "LumbraPrint.dll", "LumbraArch.dll",
    "LumbraDenki.dll", "LumbraKikai.dll", "LumbraSuido.dll", "LumbraAcad.dll",
    "Velloc.dll",     "VellocJww.dll",    "VellocSxf.dll",   "VellocDwg.dll",
    "VellocUtils.dll"};

// The comma-separated fields of one item line or of the read-only list.
std::vector<std::string> SplitCatalogueFields(const std::string& line)
{
    CCsvParser parser(line);
    return parser.fields;
}

// Lower-cases single-byte letters only; double-byte characters stay as they are.
std::string LowerSingleByte(const std::string& text)
{
    std::string lower = text;
    for (size_t i = 0; i < lower.size(); ++i) {
        if (IsSjisLeadByte(static_cast<unsigned char>(lower[i]))) {
            ++i;
            continue;
        }
        if (lower[i] >= 'A' && lower[i] <= 'Z') lower[i] = static_cast<char>(lower[i] - 'A' + 'a');
    }
    return lower;
}

// The folder with every "%EXECDIR%" replaced by the program folder (one trailing backslash).
std::string ExpandExecDir(const std::string& folder, const std::string& programFolder)
{
    std::string exec = programFolder;
    while (!exec.empty() && exec.back() == '\\') exec.pop_back();
    exec += '\\';
    static const char kToken[] = "%EXECDIR%";
    const size_t tokenLength = sizeof kToken - 1;
    std::string result;
    size_t from = 0;
    for (;;) {
        size_t at = folder.find(kToken, from);
        if (at == std::string::npos) break;
        result.append(folder, from, at - from);
        result += exec;
        from = at + tokenLength;
    }
    result.append(folder, from, std::string::npos);
    return result;
}

// The platform's path join; a result too long for it is joined by hand instead of being lost.
std::string JoinPath(const std::string& folder, const std::string& file)
{
    if (folder.empty()) return file;
    char joined[MAX_PATH] = {};
    if (folder.size() + file.size() + 2 <= MAX_PATH &&
        PathCombineA(joined, folder.c_str(), file.c_str()) != nullptr) {
        return joined;
    }
    std::string result = folder;
    if (result.back() != '\\') result += '\\';
    return result + file;
}

}  // namespace

CLumbraCmd::CLumbraCmd()
{
    for (int i = 0; i < kNamedSlotCount; ++i) m_slots[i].fileName = kSlotNames[i];
    char folder[MAX_PATH] = {};
    GetProgramFolder(folder, sizeof folder);
    SetProgramFolder(folder);
}

CLumbraCmd::~CLumbraCmd()
{
    // A running command's own library is not freed here: the process is ending under it.
    for (LibrarySlot& slot : m_slots) {
        if (slot.module != nullptr) FreeLibrary(slot.module);
        slot.module = nullptr;
    }
}

void CLumbraCmd::SetProgramFolder(const std::string& folder)
{
    m_programFolder = folder;
    while (!m_programFolder.empty() && m_programFolder.back() == '\\') m_programFolder.pop_back();
    m_programFolder += '\\';
}

void CLumbraCmd::Clear()
{
    m_groups.clear();
    m_readOnlyIds.clear();
    m_read = false;
}

int CLumbraCmd::ReadCommandDefinitions()
{
    // The catalogue sits beside the program, whatever folder the program was started from.
    std::string path = m_programFolder + kCommandCatalogFileName;
    return ReadCommandDefinitions(path.c_str());
}

int CLumbraCmd::ReadCommandDefinitions(const char* path)
{
    m_read = true;
    CDefFile file(path);
    if (!file.document) {
        GetCommandHost().ShowMessageBox(nullptr, file.lastError.c_str(), "エラー",
                                        MB_OK | MB_ICONWARNING);
        return -1;
    }
    try {
        std::string readOnly;
        file.GetString("ReadOnlyCmd", "id", "", readOnly);
        if (!readOnly.empty()) {
            for (const std::string& field : SplitCatalogueFields(readOnly)) {
                m_readOnlyIds.push_back(std::atoi(field.c_str()));
            }
        }

        std::vector<std::string> names;
        file.GetChildNames("CmdGroup", names);
        const size_t firstNew = m_groups.size();
        for (const std::string& name : names) {
            auto group = std::make_unique<CCmdInfoGroup>();
            group->name = name;
            m_groups.push_back(std::move(group));
        }
        for (size_t g = firstNew; g < m_groups.size(); ++g) {
            CCmdInfoGroup& group = *m_groups[g];
            std::string section = "CmdGroup/" + group.name;
            file.GetString(section.c_str(), "dir", "", group.folder);
            std::vector<std::string> items;
            std::string data = section + "/data";
            file.GetStringList(data.c_str(), "item", items);
            for (const std::string& item : items) group.commands.push_back(ParseItem(item));
        }
    } catch (...) {
        return -1;
    }
    return 0;
}

CCmdInfo CLumbraCmd::ParseItem(const std::string& itemText) const
{
    CCmdInfo info;
    std::vector<std::string> fields = SplitCatalogueFields(itemText);
    if (fields.size() >= 1) {
        const std::string& names = fields[0];
        size_t semicolon = names.find(';');
        if (semicolon == std::string::npos) {
            info.commandName = names;
            info.statusName = names;
        } else {
            info.commandName = names.substr(0, semicolon);
            info.statusName = names.substr(semicolon + 1);
        }
    }
    if (fields.size() >= 2) info.id = static_cast<WORD>(std::atoi(fields[1].c_str()) & 0xFFFF);
    if (fields.size() >= 3) info.commandString = fields[2];
    if (fields.size() >= 4) info.extra = fields[3];
    info.moduleSlot = FindModuleSlot(info.commandString);
    return info;
}

int CLumbraCmd::FindModuleSlot(const std::string& commandString) const
{
    for (int i = 0; i < kLibrarySlotCount; ++i) {
        const std::string& name = m_slots[i].fileName;
        if (!name.empty() && commandString.compare(0, name.size(), name) == 0) return i;
    }
    return -1;
}

const CCmdInfo* CLumbraCmd::FindInfo(int id) const
{
    const WORD key = static_cast<WORD>(id & 0xFFFF);
    for (const auto& group : m_groups) {
        for (const CCmdInfo& info : group->commands) {
            if (info.id == key) return &info;
        }
    }
    return nullptr;
}

int CLumbraCmd::FindCommand(int id, std::string& line, int* slot) const
{
    if (slot != nullptr) *slot = -1;
    const WORD key = static_cast<WORD>(id & 0xFFFF);
    for (const auto& group : m_groups) {
        for (const CCmdInfo& info : group->commands) {
            if (info.id != key) continue;
            if (info.moduleSlot >= 0) {
                line = info.commandString;
                if (line.find("/C:") == std::string::npos && line.find("/c:") == std::string::npos) {
                    line += " /C:";
                    line += info.commandName;
                }
                if (slot != nullptr) *slot = info.moduleSlot;
                return 1;
            }
            line = JoinPath(ExpandExecDir(group->folder, m_programFolder), info.commandString);
            return 0;
        }
    }
    return -1;
}

int CLumbraCmd::GetCommandLineById(int id, char* buffer, size_t bufferSize) const
{
    std::string line;
    const int found = FindCommand(id, line, nullptr) >= 0;
    DbcsCopy(buffer, bufferSize, found ? line.c_str() : "");
    return found ? 1 : 0;
}

int CLumbraCmd::GetCommandStatusName(int id, char* buffer, size_t bufferSize) const
{
    const CCmdInfo* info = FindInfo(id);
    DbcsCopy(buffer, bufferSize, info ? info->statusName.c_str() : "");
    return info ? 1 : 0;
}

int CLumbraCmd::IsReadOnlyCommand(int id) const
{
    if (m_readOnlyIds.empty()) return 1;
    const WORD key = static_cast<WORD>(id & 0xFFFF);
    for (int readOnly : m_readOnlyIds) {
        if (static_cast<WORD>(readOnly & 0xFFFF) == key) return 1;
    }
    return 0;
}

int CLumbraCmd::IsCommandModulePresent(int id) const
{
    std::string line;
    if (FindCommand(id, line, nullptr) < 0) return 0;
    // The file name ends at the first single-byte blank after its first character.
    size_t end = line.size();
    for (size_t i = 1; i < line.size(); ++i) {
        if (line[i] == ' ' && !DbcsIsTrailByte(line.c_str(), i)) {
            end = i;
            break;
        }
    }
    std::string path = JoinPath(m_programFolder, line.substr(0, end));
    // Our own builds of a library carry ".so" after the name the catalogue gives.
    if (PathFileExistsA(path.c_str())) return 1;
    return PathFileExistsA((path + ".so").c_str()) ? 1 : 0;
}

void CLumbraCmd::LoadSlotModule(int slot)
{
    if (slot < 0 || slot >= kLibrarySlotCount) return;
    LibrarySlot& entry = m_slots[slot];
    if (entry.fileName.empty() || entry.module != nullptr) return;
    std::string path = JoinPath(m_programFolder, entry.fileName);
    entry.module = LoadLibraryByName(path.c_str());
}

void CLumbraCmd::FreeCommandModule()
{
    if (currentSlot < 0 && currentModule != nullptr) FreeLibrary(currentModule);
    currentModule = nullptr;
    currentSlot = -1;
}

int SplitCommandLine(const std::string& line, std::string& module, std::string& arguments)
{
    module.clear();
    arguments.clear();
    size_t end = std::string::npos;
    size_t at = LowerSingleByte(line).find(".dll");
    if (at != std::string::npos) {
        end = at + 4;
    } else {
        at = line.find("$SYSTEMCMD$");
        if (at != std::string::npos) end = at + 11;
    }
    if (end == std::string::npos) return -1;

    module = line.substr(0, end);
    size_t rest = end;
    while (rest < line.size() && (line[rest] == ' ' || line[rest] == '\t')) ++rest;
    if (rest > end && rest < line.size()) arguments = line.substr(rest);
    return (!module.empty() && !arguments.empty()) ? 0 : -1;
}

CLumbraCmd& GetLumbraCmd()
{
    static CLumbraCmd catalog;
    return catalog;
}
