#include "DShow/AviExport.h"

#include <cstdio>

#include "Common/ScreenDepth.h"
#include "DShow/BuildPolicies.h"
#include "DShow/CaptureGraph.h"
#include "DShow/IOvSourceControl.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"

namespace DShow {

namespace {

// RIFF, header list, stream format and the JUNK padding of the headers.
constexpr uint64_t kHeaderBytes = 64 * 1024;
// Each frame: an 8-byte chunk header and a 16-byte index entry.
constexpr uint64_t kPerFrameBytes = 8 + 16;

bool FrameSize(DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* transfer, int32_t index, uint32_t* width,
               uint32_t* height) {
    using namespace DllModule::Lib3Wrapper::OvTypeLib;
    IOvFrame* frame = nullptr;
    IOvFrameMemBuffer* buffer = nullptr;
    uint32_t layout = 0, bytesPerPixel = 0;
    if (!transfer || !transfer->Acquire(&index)) return false;
    // Acquire and GetFrame always go as a pair.
    if (!transfer->GetFrame(&frame, &layout) || !frame) return false;
    return frame->GetCurrent(&buffer) && buffer && buffer->GetFormat(width, height, &bytesPerPixel);
}

uint32_t ScreenBytesPerPixel() { return ScreenBitsPerPixel() == 24 ? 3 : 4; }

}  // namespace

uint64_t EstimateAviBytes(int64_t frames, uint64_t sampleBytes) {
    return kHeaderBytes + uint64_t(frames) * (sampleBytes + kPerFrameBytes);
}

int64_t FramesThatFit(uint64_t limit, uint64_t sampleBytes) {
    if (limit <= kHeaderBytes) return 0;
    return int64_t((limit - kHeaderBytes) / (sampleBytes + kPerFrameBytes));
}

std::wstring TooLargeText(int64_t framesThatFit) {
    wchar_t text[200];
    std::swprintf(text, 200, L"Фрагмент не поместится в AVI-файл. Выберите не более %lld кадров.",
                  static_cast<long long>(framesThatFit));
    return text;
}

ExportStart StartAviExport(CaptureGraph& graph, const AviExportRequest& request, bool quiet, int64_t* framesThatFit) {
    uint32_t width = 0, height = 0;
    if (!FrameSize(request.transfer, request.first, &width, &height)) return ExportStart::Failed;

    const int64_t frames = request.last >= request.first ? int64_t(request.last) - request.first + 1 : 1;
    const uint64_t sampleBytes = uint64_t(width) * height * ScreenBytesPerPixel();
    const uint64_t limit = request.fileSizeLimit ? request.fileSizeLimit : graph.FileSizeLimit();
    if (limit && EstimateAviBytes(frames, sampleBytes) > limit) {
        const int64_t fit = FramesThatFit(limit, sampleBytes);
        if (framesThatFit) *framesThatFit = fit;
        if (!quiet) MessageBoxW(nullptr, TooLargeText(fit).c_str(), L"", MB_OK | MB_ICONERROR);
        return ExportStart::TooLarge;
    }

    IBaseFilter* source = graph.Held(CLSID_OvSourceFilter);
    ComPtr<IOvSourceControl> control;
    if (!source || FAILED(source->QueryInterface(IID_IOvSourceControl, control.PutVoid()))) return ExportStart::Failed;
    control->SetFrameSource(request.transfer);
    control->SetImageProcessor(request.processor);
    control->SetFrameSize(int32_t(width), int32_t(height));
    control->SetFrameRange(request.first, request.last);
    control->SetNotifyWindow(request.notifyWindow);
    control->SetDeliveryState(0);

    CCapturePolicy policy(request.compressor, request.fileName.c_str());
    if (!policy.Build(graph, quiet)) return ExportStart::Failed;
    return graph.Run() ? ExportStart::Running : ExportStart::Failed;
}

long FinishAviExport(CaptureGraph& graph, DWORD timeoutMs) {
    ComPtr<IMediaEvent> events;
    long last = 0;
    if (graph.Graph() && SUCCEEDED(graph.Graph()->QueryInterface(IID_IMediaEvent, events.PutVoid()))) {
        OAEVENT handle = 0;
        events->GetEventHandle(&handle);
        const DWORD deadline = GetTickCount() + timeoutMs;
        bool ended = false;
        while (!ended) {
            const DWORD now = GetTickCount();
            const DWORD left = int32_t(deadline - now) > 0 ? deadline - now : 0;
            if (WaitForSingleObject(reinterpret_cast<HANDLE>(handle), left) != WAIT_OBJECT_0) break;
            long code;
            LONG_PTR p1, p2;
            while (!ended && events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
                events->FreeEventParams(code, p1, p2);
                if (code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT) {
                    last = code;
                    ended = true;
                }
            }
        }
    }
    graph.Stop();
    return last;
}

}  // namespace DShow
