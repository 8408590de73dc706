// The AVI export's speed: N recorded 1024 x 1024 frames through the capture
// graph into an uncompressed AVI. Also writes the same frames, as the
// processor renders them, as raw BGR for ffmpeg to write beside it
// (scripts/bench.sh times that and prints the ratio).
//   ovavibench.exe <frames> <folder>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "DShow/AviExport.h"
#include "DShow/CaptureGraph.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "Render/ImageProcessor.h"

namespace {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

constexpr uint32_t kSide = 1024;

// Frames already in memory, as a camera's recording would be.
class RecordedFrames : public IOvDataTransfer, IOvFrame, IOvFrameMemBuffer {
public:
    explicit RecordedFrames(int count) : frames_(count) {
        std::mt19937 random(11);
        for (auto& frame : frames_) {
            frame.resize(size_t(kSide) * kSide);
            for (uint16_t& v : frame) v = uint16_t(random() & 0xFFF0);
        }
    }
    const std::vector<uint16_t>& Frame(int index) const { return frames_[index]; }

    bool Acquire(int32_t* index) override {
        current_ = *index >= 0 && size_t(*index) < frames_.size() ? *index : 0;
        return true;
    }
    bool GetFrame(IOvFrame** frame, uint32_t* layout) override {
        *frame = this;
        *layout = Mono;
        return true;
    }
    bool StartInput() override { return true; }
    IOvDecodeOptions* GetDecodeOptions() override { return nullptr; }
    bool Trigger() override { return true; }
    bool Reserved(uint32_t, uint32_t, uint32_t, uint32_t) override { return false; }
    bool GetState(int32_t*) override { return false; }
    bool FindAttribute(uint32_t, IOvAddOnAttribute**) override { return false; }
    bool SetBackground(uint32_t, const uint16_t*) override { return false; }
    bool EnableBackground(bool) override { return false; }
    bool GetStatistics(uint32_t*, uint64_t*, uint64_t*) override { return false; }

private:
    bool GetCurrent(IOvFrameMemBuffer** buffer) override {
        *buffer = this;
        return true;
    }
    bool GetOther(IOvFrameMemBuffer**) override { return false; }
    void Swap() override {}
    bool GetFormat(uint32_t* width, uint32_t* height, uint32_t* bytesPerPixel) override {
        *width = kSide;
        *height = kSide;
        *bytesPerPixel = 2;
        return true;
    }
    bool SetFormat(uint32_t, uint32_t, uint32_t) override { return false; }
    bool CopyFrom(IOvFrameMemBuffer*) override { return false; }
    bool GetData(uint8_t** data) override {
        *data = reinterpret_cast<uint8_t*>(frames_[current_].data());
        return true;
    }

    std::vector<std::vector<uint16_t>> frames_;
    size_t current_ = 0;
};

double Seconds() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: ovavibench <frames> <folder>\n");
        return 2;
    }
    const int frames = _wtoi(argv[1]);
    const std::wstring folder = argv[2];
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 1;
    {
        RecordedFrames recorded(frames);
        Render::ImageProcessor processor;

        std::vector<uint8_t> bgr(size_t(kSide) * kSide * 3);
        FILE* raw = _wfopen((folder + L"\\frames.bgr").c_str(), L"wb");
        if (!raw) return 1;
        for (int i = 0; i < frames; ++i) {
            processor.Render8(0, 0, kSide, kSide, bgr.data(), kSide * 3, 24, recorded.Frame(i).data(), 0);
            std::fwrite(bgr.data(), 1, bgr.size(), raw);
        }
        std::fclose(raw);

        DShow::CaptureGraph graph;
        DShow::AviExportRequest request;
        request.transfer = &recorded;
        request.processor = &processor;
        request.first = 0;
        request.last = frames - 1;
        request.fileName = folder + L"\\graph.avi";
        const double start = Seconds();
        if (DShow::StartAviExport(graph, request, true) == DShow::ExportStart::Running &&
            DShow::FinishAviExport(graph, 600000) == EC_COMPLETE) {
            graph.Clear();  // closes the file
            std::printf("%.6f\n", Seconds() - start);
            status = 0;
        }
    }
    CoUninitialize();
    return status;
}
