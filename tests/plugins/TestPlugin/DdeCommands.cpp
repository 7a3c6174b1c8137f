// DdeClient SERVICE: through the host's client messages, connects to SERVICE (topic "System"),
// sends the execute string "{Hello(1)}" and the poke "XTYP_POKE:VALUE:12", disconnects and
// frees the name; traces "DdeClient" and the six answers.
#include "DdeCommands.h"

#include <cstdio>
#include <cstring>

#include "HostMessages.h"

int RunDdeCommand(HWND host, const char* name)
{
    const char command[] = "DdeClient";
    if (std::strncmp(name, command, sizeof command - 1) != 0) return -2;
    const char* service = name + sizeof command - 1;
    while (*service == ' ') ++service;
    const auto send = [host](UINT message, const char* text) {
        return static_cast<int>(SendMessageA(host, message, 0, reinterpret_cast<LPARAM>(text)));
    };
    const int init = send(WM_CAD_DDE_INIT, service);
    const int connect = send(WM_CAD_DDE_CONNECT, nullptr);
    const int execute = send(WM_CAD_DDE_SEND, "{Hello(1)}");
    const int poke = send(WM_CAD_DDE_SEND, "XTYP_POKE:VALUE:12");
    const int disconnect = send(WM_CAD_DDE_DISCONNECT, nullptr);
    const int exit = send(WM_CAD_DDE_EXIT, nullptr);
    char trace[96];
    std::snprintf(trace, sizeof trace, "DdeClient %d %d %d %d %d %d", init, connect, execute, poke, disconnect, exit);
    SetWindowTextA(host, trace);
    return 1;
}
