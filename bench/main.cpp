// Prints one table: each kernel on a 1024 x 1024 frame against the baselines
// of Bench.h, then the frame rate the worker sustains from a fast camera.
#include <random>

#include "Bench.h"
#include "AppGui/AppState.h"
#include "Lib3Wrapper/Exports.h"
#include "Render/ImageProcessor.h"
#include "Render/Kernels/BayerRender.h"
#include "Render/Kernels/Binning.h"
#include "Render/Kernels/FrameStatistics.h"
#include "Render/Kernels/Histogram.h"
#include "Render/Kernels/ZelConversion.h"
#include "Render/PrivateRenderer.h"
#include "Render/RenderMessages.h"
#include "Render/StatisticSurface.h"
#include "Render/TiffFormat.h"
#include "Render/ZelFrameSurface.h"
#include "Lib3Wrapper/OvTypeLib/Impl/OvFrameImpl.h"
#include "ovlib3_sim.h"

void BenchVextTransfer();     // VextBench.cpp
void BenchSimulatedCamera();  // SimulatorBench.cpp

namespace {

constexpr uint32_t kSide = 1024;
constexpr double kPixels = double(kSide) * kSide;

std::vector<uint16_t> RandomSamples(size_t count) {
    std::mt19937 random(7);
    std::vector<uint16_t> samples(count);
    for (uint16_t& v : samples) v = uint16_t(random() & 0xFFF);
    return samples;
}

void BenchZelConversion() {
    std::vector<uint8_t> surface(size_t(kSide) * kSide * 4);
    const Render::Kernels::DisplayTarget target{surface.data(), ptrdiff_t(kSide) * 4, 4};
    const std::vector<uint16_t> mono = RandomSamples(kSide * kSide);
    const double monoSeconds =
        bench::BestSeconds([&] { Render::Kernels::ConvertZelFrame(mono.data(), kSide, kSide, kSide, 0, 4, target); });
    bench::PrintRow("ZEL Mono -> 32 bpp", monoSeconds, kPixels, mono.size() * 2);
    const std::vector<uint16_t> bgr = RandomSamples(size_t(kSide) * kSide * 3);
    const double bgrSeconds =
        bench::BestSeconds([&] { Render::Kernels::ConvertZelFrame(bgr.data(), kSide, kSide, kSide, 2, 4, target); });
    bench::PrintRow("ZEL Bgr -> 32 bpp", bgrSeconds, kPixels, bgr.size() * 2);
}

void BenchImageProcessor() {
    Render::ImageProcessor& processor = Render::ImageProcessor::Instance();
    std::vector<uint8_t> surface(size_t(kSide) * kSide * 4);
    const std::vector<uint16_t> samples = RandomSamples(kSide * kSide);
    auto render8 = [&](uint32_t layout) {
        return bench::BestSeconds([&] {
            processor.Render8(0, 0, kSide, kSide, surface.data(), int32_t(kSide) * 4, 32, samples.data(), layout);
        });
    };
    processor.SetWhiteBalanceMode(3);  // balance off
    bench::PrintRow("Render8 Mono", render8(0), kPixels, samples.size() * 2);
    bench::PrintRow("Render8 Bayer, balance off", render8(1), kPixels, samples.size() * 2);
    processor.SetWhiteBalanceMode(0);
    const double automatic = render8(1);
    volatile uint64_t sink = 0;
    const double sums =
        bench::BestSeconds([&] { sink = Render::Kernels::SumBayerCells(samples.data(), kSide, kSide).green; });
    bench::PrintRow("Render8 Bayer, WbAuto", automatic, kPixels, samples.size() * 2);
    bench::PrintRow("  of it the balance sums", sums, kPixels, samples.size() * 2);
    bench::PrintRow("  of it the table path (difference)", automatic - sums, kPixels, samples.size() * 2);
    processor.SetWhiteBalanceMode(3);
    std::vector<uint16_t> out(size_t(kSide) * kSide * 3);
    const double render16 = bench::BestSeconds(
        [&] { processor.Render16(0, 0, kSide, kSide, out.data(), kSide * 3, 48, samples.data(), 1); });
    bench::PrintRow("Render16 Bayer -> 48 bit", render16, kPixels, samples.size() * 2);
}

// A visible window for the frame surface; its resize requests are answered at once.
// Frames the worker took, counted from its UWM_STATUS_TICK notifications.
int g_statusTicks = 0;

LRESULT CALLBACK SurfaceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UWM_STATUS_TICK) ++g_statusTicks;
    if (message == UWM_FRAME_SIZE) {
        auto* surface = reinterpret_cast<Render::Surface*>(lParam);
        AppState::Get().Renderer().ResizeSurface(surface, wParam & 0xFFFF, wParam >> 16 & 0xFFFF);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeSurfaceWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &SurfaceWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"OvBenchSurface";
    RegisterClassW(&wc);
    HWND window = CreateWindowW(wc.lpszClassName, L"ovbench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1100, 1100,
                                nullptr, nullptr, wc.hInstance, nullptr);
    return window;
}

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// DrawFrame with one frame surface (conversion, fill and blit), then the live
// loop: frames per second from a fast simulated camera through that surface.
// Runs the worker for two seconds and prints the frames it showed per second.
void PrintLiveLoopRow(const char* name) {
    Render::PrivateRenderer& renderer = AppState::Get().Renderer();
    Pump();
    g_statusTicks = 0;
    const DWORD start = GetTickCount();
    renderer.SendCommand(Render::CommandRun);
    while (GetTickCount() - start < 2000) {
        Pump();
        Sleep(5);
    }
    renderer.SendCommand(Render::CommandStop);
    Pump();
    const double seconds = (GetTickCount() - start) / 1000.0;
    std::printf("%-38s %10.1f frames/s (1280 x 1024 mono, fast simulated camera)\n", name, g_statusTicks / seconds);
}

