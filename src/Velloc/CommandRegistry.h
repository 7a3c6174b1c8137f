// The plug-in's command registry: command names mapped to command objects, the split of a
// command line into name and parameters, and the dispatch of one command line.
#pragma once

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "CmdBase.h"

// One registry entry: the command's name and, while it runs, its command object.
class ILumbraObjEx {
public:
    explicit ILumbraObjEx(const char* name) : m_name(name) {}
    virtual ~ILumbraObjEx() = default;
    virtual int Run() = 0;
    virtual int CallCommand(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6,
                            int32_t a7) = 0;
    // Makes a new command object with the parameter text and context; false when it cannot.
    virtual bool Create(const char* parameterText, void* context) = 0;

    const std::string& Name() const { return m_name; }
    bool HasCommandObject() const { return m_command != nullptr; }

protected:
    std::string m_name;
    // Owned; from Create to the end of Run. An exception out of a run frees it on the way.
    std::unique_ptr<CCmdBase> m_command;
};

// The entry of command class T: T derives from CCmdBaseEx and has `int Run()`.
template <class T>
class CLumbraObjEx : public ILumbraObjEx {
public:
    using ILumbraObjEx::ILumbraObjEx;

    bool Create(const char* parameterText, void* context) override
    {
        m_command.reset(new (std::nothrow) T());
        if (!m_command) return false;
        m_command->SetParam(parameterText, context);
        return true;
    }

    int Run() override
    {
        if (!m_command) m_command.reset(new T());
        // Taken out of the entry first, so the object goes whether the run returns or throws.
        std::unique_ptr<CCmdBase> command = std::move(m_command);
        return static_cast<T&>(*command).Run();
    }

    int CallCommand(int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5, int32_t a6,
                    int32_t a7) override
    {
        return m_command ? m_command->Call(a1, a2, a3, a4, a5, a6, a7) : 1;
    }
};

class CommandRegistry {
public:
    // The entry is appended; a null entry (failed allocation) is skipped.
    void Add(std::unique_ptr<ILumbraObjEx> entry);
    // The first entry whose name equals the name exactly (letter case matters), or null.
    ILumbraObjEx* Find(const std::string& name) const;
    size_t Size() const { return m_entries.size(); }
    ILumbraObjEx* At(size_t index) const { return m_entries[index].get(); }
    void Clear() { m_entries.clear(); }

private:
    std::vector<std::unique_ptr<ILumbraObjEx>> m_entries;
};

// The registry of the plug-in's three commands ("PDF保存", "PDF読込", "SavePdfOption").
CommandRegistry& PluginCommands();
void RegisterCommands();
void UnregisterCommands();

// Splits a command line: the name is what follows "/c:" or "/C:" up to a blank or tab (a
// second marker continues it); everything else, in line order, is the parameter text. Both
// are trimmed of white space at both ends.
void ExtractCommandName(const char* line, std::string& name, std::string& parameters);

// Result of DispatchPluginCommand when no command started (unknown name, failed Create).
constexpr int kCommandNotStarted = -1;

// Splits the line, records the parameter text, finds the command and runs it. Reports whether
// a command started, so a command's own -1 is told apart from "not started".
int DispatchPluginCommand(const CommandRegistry& registry, const char* line, void* context,
                          bool* started);
