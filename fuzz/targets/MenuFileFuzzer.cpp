// The menu file ("RovOdidov.mnu") built into a menu (the shim's menus), then searched for the
// window menu and destroyed.
#include <windows.h>

#include <cstdint>
#include <string>

#include "mainframe/MainMenu.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMainMenu menu;
    menu.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    GetWindowMenu(menu.Menu(), menu.WindowMenuPosition(), menu.WindowMenuCaption().c_str());
    GetWindowMenu(menu.Menu(), 1, "");
    return 0;
}
