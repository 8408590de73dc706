#pragma once
// A tiny benchmark harness: runs a body repeatedly, takes the best time per
// call, and prints it beside three baselines measured the same way in the
// same run: memcpy of the frame's 16-bit bytes with both buffers in cache,
// the same bytes read and written as 32-bit words (what a 16-bit -> 32 bpp
// kernel moves at the least), and memcpy of the 16-bit bytes from and to
// memory that is not in any cache.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
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

// Reads bytes / 2 samples and writes each as a 32-bit word: the traffic of a
// kernel from a 16-bit frame to a 32 bpp image, with no work per pixel.
inline double WidenSeconds(size_t bytes) {
    static std::vector<uint16_t> from;
    static std::vector<uint32_t> to;
    from.assign(bytes / 2, 0x5a5a);
    to.assign(bytes / 2, 0);
    return BestSeconds([&] {
        const uint16_t* __restrict src = from.data();
        uint32_t* __restrict dst = to.data();
        for (size_t i = 0; i < from.size(); ++i) dst[i] = src[i];
    });
}

// memcpy of bytes, each call between a source and a destination not touched
// for 256 MB of copies before (far more than any cache holds).
inline double ColdMemcpySeconds(size_t bytes) {
    constexpr size_t kPool = size_t(256) << 20;
    static std::vector<uint8_t> pool;
    pool.assign(kPool, 0x5a);
    const size_t slots = kPool / (2 * bytes);
    size_t next = 0;
    return BestSeconds([&] {
        uint8_t* slot = pool.data() + next * 2 * bytes;
        std::memcpy(slot, slot + bytes, bytes);
        next = next + 1 < slots ? next + 1 : 0;
    });
}

inline void PrintHeader() {
    std::printf("%-38s %9s %8s | %9s %6s | %9s %6s | %9s %6s\n", "kernel (1024 x 1024)", "ms/frame", "Mpx/s",
                "memcpy ms", "ratio", "16>32 ms", "ratio", "cold ms", "ratio");
}

// One row: the kernel's time and pixel rate, then each baseline of
// baselineBytes (the frame's 16-bit bytes) with the kernel's ratio to it.
struct Baselines {
    double copy, widen, cold;
};

// The three baselines of a byte count, measured at its first row.
inline const Baselines& BaselinesFor(size_t bytes) {
    static std::map<size_t, Baselines> measured;
    auto found = measured.find(bytes);
    if (found == measured.end())
        found = measured.emplace(bytes, Baselines{MemcpySeconds(bytes), WidenSeconds(bytes), ColdMemcpySeconds(bytes)})
                    .first;
    return found->second;
}

inline void PrintRow(const std::string& name, double seconds, double pixels, size_t baselineBytes) {
    const auto [copy, widen, cold] = BaselinesFor(baselineBytes);
    std::printf("%-38s %9.3f %8.1f | %9.3f %6.2f | %9.3f %6.2f | %9.3f %6.2f\n", name.c_str(), seconds * 1e3,
                pixels / seconds / 1e6, copy * 1e3, seconds / copy, widen * 1e3, seconds / widen, cold * 1e3,
                seconds / cold);
}

}  // namespace bench
