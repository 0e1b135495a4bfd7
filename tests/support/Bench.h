// Bench.h: what the benchmark programs share: a millisecond clock, the best of several
// runs, the BENCH line that tools/bench collects, and the removal of the Packages key
// they seed.
#pragma once

#include <windows.h>
#include <stdio.h>

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

// The shortest of runs calls of f, each returning its time.
template <class F>
double BenchBest(int runs, F f)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        double t = f();
        if (t < best)
            best = t;
    }
    return best;
}

// BENCH|<label>|<value>|<floor>|<ratio>|<target>
inline void BenchPrint(const char* label, double value, double floor, const char* target)
{
    printf("BENCH|%s|%.2f|%.2f|%.2f|%s\n", label, value, floor, floor > 0 ? value / floor : 0.0, target);
    fflush(stdout);
}
