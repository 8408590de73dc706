#pragma once
// The TIFF-series export of a recorded film: a worker thread that reads the
// frames first ... last through the application's data transfer, processes
// each with the shared image processor (Render16) and writes it as its own
// TIFF file into the capture folder. Progress and end go to the notify
// window as UWM_FRAME_INDEX and UWM_SEQUENCE_END.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "Render/Worker.h"

namespace DllModule::Lib3Wrapper::OvTypeLib {
class IOvDataTransfer;
}

namespace Render {

// wParam of the UWM_SEQUENCE_END that ends an export early because a file
// could not be written (0 for every other end).
constexpr WPARAM kExportWriteFailed = 1;

class FileWriter : public Worker {
public:
    // Frames first ... last of transfer, each into its own file in folder.
    FileWriter(DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* transfer, std::wstring folder, int32_t first,
               int32_t last, HWND notifyWindow);
    // Stops the thread (waiting until it has ended).
    ~FileWriter() override;

    // After a kExportWriteFailed end: the file that could not be written and why.
    int32_t FailedIndex() const { return failedIndex_; }
    const std::wstring& FailedFile() const { return failedFile_; }
    DWORD FailedError() const { return failedError_; }

protected:
    uint32_t Run() override;

private:
    enum class Outcome { Written, Ended, WriteFailed };
    Outcome WriteFrame(int32_t index);

    DllModule::Lib3Wrapper::OvTypeLib::IOvDataTransfer* transfer_;
    std::wstring folder_;
    int32_t first_;
    int32_t last_;
    HWND notifyWindow_;
    int32_t failedIndex_ = 0;
    std::wstring failedFile_;
    std::vector<uint16_t> rendered_;  // the frame as the processor renders it for the file
    DWORD failedError_ = 0;
};

}  // namespace Render
