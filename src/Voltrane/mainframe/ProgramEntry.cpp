// The process entry: platform services, the application object's stages and the one
// message loop of the program.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <ole2.h>

#include <string>

#include "EngineBinding.h"
#include "WinKit/AppModule.h"
#include "WinKit/MessageLoop.h"
#include "WinKit/MessageTarget.h"
#include "commands/CommandSystemConnection.h"
#include "commands/HostServiceDispatch.h"
#include "commands/TempDatabase.h"
#include "core/CadSystem.h"
#include "core/SystemLog.h"
#include "mainframe/MainFrame.h"
#include "mainframe/ProgramEntry.h"
#include "view/ViewHostMessages.h"

// GDI+ flat start-up entry points; the C++ wrapper headers are not needed for this.
struct GdiplusStartupInputRecord {
    UINT32 GdiplusVersion;
    void* DebugEventCallback;
    BOOL SuppressBackgroundThread;
    BOOL SuppressExternalCodecs;
};
extern "C" int WINAPI GdiplusStartup(ULONG_PTR* token, const GdiplusStartupInputRecord* input,
                                     void* output);
extern "C" void WINAPI GdiplusShutdown(ULONG_PTR token);

int Run(const char* commandLine, int showCommand)
{
    WinKit::CMessageLoop loop;
    WinKit::Module().AddMessageLoop(&loop);

    CMainFrame frame;
    frame.SetCommandLine(commandLine);
    // The dispatcher first; the host-service object then takes the frame's host-service slot
    // and chains the dispatcher itself.
    ConnectCommandSystem(frame);
    ConnectHostServices(frame);
    ConnectDrawingViews(frame);
    StartWindowStyles styles = ChooseStartWindowStyles(GetCadSystem().GetStartMode());
    if (frame.CreateEx(nullptr, nullptr, styles.style, styles.exStyle) == nullptr) {
        WinKit::Module().RemoveMessageLoop();
        return 0;
    }
    frame.SetShowCommand(showCommand);

    int result = loop.Run();
    WinKit::Module().RemoveMessageLoop();
    return result;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    char failed[64] = {};
    if (!BindEngineLibraries(failed, sizeof failed)) {
        std::string text = std::string(failed) + " を読み込めません。\nインストールを確認してください。";
        MessageBoxA(nullptr, text.c_str(), "エラー", MB_OK | MB_ICONERROR);
        return 0;
    }

    std::string commandLineCopy = commandLine ? commandLine : "";

    GdiplusStartupInputRecord gdiplusInput = {1, nullptr, FALSE, FALSE};
    ULONG_PTR gdiplusToken = 0;
    GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    InitCommonControlsEx(&icc);
    WinKit::Module().Init(instance);
    // A handler's exception caught by the window layer goes to the operation log.
    WinKit::SetHandlerFaultLog([](const char* text) { WriteSystemLogText(0, "Error", text); });

    CCadSystem& system = GetCadSystem();
    int exitCode = 0;
    int status = system.Initialize(instance, previous, commandLineCopy.c_str(), showCommand);
    if (status == 0) exitCode = Run(commandLineCopy.c_str(), showCommand);
    ReleaseTempDb();
    system.Terminate(instance);

    WinKit::Module().Term();
    OleUninitialize();
    if (gdiplusToken != 0) GdiplusShutdown(gdiplusToken);
    return exitCode;
}
