#include "FileWriter.h"

#include <vector>

#include "Common/FileExtension.h"
#include "Lib3Wrapper/OvTypeLib/IOvDataTransfer.h"
#include "Lib3Wrapper/OvTypeLib/IOvFrame.h"
#include "Render/FrameFiles.h"
#include "Render/ImageProcessor.h"
#include "Render/RenderMessages.h"
#include "Render/TiffFormat.h"

namespace Render {

using namespace DllModule::Lib3Wrapper::OvTypeLib;

FileWriter::FileWriter(IOvDataTransfer* transfer, std::wstring folder, int32_t first, int32_t last, HWND notifyWindow)
    : transfer_(transfer), folder_(std::move(folder)), first_(first), last_(last), notifyWindow_(notifyWindow) {}

FileWriter::~FileWriter() { SendCommand(CommandQuit); }

uint32_t FileWriter::Run() {
    DWORD timeout = INFINITE;
    int32_t index = first_;
    WPARAM end = 0;
    for (;;) {
        uint32_t command = 0;
        if (GetCommand(timeout, &command)) {
            if (command == CommandQuit) break;
            if (command == CommandRun) {
                index = first_;
                timeout = 0;
            }
            continue;
        }
        const Outcome outcome = WriteFrame(index);
        if (outcome == Outcome::WriteFailed) end = kExportWriteFailed;
        if (outcome != Outcome::Written) break;
        SendNotifyMessageW(notifyWindow_, UWM_FRAME_INDEX, 0, index);
        ++index;
    }
    SendNotifyMessageW(notifyWindow_, UWM_SEQUENCE_END, end, 0);
    return 0;
}

FileWriter::Outcome FileWriter::WriteFrame(int32_t index) {
    if (index < first_ || index > last_ || !transfer_) return Outcome::Ended;
    int32_t fetched = index;
    IOvFrame* frame = nullptr;
    uint32_t layout = 0;
    // Acquire and GetFrame always go as a pair.
    if (!transfer_->Acquire(&fetched)) return Outcome::Ended;
    if (!transfer_->GetFrame(&frame, &layout)) return Outcome::Ended;

    const std::wstring path = TimeStampedPath(folder_, LocalNow(), uint32_t(index));
    IOvFrameMemBuffer* buffer = nullptr;
    uint32_t width = 0, height = 0, bytesPerPixel = 0;
    uint8_t* data = nullptr;
    if (!frame || !frame->GetCurrent(&buffer) || !buffer || !buffer->GetFormat(&width, &height, &bytesPerPixel) ||
        !buffer->GetData(&data) || !data)
        return Outcome::Written;  // fetched: the film goes on without this file
    if (layout != Mono && layout != Bayer) return Outcome::Written;

    const uint32_t words = layout == Mono ? 1 : 3;
    rendered_.resize(size_t(width) * height * words);  // kept from frame to frame
    ImageProcessor::Instance().Render16(0, 0, width, height, rendered_.data(), width * words, words * 16,
                                        reinterpret_cast<const uint16_t*>(data), layout);
    const bool written = layout == Mono ? CTiffGrayImage(width, height, 16).Write(path, rendered_.data())
                                        : CTiffRGBImage(width, height, 48).Write(path, rendered_.data());
    if (written) return Outcome::Written;
    // A folder that is missing, a full disk or a file in use: the export ends
    // here rather than report frames it did not save.
    failedError_ = GetLastError();
    failedIndex_ = index;
    failedFile_ = WithFileExtension(path, L".tif");
    return Outcome::WriteFailed;
}

}  // namespace Render
