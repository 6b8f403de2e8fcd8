#pragma once
// The benchmarks' one clock: the performance counter, from an arbitrary start.

#include <windows.h>

namespace pellion::bench {

inline double NowSeconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return double(t.QuadPart) / frequency;
}

inline double NowMs() {
    return NowSeconds() * 1000.0;
}

}  // namespace pellion::bench
