#include "PlatformFaultCode.h"

#include <windows.h>
#include <wine/exception.h>

long NullWriteFaultCode()
{
    static long code = [] {
        volatile DWORD caught = 0;
        __TRY
        {
            volatile int* volatile nowhere = nullptr;  // a value the compiler cannot see
            *nowhere = 1;
        }
        __EXCEPT_ALL
        {
            caught = GetExceptionCode();
        }
        __ENDTRY
        return static_cast<long>(caught);
    }();
    return code;
}

std::string FaultLogLinePrefix() { return "Log 0 Error " + std::to_string(NullWriteFaultCode()); }
