#include "CommandEntry.h"

#include "HostLibrary.h"
#include "LineTypePickerClasses.h"
#include "VellocModule.h"

void ShowCommandNotStartedBox()
{
    MessageBoxA(OwnerWindow(),
                "コマンドが起動できません。\nシステムが正しくインストールされているか確認してください。",
                "エラー", MB_OK | MB_ICONEXCLAMATION);
}

int RunCommandEntry(const CommandRegistry& registry, HWND host, const char* line, void* context)
{
    SetOwnerWindow(host);
    HostParamBlock& block = VellocHostBlock();
    block.words[kHostParamCommandModuleWord] = block.words[kHostParamPluginModuleWord];
    ClearNotedAbandonment();
    bool started = false;
    int result = kCommandNotStarted;
    try {
        HostLib::VySetPara2(OwnerWindow(), &block);
        result = DispatchPluginCommand(registry, line, context, &started);
    } catch (const CommandAbandoned&) {
        // The unwinding has freed the command and what it held.
        ClearNotedAbandonment();
        return 0;
    } catch (...) {
        // Out of memory or another failure: the command did not finish; nothing may leave.
        result = kCommandNotStarted;
    }
    if (!started) ShowCommandNotStartedBox();
    return result;
}

namespace {

COLORREF ButtonFace() { return GetSysColor(COLOR_BTNFACE); }

}  // namespace

int BeginProduct(const char* productName)
{
    try {
        HostLib::QmCadApi_SetAppProductName(productName ? productName : kDefaultProductName);
        const COLORREF face = ButtonFace();
        const COLORREF dialogColours[10] = {0xB5FFFF, 0xB5FFFF, face, face, face, face, face, 0, 0, 0};
        const COLORREF button0[3] = {0xFF6464, 0xFFFFFF, 0x808080};
        const COLORREF button1[3] = {0x5863F4, 0xFFFFFF, 0x808080};
        const COLORREF button2[3] = {0x00FFFF, 0x000000, 0x808080};
        const COLORREF button3[3] = {face, 0x000000, 0x808080};
        HostLib::QmCadApi_SetColor(-1, dialogColours);
        HostLib::QmCadApi_SetColor(0, button0);
        HostLib::QmCadApi_SetColor(1, button1);
        HostLib::QmCadApi_SetColor(2, button2);
        HostLib::QmCadApi_SetColor(3, button3);
    } catch (...) {
        // No command runs: there is nothing to abandon, and nothing may leave the export.
    }
    // Inside the program the program registers the picker classes itself.
    if (OwnerWindow() == nullptr) RegisterLineTypePickerClasses();
    return 0;
}

int FinishProduct()
{
    if (OwnerWindow() == nullptr) UnregisterClassA(kLineTypeFieldClass, VellocInstance());
    return 0;
}
