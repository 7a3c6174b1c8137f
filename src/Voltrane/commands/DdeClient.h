// The program's one DDE client conversation, which plug-in commands use through host messages
// (INIT, CONNECT or CONNECT_TOPIC, SEND or SEND_TOPIC, DISCONNECT, EXIT) to send execute strings
// or pokes to another program.
#pragma once

#include <windows.h>
#include <ddeml.h>

#include <cstddef>
#include <string>

constexpr size_t kDdePartnerNameSize = 80;  // the partner service's name, with its zero
constexpr size_t kDdeSendSize = 500;        // the text of one transaction, with its zero

// 1, or 0 after showing why the client cannot be used.
int InitDdeClient();
void TermDdeClient();

// The handlers of the client host messages (2476-2480, 2593-2595); lParam as the message has it.
LRESULT RunDdeClientMessage(UINT message, LPARAM lParam);

// Ends the conversation, if there is one (the server's shutdown).
void DisconnectDdeClientConversation();

// A text beginning with "XTYP_POKE:" is a poke: item up to the next ":", data after it. false
// for an execute string.
bool ParseDdePoke(const char* text, std::string* item, std::string* data);

// The name DDEML gives an error code ("DMLERR_..."), empty for any other code.
const char* DdeErrorName(UINT code);

HDDEDATA CALLBACK DdeClientCallback(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ service,
                                     HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
