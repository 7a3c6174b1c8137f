// The plug-in's three commands, registered at process attach in this order.
#include "CadPdf/LoadPdf.h"
#include "CadPdf/SavePdf.h"
#include "CadPdf/SavePdfOption.h"
#include "CommandRegistry.h"

CommandRegistry& PluginCommands()
{
    static CommandRegistry registry;
    return registry;
}

void RegisterCommands()
{
    CommandRegistry& registry = PluginCommands();
    registry.Add(std::unique_ptr<ILumbraObjEx>(new (std::nothrow) CLumbraObjEx<CSavePdf>("PDF保存")));
    registry.Add(std::unique_ptr<ILumbraObjEx>(new (std::nothrow) CLumbraObjEx<CLoadPdf>("PDF読込")));
    registry.Add(std::unique_ptr<ILumbraObjEx>(
        new (std::nothrow) CLumbraObjEx<CSavePdfOption>("SavePdfOption")));
}

void UnregisterCommands() { PluginCommands().Clear(); }
