// Prints one table: each kernel on a 1024 x 1024 frame against memcpy of the
// frame's bytes, then the frame rate the worker sustains from a fast camera.
#include <random>

#include "Bench.h"
#include "Render/Kernels/Binning.h"

namespace {

constexpr uint32_t kSide = 1024;
constexpr double kPixels = double(kSide) * kSide;

std::vector<uint16_t> RandomSamples(size_t count) {
    std::mt19937 random(7);
    std::vector<uint16_t> samples(count);
    for (uint16_t& v : samples) v = uint16_t(random() & 0xFFF);
    return samples;
}

void BenchBinning() {
    const std::vector<uint16_t> mono = RandomSamples(kSide * kSide);
    std::vector<uint16_t> out(kSide * kSide);
    for (uint32_t b : {2u, 4u, 8u}) {
        const double seconds =
            bench::BestSeconds([&] { Render::Kernels::BinFrame(mono.data(), kSide, kSide, 1, b, out.data()); });
        bench::PrintRow("binning " + std::to_string(b) + " (Mono)", seconds, kPixels, mono.size() * 2);
    }
}

}  // namespace

int main() {
    bench::PrintHeader();
    BenchBinning();
    return 0;
}
