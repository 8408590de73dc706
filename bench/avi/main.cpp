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
#include "Lib3Wrapper/OvTypeLib/Impl/OvFrameImpl.h"
#include "Render/ImageProcessor.h"
#include "support/TransferStub.h"

namespace {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

constexpr uint32_t kSide = 1024;

// Frames already in memory, as a camera's recording would be.
class RecordedFrames : public ovtest::TransferStub {
public:
    explicit RecordedFrames(int count) : frames_(count) {
        std::mt19937 random(11);
        for (Impl::OvFrameImpl& frame : frames_) {
            IOvFrameMemBuffer* buffer = nullptr;
            uint8_t* data = nullptr;
            frame.GetCurrent(&buffer);
            buffer->SetFormat(kSide, kSide, 2);
            buffer->GetData(&data);
            auto* samples = reinterpret_cast<uint16_t*>(data);
            for (size_t i = 0; i < size_t(kSide) * kSide; ++i) samples[i] = uint16_t(random() & 0xFFF0);
        }
    }
    const uint16_t* Frame(int index) {
        IOvFrameMemBuffer* buffer = nullptr;
        uint8_t* data = nullptr;
        frames_[index].GetCurrent(&buffer);
        buffer->GetData(&data);
        return reinterpret_cast<const uint16_t*>(data);
    }

    bool Acquire(int32_t* index) override {
        current_ = *index >= 0 && size_t(*index) < frames_.size() ? *index : 0;
        return true;
    }
    bool GetFrame(IOvFrame** frame, uint32_t* layout) override {
        *frame = &frames_[current_];
        *layout = Mono;
        return true;
    }

private:
    std::vector<Impl::OvFrameImpl> frames_;
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
            processor.Render8(0, 0, kSide, kSide, bgr.data(), kSide * 3, 24, recorded.Frame(i), 0);
            std::fwrite(bgr.data(), 1, bgr.size(), raw);
        }
        std::fclose(raw);

        DShow::CaptureGraph graph;
        const DShow::AviExportRequest request{.transfer = &recorded,
                                              .processor = &processor,
                                              .first = 0,
                                              .last = frames - 1,
                                              .fileName = folder + L"\\graph.avi"};
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
