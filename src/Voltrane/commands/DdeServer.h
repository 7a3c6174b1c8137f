// The DDE server other programs drive the running program through: service "TVEK", the one
// topic "System". Every execute string goes to the main window as WM_CAD_DDE_EXECUTE.
#pragma once

#include <windows.h>
#include <ddeml.h>

constexpr char kDdeServiceName[] = "TVEK";
constexpr char kDdeTopicName[] = "System";
// The longest execute string looked at; a longer one is matched on its first bytes.
constexpr size_t kDdeExecuteLength = 200;

// 1 when the server runs; 0 after showing why it does not.
int StartDdeServer();
// Ends the client's conversation and the server. 1.
int StopDdeServer();

// Confirmed connections minus disconnections (only logged).
long DdeServerConnectionCount();

HDDEDATA CALLBACK DdeServerCallback(UINT type, UINT format, HCONV conversation, HSZ topic, HSZ service,
                                     HDDEDATA data, ULONG_PTR data1, ULONG_PTR data2);
