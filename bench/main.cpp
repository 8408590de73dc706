// Prints one table: each kernel on a 1024 x 1024 frame against memcpy of the
// frame's bytes, then the frame rate the worker sustains from a fast camera.
#include <random>

#include "Bench.h"
#include "Render/Kernels/Binning.h"
#include "Render/Kernels/FrameStatistics.h"
#include "Render/Kernels/Histogram.h"
#include "Render/TiffFormat.h"

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

// The statistics surface's two computations on a Mono frame as the pane sets
// them up (10-bit mask, 512 bins), without gain shift. The previous frame
// differs from the current one and the previous mean lies inside the frame's
// values, so the thresholded sums count pixels.
void BenchStatistics() {
    using namespace Render::Kernels;
    const std::vector<uint16_t> current = RandomSamples(kSide * kSide);
    std::vector<uint16_t> previous(current.size());
    for (size_t i = 0; i < previous.size(); ++i) previous[i] = uint16_t(current[(i * 7 + 3) % current.size()]);
    const size_t bytes = current.size() * 2;
    volatile double sink = 0;
    for (uint32_t mask : {0xFFC0u, 0xFFFFu}) {
        const double previousMean = mask == 0xFFC0 ? 32.0 : 2048.0;
        const double seconds = bench::BestSeconds([&] {
            sink = ComputeFrameStatistics(current.data(), previous.data(), kSide, kSide, kLayoutMono, 0, mask,
                                          previousMean)
                       .mean;
        });
        char name[64];
        std::snprintf(name, sizeof name, "frame statistics (mask %04X)", mask);
        bench::PrintRow(name, seconds, kPixels, bytes);
    }
    std::vector<uint32_t> raw(kRawHistogramSize), spare(kRawHistogramSize), bins(512);
    const double seconds = bench::BestSeconds([&] {
        CountRawHistogram(current.data(), kSide, kSide, kLayoutMono, 0, raw.data(), spare.data());
        BinHistogram(raw.data(), 512, bins.data());
        sink = FindHistogramReference(bins.data(), 512).reference;
    });
    bench::PrintRow("histogram (raw counts, 512 bins)", seconds, kPixels, bytes);
}

// A plain file of the same bytes, written the way the TIFF writer writes.
bool WritePlain(const std::wstring& path, const void* bytes, DWORD size) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return ok;
}

// TIFF writing: the baseline is a plain file write of the same bytes, not memcpy.
void BenchTiff() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring tiff = std::wstring(folder) + L"ovbench-frame", plain = std::wstring(folder) + L"ovbench-plain";
    const std::vector<uint16_t> mono = RandomSamples(kSide * kSide);
    CTiffGrayImage image(kSide, kSide, 16);
    const double tiffSeconds = bench::BestSeconds([&] { image.Write(tiff, mono.data()); });
    const double plainSeconds =
        bench::BestSeconds([&] { WritePlain(plain, mono.data(), DWORD(mono.size() * 2 + image.DataOffset())); });
    std::printf("%-38s %10.3f %9.1f %12s %8.2f  (baseline: plain write %.3f ms)\n", "TIFF write (grey 16 bit)",
                tiffSeconds * 1e3, kPixels / tiffSeconds / 1e6, "-", tiffSeconds / plainSeconds, plainSeconds * 1e3);
    DeleteFileW((tiff + L".tif").c_str());
    DeleteFileW(plain.c_str());
}

}  // namespace

int main() {
    bench::PrintHeader();
    BenchBinning();
    BenchStatistics();
    BenchTiff();
    return 0;
}
