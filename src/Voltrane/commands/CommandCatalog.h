// The command catalogue "LumbraCmd.def": which library carries each plug-in command, the text it
// is started with, the name shown while it runs, and which commands a drawing opened in
// reference mode allows. The same object keeps the library slots and the library of the command
// being started.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// Command id ranges (the low 16 bits of a WM_COMMAND word parameter).
constexpr int kFirstServiceCommandId = 1200;
constexpr int kLastServiceCommandId = 1500;
constexpr int kFirstViewCommandId = 3000;
constexpr int kLastViewCommandId = 3999;
constexpr int kFirstSystemCommandId = 4000;
constexpr int kLastSystemCommandId = 4999;
constexpr int kFirstPluginCommandId = 5000;
constexpr int kLastPluginCommandId = 39999;

// Number of library slots; the first kNamedSlotCount have fixed library names.
constexpr int kLibrarySlotCount = 20;
constexpr int kNamedSlotCount = 13;
// The slot of the PDF plug-in "Velloc.dll".
constexpr int kVellocSlot = 8;

// The file name of the catalogue, read from the program folder.
extern const char kCommandCatalogFileName[];

// One command of the catalogue.
class CCmdInfo {
public:
    virtual ~CCmdInfo() = default;

    std::string statusName;   // shown while the command runs
    std::string commandName;  // appended as "/C:" argument for slot libraries
    WORD id = 0;
    std::string commandString;  // library file name, blanks, argument text
    std::string extra;          // fourth field, kept and read by nothing
    int moduleSlot = -1;        // index of the slot library, -1 for a folder command
};

// One group of commands sharing a folder.
class CCmdInfoGroup {
public:
    virtual ~CCmdInfoGroup() = default;

    std::string name;    // the group's element name
    std::string folder;  // its "dir" value as stored ("%EXECDIR%" not expanded)
    std::vector<CCmdInfo> commands;
};

class CLumbraCmd {
public:
    CLumbraCmd();
    virtual ~CLumbraCmd();
    CLumbraCmd(const CLumbraCmd&) = delete;
    CLumbraCmd& operator=(const CLumbraCmd&) = delete;

    struct LibrarySlot {
        std::string fileName;
        HMODULE module = nullptr;
    };

    // Reads the catalogue file of the program folder (or the given path). 0 read; -1 the file
    // did not load (a warning box is shown) or reading failed part-way (what was read stays).
    int ReadCommandDefinitions();
    int ReadCommandDefinitions(const char* path);
    // Whether ReadCommandDefinitions has run.
    bool IsRead() const { return m_read; }

    // 1: slot command, line = its command string with " /C:" and the command name appended
    // unless it holds "/C:" or "/c:"; 0: folder command, line = folder joined with the command
    // string; -1: no entry (line unchanged). slot may be null.
    int FindCommand(int id, std::string& line, int* slot) const;
    // The line of FindCommand into buffer (cut on a character boundary; empty when the id is not
    // in the catalogue). 1 when the id is in the catalogue, 0 otherwise.
    int GetCommandLineById(int id, char* buffer, size_t bufferSize) const;
    // The status name of the first entry with the id (empty when none). 1 found, 0 not.
    int GetCommandStatusName(int id, char* buffer, size_t bufferSize) const;
    // 1 when the read-only list is empty or holds the id.
    int IsReadOnlyCommand(int id) const;
    // Nonzero when the command's library file exists in the program folder.
    int IsCommandModulePresent(int id) const;

    // Loads the slot's library from the program folder when it has a name and no handle yet.
    void LoadSlotModule(int slot);
    // Frees the current module when it was loaded for one command; then none is current.
    void FreeCommandModule();

    // Program folder with one trailing backslash; the catalogue, the slot libraries and
    // "%EXECDIR%" are resolved against it. Tests point it elsewhere.
    const std::string& ProgramFolder() const { return m_programFolder; }
    void SetProgramFolder(const std::string& folder);

    const std::vector<std::unique_ptr<CCmdInfoGroup>>& Groups() const { return m_groups; }
    const std::vector<int>& ReadOnlyIds() const { return m_readOnlyIds; }
    const LibrarySlot& Slot(int slot) const { return m_slots[slot]; }

    HMODULE currentModule = nullptr;
    int currentSlot = -1;

    // Parses one "item" line into a command; the slot is found from the slot names.
    CCmdInfo ParseItem(const std::string& itemText) const;
    // The slot whose library name begins the command string, -1 for none.
    int FindModuleSlot(const std::string& commandString) const;
    // Drops everything read, keeping the slots (tests read several catalogues).
    void Clear();

private:
    const CCmdInfo* FindInfo(int id) const;

    std::vector<std::unique_ptr<CCmdInfoGroup>> m_groups;
    std::vector<int> m_readOnlyIds;
    LibrarySlot m_slots[kLibrarySlotCount];
    std::string m_programFolder;
    bool m_read = false;
};

// Splits a command line into the module text (up to and including ".dll", found without regard
// to case, or "$SYSTEMCMD$") and the argument text after the blanks that follow it. 0 when both
// are not empty, -1 otherwise.
int SplitCommandLine(const std::string& line, std::string& module, std::string& arguments);

// The process-wide catalogue, held for the whole run.
CLumbraCmd& GetLumbraCmd();
