// What every benchmark program needs: a clock, the engine bound, and its count argument.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "EngineBinding.h"

namespace benchmark {

// Seconds from the performance counter.
inline double Seconds()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Binds the engine libraries; false (after saying which one failed) when one is missing.
inline bool BindEngine()
{
    char failed[64] = {};
    if (BindEngineLibraries(failed, sizeof failed)) return true;
    std::fprintf(stderr, "cannot bind %s\n", failed);
    return false;
}

// The count given as the first argument, or `fallback` when there is none or it is not positive.
inline int CountArgument(int argc, char** argv, int fallback)
{
    const int count = argc > 1 ? std::atoi(argv[1]) : fallback;
    return count > 0 ? count : fallback;
}

}  // namespace benchmark
