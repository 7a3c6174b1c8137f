#include "commands/DdeServer.h"

#include <cstring>

#include "HostMessages.h"
#include "commands/CommandHost.h"
#include "commands/DdeClient.h"
#include "core/SystemLog.h"

namespace {

DWORD g_instance = 0;
HSZ g_service = nullptr;
HSZ g_topic = nullptr;
long g_connections = 0;
char g_execute[250] = {};

const char kTitle[] = "DDE Server";

bool Is(HSZ handle, HSZ ours) { return handle != nullptr && DdeCmpStringHandles(handle, ours) == 0; }

// The service and topic pairs this server offers for a connection to any service or topic.
HDDEDATA WildConnect(HSZ topic, HSZ service)
{
    if (service != nullptr && !Is(service, g_service)) return nullptr;
    HSZPAIR pairs[2] = {};
    if (topic == nullptr || Is(topic, g_topic)) pairs[0] = {g_service, g_topic};
    static_assert(sizeof pairs == 16, "two pairs of string handles");
    return DdeCreateDataHandle(g_instance, reinterpret_cast<LPBYTE>(pairs), sizeof pairs, 0, nullptr, 0, 0);
}

HDDEDATA Execute(HSZ topic, HDDEDATA data)
{
    if (!Is(topic, g_topic)) {
        WriteSystemLog(3, kTitle, "XTYP_EXECUTE ?");
        return nullptr;
    }
    std::memset(g_execute, 0, sizeof g_execute);
    DdeGetData(data, reinterpret_cast<LPBYTE>(g_execute), kDdeExecuteLength, 0);
    g_execute[kDdeExecuteLength] = '\0';
    const LRESULT answer =
        SendMessageA(GetCommandHost().MainWindow(), WM_CAD_DDE_EXECUTE, 0, reinterpret_cast<LPARAM>(g_execute));
    if (answer != 0) {
        WriteSystemLog(3, kTitle, "XTYP_EXECUTE OK");
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    }
    WriteSystemLog(3, kTitle, "XTYP_EXECUTE NG");
    return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
}

}  // namespace

HDDEDATA CALLBACK DdeServerCallback(UINT type, UINT, HCONV conversation, HSZ topic, HSZ service, HDDEDATA data,
                                     ULONG_PTR, ULONG_PTR data2)
{
    switch (type) {
    case XTYP_CONNECT:
        WriteSystemLog(3, kTitle, "XTYP_CONNECT");
        return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(Is(service, g_service) && Is(topic, g_topic)));
    case XTYP_WILDCONNECT:
        WriteSystemLog(3, kTitle, "XTYP_WILDCONNECT");
        return WildConnect(topic, service);
    case XTYP_CONNECT_CONFIRM:
        ++g_connections;
        WriteSystemLog(3, kTitle, "XTYP_CONNECT_CONFIRM %ld , %d", reinterpret_cast<long>(conversation),
                       static_cast<int>(g_connections));
        return nullptr;
    case XTYP_DISCONNECT:
        --g_connections;
        WriteSystemLog(3, kTitle, "XTYP_DISCONNECT %ld , %d", reinterpret_cast<long>(conversation),
                       static_cast<int>(g_connections));
        return nullptr;
    case XTYP_EXECUTE:
        return Execute(topic, data);
    case XTYP_REQUEST:
        // The server has no data items.
        WriteSystemLog(3, kTitle, "XTYP_REQUEST");
        return nullptr;
    case XTYP_ADVDATA:
        WriteSystemLog(3, kTitle, "XTYP_ADVDATA");
        return reinterpret_cast<HDDEDATA>(DDE_FACK);
    case XTYP_ADVREQ:
        WriteSystemLog(3, kTitle, "XTYPF_ADVREQ");
        return nullptr;
    case XTYP_POKE:
        WriteSystemLog(3, kTitle, "XTYPF_POKE");
        return nullptr;
    case XTYP_ERROR:
        WriteSystemLog(3, kTitle, "XTYPF_ERROR");
        return nullptr;
    case XTYP_XACT_COMPLETE:
        WriteSystemLog(3, kTitle, "XTYP_XACT_COMPLETE");
        return nullptr;
    case XTYP_REGISTER:
        WriteSystemLog(3, kTitle, "XTYP_REGISTER");
        return nullptr;
    case XTYP_UNREGISTER:
        WriteSystemLog(3, kTitle, "XTYP_UNREGISTER");
        return nullptr;
    case XTYP_MONITOR:
        if (data2 == MF_CONV)
            WriteSystemLog(3, kTitle, "XTYPF_MONITOR MF_CONV");
        else
            WriteSystemLog(3, kTitle, "XTYPF_MONITOR %ld", static_cast<long>(data2));
        return nullptr;
    default:
        WriteSystemLog(3, kTitle, "%ld その他のXTYP", static_cast<long>(type));
        return nullptr;
    }
}

int StartDdeServer()
{
    if (g_instance != 0) StopDdeServer();
    if (DdeInitializeA(&g_instance, DdeServerCallback, MF_CONV | MF_ERRORS, 0) != DMLERR_NO_ERROR) {
        g_instance = 0;
        CCommandHost& host = GetCommandHost();
        host.ShowErrorMessage(host.MessageText(1006));
        return 0;
    }
    g_service = DdeCreateStringHandleA(g_instance, kDdeServiceName, CP_WINANSI);
    g_topic = DdeCreateStringHandleA(g_instance, kDdeTopicName, CP_WINANSI);
    DdeNameService(g_instance, g_service, nullptr, DNS_REGISTER);
    return 1;
}

int StopDdeServer()
{
    WriteSystemLog(3, kTitle, "exit Start");
    DisconnectDdeClientConversation();
    WriteSystemLog(3, kTitle, "exit Step1");
    if (g_topic != nullptr) DdeFreeStringHandle(g_instance, g_topic);
    g_topic = nullptr;
    WriteSystemLog(3, kTitle, "exit Step2");
    if (g_instance != 0) {
        const HDDEDATA result = DdeNameService(g_instance, g_service, nullptr, DNS_UNREGISTER);
        WriteSystemLog(3, kTitle, "exit End (%ld)", reinterpret_cast<long>(result));
        if (g_service != nullptr) DdeFreeStringHandle(g_instance, g_service);
        DdeUninitialize(g_instance);
    }
    g_service = nullptr;
    g_instance = 0;
    return 1;
}

long DdeServerConnectionCount() { return g_connections; }
