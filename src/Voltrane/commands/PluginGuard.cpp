#include "commands/PluginGuard.h"

#include <wine/exception.h>

// No object with a destructor may live inside a guarded block: a fault leaves it by a long jump.
int CallStartCmdGuarded(StartCmdProc entry, HWND host, const char* text, int* result,
                        DWORD* exceptionCode)
{
    volatile int completed = 0;
    volatile DWORD code = 0;
    __TRY
    {
        *result = entry(host, text);
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

int CallLoaderGuarded(FARPROC entry, int withInfo, HWND host, const char* path, void* database,
                      void* info1, void* info2, DWORD* exceptionCode)
{
    volatile int completed = 0;
    volatile DWORD code = 0;
    __TRY
    {
        if (withInfo) {
            reinterpret_cast<LoadingDbInfoProc>(entry)(host, path, database, info1, info2);
        } else {
            reinterpret_cast<LoadingDbProc>(entry)(host, path, database);
        }
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
