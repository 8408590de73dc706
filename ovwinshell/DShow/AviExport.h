#pragma once
// Exporting a range of recorded frames into an AVI file through the capture
// graph: the viewer's data transfer and image processor go to the source
// filter, the chain is built and run. The film must fit in a file the
// multiplexer writes correctly, or the export is refused before anything is
// built: a file that silently loses frames is never written.
#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <string>

namespace DllModule::Lib3Wrapper::OvTypeLib {
class IOvDataTransfer;
}
namespace Render {
class ImageProcessor;
}

namespace DShow {

class CaptureGraph;

struct AviExportRequest {
    DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* transfer = nullptr;
    Render::ImageProcessor* processor = nullptr;
    int32_t first = 0;
    int32_t last = 0;
    std::wstring fileName;
    // Receives UWM_FRAME_INDEX and UWM_SEQUENCE_END; may be null.
    HWND notifyWindow = nullptr;
    // None: uncompressed.
    IBaseFilter* compressor = nullptr;
    // Largest file allowed; 0 asks the multiplexer (CaptureGraph::FileSizeLimit).
    uint64_t fileSizeLimit = 0;
};

enum class ExportStart { Running, TooLarge, Failed };

// Bytes of an AVI of frames uncompressed samples: data chunks, index, headers.
uint64_t EstimateAviBytes(int64_t frames, uint64_t sampleBytes);
// How many such frames fit in limit bytes.
int64_t FramesThatFit(uint64_t limit, uint64_t sampleBytes);
// The refusal's text.
std::wstring TooLargeText(int64_t framesThatFit);

// Reads the frame size from the first frame, checks the size limit (a refusal
// is shown unless quiet; framesThatFit tells how many would fit), configures
// the source, builds the chain and runs it.
ExportStart StartAviExport(CaptureGraph& graph, const AviExportRequest& request, bool quiet,
                           int64_t* framesThatFit = nullptr);
// Waits until the graph reports the end (EC_COMPLETE, an abort, or
// timeoutMs), then stops it; the last event code, 0 on timeout.
long FinishAviExport(CaptureGraph& graph, DWORD timeoutMs);

}  // namespace DShow
