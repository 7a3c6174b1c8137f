#include "commands/DdeClient.h"

#include <cstring>

#include "HostMessages.h"
#include "commands/CommandHost.h"
#include "commands/DdeServer.h"
#include "core/SystemLog.h"

namespace {

DWORD g_instance = 0;
HSZ g_system = nullptr;
char g_partner[kDdePartnerNameSize] = {};
HSZ g_partnerHandle = nullptr;
HSZ g_topicHandle = nullptr;
HCONV g_conversation = nullptr;
char g_send[kDdeSendSize] = {};

constexpr DWORD kTransactionTimeoutMs = 600000;
const char kTitle[] = "DDE";
const char kPokePrefix[] = "XTYP_POKE:";

void LogDdeError()
{
    WriteSystemLog(0, "Error", "%s DDEエラー", DdeErrorName(DdeGetLastError(g_instance)));
}

LRESULT Init(const char* name)
{
    if (name == nullptr || std::strlen(name) >= kDdePartnerNameSize) {
        WriteSystemLog(2, kTitle, "INIT FALSE");
        return 0;
    }
    std::strcpy(g_partner, name);
    g_partnerHandle = DdeCreateStringHandleA(g_instance, g_partner, CP_WINANSI);
    if (g_partnerHandle == nullptr) {
        WriteSystemLog(2, kTitle, "INIT FALSE");
        return 0;
    }
    WriteSystemLog(2, kTitle, "INIT");
    return 1;
}

LRESULT Connect()
{
    for (int attempt = 0; attempt < 10; ++attempt) {
        g_conversation = DdeConnect(g_instance, g_partnerHandle, g_system, nullptr);
        if (g_conversation != nullptr) {
            WriteSystemLog(3, kTitle, "CONNECT ID=%ld", reinterpret_cast<long>(g_conversation));
            return 1;
        }
        WriteSystemLog(3, kTitle, "CONNECT FALSE");
        LogDdeError();
    }
    WriteSystemLog(3, kTitle, "CONNECT FALSE 30");
    return 0;
}

LRESULT ConnectTopic(const char* topic)
{
    g_topicHandle = DdeCreateStringHandleA(g_instance, topic ? topic : "", CP_WINANSI);
    g_conversation = DdeConnect(g_instance, g_partnerHandle, g_topicHandle, nullptr);
    if (g_conversation != nullptr) {
        WriteSystemLog(3, kTitle, "CONNECT ID=%ld", reinterpret_cast<long>(g_conversation));
        return 1;
    }
    WriteSystemLog(3, kTitle, "CONNECT FALSE");
    LogDdeError();
    return 0;
}

LRESULT Send(const char* text, bool onTopic)
{
    if (text == nullptr || std::strlen(text) >= kDdeSendSize) {
        WriteSystemLog(0, "Error", "DDE: a text of %d bytes or more is not sent", static_cast<int>(kDdeSendSize));
        return 0;
    }
    std::strcpy(g_send, text);
    std::string item, data;
    const bool poke = ParseDdePoke(g_send, &item, &data);
    HSZ itemHandle = poke ? DdeCreateStringHandleA(g_instance, item.c_str(), CP_WINANSI) : nullptr;
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (poke) {
            WriteSystemLog(3, kTitle, "POKE = %s", data.c_str());
            if (DdeClientTransaction(reinterpret_cast<LPBYTE>(&data[0]), static_cast<DWORD>(data.size() + 1),
                                     g_conversation, itemHandle, CF_TEXT, XTYP_POKE, kTransactionTimeoutMs,
                                     nullptr)) {
                WriteSystemLog(2, kTitle, "POKE");
                DdeFreeStringHandle(g_instance, itemHandle);
                return 1;
            }
            WriteSystemLog(2, kTitle, "POKE FALSE");
        } else {
            WriteSystemLog(3, kTitle, "EXECUTE = %s", g_send);
            if (DdeClientTransaction(reinterpret_cast<LPBYTE>(g_send), static_cast<DWORD>(std::strlen(g_send) + 1),
                                     g_conversation, nullptr, 0, XTYP_EXECUTE, kTransactionTimeoutMs, nullptr)) {
                WriteSystemLog(2, kTitle, "EXECUTE");
                return 1;
            }
            WriteSystemLog(2, kTitle, "EXECUTE FALSE");
        }
        LogDdeError();
    }
    WriteSystemLog(2, kTitle, onTopic ? "EXECUTE FALSE" : "EXECUTE END");
    LogDdeError();
    if (itemHandle != nullptr) DdeFreeStringHandle(g_instance, itemHandle);
    return 0;
}

LRESULT Disconnect(bool topic)
{
    LRESULT result = 0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (DdeDisconnect(g_conversation)) {
            WriteSystemLog(2, kTitle, "DISCONNECT ID=%ld", reinterpret_cast<long>(g_conversation));
            g_conversation = nullptr;
            result = 1;
            break;
        }
        Sleep(100);
        WriteSystemLog(2, kTitle, "DISCONNECT FALSE");
        LogDdeError();
    }
    if (result == 0) {
        WriteSystemLog(2, kTitle, "DISCONNECT FALSE");
        LogDdeError();
    }
    if (topic && g_topicHandle != nullptr) {
        DdeFreeStringHandle(g_instance, g_topicHandle);
        g_topicHandle = nullptr;
    }
    return result;
}