void BenchDisplayAndLiveLoop() {
    using namespace DllModule::Lib3Wrapper;
    AppState& state = AppState::Get();
    Render::PrivateRenderer& renderer = state.Renderer();
    HWND window = MakeSurfaceWindow();
    if (!renderer.InitDisplay(window)) {
        std::printf("DirectDraw unavailable: no display rows\n");
        return;
    }
    Render::ZelFrameSurface surface(window, nullptr);
    renderer.AddSurface(&surface);

    OvTypeLib::Impl::OvFrameImpl frame;
    OvTypeLib::IOvFrameMemBuffer* buffer = nullptr;
    frame.GetCurrent(&buffer);
    buffer->SetFormat(kSide, kSide, 2);
    uint8_t* data = nullptr;
    buffer->GetData(&data);
    const std::vector<uint16_t> samples = RandomSamples(kSide * kSide);
    std::memcpy(data, samples.data(), samples.size() * 2);
    for (int i = 0; i < 3; ++i) {  // resize request, then the region frame
        CritSecLock guard(renderer.Lock());
        renderer.DrawFrame(buffer, 0);
        Pump();
    }
    const double frameSeconds = bench::BestSeconds([&] {
        CritSecLock guard(renderer.Lock());
        renderer.DrawFrame(buffer, 0);
    });
    // The surface's own part (grey field, lock, conversion, unlock); the rest
    // of DrawFrame is the blit into the window.
    const double drawSeconds = bench::BestSeconds([&] {
        CritSecLock guard(renderer.Lock());
        surface.Draw(reinterpret_cast<const uint16_t*>(data), kSide, kSide, 0);
    });
    bench::PrintRow("DrawFrame Mono, one surface", frameSeconds, kPixels, samples.size() * 2);
    bench::PrintRow("  of it the draw without the blit", drawSeconds, kPixels, samples.size() * 2);
    bench::PrintRow("  of it the blit (the difference)", frameSeconds - drawSeconds, kPixels, samples.size() * 2);

    OvSimSetFastMode(1);
    OvTypeLib::IOvSystem* system = nullptr;
    if (!Lib3CreateSystem(1, &system, nullptr) || !system->Init() || !system->GetDataTransfer(0, &state.transfer)) {
        std::printf("no simulated camera: no live-loop row\n");
        return;
    }
    // The camera's part of each live frame: transfer and decoding, nothing drawn.
    const double fetch = bench::BestSeconds([&] {
        int32_t index = 0;
        OvTypeLib::IOvFrame* fetched = nullptr;
        uint32_t layout = 0;
        if (state.transfer->Acquire(&index)) state.transfer->GetFrame(&fetched, &layout);
    });
    bench::PrintRow("ZEL live Acquire+GetFrame (sim)", fetch, 1280.0 * 1024, 1280 * 1024 * 2);
    state.system = system;
    state.mainWindow = window;
    renderer.Start();
    PrintLiveLoopRow("live loop, frame view");
    // The statistics pane's surface too: five statistics lines and the histogram.
    HWND statisticsWindow = MakeSurfaceWindow();
    Render::StatisticSurface statistics(statisticsWindow);
    statistics.ToggleStatistics();
    statistics.ToggleHistogram();
    renderer.AddSurface(&statistics);
    PrintLiveLoopRow("live loop, + statistics and histogram");
    renderer.SendCommand(Render::CommandQuit);
    renderer.RemoveSurface(&statistics);
    renderer.RemoveSurface(&surface);
    DestroyWindow(statisticsWindow);
    state.transfer = nullptr;
    state.system = nullptr;
    Lib3ReleaseSystem(1);
    DestroyWindow(window);
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
        CountHistogramBins(current.data(), kSide, kSide, kLayoutMono, 0, 512, bins.data(), raw.data(), spare.data());
        sink = FindHistogramReference(bins.data(), 512).reference;
    });
    bench::PrintRow("histogram (512 bins)", seconds, kPixels, bytes);
    // What any counting histogram pays at the least: one counter increment per
    // sample, spread over the same eight tables of 512 counters, no sample read.
    const double increments = bench::BestSeconds([&] {
        uint32_t* tables = raw.data();
        for (uint32_t i = 0; i < kSide * kSide; i += 8)
            for (uint32_t k = 0; k < 8; ++k) ++tables[k * 512 + ((i + k * 37) & 511)];
    });
    bench::PrintRow("  floor: one counter increment a sample", increments, kPixels, bytes);
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
    std::printf("%-38s %9.3f %8.1f | plain file write %.3f ms, ratio %.2f\n", "TIFF write (grey 16 bit)",
                tiffSeconds * 1e3, kPixels / tiffSeconds / 1e6, plainSeconds * 1e3, tiffSeconds / plainSeconds);
    DeleteFileW((tiff + L".tif").c_str());
    DeleteFileW(plain.c_str());
}

}  // namespace

int main() {
    bench::PrintHeader();
    BenchZelConversion();
    BenchImageProcessor();
    BenchBinning();
    BenchStatistics();
    BenchTiff();
    BenchVextTransfer();
    BenchSimulatedCamera();
    BenchDisplayAndLiveLoop();
    return 0;
}
