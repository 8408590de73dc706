#pragma once
// A tiny benchmark harness: runs a body repeatedly, takes the best time per
// call, and prints it beside memcpy of a given byte count measured the same way.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// Best seconds per call over several rounds of at least ~50 ms each.
inline double BestSeconds(const std::function<void()>& body) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double best = 1e30;
    for (int round = 0; round < 5; ++round) {
        LARGE_INTEGER start, now;
        QueryPerformanceCounter(&start);
        int calls = 0;
        double elapsed = 0;
        do {
            body();
            ++calls;
            QueryPerformanceCounter(&now);
            elapsed = double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        } while (elapsed < 0.05);
        best = elapsed / calls < best ? elapsed / calls : best;
    }
    return best;
}

inline double MemcpySeconds(size_t bytes) {
    static std::vector<uint8_t> from, to;
    from.assign(bytes, 0x5a);
    to.assign(bytes, 0);
    return BestSeconds([&] { std::memcpy(to.data(), from.data(), bytes); });
}

inline void PrintHeader() {
    std::printf("%-38s %10s %9s %12s %8s\n", "kernel (1024 x 1024)", "ms/frame", "Mpx/s", "memcpy ms", "ratio");
}

// One row: the kernel's time, its pixel rate, memcpy of baselineBytes and the ratio.
inline void PrintRow(const std::string& name, double seconds, double pixels, size_t baselineBytes) {
    const double copy = MemcpySeconds(baselineBytes);
    std::printf("%-38s %10.3f %9.1f %12.3f %8.2f\n", name.c_str(), seconds * 1e3, pixels / seconds / 1e6, copy * 1e3,
                seconds / copy);
}

}  // namespace bench