LRESULT Exit()
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (DdeFreeStringHandle(g_instance, g_partnerHandle)) {
            g_partnerHandle = nullptr;
            WriteSystemLog(2, kTitle, "EXIT");
            return 1;
        }
        WriteSystemLog(2, kTitle, "EXIT FALSE");
    }
    return 0;
}

}  // namespace

bool ParseDdePoke(const char* text, std::string* item, std::string* data)
{
    const size_t prefix = sizeof kPokePrefix - 1;
    if (text == nullptr || std::strncmp(text, kPokePrefix, prefix) != 0) return false;
    const char* rest = text + prefix;
    const char* colon = std::strchr(rest, ':');
    item->assign(rest, colon ? colon : rest + std::strlen(rest));
    data->assign(colon ? colon + 1 : "");
    return true;
}

const char* DdeErrorName(UINT code)
{
    static const char* const kNames[] = {
        "DMLERR_ADVACKTIMEOUT",   "DMLERR_BUSY",           "DMLERR_DATAACKTIMEOUT", "DMLERR_DLL_NOT_INITIALIZED",
        "DMLERR_DLL_USAGE",       "DMLERR_EXECACKTIMEOUT", "DMLERR_INVALIDPARAMETER", "DMLERR_LOW_MEMORY",
        "DMLERR_MEMORY_ERROR",    "DMLERR_NOTPROCESSED",   "DMLERR_NO_CONV_ESTABLISHED", "DMLERR_POKEACKTIMEOUT",
        "DMLERR_POSTMSG_FAILED",  "DMLERR_REENTRANCY",     "DMLERR_SERVER_DIED",    "DMLERR_SYS_ERROR",
        "DMLERR_UNADVACKTIMEOUT", "DMLERR_UNFOUND_QUEUE_ID",
    };
    static_assert(sizeof kNames / sizeof kNames[0] == DMLERR_UNFOUND_QUEUE_ID - DMLERR_ADVACKTIMEOUT + 1,
                  "one name per error code");
    if (code < DMLERR_ADVACKTIMEOUT || code > DMLERR_UNFOUND_QUEUE_ID) return "";
    return kNames[code - DMLERR_ADVACKTIMEOUT];
}

HDDEDATA CALLBACK DdeClientCallback(UINT type, UINT, HCONV conversation, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    switch (type) {
    case XTYP_CONNECT: WriteSystemLog(3, kTitle, "XTYP_CONNECT"); break;
    case XTYP_REQUEST: WriteSystemLog(3, kTitle, "XTYP_REQUEST"); break;
    case XTYP_WILDCONNECT: WriteSystemLog(3, kTitle, "XTYP_WILDCONNECT"); break;
    case XTYP_ADVDATA: WriteSystemLog(3, kTitle, "XTYP_ADVDATA"); break;
    case XTYP_EXECUTE: WriteSystemLog(3, kTitle, "XTYP_EXECUTE ??"); break;
    case XTYP_CONNECT_CONFIRM:
        WriteSystemLog(3, kTitle, "XTYP_CONNECT_CONFIRM %ld , %d", reinterpret_cast<long>(conversation),
                       static_cast<int>(DdeServerConnectionCount()));
        break;
    case XTYP_DISCONNECT:
        WriteSystemLog(3, kTitle, "XTYP_DISCONNECT %ld , %d", reinterpret_cast<long>(conversation),
                       static_cast<int>(DdeServerConnectionCount()));
        break;
    case XTYP_XACT_COMPLETE: WriteSystemLog(3, kTitle, "XTYP_XACT_COMPLETE"); break;
    case XTYP_REGISTER: WriteSystemLog(3, kTitle, "XTYP_REGISTER"); break;
    case XTYP_UNREGISTER: WriteSystemLog(3, kTitle, "XTYP_UNREGISTER"); break;
    default: WriteSystemLog(3, kTitle, "%ld", static_cast<long>(type)); break;
    }
    return nullptr;
}

int InitDdeClient()
{
    if (g_instance != 0) TermDdeClient();
    if (DdeInitializeA(&g_instance, DdeClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        g_instance = 0;
        CCommandHost& host = GetCommandHost();
        host.ShowErrorMessage(host.MessageText(1006));
        return 0;
    }
    g_system = DdeCreateStringHandleA(g_instance, kDdeTopicName, CP_WINANSI);
    return 1;
}

void TermDdeClient()
{
    WriteSystemLog(3, kTitle, "exit");
    if (g_instance == 0) return;
    DdeUninitialize(g_instance);
    g_instance = 0;
    g_system = g_partnerHandle = g_topicHandle = nullptr;
    g_conversation = nullptr;
}

void DisconnectDdeClientConversation()
{
    if (g_conversation == nullptr) return;
    DdeDisconnect(g_conversation);
    g_conversation = nullptr;
}

LRESULT RunDdeClientMessage(UINT message, LPARAM lParam)
{
    const char* text = reinterpret_cast<const char*>(lParam);
    switch (message) {
    case WM_CAD_DDE_INIT: return Init(text);
    case WM_CAD_DDE_CONNECT: return Connect();
    case WM_CAD_DDE_CONNECT_TOPIC: return ConnectTopic(text);
    case WM_CAD_DDE_SEND: return Send(text, false);
    case WM_CAD_DDE_SEND_TOPIC: return Send(text, true);
    case WM_CAD_DDE_DISCONNECT: return Disconnect(false);
    case WM_CAD_DDE_DISCONNECT_TOPIC: return Disconnect(true);
    case WM_CAD_DDE_EXIT: return Exit();
    default: return 0;
    }
}
