// The fuzz targets' stand-in for the Win32 calls the code under test makes: files live in
// memory, GDI objects are counted heap objects that drawing reads but never paints, global
// memory blocks are heap blocks. Every call reads what the real one would read from its
// arguments, so an overrun in the caller shows under AddressSanitizer.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace shim {

// Files of the memory file system, by their exact name.
void PutFile(const std::string& name, const void* data, size_t size);
bool GetFile(const std::string& name, std::string& data);
bool HasFile(const std::string& name);
void ClearFiles();

// GDI objects and device contexts alive now (each must be deleted by whoever made it).
int LiveGdiObjects();
// Menus alive now (a menu destroyed takes its submenus with it).
int LiveMenus();

}  // namespace shim
