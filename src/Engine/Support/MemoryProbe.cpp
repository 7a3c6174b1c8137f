// The memory probes: compiled into the engine libraries and, in place, into the program.
//
// The guard catches every exception, not only access violations: the one instruction a probe runs
// is a byte access, so any fault there means the byte is not accessible. Some hosts report such a
// fault with another code (a page fault delivered without its trap number reaches wine as an
// illegal instruction), and the system's own IsBad...Ptr calls, which accept only an access
// violation, then let it end the process.
#include "MemoryProbe.h"

#include <cstdint>

#include <windows.h>
#include <wine/exception.h>

namespace {

const size_t kPage = 4096;

enum class Access { kRead, kWrite };

// Touches the first and last byte of the range and one byte in every page between.
bool IsBadRange(const void* pointer, size_t size, Access access)
{
    if (size == 0) return false;
    if (pointer == nullptr) return true;
    const uintptr_t start = reinterpret_cast<uintptr_t>(pointer);
    if (start + (size - 1) < start) return true;  // the range wraps around the address space
    volatile int bad = 0;
    __TRY
    {
        volatile char* p = static_cast<volatile char*>(const_cast<void*>(pointer));
        size_t left = size;
        while (left > kPage) {
            if (access == Access::kWrite) *p = *p; else (void)*p;
            p += kPage;
            left -= kPage;
        }
        if (access == Access::kWrite) {
            p[0] = p[0];
            p[left - 1] = p[left - 1];
        } else {
            (void)p[0];
            (void)p[left - 1];
        }
    }
    __EXCEPT_ALL
    {
        bad = 1;
    }
    __ENDTRY
    return bad != 0;
}

}  // namespace

bool IsBadReadMemory(const void* pointer, size_t size) { return IsBadRange(pointer, size, Access::kRead); }

bool IsBadWriteMemory(void* pointer, size_t size) { return IsBadRange(pointer, size, Access::kWrite); }

bool IsBadStringMemory(const char* text, size_t max)
{
    if (max == 0) return false;
    if (text == nullptr) return true;
    volatile int bad = 0;
    __TRY
    {
        const volatile char* p = text;
        for (size_t i = 0; i < max && p[i] != '\0'; ++i) {
        }
    }
    __EXCEPT_ALL
    {
        bad = 1;
    }
    __ENDTRY
    return bad != 0;
}
