// What wineg++ defines on its command line, for clang building the same sources natively: the
// Windows target macros and the calling-convention and declspec spellings of Wine's headers.
// Imports and exports are plain functions here: the shim defines what the code calls.
#pragma once

#define WIN32 1
#define _WIN32 1
#define __WIN32 1
#define __WIN32__ 1
#define __WINNT 1
#define __WINNT__ 1
#define __WINE__ 1
#define __stdcall __attribute__((__stdcall__))
#define __cdecl __attribute__((__cdecl__))
#define __fastcall __attribute__((__fastcall__))
#define _stdcall __stdcall
#define _cdecl __cdecl
#define _fastcall __fastcall
#define __declspec(x) __declspec_##x
#define __declspec_align(x) __attribute__((aligned(x)))
#define __declspec_allocate(x) __attribute__((section(x)))
#define __declspec_deprecated __attribute__((deprecated))
#define __declspec_dllimport
#define __declspec_dllexport
#define __declspec_naked __attribute__((naked))
#define __declspec_noinline __attribute__((noinline))
#define __declspec_noreturn __attribute__((noreturn))
#define __declspec_nothrow __attribute__((nothrow))
#define __declspec_novtable
#define __declspec_selectany __attribute__((weak))
#define __declspec_thread __thread
#define __int8 char
#define __int16 short
#define __int32 int
#define __int64 long long
// Wine marks its imports hidden (its own import libraries resolve them); here they are plain
// symbols of the shim, and calls the code under test never reaches may stay unresolved.
#define DECLSPEC_HIDDEN
