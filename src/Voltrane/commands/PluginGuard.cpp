#include "commands/PluginGuard.h"

#include <wine/exception.h>

namespace {

// One call into a plug-in, with its arguments and its result.
struct GuardedCall {
    void (*call)(GuardedCall& self);
    FARPROC entry;
    HWND host;
    const char* text;
    void* database;
    void* info1;
    void* info2;
    int withInfo;
    int result;
};

// The one guard: 1 when the call returned, 0 (and the code) when an exception ended it. No
// object with a destructor may live inside the guarded block: a fault leaves it by a long jump.
int RunGuarded(GuardedCall& call, DWORD* exceptionCode)
{
    volatile int completed = 0;
    volatile DWORD code = 0;
    __TRY
    {
        call.call(call);
        completed = 1;
    }
    __EXCEPT_ALL
    {
        code = GetExceptionCode();
    }
    __ENDTRY
    if (!completed && exceptionCode != nullptr) *exceptionCode = code;
    return completed;
}

void CallStartCmd(GuardedCall& self)
{
    self.result = reinterpret_cast<StartCmdProc>(self.entry)(self.host, self.text);
}

void CallLoader(GuardedCall& self)
{
    if (self.withInfo) {
        self.result = reinterpret_cast<LoadingDbInfoProc>(self.entry)(self.host, self.text, self.database,
                                                                      self.info1, self.info2);
    } else {
        self.result = reinterpret_cast<LoadingDbProc>(self.entry)(self.host, self.text, self.database);
    }
}

void CallRowDraw(GuardedCall& self)
{
    reinterpret_cast<PboxRowDrawProc>(self.entry)(static_cast<DRAWITEMSTRUCT*>(self.database));
}

}  // namespace

int CallStartCmdGuarded(StartCmdProc entry, HWND host, const char* text, int* result,
                        DWORD* exceptionCode)
{
    GuardedCall call = {CallStartCmd, reinterpret_cast<FARPROC>(entry), host, text, nullptr, nullptr, nullptr, 0, 0};
    if (!RunGuarded(call, exceptionCode)) return 0;
    *result = call.result;
    return 1;
}

int CallLoaderGuarded(FARPROC entry, int withInfo, HWND host, const char* path, void* database,
                      void* info1, void* info2, DWORD* exceptionCode)
{
    GuardedCall call = {CallLoader, entry, host, path, database, info1, info2, withInfo, 0};
    return RunGuarded(call, exceptionCode);
}

int CallRowDrawGuarded(PboxRowDrawProc draw, DRAWITEMSTRUCT* drawItem, DWORD* exceptionCode)
{
    GuardedCall call = {CallRowDraw, reinterpret_cast<FARPROC>(draw), nullptr, nullptr, drawItem, nullptr, nullptr, 0, 0};
    return RunGuarded(call, exceptionCode);
}
