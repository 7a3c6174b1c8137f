// The key file ("RovOdidov.key"): both sections read into accelerator entries, and each entry
// written back as a line and read again.
#include <cstdint>
#include <string>
#include <vector>

#include "mainframe/MainAccelerator.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string content(reinterpret_cast<const char*>(data), size);
    for (const char* section : {"[CustomKey]", "[SystemKey]"}) {
        std::vector<ACCEL> entries;
        ReadKeySection(content, section, entries);
        std::string written = std::string(section) + "\r\nBEGIN\r\n";
        for (const ACCEL& entry : entries) written += FormatKeyLine(entry) + "\r\n";
        written += "END\r\n";
        std::vector<ACCEL> again;
        ReadKeySection(written, section, again);
        // What the program writes it reads back entry for entry.
        if (again.size() != entries.size()) __builtin_trap();
    }
    return 0;
}
