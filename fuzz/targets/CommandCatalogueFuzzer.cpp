// The command catalogue ("LumbraCmd.def"): read whole, then every question the program asks of
// it for the ids it names and for the ranges of every kind of command.
#include <windows.h>

#include <cstdint>
#include <string>

#include "Win32Shim.h"
#include "commands/CommandCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const char kPath[] = "C:\\fuzz\\LumbraCmd.def";
    shim::ClearFiles();
    shim::PutFile(kPath, data, size);
    CLumbraCmd catalogue;
    catalogue.SetProgramFolder("C:\\fuzz\\");
    if (catalogue.ReadCommandDefinitions(kPath) != 0) return 0;
    char buffer[1024];
    std::string line;
    auto ask = [&](int id) {
        int slot = -1;
        catalogue.FindCommand(id, line, &slot);
        catalogue.GetCommandLineById(id, buffer, sizeof buffer);
        catalogue.GetCommandStatusName(id, buffer, sizeof buffer);
        catalogue.IsReadOnlyCommand(id);
    };
    for (int id : catalogue.ReadOnlyIds()) ask(id);
    for (int id : {0, 1200, 3000, 4000, 4001, 5000, 5300, 7805, 39999, -1}) ask(id);
    for (int slot = 0; slot < kLibrarySlotCount; ++slot) catalogue.Slot(slot);
    return 0;
}
