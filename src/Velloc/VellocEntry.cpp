// The plug-in library's module entry and its five exports. Everything they do lives in the
// plug-in's library (CommandEntry.cpp), which the tests link too.
#include "VellocEntry.h"

#include "CadPdf/LoadPdf.h"
#include "CommandEntry.h"
#include "CommandRegistry.h"
#include "VellocModule.h"
#include "dialogs/Calculator.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        AttachVellocModule(instance);
        // The plug-in's own calculator, under its own module.
        RegisterCalculatorClass(instance);
        // Nothing may leave the module entry; a table that cannot be read stays empty.
        try {
            RegisterCommands();
            LoadCidToUnicode();
        } catch (...) {
        }
    } else if (reason == DLL_PROCESS_DETACH) {
        UnregisterCalculatorClass(instance);
        try {
            UnregisterCommands();
        } catch (...) {
        }
    }
    return TRUE;
}

extern "C" int WINAPI StartCmdEx(HWND host, const char* commandLine, void* context)
{
    return RunCommandEntry(PluginCommands(), host, commandLine, context);
}

extern "C" int WINAPI StartCmd(HWND host, const char* commandLine)
{
    return StartCmdEx(host, commandLine, nullptr);
}

extern "C" int WINAPI StartProduct(const char* productName) { return BeginProduct(productName); }

extern "C" int WINAPI EndProduct(void) { return FinishProduct(); }

extern "C" int WINAPI CwCmdSaveFg(void) { return 1; }
