// The two settings files: the first byte chooses "ConfigData.xml" (even) or
// "LocalSettings.xml" (odd); the rest is the file. A file that loads is saved and must load
// again.
#include <windows.h>

#include <cstdint>
#include <string>

#include "Win32Shim.h"
#include "core/SettingsFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    const std::string path = "C:\\fuzz\\settings.xml", saved = "C:\\fuzz\\saved.xml";
    shim::ClearFiles();
    shim::PutFile(path, data + 1, size - 1);
    std::string error;
    if (data[0] % 2 == 0) {
        ConfigData record;
        if (LoadConfigDataFile(path, record, &error) != 0) return 0;
        if (SaveConfigDataFile(saved, record, &error) != 0) return 0;
        ConfigData again;
        if (LoadConfigDataFile(saved, again, &error) != 0) __builtin_trap();
    } else {
        LocalSettingsRecords records;
        if (LoadLocalSettingsFile(path, records, &error) != 0) return 0;
        if (SaveLocalSettingsFile(saved, records, &error) != 0) return 0;
        LocalSettingsRecords again;
        if (LoadLocalSettingsFile(saved, again, &error) != 0) __builtin_trap();
    }
    return 0;
}
