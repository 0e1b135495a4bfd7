// Bench.h: what the benchmark programs share: a millisecond clock and the removal of
// the Packages key they seed.
#pragma once

#include <windows.h>

inline double BenchNowMs()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return (double)t.QuadPart * 1000.0 / (double)frequency.QuadPart;
}

inline void BenchRemovePackages()
{
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Norvane\\Packages");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Norvane\\Packages");
}
