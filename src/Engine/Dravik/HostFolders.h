// Folders the host library knows: the program folder, the per-user settings folder, the data
// folders by kind, and the expansion of the path macros of the profile calls.
#pragma once

#include <cstddef>

namespace HostFolders {

// Program folder with a trailing '\'; false when it does not fit.
bool ProgramFolder(char* out, size_t outSize);
// Per-user settings folder (local application data, maker, product) with a trailing '\';
// false when the system gives no such folder or it does not fit.
bool UserSettingsFolder(char* out, size_t outSize);
// Sub-folder of a data kind ("SETTEI", ...), or null for an unknown kind.
const char* DataFolderOfKind(int kind);
// Replaces "%USER_LOCAL_APPDATA%" and "%EXE_DIR%" in a file path. False when a
// folder is not known or the result does not fit (out is then empty).
bool ExpandMacros(const char* pathText, char* out, size_t outSize);
// Creates the folder that holds the file path, with its missing ancestors.
void CreateFolderOfFile(const char* filePath);

}  // namespace HostFolders
